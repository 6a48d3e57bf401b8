// Item use by kind (consumables, special items, food, antiques, equipment, and the kinds that do
// nothing), served meals and the random gift. The item records the cases need are written in
// the test over the built tables; log lines and sounds are read from the transcript.
#include "game/item_use.h"

#include "data/item_tables.h"
#include "data/items.h"
#include "engine/math.h"
#include "game/inventory.h"
#include "game/player.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 APPRAISAL = 17;
constexpr s32 APPETITE = 22;

class ItemUseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        world_start(b);
        init_item_master();
        init_item_tables();
        init_player();
        dialog_transcript_mode();
    }
    void TearDown() override {
        dialog_driver_stop();
        world_stop();
    }
    static void kind(s32 item, s32 k) { item_master[item].kind = k; }
    static void hold(s32 item, s32 count) {
        for (InventoryEntry& e : player_record.inventory) {
            if (e.item != -1) continue;
            e = {item, count};
            return;
        }
    }
    static s32 held(s32 item) {
        for (const InventoryEntry& e : player_record.inventory)
            if (e.item == item) return e.count;
        return 0;
    }
    HarnessTempDir dir;
};

void seed(u32 s) {
    rt_srand(s * 2654435761u); // spread: neighbouring small seeds start alike
    rand_counter = RAND_COUNTER_START;
}

TEST_F(ItemUseTest, ConsumableAppliesItsEffectsInOrderAndIsUsedUp) {
    kind(1250, ITEM_KIND_CONSUMABLE);
    ConsumableEntry& c = consumable_table[0];
    c.hp = 30;
    c.stamina = 100;
    c.mp_tenths = 2;
    c.growth0 = 5;
    c.mp_max = 0;
    c.affliction = -10;
    c.poison = -20;
    PlayerRecord& p = player_record;
    p.hp = 50;
    p.hp_max = 100;
    p.stamina = 500;
    p.mp = 10;
    p.mp_max = 50;
    p.skill[0] = 10;
    p.affliction = 20;
    p.poison = 30;
    hold(1250, 2);
    item_use(1250);
    EXPECT_EQ(p.hp, 80);
    EXPECT_EQ(p.stamina, 600);
    EXPECT_EQ(p.mp, 20);
    EXPECT_EQ(p.skill[0], 15);
    EXPECT_EQ(p.mp_max, 50);
    EXPECT_EQ(p.affliction, 10);
    EXPECT_EQ(p.poison, 10);
    EXPECT_EQ(held(1250), 1);
    EXPECT_TRUE(dialog_lines().empty());

    c.mp_max = 5; // the maximum comes after the mp gain and refills it
    item_use(1250);
    EXPECT_EQ(p.mp_max, 55);
    EXPECT_EQ(p.mp, 55);
    EXPECT_EQ(inv_has(1250), 0);

    kind(1251, ITEM_KIND_CONSUMABLE);
    consumable_table[1] = {};
    hold(1251, 1);
    item_use(1251); // all-zero effects: still used up
    EXPECT_EQ(inv_has(1251), 0);
}

TEST_F(ItemUseTest, SpecialItemsRaiseTheMpMaximumByTheirAmount) {
    PlayerRecord& p = player_record;
    for (s32 k = 0; k < SPECIAL_COUNT; ++k) {
        const s32 item = SPECIAL_FIRST + k;
        kind(item, ITEM_KIND_SPECIAL);
        hold(item, 1);
        p.mp = 1;
        const s32 before = p.mp_max;
        item_use(item);
        EXPECT_EQ(p.mp_max, before + SPECIAL_MP_MAX[k]) << item;
        EXPECT_EQ(p.mp, p.mp_max);
        EXPECT_EQ(inv_has(item), 0);
    }
    EXPECT_EQ(SPECIAL_MP_MAX[0], 3);
    EXPECT_EQ(SPECIAL_MP_MAX[1], 12);
    EXPECT_EQ(SPECIAL_MP_MAX[3], 20);
    kind(1890, ITEM_KIND_SPECIAL); // outside the special range: nothing
    hold(1890, 1);
    const s32 before = p.mp_max;
    item_use(1890);
    EXPECT_EQ(p.mp_max, before);
    EXPECT_EQ(held(1890), 1);
}

