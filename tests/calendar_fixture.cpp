#include "tests/calendar_fixture.h"

#include "battle/battle.h"
#include "calendar/calendar_register.h"
#include "calendar/calendar_seams.h"
#include "calendar/frame.h"
#include "engine/gisk.h"
#include "engine/math.h"
#include "engine/world_state.h"
#include "game/calendar_table.h"
#include "game/hub.h"

#include <algorithm>
#include <deque>
#include <limits>

namespace {

std::deque<s32> battle_queue;
std::vector<s32> battle_log;
std::deque<s32> draw_queue;

s32 fake_battle(s32 encounter) {
    battle_log.push_back(encounter);
    if (battle_queue.empty()) {
        ADD_FAILURE() << "battle " << encounter << " fought with no result queued";
        return 0;
    }
    const s32 r = battle_queue.front();
    battle_queue.pop_front();
    return r;
}

s32 forced_draw(s32 n) {
    if (draw_queue.empty()) {
        ADD_FAILURE() << "random draw below " << n << " with no value queued";
        return 0;
    }
    const s32 v = draw_queue.front();
    draw_queue.pop_front();
    if (v < 0 || v >= n) {
        ADD_FAILURE() << "queued draw " << v << " outside 0.." << n - 1;
        return 0;
    }
    return v;
}

} // namespace

void CalendarHandlerTest::SetUp() {
    HubTest::SetUp();
    calendar_register_all();
    hub_restart = -1;
    world_state.field_active = 0;
    battle_queue.clear();
    battle_log.clear();
    draw_queue.clear();
    battle_run_seam = fake_battle;
    cal_rand_seam = forced_draw;
}

void CalendarHandlerTest::TearDown() {
    // Every portrait the handler's lines showed is a picture of the archive the player has.
    for (const TranscriptEntry& e : dialog_transcript()) {
        if (e.kind < TRANSCRIPT_HUB_SHOW || e.kind > TRANSCRIPT_HUB_SAY_LINES) continue;
        for (const s32 person : {e.left, e.right}) {
            if (person >= 0) {
                EXPECT_GT(gisk_size(ARC_IMAGE_BASE + 62000 + person), 0) << "portrait " << person;
            }
        }
    }
    battle_run_seam = battle_run;
    cal_rand_seam = rand_below;
    calendar_seams_reset();
    HubTest::TearDown();
}

void CalendarHandlerTest::battles(std::initializer_list<s32> results) {
    battle_queue.insert(battle_queue.end(), results);
}

const std::vector<s32>& CalendarHandlerTest::fought() {
    return battle_log;
}

void CalendarHandlerTest::draws(std::initializer_list<s32> values) {
    draw_queue.insert(draw_queue.end(), values);
}

size_t CalendarHandlerTest::draws_left() {
    return draw_queue.size();
}

void CalendarHandlerTest::answers(std::initializer_list<s32> indices) {
    dialog_answers(std::vector<s32>(indices));
}

void CalendarHandlerTest::run_slot(s32 slot) {
    calendar_event_run(slot);
}

std::vector<std::string> CalendarHandlerTest::lines_from(size_t mark) {
    const std::vector<std::string> all = dialog_lines();
    return {all.begin() + long(std::min(mark, all.size())), all.end()};
}

std::vector<s32> CalendarHandlerTest::texts_from(size_t mark) {
    constexpr s32 NO_TEXT = std::numeric_limits<s32>::min();
    std::vector<s32> out = texts_and_travels_from(mark, NO_TEXT);
    out.erase(std::remove(out.begin(), out.end(), NO_TEXT), out.end());
    return out;
}

std::vector<s32> CalendarHandlerTest::texts_and_travels_from(size_t mark, s32 travel) {
    std::vector<s32> out;
    const std::vector<TranscriptEntry>& all = dialog_transcript();
    for (size_t i = mark; i < all.size(); ++i) {
        const TranscriptEntry& e = all[i];
        switch (e.kind) {
        case TRANSCRIPT_HUB_TRAVEL:
            out.push_back(travel);
            break;
        case TRANSCRIPT_HUB_SHOW:
        case TRANSCRIPT_HUB_SAY:
            out.push_back(e.text[0]);
            break;
        case TRANSCRIPT_HUB_SAY_LINES:
        case TRANSCRIPT_HUB_CHOOSE:
            for (s32 k = 0; k < 4; ++k)
                if (e.text[k] > 0) out.push_back(e.text[k]);
            break;
        default:
            break;
        }
    }
    return out;
}

size_t CalendarHandlerTest::mark() {
    return dialog_transcript().size();
}
