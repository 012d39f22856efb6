#include "controls/hidden_contents.h"

#include <QLayout>
#include <QMainWindow>

namespace orvine {

void hide_contents(QMainWindow& window)
{
    window.centralWidget()->hide();
}

void show_contents(QMainWindow& window)
{
    window.centralWidget()->show();
    window.layout()->activate();
}

} // namespace orvine
