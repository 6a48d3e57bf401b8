// The contest hall of map 16 on the script harness: the tournament's line-up as a table of days,
// parties and absent fighters (the draw that cannot find enough opponents included), the master
// by stage and hour, the closing click of its dice game, the dice partner's practice by result
// and stage, its walk out to map 41 on the frame stepper, and the archery lesson.
#include "scripts/home/contest_hall.h"

#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/gisk.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/party.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;
constexpr s32 MASTER_SLOT = 24;
constexpr s32 PARTNER_SLOT = 26;
constexpr s32 HOST = SPECIAL_HOST_OBJ;

Lines talk() {
    return sh_only(sh_lines(), {"say", "choose"});
}

class ContestHall : public ScriptTest {
  protected:
    void SetUp() override {
        // The special bout's arena and the hall, plain ground; the master's frames as figures so
        // that it can still be clicked after its talk.
        sh_start([](ArcBuilder& b) {
            world_put_map(
                b, SPECIAL_MAP, 640, 480, [](s32, s32) { return WORLD_GROUND; }, 300);
            world_put_map(
                b, 16, 640, 480, [](s32, s32) { return WORLD_GROUND; }, 400);
            for (s32 id = 30636; id <= 30653; id++)
                b.alias(u32(ARC_IMAGE_BASE + id), u32(ARC_IMAGE_BASE + SH_FIGURE_FIRST));
        });
        scripts_register_all();
        sh_player(PX, PY);
        for (const s32 id : tournament_candidates()) roster[id].presence = 1;
        std::fill(std::begin(player_record.party), std::end(player_record.party), -1);
    }
    static void master(s32 stage) {
        sh_object(MASTER_OBJ, {.x = PX + 60,
                               .y = PY,
                               .frame = 30636,
                               .slot = MASTER_SLOT,
                               .var_a = stage,
                               .click = true,
                               .cursor = 13});
    }
    static void partner(s32 stage, s32 x = PX + 60, s32 y = PY, s32 map = SH_MAP) {
        sh_object(PARTNER_OBJ, {.map = map,
                                .x = x,
                                .y = y,
                                .frame = 30654,
                                .slot = PARTNER_SLOT,
                                .var_a = stage,
                                .timer = 6,
                                .click = true,
                                .cursor = 13});
    }
};

// ---- The tournament --------------------------------------------------------------------------

