// The scheduled story events run through the calendar table: the texts each branch shows, the
// state it changes, the schedule steps each thread writes, and the companion of the battle after
// the ring game (who is picked, and that the encounter's own line-up comes back without one).
#include "calendar/story_events.h"

#include "engine/gisk.h"
#include "game/inventory.h"
#include "tests/cal_story_fixture.h"
#include "tools/arcbuild.h"

#include <string>

using namespace cal_cases;

namespace {

class CalStoryTest : public CalCaseTest {};

TEST_F(CalStoryTest, ThreadOfPerson47) {
    const Case cases[] = {
        {"210 helps",
         210,
         [] {
             pr().affection[47] = 50;
             pr().stamina = 1000;
             pr().skill[23] = 0;
             pr().skill_exp[23] = 0;
         },
         {0},
         {},
         {},
         ids({R(57130, 57133), R(57140, 57143), R(57150, 57154), 56626, 57155, 232}),
         [](const PlayerRecord& b) {
             EXPECT_EQ(pr().story_flags[52], 1);
             EXPECT_EQ(pr().story_flags[5], 1);
             EXPECT_EQ(pr().chivalry, b.chivalry + 2);
             EXPECT_EQ(pr().affection[47], 55);
             EXPECT_EQ(pr().stamina, 700);
             EXPECT_EQ(pr().skill[23], 20) << "300 buys ten levels at 10 and ten at 20";
             EXPECT_EQ(pr().skill_exp[23], 0);
             EXPECT_EQ(hub_block.scene_backdrop, 60407);
         }},
        {"210 helps at level 100: the experience still counts",
         210,
         [] {
             pr().affection[47] = 50;
             pr().skill[23] = 100;
             pr().skill_exp[23] = 40;
         },
         {0},
         {},
         {},
         ids({R(57130, 57133), R(57140, 57143), R(57150, 57154), 56626, 57155, 232}),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().skill[23], 100);
             EXPECT_EQ(pr().skill_exp[23], 340);
             EXPECT_EQ(pr().story_flags[5], 1);
         }},
        {"210 refuses",
         210,
         [] {
             pr().affection[47] = 50;
             pr().story_flags[5] = 1;
             pr().chivalry = 10;
         },
         {1},
         {},
         {},
         ids({R(57130, 57133), R(57165, 57166), 282}),
         [](const PlayerRecord& b) {
             EXPECT_EQ(pr().story_flags[5], 0);
             EXPECT_EQ(pr().story_flags[52], 0);
             EXPECT_EQ(pr().chivalry, 8);
             EXPECT_EQ(pr().affection[47], 45);
             EXPECT_EQ(pr().stamina, b.stamina);
         }},
        {"211 piece 52 below 70",
         211,
         [] {
             pr().affection[47] = 20;
             know(23, 0, 52, 69);
         },
         {},
         {},
         {},
         ids({R(57180, 57182), R(57185, 57188), R(57190, 57194)}),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().affection[47], 35);
             EXPECT_EQ(known_has(0, 52), 0);
         }},
        {"211 piece 52 at 70 (the first entry with the id counts)",
         211,
         [] {
             pr().affection[47] = 20;
             know(23, 3, 52, 70);
             know(23, 4, 52, 10);
         },
         {},
         {},
         {},
         ids({R(57180, 57182), R(57185, 57188), R(57200, 57206)}),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().affection[47], 50);
             EXPECT_EQ(known_has(0, 52), 1);
         }},
        {"175 with an empty list",
         175,
         nullptr,
         {},
         {},
         {},
         ids({R(57207, 57212), R(57213, 57216)}),
         [](const PlayerRecord&) { EXPECT_EQ(known_has(4, 51), 0); }},
    };
    for (const Case& c : cases) run(c);
}

TEST_F(CalStoryTest, Slot175ByThePiecePicked) {
    struct Pick {
        s32 id, level;
        bool match;
    };
    const Pick picks[] = {{55, 100, true}, {55, 99, false}, {56, 100, false}};
    for (const Pick& p : picks) {
        SCOPED_TRACE(p.id * 1000 + p.level);
        run({"175 picks",
             175,
             [&] { know(23, 0, p.id, p.level); },
             {},
             {},
             {},
             p.match ? ids({R(57207, 57213), R(57217, 57218), R(57195, 57197)})
                     : ids({R(57207, 57212), R(57213, 57216)}),
             [&](const PlayerRecord&) { EXPECT_EQ(known_has(4, 51), p.match ? 1 : 0); },
             0});
        EXPECT_TRUE(all_clicks_taken());
    }
}

