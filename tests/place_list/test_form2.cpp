// The place-list window on real files in a temporary program directory; expected file
// contents are encoded in code page 932, as the program writes them.
#include "place_list/form2.h"
#include "place_list/version_box.h"
#include "files/settings_file.h"
#include "platform/fake_dialogs.h"
#include "resources/window_builder.h"
#include "shared_state/module1.h"

#include <QtTest>
#include <QtWidgets>

#include <array>
#include <memory>

#include "../files/file_faults.h"

using namespace orvine;

namespace {

const QString TOKYO = QString::fromUtf8("東京");
const QString OSAKA = QString::fromUtf8("大阪");
const QString NAGOYA = QString::fromUtf8("名古屋");
const QString KYOTO = QString::fromUtf8("京都");
const QString UNKNOWN = QString::fromUtf8("不明");
const QString IDEO = QString(QChar(0x3000));

const Point TOKYO_PT{35, 41, 22, 139, 41, 30};
const Point OSAKA_PT{34, 41, 37, 135, 30, 8};
const Point SYDNEY_PT{-33, 52, 4, 151, 12, 26};
const Point KYOTO_PT{35, 0, 41, 135, 46, 5};

const QString MSG_ENTER = QString::fromUtf8("地名を入力してください。");
const QString MSG_QUOTE = QString::fromUtf8("地名に「\"」（二重引用符）は使えません。");
const QString MSG_BREAK = QString::fromUtf8("地名に改行は使えません。");
const QString NOT_CHANGED = QString::fromUtf8("%1「%2」は、読み込んだ後に別の Orvine かほかのプログラムで変更されています。\r\n"
                                              "変更を失わないため今の操作は行わず、ファイルを読み込み直します。");
const QString NOT_WRITTEN = QString::fromUtf8("%1「%2」に書き込めませんでした。ファイルは元のままです。\r\n"
                                              "（書き込みに失敗しました：ファイルの大きさの上限を超えます）");

// One record of either file in code page 932, the encoding both files use.
QByteArray rec(const QString& name, const char* values)
{
    return QStringEncoder("windows-31j").encode("\"" + name + "\"," + QString::fromLatin1(values) + "\r\n");
}
const QByteArray TOKYO_REC = rec(TOKYO, "35,41,22,139,41,30");
const QByteArray OSAKA_REC = rec(OSAKA, "34,41,37,135,30,8");
const QByteArray SAPPORO_REC = rec(QString::fromUtf8("札幌"), "43,4,0,141,21,0");
const QByteArray KYOTO_REC = rec(KYOTO, "35,0,41,135,46,5");
const QByteArray SETTINGS_TOKYO = rec("places.txt\",\"" + TOKYO, "35,41,22,139,41,30");
const QByteArray SETTINGS_OSAKA = rec("places.txt\",\"" + OSAKA, "34,41,37,135,30,8");

QByteArray read_bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool write_bytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Records "P000" … with distinct points.
QByteArray numbered_records(int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += "\"P" + QByteArray::number(i).rightJustified(3, '0') + "\",1,0," + QByteArray::number(i % 60) + ",2,0,0\r\n";
    return out;
}

QString numbers(const Point& p)
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6").arg(p.ido_do).arg(p.ido_hun).arg(p.ido_byo).arg(p.kei_do).arg(p.kei_hun).arg(p.kei_byo);
}

// Stands in for the main window and notes what Module1 held when it was shown.
class MainStandIn : public QMainWindow {
public:
    explicit MainStandIn(const Module1& m) : m_(m) {}
    int shows = 0;
    std::int16_t pt_taken_at_show = -1;
    QString pt_place_at_show;

protected:
    void showEvent(QShowEvent* e) override
    {
        QMainWindow::showEvent(e);
        ++shows;
        pt_taken_at_show = m_.pt_taken;
        pt_place_at_show = m_.pt_place;
    }

private:
    const Module1& m_;
};

