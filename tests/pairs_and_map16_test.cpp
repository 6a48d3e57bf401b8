// The residents of map 16 and the resident pairs of maps 10, 12 and 33: the phased routines as a
// table of timer runs with scripted draws, object 144's passes, the talks by stage with what they
// leave behind (the restarts of 142 and 143, the clock hint, the hour and the day talk of the
// pair of map 12), and the placeholder pictures of every frame shown.
#include "scripts/home/pairs_and_map16.h"

#include "engine/gisk.h"
#include "engine/labels.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;
constexpr s32 MASTER = 26;

struct Figure {
    s32 obj, slot, frame;
};
constexpr Figure FIGURES[] = {
    {140, 61, 30478}, {141, 62, 30505}, {142, 63, 30557}, {143, 64, 30600}, {144, 65, 30700},
    {171, 79, 31156}, {172, 80, 31200}, {173, 81, 31322}, {174, 82, 31358}, {176, 84, 31400},
};

class PairsAndMap16 : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
        reset();
    }
    // Every figure right of the player (the player's boxes at 0), clickable, stage 0, first frame.
    static void reset() {
        init_player();
        sh_player(PX, PY);
        sh_clock(6, 0);
        world_state.day = 1;
        s32 dx = 40;
        for (const Figure& f : FIGURES) {
            sh_object(f.obj, {.x = PX + dx,
                              .y = PY,
                              .frame = f.frame,
                              .slot = f.slot,
                              .timer = 8,
                              .click = true});
            dx += 4;
        }
        sh_object(MASTER, {.x = 100, .y = 100, .frame = 30000});
        sh_object(CLOCK_HINT_OBJ, {.x = 120, .y = 100, .frame = 30000, .active = false});
    }
    static Lines fire(s32 obj, s32 trigger) {
        sh_clear_lines();
        sh_fire(obj, trigger);
        return sh_only(sh_lines(), {"say", "choose", "label"});
    }
};

std::string player(s32 text) {
    return "say 0 1000 " + std::to_string(text);
}
std::string label(s32 obj, s32 text, s32 dx, s32 dy, s32 ms) {
    return "label " + std::to_string(obj) + " " + std::to_string(text) + " " + std::to_string(dx) +
           " " + std::to_string(dy) + " " + std::to_string(ms);
}
// Texts first..last alternating between `a` (obj's bubble, or the player when a < 0) and the other.
Lines alternating(s32 obj, s32 first, s32 last, bool player_first) {
    Lines out;
    for (s32 t = first; t <= last; ++t)
        out.push_back(((t - first) % 2 == 0) == player_first ? player(t) : sh_bubble(obj, t));
    return out;
}

bool has_label(s32 obj) {
    for (const FloatingLabel& l : label_table)
        if (l.countdown != 0 && l.object == u16(obj)) return true;
    return false;
}

// ---- Routines --------------------------------------------------------------------------------