TEST_F(ContestHall, TheTournamentLineUpHasNoDuplicateNoPartyMemberAndNoAbsentFighter) {
    constexpr s32 NONE = -1;
    struct Case {
        const char* name;
        s32 day;
        std::vector<s32> party;
        s32 flag29;
        s32 present; // candidates left present, in list order (33: all)
        std::vector<s32> draws;
        std::vector<s32> own;        // fighters 0..5 (empty: no battle)
        s32 foes;                    // opponents drawn (0 with a fixed opponent)
        std::vector<s32> fixed_foes; // the opponents when nothing is drawn
        bool special;
    };
    const std::vector<Case> cases = {
        {"odd day, no party", 3, {}, 0, 33, {7}, {0, NONE, NONE, NONE, NONE, NONE}, 1, {}, false},
        {"odd day, three members stay out",
         3,
         {5, 54, 31},
         0,
         33,
         {0},
         {0, NONE, NONE, NONE, NONE, NONE},
         1,
         {},
         false},
        {"even day, no party", 4, {}, 0, 33, {32}, {0, NONE, NONE, NONE, NONE, NONE}, 1, {}, false},
        {"even day, three members",
         4,
         {5, 54, 31},
         0,
         33,
         {0, 0, 0, 0},
         {0, 5, 54, 31, NONE, NONE},
         4,
         {},
         false},
        {"even day, a member in the middle slot",
         10,
         {NONE, 46, NONE},
         0,
         33,
         {29, 3},
         {0, NONE, 46, NONE, NONE, NONE},
         2,
         {},
         false},
        {"special day 1 with person 4",
         1,
         {SPECIAL_CHAMPION},
         0,
         33,
         {},
         {NONE, SPECIAL_CHAMPION, NONE, NONE, NONE, NONE},
         0,
         {SPECIAL_OPPONENT},
         true},
        {"special day 29 with person 4 second",
         29,
         {5, SPECIAL_CHAMPION},
         0,
         33,
         {},
         {NONE, SPECIAL_CHAMPION, NONE, NONE, NONE, NONE},
         0,
         {SPECIAL_OPPONENT},
         true},
        {"special day 5 without person 4",
         5,
         {5},
         0,
         33,
         {},
         {0, NONE, NONE, NONE, NONE, NONE},
         0,
         {SPECIAL_OPPONENT},
         false},
        {"day 5 after the special bout",
         5,
         {SPECIAL_CHAMPION},
         1,
         33,
         {4},
         {0, NONE, NONE, NONE, NONE, NONE},
         1,
         {},
         false},
        {"odd day not special",
         7,
         {SPECIAL_CHAMPION},
         0,
         33,
         {1},
         {0, NONE, NONE, NONE, NONE, NONE},
         1,
         {},
         false},
        // Fewer eligible than needed: those left fight, in list order, without a draw.
        {"too few eligible",
         8,
         {5, 54, 31},
         0,
         5,
         {},
         {0, 5, 54, 31, NONE, NONE},
         0,
         {38, 46},
         false},
        {"none eligible on an even day", 8, {}, 0, 0, {}, {}, 0, {}, false},
        {"none eligible on an odd day", 11, {}, 0, 0, {}, {}, 0, {}, false},
    };
    const auto candidates = tournament_candidates();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sh_player(PX, PY);
        std::fill(std::begin(player_record.party), std::end(player_record.party), -1);
        for (size_t i = 0; i < candidates.size(); i++)
            roster[candidates[i]].presence = s32(i) < c.present ? 1 : 0;
        for (size_t i = 0; i < c.party.size(); i++) player_record.party[i] = c.party[i];
        player_record.story_flags[SPECIAL_FLAG] = c.flag29;
        world_state.day = u8(c.day);
        sh_object(HOST, {.map = 95, .x = 651, .y = 267, .frame = -7430, .active = false});
        for (const s32 d : c.draws) sh_rand({d});
        sh_results("battle", {1});
        const s32 fame = player_record.fame;
        const size_t battles = sh_battle_fighters().size();
        tournament_run();
        EXPECT_EQ(sh_rand_left(), 0u);
        if (c.own.empty()) {
            EXPECT_EQ(sh_battle_fighters().size(), battles);
            EXPECT_EQ(player_record.fame, fame);
            continue;
        }
        ASSERT_EQ(sh_battle_fighters().size(), battles + 1);
        const std::vector<s32>& f = sh_battle_fighters().back();
        EXPECT_EQ(std::vector<s32>(f.begin(), f.begin() + 6), c.own);
        // The opponents stand in fighters 6.. without a gap.
        size_t k = 6;
        std::vector<s32> foes;
        for (; k < 12 && f[k] != NONE; k++) foes.push_back(f[k]);
        for (; k < 12; k++) EXPECT_EQ(f[k], NONE) << "fighter " << k;
        if (c.foes == 0) {
            EXPECT_EQ(foes, c.fixed_foes);
        } else {
            EXPECT_EQ(s32(foes.size()), c.foes);
        }
        std::set<s32> seen;
        for (const s32 id : foes) {
            if (id == SPECIAL_OPPONENT) continue;
            EXPECT_TRUE(seen.insert(id).second) << id << " drawn twice";
            EXPECT_EQ(std::count(c.party.begin(), c.party.end(), id), 0) << id << " in the party";
            EXPECT_NE(roster[id].presence, 0) << id << " is absent";
            EXPECT_NE(std::find(candidates.begin(), candidates.end(), id), candidates.end());
        }
        EXPECT_EQ(player_record.fame, std::min(fame + TOURNAMENT_FAME, 999));
        EXPECT_EQ(player_record.story_flags[SPECIAL_FLAG], c.special ? 1 : c.flag29);
        EXPECT_EQ(party_has(SPECIAL_CHAMPION) != 0,
                  !c.special && std::count(c.party.begin(), c.party.end(), SPECIAL_CHAMPION) > 0);
        const bool host_told = c.day == 5 && c.flag29 == 0 && !c.special;
        EXPECT_EQ(attr_get(HOST, ATTR_VAR_A), c.special ? 3 : host_told ? 2 : 0);
        if (c.special) {
            EXPECT_EQ(world_state.current_map, 16);
            EXPECT_EQ(attr_get(HOST, ATTR_MAP), 95);
            EXPECT_EQ(obj_get_frame(HOST), -7430);
        }
    }
}

