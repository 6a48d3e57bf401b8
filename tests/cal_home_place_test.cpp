// The places of the hub and the events of the home place: the place entries and buttons of a new
// game, the table of place-button stores checked against the handlers that make them, and the
// home place's five handlers by their texts and state changes.
#include "calendar/board_chain.h"
#include "calendar/calendar_seams.h"
#include "calendar/first_year.h"
#include "calendar/frame.h"
#include "calendar/home_place.h"
#include "calendar/launchers.h"
#include "calendar/lessons.h"
#include "calendar/music_course.h"
#include "calendar/opening_screens.h"
#include "calendar/picture_lessons.h"
#include "calendar/timed_action_game.h"
#include "data/roster.h"
#include "engine/math.h"
#include "engine/world/field.h"
#include "engine/world_state.h"
#include "game/calendar_table.h"
#include "game/growth.h"
#include "game/hub.h"
#include "game/player.h"
#include "game/scenes.h"
#include "minigames/tile_swap.h"
#include "platform/harness.h"
#include "tests/calendar_fixture.h"
#include "tests/opening_player.h"
#include "tests/screen_clicks.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using namespace cal_literals;

namespace {

class CalHomePlaceTest : public CalendarHandlerTest {
  protected:
    void SetUp() override {
        CalendarHandlerTest::SetUp();
        player_record.social_aptitude = 0; // affection changes without their random bonus
        player_record.affection[205] = 50;
        player_record.affection[152] = 50;
        hub_block.turns_consumed = -7;
    }
};

s32 inv_count(s32 item) {
    s32 n = 0;
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item) n += e.count;
    return n;
}

std::vector<s32> run(s32 first, s32 last) {
    std::vector<s32> v;
    for (s32 t = first; t <= last; t++) v.push_back(t);
    return v;
}

std::vector<s32> cat(std::initializer_list<std::vector<s32>> parts) {
    std::vector<s32> v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}

} // namespace

// ---- New game ----------------------------------------------------------------------------------

TEST_F(CalHomePlaceTest, NewGamePlacesHoldTheirChainsAndOnlyTheBackButtonsAreOn) {
    struct Start {
        s32 set, place;
        std::vector<EventEntry> entries; // from entry 0; the rest of the place stays empty
    };
    const Start starts[] = {
        {0, 0, {{8, 1}, {77, 1}, {9, 1}, {125, 0}, {218, 0}, {38, 0}, {160, 0}}},
        {0, 1, {{117, 1}}},
        {0, 2, {{118, 1}}},
        {0, 3, {{113, 0}, {114, 0}, {115, 0}, {116, 0}}},
        {0, 4, {{142, 1}}},
        {1,
         0,
         {{102, 0},
          {103, 0},
          {104, 0},
          {105, 0},
          {106, 0},
          {107, 0},
          {108, 0},
          {109, 0},
          {110, 0},
          {111, 0},
          {112, 0}}},
        {1,
         1,
         {{80, 0},
          {81, 0},
          {82, 0},
          {83, 0},
          {84, 0},
          {85, 0},
          {86, 0},
          {87, 0},
          {88, 0},
          {89, 0},
          {90, 0},
          {91, 0},
          {92, 0},
          {93, 0},
          {94, 0},
          {95, 0},
          {96, 0}}},
        {1, 2, {{56, 0}, {57, 0}, {58, 0}, {59, 0}, {60, 0}}},
        {1,
         3,
         {{78, 1},
          {45, 0},
          {46, 0},
          {47, 0},
          {48, 0},
          {49, 0},
          {50, 0},
          {51, 0},
          {52, 0},
          {53, 0},
          {54, 0},
          {55, 0}}},
        {1,
         4,
         {{67, 0},
          {68, 0},
          {69, 0},
          {70, 0},
          {71, 0},
          {72, 0},
          {73, 0},
          {61, 0},
          {62, 0},
          {63, 0},
          {64, 0},
          {65, 0},
          {66, 0},
          {97, 0}}},
        {1, 6, {{99, 0}, {100, 0}, {101, 0}}},
    };
    for (s32 s = 0; s < HUB_PLACE_SETS; s++)
        for (s32 p = 0; p < HUB_PLACE_POOL_PLACES; p++) {
            std::vector<EventEntry> expect;
            for (const Start& st : starts)
                if (st.set == s && st.place == p) expect = st.entries;
            for (s32 k = 0; k < HUB_PLACE_POOL_SIZE; k++) {
                const EventEntry e = hub_block.place_events[s][p][k];
                const EventEntry want =
                    k < s32(expect.size()) ? expect[size_t(k)] : EventEntry{-1, 0};
                EXPECT_EQ(e.slot, want.slot) << "place " << s << "." << p << " entry " << k;
                EXPECT_EQ(e.on, want.on) << "place " << s << "." << p << " entry " << k;
            }
        }
    for (s32 b = 0; b < HUB_PLACES; b++)
        for (s32 s = 0; s < HUB_PLACE_SETS; s++)
            EXPECT_EQ(hub_block.hub_third_avail[b][s], b == 7 ? 1 : 0) << b << " " << s;
    // The pool B steps of the place chains: 075, 076, 098 closed, entry 0 empty.
    EXPECT_EQ(hub_block.encounter_pool_b[0].slot, -1);
    EXPECT_EQ(hub_block.encounter_pool_b[1].slot, 75);
    EXPECT_EQ(hub_block.encounter_pool_b[2].slot, 76);
    EXPECT_EQ(hub_block.encounter_pool_b[3].slot, 98);
}

