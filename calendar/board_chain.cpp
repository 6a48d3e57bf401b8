// The board course of place 1.3 and its final challenge.
#include "calendar/board_chain.h"

#include "calendar/frame.h"
#include "engine/world/staging.h"
#include "game/adjust.h"
#include "game/hub_dialog.h"
#include "game/inventory.h"
#include "game/player.h"
#include "minigames/tile_swap.h"

#include <algorithm>

using namespace cal_literals;

const BoardStage BOARD_STAGE_TABLE[BOARD_STAGES] = {
    {10, 11}, {12, 13}, {0, 9}, {16, 17}, {18, 14}, {15, 16}, {20, 22}, {19, 23}, {21, 23},
};

// Step 0 replays stage 0 and switches nothing; step s plays stage s - 1, closes entry s and opens
// entry s + 1.
const BoardStepRow BOARD_STEP_TABLE[BOARD_STEPS] = {
    {0, -1, -1}, {0, 1, 2}, {1, 2, 3}, {2, 3, 4}, {3, 4, 5},
    {4, 5, 6},   {5, 6, 7}, {6, 7, 8}, {7, 8, 9}, {8, 9, 10},
};

namespace {

constexpr s32 BC_SET = 1, BC_PLACE = 3; // place 1.3
constexpr s32 BC_SKILL = 13;
constexpr CalPicture BC_BACKDROP = 60421_pic;
constexpr CalPerson BC_TEACHER = 70_p;
constexpr s32 BC_FINAL_ENTRY = 10, BC_REPEAT_ENTRY = 11;
constexpr s32 BC_LAST_OPENED = 10; // the last step opens the final entry and closes the button

// The summary lines of a solved and of a failed board.
constexpr CalText BC_SOLVED_LINES[2] = {213_t, 234_t};
constexpr CalText BC_FAILED_LINE = 284_t;

CalEntry entry(s32 k) {
    return cal_place(BC_SET, BC_PLACE, k);
}

s32 skill13() {
    return player_record.skill[BC_SKILL];
}

void say(CalText text, CalText to, CalCast right, CalCast left = {CAL_HERO}) {
    cal_lines({{.text = text, .to = to, .right = right, .left = left}});
}

// A solved board: its growth, the summary (shown also when nothing grew), a good mood and
// person 150's affection.
void reward_solved(s32 r) {
    CalSummary grown;
    cal_gain(grown, cal_skill(BC_SKILL), board_experience(skill13(), r));
    hub_say_lines(cal_id(BC_SOLVED_LINES[0]), cal_id(BC_SOLVED_LINES[1]), 0, 0);
    player_record.mood = 0;
    player_record.mood_turns = 0;
    affection_add(150, 2);
}

void punish_failed() {
    hub_say_lines(cal_id(BC_FAILED_LINE), 0, 0, 0);
    mood_add(-1);
}

// The stubs of entries 1..9: the step, and the skill 13 the teacher waits for (with the line he
// answers below it).
struct BoardVisit {
    s32 step;
    s32 min_skill; // 0: none
    CalText refusal;
};
constexpr BoardVisit BC_VISITS[] = {
    {1, 0, {}}, {2, 0, {}},       {3, 0, {}}, {4, 50, 55646_t}, {5, 0, {}},
    {6, 0, {}}, {7, 80, 55647_t}, {8, 0, {}}, {9, 0, {}},
};

void board_visit(s32 step) {
    for (const BoardVisit& v : BC_VISITS) {
        if (v.step != step) continue;
        if (skill13() < v.min_skill) {
            cal_lines({{.backdrop = BC_BACKDROP, .text = v.refusal, .right = {BC_TEACHER}}});
            return;
        }
        board_step(step);
        return;
    }
}

// The outcomes of the final challenge.
void final_won() {
    say(11823_t, 11826_t, {BC_TEACHER});
    cal_place_button(BC_PLACE, BC_SET, 0);
    cal_close(entry(BC_FINAL_ENTRY));
    cal_close(entry(BC_REPEAT_ENTRY));
    known_add(2, 59);
}

void final_lost() {
    say(11822_t, {}, {BC_TEACHER});
    cal_close(entry(BC_FINAL_ENTRY));
    cal_open(entry(BC_REPEAT_ENTRY));
}

// Four boards against one clock: blocks (7, 8), (5, 6), (3, 4), (1, 2). A board solved goes on to
// the next unless the time ran out; the last one solved wins even when the time ran out on it.
bool final_challenge() {
    timer0_start();
    TileSwapSetup setup;
    setup.block_first = BOARD_FINAL_BLOCKS[0];
    setup.block_second = BOARD_FINAL_BLOCKS[1];
    setup.step_ms = BOARD_FINAL_STEP_MS;
    setup.start_stopwatch = false;
    for (;;) {
        const TileSwapResult r = tile_swap_run(setup);
        if (!r.solved) return false;
        if (setup.block_first == BOARD_FINAL_LAST_FIRST) return true;
        if (r.steps > TILE_SWAP_LAST_STEP) return false;
        setup.block_first -= 2;
        setup.block_second -= 2;
    }
}

} // namespace

