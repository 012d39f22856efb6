#include "controls/dms_bars.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <cstdint>

namespace orvine {

const std::array<const char*, DmsBars::COUNT> DmsBars::NAMES{"ido_do",  "ido_hun", "ido_byo",
                                                            "kei_do",  "kei_hun", "kei_byo"};

namespace {

std::array<std::int16_t, DmsBars::COUNT> fields(const Point& p)
{
    return {p.latitude.degrees,  p.latitude.minutes,  p.latitude.seconds,
            p.longitude.degrees, p.longitude.minutes, p.longitude.seconds};
}

template <class T>
T* find(QWidget* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("%s has no %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

} // namespace

DmsBars::DmsBars(QWidget* window, Echo echo) : QObject(window)
{
    for (int i = 0; i < COUNT; ++i) {
        const QString name = QString::fromLatin1(NAMES[static_cast<std::size_t>(i)]);
        QScrollBar* b = find<QScrollBar>(window, name);
        bars_[static_cast<std::size_t>(i)] = b;
        labels_[static_cast<std::size_t>(i)] = find<QLabel>(window, QStringLiteral("lb") + name);
        // With tracking off, valueChanged comes after an arrow or trough click, at the end
        // of a drag and when the program puts a new value: the change event.
        connect(b, &QAbstractSlider::valueChanged, this, [this, i] { echo_value(i); });
        if (echo == Echo::WhileDragging)
            connect(b, &QAbstractSlider::sliderMoved, this, [this, i] { echo_value(i); });
    }
    units_ = {find<QLabel>(window, QStringLiteral("Label3")), find<QLabel>(window, QStringLiteral("Label4"))};
    for (QLabel* units : units_)
        units->installEventFilter(this);
}

// The caption's blanks were set for the narrow blanks of the font the layout was drawn
// with; in any other font the units drift away from their bars (by ten pixels with IPA
// P Gothic). So each unit of the caption is drawn centred under its own bar instead, and
// the label keeps its text for screen readers and for anything that reads it.
bool DmsBars::eventFilter(QObject* watched, QEvent* event)
{
    const auto axis = std::find(units_.begin(), units_.end(), watched);
    if (event->type() != QEvent::Paint || axis == units_.end())
        return QObject::eventFilter(watched, event);
    QLabel* caption = *axis;
    const QStringList units = caption->text().simplified().split(QLatin1Char(' '));
    if (units.size() != 3)
        return false;
    QPainter p(caption);
    p.setFont(caption->font());
    p.setPen(caption->palette().color(caption->isEnabled() ? QPalette::Normal : QPalette::Disabled,
                                      caption->foregroundRole()));
    const int first = axis == units_.begin() ? 0 : 3;
    for (int k = 0; k < 3; ++k) {
        const QRectF under_bar = bar(first + k)->geometry();
        const qreal centre = caption->mapFrom(caption->parentWidget(), under_bar.center()).x();
        const qreal half = caption->width();
        p.drawText(QRectF(centre - half, 0, 2 * half, caption->height()), Qt::AlignHCenter | Qt::AlignTop,
                   units[k]);
    }
    return true;
}

Point DmsBars::value() const
{
    auto v = [this](int i) { return static_cast<std::int16_t>(bar(i)->value()); };
    return Point{v(0), v(1), v(2), v(3), v(4), v(5)};
}

void DmsBars::set(const Point& p)
{
    const auto values = fields(p);
    for (int i = 0; i < COUNT; ++i)
        bar(i)->setValue(values[static_cast<std::size_t>(i)]);
}

void DmsBars::set_labels(const Point& p)
{
    const auto values = fields(p);
    for (int i = 0; i < COUNT; ++i)
        label(i)->setText(QString::number(values[static_cast<std::size_t>(i)]));
}

// The thumb position is the bar's value as the user sees it, also while a drag lasts.
void DmsBars::echo_value(int index)
{
    label(index)->setText(QString::number(bar(index)->sliderPosition()));
}

} // namespace orvine