// ---- The table of place-button stores ----------------------------------------------------------

namespace {

using Store = std::tuple<s32, s32, s32>; // button, set, value

std::set<Store> button_changes(const HubBlock& before) {
    std::set<Store> out;
    for (s32 b = 0; b < HUB_PLACES; b++)
        for (s32 s = 0; s < HUB_PLACE_SETS; s++)
            if (hub_block.hub_third_avail[b][s] != before.hub_third_avail[b][s])
                out.insert({b, s, hub_block.hub_third_avail[b][s]});
    return out;
}

// The entries of the pools and places that differ from `before`, in table order:
// "pool B 4 on", "place 1.1 entry 5 off", "place 0.0 entry 3 emptied".
std::vector<std::string> entry_changes(const HubBlock& before) {
    std::vector<std::string> out;
    const auto diff = [&out](const EventEntry& was, const EventEntry& now,
                             const std::string& name) {
        if (was.slot == now.slot && was.on == now.on) return;
        out.push_back(name + (now.slot == -1 && was.slot != -1 ? " emptied"
                              : now.on == 1                    ? " on"
                                                               : " off"));
    };
    const HubBlock& h = hub_block;
    for (s32 k = 0; k < HUB_POOL_A_SIZE; k++)
        diff(before.encounter_pool_a[k], h.encounter_pool_a[k], "pool A " + std::to_string(k));
    for (s32 k = 0; k < HUB_POOL_B_SIZE; k++)
        diff(before.encounter_pool_b[k], h.encounter_pool_b[k], "pool B " + std::to_string(k));
    for (s32 k = 0; k < HUB_POOL_C_SIZE; k++)
        diff(before.encounter_pool_c[k], h.encounter_pool_c[k], "pool C " + std::to_string(k));
    for (s32 s = 0; s < HUB_PLACE_SETS; s++)
        for (s32 p = 0; p < HUB_PLACE_POOL_PLACES; p++)
            for (s32 k = 0; k < HUB_PLACE_POOL_SIZE; k++)
                diff(before.place_events[s][p][k], h.place_events[s][p][k],
                     "place " + std::to_string(s) + "." + std::to_string(p) + " entry " +
                         std::to_string(k));
    return out;
}

bool table_has(s32 slot, const Store& st) {
    for (const PlaceButtonSwitch& r : PLACE_BUTTON_SWITCHES)
        if (slot >= r.first && slot <= r.last && r.button == std::get<0>(st) &&
            r.set == std::get<1>(st) && r.on == std::get<2>(st))
            return true;
    return false;
}

} // namespace

