// The cell interpreter over a sample resident written in the table notation.
#include "scripts/cells.h"

#include "battle/battle.h"
#include "engine/labels.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace cell;

// ---- The notation is typed: a text where a portrait belongs does not compile ------------------

template <class T>
concept SaysAsBubble = requires(T t) {
    cell::S(t);
};
template <class A, class B>
concept PersonLine = requires(A a, B b) {
    cell::N(a, b);
};
template <class A, class B>
concept StageOfObject = requires(A a, B b) {
    cell::obj_to(a, b);
};
static_assert(SaysAsBubble<TextId>);
static_assert(!SaysAsBubble<s32>);
static_assert(!SaysAsBubble<ImageId>);
static_assert(PersonLine<ImageId, TextId>);
static_assert(!PersonLine<TextId, ImageId>);
static_assert(!PersonLine<s32, s32>);
static_assert(StageOfObject<ObjId, s32>);
static_assert(!StageOfObject<s32, ObjId>);

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;
constexpr s32 SELF_OBJ = 300;
constexpr s32 FIG = SH_FIGURE_FIRST;

bool sample_flag_test() {
    return player_record.story_flags[3] == 9;
}

constexpr BattleBlock DUEL{
    .encounter = 40, .party = false, .heal_full = {}, .heal_part = {}, .loss = LOSS_NOT_WON};

// A sample resident: every kind of cell once. (Cell tables keep one stage or one branch a line.)
// clang-format off
constexpr Cell TALK[] = {
    stage(0), P(10097_t), S(10098_t), to(1),
    stage(1), album(1, S(10962_t)), S(10152_t),
    stage(2), stage(5, 6), N(1167_img, 10427_t), P(3, 13572_t), N(1167_img, 0, 13573_t),
        B(72_obj, 10436_t),
    stage(3), run(10078_t, 10082_t, SELF, PLAYER), obj_to(223_obj, 8), f(-4202_f),
    stage(4), S(20011_t), menu(20012_t, 20013_t),
        option(0), S(20014_t), P(20015_t),
        option(1), S(20016_t), to(2),
        end(),
    stage(7), when(has_item(1844_item)), S(10529_t),
        orwhen(flag_is(0_flag, 1)), S(10536_t),
        orwhen(test(sample_flag_test)), S(10537_t),
        otherwise(), S(10528_t),
        end(),
        when(!knows(23, 50)), P(10516_t), end(),
    stage(8), repeat(), choice(20052_t, 20053_t, 20054_t),
        option(0), S(20056_t),
        option(1), S(20058_t),
        option(2), leave(),
        end(), end(), S(20103_t),
    stage(9), N(1163_img, 14920_t).plus_rand(10), S(11549_t).plus_stage(),
    stage(10), buy(3_shop), sell(4_shop), ranking(),
        teach(Lesson{23, 100, 23, 51, false}), meet(167_person, 50), money(-1000),
        give(2387_item, 1), take(1203_item, 1), set_flag(1_flag, 6), chivalry(3), fame(2),
        affection(167_person, 5), show(100_obj), hide(101_obj), var_b(1),
        remark(0_obj, 20152_t, -112, -108, 1000), unlabel(72_obj), to(11),
    stage(11), fight(&DUEL), when(lost()), S(13001_t), end_ep(90_flag, 2),
        otherwise(), S(13002_t), to(12), end(),
};
// clang-format on

constexpr TalkRow ROW{
    .far = 150,
    .frames = {FIG + 10, FIG + 12, FIG + 14, FIG + 16},
    .cells = TALK,
};

using Lines = std::vector<std::string>;

class Cells : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        slot = sh_script([] { talk_run(ROW); });
        // Self stands right of the player: the player is up-left of it, so pos 0 and self's own
        // boxes at 3.
        sh_object(SELF_OBJ, {.x = PX + 50, .y = PY, .frame = FIG, .slot = slot, .click = true});
        sh_object(72, {.x = PX - 60, .y = PY});
        sh_object(100, {.active = false});
        sh_object(101, {});
        sh_object(223, {});
    }
    Lines talk(s32 stage_now) {
        attr_set(SELF_OBJ, ATTR_VAR_A, stage_now);
        sh_clear_lines();
        sh_fire(SELF_OBJ, TRIG_CLICK);
        return sh_lines();
    }
    s32 slot = 0;
};

