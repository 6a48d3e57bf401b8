// The aiming games: a shooting range. The player picks a shooting tool from the inventory and
// shoots at targets that show up for a few frames at fixed places of a field picture; every shot
// costs one item 2200 and needs a few frames to reach its point (more for far, high targets).
// Kills pay score and growth of attribute 29 and skill 18, and after the game items and entries
// of known list 18. A strong main target with three weak spots comes once the player is good
// enough. `game_aim_target` is a duel against that main target alone.
#pragma once
#include "engine/types.h"
#include "minigames/frame.h"

constexpr s32 AIM_KINDS = 7;
constexpr s32 AIM_BOARD = 4; // the moving board, which goes through stages 1..3
constexpr s32 AIM_PLACES = 10;
constexpr s32 AIM_SPOT_OFFSETS = 8;
constexpr s32 AIM_SPOTS = 3;
constexpr s32 AIM_MAX_SLOTS = 4;
constexpr s32 AIM_TOOLS_SHOWN = 10;
constexpr s32 AIM_TOOL_FIRST = 2210; // items 2210..2218 are tools 0..8
constexpr s32 AIM_TOOL_LAST = 2218;
constexpr s32 AIM_AMMO = 2200;
constexpr s32 AIM_SECONDS = 100;
constexpr s32 AIM_SHOT_FRAMES_MAX = 5;
constexpr s32 AIM_EMPTY_WAIT = 300; // frames an empty slot waits
constexpr s32 AIM_START_WAIT = 10;  // frames before the first targets
constexpr s32 AIM_FRAME_MS = 25;
constexpr s32 AIM_DUEL_MAIN_HP = 600;
constexpr s32 AIM_DUEL_MODE = 102;
constexpr s32 AIM_SKILL = 18;
constexpr s32 AIM_ATTR = 29;
constexpr s32 AIM_KNOWN_LIST = 18;

constexpr FrameBox AIM_FIELD_BOX = {179, 35, 456, 324};
constexpr s32 AIM_SHOT_BASE_Y = 324;
// Where the board stands, whatever its point.
constexpr s32 AIM_BOARD_X = 209, AIM_BOARD_Y = 27;
// The board's hit box in stages 1..3 (index stage - 1).
extern const FrameBox AIM_BOARD_BOXES[3];

// One target kind: its picture and anchors, the half-size of its hit box around its point, its
// life in frames, hit points, score, the seconds its escape adds and the sound of its escape.
struct AimKind {
    s32 image, anchor_x, anchor_y, hit_anchor_x, hit_anchor_y, half_w, half_h;
    s32 life, hp, points, penalty, escape_sound; // escape_sound -1: none
};
extern const AimKind AIM_KIND_TABLE[AIM_KINDS];

// A place where targets appear: the point is drawn inside these bounds.
struct AimPlace {
    s32 x_min, x_max, y_min, y_max;
};
extern const AimPlace AIM_PLACE_TABLE[AIM_PLACES];

// The main target's weak spots: offsets from its drawn corner; a spot is a 27 x 27 box.
extern const s32 AIM_SPOT_X[AIM_SPOT_OFFSETS];
extern const s32 AIM_SPOT_Y[AIM_SPOT_OFFSETS];
constexpr s32 AIM_SPOT_SIZE = 26; // the box runs offset .. offset + 26, both inclusive
// How far above its path the shot picture hangs in flight frames 0..4.
extern const s32 AIM_SHOT_DROP[AIM_SHOT_FRAMES_MAX];

struct AimSlot {
    s32 kind = -1;  // -1: empty
    s32 place = -1; // -1: none
    s32 x = 0, y = 0;
    s32 life = AIM_START_WAIT; // frames left
    s32 hp = 0;
    bool hit = false;  // the shot landing in this frame hit it
    bool main = false; // it is the main target
};

struct AimShot {
    s32 frames_left = 0; // 0: no shot in flight
    s32 frame = 0;       // flight frame 0..4
    s32 x = 0, y = 0;    // where it lands
    s32 step = 0;        // how far it climbs per frame
};

