#pragma once
// The six degree/minute/second bars of a frame and the echo label under each, as the main
// window and the place-list window both carry them (bars ido_do … kei_byo, labels
// lbido_do … lbkei_byo, found by name in an already built window), and the unit captions
// "度　　分　　秒" under each group of three (Label3 latitude, Label4 longitude).
#include "shared_state/point.h"

#include <QObject>

#include <array>

class QLabel;
class QScrollBar;
class QWidget;

namespace orvine {

class DmsBars : public QObject {
    Q_OBJECT
public:
    enum class Echo {
        WhileDragging,  // the main window: each bar's scroll event runs its change handler
        AtDragEnd,      // the place-list window: change events only
    };
    static constexpr int COUNT = 6;
    // Bar names in Point order: ido_do, ido_hun, ido_byo, kei_do, kei_hun, kei_byo.
    static const std::array<const char*, COUNT> NAMES;

    DmsBars(QWidget* window, Echo echo);

    // The six bar values in Point order.
    Point value() const;
    // Puts the values on the bars; a bar whose value changes raises its change event and
    // so echoes. Values are expected within the bars' ranges (Qt clamps any other).
    void set(const Point& p);
    // Writes the six echo labels as plain numbers without touching the bars.
    void set_labels(const Point& p);

    QScrollBar* bar(int index) const { return bars_[static_cast<std::size_t>(index)]; }
    QLabel* label(int index) const { return labels_[static_cast<std::size_t>(index)]; }

protected:
    // Paints the unit captions.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Writes the thumb's value into the bar's echo label.
    void echo_value(int index);

    std::array<QScrollBar*, COUNT> bars_{};
    std::array<QLabel*, COUNT> labels_{};
    // The unit captions of the latitude and the longitude bars.
    std::array<QLabel*, 2> units_{};
};

} // namespace orvine
