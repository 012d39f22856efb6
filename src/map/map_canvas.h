#pragma once
// The surface of a map picture: shows the map image at its own pixel size, draws the
// exclusive-or cross on it and reports the pointer in image pixels. The keyboard stands in
// for the pointer: the arrow keys move it one pixel (ten with Shift), Space and Return
// press there.
//
// Screen readers hear what the window announces (announce()): each announcement is an
// object of its own inside the map that takes the focus, since the desktop's screen
// readers speak a newly focused object reliably, while Qt 6.4 tells them of a changed name
// or description without the new text.
//
// The cross is drawn into a 32-bit working copy of the image, so that exclusive-or works
// whatever the map file's format (the shipped maps are 8-bit paletted) and so that a
// repaint shows what was drawn. Drawing the same cross twice restores every pixel; clear()
// goes back to the plain image.
#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

namespace orvine {

class MapCanvas : public QWidget {
    Q_OBJECT

public:
    // How long a flashed cross stays when the pointer stops (milliseconds): long enough to
    // be seen, short enough that it does not trail behind a moving pointer.
    static constexpr int flash_ms = 70;

    // The cross colour.
    static constexpr QRgb cross_rgb = 0x0000cb1c;  // RGB(0, 203, 28)

    explicit MapCanvas(QWidget* parent = nullptr);
    ~MapCanvas() override;

    // Takes the map image (any format), fixes the widget to its size and removes every
    // cross. The cross lines end at the image size until set_cross_ends() is called after.
    void set_image(const QImage& image);

    // Where the cross lines end: horizontal from (0, Y) to (right, Y), vertical from
    // (X, 0) to (X, bottom). Pixels beyond the image are clipped away.
    void set_cross_ends(int right, int bottom);

    // Draws a cross at (x, y) in exclusive-or mode and shows it at once. A second call with
    // the same point erases it. The point is clamped into the image, as the read-out is, so
    // the cross always stands on the position that is read out. The pixel where the two
    // lines meet is flipped twice and so keeps its colour.
    void draw_cross(int x, int y);

    // A cross that goes away by itself: erases the previous flash if it still shows, draws
    // this one and erases it after flash_ms unless another flash comes first. Never waits.
    void flash_cross(int x, int y);

    // A flash that stays until the next flash or erase_flash(): the keyboard's pointer,
    // which the user must still see after letting go of the key.
    void hold_cross(int x, int y);

    // Erases the flash now, if one shows.
    void erase_flash();
    bool flash_shown() const { return flashing_; }

    // Back to the plain image: every cross, marked or flashed, is gone.
    void clear();

    // The image as shown, crosses included (32-bit).
    const QImage& image() const { return working_; }

    // Puts the keyboard's pointer back at its starting point, the middle of the map, and
    // returns it.
    QPoint start_keyboard_pointer();

    // Says `text` to screen readers: it becomes the name of the map's pointed place, which
    // takes the focus if the map has it. Empty: no pointed place.
    void announce(const QString& text);
    // The pointed place's text; empty if there is none.
    const QString& announced() const { return announced_; }
    // Its accessible object's id (QAccessible::Id), 0 if there is none.
    unsigned pointed_place_id() const { return pointed_place_id_; }

signals:
    // The pointer moved over the map, or outside it while a button pressed over it is held;
    // x, y are image pixels and may lie outside the image in that case.
    void mouse_moved(int x, int y, Qt::MouseButtons buttons);
    // The left, right or middle button went down over the map; other buttons are not
    // reported. Space and Return report the left button at the keyboard's pointer.
    void mouse_pressed(Qt::MouseButton button, int x, int y);
    // An arrow key moved the keyboard's pointer to (x, y), always inside the image.
    void key_moved(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QPoint clamped(int x, int y) const;
    // Repaints these image pixels and, on a screen scaled by a fraction, the screen pixels
    // that they share with their neighbours.
    void update_pixels(const QRect& pixels);

    QImage plain_;
    QImage working_;
    int right_ = 0;
    int bottom_ = 0;
    QTimer flash_timer_;
    QPoint flash_at_;
    bool flashing_ = false;
    // Where the keyboard's pointer stands: the last position the pointer or a key reported,
    // the middle of the map before either did.
    QPoint key_at_;
    // The pointed place for screen readers: its text and its registered accessible object.
    QString announced_;
    unsigned pointed_place_id_ = 0;
};

} // namespace orvine
