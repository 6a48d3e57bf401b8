// The cell interpreter over a sample resident written in the table notation.
#include "scripts/cells.h"

#include "battle/battle.h"
#include "data/roster.h"
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
static_assert(cells_valid(TALK));

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

// ---- The later cells: effects, fixed menus, parity runs, dialogue tables, parking ------------

constexpr Cue SCENE[] = {cue::stage(101_obj, 4), cue::show_frame(101_obj, FrameId(-(FIG + 7)))};

constexpr Speaker DLG_VOICES[] = {SELF, PLAYER, person_at(1055_img, 1)};
constexpr DialogueLine DLG_LINES[] = {{0, 61307}, {1, 61308}, {2, 61309}};
constexpr Cell DLG_AFTER_FIRST[] = {B(72_obj, 61400_t)};
constexpr Cell DLG_AFTER_SECOND[] = {to(9), play_sound(530)};
constexpr DialogueAction DLG_ACTIONS[] = {{1, DLG_AFTER_SECOND}, {0, DLG_AFTER_FIRST}};
constexpr Dialogue DLG{DLG_VOICES, DLG_LINES, DLG_ACTIONS};
static_assert(dialogue_valid(DLG));

constexpr HealList HEAL_77{.who = 77, .ids = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}};
constexpr HealList HEAL_PART_55{.who = -1, .ids = {55, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}};

// clang-format off
constexpr Cell LATER[] = {
    stage(0), flag_add(5_flag, 2), flag_add(5_flag, 1), album_entry(7), mood(1), stamina(-100),
        hp(-10), mp(-5), play_sound(520), play_music(10061, 0, true), wait(100),
        frame_of(72_obj, FrameId(FIG + 3)), show_frame_of(223_obj, FrameId(FIG + 5)),
        learn(12, 58), roster_hp_share(68_person, 3), roster_hp(55_person, -10),
        full_heal(HEAL_77), part_heal(HEAL_PART_55), scene(SCENE), var_b_to(2008_obj, 3),
    stage(1), menu_at(2, 1000_img, 20012_t, 20013_t), option(1), S(20016_t), end(),
        choice_at(1, 1055_img, 20052_t, 20053_t), end(),
    stage(2), run_by_parity(10823_t, 10826_t, bubble_of(72_obj), PLAYER),
    stage(3), dialogue(&DLG),
    stage(4), park(223_obj, 7),
    stage(5), unpark(223_obj),
};
// clang-format on
static_assert(cells_valid(LATER));

constexpr TalkRow LATER_ROW{
    .frames = {FIG + 10, FIG + 12, FIG + 14, FIG + 16},
    .keep_frame = false,
    .cells = LATER,
    .poses = {},
    .partner = -1,
    .first_turn = 72, // turned toward the player before self
    .first_turn_frames = {FIG + 50, FIG + 51, FIG + 52, FIG + 53},
};

TEST_F(Cells, LaterEffectsChangeTheRecordTheRosterAndOtherObjects) {
    attr_set(SELF_OBJ, ATTR_EVENT, sh_script([] { talk_run(LATER_ROW); }));
    player_record.story_flags[5] = 4;
    player_record.mood = 3;
    player_record.stamina = 500;
    player_record.hp = player_record.hp_max = 300;
    player_record.mp = player_record.mp_max = 100;
    roster[68].hp_max = 301;
    roster[68].hp = 301;
    roster[55].hp_max = 1000;
    roster[55].hp = 400;
    roster[77].hp = 1;
    const Lines lines = talk(0);
    EXPECT_EQ(player_record.story_flags[5], 7);
    EXPECT_EQ(album_has(7), 1);
    EXPECT_EQ(player_record.mood, 2);
    EXPECT_EQ(player_record.stamina, 400);
    EXPECT_EQ(player_record.hp, 290);
    EXPECT_EQ(player_record.mp, 95);
    EXPECT_EQ(player_record.music_id, 10061);
    EXPECT_EQ(obj_get_frame(72), FIG + 3);
    EXPECT_EQ(obj_get_frame(223), FIG + 5);
    EXPECT_EQ(known_has(12, 58), 1);
    EXPECT_EQ(roster[68].hp, 100); // 301 / 3
    EXPECT_EQ(roster[55].hp, 590); // - 10, then the part heal's 200
    EXPECT_EQ(roster[77].hp, roster[77].hp_max);
    EXPECT_EQ(attr_get(101, ATTR_VAR_A), 4); // the scene ran
    EXPECT_EQ(obj_get_frame(101), -(FIG + 7));
    EXPECT_EQ(attr_get(2008, ATTR_VAR_B), 3);
    const Lines played = sh_only(lines, {"sound 520", "music"});
    EXPECT_EQ(played, (Lines{"sound 520 0", "music 10061 0"}));
}

