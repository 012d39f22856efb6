#include "map/map_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include <algorithm>

namespace orvine {

MapCanvas::MapCanvas(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    // Every pixel of the widget comes from the image: nothing to fill beforehand.
    setAttribute(Qt::WA_OpaquePaintEvent);
    flash_timer_.setSingleShot(true);
    flash_timer_.setInterval(flash_ms);
    connect(&flash_timer_, &QTimer::timeout, this, &MapCanvas::erase_flash);
}

void MapCanvas::set_image(const QImage& image)
{
    plain_ = image.convertToFormat(QImage::Format_RGB32);
    right_ = plain_.width();
    bottom_ = plain_.height();
    setFixedSize(plain_.size());
    clear();
}

void MapCanvas::set_cross_ends(int right, int bottom)
{
    right_ = right;
    bottom_ = bottom;
}

QPoint MapCanvas::clamped(int x, int y) const
{
    return {std::clamp(x, 0, std::max(0, working_.width() - 1)),
            std::clamp(y, 0, std::max(0, working_.height() - 1))};
}

void MapCanvas::draw_cross(int x, int y)
{
    if (working_.isNull())
        return;
    const QPoint at = clamped(x, y);
    {
        QPainter p(&working_);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(QColor(cross_rgb), 1));
        // Two separate lines, so the crossing pixel is flipped twice.
        p.drawLine(at.x(), 0, at.x(), bottom_);
        p.drawLine(0, at.y(), right_, at.y());
    }
    update(QRect(at.x(), 0, 1, height()));
    update(QRect(0, at.y(), width(), 1));
}

void MapCanvas::flash_cross(int x, int y)
{
    erase_flash();
    flash_at_ = clamped(x, y);
    draw_cross(flash_at_.x(), flash_at_.y());
    flashing_ = true;
    flash_timer_.start();
}

void MapCanvas::erase_flash()
{
    flash_timer_.stop();
    if (!flashing_)
        return;
    flashing_ = false;
    draw_cross(flash_at_.x(), flash_at_.y());
}

void MapCanvas::clear()
{
    flash_timer_.stop();
    flashing_ = false;
    working_ = plain_.copy();
    update();
}

void MapCanvas::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r.topLeft(), working_, r);
}

// The pixel under the pointer is the one whose square holds it, so positions are floored
// rather than rounded (they are fractional only on scaled screens).
void MapCanvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    emit mouse_moved(qFloor(pos.x()), qFloor(pos.y()), event->buttons());
}

void MapCanvas::mousePressEvent(QMouseEvent* event)
{
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: return;
    }
    const QPointF pos = event->position();
    emit mouse_pressed(button, qFloor(pos.x()), qFloor(pos.y()));
}

} // namespace orvine
