// The animation library and its player: installing and checking a library, the twelve tracks, and
// one step of playback with its shadow, body and overlay passes.
#include "engine/anim.h"

#include "engine/blit.h"
#include "engine/image.h"
#include "engine/mssw.h"
#include "engine/shell.h"

#include <bit>
#include <cstring>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "the library's records are read in place as little-endian");

// The embedded library is in place from program start; anim_reset checks it.
const u8* anim_library = anim_builtin_library;
const u32* anim_offsets = anim_builtin_offsets;

s32 anim_track_anim[ANIM_TRACKS];
s32 anim_track_frame[ANIM_TRACKS];
s32 anim_track_x[ANIM_TRACKS];
s32 anim_track_y[ANIM_TRACKS];
s32 anim_track_mirror[ANIM_TRACKS];
s32 anim_track_dim[ANIM_TRACKS];
s32 anim_track_wait[ANIM_TRACKS];
s32 anim_track_hit_x[ANIM_TRACKS][ANIM_HIT_POINTS];
s32 anim_track_hit_y[ANIM_TRACKS][ANIM_HIT_POINTS];
s32 anim_all_done = 0;

namespace {

// A library installed from bytes lives here; the embedded one is used in place.
std::vector<u8> installed_bytes;
std::vector<u32> installed_offsets;

constexpr u32 FRAME_SIZE = sizeof(AnimFrame);
constexpr u32 PART_SIZE = sizeof(AnimPart);

AnimFrame frame_at(u32 pos) {
    AnimFrame f;
    std::memcpy(&f, anim_library + pos, sizeof f);
    return f;
}

AnimPart part_at(u32 pos) {
    AnimPart p;
    std::memcpy(&p, anim_library + pos, sizeof p);
    return p;
}

// The overlay slot a frame links to, or -1. Link fields above 4095 name no slot: no overlay.
s32 link_slot(const AnimFrame& f) {
    return f.link != 0 && f.link < ANIM_SLOTS ? s32(f.link) : -1;
}

u32 next_frame(u32 pos) {
    return pos + FRAME_SIZE + PART_SIZE * frame_at(pos).part_count;
}

// Walks a record and checks that it fills [begin, end) exactly.
bool record_fills_span(const u8* bytes, u32 begin, u32 end) {
    u64 pos = begin;
    const u32 frames = bytes[pos++];
    for (u32 i = 0; i < frames; ++i) {
        if (pos + FRAME_SIZE > end) return false;
        AnimFrame f;
        std::memcpy(&f, bytes + pos, sizeof f);
        pos += FRAME_SIZE + u64(PART_SIZE) * f.part_count;
        if (pos > end) return false;
    }
    return pos == end;
}

void check_library(const u8* bytes, u32 size, const u32* offsets) {
    if (offsets[0] != 0) shell_fatal("anim_install: the first slot starts at %u", offsets[0]);
    for (s32 i = 0; i < ANIM_SLOTS; ++i) {
        if (offsets[i + 1] < offsets[i])
            shell_fatal("anim_install: slot %d ends before it starts", i);
    }
    if (offsets[ANIM_SLOTS] != size)
        shell_fatal("anim_install: the slots span %u bytes of %u", offsets[ANIM_SLOTS], size);
    for (s32 i = 0; i < ANIM_SLOTS; ++i) {
        if (offsets[i] != offsets[i + 1] && !record_fills_span(bytes, offsets[i], offsets[i + 1]))
            shell_fatal("anim_install: slot %d does not fill its span", i);
    }
}

} // namespace

void anim_install(const u8* bytes, u32 size, const u32* offsets) {
    check_library(bytes, size, offsets);
    installed_bytes.assign(bytes, bytes + size);
    installed_offsets.assign(offsets, offsets + ANIM_SLOTS + 1);
    anim_library = installed_bytes.data();
    anim_offsets = installed_offsets.data();
}

