// Test harness for the world: built maps and sprites, engine start, test scripts, placing, input
// plans and the field-loop driver.
#include "tests/world_harness.h"

#include "tools/wav.h"

#include "engine/blit.h"
#include "engine/canvas.h"
#include "engine/dialog.h"
#include "engine/gisk.h"
#include "engine/image.h"
#include "engine/jpg.h"
#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "engine/transcript.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world/walk.h"
#include "engine/world/zone.h"
#include "engine/world_state.h"
#include "game/hub_seams.h"
#include "game/state.h"
#include "tools/jpeg_writer.h"
#include "tools/sprite_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <unistd.h>

// ---- Archive content --------------------------------------------------------------------------

std::vector<u8> world_solid_sprite(s32 w, s32 h, s32 hot_x, s32 hot_y, u16 colour) {
    return sprite_writer_solid(w, h, hot_x, hot_y, colour);
}

void world_put_sprite(ArcBuilder& b, s32 image_id, s32 w, s32 h, s32 hot_x, s32 hot_y, u16 colour) {
    b.put(u32(ARC_IMAGE_BASE + image_id), world_solid_sprite(w, h, hot_x, hot_y, colour));
    b.put(u32(ARC_IMAGE_BASE + image_id + 1), world_solid_sprite(w, 6, hot_x, 3, 0));
}

void world_put_tracks(ArcBuilder& b, std::initializer_list<s32> ids, u32 ms, u32 hz) {
    WavFormat format;
    format.rate = 8000;
    format.bits = 8;
    for (const s32 id : ids) b.put(u32(ARC_SOUND_BASE + id), wav_tone(format, ms, hz));
}

void world_put_player_images(ArcBuilder& b) {
    constexpr s32 first = 256;
    world_put_sprite(b, first, 20, 40, 10, 39, 0x03E0);
    for (s32 base : {256, 512})
        for (s32 id = base; id < base + 176; id += 2) {
            if (id == first) continue;
            b.alias(u32(ARC_IMAGE_BASE + id), u32(ARC_IMAGE_BASE + first));
            b.alias(u32(ARC_IMAGE_BASE + id + 1), u32(ARC_IMAGE_BASE + first + 1));
        }
}

namespace {

void put_u32(std::vector<u8>& v, size_t at, u32 x) {
    for (s32 i = 0; i < 4; i++) v[at + size_t(i)] = u8(x >> (8 * i));
}

// One zone entry: offsets, occlusion rows (depth 0), terrain rows, then the JPEG picture.
std::vector<u8> zone_entry(s32 zone_x, s32 zone_y, const WorldTerrain& terrain,
                           const std::vector<u8>& jpeg) {
    std::vector<u8> occlusion;
    for (s32 row = 0; row < ZONE_ROWS; row++) occlusion.insert(occlusion.end(), {2, 255, 0});
    std::vector<u8> rows;
    for (s32 row = 0; row < ZONE_ROWS; row++) {
        std::vector<u8> runs;
        s32 x = 0;
        while (x < ZONE_SIDE_PIXELS) {
            const u32 a = terrain(zone_x + x, zone_y + row) & 0xFFFFFF;
            s32 n = 1;
            while (x + n < ZONE_SIDE_PIXELS &&
                   (terrain(zone_x + x + n, zone_y + row) & 0xFFFFFF) == a)
                n++;
            runs.insert(runs.end(), {u8(n - 1), u8(a), u8(a >> 8), u8(a >> 16)});
            x += n;
        }
        if (runs.size() > 252) throw std::invalid_argument("world_put_map: row has too many runs");
        rows.push_back(u8(runs.size()));
        rows.insert(rows.end(), runs.begin(), runs.end());
    }
    std::vector<u8> e(size_t(ZONE_HEADER_BYTES), 0);
    auto append = [&e](const std::vector<u8>& part) {
        const size_t at = e.size();
        e.resize(at + part.size());
        if (!part.empty()) std::memcpy(e.data() + at, part.data(), part.size());
    };
    put_u32(e, 0, u32(e.size()));
    append(occlusion);
    put_u32(e, 4, u32(e.size()));
    append(rows);
    put_u32(e, 12, u32(e.size()));
    append(jpeg);
    return e;
}

} // namespace

