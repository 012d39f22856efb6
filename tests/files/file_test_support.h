#pragma once
// Raw bytes in and out of a temporary program directory, and real faults without mounting
// anything: a lowered file-size limit, a named pipe, a sparse file.
#include "files/file_problem.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <tuple>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvine::test {

// Shift-JIS bytes from the code page 932 table.
inline const QByteArray SJIS_TOKYO("\x93\x8c\x8b\x9e", 4); // 東京
inline const QByteArray SJIS_OSAKA("\x91\xe5\x8d\xe3", 4); // 大阪
inline const QString TOKYO = QString::fromUtf8("東京");
inline const QString OSAKA = QString::fromUtf8("大阪");

// A problem's kind, record and field, to compare in one step; record and field -1 for none.
inline std::tuple<FileProblem::Kind, int, int> where(const std::optional<FileProblem>& p)
{
    return p ? std::tuple(p->kind, p->record, p->field) : std::tuple(FileProblem::Kind::Missing, -1, -1);
}

inline void write_bytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

inline QByteArray read_bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Puts a special file at `path`: "folder", "fifo" (no writer: reading would block for ever),
// "device" (a link to /dev/zero) or "3 GiB" (sparse, far beyond the size limit).
inline void make_special(const QString& path, const std::string& kind)
{
    const QByteArray native = QFile::encodeName(path);
    bool ok = false;
    if (kind == "folder")
        ok = QDir().mkdir(path);
    else if (kind == "fifo")
        ok = mkfifo(native.constData(), 0600) == 0;
    else if (kind == "device")
        ok = QFile::link("/dev/zero", path);
    else if (const int fd = open(native.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600); fd >= 0)
        ok = ftruncate(fd, 3LL << 30) == 0 && close(fd) == 0;
    ASSERT_TRUE(ok) << kind;
}

// While it lives, no file can grow beyond `bytes`: a write past it fails with EFBIG, as on a
// full disk (SIGXFSZ, which would end the process, is ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit lowered = old_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*old_handler_)(int) = nullptr;
};

} // namespace orvine::test

inline void PrintTo(const QByteArray& bytes, std::ostream* os) { *os << '"' << bytes.toHex(' ').toStdString() << '"'; }
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
