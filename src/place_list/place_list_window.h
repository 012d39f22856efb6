#pragma once
// The place-list window: the registry of named places, shown while the main window is hidden.
//
// Opening: the main window writes the transfer point and its name into SharedState, hides
// itself and shows this window; showing it runs take_hand_over, which takes the backup and
// reads the place-list file afresh. Every way out writes SharedState first, then shows the
// main window, then hides this one, so the main window's activation sees the final values.
//
// Escape leaves the window as "戻 る(cancel)" does. Return in the name box registers a new
// name as "追加登録" does; Return on a place in the list takes it as "表示地名読込" does.
// Typing in the name box offers the places of the gazetteer (place_search_box.h); a chosen
// one puts its name into the box and its point on the bars, as if the user had entered them.
//
// The place-list file is rewritten at once after every addition, correction and deletion.
// A rewrite that fails leaves the file, the table and the list as they were. When the file
// was changed elsewhere since it was read (another instance, an editor), nothing is
// written: the user is told and the list is read again, without the action. A list that
// was not read whole, or that ends at an empty name with records behind it, is shown as
// far as it was read but never rewritten, so that nothing in the file is lost.
#include "place_list/place_search_box.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;

namespace orvine {

struct SharedState;
struct Place;
struct FileProblem;
class Dialogs;
class DmsBars;
class NotificationSound;

class PlaceListWindow : public QMainWindow {
    Q_OBJECT
public:
    // `main_window` is shown again on every way out of this window. The window deletes
    // itself when closed with its close box; hiding keeps it for the next opening.
    // `gazetteer`: the one the name box searches, read at the first keystroke.
    PlaceListWindow(SharedState& state, Dialogs& dialogs, NotificationSound& sound, QWidget& main_window,
                    GazetteerOnDemand& gazetteer = installed_gazetteer());

protected:
    // A show by the program (the hand-over from the main window) runs take_hand_over.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Return in the name box and on the list; the list's current item (below).
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The close box: leave without a choice, then let the window close and be deleted.
    void closeEvent(QCloseEvent* event) override;

private slots:
    void show_selected_place();
    void add_place();
    void correct_place();
    void delete_place();
    void register_start_point();
    // 表示地名読込 and a double click: the shown point and name go to the main window.
    void take_shown_point();
    // Return in the name box: 追加登録 when the name is new, nothing otherwise.
    void add_if_new();
    // Return on a place in the list: it is chosen, if it was not, and taken.
    void take_current_place();
    // 戻 る(cancel), the menu, Escape and the close box: the saved point goes back.
    void leave_without_choice();
    void show_version();
    // A match chosen in the name box's drop-down list.
    void show_found_place(const QString& name, const Point& point);

private:
    void take_hand_over();

    // Reads the place-list file into the table, lists it and sets place_last; reports a
    // file that was not read whole, or records behind an empty name, and then refuses
    // every later rewrite until the next reading.
    void load_and_list();
    void list_table();
    void show_place(const Place& place);
    // False, after telling the user why, when the file must not be rewritten.
    bool rewrite_allowed();
    // The trimmed name of name_box when it may name a place; otherwise refuses it with a
    // message (`missing_text` for an empty name or "不明") and returns an empty string.
    QString checked_name(const QString& missing_text, bool focus_text_box);
    // Tells the user; a file changed elsewhere is then read again.
    void report(const FileProblem& problem);
    void hand_back_to_main_window();
    void set_selection_buttons(bool enabled);
    int selected_row() const;
    // Makes `row` the list's current item without choosing it, and scrolls it into view.
    void make_current(int row);
    // Qt reports the list's current item as focused even while the focus is elsewhere, so
    // that a screen reader would find two focused objects. The current item is therefore
    // held aside while the list does not have the focus, and given back when it gets it.
    void hold_current_item();
    void give_back_current_item();

    SharedState& m_;
    Dialogs& dialogs_;
    NotificationSound& sound_;
    QWidget& main_window_;

    QListWidget* place_list_view;
    QLineEdit* name_box;
    QPushButton* add_button;
    QPushButton* correct_button;
    QPushButton* delete_button;
    QPushButton* register_start_point_button;
    QPushButton* take_point_button;
    QPushButton* cancel_button;
    QScrollBar* latitude_degrees_bar;
    QAction* cancel_action;
    QAction* version_action;
    DmsBars* bars_;
    PlaceSearchBox* search_box_;

    // Why the place-list file must not be rewritten (empty while it may be).
    QString rewrite_refusal_;
    // The current item held aside while the list does not have the focus; -1 for none.
    int held_row_ = -1;
};

} // namespace orvine
