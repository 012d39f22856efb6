// The map window: its read-out labels, buttons and the two map pictures. The caption,
// size and places are changed when the window is activated.
#include "resources/resource_paths.h"
#include "resources/table_shorthand.h"
#include "resources/window_table.h"


namespace orvine {

using namespace table_shorthand;

const WindowTable& map_window_table()
{
    static const WindowTable table{
        "MapWindow", "", 12090, 7200, false,
        system_colour(Role::GreyText), HIGHLIGHT_TEXT, {},
        {
            // name, kind, parent, caption, {L, T, W, H}, tab, font, back, text, flags, tool tip, image
            {"btnClose", K::Button, WINDOW, "中止", {6900, 255, 675, 645}, 18},
            {"Picture2", K::PictureBox, WINDOW, "", {90, 1110, 11910, 6000}, 17, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, WORLD_MAP, "世界地図"},
            {"btndecide", K::Button, WINDOW, "決定", {5250, 270, 708, 660}, 16, {10.5}},
            {"btncancel", K::Button, WINDOW, "取消", {6075, 255, 708, 660}, 8, {10.5}},
            {"Picture1", K::PictureBox, WINDOW, "", {30, 1104, 7500, 7500}, 0, DEFAULT_FONT,
             system_colour(Role::WindowBackground), system_colour(Role::WindowText),
             NO_FLAGS, nullptr, JAPAN_MAP, "日本地図"},
            {"Label14", K::Label, WINDOW, "秒", {3780, 660, 432, 312}, 15, {12}, GREY, HIGHLIGHT_TEXT,
             SINGLE_BORDER | CENTRED},
            {"lblibyou", K::Label, WINDOW, "", {3264, 192, 432, 312}, 14, {13.5}, READ_OUT, {}, CENTRED},
            {"Label12", K::Label, WINDOW, "分", {2760, 660, 372, 312}, 13, {12}, GREY, HIGHLIGHT_TEXT,
             SINGLE_BORDER | CENTRED},
            {"lblihun", K::Label, WINDOW, "", {2208, 192, 432, 312}, 12, {13.5}, READ_OUT, {}, CENTRED},
            {"Label10", K::Label, WINDOW, "度", {1740, 672, 372, 312}, 11, {12}, GREY, HIGHLIGHT_TEXT,
             SINGLE_BORDER | CENTRED},
            {"lblido", K::Label, WINDOW, "", {960, 192, 672, 312}, 10, {13.5}, READ_OUT, {}, CENTRED},
            {"Label8", K::Label, WINDOW, "北緯", {120, 192, 732, 312}, 9, {12}, GREY, HIGHLIGHT_TEXT,
             SINGLE_BORDER | CENTRED},
            {"Label7", K::Label, WINDOW, "秒", {3780, 180, 432, 312}, 7, {12}, GREY, HIGHLIGHT_TEXT,
             SINGLE_BORDER | CENTRED},
            {"lblkbyou", K::Label, WINDOW, "", {3264, 672, 432, 312}, 6, {13.5}, READ_OUT, {}, CENTRED},
            {"Label5", K::Label, WINDOW, "分", {2760, 180, 372, 312}, 5, {12}, GREY, HIGHLIGHT_TEXT,
             SINGLE_BORDER | CENTRED},
            {"lblkhun", K::Label, WINDOW, "", {2208, 672, 432, 312}, 4, {13.5}, READ_OUT, {}, CENTRED},
            {"Label3", K::Label, WINDOW, "度", {1740, 180, 372, 312}, 3, {12}, GREY, HIGHLIGHT_TEXT,
             SINGLE_BORDER | CENTRED},
            {"lblkdo", K::Label, WINDOW, "", {960, 672, 672, 312}, 2, {13.5}, READ_OUT, {}, CENTRED},
            {"Label1", K::Label, WINDOW, "東経", {120, 672, 732, 312}, 1, {12}, GREY, HIGHLIGHT_TEXT,
             SINGLE_BORDER | CENTRED},
        },
        {},
        {},
    };
    return table;
}

} // namespace orvine
