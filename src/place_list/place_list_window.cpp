#include "place_list/place_list_window.h"

#include "controls/dms_bars.h"
#include "controls/focus_ring.h"
#include "controls/hidden_contents.h"
#include "files/file_problem.h"
#include "files/place_list_file.h"
#include "place_list/place_name.h"
#include "files/record_format.h"
#include "files/settings_file.h"
#include "controls/version_box.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "resources/window_builder.h"
#include "resources/window_table.h"
#include "shared_state/shared_state.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>

#include <cstdint>

namespace orvine {

namespace {

const QString MSG_LIMIT = QStringLiteral("登録数の上限に達しています");
const QString MSG_SAME_NAME = QStringLiteral("同じ地名があります。再入力してください。");
const QString MSG_ENTER_NAME = QStringLiteral("地名を入力してください。");
const QString MSG_ENTER_START_NAME = QStringLiteral("地名を入力してください");
const QString TITLE_START_POINT = QStringLiteral("初期設定変更");

const QString SHOWN_AS_READ = QStringLiteral("読み込めた地名だけを表示します。");
const QString NO_REWRITE = QStringLiteral(
    "ファイルの内容を失わないため、追加登録・訂正登録・削除はできません。"
    "ファイルを直してから地名リストを開き直してください。");

// A name as the list shows it. The list box shows a few dozen characters; a name longer than
// anyone would scroll through is cut, so that laying out the largest list the file holds
// (101 names of 32,767 characters) does not freeze the window for seconds.
QString list_entry(const QString& name)
{
    constexpr int SHOWN = 256;
    return name.size() <= SHOWN ? name : name.left(SHOWN - 1) + QChar(0x2026);
}

QString replace_damaged_settings_question(const QString& path, const QString& list_file)
{
    return QStringLiteral("設定ファイル「") + path
        + QStringLiteral("」は読み込めなかったため、初期設定登録をすると新しい内容で置き換えます。\r\n"
                         "地点一覧ファイル名「")
        + list_file + QStringLiteral("」は新しい設定ファイルに引き継ぎます。\r\n\r\n置き換えてよろしいですか？");
}

QString start_point_question(const QString& name)
{
    return QStringLiteral("初期設定を  ") + name + QStringLiteral("  に変更します。") + QStringLiteral("\r\r")
        + QStringLiteral("                よろしいですか？");
}

} // namespace

PlaceListWindow::PlaceListWindow(SharedState& state, Dialogs& dialogs, NotificationSound& sound,
                                 QWidget& main_window, GazetteerOnDemand& gazetteer)
    : m_(state), dialogs_(dialogs), sound_(sound), main_window_(main_window)
{
    build_window(*this, place_list_window_table());
    setAttribute(Qt::WA_DeleteOnClose);

    place_list_view = control<QListWidget>(this, "List1");
    name_box = control<QLineEdit>(this, "Text1");
    add_button = control<QPushButton>(this, "btntuika");
    correct_button = control<QPushButton>(this, "btnteisei");
    delete_button = control<QPushButton>(this, "btnsakujyo");
    register_start_point_button = control<QPushButton>(this, "Command4");
    take_point_button = control<QPushButton>(this, "btnreturn");
    cancel_button = control<QPushButton>(this, "btncan");
    latitude_degrees_bar = control<QScrollBar>(this, "ido_do");
    cancel_action = control<QAction>(this, "mnucancel");
    version_action = control<QAction>(this, "mnuver2");
    bars_ = new DmsBars(this, DmsBars::Echo::AtDragEnd);
    search_box_ = new PlaceSearchBox(*name_box, m_.places, gazetteer, dialogs_);

    ring_when_focused(*place_list_view);
    place_list_view->setSelectionMode(QAbstractItemView::SingleSelection);
    place_list_view->setSortingEnabled(false);
    // The selection, not the current item: a list that merely receives the focus gets a
    // current item without anything being chosen.
    connect(place_list_view, &QListWidget::itemSelectionChanged, this, &PlaceListWindow::show_selected_place);
    connect(place_list_view, &QListWidget::itemDoubleClicked, this, &PlaceListWindow::take_shown_point);
    connect(add_button, &QPushButton::clicked, this, &PlaceListWindow::add_place);
    connect(correct_button, &QPushButton::clicked, this, &PlaceListWindow::correct_place);
    connect(delete_button, &QPushButton::clicked, this, &PlaceListWindow::delete_place);
    connect(register_start_point_button, &QPushButton::clicked, this, &PlaceListWindow::register_start_point);
    connect(take_point_button, &QPushButton::clicked, this, &PlaceListWindow::take_shown_point);
    connect(cancel_button, &QPushButton::clicked, this, &PlaceListWindow::leave_without_choice);
    connect(cancel_action, &QAction::triggered, this, &PlaceListWindow::leave_without_choice);
    connect(version_action, &QAction::triggered, this, &PlaceListWindow::show_version);
    connect(search_box_, &PlaceSearchBox::chosen, this, &PlaceListWindow::show_found_place);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &PlaceListWindow::leave_without_choice);
    name_box->installEventFilter(this);
    place_list_view->installEventFilter(this);
}

