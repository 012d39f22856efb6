#include "controls/dms_bars.h"

#include <QLabel>
#include <QScrollBar>
#include <QWidget>

#include <cstdint>

namespace orvine {

const std::array<const char*, DmsBars::COUNT> DmsBars::NAMES{"ido_do",  "ido_hun", "ido_byo",
                                                            "kei_do",  "kei_hun", "kei_byo"};

namespace {

std::array<std::int16_t, DmsBars::COUNT> fields(const Point& p)
{
    return {p.ido_do, p.ido_hun, p.ido_byo, p.kei_do, p.kei_hun, p.kei_byo};
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
        connect(b, &QAbstractSlider::valueChanged, this, [this, i] { bar_Change(i); });
        if (echo == Echo::WhileDragging)
            connect(b, &QAbstractSlider::sliderMoved, this, [this, i] { bar_Scroll(i); });
    }
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
void DmsBars::bar_Change(int index)
{
    const int v = bar(index)->sliderPosition();
    label(index)->setText(QString::number(v));
    emit changed(index, v);
}

void DmsBars::bar_Scroll(int index)
{
    bar_Change(index);
}

} // namespace orvine