TEST_F(CalHomePlaceTest, PlaceButtonTableAndEntrySwitchesMatchTheHandlersThatExist) {
    // Each handler of the place chains here runs from its own open entry with every place button
    // holding a value that no store writes, so that each of its stores shows. Its button stores
    // must stand in the table, and it switches exactly its entries.
    constexpr s32 UNSET = 7;
    struct Run {
        s32 slot;
        CalEntry own; // opened first, as a draw finds it
        void (*setup)();
        std::vector<std::string> entries; // every entry the handler switches
        bool sheet = false;               // a lesson sheet, closed by a click on its quit label
    };
    static const auto all_buttons = [](s32 v) {
        for (auto& b : hub_block.hub_third_avail)
            for (s32& s : b) s = v;
    };
    const auto none = [] {};
    const auto place11 = [](s32 k) { return cal_place(1, 1, k); };
    const auto step11 = [](s32 k) {
        return std::vector<std::string>{"place 1.1 entry " + std::to_string(k) + " off",
                                        "place 1.1 entry " + std::to_string(k + 1) + " on"};
    };
    const auto step12 = [](s32 k) {
        return std::vector<std::string>{"place 1.2 entry " + std::to_string(k) + " off",
                                        "place 1.2 entry " + std::to_string(k + 1) + " on"};
    };
    const Run runs[] = {
        {8,
         cal_place(0, 0, 0),
         [] { picture_pair_game_seam = [] { return 0; }; },
         {"pool B 4 on", "place 0.0 entry 0 off"}},
        {9, cal_place(0, 0, 2), none, {"pool B 2 on", "place 0.0 entry 2 off"}},
        {77, cal_place(0, 0, 1), none, {"place 0.0 entry 1 off", "place 1.1 entry 0 on"}},
        {125, cal_place(0, 0, 3), none, {"place 0.0 entry 3 off"}},
        {160, cal_place(0, 0, 6), [] { draws({0}); }, {}}, // repeats
        {56, cal_place(1, 2, 0), none, step12(0), true},
        {57, cal_place(1, 2, 1), none, step12(1), true},
        {58, cal_place(1, 2, 2), none, step12(2), true},
        {59, cal_place(1, 2, 3), none, step12(3), true},
        // The test at skill 12 of 100 closes the course without a question.
        {60, cal_place(1, 2, 4), [] { player_record.skill[12] = 100; }, {"place 1.2 entry 4 off"}},
        {76, cal_pool_b(2), none, {"pool B 2 off", "place 1.2 entry 0 on"}},
        {80, place11(0), none, step11(0)},
        {81, place11(1), [] { answers({0}); }, step11(1)},
        {82, place11(2), [] { answers({0}); }, step11(2)},
        {85, place11(5),
         [] {
             player_record.skill[11] = 40;
             draws({1});
             answers({1});
         },
         step11(5)},
        {90, place11(10),
         [] {
             player_record.skill[11] = 60;
             draws({2});
             answers({2});
         },
         step11(10)},
        {95, place11(15),
         [] {
             player_record.skill[11] = 80;
             draws({3});
             answers({3});
         },
         step11(15)},
        // The final exam passed at skill 11 of 100 closes the place.
        {96,
         place11(16),
         [] {
             player_record.skill[11] = 100;
             draws({5});
             answers({1});
         },
         {"place 1.1 entry 16 off"}},
    };
    std::set<s32> slots_run;
    std::set<std::pair<s32, Store>> seen;
    for (const Run& r : runs) {
        {
            SCOPED_TRACE(r.slot);
            all_buttons(UNSET);
            r.setup();
            cal_open(r.own);
            const HubBlock before = hub_block;
            {
                std::optional<ClickScript> quit;
                if (r.sheet)
                    quit.emplace(&picture_screen.passes, std::vector<ScriptedClick>{{2, 430, 440}});
                run_slot(r.slot);
            }
            EXPECT_EQ(draws_left(), 0u);
            EXPECT_EQ(entry_changes(before), r.entries);
            for (const Store& st : button_changes(before)) {
                EXPECT_TRUE(table_has(r.slot, st))
                    << "slot " << r.slot << " stores " << std::get<2>(st) << " into ["
                    << std::get<0>(st) << "][" << std::get<1>(st) << "], not in the table";
                seen.insert({r.slot, st});
            }
            slots_run.insert(r.slot);
            calendar_seams_reset();
            init_hub_state();
            player_record.skill[11] = 0;
            player_record.skill[12] = 0;
        }
    }
    // Every row that names a handler run here was seen storing its value.
    for (const PlaceButtonSwitch& row : PLACE_BUTTON_SWITCHES)
        for (s32 slot = row.first; slot <= row.last; slot++)
            if (slots_run.contains(slot)) {
                EXPECT_TRUE(seen.contains({slot, Store{row.button, row.set, row.on}}))
                    << "slot " << slot << " never stored " << row.on << " into [" << row.button
                    << "][" << row.set << "]";
            }
    // The rows are well formed: a button of the bar, a set, a value, a slot range.
    for (const PlaceButtonSwitch& row : PLACE_BUTTON_SWITCHES) {
        EXPECT_TRUE(row.button >= 0 && row.button < 7 && row.set >= 0 && row.set < 2);
        EXPECT_TRUE(row.on == 0 || row.on == 1);
        EXPECT_TRUE(row.by == PlaceSwitchBy::Hub ? row.first == -1 : row.first >= 0);
        EXPECT_LE(row.first, row.last);
    }
}

