// The main window: caption, size, controls, bars and menus.
#include "resources/table_shorthand.h"
#include "resources/window_spec.h"
#include "resources/resource_paths.h"

namespace orvine {

using namespace table_shorthand;

const std::vector<ScrollSpec>& dms_scroll_specs()
{
    static const std::vector<ScrollSpec> bars{
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

const WindowSpec& form1_spec()
{
    static const WindowSpec table{
        "Form1", "Orvine", 7455, 5730, true,
        {}, kBlack, rgb(128, 128, 255),
        {
            // name, kind, parent, caption, {L, T, W, H}, tab, font, back, text, flags, tool tip
            {"btn_kiro", K::Button, kWindow, "帰路", {3720, 2160, 615, 375}, 34, kDefaultFont, {}, {},
             kDisabledAtStart, "出発地点と目的地点の入れ替え"},
            {"btn_end", K::Button, kWindow, "終　了", {6480, 300, 732, 432}, 24, kDefaultFont, {}, {},
             kNoFlags, "お終い"},
            {"btn_return", K::Button, kWindow, "戻　る", {4560, 300, 732, 432}, 20, kDefaultFont, {}, {},
             kDisabledAtStart, "出発地点入力モードに戻る"},
            {"btn_next", K::Button, kWindow, "次　へ", {3720, 300, 672, 432}, 18, kDefaultFont, {}, {},
             kNoFlags, "出発地点を入力したらクリック"},
            {"btn_cal", K::Button, kWindow, "方位表示", {5460, 300, 852, 432}, 17, kDefaultFont, {}, {},
             kDisabledAtStart, "方位、距離を計算"},
            {"Frame1", K::Frame, kWindow, "出発地点", {120, 180, 3432, 5052}, 0, {11.25, true}},
            {"mplace", K::Label, kWindow, "", {3720, 1800, 1572, 192}, 33},
            {"splace", K::Label, kWindow, "", {3720, 1200, 1572, 192}, 32},
            {"lb_dis", K::Label, kWindow, "", {4380, 5340, 2532, 252}, 31, {10.5}, kGrey, kWhite},
            {"Label5", K::Label, kWindow, "距離　", {3720, 5340, 492, 252}, 30, {12}, kGrey, kWhite},
            {"Image1", K::Image, kWindow, "", {4320, 2250, 2424, 2460}, -1, kDefaultFont, {}, {},
             kNoFlags, nullptr, kIcon32, "地球儀"},
            {"lb_cal", K::Label, kWindow, "", {4380, 4980, 2532, 252}, 29, {10.5}, kGrey, kWhite},
            {"Label18", K::Label, kWindow, "方位　", {3720, 4980, 492, 252}, 28, {12}, kGrey, kWhite},
            {"Label17", K::Label, kWindow, "南緯：０～－９０度　西経：０～－１８０度", {240, 5355, 3435, 195}, 27,
             {9.75}, {}, kHintText},
            {"lbkei2", K::Label, kWindow, "経度：", {5400, 1800, 1956, 192}, 26},
            {"lbido2", K::Label, kWindow, "緯度：", {5400, 1500, 1956, 192}, 25},
            {"lbkei1", K::Label, kWindow, "経度：", {5400, 1200, 1956, 192}, 23},
            {"lbido1", K::Label, kWindow, "緯度：　", {5400, 900, 1956, 192}, 22},
            {"Label12", K::Label, kWindow, "目的地点……………", {3720, 1500, 1632, 192}, 21, {9.75, true}, {}, kBlack},
            {"Label11", K::Label, kWindow, "出発地点……………", {3720, 900, 1632, 192}, 19, {9.75, true}, {}, kBlack},

            // Inside Frame1.
            {"kei_byo", K::VScrollBar, kFrame1, "", {2880, 420, 252, 3192}, 6, kDefaultFont, {}, {},
             kNoFlags, nullptr, nullptr, "経度（秒）"},
            {"kei_hun", K::VScrollBar, kFrame1, "", {2400, 420, 252, 3192}, 5, kDefaultFont, {}, {},
             kNoFlags, nullptr, nullptr, "経度（分）"},
            {"kei_do", K::VScrollBar, kFrame1, "", {1920, 420, 252, 3192}, 4, kDefaultFont, {}, {},
             kNoFlags, nullptr, nullptr, "経度（度）"},
            {"ido_byo", K::VScrollBar, kFrame1, "", {1260, 420, 252, 3192}, 3, kDefaultFont, {}, {},
             kNoFlags, nullptr, nullptr, "緯度（秒）"},
            {"ido_hun", K::VScrollBar, kFrame1, "", {780, 420, 252, 3192}, 2, kDefaultFont, {}, {},
             kNoFlags, nullptr, nullptr, "緯度（分）"},
            {"ido_do", K::VScrollBar, kFrame1, "", {300, 420, 252, 3192}, 1, kDefaultFont, {}, {},
             kNoFlags, nullptr, nullptr, "緯度（度）"},
            {"lbkei_byo", K::Label, kFrame1, "", {2880, 3780, 252, 252}, 16, {12}, {}, kWindowText, kCentred},
            {"lbkei_hun", K::Label, kFrame1, "", {2400, 3780, 252, 252}, 15, {12}, {}, kWindowText, kCentred},
            {"lbkei_do", K::Label, kFrame1, "", {1800, 3780, 492, 252}, 14, {12}, {}, kWindowText, kCentred},
            {"lbido_byo", K::Label, kFrame1, "", {1260, 3780, 252, 252}, 13, {12}, {}, kWindowText, kCentred},
            {"lbido_hun", K::Label, kFrame1, "", {780, 3780, 252, 252}, 12, {12}, {}, kWindowText, kCentred},
            {"lbido_do", K::Label, kFrame1, "", {240, 3780, 372, 252}, 11, {12}, {}, kWindowText, kCentred},
            {"Label4", K::Label, kFrame1, "度　　分　　秒", {1920, 4080, 1212, 252}, 10, {10.5}, {}, {}, kCentred},
            {"Label3", K::Label, kFrame1, "度　　分　　秒", {300, 4080, 1212, 252}, 9, {10.5}, {}, {}, kCentred},
            {"Label2", K::Label, kFrame1, "経　度", {2040, 4500, 1032, 312}, 8, {12}, kGrey, kWhite,
             kSingleBorder | kCentred},
            {"Label1", K::Label, kFrame1, "緯　度", {420, 4500, 972, 312}, 7, {12}, kGrey, kWhite,
             kSingleBorder | kCentred},
        },
        dms_scroll_specs(),
        {
            {0, "mnufile", "ファイル(&F)"},
            {1, "mnusyoki", "初期設定に戻す"},
            {1, "mnuline", kSeparator},
            {1, "mnuend", "Orvineの終了"},
            {0, "mnusel", "地名詳細(&S)"},
            {1, "mnulist", "地名登録 ・ 読込"},
            {1, "mnuline2", kSeparator},
            {1, "mnumap", "地図表示"},
            {2, "mnujap", "日本地図"},
            {2, "mnuwor", "世界地図"},
            {0, "mnuhelp", "ヘルプ(&H)"},
            {1, "mnuver", "バージョン情報"},
        },
    };
    return table;
}

} // namespace orvine
