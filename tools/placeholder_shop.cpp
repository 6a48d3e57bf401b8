// Placeholder pictures of the shop screens, the meal screen and the item pictures, each a framed
// box showing its id at the size the screens draw it.
#include "data/items.h"
#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"

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

void image_put_placeholder_shop(ArcBuilder& builder) {
    // Encoded once per process: test fixtures build the placeholder archive again and again.
    static const Encoded own = [] {
        Encoded all;
        for (const Picture& p : SHOP_PICTURES) encode(all, p);
        for (const auto& [first, last] : ITEM_RANGES)
            encode(all, {IMAGE_ITEM_BASE + first, IMAGE_ITEM_BASE + last, ITEM_PICTURE_SIZE,
                         ITEM_PICTURE_SIZE});
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
