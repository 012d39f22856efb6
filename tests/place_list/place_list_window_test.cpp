// The place-list window on real files in a temporary program directory; expected file
// contents are encoded in code page 932, as the program writes them.
#include "place_list/place_list_window.h"
#include "controls/dms_bars.h"
#include "files/settings_file.h"
#include "support/fake_dialogs.h"
#include "resources/window_builder.h"
#include "shared_state/shared_state.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

#include "support/test_files.h"

using namespace orvine;
using orvine::test::read_bytes;
using namespace Qt::StringLiterals;

namespace {

const Point TOKYO_PT{35, 41, 22, 139, 41, 30};
const Point OSAKA_PT{34, 41, 37, 135, 30, 8};
const QString IDEO = u"\u3000"_s;
const QString NO_REWRITE = u"ファイルの内容を失わないため、追加登録・訂正登録・削除はできません。ファイルを直してから地名リストを開き直してください。"_s;
const QString NOT_WRITTEN = u"%1「%2」に書き込めませんでした。ファイルは元のままです。\r\n（書き込みに失敗しました：ファイルの大きさの上限を超えます）"_s;
const QString NOT_CHANGED = u"%1「%2」は、読み込んだ後に別の Orvine かほかのプログラムで変更されています。\r\n変更を失わないため今の操作は行わず、ファイルを読み込み直します。"_s;

QString numbers(const Point& p) { return u"%1,%2,%3,%4,%5,%6"_s.arg(p.latitude.degrees).arg(p.latitude.minutes).arg(p.latitude.seconds).arg(p.longitude.degrees).arg(p.longitude.minutes).arg(p.longitude.seconds); }
QString named(const QString& place, const Point& p) { return place + " " + numbers(p); }
QString asking(const QString& name) { return "初期設定を  " + name + "  に変更します。\r\r                よろしいですか？"; }

// One record of either file in code page 932, the encoding both files use.
QByteArray rec(const QString& name, const Point& p) { return QStringEncoder("windows-31j").encode("\"" + name + "\"," + numbers(p) + "\r\n"); }
QByteArray settings_rec(const QString& name, const Point& p) { return rec("places.txt\",\"" + name, p); }
const QByteArray TOKYO_REC = rec(u"東京"_s, TOKYO_PT);
const QByteArray OSAKA_REC = rec(u"大阪"_s, OSAKA_PT);
const QByteArray SETTINGS_TOKYO = settings_rec(u"東京"_s, TOKYO_PT);

bool write_bytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Records "P000" … with distinct points; "P001" is at 1°0′1″ N 2°0′0″ E.
QByteArray numbered_records(int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += "\"P" + QByteArray::number(i).rightJustified(3, '0') + "\",1,0," + QByteArray::number(i % 60) + ",2,0,0\r\n";
    return out;
}

// An action on a typed name in a list file; `opening`: the box a list not read whole gets.
struct Refusal {
    QByteArray bytes;
    QString opening, action, typed, message;
};

} // namespace

