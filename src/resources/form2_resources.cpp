// The place-list window: caption, size, controls, bars and menus.
#include "resources/table_shorthand.h"
#include "resources/window_spec.h"

namespace orvine {

using namespace table_shorthand;

const WindowSpec& form2_spec()
{
    static const WindowSpec table{
        "Form2", "地名リスト 読込・登録", 7830, 5670, false,
        {}, {}, {},
        {
            // name, kind, parent, caption, {L, T, W, H}, tab, font, back, text, flags, tool tip
            {"List1", K::ListBox, kWindow, "", {5568, 600, 2052, 4890}, 26, {10.5}, {}, {}, kNoFlags, nullptr,
             nullptr, "登録済み地名リスト"},
            {"btnreturn", K::Button, kWindow, "表示地名読込", {3840, 2976, 1512, 432}, 25, kDefaultFont, {}, {},
             kDisabledAtStart, "現在表示されている地名を選択する"},
            {"btnteisei", K::Button, kWindow, "訂正登録", {3840, 1728, 1512, 432}, 24, kDefaultFont, {}, {},
             kDisabledAtStart, "訂正登録"},
            {"btnsakujyo", K::Button, kWindow, "削 　除", {3840, 2352, 1512, 432}, 23, kDefaultFont, {}, {},
             kDisabledAtStart, "選択した地名を削除"},
            {"Command4", K::Button, kWindow, "初期設定登録", {3840, 3600, 1512, 432}, 22, kDefaultFont, {}, {},
             kNoFlags, "起動時の出発地点として選択"},
            {"btncan", K::Button, kWindow, "戻 る(cancel)", {3840, 4800, 1512, 432}, 21, kDefaultFont, {}, {},
             kNoFlags, "登録地名リストからの選択を中止"},
            {"Text1", K::TextBox, kWindow, "", {3792, 624, 1632, 312}, 18, kDefaultFont, {}, {}, kNoFlags, nullptr,
             nullptr, "地名"},
            {"btntuika", K::Button, kWindow, "追加登録", {3840, 1104, 1512, 432}, 17, kDefaultFont, {}, {},
             kNoFlags, "地名等入力後、右リストに追加登録"},
            {"Frame1", K::Frame, kWindow, "地名の緯度・経度", {180, 180, 3432, 5052}, 0, {11.25, true}},
            {"Label17", K::Label, kWindow, "南緯：０～－９０度　西経：０～－１８０度", {240, 5325, 3435, 195}, 27,
             {9.75}, {}, kHintText},
            {"Label6", K::Label, kWindow, "登録済み地名リスト", {5640, 240, 2115, 255}, 20, {11.25, true}},
            {"Label5", K::Label, kWindow, "地　名", {3840, 240, 672, 252}, 19, {11.25, true}},

            // Inside Frame1: the bars of the main window with the tab order reversed.
            {"kei_byo", K::VScrollBar, kFrame1, "", {2880, 420, 252, 3192}, 1, kDefaultFont, {}, {},
             kNoFlags, nullptr, nullptr, "経度（秒）"},
            {"kei_hun", K::VScrollBar, kFrame1, "", {2400, 420, 252, 3192}, 2, kDefaultFont, {}, {},
             kNoFlags, nullptr, nullptr, "経度（分）"},
            {"kei_do", K::VScrollBar, kFrame1, "", {1920, 420, 252, 3192}, 3, kDefaultFont, {}, {},
             kNoFlags, nullptr, nullptr, "経度（度）"},
            {"ido_byo", K::VScrollBar, kFrame1, "", {1260, 420, 252, 3192}, 4, kDefaultFont, {}, {},
             kNoFlags, nullptr, nullptr, "緯度（秒）"},
            {"ido_hun", K::VScrollBar, kFrame1, "", {780, 420, 252, 3192}, 5, kDefaultFont, {}, {},
             kNoFlags, nullptr, nullptr, "緯度（分）"},
            {"ido_do", K::VScrollBar, kFrame1, "", {300, 420, 252, 3192}, 6, kDefaultFont, {}, {},
             kNoFlags, nullptr, nullptr, "緯度（度）"},
            {"Label1", K::Label, kFrame1, "緯　度", {420, 4500, 972, 312}, 16, {12}, kGrey, kWhite,
             kSingleBorder | kCentred},
            {"Label2", K::Label, kFrame1, "経　度", {2040, 4500, 1032, 312}, 15, {12}, kGrey, kWhite,
             kSingleBorder | kCentred},
            {"Label3", K::Label, kFrame1, "度　　分　　秒", {300, 4080, 1212, 252}, 14, {10.5}, {}, {}, kCentred},
            {"Label4", K::Label, kFrame1, "度　　分　　秒", {1920, 4080, 1212, 252}, 13, {10.5}, {}, {}, kCentred},
            {"lbido_do", K::Label, kFrame1, "", {120, 3780, 615, 255}, 12, {12}, {}, kWindowText, kCentred},
            {"lbido_hun", K::Label, kFrame1, "", {780, 3780, 252, 252}, 11, {12}, {}, kWindowText, kCentred},
            {"lbido_byo", K::Label, kFrame1, "", {1260, 3780, 252, 252}, 10, {12}, {}, kWindowText, kCentred},
            {"lbkei_do", K::Label, kFrame1, "", {1680, 3780, 615, 255}, 9, {12}, {}, kWindowText, kCentred},
            {"lbkei_hun", K::Label, kFrame1, "", {2400, 3780, 252, 252}, 8, {12}, {}, kWindowText, kCentred},
            {"lbkei_byo", K::Label, kFrame1, "", {2880, 3780, 252, 252}, 7, {12}, {}, kWindowText, kCentred},
        },
        dms_scroll_specs(),
        {
            {0, "mnufile", "ファイル(&F)"},
            {1, "mnucancel", "戻 る(cancel)"},
            {0, "mnuhelp2", "ヘルプ(&H)"},
            {1, "mnuver2", "バージョン情報(&V)"},
        },
    };
    return table;
}

} // namespace orvine
