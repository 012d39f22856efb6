// The place-list window from the keyboard and with a screen reader.
#include "place_list/place_list_window.h"
#include "support/fake_dialogs.h"
#include "support/test_files.h"
#include "resources/window_builder.h"
#include "shared_state/shared_state.h"

#include <QtTest>
#include <QtWidgets>

using namespace orvine;
using namespace Qt::StringLiterals;

namespace {

// Places "P00" … at 1°0′i″ N 2°0′0″ E, in code page 932 as the file holds them.
QByteArray places(int count, const QString& more = {})
{
    QString out;
    for (int i = 0; i < count; ++i)
        out += u"\"P%1\",1,0,%2,2,0,0\r\n"_s.arg(i, 2, 10, QLatin1Char('0')).arg(i);
    return QStringEncoder("windows-31j").encode(out + more);
}

// The names of the objects of the accessibility tree that report the focus.
QStringList focused(QAccessibleInterface* iface)
{
    QStringList found;
    if (iface->state().focused)
        found << iface->text(QAccessible::Name);
    for (int i = 0; i < iface->childCount(); ++i)
        found << focused(iface->child(i));
    return found;
}

struct Window {
    QTemporaryDir dir;
    SharedState m;
    FakeDialogs dialogs;
    SilentSound sound;
    QMainWindow main;
    PlaceListWindow* w;

    explicit Window(const QByteArray& list)
    {
        QFile f(dir.filePath("places.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(list) == list.size());
        f.close();
        m.files_folder = dir.path();
        m.list_file = u"places.txt"_s;
        w = new PlaceListWindow(m, dialogs, sound, main);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    ~Window() { delete w; }
    QListWidget* list() { return control<QListWidget>(w, "List1"); }
    QByteArray file() { return test::read_bytes(dir.filePath("places.txt")); }
    void click(int row)
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(list()->item(row)).center());
    }
    bool ring() // the highlight ring just left of the list
    {
        const QImage client = w->centralWidget()->grab().toImage();
        return client.pixelColor((list()->geometry().topLeft() + QPoint(-1, 50)) * client.devicePixelRatio())
            == list()->palette().color(QPalette::Highlight);
    }
};

} // namespace

class PlaceListAccessTest : public QObject {
    Q_OBJECT
private slots:
    void return_key();
    void one_focus_and_the_corrected_place_in_view();
    void emptied_list_hands_nothing_over();
};

// Return in the name box registers a new name and does nothing else; on a place in the list
// it takes that place, choosing it first if it was only current.
void PlaceListAccessTest::return_key()
{
    const std::tuple<QString, int, QByteArray, QString> rows[] = {
        // typed into the name box, or the row chosen (current only: -1 - row); file; taken
        {u" 京都 "_s, 0, places(3, u"\"京都\",0,0,0,0,0,0\r\n"_s), u"-"_s},
        {u"P01"_s, 0, places(3), u"-"_s},
        {u"\u3000"_s, 0, places(3), u"-"_s},
        {{}, 2, places(3), u"P02 2"_s},
        {{}, -2, places(3), u"P01 1"_s},
    };
    for (const auto& [typed, row, file, taken] : rows) {
        Window x(places(3));
        QWidget* target = x.list();
        if (row == 0) {
            target = control<QLineEdit>(x.w, "Text1");
            control<QLineEdit>(x.w, "Text1")->setText(typed);
        }
        if (row != 0)
            x.click(2);
        if (row < 0)
            x.list()->setCurrentRow(-1 - row, QItemSelectionModel::NoUpdate);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QCOMPARE(x.file(), file);
        QVERIFY(x.dialogs.calls.empty() && x.w->isVisible() == (taken == "-"));
        QCOMPARE(x.m.point_handed_over ? x.m.transfer_name + ' ' + QString::number(x.m.transfer_point.latitude.seconds)
                                       : u"-"_s,
                 taken);
    }
}

// Tab leaves the list: only the new focus reports it, the ring goes, and the place comes
// back as the current one. After 訂正登録 the corrected place is current, not chosen, in view,
// and the focus leaves the disabled button for the list.
void PlaceListAccessTest::one_focus_and_the_corrected_place_in_view()
{
    Window x(places(60));
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(x.w);
    x.click(3);
    QVERIFY(focused(tree) == QStringList({u"登録済み地名リスト"_s, u"P03"_s}) && x.ring());
    QTest::keyClick(x.list(), Qt::Key_Tab);
    QVERIFY(focused(tree) == QStringList{u"経度（秒）"_s} && !x.ring());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(focused(tree), QStringList({u"登録済み地名リスト"_s, u"P03"_s}));

    QTest::keyClick(x.list(), Qt::Key_End); // P59 chosen
    x.list()->scrollToTop();
    control<QLineEdit>(x.w, "Text1")->setText(u"名古屋"_s);
    QTest::mouseClick(control<QPushButton>(x.w, "btnteisei"), Qt::LeftButton);
    QListWidgetItem* corrected = x.list()->currentItem();
    QVERIFY(QApplication::focusWidget() == x.list() && corrected && x.list()->row(corrected) == 59
            && !corrected->isSelected());
    QVERIFY(corrected->text() == u"名古屋"_s
            && x.list()->viewport()->rect().contains(x.list()->visualItemRect(corrected)));
}

// Deleting the only place leaves nothing to correct or take, and the focus in the name box.
void PlaceListAccessTest::emptied_list_hands_nothing_over()
{
    Window x(places(1));
    x.click(0);
    QTest::mouseClick(control<QPushButton>(x.w, "btnsakujyo"), Qt::LeftButton);
    QVERIFY(x.file().isEmpty() && QApplication::focusWidget()->objectName() == "Text1");
    for (const char* button : {"btnreturn", "btnteisei", "btnsakujyo"})
        QVERIFY(!control<QPushButton>(x.w, button)->isEnabled());
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space, Qt::Key_Return})
        QTest::keyClick(QApplication::focusWidget(), key);
    QVERIFY(x.w->isVisible() && !x.m.point_handed_over && x.dialogs.calls.empty());
}

QTEST_MAIN(PlaceListAccessTest)
#include "place_list_access_test.moc"