void PlaceListWindow::showEvent(QShowEvent* event)
{
    // A spontaneous show is the desktop restoring the window, not a hand-over.
    if (!event->spontaneous())
        show_contents(*this);
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        take_hand_over();
}

void PlaceListWindow::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    if (!event->spontaneous())
        hide_contents(*this);
}

// While the name box's drop-down list is open, the search box takes Return and Escape
// before they reach the box (see place_search_box.h), so that this filter sees neither.
bool PlaceListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == name_box) {
                add_if_new();
                return true;
            }
            if (watched == place_list_view && place_list_view->currentItem()) {
                take_current_place();
                return true;
            }
        }
    }
    if (watched == place_list_view && event->type() == QEvent::FocusOut)
        hold_current_item();
    else if (watched == place_list_view && event->type() == QEvent::FocusIn)
        give_back_current_item();
    return QMainWindow::eventFilter(watched, event);
}

void PlaceListWindow::closeEvent(QCloseEvent* event)
{
    if (isVisible())
        leave_without_choice();
    event->accept();
}

void PlaceListWindow::take_hand_over()
{
    platform::centre_on_screen(*this);
    name_box->setText(m_.transfer_name);
    // The point still carries the start-up name but has been moved away from it.
    if (m_.transfer_name == m_.start_name && m_.transfer_point != m_.start_point)
        name_box->setText(UNKNOWN_PLACE);
    bars_->set(m_.transfer_point);
    bars_->set_labels(m_.transfer_point);
    latitude_degrees_bar->setFocus();
    m_.saved_name = m_.transfer_name;
    m_.saved_point = m_.transfer_point;
    set_selection_buttons(false);
    load_and_list();
}

void PlaceListWindow::load_and_list()
{
    rewrite_refusal_.clear();
    const PlaceListLoad load = load_place_list(m_.files_folder, m_.list_file, m_.places);
    list_table();
    const std::optional<FileProblem>& why = load.problem ? load.problem : load.notice;
    if (why) {
        const QString reason = problem_message(*why) + QStringLiteral("\r\n");
        rewrite_refusal_ = reason + NO_REWRITE;
        dialogs_.message(reason + SHOWN_AS_READ + NO_REWRITE);
    }
}

void PlaceListWindow::list_table()
{
    std::int16_t last = PlaceTable::SIZE - 1;
    for (int i = 0; i < PlaceTable::SIZE; ++i) {
        if (m_.places.rows[i].name.isEmpty()) {
            last = static_cast<std::int16_t>(i - 1);
            break;
        }
    }
    m_.places.place_last = last;
    held_row_ = -1;
    place_list_view->clear();
    for (int i = 0; i <= last; ++i)
        place_list_view->addItem(list_entry(m_.places.rows[i].name));
}

void PlaceListWindow::show_place(const Place& place)
{
    name_box->setText(place.name);
    bars_->set(place.point);
    bars_->set_labels(place.point);
}

// Position of the selected name in place_list_view, or -1 when nothing is selected.
int PlaceListWindow::selected_row() const
{
    const QList<QListWidgetItem*> selected = place_list_view->selectedItems();
    return selected.isEmpty() ? -1 : place_list_view->row(selected.first());
}