TEST_F(PairsAndMap16, EachRoutineStepsRemarksAndWrapsByItsPhase) {
    struct Case {
        const char* name;
        s32 obj, map, hour, phase, frame;
        std::initializer_list<s32> draws;
        s32 next_frame, next_phase, timer;
        Lines lines;
    };
    // clang-format off
    const Case cases[] = {
        {"140 remarks at 30480", 140, 16, 6, 0, 30479, {}, 30480, 0, 8, {label(140, 10273, -70, -85, 1000)}},
        {"140 again at 30497", 140, 16, 6, 0, 30496, {}, 30497, 0, 8, {label(140, 10274, -40, -85, 1000)}},
        {"no remark off its map", 140, 10, 6, 0, 30479, {}, 30480, 0, 8, {}},
        {"140 into phase 1", 140, 16, 6, 0, 30501, {50}, 30810, 1, 150, {}},
        {"140 back at draw 3", 140, 16, 6, 1, 30818, {3, 20}, 30478, 0, 120, {}},
        {"140 stays at draw 4", 140, 16, 6, 1, 30818, {4, 20}, 30810, 1, 120, {}},
        {"141 remarks at 30547", 141, 16, 6, 0, 30545, {}, 30547, 0, 8, {label(141, 10275, -84, -100, 3000)}},
        {"141 into phase 1", 141, 16, 6, 0, 30551, {0}, 30819, 1, 100, {}},
        {"141 back at draw 3", 141, 16, 6, 1, 30843, {3, 99}, 30505, 0, 199, {}},
        {"141 stays at draw 4", 141, 16, 6, 1, 30843, {4, 0}, 30819, 1, 100, {}},
        {"142 first remark at draw 6", 142, 16, 6, 0, 30577, {6}, 30579, 0, 8, {label(142, 10276, -56, -95, 4000)}},
        {"142 second remark at draw 5", 142, 16, 6, 0, 30577, {5}, 30579, 0, 8, {label(142, 10277, -36, -95, 4000)}},
        {"142 into phase 1", 142, 16, 6, 0, 30587, {}, 30845, 1, 200, {}},
        {"142 back to phase 0", 142, 16, 6, 1, 30865, {}, 30557, 0, 100, {}},
        {"143 remarks at 30606", 143, 16, 6, 0, 30604, {}, 30606, 0, 8, {label(143, 10278, -48, -102, 5000)}},
        {"143 into phase 1", 143, 16, 6, 0, 30630, {}, 30867, 1, 200, {}},
        {"143 back to phase 0", 143, 16, 6, 1, 30888, {}, 30600, 0, 100, {}},
        {"144 remarks at 30780", 144, 16, 6, 0, 30778, {}, 30780, 0, 8, {label(144, 10279, -70, -105, 3000)}},
        {"144 into phase 1 without a pause", 144, 16, 6, 0, 30808, {}, 30700, 1, 8, {}},
        {"144 remarks at 30752", 144, 16, 6, 1, 30750, {}, 30752, 1, 8, {label(144, 10280, -42, -105, 3000)}},
        {"144 into phase 2", 144, 16, 6, 1, 30762, {7}, 30889, 2, 107, {}},
        {"144 back at draw 3", 144, 16, 6, 2, 30897, {3, 1}, 30768, 0, 101, {}},
        {"144 stays at draw 4", 144, 16, 6, 2, 30897, {4, 1}, 30889, 2, 101, {}},
        {"a phase out of range runs phase 0", 143, 16, 6, 9, 30604, {}, 30606, 9, 8, {label(143, 10278, -48, -102, 5000)}},
        {"171 first remark", 171, 10, 6, 0, 31156, {}, 31158, 0, 8, {label(171, 20116, -150, -120, 3000)}},
        {"171 second remark", 171, 10, 6, 0, 31176, {}, 31178, 0, 8, {label(171, 20118, -200, -120, 5000)}},
        {"171 wraps with a pause", 171, 10, 6, 0, 31198, {}, 31156, 0, 300, {}},
        {"172 answers", 172, 10, 6, 0, 31216, {}, 31218, 0, 8, {label(172, 20117, -170, -120, 3000)}},
        {"172 answers again", 172, 10, 6, 0, 31236, {}, 31238, 0, 8, {label(172, 20119, -160, -120, 5000)}},
        {"173 tells 6:00", 173, 12, 6, 0, 31339, {}, 31340, 0, 15, {label(173, 10972, -100, -110, 10000)}},
        {"174 tells 6:00", 174, 12, 6, 0, 31376, {}, 31377, 0, 15, {label(174, 10973, -140, -120, 9000)}},
        {"173 tells 23:00", 173, 12, 23, 0, 31339, {}, 31340, 0, 15, {label(173, 11006, -100, -110, 10000)}},
        {"173 wraps", 173, 12, 6, 0, 31355, {}, 31322, 0, 100, {}},
        {"a pair keeps its second variable", 173, 12, 6, 5, 31339, {}, 31340, 5, 15, {label(173, 10972, -100, -110, 10000)}},
        {"176 wraps", 176, 33, 6, 0, 31446, {}, 31400, 0, 100, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        world_state.current_map = u16(c.map);
        sh_clock(c.hour, 0);
        attr_set(c.obj, ATTR_VAR_B, c.phase);
        obj_set_frame(c.obj, c.frame);
        sh_rand(c.draws);
        EXPECT_EQ(fire(c.obj, TRIG_TIMER), c.lines);
        EXPECT_EQ(obj_get_frame(c.obj), c.next_frame);
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_B), c.next_phase);
        EXPECT_EQ(attr_get(c.obj, ATTR_TIMER), c.timer);
        EXPECT_EQ(sh_rand_left(), 0u);
    }
}

