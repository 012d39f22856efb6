#include "files/file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

} // namespace

FileBytes read_whole_file(const QString& path, FileKind file)
{
    FileBytes result;
    const QFileInfo info(path);
    // A dangling link counts as present: it is not an empty list that may be created anew.
    result.exists = info.exists() || info.isSymLink();
    if (!result.exists)
        return result;
    if (info.isDir()) {
        result.problem = whole_file_problem(FileProblem::Kind::Unreadable, path, file,
                                            QStringLiteral("フォルダーです"));
        return result;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        result.problem = whole_file_problem(FileProblem::Kind::Unreadable, path, file, f.errorString());
        return result;
    }
    result.bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        result.problem = whole_file_problem(FileProblem::Kind::Unreadable, path, file, f.errorString());
    return result;
}

std::optional<FileProblem> write_whole_file(const QString& path, FileKind file, const QByteArray& bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return whole_file_problem(FileProblem::Kind::WriteFailed, path, file, f.errorString());
    if (f.write(bytes) != bytes.size()) {
        const QString error = f.errorString();
        f.cancelWriting();
        return whole_file_problem(FileProblem::Kind::WriteFailed, path, file, error);
    }
    if (!f.commit())
        return whole_file_problem(FileProblem::Kind::WriteFailed, path, file, f.errorString());
    return std::nullopt;
}

} // namespace orvine