void PlaceListWindow::show_selected_place()
{
    const int i = selected_row();
    if (i < 0 || i > m_.places.place_last)
        return;
    show_place(m_.places.rows[i]);
    set_selection_buttons(true);
}

void PlaceListWindow::add_place()
{
    if (!rewrite_allowed())
        return;
    const QString name = trimmed_name(name_box->text());
    PlaceTable& table = m_.places;
    if (table.place_last >= PlaceTable::SIZE - 1) {
        dialogs_.message(MSG_LIMIT);
        name_box->setFocus();
        return;
    }
    for (int i = 0; i <= table.place_last; ++i) {
        if (table.rows[i].name == name) {
            dialogs_.message(MSG_SAME_NAME);
            name_box->setFocus();
            return;
        }
    }
    if (checked_name(MSG_ENTER_NAME, true).isEmpty())
        return;

    // The file is written from a copy, so that a failed write leaves table and list as
    // they were.
    PlaceTable added = table;
    ++added.place_last;
    added.rows[added.place_last] = Place{name, bars_->value()};
    if (auto problem = save_place_list(m_.files_folder, m_.list_file, added)) {
        report(*problem);
        return;
    }
    table = added;
    place_list_view->addItem(list_entry(name));
}

void PlaceListWindow::correct_place()
{
    // After a deletion the button stays enabled with nothing selected; then there is
    // nothing to correct.
    const int i = selected_row();
    if (i < 0)
        return;
    if (!rewrite_allowed())
        return;
    // An empty name would end the list in the file and lose the places behind it.
    const QString name = checked_name(MSG_ENTER_NAME, true);
    if (name.isEmpty())
        return;

    const Place replacement{name, bars_->value()};
    if (auto problem = save_place_list_replacing(m_.files_folder, m_.list_file, m_.places, i, replacement)) {
        report(*problem);
        return;
    }
    m_.places.rows[i] = replacement;
    place_list_view->clear();
    for (int k = 0; k <= m_.places.place_last; ++k)
        place_list_view->addItem(list_entry(m_.places.rows[k].name));
    // Where the keys go on from, in sight; the focus leaves the disabled button for the list.
    make_current(i);
    set_selection_buttons(false);
}

void PlaceListWindow::delete_place()
{
    const int i = selected_row();
    if (i < 0)
        return;
    if (!rewrite_allowed())
        return;
    // The list changes only once the file has been rewritten.
    if (auto problem = save_place_list_skipping(m_.files_folder, m_.list_file, m_.places, i)) {
        report(*problem);
        return;
    }
    load_and_list();
    // Row 0 is empty once the last place is gone: an empty name and all bars at 0.
    show_place(m_.places.rows[0]);
    if (m_.places.place_last >= 0) {
        delete_button->setEnabled(false);
        return;
    }
    // Nothing is left to correct or to take (an empty point must never be handed over);
    // the next thing to do is to type a new name.
    QWidget* focus = focusWidget();
    if (focus == delete_button || focus == correct_button || focus == take_point_button)
        name_box->setFocus();
    set_selection_buttons(false);
}

void PlaceListWindow::register_start_point()
{
    const QString name = checked_name(MSG_ENTER_START_NAME, false);
    if (name.isEmpty())
        return;
    // What could not be read must not vanish without the user knowing.
    if (m_.settings_damaged
        && !dialogs_.confirm(replace_damaged_settings_question(
                                 QDir::toNativeSeparators(settings_path(m_.files_folder)), m_.list_file),
                             TITLE_START_POINT))
        return;
    if (!dialogs_.confirm(start_point_question(name), TITLE_START_POINT))
        return;
    const Point point = bars_->value();
    if (auto problem = save_settings(m_.files_folder, m_.list_file, name, point, m_.settings_stamp)) {
        report(*problem);
        return;
    }
    m_.settings_damaged = false;
    m_.start_name = name;
    m_.start_point = point;
}

void PlaceListWindow::show_version()
{
    show_version_box(dialogs_, sound_, VersionBoxFrom::PlaceList);
}

void PlaceListWindow::show_found_place(const QString& name, const Point& point)
{
    show_place(Place{name, point});
}

