// The place-list window on real files; expected file contents are in code page 932.
#include "place_list/place_list_window.h"
#include "controls/dms_bars.h"
#include "files/settings_file.h"
#include "support/fake_dialogs.h"
#include "support/test_files.h"
#include "support/window_view.h"
#include "resources/window_builder.h"
#include "shared_state/shared_state.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace orvine;
using orvine::test::read_bytes;
using orvine::test::View;
using orvine::test::write_file;
using namespace Qt::StringLiterals;

namespace {

const Point TOKYO{35, 41, 22, 139, 41, 30};
const Point OSAKA{34, 41, 37, 135, 30, 8};
const Point P001{1, 0, 1, 2, 0, 0};
const QString IDEO = u"\u3000"_s;
const QString NO_REWRITE = u"ファイルの内容を失わないため、追加登録・訂正登録・削除はできません。"
                           u"ファイルを直してから地名リストを開き直してください。"_s;
const QString NOT_WRITTEN = u"%1「%2」に書き込めませんでした。ファイルは元のままです。\r\n"
                            u"（書き込みに失敗しました：ファイルの大きさの上限を超えます）"_s;
const QString NOT_CHANGED = u"%1「%2」は、読み込んだ後に別の Orvine かほかのプログラムで変更されています。\r\n"
                            u"変更を失わないため今の操作は行わず、ファイルを読み込み直します。"_s;

QString numbers(const Point& p)
{
    return u"%1,%2,%3,%4,%5,%6"_s.arg(p.latitude.degrees).arg(p.latitude.minutes).arg(p.latitude.seconds)
        .arg(p.longitude.degrees).arg(p.longitude.minutes).arg(p.longitude.seconds);
}
QString named(const QString& place, const Point& p) { return place + " " + numbers(p); }
QString asking(const QString& name) { return "初期設定を  " + name + "  に変更します。\r\r                よろしいですか？"; }

QByteArray rec(const QString& name, const Point& p)
{
    return QStringEncoder("windows-31j").encode("\"" + name + "\"," + numbers(p) + "\r\n");
}
QByteArray settings_rec(const QString& name, const Point& p) { return rec("places.txt\",\"" + name, p); }
const QByteArray TOKYO_REC = rec(u"東京"_s, TOKYO);
const QByteArray OSAKA_REC = rec(u"大阪"_s, OSAKA);
const QByteArray SETTINGS_TOKYO = settings_rec(u"東京"_s, TOKYO);

QStringList focused(QAccessibleInterface* iface)
{
    QStringList found;
    if (iface->state().focused)
        found << iface->text(QAccessible::Name);
    for (int i = 0; i < iface->childCount(); ++i)
        found << focused(iface->child(i));
    return found;
}

// Records "P000" … with distinct points; "P001" is at 1°0′1″ N 2°0′0″ E.
QByteArray numbered_records(int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += QString::asprintf("\"P%03d\",1,0,%d,2,0,0\r\n", i, i % 60).toLatin1();
    return out;
}

// `opening`: the box a list not read whole gets; `focus`: where the focus ends.
struct Refusal {
    QByteArray bytes;
    QString opening, action, typed, message, focus;
};

} // namespace

class PlaceListWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<SharedState> state;
    std::unique_ptr<QMainWindow> main_window; // stands in for the main window
    FakeDialogs dialogs;
    SilentSound sound;
    QPointer<PlaceListWindow> window;

    QString list_path() const { return QDir::toNativeSeparators(dir->filePath("places.txt")); }
    QString settings_path() const { return QDir::toNativeSeparators(dir->filePath("vantorff.ini")); }

    void open(const QByteArray& list_bytes, const QString& name = u"東京"_s, const Point& point = TOKYO)
    {
        QVERIFY(write_file(list_path(), list_bytes));
        std::tie(state->transfer_name, state->transfer_point) = std::pair(name, point);
        if (!window)
            window = new PlaceListWindow(*state, dialogs, sound, *main_window);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    template <class T>
    T* find(const char* name) const { return control<T>(window.data(), name); }
    QListWidget* place_list() const { return find<QListWidget>("List1"); }
    QLineEdit* name_box() const { return find<QLineEdit>("Text1"); }
    QString start_point() const { return named(state->start_name, state->start_point); }
    QPoint row_centre(int row) const { return place_list()->visualItemRect(place_list()->item(row)).center(); }
    void click_row(int row) { QTest::mouseClick(place_list()->viewport(), Qt::LeftButton, {}, row_centre(row)); }
    void click(const char* name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }
    bool ring() const // the highlight ring just left of the list
    {
        const QImage client = window->centralWidget()->grab().toImage();
        return client.pixelColor((place_list()->geometry().topLeft() + QPoint(-1, 50)) * client.devicePixelRatio())
            == place_list()->palette().color(QPalette::Highlight);
    }
    void leave_by(const QByteArray& way)
    {
        if (way == "close")
            window->close();
        else if (way == "escape")
            QTest::keyClick(name_box(), Qt::Key_Escape);
        else if (way == "mnucancel")
            find<QAction>("mnucancel")->trigger();
        else if (way == "double click")
            QTest::mouseDClick(place_list()->viewport(), Qt::LeftButton, {}, row_centre(1));
        else
            click(way.constData());
    }
    View shown() const
    {
        QStringList bars, names, enabled;
        const DmsBars* on_bars = window->findChild<DmsBars*>();
        for (int i = 0; i < DmsBars::COUNT; ++i) {
            const QString value = QString::number(on_bars->bar(i)->value()), echo = on_bars->label(i)->text();
            bars << (echo == value ? value : value + '/' + echo); // the echo only where it differs
        }
        for (int i = 0; i < place_list()->count(); ++i)
            names << (place_list()->item(i)->isSelected() ? "*" : "") + place_list()->item(i)->text();
        for (const char* b : {"btnreturn", "btnteisei", "btnsakujyo"})
            if (find<QPushButton>(b)->isEnabled())
                enabled << b;
        return View{{"name box", name_box()->text()}, {"bars", bars.join(',')}, {"list", names.join(',')},
                    {"enabled", enabled.join(' ')},
                    {"focus", window->focusWidget() ? window->focusWidget()->objectName() : u"-"_s}};
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        state = std::make_unique<SharedState>();
        state->files_folder = dir->path();
        state->list_file = u"places.txt"_s;
        std::tie(state->start_name, state->start_point) = std::pair(u"東京"_s, TOKYO);
        QVERIFY(write_file(settings_path(), SETTINGS_TOKYO));
        state->settings_stamp = load_settings(dir->path()).stamp;
        main_window = std::make_unique<QMainWindow>();
        dialogs.clear();
        sound.plays = 0;
    }
    void cleanup() { delete window; }

    // The first two rounds run on a new window (35 is the bars' design value: the label must
    // be written although the bar keeps it). Every shared value is written before the main window shows.
    void hand_over_rounds()
    {
        QString name_at_main_show;
        const QObject watching; // ends the watch with this test
        main_window->winId();
        connect(main_window->windowHandle(), &QWindow::visibleChanged, &watching,
                [&] { name_at_main_show = state->transfer_name; });
        // 大阪 is chosen and `typed` into the name box; 地点決定 and the double click take it (`takes`), the other
        // ways leave without a choice.
        const std::tuple<QString, Point, QString, bool, const char*, QString, bool> rounds[] = {
            {u"大阪"_s, {35, 12, 0, -120, 0, 59}, u"大阪"_s, false, "close", u"大阪"_s, false},
            {u"東京"_s, TOKYO, u"東京"_s, true, "btncan", u"大阪"_s, false},
            {u"東京"_s, {35, 41, 23, 139, 41, 30}, u"不明"_s, false, "escape", u"大阪"_s, false},
            {u"東京"_s, {35, 41, 22, 139, 41, 31}, u"不明"_s, true, "mnucancel", u"大阪"_s, false},
            {u"京都"_s, TOKYO, u"京都"_s, true, "btnreturn", " 大阪" + IDEO, true}, // blanks and all
            {u"京都"_s, TOKYO, u"京都"_s, false, "double click", u"大阪"_s, true},
        };
        for (const auto& [given_name, given, shown_name, entering_departure, way, typed, takes] : rounds) {
            state->entering_departure = entering_departure;
            state->point_handed_over = state->destination_handed_over = false;
            main_window->hide();
            name_at_main_show.clear();
            open(TOKYO_REC + OSAKA_REC, given_name, given);
            const View opened{{"name box", shown_name}, {"bars", numbers(given)}, {"list", u"東京,大阪"_s},
                              {"enabled", ""}, {"focus", "ido_do"}};
            if (!QTest::qCompare(shown(), opened, way, "opened", __FILE__, __LINE__))
                return;

            click_row(1);
            name_box()->setText(typed);
            leave_by(way);
            QCOMPARE(named(state->transfer_name, state->transfer_point),
                     takes ? named(typed, OSAKA) : named(given_name, given));
            QCOMPARE(std::pair(state->point_handed_over, state->destination_handed_over),
                     std::pair(takes, takes && !entering_departure));
            QCOMPARE(name_at_main_show, state->transfer_name);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY2(QByteArray(way) == "close" ? window.isNull() : window && !window->isVisible(), way);
        }
        QVERIFY(dialogs.calls.empty());
    }

    void return_key_data()
    {
        QTest::addColumn<QString>("typed"); // into the name box; null: Return on the list
        QTest::addColumn<int>("current");   // the row made current only, after a click on P002
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("taken");
        QTest::newRow("a new name") << u" 京都 "_s << -1 << numbered_records(3) + rec(u"京都"_s, TOKYO) << u"-"_s;
        QTest::newRow("a registered name") << u"P001"_s << -1 << numbered_records(3) << u"-"_s;
        QTest::newRow("only blanks") << IDEO << -1 << numbered_records(3) << u"-"_s;
        QTest::newRow("a chosen place") << QString() << -1 << numbered_records(3) << u"P002 2"_s;
        QTest::newRow("a current place") << QString() << 1 << numbered_records(3) << u"P001 1"_s;
    }
    void return_key()
    {
        QFETCH(QString, typed);
        QFETCH(int, current);
        open(numbered_records(3));
        QWidget* target = typed.isNull() ? static_cast<QWidget*>(place_list()) : name_box();
        name_box()->setText(typed);
        if (typed.isNull())
            click_row(2);
        if (current >= 0)
            place_list()->setCurrentRow(current, QItemSelectionModel::NoUpdate);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QTEST(read_bytes(list_path()), "file");
        QFETCH(QString, taken);
        QVERIFY(dialogs.calls.empty() && window->isVisible() == (taken == "-"));
        const Point& p = state->transfer_point;
        QCOMPARE(state->point_handed_over ? state->transfer_name + ' ' + QString::number(p.latitude.seconds) : u"-"_s,
                 taken);
    }

    // After 訂正登録 the focus leaves the disabled button for the list.
    void one_focus_and_the_corrected_place_in_view()
    {
        open(numbered_records(60));
        QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(window);
        click_row(3);
        QVERIFY(focused(tree) == QStringList({u"登録済み地名リスト"_s, u"P003"_s}) && ring());
        QTest::keyClick(place_list(), Qt::Key_Tab);
        QVERIFY(focused(tree) == QStringList{u"経度（秒）"_s} && !ring());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(focused(tree), QStringList({u"登録済み地名リスト"_s, u"P003"_s}));

        QTest::keyClick(place_list(), Qt::Key_End); // P059 chosen
        place_list()->scrollToTop();
        name_box()->setText(u"名古屋"_s);
        click("btnteisei");
        QListWidgetItem* corrected = place_list()->currentItem();
        QVERIFY(QApplication::focusWidget() == place_list() && corrected && place_list()->row(corrected) == 59
                && !corrected->isSelected() && corrected->text() == u"名古屋"_s
                && place_list()->viewport()->rect().contains(place_list()->visualItemRect(corrected)));
    }

    void deleting_every_place()
    {
        open(TOKYO_REC + OSAKA_REC);
        click_row(0);
        click("btnsakujyo");
        name_box()->setText(u"京都"_s);
        click("btnteisei"); // with nothing chosen: no box, nothing written
        QCOMPARE(read_bytes(list_path()), OSAKA_REC);
        click_row(0);
        click("btnsakujyo");
        QCOMPARE(shown(), View({{"name box", ""}, {"bars", "0,0,0,0,0,0"}, {"list", ""},
                                {"enabled", ""}, {"focus", "Text1"}}));
        QCOMPARE(read_bytes(list_path()), QByteArray());
        QVERIFY(dialogs.calls.empty());
    }

    // This window's version box has its own indents.
    void version_box()
    {
        open(TOKYO_REC);
        find<QAction>("mnuver2")->trigger();
        QCOMPARE(dialogs.texts(), QStringList{u"        Orvine  Ver.  3.4.46\r\r\nOrvine 開発チーム\r\r\n"
                                              u"       \u3000E-mail: orvine@example.org\r\n"
                                              u"  \u3000\u3000\u3000https://orvine.example.org/"_s});
        QCOMPARE(sound.plays, 1);
    }

    // A list not read whole is never rewritten, but the start-up point lives in the other file.
    void refusals_data()
    {
        QTest::addColumn<Refusal>("r");
        const QByteArray two = TOKYO_REC + OSAKA_REC;
        const QString add = "btntuika", correct = "btnteisei", startup = "Command4", mend = "Text1", kept = "kei_do";
        const QString enter = u"地名を入力してください。"_s, kyoto = u"京都"_s;
        QTest::newRow("add duplicate with blanks")
            << Refusal{two, {}, add, IDEO + "東京  ", u"同じ地名があります。再入力してください。"_s, mend};
        QTest::newRow("add unknown with blanks") << Refusal{two, {}, add, " 不明" + IDEO, enter, mend};
        QTest::newRow("add outside code page 932")
            << Refusal{two, {}, add, u"A\u301CB"_s, u"地名に Shift-JIS で表せない文字が含まれています。"_s, mend};
        QTest::newRow("correct line break") << Refusal{two, {}, correct, u"a\nb"_s, u"地名に改行は使えません。"_s, mend};
        QTest::newRow("start-up blanks") << Refusal{two, {}, startup, "  " + IDEO, u"地名を入力してください"_s, kept};
        QTest::newRow("add a 102nd place")
            << Refusal{numbered_records(101), {}, add, {}, u"登録数の上限に達しています"_s, mend};

        const QByteArray damaged = TOKYO_REC + QByteArray(OSAKA_REC).replace(",41,", ",4x,") + numbered_records(1);
        const QString bad_minute = u"地点一覧ファイル「%1」の第2レコード、第3項目「緯度（分）」が整数ではありません。\r\n"_s;
        const QString opening = bad_minute + u"読み込めた地名だけを表示します。"_s + NO_REWRITE;
        for (const QString& action : {add, correct, u"btnsakujyo"_s})
            QTest::addRow("damaged list, %s", qPrintable(action))
                << Refusal{damaged, opening, action, kyoto, bad_minute + NO_REWRITE, kept};
        QTest::newRow("damaged list, start-up point asks")
            << Refusal{damaged, opening, startup, kyoto, asking(kyoto), kept};
    }
    void refusals()
    {
        QFETCH(Refusal, r);
        open(r.bytes);
        const auto at_path = [this](QString text) { return text.replace(u"%1"_s, list_path()); };
        QStringList boxes;
        if (!r.opening.isEmpty()) {
            QCOMPARE(place_list()->count(), 1); // shown as far as it was read
            boxes << at_path(r.opening);
        }
        dialogs.answers = {false};
        click_row(0);
        name_box()->setText(r.typed);
        find<QScrollBar>("kei_do")->setFocus();
        View unchanged = shown();
        find<QPushButton>(qPrintable(r.action))->click(); // a mouse click would move the focus itself
        QCOMPARE(dialogs.texts(), boxes << at_path(r.message));
        QCOMPARE(shown(), unchanged.set({{"focus", r.focus}}));
        QCOMPARE(read_bytes(list_path()), r.bytes);
        QCOMPARE(read_bytes(settings_path()), SETTINGS_TOKYO);
    }

    // A failed write leaves the window as it was, a changed file is read again; a retry then goes through.
    void refused_writes_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("disk_full");
        QTest::addColumn<QByteArray>("file_then"); // the file the action writes, when it is tried
        QTest::addColumn<QByteArray>("file_after"); // the same file once the action went through
        const QByteArray places = numbered_records(99); // far beyond the size limit below
        const QByteArray was = rec(u"P001"_s, P001), is = rec(u"名古屋"_s, P001);
        for (const bool full : {true, false}) {
            const char* fault = full ? "disk full" : "changed elsewhere";
            const QByteArray list = full ? places : places + OSAKA_REC;
            const QByteArray settings = full ? SETTINGS_TOKYO : settings_rec(u"大阪"_s, OSAKA);
            QTest::addRow("add, %s", fault) << u"btntuika"_s << full << list << list + is;
            QTest::addRow("correct, %s", fault) << u"btnteisei"_s << full << list << QByteArray(list).replace(was, is);
            QTest::addRow("delete, %s", fault) << u"btnsakujyo"_s << full << list << QByteArray(list).replace(was, "");
            QTest::addRow("start-up point, %s", fault)
                << u"Command4"_s << full << settings << settings_rec(u"名古屋"_s, P001);
        }
    }
    void refused_writes()
    {
        QFETCH(QString, action);
        QFETCH(bool, disk_full);
        QFETCH(QByteArray, file_then);
        QFETCH(QByteArray, file_after);
        const bool settings = action == "Command4";
        const QString target = settings ? settings_path() : list_path();
        const QString other = settings ? list_path() : settings_path();
        open(numbered_records(99));
        const QByteArray other_bytes = read_bytes(other);
        QVERIFY(write_file(target, file_then));

        click_row(1);
        name_box()->setText(QString(400, u'x'));
        const View before = shown();
        QPushButton* button = find<QPushButton>(qPrintable(action));
        {
            test::FileSizeLimit limit(disk_full ? 300 : RLIM_INFINITY);
            button->click(); // a mouse click would move the focus
        }
        const QString file = settings ? u"設定ファイル"_s : u"地点一覧ファイル"_s;
        QStringList boxes = settings ? QStringList{asking(QString(400, u'x'))} : QStringList();
        QCOMPARE(dialogs.texts(), boxes << (disk_full ? NOT_WRITTEN : NOT_CHANGED).arg(file, target));
        QCOMPARE(read_bytes(target), file_then);
        QCOMPARE(read_bytes(other), other_bytes);
        if (disk_full || settings)
            QCOMPARE(shown(), before);
        QCOMPARE(state->places.rows[1].name, u"P001"_s);
        QCOMPARE(start_point(), settings && !disk_full ? named(u"大阪"_s, OSAKA) : named(u"東京"_s, TOKYO)); // as read

        dialogs.clear();
        click_row(0);
        QTest::keyClick(place_list(), Qt::Key_Down);
        name_box()->setText(" 名古屋" + IDEO);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        QCOMPARE(dialogs.texts(), settings ? QStringList{asking(u"名古屋"_s)} : QStringList());
        QCOMPARE(read_bytes(target), file_after);
        QCOMPARE(place_list()->count(), state->places.place_last + 1); // the list shows the table as written
        for (int i = 0; i <= state->places.place_last; ++i)
            QCOMPARE(place_list()->item(i)->text(), state->places.rows[i].name);
        QCOMPARE(start_point(), settings ? named(u"名古屋"_s, P001) : named(u"東京"_s, TOKYO));
        QCOMPARE(name_box()->text(), action == "btnsakujyo" ? u"P000"_s : " 名古屋" + IDEO);
    }

    // The settings, edited by hand to name another list, are read again after the refusal.
    void settings_changed_to_another_list()
    {
        open(TOKYO_REC);
        QVERIFY(write_file(dir->filePath("other.txt"), OSAKA_REC));
        const QByteArray edited = rec(u"other.txt\",\"大阪"_s, OSAKA);
        QVERIFY(write_file(settings_path(), edited));
        name_box()->setText(u"京都"_s);
        click("Command4");
        QCOMPARE(dialogs.texts(), (QStringList{asking(u"京都"_s), NOT_CHANGED.arg(u"設定ファイル"_s, settings_path())}));
        QCOMPARE(place_list()->item(0)->text(), u"大阪"_s);
        QCOMPARE(read_bytes(settings_path()), edited);
        click("Command4");
        QCOMPARE(read_bytes(settings_path()), rec(u"other.txt\",\"京都"_s, TOKYO));
        QCOMPARE(read_bytes(list_path()), TOKYO_REC);
    }
};

QTEST_MAIN(PlaceListWindowTest)
#include "place_list_window_test.moc"