TEST_F(CalHomePlaceTest, ChainAdvanceClosesItsEntryAndOpensTheNext) {
    hub_block.place_events[1][3][4].on = 1;
    place_chain_advance(1, 3, 4);
    EXPECT_EQ(hub_block.place_events[1][3][4].on, 0);
    EXPECT_EQ(hub_block.place_events[1][3][5].on, 1);
    // The last entry of a place: nothing past the table is written.
    const HubBlock before = hub_block;
    hub_block.place_events[1][3][29].on = 1;
    place_chain_advance(1, 3, 29);
    EXPECT_EQ(hub_block.place_events[1][3][29].on, 0);
    EXPECT_EQ(hub_block.place_events[1][4][0].on, before.place_events[1][4][0].on);
}

// ---- Slot 008 ----------------------------------------------------------------------------------

TEST_F(CalHomePlaceTest, PictureTestOpensTheBoardPlaceWhetherPassedOrNot) {
    struct Case {
        s32 result;
        std::vector<s32> texts;
        std::string picture; // of the lines after the test
        s32 skill13_exp, attr25_exp, affection;
    };
    const std::vector<s32> intro = run(11090, 11106);
    const Case cases[] = {
        {1, cat({intro, run(11108, 11119), {213, 225, 240}}), " pic 60070 150 128", 50, 100, 52},
        {0, cat({intro, run(11121, 11122), run(11110, 11112), run(11123, 11124), {213, 290}}),
         " pic 60076 236 128", 10, 0, 49},
        {2, // anything but 1 fails
         cat({intro, run(11121, 11122), run(11110, 11112), run(11123, 11124), {213, 290}}),
         " pic 60076 236 128", 10, 0, 49},
    };
    static s32 result = 0;
    static s32 calls = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        PlayerRecord& p = player_record;
        p.skill[13] = 10;
        p.skill_exp[13] = -100000; // the pools keep what they gain
        p.attr[0] = 10;
        p.attr_exp[0] = -100000;
        p.affection[205] = 50;
        hub_block.place_events[0][0][0].on = 1;
        hub_block.hub_third_avail[3][1] = 0;
        result = c.result;
        calls = 0;
        picture_pair_game_seam = [] {
            calls++;
            return result;
        };
        const size_t m = mark();
        run_slot(8);
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(texts_from(m), c.texts);
        const std::vector<std::string> lines = lines_from(m);
        EXPECT_EQ(lines.front(), "hub_say 1 -1 40 11090");
        EXPECT_EQ(lines[1], "hub_say 0 70 -1 11091");
        EXPECT_EQ(lines[17].substr(lines[17].size() - c.picture.size()), c.picture);
        EXPECT_EQ(p.skill_exp[13], -100000 + c.skill13_exp);
        EXPECT_EQ(p.attr_exp[0], -100000 + c.attr25_exp);
        EXPECT_EQ(p.affection[205], c.affection);
        EXPECT_EQ(hub_block.scene_backdrop, 60402);
        EXPECT_EQ(hub_block.hub_third_avail[3][1], 1);
        EXPECT_EQ(hub_block.place_events[0][0][0].on, 0);
        EXPECT_EQ(hub_block.encounter_pool_b[4].on, 1);
        EXPECT_EQ(hub_block.encounter_pool_b[4].slot, -1);
        EXPECT_EQ(hub_block.turns_consumed, 1);
    }
}

// ---- Slot 009 ----------------------------------------------------------------------------------

