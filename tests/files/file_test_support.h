#pragma once
// Small helpers for the file tests: raw bytes in and out of a temporary program directory.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orvine::test {

// Shift-JIS bytes of the names used in the tests, from the code page 932 table.
inline const QByteArray SJIS_TOKYO("\x93\x8c\x8b\x9e", 4);   // 東京
inline const QByteArray SJIS_OSAKA("\x91\xe5\x8d\xe3", 4);   // 大阪
inline const QString TOKYO = QString::fromUtf8("東京");
inline const QString OSAKA = QString::fromUtf8("大阪");

inline void write_bytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

inline QByteArray read_bytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

class ProgramDir {
public:
    ProgramDir() { EXPECT_TRUE(dir_.isValid()); }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace orvine::test

inline void PrintTo(const QByteArray& bytes, std::ostream* os) { *os << '"' << bytes.toHex(' ').toStdString() << '"'; }
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
