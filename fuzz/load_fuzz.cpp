// Fuzz target for loading saved games: arbitrary bytes go to the image check as they are, then a
// copy cut or padded with zeros to the image size takes the main path. An image that passes the
// check is written as the file of slot 3 and loaded by `load_game`, and the code that indexes
// tables with saved values runs on what it holds: the menu availability, the dashboard, and one
// pass of the hub with a click on the rest button (the top bar's button 7). Each run may present a
// limited number of frames and the engine runs under a budget of virtual time, so a loop that
// waits for input it never gets ends; the engine is started again after such an end (and after a
// while), not for every run, since its start costs more than most runs.
// No input may crash, read or write out of bounds or end in a fatal error; a spent budget is an
// acceptable end.
//
// Seeds: fuzz/seeds/load_fuzz_seeds.cpp.
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "engine/transcript.h"
#include "game/dashboard.h"
#include "game/game_start.h"
#include "game/hub.h"
#include "game/player.h"
#include "game/save.h"
#include "platform/harness.h"
#include "platform/platform.h"
#include "tools/arcbuild.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Rest button of the top bar: x 77 x 7 + 14 .. 77 x 7 + 87, y 347..465.
constexpr s32 REST_X = 77 * 7 + 50;
constexpr s32 REST_Y = 400;
constexpr s32 FUZZ_SLOT = 3;

constexpr u64 RUN_PRESENTS = 60;
constexpr u64 ENGINE_BUDGET_MS = 10 * 60 * 1000;
constexpr u64 ENGINE_RESTART_MS = ENGINE_BUDGET_MS / 2;

bool archive_written = false;
bool engine_ready = false;
u64 run_first_present = 0;

// Dialogues answer themselves: every wait ends at once and every choice takes its first option,
// so that a handler's scene reaches the dashboard and the click on rest.
s32 answer_dialogues(const TranscriptEntry& e) {
    if (e.kind == TRANSCRIPT_WAIT) return TRANSCRIPT_SKIP;
    if (e.kind == TRANSCRIPT_CHOOSE) return 0;
    return TRANSCRIPT_RUN;
}

// The engine as the program starts it, on the placeholder archive, with a fresh budget.
void engine_restart() {
    if (!archive_written) {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        arc_write_chained(b, GISK_CHAINED_FILE);
        archive_written = true;
    }
    HarnessConfig c;
    c.physical_memory = 16ull << 20;
    c.budget_ms = ENGINE_BUDGET_MS;
    c.budget_presents = u64(1) << 60;
    harness_reset(c);
    shell_shutdown();
    shell_startup("load fuzz");
    game_drawing_setup();
    text_table_load();
    mssw_reset();
    mssw_init();
    transcript_observer = answer_dialogues;
    harness_on_present([](const u16*, u64 present) {
        if (present - run_first_present > RUN_PRESENTS)
            throw HarnessBudgetExceeded("load fuzz: presents of one run");
    });
    engine_ready = true;
}

void write_image(const u8* image) {
    char name[16];
    save_image_name(FUZZ_SLOT, name);
    std::FILE* f = std::fopen(name, "wb");
    if (!f) __builtin_trap();
    if (std::fwrite(image, 1, SAVE_IMAGE_SIZE, f) != size_t(SAVE_IMAGE_SIZE)) __builtin_trap();
    std::fclose(f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    static HarnessTempDir dir; // the game directory for the whole run
    static bool tables_built = false;

    // Any length, as it came.
    save_image_valid(data, size);

    static std::vector<u8> image(SAVE_IMAGE_SIZE);
    std::memset(image.data(), 0, image.size());
    std::memcpy(image.data(), data, size < image.size() ? size : image.size());
    if (!save_image_valid(image.data(), image.size())) return 0;

    try {
        // A fresh engine after a run that ended by a budget, or once half of the virtual-time
        // budget is spent.
        if (!engine_ready || harness_elapsed_ms() > ENGINE_RESTART_MS) engine_restart();
        run_first_present = harness_presents();
        if (!tables_built) {
            game_tables_init(); // the tables that saved games do not carry
            tables_built = true;
        }
        write_image(image.data());
        if (load_game(FUZZ_SLOT) != 1) __builtin_trap(); // a valid image must load
        if (std::memcmp(image.data() + SAVE_BLOCK_OFFSET[2], &player_record,
                        sizeof(player_record)) != 0)
            __builtin_trap();
        hub_menu_update();
        hub_draw();
        // Clicks that handlers or the dashboard's own clearing may swallow, the one on rest, and
        // the one that ends rest's wait for a button; clicks a run leaves unused serve the next.
        if (harness_pending_input() == 0)
            for (s32 i = 0; i < 4; ++i) harness_click(REST_X, REST_Y);
        hub_pass();
    } catch (const HarnessBudgetExceeded&) {
        engine_ready = false;
    }
    return 0;
}
