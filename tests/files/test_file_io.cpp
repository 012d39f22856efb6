#include "files/file_io.h"

#include "file_test_support.h"

#include <QDirIterator>
#include <QRegularExpression>

#include <gmock/gmock.h>

#include <sys/file.h>
#include <sys/time.h>

using namespace orvine;
using namespace orvine::test;
using ::testing::HasSubstr;

namespace {

const QByteArray HELPER = WRITE_FILE_ONCE;
constexpr uid_t OTHER_USER = 65534; // nobody

QString rewrite(const QString& folder, const QString& name, const QByteArray& bytes)
{
    FileStamp stamp = read_whole_file(folder + '/' + name, FileKind::PlaceList).stamp;
    const auto problem = write_whole_file(folder, name, FileKind::PlaceList, bytes, stamp);
    return problem ? problem_message(*problem) : QStringLiteral("written");
}

void give(const QString& path, uid_t user, mode_t mode = 0)
{
    EXPECT_EQ(lchown(QFile::encodeName(path).constData(), user, user), 0) << path.toStdString();
    EXPECT_TRUE(!mode || chmod(QFile::encodeName(path).constData(), mode) == 0);
}

// `path` made a folder (`bytes` null) or a file holding `bytes`, and given to `user`.
QString made(const QString& path, const char* bytes = nullptr, uid_t user = 0, mode_t mode = 0)
{
    EXPECT_TRUE(bytes ? write_file(path, bytes) : QDir().mkdir(path)) << path.toStdString();
    give(path, user, mode);
    return path;
}

// Every entry under `root`: path, owner, mode, and bytes or a link's target.
QStringList snapshot(const QString& root)
{
    QStringList out;
    for (QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        struct stat st {};
        lstat(QFile::encodeName(path).constData(), &st);
        out << QString("%1 %2 %3 %4")
                   .arg(path.mid(root.size()))
                   .arg(st.st_uid)
                   .arg(st.st_mode, 0, 8)
                   .arg(S_ISLNK(st.st_mode) ? "-> " + QFile::symLinkTarget(path)
                                            : QString::fromLatin1(read_bytes(path)));
    }
    out.sort();
    return out;
}

} // namespace

// Root with a user's HOME (sudo -E) writes only inside the user's folder, keeping owner and mode.
TEST(FileIo, RunAsAnotherUserWritesOnlyInsideTheFolder)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root, to give a folder to another user";
    using Paths = const QString&;
    const struct Row {
        const char* name;
        uid_t owner;
        std::function<void(Paths f, Paths o)> set_up;
        const char* file;
        const char* says;    // in the message
        const char* changed; // null: nothing changes
    } rows[] = {
        {"link to root's file", OTHER_USER,
         [](Paths f, Paths o) { QFile::link(made(o + "/secret", "root's"), f + "/vantorff.ini"); }, "vantorff.ini",
         "フォルダーの外（「", nullptr},
        {"link to a device", OTHER_USER, [](Paths f, Paths) { QFile::link("/dev/null", f + "/places.txt"); },
         "places.txt", "リンク先「/dev/null」は通常のファイルではなく、デバイスです", nullptr},
        {"linked folder outside", OTHER_USER, [](Paths f, Paths o) { QFile::link(made(o + "/d"), f + "/evil"); },
         "evil/places", "フォルダーの外（「", nullptr},
        {"linked folder inside", OTHER_USER,
         [](Paths f, Paths) { QFile::link(made(f + "/sub", nullptr, OTHER_USER), f + "/in"); }, "in/places",
         "リンクを通してファイルを作ることはしません", nullptr},
        {"the user's 0600 list", OTHER_USER, [](Paths f, Paths) { made(f + "/places.txt", "old", OTHER_USER, 0600); },
         "places.txt", "written", "/f/places.txt"},
        {"link within the folder", OTHER_USER,
         [](Paths f, Paths) { QFile::link(made(f + "/real.txt", "old", OTHER_USER, 0640), f + "/list.txt"); },
         "list.txt", "written", "/f/real.txt"},
        {"root's own link elsewhere", 0,
         [](Paths f, Paths o) { QFile::link(made(o + "/mine", "old"), f + "/places.txt"); }, "places.txt", "written",
         "/o/mine"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir root;
        const QString f = root.filePath("f"), o = root.filePath("o");
        ASSERT_TRUE(QDir(root.path()).mkdir("f") && QDir(root.path()).mkdir("o"));
        give(f, row.owner, 0755);
        row.set_up(f, o);
        QStringList expected = snapshot(root.path());
        expected.replaceInStrings(QRegularExpression(QString("^(%1 .*) old$").arg(row.changed ? row.changed : "-")),
                                  "\\1 new");
        EXPECT_THAT(rewrite(f, row.file, "new").toStdString(), HasSubstr(row.says));
        EXPECT_EQ(snapshot(root.path()), expected);
    }
    QTemporaryDir users;
    give(users.path(), OTHER_USER, 0755);
    EXPECT_EQ(rewrite(users.path(), "new.txt", "new"), "written");
    EXPECT_EQ(QFileInfo(users.filePath("new.txt")).ownerId(), OTHER_USER);
}

