#include "places/version_box.h"

#include "platform/dialogs.h"
#include "platform/sound.h"

namespace orvine {

QString version_text(VersionBoxFrom)
{
    return QStringLiteral("        Orvine  Ver.  3.4.46");
}

void show_version_box(Dialogs& dialogs, NotificationSound& sound, VersionBoxFrom from)
{
    dialogs.message(version_text(from), QStringLiteral("バージョン情報"));
    sound.play();
}

} // namespace orvine
