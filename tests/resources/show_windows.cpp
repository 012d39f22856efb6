// Renders the three windows into <dir>/Form1.png, Form2.png and frmjpmap.png.
#include "resources/window_builder.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    for (const orvine::WindowSpec* table : {&orvine::form1_spec(), &orvine::form2_spec(), &orvine::frmjpmap_spec()}) {
        QMainWindow w;
        orvine::build_window(w, *table);
        // The widest echoes, to see that they fit under their bars.
        const char* widest[][2] = {{"lbido_do", "-89"}, {"lbido_hun", "59"}, {"lbido_byo", "59"},
                                   {"lbkei_do", "-179"}, {"lbkei_hun", "59"}, {"lbkei_byo", "59"}};
        for (const auto& echo : widest) {
            if (auto* label = w.findChild<QLabel*>(QString::fromLatin1(echo[0])))
                label->setText(QString::fromLatin1(echo[1]));
        }
        w.show();
        QApplication::processEvents();
        const QString file = dir + QLatin1Char('/') + QString::fromLatin1(table->name) + QStringLiteral(".png");
        if (!w.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