TEST_F(ItemUseTest, EatingFromTheInventoryTellsHowFullAndGainsOnlyWithRoom) {
    kind(2050, ITEM_KIND_FOOD);
    food_table[0] = {100, 20, 5, 0, 30}; // stamina, hp, mp, -, satiety
    struct Case {
        s32 appetite, fullness_before;
        std::string line;
        bool gains;
    };
    PlayerRecord& p = player_record;
    for (const Case& c : std::vector<Case>{{50, 0, "log 450", true},
                                           {30, 20, "log 450", true}, // 30 >= 50 - 20
                                           {10, 20, "log 451", false},
                                           {10, 30, "log 452", false},
                                           {100, 140, "log 452", false}}) {
        dialog_transcript_mode();
        p.skill[APPETITE] = c.appetite;
        p.skill_exp[APPETITE] = 0;
        p.fullness = c.fullness_before;
        p.stamina = 500;
        p.hp = 10;
        p.hp_max = 100;
        p.mp = 10;
        p.mp_max = 50;
        hold(2050, 1);
        item_use(2050);
        EXPECT_EQ(p.fullness, c.fullness_before + 30) << c.appetite; // no cap here
        EXPECT_EQ(dialog_lines().at(0), c.line);
        EXPECT_EQ(p.stamina, c.gains ? 600 : 500) << c.appetite;
        EXPECT_EQ(p.hp, c.gains ? 30 : 10);
        EXPECT_EQ(p.mp, c.gains ? 15 : 10);
        // 150 experience always, paid in levels of 20 (tier 1), 60 (tier 3), 100 (tier 5);
        // at 100 the pool stays.
        EXPECT_EQ(p.skill[APPETITE] * 1000 + p.skill_exp[APPETITE],
                  c.appetite == 10   ? 17 * 1000 + 10
                  : c.appetite == 30 ? 32 * 1000 + 30
                  : c.appetite == 50 ? 51 * 1000 + 50
                                     : 100 * 1000 + 150)
            << c.appetite;
        EXPECT_EQ(inv_has(2050), 0);
    }

    kind(2065, ITEM_KIND_FOOD);
    food_table[15] = {};
    dialog_transcript_mode();
    p.fullness = 0;
    p.skill[APPETITE] = 40;
    p.skill_exp[APPETITE] = 0;
    hold(2065, 2);
    item_use(2065);
    EXPECT_EQ(dialog_lines(), Lines{"log 450"});
    EXPECT_EQ(p.skill_exp[APPETITE], 0);
    EXPECT_EQ(held(2065), 1);
}

TEST_F(ItemUseTest, ServedMealCapsFullnessCountsTheDishAndPaysUnderThreeConditions) {
    kind(2051, ITEM_KIND_FOOD);
    food_table[1] = {0, 0, 0, 0, 20};
    PlayerRecord& p = player_record;
    struct Case {
        s32 fullness_before, appetite, tally_before;
        s32 want_fullness, want_tally, want_exp;
    };
    // An appetite of 100 takes no further level, so the pool shows what was paid; the small
    // appetites are met with an empty pool, which pays no level either.
    for (const Case c : {Case{0, 100, 0, 20, 1, 200},     // 10 x satiety
                         Case{79, 100, 0, 99, 1, 200},    // 99 is still low enough
                         Case{80, 100, 0, 100, 1, 0},     // past 99
                         Case{80, 60, 0, 100, 1, 0},      // past 99
                         Case{0, 10, 0, 20, 1, 0},        // not below twice the appetite
                         Case{0, 100, 98, 20, 99, 200},   //
                         Case{0, 100, 99, 20, 100, 0},    // the count reached 100
                         Case{0, 100, 100, 20, 100, 0},   // and stays there
                         Case{140, 100, 0, 150, 1, 0}}) { // capped at 150
        p.fullness = c.fullness_before;
        p.skill[APPETITE] = c.appetite;
        p.skill_exp[APPETITE] = 0;
        p.item_tally[2051] = c.tally_before;
        food_eat(2051);
        EXPECT_EQ(p.fullness, c.want_fullness) << c.fullness_before << " " << c.appetite;
        EXPECT_EQ(p.item_tally[2051], c.want_tally);
        EXPECT_EQ(p.skill_exp[APPETITE], c.want_exp) << c.fullness_before << " " << c.appetite;
    }
    EXPECT_EQ(inv_has(2051), 0); // served, never held

    // The same log line and gain rule as eating from the inventory.
    food_table[1] = {100, 0, 0, 0, 20};
    for (auto [fullness, line, stamina] :
         {std::tuple{0, "log 450", 600}, std::tuple{50, "log 452", 500}}) {
        dialog_transcript_mode();
        p.fullness = fullness;
        p.skill[APPETITE] = 20;
        p.stamina = 500;
        food_eat(2051);
        EXPECT_EQ(dialog_lines().at(0), line);
        EXPECT_EQ(p.stamina, stamina);
    }

    dialog_transcript_mode();
    kind(1250, ITEM_KIND_CONSUMABLE);
    food_eat(1250); // not food: nothing
    EXPECT_TRUE(dialog_lines().empty());
}

