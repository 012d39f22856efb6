#include "controls/name_label.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>

namespace orvine {

namespace {

QRect text_box(const QLabel& label)
{
    const int m = label.margin();
    return label.contentsRect().adjusted(m, m, -m, -m);
}

bool fits(const QLabel& label, const QString& text)
{
    return label.fontMetrics().horizontalAdvance(text) <= text_box(label).width();
}

class Ellipsis : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* label = static_cast<QLabel*>(watched);
        if (event->type() != QEvent::Paint || fits(*label, label->text()))
            return false;
        const QRect box = text_box(*label);
        const QString shown = label->fontMetrics().elidedText(label->text(), Qt::ElideRight, box.width());
        QPainter p(label);
        label->style()->drawItemText(&p, box, static_cast<int>(label->alignment()), label->palette(),
                                     label->isEnabled(), shown, label->foregroundRole());
        return true;
    }
};

} // namespace

void elide_long_names(QLabel& label)
{
    label.installEventFilter(new Ellipsis(&label));
}

void show_place_name(QLabel& label, const QString& name)
{
    label.setText(name);
    label.setToolTip(fits(label, name) ? QString() : name);
}

} // namespace orvine