TEST_F(Cells, MenusAtAFixedPlaceParityRunsAndDialogueTables) {
    attr_set(SELF_OBJ, ATTR_EVENT, sh_script([] { talk_run(LATER_ROW); }));
    sh_answers({1, 0});
    obj_set_frame(SELF_OBJ, FIG);
    EXPECT_EQ(talk(1), (Lines{"choose 2 1000 20012 20013 -> 1", "say_at 300 20016",
                              "choose 1 1055 20052 20053 -> 0"}));
    // Object 72 (left of the player) turned first, then self (right of the player).
    EXPECT_EQ(obj_get_frame(72), FIG + 53);
    EXPECT_EQ(obj_get_frame(SELF_OBJ), FIG + 10);
    // Odd texts by the player, even ones by object 72, whatever the first text.
    EXPECT_EQ(talk(2), (Lines{"say 0 1000 10823", "say_at 72 10824", "say 0 1000 10825",
                              "say_at 72 10826"}));
    // Each action after its line, whatever its place in the action table.
    const Lines lines = talk(3);
    EXPECT_EQ(sh_only(lines, {"say", "sound"}),
              (Lines{"say_at 300 61307", "say_at 72 61400", "say 0 1000 61308", "sound 530 0",
                     "say 1 1055 61309"}));
    EXPECT_EQ(attr_get(SELF_OBJ, ATTR_VAR_A), 9);
}

TEST_F(Cells, ADialogueThatNamesItselfEnds) {
    // Built at run time: a checked table could not name itself.
    static const DialogueLine lines[] = {{0, 61307}};
    static Cell again[1];
    static const DialogueAction actions[] = {{0, again}};
    static const Dialogue loop{DLG_VOICES, lines, actions};
    again[0] = dialogue(&loop);
    sh_clear_lines();
    cells_run(again, TalkContext{SELF_OBJ, {0, 3}, -1});
    EXPECT_EQ(sh_lines(), Lines(4, "say_at 300 61307"));
}

TEST_F(Cells, AParkedStageComesBack) {
    attr_set(SELF_OBJ, ATTR_EVENT, sh_script([] { talk_run(LATER_ROW); }));
    attr_set(223, ATTR_VAR_A, 5);
    talk(4);
    EXPECT_EQ(attr_get(223, ATTR_VAR_A), 7);
    EXPECT_EQ(attr_get(223, ATTR_VAR_B), 5);
    talk(5);
    EXPECT_EQ(attr_get(223, ATTR_VAR_A), 5);
}

// ---- Conditions ------------------------------------------------------------------------------

