// Fuzz target for the animation library and its player: arbitrary library bytes are installed
// with `anim_install` (a refused library is a fatal error, an acceptable answer), then the
// twelve tracks play a few steps of them with `anim_play` on the headless platform, over an
// archive with a few sprites and sounds; every installed slot's first frame is also drawn on its
// own with `anim_draw_frame` in both passes, and the slot queries run on every slot in the input
// and around it. The input layout is in fuzz/anim_fuzz_input.h. Crashes, hangs and sanitizer
// reports are bugs.
//
// Seeds: fuzz/seeds/anim_fuzz_seeds.cpp.
#include "engine/anim.h"
#include "engine/blit.h"
#include "engine/gisk.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "fuzz/anim_fuzz_input.h"
#include "platform/harness.h"
#include "platform/platform.h"
#include "tools/arcbuild.h"
#include "tools/sprite_writer.h"
#include "tools/wav.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr size_t FUZZ_MAX_INPUT = 1 << 18;
// Image ids are folded below this (but for raw inputs): ARC_IMAGE_BASE + id stays in the index.
constexpr u32 ANIM_FUZZ_IMAGES = u32(ARC_MAX_ID) + 1 - u32(ARC_IMAGE_BASE);

bool engine_ready = false;

// Sprites 1..4 (one of them mirrored-looking: its hotspot at the right), sounds 701 and 801.
void engine_setup() {
    ArcBuilder b;
    const u16 colours[] = {0x7C00, 0x03E0, 0x001F, 0x7FFF};
    for (s32 id = 1; id <= 4; ++id)
        b.put(u32(ARC_IMAGE_BASE + id),
              sprite_writer_solid(3 + id, 5, id == 4 ? 6 : 0, 2, colours[id - 1]));
    for (s32 id : {701, 801}) b.put(u32(ARC_SOUND_BASE + id), wav_tone(WavFormat{}, 60, 440));
    arc_write_chained(b, GISK_CHAINED_FILE);
    HarnessConfig c;
    c.physical_memory = 16ull << 20;
    c.budget_ms = u64(1) << 60;
    c.budget_presents = u64(1) << 60;
    harness_reset(c);
    shell_shutdown();
    mssw_reset();
    shell_startup("anim fuzz");
    game_drawing_setup();
    engine_ready = true;
}

void set_tracks(const u8* groups, s32 k) {
    for (s32 t = 0; t < ANIM_TRACKS; ++t) {
        const u8* g = groups + size_t(t) * ANIM_FUZZ_TRACK_BYTES;
        const s32 pick = g[0] % (k + 3);
        anim_track_anim[t] = pick <= k ? pick : pick == k + 1 ? ANIM_SLOTS - 1 : -1;
        anim_track_frame[t] = s8(g[1]);
        anim_track_x[t] = (g[2] & 15) * 48 - 60;
        anim_track_y[t] = (g[2] >> 4) * 36 - 50;
        anim_track_mirror[t] = g[3] & 1;
        anim_track_dim[t] = (g[3] >> 1) & 1;
        anim_track_wait[t] = (g[3] >> 2) & 1;
        const s32 points = std::min((g[3] >> 3) & 7, ANIM_HIT_POINTS);
        for (s32 h = 0; h < ANIM_HIT_POINTS; ++h) {
            anim_track_hit_x[t][h] = h < points ? anim_track_x[t] + 40 * h - 100 : -1;
            anim_track_hit_y[t][h] = anim_track_y[t] + 25 * h - 60;
        }
    }
}

