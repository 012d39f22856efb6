#include "files/file_location.h"

#include "files/settings_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace orvine {

namespace {

const QString APP_FOLDER = QStringLiteral("orvine");
const QString INSTALLED_SUBFOLDER = QStringLiteral("orvine/installed");

bool holds_settings(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(QLatin1String(SETTINGS_FILE_NAME))).isFile();
}

// Creates the missing folders of `path` one by one, each readable only by the user; folders
// that exist keep their modes.
bool make_private_path(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    if (info.exists() || info.isSymLink() || !make_private_path(info.absolutePath()))
        return false;
    return QDir().mkdir(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)
           || QFileInfo(path).isDir();
}

// The copy appears under its name in one step, and never over a file that another start
// of the program put there meanwhile (rename refuses an existing name). The new file is
// created with the usual 0666 less the umask, as any file the user makes.
bool copy_if_absent(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return true;
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    QFile temp(to + QStringLiteral(".seed-%1").arg(QCoreApplication::applicationPid()));
    temp.remove(); // a leftover of an earlier run that had this process id
    if (!temp.open(QIODevice::WriteOnly | QIODevice::NewOnly) || temp.write(bytes) != bytes.size() || !temp.flush()) {
        temp.remove();
        return false;
    }
    temp.close();
    if (!temp.rename(to)) {
        temp.remove();
        return QFileInfo::exists(to);
    }
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
    // Qt takes a relative XDG_DATA_HOME as it is, relative to the working directory: each
    // start folder would then get a list of its own.
    QString data_home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (QDir::isRelativePath(data_home))
        data_home = QDir::home().filePath(QStringLiteral(".local/share"));
    return QDir(data_home).filePath(APP_FOLDER);
}

QString installed_defaults_folder(const QString& program_dir)
{
    const QString beside = QDir::cleanPath(QDir(program_dir).filePath(QStringLiteral(ORVINE_INSTALLED_FROM_BIN)));
    if (holds_settings(beside))
        return beside;
    for (const QString& data_dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString folder = QDir(data_dir).filePath(INSTALLED_SUBFOLDER);
        if (QDir::isAbsolutePath(data_dir) && holds_settings(folder))
            return folder;
    }
    return {};
}

bool seed_user_folder(const QString& user_folder, const QString& defaults_folder)
{
    if (!make_private_path(user_folder) || defaults_folder.isEmpty())
        return false;
    bool ok = true;
    // Only the two files a user starts from; the other installed data is read in place.
    for (const QString& name : {QString::fromLatin1(SETTINGS_FILE_NAME), installed_settings().list_file})
        ok = copy_if_absent(QDir(defaults_folder).filePath(name), QDir(user_folder).filePath(name)) && ok;
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
