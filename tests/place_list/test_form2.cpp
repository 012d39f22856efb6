// The place-list window on real files in a temporary program directory. Expected file
// contents are written out as Shift-JIS bytes.
#include "place_list/form2.h"
#include "place_list/version_box.h"
#include "files/settings_file.h"
#include "platform/fake_dialogs.h"
#include "shared_state/module1.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <memory>

#include "../files/file_faults.h"

using namespace orvine;

Q_DECLARE_METATYPE(orvine::Point)

namespace orvine {
char* toString(const Point& p)
{
    return QTest::toString(QStringLiteral("%1,%2,%3,%4,%5,%6")
                               .arg(p.ido_do).arg(p.ido_hun).arg(p.ido_byo)
                               .arg(p.kei_do).arg(p.kei_hun).arg(p.kei_byo));
}
} // namespace orvine

namespace {

// Shift-JIS bytes from the code page 932 table.
const QByteArray SJ_TOKYO("\x93\x8c\x8b\x9e", 4);          // 東京
const QByteArray SJ_OSAKA("\x91\xe5\x8d\xe3", 4);          // 大阪
const QByteArray SJ_SAPPORO("\x8e\x44\x96\x79", 4);        // 札幌
const QByteArray SJ_NAGOYA("\x96\xbc\x8c\xc3\x89\xae", 6); // 名古屋
const QByteArray SJ_KYOTO("\x8b\x9e\x93\x73", 4);          // 京都

const QString TOKYO = QString::fromUtf8("東京");
const QString OSAKA = QString::fromUtf8("大阪");
const QString SAPPORO = QString::fromUtf8("札幌");
const QString NAGOYA = QString::fromUtf8("名古屋");
const QString KYOTO = QString::fromUtf8("京都");
const QString UNKNOWN = QString::fromUtf8("不明");
const QString IDEO = QString(QChar(0x3000));

const Point TOKYO_PT{35, 41, 22, 139, 41, 30};
const Point OSAKA_PT{34, 41, 37, 135, 30, 8};
const Point SAPPORO_PT{43, 4, 0, 141, 21, 0};
const Point SYDNEY_PT{-33, 52, 4, 151, 12, 26};
const Point KYOTO_PT{35, 0, 41, 135, 46, 5};

const QString MSG_ENTER = QString::fromUtf8("地名を入力してください。");
const QString MSG_SAME = QString::fromUtf8("同じ地名があります。再入力してください。");
const QString MSG_QUOTE = QString::fromUtf8("地名に「\"」（二重引用符）は使えません。");
const QString MSG_BREAK = QString::fromUtf8("地名に改行は使えません。");

QByteArray rec(const QByteArray& name, const char* values) { return "\"" + name + "\"," + values + "\r\n"; }
const QByteArray TOKYO_REC = rec(SJ_TOKYO, "35,41,22,139,41,30");
const QByteArray OSAKA_REC = rec(SJ_OSAKA, "34,41,37,135,30,8");
const QByteArray SAPPORO_REC = rec(SJ_SAPPORO, "43,4,0,141,21,0");
const QByteArray KYOTO_REC = rec(SJ_KYOTO, "35,0,41,135,46,5");
const QByteArray SETTINGS_TOKYO = rec("places.txt\",\"" + SJ_TOKYO, "35,41,22,139,41,30");

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
        out += "\"P" + QByteArray::number(i).rightJustified(3, '0') + "\",1,0," + QByteArray::number(i % 60)
            + ",2,0,0\r\n";
    return out;
}

