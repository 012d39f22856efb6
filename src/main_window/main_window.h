#pragma once
// The main window: the calculation window and the start-up window. It exists for the whole
// run; the place-list and map windows are opened from its menu while it is hidden, and hand
// control back by writing SharedState and showing it again, which runs take_hand_over().
#include "shared_state/map_kind.h"
#include "shared_state/point.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace orvine {

struct SharedState;
struct Sector;
class CompassCanvas;
class Dialogs;
class DmsBars;
class PlaceListWindow;
class NotificationSound;
class MapWindow;
class DirectionMapWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `end_program` ends the run (QCoreApplication::quit unless given); the close box,
    // 終了 and the menu's end call it.
    MainWindow(SharedState& state, Dialogs& dialogs, NotificationSound& sound,
               std::function<void()> end_program = {});
    ~MainWindow() override;

public slots:
    // Once, before the first show: centre, read the settings, show the start-up point.
    void start();
    // Each time another window of the program hands control back (and after the first show).
    void take_hand_over();

    void fix_departure();
    void back_to_departure();
    void compute();
    void swap_for_return_trip();
    void reset_to_start_point();
    void open_place_list();
    void open_japan_map();
    void open_world_map();
    // 方位地図: a window of its own beside this one, centred on the departure point.
    void open_direction_map();
    void show_version();
    // Ctrl+C and the result labels' context menu: two lines, the result as shown (captions
    // and values, the two pairs separated by a tab), then the same result as plain text with
    // the pair of points it belongs to (plain_result.h). Without a result nothing is copied.
    void copy_result();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void read_settings();
    // The departure point on the bars, in the departure summary and with its name.
    void show_departure(const Point& p, const QString& name);
    void show_departure_summary(const Point& p);
    void show_destination_summary(const Point& p);
    void clear_destination_summary();
    void set_departure_name(const QString& name);
    void set_destination_name(const QString& name);
    void show_result(const QString& bearing, const QString& distance);
    void clear_result();
    void put_on_bars(const Point& p);
    // The name check of "次　へ" and "方位表示": true when the place list holds `name` at a
    // point other than `point`. An unreadable or damaged list skips the check.
    bool name_no_longer_fits(const QString& name, const Point& point);
    void refuse(const QString& message);
    // The captions and results as one line, the pairs joined by `between`; empty while no
    // result is shown.
    QString result_line(const QString& between) const;
    void show_result_menu(QLabel* result, const QPoint& at);
    void draw_direction(double bearing, const Sector& sector);
    void erase_drawing();
    void leave_main_window();
    void open_map(MapKind kind);
    // The direction map, if shown, follows the departure point, the result and the place list.
    void update_direction_map();
    // Hides the direction map while another window of the program takes the main window's place.
    void hide_direction_map_with_main_window();

    SharedState& m_;
    Dialogs& dialogs_;
    NotificationSound& sound_;
    std::function<void()> end_program_;

    DmsBars* bars_ = nullptr;
    CompassCanvas* compass_ = nullptr;
    QGroupBox* point_frame = nullptr;
    QScrollBar* latitude_degrees_bar = nullptr;
    QLabel* departure_latitude = nullptr;
    QLabel* departure_longitude = nullptr;
    QLabel* destination_latitude = nullptr;
    QLabel* destination_longitude = nullptr;
    QLabel* departure_name_label = nullptr;
    QLabel* destination_name_label = nullptr;
    QLabel* bearing_label = nullptr;
    QLabel* distance_label = nullptr;
    QLabel* bearing_caption = nullptr;
    QLabel* distance_caption = nullptr;
    QLabel* compass_picture = nullptr;
    QPushButton* next_button = nullptr;
    QPushButton* back_button = nullptr;
    QPushButton* compute_button = nullptr;
    QPushButton* return_trip_button = nullptr;
    QPushButton* end_button = nullptr;
    QAction* reset_action = nullptr;
    QAction* end_action = nullptr;
    QAction* place_list_action = nullptr;
    QAction* japan_map_action = nullptr;
    QAction* world_map_action = nullptr;
    QAction* version_action = nullptr;
    QAction* direction_map_action = nullptr;

    // What the labels show: the destination's name and the result's two texts; and the
    // shown result as plain text, with the points and names it was computed for.
    QString destination_name_;
    QString bearing_text_;
    QString distance_text_;
    QString plain_result_;

    // Created when first opened; each deletes itself when closed with its close box.
    QPointer<PlaceListWindow> place_list_window_;
    QPointer<MapWindow> map_window_;
    QPointer<DirectionMapWindow> direction_map_;
    bool direction_map_hidden_with_main_window_ = false;

    // A damaged place list is reported once per run, not on every name check.
    bool place_list_problem_reported_ = false;
};

} // namespace orvine