void anim_install_builtin() {
    check_library(anim_builtin_library, anim_builtin_size, anim_builtin_offsets);
    installed_bytes.clear();
    installed_offsets.clear();
    anim_library = anim_builtin_library;
    anim_offsets = anim_builtin_offsets;
}

bool anim_slot_span(s32 anim, u32* begin, u32* end) {
    if (anim < 0 || anim >= ANIM_SLOTS) return false;
    const u32 b = anim_offsets[anim], e = anim_offsets[anim + 1];
    if (b == e || anim_library[b] == 0) return false;
    *begin = b;
    *end = e;
    return true;
}

s32 anim_frame_count(s32 anim) {
    u32 begin = 0, end = 0;
    return anim_slot_span(anim, &begin, &end) ? anim_library[begin] : 0;
}

void anim_reset() {
    for (s32 t = 0; t < ANIM_TRACKS; ++t) {
        anim_track_anim[t] = -1;
        anim_track_frame[t] = 0;
        anim_track_x[t] = 0;
        anim_track_y[t] = 0;
        anim_track_mirror[t] = 0;
        anim_track_dim[t] = 0;
        anim_track_wait[t] = 0;
        for (s32 h = 0; h < ANIM_HIT_POINTS; ++h) {
            anim_track_hit_x[t][h] = -1;
            anim_track_hit_y[t][h] = -1;
        }
    }
    anim_all_done = 0;
    anim_install_builtin();
}

u32 anim_draw_frame(s32 x, s32 y, u32 frame, s32 shadow_pass, s32 mirror, s32 dim) {
    const u32 size = anim_offsets[ANIM_SLOTS];
    if (u64(frame) + FRAME_SIZE > size) return frame;
    const AnimFrame f = frame_at(frame);
    const u32 base = dim ? ANIM_FLAGS_DIM : 0;
    const u32 mirror_flag = mirror ? BLIT_MIRROR : 0;
    x += f.dx;
    y += f.dy;
    // Parts that would lie past the library's end are not read (an installed library has none).
    const u32 room = (size - frame - FRAME_SIZE) / PART_SIZE;
    const u32 parts = f.part_count < room ? f.part_count : room;
    u32 pos = frame + FRAME_SIZE;
    for (u32 i = 0; i < parts; ++i, pos += PART_SIZE) {
        const AnimPart p = part_at(pos);
        const s32 px = mirror ? x - p.dx : x + p.dx;
        const s32 py = y + p.dy;
        const s32 id = s32(anim_part_id(p.kind_id));
        switch (anim_part_kind(p.kind_id)) {
        case ANIM_KIND_BODY:
            if (!shadow_pass) draw_image(px, py, id, base ^ mirror_flag);
            break;
        case ANIM_KIND_ADD:
            if (!shadow_pass) draw_image(px, py, id, (base | ANIM_FLAGS_ADD) ^ mirror_flag);
            break;
        case ANIM_KIND_BODY_MIRRORED:
            if (!shadow_pass) draw_image(px, py, id, (base | ANIM_FLAGS_MIRRORED) ^ mirror_flag);
            break;
        case ANIM_KIND_ADD_MIRRORED:
            if (!shadow_pass)
                draw_image(px, py, id, (base | ANIM_FLAGS_ADD_MIRRORED) ^ mirror_flag);
            break;
        case ANIM_KIND_SHADOW:
            if (shadow_pass) draw_image(px, py, id, mirror_flag ^ ANIM_FLAGS_SHADOW);
            break;
        case ANIM_KIND_SHADOW_MIRRORED:
            if (shadow_pass) draw_image(px, py, id, mirror_flag ^ ANIM_FLAGS_SHADOW_MIRRORED);
            break;
        case ANIM_KIND_SOUND:
            // The sound service does not restart a sound that is still playing.
            mssw_play_sound(id, 1);
            break;
        default: // ANIM_KIND_HIDDEN and unknown kinds: nothing
            break;
        }
    }
    return frame + FRAME_SIZE + PART_SIZE * f.part_count;
}