// Lock files an older version or a crash left (one of them a list) are neither in the way nor touched.
TEST(FileIo, LockingTouchesNoFileAndEndsWithItsHolder)
{
    QTemporaryDir dir;
    const QStringList names = {"places.txt.lock", "vantorff.ini.lock", "vantorff.ini.lock.rmlock"};
    const timeval hour_ago[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    for (const QString& name : names) {
        write_bytes(dir.filePath(name), name == names[1] ? "\"x\",1,2,3,4,5,6\r\n" : name == names[2] ? "4242\n" : "");
        utimes(QFile::encodeName(dir.filePath(name)).constData(), hour_ago);
    }
    const QStringList left = snapshot(dir.path());
    int locked[2];
    ASSERT_EQ(pipe(locked), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        if (flock(open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY), LOCK_EX) == 0
            && write(locked[1], "x", 1) == 1)
            pause();
        _exit(1);
    }
    char byte = 0;
    ASSERT_EQ(read(locked[0], &byte, 1), 1);
    kill(holder, SIGKILL); // in the middle of a rewrite
    waitpid(holder, nullptr, 0);
    for (const char* name : {"places.txt", "vantorff.ini"})
        EXPECT_EQ(rewrite(dir.path(), name, "new"), "written") << name;
    QStringList now = snapshot(dir.path());
    EXPECT_EQ(now.filter(QRegularExpression("^/(places.txt|vantorff.ini) .* new$")).size(), 2);
    EXPECT_EQ(now.filter(".lock"), left);
    EXPECT_EQ(now.size(), left.size() + 2);
}

// After the rename the folder itself is flushed, else a power cut can bring the old file back.
TEST(FileIo, FolderIsFlushedAfterTheRename)
{
#ifndef STRACE
    GTEST_SKIP() << "strace is not installed";
#else
    QTemporaryDir dir, logs;
    write_bytes(dir.filePath("places.txt"), "old");
    const QByteArray log = QFile::encodeName(logs.filePath("trace"));
    // A leak check cannot run under ptrace: a sanitized helper is traced without it.
    const Ended traced = run_to_end({STRACE, "-E", "ASAN_OPTIONS=detect_leaks=0", "-o", log, "-e",
                                     "trace=openat,rename,renameat,renameat2,fsync", HELPER,
                                     QFile::encodeName(dir.path()), "places.txt", "new"});
    ASSERT_EQ(traced.status, 0) << traced.output.toStdString();
    const QString trace = QString::fromLocal8Bit(read_bytes(log));
    const QString fd = QRegularExpression(QString("openat\\(AT_FDCWD, \"%1\", [^)]*O_DIRECTORY\\) = (\\d+)")
                                              .arg(QRegularExpression::escape(dir.path()))).match(trace).captured(1);
    const auto renamed =
        QRegularExpression(QString("renameat2?\\(%1, \"[^\"]+\", %1, \"places.txt\"[^)]*\\) = 0").arg(fd)).match(trace);
    ASSERT_TRUE(!fd.isEmpty() && renamed.hasMatch()) << trace.toStdString();
    EXPECT_GT(trace.indexOf(QRegularExpression(QString("fsync\\(%1\\) += 0").arg(fd)), renamed.capturedEnd()), 0)
        << trace.toStdString();
#endif
}

