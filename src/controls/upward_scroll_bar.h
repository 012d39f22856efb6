#pragma once
#include <QScrollBar>

namespace orvine {

// A vertical bar whose top end holds the larger number: the range is Max..Min, drawn
// upside down, and every arrow, trough, key and wheel action moves the value the way the
// user sees it (up arrow, click above the thumb, Up, Page Up, Home and wheel up increase).
// While it has the keyboard focus, a ring in the highlight colour runs along its edge, which
// the desktop's style does not draw on scroll bars.
class UpwardScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit UpwardScrollBar(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void mirror_action(int action);
};

} // namespace orvine
