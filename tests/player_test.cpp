// The player record's new-game start: every start value, the fields it leaves alone, the globals
// it clears and its single random draw.
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "game/info_screen.h"
#include "game/player.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr u8 DIRT = 0xA5;
constexpr s32 DIRT_WORD = s32(0xA5A5A5A5);

template <typename T, size_t N> void expect_all(const T (&a)[N], s32 want, const char* what) {
    for (size_t i = 0; i < N; ++i) ASSERT_EQ(a[i], want) << what << "[" << i << "]";
}

} // namespace

TEST(Player, InitWritesEveryStartValueAndLeavesTheRest) {
    std::memset(&player_record, DIRT, sizeof player_record);
    text_reveal_limit = 9;
    info_save_request = 1;
    info_load_slot = 3;
    battle_active = 1;
    init_player();
    const PlayerRecord& p = player_record;

    EXPECT_EQ(text_reveal_limit, 0);
    EXPECT_EQ(info_save_request, 0);
    EXPECT_EQ(info_load_slot, 0);
    EXPECT_EQ(battle_active, 0);

    struct Field {
        const char* name;
        s32 value, want;
    } fields[] = {
        {"area", p.area, 1},
        {"sick_turns", p.sick_turns, 0},
        {"name_id", p.name_id, 0},
        {"paid_strike_count", p.paid_strike_count, 0},
        {"fame", p.fame, 0},
        {"chivalry", p.chivalry, 50},
        {"fatigue", p.fatigue, 0},
        {"fullness", p.fullness, 0},
        {"sleep_need", p.sleep_need, 0},
        {"last_minute", p.last_minute, 0},
        {"stamina", p.stamina, 1000},
        {"condition", p.condition, 2},
        {"mood", p.mood, 2},
        {"mood_turns", p.mood_turns, 0},
        {"hp", p.hp, 100},
        {"hp_max", p.hp_max, 100},
        {"mp", p.mp, 50},
        {"mp_max", p.mp_max, 50},
        {"spare_a", p.spare_a, 0},
        {"social_aptitude", p.social_aptitude, 50},
        {"constitution", p.constitution, 40},
        {"art_variety", p.art_variety, 0},
        {"combat_level", p.combat_level, 0},
        {"clock_rate_copy", p.clock_rate_copy, 0},
        {"art_points", p.art_points, 0},
        {"combat_exp", p.combat_exp, 0},
        {"turn_done", p.turn_done, 0},
        {"music_id", p.music_id, -1},
        // Left as they were.
        {"affliction", p.affliction, DIRT_WORD},
        {"poison", p.poison, DIRT_WORD},
        {"fame_exp", p.fame_exp, DIRT_WORD},
        {"spare_b", p.spare_b, DIRT_WORD},
    };
    for (const Field& f : fields) EXPECT_EQ(f.value, f.want) << f.name;
    EXPECT_GE(p.money, 0);
    EXPECT_LT(p.money, 100);

    EXPECT_EQ(p.titles[0], 0);
    for (int i = 1; i < PLAYER_TITLES; ++i) EXPECT_EQ(p.titles[i], -1) << i;
    expect_all(p.party, -1, "party");
    expect_all(p.equip, -1, "equip");
    expect_all(p.attr, 0, "attr");
    expect_all(p.attr_exp, 0, "attr_exp");
    expect_all(p.item_tally, 0, "item_tally");
    expect_all(p.art_use_count, 0, "art_use_count");
    expect_all(p.spare_block, DIRT_WORD, "spare_block");
    for (const InventoryEntry& e : p.inventory) {
        ASSERT_EQ(e.item, -1);
        ASSERT_EQ(e.count, 0);
    }
    expect_all(p.skill, 0, "skill");
    expect_all(p.skill_exp, 0, "skill_exp");
    expect_all(p.spare_list, -1, "spare_list");
    expect_all(p.album, -1, "album");
    expect_all(p.affection, -1, "affection");
    expect_all(p.acquaintances, -1, "acquaintances");
    for (const auto& list : p.known)
        for (const KnownEntry& e : list) {
            ASSERT_EQ(e.id, -1);
            ASSERT_EQ(e.level, 0);
            ASSERT_EQ(e.exp, 0);
        }
    expect_all(p.story_flags, 0, "story_flags");
}

// The money is the one draw: replaying rand_below(100) from the same generator state gives the
// same money and leaves the generator and the mixing counter exactly where init_player left them.
TEST(Player, InitDrawsOnceForTheMoney) {
    for (u32 seed : {1u, 77u, 123456u, 0xDEADBEEFu}) {
        for (s32 counter : {0, 1, 2, 3}) {
            rt_srand(seed);
            rand_counter = counter;
            init_player();
            const s32 money = player_record.money;
            const u32 state = rt_rand_state;
            const s32 after = rand_counter;

            rt_srand(seed);
            rand_counter = counter;
            EXPECT_EQ(rand_below(100), money) << seed << " " << counter;
            EXPECT_EQ(rt_rand_state, state) << seed << " " << counter;
            EXPECT_EQ(rand_counter, after) << seed << " " << counter;
        }
    }
}

TEST(Player, RichStart) {
    battle_active = 0;
    init_player_old();
    const PlayerRecord& p = player_record;
    EXPECT_EQ(p.money, 500);
    expect_all(p.skill, 80, "skill");
    for (s32 a : p.attr) {
        EXPECT_GE(a, 50);
        EXPECT_LE(a, 100);
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_NE(p.acquaintances[i], -1);
        EXPECT_EQ(p.album[i], i);
    }
    EXPECT_EQ(p.hp, p.hp_max);
    EXPECT_GT(p.hp_max, 100);
}
