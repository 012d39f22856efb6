#include "files/file_location.h"

#include "files/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace orvine {

namespace {

const QString APP_FOLDER = QStringLiteral("orvine");

bool holds_settings(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(QLatin1String(SETTINGS_FILE_NAME))).isFile();
}

// The copy appears under its name in one step, and never over a file that another start
// of the program put there meanwhile (rename refuses an existing name).
bool copy_if_absent(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return true;
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    QTemporaryFile temp(to + QStringLiteral(".XXXXXX"));
    if (!temp.open() || temp.write(bytes) != bytes.size() || !temp.flush())
        return false;
    temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                        | QFileDevice::ReadOther);
    temp.close();
    if (!temp.rename(to))
        return QFileInfo::exists(to);
    temp.setAutoRemove(false);
    return true;
}

} // namespace

QString choose_files_folder(const QString& program_dir, const QString& user_folder)
{
    // Root may write anywhere; a folder that grants no one write access is read-only for
    // root as well, so that a run as root never writes where the owner meant nothing to be.
    const QFileInfo folder(program_dir);
    const bool writable = folder.isWritable()
                          && (folder.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
    if (holds_settings(program_dir) && writable)
        return program_dir;
    return user_folder;
}

QString user_files_folder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(APP_FOLDER);
}

QString installed_defaults_folder(const QString& program_dir)
{
    const QString beside = QDir::cleanPath(QDir(program_dir).filePath(QStringLiteral(ORVINE_DEFAULTS_FROM_BIN)));
    if (holds_settings(beside))
        return beside;
    for (const QString& folder :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, APP_FOLDER, QStandardPaths::LocateDirectory)) {
        if (holds_settings(folder))
            return folder;
    }
    return {};
}

bool seed_user_folder(const QString& user_folder, const QString& defaults_folder)
{
    if (!QDir().mkpath(user_folder))
        return false;
    if (defaults_folder.isEmpty())
        return false;
    bool ok = true;
    const QDir defaults(defaults_folder);
    for (const QString& name : defaults.entryList(QDir::Files | QDir::Readable, QDir::Name))
        ok = copy_if_absent(defaults.filePath(name), QDir(user_folder).filePath(name)) && ok;
    return ok;
}

QString files_folder_for_run(const QString& program_dir)
{
    const QString user_folder = user_files_folder();
    const QString folder = choose_files_folder(program_dir, user_folder);
    if (folder == user_folder)
        seed_user_folder(user_folder, installed_defaults_folder(program_dir));
    return folder;
}

} // namespace orvine
