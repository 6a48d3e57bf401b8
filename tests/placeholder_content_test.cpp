// The placeholder archive as a player meets it: every picture that the item master, the item
// tables and the roster name is there; the light-ring lamps, the light puzzle's dark lamps and the
// two-track game's hit windows can be seen; the backdrops are light under dark text; and the
// placeholder texts of the screens' short columns fit their room and still show their ids.
#include "data/item_tables.h"
#include "data/items.h"
#include "data/roster.h"
#include "engine/gisk.h"
#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/world/walk.h"
#include "minigames/light_puzzle.h"
#include "minigames/light_ring.h"
#include "minigames/tracks.h"
#include "tests/sprite_decode.h"
#include "tools/arcbuild.h"
#include "tools/text_writer.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const ArcBuilder& content() {
    static const ArcBuilder built = [] {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        return b;
    }();
    return built;
}

// The bytes of image `id` (through an alias), or nullptr.
const std::vector<u8>* image(s32 id) {
    u32 key = u32(ARC_IMAGE_BASE + id);
    const auto alias = content().aliases().find(key);
    if (alias != content().aliases().end()) key = alias->second;
    const auto it = content().entries().find(key);
    return it == content().entries().end() || it->second.empty() ? nullptr : &it->second.bytes();
}

// A sprite's pixels as 5-5-5 colours of its first palette, -1 where it is see-through.
struct Pixels {
    s32 w = 0, h = 0;
    std::vector<s32> colour;
    s32 at(s32 x, s32 y) const { return colour[size_t(y * w + x)]; }
};

Pixels pixels(s32 id) {
    Pixels px;
    const std::vector<u8>* bytes = image(id);
    if (bytes == nullptr) {
        ADD_FAILURE() << "no image " << id;
        return px;
    }
    const SpriteSource s = sprite_decode(bytes->data());
    px.w = s.width;
    px.h = s.height;
    px.colour.assign(s.cells.size(), -1);
    for (size_t i = 0; i < s.cells.size(); ++i)
        if (s.cells[i] != SPRITE_CLEAR && !s.palettes.empty())
            px.colour[i] = s.palettes[0][size_t(s.cells[i])];
    return px;
}

// Light enough for dark text: the three 5-bit channels add up to 60 or more (of 93).
bool light(s32 colour) {
    return colour >= 0 && (colour >> 10 & 31) + (colour >> 5 & 31) + (colour & 31) >= 60;
}

TEST(PlaceholderContent, EveryPictureTheTablesNameIsThere) {
    init_item_master();
    init_item_tables();
    init_roster();
    std::set<s32> items;
    for (s32 n = 0; n < ITEM_COUNT; ++n) {
        const ItemEntry& e = item_master[n];
        if (e.value != 0 || e.kind != ITEM_KIND_NONE || e.requirement != 0) items.insert(n);
        if (e.result >= 0) items.insert(e.result); // what an appraisal gives
    }
    for (s32 s = 0; s < EQUIP_SLOT_COUNT; ++s)
        for (s32 i = 0; i < EQUIP_SLOT_ITEMS[s]; ++i) items.insert(EQUIP_SLOT_FIRST_ITEM[s] + i);
    for (const EquipEntry& e : equip_table) items.insert(e.item);
    for (const ConsumableEntry& e : consumable_table)
        for (const Ingredient& g : e.ingredients)
            if (g.item >= 0) items.insert(g.item);
    for (const s32 item : items)
        EXPECT_NE(image(IMAGE_ITEM_BASE + item), nullptr) << "item " << item;

    for (s32 p = 0; p < ROSTER_SIZE; ++p) {
        if (roster[p].hub_portrait >= 0) {
            EXPECT_NE(image(62000 + roster[p].hub_portrait), nullptr) << "roster " << p;
        }
    }
}

// The player is seen walking on the map: every frame the walk shows in both sprite sets, with
// its shadow in the next image.
TEST(PlaceholderContent, ThePlayersFramesAreThere) {
    for (const s32 base : {PLAYER_BASE, PLAYER_BASE_ALT})
        for (s32 sector = 0; sector < 8; ++sector) {
            std::vector<s32> frames = {stand_frames[sector]};
            for (s32 step = 0; step <= 14; step += 2) frames.push_back(walk_groups[sector] + step);
            for (const s32 f : frames) {
                EXPECT_NE(image(base + f), nullptr) << base << "+" << f;
                EXPECT_NE(image(base + f + 1), nullptr) << "shadow of " << base << "+" << f;
            }
        }
}

