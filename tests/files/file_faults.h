#pragma once
// Real faults for the file tests, without mounting anything.
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace orvine::test {

// While it lives, this process cannot make a file larger than `bytes`: a write past it
// fails with EFBIG, as on a full disk (SIGXFSZ, which would end the process, is ignored).
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

// A named pipe with no writer: reading it would block for ever.
inline bool make_fifo(const QString& path)
{
    return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// A file of `size` bytes that takes no disk space (a hole), e.g. far beyond 2 GiB.
inline bool make_sparse_file(const QString& path, off_t size)
{
    const int fd = open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const bool ok = fd >= 0 && ftruncate(fd, size) == 0;
    if (fd >= 0)
        close(fd);
    return ok;
}

} // namespace orvine::test
