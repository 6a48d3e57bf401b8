// Placeholder pictures of the shop screens, the meal screen and the item pictures, each a framed
// box showing its id at the size the screens draw it; an item picture also shows its item number.
#include "data/item_tables.h"
#include "data/items.h"
#include "engine/gisk.h"
#include "engine/math.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Picture {
    s32 first, last; // ids first..last
    s32 w, h;
    bool paper = false; // light paper under the screen's dark text
};

// clang-format off
// The shop screens: the two halves of the backdrop, the picture panel, the page arrows (plain
// and under the pointer; 811 and 812 are spares of the same set), the basket's plus and minus
// buttons, its column strip and the two big buttons.
constexpr Picture SHOP_PICTURES[] = {
    {802, 802, 426, 259, true}, // goods list, from (19, 9)
    {803, 803, 195, 295, true}, // picture panel, from (445, 0)
    {804, 804, 618, 207, true}, // basket and totals, from (11, 268)
    {805, 812, 20, 19},   // arrows
    {813, 814, 15, 15},   // plus, minus
    {815, 815, 30, 150, true}, // basket column
    {816, 817, 32, 70},   // leave, confirm
    {818, 819, 15, 15},   // plus, minus under the pointer
};

// Items whose picture a screen can show: the stock of every shop, everything the market can
// offer (its wanted goods included) and the rich start's inventory.
constexpr std::pair<s32, s32> ITEM_RANGES[] = {
    {950, 951},   {1000, 1008}, {1062, 1063}, {1155, 1155}, {1200, 1237}, {1253, 1253},
    {1274, 1274}, {1400, 1403}, {1430, 1430}, {1432, 1432}, {1460, 1462}, {1470, 1470},
    {1472, 1472}, {1550, 1556}, {1570, 1576}, {1800, 1801}, {1841, 1846}, {1860, 1864},
    {1880, 1881}, {1904, 1904}, {1906, 1906}, {1950, 1967}, {2000, 2000}, {2002, 2002},
    {2050, 2064}, {2068, 2069}, {2101, 2101}, {2103, 2103}, {2106, 2107}, {2150, 2151},
    {2160, 2161}, {2200, 2200}, {2210, 2216}, {2220, 2220}, {2230, 2232}, {2240, 2241},
    {2250, 2250}, {2266, 2266}, {2275, 2298}, {2302, 2304}, {2307, 2308}, {2312, 2312},
    {2314, 2314}, {2317, 2318}, {2322, 2322}, {2324, 2324}, {2400, 2459},
};
// clang-format on

constexpr s32 ITEM_PICTURE_SIZE = 64; // fits the shop's panel and the character screen

// The fill of an item picture by the item's kind, light under the dark item number.
u16 item_fill(s32 kind) {
    switch (kind) {
    case ITEM_KIND_EQUIPMENT:
        return 0x5EFF; // steel blue
    case ITEM_KIND_CONSUMABLE:
        return 0x5FF7; // green
    case ITEM_KIND_FOOD:
        return 0x7F2F; // orange
    case ITEM_KIND_ANTIQUE:
        return 0x6E8E; // brown
    default:
        return 0x6B5A; // grey
    }
}

// Runs `read` on the item master and the item tables as a new game builds them, and leaves the
// tables and the random generator as they were.
template <typename Read> void with_new_game_items(Read read) {
    const u32 rand_state = rt_rand_state;
    const s32 counter = rand_counter;
    const auto master = std::to_array(item_master);
    const auto equip = std::to_array(equip_table);
    const auto consumables = std::to_array(consumable_table);
    init_item_master();
    init_equip_tables();
    init_consumables();
    read();
    std::copy(master.begin(), master.end(), item_master);
    std::copy(equip.begin(), equip.end(), equip_table);
    std::copy(consumables.begin(), consumables.end(), consumable_table);
    rt_rand_state = rand_state;
    rand_counter = counter;
}

// The meal screen's portrait and caption, shared with the hub's dialogue: put only when no one
// else put them.
constexpr Picture MEAL_PICTURES[] = {
    {62160, 62160, 120, 156},
    {60324, 60324, 640, 152},
};

using Encoded = std::vector<std::pair<u32, std::vector<u8>>>;

void encode(Encoded& out, const Picture& p) {
    for (s32 id = p.first; id <= p.last; ++id)
        out.emplace_back(u32(ARC_IMAGE_BASE + id), p.paper ? placeholder_paper_sprite(id, p.w, p.h)
                                                           : placeholder_box_sprite(id, p.w, p.h));
}

} // namespace

std::vector<s32> placeholder_item_picture_items() {
    std::set<s32> items;
    for (const auto& [first, last] : ITEM_RANGES)
        for (s32 n = first; n <= last; ++n) items.insert(n);
    with_new_game_items([&items] {
        // Every item with a record that says something, and what an appraisal turns one into.
        for (s32 n = 0; n < ITEM_COUNT; ++n) {
            const ItemEntry& e = item_master[n];
            if (e.value != 0 || e.kind != ITEM_KIND_NONE || e.requirement != 0) items.insert(n);
            if (item_valid(e.result)) items.insert(e.result);
        }
        for (s32 s = 0; s < EQUIP_SLOT_COUNT; ++s)
            for (s32 i = 0; i < EQUIP_SLOT_ITEMS[s]; ++i)
                items.insert(EQUIP_SLOT_FIRST_ITEM[s] + i);
        for (const EquipEntry& e : equip_table)
            if (item_valid(e.item)) items.insert(e.item);
        for (const ConsumableEntry& e : consumable_table)
            for (const Ingredient& g : e.ingredients)
                if (item_valid(g.item)) items.insert(g.item);
        for (s32 i = 0; i < CONSUMABLE_COUNT; ++i) items.insert(CONSUMABLE_FIRST + i);
        for (s32 i = 0; i < FOOD_COUNT; ++i) items.insert(FOOD_FIRST + i);
    });
    return {items.begin(), items.end()};
}

void image_put_placeholder_shop(ArcBuilder& builder) {
    // Encoded once per process: test fixtures build the placeholder archive again and again.
    static const Encoded own = [] {
        Encoded all;
        for (const Picture& p : SHOP_PICTURES) encode(all, p);
        std::vector<s32> kinds(ITEM_COUNT, ITEM_KIND_NONE);
        with_new_game_items([&kinds] {
            for (s32 n = 0; n < ITEM_COUNT; ++n) kinds[size_t(n)] = item_master[n].kind;
        });
        for (const s32 item : placeholder_item_picture_items()) {
            const s32 id = IMAGE_ITEM_BASE + item;
            all.emplace_back(u32(ARC_IMAGE_BASE + id),
                             placeholder_label_sprite(id, ITEM_PICTURE_SIZE, ITEM_PICTURE_SIZE,
                                                      std::to_string(item), 3,
                                                      item_fill(kinds[size_t(item)])));
        }
        return all;
    }();
    static const Encoded shared = [] {
        Encoded all;
        for (const Picture& p : MEAL_PICTURES) encode(all, p);
        return all;
    }();
    for (const auto& [id, bytes] : own) builder.put(id, bytes);
    for (const auto& [id, bytes] : shared)
        if (builder.entries().count(id) == 0) builder.put(id, bytes);
}
