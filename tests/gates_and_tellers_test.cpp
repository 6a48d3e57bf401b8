// The mini-game gates of both towns, the fishing contest and the ranking tellers on the script
// harness, with their objects made by the new game's population rows and brought onto the test
// map: the gates' checks in order with the games' arguments (the light ring by the party), the
// aiming contest's win and its retry after a loss, the game's closing click over a gate, the
// contest's catch against the drawn need by stage, and the tellers' answers.
#include "scripts/towns/gates_and_tellers.h"

#include "data/world_population.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/world_rows.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;
constexpr s32 TELLER_A = 403;
constexpr s32 TELLER_B = 1532;

Lines talk() {
    return sh_only(sh_lines(), {"say", "choose", "label"});
}
// Texts first..last alternating between the player's box (position 0) and obj's bubble.
Lines player_then(s32 obj, s32 first, s32 last) {
    Lines out;
    for (s32 t = first; t <= last; ++t)
        out.push_back((t - first) % 2 == 0 ? sh_box(0, 1000, t) : sh_bubble(obj, t));
    return out;
}
Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
std::string label(s32 text, s32 dx) {
    return "label 0 " + std::to_string(text) + " " + std::to_string(dx) + " -108 2000";
}

class GatesAndTellers : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
        sh_player(PX, PY);
        std::fill(std::begin(player_record.party), std::end(player_record.party), -1);
        for (const s32 obj : {GATE_AIM_OBJ, GATE_BAIT_OBJ, GATE_TARGET_OBJ, GATE_RING_OBJ, HOST_OBJ,
                              TELLER_A, TELLER_B, TARGET_PORTAL, TARGET_BARRIER, TARGET_ARCHER})
            populate(obj);
    }
    // The object as the new game's population makes it.
    static void populate(s32 obj) {
        bool made = false;
        for (size_t i = 0; i < world_population_towns_count; ++i)
            if (world_population_towns[i].obj == obj) {
                world_rows_run(&world_population_towns[i], 1);
                made = true;
            }
        ASSERT_TRUE(made) << "object " << obj;
    }
    // Brought onto the test map at dx right of the player, with its slot, frame and stage kept.
    static void bring(s32 obj, s32 dx) {
        attr_set(obj, ATTR_MAP, SH_MAP);
        attr_set(obj, ATTR_X, PX + dx);
        attr_set(obj, ATTR_Y, PY);
    }
    static Lines fire(s32 obj, s32 trigger = TRIG_CLICK) {
        sh_clear_lines();
        sh_clear_calls();
        sh_fire(obj, trigger);
        return talk();
    }
};

// ---- Gates -----------------------------------------------------------------------------------