// The frames 144 shows in phase 0, pass by pass, from its creation frame on.
TEST_F(PairsAndMap16, FirstPassOf144StartsAtItsCreationFrame) {
    world_state.current_map = 1;
    std::vector<std::vector<s32>> passes(1);
    for (s32 run = 0; run < 200 && passes.size() < 3; ++run) {
        const bool in_phase_2 = attr_get(144, ATTR_VAR_B) == 2;
        const bool wraps_back = in_phase_2 && obj_get_frame(144) + 2 > 30898;
        if (wraps_back)
            sh_rand({3, 0}); // back to phase 0
        else if (attr_get(144, ATTR_VAR_B) == 1 && obj_get_frame(144) + 2 > 30762)
            sh_rand({0});
        sh_fire(144, TRIG_TIMER);
        if (attr_get(144, ATTR_VAR_B) == 0)
            passes.back().push_back(obj_get_frame(144));
        else if (!passes.back().empty())
            passes.emplace_back();
    }
    ASSERT_GE(passes.size(), 3u);
    std::vector<s32> first, later;
    for (s32 f = 30702; f <= 30808; f += 2) first.push_back(f);
    for (s32 f = 30770; f <= 30808; f += 2) later.push_back(f);
    later.insert(later.begin(), 30768); // the wrap shows the phase's first frame
    EXPECT_EQ(passes[0], first);
    EXPECT_EQ(passes[1], later);
}

// ---- Talks -----------------------------------------------------------------------------------