// Run as the folder's owner (root would read an unreadable file anyway). SIGXFSZ stays at its
// default: the program must ignore it, so the write fails as on a full disk instead of ending it.
TEST(FileIo, RefusalsNameTheRealCause)
{
    const QString kept = "地点一覧ファイル「%1/places.txt」に書き込めませんでした。ファイルは元のままです。\r\n";
    const struct Row {
        const char* name;
        std::function<void(const QString& folder)> set_up;
        const char* file;
        QByteArray bytes;
        rlim_t size_limit;
        QString message;
    } rows[] = {
        {"folder deleted since the list was read", [](const QString&) {}, "sub/places.txt", "new", RLIM_INFINITY,
         "地点一覧ファイル「%1/sub/places.txt」に書き込めません。フォルダー「%1/sub」がありません。"},
        {"folder in the file's place", [](const QString& f) { QDir(f).mkdir("places.txt"); }, "places.txt", "new",
         RLIM_INFINITY, kept + "（通常のファイルではなく、フォルダーです）"},
        {"unreadable after reading",
         [](const QString& f) {
             write_bytes(f + "/places.txt", "old");
             chmod(QFile::encodeName(f + "/places.txt").constData(), 0);
         },
         "places.txt", "new", RLIM_INFINITY, kept + "（ファイルを読み込めません：アクセスが許可されていません）"},
        {"file-size limit", [](const QString& f) { write_bytes(f + "/places.txt", "old"); }, "places.txt",
         QByteArray(5000, 'x'), 1200, kept + "（書き込みに失敗しました：ファイルの大きさの上限を超えます）"},
    };
    for (const Row& row : rows) {
        QTemporaryDir dir;
        row.set_up(dir.path());
        const QStringList before = snapshot(dir.path());
        const bool as_root = geteuid() == 0;
        const Ended ended = run_to_end({HELPER, QFile::encodeName(dir.path()), row.file, row.bytes, "old"}, [&] {
            std::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit{row.size_limit, row.size_limit};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0
                || (as_root
                    && (chown(QFile::encodeName(dir.path()).constData(), OTHER_USER, 0) != 0 || setgid(OTHER_USER) != 0
                        || setuid(OTHER_USER) != 0)))
                _exit(3);
        });
        EXPECT_EQ(QString::fromUtf8(ended.output), QString(row.message).replace("%1", dir.path())) << row.name;
        EXPECT_TRUE(WIFEXITED(ended.status) && WEXITSTATUS(ended.status) == 1) << row.name << ": " << ended.status;
        EXPECT_EQ(snapshot(dir.path()), before) << row.name;
    }
}

TEST(ProgramOutput, UnwrittenHelpOrVersionFails)
{
    for (const char* option : {"--version", "--help"}) {
        const Ended written = run_to_end({ORVINE_PROGRAM, option});
        EXPECT_TRUE(written.status == 0 && !written.output.isEmpty()) << option;
        const Ended full = run_to_end({ORVINE_PROGRAM, option},
                                      [] { dup2(open("/dev/full", O_WRONLY), STDOUT_FILENO); });
        EXPECT_TRUE(WIFEXITED(full.status) && WEXITSTATUS(full.status) != 0) << option;
    }
}
