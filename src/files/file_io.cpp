#include "files/file_io.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <utility>

namespace orvine {

namespace {

FileProblem whole_file_problem(FileProblem::Kind kind, const QString& path, FileKind file,
                               const QString& detail)
{
    FileProblem p;
    p.kind = kind;
    p.file = file;
    p.path = path;
    p.detail = detail;
    return p;
}

QString file_type_name(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("フォルダー");
    if (S_ISFIFO(mode))
        return QStringLiteral("名前付きパイプ（FIFO）");
    if (S_ISSOCK(mode))
        return QStringLiteral("ソケット");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("デバイス");
    return QStringLiteral("特殊なファイル");
}

// A refusal of what stat() found, or nothing when it is a regular file of sane size.
std::optional<FileProblem> refuse_kind(const struct stat& st, const QString& path, FileKind file)
{
    if (!S_ISREG(st.st_mode))
        return whole_file_problem(FileProblem::Kind::NotRegularFile, path, file, file_type_name(st.st_mode));
    if (st.st_size > MAX_FILE_BYTES) {
        FileProblem p = whole_file_problem(FileProblem::Kind::TooLarge, path, file, QString());
        p.value = st.st_size;
        return p;
    }
    return std::nullopt;
}

// Reads at most MAX_FILE_BYTES + 1 bytes, so that a file that grows meanwhile is still caught.
// `expected` (the size stat() gave) sizes the buffer once.
std::optional<FileProblem> read_fd(int fd, long long expected, const QString& path, FileKind file, QByteArray& out)
{
    constexpr long long CHUNK = 64 * 1024;
    out.reserve(static_cast<qsizetype>(std::min(expected, MAX_FILE_BYTES) + 1));
    for (;;) {
        const long long room = MAX_FILE_BYTES + 1 - out.size();
        if (room <= 0) {
            FileProblem p = whole_file_problem(FileProblem::Kind::TooLarge, path, file, QString());
            p.value = out.size();
            return p;
        }
        const qsizetype old = out.size();
        out.resize(old + static_cast<qsizetype>(std::min(room, std::max(CHUNK, expected + 1 - old))));
        const ssize_t n = ::read(fd, out.data() + old, static_cast<size_t>(out.size() - old));
        if (n < 0 && errno == EINTR) {
            out.resize(old);
            continue;
        }
        if (n < 0) {
            const int error = errno;
            out.resize(old);
            return whole_file_problem(FileProblem::Kind::Unreadable, path, file, system_error_text(error));
        }
        out.resize(old + n);
        if (n == 0)
            return std::nullopt;
    }
}

// An open regular file read whole, or what keeps it from being read.
FileBytes read_open_file(int fd, const QString& path, FileKind file)
{
    FileBytes result;
    result.exists = result.stamp.exists = true;
    struct stat st {};
    QByteArray bytes;
    if (::fstat(fd, &st) != 0)
        result.problem = whole_file_problem(FileProblem::Kind::Unreadable, path, file, system_error_text(errno));
    else if (!(result.problem = refuse_kind(st, path, file)))
        result.problem = read_fd(fd, st.st_size, path, file, bytes);
    if (!result.problem) {
        result.stamp = stamp_of(bytes);
        result.bytes = std::move(bytes);
    }
    return result;
}

QString with_cause(const QString& stage, int error)
{
    return stage + QStringLiteral("：") + system_error_text(error);
}

QString shown(const QByteArray& native_path)
{
    return QDir::toNativeSeparators(QFile::decodeName(native_path));
}

// Closes on every way out.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    // Closes now, with the close's own error (a network file system may report a failed
    // write only there); 0 when it went well.
    int close()
    {
        if (fd_ < 0)
            return 0;
        const int error = ::close(std::exchange(fd_, -1)) == 0 ? 0 : errno;
        return error == EINTR ? 0 : error;
    }

private:
    int fd_;
};

QByteArray folder_of(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray last_part(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

// The file a rewrite replaces: `path` with a link in its last part followed to the end, as
// an editor saving through a link does (relative links count from the link's folder).
// 0, or the errno of the failure.
int follow_links(QByteArray path, QByteArray& target, bool& through_link)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        const bool found = ::lstat(path.constData(), &st) == 0;
        if (!found && errno != ENOENT)
            return errno;
        if (!found || !S_ISLNK(st.st_mode)) {
            target = path;
            return 0;
        }
        char link[PATH_MAX];
        const ssize_t n = ::readlink(path.constData(), link, sizeof link);
        if (n < 0)
            return errno;
        if (static_cast<size_t>(n) == sizeof link)
            return ENAMETOOLONG;
        through_link = true;
        const QByteArray to(link, static_cast<qsizetype>(n));
        path = to.startsWith('/') ? to : folder_of(path) + '/' + to;
    }
    return ELOOP;
}

QByteArray real_path(const QByteArray& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.constData(), resolved) ? QByteArray(resolved) : QByteArray();
}

