#pragma once
// The windows described as data: one table per window, read by build_window().
//
// Lengths are twips (1/1440 inch; the layout was made at 15 twips per pixel). A control
// inside a frame is placed relative to the frame's outer corner, any other relative to
// the window's client area. Rows are in the order in which the window creates its
// controls; `tab` is the place in the keyboard order (0 first, -1 for none).
#include <vector>

namespace orvine {

enum class ControlKind { Button, Label, Frame, VScrollBar, ListBox, TextBox, Image, PictureBox };

// A colour as an RGB value or as a system role that follows the desktop's palette.
struct Colour {
    enum class Role { None, Rgb, WindowText, WindowBackground, HighlightText, GreyText };
    Role role = Role::None;
    int r = 0;
    int g = 0;
    int b = 0;

    bool is_set() const { return role != Role::None; }
};
constexpr Colour rgb(int r, int g, int b) { return Colour{Colour::Role::Rgb, r, g, b}; }
constexpr Colour system_colour(Colour::Role role) { return Colour{role, 0, 0, 0}; }

// "ＭＳ Ｐゴシック" at a point size; points 0 means the window's default font.
struct FontSpec {
    constexpr FontSpec(double points_ = 0, bool bold_ = false) : points(points_), bold(bold_) {}
    double points;
    bool bold;
};
constexpr FontSpec DEFAULT_FONT{};

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The flags column of a control row: any of these or-ed together.
constexpr unsigned NO_FLAGS = 0;
constexpr unsigned SINGLE_BORDER = 1u << 0;
constexpr unsigned CENTRED = 1u << 1;
constexpr unsigned DISABLED_AT_START = 1u << 2;

// One row of a window table; the trailing columns may be left out when empty.
struct ControlRow {
    ControlRow(const char* name_, ControlKind kind_, const char* parent_, const char* caption_, TwipsRect place_,
                int tab_, FontSpec font_ = DEFAULT_FONT, Colour back_ = {}, Colour text_ = {},
                unsigned flags_ = NO_FLAGS, const char* tool_tip_ = nullptr, const char* image_ = nullptr,
                const char* accessible_name_ = nullptr)
        : name(name_), kind(kind_), parent(parent_), caption(caption_), place(place_), tab(tab_), font(font_),
          back(back_), text(text_), flags(flags_), tool_tip(tool_tip_), image(image_),
          accessible_name(accessible_name_)
    {
    }

    const char* name;
    ControlKind kind;
    const char* parent;  // nullptr: the window; otherwise the frame's name
    const char* caption;
    TwipsRect place;
    int tab;             // -1: not in the tab order
    FontSpec font;
    Colour back;
    Colour text;
    unsigned flags;
    const char* tool_tip;
    const char* image;            // resource path of the picture it shows
    const char* accessible_name;  // only for controls whose content is not text
};

// Min is the value at the top of the bar, Max at the bottom; Min may be the larger one.
struct ScrollBarRow {
    const char* name;
    int min;
    int max;
    int small_change;
    int large_change;
    int value;
};

// One row per menu entry, depth 0 for the menu-bar titles. An entry followed by deeper
// entries is a submenu; text nullptr is a separator. "&" marks the access key.
struct MenuRow {
    int depth;
    const char* name;
    const char* text;
};
constexpr const char* SEPARATOR = nullptr;

struct WindowTable {
    const char* name;
    const char* caption;
    int client_width;   // twips
    int client_height;  // twips
    bool in_taskbar;
    Colour back;
    Colour text;
    Colour fill;        // fill colour for figures drawn on the window (solid style)
    std::vector<ControlRow> controls;
    std::vector<ScrollBarRow> scroll_bars;
    std::vector<MenuRow> menus;
};

const WindowTable& main_window_table();
const WindowTable& place_list_window_table();
const WindowTable& map_window_table();

// Ranges, steps and design values of the six bars, shared by both frames.
const std::vector<ScrollBarRow>& dms_scroll_bar_rows();

} // namespace orvine