TEST_F(Cells, EachStageSaysItsRunAndMovesOn) {
    struct Case {
        s32 stage;
        Lines lines;
        s32 next; // ATTR_VAR_A afterwards
    };
    const Case cases[] = {
        {0, {"say 0 1000 10097", "say_at 300 10098"}, 1},
        {1, {"say_at 300 10152"}, 1}, // no album entry 1: the album line is left out
        {2, {"say 3 1167 10427", "say 3 1000 13572", "say 0 1167 13573", "say_at 72 10436"}, 2},
        {6, {"say 3 1167 10427", "say 3 1000 13572", "say 0 1167 13573", "say_at 72 10436"}, 6},
        {3,
         {"say_at 300 10078", "say 0 1000 10079", "say_at 300 10080", "say 0 1000 10081",
          "say_at 300 10082"},
         3},
        {12, {}, 12}, // a stage without a block does nothing
    };
    for (const Case& c : cases) {
        EXPECT_EQ(talk(c.stage), c.lines) << "stage " << c.stage;
        EXPECT_EQ(attr_get(SELF_OBJ, ATTR_VAR_A), c.next) << "stage " << c.stage;
    }
    EXPECT_EQ(attr_get(223, ATTR_VAR_A), 8);
    // Stage 3 set a frame, but the resident keeps its frame from before the click.
    EXPECT_EQ(obj_get_frame(SELF_OBJ), FIG);

    album_add(1);
    EXPECT_EQ(talk(1), (Lines{"say_at 300 10962", "say 0 1000 10968", "say_at 300 10152"}));
}

TEST_F(Cells, MenusAndConditionsChooseTheirBranch) {
    sh_answers({0});
    EXPECT_EQ(talk(4), (Lines{"say_at 300 20011", "choose 0 1000 20012 20013 -> 0",
                              "say_at 300 20014", "say 0 1000 20015"}));
    EXPECT_EQ(attr_get(SELF_OBJ, ATTR_VAR_A), 4);
    sh_answers({1});
    EXPECT_EQ(talk(4),
              (Lines{"say_at 300 20011", "choose 0 1000 20012 20013 -> 1", "say_at 300 20016"}));
    EXPECT_EQ(attr_get(SELF_OBJ, ATTR_VAR_A), 2);

    struct Case {
        bool item;
        s32 flag0, flag3;
        bool known;
        Lines lines;
    };
    const Case cases[] = {
        {true, 1, 9, false, {"say_at 300 10529", "say 0 1000 10516"}}, // the first branch wins
        {false, 1, 9, true, {"say_at 300 10536"}},
        {false, 0, 9, true, {"say_at 300 10537"}},
        {false, 0, 0, false, {"say_at 300 10528", "say 0 1000 10516"}},
    };
    for (const Case& c : cases) {
        init_player();
        if (c.item) inv_add(1844, 1);
        if (c.known) known_add(23, 50);
        player_record.story_flags[0] = c.flag0;
        player_record.story_flags[3] = c.flag3;
        EXPECT_EQ(talk(7), c.lines) << c.item << c.flag0 << c.flag3 << c.known;
    }
}

TEST_F(Cells, RepeatShowsTheMenuAgainUntilLeave) {
    sh_answers({1, 0, 2});
    EXPECT_EQ(talk(8), (Lines{"choose 0 1000 20052 20053 20054 -> 1", "say_at 300 20058",
                              "choose 0 1000 20052 20053 20054 -> 0", "say_at 300 20056",
                              "choose 0 1000 20052 20053 20054 -> 2", "say_at 300 20103"}));
}

TEST_F(Cells, TextsFromABasePlusADrawOrTheStage) {
    sh_rand({7});
    EXPECT_EQ(talk(9), (Lines{"say 3 1163 14927", "say_at 300 11558"}));
}