s32 board_experience(s32 skill, s32 r) {
    return 5 * skill + 8 * (100 - r);
}

s32 tile_board_game(s32 stage) {
    const BoardStage& st = BOARD_STAGE_TABLE[std::clamp(stage, 0, BOARD_STAGES - 1)];
    TileSwapSetup setup;
    setup.block_first = st.block_first;
    setup.block_second = st.block_second;
    const TileSwapResult r = tile_swap_run(setup);
    return r.solved ? r.steps + 1 : 0;
}

void board_step(s32 step) {
    if (step < 0 || step >= BOARD_STEPS) return;
    const BoardStepRow& row = BOARD_STEP_TABLE[step];
    cal_lines({{.backdrop = BC_BACKDROP, .text = 55630_t, .to = 55633_t, .right = {BC_TEACHER}}});
    const s32 r = tile_board_game(row.stage);
    if (r == 0) {
        say(55641_t, 55645_t, {BC_TEACHER}, {7_p});
        punish_failed();
        return;
    }
    say(55635_t, 55640_t, {BC_TEACHER}, {8_p});
    reward_solved(r);
    if (row.closed >= 0) cal_close(entry(row.closed));
    if (row.opened >= 0) cal_open(entry(row.opened));
    if (row.opened == 4) say(55656_t, {}, {BC_TEACHER}, {7_p});
    if (row.opened == 7) say(55657_t, {}, {BC_TEACHER}, {7_p});
    if (row.opened == BC_LAST_OPENED) {
        say(55658_t, {}, {BC_TEACHER}, {7_p});
        cal_place_button(BC_PLACE, BC_SET, 0);
    }
}

void board_final(s32 repeat) {
    hub_block.scene_backdrop = cal_id(BC_BACKDROP);
    if (repeat == 0 && skill13() < CAL_VALUE_MAX) {
        // Sent away before the skill is full: the lost outcome, which opens the repeat entry, so
        // the challenge stays within reach.
        cal_lines({{.text = 55650_t}, {.text = 55651_t, .to = 55654_t, .right = {BC_TEACHER}}});
        final_lost();
        return;
    }
    if (repeat == 0)
        cal_lines({{.text = 55650_t}, {.text = 11820_t, .to = 11821_t, .right = {BC_TEACHER}}});
    else
        cal_lines({{.text = 11830_t}, {.text = 11831_t, .right = {BC_TEACHER}}});
    if (final_challenge())
        final_won();
    else
        final_lost();
}

// ---- Handlers ----------------------------------------------------------------------------------

void calendar_event_078() {
    cal_lines({
        {.backdrop = BC_BACKDROP, .text = 55600_t},
        {.travel = true, .text = 55601_t, .to = 55602_t},
        {.text = 55603_t, .to = 55610_t, .right = {BC_TEACHER}},
    });
    const s32 r = tile_board_game(0);
    if (r > 0) {
        say(55611_t, 55616_t, {BC_TEACHER}, {8_p});
        reward_solved(r);
    } else {
        say(55620_t, 55625_t, {BC_TEACHER}, {8_p});
        punish_failed();
    }
    cal_close(entry(0));
    cal_open(entry(r > 0 ? 2 : 1));
    cal_menu(5, 3, 1);
    cal_menu(0, 4, 1);
}

void calendar_event_045() {
    board_visit(1);
}
void calendar_event_046() {
    board_visit(2);
}
void calendar_event_047() {
    board_visit(3);
}
void calendar_event_048() {
    board_visit(4);
}
void calendar_event_049() {
    board_visit(5);
}
void calendar_event_050() {
    board_visit(6);
}
void calendar_event_051() {
    board_visit(7);
}
void calendar_event_052() {
    board_visit(8);
}
void calendar_event_053() {
    board_visit(9);
}
void calendar_event_054() {
    board_final(0);
}
void calendar_event_055() {
    board_final(1);
}

// ---- Slots -------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {45, calendar_event_045}, {46, calendar_event_046}, {47, calendar_event_047},
    {48, calendar_event_048}, {49, calendar_event_049}, {50, calendar_event_050},
    {51, calendar_event_051}, {52, calendar_event_052}, {53, calendar_event_053},
    {54, calendar_event_054}, {55, calendar_event_055}, {78, calendar_event_078},
};
} // namespace

std::span<const CalendarSlot> board_chain_slots() {
    return SLOTS;
}

void register_board_chain() {
    calendar_install(SLOTS, BOARD_CHAIN_OWNER);
}