TEST_F(CalHomePlaceTest, VisitOpensThePictureCourseInvitationAndGivesItsItem) {
    for (s32 skill : {40, 100}) {
        SCOPED_TRACE(skill);
        PlayerRecord& p = player_record;
        p.skill[12] = skill;
        p.skill_exp[12] = -100000;
        const s32 items = inv_count(1063);
        hub_block.place_events[0][0][2].on = 1;
        const size_t m = mark();
        run_slot(9);
        std::vector<s32> texts = cat({run(11125, 11138), {11140, 11139}});
        if (skill < 100) texts.push_back(212);
        EXPECT_EQ(texts_from(m), texts);
        const std::vector<std::string> lines = lines_from(m);
        EXPECT_EQ(lines[2], "hub_say 1 0 40 11127 pic 60091 139 120");
        EXPECT_EQ(lines[9], "hub_travel");
        EXPECT_EQ(lines[10], "hub_say 1 0 40 11134 pic 60090 139 120");
        EXPECT_EQ(p.skill_exp[12], -100000 + (skill < 100 ? 30 : 0));
        EXPECT_EQ(inv_count(1063), items + 1);
        EXPECT_EQ(hub_block.hub_menu_avail[5][2], 1);
        EXPECT_EQ(hub_block.hub_menu_avail[0][4], 1);
        EXPECT_EQ(hub_block.encounter_pool_b[2].on, 1);
        EXPECT_EQ(hub_block.place_events[0][0][2].on, 0);
        EXPECT_EQ(hub_block.turns_consumed, 1);
    }
}

// ---- Slots 077 and 125 -------------------------------------------------------------------------

TEST_F(CalHomePlaceTest, WalkToTheSchoolOpensTheLessonPlace) {
    hub_block.scene_backdrop = 60407;
    const size_t m = mark();
    run_slot(77);
    EXPECT_EQ(texts_from(m), run(11800, 11817));
    const std::vector<std::string> lines = lines_from(m);
    const std::vector<std::string> head = {"hub_say 0 0 -1 11800", "hub_travel",
                                           "hub_say 1 40 140 11801", "hub_say 0 40 -1 11802"};
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4), head);
    EXPECT_EQ(lines[14], "hub_travel");
    EXPECT_EQ(lines[15], "hub_say 1 0 40 11813");
    EXPECT_EQ(hub_block.scene_backdrop, 60402);
    EXPECT_EQ(hub_block.place_events[0][0][1].on, 0);
    EXPECT_EQ(hub_block.place_events[1][1][0].on, 1);
    EXPECT_EQ(hub_block.hub_third_avail[1][1], 1);
    EXPECT_EQ(hub_block.turns_consumed, 1);
}

TEST_F(CalHomePlaceTest, GuestTalkTeachesAnArtAndSchedulesTurn95) {
    hub_block.place_events[0][0][3].on = 1;
    const size_t m = mark();
    run_slot(125);
    EXPECT_EQ(texts_from(m), run(55900, 55932));
    const std::vector<std::string> lines = lines_from(m);
    EXPECT_EQ(lines[2], "hub_say 1 40 280 55901");
    EXPECT_EQ(lines[3], "hub_say 0 40 -1 55902");
    EXPECT_EQ(lines[4], "hub_say 1 40 0 55903");
    bool known = false;
    for (const KnownEntry& k : player_record.known[20]) known = known || k.id == 50;
    EXPECT_TRUE(known);
    EXPECT_EQ(hub_block.place_events[0][0][3].on, 0);
    EXPECT_EQ(hub_block.turn_events_after[95], 196);
    EXPECT_EQ(hub_block.turns_consumed, -7); // stores none
}

// ---- Slot 160 ----------------------------------------------------------------------------------

