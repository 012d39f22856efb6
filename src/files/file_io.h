#pragma once
// Whole-file reads and guarded rewrites for the settings and place-list files.
#include "files/file_problem.h"
#include "shared_state/file_stamp.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace orvine {

// Neither file is ever read when it is larger: far above any real one (101 records whose
// names fill the text box with double-byte characters come to 6.6 MB), far below what
// would make the program stall or run out of memory.
inline constexpr long long MAX_FILE_BYTES = 8LL * 1024 * 1024;

// How long a rewrite waits for another instance that is rewriting the same file.
inline constexpr int LOCK_WAIT_MS = 2000;

struct FileBytes {
    bool exists = false;
    QByteArray bytes;                   // the whole file when it exists and could be read
    FileStamp stamp;                    // what a later rewrite must find there
    std::optional<FileProblem> problem; // Unreadable, NotRegularFile or TooLarge (record
                                        // and field 0); the bytes are then never read
};

FileStamp stamp_of(const QByteArray& bytes);

// A missing file is not a problem here: exists is false and the caller decides. Only a
// regular file of at most MAX_FILE_BYTES is read; anything else is refused without being
// opened for reading, so a named pipe or a device never blocks or floods the program.
FileBytes read_whole_file(const QString& path, FileKind file);

// Replaces the file's content, or leaves it byte for byte as it was. Under a lock beside
// the file ("<file>.lock", which other instances take too) it first checks that the file
// still matches `last_read` (else ChangedElsewhere); then writes a temporary file, checks
// every stage (write, flush, sync to disk, rename over the old file) and keeps the old
// file's permission bits. A symbolic link keeps pointing at its target, which is replaced.
// On success `last_read` becomes the stamp of `bytes`. WriteFailed / CreateFailed carry
// the stage and its cause in Japanese.
std::optional<FileProblem> write_whole_file(const QString& path, FileKind file, const QByteArray& bytes,
                                            FileStamp& last_read);

} // namespace orvine