void world_put_map(ArcBuilder& b, s32 map, s32 width, s32 height, const WorldTerrain& terrain,
                   s32 first_zone) {
    std::vector<u8> grid(size_t(MAP_GRID_BYTES), 0);
    const s32 cols = (width + 255) / 256;
    const s32 rows = (height + 255) / 256;
    s32 zone = first_zone;
    for (s32 r = 0; r < rows; r++)
        for (s32 c = 0; c < cols; c++, zone++) {
            // Our own test colours: a checker of two greens so that zone edges show.
            std::vector<u8> rgb(256 * 256 * 3);
            const bool light = ((r + c) & 1) != 0;
            for (size_t i = 0; i < rgb.size(); i += 3) {
                rgb[i] = 40;
                rgb[i + 1] = light ? 160 : 110;
                rgb[i + 2] = 40;
            }
            const std::vector<u8> jpeg = jpeg_writer_zone(rgb.data());
            if (jpeg.size() > 0xFFFF) throw std::invalid_argument("world_put_map: tile too large");
            b.put(u32(ARC_ZONE_BASE + zone), zone_entry(c * 256, r * 256, terrain, jpeg));
            put_u32(grid, size_t(4 * (r * MAP_GRID_SIDE + c)), u32(zone) << 16 | u32(jpeg.size()));
        }
    grid[16384] = u8(width);
    grid[16385] = u8(width >> 8);
    grid[16388] = u8(height);
    grid[16389] = u8(height >> 8);
    b.put(u32(ARC_MAP_BASE + map), grid);
}

void world_put_basics(ArcBuilder& b, s32 map, s32 width, s32 height) {
    arc_put_placeholder_content(b);
    world_put_player_images(b);
    world_put_map(b, map, width, height, [](s32, s32) { return WORLD_GROUND; });
}

// ---- Test scripts ------------------------------------------------------------------------------

namespace {

constexpr s32 SCRIPT_POOL = 16;
std::array<std::function<void()>, SCRIPT_POOL> script_bodies;
std::array<s32, SCRIPT_POOL> script_slots = [] {
    std::array<s32, SCRIPT_POOL> a{};
    a.fill(-1);
    return a;
}();
s32 end_slot = -1;
s32 watchdog_slot = -1;
bool watchdog_fired = false;

template <size_t I> void script_trampoline() {
    if (script_bodies[I]) script_bodies[I]();
}
template <size_t... I>
constexpr std::array<EventScript, SCRIPT_POOL> trampolines(std::index_sequence<I...>) {
    return {&script_trampoline<I>...};
}
constexpr std::array<EventScript, SCRIPT_POOL> script_entries =
    trampolines(std::make_index_sequence<SCRIPT_POOL>());

void release_scripts() {
    for (s32 i = 0; i < SCRIPT_POOL; i++) {
        if (script_slots[size_t(i)] >= 0) event_unregister(script_slots[size_t(i)]);
        script_slots[size_t(i)] = -1;
        script_bodies[size_t(i)] = nullptr;
    }
    end_slot = -1;
    watchdog_slot = -1;
}

// ---- Input plans -------------------------------------------------------------------------------

struct Plan {
    u64 due; // present count at which it runs
    std::function<void()> action;
};
std::vector<Plan> plans;
u64 presents_at_start = 0;
s32 steer_x = 0;
s32 steer_y = 0;
s32 steer_left = 0;

u64 now_ms() {
    return harness_elapsed_ms();
}

void steer_pointer() {
    harness_move(steer_x - world_state.camera_x, steer_y - world_state.camera_y, at_time(now_ms()));
}

void on_present(const u16*, u64) {
    if (steer_left > 0) {
        if (--steer_left == 0)
            harness_button_up(2, at_time(now_ms()));
        else
            steer_pointer();
    }
    const u64 count = harness_presents();
    std::vector<Plan> due;
    for (size_t i = 0; i < plans.size();) {
        if (plans[i].due <= count) {
            due.push_back(std::move(plans[i]));
            plans.erase(plans.begin() + std::ptrdiff_t(i));
        } else {
            i++;
        }
    }
    for (Plan& p : due) p.action();
}

} // namespace

