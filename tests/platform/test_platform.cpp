// The message boxes as the user sees them, and Qt's own texts in Japanese.
#include "platform/dialogs.h"
#include "platform/qt_japanese.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace orvine;

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void message_boxes_plain_without_icon();
    void qt_texts_in_japanese();
};

// The texts are shown as plain text with every kind of line break, the title and buttons as asked.
void TestPlatform::message_boxes_plain_without_icon()
{
    MessageBoxDialogs dialogs;
    QStringList seen;
    auto on_next_box = [&seen](Qt::Key key) {
        QTimer::singleShot(0, [&seen, key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen << box->text() << box->windowTitle() << QString::number(box->buttons().size());
            QVERIFY(box->icon() == QMessageBox::NoIcon && box->textFormat() == Qt::PlainText);
            QTest::keyClick(box, key);
        });
    };
    on_next_box(Qt::Key_Escape);
    dialogs.message("<b>1</b>\r\n2\r3\n\r\r\n4");
    on_next_box(Qt::Key_Return);
    QVERIFY(dialogs.confirm("ok?", "T"));
    on_next_box(Qt::Key_Escape);
    QVERIFY(!dialogs.confirm("ok?", "T"));
    QCOMPARE(seen, QStringList({"<b>1</b>\n2\n3\n\n\n4", "Orvine", "1", "ok?", "T", "2", "ok?", "T", "2"}));
}

void TestPlatform::qt_texts_in_japanese()
{
    QVERIFY(platform::install_qt_japanese(*QCoreApplication::instance()));
    QMessageBox box(QMessageBox::NoIcon, "Orvine", "本文", QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    QCOMPARE((QStringList{box.button(QMessageBox::Cancel)->text(), box.button(QMessageBox::Yes)->text(),
                          box.button(QMessageBox::No)->text()}),
             (QStringList{"キャンセル", "はい(&Y)", "いいえ(&N)"}));
}

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
