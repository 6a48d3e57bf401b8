// The first year's story handlers run through the calendar table: the text ids shown and the state
// each branch changes, with fake battles and forced draws; the yearly visits with the music trial
// through its seam; the training aftermath; and the draw without repeats they use.
#include "calendar/calendar_seams.h"
#include "calendar/first_year.h"
#include "calendar/frame.h"
#include "data/hub_block.h"
#include "data/roster.h"
#include "engine/gisk.h"
#include "engine/world_state.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/titles.h"
#include "tests/cal_first_year_fixture.h"
#include "tests/text_runs.h"
#include "tools/arcbuild.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

s32 item_count(s32 item) {
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item) return e.count;
    return 0;
}

class CalFirstYear : public CalFirstYearBase {
  protected:
    // Affection gains without the aptitude's random bonus, and a sound starting point.
    void start() override {
        PlayerRecord& p = player_record;
        p.social_aptitude = 50;
        p.chivalry = 50;
        p.fame = 100;
        p.money = 1000;
        p.mood = 1;
        p.mood_turns = 3;
        p.stamina = 800;
        p.sick_turns = 0;
        p.condition = 0;
        for (s32 person : {75, 132, 146, 180, 200, 204, 205, 207, 40}) p.affection[person] = 30;
        for (s32 f = 60; f < 80; f++) p.story_flags[f] = 0;
        hub_block.turns_consumed = 3;
    }
};

// ---- 025 ---------------------------------------------------------------------------------------

