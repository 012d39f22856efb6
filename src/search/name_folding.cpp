#include "search/name_folding.h"

#include <array>
#include <cstdint>

namespace orvine {

namespace {

// The ASCII letter of each code point of Latin-1 Supplement and Latin Extended-A and -B
// (U+00C0..U+024F) and of Latin Extended Additional (U+1E00..U+1EFF): its compatibility
// decomposition without the combining marks, lower-cased; for the letters without a
// decomposition (ø, ł, đ, ı, ə ...) the letter it is written as in English. '.' keeps the
// code point as it is; '*' points to the two-letter table below.
constexpr std::string_view LATIN_FROM_C0 =
    "aaaaaa*ceeeeiiiidnooooo.ouuuuy**aaaaaa*ceeeeiiiidnooooo.ouuuuy*y"
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiii**jjkkkllllll."
    ".llnnnnnn.nnoooooo**rrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs"
    "..............ee..f.............oo.............uu..............."
    "....*********aaiioouuuuuuuuuueaaaa....ggkkoooo..j***gg..nnaa...."
    "aaaaeeeeiiiioooorrrruuuusstt..hh......aaeeooooooooyy............"
    "................";
constexpr std::string_view LATIN_FROM_1E00 =
    "aabbbbbbccddddddddddeeeeeeeeeeffgghhhhhhhhhhiiiikkkkkkllllllllmm"
    "mmmmnnnnnnnnoooooooopppprrrrrrrrssssssssssttttttttuuuuuuuuuuvvvv"
    "wwwwwwwwwwxxxxyyzzzzzzhtwy.s..*.aaaaaaaaaaaaaaaaaaaaaaaaeeeeeeee"
    "eeeeeeeeiiiioooooooooooooooooooooooouuuuuuuuuuuuuuyyyyyyyy......";

struct TwoLetters {
    char32_t code_point;
    const char* letters;
};
constexpr std::array<TwoLetters, 22> LATIN_TWO_LETTERS = {{
    {0xC6, "ae"},  {0xDE, "th"},  {0xDF, "ss"},  {0xE6, "ae"},  {0xFE, "th"},  {0x132, "ij"},
    {0x133, "ij"}, {0x152, "oe"}, {0x153, "oe"}, {0x1C4, "dz"}, {0x1C5, "dz"}, {0x1C6, "dz"},
    {0x1C7, "lj"}, {0x1C8, "lj"}, {0x1C9, "lj"}, {0x1CA, "nj"}, {0x1CB, "nj"}, {0x1CC, "nj"},
    {0x1F1, "dz"}, {0x1F2, "dz"}, {0x1F3, "dz"}, {0x1E9E, "ss"},
}};

// Half-width forms U+FF61..U+FF9D as the full-width characters they stand for.
constexpr std::array<std::uint16_t, 61> FULL_WIDTH_OF_HALF_WIDTH = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3,
};

bool is_separator(char32_t c)
{
    switch (c) {
    case U' ': case U'-': case U'\'': case U'.': case U',': case U'=': case U'`':
    case 0xA0: case 0x2BB: case 0x2BC: case 0x2018: case 0x2019: case 0x3000: case 0x30FB:
        return true;
    default:
        return c >= 0x2010 && c <= 0x2015;
    }
}

bool is_control(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// Reads one UTF-8 sequence at `at`, refusing overlong forms, surrogates and values past
// U+10FFFF.
bool decode(std::string_view s, std::size_t& at, char32_t& c)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned lead = byte(at);
    std::size_t length;
    char32_t minimum;
    if (lead < 0x80) {
        c = lead;
        ++at;
        return true;
    } else if (lead >= 0xC2 && lead < 0xE0) {
        length = 2, minimum = 0x80, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3, minimum = 0x800, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4, minimum = 0x10000, c = lead & 0x07;
    } else {
        return false;
    }
    if (s.size() - at < length)
        return false;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
        return false;
    at += length;
    return true;
}

void append_utf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The hiragana at the end of the key, if the key ends in one (always three bytes).
char32_t last_hiragana(const std::string& key)
{
    if (key.size() < 3)
        return 0;
    std::size_t at = key.size() - 3;
    char32_t c;
    if (!decode(key, at, c) || c < 0x3041 || c > 0x3096)
        return 0;
    return c;
}

void replace_last_hiragana(std::string& key, char32_t c)
{
    key.resize(key.size() - 3);
    append_utf8(key, c);
}

// か..ち, つ..と and は..ほ: the voiced form follows the plain one (か が, は ば ぱ).
void add_voicing(std::string& key, bool semi_voiced)
{
    const char32_t c = last_hiragana(key);
    const bool ka_to_chi = c >= 0x304B && c <= 0x3061 && (c - 0x304B) % 2 == 0;
    const bool tsu_to_to = c == 0x3064 || c == 0x3066 || c == 0x3068;
    const bool ha_to_ho = c >= 0x306F && c <= 0x307B && (c - 0x306F) % 3 == 0;
    if (semi_voiced) {
        if (ha_to_ho)
            replace_last_hiragana(key, c + 2);
    } else if (ka_to_chi || tsu_to_to || ha_to_ho) {
        replace_last_hiragana(key, c + 1);
    } else if (c == 0x3046) {
        replace_last_hiragana(key, 0x3094); // う゛ = ゔ
    }
}

bool append_latin(std::string& key, char32_t c)
{
    char letter = 0;
    if (c >= 0xC0 && c < 0xC0 + LATIN_FROM_C0.size())
        letter = LATIN_FROM_C0[c - 0xC0];
    else if (c >= 0x1E00 && c < 0x1E00 + LATIN_FROM_1E00.size())
        letter = LATIN_FROM_1E00[c - 0x1E00];
    if (letter == 0 || letter == '.')
        return false;
    if (letter != '*') {
        key += letter;
        return true;
    }
    for (const TwoLetters& t : LATIN_TWO_LETTERS) {
        if (t.code_point == c) {
            key += t.letters;
            return true;
        }
    }
    return false;
}

} // namespace

FoldProblem fold_for_search(std::string_view text, std::string& key)
{
    key.clear();
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t c;
        if (!decode(text, at, c))
            return FoldProblem::invalid_utf8;
        if (is_control(c))
            return FoldProblem::control_character;
        if (c >= 0xFF01 && c <= 0xFF5E)
            c -= 0xFEE0;
        else if (c >= 0xFF61 && c <= 0xFF9D)
            c = FULL_WIDTH_OF_HALF_WIDTH[c - 0xFF61];
        if (c == 0x3099 || c == 0x309B || c == 0xFF9E || c == 0x309A || c == 0x309C || c == 0xFF9F) {
            add_voicing(key, c == 0x309A || c == 0x309C || c == 0xFF9F);
            continue;
        }
        if (is_separator(c) || (c >= 0x300 && c < 0x370))
            continue;
        if (c >= U'A' && c <= U'Z')
            c += U'a' - U'A';
        if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE)
            c -= 0x60;
        if (c == 0x3095)
            c = 0x304B;
        else if (c == 0x3096)
            c = 0x3051;
        if (c >= 0xC0 && append_latin(key, c))
            continue;
        append_utf8(key, c);
    }
    return FoldProblem::none;
}

} // namespace orvine
