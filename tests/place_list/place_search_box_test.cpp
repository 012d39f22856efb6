#include "place_list/place_list_window.h"
#include "resources/window_builder.h"
#include "shared_state/shared_state.h"
#include "support/fake_dialogs.h"
#include "support/test_files.h"

#include <QtTest>
#include <QtWidgets>

using namespace orvine;
using namespace Qt::StringLiterals;

namespace {

const QString TOKYO = u"35,41,22,139,41,30"_s, TOWER = u"43,3,40,141,21,2"_s;
const QString SAPPORO = u"43,3,51,141,20,49"_s; // 43.06417, 141.34694 to the nearest second

QByteArray rec(const QString& name, const QString& point)
{
    return QStringEncoder("windows-31j").encode("\"" + name + "\"," + point + "\r\n");
}
const QByteArray LIST = rec(u"東京"_s, TOKYO) + rec(u"札幌テレビ塔"_s, TOWER);

GazetteerLoad small_gazetteer()
{
    const std::string body = "ORVINE-GAZETTEER\t1\nC\tJP\t日本\tJapan\nC\tGB\t英国\tUnited Kingdom\n"
                             "C\tEC\tエクアドル\tEcuador\nR\t0\t北海道\tHokkaido\n"
                             "P\t1\t\tロンドン\tLondon\t51.50853\t-0.12574\t8961989\n"
                             "P\t0\t0\t札幌市\tSapporo\t43.06417\t141.34694\t1883027\n"
                             "P\t2\t\tキト\tQuito\t-0.22985\t-78.52495\t1399814\n";
    const QByteArray sum = QByteArray::number(gazetteer_checksum(body), 16).rightJustified(8, '0');
    return parse_gazetteer(body + "END\t3\t" + sum.toStdString() + "\n", "gazetteer.tsv");
}

const QString SUB_DEGREE = u"にあります。\r\nこの画面は南緯・西経を度のマイナスで表すため、南緯・西経 1度未満の地点は"
                           u"入れられません。\r\nこの地点との方位と距離は orvine-calc で求められます。"_s;

// `after_return`: the list file after one more Return (empty: the window has been left).
struct KeysRow {
    const char* what;
    QString typed;
    QList<Qt::Key> keys;
    QString name, bars, refusal;
    QByteArray after_return;
};
const QList<Qt::Key> FIRST{Qt::Key_Down, Qt::Key_Return}, SECOND{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return};
const QByteArray TYPED_ADDED = LIST + rec(u"札幌"_s, TOKYO);
const KeysRow KEYS_ROWS[] = {
    {"registered place first", u"札幌"_s, FIRST, u"札幌テレビ塔"_s, TOWER, {}, LIST},
    {"city below it", u"札幌"_s, SECOND, u"札幌市"_s, SAPPORO, {}, LIST + rec(u"札幌市"_s, SAPPORO)},
    {"sub-degree west", u"ロンドン"_s, FIRST, u"ロンドン"_s, TOKYO,
     u"「ロンドン（英国）」は北緯 51度30分31秒、西経 0度7分33秒"_s + SUB_DEGREE, LIST + rec(u"ロンドン"_s, TOKYO)},
    {"sub-degree south", u"quito"_s, FIRST, u"quito"_s, TOKYO,
     u"「キト（エクアドル）」は南緯 0度13分47秒、西経 78度31分30秒"_s + SUB_DEGREE, LIST + rec(u"quito"_s, TOKYO)},
    {"Escape on a match", u"札幌"_s, {Qt::Key_Down, Qt::Key_Escape}, u"札幌"_s, TOKYO, {}, TYPED_ADDED},
    {"Return on nothing", u"札幌"_s, {Qt::Key_Return}, u"札幌"_s, TOKYO, {}, TYPED_ADDED},
    {"second Escape leaves", u"札幌"_s, {Qt::Key_Escape, Qt::Key_Escape}, u"札幌"_s, TOKYO, {}, {}},
};

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

