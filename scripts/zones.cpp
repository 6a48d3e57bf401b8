#include "scripts/zones.h"

#include "engine/world/object.h"
#include "engine/world/staging.h"

namespace {

void play_scene(const StepZone& z) {
    if (!z.cues.empty()) cues_run(z.cues);
    if (z.scene != nullptr) z.scene();
}

void bar(const StepZone& z) {
    if (z.text >= 0) voice_say(z.voice, z.text);
    s32 x = z.back_x, y = z.back_y;
    if (z.back_by) {
        x += attr_get(0, ATTR_X);
        y += attr_get(0, ATTR_Y);
    }
    walk1(0, 0, x, y, z.back_speed);
    // The walk the player asked for ends here, with the click that closed the line.
    modal_return();
}

} // namespace

void step_zone_on(s32 obj, const StepZone& z) {
    if (!script_obj_valid(obj)) return;
    switch (z.kind) {
    case ZONE_ONCE:
        attr_set(obj, ATTR_ACTIVE, 0);
        play_scene(z);
        break;
    case ZONE_BAR:
        bar(z);
        break;
    case ZONE_LIVE:
        play_scene(z);
        break;
    default:
        break;
    }
}

void step_zone(const StepZone& z) {
    step_zone_on(script_self(), z);
}
