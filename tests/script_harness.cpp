// The script harness: world builder, steppers, transcript, random queue and recording fakes.
#include "tests/script_harness.h"

#include "battle/battle.h"
#include "calendar/calendar_seams.h"
#include "calendar/first_year.h"
#include "data/battle_tables.h"
#include "data/hub_block.h"
#include "data/timetables.h"
#include "data/world_population.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/hub_seams.h"
#include "game/player.h"
#include "game/save.h"
#include "game/world_rows.h"
#include "platform/platform.h"
#include "scripts/episode_state.h"
#include "scripts/script_seams.h"
#include "scripts/scripts_register.h"
#include "tools/placeholder_maps.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <sstream>

namespace {

std::vector<std::string> calls;
std::deque<s32> rand_queue;
std::map<std::string, std::deque<s32>> results;
std::map<std::string, std::function<void()>> effects;
std::vector<std::vector<s32>> battle_fighters;
s32 save_result = 1;

// Where a fake that ended on a click leaves it.
struct LeftClick {
    bool on = false;
    s32 x = 0, y = 0;
};
LeftClick screens_click; // the character screen, the ranking panel, the shops
LeftClick games_click;   // the games and the battles

template <class... A> void note(const char* what, A... args) {
    std::ostringstream line;
    line << what;
    ((line << ' ' << args), ...);
    calls.push_back(line.str());
}

// The fake's effect at its call, then its next result (`none` when nothing is queued).
s32 answer(const std::string& fake, s32 none = 0) {
    const auto effect = effects.find(fake);
    if (effect != effects.end() && effect->second) effect->second();
    std::deque<s32>& queue = results[fake];
    if (queue.empty()) return none;
    const s32 r = queue.front();
    queue.pop_front();
    return r;
}

// A screen that ended on a click leaves the button held and the click in the input words.
void leave(const LeftClick& c) {
    if (!c.on) return;
    mouse_buttons = 1;
    click_kind = 1;
    click_x = c.x;
    click_y = c.y;
}
void screen_closed() {
    leave(screens_click);
}

// A game fake: its line, its effect and result, and the closing click.
template <class... A> s32 game(const char* what, A... args) {
    note(what, args...);
    const s32 r = answer(what);
    leave(games_click);
    return r;
}

s32 fake_battle(s32 encounter) {
    std::vector<s32> fighters(ENCOUNTER_FIGHTERS, -1);
    if (encounter >= 0 && encounter < ENCOUNTER_COUNT)
        std::copy_n(encounters[encounter].fighter, ENCOUNTER_FIGHTERS, fighters.begin());
    battle_fighters.push_back(fighters);
    const s32 result = answer("battle", BATTLE_WON);
    note("battle", encounter, "->", result);
    leave(games_click);
    return result;
}
void fake_info(s32 from_hub) {
    note("info_screen", from_hub);
    answer("info_screen");
    screen_closed();
}
void fake_ranking() {
    note("ranking");
    answer("ranking");
    screen_closed();
}
void fake_buy(s32 shop) {
    note("shop_buy", shop);
    answer("shop_buy");
    screen_closed();
}
void fake_sell(s32 shop) {
    note("shop_sell", shop);
    answer("shop_sell");
    screen_closed();
}
s32 fake_save(s32 slot) {
    note("save", slot);
    return answer("save", save_result);
}
s32 fake_rand(s32 n) {
    if (rand_queue.empty()) {
        ADD_FAILURE() << "script_rand(" << n << ") with no draw queued";
        return 0;
    }
    const s32 v = rand_queue.front();
    rand_queue.pop_front();
    EXPECT_TRUE(v >= 0 && v < n) << "queued draw " << v << " outside 0.." << n - 1;
    return v;
}
void fake_aim(s32 a, s32 b, s32 c, s32 d, s32 e, s32 f) {
    game("aim", a, b, c, d, e, f);
}
void fake_bait(s32 kind) {
    game("bait_catch", kind);
}
void fake_popup(s32 mode) {
    game("popup", mode);
}
void fake_light_ring(s32 a, s32 b, s32 c, s32 d, s32 e, s32 f, s32 g, s32 h) {
    game("light_ring", a, b, c, d, e, f, g, h);
}
s32 fake_tracks(s32 n) {
    return game("tracks", n);
}
void fake_dice(s32 mode, s32 stake) {
    game("dice", mode, stake);
}
s32 fake_dice_high(s32 mode, s32 stake) {
    return game("dice_high", mode, stake);
}
s32 fake_dice_practice() {
    return game("dice_practice");
}
s32 fake_hands() {
    return game("hands");
}
void fake_aim_framed() {
    game("aim_framed");
}
s32 fake_aim_target(s32 a, s32 b, s32 c, s32 d, s32 e, s32 f) {
    return game("aim_target", a, b, c, d, e, f);
}
s32 fake_tile_swap(s32 picture) {
    return game("tile_swap", picture);
}
s32 fake_falling_catch() {
    return game("falling_catch");
}
s32 fake_light_puzzle() {
    return game("light_puzzle");
}
s32 fake_aim_night() {
    return game("aim_night");
}
s32 fake_timed_action(s32 level, s32 pace, s32 skill) {
    return game("timed_action", level, pace, skill);
}
s32 fake_art_practice(s32 n) {
    return game("art_practice", n);
}
void fake_training_aftermath(s32 flag) {
    note("training_aftermath", flag);
    answer("training_aftermath");
}
void fake_companion_leave() {
    note("companion_leave");
    answer("companion_leave");
}
s32 fake_recipes() {
    note("recipes");
    return answer("recipes");
}

void install_fakes() {
    battle_run_seam = fake_battle;
    info_screen_seam = fake_info;
    script_ranking_seam = fake_ranking;
    script_shop_buy_seam = fake_buy;
    script_shop_sell_seam = fake_sell;
    script_save_seam = fake_save;
    script_rand_seam = fake_rand;
    game_aim_seam = fake_aim;
    game_bait_catch_seam = fake_bait;
    game_popup_targets_seam = fake_popup;
    game_light_ring_seam = fake_light_ring;
    recipe_screen_seam = fake_recipes;
    game_tracks_seam = fake_tracks;
    game_dice_seam = fake_dice;
    game_dice_high_seam = fake_dice_high;
    game_dice_practice_seam = fake_dice_practice;
    game_hands_seam = fake_hands;
    game_aim_framed_seam = fake_aim_framed;
    game_aim_target_seam = fake_aim_target;
    game_tile_swap_seam = fake_tile_swap;
    game_falling_catch_seam = fake_falling_catch;
    game_light_puzzle_seam = fake_light_puzzle;
    game_aim_night_seam = fake_aim_night;
    timed_action_game_seam = fake_timed_action;
    art_practice_seam = fake_art_practice;
    training_aftermath_seam = fake_training_aftermath;
    companion_leave_scene_seam = fake_companion_leave;
}

} // namespace