TEST_F(PairsAndMap16, EachTalkSaysItsStageAndLeavesItsState) {
    struct Case {
        const char* name;
        s32 obj, stage, hour, minute, day, master;
        std::initializer_list<s32> draws;
        std::initializer_list<s32> answers;
        Lines lines;
        s32 next_stage;
        s32 frame_after;
        s32 hint = 0; // ATTR_VAR_B of the guesser afterwards
        s32 master_after = 0;
        s32 partner_stage = -1; // the other of the map-12 pair afterwards (-1: not checked)
    };
    const Lines day9{sh_bubble(173, 29095), sh_bubble(174, 29096), sh_bubble(173, 29097),
                     sh_bubble(174, 29098)};
    const Lines first_of_pair_173{sh_bubble(173, 20700), player(20701), sh_bubble(173, 20702),
                                  player(20703)};
    const Lines first_of_pair_174{sh_bubble(174, 20700), player(20701), sh_bubble(174, 20702),
                                  player(20703)};
    // clang-format off
    const Case cases[] = {
        {"140 first", 140, 0, 6, 0, 1, 0, {}, {}, alternating(140, 20140, 20144, true), 1, 30478},
        {"140 again", 140, 1, 6, 0, 1, 0, {}, {}, {sh_bubble(140, 20145)}, 1, 30478},
        {"140 hint at 9:30", 140, 2, 9, 30, 1, 0, {}, {}, {sh_bubble(140, 13653)}, 2, 30478, 1},
        {"140 hint at 9:31", 140, 2, 9, 31, 1, 0, {}, {}, {sh_bubble(140, 13654)}, 2, 30478, 2},
        {"140 hint at 10:30", 140, 2, 10, 30, 1, 0, {}, {}, {sh_bubble(140, 13655)}, 2, 30478, 3},
        {"140 hint at 8:59", 140, 2, 8, 59, 1, 0, {}, {}, {sh_bubble(140, 13656)}, 2, 30478, 4},
        {"141 first", 141, 0, 6, 0, 1, 0, {}, {}, alternating(141, 20146, 20150, false), 1, 30505},
        {"141 later", 141, 2, 6, 0, 1, 0, {}, {}, {sh_bubble(141, 13657)}, 2, 30505},
        {"142 draws 6", 142, 0, 6, 0, 1, 0, {6}, {}, {sh_bubble(142, 20153)}, 0, 30557},
        {"142 draws 5", 142, 0, 6, 0, 1, 0, {5}, {}, {sh_bubble(142, 20154)}, 0, 30557},
        {"142 at stage 1", 142, 1, 6, 0, 1, 0, {}, {}, {sh_bubble(142, 13658)}, 1, 30557},
        {"142 later moves the master on", 142, 2, 6, 0, 1, 0, {}, {}, {sh_bubble(142, 29099)}, 2, 30557, 0, 1},
        {"142 later leaves a master further on", 142, 2, 6, 0, 1, 3, {}, {}, {sh_bubble(142, 29099)}, 2, 30557, 0, 3},
        {"143 first", 143, 0, 6, 0, 1, 0, {}, {}, alternating(143, 20155, 20161, false), 1, 30600},
        {"143 again", 143, 1, 6, 0, 1, 0, {}, {}, {sh_bubble(143, 20162)}, 1, 30600},
        {"143 at stage 2 says nothing", 143, 2, 6, 0, 1, 0, {}, {}, {}, 2, 30600},
        {"144 first", 144, 0, 6, 0, 1, 0, {}, {}, alternating(144, 20163, 20166, false), 1, 30768},
        {"144 again", 144, 1, 6, 0, 1, 0, {}, {}, {sh_bubble(144, 20167)}, 1, 30768},
        {"171", 171, 0, 6, 0, 1, 0, {}, {}, {sh_bubble(171, 10303)}, 0, 31156},
        {"172", 172, 0, 6, 0, 1, 0, {}, {}, {sh_bubble(172, 10304)}, 0, 31240},
        {"173 first moves both", 173, 0, 6, 0, 1, 0, {}, {}, first_of_pair_173, 1, 31322, 0, 0, 1},
        {"174 first moves both", 174, 0, 6, 0, 1, 0, {}, {}, first_of_pair_174, 1, 31358, 0, 0, 1},
        {"the hour at 6:00", 174, 1, 6, 0, 1, 0, {}, {0},
         {sh_bubble(174, 20704), "choose 0 1000 20705 20706 -> 0", sh_bubble(173, 20710), sh_bubble(174, 20711)}, 1, 31358},
        {"the hour at 13:00", 173, 1, 13, 0, 1, 0, {}, {0},
         {sh_bubble(173, 20704), "choose 0 1000 20705 20706 -> 0", sh_bubble(173, 20724), sh_bubble(174, 20725)}, 1, 31322},
        {"no hour asked", 173, 1, 6, 0, 1, 0, {}, {1}, {sh_bubble(173, 20704), "choose 0 1000 20705 20706 -> 1"}, 1, 31322},
        {"day 9", 174, 2, 6, 0, 9, 0, {}, {}, day9, 2, 31358, 0, 1},
        {"day 9, master further on", 173, 2, 6, 0, 9, 2, {}, {}, day9, 2, 31322, 0, 2},
        {"day 10", 173, 2, 6, 0, 10, 0, {}, {}, {sh_bubble(173, 29066), sh_bubble(174, 29067)}, 2, 31322},
        {"176 first", 176, 0, 6, 0, 1, 0, {}, {}, alternating(176, 20132, 20139, false), 1, 31446},
        {"176 again", 176, 1, 6, 0, 1, 0, {}, {}, {sh_bubble(176, 20138)}, 1, 31446},
        {"176 later", 176, 2, 6, 0, 1, 0, {}, {}, {sh_bubble(176, 29172)}, 2, 31446},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        sh_clock(c.hour, c.minute);
        world_state.day = u8(c.day);
        attr_set(MASTER, ATTR_VAR_A, c.master);
        attr_set(c.obj, ATTR_VAR_A, c.stage);
        attr_set(c.obj, ATTR_VAR_B, 1); // a map-16 resident in phase 1
        sh_rand(c.draws);
        sh_answers(c.answers);
        EXPECT_EQ(fire(c.obj, TRIG_CLICK), c.lines);
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_A), c.next_stage);
        EXPECT_EQ(obj_get_frame(c.obj), c.frame_after);
        EXPECT_EQ(attr_get(CLOCK_HINT_OBJ, ATTR_VAR_B), c.hint);
        EXPECT_EQ(attr_get(MASTER, ATTR_VAR_A), c.master_after == 0 ? c.master : c.master_after);
        if (c.obj >= 140 && c.obj <= 144) {
            EXPECT_EQ(attr_get(c.obj, ATTR_VAR_B), 0); // back to phase 0
        }
        if (c.partner_stage >= 0) {
            EXPECT_EQ(attr_get(c.obj == 173 ? 174 : 173, ATTR_VAR_A), c.partner_stage);
        }
        EXPECT_EQ(sh_rand_left(), 0u);
    }
}

