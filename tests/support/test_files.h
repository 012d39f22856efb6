#pragma once
// Files for the tests: whole files read as bytes, and real faults without mounting anything.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvine::test {

// The whole file, or "<unreadable>" when it cannot be opened.
inline QByteArray read_bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// While it lives, no file can grow beyond `bytes`: a write past it fails with EFBIG, as on a
// full disk (SIGXFSZ, which would end the process, is ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit lowered{bytes, old_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    void (*handler_)(int);
    rlimit old_{};
};

// A named pipe with no writer: reading it would block for ever.
inline bool make_fifo(const QString& path) { return mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }

// A file of `size` bytes that takes no disk space (a hole), e.g. far beyond 2 GiB.
inline bool make_sparse_file(const QString& path, off_t size)
{
    const int fd = open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const bool ok = fd >= 0 && ftruncate(fd, size) == 0;
    return fd >= 0 && close(fd) == 0 && ok;
}

} // namespace orvine::test
