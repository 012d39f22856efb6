#pragma once
// The place-list window: the registry of named places, shown while the main window is hidden.
#include <QMainWindow>

namespace orvine {

struct Module1;
class Dialogs;
class NotificationSound;

class Form2 : public QMainWindow {
    Q_OBJECT
public:
    // `main_window` is shown again on every way out of this window. The window deletes
    // itself when closed with its close box; hiding keeps it for the next opening.
    Form2(Module1& module1, Dialogs& dialogs, NotificationSound& sound, QWidget& main_window);

private:
    Module1& m_;
    Dialogs& dialogs_;
    NotificationSound& sound_;
    QWidget& main_window_;
};

} // namespace orvine
