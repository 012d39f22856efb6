#pragma once
// The map window: pick a point on the map of Japan or of the world.
#include <QMainWindow>

namespace orvine {

struct Module1;
class Dialogs;

class frmjpmap : public QMainWindow {
    Q_OBJECT
public:
    // `main_window` is shown again on every way out of this window. The window deletes
    // itself when closed with its close box; hiding keeps it for the next opening.
    // The opener sets `map_kind` before showing the window.
    frmjpmap(Module1& module1, Dialogs& dialogs, QWidget& main_window);

private:
    Module1& m_;
    Dialogs& dialogs_;
    QWidget& main_window_;
};

} // namespace orvine
