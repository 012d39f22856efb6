#pragma once
// The map window: pick a point on the map of Japan or of the world.
//
// The opener sets SharedState::map_kind, hides the main window and shows this one. Every
// showing runs take_hand_over, which sets the window up for that map kind, takes the backup
// of the transfer point and stands an unmarked cross at the map's middle, where the keys
// start, with its read-out. Each key move and each mark is announced to screen readers.
// "決定" writes the marked point into the transfer point and shows the main window; "中止",
// Escape and the close box put the backup back and show it.
#include "map/map_projection.h"

#include <QMainWindow>

class QLabel;
class QPushButton;

namespace orvine {

struct SharedState;
class Dialogs;
class MapCanvas;

class MapWindow : public QMainWindow {
    Q_OBJECT
public:
    // Outer window sizes of the original layout include a dialog frame and a title bar of
    // this many twips (4 px each side, an 18 px caption). The client area is the outer size
    // less these; the window manager adds its own frame around it.
    static constexpr int frame_width_twips = 120;
    static constexpr int frame_height_twips = 390;

    // `main_window` is shown again on every way out of this window. The window deletes
    // itself when closed with its close box; hiding keeps it for the next opening.
    MapWindow(SharedState& state, Dialogs& dialogs, QWidget& main_window);

    // Activation runs here, before the window is mapped, so that size and place are
    // already right when it appears; a window shown again after minimising does not count.
    void setVisible(bool visible) override;

    // The message shown when "決定" meets a south latitude or west longitude of less than
    // one degree, which a point held as signed degrees cannot carry; `lines` lists each
    // affected value and the nearest one that can be carried.
    static QString sub_degree_message(const QString& lines);

public slots:
    void decide();
    void clear_mark();
    void leave_without_choice();

protected:
    // The close box: leave without a choice.
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void place_pictures();
    void take_hand_over();
    void restore_transfer_point();
    // A key moves a cross that stays; the pointer's cross only flashes.
    enum class Cross { Flash, Hold };
    void pointer_moved(MapCanvas& picture, int x, int y, Cross cross);
    void button_down(MapCanvas& picture, Qt::MouseButton button, int x, int y);
    void show_read_out(int x, int y);
    // The read-out as one text, e.g. "北緯36度8分5秒　東経134度15分55秒".
    QString position_text() const;
    void clear_read_out();
    void set_marked_buttons(bool on);

    SharedState& m_;
    Dialogs& dialogs_;
    QWidget& main_window_;

    MapCanvas* japan_picture = nullptr;
    MapCanvas* world_picture = nullptr;
    QPushButton* decide_button = nullptr;
    QPushButton* clear_button = nullptr;
    QPushButton* close_button = nullptr;
    QLabel* latitude_hemisphere = nullptr;
    QLabel* longitude_hemisphere = nullptr;
    QLabel* latitude_degrees = nullptr;
    QLabel* latitude_minutes = nullptr;
    QLabel* latitude_seconds = nullptr;
    QLabel* longitude_degrees = nullptr;
    QLabel* longitude_minutes = nullptr;
    QLabel* longitude_seconds = nullptr;

    // The read-out last shown, and whether it is the marked point that 決定 hands over.
    ReadOut read_out_;
    bool marked_ = false;
    MapKind kind_ = MapKind::Japan;
};

} // namespace orvine
