// The household of the home map and the first day: the step area that starts the opening scene
// (`object_event_0001`), the collector of offerings on map 10 (`object_event_0002`), the master
// of the house on map 12 with his menu and the ranking panel (`object_event_0003`), the second
// member of the household (`object_event_0004`), and the first-day director on timer object 5
// (`object_event_0005`), which keeps the body's needs ticking every game minute, opens three
// residents at 10:00 and, from 15:00 on, plays the evening scene, assesses the day and ends the
// field loop.
//
// The long scenes are tables of beats (`Beat` rows: a line, a frame, a walk, a wait...) run by
// one executor; the talks are tables of cells (scripts/cells.h).
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// Objects of the day.
constexpr s32 HOUSE_COMPANION = 2;
constexpr s32 HOUSE_MASTER = 3;
constexpr s32 HOUSE_MEMBER = 4;
constexpr s32 HOUSE_DIRECTOR = 5;
constexpr s32 HOUSE_EVENING_HOST = 178; // the figure of map 21 in the evening scene
constexpr s32 HOUSE_EVENING_PROP = 271;
constexpr s32 HOUSE_TEN_OCLOCK[] = {225, 226, 227}; // residents opened at 10:00

// Portraits.
constexpr s32 HOUSE_PLAYER_PORTRAIT = 1000;
constexpr s32 HOUSE_COMPANION_PORTRAIT = 1203;
constexpr s32 HOUSE_MASTER_PORTRAIT = 1163;
constexpr s32 HOUSE_EVENING_PORTRAIT = 1207;

// The pose of the household's practice service: while the player sits in it, the master and the
// second member show fixed frames instead of turning the player.
constexpr s32 HOUSE_PRACTICE_POSE = 74;

// The evening: the hour it starts, the map it plays on, its first line there or elsewhere.
constexpr s32 HOUSE_EVENING_HOUR = 15;
constexpr s32 HOUSE_TEN_HOUR = 10;
constexpr s32 HOUSE_EVENING_MAP = 21;
constexpr s32 HOUSE_EVENING_LINE_THERE = 10701;
constexpr s32 HOUSE_EVENING_LINE_ELSEWHERE = 10700;

// The day's assessment: attribute 5 grows by the sum of the skills 0..23, the attributes and the
// fame over 25, and by the money over 700, up to 100; log line 333 shows the result.
constexpr s32 HOUSE_ASSESS_SKILLS = 24;
constexpr s32 HOUSE_ASSESS_SUM_DIVISOR = 25;
constexpr s32 HOUSE_ASSESS_MONEY_DIVISOR = 700;
constexpr s32 HOUSE_ASSESS_CAP = 100;
constexpr s32 HOUSE_ASSESS_LOG = 333;
// The new attribute 5 after the day's assessment (pure; the record is not changed).
s32 household_assessment(s32 attr5, s32 sum, s32 money);

// The collector of offerings: log line 280 with every offering that lowers attribute 5.
constexpr s32 HOUSE_OFFERING_LOG = 280;

void object_event_0001();
void object_event_0002();
void object_event_0003();
void object_event_0004();
void object_event_0005();

// ---- Beats -------------------------------------------------------------------------------------

// One step of a staged scene.
enum BeatOp : s32 {
    BEAT_SAY,        // say(a position, b portrait, c text)
    BEAT_SAY_AT,     // say_at(a object, c text)
    BEAT_RUN,        // texts c..d alternating: say(a, b, t) first, then say(e, f, t)
    BEAT_FRAME,      // obj_set_frame(a, b)
    BEAT_SHOW,       // obj_show_frame(a, b)
    BEAT_FRAMES,     // obj_show_frame(a, b + e x i) for i while the frame is not past c; d ms each
    BEAT_PLACE,      // obj_place(a, b, c, d)
    BEAT_PLACE_SHOW, // obj_place_show(a, b, c, d), then wait e ms when above 0
    BEAT_STRIDE,     // obj_place_show(a, b + i x e, c + i x f, d + i x g) for i < h, i ms each
    BEAT_PAIR,       // i < e: obj_set_frame(c, d + i) while i < f, obj_show_frame(a, b + i); g ms
    BEAT_WAIT,       // wait_ms(a)
    BEAT_WALK1,      // walk1(a camera; b to (c, d) at e)
    BEAT_WALK2,      // walk2(a camera; b to (c, d) at e; f to (g, h) at i)
    BEAT_ATTR,       // attr_set(a, b, c)
    BEAT_FADE_OUT,   // fade_out_scene
    BEAT_FADE_IN,    // fade_in_scene
    BEAT_MAP,        // change_map(a, b, c)
    BEAT_MUSIC,      // music_id := a and mssw_play_music(a, b)
    BEAT_PLAY,       // mssw_play_music(a, b), music_id unchanged
    BEAT_CURSOR,     // cursor_select(a)
    BEAT_CALL,       // fn()
};
struct Beat {
    s32 op = BEAT_WAIT;
    s32 a = 0, b = 0, c = 0, d = 0, e = 0, f = 0, g = 0, h = 0, i = 0;
    void (*fn)() = nullptr;
};
// Runs the beats in order. A BEAT_FRAMES or BEAT_STRIDE run has at most HOUSE_BEAT_STEPS_MAX
// steps (a mistyped range must not animate for ever).
constexpr s32 HOUSE_BEAT_STEPS_MAX = 64;
void beats_run(std::span<const Beat> beats);

// The scenes as tables (for the tests).
std::span<const Beat> household_opening_beats();
std::span<const Beat> household_evening_beats();

// ---- Slots -------------------------------------------------------------------------------------

constexpr const char* HOME_HOUSEHOLD_OWNER = "home household";
std::span<const ScriptSlot> home_household_slots();
ScriptRegion home_household_region();