TEST_F(Cells, EffectsOfAStage) {
    inv_add(1203, 1);
    player_record.money = 5000;
    const s32 chivalry = player_record.chivalry;
    talk(10);
    EXPECT_EQ(sh_calls(), (Lines{"shop_buy 3", "shop_sell 4", "ranking"}));
    EXPECT_EQ(known_has(23, 51), 1);
    EXPECT_EQ(acquaint_has(167), 1);
    EXPECT_EQ(player_record.money, 4000);
    EXPECT_EQ(inv_has(2387), 1);
    EXPECT_EQ(inv_has(1203), 0);
    EXPECT_EQ(player_record.story_flags[1], 6);
    EXPECT_EQ(player_record.chivalry, chivalry + 3);
    EXPECT_EQ(attr_get(100, ATTR_ACTIVE), 1);
    EXPECT_EQ(attr_get(101, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(SELF_OBJ, ATTR_VAR_B), 1);
    EXPECT_EQ(attr_get(SELF_OBJ, ATTR_VAR_A), 11);
    bool remark = false;
    for (const std::string& l : sh_lines()) remark = remark || l == "label 0 20152 -112 -108 1000";
    EXPECT_TRUE(remark);
}

TEST_F(Cells, TheRowGuardsTurnsAndSetsTheFrameBack) {
    // Too far: only the remark, nothing said, the stage unchanged.
    attr_set(SELF_OBJ, ATTR_X, PX + 160);
    EXPECT_EQ(talk(0), Lines{"label 0 10000 -112 -108 2000"});
    EXPECT_EQ(attr_get(SELF_OBJ, ATTR_VAR_A), 0);

    // An end frame and a re-arm instead of the kept frame; the player clears its remarks first.
    static constexpr TalkRow ending{
        .clear = CLEAR_PLAYER,
        .frames = {FIG + 10, FIG + 12, FIG + 14, FIG + 16},
        .keep_frame = false,
        .end_frame = FIG + 20,
        .end_rearm = 8,
        .cells = TALK,
    };
    attr_set(SELF_OBJ, ATTR_X, PX + 400);
    attr_set(SELF_OBJ, ATTR_EVENT, sh_script([] { talk_run(ending); }));
    label_add(0, 20152, 0, 0, 1000);
    EXPECT_EQ(talk(1), Lines{"say_at 300 10152"});
    EXPECT_EQ(obj_get_frame(SELF_OBJ), FIG + 20);
    EXPECT_EQ(attr_get(SELF_OBJ, ATTR_TIMER), 8);
    for (const FloatingLabel& l : label_table) EXPECT_FALSE(l.countdown != 0 && l.object == 0);
}

TEST_F(Cells, AFightBranchesOnItsLossRule) {
    struct Case {
        s32 result;
        Lines lines;
        s32 flag, active, stage;
    };
    const Case cases[] = {
        {BATTLE_TIME_UP, {"say_at 300 13001"}, 2, 0, 11}, // anything but a win is lost here
        {BATTLE_WON, {"say_at 300 13002"}, 0, 1, 12},
    };
    for (const Case& c : cases) {
        player_record.story_flags[90] = 0;
        world_state.field_active = 1;
        sh_battle_results({c.result});
        EXPECT_EQ(talk(11), c.lines);
        EXPECT_EQ(cells_battle_result, c.result);
        EXPECT_EQ(player_record.story_flags[90], c.flag);
        EXPECT_EQ(world_state.field_active, c.active);
        EXPECT_EQ(attr_get(SELF_OBJ, ATTR_VAR_A), c.stage);
    }
}

TEST_F(Cells, APosedPlayerIsNotTurnedAndTalksFromItsPose) {
    static constexpr TalkRow SEATED{
        .frames = {FIG + 10, FIG + 12, FIG + 14, FIG + 16},
        .posed_slot = 76,
        .posed_self = FIG + 30,
        .posed_player = FIG + 32,
        .posed_pos = 2,
        .keep_frame = false,
        .cells = TALK,
    };
    attr_set(SELF_OBJ, ATTR_EVENT, sh_script([] { talk_run(SEATED); }));
    pose_enter({POSE_NO_PLACE, 0, FIG + 40, 76, true});
    EXPECT_EQ(talk(2), (Lines{"say 1 1167 10427", "say 3 1000 13572", "say 0 1167 13573",
                              "say_at 72 10436"}));
    EXPECT_EQ(obj_get_frame(SELF_OBJ), FIG + 30);
    EXPECT_EQ(obj_get_frame(0), FIG + 32);

    pose_leave({POSE_NO_PLACE, 0, 418, true, 0}); // not posed: the ordinary turn
    EXPECT_EQ(talk(2)[0], "say 3 1167 10427");
    EXPECT_EQ(obj_get_frame(SELF_OBJ), FIG + 10);
}

TEST_F(Cells, AResidentAnimatesOnItsTimerAndTalksOnAClick) {
    static constexpr Resident R{
        .idle_on = true,
        .idle = {.rearm = 8, .start = FIG, .limit = FIG + 4, .step = 2, .pause = 10},
        .talk = {.frames = {FIG, FIG, FIG, FIG}, .cells = TALK},
    };
    attr_set(SELF_OBJ, ATTR_EVENT, sh_script([] { resident_run(R); }));
    world_arm_timer(SELF_OBJ, 1, true);
    sh_frames(1);
    EXPECT_EQ(obj_get_frame(SELF_OBJ), FIG + 2);
    EXPECT_TRUE(sh_lines().empty());
    EXPECT_EQ(talk(0), (Lines{"say 0 1000 10097", "say_at 300 10098"}));
    EXPECT_EQ(obj_get_frame(SELF_OBJ), FIG + 2); // the click did not step the cycle
}

} // namespace
