#pragma once
// What of a widget has been repainted since `region` was last emptied: something drawn but not asked to be
// repainted stays invisible (or stays on screen once erased) until something else repaints the widget.
#include <QPaintEvent>
#include <QWidget>

namespace orvine::test {

struct RepaintedRegion : QObject {
    QRegion region;
    explicit RepaintedRegion(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            region += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
    bool covers(const QRect& r) const { return QRegion(r).subtracted(region).isEmpty(); }
};

} // namespace orvine::test