QStringList texts(const Point& p)
{
    QStringList out;
    for (int v : {p.ido_do, p.ido_hun, p.ido_byo, p.kei_do, p.kei_hun, p.kei_byo})
        out << QString::number(v);
    return out;
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
    T* w(const char* name) const
    {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no %s", name);
        return found;
    }
    QListWidget* list() const { return w<QListWidget>("List1"); }
    QLineEdit* text1() const { return w<QLineEdit>("Text1"); }
    QScrollBar* bar(const char* name) const { return w<QScrollBar>(name); }
    static constexpr const char* BARS[] = {"ido_do", "ido_hun", "ido_byo", "kei_do", "kei_hun", "kei_byo"};

    QStringList names() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    Point bars() const
    {
        auto v = [this](int i) { return static_cast<std::int16_t>(bar(BARS[i])->value()); };
        return Point{v(0), v(1), v(2), v(3), v(4), v(5)};
    }
    QStringList labels() const
    {
        QStringList out;
        for (const char* n : BARS)
            out << w<QLabel>(qPrintable(QStringLiteral("lb") + n))->text();
        return out;
    }
    void set_bars(const Point& p)
    {
        const int values[] = {p.ido_do, p.ido_hun, p.ido_byo, p.kei_do, p.kei_hun, p.kei_byo};
        for (int i = 0; i < 6; ++i)
            bar(BARS[i])->setValue(values[i]);
    }
    void click_row(int row, bool twice = false)
    {
        const QPoint at = list()->visualItemRect(list()->item(row)).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    }
    void click(const char* name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    // States of btnreturn, btnteisei, btnsakujyo.
    QList<bool> selection_buttons() const
    {
        return {w<QPushButton>("btnreturn")->isEnabled(), w<QPushButton>("btnteisei")->isEnabled(),
                w<QPushButton>("btnsakujyo")->isEnabled()};
    }
    QStringList messages() const { return dialogs.texts(); }

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

    // The handed-over point, the "不明" rule for a moved start-up point, and its restore on cancel.
    void activation_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<Point>("point");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("by_escape");  // leaving by Escape rather than "戻 る(cancel)"
        QTest::newRow("start-up name at the start-up point") << TOKYO << TOKYO_PT << TOKYO << false;
        QTest::newRow("start-up name, seconds moved") << TOKYO << Point{35, 41, 23, 139, 41, 30} << UNKNOWN
                                                       << true;
        QTest::newRow("start-up name, longitude moved") << TOKYO << Point{35, 41, 22, 139, 41, 31} << UNKNOWN
                                                         << false;
        // 35 is the bars' design value: the label must be written although the bar keeps it.
        QTest::newRow("other name, other point") << OSAKA << Point{35, 12, 0, -120, 0, 59} << OSAKA << true;
    }
    void activation()
    {
        QFETCH(QString, place);
        QFETCH(Point, point);
        QFETCH(QString, shown);
        QFETCH(bool, by_escape);
        open(TOKYO_REC + OSAKA_REC, place, point);
        QCOMPARE(text1()->text(), shown);
        QCOMPARE(bars(), point);
        QCOMPARE(labels(), texts(point));
        QCOMPARE(form->focusWidget(), bar("ido_do"));
        QCOMPARE(m->bk_place, place);
        QCOMPARE(m->bk, point);
        QCOMPARE(selection_buttons(), (QList<bool>{false, false, false}));
        QCOMPARE(names(), (QStringList{TOKYO, OSAKA}));
        QCOMPARE(m->places.place_last, std::int16_t(1));
        QVERIFY(messages().isEmpty());

        m->pt_taken = 0;
        m->dest_taken = 0;
        set_bars(SYDNEY_PT);
        if (by_escape) {
            QVERIFY(QTest::qWaitForWindowActive(form));
            QTest::keyClick(text1(), Qt::Key_Escape);
        } else {
            click("btncan");
        }
        QVERIFY(!form->isVisible());
        QVERIFY(mainw->isVisible());
        QCOMPARE(m->pt_place, place);
        QCOMPARE(m->pt, point);
        QCOMPARE(m->pt_taken, std::int16_t(0));
        QCOMPARE(m->dest_taken, std::int16_t(0));
    }

    void selectingShowsThePlaceByMouseAndKeyboard()
    {
        open(TOKYO_REC + OSAKA_REC + SAPPORO_REC, OSAKA, SYDNEY_PT);
        click_row(0);
        QCOMPARE(text1()->text(), TOKYO);
        QCOMPARE(bars(), TOKYO_PT);
        QCOMPARE(labels(), texts(TOKYO_PT));
        QCOMPARE(selection_buttons(), (QList<bool>{true, true, true}));
        QTest::keyClick(list(), Qt::Key_Down);
        QCOMPARE(text1()->text(), OSAKA);
        QCOMPARE(bars(), OSAKA_PT);
        QTest::keyClick(list(), Qt::Key_Down);
        QCOMPARE(text1()->text(), SAPPORO);
        QCOMPARE(labels(), texts(SAPPORO_PT));
    }

    void addingWritesTheFileAtOnce()
    {
        reopen(SAPPORO, SAPPORO_PT); // no list file yet
        QCOMPARE(names(), QStringList{});
        QCOMPARE(m->places.place_last, std::int16_t(-1));
        // Return presses the focused button.
        w<QPushButton>("btntuika")->setFocus();
        QTest::keyClick(w<QPushButton>("btntuika"), Qt::Key_Return);
        QCOMPARE(read_bytes(list_path()), SAPPORO_REC);

        // Blanks around the name (ASCII and ideographic) are not stored; south and west
        // values keep their minus sign; text box, bars and buttons stay as they were.
        const QByteArray nagoya = rec(SJ_NAGOYA, "-35,10,5,-136,54,59");
        text1()->setText(IDEO + " " + NAGOYA + IDEO + "  ");
        set_bars(Point{-35, 10, 5, -136, 54, 59});
        click("btntuika");
        QCOMPARE(read_bytes(list_path()), SAPPORO_REC + nagoya);
        QCOMPARE(names(), (QStringList{SAPPORO, NAGOYA}));
        QCOMPARE(m->places.place_last, std::int16_t(1));
        QCOMPARE(text1()->text(), IDEO + " " + NAGOYA + IDEO + "  ");
        QCOMPARE(bars(), (Point{-35, 10, 5, -136, 54, 59}));
        QCOMPARE(selection_buttons(), (QList<bool>{false, false, false}));

        // The comparison is exact: another letter case is another name.
        for (const char* name : {"Kobe", "kobe"}) {
            text1()->setText(name);
            click("btntuika");
        }
        QCOMPARE(read_bytes(list_path()), SAPPORO_REC + nagoya + rec("Kobe", "-35,10,5,-136,54,59")
                                              + rec("kobe", "-35,10,5,-136,54,59"));
        QVERIFY(messages().isEmpty());
    }

    // Names refused by an addition, a correction and the start-up registration: a message,
    // and neither file changes.
    void refusedNames_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString add = "btntuika", correct = "btnteisei", startup = "Command4";
        const QString enter = QString::fromUtf8("地名を入力してください");
        QTest::newRow("add duplicate") << add << TOKYO << MSG_SAME;
        QTest::newRow("add duplicate with blanks") << add << IDEO + TOKYO + "  " << MSG_SAME;
        QTest::newRow("add empty") << add << QString() << MSG_ENTER;
        QTest::newRow("add ASCII blanks only") << add << QStringLiteral("   ") << MSG_ENTER;
        QTest::newRow("add ideographic blanks only") << add << IDEO + IDEO << MSG_ENTER;
        QTest::newRow("add unknown") << add << UNKNOWN << MSG_ENTER;
        QTest::newRow("add unknown with blanks") << add << " " + UNKNOWN + IDEO << MSG_ENTER;
        QTest::newRow("add double quote") << add << QStringLiteral("a\"b") << MSG_QUOTE;
        QTest::newRow("add line break") << add << QStringLiteral("a\nb") << MSG_BREAK;
        QTest::newRow("add outside code page 932")
            << add << QString::fromUtf8("A\u301CB") << QString::fromUtf8("地名に Shift-JIS で表せない文字が含まれています。");
        QTest::newRow("correct empty") << correct << QString() << MSG_ENTER;
        QTest::newRow("correct blanks only") << correct << " " + IDEO << MSG_ENTER;
        QTest::newRow("correct unknown") << correct << IDEO + UNKNOWN << MSG_ENTER;
        QTest::newRow("correct double quote") << correct << QStringLiteral("\"x") << MSG_QUOTE;
        QTest::newRow("start-up empty") << startup << QString() << enter;
        QTest::newRow("start-up blanks") << startup << "  " + IDEO << enter;
        QTest::newRow("start-up unknown") << startup << UNKNOWN + " " << enter;
        QTest::newRow("start-up line break") << startup << QStringLiteral("a\rb") << MSG_BREAK;
    }
    void refusedNames()
    {
        QFETCH(QString, action);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        const bool correcting = action == "btnteisei";
        open(TOKYO_REC + OSAKA_REC);
        if (correcting)
            click_row(0);
        text1()->setText(typed);
        bar("kei_do")->setFocus();
        w<QPushButton>(qPrintable(action))->click(); // a mouse click would move the focus itself
        QCOMPARE(messages(), QStringList{message});
        QCOMPARE(dialogs.calls[0].kind, DialogCall::Kind::Message);
        QCOMPARE(dialogs.calls[0].title, QStringLiteral("Orvine"));
        // The typed name is to be mended, except for the start-up point, whose focus stays.
        QCOMPARE(form->focusWidget(), action == "Command4" ? static_cast<QWidget*>(bar("kei_do")) : text1());
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + OSAKA_REC);
        QCOMPARE(read_bytes(settings_path()), SETTINGS_TOKYO);
        QCOMPARE(names(), (QStringList{TOKYO, OSAKA}));
        QCOMPARE(m->places.place_last, std::int16_t(1));
        QCOMPARE(m->places.rows[0].name, TOKYO);
        QCOMPARE(m->init_place, TOKYO);
        QCOMPARE(selection_buttons(), (QList<bool>{correcting, correcting, correcting}));
    }

    void addingStopsAt101Places()
    {
        open(numbered_records(100));
        text1()->setText("P100");
        set_bars(SAPPORO_PT);
        click("btntuika");
        QVERIFY(messages().isEmpty());
        const QByteArray full = numbered_records(100) + rec("P100", "43,4,0,141,21,0");
        QCOMPARE(read_bytes(list_path()), full);
        QCOMPARE(m->places.place_last, std::int16_t(100));

        // The limit is checked before the name: even an empty name gets the limit message.
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

    void correctingReplacesTheSelectedPlace()
    {
        open(TOKYO_REC + OSAKA_REC + SAPPORO_REC);
        click_row(1);
        text1()->setText("  " + NAGOYA + IDEO);
        set_bars(Point{35, 10, 0, 136, 54, 0});
        click("btnteisei");
        const QByteArray nagoya = rec(SJ_NAGOYA, "35,10,0,136,54,0");
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + nagoya + SAPPORO_REC);
        QCOMPARE(names(), (QStringList{TOKYO, NAGOYA, SAPPORO}));
        QVERIFY(list()->selectedItems().isEmpty());
        QCOMPARE(m->places.rows[1].name, NAGOYA);
        QCOMPARE(selection_buttons(), (QList<bool>{false, false, false}));

        // Another registered name is allowed: both entries then carry it.
        click_row(2);
        text1()->setText(TOKYO);
        click("btnteisei");
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + nagoya + rec(SJ_TOKYO, "43,4,0,141,21,0"));
        QCOMPARE(names(), (QStringList{TOKYO, NAGOYA, TOKYO}));
        QVERIFY(messages().isEmpty());
    }

    void deletingRewritesAndShowsTheFirstPlace()
    {
        open(TOKYO_REC + OSAKA_REC + SAPPORO_REC, KYOTO, SYDNEY_PT);
        click_row(1);
        click("btnsakujyo");
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + SAPPORO_REC);
        QCOMPARE(names(), (QStringList{TOKYO, SAPPORO}));
        QVERIFY(list()->selectedItems().isEmpty());
        QCOMPARE(m->places.place_last, std::int16_t(1));
        QCOMPARE(text1()->text(), TOKYO);
        QCOMPARE(bars(), TOKYO_PT);
        QCOMPARE(labels(), texts(TOKYO_PT));
        QCOMPARE(selection_buttons(), (QList<bool>{true, true, false}));

        // "訂正登録" stays enabled with nothing selected: it then changes nothing.
        text1()->setText(NAGOYA);
        click("btnteisei");
        QVERIFY(messages().isEmpty());
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + SAPPORO_REC);
        QCOMPARE(names(), (QStringList{TOKYO, SAPPORO}));

        // Closed with the close box and opened afresh: exactly the file.
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
        reopen();
        QCOMPARE(names(), (QStringList{TOKYO, SAPPORO}));
        QCOMPARE(selection_buttons(), (QList<bool>{false, false, false}));
    }

    void deletingTheOnlyPlaceEmptiesEverything()
    {
        open(SAPPORO_REC);
        click_row(0);
        click("btnsakujyo");
        QVERIFY(messages().isEmpty());
        QVERIFY(QFileInfo::exists(list_path()));
        QCOMPARE(read_bytes(list_path()), QByteArray());
        QCOMPARE(list()->count(), 0);
        QCOMPARE(m->places.place_last, std::int16_t(-1));
        QCOMPARE(text1()->text(), QString());
        QCOMPARE(bars(), Point{});
        QCOMPARE(labels(), texts(Point{}));
    }

    void startUpRegistration()
    {
        open(TOKYO_REC);
        text1()->setText(IDEO + KYOTO + " ");
        set_bars(KYOTO_PT);
        dialogs.answers = {false, true};
        click("Command4"); // Cancel: nothing changes
        QCOMPARE(dialogs.calls.size(), std::size_t(1));
        QCOMPARE(dialogs.calls[0].kind, DialogCall::Kind::Confirm);
        QCOMPARE(dialogs.calls[0].text, QString::fromUtf8("初期設定を  京都  に変更します。\r\r                よろしいですか？"));
        QCOMPARE(dialogs.calls[0].title, QString::fromUtf8("初期設定変更"));
        QCOMPARE(read_bytes(settings_path()), SETTINGS_TOKYO);
        QCOMPARE(m->init_place, TOKYO);
        QCOMPARE(m->init, TOKYO_PT);

        // OK: the settings file keeps the list name and gets the trimmed name and the bars.
        click("Command4");
        QCOMPARE(read_bytes(settings_path()), rec("places.txt\",\"" + SJ_KYOTO, "35,0,41,135,46,5"));
        QCOMPARE(m->init_place, KYOTO);
        QCOMPARE(m->init, KYOTO_PT);
        QCOMPARE(read_bytes(list_path()), TOKYO_REC);
        QCOMPARE(names(), QStringList{TOKYO});
        QVERIFY(form->isVisible());
    }

    void takingTheShownPoint_data()
    {
        QTest::addColumn<int>("start_mode");
        QTest::addColumn<bool>("double_click");
        QTest::newRow("departure, button") << 1 << false;
        QTest::newRow("departure, double click") << 1 << true;
        QTest::newRow("destination, button") << 0 << false;
        QTest::newRow("destination, double click") << 0 << true;
    }
    void takingTheShownPoint()
    {
        QFETCH(int, start_mode);
        QFETCH(bool, double_click);
        m->start_mode = static_cast<std::int16_t>(start_mode);
        open(TOKYO_REC + OSAKA_REC, TOKYO, SYDNEY_PT);
        click("btnreturn"); // disabled without a selection: nothing happens
        QVERIFY(form->isVisible());
        click_row(1, double_click);
        // The button takes the text box as it stands, blanks and all.
        const QString taken = double_click ? OSAKA : " " + OSAKA + IDEO;
        if (!double_click) {
            text1()->setText(taken);
            click("btnreturn");
        }
        QCOMPARE(m->pt_place, taken);
        QCOMPARE(m->pt, OSAKA_PT);
        QCOMPARE(m->pt_taken, std::int16_t(1));
        QCOMPARE(m->dest_taken, std::int16_t(start_mode == 0 ? 1 : 0));
        // Module1 was complete when the main window was shown.
        QCOMPARE(mainw->shows, 1);
        QCOMPARE(mainw->pt_taken_at_show, std::int16_t(1));
        QCOMPARE(mainw->pt_place_at_show, taken);
        QVERIFY(mainw->isVisible());
        QVERIFY(!form->isVisible());
        QCOMPARE(list()->count(), 0);

        // Shown again, the window starts afresh.
        reopen(OSAKA, OSAKA_PT);
        QCOMPARE(names(), (QStringList{TOKYO, OSAKA}));
        QCOMPARE(selection_buttons(), (QList<bool>{false, false, false}));
    }

    void leavingWithoutChoice_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("button") << QStringLiteral("btncan");
        QTest::newRow("menu") << QStringLiteral("mnucancel");
        QTest::newRow("close box") << QStringLiteral("close");
    }
    void leavingWithoutChoice()
    {
        QFETCH(QString, way);
        m->start_mode = 0;
        m->pt_taken = 1;
        m->dest_taken = 0;
        open(TOKYO_REC, OSAKA, SYDNEY_PT);
        click_row(0);
        text1()->setText(SAPPORO);
        set_bars(SAPPORO_PT);
        click("btntuika"); // saved at once, and stays saved
        if (way == "btncan")
            click("btncan");
        else if (way == "mnucancel")
            w<QAction>("mnucancel")->trigger();
        else
            QVERIFY(form->close());
        QCOMPARE(m->pt_place, OSAKA);
        QCOMPARE(m->pt, SYDNEY_PT);
        QCOMPARE(m->pt_taken, std::int16_t(1));
        QCOMPARE(m->dest_taken, std::int16_t(0));
        QCOMPARE(mainw->shows, 1);
        QCOMPARE(mainw->pt_place_at_show, OSAKA);
        QVERIFY(mainw->isVisible());
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + SAPPORO_REC);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (way == "close") {
            QVERIFY(form.isNull());
        } else {
            QVERIFY(!form->isVisible());
            QCOMPARE(list()->count(), 0);
            QCOMPARE(selection_buttons(), (QList<bool>{false, false, false}));
        }
    }

    // A list that cannot be read whole is shown as far as it was read, and never rewritten.
    void listNotReadWhole_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: the list file is a directory
        QTest::addColumn<QString>("opening");
        QTest::addColumn<int>("shown");
        QTest::newRow("damaged") << TOKYO_REC + rec(SJ_OSAKA, "34,4x,37,135,30,8") + SAPPORO_REC
                                 << QString::fromUtf8("の第2レコード、第3項目「緯度（分）」が整数ではありません。") << 1;
        QTest::newRow("102 records") << numbered_records(102) << QString::fromUtf8("101件を超える") << 101;
        QTest::newRow("records after an empty name") << TOKYO_REC + rec("", "0,0,0,0,0,0") + OSAKA_REC
                                                     << QString::fromUtf8("の第2レコードは地名が空のため") << 1;
        QTest::newRow("a directory") << QByteArray() << QString::fromUtf8("通常のファイルではなく、フォルダーです") << 0;
    }
    void listNotReadWhole()
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
        if (shown == 1)
            QCOMPARE(names(), QStringList{TOKYO});

        text1()->setText(KYOTO);
        click("btntuika");
        if (shown > 0) {
            click_row(0);
            text1()->setText(KYOTO);
            click("btnteisei");
            click("btnsakujyo");
        }
        QCOMPARE(messages().size(), shown > 0 ? 4 : 2);
        for (int i = 1; i < messages().size(); ++i) {
            QVERIFY2(messages()[i].contains(path), qPrintable(messages()[i]));
            QVERIFY2(messages()[i].contains(QString::fromUtf8("追加登録・訂正登録・削除はできません")),
                     qPrintable(messages()[i]));
        }
        if (bytes.isEmpty())
            QVERIFY(QFileInfo(list_path()).isDir());
        else
            QCOMPARE(read_bytes(list_path()), bytes);
        QCOMPARE(list()->count(), shown);

        // The start-up point lives in the other file and may still be registered.
        dialogs.answers = {true};
        click("Command4");
        QCOMPARE(m->init_place, KYOTO);
    }

    // Each write fails half-way, as on a full disk: a message, both files as they were,
    // the table, the list and the buttons as before the action.
    void failedWritesChangeNothing_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("add") << QStringLiteral("btntuika");
        QTest::newRow("correct") << QStringLiteral("btnteisei");
        QTest::newRow("delete") << QStringLiteral("btnsakujyo");
        QTest::newRow("start-up point") << QStringLiteral("Command4");
    }
    void failedWritesChangeNothing()
    {
        QFETCH(QString, action);
        const QByteArray places = numbered_records(40); // beyond the limit below
        open(places, KYOTO, SYDNEY_PT);
        click_row(1);
        text1()->setText(QString(400, QLatin1Char('x')));
        dialogs.answers = {true};
        {
            test::FileSizeLimit limit(300);
            w<QPushButton>(qPrintable(action))->click();
        }
        const QString file = action == "Command4" ? settings_path() : list_path();
        QCOMPARE(messages().size(), action == "Command4" ? 2 : 1);
        QCOMPARE(messages().last(), QString::fromUtf8("%1「%2」に書き込めませんでした。ファイルは元のままです。\r\n"
                                                      "（書き込みに失敗しました：ファイルの大きさの上限を超えます）")
                                        .arg(QString::fromUtf8(action == "Command4" ? "設定ファイル" : "地点一覧ファイル"),
                                             QDir::toNativeSeparators(file)));
        QCOMPARE(read_bytes(list_path()), places);
        QCOMPARE(read_bytes(settings_path()), SETTINGS_TOKYO);
        QCOMPARE(list()->count(), 40);
        QCOMPARE(names().at(1), QStringLiteral("P001"));
        QCOMPARE(m->places.place_last, std::int16_t(39));
        QCOMPARE(m->places.rows[1].name, QStringLiteral("P001"));
        QVERIFY(m->places.rows[40].name.isEmpty());
        QCOMPARE(list()->selectedItems().size(), 1);
        QCOMPARE(selection_buttons(), (QList<bool>{true, true, true}));
        QCOMPARE(m->init_place, TOKYO);
    }

    // Another instance of the program (a second window on the same folder) or a text editor
    // changes a file between this window's reading and writing it: nothing is written over
    // the change, the user is told, and the window shows the file as it is now.
    void changedElsewhere_data()
    {
        QTest::addColumn<bool>("by_instance");
        QTest::addColumn<QString>("action");
        QTest::newRow("instance adds, then add") << true << QStringLiteral("btntuika");
        QTest::newRow("instance adds, then delete") << true << QStringLiteral("btnsakujyo");
        QTest::newRow("editor edits, then correct") << false << QStringLiteral("btnteisei");
        QTest::newRow("instance registers, then register") << true << QStringLiteral("Command4");
        QTest::newRow("editor edits, then register") << false << QStringLiteral("Command4");
    }
    void changedElsewhere()
    {
        QFETCH(bool, by_instance);
        QFETCH(QString, action);
        const bool settings = action == "Command4";
        auto notes = [this] {
            QStringList out;
            for (const DialogCall& call : dialogs.calls)
                if (call.kind == DialogCall::Kind::Message)
                    out << call.text;
            return out;
        };
        open(TOKYO_REC + SAPPORO_REC, KYOTO, KYOTO_PT);

        Module1 m2 = *m;
        MainStandIn main2(m2);
        QPointer<Form2> other = new Form2(m2, dialogs, sound, main2);
        other->show();
        QVERIFY(QTest::qWaitForWindowExposed(other));
        auto click_other = [&](const char* name) { QTest::mouseClick(other->findChild<QPushButton*>(name), Qt::LeftButton); };
        const QByteArray list_now = TOKYO_REC + SAPPORO_REC + (by_instance ? OSAKA_REC : KYOTO_REC);
        const QByteArray settings_now = rec("places.txt\",\"" + SJ_OSAKA, "34,41,37,135,30,8");
        if (!by_instance) {
            QVERIFY(write_bytes(settings ? settings_path() : list_path(), settings ? settings_now : list_now));
        } else {
            other->findChild<QLineEdit*>("Text1")->setText(OSAKA);
            for (int i = 0; i < 6; ++i)
                other->findChild<QScrollBar*>(BARS[i])->setValue(std::array{34, 41, 37, 135, 30, 8}[i]);
            dialogs.answers = {true};
            click_other(settings ? "Command4" : "btntuika");
        }
        QVERIFY(notes().isEmpty());
        QCOMPARE(read_bytes(settings ? settings_path() : list_path()), settings ? settings_now : list_now);

        click_row(1);
        text1()->setText(NAGOYA);
        dialogs.answers = {true};
        click(qPrintable(action));
        QCOMPARE(notes().size(), 1);
        QCOMPARE(notes()[0], QString::fromUtf8("%1「%2」は、読み込んだ後に別の Orvine かほかのプログラムで変更されています。\r\n"
                                                  "変更を失わないため今の操作は行わず、ファイルを読み込み直します。")
                                    .arg(QString::fromUtf8(settings ? "設定ファイル" : "地点一覧ファイル"),
                                         QDir::toNativeSeparators(settings ? settings_path() : list_path())));
        QCOMPARE(read_bytes(list_path()), settings ? TOKYO_REC + SAPPORO_REC : list_now);
        QCOMPARE(read_bytes(settings_path()), settings ? settings_now : SETTINGS_TOKYO);
        if (settings) {
            QCOMPARE(m->init_place, OSAKA);
            QCOMPARE(m->init, OSAKA_PT);
        } else {
            QCOMPARE(names(), (QStringList{TOKYO, SAPPORO, by_instance ? OSAKA : KYOTO}));
            QCOMPARE(selection_buttons(), (QList<bool>{false, false, false}));
        }
        QCOMPARE(text1()->text(), NAGOYA);

        // Now on the current content, the same action goes through.
        dialogs.clear();
        dialogs.answers = {true};
        click_row(1);
        text1()->setText(NAGOYA);
        click(qPrintable(action));
        QVERIFY(notes().isEmpty());
        QVERIFY(read_bytes(settings ? settings_path() : list_path()) != (settings ? settings_now : list_now));
        delete other;
    }

    void versionBoxFromBothWindows()
    {
        const QString first = QStringLiteral("        Orvine  Ver.  3.4.46\r\r\n");
        const QString credit = QString::fromUtf8("Orvine 開発チーム\r\r\n");
        const QString main_text = first + credit + QStringLiteral("       E-mail: orvine@example.org\r\n")
            + QString::fromUtf8("  \u3000\u3000 https://orvine.example.org/");
        const QString list_text = first + credit + QString::fromUtf8("       \u3000E-mail: orvine@example.org\r\n")
            + QString::fromUtf8("  \u3000\u3000\u3000https://orvine.example.org/");

        // The sound plays after the box is closed.
        SilentSound order_sound;
        OrderDialogs order(order_sound);
        show_version_box(order, order_sound, VersionBoxFrom::MainWindow);
        QCOMPARE(order.texts(), QStringList{main_text});
        QCOMPARE(order.calls[0].title, QString::fromUtf8("バージョン情報"));
        QVERIFY(order.plays_at_message == std::vector<int>{0});
        QCOMPARE(order_sound.plays, 1);

        open(TOKYO_REC);
        w<QAction>("mnuver2")->trigger();
        QCOMPARE(messages(), QStringList{list_text});
        QCOMPARE(dialogs.calls[0].title, QString::fromUtf8("バージョン情報"));
        QCOMPARE(sound.plays, 1);
        QVERIFY(form->isVisible());
        QCOMPARE(m->pt_taken, std::int16_t(0));
    }

    // Open with a point, add it, correct it, delete another place, and take a place over.
    void wholeStory()
    {
        m->start_mode = 0;
        open(TOKYO_REC + OSAKA_REC, QString(), SAPPORO_PT);
        text1()->setText(SAPPORO);
        click("btntuika");
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + OSAKA_REC + SAPPORO_REC);

        click_row(2);
        text1()->setText(KYOTO);
        set_bars(KYOTO_PT);
        click("btnteisei");
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + OSAKA_REC + KYOTO_REC);

        click_row(0);
        click("btnsakujyo");
        QCOMPARE(read_bytes(list_path()), OSAKA_REC + KYOTO_REC);
        QCOMPARE(names(), (QStringList{OSAKA, KYOTO}));

        click_row(1, true);
        QCOMPARE(m->pt_place, KYOTO);
        QCOMPARE(m->pt, KYOTO_PT);
        QCOMPARE(m->pt_taken, std::int16_t(1));
        QCOMPARE(m->dest_taken, std::int16_t(1));
        QVERIFY(mainw->isVisible());
        QVERIFY(!form->isVisible());
        QVERIFY(messages().isEmpty());
    }
};

QTEST_MAIN(TestForm2)
#include "test_form2.moc"