bool within(const QByteArray& inner, const QByteArray& outer)
{
    return inner == outer || inner.startsWith(outer.endsWith('/') ? outer : outer + '/');
}

// Run by another user than the folder's owner (root with a user's HOME), the rewrite stays
// inside the folder: the folder it goes to (opened as `dir_fd`) must lie within it, and a new
// file must be reached without any link. Empty when the rewrite may go ahead.
QString stranger_refusal(const QString& folder, const QString& name, const QByteArray& dir, int dir_fd,
                         bool through_link, bool creating)
{
    const QString as_stranger = QStringLiteral("このフォルダーの所有者とは別のユーザーとして実行しているため、");
    const QByteArray real_folder = real_path(QFile::encodeName(folder));
    const QByteArray real_dir = real_path(dir);
    struct stat named {}, opened {};
    if (real_folder.isEmpty() || real_dir.isEmpty() || ::stat(real_dir.constData(), &named) != 0
        || ::fstat(dir_fd, &opened) != 0 || named.st_dev != opened.st_dev || named.st_ino != opened.st_ino)
        return as_stranger + QStringLiteral("書き込み先を確かめられないファイルには書き込みません");
    if (!within(real_dir, real_folder))
        return as_stranger + QStringLiteral("フォルダーの外（「") + shown(real_dir)
            + QStringLiteral("」）を指すリンクを通しては書き込みません");
    const QString name_folder = QFileInfo(name).path();
    const QByteArray plain = QFile::encodeName(
        QDir::cleanPath(QFile::decodeName(real_folder) + QLatin1Char('/') + name_folder));
    if (creating && (through_link || real_dir != plain))
        return as_stranger + QStringLiteral("リンクを通してファイルを作ることはしません");
    return QString();
}

// Waits up to LOCK_WAIT_MS for the folder's lock; 0, or the errno of the failure.
int lock_folder(int dir_fd)
{
    constexpr int STEP_MS = 20;
    for (int waited = 0;; waited += STEP_MS) {
        if (::flock(dir_fd, LOCK_EX | LOCK_NB) == 0)
            return 0;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return errno;
        if (waited >= LOCK_WAIT_MS)
            return EWOULDBLOCK;
        const timespec step{0, STEP_MS * 1000 * 1000};
        ::nanosleep(&step, nullptr);
    }
}

QByteArray temporary_name(const QByteArray& base)
{
    return '.' + base + ".orvine-" + QByteArray::number(QRandomGenerator::global()->generate(), 16);
}

// A new file in the folder that no one else can open: unnamed where the file system allows
// it and /proc can give it a name later (a crash then leaves nothing behind), else under a
// fresh name (`named` set).
int create_temporary(int dir_fd, const QByteArray& base, mode_t mode, QByteArray& named)
{
    if (::access("/proc/self/fd", F_OK) == 0) {
        const int fd = ::openat(dir_fd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
            return fd;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        named = temporary_name(base);
        const int created = ::openat(dir_fd, named.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                     mode);
        if (created >= 0 || errno != EEXIST)
            return created;
    }
    return -1;
}

int write_all(int fd, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        done += n;
    }
    return 0;
}

} // namespace

