#include "files/file_location.h"

#include "files/file_io.h"
#include "files/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvine {

namespace {

const QString APP_FOLDER = QStringLiteral("orvine");
const QString INSTALLED_SUBFOLDER = QStringLiteral("orvine/installed");

bool holds_settings(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(QLatin1String(SETTINGS_FILE_NAME))).isFile();
}

// Why the folder of the last run could not be set up; the settings file's Missing names it.
struct FolderSetup {
    QString folder;
    QString problem;
};
FolderSetup last_setup;

QString cannot_make(const QString& folder, const QString& reason)
{
    return QStringLiteral("データフォルダー「") + QDir::toNativeSeparators(folder) + QStringLiteral("」を作れません：")
        + reason + QStringLiteral("。");
}

// Creates `folder` and the missing folders above it, 0700 as XDG asks. Run by another user
// than the owner of the folder it is made in (root with a user's HOME), a new folder goes to
// that owner, and no link is followed to make one. Empty, or why it failed.
QString make_folder(const QString& folder)
{
    const QByteArray path = QFile::encodeName(QDir::cleanPath(QDir(folder).absolutePath()));
    struct stat st {};
    if (::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return QString();
    struct stat above {};
    ::stat("/", &above);
    for (qsizetype end = path.indexOf('/', 1);; end = path.indexOf('/', end + 1)) {
        const QByteArray part = end < 0 ? path : path.left(end);
        const bool stranger = above.st_uid != ::geteuid();
        if (::lstat(part.constData(), &st) != 0) {
            if (errno != ENOENT || (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST))
                return cannot_make(folder, system_error_text(errno));
            if (stranger) {
                const int fd = ::open(part.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                [[maybe_unused]] const int refused = fd >= 0 ? ::fchown(fd, above.st_uid, above.st_gid) : -1;
                if (fd >= 0)
                    ::close(fd);
            }
        } else if (S_ISLNK(st.st_mode) && stranger) {
            return cannot_make(folder, QStringLiteral("このフォルダーの所有者とは別のユーザーとして実行しているため、リンク「")
                                           + QFile::decodeName(part) + QStringLiteral("」を通してフォルダーを作ることはしません"));
        }
        if (::stat(part.constData(), &st) != 0)
            return cannot_make(folder, system_error_text(errno));
        if (!S_ISDIR(st.st_mode))
            return cannot_make(folder, system_error_text(ENOTDIR));
        above = st;
        if (end < 0)
            return QString();
    }
}

// A copy that appears under its name in one step and never over a file that is there (one
// put there meanwhile by another start of the program stays). Empty, or why it failed.
QString copy_if_absent(const QString& from, const QString& folder, const QString& name)
{
    const QString to = QDir(folder).filePath(name);
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return QString();
    const FileKind kind = name == QLatin1String(SETTINGS_FILE_NAME) ? FileKind::Settings : FileKind::PlaceList;
    const FileBytes source = read_whole_file(from, kind);
    if (source.problem)
        return problem_message(*source.problem);
    FileStamp absent;
    const std::optional<FileProblem> problem = write_whole_file(folder, name, kind, source.bytes, absent);
    return problem && problem->kind != FileProblem::Kind::ChangedElsewhere ? problem_message(*problem) : QString();
}

// The folder Qt gives when HOME is unset lies at the root of the file system.
bool lacks_home(const QString& user_folder)
{
    return qEnvironmentVariableIsEmpty("HOME") && QDir::cleanPath(user_folder).startsWith(QStringLiteral("/.local/"));
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

QString seed_user_folder(const QString& user_folder, const QString& defaults_folder)
{
    if (const QString problem = make_folder(user_folder); !problem.isEmpty())
        return problem;
    if (defaults_folder.isEmpty())
        return QStringLiteral("インストールされた初期設定のファイルが見つかりません。");
    // Only the two files a user starts from (the other installed data is read in place), the
    // settings file last, so that a folder that holds one is complete.
    for (const QString& name : {installed_settings().list_file, QString::fromLatin1(SETTINGS_FILE_NAME)})
        if (const QString problem = copy_if_absent(QDir(defaults_folder).filePath(name), user_folder, name);
            !problem.isEmpty())
            return problem;
    return QString();
}

QString files_folder_for_run(const QString& program_dir)
{
    // Without a HOME, Qt's folder begins with "//".
    const QString user_folder = QDir::cleanPath(user_files_folder());
    const QString folder = choose_files_folder(program_dir, user_folder);
    last_setup = FolderSetup{folder, QString()};
    if (folder != user_folder)
        return folder;
    last_setup.problem = lacks_home(user_folder)
        ? QStringLiteral("環境変数 HOME が設定されていないため、データフォルダーを作りませんでした。")
        : seed_user_folder(user_folder, installed_defaults_folder(program_dir));
    return folder;
}

QString files_folder_problem(const QString& folder)
{
    return folder == last_setup.folder ? last_setup.problem : QString();
}

} // namespace orvine
