// The activity stations, the aptitude spot and the beds of the home region on the script harness.
#include "scripts/home/stations.h"

#include "data/hub_block.h"
#include "data/world_population.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "engine/world/creators.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/dashboard.h"
#include "game/growth.h"
#include "game/info_screen.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/world_rows.h"
#include "scripts/home/player.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;
constexpr s32 SPOT = 272;
constexpr s32 ADVISER = APTITUDE_ADVISER;

// What a script said, asked, floated and logged.
Lines talk() {
    return sh_only(sh_lines(), {"say", "choose", "label", "log"});
}

class Stations : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
        sh_player(PX, PY);
    }
    // An undrawn click area of the given slot under the player's feet.
    static void area(s32 obj, s32 slot, s32 var_a = 0) {
        sh_object(obj, {.x = PX,
                        .y = PY,
                        .frame = SH_FIGURE_FIRST,
                        .slot = slot,
                        .layer = 0,
                        .var_a = var_a,
                        .click = true,
                        .cursor = 5});
    }
};

// ---- Stations --------------------------------------------------------------------------------

TEST_F(Stations, EachStationChecksToolSupplyAndStaminaBeforeItsGame) {
    struct Case {
        const char* name;
        s32 slot;
        std::vector<s32> items;
        s32 stamina;
        s32 relation;       // affection entry 301
        std::string expect; // the refusal's label, or the game's line
    };
    const std::vector<Case> cases = {
        {"aiming with the coach", 133, {2210, 2209}, 150, 51, "aim 0 250 2 3 30 150"},
        {"aiming one short of the coach", 133, {2219, 2200}, 150, 50, "aim 0 -1 2 3 30 150"},
        {"aiming tired", 133, {2210, 2200}, 149, 60, "label 0 10558 -80 -108 2000"},
        {"aiming without a bow, tired too", 133, {2200}, 0, 0, "label 0 10560 -112 -108 2000"},
        {"aiming without arrows", 133, {2210}, 500, 0, "label 0 10564 -128 -108 2000"},
        {"light ring", 135, {2250}, 100, 0, "light_ring -1 -1 -1 -1 -1 -1 -1 -1"},
        {"second light ring", 136, {2259}, 100, 0, "light_ring -1 -1 -1 -1 -1 -1 -1 -1"},
        {"light ring tired", 136, {2255}, 99, 0, "label 0 10558 -80 -108 2000"},
        {"light ring without its tool", 135, {2249}, 900, 0, "label 0 10561 -120 -108 2000"},
        {"bait catch", 137, {2239, 2240}, 100, 0, "bait_catch 0"},
        {"bait catch without bait", 137, {2230}, 900, 0, "label 0 10565 -88 -108 2000"},
        {"bait catch without a rod", 137, {2240}, 900, 0, "label 0 10562 -112 -108 2000"},
        {"pop-up targets", 143, {2220}, 200, 0, "popup 0"},
        {"pop-up targets tired", 143, {2229}, 199, 0, "label 0 10558 -80 -108 2000"},
        {"pop-up targets without a tool", 143, {2230}, 900, 0, "label 0 10563 -112 -108 2000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        init_player();
        for (const s32 item : c.items) inv_add(item, 1);
        player_record.stamina = c.stamina;
        player_record.affection[STATION_COACH_RELATION] = c.relation;
        area(261, c.slot);
        sh_clear_calls();
        sh_clear_lines();
        sh_fire(261, TRIG_CLICK);
        if (c.expect.rfind("label", 0) == 0) {
            EXPECT_EQ(talk(), Lines{c.expect});
            EXPECT_TRUE(sh_calls().empty());
        } else {
            EXPECT_EQ(sh_calls(), Lines{c.expect});
            EXPECT_TRUE(talk().empty());
        }
        // The tools and supplies are not used up.
        for (const s32 item : c.items) EXPECT_EQ(inv_has(item), 1) << item;
        // Any other trigger does nothing.
        sh_clear_calls();
        sh_fire(261, TRIG_TIMER);
        EXPECT_TRUE(sh_calls().empty());
    }
}

// The game's closing click lies over the (undrawn) station: the next field frames must not start
// the game again, for every station and not only the one that clears its click itself.
TEST_F(Stations, TheGamesClosingClickOverAStationStartsNothing) {
    for (const s32 slot : {133, 135, 136, 137, 143}) {
        SCOPED_TRACE(slot);
        init_player();
        for (const s32 item : {2210, 2200, 2250, 2230, 2240, 2220}) inv_add(item, 1);
        player_record.stamina = 1000;
        const s32 x = PX + 100;
        sh_object(261, {.x = x,
                        .y = PY,
                        .frame = SH_FIGURE_FIRST,
                        .slot = slot,
                        .layer = 0,
                        .click = true,
                        .cursor = 4});
        sh_clear_calls();
        const s32 sx = x - world_state.camera_x;
        const s32 sy = PY - SH_FIGURE_H / 2 - world_state.camera_y;
        sh_games_leave_click(sx, sy);
        click_kind = 1;
        click_x = u32(sx);
        click_y = u32(sy);
        sh_field_frames(1);
        ASSERT_EQ(sh_calls().size(), 1u);
        sh_field_frames(3);
        EXPECT_EQ(sh_calls().size(), 1u) << "the closing click started " << sh_calls().back();
        EXPECT_EQ(click_kind.peek(), 0u);
    }
}

// ---- The aptitude spot -----------------------------------------------------------------------

TEST_F(Stations, TheAptitudeSpotReadiesThenOffersTheChoiceThenIsSpent) {
    init_player();
    sh_player(APTITUDE_X, APTITUDE_Y);
    inv_add(2165, 1);
    inv_add(1200, 1);
    inv_add(2160, 2);
    area(SPOT, 144);
    obj_set_frame(0, 418);
    const Lines choice = {"choose 3 1000 10751 10752 10753 10754 -> 2", "log 458", "log 336"};
    struct Use {
        Lines lines;
        s32 state;
        s32 social;
        std::vector<std::pair<s32, s32>> held; // item, count left (0: gone)
    };
    const s32 social = player_record.social_aptitude;
    const Use uses[] = {
        {{}, APTITUDE_READY, social, {{2165, 0}, {2160, 2}}},
        {choice, APTITUDE_SPENT, 80, {{2160, 1}}},
        {{}, APTITUDE_SPENT, 80, {{2160, 0}}},
        // Nothing left: the refusal, no animation, nothing taken.
        {{"label 0 10740 -88 -108 2000"}, APTITUDE_SPENT, 80, {{1200, 1}}},
    };
    sh_answers({2});
    for (size_t i = 0; i < std::size(uses); i++) {
        SCOPED_TRACE(i);
        sh_clear_lines();
        mouse_buttons = 1;
        sh_fire(SPOT, TRIG_CLICK);
        EXPECT_EQ(talk(), uses[i].lines);
        EXPECT_EQ(attr_get(SPOT, ATTR_VAR_A), uses[i].state);
        EXPECT_EQ(player_record.social_aptitude, uses[i].social);
        for (const auto& [item, n] : uses[i].held) {
            if (n == 0) {
                EXPECT_EQ(inv_has(item), 0) << item;
            } else {
                EXPECT_EQ(inv_has_count(item, n), 1) << item;
                EXPECT_EQ(inv_has_count(item, n + 1), 0) << item;
            }
        }
        EXPECT_EQ(obj_get_frame(0), 418) << "the player's frame is shown again";
        EXPECT_EQ(mouse_buttons.peek(), 0u);
    }
    EXPECT_EQ(inv_has(2160) + inv_has(2165), 0);
    // From too far only the remark, the item stays.
    inv_add(2161, 1);
    sh_player(APTITUDE_X + 150, APTITUDE_Y);
    sh_clear_lines();
    sh_fire(SPOT, TRIG_CLICK);
    EXPECT_EQ(talk(), Lines{"label 0 10000 -112 -108 2000"});
    EXPECT_EQ(inv_has(2161), 1);
}

TEST_F(Stations, TheAptitudeChoiceGivesOneBoost) {
    struct Case {
        s32 answer;
        Lines lines;
        std::vector<s32> attr; // attr[0..5] after, from 100 each
        s32 constitution, social, stamina;
        s32 adviser_dx = -60, adviser_dy = -40; // person 14 from the player
    };
    // Person 14 talks with the player in the boxes of their turn: p the player's, q hers.
    auto adviser_lines = [](s32 p, s32 q) {
        Lines l = {"choose 3 1000 10751 10752 10753 10754 -> 3", "say 2 1000 10952",
                   "say 0 1014 10756"};
        for (s32 t = 10757; t <= 10763; t++)
            l.push_back("say " + std::to_string(t % 2 ? p : q) + (t % 2 ? " 1000 " : " 1014 ") +
                        std::to_string(t));
        l.push_back("log 337");
        return l;
    };
    const std::vector<Case> cases = {
        {0,
         {"choose 3 1000 10751 10752 10753 10754 -> 0", "log 459", "log 334"},
         {100, 100, 100, 100, 100, 100},
         80,
         40,
         300},
        // No cap: 100 becomes 120.
        {1,
         {"choose 3 1000 10751 10752 10753 10754 -> 1", "log 460", "log 335"},
         {120, 120, 120, 120, 120, 100},
         40,
         40,
         1000},
        {2,
         {"choose 3 1000 10751 10752 10753 10754 -> 2", "log 458", "log 336"},
         {100, 100, 100, 100, 100, 100},
         40,
         80,
         300},
        // The player down-right of her: the player's box bottom right, hers top left.
        {3, adviser_lines(3, 0), {100, 100, 100, 100, 100, 120}, 40, 40, 300},
        {3, adviser_lines(2, 1), {100, 100, 100, 100, 100, 120}, 40, 40, 300, 60, -40},
        // On her very spot: the player's box at 4 (drawn as 3), hers at 1 by the mirror rule.
        {3, adviser_lines(4, 1), {100, 100, 100, 100, 100, 120}, 40, 40, 300, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases.data());
        init_player();
        sh_player(APTITUDE_X, APTITUDE_Y);
        for (s32& a : player_record.attr) a = 100;
        player_record.constitution = 40;
        player_record.social_aptitude = 40;
        player_record.stamina = 300;
        inv_add(2169, 1);
        area(SPOT, 144, APTITUDE_READY);
        sh_object(ADVISER,
                  {.x = APTITUDE_X + c.adviser_dx, .y = APTITUDE_Y + c.adviser_dy, .frame = 32304});
        sh_answers({c.answer});
        sh_clear_lines();
        sh_fire(SPOT, TRIG_CLICK);
        EXPECT_EQ(talk(), c.lines);
        EXPECT_EQ(std::vector<s32>(std::begin(player_record.attr), std::end(player_record.attr)),
                  c.attr);
        EXPECT_EQ(player_record.constitution, c.constitution);
        EXPECT_EQ(player_record.social_aptitude, c.social);
        EXPECT_EQ(player_record.stamina, c.stamina);
        EXPECT_EQ(inv_has(2169), 0);
        EXPECT_EQ(attr_get(SPOT, ATTR_VAR_A), APTITUDE_SPENT);
        EXPECT_EQ(obj_get_frame(ADVISER), 32304) << "person 14 shows her own frame again";
    }
}

// Option 1 raises attributes past 100 without a cap: a value of 120 is drawn in full on the
// dashboard and the status page (three digits), and the growth rule still reads its tables.
TEST_F(Stations, ABoostPastOneHundredStaysWithinWhatIsDrawn) {
    init_player();
    sh_player(APTITUDE_X, APTITUDE_Y);
    for (s32& a : player_record.attr) a = 100;
    inv_add(2160, 1);
    area(SPOT, 144, APTITUDE_READY);
    sh_answers({1});
    sh_fire(SPOT, TRIG_CLICK);
    ASSERT_EQ(player_record.attr[0], 120);
    EXPECT_GE(growth_tier(120), 0);
    EXPECT_LE(growth_tier(120), 9);
    hub_block.dashboard_page = 0;
    dialog_record_draws(true);
    dialog_transcript_clear();
    hub_draw();
    info_page_status(1);
    dialog_record_draws(false);
    std::vector<std::pair<s32, s32>> places; // where 120 was printed in three digits
    for (const TranscriptEntry& e : dialog_transcript())
        if (e.kind == TRANSCRIPT_PRINT_NUMBER && e.number == 120 && e.id == 3)
            places.emplace_back(e.x, e.y);
    const std::vector<std::pair<s32, s32>> expected = {
        {280, 57},  {300, 57}, {320, 57}, {340, 57}, {360, 57}, // the dashboard's columns
        {119, 407}, {97, 407}, {75, 407}, {53, 407}, {31, 407}, // the status page's
    };
    EXPECT_EQ(places, expected);
}

// ---- Beds ------------------------------------------------------------------------------------

TEST_F(Stations, BedsOfferTheWholeHoursLeftBeforeTheirLimit) {
    struct Case {
        const char* name;
        s32 slot;
        s32 hour, minute;
        s32 answer; // -1: no choice expected
        Lines lines;
        s32 hour_after, minute_after;
    };
    const std::string ask = "say_at 273 10741";
    const std::string five = "choose 3 1000 10742 10743 10744 10745 10746";
    const std::vector<Case> cases = {
        {"the last hour", 145, 14, 0, 0, {ask, "choose 3 1000 10742 -> 0"}, 15, 0},
        {"past the last whole hour", 145, 14, 15, -1, {"say 2 1000 10990"}, 14, 15},
        {"five at most", 145, 9, 0, 4, {ask, five + " -> 4"}, 14, 0},
        {"capped at five", 145, 8, 0, 1, {ask, five + " -> 1"}, 10, 0},
        {"half past", 145, 13, 30, 0, {ask, "choose 3 1000 10742 -> 0"}, 14, 30},
        {"the morning bed", 1051, 10, 0, 0, {ask, "choose 3 1000 10742 -> 0"}, 11, 0},
        {"the morning bed too late", 1051, 10, 45, -1, {"say 2 1000 10991"}, 10, 45},
        {"a bed of the journey", 1052, 15, 0, 1, {ask, "choose 3 1000 10742 10743 -> 1"}, 17, 0},
        {"a bed of the journey too late", 1053, 17, 0, -1, {"say 2 1000 10992"}, 17, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        init_player();
        player_record.stamina = 0;
        player_record.sleep_need = 0;
        area(HOME_BED_OBJ, c.slot);
        sh_clock(c.hour, c.minute);
        if (c.answer >= 0) sh_answers({c.answer});
        sh_clear_lines();
        mouse_buttons = 1;
        sh_fire(HOME_BED_OBJ, TRIG_CLICK);
        EXPECT_EQ(talk(), c.lines);
        EXPECT_EQ(world_state.hour, c.hour_after);
        EXPECT_EQ(world_state.minute, c.minute_after);
        const s32 minutes = c.answer < 0 ? 0 : 60 * (c.answer + 1);
        EXPECT_EQ(player_record.stamina, std::min(5 * minutes, 1000)) << "5 a minute of sleep";
        EXPECT_EQ(mouse_buttons.peek(), 0u);
    }
}

// The home bed of map 26 as the population makes it, clicked by real input on the real field loop
// at 10:00: two hours of sleep (the second option) wake the player at 12:00.
class HomeBedByClick : public ::testing::Test {
  protected:
    void SetUp() override {
        sh_start_placeholder_world();
        dialog_transcript_mode();
        for (size_t i = 0; i < world_population_home_count; ++i)
            if (world_population_home[i].obj == HOME_BED_OBJ)
                world_rows_run(&world_population_home[i], 1);
        make_player(HOME_BED_MAP, 420, 260, PLAYER_SCRIPT_SLOT, 0);
        world_place_player(HOME_BED_MAP, 420, 260);
        player_record.music_id = -1;
        // Ends the loop once the clock has moved.
        const s32 watcher = world_script([] {
            attr_set(WATCHER, ATTR_TIMER, 1);
            if (world_state.hour != 10) world_state.field_active = 0;
        });
        world_place_object(WATCHER, HOME_BED_MAP, 0, 0, 0, watcher, 0);
        world_arm_timer(WATCHER, 1, true);
    }
    void TearDown() override {
        dialog_driver_stop();
        world_stop();
    }
    static constexpr s32 WATCHER = 4000;
    HarnessTempDir dir;
};

TEST_F(HomeBedByClick, TwoHoursOfSleep) {
    ASSERT_EQ(attr_get(HOME_BED_OBJ, ATTR_EVENT), 145);
    ASSERT_EQ(attr_get(HOME_BED_OBJ, ATTR_LAYER), 0);
    sh_clock(10, 0);
    player_record.stamina = 100;
    player_record.sleep_need = 0;
    dialog_answers({1});
    // The middle of the bed's box, which stands on its point.
    world_click_map(HOME_BED_X, HOME_BED_Y - PLACEHOLDER_FIGURE_H / 2);
    const WorldRun run = world_run_field(200);
    ASSERT_TRUE(run.ended);
    EXPECT_FALSE(run.watchdog);
    EXPECT_EQ(world_state.hour, 12);
    EXPECT_EQ(world_state.minute, 0);
    EXPECT_EQ(player_record.stamina, 100 + 5 * 120);
    Lines said;
    for (const std::string& l : dialog_lines())
        if (l.starts_with("say") || l.starts_with("choose")) said.push_back(l);
    EXPECT_EQ(said,
              (Lines{"say_at 273 10741", "choose 3 1000 10742 10743 10744 10745 10746 -> 1"}));
}

// ---- Registration and pictures ---------------------------------------------------------------

TEST(StationsTables, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(stations_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