QString system_error_text(int error)
{
    switch (error) {
    case 0:
        return QStringLiteral("原因は不明です");
    case ENOSPC:
        return QStringLiteral("ディスクの空き容量が足りません");
    case EDQUOT:
        return QStringLiteral("ディスク使用量の上限を超えます");
    case EFBIG:
        return QStringLiteral("ファイルの大きさの上限を超えます");
    case EACCES:
    case EPERM:
        return QStringLiteral("アクセスが許可されていません");
    case EROFS:
        return QStringLiteral("読み取り専用のファイルシステムです");
    case ENOENT:
        return QStringLiteral("ファイルまたはフォルダーがありません");
    case ENOTDIR:
        return QStringLiteral("パスの途中にフォルダーでないものがあります");
    case EISDIR:
        return QStringLiteral("フォルダーです");
    case ENAMETOOLONG:
        return QStringLiteral("ファイル名が長すぎます");
    case ELOOP:
        return QStringLiteral("シンボリックリンクが循環しています");
    case EIO:
        return QStringLiteral("ディスクの入出力でエラーが起きました");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("開いているファイルが多すぎます");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("ほかで使用中です");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("デバイスがありません");
    case ENOLCK:
        return QStringLiteral("ロックを取れません");
    default:
        return QStringLiteral("システムエラー %1").arg(error);
    }
}

FileStamp stamp_of(const QByteArray& bytes)
{
    return FileStamp{true, QCryptographicHash::hash(bytes, QCryptographicHash::Blake2b_256)};
}

FileBytes read_whole_file(const QString& path, FileKind file)
{
    FileBytes result;
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        const int error = errno;
        struct stat link {};
        // A dangling link counts as present: it is not an empty list that may be created anew.
        if (error == ENOENT && ::lstat(native.constData(), &link) != 0)
            return result;
        result.exists = result.stamp.exists = true;
        result.problem = whole_file_problem(FileProblem::Kind::Unreadable, path, file,
                                            error == ENOENT ? QStringLiteral("リンク先のファイルがありません")
                                                            : system_error_text(error));
        return result;
    }
    result.exists = result.stamp.exists = true;
    if ((result.problem = refuse_kind(st, path, file)))
        return result;
    // Non-blocking, in case a named pipe took the file's place after stat().
    const Fd fd(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.ok()) {
        result.problem = whole_file_problem(FileProblem::Kind::Unreadable, path, file, system_error_text(errno));
        return result;
    }
    return read_open_file(fd.get(), path, file);
}

