#include "platform/dialogs.h"
#include "platform/qt_japanese.h"

#include <QtTest>
#include <QtWidgets>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    // Plain text with every kind of line break, no icon, the title and buttons as asked; Return is OK.
    void message_boxes()
    {
        QVERIFY(orvine::platform::install_qt_japanese(*QCoreApplication::instance()));
        orvine::MessageBoxDialogs dialogs;
        QStringList seen;
        auto on_next_box = [&seen](Qt::Key key) {
            QMetaObject::invokeMethod(qApp, [&seen, key] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                seen << box->text() << box->windowTitle() << box->buttons().constLast()->text();
                QTest::keyClick(box, key);  // before the check, so that a failure cannot leave it open
                QVERIFY(box->icon() == QMessageBox::NoIcon && box->textFormat() == Qt::PlainText);
            }, Qt::QueuedConnection);
        };
        on_next_box(Qt::Key_Escape);
        dialogs.message("<b>1</b>\r\n2\r3\n\r\r\n4");
        on_next_box(Qt::Key_Return);
        QVERIFY(dialogs.confirm("?", "T"));
        on_next_box(Qt::Key_Escape);
        QVERIFY(!dialogs.confirm("?", "T"));
        QCOMPARE(seen, QStringList({"<b>1</b>\n2\n3\n\n\n4", "Orvine", "OK", "?", "T", "キャンセル", "?", "T", "キャンセル"}));
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