// Records how often the sound had played when each box was shown.
class OrderDialogs : public FakeDialogs {
public:
    explicit OrderDialogs(const SilentSound& s) : sound(s) {}
    void message(const QString& text, const QString& title) override
    {
        plays_at_message.push_back(sound.plays);
        FakeDialogs::message(text, title);
    }
    const SilentSound& sound;
    std::vector<int> plays_at_message;
};

} // namespace

class TestForm2 : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Module1> m;
    std::unique_ptr<MainStandIn> mainw;
    FakeDialogs dialogs;
    SilentSound sound;
    QPointer<Form2> form;

    QString list_path() const { return dir->path() + "/" + m->list_file; }
    QString settings_path() const { return dir->path() + "/vantorff.ini"; }

    // Writes the list, hands `pt` over as the main window does and shows the window.
    void open(const QByteArray& list_bytes, const QString& pt_place = TOKYO, const Point& pt = TOKYO_PT)
    {
        QVERIFY(write_bytes(list_path(), list_bytes));
        reopen(pt_place, pt);
    }
    void reopen(const QString& pt_place = TOKYO, const Point& pt = TOKYO_PT)
    {
        m->pt_place = pt_place;
        m->pt = pt;
        if (!form)
            form = new Form2(*m, dialogs, sound, *mainw);
        mainw->hide();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    template <class T>
    T* w(const char* name) const { return control<T>(form.data(), name); }
    QListWidget* list() const { return w<QListWidget>("List1"); }
    QLineEdit* text1() const { return w<QLineEdit>("Text1"); }
    QScrollBar* bar(int i) const { return w<QScrollBar>(BARS[i]); }
    static constexpr const char* BARS[] = {"ido_do", "ido_hun", "ido_byo", "kei_do", "kei_hun", "kei_byo"};
    void set_bars(const Point& p)
    {
        const int values[] = {p.ido_do, p.ido_hun, p.ido_byo, p.kei_do, p.kei_hun, p.kei_byo};
        for (int i = 0; i < 6; ++i)
            bar(i)->setValue(values[i]);
    }
    void click_row(int row, bool twice = false)
    {
        const QPoint at = list()->visualItemRect(list()->item(row)).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    }
    void click(const char* name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    QStringList messages() const { return dialogs.texts(); }
    // What the user sees: the name box | the bars (and their echoes where they differ) |
    // the list, the selected name marked | the enabled 地点決定, 訂正登録, 削除 | the focus.
    QString screen() const
    {
        QStringList bars, echoes, names, on;
        for (int i = 0; i < 6; ++i) {
            bars << QString::number(bar(i)->value());
            echoes << w<QLabel>(qPrintable(QStringLiteral("lb") + BARS[i]))->text();
        }
        for (int i = 0; i < list()->count(); ++i)
            names << (list()->item(i)->isSelected() ? "*" : "") + list()->item(i)->text();
        for (const char* b : {"btnreturn", "btnteisei", "btnsakujyo"})
            if (w<QPushButton>(b)->isEnabled())
                on << b;
        QStringList s{text1()->text(), bars.join(',')};
        if (echoes != bars)
            s << "echo " + echoes.join(',');
        s << names.join(',') << on.join(',') << (form->focusWidget() ? form->focusWidget()->objectName() : "-");
        return s.join(" | ");
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        m = std::make_unique<Module1>();
        m->program_dir = dir->path();
        m->list_file = QStringLiteral("places.txt");
        m->init_place = TOKYO;
        m->init = TOKYO_PT;
        m->start_mode = 1;
        QVERIFY(write_bytes(settings_path(), SETTINGS_TOKYO));
        m->settings_stamp = load_settings(dir->path()).stamp;
        mainw = std::make_unique<MainStandIn>(*m);
        dialogs.clear();
        sound.plays = 0;
    }
    void cleanup()
    {
        delete form;
        mainw.reset();
        m.reset();
        dir.reset();
    }

    // The handed-over point (a moved start-up point is "不明"), then back to the main window
    // by taking a place or by leaving without a choice, which restores the point.
    void hand_over_and_back_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<Point>("point");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("start_mode");
        QTest::newRow("start-up name at its point; 戻る") << TOKYO << TOKYO_PT << TOKYO << "btncan" << 1;
        QTest::newRow("start-up name, seconds moved; Escape") << TOKYO << Point{35, 41, 23, 139, 41, 30} << UNKNOWN
                                                               << "escape" << 0;
        QTest::newRow("start-up name, longitude moved; menu") << TOKYO << Point{35, 41, 22, 139, 41, 31} << UNKNOWN
                                                               << "mnucancel" << 1;
        // 35 is the bars' design value: the label must be written although the bar keeps it.
        QTest::newRow("other name; close box") << OSAKA << Point{35, 12, 0, -120, 0, 59} << OSAKA << "close" << 0;
        QTest::newRow("departure taken by 地点決定") << KYOTO << SYDNEY_PT << KYOTO << "btnreturn" << 1;
        QTest::newRow("destination taken by double click") << KYOTO << SYDNEY_PT << KYOTO << "double click" << 0;
    }
    void hand_over_and_back()
    {
        QFETCH(QString, place);
        QFETCH(Point, point);
        QFETCH(QString, shown);
        QFETCH(QString, way);
        QFETCH(int, start_mode);
        m->start_mode = static_cast<std::int16_t>(start_mode);
        m->pt_taken = static_cast<std::int16_t>(start_mode == 0);
        open(TOKYO_REC + OSAKA_REC, place, point);
        QCOMPARE(screen(), QStringList({shown, numbers(point), TOKYO + "," + OSAKA, "", "ido_do"}).join(" | "));
        QCOMPARE(m->bk_place, place);
        QCOMPARE(m->bk, point);
        QCOMPARE(m->places.place_last, std::int16_t(1));
        QVERIFY(messages().isEmpty());

        set_bars(SYDNEY_PT);
        const bool taking = way == "btnreturn" || way == "double click";
        if (taking)
            click_row(1, way == "double click");
        // 地点決定 takes the name box as it stands, blanks and all.
        const QString taken = way == "btnreturn" ? " " + OSAKA + IDEO : OSAKA;
        text1()->setText(taken);
        if (way == "escape") {
            QVERIFY(QTest::qWaitForWindowActive(form));
            QTest::keyClick(text1(), Qt::Key_Escape);
        } else if (way == "mnucancel") {
            w<QAction>("mnucancel")->trigger();
        } else if (way == "close") {
            QVERIFY(form->close());
        } else if (way != "double click") {
            click(qPrintable(way));
        }
        QCOMPARE(m->pt_place, taking ? taken : place);
        QCOMPARE(m->pt, taking ? OSAKA_PT : point);
        QCOMPARE(m->pt_taken, std::int16_t(taking || start_mode == 0));
        QCOMPARE(m->dest_taken, std::int16_t(taking && start_mode == 0));
        // Module1 was complete when the main window was shown.
        QCOMPARE(mainw->shows, 1);
        QCOMPARE(mainw->pt_taken_at_show, m->pt_taken);
        QCOMPARE(mainw->pt_place_at_show, m->pt_place);
        QVERIFY(mainw->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (way == "close") {
            QVERIFY(form.isNull());
            return;
        }
        QVERIFY(!form->isVisible());
        QCOMPARE(list()->count(), 0);
        reopen(OSAKA, OSAKA_PT);
        QCOMPARE(screen(), QStringList({OSAKA, numbers(OSAKA_PT), TOKYO + "," + OSAKA, "", "ido_do"}).join(" | "));
    }

    // Browse, add, correct, delete, register the start-up point, close, reopen, empty the list.
    void editing_story()
    {
        open(TOKYO_REC + OSAKA_REC + SAPPORO_REC, OSAKA, SYDNEY_PT);
        click_row(0);
        QCOMPARE(screen(), QString::fromUtf8("東京 | 35,41,22,139,41,30 | *東京,大阪,札幌 | btnreturn,btnteisei,btnsakujyo | List1"));
        QTest::keyClick(list(), Qt::Key_Down);
        QCOMPARE(screen(), QString::fromUtf8("大阪 | 34,41,37,135,30,8 | 東京,*大阪,札幌 | btnreturn,btnteisei,btnsakujyo | List1"));
        QTest::keyClick(list(), Qt::Key_Down);
        QCOMPARE(screen(), QString::fromUtf8("札幌 | 43,4,0,141,21,0 | 東京,大阪,*札幌 | btnreturn,btnteisei,btnsakujyo | List1"));

        // Added by Return on the focused button, without the blanks around the name.
        text1()->setText(IDEO + " " + NAGOYA + IDEO + "  ");
        set_bars(Point{-35, 10, 5, -136, 54, 59});
        w<QPushButton>("btntuika")->setFocus();
        QTest::keyClick(w<QPushButton>("btntuika"), Qt::Key_Return);
        const QByteArray nagoya = rec(NAGOYA, "-35,10,5,-136,54,59");
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + OSAKA_REC + SAPPORO_REC + nagoya);
        QCOMPARE(screen(), QString::fromUtf8("　 名古屋　   | -35,10,5,-136,54,59 | 東京,大阪,*札幌,名古屋 | btnreturn,btnteisei,btnsakujyo | btntuika"));
        QCOMPARE(m->places.place_last, std::int16_t(3));

        // A correction may take a name already registered.
        click_row(1);
        text1()->setText("  " + NAGOYA + IDEO);
        set_bars(Point{35, 10, 0, 136, 54, 0});
        click("btnteisei");
        const QByteArray corrected = TOKYO_REC + rec(NAGOYA, "35,10,0,136,54,0");
        QCOMPARE(read_bytes(list_path()), corrected + SAPPORO_REC + nagoya);
        QCOMPARE(screen(), QString::fromUtf8("  名古屋　 | 35,10,0,136,54,0 | 東京,名古屋,札幌,名古屋 |  | List1"));
        QCOMPARE(m->places.rows[1].name, NAGOYA);

        // A deletion shows the first place; 訂正登録 then stays enabled but changes nothing.
        click_row(2);
        click("btnsakujyo");
        QCOMPARE(read_bytes(list_path()), corrected + nagoya);
        QCOMPARE(screen(), QString::fromUtf8("東京 | 35,41,22,139,41,30 | 東京,名古屋,名古屋 | btnreturn,btnteisei | btnteisei"));
        QCOMPARE(m->places.place_last, std::int16_t(2));
        text1()->setText(KYOTO);
        click("btnteisei");
        QCOMPARE(read_bytes(list_path()), corrected + nagoya);

        text1()->setText(IDEO + KYOTO + " ");
        set_bars(KYOTO_PT);
        dialogs.answers = {false};
        click("Command4");
        QCOMPARE(read_bytes(settings_path()), SETTINGS_TOKYO);
        QCOMPARE(m->init_place, TOKYO);
        click("Command4");
        QCOMPARE(read_bytes(settings_path()), rec("places.txt\",\"" + KYOTO, "35,0,41,135,46,5"));
        QCOMPARE(m->init_place, KYOTO);
        QCOMPARE(m->init, KYOTO_PT);
        QCOMPARE(dialogs.calls.size(), std::size_t(2));
        for (const DialogCall& call : dialogs.calls) {
            QVERIFY(call.kind == DialogCall::Kind::Confirm && call.title == QString::fromUtf8("初期設定変更"));
            QCOMPARE(call.text, QString::fromUtf8("初期設定を  京都  に変更します。\r\r                よろしいですか？"));
        }
        QCOMPARE(read_bytes(list_path()), corrected + nagoya);

        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
        reopen(KYOTO, KYOTO_PT);
        QCOMPARE(screen(), QString::fromUtf8("京都 | 35,0,41,135,46,5 | 東京,名古屋,名古屋 |  | ido_do"));
        while (list()->count() > 0) {
            click_row(0);
            click("btnsakujyo");
        }
        QCOMPARE(read_bytes(list_path()), QByteArray());
        QCOMPARE(m->places.place_last, std::int16_t(-1));
        QCOMPARE(screen(), QString::fromUtf8(" | 0,0,0,0,0,0 |  | btnreturn,btnteisei | btnteisei"));
        QCOMPARE(dialogs.calls.size(), std::size_t(2));
    }

    // Names refused by an addition, a correction and the start-up registration: a message,
    // and neither file changes.
    void refused_names_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString add = "btntuika", correct = "btnteisei", startup = "Command4";
        QTest::newRow("add duplicate with blanks") << add << IDEO + TOKYO + "  " << QString::fromUtf8("同じ地名があります。再入力してください。");
        QTest::newRow("add ideographic blanks only") << add << IDEO + IDEO << MSG_ENTER;
        QTest::newRow("add unknown with blanks") << add << " " + UNKNOWN + IDEO << MSG_ENTER;
        QTest::newRow("add double quote") << add << QStringLiteral("a\"b") << MSG_QUOTE;
        QTest::newRow("add line break") << add << QStringLiteral("a\nb") << MSG_BREAK;
        QTest::newRow("add outside code page 932")
            << add << QString::fromUtf8("A\u301CB") << QString::fromUtf8("地名に Shift-JIS で表せない文字が含まれています。");
        QTest::newRow("correct empty") << correct << QString() << MSG_ENTER;
        QTest::newRow("correct unknown") << correct << IDEO + UNKNOWN << MSG_ENTER;
        QTest::newRow("correct double quote") << correct << QStringLiteral("\"x") << MSG_QUOTE;
        QTest::newRow("start-up blanks") << startup << "  " + IDEO << QString::fromUtf8("地名を入力してください");
        QTest::newRow("start-up line break") << startup << QStringLiteral("a\rb") << MSG_BREAK;
    }
    void refused_names()
    {
        QFETCH(QString, action);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        const bool correcting = action == "btnteisei";
        open(TOKYO_REC + OSAKA_REC);
        if (correcting)
            click_row(0);
        text1()->setText(typed);
        bar(3)->setFocus();
        w<QPushButton>(qPrintable(action))->click(); // a mouse click would move the focus itself
        QCOMPARE(messages(), QStringList{message});
        QCOMPARE(dialogs.calls[0].kind, DialogCall::Kind::Message);
        QCOMPARE(dialogs.calls[0].title, QStringLiteral("Orvine"));
        // The typed name is to be mended, except for the start-up point, whose focus stays.
        QCOMPARE(screen(), QStringList({typed, numbers(TOKYO_PT), (correcting ? "*" : "") + TOKYO + "," + OSAKA,
                                        correcting ? "btnreturn,btnteisei,btnsakujyo" : "",
                                        action == "Command4" ? "kei_do" : "Text1"}).join(" | "));
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + OSAKA_REC);
        QCOMPARE(read_bytes(settings_path()), SETTINGS_TOKYO);
        QCOMPARE(m->places.place_last, std::int16_t(1));
        QCOMPARE(m->places.rows[0].name, TOKYO);
        QCOMPARE(m->init_place, TOKYO);
    }

    void adding_stops_at_101_places()
    {
        open(numbered_records(100));
        text1()->setText("P100");
        click("btntuika");
        const QByteArray full = numbered_records(100) + rec("P100", "35,41,22,139,41,30");
        QCOMPARE(read_bytes(list_path()), full);
        // The limit comes before the name: even an empty name gets the limit message.
        for (const QString& typed : {QStringLiteral("P101"), QString()}) {
            dialogs.clear();
            text1()->setText(typed);
            click("btntuika");
            QCOMPARE(messages(), QStringList{QString::fromUtf8("登録数の上限に達しています")});
            QCOMPARE(form->focusWidget(), text1());
            QCOMPARE(read_bytes(list_path()), full);
            QCOMPARE(list()->count(), 101);
        }
    }

    // A list that cannot be read whole is shown as far as it was read, and never rewritten.
    void list_not_read_whole_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: the list file is a directory
        QTest::addColumn<QString>("opening");
        QTest::addColumn<int>("shown");
        QTest::newRow("damaged") << TOKYO_REC + rec(OSAKA, "34,4x,37,135,30,8") + SAPPORO_REC
                                 << QString::fromUtf8("の第2レコード、第3項目「緯度（分）」が整数ではありません。") << 1;
        QTest::newRow("102 records") << numbered_records(102) << QString::fromUtf8("101件を超える") << 101;
        QTest::newRow("a directory") << QByteArray() << QString::fromUtf8("通常のファイルではなく、フォルダーです") << 0;
    }
    void list_not_read_whole()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, opening);
        QFETCH(int, shown);
        if (bytes.isEmpty()) {
            QVERIFY(QDir(dir->path()).mkdir(m->list_file));
            reopen();
        } else {
            open(bytes);
        }
        QCOMPARE(messages().size(), 1);
        const QString path = QDir::toNativeSeparators(list_path());
        QVERIFY2(messages()[0].contains(path) && messages()[0].contains(opening), qPrintable(messages()[0]));
        QCOMPARE(list()->count(), shown);
        QVERIFY(shown != 1 || list()->item(0)->text() == TOKYO);

        text1()->setText(KYOTO);
        click("btntuika");
        if (shown > 0) {
            click_row(0);
            text1()->setText(KYOTO);
            click("btnteisei");
            click("btnsakujyo");
        }
        QCOMPARE(messages().size(), shown > 0 ? 4 : 2);
        for (int i = 1; i < messages().size(); ++i)
            QVERIFY2(messages()[i].contains(path) && messages()[i].contains(QString::fromUtf8("追加登録・訂正登録・削除はできません")),
                     qPrintable(messages()[i]));
        QVERIFY(bytes.isEmpty() ? QFileInfo(list_path()).isDir() : read_bytes(list_path()) == bytes);
        QCOMPARE(list()->count(), shown);

        // The start-up point lives in the other file and may still be registered.
        dialogs.answers = {true};
        click("Command4");
        QCOMPARE(m->init_place, KYOTO);
    }

    // Each write fails half-way, as on a full disk: a message, both files as they were, and
    // the window and the table as before the action.
    void failed_writes_change_nothing_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("add") << QStringLiteral("btntuika");
        QTest::newRow("correct") << QStringLiteral("btnteisei");
        QTest::newRow("delete") << QStringLiteral("btnsakujyo");
        QTest::newRow("start-up point") << QStringLiteral("Command4");
    }
    void failed_writes_change_nothing()
    {
        QFETCH(QString, action);
        const QByteArray places = numbered_records(40); // beyond the limit below
        open(places, KYOTO, SYDNEY_PT);
        click_row(1);
        text1()->setText(QString(400, QLatin1Char('x')));
        const QString before = screen();
        dialogs.answers = {true};
        {
            test::FileSizeLimit limit(300);
            w<QPushButton>(qPrintable(action))->click();
        }
        const bool settings = action == "Command4";
        QCOMPARE(messages().size(), settings ? 2 : 1);
        QCOMPARE(messages().last(), NOT_WRITTEN.arg(QString::fromUtf8(settings ? "設定ファイル" : "地点一覧ファイル"),
                                                    QDir::toNativeSeparators(settings ? settings_path() : list_path())));
        QCOMPARE(read_bytes(list_path()), places);
        QCOMPARE(read_bytes(settings_path()), SETTINGS_TOKYO);
        QCOMPARE(screen(), before);
        QCOMPARE(m->places.place_last, std::int16_t(39));
        QCOMPARE(m->places.rows[1].name, QStringLiteral("P001"));
        QVERIFY(m->places.rows[40].name.isEmpty());
        QCOMPARE(m->init_place, TOKYO);
    }

    // Another instance of the program or a text editor changes a file between this window's
    // reading and writing it: nothing is written over the change, the user is told, and the
    // window shows the file as it is now, where the same action then goes through.
    void changed_elsewhere_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("another instance adds, then delete") << QStringLiteral("btnsakujyo");
        QTest::newRow("an editor edits, then register") << QStringLiteral("Command4");
    }
    void changed_elsewhere()
    {
        QFETCH(QString, action);
        const bool settings = action == "Command4";
        open(TOKYO_REC + KYOTO_REC, KYOTO, KYOTO_PT);
        Module1 m2 = *m;
        MainStandIn main2(m2);
        QPointer<Form2> other = new Form2(m2, dialogs, sound, main2);
        other->show();
        QVERIFY(QTest::qWaitForWindowExposed(other));
        if (settings) {
            QVERIFY(write_bytes(settings_path(), SETTINGS_OSAKA));
        } else {
            other->findChild<QLineEdit*>("Text1")->setText(OSAKA);
            for (int i = 0; i < 6; ++i)
                other->findChild<QScrollBar*>(BARS[i])->setValue(std::array{34, 41, 37, 135, 30, 8}[i]);
            QTest::mouseClick(other->findChild<QPushButton*>("btntuika"), Qt::LeftButton);
            QCOMPARE(read_bytes(list_path()), TOKYO_REC + KYOTO_REC + OSAKA_REC);
        }
        QVERIFY(dialogs.calls.empty());

        click_row(1);
        text1()->setText(NAGOYA);
        click(qPrintable(action));
        QCOMPARE(messages().size(), settings ? 2 : 1);
        QCOMPARE(messages().last(), NOT_CHANGED.arg(QString::fromUtf8(settings ? "設定ファイル" : "地点一覧ファイル"),
                                                     QDir::toNativeSeparators(settings ? settings_path() : list_path())));
        QCOMPARE(read_bytes(list_path()), settings ? TOKYO_REC + KYOTO_REC : TOKYO_REC + KYOTO_REC + OSAKA_REC);
        QCOMPARE(read_bytes(settings_path()), settings ? SETTINGS_OSAKA : SETTINGS_TOKYO);
        QCOMPARE(m->init_place, settings ? OSAKA : TOKYO);
        QCOMPARE(m->init, settings ? OSAKA_PT : TOKYO_PT);
        if (!settings)
            QCOMPARE(screen(), QString::fromUtf8("名古屋 | 35,0,41,135,46,5 | 東京,京都,大阪 |  | List1"));

        dialogs.clear();
        click_row(1);
        text1()->setText(NAGOYA);
        click(qPrintable(action));
        QCOMPARE(dialogs.calls.size(), std::size_t(settings ? 1 : 0));
        QCOMPARE(read_bytes(settings ? settings_path() : list_path()),
                 settings ? rec("places.txt\",\"" + NAGOYA, "35,0,41,135,46,5") : TOKYO_REC + OSAKA_REC);
        delete other;
    }

    void version_box_from_both_windows()
    {
        const QString head = QString::fromUtf8("        Orvine  Ver.  3.4.46\r\r\nOrvine 開発チーム\r\r\n");
        SilentSound order_sound;
        OrderDialogs order(order_sound);
        show_version_box(order, order_sound, VersionBoxFrom::MainWindow);
        QCOMPARE(order.texts(), QStringList{head + QString::fromUtf8("       E-mail: orvine@example.org\r\n  \u3000\u3000 https://orvine.example.org/")});
        QCOMPARE(order.calls[0].title, QString::fromUtf8("バージョン情報"));
        QVERIFY(order.plays_at_message == std::vector<int>{0});  // the sound comes after the box
        QCOMPARE(order_sound.plays, 1);

        open(TOKYO_REC);
        w<QAction>("mnuver2")->trigger();
        QCOMPARE(messages(), QStringList{head + QString::fromUtf8("       \u3000E-mail: orvine@example.org\r\n  \u3000\u3000\u3000https://orvine.example.org/")});
        QCOMPARE(sound.plays, 1);
        QVERIFY(form->isVisible());
    }
};

QTEST_MAIN(TestForm2)
#include "test_form2.moc"