TEST_F(CalHomePlaceTest, SparringPassesBySkillOrByTheFriendsHitPointsAndTeachesEachListOnce) {
    struct Case {
        const char* name;
        s32 r;
        s32 turn, skill, friend_hp; // skill 10 + r for r 0..3; hp after the bout for r 4..7
        s32 affection_before;
        s32 flag79, flag78;
        std::vector<s32> more_draws;
        std::vector<s32> texts_after_travel;
        s32 affection_after, flag79_after, flag78_after;
        SparringArt art; // {-1, -1}: none taught
    };
    const Case cases[] = {
        {"skill at turn / 2 passes", 2, 41, 20, 0, 50, 0, 0, {}, {16677}, 52, 0, 0, {-1, -1}},
        {"skill below fails", 3, 42, 20, 0, 50, 0, 0, {}, {16678}, 48, 0, 0, {-1, -1}},
        {"hp at the threshold passes", 5, 100, 0, 700, 50, 0, 0, {}, {16677}, 52, 0, 0, {-1, -1}},
        {"hp above fails", 7, 100, 0, 701, 50, 0, 0, {}, {16678}, 48, 0, 0, {-1, -1}},
        {"first list by flag 79",
         0,
         80,
         50,
         0,
         78,
         2,
         0,
         {},
         {16677, 16679, 16682, 16689, 16694},
         80,
         4,
         0,
         {3, 51}},
        {"affection 79 after the gain teaches nothing",
         0,
         80,
         50,
         0,
         77,
         2,
         0,
         {},
         {16677},
         79,
         2,
         0,
         {-1, -1}},
        {"turn 79 teaches nothing", 0, 79, 50, 0, 90, 0, 0, {}, {16677}, 92, 0, 0, {-1, -1}},
        {"second list by flag 78",
         1,
         90,
         50,
         0,
         90,
         4,
         1,
         {},
         {16677, 16679, 16685, 16692, 16694},
         92,
         4,
         4,
         {6, 52}},
        {"flag 78 at 3 draws k",
         1,
         90,
         50,
         0,
         90,
         5,
         3,
         {2},
         {16677, 16679, 16686, 16693, 16694},
         92,
         5,
         4,
         {7, 51}},
        {"both taught", 1, 90, 50, 0, 90, 4, 4, {}, {16677}, 92, 4, 4, {-1, -1}},
        // A negative flag names no art (the texts and arts before each list are not read).
        {"negative flag 79", 1, 90, 50, 0, 90, -1, 0, {}, {16677}, 92, -1, 0, {-1, -1}},
        {"negative flag 78", 1, 90, 50, 0, 90, 4, -2, {}, {16677}, 92, 4, -2, {-1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRecord& p = player_record;
        hub_block.calendar_turn = c.turn;
        if (c.r < 4) p.skill[10 + c.r] = c.skill;
        p.affection[205] = c.affection_before;
        p.story_flags[79] = c.flag79;
        p.story_flags[78] = c.flag78;
        for (auto& list : p.known)
            for (KnownEntry& k : list) k = {-1, 0, 0};
        roster[205].hp = c.friend_hp;
        hub_block.place_events[0][0][6].on = 1;
        draws({c.r});
        for (s32 d : c.more_draws) draws({d});
        const size_t fought_before = fought().size();
        if (c.r >= 4) battles({0});
        const size_t m = mark();
        run_slot(160);
        const std::vector<s32> opening = {c.r < 4 ? 16672 + c.r : 16676};
        EXPECT_EQ(texts_from(m), cat({run(16665, 16671), opening, c.texts_after_travel}));
        EXPECT_EQ(lines_from(m)[8], "hub_travel");
        EXPECT_EQ(fought().size(), fought_before + (c.r >= 4 ? 1 : 0));
        if (c.r >= 4) {
            EXPECT_EQ(fought().back(), 92);
        }
        EXPECT_EQ(draws_left(), 0u);
        EXPECT_EQ(p.affection[205], c.affection_after);
        EXPECT_EQ(p.story_flags[79], c.flag79_after);
        EXPECT_EQ(p.story_flags[78], c.flag78_after);
        s32 known = 0;
        for (s32 list = 0; list < KNOWN_LISTS; list++)
            for (const KnownEntry& k : p.known[list])
                if (k.id >= 0) {
                    known++;
                    EXPECT_EQ(list, c.art.list);
                    EXPECT_EQ(k.id, c.art.id);
                }
        EXPECT_EQ(known, c.art.list < 0 ? 0 : 1);
        EXPECT_EQ(hub_block.place_events[0][0][6].on, 1); // repeats
    }
}

TEST_F(CalHomePlaceTest, SparringThresholdFallsWithTheTurn) {
    struct Case {
        s32 r, turn, skill, hp, passed;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 1},    {1, 234, 117, 0, 1}, {1, 234, 116, 0, 0}, {4, 0, 0, 1000, 1},
        {4, 0, 0, 1001, 0}, {6, 234, 0, 298, 1}, {6, 234, 0, 299, 0},
    };
    for (const Case& c : cases) {
        hub_block.calendar_turn = c.turn;
        if (c.r < 4) player_record.skill[10 + c.r] = c.skill;
        roster[205].hp = c.hp;
        EXPECT_EQ(sparring_passed(c.r), c.passed) << c.r << " " << c.turn;
    }
}

// ---- Every row of the table against its handlers ------------------------------------------------

namespace {

// The tile boards: every deal puts the tiles home, and a finish button ends each board at once.
s32 tiles_home(s32) {
    static s32 next = 0;
    return next++ % TILE_SWAP_CELLS;
}
void finish_every_board() {
    tile_swap_rand = tiles_home;
    tile_swap_state = TileSwapState{};
    harness_on_present([](const u16*, u64) {
        const TileSwapState& s = tile_swap_state;
        if (s.frames > 0 && !s.finished && harness_pending_input() == 0) harness_click(16, 440);
    });
}

// The timed action game won: every track held back at each frame while the clock jumps a bar
// step, then one click for the wait after it.
bool timed_clicked = false;
void win_timed_action() {
    timed_action_state = TimedActionState{};
    timed_clicked = false;
    harness_on_present([](const u16*, u64) {
        TimedActionState& s = timed_action_state;
        if (s.state == 0) {
            for (s32& p : s.pos) p = TIMED_CLEARED;
            harness_advance(TIMED_BAR_STEP_MS);
        } else if (!timed_clicked) {
            timed_clicked = true;
            harness_click(609, 449);
        }
    });
}

void scene_ends_at_once(LauncherScene) {
    world_state.field_active = 0;
}
void field_loop_ends_at_once() {
    world_state.field_active = 0;
}

struct HubTurnStarted {};
void stop_at_the_before_turn_event() {
    throw HubTurnStarted{};
}
constexpr s32 FREE_SLOT = 176;   // a slot the game never fills
constexpr s32 PLACE_4_FLAG = 15; // the story flag that the hub reads at a turn's start

class CalPlaceRowsTest : public CalHomePlaceTest {
  protected:
    // Every slot the table names (the hub's row by -1), with what makes its handler store.
    static std::map<s32, std::function<void()>> setups() {
        const auto none = [] {};
        const auto turn = [](s32 t) { return [t] { hub_block.calendar_turn = t; }; };
        // A listening of the music course: go on at the offer to play again; piece 0 is asked.
        const auto listening = [](s32 answer) {
            draws({0});
            answers({0, answer});
        };
        std::map<s32, std::function<void()>> m = {
            {17, none},
            {158, none},
            {44,
             [] {
                 hub_block.calendar_turn = 112;
                 player_record.affection[203] = 69; // declined
             }},
            {11,
             [] {
                 opening_play({{{PICTURE_POINTS[8].x, PICTURE_POINTS[8].y}}});
             }},
            {154, none},
            {157, none},
            {192,
             [] {
                 hub_block.calendar_turn = 75;
                 player_record.affection[205] = 59; // refused
             }},
            {194,
             [] {
                 hub_block.calendar_turn = 135;
                 answers({1});
             }},
            {2, none},
            {143,
             [] {
                 hub_block.encounter_pool_c[3].on = 1;
                 player_record.affection[83] = 70;
                 player_record.story_flags[PLACE_4_FLAG] = 1;
                 scene_field_loop_seam = field_loop_ends_at_once;
             }},
            {-1,
             [] {
                 hub_block.calendar_turn = 13;
                 player_record.story_flags[PLACE_4_FLAG] = 1;
             }},
            {43,
             [=] {
                 world_state.year = YEARLY_MUSIC_TRIAL_YEAR;
                 listening(0); // right
             }},
            {75, [=] { listening(0); }},
            {112, none},
            {77, none},
            {96,
             [] {
                 player_record.skill[11] = 100;
                 draws({5});
                 answers({1});
             }},
            {76, none},
            {190,
             [] {
                 hub_block.calendar_turn = 85;
                 launcher_scene_seam = scene_ends_at_once;
             }},
            {60, [] { player_record.skill[12] = 100; }},
            {8, [] { picture_pair_game_seam = [] { return 0; }; }},
            {123, [] { hub_block.place_events[1][3][10].on = 1; }},
            {53, finish_every_board},
            {54,
             [] {
                 player_record.skill[13] = 100;
                 finish_every_board();
             }},
            {55, finish_every_board},
            {33, turn(38)},
            {66, none},
            {98, none},
            {101, win_timed_action},
        };
        for (s32 slot = 102; slot <= 111; slot++)
            m[slot] = [=] {
                player_record.affection[MUSIC_REGARD] = MUSIC_REGARD_CLOSE + 1;
                listening(1); // wrong
            };
        // The gate of place 1.4 closes the place once the training skill has come far enough.
        for (s32 slot : {61, 62, 63, 64, 65, 69, 70, 71, 72, 73})
            m[slot] = [] { player_record.skill[15] = 50; };
        return m;
    }

    // Runs every slot of every row whose first slot is in `group`, each from the new game's state
    // with the row's button set the other way round, and expects the row's value stored.
    void check_rows(const std::set<s32>& group) {
        const auto all = setups();
        const auto real_scene = launcher_scene_seam;
        const PlayerRecord player = player_record;
        const HubBlock hub = hub_block;
        const WorldState world = world_state;
        for (const PlaceButtonSwitch& row : PLACE_BUTTON_SWITCHES) {
            if (!group.contains(row.first)) continue;
            for (s32 slot = row.first; slot <= row.last; slot++) {
                SCOPED_TRACE(slot);
                player_record = player;
                hub_block = hub;
                world_state = world;
                hub_restart = -1;
                dialog_transcript_mode();
                s32& button = hub_block.hub_third_avail[row.button][row.set];
                button = 1 - row.on;
                ASSERT_TRUE(all.contains(slot));
                all.at(slot)();
                if (row.by == PlaceSwitchBy::Hub) {
                    hub_restart = 0; // no autosave
                    hub_block.turn_events_before[hub_block.calendar_turn] = FREE_SLOT;
                    ASSERT_EQ(calendar_event_register(FREE_SLOT, stop_at_the_before_turn_event,
                                                      "place rows test"),
                              0);
                    EXPECT_THROW(hub_pass(), HubTurnStarted);
                    calendar_event_unregister(FREE_SLOT);
                } else {
                    run_slot(slot);
                }
                EXPECT_EQ(button, row.on) << "slot " << slot << " did not store " << row.on
                                          << " into [" << row.button << "][" << row.set << "]";
                EXPECT_EQ(draws_left(), 0u);
                harness_on_present(nullptr);
                tile_swap_rand = rand_below;
                launcher_scene_seam = real_scene;
                scene_field_loop_seam = field_loop;
                calendar_seams_reset();
            }
        }
    }
};

// The rows by the handlers that make them, one test each; together every row of the table.
const std::set<s32> ROWS_OPENING_AND_STORY = {17, 158, 44, 11, 154, 157, 192, 194, 2, 143, -1};
const std::set<s32> ROWS_MUSIC = {43, 75, 102, 112};
const std::set<s32> ROWS_COURSES = {77, 96, 76, 190, 60, 8, 123, 33, 61, 66, 69, 98};
const std::set<s32> ROWS_GAMES = {53, 54, 101};

} // namespace

TEST_F(CalPlaceRowsTest, OpeningStoryAndHubRowsAreStoredByTheirHandlers) {
    // The groups hold every row of the table.
    for (const PlaceButtonSwitch& row : PLACE_BUTTON_SWITCHES) {
        const s32 f = row.first;
        EXPECT_EQ(ROWS_OPENING_AND_STORY.count(f) + ROWS_MUSIC.count(f) + ROWS_COURSES.count(f) +
                      ROWS_GAMES.count(f),
                  1u)
            << f;
    }
    check_rows(ROWS_OPENING_AND_STORY);
}

TEST_F(CalPlaceRowsTest, MusicCourseRowsAreStoredByTheirHandlers) {
    check_rows(ROWS_MUSIC);
}

TEST_F(CalPlaceRowsTest, CourseRowsAreStoredByTheirHandlers) {
    check_rows(ROWS_COURSES);
}

TEST_F(CalPlaceRowsTest, BoardAndTrainingGameRowsAreStoredByTheirHandlers) {
    check_rows(ROWS_GAMES);
}