std::optional<FileProblem> write_whole_file(const QString& folder, const QString& name, FileKind file,
                                            const QByteArray& bytes, FileStamp& last_read)
{
    const QString path = folder + QLatin1Char('/') + name;
    const FileProblem::Kind failed = last_read.exists ? FileProblem::Kind::WriteFailed
                                                      : FileProblem::Kind::CreateFailed;
    auto fail = [&](const QString& detail) { return whole_file_problem(failed, path, file, detail); };
    auto cannot_open = [&](const QByteArray& dir, int error) {
        if (error == ENOENT)
            return whole_file_problem(FileProblem::Kind::FolderMissing, path, file, shown(dir));
        return fail(with_cause(QStringLiteral("フォルダー「") + shown(dir) + QStringLiteral("」を開けません"), error));
    };

    const QByteArray native_folder = QFile::encodeName(folder);
    struct stat data_folder {};
    if (::stat(native_folder.constData(), &data_folder) != 0)
        return cannot_open(native_folder, errno);
    if (!S_ISDIR(data_folder.st_mode))
        return cannot_open(native_folder, ENOTDIR);
    QByteArray target;
    bool through_link = false;
    if (const int error = follow_links(QFile::encodeName(path), target, through_link))
        return fail(with_cause(QStringLiteral("ファイルを調べられません"), error));
    const QByteArray dir = folder_of(target), base = last_part(target);
    const Fd dir_fd(::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir_fd.ok())
        return cannot_open(dir, errno);
    struct stat st {};
    const bool exists = ::fstatat(dir_fd.get(), base.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && !S_ISREG(st.st_mode))
        return fail((through_link ? QStringLiteral("リンク先「") + shown(target) + QStringLiteral("」は") : QString())
                    + QStringLiteral("通常のファイルではなく、") + file_type_name(st.st_mode) + QStringLiteral("です"));
    const bool stranger = ::geteuid() != data_folder.st_uid;
    if (stranger) {
        const QString refusal = stranger_refusal(folder, name, dir, dir_fd.get(), through_link, !exists);
        if (!refusal.isEmpty())
            return fail(refusal);
    }

    if (const int error = lock_folder(dir_fd.get()))
        return fail(error == EWOULDBLOCK
                        ? QStringLiteral("別の Orvine が書き込み中です。しばらくしてからもう一度操作してください")
                        : with_cause(QStringLiteral("フォルダーをロックできません"), error));
    // What the file holds now; anything but a readable regular file (a link or a pipe that
    // took its place meanwhile) is a change like any other.
    FileBytes now;
    const bool replacing = ::fstatat(dir_fd.get(), base.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (replacing) {
        now.exists = now.stamp.exists = true;
        const Fd current(S_ISREG(st.st_mode) ? ::openat(dir_fd.get(), base.constData(),
                                                        O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)
                                             : -1);
        if (current.ok())
            now = read_open_file(current.get(), path, file);
        else if (S_ISREG(st.st_mode))
            now.problem = whole_file_problem(FileProblem::Kind::Unreadable, path, file, system_error_text(errno));
    }
    if (now.stamp != last_read) {
        if (now.problem && now.problem->kind == FileProblem::Kind::Unreadable)
            return fail(QStringLiteral("ファイルを読み込めません：") + now.problem->detail);
        return whole_file_problem(FileProblem::Kind::ChangedElsewhere, path, file, QString());
    }

    QByteArray temp_name;
    Fd temp(create_temporary(dir_fd.get(), base, replacing ? 0600 : 0666, temp_name));
    if (!temp.ok())
        return fail(with_cause(QStringLiteral("一時ファイルを作れません"), errno));
    auto give_up = [&](const QString& stage, int error) {
        temp.close();
        if (!temp_name.isEmpty())
            ::unlinkat(dir_fd.get(), temp_name.constData(), 0);
        return fail(with_cause(stage, error));
    };
    if (const int error = write_all(temp.get(), bytes))
        return give_up(QStringLiteral("書き込みに失敗しました"), error);
    // The replacement keeps the old file's owner and mode (root saving a user's file must
    // not take it from the user); a file that another user creates in the folder goes to
    // the folder's owner where the system allows it.
    if (replacing) {
        if ((st.st_uid != ::geteuid() || st.st_gid != ::getegid()) && ::fchown(temp.get(), st.st_uid, st.st_gid) != 0
            && st.st_uid != ::geteuid())
            return give_up(QStringLiteral("元の所有者のままにできません"), errno);
        if (::fchmod(temp.get(), st.st_mode & 07777) != 0)
            return give_up(QStringLiteral("元のアクセス権のままにできません"), errno);
    } else if (stranger && ::fstat(dir_fd.get(), &st) == 0) {
        // A user who may not give files away keeps the new file, as any file they make.
        [[maybe_unused]] const int refused = ::fchown(temp.get(), st.st_uid, st.st_gid);
    }
    if (::fsync(temp.get()) != 0)
        return give_up(QStringLiteral("ディスクへの書き出しに失敗しました"), errno);
    if (temp_name.isEmpty()) {
        temp_name = temporary_name(base);
        const QByteArray unnamed = "/proc/self/fd/" + QByteArray::number(temp.get());
        if (::linkat(AT_FDCWD, unnamed.constData(), dir_fd.get(), temp_name.constData(), AT_SYMLINK_FOLLOW) != 0) {
            const int error = errno;
            temp_name.clear();
            return give_up(QStringLiteral("一時ファイルを作れません"), error);
        }
    }
    if (const int error = temp.close())
        return give_up(QStringLiteral("書き込みに失敗しました"), error);
    if (::renameat(dir_fd.get(), temp_name.constData(), dir_fd.get(), base.constData()) != 0)
        return give_up(QStringLiteral("ファイルを置き換えられません"), errno);
    // Without this a power cut can bring back the old file after a save reported as done. The
    // file is in place by now, so a folder that cannot be flushed (some file systems refuse)
    // does not make the save fail. (Windows has no folder flush: there MoveFileEx with
    // MOVEFILE_WRITE_THROUGH after FlushFileBuffers on the new file does the same.)
    ::fsync(dir_fd.get());
    last_read = stamp_of(bytes);
    return std::nullopt;
}

void ignore_file_size_signal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace orvine