void sh_start(const std::function<void(ArcBuilder&)>& extra) {
    ArcBuilder b;
    world_put_basics(b, SH_MAP, SH_MAP_W, SH_MAP_H);
    world_put_sprite(b, SH_FIGURE_FIRST, SH_FIGURE_W, SH_FIGURE_H, SH_FIGURE_W / 2, SH_FIGURE_H - 1,
                     0x7C00);
    for (s32 id = SH_FIGURE_FIRST + 2; id < SH_FIGURE_FIRST + SH_FIGURE_COUNT; id += 2) {
        b.alias(u32(ARC_IMAGE_BASE + id), u32(ARC_IMAGE_BASE + SH_FIGURE_FIRST));
        b.alias(u32(ARC_IMAGE_BASE + id + 1), u32(ARC_IMAGE_BASE + SH_FIGURE_FIRST + 1));
    }
    if (extra) extra(b);
    world_start(b);
    init_player();
    save_index_clear(); // a save by an earlier test must not show in this one
    init_battle_tables();
    episode_state_reset();
    calls.clear();
    rand_queue.clear();
    results.clear();
    effects.clear();
    battle_fighters.clear();
    screens_click = {};
    games_click = {};
    save_result = 1;
    script_seams_reset();
    install_fakes();
    dialog_transcript_mode();
    sh_player(SH_MAP_W / 2, SH_MAP_H / 2);
}

void sh_start_placeholder_world() {
    ArcBuilder b;
    arc_put_placeholder_content(b);
    world_put_player_images(b);
    map_put_placeholder_maps(b);
    world_start(b);
    scripts_register_all();
    init_npc_timetables();
}

void sh_stop() {
    dialog_driver_stop();
    script_seams_reset();
    hub_seams_reset();
    training_aftermath_seam = training_aftermath;
    battle_run_seam = battle_run;
    world_stop();
}

// ---- World builder ---------------------------------------------------------------------------

void sh_object(s32 obj, const ScriptObject& o) {
    world_place_object(obj, o.map, o.x, o.y, 0, o.slot, o.layer);
    obj_set_frame(obj, o.frame);
    attr_set(obj, ATTR_VAR_A, o.var_a);
    attr_set(obj, ATTR_VAR_B, o.var_b);
    attr_set(obj, ATTR_CLICK, o.click ? 1 : 0);
    attr_set(obj, ATTR_CURSOR, o.cursor);
    attr_set(obj, ATTR_HOVER_CURSOR, o.cursor != 0 ? 1 : 0);
    if (o.timer > 0) world_arm_timer(obj, o.timer, o.anymap);
    attr_set(obj, ATTR_ACTIVE, o.active ? 1 : 0);
}

void sh_player(s32 x, s32 y, s32 map) {
    world_place_player(map, x, y);
    world_state.current_map = u16(map);
}

void sh_clock(s32 hour, s32 minute, s32 frames_per_minute) {
    world_state.hour = u8(hour);
    world_state.minute = u8(minute);
    world_state.minute_frames = 0;
    world_state.frames_per_minute = u16(frames_per_minute);
}

void sh_turn(s32 turn) {
    hub_block.calendar_turn = turn;
}

