#pragma once
// The main window's compass figure: a transparent picture over the window's surface that
// keeps the figure as a recorded picture, so that the figure stays when the window is
// covered, hidden and shown again, until it is cleared. It covers exactly the figure (the
// circle and the arrow) and is shown only while there is one, so that screen readers see a
// picture of the figure's own size, which the window names and describes, and that asking
// what lies at a point of the window finds the controls around it. No control stands where
// the figure is drawn.
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

    // Replaces whatever was drawn by this figure; the canvas takes the figure's box.
    void draw(const CompassFigure& figure);
    // Removes the figure and hides the canvas; the window shows its plain surface again.
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
