// The place search under the place-list window's name box, on a small gazetteer written here
// and real list files in a temporary program directory.
#include "place_list/place_list_window.h"
#include "controls/dms_bars.h"
#include "support/fake_dialogs.h"
#include "support/test_files.h"
#include "resources/window_builder.h"
#include "shared_state/shared_state.h"

#include <QtTest>
#include <QtWidgets>

#include <fstream>
#include <memory>

using namespace orvine;
using namespace Qt::StringLiterals;
using Keys = QList<Qt::Key>;

namespace {

const Point TOKYO{35, 41, 22, 139, 41, 30};
const Point TOWER{43, 3, 40, 141, 21, 2};

QByteArray rec(const QString& name, const Point& p)
{
    return QStringEncoder("windows-31j")
        .encode(u"\"%1\",%2,%3,%4,%5,%6,%7\r\n"_s.arg(name)
                    .arg(p.latitude.degrees)
                    .arg(p.latitude.minutes)
                    .arg(p.latitude.seconds)
                    .arg(p.longitude.degrees)
                    .arg(p.longitude.minutes)
                    .arg(p.longitude.seconds));
}
const QByteArray LIST = rec(u"東京"_s, TOKYO) + rec(u"札幌テレビ塔"_s, TOWER);

// Five cities, the most populous first, as GeoNames gives their points.
std::string gazetteer_bytes(bool damaged = false)
{
    std::string body = "ORVINE-GAZETTEER\t1\nC\tJP\t日本\tJapan\nC\tGB\t英国\tUnited Kingdom\n"
                       "C\tEC\tエクアドル\tEcuador\nC\tUS\tアメリカ\tUnited States\nC\tAU\tオーストラリア\tAustralia\n"
                       "R\t0\t北海道\tHokkaido\nR\t3\tイリノイ州\tIllinois\n"
                       "P\t1\t\tロンドン\tLondon\t51.50853\t-0.12574\t8961989\n"
                       "P\t4\t\tシドニー\tSydney\t-33.86785\t151.20732\t4627345\n"
                       "P\t0\t0\t札幌市\tSapporo\t43.06417\t141.34694\t1883027\n"
                       "P\t2\t\tキト\tQuito\t-0.22985\t-78.52495\t1399814\n"
                       "P\t3\t1\t\tSpringfield\t39.80172\t-89.64371\t116250\n";
    const std::uint32_t sum = gazetteer_checksum(body) ^ (damaged ? 1 : 0);
    return body + "END\t5\t" + QByteArray::number(sum, 16).rightJustified(8, '0').toStdString() + "\n";
}

QString numbers(const Point& p)
{
    return u"%1,%2,%3,%4,%5,%6"_s.arg(p.latitude.degrees)
        .arg(p.latitude.minutes)
        .arg(p.latitude.seconds)
        .arg(p.longitude.degrees)
        .arg(p.longitude.minutes)
        .arg(p.longitude.seconds);
}

const QString SUB_DEGREE =
    u"この画面は南緯・西経を度のマイナスで表すため、南緯・西経 1度未満の地点は入れられません。\r\n"
    u"この地点との方位と距離は orvine-calc で求められます。"_s;

} // namespace

class PlaceSearchBoxTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    SharedState state;
    FakeDialogs dialogs;
    SilentSound sound;
    QMainWindow main_window;
    std::unique_ptr<GazetteerOnDemand> gazetteer;
    QPointer<PlaceListWindow> window;
    int loads = 0;

    QString list_path() const { return dir.path() + "/places.txt"; }
    QLineEdit* name_box() const { return control<QLineEdit>(window.data(), "Text1"); }
    QAbstractItemView* drop_down() const { return window->findChild<PlaceSearchBox*>()->drop_down(); }
    QString bars() const
    {
        QStringList values;
        for (const char* name : DmsBars::NAMES)
            values << QString::number(control<QScrollBar>(window.data(), name)->value());
        return values.join(',');
    }
    void open(std::function<GazetteerLoad()> load)
    {
        QFile list(list_path());
        QVERIFY(list.open(QIODevice::WriteOnly) && list.write(LIST) == LIST.size());
        list.close();
        state.files_folder = dir.path();
        state.list_file = u"places.txt"_s;
        state.transfer_name = u"東京"_s;
        state.transfer_point = TOKYO;
        loads = 0;
        gazetteer = std::make_unique<GazetteerOnDemand>([this, load] {
            ++loads;
            return load();
        });
        window = new PlaceListWindow(state, dialogs, sound, main_window, *gazetteer);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        name_box()->clear(); // as a user selects the handed-over name and types over it
        name_box()->setFocus();
    }
    // Keys go where the system sends them: to the drop-down while it is open.
    QWidget* key_target() const
    {
        return QApplication::activePopupWidget() ? QApplication::activePopupWidget() : name_box();
    }
    void type(const QString& text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, key_target(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void press(const Keys& keys)
    {
        for (Qt::Key key : keys)
            QTest::keyClick(key_target(), key);
    }
    static GazetteerLoad small_gazetteer() { return parse_gazetteer(gazetteer_bytes(), "gazetteer.tsv"); }

private slots:
    void cleanup()
    {
        delete window;
        dialogs.clear();
    }

    // Down to the match and Return: its point on the bars and its name in the box; Return
    // again (the list closed) registers it as 追加登録 does, unless the name is in the list.
    void choose_with_the_keyboard_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("downs");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Point>("point");
        QTest::newRow("registered place first") << u"札幌"_s << 1 << u"札幌テレビ塔"_s << TOWER;
        QTest::newRow("city, shown with its prefecture")
            << u"札幌"_s << 2 << u"札幌市"_s << Point{43, 3, 51, 141, 20, 49};
        QTest::newRow("English name only") << u"SPRING"_s << 1 << u"Springfield"_s << Point{39, 48, 6, -89, 38, 37};
        QTest::newRow("south, whole degrees") << u"しどに"_s << 1 << u"シドニー"_s << Point{-33, 52, 4, 151, 12, 26};
    }
    void choose_with_the_keyboard()
    {
        QFETCH(QString, typed);
        QFETCH(int, downs);
        QFETCH(QString, name);
        QFETCH(Point, point);
        open(small_gazetteer);
        type(typed);
        QTRY_VERIFY(drop_down()->isVisible());
        QVERIFY(!drop_down()->accessibleName().isEmpty());
        QCOMPARE(name_box()->text(), typed); // typing and moving down change nothing
        press(Keys(downs, Qt::Key_Down) << Qt::Key_Return);
        QVERIFY(!drop_down()->isVisible());
        QCOMPARE(name_box()->text(), name);
        QCOMPARE(bars(), numbers(point));
        press({Qt::Key_Return});
        const bool is_new = name != u"札幌テレビ塔"_s;
        QCOMPARE(test::read_bytes(list_path()), LIST + (is_new ? rec(name, point) : QByteArray()));
        QCOMPARE(dialogs.texts(), QStringList());
    }

    void refuse_what_the_bars_cannot_hold_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("spoken"); // what a screen reader says of the match
        QTest::newRow("west of Greenwich")
            << u"ロンドン"_s
            << u"「ロンドン（英国）」は北緯 51度30分31秒、西経 0度7分33秒にあります。\r\n"_s + SUB_DEGREE
            << u"ロンドン（英国）: 北緯 51度30分31秒、西経 0度7分33秒（この画面には入れられません）"_s;
        QTest::newRow("south of the equator")
            << u"quito"_s
            << u"「キト（エクアドル）」は南緯 0度13分47秒、西経 78度31分30秒にあります。\r\n"_s + SUB_DEGREE
            << u"キト（エクアドル）: 南緯 0度13分47秒、西経 78度31分30秒（この画面には入れられません）"_s;
    }
    void refuse_what_the_bars_cannot_hold()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, spoken);
        open(small_gazetteer);
        type(typed);
        QTRY_VERIFY(drop_down()->isVisible());
        QCOMPARE(drop_down()->model()->rowCount(), 1);
        QAccessibleInterface* match = QAccessible::queryAccessibleInterface(drop_down())->child(0);
        QCOMPARE(match->text(QAccessible::Name) + ": " + match->text(QAccessible::Description), spoken);
        press({Qt::Key_Down, Qt::Key_Return});
        QCOMPARE(dialogs.texts(), QStringList{message});
        QCOMPARE(name_box()->text(), typed);
        QCOMPARE(bars(), numbers(TOKYO));
    }

    // Escape and Return with the list open only close it; once it is closed they do what
    // they do without the search.
    void keys_with_the_list_open_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<bool>("window_open");
        QTest::addColumn<QByteArray>("list_file");
        QTest::newRow("Escape on a match") << u"札幌"_s << Keys{Qt::Key_Down, Qt::Key_Escape} << true << LIST;
        QTest::newRow("Escape twice") << u"札幌"_s << Keys{Qt::Key_Escape, Qt::Key_Escape} << false << LIST;
        QTest::newRow("Return on nothing") << u"札幌"_s << Keys{Qt::Key_Return} << true << LIST;
        QTest::newRow("Return twice") << u"札幌"_s << Keys{Qt::Key_Return, Qt::Key_Return} << true
                                      << LIST + rec(u"札幌"_s, TOKYO);
        QTest::newRow("no match, no list") << u"zz"_s << Keys{Qt::Key_Return} << true << LIST + rec(u"zz"_s, TOKYO);
    }
    void keys_with_the_list_open()
    {
        QFETCH(QString, typed);
        QFETCH(Keys, keys);
        QFETCH(bool, window_open);
        QFETCH(QByteArray, list_file);
        open(small_gazetteer);
        type(typed);
        QCOMPARE(drop_down()->isVisible(), typed != u"zz"_s);
        press(keys);
        QVERIFY(!drop_down()->isVisible());
        QCOMPARE(window->isVisible(), window_open);
        QCOMPARE(name_box()->text(), typed);
        QCOMPARE(bars(), numbers(TOKYO));
        QCOMPARE(test::read_bytes(list_path()), list_file);
    }

    // Read at the first keystroke, never at the opening; a gazetteer that cannot be read is
    // reported once, and the registered places are still offered.
    void gazetteer_that_cannot_be_read_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("message");
        const QString rest = u"\r\n地名の検索は登録済みの地名だけで行います。ほかの機能はそのまま使えます。"_s;
        QTest::newRow("not installed") << false
                                       << u"地名データ（gazetteer.tsv）がインストールされていません。"_s + rest;
        QTest::newRow("damaged")
            << true << u"地名データ %1/gazetteer.tsv は壊れています（検査値が合いません）。"_s.arg(dir.path()) + rest;
    }
    void gazetteer_that_cannot_be_read()
    {
        QFETCH(bool, installed);
        QFETCH(QString, message);
        const std::string path = dir.filePath(u"gazetteer.tsv"_s).toStdString();
        if (installed)
            std::ofstream(path, std::ios::binary) << gazetteer_bytes(true);
        else
            qputenv("XDG_DATA_DIRS", dir.path().toUtf8()); // no data folder holds one
        open([installed, path] { return installed ? load_gazetteer(path) : load_installed_gazetteer(); });
        QCOMPARE(loads, 0);
        type(u"札"_s);
        type(u"幌"_s);
        QCOMPARE(loads, 1);
        QCOMPARE(dialogs.texts(), QStringList{message});
        QTRY_VERIFY(drop_down()->isVisible());
        QCOMPARE(drop_down()->model()->rowCount(), 1);
        press({Qt::Key_Down, Qt::Key_Return});
        QCOMPARE(bars(), numbers(TOWER));
    }
};

QTEST_MAIN(PlaceSearchBoxTest)
#include "place_search_box_test.moc"
