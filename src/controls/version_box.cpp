#include "controls/version_box.h"

#include "platform/dialogs.h"
#include "platform/sound.h"

#include <cstdint>

namespace orvine {

namespace {

// Set by the build from the project's version.
constexpr std::int16_t VERSION_MAJOR = ORVINE_VERSION_MAJOR;
constexpr std::int16_t VERSION_MINOR = ORVINE_VERSION_MINOR;
constexpr std::int16_t VERSION_REVISION = ORVINE_VERSION_REVISION;

} // namespace

QString version_text(VersionBoxFrom from)
{
    // The two windows indent the contact lines differently; both boxes keep their own.
    const bool main = from == VersionBoxFrom::MainWindow;
    const QString mail_indent = main ? QStringLiteral("       ") : QStringLiteral("       　");
    const QString web_indent = main ? QStringLiteral("  　　 ") : QStringLiteral("  　　　");
    return QStringLiteral("        Orvine  Ver.  ") + QString::number(VERSION_MAJOR) + QLatin1Char('.')
        + QString::number(VERSION_MINOR) + QLatin1Char('.') + QString::number(VERSION_REVISION)
        + QStringLiteral("\r\r\n") + QStringLiteral("Orvine 開発チーム") + QStringLiteral("\r\r\n")
        + mail_indent + QStringLiteral("E-mail: orvine@example.org") + QStringLiteral("\r\n")
        + web_indent + QStringLiteral("https://orvine.example.org/");
}

void show_version_box(Dialogs& dialogs, NotificationSound& sound, VersionBoxFrom from)
{
    dialogs.message(version_text(from), QStringLiteral("バージョン情報"));
    sound.play();
}

} // namespace orvine
