// The place-list window on real files in a temporary program directory: listing, adding,
// correcting, deleting, start-up registration, hand-over and leaving, and the refusals
// that keep the files intact. Expected file contents are written out as Shift-JIS bytes.
#include "places/form2.h"
#include "places/version_box.h"
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

#include <memory>

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
const QString IDEO_BLANK = QString(QChar(0x3000));

const Point TOKYO_PT{35, 41, 22, 139, 41, 30};
const Point OSAKA_PT{34, 41, 37, 135, 30, 8};
const Point SAPPORO_PT{43, 4, 0, 141, 21, 0};
const Point SYDNEY_PT{-33, 52, 4, 151, 12, 26};

const QString MSG_ENTER = QString::fromUtf8("地名を入力してください。");
const QString MSG_SAME = QString::fromUtf8("同じ地名があります。再入力してください。");
const QString MSG_LIMIT = QString::fromUtf8("登録数の上限に達しています");

QByteArray rec(const QByteArray& name, const char* values)
{
    return "\"" + name + "\"," + values + "\r\n";
}
const QByteArray TOKYO_REC = rec(SJ_TOKYO, "35,41,22,139,41,30");
const QByteArray OSAKA_REC = rec(SJ_OSAKA, "34,41,37,135,30,8");
const QByteArray SAPPORO_REC = rec(SJ_SAPPORO, "43,4,0,141,21,0");
const QByteArray SETTINGS_TOKYO = rec("places.txt\",\"" + SJ_TOKYO, "35,41,22,139,41,30");

QByteArray read_bytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

