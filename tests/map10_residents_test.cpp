// The residents of maps 10 and 40: their talks as one case list, the performer's act as a table
// of clicked frames by stage, the neighbours that restart the act, the lesson of map 40 in its
// order, the step areas, the first-day remark and the companion's farewell for each value of its
// story flag.
#include "scripts/home/map10_residents.h"

#include "data/hub_block.h"
#include "engine/gisk.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;

struct Figure {
    s32 obj, slot, frame;
};
constexpr Figure BYSTANDER{220, 116, 32882};
constexpr Figure LEFT_NEIGHBOUR{221, 117, 32886};
constexpr Figure RIGHT_NEIGHBOUR{222, 118, 32890};
constexpr Figure PERFORMER{PERFORMER_OBJ, 120, PERFORMER_REST};
constexpr Figure PAIR_LEFT{229, 127, 33278};
constexpr Figure PAIR_RIGHT{230, 128, 33282};
constexpr Figure PAIR_ZONE{231, 129, 3095};
constexpr Figure WATCHER{214, 138, 32708};
constexpr Figure GREETER{266, 139, 5002};
constexpr Figure SITTER{267, 140, 33896};
constexpr Figure GREETER_ZONE{268, 141, 3117};
constexpr Figure SITTER_ZONE{269, 142, 3118};
constexpr Figure MASTER{274, 146, 34126};
constexpr Figure PUPIL_A{275, 147, 34137};
constexpr Figure PUPIL_B{276, 148, 34197};

constexpr Figure FIGURES[] = {BYSTANDER,    LEFT_NEIGHBOUR, RIGHT_NEIGHBOUR, PERFORMER, PAIR_LEFT,
                              PAIR_RIGHT,   PAIR_ZONE,      WATCHER,         GREETER,   SITTER,
                              GREETER_ZONE, SITTER_ZONE,    MASTER,          PUPIL_A,   PUPIL_B};

class Map10Residents : public ScriptTest {
  protected:
    void SetUp() override {
        // Map 3 for the farewell, plain ground.
        sh_start([](ArcBuilder& b) {
            world_put_map(
                b, 3, 1024, 768, [](s32, s32) { return WORLD_GROUND; }, 300);
        });
        scripts_register_all();
        reset();
    }
    // Every figure right of the player (the player's boxes at 0, the figures' own at 3),
    // clickable, at stage 0 and its first frame.
    static void reset() {
        init_player();
        hub_block.calendar_turn = 0;
        sh_player(PX, PY);
        s32 dx = 40;
        for (const Figure& f : FIGURES) {
            sh_object(f.obj,
                      {.x = PX + dx, .y = PY, .frame = f.frame, .slot = f.slot, .click = true});
            dx += 4;
        }
    }
    static Lines fire(s32 obj, s32 trigger) {
        sh_clear_lines();
        sh_fire(obj, trigger);
        Lines out; // growth is checked by state, not by its log lines
        for (const std::string& l : sh_lines())
            if (l.rfind("log", 0) != 0) out.push_back(l);
        return out;
    }
};

std::string player(s32 text) {
    return sh_box(0, 1000, text);
}
// Texts first..last alternating between the player's box and obj's bubble, the player first.
Lines player_then(s32 obj, s32 first, s32 last) {
    Lines out;
    for (s32 t = first; t <= last; ++t)
        out.push_back((t - first) % 2 == 0 ? player(t) : sh_bubble(obj, t));
    return out;
}
Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// ---- Talks -----------------------------------------------------------------------------------