class TestForm2 : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<SharedState> m;
    std::unique_ptr<QMainWindow> mainw; // stands in for the main window
    FakeDialogs dialogs;
    SilentSound sound;
    QPointer<PlaceListWindow> form;

    QString list_path() const { return dir->path() + "/places.txt"; }
    QString settings_path() const { return dir->path() + "/vantorff.ini"; }

    // Writes the list, hands `pt` over as the main window does, shows the window.
    void open(const QByteArray& list_bytes, const QString& pt_place = u"東京"_s, const Point& pt = TOKYO_PT)
    {
        QVERIFY(write_bytes(list_path(), list_bytes));
        m->transfer_name = pt_place;
        m->transfer_point = pt;
        if (!form)
            form = new PlaceListWindow(*m, dialogs, sound, *mainw);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
    }

    template <class T>
    T* w(const char* name) const { return control<T>(form.data(), name); }
    QListWidget* list() const { return w<QListWidget>("List1"); }
    QLineEdit* text1() const { return w<QLineEdit>("Text1"); }
    QPoint row_centre(int row) const { return list()->visualItemRect(list()->item(row)).center(); }
    void click_row(int row) { QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row_centre(row)); }
    void click(const char* name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    // What the user sees: the name box | the bars (value/echo where the echo differs) |
    // the list, the selected name marked | the enabled 地点決定, 訂正登録, 削除 | the focus.
    QString screen() const
    {
        QStringList bars, names, on;
        for (const char* name : DmsBars::NAMES) {
            const QString value = QString::number(w<QScrollBar>(name)->value());
            const QString echo = w<QLabel>(qPrintable(QStringLiteral("lb") + name))->text();
            bars << (echo == value ? value : value + '/' + echo);
        }
        for (int i = 0; i < list()->count(); ++i)
            names << (list()->item(i)->isSelected() ? "*" : "") + list()->item(i)->text();
        for (const char* b : {"btnreturn", "btnteisei", "btnsakujyo"})
            if (w<QPushButton>(b)->isEnabled())
                on << b;
        const QString focus = form->focusWidget() ? form->focusWidget()->objectName() : "-";
        return QStringList{text1()->text(), bars.join(','), names.join(','), on.join(','), focus}.join(" | ");
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        m = std::make_unique<SharedState>();
        m->files_folder = dir->path();
        m->list_file = u"places.txt"_s;
        m->start_name = u"東京"_s;
        m->start_point = TOKYO_PT;
        QVERIFY(write_bytes(settings_path(), SETTINGS_TOKYO));
        m->settings_stamp = load_settings(dir->path()).stamp;
        mainw = std::make_unique<QMainWindow>();
        dialogs.clear();
        sound.plays = 0;
    }
    void cleanup() { delete form; }

    // Rounds of hand-over: the point given (a moved start-up point is "不明"), then back to the
    // main window by taking a place or by leaving without a choice, which restores the point.
    // The first two rounds run on a new window (35 is the bars' design value: the label must
    // be written although the bar keeps it), the rest show it afresh. Then, after a deletion
    // 訂正登録 stays enabled but changes nothing; the last deletion leaves an empty name at 0°.
    // Last, the version box of this window, with its own indents.
    void story()
    {
        QString pt_place_at_main_show;
        const QObject watching; // ends the watch with this test
        mainw->winId();
        connect(mainw->windowHandle(), &QWindow::visibleChanged, &watching, [&] { pt_place_at_main_show = m->transfer_name; });
        // The name and point handed over, the name box shown, the way back and its gesture, start_mode.
        const std::tuple<QString, Point, QString, QString, std::function<void()>, int> rounds[] = {
            {u"大阪"_s, {35, 12, 0, -120, 0, 59}, u"大阪"_s, "close", [&] { form->close(); }, 0},
            {u"東京"_s, TOKYO_PT, u"東京"_s, "btncan", [&] { click("btncan"); }, 1},
            {u"東京"_s, {35, 41, 23, 139, 41, 30}, u"不明"_s, "escape", [&] { QTest::keyClick(text1(), Qt::Key_Escape); }, 0},
            {u"東京"_s, {35, 41, 22, 139, 41, 31}, u"不明"_s, "mnucancel", [&] { w<QAction>("mnucancel")->trigger(); }, 1},
            {u"京都"_s, TOKYO_PT, u"京都"_s, "btnreturn", [&] { click("btnreturn"); }, 1},
            {u"京都"_s, TOKYO_PT, u"京都"_s, "double click", [&] { QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, row_centre(1)); }, 0},
        };
        for (const auto& [place, point, shown, way, leave, start_mode] : rounds) {
            m->entering_departure = static_cast<std::int16_t>(start_mode);
            m->point_handed_over = m->destination_handed_over = false;
            mainw->hide();
            pt_place_at_main_show.clear();
            open(TOKYO_REC + OSAKA_REC, place, point);
            QCOMPARE(way + ": " + screen(), way + ": " + QStringList({shown, numbers(point), u"東京,大阪"_s, "", "ido_do"}).join(" | "));

            // A click on a place shows it; 地点決定 takes the name box as it stands, blanks and all.
            const bool taking = way == "btnreturn" || way == "double click";
            const QString taken = way == "btnreturn" ? " 大阪" + IDEO : u"大阪"_s;
            click_row(1);
            text1()->setText(taken);
            leave();
            QCOMPARE(named(m->transfer_name, m->transfer_point), taking ? named(taken, OSAKA_PT) : named(place, point));
            QCOMPARE(std::pair(int(m->point_handed_over), int(m->destination_handed_over)), std::pair(int(taking), int(taking && start_mode == 0)));
            QCOMPARE(pt_place_at_main_show, m->transfer_name); // SharedState was complete when the main window was shown
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(way == "close" ? form.isNull() : form && !form->isVisible()); // every other way keeps it for next time
        }

        open(TOKYO_REC + OSAKA_REC);
        click_row(0);
        click("btnsakujyo");
        text1()->setText(u"京都"_s);
        click("btnteisei"); // with nothing chosen: no box, nothing written
        QCOMPARE(read_bytes(list_path()), OSAKA_REC);
        click_row(0);
        click("btnsakujyo");
        QCOMPARE(screen(), u" | 0,0,0,0,0,0 |  | btnreturn,btnteisei | btnteisei"_s);

        w<QAction>("mnuver2")->trigger();
        QCOMPARE(dialogs.texts(), QStringList{u"        Orvine  Ver.  3.4.46\r\r\nOrvine 開発チーム\r\r\n       \u3000E-mail: orvine@example.org\r\n  \u3000\u3000\u3000https://orvine.example.org/"_s});
        QCOMPARE(sound.plays, 1);
    }

    // Every refusal: a name the file cannot take, the limit of 101 places, or a list that was
    // not read whole (shown as far as it was read, and never rewritten; the start-up point
    // lives in the other file and may still be registered). One box, and neither file nor the
    // window changes, except that a name to be mended gets the focus. %1 is the list's path.
    void refusals_data()
    {
        QTest::addColumn<Refusal>("r");
        const QByteArray two = TOKYO_REC + OSAKA_REC;
        const QString add = "btntuika", correct = "btnteisei", startup = "Command4";
        const QString enter = u"地名を入力してください。"_s, kyoto = u"京都"_s;
        QTest::newRow("add duplicate with blanks") << Refusal{two, {}, add, IDEO + "東京  ", u"同じ地名があります。再入力してください。"_s};
        QTest::newRow("add unknown with blanks") << Refusal{two, {}, add, " 不明" + IDEO, enter};
        QTest::newRow("add outside code page 932") << Refusal{two, {}, add, u"A\u301CB"_s, u"地名に Shift-JIS で表せない文字が含まれています。"_s};
        QTest::newRow("correct line break") << Refusal{two, {}, correct, u"a\nb"_s, u"地名に改行は使えません。"_s};
        QTest::newRow("start-up blanks") << Refusal{two, {}, startup, "  " + IDEO, u"地名を入力してください"_s};
        // The limit comes before the name: even an empty name gets the limit message.
        QTest::newRow("add a 102nd place") << Refusal{numbered_records(101), {}, add, {}, u"登録数の上限に達しています"_s};

        const QByteArray damaged = TOKYO_REC + QByteArray(OSAKA_REC).replace(",41,", ",4x,") + numbered_records(1);
        const QString bad_minute = u"地点一覧ファイル「%1」の第2レコード、第3項目「緯度（分）」が整数ではありません。\r\n"_s;
        const QString opening = bad_minute + u"読み込めた地名だけを表示します。"_s + NO_REWRITE;
        for (const QString& action : {add, correct, u"btnsakujyo"_s})
            QTest::addRow("damaged list, %s", qPrintable(action)) << Refusal{damaged, opening, action, kyoto, bad_minute + NO_REWRITE};
        QTest::newRow("damaged list, start-up point asks") << Refusal{damaged, opening, startup, kyoto, asking(kyoto)};
    }
    void refusals()
    {
        QFETCH(Refusal, r);
        open(r.bytes);
        const auto at_path = [this](QString text) { return text.replace(u"%1"_s, QDir::toNativeSeparators(list_path())); };
        if (!r.opening.isEmpty())
            QCOMPARE(list()->count(), 1); // shown as far as it was read
        dialogs.answers = {false};
        click_row(0);
        text1()->setText(r.typed);
        w<QScrollBar>("kei_do")->setFocus();
        const QString before = screen().section(" | ", 0, -2);
        w<QPushButton>(qPrintable(r.action))->click(); // a mouse click would move the focus itself
        QCOMPARE(dialogs.texts(), (r.opening.isEmpty() ? QStringList() : QStringList{at_path(r.opening)}) << at_path(r.message));
        QCOMPARE(screen(), before + (r.action != "Command4" && r.opening.isEmpty() ? " | Text1" : " | kei_do"));
        QCOMPARE(read_bytes(list_path()), r.bytes);
        QCOMPARE(read_bytes(settings_path()), SETTINGS_TOKYO);
    }

    // Every write of the window, refused on the way: it fails half-way as on a full disk, or
    // another program changed the file since it was read. A message, nothing written; a failed
    // write leaves the window as it was, a changed file is read again. Either way the same
    // action then goes through, up to the 101st place; a deletion then shows the first place.
    void refused_writes_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("fault");
        for (const char* action : {"btntuika", "btnteisei", "btnsakujyo", "Command4"})
            for (const char* fault : {"disk full", "changed elsewhere"})
                QTest::addRow("%s, %s", action, fault) << QString(action) << QString(fault);
    }
    void refused_writes()
    {
        QFETCH(QString, action);
        QFETCH(QString, fault);
        const bool settings = action == "Command4", full = fault == "disk full";
        const QString target = QDir::toNativeSeparators(settings ? settings_path() : list_path());
        const QByteArray places = numbered_records(99); // far beyond the size limit below
        const QByteArray now = full ? (settings ? SETTINGS_TOKYO : places) : settings ? settings_rec(u"大阪"_s, OSAKA_PT) : places + OSAKA_REC;
        open(places);
        if (!full) // another program rewrites the file in place
            QVERIFY(write_bytes(target, now));

        click_row(1);
        text1()->setText(QString(400, u'x'));
        const QString before = screen();
        QPushButton* button = w<QPushButton>(qPrintable(action));
        {
            test::FileSizeLimit limit(full ? 300 : RLIM_INFINITY);
            button->click(); // a mouse click would move the focus
        }
        const QString message = (full ? NOT_WRITTEN : NOT_CHANGED).arg(settings ? u"設定ファイル"_s : u"地点一覧ファイル"_s, target);
        QCOMPARE(dialogs.texts(), (settings ? QStringList{asking(QString(400, u'x'))} : QStringList()) << message);
        QCOMPARE(read_bytes(list_path()), settings ? places : now);
        QCOMPARE(read_bytes(settings_path()), settings ? now : SETTINGS_TOKYO);
        if (full || settings)
            QCOMPARE(screen(), before);
        QCOMPARE(m->places.rows[1].name, u"P001"_s);
        QCOMPARE(named(m->start_name, m->start_point), settings && !full ? named(u"大阪"_s, OSAKA_PT) : named(u"東京"_s, TOKYO_PT));

        // Once more, by the keyboard: down to P001, a name with blanks, Return on the button.
        dialogs.clear();
        click_row(0);
        QTest::keyClick(list(), Qt::Key_Down);
        text1()->setText(" 名古屋" + IDEO);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        const Point p001{1, 0, 1, 2, 0, 0};
        const QByteArray was = rec(u"P001"_s, p001), is = rec(u"名古屋"_s, p001);
        const QByteArray through = action == "btntuika" ? now + is : action == "btnteisei" ? QByteArray(now).replace(was, is)
                                 : action == "btnsakujyo" ? QByteArray(now).replace(was, "") : settings_rec(u"名古屋"_s, p001);
        QCOMPARE(dialogs.texts(), settings ? QStringList{asking(u"名古屋"_s)} : QStringList());
        QCOMPARE(read_bytes(target), through);
        QCOMPARE(named(m->start_name, m->start_point), settings ? named(u"名古屋"_s, p001) : named(u"東京"_s, TOKYO_PT));
        QCOMPARE(text1()->text(), action == "btnsakujyo" ? u"P000"_s : " 名古屋" + IDEO);
    }
};

QTEST_MAIN(TestForm2)
#include "place_list_window_test.moc"
