#include "data/items.h"

#include "engine/math.h"

#include <initializer_list>

ItemEntry item_master[ITEM_COUNT];

namespace {

constexpr ItemEntry EMPTY_ITEM = {0, 0, -1, ITEM_KIND_NONE};

struct AntiqueGroup {
    s32 genuine_result;      // what the genuine member becomes when appraised
    s32 genuine_requirement; // the genuine member's appraisal threshold
    s32 others_base;         // a junk member needs others_base - rand_below(20)
};

// clang-format off
// Antique groups 0..11 (items 2400 + 5g .. 2404 + 5g).
constexpr AntiqueGroup ANTIQUE_GROUPS[ANTIQUE_GENUINE_GROUPS] = {
    {2301, 40, 30}, // 0: 2400-2404
    {2320, 30, 35}, // 1: 2405-2409
    {2306, 40, 40}, // 2: 2410-2414
    {2311, 65, 65}, // 3: 2415-2419
    {2309, 50, 50}, // 4: 2420-2424
    {2313, 70, 70}, // 5: 2425-2429
    {1055, 50, 50}, // 6: 2430-2434
    {1059, 80, 80}, // 7: 2435-2439
    {1152, 60, 60}, // 8: 2440-2444
    {1154, 80, 80}, // 9: 2445-2449
    {1454, 70, 70}, // 10: 2450-2454
    {940,  50, 50}, // 11: 2455-2459
};
// clang-format on

struct ItemValue {
    s32 item;
    s32 value;
};

void kinds(s32 first, s32 last, s32 kind) {
    for (s32 i = first; i <= last; ++i) item_master[i].kind = kind;
}
// Every item of first..last gets the same value.
void values(s32 first, s32 last, s32 value) {
    for (s32 i = first; i <= last; ++i) item_master[i].value = value;
}
// Consecutive items from `first` get the listed values.
void values(s32 first, std::initializer_list<s32> list) {
    s32 i = first;
    for (s32 v : list) item_master[i++].value = v;
}
// The listed items get the listed values.
void values(std::initializer_list<ItemValue> list) {
    for (const ItemValue& e : list) item_master[e.item].value = e.value;
}
// base + rand_below(span), drawn anew for each item in ascending order.
void random_values(s32 first, s32 last, s32 base, s32 span) {
    for (s32 i = first; i <= last; ++i) item_master[i].value = base + rand_below(span);
}

} // namespace

const ItemEntry& item_entry(s32 item) {
    return item_valid(item) ? item_master[item] : EMPTY_ITEM;
}

void init_item_master() {
    for (ItemEntry& e : item_master) e = EMPTY_ITEM;

    kinds(1400, 1569, ITEM_KIND_EQUIPMENT);
    kinds(1250, 1299, ITEM_KIND_CONSUMABLE);
    kinds(1820, 1829, ITEM_KIND_NO_EFFECT);
    kinds(1880, 1889, ITEM_KIND_SPECIAL);
    kinds(2050, 2099, ITEM_KIND_FOOD);
    kinds(ANTIQUE_FIRST, ANTIQUE_LAST, ITEM_KIND_ANTIQUE);

    // One genuine member per group, drawn first; then each junk member's threshold in order.
    for (s32 g = 0; g < ANTIQUE_GENUINE_GROUPS; ++g) {
        const AntiqueGroup& group = ANTIQUE_GROUPS[g];
        const s32 genuine = rand_below(ANTIQUE_GROUP_SIZE);
        for (s32 i = 0; i < ANTIQUE_GROUP_SIZE; ++i) {
            ItemEntry& e = item_master[ANTIQUE_FIRST + ANTIQUE_GROUP_SIZE * g + i];
            if (i == genuine) {
                e.result = group.genuine_result;
                e.requirement = group.genuine_requirement;
            } else {
                e.requirement = group.others_base - rand_below(20);
            }
        }
    }

    // clang-format off
    // Values, row by row; the random rows draw in this order.
    values(1200, {2, 5, 7, 9, 6, 5, 9, 4, 4, 5, 2, 8, 8, 10, 8, 7, 4, 61, 14, 124, 10, 62, 9, 7,
                  4, 10, 12, 13, 10, 27, 23, 78, 40, 90, 20, 100, 12, 23});
    values(1250, 1299, 0);
    values({{1250, 500}, {1253, 2000}, {1254, 400}, {1255, 300}, {1257, 1000}, {1258, 800},
            {1259, 600}, {1263, 1500}, {1270, 2000}, {1271, 1200}, {1275, 3000}, {1281, 1800}});
    values(1400, 1599, 1000);
    values({{1400, 150}, {1401, 50}, {1402, 200}, {1403, 300}, {1404, 20}, {1405, 300},
            {1406, 400}, {1407, 500}, {1408, 3000}, {1410, 100}, {1411, 150}, {1412, 500},
            {1414, 800}, {1415, 4000}, {1418, 6000}, {1419, 8000}, {1423, 10000}, {1430, 100},
            {1431, 200}, {1432, 18}, {1433, 500}, {1434, 350}, {1435, 400}, {1436, 100},
            {1437, 150}, {1438, 200}, {1439, 250}, {1440, 300}, {1441, 300}, {1444, 800},
            {1447, 5000}, {1448, 8000}, {1449, 3000}, {1450, 9000}, {1460, 100}, {1461, 300},
            {1462, 500}, {1463, 700}, {1464, 4000}, {1465, 400}, {1468, 5000}, {1470, 300},
            {1476, 20000}, {1480, 5000}, {1481, 3000}, {1482, 10000}, {1506, 3000}, {1550, 2},
            {1551, 10}, {1552, 5}, {1553, 12}, {1554, 20}, {1555, 15}, {1570, 2}, {1571, 10},
            {1572, 300}, {1573, 500}, {1574, 10}, {1575, 200}, {1576, 400}});
    values(1800, {2, 3});
    values(1840, {300, 50, 55, 95, 300, 30, 65});
    values(1860, {2, 5, 7, 3, 100});
    values(1880, {80, 170, 300, 500}); // 1884-1889 stay 0
    values(1890, {150});
    random_values(1900, 1949, 500, 200);
    random_values(1950, 1999, 30, 30);
    random_values(2000, 2049, 300, 200);
    random_values(2050, 2064, 30, 30);
    random_values(2065, 2099, 200, 100);
    random_values(2100, 2149, 200, 100);
    values(2150, {330, 150});
    values(2160, {5, 8});
    values(2200, {1});
    values(2210, {8, 20, 30, 40, 50, 100, 200, 300});
    values(2220, {10});
    values(2230, {7, 15, 30});
    values(2240, {1, 2});
    values(2250, {5});
    random_values(2260, 2274, 50, 50);
    random_values(2300, 2359, 1000, 2000);
    random_values(2360, 2399, 1, 10);
    values(900, {10, 30, 500, 1000, 2000});
    values(940, {3000});
    values(950, {500, 1000, 1500, 2000});
    random_values(2400, 2499, 30, 80);
    random_values(1050, 1099, 2000, 3000);
    random_values(1150, 1199, 2000, 3000);
    values(1000, {18, 24, 27, 28, 22, 26, 29, 31, 22});
    values(2275, {4, 3, 6, 5, 4, 3, 7, 27, 24, 23, 25, 25, 26, 22, 17, 14, 13, 15, 15, 16, 12,
                  10, 10, 10, 10});
    // clang-format on
}
