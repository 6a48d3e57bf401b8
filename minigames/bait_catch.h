// The bait catch game: the player picks a rod and a bait, walks along the bank, casts with a
// strength gauge, waits for a bite and plays the hooked catch by holding (reeling) and releasing
// (slack) the left button until it is landed or lost. Landed catches pay score and growth of
// skill 19 and attribute 27 at once, and their items and skill 19's known entries after the game.
// A game lasts 101 steps of 3 seconds; a catch being played is played out first.
#pragma once
#include "engine/types.h"
#include "minigames/frame.h"

constexpr s32 BAIT_KINDS = 7;       // catch kinds 0..6
constexpr s32 BAIT_ZONES = 7;       // zones of the water, 0..6
constexpr s32 BAIT_COLUMNS = 18;    // columns of the bank profile
constexpr s32 BAIT_ROD_ITEM = 2230; // rods: items 2230..2238, tool numbers 0..8
constexpr s32 BAIT_RODS = 9;
constexpr s32 BAIT_BAIT_ITEM = 2240; // baits: items 2240..2248, kinds 0..8
constexpr s32 BAIT_BAIT_ITEMS = 9;
constexpr s32 BAIT_EXTRA_ITEM = 1880; // bait kind 9, offered only by variant 9
constexpr s32 BAIT_EXTRA_KIND = 9;
constexpr s32 BAIT_BAITS = 10;      // entries of the bait list at most
constexpr s32 BAIT_STEP_MS = 3000;  // one step of the time bar
constexpr s32 BAIT_LAST_STEP = 100; // the game ends once the step count exceeds it
constexpr u32 BAIT_FRAME_MS = 25;   // shortest frame
constexpr u32 BAIT_GAUGE_STEP_MS = 15;
constexpr s32 BAIT_GAUGE_STEPS = 39;
constexpr s32 BAIT_START_X = 320;
constexpr s32 BAIT_FISH_X = 310, BAIT_FISH_Y = 260; // where a hooked catch starts
constexpr s32 BAIT_LOSS_FRAMES = 50;
constexpr s32 BAIT_SKILL = 19; // growth index of the catching skill (and its known list)
constexpr s32 BAIT_ATTR = 27;
constexpr s32 BAIT_MUSIC = 10090;
constexpr s32 BAIT_STAMINA_COST = 100;
constexpr s32 BAIT_KNOWN_FIRST = 50; // catch kind k adds id 50 + k to known list 19

// One catch kind: its strength at the bite, the value it pays, the item it gives after the game
// and its name text.
struct BaitKind {
    s32 strength, value, item, name_text;
};
extern const BaitKind BAIT_KIND_TABLE[BAIT_KINDS];
extern const FrameBox BAIT_ZONE_TABLE[BAIT_ZONES];
extern const s32 BAIT_BANK_BOTTOM[BAIT_COLUMNS]; // bottom y of each 16-pixel column from x 160

enum BaitPhase : s32 {
    BAIT_CHOOSE_ROD = -2,
    BAIT_CHOOSE_BAIT = -1,
    BAIT_READY = 0,
    BAIT_LINE_OUT = 1,
    BAIT_PLAYING = 2,
};

// What is on the screen, for a test that plays by input.
enum class BaitScreen : s32 {
    Play,    // a pass of the game loop (the phase tells which)
    Gauge,   // the cast's strength gauge runs
    Cast,    // the cast's animation
    Bite,    // the bite's animation
    Picture, // the landed catch's picture, until a button is down
    Loss,    // the frames of a lost catch
    Final,   // the final screen, until the right button alone is down
    Done,    // the final screen is closed (the catches are then handed over)
};

enum BaitOutcome : s32 {
    BAIT_NO_OUTCOME = 0,
    BAIT_LINE_BROKE = 1,
    BAIT_GOT_AWAY = 2,
    BAIT_TOO_LONG = 3,
};

enum BaitEnd : s32 {
    BAIT_RUNNING = 0,
    BAIT_END_TIME = 1,    // the time bar ran out
    BAIT_END_NO_BAIT = 2, // the last bait was spent
    BAIT_END_QUIT = 3,    // the quit button
    BAIT_END_NOTHING = 4, // no rod or no bait held: the game returned at once
};

struct BaitEntry {
    s32 kind, count; // bait kind 0..9 and the count held
};

// The whole state of the running (or last) game.
struct BaitState {
    s32 variant = 0;
    s32 phase = BAIT_CHOOSE_ROD;
    BaitScreen screen = BaitScreen::Play;
    s32 rods[BAIT_RODS] = {}; // tool numbers held, in inventory order
    s32 rod_count = 0;
    s32 rod = 0; // index of the chosen rod
    BaitEntry baits[BAIT_BAITS] = {};
    s32 bait_count = 0;
    s32 bait = 0; // index of the chosen bait
    s32 player_x = BAIT_START_X;
    s32 depth = 0;       // cast depth 0..20
    s32 gauge_step = -1; // the gauge's step while it runs
    s32 hook_x = 0, hook_y = 0;
    s32 zone = -1;   // zone of the hook point, -1 none
    s32 hooked = -1; // the kind that will bite, -1 none
    s32 bite = 0;    // frames until the bite
    // The catch being played.
    s32 x = 0, y = 0;
    s32 strength = 0, tension = 0, pull = 0;
    s32 slack_a = 0, slack_b = 0; // slack counters
    s32 idle = 0;                 // frames of slack since the last switch
    bool held = false;            // the left button was held in this frame
    bool switched = false;        // the button has changed at least once in this fight
    s32 fight_seconds = 0;
    s32 outcome = BAIT_NO_OUTCOME;
    s32 last_outcome = BAIT_NO_OUTCOME; // outcome of the last lost catch
    s32 landed = 0, lost = 0;           // catches landed and lost this game
    s32 score = 0;
    s32 catches[BAIT_KINDS] = {};
    s32 end = BAIT_RUNNING;
    s32 t = 0;      // steps of 3 seconds since the start
    s32 frames = 0; // passes of the game loop
    // Animation counters.
    s32 water = 0, bob = 0, line = 0, reel_line = 0, fish = 0, picture = 0;
};
extern BaitState bait_state;

// The random draws of the game; rand_below unless a test replaces it.
extern s32 (*bait_rand)(s32 n);

// The hook point of a cast from `player_x` with `depth`, on the bank profile.
void bait_hook_point(s32 player_x, s32 depth, s32* x, s32* y);
// The zone holding (x, y) (the last that matches), -1 when none.
s32 bait_zone_at(s32 x, s32 y);
// The kind that bites in `zone` with the skill, the bait kind and the game's variant; -1 none.
s32 bait_kind_for(s32 zone, s32 skill, s32 bait_kind, s32 variant);
// The rod's line strength for tool number `tool`.
s32 bait_line_strength(s32 tool);

// Plays one game. `kind` 9 also offers item 1880 as bait kind 9; other callers pass 0.
void game_bait_catch(s32 kind);
