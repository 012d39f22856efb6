// The place-list window: caption, size, controls, bars and menus.
#include "resources/table_shorthand.h"
#include "resources/window_table.h"

namespace orvine {

using namespace table_shorthand;

const WindowTable& place_list_window_table()
{
    static const WindowTable table{
        "PlaceListWindow", "地名リスト 読込・登録", 7830, 5670, false,
        {}, {}, {},
        {
            // name, kind, parent, caption, {L, T, W, H}, tab, font, back, text, flags, tool tip
            {"List1", K::ListBox, WINDOW, "", {5568, 600, 2052, 4890}, 26, {10.5}, {}, {}, NO_FLAGS, nullptr,
             nullptr, "登録済み地名リスト"},
            {"btnreturn", K::Button, WINDOW, "表示地名読込", {3840, 2976, 1512, 432}, 25, DEFAULT_FONT, {}, {},
             DISABLED_AT_START, "現在表示されている地名を選択する"},
            {"btnteisei", K::Button, WINDOW, "訂正登録", {3840, 1728, 1512, 432}, 24, DEFAULT_FONT, {}, {},
             DISABLED_AT_START, "訂正登録"},
            {"btnsakujyo", K::Button, WINDOW, "削 　除", {3840, 2352, 1512, 432}, 23, DEFAULT_FONT, {}, {},
             DISABLED_AT_START, "選択した地名を削除"},
            {"Command4", K::Button, WINDOW, "初期設定登録", {3840, 3600, 1512, 432}, 22, DEFAULT_FONT, {}, {},
             NO_FLAGS, "起動時の出発地点として選択"},
            {"btncan", K::Button, WINDOW, "戻 る(cancel)", {3840, 4800, 1512, 432}, 21, DEFAULT_FONT, {}, {},
             NO_FLAGS, "登録地名リストからの選択を中止"},
            {"Text1", K::TextBox, WINDOW, "", {3792, 624, 1632, 312}, 18, DEFAULT_FONT, {}, {}, NO_FLAGS, nullptr,
             nullptr, "地名"},
            {"btntuika", K::Button, WINDOW, "追加登録", {3840, 1104, 1512, 432}, 17, DEFAULT_FONT, {}, {},
             NO_FLAGS, "地名等入力後、右リストに追加登録"},
            {"Frame1", K::Frame, WINDOW, "地名の緯度・経度", {180, 180, 3432, 5052}, 0, {11.25, true}},
            {"Label17", K::Label, WINDOW, "南緯：０～－９０度　西経：０～－１８０度", {240, 5325, 3435, 195}, 27,
             {9.75}, {}, HINT_TEXT},
            {"Label6", K::Label, WINDOW, "登録済み地名リスト", {5640, 240, 2115, 255}, 20, {11.25, true}},
            {"Label5", K::Label, WINDOW, "地　名", {3840, 240, 672, 252}, 19, {11.25, true}},

            // Inside Frame1: the bars of the main window with the tab order reversed.
            {"kei_byo", K::VScrollBar, FRAME1, "", {2880, 420, 252, 3192}, 1, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, nullptr, "経度（秒）"},
            {"kei_hun", K::VScrollBar, FRAME1, "", {2400, 420, 252, 3192}, 2, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, nullptr, "経度（分）"},
            {"kei_do", K::VScrollBar, FRAME1, "", {1920, 420, 252, 3192}, 3, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, nullptr, "経度（度）"},
            {"ido_byo", K::VScrollBar, FRAME1, "", {1260, 420, 252, 3192}, 4, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, nullptr, "緯度（秒）"},
            {"ido_hun", K::VScrollBar, FRAME1, "", {780, 420, 252, 3192}, 5, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, nullptr, "緯度（分）"},
            {"ido_do", K::VScrollBar, FRAME1, "", {300, 420, 252, 3192}, 6, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, nullptr, "緯度（度）"},
            {"Label1", K::Label, FRAME1, "緯　度", {420, 4500, 972, 312}, 16, {12}, GREY, WHITE,
             SINGLE_BORDER | CENTRED},
            {"Label2", K::Label, FRAME1, "経　度", {2040, 4500, 1032, 312}, 15, {12}, GREY, WHITE,
             SINGLE_BORDER | CENTRED},
            {"Label3", K::Label, FRAME1, "度　　分　　秒", {300, 4080, 1212, 252}, 14, {10.5}, {}, {}, CENTRED},
            {"Label4", K::Label, FRAME1, "度　　分　　秒", {1920, 4080, 1212, 252}, 13, {10.5}, {}, {}, CENTRED},
            {"lbido_do", K::Label, FRAME1, "", {120, 3780, 615, 255}, 12, {12}, {}, WINDOW_TEXT, CENTRED},
            {"lbido_hun", K::Label, FRAME1, "", {780, 3780, 252, 252}, 11, {12}, {}, WINDOW_TEXT, CENTRED},
            {"lbido_byo", K::Label, FRAME1, "", {1260, 3780, 252, 252}, 10, {12}, {}, WINDOW_TEXT, CENTRED},
            {"lbkei_do", K::Label, FRAME1, "", {1680, 3780, 615, 255}, 9, {12}, {}, WINDOW_TEXT, CENTRED},
            {"lbkei_hun", K::Label, FRAME1, "", {2400, 3780, 252, 252}, 8, {12}, {}, WINDOW_TEXT, CENTRED},
            {"lbkei_byo", K::Label, FRAME1, "", {2880, 3780, 252, 252}, 7, {12}, {}, WINDOW_TEXT, CENTRED},
        },
        dms_scroll_bar_rows(),
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
