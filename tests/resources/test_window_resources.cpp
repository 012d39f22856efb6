// The three windows as built from their tables, where a slip in a table is likely.
#include "resources/window_builder.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <memory>

using namespace orvine;

namespace {

std::unique_ptr<QMainWindow> built(const QString& name, const CustomFactory& factory = {})
{
    auto w = std::make_unique<QMainWindow>();
    build_window(*w, name == "Form1" ? form1_spec() : name == "Form2" ? form2_spec() : frmjpmap_spec(), factory);
    return w;
}

std::unique_ptr<QMainWindow> shown(const QString& name)
{
    auto w = built(name);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        qWarning("%s not exposed", qPrintable(name));
    return w;
}

QRect part(QScrollBar* bar, QStyle::SubControl sc)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = bar->invertedAppearance();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, sc, bar);
}

// The names of the widgets that Tab visits, starting at `first`.
QStringList tab_cycle(QWidget* first)
{
    QStringList names;
    QWidget* w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
            names << w->objectName();
        w = w->nextInFocusChain();
    } while (w != first);
    return names;
}

QStringList action_names(QWidget* window, const char* menu)
{
    QStringList names;
    for (QAction* a : control<QMenu>(window, menu)->actions())
        names << (a->menu() ? a->menu()->objectName() : a->objectName());
    return names;
}

} // namespace

class TestWindowResources : public QObject {
    Q_OBJECT
private slots:
    void texts_keep_their_blanks_data();
    void texts_keep_their_blanks();
    void controls_sit_where_the_layout_puts_them_data();
    void controls_sit_where_the_layout_puts_them();
    void fixed_frame_of_the_table_size_data();
    void fixed_frame_of_the_table_size();
    void bars_hold_range_and_count_upwards_data();
    void bars_hold_range_and_count_upwards();
    void only_the_listed_buttons_start_disabled();
    void tab_order_of_the_bars();
    void menu_structure();
    void fonts_and_colours();
    void accessible_names_only_where_no_text_data();
    void accessible_names_only_where_no_text();
    void factory_makes_the_pictures();
};

