#include "map/map_canvas.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QtMath>

#include <algorithm>

namespace orvine {

namespace {

// The place the map points at, as a child of the map's accessible object.
class PointedPlace : public QAccessibleInterface {
public:
    PointedPlace(MapCanvas* map, const QString& name, QPoint at) : map_(map), name_(name), at_(at) {}

    bool isValid() const override { return !map_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return map_ ? map_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(map_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? name_ : QString(); }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return map_ ? QRect(map_->mapToGlobal(at_), QSize(1, 1)) : QRect(); }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.focusable = true;
        state.focused = map_ && map_->hasFocus();
        return state;
    }

private:
    QPointer<MapCanvas> map_;
    QString name_;
    QPoint at_;
};

// The map as a picture, with the pointed place inside it. While there is one, the place
// reports the focus instead of the map, so that one object has it at a time.
class MapAccessible : public QAccessibleWidget {
public:
    explicit MapAccessible(MapCanvas* map) : QAccessibleWidget(map, QAccessible::Graphic) {}

    int childCount() const override { return place() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override { return index == 0 ? place() : nullptr; }
    int indexOfChild(const QAccessibleInterface* child) const override { return child && child == place() ? 0 : -1; }
    QAccessibleInterface* focusChild() const override { return widget()->hasFocus() ? place() : nullptr; }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (place())
            state.focused = false;
        return state;
    }

private:
    QAccessibleInterface* place() const
    {
        const unsigned id = static_cast<MapCanvas*>(widget())->pointed_place_id();
        return id ? QAccessible::accessibleInterface(id) : nullptr;
    }
};

QAccessibleInterface* map_accessible(const QString&, QObject* object)
{
    auto* map = qobject_cast<MapCanvas*>(object);
    return map ? new MapAccessible(map) : nullptr;
}

} // namespace

MapCanvas::MapCanvas(QWidget* parent)
    : QWidget(parent)
{
    static const bool accessible_as_map = (QAccessible::installFactory(map_accessible), true);
    Q_UNUSED(accessible_as_map);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel of the widget comes from the image: nothing to fill beforehand.
    setAttribute(Qt::WA_OpaquePaintEvent);
    flash_timer_.setSingleShot(true);
    flash_timer_.setInterval(flash_ms);
    connect(&flash_timer_, &QTimer::timeout, this, &MapCanvas::erase_flash);
}

MapCanvas::~MapCanvas()
{
    if (pointed_place_id_)
        QAccessible::deleteAccessibleInterface(pointed_place_id_);
}

void MapCanvas::set_image(const QImage& image)
{
    plain_ = image.convertToFormat(QImage::Format_RGB32);
    right_ = plain_.width();
    bottom_ = plain_.height();
    setFixedSize(plain_.size());
    start_keyboard_pointer();
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

// The lines are flipped pixel by pixel rather than through QPainter's exclusive-or raster
// operation: the painter hands a one-pixel-wide column (one span per row) to its worker
// threads, which made every cross cost hundreds of microseconds; the loop costs one or two.
void MapCanvas::draw_cross(int x, int y)
{
    if (working_.isNull())
        return;
    const QPoint at = clamped(x, y);
    const QRgb pen = cross_rgb & 0x00ffffffu;
    uchar* bits = working_.bits();
    const qsizetype stride = working_.bytesPerLine();
    const int column_end = std::min(bottom_, working_.height() - 1);
    for (int row = 0; row <= column_end; ++row)
        reinterpret_cast<QRgb*>(bits + row * stride)[at.x()] ^= pen;
    // The lines are drawn one after the other, so the pixel where they meet is flipped
    // twice and keeps its colour.
    QRgb* line = reinterpret_cast<QRgb*>(bits + at.y() * stride);
    const int row_end = std::min(right_, working_.width() - 1);
    for (int col = 0; col <= row_end; ++col)
        line[col] ^= pen;
    update_pixels(QRect(at.x(), 0, 1, height()));
    update_pixels(QRect(0, at.y(), width(), 1));
}

// At 1.5 times, an image pixel covers one and a half screen pixels, and a screen pixel
// on the edge of a changed line is repainted only if the update names its neighbour too.
void MapCanvas::update_pixels(const QRect& pixels)
{
    const qreal ratio = devicePixelRatioF();
    update(ratio == qFloor(ratio) ? pixels : pixels.adjusted(-1, -1, 1, 1));
}

void MapCanvas::flash_cross(int x, int y)
{
    hold_cross(x, y);
    flash_timer_.start();
}

void MapCanvas::hold_cross(int x, int y)
{
    erase_flash();
    flash_at_ = clamped(x, y);
    draw_cross(flash_at_.x(), flash_at_.y());
    flashing_ = true;
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
    p.setCompositionMode(QPainter::CompositionMode_Source);
    // Only the lines that changed: the bounding rectangle of a cross is the whole map. Tall
    // pieces go in bands of 64 rows, because the painter splits larger jobs across worker
    // threads, and for a one-pixel column that hand-over costs far more than the copy.
    constexpr int band = 64;
    for (const QRect& r : event->region()) {
        for (int top = r.top(); top <= r.bottom(); top += band) {
            const QRect piece(r.left(), top, r.width(), std::min(band, r.bottom() + 1 - top));
            p.drawImage(piece.topLeft(), working_, piece);
        }
    }
}

// The pixel under the pointer is the one whose square holds it, so positions are floored
// rather than rounded (they are fractional only on scaled screens).
void MapCanvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    key_at_ = clamped(qFloor(pos.x()), qFloor(pos.y()));
    emit mouse_moved(qFloor(pos.x()), qFloor(pos.y()), event->buttons());
}

void MapCanvas::mousePressEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton && button != Qt::MiddleButton)
        return;
    const QPointF pos = event->position();
    key_at_ = clamped(qFloor(pos.x()), qFloor(pos.y()));
    emit mouse_pressed(button, qFloor(pos.x()), qFloor(pos.y()));
}

void MapCanvas::keyPressEvent(QKeyEvent* event)
{
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    QPoint to = key_at_;
    switch (event->key()) {
    case Qt::Key_Left: to.rx() -= step; break;
    case Qt::Key_Right: to.rx() += step; break;
    case Qt::Key_Up: to.ry() -= step; break;
    case Qt::Key_Down: to.ry() += step; break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit mouse_pressed(Qt::LeftButton, key_at_.x(), key_at_.y());
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    key_at_ = clamped(to.x(), to.y());
    emit key_moved(key_at_.x(), key_at_.y());
}

// A held cross belongs to the keyboard; without the focus it would stand there for nothing.
void MapCanvas::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (flashing_ && !flash_timer_.isActive())
        erase_flash();
}

QPoint MapCanvas::start_keyboard_pointer()
{
    key_at_ = QPoint(plain_.width() / 2, plain_.height() / 2);
    return key_at_;
}

void MapCanvas::announce(const QString& text)
{
    const unsigned previous = pointed_place_id_;
    announced_ = text;
    pointed_place_id_ = 0;
    if (!text.isEmpty()) {
        auto* place = new PointedPlace(this, text, key_at_);
        pointed_place_id_ = QAccessible::registerAccessibleInterface(place);
        if (hasFocus()) {
            QAccessibleEvent focus(place, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
    }
    if (previous)
        QAccessible::deleteAccessibleInterface(previous);
}

} // namespace orvine