TEST_F(CalStoryTest, ThePairOf118And200) {
    const std::vector<s32> scene = ids({R(57225, 57244)});
    auto both_met = [](s32 affection) {
        return [=] {
            meet({3, 118, 9, 200});
            pr().affection[118] = affection;
            hub_block.turns_consumed = 0;
            hub_block.scene_backdrop = 60407;
        };
    };
    std::vector<s32> met70 = {57219, 57220};
    met70.insert(met70.end(), scene.begin(), scene.end());
    std::vector<s32> met69 = {57219, 57221};
    met69.insert(met69.end(), scene.begin(), scene.end());
    const auto ran = [](const PlayerRecord&) {
        EXPECT_EQ(pr().story_flags[6], 1);
        EXPECT_EQ(hub_block.turns_consumed, 1);
        EXPECT_EQ(hub_block.scene_backdrop, 60423);
    };
    const auto nothing = [](const PlayerRecord&) {
        EXPECT_EQ(pr().story_flags[6], 0);
        EXPECT_EQ(hub_block.turns_consumed, 0);
        EXPECT_EQ(hub_block.scene_backdrop, 60407);
    };
    const Case cases[] = {
        {"212 both met, 118 at 70", 212, both_met(70), {}, {}, {}, met70, ran},
        {"212 both met, 118 at 69", 212, both_met(69), {}, {}, {}, met69, ran},
        {"212 only 118 met",
         212,
         [] {
             meet({118});
             pr().affection[118] = 90;
             hub_block.turns_consumed = 0;
             hub_block.scene_backdrop = 60407;
         },
         {},
         {},
         {},
         {},
         nothing},
        {"213 with 118 below 70",
         213,
         [] { pr().affection[118] = 69; },
         {},
         {},
         {},
         {},
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().story_flags[7], 0);
             EXPECT_EQ(pr().affection[118], 69);
         }},
        {"213 after the scene, first answer",
         213,
         [] {
             pr().affection[118] = 70;
             pr().story_flags[6] = 1;
         },
         {0},
         {},
         {},
         ids({R(57260, 57269), 57270, 57271, 57280, 57281}),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().story_flags[7], 1);
             EXPECT_EQ(pr().affection[118], 90);
             EXPECT_EQ(hub_block.scene_backdrop, 60400);
         }},
        {"213 without the scene, second answer, 200 at 50",
         213,
         [] {
             pr().affection[118] = 80;
             pr().affection[200] = 50;
         },
         {1},
         {},
         {},
         ids({R(57260, 57263), R(57290, 57295), 57270, 57271, R(57282, 57285), 56626, 57286}),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().story_flags[7], 2);
             EXPECT_EQ(pr().affection[118], 60);
         }},
        {"213 second answer, 200 at 49",
         213,
         [] {
             pr().affection[118] = 80;
             pr().affection[200] = 49;
             pr().story_flags[6] = 1;
         },
         {1},
         {},
         {},
         ids({R(57260, 57269), 57270, 57271, R(57282, 57285), 56626}),
         [](const PlayerRecord&) { EXPECT_EQ(pr().story_flags[7], 2); }},
    };
    for (const Case& c : cases) run(c);
}