// ---- The master ------------------------------------------------------------------------------

TEST_F(ContestHall, TheMasterOffersItsGamesByStageAndTheTournamentFrom13) {
    struct Case {
        const char* name;
        s32 stage, hour, minute;
        std::vector<s32> answers;
        s32 high; // the high-stakes game's result
        Lines said;
        Lines calls;
        s32 stage_after;
    };
    const std::vector<Case> cases = {
        {"plain", MASTER_PLAIN, 9, 0, {}, 0, {"say 0 1024 10223"}, {"dice 0 50"}, MASTER_PLAIN},
        {"invited, won",
         MASTER_INVITED,
         9,
         0,
         {0},
         1,
         {"say 3 1000 27053", "say 2 1024 27054", "choose 3 1000 27055 27056 -> 0",
          "say 2 1024 27057", "say 3 1000 27058", "say 2 1024 27066"},
         {"dice_high 0 500"},
         MASTER_HIGH_WON},
        {"invited, lost",
         MASTER_INVITED,
         9,
         0,
         {0},
         2,
         {"say 3 1000 27053", "say 2 1024 27054", "choose 3 1000 27055 27056 -> 0",
          "say 2 1024 27057", "say 3 1000 27058", "say 2 1024 27059"},
         {"dice_high 0 500"},
         MASTER_HIGH_LOST},
        {"invited, declined",
         MASTER_INVITED,
         9,
         0,
         {1},
         0,
         {"say 3 1000 27053", "say 2 1024 27054", "choose 3 1000 27055 27056 -> 1"},
         {},
         MASTER_INVITED},
        {"retry won",
         MASTER_HIGH_LOST,
         9,
         0,
         {0},
         1,
         {"choose 3 1000 27061 27062 27063 -> 0", "say 2 1024 27064", "say 2 1024 27066"},
         {"dice_high 0 500"},
         MASTER_HIGH_WON},
        {"retry lost",
         MASTER_HIGH_LOST,
         9,
         0,
         {0},
         2,
         {"choose 3 1000 27061 27062 27063 -> 0", "say 2 1024 27064", "say 2 1024 27059"},
         {"dice_high 0 500"},
         MASTER_HIGH_LOST},
        {"retry, plain dice",
         MASTER_HIGH_LOST,
         9,
         0,
         {1},
         0,
         {"choose 3 1000 27061 27062 27063 -> 1"},
         {"dice 0 50"},
         MASTER_HIGH_LOST},
        {"won, 12:59",
         MASTER_HIGH_WON,
         12,
         59,
         {},
         0,
         {"say 0 1024 10223"},
         {"dice 0 50"},
         MASTER_HIGH_WON},
        {"won, 13:00, declined",
         MASTER_HIGH_WON,
         13,
         0,
         {1},
         0,
         {"say 0 1024 27067", "choose 3 1000 27068 27069 -> 1"},
         {},
         MASTER_HIGH_WON},
        {"won, 13:00, entered",
         MASTER_HIGH_WON,
         13,
         0,
         {0},
         0,
         {"say 0 1024 27067", "choose 3 1000 27068 27069 -> 0"},
         {"battle 99 -> 1"},
         MASTER_ENTERED},
        {"entered",
         MASTER_ENTERED,
         15,
         0,
         {},
         0,
         {"say 0 1024 10223"},
         {"dice 0 50"},
         MASTER_ENTERED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        master(c.stage);
        sh_clock(c.hour, c.minute);
        world_state.day = 4; // an even day: no special bout
        if (!c.calls.empty() && c.calls[0].rfind("battle", 0) == 0) sh_rand({0});
        for (const s32 a : c.answers) sh_answers({a});
        if (c.high != 0) sh_results("dice_high", {c.high});
        sh_clear_lines();
        sh_clear_calls();
        sh_fire(MASTER_OBJ, TRIG_CLICK);
        EXPECT_EQ(talk(), c.said);
        EXPECT_EQ(sh_calls(), c.calls);
        EXPECT_EQ(script_stage(MASTER_OBJ), c.stage_after);
        EXPECT_EQ(obj_get_frame(MASTER_OBJ), 30636);
        EXPECT_EQ(sh_rand_left(), 0u);
    }
}

// The plain dice game ends the master's script; the click that closed it lies over the master and
// must not start the talk again on the next field frames.
TEST_F(ContestHall, TheClosingClickOfTheMastersDiceGameStartsNothing) {
    master(MASTER_PLAIN);
    const s32 sx = PX + 60 - world_state.camera_x;
    const s32 sy = PY - SH_FIGURE_H / 2 - world_state.camera_y;
    sh_games_leave_click(sx, sy);
    sh_clear_calls();
    click_kind = 1;
    click_x = u32(sx);
    click_y = u32(sy);
    sh_field_frames(1);
    ASSERT_EQ(sh_calls(), Lines{"dice 0 50"});
    sh_field_frames(3);
    EXPECT_EQ(sh_calls(), Lines{"dice 0 50"}) << "the closing click started the talk again";
    EXPECT_EQ(click_kind.peek(), 0u);
}

// ---- The dice partner ------------------------------------------------------------------------

TEST_F(ContestHall, ThePracticeResultMovesThePartnerByStage) {
    struct Case {
        s32 stage;
        s32 answer;
        s32 result; // the practice game's
        Lines said;
        s32 stage_after, frame_after, regard_after;
    };
    const Lines opening = {
        "say_at 82 20168", "say 3 1000 20169", "say_at 82 20170", "say 3 1000 20171",
        "say_at 82 20172", "say 3 1000 20173", "say_at 82 20174", "choose 3 1000 20175 20176 -> "};
    const Lines won = {"say 3 1000 10305", "say_at 82 10306", "say 3 1000 10307",
                       "say_at 82 10308"};
    const Lines lost = {"say 3 1000 10309", "say_at 82 10310"};
    auto offer = [&](s32 stage, s32 answer) {
        Lines l = stage == PARTNER_FIRST ? opening : Lines{"say_at 82 20177", opening.back()};
        l.back() += std::to_string(answer);
        return l;
    };
    auto with = [](Lines a, const Lines& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::vector<Case> cases = {
        {PARTNER_FIRST, 0, 1, with(offer(0, 0), won), PARTNER_WALK_FIRST, -5902, 0},
        {PARTNER_FIRST, 0, 0, with(offer(0, 0), lost), PARTNER_LOST, 30654, PARTNER_REGARD_LOST},
        {PARTNER_FIRST, 1, 0, offer(0, 1), PARTNER_DECLINED, 30654, 0},
        {PARTNER_DECLINED, 0, 1, with(offer(1, 0), won), PARTNER_WALK_FIRST, -5902, 0},
        {PARTNER_DECLINED, 0, 0, with(offer(1, 0), lost), PARTNER_LOST, 30654, 0},
        {PARTNER_DECLINED, 1, 0, offer(1, 1), PARTNER_DECLINED, 30654, 0},
        {PARTNER_LOST, 0, 0, {"say_at 82 10311"}, PARTNER_LOST, 30654, 0},
        {7, 0, 0, {"say_at 82 10314"}, 7, 30660, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "stage " << c.stage << " answer " << c.answer << " result " << c.result);
        partner(c.stage);
        obj_set_frame(PARTNER_OBJ, 30660);
        player_record.affection[PARTNER_REGARD] = 0;
        sh_answers({c.answer});
        if (c.stage <= PARTNER_DECLINED && c.answer == 0) sh_results("dice_practice", {c.result});
        sh_clear_lines();
        sh_fire(PARTNER_OBJ, TRIG_CLICK);
        EXPECT_EQ(talk(), c.said);
        EXPECT_EQ(script_stage(PARTNER_OBJ), c.stage_after);
        EXPECT_EQ(obj_get_frame(PARTNER_OBJ), c.frame_after);
        EXPECT_EQ(player_record.affection[PARTNER_REGARD], c.regard_after);
    }
}

// Once beaten the partner walks out one way-point an arrival: onto map 10 after stage 4, map 42
// after stage 8 and map 41 after stage 10; at the last one it sends the walking teacher off.
TEST_F(ContestHall, ThePartnerWalksOutAcrossTheMapsAndSendsTheWalkingTeacherOff) {
    partner(PARTNER_WALK_FIRST, 400, 360, 16);
    sh_object(WALKING_TEACHER_OBJ, {.map = 45, .x = 291, .y = 220, .frame = 31952});
    std::vector<s32> map_of_stage(PARTNER_WAITING + 1, -1);
    for (s32 frame = 0; frame < 20000 && script_stage(PARTNER_OBJ) < PARTNER_WAITING; frame++) {
        sh_frames(1);
        const s32 stage = script_stage(PARTNER_OBJ);
        if (map_of_stage[size_t(stage)] < 0)
            map_of_stage[size_t(stage)] = attr_get(PARTNER_OBJ, ATTR_MAP);
    }
    ASSERT_EQ(script_stage(PARTNER_OBJ), PARTNER_WAITING);
    const std::vector<s32> expected = {-1, -1, -1, 16, 16, 10, 10, 10, 10, 42, 42, 41, 41, 41, 41};
    EXPECT_EQ(map_of_stage, expected);
    EXPECT_EQ(attr_get(PARTNER_OBJ, ATTR_X), 651);
    EXPECT_EQ(attr_get(PARTNER_OBJ, ATTR_Y), 858);
    EXPECT_EQ(obj_get_frame(PARTNER_OBJ), 33932);
    EXPECT_EQ(script_stage(WALKING_TEACHER_OBJ), 2);
    EXPECT_EQ(attr_get(WALKING_TEACHER_OBJ, ATTR_X), 298);
    EXPECT_EQ(attr_get(WALKING_TEACHER_OBJ, ATTR_Y), 236);
    EXPECT_EQ(obj_get_frame(WALKING_TEACHER_OBJ), 5972);
}

// ---- Timer parts -----------------------------------------------------------------------------

// One timer run each: the idle steps, the remarks at their frames, the wraps with their drawn
// pauses, and the teacher on map 41 standing still from 17:00.
TEST_F(ContestHall, TheIdleLoopsStepRemarkAndPauseAtTheWrap) {
    struct Case {
        const char* name;
        s32 obj, slot, stage, hour, frame;
        std::vector<s32> draws;
        s32 next, timer;
        Lines labels;
    };
    const std::vector<Case> cases = {
        {"master's remark",
         MASTER_OBJ,
         MASTER_SLOT,
         0,
         9,
         30639,
         {},
         30640,
         8,
         {"label 26 10220 -90 -100 3000"}},
        {"master's wrap", MASTER_OBJ, MASTER_SLOT, 3, 9, 30650, {50}, 30636, 150, {}},
        {"partner's remark",
         PARTNER_OBJ,
         PARTNER_SLOT,
         0,
         9,
         30662,
         {},
         30664,
         6,
         {"label 82 10272 -20 -65 5000"}},
        {"partner's wrap", PARTNER_OBJ, PARTNER_SLOT, 2, 9, 30684, {7}, 30654, 107, {}},
        {"teacher waiting",
         PARTNER_OBJ,
         PARTNER_SLOT,
         PARTNER_WAITING,
         16,
         33978,
         {},
         33980,
         6,
         {}},
        {"teacher's wrap",
         PARTNER_OBJ,
         PARTNER_SLOT,
         PARTNER_TAUGHT,
         16,
         33980,
         {199},
         33932,
         299,
         {}},
        {"teacher from 17:00",
         PARTNER_OBJ,
         PARTNER_SLOT,
         PARTNER_WAITING,
         17,
         33940,
         {},
         33940,
         6,
         {}},
        {"resident", HALL_RESIDENT_OBJ, 38, 0, 9, 30960, {}, 30962, 8, {}},
        {"resident's wrap", HALL_RESIDENT_OBJ, 38, 0, 9, 30962, {}, 30900, 200, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sh_object(c.obj, {.x = PX + 60,
                          .y = PY,
                          .frame = c.frame,
                          .slot = c.slot,
                          .var_a = c.stage,
                          .timer = 1,
                          .click = true,
                          .cursor = 13});
        sh_clock(c.hour, 0);
        for (const s32 d : c.draws) sh_rand({d});
        sh_clear_lines();
        sh_fire(c.obj, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(c.obj), c.next);
        EXPECT_EQ(attr_get(c.obj, ATTR_TIMER), c.timer);
        EXPECT_EQ(sh_only(sh_lines(), {"label"}), c.labels);
        EXPECT_EQ(sh_rand_left(), 0u);
    }
}

// ---- The archery lesson ----------------------------------------------------------------------

TEST_F(ContestHall, TheLessonGivesTheToolAndAmmunitionBeforeTheAimingGame) {
    partner(PARTNER_WAITING);
    bool equipped = false;
    sh_on_call("aim_framed", [&] {
        equipped = inv_has_count(AIM_TOOL_ITEM, 1) && inv_has_count(AIM_AMMO_ITEM, AIM_AMMO_COUNT);
    });
    const s32 value = growth_value(AIM_GROWTH);
    const s32 pool = growth_pool(AIM_GROWTH);
    sh_fire(PARTNER_OBJ, TRIG_CLICK);
    EXPECT_EQ(sh_calls(), Lines{"aim_framed"});
    EXPECT_TRUE(equipped);
    EXPECT_EQ(player_record.affection[PARTNER_REGARD], PARTNER_REGARD_TAUGHT);
    EXPECT_EQ(known_has(AIM_GROWTH, 0), 1);
    EXPECT_TRUE(growth_value(AIM_GROWTH) > value || growth_pool(AIM_GROWTH) == pool + AIM_EXP);
    EXPECT_EQ(script_stage(PARTNER_OBJ), PARTNER_TAUGHT);
    const Lines said = talk();
    ASSERT_EQ(said.size(), 15u);
    EXPECT_EQ(said.front(), "say_at 82 10315");
    EXPECT_EQ(said.back(), "say_at 82 10329");

    // Taught: one line, another once the aiming skill's level 55 is known.
    for (const bool master_level : {false, true}) {
        if (master_level) known_add(AIM_GROWTH, 55);
        sh_clear_lines();
        sh_fire(PARTNER_OBJ, TRIG_CLICK);
        EXPECT_EQ(talk(), Lines{master_level ? "say_at 82 11510" : "say_at 82 10330"});
        EXPECT_EQ(obj_get_frame(PARTNER_OBJ), 33932);
    }
}

// ---- Placeholders ----------------------------------------------------------------------------

TEST(ContestHallPlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(contest_hall_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
