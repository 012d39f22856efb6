#include "platform/platform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include <cmath>

namespace orvine::platform {

int twips_to_px(int twips)
{
    return static_cast<int>(std::lround(twips / 15.0));
}

QString program_dir()
{
    return QCoreApplication::applicationDirPath();
}

QFont ms_pgothic(double points, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont window_default_font()
{
    return ms_pgothic(9);
}

void centre_on_screen(QWidget& window)
{
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    // A window not shown yet gets its fixed size from its layout now; its frame is not
    // known before the window manager has framed it, so the inner size stands in for it.
    if (!window.isVisible() && window.layout())
        window.layout()->activate();
    const QSize outer = window.frameGeometry().size().expandedTo(window.size());
    window.move(area.left() + (area.width() - outer.width()) / 2,
                area.top() + (area.height() - outer.height()) / 2);
}

} // namespace orvine::platform