bool write_bytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Records "P000" … with distinct points, as the file would hold them.
QByteArray numbered_records(int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += "\"P" + QByteArray::number(i).rightJustified(3, '0') + "\",1,0," + QByteArray::number(i % 60)
            + ",2,0,0\r\n";
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

    // Puts the place-list bytes in place, hands `pt` over as the main window does and shows
    // the window.
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
    QPushButton* button(const char* name) const { return w<QPushButton>(name); }
    QScrollBar* bar(const char* name) const { return w<QScrollBar>(name); }

    QStringList names() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    Point bars() const
    {
        auto v = [this](const char* n) { return static_cast<std::int16_t>(bar(n)->value()); };
        return Point{v("ido_do"), v("ido_hun"), v("ido_byo"), v("kei_do"), v("kei_hun"), v("kei_byo")};
    }
    QStringList labels() const
    {
        QStringList out;
        for (const char* n : {"lbido_do", "lbido_hun", "lbido_byo", "lbkei_do", "lbkei_hun", "lbkei_byo"})
            out << w<QLabel>(n)->text();
        return out;
    }
    void set_bars(const Point& p)
    {
        bar("ido_do")->setValue(p.ido_do);
        bar("ido_hun")->setValue(p.ido_hun);
        bar("ido_byo")->setValue(p.ido_byo);
        bar("kei_do")->setValue(p.kei_do);
        bar("kei_hun")->setValue(p.kei_hun);
        bar("kei_byo")->setValue(p.kei_byo);
    }
    void click_row(int row)
    {
        QListWidgetItem* item = list()->item(row);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(item).center());
    }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    // States of btnreturn, btnteisei, btnsakujyo.
    QList<bool> selection_buttons() const
    {
        return {button("btnreturn")->isEnabled(), button("btnteisei")->isEnabled(),
                button("btnsakujyo")->isEnabled()};
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

    void activationShowsTheTransferPointAndTheList()
    {
        // 35 is the bars' design value: the label must be written although the bar keeps it.
        const Point pt{35, 12, 0, -120, 0, 59};
        open(TOKYO_REC + OSAKA_REC, OSAKA, pt);
        QCOMPARE(text1()->text(), OSAKA);
        QCOMPARE(bars(), pt);
        QCOMPARE(labels(), (QStringList{"35", "12", "0", "-120", "0", "59"}));
        QCOMPARE(form->focusWidget(), bar("ido_do"));
        QCOMPARE(m->bk_place, OSAKA);
        QCOMPARE(m->bk, pt);
        QCOMPARE(selection_buttons(), (QList<bool>{false, false, false}));
        QCOMPARE(names(), (QStringList{TOKYO, OSAKA}));
        QCOMPARE(m->places.place_last, std::int16_t(1));
        QVERIFY(messages().isEmpty());
    }

    void unknownRuleAtActivation_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<Point>("point");
        QTest::addColumn<QString>("shown");
        QTest::newRow("start-up name at the start-up point") << TOKYO << TOKYO_PT << TOKYO;
        QTest::newRow("start-up name, seconds moved") << TOKYO << Point{35, 41, 23, 139, 41, 30} << UNKNOWN;
        QTest::newRow("start-up name, longitude moved") << TOKYO << Point{35, 41, 22, 139, 41, 31} << UNKNOWN;
        QTest::newRow("other name, other point") << OSAKA << TOKYO_PT << OSAKA;
    }
    void unknownRuleAtActivation()
    {
        QFETCH(QString, place);
        QFETCH(Point, point);
        QFETCH(QString, shown);
        open(TOKYO_REC, place, point);
        QCOMPARE(text1()->text(), shown);
        // The backup keeps the transfer name, so leaving restores it, not "不明".
        QCOMPARE(m->bk_place, place);
        m->pt_taken = 0;
        m->dest_taken = 0;
        set_bars(SYDNEY_PT);
        click("btncan");
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
        QCOMPARE(labels(), (QStringList{"35", "41", "22", "139", "41", "30"}));
        QCOMPARE(selection_buttons(), (QList<bool>{true, true, true}));
        QTest::keyClick(list(), Qt::Key_Down);
        QCOMPARE(text1()->text(), OSAKA);
        QCOMPARE(bars(), OSAKA_PT);
        QTest::keyClick(list(), Qt::Key_Down);
        QCOMPARE(text1()->text(), SAPPORO);
        QCOMPARE(labels(), (QStringList{"43", "4", "0", "141", "21", "0"}));
    }

    void addingWritesTheFileAtOnce()
    {
        QFile::remove(list_path());
        reopen(SAPPORO, SAPPORO_PT);
        QCOMPARE(names(), QStringList{});
        QCOMPARE(m->places.place_last, std::int16_t(-1));
        click("btntuika");
        QCOMPARE(read_bytes(list_path()), SAPPORO_REC);

        // Blanks around the name (ASCII and ideographic) are not stored; south and west
        // values are written with their minus sign.
        text1()->setText(IDEO_BLANK + " " + NAGOYA + IDEO_BLANK + "  ");
        set_bars(Point{-35, 10, 5, -136, 54, 59});
        click("btntuika");
        QCOMPARE(read_bytes(list_path()), SAPPORO_REC + rec(SJ_NAGOYA, "-35,10,5,-136,54,59"));
        QCOMPARE(names(), (QStringList{SAPPORO, NAGOYA}));
        QCOMPARE(m->places.place_last, std::int16_t(1));
        // Text box, bars and buttons stay as they were; nothing is confirmed.
        QCOMPARE(text1()->text(), IDEO_BLANK + " " + NAGOYA + IDEO_BLANK + "  ");
        QCOMPARE(bars(), (Point{-35, 10, 5, -136, 54, 59}));
        QCOMPARE(selection_buttons(), (QList<bool>{false, false, false}));
        QVERIFY(messages().isEmpty());

        // The comparison is exact: another letter case is another name.
        text1()->setText("Kobe");
        click("btntuika");
        text1()->setText("kobe");
        click("btntuika");
        QCOMPARE(read_bytes(list_path()),
                 SAPPORO_REC + rec(SJ_NAGOYA, "-35,10,5,-136,54,59") + rec("Kobe", "-35,10,5,-136,54,59")
                     + rec("kobe", "-35,10,5,-136,54,59"));
        QVERIFY(messages().isEmpty());
    }

    void addingRefusesNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("duplicate") << TOKYO << MSG_SAME;
        QTest::newRow("duplicate with blanks") << IDEO_BLANK + TOKYO + "  " << MSG_SAME;
        QTest::newRow("empty") << QString() << MSG_ENTER;
        QTest::newRow("ASCII blanks only") << QStringLiteral("   ") << MSG_ENTER;
        QTest::newRow("ideographic blanks only") << IDEO_BLANK + IDEO_BLANK << MSG_ENTER;
        QTest::newRow("unknown") << UNKNOWN << MSG_ENTER;
        QTest::newRow("unknown with blanks") << " " + UNKNOWN + IDEO_BLANK << MSG_ENTER;
        QTest::newRow("double quote") << QStringLiteral("a\"b")
                                      << QString::fromUtf8("地名に「\"」（二重引用符）は使えません。");
        QTest::newRow("line break") << QStringLiteral("a\nb") << QString::fromUtf8("地名に改行は使えません。");
        QTest::newRow("outside code page 932") << QString::fromUtf8("A\u301CB")
                                               << QString::fromUtf8("地名に Shift-JIS で表せない文字が含まれています。");
    }
    void addingRefusesNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        open(TOKYO_REC + OSAKA_REC);
        bar("kei_byo")->setFocus();
        text1()->setText(typed);
        click("btntuika");
        QCOMPARE(messages(), QStringList{message});
        QCOMPARE(dialogs.calls[0].title, QStringLiteral("Orvine"));
        QCOMPARE(form->focusWidget(), text1());
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + OSAKA_REC);
        QCOMPARE(names(), (QStringList{TOKYO, OSAKA}));
        QCOMPARE(m->places.place_last, std::int16_t(1));
    }

    void addingStopsAt101Places()
    {
        open(numbered_records(100));
        QCOMPARE(m->places.place_last, std::int16_t(99));
        text1()->setText("P100");
        set_bars(SAPPORO_PT);
        click("btntuika");
        QVERIFY(messages().isEmpty());
        const QByteArray full = numbered_records(100) + rec("P100", "43,4,0,141,21,0");
        QCOMPARE(read_bytes(list_path()), full);
        QCOMPARE(list()->count(), 101);
        QCOMPARE(m->places.place_last, std::int16_t(100));

        // The limit is checked before the name: even an empty name gets the limit message.
        for (const QString& typed : {QStringLiteral("P101"), QString()}) {
            dialogs.clear();
            text1()->setText(typed);
            click("btntuika");
            QCOMPARE(messages(), QStringList{MSG_LIMIT});
            QCOMPARE(form->focusWidget(), text1());
            QCOMPARE(read_bytes(list_path()), full);
            QCOMPARE(list()->count(), 101);
        }

        // Reopened, the full file is listed whole.
        click("btncan");
        dialogs.clear();
        reopen();
        QCOMPARE(list()->count(), 101);
        QCOMPARE(list()->item(100)->text(), QStringLiteral("P100"));
        QVERIFY(messages().isEmpty());
    }

    void correctingReplacesTheSelectedPlace()
    {
        open(TOKYO_REC + OSAKA_REC + SAPPORO_REC);
        click_row(1);
        text1()->setText("  " + NAGOYA + IDEO_BLANK);
        set_bars(Point{35, 10, 0, 136, 54, 0});
        click("btnteisei");
        QVERIFY(messages().isEmpty());
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + rec(SJ_NAGOYA, "35,10,0,136,54,0") + SAPPORO_REC);
        QCOMPARE(names(), (QStringList{TOKYO, NAGOYA, SAPPORO}));
        QVERIFY(list()->selectedItems().isEmpty());
        QCOMPARE(m->places.rows[1].name, NAGOYA);
        QCOMPARE(selection_buttons(), (QList<bool>{false, false, false}));

        // Another registered name is allowed: both entries then carry it.
        click_row(2);
        text1()->setText(TOKYO);
        click("btnteisei");
        QVERIFY(messages().isEmpty());
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + rec(SJ_NAGOYA, "35,10,0,136,54,0") + rec(SJ_TOKYO, "43,4,0,141,21,0"));
        QCOMPARE(names(), (QStringList{TOKYO, NAGOYA, TOKYO}));
    }

    void correctingRefusesWhatAnAdditionRefuses_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString() << MSG_ENTER;
        QTest::newRow("blanks only") << " " + IDEO_BLANK << MSG_ENTER;
        QTest::newRow("unknown") << IDEO_BLANK + UNKNOWN << MSG_ENTER;
        QTest::newRow("double quote") << QStringLiteral("\"x")
                                      << QString::fromUtf8("地名に「\"」（二重引用符）は使えません。");
    }
    void correctingRefusesWhatAnAdditionRefuses()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        open(TOKYO_REC + OSAKA_REC);
        click_row(0);
        text1()->setText(typed);
        click("btnteisei");
        QCOMPARE(messages(), QStringList{message});
        QCOMPARE(form->focusWidget(), text1());
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + OSAKA_REC);
        QCOMPARE(names(), (QStringList{TOKYO, OSAKA}));
        QCOMPARE(m->places.rows[0].name, TOKYO);
        QCOMPARE(selection_buttons(), (QList<bool>{true, true, true}));
    }

    void deletingRewritesAndShowsTheFirstPlace()
    {
        open(TOKYO_REC + OSAKA_REC + SAPPORO_REC, KYOTO, SYDNEY_PT);
        click_row(1);
        click("btnsakujyo");
        QVERIFY(messages().isEmpty());
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + SAPPORO_REC);
        QCOMPARE(names(), (QStringList{TOKYO, SAPPORO}));
        QVERIFY(list()->selectedItems().isEmpty());
        QCOMPARE(m->places.place_last, std::int16_t(1));
        QCOMPARE(text1()->text(), TOKYO);
        QCOMPARE(bars(), TOKYO_PT);
        QCOMPARE(labels(), (QStringList{"35", "41", "22", "139", "41", "30"}));
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
        QCOMPARE(m->places.place_last, std::int16_t(1));
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
        QCOMPARE(labels(), (QStringList{"0", "0", "0", "0", "0", "0"}));
    }

    void startUpRegistration()
    {
        open(TOKYO_REC);
        text1()->setText(IDEO_BLANK + KYOTO + " ");
        set_bars(Point{35, 0, 41, 135, 46, 5});

        // Cancel: nothing changes.
        dialogs.answers = {false};
        click("Command4");
        QCOMPARE(dialogs.calls.size(), std::size_t(1));
        QCOMPARE(dialogs.calls[0].kind, DialogCall::Kind::Confirm);
        QCOMPARE(dialogs.calls[0].text, QString::fromUtf8("初期設定を  京都  に変更します。\r\r                よろしいですか？"));
        QCOMPARE(dialogs.calls[0].title, QString::fromUtf8("初期設定変更"));
        QCOMPARE(read_bytes(settings_path()), SETTINGS_TOKYO);
        QCOMPARE(m->init_place, TOKYO);
        QCOMPARE(m->init, TOKYO_PT);

        // OK: the settings file keeps the list name and gets the trimmed name and the bars.
        dialogs.answers = {true};
        click("Command4");
        QCOMPARE(read_bytes(settings_path()), rec("places.txt\",\"" + SJ_KYOTO, "35,0,41,135,46,5"));
        QCOMPARE(m->init_place, KYOTO);
        QCOMPARE(m->init, (Point{35, 0, 41, 135, 46, 5}));
        // The list and the window stay as they were.
        QCOMPARE(read_bytes(list_path()), TOKYO_REC);
        QCOMPARE(names(), QStringList{TOKYO});
        QVERIFY(form->isVisible());
    }

    void startUpRegistrationRefusesNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString enter = QString::fromUtf8("地名を入力してください");
        QTest::newRow("empty") << QString() << enter;
        QTest::newRow("blanks") << "  " + IDEO_BLANK << enter;
        QTest::newRow("unknown") << UNKNOWN + " " << enter;
        QTest::newRow("line break") << QStringLiteral("a\rb") << QString::fromUtf8("地名に改行は使えません。");
    }
    void startUpRegistrationRefusesNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        open(TOKYO_REC);
        text1()->setText(typed);
        bar("kei_do")->setFocus();
        button("Command4")->click(); // a mouse click would move the focus itself
        QCOMPARE(messages(), QStringList{message});
        QCOMPARE(dialogs.calls[0].kind, DialogCall::Kind::Message);
        QCOMPARE(form->focusWidget(), bar("kei_do"));
        QCOMPARE(read_bytes(settings_path()), SETTINGS_TOKYO);
        QCOMPARE(m->init_place, TOKYO);
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
        if (double_click) {
            QListWidgetItem* item = list()->item(1);
            const QPoint at = list()->visualItemRect(item).center();
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
        } else {
            click_row(1);
            click("btnreturn");
        }
        QCOMPARE(m->pt_place, OSAKA);
        QCOMPARE(m->pt, OSAKA_PT);
        QCOMPARE(m->pt_taken, std::int16_t(1));
        QCOMPARE(m->dest_taken, std::int16_t(start_mode == 0 ? 1 : 0));
        // Module1 was complete when the main window was shown.
        QCOMPARE(mainw->shows, 1);
        QCOMPARE(mainw->pt_taken_at_show, std::int16_t(1));
        QCOMPARE(mainw->pt_place_at_show, OSAKA);
        QVERIFY(mainw->isVisible());
        QVERIFY(!form->isVisible());
        QCOMPARE(list()->count(), 0);

        // Shown again, the window starts afresh.
        reopen(OSAKA, OSAKA_PT);
        QCOMPARE(names(), (QStringList{TOKYO, OSAKA}));
        QCOMPARE(selection_buttons(), (QList<bool>{false, false, false}));
    }

    void takingPassesTheNameUntrimmed()
    {
        open(TOKYO_REC, UNKNOWN, SYDNEY_PT);
        text1()->setText(" x" + IDEO_BLANK);
        set_bars(SAPPORO_PT);
        click("btnreturn"); // disabled: nothing happens
        QVERIFY(form->isVisible());
        click_row(0);
        text1()->setText(" x" + IDEO_BLANK);
        click("btnreturn");
        QCOMPARE(m->pt_place, " x" + IDEO_BLANK);
        QCOMPARE(m->pt, TOKYO_PT);
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
    void listNotReadWholeIsShownButNotRewritten_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("opening");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("letters in a number") << TOKYO_REC + rec(SJ_OSAKA, "34,4x,37,135,30,8") + SAPPORO_REC
                                             << QString::fromUtf8("の第2レコード、第3項目「緯度（分）」が整数ではありません。")
                                             << QStringList{TOKYO};
        QTest::newRow("cut short") << TOKYO_REC + QByteArray("\"x\",1,2") << QString::fromUtf8("の第2レコードが途中で切れています")
                                   << QStringList{TOKYO};
        QTest::newRow("102 records") << numbered_records(102) << QString::fromUtf8("101件を超える")
                                     << QStringList{};
        QTest::newRow("records after an empty name")
            << TOKYO_REC + rec("", "0,0,0,0,0,0") + OSAKA_REC
            << QString::fromUtf8("の第2レコードは地名が空のため") << QStringList{TOKYO};
    }
    void listNotReadWholeIsShownButNotRewritten()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, opening);
        QFETCH(QStringList, shown);
        open(bytes);
        QCOMPARE(messages().size(), 1);
        const QString path = QDir::toNativeSeparators(list_path());
        QVERIFY2(messages()[0].contains(path), qPrintable(messages()[0]));
        QVERIFY2(messages()[0].contains(opening), qPrintable(messages()[0]));
        if (!shown.isEmpty())
            QCOMPARE(names(), shown);
        else
            QCOMPARE(list()->count(), 101);

        const QString refusal = QString::fromUtf8("追加登録・訂正登録・削除はできません");
        text1()->setText(KYOTO);
        click("btntuika");
        click_row(0);
        text1()->setText(KYOTO);
        click("btnteisei");
        click("btnsakujyo");
        QCOMPARE(messages().size(), 4);
        for (int i = 1; i < 4; ++i) {
            QVERIFY2(messages()[i].contains(path), qPrintable(messages()[i]));
            QVERIFY2(messages()[i].contains(refusal), qPrintable(messages()[i]));
        }
        QCOMPARE(read_bytes(list_path()), bytes);
        QCOMPARE(list()->count(), shown.isEmpty() ? 101 : shown.size());

        // The start-up point lives in the other file and may still be registered.
        dialogs.answers = {true};
        click("Command4");
        QCOMPARE(m->init_place, KYOTO);
    }

    void failedWritesChangeNothing()
    {
        // A file name so long that the temporary file beside it cannot be created: the
        // file itself reads fine, but no rewrite of it can succeed.
        m->list_file = QString(250, QLatin1Char('p'));
        open(TOKYO_REC + OSAKA_REC, KYOTO, SYDNEY_PT);
        QVERIFY(messages().isEmpty());
        const QString failed = QString::fromUtf8("に書き込めませんでした。ファイルは元のままです。");
        const QString path = QDir::toNativeSeparators(list_path());

        click("btntuika");
        click_row(1);
        text1()->setText(NAGOYA);
        click("btnteisei");
        click("btnsakujyo");
        QCOMPARE(messages().size(), 3);
        for (const QString& text : messages()) {
            QVERIFY2(text.contains(path) && text.contains(failed), qPrintable(text));
        }
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + OSAKA_REC);
        QCOMPARE(names(), (QStringList{TOKYO, OSAKA}));
        QCOMPARE(m->places.place_last, std::int16_t(1));
        QCOMPARE(m->places.rows[1].name, OSAKA);
        QCOMPARE(m->places.rows[1].point, OSAKA_PT);
        QVERIFY(m->places.rows[2].name.isEmpty());
        QCOMPARE(list()->selectedItems().size(), 1);
        QCOMPARE(selection_buttons(), (QList<bool>{true, true, true}));
    }

    void failedSettingsWriteChangesNothing()
    {
        open(TOKYO_REC);
        QVERIFY(QFile::remove(settings_path()));
        QVERIFY(QDir(dir->path()).mkpath("vantorff.ini/inner"));
        text1()->setText(KYOTO);
        dialogs.answers = {true};
        click("Command4");
        QCOMPARE(messages().size(), 2);
        QVERIFY2(messages()[1].contains(QDir::toNativeSeparators(settings_path())), qPrintable(messages()[1]));
        QVERIFY(QFileInfo(settings_path()).isDir());
        QCOMPARE(m->init_place, TOKYO);
        QCOMPARE(m->init, TOKYO_PT);
    }

    void versionBoxFromBothWindows()
    {
        // Independent of the code: the lines of the box, byte by byte.
        const QString first = QStringLiteral("        Orvine  Ver.  3.4.46\r\r\n");
        const QString credit = QString::fromUtf8("Orvine 開発チーム\r\r\n");
        const QString main_text = first + credit + QStringLiteral("       E-mail: orvine@example.org\r\n")
            + QString::fromUtf8("  \u3000\u3000 https://orvine.example.org/");
        const QString list_text = first + credit + QString::fromUtf8("       \u3000E-mail: orvine@example.org\r\n")
            + QString::fromUtf8("  \u3000\u3000\u3000https://orvine.example.org/");
        QCOMPARE(version_text(VersionBoxFrom::MainWindow), main_text);
        QCOMPARE(version_text(VersionBoxFrom::PlaceList), list_text);

        SilentSound order_sound;
        OrderDialogs order(order_sound);
        show_version_box(order, order_sound, VersionBoxFrom::MainWindow);
        QCOMPARE(order.texts(), QStringList{main_text});
        QCOMPARE(order.calls[0].title, QString::fromUtf8("バージョン情報"));
        QVERIFY(order.plays_at_message == std::vector<int>{0});
        QCOMPARE(order_sound.plays, 1);

        // From the place-list window's menu, which stays as it was.
        open(TOKYO_REC);
        w<QAction>("mnuver2")->trigger();
        QCOMPARE(messages(), QStringList{list_text});
        QCOMPARE(dialogs.calls[0].title, QString::fromUtf8("バージョン情報"));
        QCOMPARE(sound.plays, 1);
        QVERIFY(form->isVisible());
        QCOMPARE(m->pt_taken, std::int16_t(0));
    }

    // Open with a point, add it, select it, correct it, delete it, and take a place over.
    void wholeStory()
    {
        m->start_mode = 0;
        open(TOKYO_REC + OSAKA_REC, QString(), SAPPORO_PT);
        QCOMPARE(text1()->text(), QString());
        text1()->setText(SAPPORO);
        click("btntuika");
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + OSAKA_REC + SAPPORO_REC);

        click_row(2);
        QCOMPARE(text1()->text(), SAPPORO);
        text1()->setText(KYOTO);
        set_bars(Point{35, 0, 41, 135, 46, 5});
        click("btnteisei");
        const QByteArray kyoto = rec(SJ_KYOTO, "35,0,41,135,46,5");
        QCOMPARE(read_bytes(list_path()), TOKYO_REC + OSAKA_REC + kyoto);

        click_row(0);
        click("btnsakujyo");
        QCOMPARE(read_bytes(list_path()), OSAKA_REC + kyoto);
        QCOMPARE(names(), (QStringList{OSAKA, KYOTO}));

        const QPoint at = list()->visualItemRect(list()->item(1)).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(m->pt_place, KYOTO);
        QCOMPARE(m->pt, (Point{35, 0, 41, 135, 46, 5}));
        QCOMPARE(m->pt_taken, std::int16_t(1));
        QCOMPARE(m->dest_taken, std::int16_t(1));
        QVERIFY(mainw->isVisible());
        QVERIFY(!form->isVisible());
        QVERIFY(messages().isEmpty());
    }
};

QTEST_MAIN(TestForm2)
#include "test_form2.moc"
