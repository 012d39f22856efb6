// Qt's own texts in Japanese: the standard buttons of message boxes and the text box's menu.
#include "platform/qt_japanese.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <memory>

class TestQtJapanese : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(orvine::platform::install_qt_japanese(*QCoreApplication::instance())); }
    void standard_buttons_data();
    void standard_buttons();
    void text_box_menu();
};

void TestQtJapanese::standard_buttons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << QStringLiteral("キャンセル");
    QTest::newRow("yes") << int(QMessageBox::Yes) << QStringLiteral("はい(&Y)");
    QTest::newRow("no") << int(QMessageBox::No) << QStringLiteral("いいえ(&N)");
}

void TestQtJapanese::standard_buttons()
{
    QFETCH(int, button);
    QFETCH(QString, text);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Orvine"), QStringLiteral("本文"),
                    QMessageBox::StandardButton(button));
    QCOMPARE(box.button(QMessageBox::StandardButton(button))->text(), text);
}

void TestQtJapanese::text_box_menu()
{
    QLineEdit edit(QStringLiteral("東京"));
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    int texts = 0;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        ++texts;
        const QString text = action->text();
        QVERIFY2(std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3000; }),
                 qPrintable(text));
    }
    QVERIFY(texts >= 5);
}

QTEST_MAIN(TestQtJapanese)
#include "test_qt_japanese.moc"
