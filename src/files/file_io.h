#pragma once
// Whole-file reads and atomic rewrites for the settings and place-list files.
#include "files/file_problem.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace orvine {

struct FileBytes {
    bool exists = false;
    QByteArray bytes;                   // the whole file when it exists and could be read
    std::optional<FileProblem> problem; // Unreadable (record and field 0)
};

// A missing file is not a problem here: exists is false and the caller decides.
FileBytes read_whole_file(const QString& path, FileKind file);

// Replaces the file's content in one step (QSaveFile): either the new bytes are all there
// or the old file is untouched. WriteFailed carries the system's description in detail.
std::optional<FileProblem> write_whole_file(const QString& path, FileKind file, const QByteArray& bytes);

} // namespace orvine
