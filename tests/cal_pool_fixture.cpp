#include "tests/cal_pool_fixture.h"

#include "calendar/pool_b_events.h"
#include "calendar/pool_routines.h"
#include "engine/world/field.h"
#include "engine/world_state.h"
#include "game/hub.h"
#include "game/hub_seams.h"
#include "game/player.h"
#include "game/scenes.h"
#include "minigames/aim.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"

namespace {

s32 meal_calls = 0;
std::vector<std::vector<s32>> ring_calls, aim_calls;
std::function<void()> ring_effect, loop_effect;
s32 aim_score = 0, aim_target_result = 0;
s32 loops = 0;
PlayerRecord new_player;
HubBlock new_hub;

void fake_meal() {
    ++meal_calls;
}

void fake_ring(s32 a1, s32 a2, s32 a3, s32 a4, s32 a5, s32 a6, s32 a7, s32 a8) {
    ring_calls.push_back({a1, a2, a3, a4, a5, a6, a7, a8});
    if (ring_effect) ring_effect();
}

void fake_aim(s32 mode, s32 coach, s32 slots, s32 kind, s32 skill, s32 score) {
    aim_calls.push_back({mode, coach, slots, kind, skill, score});
    player_record.turn_done = aim_score;
}

s32 fake_aim_target(s32 mode, s32 coach, s32 slots, s32 kind, s32 a5, s32 a6) {
    aim_calls.push_back({mode, coach, slots, kind, a5, a6});
    return aim_target_result;
}

void fake_field_loop() {
    ++loops;
    if (loop_effect) loop_effect();
}

void add_changes(std::vector<std::string>& out, const char* name,
                 const std::vector<EventEntry>& before, const EventEntry* now) {
    for (size_t k = 0; k < before.size(); ++k) {
        const EventEntry& b = before[k];
        const EventEntry& n = now[k];
        if (b.slot == n.slot && b.on == n.on) continue;
        const std::string where = name + std::to_string(k);
        if (n.slot == -1 && b.slot != -1)
            out.push_back(where + " empty");
        else
            out.push_back(where + (n.on == 1 ? " on" : n.on == 0 ? " off" : " other"));
    }
}

} // namespace

PoolSnapshot pool_snapshot() {
    const HubBlock& h = hub_block;
    PoolSnapshot s;
    s.a.assign(h.encounter_pool_a, h.encounter_pool_a + HUB_POOL_A_SIZE);
    s.b.assign(h.encounter_pool_b, h.encounter_pool_b + HUB_POOL_B_SIZE);
    s.c.assign(h.encounter_pool_c, h.encounter_pool_c + HUB_POOL_C_SIZE);
    s.place.assign(h.place_events[0][0], h.place_events[0][0] + HUB_PLACE_POOL_SIZE);
    return s;
}

std::vector<std::string> pool_changes(const PoolSnapshot& before) {
    const HubBlock& h = hub_block;
    std::vector<std::string> out;
    add_changes(out, "A", before.a, h.encounter_pool_a);
    add_changes(out, "B", before.b, h.encounter_pool_b);
    add_changes(out, "C", before.c, h.encounter_pool_c);
    add_changes(out, "P0.0.", before.place, h.place_events[0][0]);
    return out;
}

void PoolHandlerTest::SetUp() {
    CalendarHandlerTest::SetUp();
    new_player = player_record;
    new_hub = hub_block;
    fresh();
    meal_calls = 0;
    ring_calls.clear();
    aim_calls.clear();
    ring_effect = nullptr;
    loop_effect = nullptr;
    aim_score = 0;
    aim_target_result = 0;
    loops = 0;
    meal_screen_seam = fake_meal;
    game_light_ring_seam = fake_ring;
    game_aim_seam = fake_aim;
    pool_aim_target_seam = fake_aim_target;
    scene_field_loop_seam = fake_field_loop;
}

void PoolHandlerTest::TearDown() {
    sum_guess_plan_stop();
    pool_aim_target_seam = game_aim_target;
    scene_field_loop_seam = field_loop;
    CalendarHandlerTest::TearDown();
}

void PoolHandlerTest::fresh() {
    player_record = new_player;
    hub_block = new_hub;
    player_record.social_aptitude = 0; // affection gains exactly as given
    world_state.field_active = 0;
    hub_restart = -1;
}

std::vector<s32> PoolHandlerTest::steps_from(size_t mark) {
    return texts_and_travels_from(mark, TRAVEL);
}

s32 PoolHandlerTest::meals() {
    return meal_calls;
}
const std::vector<std::vector<s32>>& PoolHandlerTest::ring_games() {
    return ring_calls;
}
const std::vector<std::vector<s32>>& PoolHandlerTest::aim_games() {
    return aim_calls;
}
void PoolHandlerTest::on_ring_game(std::function<void()> f) {
    ring_effect = std::move(f);
}
void PoolHandlerTest::next_aim_score(s32 score) {
    aim_score = score;
}
void PoolHandlerTest::next_aim_target(s32 result) {
    aim_target_result = result;
}
void PoolHandlerTest::on_field_loop(std::function<void()> f) {
    loop_effect = std::move(f);
}
s32 PoolHandlerTest::field_loops() {
    return loops;
}

namespace {
std::vector<s32> planned;
size_t planned_next = 0;
} // namespace

void sum_guess_plan(std::vector<s32> buttons) {
    planned = std::move(buttons);
    planned_next = 0;
    harness_on_present([](const u16*, u64) {
        if (!sum_guess_state.picking || harness_pending_input() != 0) return;
        if (planned_next >= planned.size()) return;
        const s32 b = planned[planned_next++];
        const s32 x = SUM_GUESS_BUTTON_X + SUM_GUESS_BUTTON_DX * (b % SUM_GUESS_BUTTON_COLUMNS);
        const s32 y = SUM_GUESS_BUTTON_Y + SUM_GUESS_BUTTON_DY * (b / SUM_GUESS_BUTTON_COLUMNS);
        harness_click(x + SUM_GUESS_BUTTON_W / 2, y + SUM_GUESS_BUTTON_H / 2);
    });
}

void sum_guess_plan_stop() {
    harness_on_present(nullptr);
}
