#pragma once
// The main window's drawing surface: a transparent layer under the controls that keeps the
// compass figure as a recorded picture, so that the figure stays when the window is
// covered, hidden and shown again, until it is cleared. Screen readers see it as a picture,
// which the window names and describes.
#include "main_window/compass.h"

#include <QColor>
#include <QPicture>
#include <QWidget>

#include <optional>

namespace orvine {

class CompassCanvas : public QWidget {
public:
    // `fill`: inside of the disc; `pen`: arc, outline and arrow.
    CompassCanvas(QWidget* parent, const QColor& fill, const QColor& pen);

    // Replaces whatever was drawn by this figure.
    void draw(const CompassFigure& figure);
    // Removes the figure; the window shows its plain surface again.
    void clear();

    // The figure on display, if any.
    const std::optional<CompassFigure>& figure() const { return figure_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
    QColor pen_;
    QPicture picture_;
    std::optional<CompassFigure> figure_;
};

} // namespace orvine