s32 world_script(std::function<void()> body) {
    for (s32 i = 0; i < SCRIPT_POOL; i++) {
        if (script_slots[size_t(i)] >= 0) continue;
        for (s32 slot = OBJECT_EVENT_COUNT - 1; slot >= 0; slot--) {
            if (event_slot_taken(slot)) continue;
            script_bodies[size_t(i)] = std::move(body);
            if (event_register(slot, script_entries[size_t(i)], "world test") != 0)
                throw std::runtime_error("world_script: registration refused");
            script_slots[size_t(i)] = slot;
            return slot;
        }
        throw std::runtime_error("world_script: no free slot");
    }
    throw std::runtime_error("world_script: too many test scripts");
}

s32 world_end_slot() {
    if (end_slot < 0) end_slot = world_script([] { world_state.field_active = 0; });
    return end_slot;
}

// ---- Engine start ------------------------------------------------------------------------------

namespace {

// What a program holds before its game starts, beyond the engine's own start-up: every saved record
// cleared, no transcript observer, the text words as the game thread leaves them before its first
// screen, the menu colours, and every seam of the hub at its default; the random generator and its
// counter as a fresh process holds them, so that a test draws the same numbers in a process of its
// own and after other tests. A test that changed any of them leaves nothing behind for the next.
void program_start_state() {
    state_reset();
    rt_srand(1);
    rand_counter = RAND_COUNTER_START;
    transcript_observer = nullptr;
    transcript_draws = false;
    text_scrambled = 1;
    kanji_spacing = 0;
    kanji_line_chars = 0;
    text_reveal_limit = 0;
    number_clear();
    dialog_reset();
    hub_seams_reset();
}

// Writing the archive was most of a test's start-up, and most tests start from the placeholder
// content with a few entries of their own. The content is written once per process into a
// directory of the process's own; a test's archive is a copy of it with the test's own entries
// added by arc_write_chained_over (or a full write where that does not fit). The copy is the
// test's own, so a test may still damage its archive.
class ArchiveFiles {
  public:
    ~ArchiveFiles() {
        if (dir_.empty()) return;
        std::remove(base_path_.c_str());
        rmdir(dir_.c_str());
    }
    void write(const ArcBuilder& b, const std::string& to) {
        if (dir_.empty()) {
            const char* tmp = std::getenv("TMPDIR");
            std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/morvanta-arc-XXXXXX";
            if (mkdtemp(pattern.data()) == nullptr)
                throw std::runtime_error("engine_start: no directory for the archive");
            dir_ = pattern;
            base_path_ = dir_ + "/" + GISK_CHAINED_FILE;
            arc_put_placeholder_content(base_);
            arc_write_chained(base_, base_path_);
        }
        if (!arc_write_chained_over(base_, base_path_, b, to)) arc_write_chained(b, to);
    }

  private:
    ArcBuilder base_;
    std::string dir_;
    std::string base_path_;
};

} // namespace

void engine_start(const ArcBuilder& b, HarnessConfig config) {
    static ArchiveFiles archives;
    archives.write(b, GISK_CHAINED_FILE);
    if (config.physical_memory == (256ull << 20)) config.physical_memory = 16ull << 20;
    harness_reset(config);
    shell_shutdown();
    shell_startup("test");
    game_drawing_setup();
    program_start_state();
}

void world_start(const ArcBuilder& b, HarnessConfig config) {
    engine_start(b, config);
    text_table_load();
    mssw_reset();
    mssw_init();
    cursor_built_image = 0;
    cursor_sent_slot = 99;
    cursor_slot = 0;
    std::memset(back_buffer, 0, size_t(SCREEN_PIXELS) * 2);
    label_clear();
    log_clear();
    walk_reset();
    mouse_buttons = 0;
    click_kind = 0;
    click_x = 0;
    click_y = 0;
    pointer_x = 0;
    pointer_y = 0;
    key_code = 0;
    field_point_x = 0;
    field_point_y = 0;
    field_buttons = 0;
    release_scripts();
    plans.clear();
    steer_left = 0;
    watchdog_fired = false;
    presents_at_start = harness_presents();
    harness_on_present(on_present);
}