TEST(PlaceholderContent, GamePicturesShowWhatThePlayerLooksFor) {
    // The light ring: the lamp frame (drawn 5 pixels up and left of its lamp) leaves the lamp
    // seen, and a prize's lamp and panel field share a colour that another prize's lack.
    const Pixels frame = pixels(25299);
    ASSERT_EQ(frame.w, 60);
    for (s32 y = 5; y < 5 + 67; ++y)
        for (s32 x = 5; x < 5 + 50; ++x) ASSERT_EQ(frame.at(x, y), -1) << x << ", " << y;
    const auto fill = [](s32 id) { return pixels(id).at(20, 40); };
    EXPECT_EQ(fill(RING_LAMP_IMAGE + 7), fill(RING_PANEL_IMAGE + 7));
    EXPECT_NE(fill(RING_LAMP_IMAGE + 7), fill(RING_LAMP_IMAGE + 8));

    // The light puzzle: the board outlines every lamp's box, since a dark lamp has no picture.
    const Pixels board = pixels(LAMP_BOARD_IMAGE);
    const s32 paper = board.at(620, 300);
    for (const LampSpec& lamp : lamp_specs) {
        EXPECT_NE(board.at(lamp.x, lamp.y + LAMP_BOX_H / 2), paper) << lamp.image;
        EXPECT_NE(board.at(lamp.x + LAMP_BOX_W, lamp.y + LAMP_BOX_H / 2), paper) << lamp.image;
    }

    // The two-track game: down the middle of each track the backdrop is plain exactly where a
    // mark lies while it can be hit (tops 21..33, 24 rows tall), and marked just above and below.
    const Pixels tracks = pixels(25600);
    for (const s32 x : {72 + 22, 128 + 22}) {
        const s32 plain = tracks.at(x, 40);
        EXPECT_NE(tracks.at(x, TRACKS_BAND_ABOVE), plain) << x;
        EXPECT_NE(tracks.at(x, TRACKS_BAND_BELOW - 1 + 24), plain) << x;
        for (s32 y = TRACKS_BAND_ABOVE + 1; y < TRACKS_BAND_BELOW - 1 + 24; ++y)
            EXPECT_EQ(tracks.at(x, y), plain) << x << ", " << y;
    }

    // Light paper under the dark texts: the message line of the light ring, the light puzzle's
    // lines, the two-track game's labels, the character screen, a hub backdrop.
    EXPECT_TRUE(light(pixels(25298).at(100, 350)));
    EXPECT_TRUE(light(pixels(LAMP_BACKDROP_IMAGE).at(100, 350)));
    EXPECT_TRUE(light(pixels(25600).at(100, 340)));
    EXPECT_TRUE(light(pixels(900).at(300, 400)));
    EXPECT_TRUE(light(pixels(60400).at(200, 150)));
}

TEST(PlaceholderContent, ShortColumnsHoldTheirTextsAndShowTheirIds) {
    std::map<s32, std::string> texts;
    for (const TextSource& t : text_placeholder_sources()) texts.emplace(t.first, t.second);
    struct Case {
        s32 id, size, room; // the screen's type size and the pixels before its next element
        s32 size_after;     // the size the screen prints in afterwards
    };
    const Case cases[] = {
        {6212, 16, 64, 16},   // the light ring: a prize's name over the won label
        {10687, 16, 16, 16},  // the won label over the wins
        {10685, 16, 80, 16},  // the skill's label over its value
        {533, 16, 32, 16},    // the dashboard: a statistic's label
        {545, 16, 16, 16},    // the line between a label and its value
        {304, 24, 32, 24},    // the date column's words between its digits
        {331, 24, 48, 24},    // the mini-games' quit button
        {331, 16, 40, 24},    // the light puzzle's give-up button (left in 24)
        {3303, 16, 26, 16},   // a clock label beside the next
        {20601, 16, 30, 16},  // the two-track game's labels, left to right
        {20612, 24, 118, 24}, // ... and the label before the skill's column
        {1000, 24, 112, 24},  // the player's name above the values' labels
        {20510, 16, 50, 16},  // the pop-up game's labels over the hit counts
        {20506, 16, 70, 16},  {579, 16, 37, 16}, // a shop's basket labels, one over the next
        {3338, 16, 52, 16},                      // a shop's big buttons
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const std::string& text = texts.at(u16(c.id));
        kanji_spacing = 0;
        kanji_size = (c.size - 8) / 4;
        EXPECT_LE(kanji_measure(text.c_str()), c.room) << text;
        EXPECT_EQ(kanji_size, (c.size_after - 8) / 4) << text;
        // What shows once the size markup is taken out: the id's last digits, all of them when
        // they fit in the smallest type.
        std::string shown;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '$')
                i += 3;
            else
                shown += text[i];
        }
        const std::string digits = std::to_string(c.id);
        ASSERT_FALSE(shown.empty());
        if (shown.size() > digits.size()) shown = shown.substr(shown.size() - digits.size());
        EXPECT_EQ(digits.substr(digits.size() - shown.size()), shown) << text;
        if (s32(digits.size()) * 8 <= c.room) {
            EXPECT_EQ(shown, digits) << text;
        }
    }
    kanji_size = 4;
}

} // namespace
