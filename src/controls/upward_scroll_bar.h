#pragma once
#include <QScrollBar>

namespace orvine {

// A vertical bar whose top end holds the larger number: the range is Max..Min, drawn
// upside down, and every arrow, trough, key and wheel action moves the value the way the
// user sees it (up arrow, click above the thumb, Up, Page Up, Home and wheel up increase).
class UpwardScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit UpwardScrollBar(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void mirror_action(int action);
};

} // namespace orvine