TEST_F(Map10Residents, EachTalkSaysItsStageAndLeavesItsState) {
    struct Case {
        const char* name;
        Figure who;
        s32 stage;
        Lines lines;
        s32 next_stage;
        s32 frame_after;
    };
    Lines right_first;
    for (s32 t = 20396; t <= 20403; ++t)
        right_first.push_back(t % 2 == 0 ? sh_bubble(RIGHT_NEIGHBOUR.obj, t) : player(t));
    Lines greeter_first;
    for (s32 t = 10504; t <= 10509; ++t)
        greeter_first.push_back(t % 2 == 0 ? sh_bubble(GREETER.obj, t) : player(t));
    const Case cases[] = {
        {"bystander", BYSTANDER, 0, {sh_bubble(220, 10857)}, 0, BYSTANDER.frame},
        {"bystander, any stage", BYSTANDER, 5, {sh_bubble(220, 10857)}, 5, BYSTANDER.frame},
        {"left neighbour", LEFT_NEIGHBOUR, 0, {sh_bubble(221, 20388)}, 0, LEFT_NEIGHBOUR.frame},
        {"right neighbour first", RIGHT_NEIGHBOUR, 0, right_first, 1, 32890},
        {"right neighbour again", RIGHT_NEIGHBOUR, 1, {sh_bubble(222, 20396)}, 1, 32890},
        {"left of the pair speaks through the right",
         PAIR_LEFT,
         0,
         {sh_bubble(230, 20429)},
         0,
         PAIR_LEFT.frame},
        {"right of the pair", PAIR_RIGHT, 0, {sh_bubble(230, 20429)}, 0, PAIR_RIGHT.frame},
        {"watcher", WATCHER, 0, {sh_bubble(214, 10503)}, 0, WATCHER.frame},
        {"watcher at another stage says nothing", WATCHER, 1, {}, 1, WATCHER.frame},
        {"greeter first", GREETER, 0, greeter_first, 1, GREETER.frame},
        {"greeter again", GREETER, 1, {sh_bubble(266, 10510)}, 1, GREETER.frame},
        {"sitter first",
         SITTER,
         0,
         {sh_bubble(267, 10545), sh_box(3, 1000, 10546), sh_bubble(267, 10547),
          sh_box(3, 1000, 10548), sh_bubble(267, 10549)},
         1,
         SITTER.frame},
        {"sitter again", SITTER, 1, {sh_bubble(267, 10550)}, 1, SITTER.frame},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        attr_set(c.who.obj, ATTR_VAR_A, c.stage);
        EXPECT_EQ(fire(c.who.obj, TRIG_CLICK), c.lines);
        EXPECT_EQ(attr_get(c.who.obj, ATTR_VAR_A), c.next_stage);
        EXPECT_EQ(obj_get_frame(c.who.obj), c.frame_after);
    }
}

// ---- The performer ---------------------------------------------------------------------------

// The growth value of the first attribute and its pool, to tell a reward from none.
std::pair<s32, s32> first_attribute() {
    return {growth_value(25), growth_pool(25)};
}

TEST_F(Map10Residents, TheActIsCaughtOnlyInItsTwoWindowsOfFrames) {
    const s32 P = PERFORMER.obj;
    const Lines opening{sh_bubble(P, 10589), player(10590), sh_bubble(P, 10591)};
    const Lines praise = player_then(P, 10593, 10601) + Lines{"sound 501 1"}; // item 901 comes
    struct Frame {
        s32 frame;
        bool caught;
    };
    const Frame frames[] = {{33100, false}, {33138, false}, {33140, true}, {33146, true},
                            {33148, false}, {33168, true},  {33174, true}, {33176, false}};
    for (const s32 stage : {0, 1})
        for (const Frame& f : frames) {
            SCOPED_TRACE("stage " + std::to_string(stage) + ", frame " + std::to_string(f.frame));
            reset();
            attr_set(P, ATTR_VAR_A, stage);
            obj_set_frame(P, f.frame);
            const auto before = first_attribute();
            const Lines said = fire(P, TRIG_CLICK);
            if (stage == 0) {
                EXPECT_EQ(said, opening + (f.caught ? praise : Lines{player(10592)}));
            } else {
                EXPECT_EQ(said,
                          Lines{sh_bubble(P, 10589)} + (f.caught ? praise : Lines{player(10592)}));
            }
            EXPECT_EQ(attr_get(P, ATTR_VAR_A), f.caught ? 2 : 1);
            EXPECT_EQ(obj_get_frame(P), f.caught ? PERFORMER_REST : f.frame);
            EXPECT_EQ(inv_has(901), f.caught ? 1 : 0);
            EXPECT_EQ(inv_has_count(901, 2), 0);
            const auto after = first_attribute();
            if (f.caught) {
                EXPECT_TRUE(after.first > before.first || after.second == before.second + 200);
            } else {
                EXPECT_EQ(after, before);
            }
        }

    // Once caught, the act is over: the closing lines, no second reward.
    reset();
    attr_set(P, ATTR_VAR_A, 2);
    obj_set_frame(P, 33140);
    const auto before = first_attribute();
    EXPECT_EQ(fire(P, TRIG_CLICK), (Lines{sh_bubble(P, 10602), player(10603)}));
    EXPECT_EQ(obj_get_frame(P), PERFORMER_REST);
    EXPECT_EQ(inv_has(901), 0);
    EXPECT_EQ(first_attribute(), before);
}

TEST_F(Map10Residents, TheActLoopsOnTheTimerUntilItIsCaught) {
    struct Case {
        s32 stage, from, to, timer;
    };
    const Case cases[] = {
        {0, 33100, 33102, 10},
        {1, 33180, 33182, 10},
        {0, 33182, 33100, 35}, // the pause at the start of the loop
        {2, 33140, 33100, 0},  // caught: the act stops and the timer is not armed again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.stage) + " from " + std::to_string(c.from));
        reset();
        attr_set(PERFORMER.obj, ATTR_VAR_A, c.stage);
        attr_set(PERFORMER.obj, ATTR_TIMER, 0);
        obj_set_frame(PERFORMER.obj, c.from);
        fire(PERFORMER.obj, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(PERFORMER.obj), c.to);
        EXPECT_EQ(attr_get(PERFORMER.obj, ATTR_TIMER), c.timer);
    }
}