TEST_F(Cells, LaterConditionsHoldAndFailAtTheirEdges) {
    struct Case {
        const char* name;
        Cond cond;
        std::function<void()> holds, fails;
    };
    auto stage = [](s32 v) { return [v] { attr_set(SELF_OBJ, ATTR_VAR_A, v); }; };
    auto var_b = [](s32 v) { return [v] { attr_set(SELF_OBJ, ATTR_VAR_B, v); }; };
    const Case cases[] = {
        {"chance 3 in 10", chance(3, 10), [] { sh_rand({2}); }, [] { sh_rand({3}); }},
        {"attr[5] at least 50", attr_from(5, 50), [] { player_record.attr[5] = 50; },
         [] { player_record.attr[5] = 49; }},
        {"money in 10..20", record_in(REC_MONEY, 0, 10, 20), [] { player_record.money = 20; },
         [] { player_record.money = 21; }},
        {"stamina at least 150", record_from(REC_STAMINA, 150), [] { player_record.stamina = 150; },
         [] { player_record.stamina = 149; }},
        {"skill[24] at least 3", record_from(REC_SKILL, 24, 3), [] { player_record.skill[24] = 3; },
         [] { player_record.skill[24] = 2; }},
        {"three of item 2241", has_count(2241_item, 3), [] { inv_add(2241, 3); },
         [] { inv_add(2241, 2); }},
        {"known 12/58 at level 5", knows_level(12, 58, 5),
         [] {
             known_add(12, 58);
             player_record.known[12][0].level = 5;
         },
         [] {
             known_add(12, 58);
             player_record.known[12][0].level = 4;
         }},
        {"minute 0..30", minute_in(0, 30), [] { world_state.minute = 30; },
         [] { world_state.minute = 31; }},
        {"own stage 2..3", my_stage(2, 3), stage(3), stage(4)},
        {"own var_b 0", my_var_b(0), var_b(0), var_b(1)},
        {"clicked 300", clicked(ObjId(SELF_OBJ)), [] {}, [] {}},
    };
    for (const Case& c : cases) {
        for (bool want : {true, false}) {
            init_player();
            for (auto& list : player_record.known)
                for (KnownEntry& e : list) e.level = 0;
            (want ? c.holds : c.fails)();
            // Only `clicked` reads who self is: it fails for the other object.
            const s32 self = !want && c.cond.kind == COND_SELF_IS ? SELF_OBJ + 1 : SELF_OBJ;
            EXPECT_EQ(cond_holds(c.cond, self), want) << c.name;
            EXPECT_EQ(sh_rand_left(), 0u) << c.name;
        }
    }
    // A record field or index out of range reads 0 and never indexes past its array.
    EXPECT_EQ(record_value(REC_ATTR, 6), 0);
    EXPECT_EQ(record_value(REC_FIELDS, 0), 0);
    EXPECT_EQ(record_value(REC_SKILL, -1), 0);
    EXPECT_EQ(record_value(REC_AFFECTION, PLAYER_PEOPLE), 0);
}

// ---- Pair talk -------------------------------------------------------------------------------

constexpr s32 PAIR_A = 310, PAIR_B = 311;
// clang-format off
constexpr Cell PAIR_TALK[] = {
    stage(0), run(25891_t, 25894_t, bubble_of(ObjId(PAIR_A)), bubble_of(ObjId(PAIR_B))), pair_to(1),
    stage(1), when(clicked(ObjId(PAIR_A))), B(ObjId(PAIR_A), 25901_t),
        otherwise(), B(ObjId(PAIR_A), 25902_t), end(),
    stage(2), when(my_var_b(0)), S(46331_t), otherwise(), S(46332_t), end(), partner_to(3), var_b(1),
};
// clang-format on
static_assert(cells_valid(PAIR_TALK));
constexpr PairTalk PAIR{
    .members = {{{.obj = PAIR_A, .frames = {FIG + 20, FIG + 21, FIG + 22, FIG + 23}},
                 {.obj = PAIR_B, .frames = {FIG + 30, FIG + 31, FIG + 32, FIG + 33}}}},
    .talk = {.far = 150, .keep_frame = false, .cells = PAIR_TALK},
};

TEST_F(Cells, APairSharesOneTalkAndMovesOnTogether) {
    const s32 slot_a = sh_script([] { pair_run(PAIR, 0); });
    const s32 slot_b = sh_script([] { pair_run(PAIR, 1); });
    // Both stand right of the player: the player is up-left of each (frame f0, pos 0).
    sh_object(PAIR_A, {.x = PX + 40, .y = PY, .frame = FIG, .slot = slot_a, .click = true});
    sh_object(PAIR_B, {.x = PX + 80, .y = PY, .frame = FIG, .slot = slot_b, .click = true});
    auto click = [](s32 obj) {
        sh_clear_lines();
        sh_fire(obj, TRIG_CLICK);
        return sh_lines();
    };
    EXPECT_EQ(click(PAIR_B), (Lines{"say_at 310 25891", "say_at 311 25892", "say_at 310 25893",
                                    "say_at 311 25894"}));
    EXPECT_EQ(obj_get_frame(PAIR_B), FIG + 30); // the clicked one turns with its own frames
    EXPECT_EQ(obj_get_frame(PAIR_A), FIG);
    EXPECT_EQ(attr_get(PAIR_A, ATTR_VAR_A), 1);
    EXPECT_EQ(attr_get(PAIR_B, ATTR_VAR_A), 1);
    EXPECT_EQ(click(PAIR_A), Lines{"say_at 310 25901"});
    EXPECT_EQ(click(PAIR_B), Lines{"say_at 310 25902"});

    // The 166/167 shape: the first click marks the clicked one and moves the other on.
    attr_set(PAIR_A, ATTR_VAR_A, 2);
    attr_set(PAIR_B, ATTR_VAR_A, 2);
    EXPECT_EQ(click(PAIR_A), Lines{"say_at 310 46331"});
    EXPECT_EQ(attr_get(PAIR_B, ATTR_VAR_A), 3);
    EXPECT_EQ(attr_get(PAIR_A, ATTR_VAR_A), 2);
    EXPECT_EQ(click(PAIR_A), Lines{"say_at 310 46332"});
}

