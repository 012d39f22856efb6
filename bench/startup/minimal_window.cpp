// The yardstick: the smallest Qt Widgets program with one window and one label.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.setCentralWidget(new QLabel(QStringLiteral("minimal"), &window));
    window.resize(497, 400);
    window.show();
    return app.exec();
}