void TestWindowResources::texts_keep_their_blanks_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");  // empty: the caption
    QTest::addColumn<QString>("text");
    const QString f1 = "Form1", f2 = "Form2";
    const QString hint = QString::fromUtf16(u"南緯：\uff10\uff5e\uff0d\uff19\uff10度\u3000西経：\uff10\uff5e\uff0d\uff11\uff18\uff10度");
    QTest::newRow("Form1 caption") << f1 << "" << "Orvine";
    QTest::newRow("Form2 caption") << f2 << "" << QString::fromUtf16(u"地名リスト 読込・登録");
    QTest::newRow("map caption empty") << "frmjpmap" << "" << "";
    QTest::newRow("btn_next") << f1 << "btn_next" << QString::fromUtf16(u"次\u3000へ");
    QTest::newRow("btn_end") << f1 << "btn_end" << QString::fromUtf16(u"終\u3000了");
    QTest::newRow("btn_return") << f1 << "btn_return" << QString::fromUtf16(u"戻\u3000る");
    QTest::newRow("lbido1 trailing blank") << f1 << "lbido1" << QString::fromUtf16(u"緯度：\u3000");
    QTest::newRow("lbido2 no blank") << f1 << "lbido2" << QString::fromUtf16(u"緯度：");
    QTest::newRow("Label5 distance") << f1 << "Label5" << QString::fromUtf16(u"距離\u3000");
    QTest::newRow("Label12") << f1 << "Label12" << QString::fromUtf16(u"目的地点\u2026\u2026\u2026\u2026\u2026");
    QTest::newRow("Form1 Label17") << f1 << "Label17" << hint;
    QTest::newRow("Form2 Label17") << f2 << "Label17" << hint;
    QTest::newRow("Label3 units") << f1 << "Label3" << QString::fromUtf16(u"度\u3000\u3000分\u3000\u3000秒");
    QTest::newRow("btnsakujyo ascii and ideographic") << f2 << "btnsakujyo" << QString::fromUtf16(u"削 \u3000除");
    QTest::newRow("btncan") << f2 << "btncan" << QString::fromUtf16(u"戻 る(cancel)");
    QTest::newRow("Form2 Frame1") << f2 << "Frame1" << QString::fromUtf16(u"地名の緯度・経度");
    QTest::newRow("echo label empty") << f2 << "lbkei_do" << "";
    QTest::newRow("mnufile") << f1 << "mnufile" << QString::fromUtf16(u"ファイル(&F)");
    QTest::newRow("mnusel") << f1 << "mnusel" << QString::fromUtf16(u"地名詳細(&S)");
    QTest::newRow("mnuhelp") << f1 << "mnuhelp" << QString::fromUtf16(u"ヘルプ(&H)");
    QTest::newRow("mnusyoki") << f1 << "mnusyoki" << QString::fromUtf16(u"初期設定に戻す");
    QTest::newRow("mnuend") << f1 << "mnuend" << QString::fromUtf16(u"Orvineの終了");
    QTest::newRow("mnulist") << f1 << "mnulist" << QString::fromUtf16(u"地名登録 ・ 読込");
    QTest::newRow("mnumap") << f1 << "mnumap" << QString::fromUtf16(u"地図表示");
    QTest::newRow("mnujap") << f1 << "mnujap" << QString::fromUtf16(u"日本地図");
    QTest::newRow("mnuwor") << f1 << "mnuwor" << QString::fromUtf16(u"世界地図");
    QTest::newRow("mnuver") << f1 << "mnuver" << QString::fromUtf16(u"バージョン情報");
    QTest::newRow("mnucancel") << f2 << "mnucancel" << QString::fromUtf16(u"戻 る(cancel)");
    QTest::newRow("mnuhelp2") << f2 << "mnuhelp2" << QString::fromUtf16(u"ヘルプ(&H)");
    QTest::newRow("mnuver2") << f2 << "mnuver2" << QString::fromUtf16(u"バージョン情報(&V)");
}

void TestWindowResources::texts_keep_their_blanks()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, text);
    auto w = built(window);
    QObject* c = control.isEmpty() ? w.get() : w->findChild<QObject*>(control);
    QVERIFY(c);
    if (c == w.get())
        QCOMPARE(w->windowTitle(), text);
    else if (auto* label = qobject_cast<QLabel*>(c))
        QCOMPARE(label->text(), text);
    else if (auto* button = qobject_cast<QPushButton*>(c))
        QCOMPARE(button->text(), text);
    else if (auto* frame = qobject_cast<QGroupBox*>(c))
        QCOMPARE(frame->title(), text);
    else if (auto* menu = qobject_cast<QMenu*>(c))
        QCOMPARE(menu->title(), text);
    else if (auto* item = qobject_cast<QAction*>(c))
        QCOMPARE(item->text(), text);
    else
        QFAIL("control without text");
}

void TestWindowResources::controls_sit_where_the_layout_puts_them_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    // Twips of the layout / 15, rounded; inside Frame1 relative to the frame. Labels without
    // background or border have two pixels of room above and below.
    QTest::newRow("Frame1") << "Frame1" << QRect(8, 12, 229, 337);
    QTest::newRow("ido_do in frame") << "ido_do" << QRect(20, 28, 17, 213);
    QTest::newRow("kei_byo in frame") << "kei_byo" << QRect(192, 28, 17, 213);
    QTest::newRow("Label1 in frame") << "Label1" << QRect(28, 300, 65, 21);
    QTest::newRow("btn_next") << "btn_next" << QRect(248, 20, 45, 29);
    QTest::newRow("btn_kiro") << "btn_kiro" << QRect(248, 144, 41, 25);
    QTest::newRow("Image1") << "Image1" << QRect(288, 150, 162, 164);
    QTest::newRow("lb_cal") << "lb_cal" << QRect(292, 332, 169, 17);
    QTest::newRow("lbido1") << "lbido1" << QRect(360, 58, 130, 17);
    QTest::newRow("mplace") << "mplace" << QRect(248, 118, 105, 17);
}

