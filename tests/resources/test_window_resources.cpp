// The three windows as built from their tables: texts with their blanks, sizes, bar
// ranges and directions, starting states, keyboard order, menus, fonts and colours.
#include "platform/platform.h"
#include "resources/window_builder.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <memory>

using namespace orvine;

namespace {

std::unique_ptr<QMainWindow> built(const WindowSpec& table, const CustomFactory& factory = {})
{
    auto w = std::make_unique<QMainWindow>();
    build_window(*w, table, factory);
    return w;
}

const WindowSpec& spec_named(const QString& name)
{
    if (name == QLatin1String("Form1"))
        return form1_spec();
    if (name == QLatin1String("Form2"))
        return form2_spec();
    return frmjpmap_spec();
}

QRect sub_control(QScrollBar* bar, QStyle::SubControl sc)
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

QStringList action_names(const QWidget* menu)
{
    QStringList names;
    for (QAction* a : menu->actions())
        names << (a->menu() ? a->menu()->objectName() : a->objectName());
    return names;
}

} // namespace

class TestWindowResources : public QObject {
    Q_OBJECT
private slots:
    void texts_keep_their_blanks_data();
    void texts_keep_their_blanks();
    void client_area_is_the_table_size_data();
    void client_area_is_the_table_size();
    void frame_is_fixed_without_minimise_or_maximise();
    void centred_before_the_first_show();
    void bars_hold_range_and_count_upwards_data();
    void bars_hold_range_and_count_upwards();
    void trough_clicks_step_and_clamp();
    void only_the_listed_buttons_start_disabled();
    void tab_order_of_the_bars();
    void main_menu_structure();
    void place_list_menu_and_map_without_menu();
    void fonts_and_colours();
    void accessible_names_only_where_no_text();
    void factory_makes_the_pictures();
};

void TestWindowResources::texts_keep_their_blanks_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::newRow("Form1 caption") << "Form1" << "" << "Orvine";
    QTest::newRow("Form2 caption") << "Form2" << "" << QString::fromUtf16(u"地名リスト 読込・登録");
    QTest::newRow("map caption empty") << "frmjpmap" << "" << "";
    QTest::newRow("btn_next") << "Form1" << "btn_next" << QString::fromUtf16(u"次\u3000へ");
    QTest::newRow("btn_end") << "Form1" << "btn_end" << QString::fromUtf16(u"終\u3000了");
    QTest::newRow("btn_return") << "Form1" << "btn_return" << QString::fromUtf16(u"戻\u3000る");
    QTest::newRow("lbido1 trailing blank") << "Form1" << "lbido1" << QString::fromUtf16(u"緯度：\u3000");
    QTest::newRow("lbido2 no blank") << "Form1" << "lbido2" << QString::fromUtf16(u"緯度：");
    QTest::newRow("Label5 distance") << "Form1" << "Label5" << QString::fromUtf16(u"距離\u3000");
    QTest::newRow("Label12") << "Form1" << "Label12"
                             << QString::fromUtf16(u"目的地点\u2026\u2026\u2026\u2026\u2026");
    QTest::newRow("Form1 Label17") << "Form1" << "Label17"
        << QString::fromUtf16(u"南緯：\uff10\uff5e\uff0d\uff19\uff10度\u3000西経：\uff10\uff5e\uff0d\uff11\uff18\uff10度");
    QTest::newRow("Form2 Label17") << "Form2" << "Label17"
        << QString::fromUtf16(u"南緯：\uff10\uff5e\uff0d\uff19\uff10度\u3000西経：\uff10\uff5e\uff0d\uff11\uff18\uff10度");
    QTest::newRow("Label3 units") << "Form1" << "Label3" << QString::fromUtf16(u"度\u3000\u3000分\u3000\u3000秒");
    QTest::newRow("btnsakujyo ascii and ideographic") << "Form2" << "btnsakujyo" << QString::fromUtf16(u"削 \u3000除");
    QTest::newRow("btncan") << "Form2" << "btncan" << QString::fromUtf16(u"戻 る(cancel)");
    QTest::newRow("Form2 Frame1") << "Form2" << "Frame1" << QString::fromUtf16(u"地名の緯度・経度");
    QTest::newRow("echo label empty") << "Form2" << "lbkei_do" << "";
}