// Bytes of the record at work[start] by its own counts. With `raw`, a record that runs out
// spans what is left; otherwise its frame count is cut to the frames that fit whole and the
// image ids of its parts are folded into the archive's image id space.
size_t take_record(std::vector<u8>& work, size_t start, bool raw) {
    const size_t available = work.size() - start;
    if (available == 0) return 0;
    u8* p = work.data() + start;
    size_t pos = 1;
    for (u32 f = 0; f < p[0]; ++f) {
        AnimFrame frame;
        if (pos + sizeof frame <= available) std::memcpy(&frame, p + pos, sizeof frame);
        const size_t next = pos + sizeof frame + sizeof(AnimPart) * frame.part_count;
        if (pos + sizeof frame > available || next > available) {
            if (raw) return available;
            p[0] = u8(f);
            return pos;
        }
        for (size_t q = pos + sizeof frame; !raw && q < next; q += sizeof(AnimPart)) {
            AnimPart part;
            std::memcpy(&part, p + q, sizeof part);
            const u32 kind = anim_part_kind(part.kind_id);
            if (kind != ANIM_KIND_SOUND)
                part.kind_id = anim_kind_id(kind, anim_part_id(part.kind_id) % ANIM_FUZZ_IMAGES);
            std::memcpy(p + q, &part, sizeof part);
        }
        pos = next;
    }
    return pos;
}

void run(const u8* data, size_t size) {
    if (size < ANIM_FUZZ_HEADER_BYTES) return;
    const s32 k = (data[0] & 7) + 1;
    const bool raw = data[0] & 0x80;
    std::vector<u8> work(data + ANIM_FUZZ_HEADER_BYTES, data + size);

    // Slots 1..k one after the other, then (with bit 3) slot 4095.
    std::vector<u32> offsets(ANIM_SLOTS + 1, 0);
    size_t end = 0;
    for (s32 s = 1; s <= k; ++s) {
        end += take_record(work, end, raw);
        offsets[size_t(s) + 1] = u32(end);
    }
    for (s32 s = k + 2; s < ANIM_SLOTS; ++s) offsets[size_t(s)] = u32(end);
    if (data[0] & 8) end += take_record(work, end, raw);
    offsets[ANIM_SLOTS] = u32(end);
    const u32 library_size = u32(end);

    // Exactly the library's bytes, so that reading past them is caught while installing.
    std::vector<u8> bytes(work.begin(), work.begin() + long(end));
    anim_install(bytes.data(), library_size, offsets.data());

    set_tracks(data + 1, k);
    std::fill(back_buffer, back_buffer + SCREEN_PIXELS, u16(0x2108));
    const s32 steps = ((data[0] >> 4) & 3) + 1;
    for (s32 step = 0; step < steps; ++step) {
        anim_play();
        for (s32 t = 0; t < ANIM_TRACKS; ++t) anim_track_frame[t] += 1;
    }
    if (anim_all_done != 0 && anim_all_done != 1) __builtin_trap();

    for (s32 anim : {-1, 0, 1, k, k + 1, ANIM_SLOTS - 1, ANIM_SLOTS}) {
        anim_link_frame(anim);
        anim_first_image(anim);
        const s32 frames = anim_frame_count(anim);
        u32 begin = 0, span_end = 0;
        if (!anim_slot_span(anim, &begin, &span_end)) continue;
        if (frames <= 0 || begin >= span_end) __builtin_trap();
        // The first frame on its own, in both passes, mirrored and dimmed; it must end inside
        // the slot.
        const u32 next = anim_draw_frame(320, 240, begin + 1, 1, 1, 0);
        if (anim_draw_frame(-30, 470, begin + 1, 0, 0, 1) != next || next > span_end)
            __builtin_trap();
    }
    mssw_stop_all();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    static HarnessTempDir dir; // the working directory for the whole run
    if (size < 1 || size > FUZZ_MAX_INPUT) return 0;
    try {
        if (!engine_ready) engine_setup();
        anim_reset();
        harness_sound_log_clear();
        run(data, size);
    } catch (const PlatFatal&) {
        engine_ready = false; // a refused library: the fatal reporter released the engine
    } catch (const HarnessBudgetExceeded&) {
        engine_ready = false;
    }
    return 0;
}