void TestWindowResources::controls_sit_where_the_layout_puts_them()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QCOMPARE(control<QWidget>(built("Form1").get(), qPrintable(name))->geometry(), pixels);
}

void TestWindowResources::fixed_frame_of_the_table_size_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QSize>("pixels");
    QTest::newRow("Form1 7455 x 5730") << "Form1" << QSize(497, 382);
    QTest::newRow("Form2 7830 x 5670") << "Form2" << QSize(522, 378);
    QTest::newRow("frmjpmap 12090 x 7200") << "frmjpmap" << QSize(806, 480);
}

void TestWindowResources::fixed_frame_of_the_table_size()
{
    QFETCH(QString, window);
    QFETCH(QSize, pixels);
    auto w = shown(window);
    QCOMPARE(w->centralWidget()->size(), pixels);
    QCOMPARE(w->centralWidget()->height() + (w->menuBar()->actions().isEmpty() ? 0 : w->menuBar()->height()),
             w->height());
    QCOMPARE(w->minimumSize(), w->maximumSize());
    const Qt::WindowFlags flags = w->windowFlags();
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
#ifdef ORVINE_HAVE_IMAGES
    QVERIFY(!w->windowIcon().isNull());
    if (window == "Form1")
        QVERIFY(!control<QLabel>(w.get(), "Image1")->pixmap().isNull());
#endif
}

void TestWindowResources::bars_hold_range_and_count_upwards_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<int>("design");
    QTest::addColumn<int>("page");
    for (const char* window : {"Form1", "Form2"}) {
        const QString w = QString::fromLatin1(window);
        QTest::addRow("%s ido_do", window) << w << "ido_do" << 89 << -89 << 35 << 10;
        QTest::addRow("%s ido_hun", window) << w << "ido_hun" << 59 << 0 << 30 << 5;
        QTest::addRow("%s ido_byo", window) << w << "ido_byo" << 59 << 0 << 30 << 5;
        QTest::addRow("%s kei_do", window) << w << "kei_do" << 179 << -179 << 135 << 10;
        QTest::addRow("%s kei_hun", window) << w << "kei_hun" << 59 << 0 << 30 << 5;
        QTest::addRow("%s kei_byo", window) << w << "kei_byo" << 59 << 0 << 30 << 5;
    }
}

void TestWindowResources::bars_hold_range_and_count_upwards()
{
    QFETCH(QString, window);
    QFETCH(QString, bar);
    QFETCH(int, top);
    QFETCH(int, bottom);
    QFETCH(int, design);
    QFETCH(int, page);
    auto w = shown(window);
    auto* b = control<QScrollBar>(w.get(), qPrintable(bar));
    QCOMPARE(b->value(), design);
    QVERIFY(!b->hasTracking());
    // The value after a click on the arrows or in the trough beside the thumb.
    enum Spot { UpArrow, DownArrow, AboveThumb, BelowThumb };
    auto click = [b](int from, Spot spot) {
        b->setValue(from);
        const QRect thumb = part(b, QStyle::SC_ScrollBarSlider);
        const QPoint at[] = {part(b, QStyle::SC_ScrollBarSubLine).center(),
                             part(b, QStyle::SC_ScrollBarAddLine).center(), thumb.topLeft() + QPoint(4, -3),
                             thumb.bottomLeft() + QPoint(4, 3)};
        QTest::mouseClick(b, Qt::LeftButton, {}, at[spot]);
        return b->value();
    };
    QVERIFY(part(b, QStyle::SC_ScrollBarSubLine).top() < part(b, QStyle::SC_ScrollBarAddLine).top());
    QCOMPARE(click(design, UpArrow), design + 1);
    QCOMPARE(click(design, DownArrow), design - 1);
    QCOMPARE(click(design, AboveThumb), design + page);
    QCOMPARE(click(design, BelowThumb), design - page);
    QCOMPARE(click(top, UpArrow), top);
    QCOMPARE(click(top - page + 1, AboveThumb), top);
    QCOMPARE(click(bottom, DownArrow), bottom);
    QCOMPARE(click(bottom + page - 1, BelowThumb), bottom);
    b->setFocus();
    QTest::keyClick(b, Qt::Key_Up);
    QCOMPARE(b->value(), bottom + 1);
    QTest::keyClick(b, Qt::Key_Down);
    QCOMPARE(b->value(), bottom);

    // The thumb stands higher the larger the value.
    b->setValue(top);
    const int top_thumb = part(b, QStyle::SC_ScrollBarSlider).top();
    b->setValue(bottom);
    QVERIFY(part(b, QStyle::SC_ScrollBarSlider).top() > top_thumb);
}

