#include "tools/text_columns.h"

#include "engine/text.h"

#include <algorithm>
#include <iterator>

namespace {

// clang-format off
constexpr TextColumn SHORT_COLUMNS[] = {
    // Item names: 64 pixels in the shop's rows (the price follows) and on the light ring (the
    // won label follows), 80 for the bait catch's catches, 107 on the dashboard's weapon column.
    {TEXT_ITEM_NAME + 900, TEXT_ITEM_NAME + 2499, 16, 64, false},
    // The dashboard: the statistics' labels over the 545 line and the value, the date column's
    // words between its digits, the equipment columns, the best skill's and art's names.
    {500, 501, 16, 32, true}, {504, 504, 16, 32, true}, {533, 537, 16, 32, true},
    {541, 542, 16, 32, true}, {550, 558, 16, 32, true}, {560, 573, 16, 32, true},
    {545, 545, 16, 16, true},
    {302, 302, 24, 32, true}, {304, 309, 24, 32, true}, {314, 315, 24, 32, true},
    {310, 313, 24, 72, true},
    {52500, 53499, 24, 107, false},
    // Persons' names: the character screen prints the player's name in 24-pixel type with 112
    // pixels before the values' labels.
    {1000, 1299, 24, 112, false},
    // The character screen: the stamina label, the money's labels (the money's own digits and
    // the unit between them; the shops' baskets and the bait catch's count use 548, 549 and
    // 3337 alike), the inner power's labels, the tab row's captions, the affection label.
    {507, 507, 16, 61, true}, {582, 582, 16, 32, true}, {548, 548, 16, 16, true},
    {549, 549, 16, 36, true}, {3337, 3337, 16, 24, true}, {3312, 3312, 16, 78, true},
    {3314, 3314, 16, 78, true}, {3315, 3318, 16, 45, true}, {3319, 3319, 16, 74, true},
    {587, 587, 16, 64, true},
    // The shops: the basket's labels at the right (the next one 66, 37 and 75 pixels on), the
    // two big buttons' labels, the total's label over the total.
    {578, 578, 16, 66, true}, {579, 579, 16, 37, true}, {580, 581, 16, 75, true},
    {591, 592, 16, 75, true}, {3338, 3339, 16, 52, true}, {576, 576, 16, 32, true},
    // The light ring: the skill's label over its value, the won label over the wins (also the
    // bait catch's caught label).
    {10685, 10685, 16, 80, true}, {10687, 10687, 16, 16, true},
    // The bait catch: the skill's, the rod's and the bait's labels.
    {10688, 10690, 16, 80, true},
    // The quit button of the mini-games (24 pixels, 48 of room) and the light puzzle's give-up
    // button (40 pixels of room): small digits, then the quit button's size again.
    {331, 331, 24, 40, true},
    // The character screen's clock dial: one label beside the next, about 26 pixels apart.
    {3300, 3311, 16, 26, true},
    // The two-track game's lines of labels (left to right, the room before the next label) and
    // the end screen's label before the score.
    {20600, 20600, 16, 110, true}, {20601, 20601, 16, 30, true}, {20602, 20602, 16, 125, true},
    {20603, 20603, 16, 30, true},  {20604, 20605, 16, 110, true}, {20606, 20606, 16, 30, true},
    {20612, 20612, 24, 118, true}, {20516, 20516, 24, 94, true},
    // The pop-up game: the labels over the hit counts, the skill's label over its value.
    {20504, 20504, 16, 50, true}, {20509, 20514, 16, 50, true}, {20506, 20506, 16, 70, true},
};
// clang-format on

const std::string WORD = "\xA4\xE5\xA6\x72"; // "文字": text

std::string size_markup(s32 pixels) {
    return "$S" + std::string{char('0' + pixels / 10), char('0' + pixels % 10)};
}

} // namespace

std::span<const TextColumn> text_short_columns() {
    return SHORT_COLUMNS;
}

std::string text_placeholder_form(s32 id) {
    const std::string digits = std::to_string(id);
    const auto column =
        std::find_if(std::begin(SHORT_COLUMNS), std::end(SHORT_COLUMNS),
                     [id](const TextColumn& c) { return id >= c.first && id <= c.last; });
    if (column == std::end(SHORT_COLUMNS)) return WORD + digits;
    const TextColumn& c = *column;
    const s32 n = s32(digits.size());
    if ((n + 2) * c.size <= c.room) return WORD + digits;
    if (n * c.size <= c.room || !c.one_size) return digits;
    // The glyph sizes below 24 that the scaler draws (20 would draw 8-pixel glyphs 20 apart).
    for (const s32 smaller : {16, 12})
        if (smaller < c.size && n * smaller <= c.room)
            return size_markup(smaller) + digits + size_markup(c.size);
    const s32 fit = std::clamp(c.room / 8, 1, n);
    return size_markup(8) + digits.substr(size_t(n - fit)) + size_markup(c.size);
}
