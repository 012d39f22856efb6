#include "resources/window_builder.h"

#include "controls/fading_frame.h"
#include "controls/upward_scroll_bar.h"
#include "platform/platform.h"
#include "resources/resource_paths.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QWheelEvent>
#include <QtMath>

#include <algorithm>
#include <vector>

namespace orvine {

using platform::twips_to_px;

QColor to_qcolor(const Colour& colour, const QPalette& palette)
{
    switch (colour.role) {
    case Colour::Role::Rgb:
        return QColor(colour.r, colour.g, colour.b);
    case Colour::Role::WindowText:
        return palette.color(QPalette::Active, QPalette::WindowText);
    case Colour::Role::WindowBackground:
        return palette.color(QPalette::Active, QPalette::Base);
    case Colour::Role::HighlightText:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case Colour::Role::GreyText:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case Colour::Role::None:
        break;
    }
    return QColor();
}

namespace {

QRect to_px(const TwipsRect& r)
{
    return QRect(twips_to_px(r.left), twips_to_px(r.top), twips_to_px(r.width), twips_to_px(r.height));
}

// The layout was drawn with the narrow proportional blanks and digits of ＭＳ Ｐゴシック;
// the fallback fonts are up to a tenth wider, which would cut "-179" at both ends, and
// their lines are up to a pixel taller than the boxes, which would cut the top strokes of
// bold glyphs. A label without background or border is therefore given room around its
// box, where nothing else shows: a centred one on either side, every one above and below,
// with its line centred on the box's.
constexpr int CENTRED_SPILL_PX = 10;
constexpr int LINE_SPILL_PX = 2;

bool spills(const ControlRow& c)
{
    return c.kind == ControlKind::Label && !(c.flags & SINGLE_BORDER) && !c.back.is_set();
}

QRect control_geometry(const ControlRow& c)
{
    QRect r = to_px(c.place);
    if (spills(c)) {
        const int side = (c.flags & CENTRED) ? CENTRED_SPILL_PX : 0;
        r.adjust(-side, -LINE_SPILL_PX, side, LINE_SPILL_PX);
    }
    return r;
}

// Captions were set for the narrow glyphs of ＭＳ Ｐゴシック; where the fallback font makes
// a label's caption wider than its box ("出発地点……………" in IPA P Gothic), the font is
// narrowed just enough for the caption to show whole at the place and size of the layout.
void narrow_to_fit(QLabel& label)
{
    // Ink may stand a pixel beyond the advance (hinting, synthetic bold): two to spare.
    const qreal room = label.contentsRect().width() - 2;
    const qreal needed = QFontMetricsF(label.font()).horizontalAdvance(label.text());
    if (needed <= room)
        return;
    // Advances are rounded to whole pixels after narrowing, so the estimate is checked.
    QFont narrowed = label.font();
    for (int stretch = qFloor(100 * room / needed); stretch > 50; --stretch) {
        narrowed.setStretch(stretch);
        if (QFontMetricsF(narrowed).horizontalAdvance(label.text()) <= room)
            break;
    }
    label.setFont(narrowed);
}

void apply_colours(QWidget& w, const ControlRow& c)
{
    if (!c.back.is_set() && !c.text.is_set())
        return;
    QPalette pal = w.palette();
    if (c.back.is_set()) {
        pal.setColor(QPalette::Window, to_qcolor(c.back, pal));
        w.setAutoFillBackground(true);
    }
    if (c.text.is_set())
        pal.setColor(QPalette::WindowText, to_qcolor(c.text, pal));
    w.setPalette(pal);
}

QWidget* make_scroll_bar(const ControlRow& c, const WindowTable& table, QWidget* parent)
{
    const auto& bars = table.scroll_bars;
    const auto it = std::find_if(bars.begin(), bars.end(),
                                 [&](const ScrollBarRow& s) { return qstrcmp(s.name, c.name) == 0; });
    if (it == bars.end())
        qFatal("no range for scroll bar %s", c.name);
    QScrollBar* bar = nullptr;
    if (it->min > it->max) {
        bar = new UpwardScrollBar(parent);
        bar->setRange(it->max, it->min);
    } else {
        bar = new QScrollBar(Qt::Vertical, parent);
        bar->setRange(it->min, it->max);
    }
    // Without tracking, valueChanged is the change event (arrow, trough, end of a drag)
    // and sliderMoved the scroll event during a drag.
    bar->setTracking(false);
    bar->setSingleStep(it->small_change);
    bar->setPageStep(it->large_change);
    bar->setValue(it->value);
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

QWidget* make_control(const ControlRow& c, const WindowTable& table, QWidget* parent, const CustomFactory& factory)
{
    const QString caption = QString::fromUtf8(c.caption);
    switch (c.kind) {
    case ControlKind::Button: {
        auto* button = new QPushButton(caption, parent);
        // Return presses the focused button, as many users expect from other desktops; Qt
        // does this unasked only inside dialogs.
        button->setAutoDefault(true);
        return button;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText);
        // Lines are centred on their boxes, which are barely taller than them (see
        // LINE_SPILL_PX); at the top of a bordered label, Qt would also add half an "x" of
        // indent inside the border and push the glyphs onto the bottom line.
        label->setAlignment(((c.flags & CENTRED) ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        if (c.flags & SINGLE_BORDER) {
            label->setFrameShape(QFrame::Box);
            label->setLineWidth(1);
        }
        return label;
    }
    case ControlKind::Frame:
        return new FadingFrame(caption, parent);
    case ControlKind::VScrollBar:
        return make_scroll_bar(c, table, parent);
    case ControlKind::ListBox:
        return new QListWidget(parent);
    case ControlKind::TextBox:
        return new QLineEdit(caption, parent);
    case ControlKind::Image: {
        auto* image = new QLabel(parent);
        image->setScaledContents(true);
        if (c.image)
            image->setPixmap(QPixmap(QString::fromLatin1(c.image)));
        return image;
    }
    case ControlKind::PictureBox:
        if (factory) {
            if (QWidget* custom = factory(c, parent))
                return custom;
        }
        return new QWidget(parent);
    }
    return nullptr;
}

void build_menus(QMainWindow& window, const std::vector<MenuRow>& menus)
{
    std::vector<QMenu*> open;  // open[d] receives the entries of depth d + 1
    for (std::size_t i = 0; i < menus.size(); ++i) {
        const MenuRow& m = menus[i];
        const QString text = QString::fromUtf8(m.text ? m.text : "");
        const bool has_children = i + 1 < menus.size() && menus[i + 1].depth > m.depth;
        open.resize(static_cast<std::size_t>(m.depth));
        if (m.depth == 0 || has_children) {
            QMenu* menu = m.depth == 0 ? window.menuBar()->addMenu(text) : open.back()->addMenu(text);
            menu->setObjectName(QString::fromLatin1(m.name));
            open.push_back(menu);
        } else {
            QAction* action = m.text ? open.back()->addAction(text) : open.back()->addSeparator();
            action->setObjectName(QString::fromLatin1(m.name));
        }
    }
}

} // namespace

void build_window(QMainWindow& window, const WindowTable& table, const CustomFactory& factory)
{
    window.setObjectName(QString::fromLatin1(table.name));
    // A window outside the taskbar is a dialog to the window manager; both keep only the
    // close box (no minimise or maximise), and the size is fixed below.
    window.setWindowFlags((table.in_taskbar ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint);
    window.setWindowTitle(QString::fromUtf8(table.caption));
    QIcon icon;
    icon.addFile(QString::fromLatin1(ICON32));
    icon.addFile(QString::fromLatin1(ICON16));
    window.setWindowIcon(icon);
    window.setFont(platform::window_default_font());

    auto* client = new QWidget(&window);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips_to_px(table.client_width), twips_to_px(table.client_height));
    if (table.back.is_set()) {
        QPalette pal = client->palette();
        pal.setColor(QPalette::Window, to_qcolor(table.back, pal));
        client->setPalette(pal);
        client->setAutoFillBackground(true);
    }
    window.setCentralWidget(client);
    build_menus(window, table.menus);
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);

    QMap<QString, QWidget*> frames;
    std::vector<std::pair<int, QWidget*>> tab_order;
    for (const ControlRow& c : table.controls) {
        QWidget* parent = client;
        if (c.parent) {
            parent = frames.value(QString::fromLatin1(c.parent));
            if (!parent)
                qFatal("frame %s of %s is not created before it", c.parent, c.name);
        }
        QWidget* w = make_control(c, table, parent, factory);
        w->setObjectName(QString::fromLatin1(c.name));
        w->setGeometry(control_geometry(c));
        // Every control gets its font explicitly so that a frame's bold title font does
        // not pass on to the controls inside it.
        w->setFont(c.font.points > 0 ? platform::ms_pgothic(c.font.points, c.font.bold)
                                     : platform::window_default_font());
        if (c.kind == ControlKind::Label && !(c.flags & CENTRED))
            narrow_to_fit(*static_cast<QLabel*>(w));
        apply_colours(*w, c);
        if (c.tool_tip)
            w->setToolTip(QString::fromUtf8(c.tool_tip));
        if (c.accessible_name)
            w->setAccessibleName(QString::fromUtf8(c.accessible_name));
        if (c.flags & DISABLED_AT_START)
            w->setEnabled(false);
        if (c.kind == ControlKind::Frame)
            frames.insert(QString::fromLatin1(c.name), w);
        if (c.tab >= 0 && (w->focusPolicy() & Qt::TabFocus))
            tab_order.emplace_back(c.tab, w);
    }
    std::sort(tab_order.begin(), tab_order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tab_order.size(); ++i)
        QWidget::setTabOrder(tab_order[i - 1].second, tab_order[i].second);
}

} // namespace orvine