TEST_F(CalFirstYear, Slot025FightForTheStrangerByBranch) {
    struct Case {
        const char* name;
        std::vector<s32> answers, battles, draws;
        bool known_before; // the stranger is an acquaintance already
        std::vector<s32> texts;
        std::vector<s32> fought;
        s32 affection, chivalry, fame, sick_turns, condition, pool_b16;
    };
    const std::vector<s32> help =
        text_join({text_runs({60020, -60027}), text_runs({60030, -60033})});
    const std::vector<s32> won = text_join({help, {60034}, text_runs({60040, -60046}), {231, 232}});
    const std::vector<s32> not_won =
        text_join({help, {60050}, text_runs({60051, -60054}), {60060}, text_runs({60061, -60068})});
    const std::vector<s32> declined = text_join({text_runs({60020, -60027}),
                                                 text_runs({60070, -60073}),
                                                 text_runs({60061, -60062}),
                                                 text_runs({60075, -60079}),
                                                 {282}});
    // clang-format off
    const Case cases[] = {
        // name                   answers battles draws met  texts                    fought    180      chiv fame sick cond B16
        {"won, first meeting",    {0}, {1},    {},  false, won,                       {19},     30 + 61, 52, 104, 0, 0, 1},
        {"won, met before",       {0}, {1},    {},  true,  won,                       {19},     30 + 10, 52, 104, 0, 0, 1},
        // rand_below(4) = 3: five turns of illness and summary 473.
        {"lost",                  {0}, {0, 1}, {3}, false, text_join({not_won, {473}}),     {19, 20}, 30 + 56, 52, 100, 5, 5, 1},
        {"round limit, met before", {0}, {2, 0}, {0}, true, text_join({not_won, {470}}),    {19, 20}, 30 + 5,  52, 100, 2, 5, 1},
        {"declined",              {1}, {1},    {},  false, declined,                  {20},     30 + 41, 47, 100, 0, 0, 0},
        {"declined, met before",  {1}, {0},    {},  true,  declined,                  {20},     30 - 10, 47, 100, 0, 0, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        if (c.known_before) acquaint_add(180, -1000); // met, the regard set below
        player_record.affection[180] = 30;
        player_record.hp = 1;
        roster[89].hp = 1;
        dialog_answers(c.answers);
        for (s32 b : c.battles) battles({b});
        for (s32 d : c.draws) draws({d});
        const size_t m = mark();
        const size_t fights = fought().size();
        run_slot(25);
        EXPECT_EQ(texts_from(m), c.texts);
        EXPECT_EQ(std::vector<s32>(fought().begin() + long(fights), fought().end()), c.fought);
        EXPECT_EQ(draws_left(), 0u);
        const PlayerRecord& p = player_record;
        EXPECT_EQ(p.affection[180], c.affection);
        EXPECT_EQ(acquaint_has(180), 1);
        EXPECT_EQ(p.chivalry, c.chivalry);
        EXPECT_EQ(p.fame, c.fame);
        EXPECT_EQ(p.sick_turns, c.sick_turns);
        EXPECT_EQ(p.condition, c.condition);
        EXPECT_EQ(hub_block.encounter_pool_a[7].on, 0);
        EXPECT_EQ(hub_block.encounter_pool_b[16].on, c.pool_b16);
        EXPECT_EQ(hub_block.scene_backdrop, 60427);
        // Always healed at the end: the protagonist and 89.
        EXPECT_EQ(p.hp, p.hp_max);
        EXPECT_EQ(roster[89].hp, roster[89].hp_max);
        EXPECT_EQ(hub_block.turns_consumed, 3); // no turns stored
    }
}

// ---- 032 ---------------------------------------------------------------------------------------

TEST_F(CalFirstYear, Slot032TheCoinAloneDecidesTheRegard) {
    struct Case {
        s32 listen, option, coin; // option and coin only when listening (listen 0)
        s32 line;                 // the option's line
        std::vector<s32> after;
        s32 affection;
    };
    const Case cases[] = {
        {0, 0, 0, 15202, text_runs({60112, -60114}), 35},
        {0, 1, 0, 15204, text_runs({60112, -60114}), 35},
        {0, 2, 0, 15200, text_runs({60112, -60114}), 35},
        {0, 0, 1, 15205, {60111}, 25},
        {0, 1, 1, 15201, {60111}, 25},
        {0, 2, 1, 15203, {60111}, 25},
        {1, -1, -1, 0, text_runs({60120, -60121}), 25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.listen << " " << c.option << " " << c.coin);
        fresh();
        std::vector<s32> expect = text_join({{40601}, text_runs({40602, -40606}), {40611, 40612}});
        if (c.listen == 0) {
            answers({0, c.option});
            draws({c.coin});
            expect = text_join({expect, {40613, 15206, 15207, 15208, c.line}, c.after});
        } else {
            answers({1});
            expect = text_join({expect, c.after});
        }
        const size_t m = mark();
        run_slot(32);
        EXPECT_EQ(texts_from(m), expect);
        EXPECT_EQ(draws_left(), 0u);
        EXPECT_EQ(player_record.affection[180], c.affection);
        EXPECT_EQ(hub_block.encounter_pool_b[16].on, 0);
        EXPECT_EQ(hub_block.encounter_pool_b[17].on, 1);
        EXPECT_EQ(hub_block.scene_backdrop, 60423);
    }
}

TEST_F(CalFirstYear, Slot032SpeakersOfTheRun) {
    answers({1});
    const size_t m = mark();
    run_slot(32);
    const std::vector<std::string> expect = {
        "hub_say 0 0 -1 40601",
        "hub_say 1 0 85 40602",
        "hub_say 1 0 86 40603",
        "hub_say 1 0 85 40604",
        "hub_say 1 0 86 40605",
        "hub_say 1 0 85 40606",
        "hub_choose 0 0 -1 40611 40612 0 0 -> 1",
        "hub_say 1 0 85 60120",
        "hub_say 1 0 85 60121",
    };
    std::vector<std::string> says;
    for (const std::string& l : lines_from(m))
        if (l.starts_with("hub_")) says.push_back(l);
    EXPECT_EQ(says, expect);
}

// ---- 027 ---------------------------------------------------------------------------------------

TEST_F(CalFirstYear, Slot027TheTwoFriends) {
    const std::vector<s32> opening = text_join({text_runs({15007, -15018})});
    {
        answers({0});
        const size_t m = mark();
        run_slot(27);
        EXPECT_EQ(texts_from(m),
                  text_join({opening, text_runs({15019, -15027}), text_runs({15033, -15035})}));
        const PlayerRecord& p = player_record;
        EXPECT_EQ(p.chivalry, 48);
        EXPECT_EQ(known_has(15, 0), 1);
        EXPECT_EQ(p.affection[207], 60);
        EXPECT_EQ(p.affection[205], 25);
        EXPECT_EQ(hub_block.turn_events_before[59], 136);
    }
    fresh();
    {
        const s32 before59 = hub_block.turn_events_before[59];
        answers({1});
        const size_t m = mark();
        run_slot(27);
        EXPECT_EQ(texts_from(m),
                  text_join({opening, text_runs({15028, -15033}), {15036, 15035, 232, 240}}));
        const PlayerRecord& p = player_record;
        EXPECT_EQ(p.chivalry, 54);
        EXPECT_EQ(known_has(15, 0), 0);
        EXPECT_EQ(p.affection[207], 40);
        EXPECT_EQ(p.affection[205], 32);
        EXPECT_EQ(hub_block.turn_events_before[59], before59);
        EXPECT_EQ(hub_block.scene_backdrop, 60407);
    }
}

// ---- 038 ---------------------------------------------------------------------------------------

TEST_F(CalFirstYear, Slot038TheOutingByPath) {
    struct Case {
        const char* name;
        std::vector<s32> answers, battles;
        std::vector<s32> texts; // after the opening run and its choice
        s32 affection205, affection204, prize, skill_exp5, backdrop;
        bool partner_halved;
    };
    const std::vector<s32> walk = {15415, 15416, 15417, 15422};
    const std::vector<s32> ground =
        text_join({walk, {15418, 15419, 15421, 15420}, text_runs({15423, -15429}), {15430, 15452}});
    const std::vector<s32> spar = text_join({ground, text_runs({15431, -15433}), {15434, 15438}});
    const std::vector<s32> lesson = text_join(
        {ground, text_runs({15431, -15433}), {15434, 15438}, {15439, 15440}, {15441, 15445}});
    // A walk to one of the three views.
    const std::vector<s32> views = text_join({walk, {15418, 15419, 15421, 15420, 15454}});
    const std::vector<s32> lesson_fight = text_join({lesson, {15446, 15447}});
    // clang-format off
    const Case cases[] = {
        // name                 answers               battles texts                               205 204 prize exp5 backdrop halved
        {"cold reply, home",    {0, 1},               {},  text_join({{15411}, walk, {290}}),            25, 30, 0, 0,   60400, false},
        {"no reply, home",      {1, 1},               {},  walk,                                   30, 30, 0, 0,   60400, false},
        {"warm reply, home",    {2, 1},               {},  text_join({{15414}, walk, {240}}),            35, 30, 0, 0,   60400, false},
        {"first view",          {1, 0, 0},            {},  views,                                  30, 30, 0, 0,   60401, false},
        {"second view",         {1, 0, 1},            {},  views,                                  30, 30, 0, 0,   60404, false},
        {"third view",          {1, 0, 2},            {},  views,                                  30, 30, 0, 0,   60406, false},
        {"no sparring",         {1, 0, 3, 1},         {},  text_join({ground, {15453, 245}}),            30, 40, 0, 0,   60405, false},
        {"sparring lost",       {1, 0, 3, 0, 0},      {0}, text_join({spar, text_runs({15435, -15437})}),         30, 30, 0, 0,   60405, true},
        {"sparring won",        {1, 0, 3, 0, 0},      {1}, text_join({spar, {15448, 15449, 295}}),       30, 25, 1, 0,   60405, true},
        {"sparring, round limit", {1, 0, 3, 0, 0},    {2}, text_join({spar, {15448, 15449, 295}}),       30, 25, 1, 0,   60405, true},
        {"lesson taught",       {1, 0, 3, 0, 1, 0},   {},  text_join({lesson, text_runs({15442, -15444}), {245, 205}}), 30, 31, 0, 300, 60405, false},
        {"lesson, fight lost",  {1, 0, 3, 0, 1, 1},   {0}, text_join({lesson_fight, {15450, 15451, 245, 295}}), 30, 26, 0, 0, 60405, false},
        {"lesson, fight won",   {1, 0, 3, 0, 1, 1},   {1}, text_join({lesson_fight, {15448, 15449, 245, 295}}), 30, 21, 1, 0, 60405, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        PlayerRecord& p = player_record;
        p.skill[5] = 100; // taught whatever the level: the pool still grows
        p.skill_exp[5] = 0;
        roster[204].hp = 7;
        roster[204].hp_max = 301;
        hub_block.place_events[0][0][5].on = 1;
        dialog_answers(c.answers);
        for (s32 b : c.battles) battles({b});
        const size_t m = mark();
        const size_t fights = fought().size();
        run_slot(38);
        EXPECT_EQ(texts_from(m), text_join({text_runs({15400, -15410}), {15412, 15413}, c.texts}));
        EXPECT_EQ(fought().size() - fights, c.battles.size());
        for (size_t i = fights; i < fought().size(); i++) EXPECT_EQ(fought()[i], 1);
        EXPECT_EQ(p.affection[205], c.affection205);
        EXPECT_EQ(p.affection[204], c.affection204);
        EXPECT_EQ(item_count(1274), c.prize);
        EXPECT_EQ(p.skill_exp[5], c.skill_exp5);
        EXPECT_EQ(roster[204].hp, c.partner_halved ? 150 : 7);
        EXPECT_EQ(hub_block.scene_backdrop, c.backdrop);
        EXPECT_EQ(hub_block.place_events[0][0][5].on, 0);
        EXPECT_EQ(hub_block.turns_consumed, 1);
    }
}

TEST_F(CalFirstYear, Slot038OpeningVoicesAndTheReplyAtTheRight) {
    answers({1, 1});
    const size_t m = mark();
    run_slot(38);
    const std::vector<std::string> lines = lines_from(m);
    const std::vector<std::string> expect = {
        "hub_say 0 43 -1 15400",
        "hub_say 1 -1 30 15401",
        "hub_say 0 44 -1 15402",
        "hub_say 1 -1 25 15403",
        "hub_say 0 44 -1 15404",
        "hub_say 1 -1 8 15405",
        "hub_say 0 44 -1 15406",
        "hub_say 1 -1 30 15407",
        "hub_say 0 44 -1 15408",
        "hub_say 1 -1 0 15409",
        "hub_choose 1 -1 0 15410 15412 15413 -1 -> 1",
    };
    ASSERT_GE(lines.size(), expect.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + long(expect.size())), expect);
}

// ---- 039 and 040 -------------------------------------------------------------------------------

TEST_F(CalFirstYear, Slot039OneArtWithItsWeapon) {
    struct Case {
        s32 list, item;
    };
    const Case cases[] = {{5, 1402}, {6, 1432}, {7, 1460}};
    for (s32 k = 0; k < 3; k++) {
        SCOPED_TRACE(k);
        fresh();
        answers({k});
        const size_t m = mark();
        run_slot(39);
        EXPECT_EQ(texts_from(m),
                  text_join({text_runs({15622, -15625}), {15627 + k, 15631, 15632}}));
        for (s32 j = 0; j < 3; j++) {
            EXPECT_EQ(known_has(cases[j].list, 50), j == k ? 1 : 0);
            EXPECT_EQ(item_count(cases[j].item), j == k ? 1 : 0);
        }
        EXPECT_EQ(player_record.story_flags[78], k);
        EXPECT_EQ(hub_block.place_events[0][0][6].on, 1);
        EXPECT_EQ(hub_block.turns_consumed, 1);
    }
}

TEST_F(CalFirstYear, Slot040OpensTheMenus) {
    const size_t m = mark();
    run_slot(40);
    EXPECT_EQ(texts_from(m), text_join({text_runs({15600, -15609}), {15599}}));
    EXPECT_EQ(known_has(0, 50), 1);
    EXPECT_EQ(hub_block.hub_menu_avail[0][1], 1);
    for (s32 b = 0; b <= 5; b++) EXPECT_EQ(hub_block.hub_menu_avail[2][b], 1) << b;
    EXPECT_EQ(hub_block.hub_menu_avail[2][6], 0);
    EXPECT_EQ(hub_block.turns_consumed, 1);
}

// ---- 043 ---------------------------------------------------------------------------------------

s32 trials = 0;
void fake_music_trial() {
    trials++;
}

class CalYearlyVisits : public CalFirstYear {
  protected:
    void start() override {
        CalFirstYear::start();
        trials = 0;
        music_trial_seam = fake_music_trial;
        world_state.year = 2;
        hub_block.encounter_pool_b[0] = {-1, 0};
    }
    // Only the hub's says, choices, summaries and walks.
    static std::vector<std::string> hub_lines(size_t m) {
        std::vector<std::string> out;
        for (const std::string& l : lines_from(m))
            if (l.starts_with("hub_")) out.push_back(l);
        return out;
    }
};

TEST_F(CalYearlyVisits, NobodyComesTheMusicTrialOnceThenLoneliness) {
    struct Case {
        s32 year, pool_b0_on;
        s32 trials, pool_b0_after;
        bool lonely;
    };
    const Case cases[] = {
        {2, 0, 1, -1, false}, // the first year-2 visit day without visitors
        {2, -1, 0, -1, true}, // the trial was held
        {3, 0, 0, 0, true},   // later years
        {1, 0, 0, 0, true},   {2, 1, 0, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << " " << c.pool_b0_on);
        fresh();
        world_state.year = u8(c.year);
        hub_block.encounter_pool_b[0].on = c.pool_b0_on;
        // Affection just below the thresholds.
        for (s32 person : {200, 132, 40, 146, 180}) player_record.affection[person] = 89;
        player_record.affection[75] = 69;
        const size_t m = mark();
        run_slot(43);
        EXPECT_EQ(trials, c.trials);
        EXPECT_EQ(hub_block.encounter_pool_b[0].on, c.pool_b0_after);
        EXPECT_EQ(texts_from(m), c.lonely ? std::vector<s32>{16695} : std::vector<s32>{});
        EXPECT_EQ(player_record.mood, c.lonely ? 4 : 1);
    }
}

TEST_F(CalYearlyVisits, AVisitAlternatesVisitorAndProtagonist) {
    player_record.affection[200] = 90;
    player_record.story_flags[70] = 1;
    const size_t m = mark();
    run_slot(43);
    std::vector<std::string> expect = {"hub_say 0 0 420 26376"};
    for (s32 t = 26377; t <= 26396; t++)
        expect.push_back("hub_say " + std::to_string((t - 26377) % 2 == 0 ? 1 : 0) + " 0 420 " +
                         std::to_string(t));
    EXPECT_EQ(hub_lines(m), expect);
    EXPECT_EQ(item_count(1480), 1);
    EXPECT_EQ(player_record.story_flags[69], 1);
    EXPECT_EQ(trials, 0);
    EXPECT_EQ(player_record.mood, 1);
    // Once only.
    const size_t again = mark();
    run_slot(43);
    EXPECT_EQ(texts_from(again), std::vector<s32>{});
    EXPECT_EQ(trials, 1);
}

TEST_F(CalYearlyVisits, EachVisitorsConditionLinesAndGift) {
    struct Case {
        const char* name;
        s32 person, affection;
        std::vector<s32> flags; // set to 1 first
        std::vector<s32> texts;
        s32 done_flag;
    };
    const Case cases[] = {
        {"200", 200, 95, {70}, text_runs({26376, -26396}), 69},
        {"132", 132, 90, {19}, text_runs({26313, -26323}), 68},
        {"146", 146, 100, {24}, text_runs({26369, -26375}), 64},
        {"180", 180, 90, {74}, text_runs({26300, -26312}), 63},
        {"200 without its story", 200, 95, {}, {16695}, -1},
        {"200 after its gift", 200, 95, {70, 69}, {16695}, -1},
        {"132 without its story", 132, 95, {}, {16695}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        hub_block.encounter_pool_b[0].on = -1; // the trial was held
        player_record.affection[c.person] = c.affection;
        for (s32 f : c.flags) player_record.story_flags[f] = 1;
        const size_t m = mark();
        run_slot(43);
        EXPECT_EQ(texts_from(m), c.texts);
        if (c.done_flag >= 0) {
            EXPECT_EQ(player_record.story_flags[c.done_flag], 1);
        }
    }
    fresh();
    // The gifts.
    player_record.affection[132] = 90;
    player_record.affection[146] = 90;
    player_record.affection[180] = 90;
    for (s32 f : {19, 24, 74}) player_record.story_flags[f] = 1;
    run_slot(43);
    EXPECT_EQ(item_count(1482), 1);
    EXPECT_EQ(item_count(1466), 1);
    EXPECT_EQ(known_has(2, 55), 1);
}

TEST_F(CalYearlyVisits, PersonFortyBringsThreeGiftsInThreeYears) {
    PlayerRecord& p = player_record;
    p.affection[40] = 90;
    p.story_flags[23] = 1;
    for (s32& v : p.attr) v = 10;
    p.skill[0] = 10;
    const s32 skill0 = p.skill[0];
    const s32 attrs_before = p.attr[0] + p.attr[1] + p.attr[2] + p.attr[3] + p.attr[4];
    // Year 1: goods.
    size_t m = mark();
    run_slot(43);
    EXPECT_EQ(texts_from(m), text_runs({26330, -26341}));
    EXPECT_EQ(item_count(1253), 5);
    EXPECT_EQ(p.story_flags[67], 1);
    // Year 2: the base value, with a walk between the two closing lines.
    m = mark();
    run_slot(43);
    EXPECT_EQ(texts_from(m), text_join({text_runs({26342, -26355}), {26397, 26398}}));
    EXPECT_GT(p.skill[0], skill0);
    EXPECT_EQ(p.story_flags[66], 1);
    const std::vector<std::string> tail = hub_lines(m);
    ASSERT_GE(tail.size(), 3u);
    EXPECT_EQ(tail[tail.size() - 3], "hub_say 0 0 -1 26397");
    EXPECT_EQ(tail[tail.size() - 2], "hub_travel");
    EXPECT_EQ(tail[tail.size() - 1], "hub_say 0 0 -1 26398");
    // Year 3: the five attributes.
    m = mark();
    run_slot(43);
    EXPECT_EQ(texts_from(m), text_join({text_runs({26356, -26368}), {26397, 26398}}));
    EXPECT_GT(p.attr[0] + p.attr[1] + p.attr[2] + p.attr[3] + p.attr[4], attrs_before + 5);
    EXPECT_EQ(p.attr[5], 10);
    EXPECT_EQ(p.story_flags[65], 1);
    // Nothing more to bring.
    hub_block.encounter_pool_b[0].on = -1;
    m = mark();
    run_slot(43);
    EXPECT_EQ(texts_from(m), std::vector<s32>{16695});
}

TEST_F(CalYearlyVisits, AGiftIntoAPoolNearItsTopSaturates) {
    // A pool read from a saved game near the top of its range: the 5000 do not wrap it.
    PlayerRecord& p = player_record;
    p.affection[40] = 90;
    p.story_flags[23] = 1;
    p.story_flags[67] = 1;
    p.skill[0] = 99;
    p.skill_exp[0] = INT32_MAX - 100;
    run_slot(43);
    EXPECT_EQ(p.story_flags[66], 1);
    EXPECT_EQ(p.skill[0], 100);
    EXPECT_GT(p.skill_exp[0], 0);
}

TEST_F(CalYearlyVisits, PersonSeventyFiveNeedsLessAndChangesTheScene) {
    PlayerRecord& p = player_record;
    p.affection[75] = 70;
    known_add(20, 52);
    for (KnownEntry& e : p.known[20])
        if (e.id == 52) e.level = 100;
    const size_t m = mark();
    run_slot(43);
    EXPECT_EQ(texts_from(m),
              text_join({text_runs({17500, -17519}), text_runs({17521, -17535}), {17535}}));
    EXPECT_EQ(p.story_flags[62], 1);
    EXPECT_EQ(p.affection[75], 100);
    EXPECT_EQ(hub_block.scene_backdrop, 60408);
    const std::vector<std::string> lines = hub_lines(m);
    EXPECT_EQ(lines.back(), "hub_say 0 0 -1 17535");
    EXPECT_EQ(lines[lines.size() - 2], "hub_say 0 0 275 17535");
    EXPECT_EQ(lines[19], "hub_say 0 0 275 17519");
}

TEST_F(CalYearlyVisits, TheWalkComesBeforeTheThirdVisitorAndLater) {
    PlayerRecord& p = player_record;
    for (s32 person : {200, 132, 40, 146}) p.affection[person] = 90;
    for (s32 f : {70, 19, 23, 24}) p.story_flags[f] = 1;
    // 146 comes fourth but has already given its gift: its walk is still taken.
    p.story_flags[64] = 1;
    const size_t m = mark();
    run_slot(43);
    std::vector<size_t> walks;
    const std::vector<std::string> lines = hub_lines(m);
    for (size_t i = 0; i < lines.size(); i++)
        if (lines[i] == "hub_travel") walks.push_back(i);
    const size_t third = 21 + 11; // 200's 21 lines and 132's 11
    ASSERT_EQ(walks.size(), 2u);
    EXPECT_EQ(walks[0], third);
    EXPECT_EQ(lines[third + 1], "hub_say 1 0 125 26330");
    EXPECT_EQ(walks[1], third + 1 + 12); // after 40's twelve lines
    EXPECT_EQ(p.story_flags[69] + p.story_flags[68] + p.story_flags[67], 3);
    // Three of the counted story flags: the visits' title is awarded.
    EXPECT_EQ(title_has(56), 1);
}

// ---- The training aftermath --------------------------------------------------------------------

TEST(CalFirstYearSeams, TrainingAftermathSeamDefaultsToTheRealRoutine) {
    EXPECT_EQ(training_aftermath_seam, training_aftermath);
    training_aftermath_seam = nullptr;
    calendar_seams_reset();
    EXPECT_EQ(training_aftermath_seam, training_aftermath);
}

TEST_F(CalFirstYear, TrainingAftermathLowersThreeValuesAndExhausts) {
    struct Case {
        std::vector<s32> draws; // picks (repeats redrawn), then one loss per pick
        std::vector<s32> lowered;
        std::vector<s32> summary;
    };
    const Case cases[] = {
        {{3, 5, 3, 0, 0, 149, 10}, {25, 28, 0}, {275, 278, 250, 283}},
        {{4, 2, 1, 0, 0, 0}, {26, 27, 29}, {276, 277, 279, 283}},
        {{5, 5, 5, 4, 4, 3, 1, 2, 3}, {28, 29, 0}, {278, 279, 250, 283}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.summary[0]);
        fresh();
        PlayerRecord& p = player_record;
        for (s32& v : p.attr) v = 80;
        p.skill[0] = 80;
        for (s32 d : c.draws) draws({d});
        const size_t m = mark();
        training_aftermath_seam(1);
        EXPECT_EQ(draws_left(), 0u);
        EXPECT_EQ(texts_from(m), c.summary);
        for (s32 g : {0, 25, 26, 27, 28, 29, 30}) {
            const bool lowered = std::ranges::find(c.lowered, g) != c.lowered.end();
            EXPECT_EQ(growth_value(g) < 80, lowered) << g;
        }
        EXPECT_EQ(p.stamina, 500);
        EXPECT_EQ(p.mood, 4);
        EXPECT_EQ(p.mood_turns, 0);
    }
    fresh();
    // Callers pass 1; another flag does nothing.
    const size_t m = mark();
    training_aftermath(0);
    EXPECT_EQ(texts_from(m), std::vector<s32>{});
    EXPECT_EQ(player_record.stamina, 800);
}

// ---- Placeholder pictures --------------------------------------------------------------------

TEST(CalFirstYearPlaceholders, EveryPortraitShownIsInTheArchive) {
    ArcBuilder b;
    arc_put_placeholder_content(b);
    // The persons the handlers and the quiz show; 420 is beyond the hub's own portraits.
    for (s32 person : {2,  5,  6,  7,  8,  9,   13,  20,  24,  25,  30,  40,  42,  43,
                       44, 50, 85, 86, 90, 120, 125, 150, 155, 200, 225, 226, 275, 420}) {
        const auto it = b.entries().find(u32(ARC_IMAGE_BASE + 62000 + person));
        EXPECT_TRUE(it != b.entries().end() && !it->second.empty()) << person;
    }
}

// ---- Draws without repeats ---------------------------------------------------------------------

s32 always_zero(s32) {
    return 0;
}

TEST_F(CalFirstYear, DrawNewRedrawsRepeatsAndNeverHangs) {
    bool taken[4] = {false, true, false, false};
    draws({1, 1, 3});
    EXPECT_EQ(cal_draw_new(taken), 3);
    EXPECT_TRUE(taken[3]);
    // A source that keeps meeting taken values: the lowest free one after the tries.
    cal_rand_seam = always_zero;
    taken[0] = true;
    EXPECT_EQ(cal_draw_new(taken), 2);
    EXPECT_EQ(cal_draw_new(taken), -1); // all taken
    EXPECT_EQ(cal_draw_new(std::span<bool>()), -1);
}

} // namespace
