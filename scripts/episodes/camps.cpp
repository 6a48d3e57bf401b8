#include "scripts/episodes/camps.h"

#include "scripts/cues.h"
#include "scripts/kit.h"

#include <array>

// The scene is built at the call: the places, frames and texts are the caller's.
void visitor_scene(const VisitorScene& v) {
    using namespace cue;
    constexpr ObjId VISITOR{VISITOR_OBJ};
    constexpr Voice GUEST = box(2, 1163_img);
    constexpr Voice ME = box(3, 1000_img);
    const std::array<Cue, 9> visit{
        place_on(VISITOR, MapId(v.map), v.x0, v.y0, FrameId(v.visitor_frame)),
        on(VISITOR),
        show_frame(VISITOR, FrameId(v.visitor_frame)),
        walk(CUE_CAMERA_STAYS, mover(VISITOR, v.x1, v.y1, VISITOR_SPEED)),
        show_frame(ObjId(0), FrameId(v.player_frame)),
        say(GUEST.position, ImageId(GUEST.portrait), TextId(v.first_text)),
        say(GUEST.position, ImageId(GUEST.portrait), TextId(v.first_text + 1)),
        pairs(TextId(v.first_text + 2), TextId(v.first_text + VISITOR_TEXTS - 1), ME, GUEST),
        off(VISITOR),
    };
    cues_run(visit);
}
