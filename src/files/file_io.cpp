#include "files/file_io.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The user reads Japanese; the system's own texts are English.
QString system_reason(int error)
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
    default:
        return QStringLiteral("システムエラー %1").arg(error);
    }
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
std::optional<FileProblem> read_fd(int fd, const QString& path, FileKind file, QByteArray& out)
{
    constexpr long long CHUNK = 64 * 1024;
    for (;;) {
        const long long room = MAX_FILE_BYTES + 1 - out.size();
        if (room <= 0) {
            FileProblem p = whole_file_problem(FileProblem::Kind::TooLarge, path, file, QString());
            p.value = out.size();
            return p;
        }
        const qsizetype old = out.size();
        out.resize(old + static_cast<qsizetype>(std::min(room, CHUNK)));
        const ssize_t n = ::read(fd, out.data() + old, static_cast<size_t>(out.size() - old));
        if (n < 0 && errno == EINTR) {
            out.resize(old);
            continue;
        }
        if (n < 0) {
            const int error = errno;
            out.resize(old);
            return whole_file_problem(FileProblem::Kind::Unreadable, path, file, system_reason(error));
        }
        out.resize(old + n);
        if (n == 0)
            return std::nullopt;
    }
}

QString with_cause(const QString& stage, int error)
{
    return stage + QStringLiteral("：") + system_reason(error);
}

QString lock_failure(const QLockFile& lock, const QString& lock_path, int error)
{
    if (lock.error() == QLockFile::LockFailedError)
        return QStringLiteral("別の Orvine が書き込み中です。しばらくしてからもう一度操作してください");
    return with_cause(QStringLiteral("ロックファイル「") + lock_path + QStringLiteral("」を作れません"),
                      lock.error() == QLockFile::PermissionError && error == 0 ? EACCES : error);
}

} // namespace

FileStamp stamp_of(const QByteArray& bytes)
{
    return FileStamp{true, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
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
                                                            : system_reason(error));
        return result;
    }
    result.exists = result.stamp.exists = true;
    if ((result.problem = refuse_kind(st, path, file)))
        return result;
    // Non-blocking, in case a named pipe took the file's place after stat().
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.problem = whole_file_problem(FileProblem::Kind::Unreadable, path, file, system_reason(errno));
        return result;
    }
    QByteArray bytes;
    if (::fstat(fd, &st) != 0)
        result.problem = whole_file_problem(FileProblem::Kind::Unreadable, path, file, system_reason(errno));
    else if (!(result.problem = refuse_kind(st, path, file)))
        result.problem = read_fd(fd, path, file, bytes);
    ::close(fd);
    if (!result.problem) {
        result.stamp = stamp_of(bytes);
        result.bytes = std::move(bytes);
    }
    return result;
}

std::optional<FileProblem> write_whole_file(const QString& path, FileKind file, const QByteArray& bytes,
                                            FileStamp& last_read)
{
    const FileProblem::Kind failed = last_read.exists ? FileProblem::Kind::WriteFailed
                                                      : FileProblem::Kind::CreateFailed;
    auto fail = [&](const QString& detail) { return whole_file_problem(failed, path, file, detail); };

    // Instances that reach the file through different links share the lock of its target.
    const QFileInfo info(path);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    const QString lock_path = target + QStringLiteral(".lock");
    QLockFile lock(lock_path);
    errno = 0;
    if (!lock.tryLock(LOCK_WAIT_MS))
        return fail(lock_failure(lock, lock_path, errno));

    const FileBytes now = read_whole_file(path, file);
    if (now.stamp != last_read)
        return whole_file_problem(FileProblem::Kind::ChangedElsewhere, path, file, QString());

    QSaveFile f(path);
    // Unbuffered, so that write() itself reports a full disk: a buffered write would only
    // fail inside commit(), which then still renames the short file over the old one.
    errno = 0;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(with_cause(QStringLiteral("一時ファイルを作れません"), errno));
    errno = 0;
    if (f.write(bytes) != bytes.size() || !f.flush()) {
        const int error = errno;
        f.cancelWriting();
        return fail(with_cause(QStringLiteral("書き込みに失敗しました"), error));
    }
    if (::fsync(f.handle()) != 0) {
        const int error = errno;
        f.cancelWriting();
        return fail(with_cause(QStringLiteral("ディスクへの書き出しに失敗しました"), error));
    }
    errno = 0;
    if (!f.commit())
        return fail(with_cause(QStringLiteral("ファイルを置き換えられません"), errno));
    last_read = stamp_of(bytes);
    return std::nullopt;
}

} // namespace orvine
