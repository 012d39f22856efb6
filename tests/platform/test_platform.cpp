// Lengths, centring and the message boxes as the user sees them.
#include "platform/dialogs.h"
#include "platform/fake_dialogs.h"
#include "platform/platform.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace orvine;

namespace {

// Runs `check` on the next message box that opens, then closes it with `key`.
void on_next_box(std::function<void(QMessageBox*)> check, Qt::Key key)
{
    QTimer::singleShot(0, [check, key] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        check(box);
        QTest::keyClick(box, key);
    });
}

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void twips_to_pixels();
    void centres_on_the_screen();
    void japanese_font_with_fallbacks();
    void line_breaks_for_display();
    void message_boxes_plain_without_icon();
    void fake_dialogs_record_and_answer();
};

void TestPlatform::twips_to_pixels()
{
    QCOMPARE(platform::twips_to_px(7500), 500);
    QCOMPARE(platform::twips_to_px(252), 17);  // 16.8
    QCOMPARE(platform::twips_to_px(3432), 229); // 228.8
    QCOMPARE(platform::twips_to_px(0), 0);
}

void TestPlatform::centres_on_the_screen()
{
    QWidget w;
    w.setFixedSize(200, 100);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    platform::centre_on_screen(w);
    const QRect screen = w.screen()->geometry();
    QCOMPARE(w.frameGeometry().left(), screen.left() + (screen.width() - w.frameGeometry().width()) / 2);
    QCOMPARE(w.frameGeometry().top(), screen.top() + (screen.height() - w.frameGeometry().height()) / 2);
}

void TestPlatform::japanese_font_with_fallbacks()
{
    const QFont f = platform::ms_pgothic(11.25, true);
    QCOMPARE(f.families().first(), QString::fromUtf16(u"ＭＳ Ｐゴシック"));
    QVERIFY(f.families().contains("IPAPGothic"));
    QCOMPARE(f.pointSizeF(), 11.25);
    QVERIFY(f.bold());
    QCOMPARE(platform::window_default_font().pointSizeF(), 9.0);
    QVERIFY(!platform::window_default_font().bold());
}

void TestPlatform::line_breaks_for_display()
{
    QCOMPARE(display_text("a\r\r\nb\r\nc\rd\ne"), QString("a\n\nb\nc\nd\ne"));
    QCOMPARE(display_text("no breaks"), QString("no breaks"));
}

void TestPlatform::message_boxes_plain_without_icon()
{
    MessageBoxDialogs dialogs;
    QStringList seen;
    auto note = [&](QMessageBox* box) {
        seen << box->text() << box->windowTitle() << QString::number(box->buttons().size());
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->textFormat(), Qt::PlainText);
    };
    on_next_box(note, Qt::Key_Escape);
    dialogs.message("<b>1</b>\r\n2\r3");
    on_next_box(note, Qt::Key_Return);
    QVERIFY(dialogs.confirm("ok?", "T"));
    on_next_box(note, Qt::Key_Escape);
    QVERIFY(!dialogs.confirm("ok?", "T"));
    QCOMPARE(seen, QStringList({"<b>1</b>\n2\n3", "Orvine", "1", "ok?", "T", "2", "ok?", "T", "2"}));
}

void TestPlatform::fake_dialogs_record_and_answer()
{
    FakeDialogs fake;
    Dialogs& dialogs = fake;
    fake.answers = {false};
    dialogs.message("m");
    QVERIFY(!dialogs.confirm("c1", "t"));
    QVERIFY(dialogs.confirm("c2", "t"));
    QCOMPARE(fake.texts(), QStringList({"m", "c1", "c2"}));
    QCOMPARE(fake.calls[0].title, QString("Orvine"));
    QVERIFY(fake.calls[1].kind == DialogCall::Kind::Confirm);
}

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
