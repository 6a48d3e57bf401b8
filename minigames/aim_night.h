// The night target game: a shooting duel against a large figure that shows itself for 4.25 s of
// every 6.75 s. The figure carries six spots; the player's shots rise from the bottom of the
// screen and take hit points off the spots they land on. When two or more spots went untouched
// during a showing the figure strikes back at the player's bar. The player wins when all six
// spots stand at 0 hit points at the same moment and loses when the bar runs out. Speeds and
// damage come from the aiming skill (18); no tool, no ammunition, no quit button.
#pragma once
#include "engine/types.h"

constexpr s32 AIM_NIGHT_SPOTS = 6;
constexpr s32 AIM_NIGHT_OFFSETS = 3; // places a spot may take on the figure
constexpr s32 AIM_NIGHT_SHOTS = 3;
constexpr s32 AIM_NIGHT_SPOT_HP = 100;  // start and cap of a spot's hit points
constexpr s32 AIM_NIGHT_LAST_STAGE = 5; // a shot lands in its last stage
constexpr s32 AIM_NIGHT_START_X = 100, AIM_NIGHT_START_Y = 100;

// Stopwatch 3 times the figure: it shows below 4250 ms, the counter-strike comes after 4050 ms,
// and the stopwatch restarts after 6750 ms.
constexpr u32 AIM_NIGHT_SHOW_MS = 4250;
constexpr u32 AIM_NIGHT_STRIKE_MS = 4050;
constexpr u32 AIM_NIGHT_CYCLE_MS = 6750;

// Offsets of each spot from the figure's point; one of three is drawn at every showing.
struct AimNightOffset {
    s32 dx, dy;
};
extern const AimNightOffset AIM_NIGHT_SPOT_OFFSETS[AIM_NIGHT_SPOTS][AIM_NIGHT_OFFSETS];

struct AimNightSpot {
    s32 hp = AIM_NIGHT_SPOT_HP;
    bool hit = false; // hit during the current showing
    s32 offset = 0;   // 0..2
    s32 x = 0, y = 0; // screen point: the figure's point plus the offset
};

struct AimNightShot {
    s32 stage = -1; // -1 free, 0 launched, 1..5 rising
    s32 x = 0, y = 0;
    s32 step = 0; // pixels risen per stage
};

// What the presented frame shows, for a reader of the state at each present.
enum AimNightPhase : s32 {
    AIM_NIGHT_PLAY = 0,   // a frame of the game loop
    AIM_NIGHT_HIT = 1,    // one of the three frames of the figure being hit
    AIM_NIGHT_STRIKE = 2, // one of the two frames of the figure striking back
    AIM_NIGHT_DRAIN = 3,  // one of the frames of the bar losing a point
};

// The whole state of the running (or last) game.
struct AimNightState {
    s32 x = AIM_NIGHT_START_X, y = AIM_NIGHT_START_Y; // the figure's point
    bool visible = false;
    bool struck = false; // the counter-strike of this showing has been decided
    AimNightSpot spots[AIM_NIGHT_SPOTS];
    AimNightShot shots[AIM_NIGHT_SHOTS];
    // From skill 18 at the start.
    s32 step_ms = 0; // a shot rises one stage per this many milliseconds
    s32 allowed = 1; // shots that may be in the air
    s32 damage = 1;
    s32 bar = 0; // the player's bar; PlayerRecord.hp / 2 at the start
    AimNightPhase phase = AIM_NIGHT_PLAY;
    s32 anim_frame = 0; // frame of the hit, strike or drain animation shown
    s32 showings = 0;
    s32 strikes = 0; // counter-strikes that hit the bar
    s32 shots_fired = 0;
    s32 hits = 0;       // shots that landed on a spot
    s32 hit_frames = 0; // frames with at least one hit (each pays skill 18)
    s32 frames = 0;     // frames of the game loop presented
    s32 result = -1;    // -1 while running, then 1 won or 0 lost
};
extern AimNightState aim_night_state;

// The random draws of the game; rand_below unless a test replaces it.
extern s32 (*aim_night_rand)(s32 n);

// A new showing: every spot's hit flag and the counter-strike mark cleared, every spot healed by
// 10 + a draw below 10 (cap 100), the figure moved, every spot given a new offset.
void aim_night_show(AimNightState& s);
// 1 when a shot in its last stage at (x, y) lands on the spot (bounds exclusive).
bool aim_night_spot_hit_by(const AimNightSpot& spot, s32 x, s32 y);
// How many spots, counted from spot 0 upward, stand at 0 hit points (0..6).
s32 aim_night_spots_down(const AimNightSpot (&spots)[AIM_NIGHT_SPOTS]);

// Plays one game; 1 when all six spots stood at 0 hit points together, 0 when the bar ran out.
// Advances the clock by 60 minutes and leaves track 10041 playing and pointer shape 1 selected.
s32 game_aim_night();
