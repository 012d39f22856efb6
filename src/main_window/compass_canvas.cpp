#include "main_window/compass_canvas.h"

#include "platform/platform.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QPolygon>

namespace orvine {

namespace {

QPoint to_px(TwipsPoint p)
{
    return QPoint(platform::twips_to_px(p.x), platform::twips_to_px(p.y));
}

// Screen readers present the figure as a picture rather than as an empty pane.
QAccessibleInterface* figure_accessible(const QString&, QObject* object)
{
    auto* canvas = dynamic_cast<CompassCanvas*>(object);
    return canvas ? new QAccessibleWidget(canvas, QAccessible::Graphic) : nullptr;
}

} // namespace

CompassCanvas::CompassCanvas(QWidget* parent, const QColor& fill, const QColor& pen)
    : QWidget(parent), fill_(fill), pen_(pen)
{
    static const bool accessible_as_picture = (QAccessible::installFactory(figure_accessible), true);
    Q_UNUSED(accessible_as_picture);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void CompassCanvas::draw(const CompassFigure& f)
{
    const QPoint centre = to_px(CompassFigure::CENTRE);
    const int r = platform::twips_to_px(CompassFigure::RADIUS);
    const QRect circle(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    const QPoint tip = to_px(f.tip);
    const QPoint base1 = to_px(f.base1);
    const QPoint base2 = to_px(f.base2);
    // A pixel of room around the lines, which are drawn smoothed.
    const QRect box = (circle | QPolygon({tip, base1, base2}).boundingRect()).adjusted(-1, -1, 2, 2);

    QPicture picture;
    QPainter p(&picture);
    p.translate(-box.topLeft());
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(pen_, 1));
    p.setBrush(Qt::NoBrush);
    p.drawArc(circle, sixteenths_of_degree(f.arc_start), sixteenths_of_degree(ccw_span(f.arc_start, f.arc_end)));
    p.setBrush(fill_);
    p.drawPie(circle, sixteenths_of_degree(f.arc_end), sixteenths_of_degree(ccw_span(f.arc_end, f.arc_start)));
    p.drawLine(centre, tip);
    p.drawLine(tip, base1);
    p.drawLine(base1, base2);
    p.drawLine(base2, tip);
    p.end();

    picture_ = picture;
    figure_ = f;
    setGeometry(box);
    show();
    update();
}

void CompassCanvas::clear()
{
    picture_ = QPicture();
    figure_.reset();
    hide();
}

void CompassCanvas::paintEvent(QPaintEvent*)
{
    if (!figure_)
        return;
    QPainter p(this);
    p.drawPicture(0, 0, picture_);
}

} // namespace orvine