TEST_F(Map10Residents, TheNeighboursPutTheActBackToItsStart) {
    for (const Figure& n : {LEFT_NEIGHBOUR, RIGHT_NEIGHBOUR}) {
        SCOPED_TRACE(n.obj);
        reset();
        obj_set_frame(PERFORMER.obj, 33140);
        fire(n.obj, TRIG_CLICK);
        EXPECT_EQ(obj_get_frame(PERFORMER.obj), PERFORMER_REST);
        fire(PERFORMER.obj, TRIG_TIMER); // and the loop goes on from there
        EXPECT_EQ(obj_get_frame(PERFORMER.obj), PERFORMER_REST + 2);
    }
}

// ---- Step areas and remarks ------------------------------------------------------------------

TEST_F(Map10Residents, StepAreasMakeTheirResidentsSpeakAtEveryStep) {
    struct Case {
        Figure zone;
        Lines lines;
        Figure speaker;
        std::vector<s32> frames; // the speaker's frame afterwards: one of these
    };
    const Case cases[] = {
        {PAIR_ZONE, {sh_bubble(230, 20429)}, PAIR_RIGHT, {33282}},
        {GREETER_ZONE, {sh_bubble(266, 10511)}, GREETER, {5002}},
        {SITTER_ZONE, {sh_bubble(267, 10551)}, SITTER, {33898, -33898, 33896}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone.obj);
        reset();
        for (s32 step = 0; step < 2; ++step) {
            EXPECT_EQ(fire(c.zone.obj, TRIG_STEP), c.lines);
            EXPECT_EQ(attr_get(c.zone.obj, ATTR_ACTIVE), 1);
        }
        const s32 frame = obj_get_frame(c.speaker.obj);
        EXPECT_NE(std::find(c.frames.begin(), c.frames.end(), frame), c.frames.end()) << frame;
    }
    EXPECT_EQ(obj_get_frame(PAIR_LEFT.obj), 33278);
}

TEST_F(Map10Residents, TheGreetersRemarkFloatsOnlyOnTheFirstDayOnMap10) {
    struct Case {
        s32 turn, stage, map;
        bool remark;
    };
    const Case cases[] = {
        {0, 1, 10, true}, {1, 1, 10, false}, {0, 0, 10, false}, {0, 1, 40, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.turn) + " " + std::to_string(c.stage) + " " +
                     std::to_string(c.map));
        reset();
        hub_block.calendar_turn = c.turn;
        world_state.current_map = u16(c.map);
        attr_set(GREETER.obj, ATTR_VAR_A, c.stage);
        EXPECT_EQ(fire(GREETER.obj, TRIG_TIMER),
                  c.remark ? Lines{"label 266 20501 -160 -110 3000"} : Lines{});
        EXPECT_EQ(attr_get(GREETER.obj, ATTR_TIMER), 500);
    }
}

// ---- The lesson of map 40 --------------------------------------------------------------------

Lines pupils_talk(bool music_first) {
    const s32 A = PUPIL_A.obj, B = PUPIL_B.obj;
    Lines l{player(10823),       sh_bubble(A, 10824), sh_bubble(B, 10825), sh_bubble(A, 10826),
            sh_bubble(B, 10827), player(10828),       sh_bubble(A, 10829), sh_bubble(B, 10830),
            player(10831),       sh_bubble(A, 10832), player(10833)};
    const Lines music{"music 10061 0"};
    const Lines master{sh_bubble(MASTER.obj, 10834)};
    l = l + (music_first ? music + master : master + music);
    return l + Lines{player(10835), sh_bubble(A, 10836), sh_bubble(B, 10837)};
}

s32 stage_of(const Figure& f) {
    return attr_get(f.obj, ATTR_VAR_A);
}

TEST_F(Map10Residents, TheLessonStartsOnlyAfterAPupilHasBeenTalkedTo) {
    EXPECT_EQ(fire(MASTER.obj, TRIG_CLICK), Lines{player(10839)});
    EXPECT_EQ(stage_of(MASTER), 0);

    struct Case {
        Figure clicked;
        bool music_first;
    };
    for (const Case& c : {Case{PUPIL_A, true}, Case{PUPIL_B, false}}) {
        SCOPED_TRACE(c.clicked.obj);
        reset();
        EXPECT_EQ(fire(c.clicked.obj, TRIG_CLICK), pupils_talk(c.music_first));
        EXPECT_EQ(stage_of(MASTER), 1);
        EXPECT_EQ(stage_of(PUPIL_A), 1);
        EXPECT_EQ(stage_of(PUPIL_B), 1);
        EXPECT_EQ(obj_get_frame(PUPIL_A.obj), 34195);
        EXPECT_EQ(obj_get_frame(PUPIL_B.obj), 34255);
        // Afterwards the pupils stand still and say one line.
        attr_set(PUPIL_A.obj, ATTR_TIMER, 0);
        fire(PUPIL_A.obj, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(PUPIL_A.obj), 34195);
        EXPECT_EQ(attr_get(PUPIL_A.obj, ATTR_TIMER), 10);
        EXPECT_EQ(fire(c.clicked.obj, TRIG_CLICK), Lines{sh_bubble(c.clicked.obj, 10836)});
    }
}

