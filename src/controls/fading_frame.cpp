#include "controls/fading_frame.h"

#include <QEvent>
#include <QPainter>

namespace orvine {

namespace {

constexpr qreal VEIL_OPACITY = 0.55;

class Veil : public QWidget {
public:
    explicit Veil(QWidget* frame) : QWidget(frame)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QColor veil = palette().color(QPalette::Window);
        veil.setAlphaF(VEIL_OPACITY);
        QPainter(this).fillRect(rect(), veil);
    }
};

} // namespace

FadingFrame::FadingFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent), veil_(new Veil(this)) {}

void FadingFrame::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        veil_->setGeometry(rect());
        veil_->raise();
        veil_->setVisible(!isEnabled());
    }
    QGroupBox::changeEvent(event);
}

} // namespace orvine
