#pragma once
#include <QGroupBox>

namespace orvine {

// Qt greys a disabled frame's title and whatever of its controls follows the palette, but
// not the colours the table gives, and scroll bars only at their arrows. So a disabled frame
// is veiled as a whole in the colour of the window behind it, which reads as disabled in any
// style. (A graphics effect would do the same, but draws filled labels out of place on
// scaled screens.)
class FadingFrame : public QGroupBox {
public:
    FadingFrame(const QString& title, QWidget* parent);

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* veil_;
};

} // namespace orvine
