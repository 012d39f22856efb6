// The map window: its read-out labels, buttons and the two map pictures. The caption,
// size and places are changed when the window is activated.
#include "resources/resource_paths.h"
#include "resources/table_shorthand.h"
#include "resources/window_spec.h"

#include <cstring>

namespace orvine {

using namespace table_shorthand;

const WindowSpec& frmjpmap_spec()
{
    static const WindowSpec table{
        "frmjpmap", "", 12090, 7200, false,
        system_colour(Role::GreyText), kHighlightText, {},
        {
            // name, kind, parent, caption, {L, T, W, H}, tab, font, back, text, flags, tool tip, image
            {"btnClose", K::Button, kWindow, "中止", {6900, 255, 675, 645}, 18},
            {"Picture2", K::PictureBox, kWindow, "", {90, 1110, 11910, 6000}, 17, kDefaultFont, {}, {},
             kNoFlags, nullptr, kWorldMap, "世界地図"},
            {"btndecide", K::Button, kWindow, "決定", {5250, 270, 708, 660}, 16, {10.5}},
            {"btncancel", K::Button, kWindow, "取消", {6075, 255, 708, 660}, 8, {10.5}},
            {"Picture1", K::PictureBox, kWindow, "", {30, 1104, 7500, 7500}, 0, kDefaultFont,
             system_colour(Role::WindowBackground), system_colour(Role::WindowText),
             kNoFlags, nullptr, kJapanMap, "日本地図"},
            {"Label14", K::Label, kWindow, "秒", {3780, 660, 432, 312}, 15, {12}, kGrey, kHighlightText,
             kSingleBorder | kCentred},
            {"lblibyou", K::Label, kWindow, "", {3264, 192, 432, 312}, 14, {13.5}, kReadOut, {}, kCentred},
            {"Label12", K::Label, kWindow, "分", {2760, 660, 372, 312}, 13, {12}, kGrey, kHighlightText,
             kSingleBorder | kCentred},
            {"lblihun", K::Label, kWindow, "", {2208, 192, 432, 312}, 12, {13.5}, kReadOut, {}, kCentred},
            {"Label10", K::Label, kWindow, "度", {1740, 672, 372, 312}, 11, {12}, kGrey, kHighlightText,
             kSingleBorder | kCentred},
            {"lblido", K::Label, kWindow, "", {960, 192, 672, 312}, 10, {13.5}, kReadOut, {}, kCentred},
            {"Label8", K::Label, kWindow, "北緯", {120, 192, 732, 312}, 9, {12}, kGrey, kHighlightText,
             kSingleBorder | kCentred},
            {"Label7", K::Label, kWindow, "秒", {3780, 180, 432, 312}, 7, {12}, kGrey, kHighlightText,
             kSingleBorder | kCentred},
            {"lblkbyou", K::Label, kWindow, "", {3264, 672, 432, 312}, 6, {13.5}, kReadOut, {}, kCentred},
            {"Label5", K::Label, kWindow, "分", {2760, 180, 372, 312}, 5, {12}, kGrey, kHighlightText,
             kSingleBorder | kCentred},
            {"lblkhun", K::Label, kWindow, "", {2208, 672, 432, 312}, 4, {13.5}, kReadOut, {}, kCentred},
            {"Label3", K::Label, kWindow, "度", {1740, 180, 372, 312}, 3, {12}, kGrey, kHighlightText,
             kSingleBorder | kCentred},
            {"lblkdo", K::Label, kWindow, "", {960, 672, 672, 312}, 2, {13.5}, kReadOut, {}, kCentred},
            {"Label1", K::Label, kWindow, "東経", {120, 672, 732, 312}, 1, {12}, kGrey, kHighlightText,
             kSingleBorder | kCentred},
        },
        {},
        {},
    };
    return table;
}

const ControlSpec* WindowSpec::find(const char* control) const
{
    for (const ControlSpec& c : controls) {
        if (std::strcmp(c.name, control) == 0)
            return &c;
    }
    return nullptr;
}

} // namespace orvine