TEST_F(ItemUseTest, AppraisalNeedsTheSkillAndTurnsAGenuineStack) {
    PlayerRecord& p = player_record;
    item_master[2400] = {10, 30, 2301, ITEM_KIND_ANTIQUE};
    item_master[2401] = {10, 30, -1, ITEM_KIND_ANTIQUE};
    hold(2400, 3);
    hold(2401, 2);

    p.skill[APPRAISAL] = 29;
    item_use(2400);
    item_use(2401);
    EXPECT_EQ(dialog_lines(), (Lines{"log 461", "log 461"}));
    EXPECT_EQ(held(2400), 3);
    EXPECT_EQ(p.skill_exp[APPRAISAL], 0);

    dialog_transcript_mode();
    p.skill[APPRAISAL] = 30; // equal to the requirement: enough
    item_use(2400);
    // 200 experience at 30: three levels of 60, 20 left.
    EXPECT_EQ(dialog_lines(), (Lines{"log_text 463 7301", "log_number 417 33"}));
    EXPECT_EQ(player_record.inventory[0].item, 2301);
    EXPECT_EQ(player_record.inventory[0].count, 3);
    EXPECT_EQ(p.item_tally[2301], 0);
    EXPECT_EQ(p.skill_exp[APPRAISAL], 20);

    dialog_transcript_mode();
    item_use(2401);
    EXPECT_EQ(dialog_lines(), (Lines{"log 462", "log_number 417 35"})); // 120: two levels
    EXPECT_EQ(held(2401), 1);
    EXPECT_EQ(p.skill_exp[APPRAISAL], 0);

    item_master[2402] = {10, 0, 2600, ITEM_KIND_ANTIQUE}; // a result that names no item
    hold(2402, 1);
    dialog_transcript_mode();
    item_use(2402);
    EXPECT_TRUE(dialog_lines().empty());
    EXPECT_EQ(held(2402), 1);
}

TEST_F(ItemUseTest, AppraisalAddsIntoTheEntryThatAlreadyHoldsTheResult) {
    // The result held before the antique and after it: either way one entry holds every piece,
    // and the entries behind the antique's move up.
    struct Case {
        std::vector<InventoryEntry> held, after;
    };
    const Case cases[] = {
        {{{2301, 4}, {2400, 3}, {1250, 1}}, {{2301, 7}, {1250, 1}, {-1, 0}}},
        {{{2400, 3}, {1250, 1}, {2301, 4}}, {{1250, 1}, {2301, 7}, {-1, 0}}},
    };
    for (const Case& c : cases) {
        init_player();
        item_master[2400] = {10, 30, 2301, ITEM_KIND_ANTIQUE};
        player_record.skill[APPRAISAL] = 30;
        for (const InventoryEntry& e : c.held) hold(e.item, e.count);
        dialog_transcript_mode();
        item_use(2400);
        EXPECT_EQ(dialog_lines().front(), "log_text 463 7301");
        for (size_t i = 0; i < c.after.size(); ++i) {
            EXPECT_EQ(player_record.inventory[i].item, c.after[i].item) << i;
            EXPECT_EQ(player_record.inventory[i].count, c.after[i].count) << i;
        }
    }
}