TEST_F(CalStoryTest, SectBattleAndItsSequel) {
    auto hurt = [] {
        pr().hp = 1;
        pr().fame = 5;
    };
    const Case cases[] = {
        {"133 won",
         133,
         hurt,
         {},
         {1},
         {},
         ids({R(30355, 30410)}),
         [](const PlayerRecord& b) {
             EXPECT_EQ(pr().hp, pr().hp_max);
             EXPECT_EQ(pr().fame, 17);
             EXPECT_EQ(title_has(60), 1);
             EXPECT_EQ(hub_block.turn_events_before[129], 134);
             EXPECT_EQ(pr().condition, b.condition);
         }},
        {"133 lost",
         133,
         hurt,
         {},
         {0},
         {1},
         ids({R(30355, 30402), 30278, 471, 281}),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().hp, pr().hp_max); // healed whatever the result
             EXPECT_EQ(pr().fame, 5);
             EXPECT_EQ(pr().sick_turns, 3);
             EXPECT_EQ(pr().condition, 5);
             EXPECT_EQ(hub_block.turn_events_before[129], -1);
         }},
        {"133 round limit",
         133,
         hurt,
         {},
         {2},
         {2},
         ids({R(30355, 30402), 30278, 472, 281}),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().sick_turns, 4);
             EXPECT_EQ(title_has(60), 0);
             EXPECT_EQ(hub_block.turn_events_before[129], -1);
         }},
        {"134 skill 3 above skill 5",
         134,
         [] {
             pr().skill[3] = 40;
             pr().skill[5] = 39;
         },
         {},
         {},
         {},
         ids({R(30411, 30436)}),
         [](const PlayerRecord&) { EXPECT_EQ(known_has(9, 4), 1); }},
        {"134 otherwise with skill 17 at 70",
         134,
         [] {
             pr().skill[3] = 40;
             pr().skill[5] = 40;
             pr().skill[17] = 70;
         },
         {},
         {},
         {},
         ids({R(30437, 30443), R(30452, 30460)}),
         [](const PlayerRecord&) {
             EXPECT_EQ(inv_has(1408), 1);
             EXPECT_EQ(known_has(9, 4), 0);
         }},
        {"134 otherwise with skill 17 at 69",
         134,
         [] {
             pr().skill[5] = 50;
             pr().skill[17] = 69;
         },
         {},
         {},
         {},
         ids({R(30437, 30451)}),
         [](const PlayerRecord&) { EXPECT_EQ(inv_has(1408), 0); }},
    };
    for (const Case& c : cases) run(c);
    EXPECT_EQ(fought(), (std::vector<s32>{11, 11, 11}));
}

TEST_F(CalStoryTest, VisitsOfPerson225) {
    struct Visit {
        s32 slot, skill15;
        std::vector<s32> texts;
        s32 list, id; // known on success
        s32 after125; // the after-turn entry of turn 125 afterwards
    };
    const Visit visits[] = {
        {136, 10, ids({R(13470, 13472), R(13474, 13477)}), 2, 57, 137},
        {136, 9, ids({R(13470, 13473)}), -1, 0, -1},
        {137, 50, ids({R(13480, 13482), R(13484, 13486)}), 3, 53, -1},
        {137, 49, ids({R(13480, 13483)}), -1, 0, -1},
    };
    for (const Visit& v : visits) {
        run({"visit",
             v.slot,
             [&] {
                 pr().skill[15] = v.skill15;
                 pr().chivalry = 50;
             },
             {},
             {},
             {},
             v.texts,
             [&](const PlayerRecord&) {
                 EXPECT_EQ(pr().chivalry, v.list >= 0 ? 40 : 50);
                 if (v.list >= 0) {
                     EXPECT_EQ(known_has(v.list, v.id), 1);
                 }
                 EXPECT_EQ(known_has(2, 57) + known_has(3, 53), v.list >= 0 ? 1 : 0);
                 EXPECT_EQ(hub_block.turn_events_after[125], v.after125);
                 EXPECT_EQ(hub_block.scene_backdrop, 60423);
             }});
    }
}

TEST_F(CalStoryTest, ScenesOfSlots154_157And220) {
    const Case cases[] = {
        {"154",
         154,
         [] {
             pr().mood = 2;
             hub_block.hub_third_avail[2][0] = 0;
         },
         {},
         {},
         {},
         ids({R(13878, 13886)}),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().mood, 3);
             EXPECT_EQ(hub_block.hub_third_avail[2][0], 1);
             EXPECT_EQ(hub_block.scene_backdrop, 60402);
         }},
        {"157",
         157,
         [] { hub_block.hub_third_avail[2][0] = 0; },
         {},
         {},
         {},
         ids({R(14556, 14560)}),
         [](const PlayerRecord&) { EXPECT_EQ(hub_block.hub_third_avail[2][0], 1); }},
        {"220 person 55 already met",
         220,
         [] {
             meet({55});
             pr().affection[55] = 30;
         },
         {},
         {},
         {},
         ids({13490, R(13492, 13498), R(13503, 13505)}),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().affection[55], 30);
             EXPECT_EQ(hub_block.scene_backdrop, 60402);
         }},
        {"220 person 55 new",
         220,
         [] { meet({}); },
         {},
         {},
         {},
         ids({13491, R(13499, 13505)}),
         [](const PlayerRecord&) { EXPECT_EQ(acquaint_has(55), 1); }},
    };
    for (const Case& c : cases) run(c);
}