void TestWindowResources::texts_keep_their_blanks()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, text);
    auto w = built(spec_named(window));
    if (control.isEmpty()) {
        QCOMPARE(w->windowTitle(), text);
        return;
    }
    QObject* c = w->findChild<QObject*>(control);
    QVERIFY(c);
    if (auto* label = qobject_cast<QLabel*>(c))
        QCOMPARE(label->text(), text);
    else if (auto* button = qobject_cast<QPushButton*>(c))
        QCOMPARE(button->text(), text);
    else if (auto* frame = qobject_cast<QGroupBox*>(c))
        QCOMPARE(frame->title(), text);
    else
        QFAIL("control without text");
}

void TestWindowResources::client_area_is_the_table_size_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QSize>("pixels");
    QTest::newRow("Form1 7455 x 5730") << "Form1" << QSize(497, 382);
    QTest::newRow("Form2 7830 x 5670") << "Form2" << QSize(522, 378);
    QTest::newRow("frmjpmap 12090 x 7200") << "frmjpmap" << QSize(806, 480);
}

void TestWindowResources::client_area_is_the_table_size()
{
    QFETCH(QString, window);
    QFETCH(QSize, pixels);
    auto w = built(spec_named(window));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->centralWidget()->size(), pixels);
    QCOMPARE(w->centralWidget()->height() + w->menuBar()->height() * (w->menuBar()->actions().isEmpty() ? 0 : 1),
             w->height());
}

void TestWindowResources::frame_is_fixed_without_minimise_or_maximise()
{
    auto w = built(form1_spec());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    const Qt::WindowFlags flags = w->windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
#ifdef ORVINE_HAVE_IMAGES
    QVERIFY(!w->windowIcon().isNull());
    QVERIFY(!control<QLabel>(w.get(), "Image1")->pixmap().isNull());
#endif
}

void TestWindowResources::centred_before_the_first_show()
{
    auto w = built(form1_spec());
    platform::centre_on_screen(*w);
    const QRect screen = w->screen()->geometry();
    QCOMPARE(w->width(), 497);
    QCOMPARE(w->geometry().center().x(), screen.center().x());
    QVERIFY(qAbs(w->geometry().center().y() - screen.center().y()) <= 1);
}

void TestWindowResources::bars_hold_range_and_count_upwards_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<int>("design");
    for (const char* window : {"Form1", "Form2"}) {
        const QString w = QString::fromLatin1(window);
        QTest::addRow("%s ido_do", window) << w << "ido_do" << 89 << -89 << 35;
        QTest::addRow("%s ido_hun", window) << w << "ido_hun" << 59 << 0 << 30;
        QTest::addRow("%s ido_byo", window) << w << "ido_byo" << 59 << 0 << 30;
        QTest::addRow("%s kei_do", window) << w << "kei_do" << 179 << -179 << 135;
        QTest::addRow("%s kei_hun", window) << w << "kei_hun" << 59 << 0 << 30;
        QTest::addRow("%s kei_byo", window) << w << "kei_byo" << 59 << 0 << 30;
    }
}

void TestWindowResources::bars_hold_range_and_count_upwards()
{
    QFETCH(QString, window);
    QFETCH(QString, bar);
    QFETCH(int, top);
    QFETCH(int, bottom);
    QFETCH(int, design);
    auto w = built(spec_named(window));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto* b = w->findChild<QScrollBar*>(bar);
    QVERIFY(b);
    QCOMPARE(b->value(), design);
    QVERIFY(!b->hasTracking());

    const QPoint up_arrow = sub_control(b, QStyle::SC_ScrollBarSubLine).center();
    const QPoint down_arrow = sub_control(b, QStyle::SC_ScrollBarAddLine).center();
    QVERIFY(up_arrow.y() < down_arrow.y());
    QTest::mouseClick(b, Qt::LeftButton, {}, up_arrow);
    QCOMPARE(b->value(), design + 1);
    QTest::mouseClick(b, Qt::LeftButton, {}, down_arrow);
    QCOMPARE(b->value(), design);

    b->setValue(top);
    QTest::mouseClick(b, Qt::LeftButton, {}, up_arrow);
    QCOMPARE(b->value(), top);
    b->setFocus();
    QTest::keyClick(b, Qt::Key_Down);
    QCOMPARE(b->value(), top - 1);
    QTest::keyClick(b, Qt::Key_Up);
    QCOMPARE(b->value(), top);

    b->setValue(bottom);
    QTest::mouseClick(b, Qt::LeftButton, {}, down_arrow);
    QCOMPARE(b->value(), bottom);
    b->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(b->value(), bottom + 1);

    // The thumb stands higher the larger the value.
    b->setValue(top);
    const int top_thumb = sub_control(b, QStyle::SC_ScrollBarSlider).top();
    b->setValue(bottom);
    QVERIFY(sub_control(b, QStyle::SC_ScrollBarSlider).top() > top_thumb);
}