size_t sh_populate(std::span<const s32> objects) {
    const auto listed = [&](s32 obj) {
        return std::find(objects.begin(), objects.end(), obj) != objects.end();
    };
    for (const s32 obj : objects) std::memset(&object_table[obj], 0, sizeof object_table[obj]);
    size_t run = 0;
    const auto run_rows = [&](const WorldRow* rows, size_t count) {
        for (size_t i = 0; i < count; ++i)
            if (rows[i].op != WR_HIDE_RANGE && listed(rows[i].obj)) {
                world_rows_run(&rows[i], 1);
                ++run;
            }
    };
    run_rows(world_population_home, world_population_home_count);
    run_rows(world_population_towns, world_population_towns_count);
    return run;
}

void sh_beside(s32 obj, s32 dx) {
    attr_set(0, ATTR_X, attr_get(obj, ATTR_X) + dx);
    attr_set(0, ATTR_Y, attr_get(obj, ATTR_Y));
}

// ---- Running ---------------------------------------------------------------------------------

void sh_fire(s32 obj, s32 trigger) {
    world_fire(obj, trigger);
}

s32 sh_frames(s32 n) {
    world_state.field_active = 1;
    for (s32 i = 0; i < n; ++i) {
        const u32 kind = click_kind;
        click_kind = 0;
        field_buttons = mouse_buttons;
        field_point_x = world_state.camera_x + (kind != 0 ? s32(click_x) : s32(pointer_x));
        field_point_y = world_state.camera_y + (kind != 0 ? s32(click_y) : s32(pointer_y));
        field_objects_pass(kind);
        if (world_state.field_active == 0) return i + 1;
        clock_advance_frame();
    }
    return n;
}

s32 sh_field_frames(s32 n) {
    world_state.field_active = 1;
    for (s32 i = 0; i < n; ++i)
        if (field_frame() == 0) return i + 1;
    return n;
}

s32 sh_script(std::function<void()> body) {
    return world_script(std::move(body));
}

// ---- Transcript and random draws -------------------------------------------------------------

std::vector<std::string> sh_lines() {
    return dialog_lines();
}

void sh_clear_lines() {
    dialog_transcript_clear();
}

std::string sh_bubble(s32 obj, s32 text) {
    return "say_at " + std::to_string(obj) + " " + std::to_string(text);
}

std::string sh_box(s32 pos, s32 portrait, s32 text) {
    return "say " + std::to_string(pos) + " " + std::to_string(portrait) + " " +
           std::to_string(text);
}

std::vector<std::string> sh_talk_lines() {
    return sh_only(sh_lines(), {"say", "choose", "label"});
}

std::vector<std::string> sh_click(s32 obj, std::initializer_list<s32> answers, s32 dx) {
    sh_beside(obj, dx);
    sh_clear_lines();
    sh_answers(answers);
    sh_fire(obj, TRIG_CLICK);
    return sh_talk_lines();
}

void sh_answers(std::initializer_list<s32> answers) {
    for (const s32 a : answers) dialog_answer(a);
}

void sh_rand(std::initializer_list<s32> draws) {
    rand_queue.insert(rand_queue.end(), draws.begin(), draws.end());
}

size_t sh_rand_left() {
    return rand_queue.size();
}

// ---- Fakes -----------------------------------------------------------------------------------

const std::vector<std::string>& sh_calls() {
    return calls;
}

void sh_clear_calls() {
    calls.clear();
}

void sh_battle_results(std::initializer_list<s32> queued) {
    sh_results("battle", queued);
}

void sh_results(const std::string& fake, std::initializer_list<s32> queued) {
    std::deque<s32>& queue = results[fake];
    queue.insert(queue.end(), queued.begin(), queued.end());
}

void sh_on_call(const std::string& fake, std::function<void()> effect) {
    effects[fake] = std::move(effect);
}

const std::vector<std::vector<s32>>& sh_battle_fighters() {
    return battle_fighters;
}

void sh_games_leave_click(s32 x, s32 y) {
    games_click = {true, x, y};
}

ShEnd sh_expect_end(const std::function<void()>& body) {
    ShEnd end;
    exit_code = 0;
    const std::vector<u32>& posted = harness_posted_messages();
    const auto closes = [&] { return std::count(posted.begin(), posted.end(), u32(WM_CLOSE)); };
    const auto closes_before = closes();
    try {
        body();
    } catch (const PlatUnwind&) {
        end.ended = true;
    }
    end.exit_code = exit_code;
    end.hand_over = end.ended && exit_code == 99 && closes() > closes_before;
    exit_code = 0;
    return end;
}

void sh_save_result(s32 result) {
    save_result = result;
}

void sh_screens_leave_click(s32 x, s32 y) {
    screens_click = {true, x, y};
}

std::vector<std::string> sh_only(const std::vector<std::string>& all,
                                 std::initializer_list<const char*> prefixes) {
    std::vector<std::string> out;
    for (const std::string& l : all)
        for (const char* p : prefixes)
            if (l.rfind(p, 0) == 0) {
                out.push_back(l);
                break;
            }
    return out;
}

void sh_register_all() {
    scripts_register_all();
}

void sh_new_player() {
    init_player();
}
