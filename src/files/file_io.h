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

// How long a rewrite waits for another instance that is rewriting a file of the same folder.
inline constexpr int LOCK_WAIT_MS = 2000;

struct FileBytes {
    bool exists = false;
    QByteArray bytes;                   // the whole file when it exists and could be read
    FileStamp stamp;                    // what a later rewrite must find there
    std::optional<FileProblem> problem; // Unreadable, NotRegularFile or TooLarge (record
                                        // and field 0); the bytes are then never read
};

FileStamp stamp_of(const QByteArray& bytes);

// The cause of a failed system call (an errno value) in Japanese, e.g. for EFBIG
// "ファイルの大きさの上限を超えます"; 0 gives "原因は不明です".
QString system_error_text(int error);

// A missing file is not a problem here: exists is false and the caller decides. Only a
// regular file of at most MAX_FILE_BYTES is read; anything else is refused without being
// opened for reading, so a named pipe or a device never blocks or floods the program.
FileBytes read_whole_file(const QString& path, FileKind file);

// Replaces the file `name` (relative, may hold folders) of the files' folder `folder` with
// `bytes`, or leaves it byte for byte as it was, and writes nothing else anywhere.
//  - A symbolic link keeps pointing at its target, which is replaced; anything but a regular
//    file there is refused (WriteFailed / CreateFailed naming what is there).
//  - Run by a user other than the owner of `folder` (root with a user's HOME): no link is
//    followed out of `folder`, and nothing is created through a link (refused with the reason).
//  - Under flock() on the folder that holds the file (which other instances take too, and
//    which the system drops with its holder, so no lock is left behind), the file must still
//    match `last_read` (else ChangedElsewhere; an unreadable file gives its cause instead).
//  - The bytes go to a temporary file in that folder, which takes the old file's owner and
//    permission bits (a new file: the default mode, and the folder's owner when run by
//    another user), is flushed to disk, renamed over the file, and the folder is flushed.
// On success `last_read` becomes the stamp of `bytes`. FolderMissing when the folder is gone;
// WriteFailed / CreateFailed carry the stage and its cause in Japanese.
// (Windows cannot lock a folder: a Windows build would take LockFileEx on a lock file of the
// folder that is never deleted, under a name the list-name check refuses, which Windows also
// releases with its holder; and rename with MoveFileExW(MOVEFILE_REPLACE_EXISTING |
// MOVEFILE_WRITE_THROUGH), which returns only once the rename is on disk.)
std::optional<FileProblem> write_whole_file(const QString& folder, const QString& name, FileKind file,
                                            const QByteArray& bytes, FileStamp& last_read);

// A write beyond the file-size limit (ulimit -f) then fails with EFBIG, reported like a full
// disk, instead of ending the program with SIGXFSZ. The program calls it first thing.
void ignore_file_size_signal();

} // namespace orvine