void TestWindowResources::trough_clicks_step_and_clamp()
{
    auto w = built(form1_spec());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto* kei_do = w->findChild<QScrollBar*>("kei_do");
    kei_do->setValue(135);
    QTest::mouseClick(kei_do, Qt::LeftButton, {}, sub_control(kei_do, QStyle::SC_ScrollBarSlider).topLeft() + QPoint(4, -3));
    QCOMPARE(kei_do->value(), 145);
    QTest::mouseClick(kei_do, Qt::LeftButton, {}, sub_control(kei_do, QStyle::SC_ScrollBarSlider).bottomLeft() + QPoint(4, 3));
    QCOMPARE(kei_do->value(), 135);

    auto* ido_hun = w->findChild<QScrollBar*>("ido_hun");
    ido_hun->setValue(3);
    QTest::mouseClick(ido_hun, Qt::LeftButton, {}, sub_control(ido_hun, QStyle::SC_ScrollBarSlider).bottomLeft() + QPoint(4, 3));
    QCOMPARE(ido_hun->value(), 0);
    ido_hun->setValue(57);
    QTest::mouseClick(ido_hun, Qt::LeftButton, {}, sub_control(ido_hun, QStyle::SC_ScrollBarSlider).topLeft() + QPoint(4, -3));
    QCOMPARE(ido_hun->value(), 59);
}

void TestWindowResources::only_the_listed_buttons_start_disabled()
{
    const QStringList disabled{"btn_kiro", "btn_return", "btn_cal", "btnreturn", "btnteisei", "btnsakujyo"};
    int buttons = 0;
    for (const WindowSpec* table : {&form1_spec(), &form2_spec(), &frmjpmap_spec()}) {
        auto w = built(*table);
        for (QWidget* c : w->centralWidget()->findChildren<QWidget*>()) {
            if (qobject_cast<QPushButton*>(c))
                ++buttons;
            QCOMPARE(c->isEnabled(), !disabled.contains(c->objectName()));
        }
    }
    QCOMPARE(buttons, 5 + 6 + 3);
}

void TestWindowResources::tab_order_of_the_bars()
{
    auto form1 = built(form1_spec());
    QStringList cycle = tab_cycle(form1->findChild<QWidget*>("ido_do"));
    QCOMPARE(cycle, QStringList({"ido_do", "ido_hun", "ido_byo", "kei_do", "kei_hun", "kei_byo", "btn_cal",
                                 "btn_next", "btn_return", "btn_end", "btn_kiro"}));

    auto form2 = built(form2_spec());
    cycle = tab_cycle(form2->findChild<QWidget*>("kei_byo"));
    QCOMPARE(cycle, QStringList({"kei_byo", "kei_hun", "kei_do", "ido_byo", "ido_hun", "ido_do", "btntuika", "Text1",
                                 "btncan", "Command4", "btnsakujyo", "btnteisei", "btnreturn", "List1"}));
}