TEST_F(ItemUseTest, EquipmentGoesOnWithItsArtAndComesOffFreely) {
    for (s32 item = 1400; item <= 1570; ++item) kind(item, ITEM_KIND_EQUIPMENT);
    PlayerRecord& p = player_record;
    s32* equip = p.equip;

    item_use(1455); // needs an art of list 1
    EXPECT_EQ(dialog_lines(), Lines{"log 464"});
    EXPECT_EQ(equip[0], -1);
    p.known[1][0].id = 49; // ids below 50 are no art
    item_use(1455);
    EXPECT_EQ(equip[0], -1);
    p.known[1][1].id = 50;
    item_use(1455);
    EXPECT_EQ(equip[0], 55);

    p.known[5][3].id = 60;
    dialog_transcript_mode();
    item_use(1420); // replaces the weapon without a word
    EXPECT_EQ(equip[0], 20);
    EXPECT_TRUE(dialog_lines().empty());
    p.known[5][3].id = -1;
    item_use(1420); // taking off needs nothing
    EXPECT_EQ(equip[0], -1);

    struct Case {
        s32 item, need_list, slot, offset;
    };
    for (const Case c :
         {Case{1429, 5, 0, 29}, Case{1430, 6, 0, 30}, Case{1450, 6, 0, 50}, Case{1459, 1, 0, 59},
          Case{1460, 7, 0, 60}, Case{1469, 7, 0, 69}, Case{1470, -1, 1, 0}, Case{1499, -1, 1, 29},
          Case{1500, -1, 3, 0}, Case{1549, -1, 3, 49}, Case{1550, 8, 2, 0}, Case{1569, 8, 2, 19}}) {
        init_player();
        dialog_transcript_mode();
        item_use(c.item);
        if (c.need_list >= 0) {
            EXPECT_EQ(equip[c.slot], -1) << c.item;
            EXPECT_EQ(dialog_lines(), Lines{"log 464"}) << c.item;
            p.known[c.need_list][0].id = 99;
            item_use(c.item);
        }
        EXPECT_EQ(equip[c.slot], c.offset) << c.item;
        item_use(c.item);
        EXPECT_EQ(equip[c.slot], -1) << c.item;
    }

    init_player();
    dialog_transcript_mode();
    item_use(1570); // equipment outside every row
    EXPECT_EQ(equip[0] & equip[1] & equip[2] & equip[3], -1);
    EXPECT_TRUE(dialog_lines().empty());
}

TEST_F(ItemUseTest, OtherKindsDoNothing) {
    for (s32 k : {s32(ITEM_KIND_NONE), s32(ITEM_KIND_NO_EFFECT), 6, 7, 8, 9, 11, -1}) {
        kind(1820, k);
        init_player();
        hold(1820, 1);
        const PlayerRecord before = player_record;
        dialog_transcript_mode();
        item_use(1820);
        EXPECT_EQ(std::memcmp(&before, &player_record, sizeof before), 0) << k;
        EXPECT_TRUE(dialog_lines().empty());
    }
    item_use(-1); // reads the empty record
    item_use(ITEM_COUNT);
    EXPECT_TRUE(dialog_lines().empty());
}

TEST_F(ItemUseTest, RandomGiftGivesAnUnseenPrizeOrMoney) {
    PlayerRecord& p = player_record;
    bool item_seen = false, money_seen = false;
    for (u32 s = 1; s <= 60; ++s) {
        init_player();
        p.money = 0;
        seed(s);
        s32 prize = -1, money = 0;
        if (rand_below(10) < 2) prize = GIFT_PRIZES[rand_below(GIFT_PRIZE_COUNT)];
        if (prize < 0) money = 100 * (rand_below(25) + 10);
        seed(s);
        dialog_transcript_mode();
        random_gift();
        if (prize >= 0) {
            EXPECT_EQ(held(prize), 1) << s;
            EXPECT_EQ(p.item_tally[prize], 1);
            EXPECT_EQ(p.money, 0);
            item_seen = true;
        } else {
            EXPECT_EQ(p.money, money) << s;
            EXPECT_EQ(dialog_lines(), Lines{"log_number 465 " + std::to_string(money)});
            money_seen = true;
        }
    }
    EXPECT_TRUE(item_seen && money_seen);

    // Every prize obtained before: always money, 1,000..3,400 in steps of 100.
    for (u32 s = 1; s <= 60; ++s) {
        init_player();
        p.money = 0;
        for (s32 item : GIFT_PRIZES) p.item_tally[item] = 1;
        seed(s);
        random_gift();
        EXPECT_EQ(p.inventory[0].item, -1);
        EXPECT_GE(p.money, 1000);
        EXPECT_LE(p.money, 3400);
        EXPECT_EQ(p.money % 100, 0);
    }
    EXPECT_EQ(GIFT_PRIZES[0], 2305);
    EXPECT_EQ(GIFT_PRIZES[GIFT_PRIZE_COUNT - 1], 1053);
}

} // namespace
