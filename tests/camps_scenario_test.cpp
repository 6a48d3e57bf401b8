// The episode of the two camps (calendar slot 129), route 1, as a player meets it: headless on the
// placeholder archive on a new game's world, by real input, with the real launcher, companion
// picker, scene set-up, field loop and scripts. The introduction's choice is clicked, a companion
// is picked on the picker's screen, and on map 63 the player walks onto the meeting zone and
// refuses the journey in its two choices, walks through the portal to map 64 and clicks the guide,
// waits while the guide walks back to map 63 and brings the player along, walks onto the first
// finale's zone and answers its choice; the battles answer through their seam. The launcher
// closes the turn and saves slot 2.
#include "battle/battle.h"
#include "calendar/calendar_register.h"
#include "calendar/companion_picker.h"
#include "calendar/launchers.h"
#include "data/hub_block.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/hub.h"
#include "game/pick_screens.h"
#include "game/player.h"
#include "game/save.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/episode_protocol.h"
#include "tests/map_walk.h"
#include "tests/scenario_game.h"
#include "tests/world_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr s32 WATCHER = 4094; // a test object whose timer runs every frame on any map
constexpr s32 TURN = 185;
constexpr s32 CAMP_MAP = 63, GUIDE_MAP = 64;
constexpr s32 MEETING_ZONE = 3523, BARRING_ZONE = 3623, GUIDE = 3527, FINALE_ZONE = 3585;
constexpr s32 PORTAL_X = 270, PORTAL_Y = 464; // map 63's way to map 64
constexpr s32 COMPANION = 50;                 // the acquaintance picked for the episode

enum class Step { ToMeeting, ToPortal, ClickGuide, GuideLeads, ToFinale, Done };
Step step = Step::ToMeeting;
MapWalk walker;
s32 frames_waiting_for_guide = 0;
bool picked = false;
std::vector<s32> battles;
s32 companion_at_first_battle = -1;

s32 battle_won(s32 encounter) {
    if (battles.empty()) companion_at_first_battle = player_record.party[1];
    battles.push_back(encounter);
    return 1;
}

void next(Step s) {
    step = s;
    walker.new_step();
}

s32 stage_of(s32 obj) {
    return attr_get(obj, ATTR_VAR_A);
}
bool active(s32 obj) {
    return attr_get(obj, ATTR_ACTIVE) == 1;
}

void watch() {
    attr_set(WATCHER, ATTR_TIMER, 1);
    const s32 map = world_state.current_map;
    switch (step) {
    case Step::ToMeeting:
        if (!active(MEETING_ZONE)) return next(Step::ToPortal);
        walker.toward(attr_get(MEETING_ZONE, ATTR_X), attr_get(MEETING_ZONE, ATTR_Y), 4);
        return;
    case Step::ToPortal:
        if (map == GUIDE_MAP) return next(Step::ClickGuide);
        walker.toward(PORTAL_X, PORTAL_Y, 4);
        return;
    case Step::ClickGuide:
        walker.click_beside(GUIDE);
        if (stage_of(GUIDE) >= 1) next(Step::GuideLeads);
        return;
    case Step::GuideLeads:
        // The player stays on map 64; the guide comes back for him.
        ++frames_waiting_for_guide;
        if (stage_of(GUIDE) == 4 && active(FINALE_ZONE)) {
            dialog_answers({2}); // the finale's second answer (its middle option is absent)
            next(Step::ToFinale);
        }
        return;
    case Step::ToFinale:
        if (!active(FINALE_ZONE)) return next(Step::Done);
        walker.toward(attr_get(FINALE_ZONE, ATTR_X), attr_get(FINALE_ZONE, ATTR_Y), 4);
        return;
    case Step::Done:
        return;
    }
}

// The picker's screen is answered when it first shows: its first cell, then done. Polled at
// every present until then (the harness's budget bounds the wait).
void answer_picker() {
    if (picker_state.count == 0) return world_after_presents(1, answer_picker);
    picked = true;
    dialog_timed_click(pick_cell_x(0) + 48, pick_cell_y(0) + 8);
    dialog_timed_click(PICKER_DONE_X + 24, PICKER_DONE_Y + 8);
}