    QLineEdit* name_box() const { return control<QLineEdit>(window.data(), "Text1"); }
    QAbstractItemView* drop_down() const { return window->findChild<PlaceSearchBox*>()->drop_down(); }
    QString bars() const
    {
        QStringList values;
        for (const char* name : {"ido_do", "ido_hun", "ido_byo", "kei_do", "kei_hun", "kei_byo"})
            values << QString::number(control<QScrollBar>(window.data(), name)->value());
        return values.join(',');
    }
    void open(const std::function<GazetteerLoad()>& load)
    {
        QVERIFY(test::write_file(dir.filePath("places.txt"), LIST));
        state.files_folder = dir.path();
        state.list_file = u"places.txt"_s;
        state.transfer_point = Point{{35, 41, 22}, {139, 41, 30}};
        loads = 0;
        gazetteer = std::make_unique<GazetteerOnDemand>([this, load] { return ++loads, load(); });
        window = new PlaceListWindow(state, dialogs, sound, main_window, *gazetteer);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        name_box()->clear(); // as a user types over the handed-over name
        name_box()->setFocus();
    }
    // Keys go where a user's would: to the drop-down while it is open.
    QWidget* focus() const { return qApp->activePopupWidget() ? qApp->activePopupWidget() : name_box(); }
    void press(const QList<Qt::Key>& keys, const QString& text = {})
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, focus(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        for (const Qt::Key key : keys)
            QTest::keyClick(focus(), key);
    }

private slots:
    void cleanup()
    {
        delete window;
        dialogs.clear();
    }

    // A place the bars cannot hold is refused, and marked so for a screen reader.
    void keys_in_the_list_data()
    {
        QTest::addColumn<int>("index");
        for (const KeysRow& row : KEYS_ROWS)
            QTest::newRow(row.what) << static_cast<int>(&row - KEYS_ROWS);
    }
    void keys_in_the_list()
    {
        QFETCH(int, index);
        const KeysRow& row = KEYS_ROWS[index];
        open(small_gazetteer);
        press({}, row.typed);
        QTRY_VERIFY(drop_down()->isVisible());
        QCOMPARE(name_box()->text() + ' ' + bars(), row.typed + ' ' + TOKYO);
        QAccessibleInterface* first_match = QAccessible::queryAccessibleInterface(drop_down())->child(0);
        QCOMPARE(first_match->text(QAccessible::Description).endsWith(u"（この画面には入れられません）"_s),
                 !row.refusal.isEmpty());
        press(row.keys);
        QVERIFY(!drop_down()->isVisible());
        QCOMPARE(dialogs.texts(), row.refusal.isEmpty() ? QStringList() : QStringList{row.refusal});
        QCOMPARE(name_box()->text() + ' ' + bars(), row.name + ' ' + row.bars);
        QCOMPARE(window->isVisible(), !row.after_return.isEmpty());
        if (window->isVisible())
            press({Qt::Key_Return});
        QCOMPARE(test::read_bytes(dir.filePath("places.txt")), window->isVisible() ? row.after_return : LIST);
    }

    // Read at the first keystroke, never at the opening, so that a missing one costs nothing.
    void gazetteer_not_installed()
    {
        qputenv("XDG_DATA_DIRS", dir.path().toUtf8()); // no data folder holds one
        open(load_installed_gazetteer);
        QCOMPARE(loads, 0);
        press({}, u"札幌"_s);
        QCOMPARE(loads, 1);
        QCOMPARE(dialogs.texts(),
                 QStringList{u"地名データ（gazetteer.tsv）がインストールされていません。\r\n"
                             u"地名の検索は登録済みの地名だけで行います。ほかの機能はそのまま使えます。"_s});
        QTRY_COMPARE(drop_down()->model()->rowCount(), 1);
        press({Qt::Key_Down, Qt::Key_Return});
        QCOMPARE(bars(), TOWER);
    }
};

QTEST_MAIN(PlaceSearchBoxTest)
#include "place_search_box_test.moc"