void world_stop() {
    harness_on_present(nullptr);
    plans.clear();
    steer_left = 0;
    release_scripts();
    shell_shutdown();
}

// ---- Placing -----------------------------------------------------------------------------------

void world_place_player(s32 map, s32 x, s32 y) {
    map_load(map);
    world_place_object(0, map, x, y, 0, 0, 3);
    attr_set(0, ATTR_SHADOW, 1);
    attr_set(0, ATTR_FRAME, player_image_base() + stand_frames[world_state.walk_sector & 7]);
    camera_follow(0);
}

void world_place_object(s32 obj, s32 map, s32 x, s32 y, s32 frame, s32 slot, s32 layer) {
    std::memset(&object_table[obj], 0, sizeof object_table[obj]);
    attr_set(obj, ATTR_IN_USE, 1);
    attr_set(obj, ATTR_ACTIVE, 1);
    attr_set(obj, ATTR_MAP, map);
    attr_set(obj, ATTR_X, x);
    attr_set(obj, ATTR_Y, y);
    attr_set(obj, ATTR_LAYER, layer);
    attr_set(obj, ATTR_EVENT, slot);
    attr_set(obj, ATTR_FRAME, frame);
}

void world_arm_timer(s32 obj, s32 frames, bool anymap) {
    attr_set(obj, ATTR_TIMER_ON, 1);
    attr_set(obj, ATTR_TIMER, frames);
    attr_set(obj, ATTR_TIMER_ANYMAP, anymap ? 1 : 0);
}

void world_fire(s32 obj, s32 kind) {
    event_fire(obj, kind);
}

// ---- Input plans -------------------------------------------------------------------------------

void world_after_presents(u64 presents, std::function<void()> action) {
    plans.push_back({harness_presents() + 1 + presents, std::move(action)});
}

void world_hold_right_toward(s32 x, s32 y, s32 frames) {
    steer_x = x;
    steer_y = y;
    steer_left = frames;
    steer_pointer();
    harness_button_down(2, at_time(now_ms()));
}

void world_click_map(s32 x, s32 y) {
    harness_click(x - world_state.camera_x, y - world_state.camera_y, 1, at_time(now_ms()));
}

u64 world_presents() {
    return harness_presents() - presents_at_start;
}

// ---- Driver ------------------------------------------------------------------------------------

WorldRun world_run_field(s32 frame_limit) {
    if (watchdog_slot < 0)
        watchdog_slot = world_script([] {
            watchdog_fired = true;
            world_state.field_active = 0;
        });
    watchdog_fired = false;
    std::memset(&object_table[WORLD_WATCHDOG_OBJECT], 0, sizeof(ObjectRecord));
    attr_set(WORLD_WATCHDOG_OBJECT, ATTR_IN_USE, 1);
    attr_set(WORLD_WATCHDOG_OBJECT, ATTR_ACTIVE, 1);
    attr_set(WORLD_WATCHDOG_OBJECT, ATTR_EVENT, watchdog_slot);
    world_arm_timer(WORLD_WATCHDOG_OBJECT, frame_limit, true);

    WorldRun run;
    const u64 before = harness_presents();
    try {
        field_loop();
        run.ended = true;
    } catch (const HarnessBudgetExceeded& e) {
        run.budget_spent = true;
        world_state.field_active = 0;
        ADD_FAILURE() << "field loop blocked: " << e.what() << " with " << harness_pending_input()
                      << " input events pending";
    }
    run.presents = harness_presents() - before;
    run.watchdog = watchdog_fired;
    if (run.watchdog)
        ADD_FAILURE() << "field loop ran " << frame_limit << " frames without a script ending it";
    return run;
}