// Where the game is, for a test that drives it by input at each present.
enum class AimPhase : s32 {
    Idle,
    Instructions,
    Choosing,
    Playing,
    HitAnim,
    EscapeAnim,
    Final,
    Done
};

// What the pending random draw is for (a test's script answers by purpose).
enum class AimDraw : s32 {
    None,
    PlaceRoll,  // rand(10): 4 and above give no place
    PlaceSide,  // rand(10): 9 the upper places, 8 the board, else the lower places
    PlaceUpper, // rand(3): place 1 + n
    PlaceLower, // rand(6): place 4 + n
    Kind,       // rand(10): the kind at places 4..9
    MainPlace,  // rand(10), up to twice: below 4 takes place 4, then 5; else 8
    Spot,       // rand(8): one of the main target's spots
    PointX,     // the point inside the place
    PointY,
    Comment,     // rand(10): 6 and above let a new comment come
    CommentPick, // which of the coach's comments
};

enum AimEnd : s32 { AIM_RUNNING = 0, AIM_END_PLAY = 1, AIM_END_QUIT = 2 };

// The whole state of the running (or last) game.
struct AimState {
    s32 mode = 0, coach = -1, slot_count = 0, main_kind = -1, unlock_skill = 0, unlock_score = 0;
    bool duel = false; // game_aim_target
    AimPhase phase = AimPhase::Idle;
    s32 page = 0; // instruction page shown
    s32 tools[AIM_TOOLS_SHOWN] = {};
    s32 tool_count = 0;
    s32 tool = -1; // the chosen tool 0..8
    s32 arrows = 0;
    s32 score = 0;
    s32 kills[AIM_KINDS] = {};
    s32 penalty = 0; // seconds the escapes added
    s32 main_hp = 0;
    s32 main_full_hp = 0;
    s32 main_slot = -1;
    bool unlocked = false;
    s32 stage = 1; // the board's stage
    s32 spot[AIM_SPOTS] = {};
    bool spot_hit[AIM_SPOTS] = {};
    AimShot shot;
    s32 comment = 0;
    s32 comment_count = 0;
    AimSlot slot[AIM_MAX_SLOTS];
    s32 secs = 0;
    s32 end = AIM_RUNNING;
    s32 final_text = 0;
    s32 anim_slot = -1, anim_frame = 0;
    s32 frames = 0;   // play frames presented
    s32 shots = 0;    // shots fired
    s32 landings = 0; // shots that landed
    AimDraw drawing = AimDraw::None;
};
extern AimState aim_state;

// The game's random draws; rand_below unless a test replaces it. A test may read
// aim_state.drawing to know what a draw is for.
extern s32 (*aim_rand)(s32 n);

// Flight frames and the per-frame climb of a shot landing at height y.
s32 aim_flight_frames(s32 y);
s32 aim_flight_step(s32 y);
// Damage of a shot: the chosen tool's (5 per tool step) plus skill 18 / 5.
s32 aim_shot_damage();
// The main target's drawn corner.
s32 aim_corner_x(const AimSlot& slot);
s32 aim_corner_y(const AimSlot& slot);
// The spot (0..2) of the main target in `slot` not hit yet whose box holds (x, y); -1 none.
s32 aim_open_spot_at(const AimSlot& slot, s32 x, s32 y);
// 1 when a shot landing at (x, y) hits the ordinary target or the board in `slot`.
bool aim_target_hit_by(const AimSlot& slot, s32 x, s32 y);

// The full game; the final score is left in PlayerRecord.turn_done. `coach` >= 1 is a person
// whose portrait and comments accompany the game. Returns at once when no tool or no ammunition
// is held.
void game_aim(s32 mode, s32 coach, s32 slots, s32 main_kind, s32 unlock_skill, s32 unlock_score);
// Five instruction pages by the coach, then game_aim(0, 250, 2, 3, 30, 150).
void game_aim_framed();
// The duel against the main target with 600 hit points: 1 when it was destroyed, else 0 (also
// when no tool or no ammunition is held). The mode, a5 and a6 have no effect.
s32 game_aim_target(s32 mode, s32 coach, s32 slots, s32 main_kind, s32 a5, s32 a6);
