#include "place_list/place_search_box.h"

#include "place_list/place_name.h"
#include "platform/dialogs.h"
#include "shared_state/place_table.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orvine {

namespace {

constexpr int VISIBLE_ROWS = 10;

const QString CANNOT_HOLD_SUB_DEGREE = QStringLiteral(
    "この画面は南緯・西経を度のマイナスで表すため、南緯・西経 1度未満の地点は入れられません。");
const QString CANNOT_HOLD_BEYOND = QStringLiteral(
    "この画面に入れられるのは緯度 89度59分59秒、経度 179度59分59秒までです。");
const QString CALCULATOR_CAN = QStringLiteral("この地点との方位と距離は orvine-calc で求められます。");
const QString NOT_ON_THIS_WINDOW = QStringLiteral("（この画面には入れられません）");
const QString SEARCH_UNAVAILABLE = QStringLiteral(
    "地名の検索は登録済みの地名だけで行います。ほかの機能はそのまま使えます。");

// Decimal degrees of an angle in entry form: the hemisphere is the sign of the degrees.
double decimal_degrees(const Angle& a)
{
    const double size = std::abs(a.degrees) + std::abs(a.minutes) / 60.0 + std::abs(a.seconds) / 3600.0;
    return a.degrees < 0 ? -size : size;
}

// `degrees` rounded to whole seconds, in entry form; `sub_degree_negative` when it is
// negative but less than one degree in size, which the bars cannot hold.
Angle entry_angle(double degrees, bool& negative, bool& sub_degree_negative)
{
    const long long seconds = std::llround(std::abs(degrees) * 3600);
    negative = degrees < 0 && seconds != 0;
    sub_degree_negative = negative && seconds < 3600;
    const auto whole = static_cast<std::int16_t>(seconds / 3600);
    return Angle{static_cast<std::int16_t>(negative ? -whole : whole), static_cast<std::int16_t>(seconds / 60 % 60),
                 static_cast<std::int16_t>(seconds % 60)};
}

QString angle_text(const Angle& a)
{
    return QStringLiteral("%1度%2分%3秒").arg(std::abs(a.degrees)).arg(a.minutes).arg(a.seconds);
}

QString position_text(const BarsPlacement& at)
{
    return (at.south ? QStringLiteral("南緯 ") : QStringLiteral("北緯 ")) + angle_text(at.point.latitude)
        + (at.west ? QStringLiteral("、西経 ") : QStringLiteral("、東経 ")) + angle_text(at.point.longitude);
}

QString refusal_text(const PlaceMatch& match, const BarsPlacement& at)
{
    const QString why = at.refusal == BarsPlacement::Refusal::BeyondBars ? CANNOT_HOLD_BEYOND : CANNOT_HOLD_SUB_DEGREE;
    return QStringLiteral("「") + QString::fromStdString(match.display_text) + QStringLiteral("」は")
        + position_text(at) + QStringLiteral("にあります。\r\n") + why + QStringLiteral("\r\n") + CALCULATOR_CAN;
}

std::vector<RegisteredPlace> registered_places(const PlaceTable& places)
{
    std::vector<RegisteredPlace> registered;
    for (int i = 0; i <= places.place_last; ++i) {
        const Place& place = places.rows[static_cast<std::size_t>(i)];
        registered.push_back(
            {place.name.toStdString(), decimal_degrees(place.point.latitude), decimal_degrees(place.point.longitude)});
    }
    return registered;
}

} // namespace

const Gazetteer& GazetteerOnDemand::gazetteer()
{
    if (!loaded_)
        loaded_ = load_();
    return loaded_->gazetteer;
}

QString GazetteerOnDemand::problem_to_report()
{
    if (!loaded_ || loaded_->ok() || reported_)
        return QString();
    reported_ = true;
    return QString::fromStdString(describe(*loaded_->error)) + QStringLiteral("\r\n") + SEARCH_UNAVAILABLE;
}

GazetteerOnDemand& installed_gazetteer()
{
    static GazetteerOnDemand installed(load_installed_gazetteer);
    return installed;
}

