#pragma once
// What the program needs from the desktop beyond plain widgets: lengths, fonts, the
// program's directory and placing a window on its screen.
#include <QFont>
#include <QString>

class QWidget;

namespace orvine::platform {

// Window lengths are kept in twips; the layout was made at 15 twips per pixel (Qt scales
// pixels further on high-DPI screens). Rounds to the nearest pixel.
int twips_to_px(int twips);

// Directory of the running executable (which may hold a portable copy's two files).
QString program_dir();

// "ＭＳ Ｐゴシック" at a size in points (fractions such as 11.25 kept), falling back to the
// metric-compatible IPA P Gothic where the named font is not installed.
QFont ms_pgothic(double points, bool bold = false);

// Font of controls that have none of their own: the same family at 9 points.
QFont window_default_font();

// Places the window's outer frame in the middle of the screen it is on (or the primary
// screen): left = (screen width - outer width) / 2, top likewise. Before the window is
// first shown its frame is unknown and the window's own size is used.
void centre_on_screen(QWidget& window);

} // namespace orvine::platform
