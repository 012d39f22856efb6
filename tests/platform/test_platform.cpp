#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/qt_japanese.h"

#include <QtTest>
#include <QtWidgets>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    // Plain text with every kind of line break, no icon, the title and buttons as asked; Return is OK.
    void message_boxes()
    {
        orvine::platform::install_qt_japanese(*QCoreApplication::instance());
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
        QCOMPARE(
            seen,
            QStringList({"<b>1</b>\n2\n3\n\n\n4", "Orvine", "OK", "?", "T", "キャンセル", "?", "T", "キャンセル"}));
    }
    // Before the first show: a window sized by hand, and one whose fixed size its layout gives only when asked.
    void centres_on_the_screen()
    {
        QWidget bare, laid, *inside = new QWidget;
        bare.resize(300, 200);
        inside->setFixedSize(400, 100);
        auto* layout = new QVBoxLayout(&laid);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        layout->setContentsMargins({});
        layout->addWidget(inside);
        const QRect area = QGuiApplication::primaryScreen()->geometry();
        for (auto [window, size] : {std::pair(&bare, QSize(300, 200)), {&laid, QSize(400, 100)}}) {
            orvine::platform::centre_on_screen(*window);
            const QPoint margin(area.width() - size.width(), area.height() - size.height());
            QCOMPARE(window->geometry(), QRect(area.topLeft() + margin / 2, size));
        }
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