// Each opener writes its successor's slot into its entry, and only when its branch says so.
TEST_F(CalStoryTest, ThreadWrites) {
    struct Write {
        const char* what;
        s32 opener;
        std::function<void()> setup;
        std::vector<s32> answers, battles, draws;
        bool before;
        s32 turn, slot; // slot -1: the entry stays empty
    };
    const Write writes[] = {
        {"133 won", 133, nullptr, {}, {1}, {}, true, 129, 134},
        {"133 not won", 133, nullptr, {}, {0}, {0}, true, 129, -1},
        {"136 skill 15 at 10", 136, [] { pr().skill[15] = 10; }, {}, {}, {}, false, 125, 137},
        {"136 skill 15 at 9", 136, [] { pr().skill[15] = 9; }, {}, {}, {}, false, 125, -1},
        {"211 piece at 70", 211, [] { know(23, 0, 52, 70); }, {}, {}, {}, false, 210, 175},
        {"211 piece at 69", 211, [] { know(23, 0, 52, 69); }, {}, {}, {}, false, 210, -1},
    };
    for (const Write& w : writes) {
        SCOPED_TRACE(w.what);
        fresh();
        s32* entry =
            w.before ? &hub_block.turn_events_before[w.turn] : &hub_block.turn_events_after[w.turn];
        EXPECT_EQ(*entry, -1); // nothing stands there in a new game
        if (w.setup) w.setup();
        dialog_answers(w.answers);
        for (s32 b : w.battles) battles({b});
        for (s32 d : w.draws) draws({d});
        run_slot(w.opener);
        EXPECT_EQ(*entry, w.slot);
    }
    // The three that a new game schedules.
    game_new_world();
    EXPECT_EQ(hub_block.turn_events_after[168], 212);
    EXPECT_EQ(hub_block.turn_events_after[179], 213);
    EXPECT_EQ(hub_block.turn_events_before[61], 220);
}

// ---- The companion battle after the ring game --------------------------------------------------

// Acquaintance p with affection a and hub portrait n.
void companion(s32 slot, s32 p, s32 a, s32 portrait) {
    pr().acquaintances[slot] = p;
    if (p >= 0 && p < PLAYER_PEOPLE) pr().affection[p] = a;
    if (p >= 0 && p < ROSTER_SIZE) roster[p].hub_portrait = portrait;
}

TEST_F(CalStoryTest, CompanionSearchKeepsTheBestLikedFieldablePerson) {
    struct Cand {
        s32 p, affection, portrait;
    };
    struct SearchCase {
        const char* what;
        std::vector<Cand> list;
        s32 found;
    };
    const SearchCase cases[] = {
        {"nobody", {}, -1},
        {"the highest affection", {{71, 60, 71}, {83, 90, 83}, {90, 70, 90}}, 83},
        {"a tie keeps the earlier", {{71, 80, 71}, {83, 80, 83}}, 71},
        {"affection 59 does not count", {{71, 59, 71}}, -1},
        {"no portrait does not count", {{71, 99, 0}, {83, 61, -1}, {90, 60, 90}}, 90},
        {"person 40 never goes", {{40, 100, 40}, {71, 60, 71}}, 71},
        {"a person past the roster is skipped", {{350, 100, -1}, {71, 60, 71}}, 71},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.what);
        meet({});
        s32 i = 0;
        for (const Cand& k : c.list) companion(i++, k.p, k.affection, k.portrait);
        EXPECT_EQ(story_companion_search(), c.found);
    }
}

constexpr s32 C = 71, FACE = 171; // the companion and its hub portrait