// ---- Poses, bounded runs and the table check -------------------------------------------------

TEST_F(Cells, ATalkRowAnswersEachOfItsPoses) {
    static constexpr TalkRow LYING_OR_AWAKE{
        .frames = {FIG + 10, FIG + 12, FIG + 14, FIG + 16},
        .keep_frame = false,
        .cells = TALK,
        .poses = {{{.slot = 46, .self_frame = FIG + 30, .player_frame = FIG + 32, .pos = 2},
                   {.slot = 48, .self_frame = FIG + 31, .player_frame = FIG + 34, .pos = 1},
                   {}}},
    };
    attr_set(SELF_OBJ, ATTR_EVENT, sh_script([] { talk_run(LYING_OR_AWAKE); }));
    struct Case {
        s32 pose;
        s32 self_frame, player_frame;
        std::string first;
    };
    const Case cases[] = {
        {46, FIG + 30, FIG + 32, "say 1 1167 10427"},
        {48, FIG + 31, FIG + 34, "say 2 1167 10427"},
        {76, FIG + 10, FIG + 40, "say 3 1167 10427"}, // a pose the row does not name: a turn
    };
    for (const Case& c : cases) {
        pose_enter({POSE_NO_PLACE, 0, FIG + 40, c.pose, true});
        EXPECT_EQ(talk(2)[0], c.first) << "pose " << c.pose;
        EXPECT_EQ(obj_get_frame(SELF_OBJ), c.self_frame) << "pose " << c.pose;
        EXPECT_EQ(obj_get_frame(0), c.player_frame) << "pose " << c.pose;
        pose_leave({POSE_NO_PLACE, 0, FIG + 40, true, 0});
    }
}

// Runs as they may be mistyped; no table that is checked holds them.
// clang-format off
constexpr Cell MISTYPED_RUNS[] = {
    stage(0), run(10078_t, TextId(10078 + CELL_RUN_MAX - 1), SELF, PLAYER),
    stage(1), run(10078_t, TextId(10078 + CELL_RUN_MAX), SELF, PLAYER),
    stage(2), run(10078_t, 1078_t, SELF, PLAYER),
    stage(3), run(1078_t, 10078_t, SELF, PLAYER),
    stage(4), run_by_parity(10078_t, 1078_t, SELF, PLAYER),
};
// clang-format on

TEST_F(Cells, AMistypedRunSaysNothingInsteadOfThousandsOfBoxes) {
    static constexpr TalkRow MISTYPED{.frames = {FIG, FIG, FIG, FIG}, .cells = MISTYPED_RUNS};
    attr_set(SELF_OBJ, ATTR_EVENT, sh_script([] { talk_run(MISTYPED); }));
    const size_t boxes[] = {size_t(CELL_RUN_MAX), 0, 0, 0, 0};
    for (s32 stage_now = 0; stage_now < 5; ++stage_now)
        EXPECT_EQ(talk(stage_now).size(), boxes[stage_now]) << "stage " << stage_now;
    EXPECT_FALSE(cells_valid(MISTYPED_RUNS));
}