void TestWindowResources::main_menu_structure()
{
    auto w = built(form1_spec());
    QList<QAction*> titles = w->menuBar()->actions();
    QCOMPARE(titles.size(), 3);
    QCOMPARE(titles[0]->text(), QString::fromUtf16(u"ファイル(&F)"));
    QCOMPARE(titles[1]->text(), QString::fromUtf16(u"地名詳細(&S)"));
    QCOMPARE(titles[2]->text(), QString::fromUtf16(u"ヘルプ(&H)"));
    QCOMPARE(titles[0]->menu()->objectName(), "mnufile");

    auto* file = control<QMenu>(w.get(), "mnufile");
    QCOMPARE(action_names(file), QStringList({"mnusyoki", "mnuline", "mnuend"}));
    QVERIFY(control<QAction>(w.get(), "mnuline")->isSeparator());
    QCOMPARE(control<QAction>(w.get(), "mnusyoki")->text(), QString::fromUtf16(u"初期設定に戻す"));
    QCOMPARE(control<QAction>(w.get(), "mnuend")->text(), QString::fromUtf16(u"Orvineの終了"));

    auto* sel = control<QMenu>(w.get(), "mnusel");
    QCOMPARE(action_names(sel), QStringList({"mnulist", "mnuline2", "mnumap"}));
    QCOMPARE(control<QAction>(w.get(), "mnulist")->text(), QString::fromUtf16(u"地名登録 ・ 読込"));
    QVERIFY(control<QAction>(w.get(), "mnuline2")->isSeparator());
    auto* map = control<QMenu>(w.get(), "mnumap");
    QCOMPARE(map->title(), QString::fromUtf16(u"地図表示"));
    QCOMPARE(action_names(map), QStringList({"mnujap", "mnuwor"}));
    QCOMPARE(control<QAction>(w.get(), "mnujap")->text(), QString::fromUtf16(u"日本地図"));
    QCOMPARE(control<QAction>(w.get(), "mnuwor")->text(), QString::fromUtf16(u"世界地図"));

    QCOMPARE(action_names(control<QMenu>(w.get(), "mnuhelp")), QStringList({"mnuver"}));
    QCOMPARE(control<QAction>(w.get(), "mnuver")->text(), QString::fromUtf16(u"バージョン情報"));
    for (QAction* a : w->findChildren<QAction*>())
        QVERIFY(a->shortcut().isEmpty());
}

void TestWindowResources::place_list_menu_and_map_without_menu()
{
    auto form2 = built(form2_spec());
    QCOMPARE(form2->menuBar()->actions().size(), 2);
    QCOMPARE(action_names(control<QMenu>(form2.get(), "mnufile")), QStringList({"mnucancel"}));
    QCOMPARE(control<QAction>(form2.get(), "mnucancel")->text(), QString::fromUtf16(u"戻 る(cancel)"));
    QCOMPARE(control<QMenu>(form2.get(), "mnuhelp2")->title(), QString::fromUtf16(u"ヘルプ(&H)"));
    QCOMPARE(control<QAction>(form2.get(), "mnuver2")->text(), QString::fromUtf16(u"バージョン情報(&V)"));

    auto map = built(frmjpmap_spec());
    QVERIFY(map->menuBar()->actions().isEmpty());
}

void TestWindowResources::fonts_and_colours()
{
    auto w = built(form1_spec());
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
    QCOMPARE(to_qcolor(form1_spec().text), QColor(0, 0, 0));

    auto map = built(frmjpmap_spec());
    const QPalette app;
    QCOMPARE(map->centralWidget()->palette().color(QPalette::Window), app.color(QPalette::Disabled, QPalette::Text));
    QCOMPARE(control<QLabel>(map.get(), "lblido")->palette().color(QPalette::Window), QColor(224, 224, 224));
    QCOMPARE(control<QLabel>(map.get(), "Label8")->palette().color(QPalette::WindowText),
             app.color(QPalette::HighlightedText));
}

void TestWindowResources::accessible_names_only_where_no_text()
{
    auto w = built(form1_spec());
    QCOMPARE(control<QScrollBar>(w.get(), "ido_do")->accessibleName(), QString::fromUtf16(u"緯度（度）"));
    QCOMPARE(control<QScrollBar>(w.get(), "kei_byo")->accessibleName(), QString::fromUtf16(u"経度（秒）"));
    for (QLabel* label : w->findChildren<QLabel*>())
        QVERIFY2(label->accessibleName().isEmpty(), qPrintable(label->objectName()));

    auto map = built(frmjpmap_spec());
    QCOMPARE(control<QWidget>(map.get(), "Picture1")->accessibleName(), QString::fromUtf16(u"日本地図"));
    QCOMPARE(control<QWidget>(map.get(), "Picture2")->accessibleName(), QString::fromUtf16(u"世界地図"));
}

void TestWindowResources::factory_makes_the_pictures()
{
    QStringList asked;
    auto map = built(frmjpmap_spec(), [&](const ControlSpec& c, QWidget* parent) -> QWidget* {
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