std::vector<char> slot_file(s32 slot) {
    char name[16];
    save_image_name(slot, name);
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

s32 saved_story_flag(const std::vector<char>& image, s32 flag) {
    const size_t at = SAVE_BLOCK_OFFSET[2] + offsetof(PlayerRecord, story_flags) + 4 * size_t(flag);
    s32 v = -1;
    if (at + 4 <= image.size()) std::memcpy(&v, image.data() + at, 4);
    return v;
}

class CampsScenario : public ::testing::Test {
  protected:
    void SetUp() override {
        scenario_new_game(2 * 60 * 60 * 1000, 40000);
        calendar_register_all();
        hub_restart = -1; // the hub runs the turn's event, with no game loaded
        step = Step::ToMeeting;
        walker.reset();
        frames_waiting_for_guide = 0;
        picked = false;
        picker_state = {}; // what an earlier picker left would answer this one too early
        battles.clear();
        companion_at_first_battle = -1;
        battle_run_seam = battle_won;
    }
    void TearDown() override { scenario_end(); }
    HarnessTempDir dir;
};

TEST_F(CampsScenario, RouteOneRefusesTheJourneyFollowsTheGuideAndWinsTheFirstFinale) {
    hub_block.calendar_turn = TURN;
    player_record.story_flags[7] = 2;
    for (s32& m : player_record.party) m = -1;
    player_record.acquaintances[0] = COMPANION;
    player_record.affection[COMPANION] = 80;
    const s32 affection_200 = player_record.affection[200];
    const std::vector<s32> before = episode_outcomes_now();
    // The introduction's choice (the first route), then the meeting's two choices: the first
    // question, then the refusal.
    dialog_answers({0, 0, 1});
    const s32 watcher = world_script(watch);
    world_place_object(WATCHER, CAMP_MAP, 0, 0, 0, watcher, 0);
    world_arm_timer(WATCHER, 1, true);
    answer_picker();

    calendar_event_129();

    ASSERT_EQ(step, Step::Done) << "the episode stopped at step " << int(step);
    EXPECT_TRUE(picked);
    EXPECT_EQ(companion_at_first_battle, COMPANION) << "the picked companion came along";
    EXPECT_EQ(dialog_answers_left(), 0u);
    EXPECT_EQ(player_record.story_flags[99], 1) << "the first route";
    // The refusal left the barring zone, and the guide led the player back on its own frames.
    EXPECT_EQ(stage_of(GUIDE), 4);
    EXPECT_FALSE(active(MEETING_ZONE));
    EXPECT_FALSE(active(BARRING_ZONE)) << "the guide clears the way it barred";
    EXPECT_GT(frames_waiting_for_guide, 20);
    // The first finale: three battles, the second answer, the visit of person 163.
    EXPECT_EQ(battles, (std::vector<s32>{45, 46, 47}));
    EXPECT_EQ(player_record.story_flags[93], 1);
    EXPECT_EQ(player_record.story_flags[70], 1);
    EXPECT_GT(player_record.affection[200], std::max(0, affection_200)) << "person 200 is glad";
    expect_episode_outcome(129, before);
    const std::vector<std::string> lines = dialog_lines();
    for (s32 t = 18155; t <= 18161; ++t) {
        const std::string id = " " + std::to_string(t);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&id](const std::string& l) { return l.ends_with(id); }))
            << "visitor line " << t;
    }
    // The launcher closed the turn: three turns used, back in the hub, the game in slot 2 with
    // the outcome that the next turn opens with.
    EXPECT_EQ(hub_block.calendar_turn, TURN + 3);
    EXPECT_EQ(player_record.area, AREA_HUB);
    EXPECT_EQ(saved_story_flag(slot_file(2), 93), 1);
}

} // namespace