// clang-format off
constexpr Cell OK_MENU[] = {stage(0), menu(1_t, 2_t), option(0), S(3_t), option(1), end()};
constexpr Cell UNCLOSED_WHEN[] = {stage(0), when(money_from(1)), S(1_t), stage(1), S(2_t)};
constexpr Cell UNCLOSED_AT_END[] = {stage(0), repeat(), choice(1_t, 2_t), option(1), leave(), end()};
constexpr Cell END_WITHOUT_OPENER[] = {stage(0), S(1_t), end()};
constexpr Cell OPTION_PAST_MENU[] = {stage(0), menu(1_t, 2_t), option(0), S(3_t), option(2), end()};
constexpr Cell OPTION_OUTSIDE_MENU[] = {stage(0), when(money_from(1)), option(0), end()};
constexpr Cell CELLS_BEFORE_OPTION[] = {stage(0), choice(1_t, 2_t), S(3_t), option(0), end()};
constexpr Cell GAP_IN_OPTIONS[] = {stage(0), menu(1_t, TextId(-1), 2_t), option(0), end()};
constexpr Cell ORWHEN_OUTSIDE_WHEN[] = {stage(0), orwhen(money_from(1)), S(1_t)};
constexpr Cell ORWHEN_AFTER_OTHERWISE[] = {stage(0), when(money_from(1)), otherwise(), orwhen(money_from(2)), end()};
constexpr Cell LEAVE_OUTSIDE_REPEAT[] = {stage(0), when(money_from(1)), leave(), end()};
constexpr Cell CELLS_BEFORE_FIRST_STAGE[] = {S(1_t), stage(0), S(2_t)};
constexpr Cell EMPTY_LAST_BLOCK[] = {stage(0), S(1_t), stage(1)};
constexpr Cell REVERSED_STAGES[] = {stage(3, 2), S(1_t)};
constexpr Cell TOO_DEEP[] = {stage(0),
    when(money_from(1)), when(money_from(1)), when(money_from(1)), when(money_from(1)),
    when(money_from(1)), when(money_from(1)), when(money_from(1)), when(money_from(1)),
    when(money_from(1)), end(), end(), end(), end(), end(), end(), end(), end(), end()};
constexpr DialogueLine BAD_SPEAKER_LINES[] = {{0, 1}, {3, 2}};
constexpr Dialogue BAD_SPEAKER{DLG_VOICES, BAD_SPEAKER_LINES, {}};
constexpr DialogueAction LATE_ACTIONS[] = {{3, DLG_AFTER_FIRST}};
constexpr Dialogue LATE_ACTION{DLG_VOICES, DLG_LINES, LATE_ACTIONS};
constexpr Cell BAD_DIALOGUE[] = {stage(0), dialogue(&BAD_SPEAKER)};
constexpr Cell LATE_DIALOGUE[] = {stage(0), dialogue(&LATE_ACTION)};
// clang-format on

TEST(CellsValid, RefusesEachBrokenShape) {
    struct Case {
        const char* name;
        std::span<const Cell> cells;
        bool valid;
    };
    const Case cases[] = {
        {"the sample talk", TALK, true},
        {"a menu whose last option is empty", OK_MENU, true},
        {"cells run outside any stage", DLG_AFTER_SECOND, true},
        {"a when left open into the next stage", UNCLOSED_WHEN, false},
        {"a repeat left open at the end", UNCLOSED_AT_END, false},
        {"an end without its opener", END_WITHOUT_OPENER, false},
        {"option 2 of a two-option menu", OPTION_PAST_MENU, false},
        {"an option outside a menu", OPTION_OUTSIDE_MENU, false},
        {"cells before a menu's first option", CELLS_BEFORE_OPTION, false},
        {"a gap in a menu's options", GAP_IN_OPTIONS, false},
        {"orwhen outside a when", ORWHEN_OUTSIDE_WHEN, false},
        {"orwhen after otherwise", ORWHEN_AFTER_OTHERWISE, false},
        {"leave outside a repeat", LEAVE_OUTSIDE_REPEAT, false},
        {"cells before the first stage", CELLS_BEFORE_FIRST_STAGE, false},
        {"an empty last stage block", EMPTY_LAST_BLOCK, false},
        {"a stage range upside down", REVERSED_STAGES, false},
        {"nesting past the depth", TOO_DEEP, false},
        {"a dialogue line without its voice", BAD_DIALOGUE, false},
        {"a dialogue action after no line", LATE_DIALOGUE, false},
    };
    for (const Case& c : cases) EXPECT_EQ(cells_valid(c.cells), c.valid) << c.name;
}

} // namespace