s32 anim_link_frame(s32 anim) {
    u32 begin = 0, end = 0;
    if (!anim_slot_span(anim, &begin, &end)) return 0;
    const u32 n = anim_library[begin];
    u32 pos = begin + 1;
    for (u32 i = 0; i < n; ++i) {
        if (link_slot(frame_at(pos)) >= 0) return s32(i);
        pos = next_frame(pos);
    }
    return 0;
}

s32 anim_first_image(s32 anim) {
    u32 begin = 0, end = 0;
    if (!anim_slot_span(anim, &begin, &end)) return 0;
    const AnimFrame f = frame_at(begin + 1);
    if (f.part_count == 0) return 0;
    return s32(anim_part_id(part_at(begin + 1 + FRAME_SIZE).kind_id));
}

void anim_track_order(s32 order[ANIM_TRACKS]) {
    for (s32 t = 0; t < ANIM_TRACKS; ++t) order[t] = t;
    for (s32 j = 0; j < ANIM_TRACKS; ++j) {
        for (s32 k = j + 1; k < ANIM_TRACKS; ++k) {
            if (anim_track_y[order[k]] < anim_track_y[order[j]]) {
                const s32 swap = order[j];
                order[j] = order[k];
                order[k] = swap;
            }
        }
    }
}

void anim_play() {
    anim_all_done = 1;
    bool shown[ANIM_TRACKS] = {};
    u32 frame_pos[ANIM_TRACKS] = {};
    bool overlaid[ANIM_TRACKS] = {};
    u32 overlay_pos[ANIM_TRACKS] = {};

    for (s32 t = 0; t < ANIM_TRACKS; ++t) {
        u32 begin = 0, end = 0;
        if (!anim_slot_span(anim_track_anim[t], &begin, &end)) continue;
        const u32 n = anim_library[begin];
        u32 f = u32(anim_track_frame[t]); // negative frames count as past the end
        if (f >= n)
            f = n - 1;
        else if (anim_track_wait[t])
            anim_all_done = 0;

        // The last link at or before the shown frame wins; the overlay's frame counts from the
        // unclamped track frame, so it runs on after the track has stopped at its last frame.
        s32 link = -1;
        u32 overlay_index = 0;
        u32 pos = begin + 1;
        for (u32 i = 0; i <= f; ++i) {
            const s32 slot = link_slot(frame_at(pos));
            if (slot >= 0) {
                link = slot;
                overlay_index = u32(anim_track_frame[t]) - i;
            }
            if (i == f) frame_pos[t] = pos;
            pos = next_frame(pos);
        }
        shown[t] = true;

        u32 link_begin = 0, link_end = 0;
        if (link >= 0 && anim_slot_span(link, &link_begin, &link_end) &&
            overlay_index < anim_library[link_begin]) {
            u32 opos = link_begin + 1;
            for (u32 i = 0; i < overlay_index; ++i) opos = next_frame(opos);
            overlay_pos[t] = opos;
            overlaid[t] = true;
            if (anim_track_wait[t]) anim_all_done = 0;
        }
    }

    for (s32 t = 0; t < ANIM_TRACKS; ++t) {
        if (shown[t])
            anim_draw_frame(anim_track_x[t], anim_track_y[t], frame_pos[t], 1, anim_track_mirror[t],
                            0);
    }
    s32 order[ANIM_TRACKS];
    anim_track_order(order);
    for (s32 t : order) {
        if (shown[t])
            anim_draw_frame(anim_track_x[t], anim_track_y[t], frame_pos[t], 0, anim_track_mirror[t],
                            anim_track_dim[t]);
    }
    for (s32 t = 0; t < ANIM_TRACKS; ++t) {
        if (!overlaid[t]) continue;
        for (s32 h = 0; h < ANIM_HIT_POINTS; ++h) {
            if (anim_track_hit_x[t][h] == -1) continue;
            anim_draw_frame(anim_track_hit_x[t][h], anim_track_hit_y[t][h], overlay_pos[t], 0,
                            anim_track_mirror[t], 0);
        }
    }
}
