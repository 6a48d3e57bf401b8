// The five teachers of growth 23 (skill 23) in the two towns: 421, 426, 443 in town A (map 102),
// 428 in its interior map 115 and 1529 in the city's map 208. Each gives each of its lessons once;
// all but 421 walk back and forth on their timers (1529 walks once and then stands).
//
// A lesson is a short scene around the teacher's words: the screen fades, the player is placed at
// the training spot beside a prop, shows its lesson animation, and after the closing words fades
// back to where it came from; then the growth is paid. Nobody turns for these talks.
#pragma once
#include "engine/types.h"
#include "scripts/cues.h"
#include "scripts/kit.h"

#include <array>
#include <span>

// ---- The lesson ------------------------------------------------------------------------------

constexpr s32 GROWTH_TEACHER_SKILL = 23;
constexpr s32 GROWTH_LESSON_FRAMES = 24; // the player's animation, 100 ms a frame
constexpr s32 GROWTH_LESSON_FRAME_MS = 100;
constexpr s32 GROWTH_LESSON_NO_PROP = -1;

// One lesson's place and picture: the training spot, the animation's first frame (a negative
// frame runs down through the mirrored set, a positive one up), the prop shown meanwhile and
// where the player stands afterwards.
struct GrowthLesson {
    s32 spot_x = 0, spot_y = 0;
    s32 first = 0;
    s32 prop = GROWTH_LESSON_NO_PROP;
    s32 back_x = 0, back_y = 0;
};

// The cue rows of a lesson up to the teacher's closing words: fade, the player at the spot on top
// without a shadow, the prop shown, fade in, the 24 frames.
constexpr std::array<Cue, 6> growth_lesson_start(const GrowthLesson& l) {
    using namespace cue;
    const ObjId player{0};
    return {fade_out_of_scene(),
            place(player, l.spot_x, l.spot_y, FrameId(l.first)),
            on_top(player, true),
            on(ObjId(l.prop)),
            fade_into_scene(),
            frame_steps(player, FrameId(l.first), l.first < 0 ? -1 : 1, GROWTH_LESSON_FRAMES,
                        GROWTH_LESSON_FRAME_MS)};
}
// The rows after the closing words: fade, the player back with frame -424 on its standing layer
// with its shadow, the prop hidden, fade in.
constexpr std::array<Cue, 5> growth_lesson_end(const GrowthLesson& l) {
    using namespace cue;
    const ObjId player{0};
    return {fade_out_of_scene(), place(player, l.back_x, l.back_y, -424_f), on_top(player, false),
            off(ObjId(l.prop)), fade_into_scene()};
}

// ---- Scripts ---------------------------------------------------------------------------------

// Calls visit(frame) for every frame these scripts show (idle loop, walking blocks, the player's
// lesson animations and standing frames), so that a picture can be supplied for each.
void growth_teachers_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

void object_event_0187(); // 421 of map 102: idles; one lesson
void object_event_0192(); // 426 of map 102: walks; a talk and a lesson by menu
void object_event_0194(); // 428 of map 115: walks; a talk and a lesson by menu
void object_event_0209(); // 443 of map 102: walks; one lesson
void object_event_0817(); // 1529 of map 208: walks once; two lessons

constexpr const char* GROWTH_TEACHERS_OWNER = "teachers of growth 23";
std::span<const ScriptSlot> growth_teachers_slots();
ScriptRegion growth_teachers_region();