void PlaceListWindow::take_shown_point()
{
    // The name goes over as shown, untrimmed: it may be "不明" or empty.
    m_.transfer_name = name_box->text();
    m_.transfer_point = bars_->value();
    if (!m_.entering_departure)
        m_.destination_handed_over = true;
    m_.point_handed_over = true;
    // Out of sight first: disabling the focused button of a shown window would pass its
    // focus to another control, which a screen reader announces on the way out.
    hand_back_to_main_window();
    take_point_button->setEnabled(false);
    correct_button->setEnabled(false);
    place_list_view->clear();
}

void PlaceListWindow::add_if_new()
{
    const QString name = trimmed_name(name_box->text());
    if (is_missing_name(name))
        return;
    for (int i = 0; i <= m_.places.place_last; ++i) {
        if (m_.places.rows[i].name == name)
            return;
    }
    add_place();
}

void PlaceListWindow::take_current_place()
{
    QListWidgetItem* item = place_list_view->currentItem();
    if (!item->isSelected())
        place_list_view->setCurrentItem(item);
    take_shown_point();
}

void PlaceListWindow::make_current(int row)
{
    place_list_view->scrollToItem(place_list_view->item(row));
    if (place_list_view->hasFocus())
        place_list_view->setCurrentRow(row, QItemSelectionModel::NoUpdate);
    else
        held_row_ = row;
}

void PlaceListWindow::hold_current_item()
{
    held_row_ = place_list_view->currentRow();
    place_list_view->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void PlaceListWindow::give_back_current_item()
{
    if (place_list_view->currentRow() < 0 && held_row_ >= 0 && held_row_ < place_list_view->count())
        place_list_view->setCurrentRow(held_row_, QItemSelectionModel::NoUpdate);
    held_row_ = -1;
}

void PlaceListWindow::leave_without_choice()
{
    m_.transfer_name = m_.saved_name;
    m_.transfer_point = m_.saved_point;
    place_list_view->clear();
    hand_back_to_main_window();
    set_selection_buttons(false);
}

void PlaceListWindow::hand_back_to_main_window()
{
    // The main window's activation reads SharedState while it is being shown, so every
    // shared variable is written before this point; showing it before hiding this window
    // also keeps one window of the program visible throughout.
    main_window_.show();
    hide();
}

bool PlaceListWindow::rewrite_allowed()
{
    if (rewrite_refusal_.isEmpty())
        return true;
    dialogs_.message(rewrite_refusal_);
    return false;
}

QString PlaceListWindow::checked_name(const QString& missing_text, bool focus_text_box)
{
    const QString name = trimmed_name(name_box->text());
    QString refusal;
    if (is_missing_name(name))
        refusal = missing_text;
    else if (const TextFault fault = text_fault(name); fault != TextFault::None)
        refusal = text_fault_message(fault);
    if (refusal.isEmpty())
        return name;
    dialogs_.message(refusal);
    if (focus_text_box)
        name_box->setFocus();
    return QString();
}

void PlaceListWindow::report(const FileProblem& problem)
{
    dialogs_.message(problem_message(problem));
    if (problem.kind != FileProblem::Kind::ChangedElsewhere)
        return;
    // The user's action was not applied; show what the file holds now, so that it can be
    // repeated on the current content.
    if (problem.file == FileKind::PlaceList) {
        set_selection_buttons(false);
        load_and_list();
        return;
    }
    const SettingsLoad settings = load_settings(m_.files_folder);
    m_.settings_stamp = settings.stamp;
    m_.settings_damaged = settings.damaged();
    if (settings.ok()) {
        m_.start_name = settings.settings.place;
        m_.start_point = settings.settings.point;
    }
    // The list the file names now is the one in use: a retry writes that name back, keeping
    // the hand edit, and the window shows that list.
    if (settings.list_file_read && settings.settings.list_file != m_.list_file) {
        m_.list_file = settings.settings.list_file;
        set_selection_buttons(false);
        load_and_list();
    }
}

void PlaceListWindow::set_selection_buttons(bool enabled)
{
    take_point_button->setEnabled(enabled);
    correct_button->setEnabled(enabled);
    delete_button->setEnabled(enabled);
}

} // namespace orvine