TEST_F(CalStoryTest, CompanionBattleAfterTheRingGame) {
    const std::vector<s32> go = ids({R(13420, 13430)});
    auto with = [&](std::vector<s32> tail) {
        std::vector<s32> t = go;
        t.push_back(13431);
        t.push_back(13432);
        t.insert(t.end(), tail.begin(), tail.end());
        return t;
    };
    auto alone = [&](std::vector<s32> tail) {
        std::vector<s32> t = go;
        t.insert(t.end(), tail.begin(), tail.end());
        return t;
    };
    const auto with_companion = [] {
        meet({});
        companion(0, C, 80, FACE);
        roster[C].hp = 1;
        roster[C].mp = 0;
        pr().fame = 20;
    };
    const auto nobody = [] {
        meet({});
        pr().fame = 2;
    };
    const Case cases[] = {
        {"declined",
         124,
         [] { pr().fame = 20; },
         {1},
         {},
         {},
         {13420, 13421, 13422},
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().fame, 15);
             EXPECT_EQ(pr().story_flags[12], 0);
         }},
        {"declined with little fame",
         124,
         [] { pr().fame = 3; },
         {1},
         {},
         {},
         {13420, 13421, 13422},
         [](const PlayerRecord&) { EXPECT_EQ(pr().fame, 0); }},
        {"won with the companion",
         124,
         with_companion,
         {0},
         {1},
         {},
         with(ids({13440, R(13441, 13447)})),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().story_flags[12], 1);
             EXPECT_EQ(pr().affection[C], 85);
             EXPECT_EQ(pr().fame, 26);
             EXPECT_EQ(encounters[6].fighter[1], C);
             EXPECT_EQ(roster[C].hp, roster[C].hp_max);
             EXPECT_EQ(roster[C].mp, roster[C].mp_max);
             EXPECT_EQ(hub_block.scene_backdrop, 60423);
             // The companion shows with its own hub portrait, at the left and then at the right.
             const std::vector<std::string> lines = dialog_lines();
             for (const char* l : {"hub_say 1 171 355 13431", "hub_say 1 0 171 13441"})
                 EXPECT_NE(std::find(lines.begin(), lines.end(), l), lines.end()) << l;
         }},
        {"won alone",
         124,
         nobody,
         {0},
         {1},
         {},
         alone({13440}),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().story_flags[12], 1);
             EXPECT_EQ(pr().fame, 12);
         }},
        {"lost with the companion",
         124,
         with_companion,
         {0},
         {0},
         {0},
         with(ids({R(13450, 13459), 470, 281})),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().story_flags[12], 2);
             EXPECT_EQ(pr().fame, 17);
             EXPECT_EQ(pr().condition, 5);
             EXPECT_EQ(pr().sick_turns, 2);
             EXPECT_EQ(pr().affection[C], 80);
             EXPECT_EQ(roster[C].hp, roster[C].hp_max);
         }},
        {"round limit alone, fame floor",
         124,
         nobody,
         {0},
         {2},
         {2},
         alone({13449, 472, 281}),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().story_flags[12], 2);
             EXPECT_EQ(pr().fame, 0);
         }},
    };
    for (const Case& c : cases) run(c);
    EXPECT_EQ(fought(), (std::vector<s32>{6, 6, 6, 6}));
}

// The companion's place is written into encounter 6 for the battle; a run without a companion
// fields the encounter's own line-up again instead of the companion of an earlier run (which
// would otherwise stay for the rest of the program, also across loaded games).
TEST_F(CalStoryTest, CompanionPlaceFallsBackToTheEncountersOwnFighter) {
    const s32 own = encounters[6].fighter[1];
    ASSERT_NE(own, 71); // the table's own line-up has another fighter (none) there
    meet({});
    companion(0, 71, 90, 171);
    answers({0});
    battles({1});
    run_slot(124);
    EXPECT_EQ(encounters[6].fighter[1], 71);

    // A later run (after a load, say) where nobody qualifies.
    meet({});
    answers({0});
    battles({1});
    const size_t m = mark();
    run_slot(124);
    EXPECT_EQ(encounters[6].fighter[1], own);
    EXPECT_EQ(texts_from(m), ids({R(13420, 13430), 13440}));
}

// The large portraits of the persons past 299 that these scenes show first are in the placeholder
// archive, sized as the other large portraits.
TEST(CalStoryPlaceholder, PortraitsOfTheScenesAreInTheArchive) {
    ArcBuilder builder;
    arc_put_placeholder_content(builder);
    for (s32 person : {330, 331, 340, 355, 360, 367, 368, 372, 373, 377, 405, 416, 418}) {
        const auto it = builder.entries().find(u32(ARC_IMAGE_BASE + 62000 + person));
        ASSERT_NE(it, builder.entries().end()) << person;
        const std::vector<u8>& b = it->second;
        ASSERT_GE(b.size(), 4u);
        EXPECT_EQ(b[0] | b[1] << 8, 120) << person;
        EXPECT_EQ(b[2] | b[3] << 8, 156) << person;
    }
}

} // namespace