void TestWindowResources::only_the_listed_buttons_start_disabled()
{
    const QStringList disabled{"btn_kiro", "btn_return", "btn_cal", "btnreturn", "btnteisei", "btnsakujyo"};
    int buttons = 0;
    for (const char* window : {"Form1", "Form2", "frmjpmap"}) {
        auto w = built(window);
        for (QWidget* c : w->centralWidget()->findChildren<QWidget*>()) {
            buttons += qobject_cast<QPushButton*>(c) != nullptr;
            QCOMPARE(c->isEnabled(), !disabled.contains(c->objectName()));
        }
    }
    QCOMPARE(buttons, 5 + 6 + 3);
}

void TestWindowResources::tab_order_of_the_bars()
{
    auto form1 = built("Form1");
    QCOMPARE(tab_cycle(control<QWidget>(form1.get(), "ido_do")),
             QStringList({"ido_do", "ido_hun", "ido_byo", "kei_do", "kei_hun", "kei_byo", "btn_cal", "btn_next",
                          "btn_return", "btn_end", "btn_kiro"}));
    auto form2 = built("Form2");
    QCOMPARE(tab_cycle(control<QWidget>(form2.get(), "kei_byo")),
             QStringList({"kei_byo", "kei_hun", "kei_do", "ido_byo", "ido_hun", "ido_do", "btntuika", "Text1",
                          "btncan", "Command4", "btnsakujyo", "btnteisei", "btnreturn", "List1"}));
}

void TestWindowResources::menu_structure()
{
    auto w = built("Form1");
    QStringList titles;
    for (QAction* a : w->menuBar()->actions())
        titles << a->menu()->objectName();
    QCOMPARE(titles, QStringList({"mnufile", "mnusel", "mnuhelp"}));
    QCOMPARE(action_names(w.get(), "mnufile"), QStringList({"mnusyoki", "mnuline", "mnuend"}));
    QCOMPARE(action_names(w.get(), "mnusel"), QStringList({"mnulist", "mnuline2", "mnumap"}));
    QCOMPARE(action_names(w.get(), "mnumap"), QStringList({"mnujap", "mnuwor"}));
    QCOMPARE(action_names(w.get(), "mnuhelp"), QStringList({"mnuver"}));
    QVERIFY(control<QAction>(w.get(), "mnuline")->isSeparator());
    QVERIFY(control<QAction>(w.get(), "mnuline2")->isSeparator());
    for (QAction* a : w->findChildren<QAction*>())
        QVERIFY(a->shortcut().isEmpty());

    auto form2 = built("Form2");
    QCOMPARE(form2->menuBar()->actions().size(), 2);
    QCOMPARE(action_names(form2.get(), "mnufile"), QStringList({"mnucancel"}));
    QCOMPARE(action_names(form2.get(), "mnuhelp2"), QStringList({"mnuver2"}));
    QVERIFY(built("frmjpmap")->menuBar()->actions().isEmpty());
}

