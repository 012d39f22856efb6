#pragma once
// Qt's own texts (standard buttons of message boxes, the text box's context menu) in
// Japanese, to match the program's windows whatever the desktop's language.
class QCoreApplication;

namespace orvine::platform {

// Installs Qt's Japanese translation (qtbase_ja from Qt's translations folder) on `app`.
// Without the translation (Debian: qt6-translations-l10n) Qt's texts stay English.
void install_qt_japanese(QCoreApplication& app);

} // namespace orvine::platform
