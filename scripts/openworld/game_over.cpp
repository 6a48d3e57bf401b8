#include "scripts/openworld/game_over.h"

#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "platform/platform.h"
#include "scripts/episode_kit.h"
#include "scripts/home/player.h"

void game_over() {
    mssw_play_music(GAME_OVER_MUSIC, 0);
    fade_out();
    draw_image(0, 0, GAME_OVER_PICTURE, 0);
    fade_in();
    // A press while the picture fades in or in its first second is dropped.
    mouse_buttons = 0;
    wait_ms(GAME_OVER_DEAF_MS);
    wait_button();
    text_size(GAME_OVER_TEXT_SIZE);
    print_text_vertical_seen(GAME_OVER_TEXT_X, GAME_OVER_TEXT_Y, GAME_OVER_TEXT);
    wait_button();
    fade_out();
    game_quit();
}

void object_event_1300() {
    player_screen_script();
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {{OPEN_WORLD_PLAYER_EVENT, object_event_1300}};
static_assert(slots_distinct(SLOTS));
constexpr SlotRange COMPLETE[] = {{1300, 1300}};
} // namespace

std::span<const ScriptSlot> open_world_player_slots() {
    return SLOTS;
}

ScriptRegion open_world_player_region() {
    return {
        .owner = OPEN_WORLD_PLAYER_OWNER, .slots = open_world_player_slots, .complete = COMPLETE};
}
