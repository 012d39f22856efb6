// The main window: caption, size, controls, bars and menus.
#include "resources/table_shorthand.h"
#include "resources/window_table.h"
#include "resources/resource_paths.h"

namespace orvine {

using namespace table_shorthand;

const std::vector<ScrollBarRow>& dms_scroll_bar_rows()
{
    static const std::vector<ScrollBarRow> bars{
        // name       Min  Max   Small Large Value
        {"ido_do",    89,  -89,  1,    10,   35},
        {"ido_hun",   59,  0,    1,    5,    30},
        {"ido_byo",   59,  0,    1,    5,    30},
        {"kei_do",    179, -179, 1,    10,   135},
        {"kei_hun",   59,  0,    1,    5,    30},
        {"kei_byo",   59,  0,    1,    5,    30},
    };
    return bars;
}

const WindowTable& main_window_table()
{
    static const WindowTable table{
        "MainWindow", "Orvine", 7455, 5730, true,
        {}, BLACK, rgb(128, 128, 255),
        {
            // name, kind, parent, caption, {L, T, W, H}, tab, font, back, text, flags, tool tip
            {"btn_kiro", K::Button, WINDOW, "帰路", {3720, 2160, 615, 375}, 34, DEFAULT_FONT, {}, {},
             DISABLED_AT_START, "出発地点と目的地点の入れ替え"},
            {"btn_end", K::Button, WINDOW, "終　了", {6480, 300, 732, 432}, 24, DEFAULT_FONT, {}, {},
             NO_FLAGS, "お終い"},
            {"btn_return", K::Button, WINDOW, "戻　る", {4560, 300, 732, 432}, 20, DEFAULT_FONT, {}, {},
             DISABLED_AT_START, "出発地点入力モードに戻る"},
            {"btn_next", K::Button, WINDOW, "次　へ", {3720, 300, 672, 432}, 18, DEFAULT_FONT, {}, {},
             NO_FLAGS, "出発地点を入力したらクリック"},
            {"btn_cal", K::Button, WINDOW, "方位表示", {5460, 300, 852, 432}, 17, DEFAULT_FONT, {}, {},
             DISABLED_AT_START, "方位、距離を計算"},
            {"Frame1", K::Frame, WINDOW, "出発地点", {120, 180, 3432, 5052}, 0, {11.25, true}},
            {"mplace", K::Label, WINDOW, "", {3720, 1800, 1572, 192}, 33},
            {"splace", K::Label, WINDOW, "", {3720, 1200, 1572, 192}, 32},
            {"lb_dis", K::Label, WINDOW, "", {4380, 5340, 2532, 252}, 31, {10.5}, GREY, WHITE},
            {"Label5", K::Label, WINDOW, "距離　", {3720, 5340, 492, 252}, 30, {12}, GREY, WHITE},
            {"Image1", K::Image, WINDOW, "", {4320, 2250, 2424, 2460}, -1, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, ICON32, "地球儀"},
            {"lb_cal", K::Label, WINDOW, "", {4380, 4980, 2532, 252}, 29, {10.5}, GREY, WHITE},
            {"Label18", K::Label, WINDOW, "方位　", {3720, 4980, 492, 252}, 28, {12}, GREY, WHITE},
            {"Label17", K::Label, WINDOW, "南緯：０～－９０度　西経：０～－１８０度", {240, 5355, 3435, 195}, 27,
             {9.75}, {}, HINT_TEXT},
            {"lbkei2", K::Label, WINDOW, "経度：", {5400, 1800, 1956, 192}, 26},
            {"lbido2", K::Label, WINDOW, "緯度：", {5400, 1500, 1956, 192}, 25},
            {"lbkei1", K::Label, WINDOW, "経度：", {5400, 1200, 1956, 192}, 23},
            {"lbido1", K::Label, WINDOW, "緯度：　", {5400, 900, 1956, 192}, 22},
            {"Label12", K::Label, WINDOW, "目的地点……………", {3720, 1500, 1632, 192}, 21, {9.75, true}, {}, BLACK},
            {"Label11", K::Label, WINDOW, "出発地点……………", {3720, 900, 1632, 192}, 19, {9.75, true}, {}, BLACK},

            // Inside Frame1.
            {"kei_byo", K::VScrollBar, FRAME1, "", {2880, 420, 252, 3192}, 6, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, nullptr, "経度（秒）"},
            {"kei_hun", K::VScrollBar, FRAME1, "", {2400, 420, 252, 3192}, 5, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, nullptr, "経度（分）"},
            {"kei_do", K::VScrollBar, FRAME1, "", {1920, 420, 252, 3192}, 4, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, nullptr, "経度（度）"},
            {"ido_byo", K::VScrollBar, FRAME1, "", {1260, 420, 252, 3192}, 3, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, nullptr, "緯度（秒）"},
            {"ido_hun", K::VScrollBar, FRAME1, "", {780, 420, 252, 3192}, 2, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, nullptr, "緯度（分）"},
            {"ido_do", K::VScrollBar, FRAME1, "", {300, 420, 252, 3192}, 1, DEFAULT_FONT, {}, {},
             NO_FLAGS, nullptr, nullptr, "緯度（度）"},
            {"lbkei_byo", K::Label, FRAME1, "", {2880, 3780, 252, 252}, 16, {12}, {}, WINDOW_TEXT, CENTRED},
            {"lbkei_hun", K::Label, FRAME1, "", {2400, 3780, 252, 252}, 15, {12}, {}, WINDOW_TEXT, CENTRED},
            {"lbkei_do", K::Label, FRAME1, "", {1800, 3780, 492, 252}, 14, {12}, {}, WINDOW_TEXT, CENTRED},
            {"lbido_byo", K::Label, FRAME1, "", {1260, 3780, 252, 252}, 13, {12}, {}, WINDOW_TEXT, CENTRED},
            {"lbido_hun", K::Label, FRAME1, "", {780, 3780, 252, 252}, 12, {12}, {}, WINDOW_TEXT, CENTRED},
            {"lbido_do", K::Label, FRAME1, "", {240, 3780, 372, 252}, 11, {12}, {}, WINDOW_TEXT, CENTRED},
            {"Label4", K::Label, FRAME1, "度　　分　　秒", {1920, 4080, 1212, 252}, 10, {10.5}, {}, {}, CENTRED},
            {"Label3", K::Label, FRAME1, "度　　分　　秒", {300, 4080, 1212, 252}, 9, {10.5}, {}, {}, CENTRED},
            {"Label2", K::Label, FRAME1, "経　度", {2040, 4500, 1032, 312}, 8, {12}, GREY, WHITE,
             SINGLE_BORDER | CENTRED},
            {"Label1", K::Label, FRAME1, "緯　度", {420, 4500, 972, 312}, 7, {12}, GREY, WHITE,
             SINGLE_BORDER | CENTRED},
        },
        dms_scroll_bar_rows(),
        {
            {0, "mnufile", "ファイル(&F)"},
            {1, "mnusyoki", "初期設定に戻す"},
            {1, "mnuline", SEPARATOR},
            {1, "mnuend", "Orvineの終了"},
            {0, "mnusel", "地名詳細(&S)"},
            {1, "mnulist", "地名登録 ・ 読込"},
            {1, "mnuline2", SEPARATOR},
            {1, "mnumap", "地図表示"},
            {2, "mnujap", "日本地図"},
            {2, "mnuwor", "世界地図"},
            {2, "mnuazi", "方位地図"},
            {0, "mnuhelp", "ヘルプ(&H)"},
            {1, "mnuver", "バージョン情報"},
        },
    };
    return table;
}

} // namespace orvine
