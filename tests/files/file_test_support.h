#pragma once
#include "support/test_files.h"
#include "files/file_problem.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace orvine::test {

using Kind = FileProblem::Kind;
using std::tuple;

inline const QByteArray SJIS_TOKYO("\x93\x8c\x8b\x9e", 4); // 東京
inline const QByteArray SJIS_OSAKA("\x91\xe5\x8d\xe3", 4); // 大阪
inline const QString TOKYO = QString::fromUtf8("東京");
inline const QString OSAKA = QString::fromUtf8("大阪");

// Record and field -1 for none.
inline std::tuple<FileProblem::Kind, int, int> where(const std::optional<FileProblem>& p)
{
    return p ? std::tuple(p->kind, p->record, p->field) : std::tuple(FileProblem::Kind::Missing, -1, -1);
}

inline void write_bytes(const QString& path, const QByteArray& bytes)
{
    ASSERT_TRUE(write_file(path, bytes)) << path.toStdString();
}

// "folder", "fifo" (no writer), "device" (a link to /dev/zero), "dangling link" or "3 GiB" (a hole: no disk space).
inline void make_special(const QString& path, const std::string& kind)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = kind == "3 GiB" ? open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600) : -1;
    const bool ok = kind == "folder" ? QDir().mkdir(path)
        : kind == "fifo"             ? mkfifo(name.constData(), 0600) == 0
        : kind == "device"           ? QFile::link("/dev/zero", path)
        : kind == "dangling link"    ? QFile::link("gone", path)
                                     : fd >= 0 && ftruncate(fd, 3LL << 30) == 0 && close(fd) == 0;
    ASSERT_TRUE(ok) << kind;
}

} // namespace orvine::test

inline void PrintTo(const QByteArray& bytes, std::ostream* os) { *os << '"' << bytes.toHex(' ').toStdString() << '"'; }
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