void TestWindowResources::fonts_and_colours()
{
    auto w = built("Form1");
    const QFont frame = control<QGroupBox>(w.get(), "Frame1")->font();
    QCOMPARE(frame.pointSizeF(), 11.25);
    QVERIFY(frame.bold());
    QVERIFY(frame.families().contains(QString::fromUtf16(u"ＭＳ Ｐゴシック")));
    // Inside the bold frame, the labels keep their own regular fonts.
    QCOMPARE(control<QLabel>(w.get(), "Label3")->font().pointSizeF(), 10.5);
    QVERIFY(!control<QLabel>(w.get(), "Label3")->font().bold());
    QCOMPARE(control<QLabel>(w.get(), "lbido_do")->font().pointSizeF(), 12.0);
    QVERIFY(!control<QScrollBar>(w.get(), "ido_do")->font().bold());
    QCOMPARE(control<QPushButton>(w.get(), "btn_next")->font().pointSizeF(), 9.0);
    QVERIFY(control<QLabel>(w.get(), "Label11")->font().bold());

    auto* label1 = control<QLabel>(w.get(), "Label1");
    QVERIFY(label1->autoFillBackground());
    QCOMPARE(label1->palette().color(QPalette::Window), QColor(128, 128, 128));
    QCOMPARE(label1->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    QCOMPARE(label1->frameShape(), QFrame::Box);
    QVERIFY(label1->alignment() & Qt::AlignHCenter);
    QCOMPARE(control<QLabel>(w.get(), "Label17")->palette().color(QPalette::WindowText), QColor(64, 64, 64));
    QCOMPARE(control<QLabel>(w.get(), "lbkei_do")->frameShape(), QFrame::NoFrame);
    QCOMPARE(to_qcolor(form1_spec().fill), QColor(128, 128, 255));

    auto map = built("frmjpmap");
    const QPalette app;
    QCOMPARE(map->centralWidget()->palette().color(QPalette::Window), app.color(QPalette::Disabled, QPalette::Text));
    QCOMPARE(control<QLabel>(map.get(), "lblido")->palette().color(QPalette::Window), QColor(224, 224, 224));
    QCOMPARE(control<QLabel>(map.get(), "Label8")->palette().color(QPalette::WindowText),
             app.color(QPalette::HighlightedText));
}

void TestWindowResources::accessible_names_only_where_no_text_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("latitude degrees") << "Form1" << "ido_do" << QString::fromUtf16(u"緯度（度）");
    QTest::newRow("longitude seconds") << "Form2" << "kei_byo" << QString::fromUtf16(u"経度（秒）");
    QTest::newRow("globe") << "Form1" << "Image1" << QString::fromUtf16(u"地球儀");
    QTest::newRow("name box") << "Form2" << "Text1" << QString::fromUtf16(u"地名");
    QTest::newRow("place list") << "Form2" << "List1" << QString::fromUtf16(u"登録済み地名リスト");
    QTest::newRow("Japan map") << "frmjpmap" << "Picture1" << QString::fromUtf16(u"日本地図");
    QTest::newRow("world map") << "frmjpmap" << "Picture2" << QString::fromUtf16(u"世界地図");
}

// Controls without text of their own are named; a label is read out by its own text.
void TestWindowResources::accessible_names_only_where_no_text()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, name);
    auto w = built(window);
    QCOMPARE(orvine::control<QWidget>(w.get(), qPrintable(control))->accessibleName(), name);
    for (QLabel* label : w->findChildren<QLabel*>())
        QVERIFY2(label->accessibleName().isEmpty() || label->text().isEmpty(), qPrintable(label->objectName()));
}

void TestWindowResources::factory_makes_the_pictures()
{
    QStringList asked;
    auto map = built("frmjpmap", [&](const ControlSpec& c, QWidget* parent) -> QWidget* {
        asked << QString::fromLatin1(c.name);
        return c.name == QByteArrayView("Picture1") ? new QLabel(parent) : nullptr;
    });
    QCOMPARE(asked, QStringList({"Picture2", "Picture1"}));
    auto* picture1 = control<QWidget>(map.get(), "Picture1");
    QVERIFY(qobject_cast<QLabel*>(picture1));
    QCOMPARE(picture1->geometry(), QRect(2, 74, 500, 500));
    QCOMPARE(control<QWidget>(map.get(), "Picture2")->geometry(), QRect(6, 74, 794, 400));
}

QTEST_MAIN(TestWindowResources)
#include "test_window_resources.moc"