TEST_F(GatesAndTellers, EachGateChecksToolSupplyAndStaminaInOrderBeforeItsGame) {
    struct Case {
        const char* name;
        s32 obj;
        std::vector<s32> items;
        s32 stamina;
        s32 party_member; // put into party entry 3 (-1: none)
        std::string expect;
    };
    const std::vector<Case> cases = {
        {"aiming at 150", GATE_AIM_OBJ, {2219, 2209}, 150, -1, "aim 0 -1 2 3 30 150"},
        {"aiming at 149", GATE_AIM_OBJ, {2210, 2200}, 149, -1, label(10558, -80)},
        {"aiming without a bow, tired too", GATE_AIM_OBJ, {2200}, 0, -1, label(10560, -112)},
        {"aiming without arrows", GATE_AIM_OBJ, {2210}, 1000, -1, label(10564, -128)},
        {"bait catch at 100", GATE_BAIT_OBJ, {2230, 2249}, 100, -1, "bait_catch 0"},
        {"bait catch at 99", GATE_BAIT_OBJ, {2230, 2240}, 99, -1, label(10558, -80)},
        {"bait catch without a rod", GATE_BAIT_OBJ, {2240}, 1000, -1, label(10562, -112)},
        {"bait catch without bait", GATE_BAIT_OBJ, {2239}, 1000, -1, label(10565, -88)},
        {"target needs no stamina",
         GATE_TARGET_OBJ,
         {2210, 2200},
         0,
         -1,
         "aim_target 102 -1 1 3 0 0"},
        {"target without arrows", GATE_TARGET_OBJ, {2210}, 1000, -1, label(10564, -128)},
        {"light ring alone", GATE_RING_OBJ, {2250}, 0, -1, "light_ring 19 -1 -1 -1 -1 -1 -1 -1"},
        {"light ring with another companion",
         GATE_RING_OBJ,
         {2259},
         0,
         117,
         "light_ring 19 -1 -1 -1 -1 -1 -1 -1"},
        {"light ring with person 118",
         GATE_RING_OBJ,
         {2250},
         0,
         RING_COMPANION,
         "light_ring -1 -1 -1 -1 -1 -1 -1 4"},
        {"light ring without its tool", GATE_RING_OBJ, {2249}, 1000, -1, label(10561, -120)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        init_player();
        std::fill(std::begin(player_record.party), std::end(player_record.party), -1);
        player_record.party[3] = c.party_member;
        for (const s32 item : c.items) inv_add(item, 1);
        player_record.stamina = c.stamina;
        const Lines said = fire(c.obj);
        if (c.expect.starts_with("label")) {
            EXPECT_EQ(said, Lines{c.expect});
            EXPECT_TRUE(sh_calls().empty());
        } else {
            EXPECT_TRUE(said.empty());
            EXPECT_EQ(sh_calls(), Lines{c.expect});
        }
        // The gate takes no stamina and uses up nothing.
        EXPECT_EQ(player_record.stamina, c.stamina);
        for (const s32 item : c.items) EXPECT_EQ(inv_has(item), 1) << item;
        // Only a click starts anything.
        sh_clear_calls();
        sh_fire(c.obj, TRIG_TIMER);
        EXPECT_TRUE(sh_calls().empty());
    }
}

TEST_F(GatesAndTellers, TheAimingContestMayBeRetriedAfterALossAndOpensTheWayOnAWin) {
    inv_add(2210, 1);
    inv_add(2200, 1);
    const s32 archer_stage = attr_get(TARGET_ARCHER, ATTR_VAR_A);
    ASSERT_NE(archer_stage, TARGET_ARCHER_STAGE);
    ASSERT_EQ(attr_get(TARGET_PORTAL, ATTR_ACTIVE), 0);
    ASSERT_EQ(attr_get(TARGET_BARRIER, ATTR_ACTIVE), 1);

    sh_results("aim_target", {0, 1});
    EXPECT_TRUE(fire(GATE_TARGET_OBJ).empty());
    EXPECT_EQ(sh_calls(), Lines{"aim_target 102 -1 1 3 0 0"});
    EXPECT_EQ(attr_get(GATE_TARGET_OBJ, ATTR_ACTIVE), 1);
    EXPECT_EQ(attr_get(TARGET_PORTAL, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(TARGET_BARRIER, ATTR_ACTIVE), 1);
    EXPECT_EQ(attr_get(TARGET_ARCHER, ATTR_VAR_A), archer_stage);
    EXPECT_EQ(inv_has(TARGET_PRIZE), 0);

    EXPECT_EQ(fire(GATE_TARGET_OBJ),
              (Lines{sh_box(3, 1000, 25844), sh_box(2, 1087, 25841), sh_box(3, 1000, 25842)}));
    EXPECT_EQ(inv_has_count(TARGET_PRIZE, 1), 1);
    EXPECT_EQ(inv_has_count(TARGET_PRIZE, 2), 0);
    EXPECT_EQ(attr_get(GATE_TARGET_OBJ, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(TARGET_PORTAL, ATTR_ACTIVE), 1);
    EXPECT_EQ(attr_get(TARGET_BARRIER, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(TARGET_ARCHER, ATTR_VAR_A), TARGET_ARCHER_STAGE);
    EXPECT_EQ(attr_get(TARGET_ARCHER, ATTR_ACTIVE), 1);
    EXPECT_EQ(attr_get(TARGET_ARCHER, ATTR_MAP), TARGET_ARCHER_MAP);
    EXPECT_EQ(attr_get(TARGET_ARCHER, ATTR_X), TARGET_ARCHER_X);
    EXPECT_EQ(attr_get(TARGET_ARCHER, ATTR_Y), TARGET_ARCHER_Y);
    EXPECT_EQ(obj_get_frame(TARGET_ARCHER), TARGET_ARCHER_FRAME);
}

// The game's closing click lies over the (undrawn) gate: the next field frames must not start the
// game again.
TEST_F(GatesAndTellers, TheGamesClosingClickOverAGateDoesNotRestartIt) {
    for (const s32 item : {2210, 2200}) inv_add(item, 1);
    player_record.stamina = 1000;
    bring(GATE_AIM_OBJ, 100);
    obj_set_frame(GATE_AIM_OBJ, SH_FIGURE_FIRST); // a picture the test map's archive holds
    const s32 sx = PX + 100 - world_state.camera_x;
    const s32 sy = PY - SH_FIGURE_H / 2 - world_state.camera_y;
    sh_clear_calls();
    sh_games_leave_click(sx, sy);
    click_kind = 1;
    click_x = u32(sx);
    click_y = u32(sy);
    sh_field_frames(1);
    ASSERT_EQ(sh_calls(), Lines{"aim 0 -1 2 3 30 150"});
    sh_field_frames(3);
    EXPECT_EQ(sh_calls().size(), 1u) << "the closing click started " << sh_calls().back();
}

// ---- The fishing contest ---------------------------------------------------------------------

TEST_F(GatesAndTellers, TheContestWinsOnACatchAboveTheNeedFirstAndAtTheNeedOnARetry) {
    constexpr s32 H = HOST_OBJ;
    const Lines invitation = player_then(H, 25321, 25330);
    const Lines won = player_then(H, 25336, 25342);
    const Lines lost = player_then(H, 25345, 25346);
    const std::string offer = "choose 0 1000 25348 25349";
    struct Case {
        const char* name;
        s32 stage;
        std::vector<s32> items; // besides the fish
        s32 fish_before;
        s32 caught;    // fish the game adds (-1: no game expected)
        s32 need_draw; // 0..4, the need is 4 more
        s32 answer;    // to the retry offer (-1: none asked)
        Lines lines;
        s32 stage_after;
    };
    const std::vector<Case> cases = {
        {"not yet invited", HOST_NEW, {2230, 2240}, 0, -1, 0, -1, {sh_bubble(H, 25320)}, HOST_NEW},
        {"first try equal to the need",
         HOST_INVITED,
         {2230, 2240},
         0,
         4,
         0,
         -1,
         invitation + Lines{sh_bubble(H, 25331)} + lost,
         HOST_RETRY},
        {"first try above the need, no fish before",
         HOST_INVITED,
         {2239, 2240},
         0,
         9,
         4,
         -1,
         invitation + Lines{sh_bubble(H, 25335)} + won,
         HOST_WON},
        {"first try: fish held before do not count",
         HOST_INVITED,
         {2230, 2240},
         6,
         5,
         1,
         -1,
         invitation + Lines{sh_bubble(H, 25332)} + lost,
         HOST_RETRY},
        {"invited with another bait",
         HOST_INVITED,
         {2230, 2241},
         0,
         -1,
         0,
         -1,
         invitation + Lines{sh_bubble(H, 25301)},
         HOST_RETRY},
        {"invited without a rod",
         HOST_INVITED,
         {2240},
         0,
         -1,
         0,
         -1,
         invitation + Lines{sh_bubble(H, 25301)},
         HOST_RETRY},
        {"retry equal to the need",
         HOST_RETRY,
         {2230, 2240},
         0,
         4,
         0,
         0,
         Lines{sh_bubble(H, 25347), offer + " -> 0", sh_bubble(H, 25331)} + won,
         HOST_WON},
        {"retry below the need",
         HOST_RETRY,
         {2230, 2240},
         2,
         7,
         4,
         0,
         Lines{sh_bubble(H, 25347), offer + " -> 0", sh_bubble(H, 25335)} + lost,
         HOST_RETRY},
        {"retry declined",
         HOST_RETRY,
         {2230, 2240},
         0,
         -1,
         0,
         1,
         Lines{sh_bubble(H, 25347), offer + " -> 1"},
         HOST_RETRY},
        {"retry without bait",
         HOST_RETRY,
         {2230},
         0,
         -1,
         0,
         -1,
         Lines{sh_bubble(H, 25347), sh_bubble(H, 25301)},
         HOST_RETRY},
        {"won", HOST_WON, {2230, 2240}, 0, -1, 0, -1, {sh_bubble(H, 25343)}, HOST_WON},
        {"the delivery stage, its first option",
         HOST_DELIVERY,
         {2230, 2240},
         0,
         -1,
         0,
         0,
         {"choose 0 1000 25372 25371 -> 0"},
         HOST_DELIVERY},
    };
    bring(H, 60);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        init_player();
        for (const s32 item : c.items) inv_add(item, 1);
        if (c.fish_before > 0) inv_add(HOST_FISH, c.fish_before);
        attr_set(H, ATTR_VAR_A, c.stage);
        const s32 caught = c.caught;
        sh_on_call("bait_catch", [caught] { inv_add(HOST_FISH, caught); });
        if (c.caught >= 0) sh_rand({c.need_draw});
        if (c.answer >= 0) sh_answers({c.answer});
        EXPECT_EQ(fire(H), c.lines);
        EXPECT_EQ(sh_calls(), c.caught >= 0 ? Lines{"bait_catch 0"} : Lines{});
        EXPECT_EQ(attr_get(H, ATTR_VAR_A), c.stage_after);
        EXPECT_EQ(inv_has(HOST_PRIZE), c.stage_after == HOST_WON && c.stage != HOST_WON ? 1 : 0);
        EXPECT_EQ(sh_rand_left(), 0u);
    }
    sh_on_call("bait_catch", {});
}

// The host keeps its frame through the talk, answers only from within 300, and idles on its timer
// with a longer hold on frames 46204-46210.
TEST_F(GatesAndTellers, TheHostGuardsItsDistanceAndIdlesWithItsHold) {
    bring(HOST_OBJ, 340); // the engine's square root is coarse: clear of the limit
    EXPECT_EQ(fire(HOST_OBJ), Lines{"label 0 10000 -112 -108 2000"});
    bring(HOST_OBJ, 270);
    obj_set_frame(HOST_OBJ, 46215);
    EXPECT_EQ(fire(HOST_OBJ), Lines{sh_bubble(HOST_OBJ, 25320)});
    EXPECT_EQ(obj_get_frame(HOST_OBJ), 46215);

    struct Step {
        s32 from, to, timer;
    };
    for (const Step s : {Step{46202, 46203, 10}, Step{46203, 46204, 50}, Step{46210, 46211, 10},
                         Step{46226, 46227, 10}, Step{46227, 46200, 20}}) {
        SCOPED_TRACE(s.from);
        obj_set_frame(HOST_OBJ, s.from);
        sh_fire(HOST_OBJ, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(HOST_OBJ), s.to);
        EXPECT_EQ(attr_get(HOST_OBJ, ATTR_TIMER), s.timer);
    }
}

// ---- Ranking tellers -------------------------------------------------------------------------

TEST_F(GatesAndTellers, EachTellerGivesATipShowsTheRankingOrSaysNothingMore) {
    const Lines greeting = {sh_box(3, 1163, 14900)};
    const std::string menu = "choose 0 1000 14901 14902 14903";
    struct Case {
        const char* name;
        s32 answer;
        s32 draw; // the tip's draw (-1: none)
        Lines lines;
        Lines calls;
    };
    const std::vector<Case> cases = {
        {"a tip", 0, 7, greeting + Lines{menu + " -> 0", sh_box(3, 1163, 14927)}, {}},
        {"the first tip", 0, 0, greeting + Lines{menu + " -> 0", sh_box(3, 1163, 14920)}, {}},
        {"the ranking",
         1,
         -1,
         greeting + Lines{menu + " -> 1", sh_box(3, 1163, 14909)},
         {"ranking"}},
        {"nothing", 2, -1, greeting + Lines{menu + " -> 2"}, {}},
    };
    for (const s32 teller : {TELLER_A, TELLER_B}) {
        bring(teller, 80);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(teller) + " " + c.name);
            obj_set_frame(teller, 21304);
            if (c.draw >= 0) sh_rand({c.draw});
            sh_answers({c.answer});
            EXPECT_EQ(fire(teller), c.lines);
            EXPECT_EQ(sh_calls(), c.calls);
            EXPECT_EQ(obj_get_frame(teller), 21304); // the idle goes on where it was
        }
        bring(teller, 290);
        EXPECT_EQ(fire(teller), Lines{"label 0 10000 -112 -108 2000"});
        // The idle wraps after its last frame with a pause.
        obj_set_frame(teller, 21310);
        sh_fire(teller, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(teller), 21300);
        EXPECT_EQ(attr_get(teller, ATTR_TIMER), 20);
    }
}

// ---- Pictures --------------------------------------------------------------------------------

TEST(GatesAndTellersPictures, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(gates_and_tellers_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