TEST_F(Map10Residents, TheMastersLessonTeachesOnceAndSendsThePupilsAway) {
    for (const Figure& f : {MASTER, PUPIL_A, PUPIL_B}) attr_set(f.obj, ATTR_VAR_A, 1);
    const s32 camera_x = world_state.camera_x;
    const s32 camera_y = world_state.camera_y;
    const s32 skill = player_record.skill[10] * 100000 + player_record.skill_exp[10];
    const s32 A = PUPIL_A.obj, B = PUPIL_B.obj;
    Lines expected{player(10840),          sh_box(3, 1148, 10841), player(10842),
                   sh_box(3, 1148, 10843), sh_bubble(A, 10844),    sh_bubble(B, 10845),
                   sh_bubble(A, 10846),    sh_bubble(B, 10847),    sh_bubble(A, 10848)};
    for (s32 t = 10849; t <= 10854; ++t)
        expected.push_back(t % 2 == 1 ? player(t) : sh_box(3, 1148, t));
    EXPECT_EQ(fire(MASTER.obj, TRIG_CLICK), expected);
    EXPECT_EQ(stage_of(MASTER), 2);
    EXPECT_EQ(attr_get(A, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(B, ATTR_ACTIVE), 0);
    EXPECT_EQ(obj_get_frame(A), 34195); // the last pair of the demonstration
    EXPECT_EQ(obj_get_frame(B), 34255);
    EXPECT_NE(player_record.skill[10] * 100000 + player_record.skill_exp[10], skill);
    EXPECT_EQ(known_has(10, 0), 1);
    EXPECT_EQ(world_state.camera_x, camera_x);
    EXPECT_EQ(world_state.camera_y, camera_y);

    // Later the master says its last line in a box at the player's own position.
    const s32 after = player_record.skill[10] * 100000 + player_record.skill_exp[10];
    EXPECT_EQ(fire(MASTER.obj, TRIG_CLICK), (Lines{player(10840), sh_box(0, 1148, 10854)}));
    EXPECT_EQ(player_record.skill[10] * 100000 + player_record.skill_exp[10], after);
}

// ---- The companion's farewell ----------------------------------------------------------------

TEST_F(Map10Residents, TheFarewellPlaysOnlyWhenItsFlagHasReachedThree) {
    for (const s32 flag : {1, 2, 3, 4}) {
        SCOPED_TRACE(flag);
        reset();
        sh_object(COMPANION_FAREWELL_OBJ, {.active = false});
        player_record.story_flags[COMPANION_FAREWELL_FLAG] = flag;
        sh_clear_lines();
        companion_leave_scene();
        if (flag != 3) {
            EXPECT_EQ(sh_lines(), Lines{});
            EXPECT_EQ(world_state.current_map, SH_MAP);
            continue;
        }
        Lines said;
        for (const std::string& l : sh_lines())
            if (l.rfind("say", 0) == 0 || l.rfind("change_map", 0) == 0) said.push_back(l);
        Lines expected{"change_map 3 248 328", sh_box(2, 1000, 26597), sh_box(3, 1203, 26598)};
        for (s32 t = 26599; t <= 26604; ++t)
            expected.push_back(t % 2 == 1 ? sh_box(3, 1203, t) : sh_box(2, 1000, t));
        EXPECT_EQ(said, expected);
        EXPECT_EQ(world_state.current_map, 3);
        EXPECT_EQ(attr_get(0, ATTR_X), 248);
        EXPECT_EQ(attr_get(0, ATTR_Y), 328);
        EXPECT_EQ(attr_get(COMPANION_FAREWELL_OBJ, ATTR_MAP), 3);
        EXPECT_EQ(attr_get(COMPANION_FAREWELL_OBJ, ATTR_X), 248); // walked onto the protagonist
        EXPECT_EQ(attr_get(COMPANION_FAREWELL_OBJ, ATTR_Y), 328);
        EXPECT_EQ(attr_get(COMPANION_FAREWELL_OBJ, ATTR_ACTIVE), 0);
    }
}

} // namespace

// Every frame these residents show has a picture in the placeholder archive.
TEST(Map10ResidentsPlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(map10_residents_frames);
    EXPECT_GT(shown.count, 100u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}
