#pragma once
// Turns a window table (window_table.h) into real widgets on a QMainWindow.
#include "resources/window_table.h"

#include <QColor>
#include <QObject>
#include <QPalette>

#include <functional>

class QMainWindow;
class QWidget;

namespace orvine {

// Makes the widget of a control the table cannot describe (the map pictures). Returns
// nullptr to get the default widget for the control's kind.
using CustomFactory = std::function<QWidget*(const ControlRow& control, QWidget* parent)>;

// Builds the whole window: fixed dialog frame without minimise or maximise box, caption,
// icon, window font, a central widget exactly the client size, the menus and every control
// with objectName = its table name (menus: the QMenu carries the name, items the QAction).
// Controls: Button QPushButton, Label QLabel, Frame QGroupBox (veiled as a whole while
// disabled), VScrollBar QScrollBar (an UpwardScrollBar when Min is the larger number),
// ListBox QListWidget, TextBox QLineEdit, Image QLabel, PictureBox a plain QWidget unless
// the factory makes one. Labels show their captions whole in whatever font stands in for
// the layout's: a label without background or border has room around its box, and a
// caption wider than its box is set in a narrowed font.
void build_window(QMainWindow& window, const WindowTable& table, const CustomFactory& factory = {});

// The colour a table entry stands for; system roles are taken from the given palette.
QColor to_qcolor(const Colour& colour, const QPalette& palette = QPalette());

// The control, menu or action called `name` inside `window`; a missing name is a
// programming error and stops the program.
template <class T>
T* control(QObject* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("control %s not found in %s", name, qPrintable(window->objectName()));
    return found;
}

} // namespace orvine