TEST_F(PairsAndMap16, AClickOn142Or143RestartsBoth) {
    struct Case {
        s32 clicked, other, other_rest;
    };
    for (const Case& c : {Case{142, 143, 30600}, Case{143, 142, 30557}}) {
        SCOPED_TRACE(c.clicked);
        reset();
        world_state.current_map = 16;
        for (const s32 obj : {142, 143}) {
            attr_set(obj, ATTR_VAR_A, 1);
            attr_set(obj, ATTR_VAR_B, 1);
            attr_set(obj, ATTR_TIMER, 150);
            obj_set_frame(obj, obj == 142 ? 30851 : 30871);
        }
        attr_set(144, ATTR_VAR_B, 1);
        for (const s32 obj : {142, 143, 144}) label_add(obj, 10276, 0, 0, 4000);
        fire(c.clicked, TRIG_CLICK);
        EXPECT_FALSE(has_label(142));
        EXPECT_FALSE(has_label(143));
        EXPECT_TRUE(has_label(144));
        for (const s32 obj : {142, 143}) {
            EXPECT_EQ(attr_get(obj, ATTR_VAR_B), 0) << obj;
        }
        EXPECT_EQ(obj_get_frame(c.clicked), c.clicked == 142 ? 30557 : 30600);
        EXPECT_EQ(obj_get_frame(c.other), c.other_rest);
        EXPECT_EQ(attr_get(c.other, ATTR_TIMER), 8);
        EXPECT_EQ(attr_get(144, ATTR_VAR_B), 1); // nobody else
    }
}

TEST_F(PairsAndMap16, AClickOnEitherOfTheHourPairClearsBothRemarks) {
    for (const s32 clicked : {173, 174}) {
        SCOPED_TRACE(clicked);
        reset();
        attr_set(173, ATTR_VAR_A, 1);
        attr_set(174, ATTR_VAR_A, 1);
        for (const s32 obj : {173, 174, 171}) label_add(obj, 10972, 0, 0, 10000);
        sh_answers({1});
        fire(clicked, TRIG_CLICK);
        EXPECT_FALSE(has_label(173));
        EXPECT_FALSE(has_label(174));
        EXPECT_TRUE(has_label(171));
    }
}

// ---- Placeholders ----------------------------------------------------------------------------

TEST(PairsAndMap16Placeholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(pairs_and_map16_frames);
    EXPECT_GT(shown.count, 200u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