BarsPlacement place_on_bars(double latitude, double longitude)
{
    BarsPlacement at;
    bool latitude_sub_degree = false, longitude_sub_degree = false;
    at.point.latitude = entry_angle(latitude, at.south, latitude_sub_degree);
    at.point.longitude = entry_angle(longitude, at.west, longitude_sub_degree);
    if (std::abs(at.point.latitude.degrees) > 89 || std::abs(at.point.longitude.degrees) > 179)
        at.refusal = BarsPlacement::Refusal::BeyondBars;
    else if (latitude_sub_degree)
        at.refusal = BarsPlacement::Refusal::SubDegreeSouth;
    else if (longitude_sub_degree)
        at.refusal = BarsPlacement::Refusal::SubDegreeWest;
    return at;
}

PlaceSearchBox::PlaceSearchBox(QLineEdit& box, const PlaceTable& places, GazetteerOnDemand& gazetteer, Dialogs& dialogs)
    : QObject(&box), box_(box), places_(places), gazetteer_(gazetteer), dialogs_(dialogs),
      completer_(new QCompleter(this)), model_(new QStandardItemModel(this))
{
    completer_->setModel(model_);
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setMaxVisibleItems(VISIBLE_ROWS);
    completer_->setWidget(&box_);
    QAbstractItemView* list = completer_->popup();
    list->setObjectName(QStringLiteral("place_matches"));
    list->setAccessibleName(QStringLiteral("地名の候補"));
    // Installed after the completer's own filter, so it sees the keys first.
    list->installEventFilter(this);
    box_.installEventFilter(this);
    connect(&box_, &QLineEdit::textEdited, this, &PlaceSearchBox::offer_matches);
    // A click on a match; Return is taken in eventFilter.
    connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) { choose(index.row()); });
}

QAbstractItemView* PlaceSearchBox::drop_down() const
{
    return completer_->popup();
}

bool PlaceSearchBox::eventFilter(QObject* watched, QEvent* event)
{
    QAbstractItemView* list = completer_->popup();
    if (!list->isVisible() || (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool escape = key->key() == Qt::Key_Escape;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!escape && !enter)
        return QObject::eventFilter(watched, event);
    // The window's Escape shortcut must not see the key while the list is open.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    const int row = list->currentIndex().row();
    list->hide();
    if (enter && row >= 0)
        choose(row);
    return true;
}

void PlaceSearchBox::offer_matches(const QString& text)
{
    // Blanks match nothing; they must not be what reads the gazetteer (and reports it missing).
    if (trimmed_name(text).isEmpty()) {
        completer_->popup()->hide();
        return;
    }
    const Gazetteer& gazetteer = gazetteer_.gazetteer();
    if (const QString problem = gazetteer_.problem_to_report(); !problem.isEmpty())
        dialogs_.message(problem);
    matches_ = gazetteer.search(text.toStdString(), registered_places(places_), MAX_MATCHES).matches;
    model_->clear();
    for (const PlaceMatch& match : matches_) {
        const BarsPlacement at = place_on_bars(match.latitude, match.longitude);
        const QString where = position_text(at)
            + (at.refusal == BarsPlacement::Refusal::None ? QString() : NOT_ON_THIS_WINDOW);
        auto* item = new QStandardItem(QString::fromStdString(match.display_text));
        item->setEditable(false);
        item->setData(where, Qt::AccessibleDescriptionRole);
        item->setToolTip(where);
        model_->appendRow(item);
    }
    if (matches_.empty())
        completer_->popup()->hide();
    else
        open_drop_down();
}

void PlaceSearchBox::open_drop_down()
{
    QAbstractItemView* list = completer_->popup();
    // Wide enough for the longest match, never narrower than the box.
    const int scroll_bar = model_->rowCount() > VISIBLE_ROWS ? list->verticalScrollBar()->sizeHint().width() : 0;
    const int frame = 2 * list->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, list);
    const int width = std::max(box_.width(), list->sizeHintForColumn(0) + scroll_bar + frame + 4);
    completer_->complete(QRect(0, 0, width, box_.height()));
    // Nothing is highlighted until the user moves into the list, so that Return there
    // never takes a match the user did not pick.
    list->selectionModel()->clear();
}

void PlaceSearchBox::choose(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= matches_.size())
        return;
    const PlaceMatch match = matches_[static_cast<std::size_t>(row)];
    const BarsPlacement at = place_on_bars(match.latitude, match.longitude);
    if (at.refusal != BarsPlacement::Refusal::None) {
        dialogs_.message(refusal_text(match, at));
        return;
    }
    emit chosen(QString::fromStdString(match.name), at.point);
}

} // namespace orvine
