#include "engine/sprite.h"

#include "engine/blit.h"

#include <array>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

BlitDrawState blit_state;

namespace {

u16 rd16(const u8* p) {
    u16 v;
    std::memcpy(&v, p, 2);
    return v;
}

SpriteImage header_of(const void* image) {
    SpriteImage h;
    std::memcpy(&h, image, sizeof h);
    return h;
}

// The pixel operation of a kind.
enum class Op { opaque, translucent, sub, add, light, mask };
// The test a kind puts before its operation.
enum class Test { none, depth, show_through };

struct KindInfo {
    Op op;
    Test test;
};

// Kind number = slot base / 4.
constexpr KindInfo kind_info(s32 kind) {
    if (kind == 8) return {Op::light, Test::none};
    if (kind == 9) return {Op::mask, Test::none};
    const Op ops[4] = {Op::opaque, Op::translucent, Op::sub, Op::add};
    if (kind < 4) return {ops[kind], Test::none};
    if (kind < 8) return {ops[kind - 4], Test::depth};
    return {ops[kind - 10], Test::show_through};
}

// Channel masks of the subtractive and additive arithmetic: 5-5-5 red, green, blue and 5-6-5 red,
// green (without its lowest bit), blue.
template <bool L565> struct Channels {
    static constexpr u32 r = L565 ? 0xF800 : 0x7C00;
    static constexpr u32 g = L565 ? 0x07C0 : 0x03E0;
    static constexpr u32 b = 0x001F;
};

template <bool L565> inline u16 channel_sub(u32 d, u32 s) {
    using C = Channels<L565>;
    const u32 r = (d & C::r) > (s & C::r) ? (d & C::r) - (s & C::r) : 0;
    const u32 g = (d & C::g) > (s & C::g) ? (d & C::g) - (s & C::g) : 0;
    const u32 b = (d & C::b) > (s & C::b) ? (d & C::b) - (s & C::b) : 0;
    return u16(r | g | b);
}

template <bool L565> inline u16 channel_add(u32 d, u32 s) {
    using C = Channels<L565>;
    const u32 r = (d & C::r) + (s & C::r);
    const u32 g = (d & C::g) + (s & C::g);
    const u32 b = (d & C::b) + (s & C::b);
    return u16((r > C::r ? C::r : r) | (g > C::g ? C::g : g) | (b > C::b ? C::b : b));
}

#if defined(__SSE2__)
// Eight pixels at a time for the subtractive and additive kinds. Each channel is worked on in
// its own masked copy of the lanes, where an unsigned saturating subtract floors it at 0. Bits
// outside the channel masks (the lowest green bit of 5-6-5, bit 15 of 5-5-5) come out 0, as in
// the one-pixel form.
template <bool L565> struct Lanes {
    static constexpr u16 rm = L565 ? 0xF800 : 0x7C00;
    static constexpr u16 gm = L565 ? 0x07C0 : 0x03E0;
};

template <bool L565> inline __m128i lanes_sub(__m128i d, __m128i s) {
    using C = Lanes<L565>;
    const __m128i rm = _mm_set1_epi16(s16(C::rm)), gm = _mm_set1_epi16(s16(C::gm));
    const __m128i bm = _mm_set1_epi16(0x1F);
    const __m128i r = _mm_subs_epu16(_mm_and_si128(d, rm), _mm_and_si128(s, rm));
    const __m128i g = _mm_subs_epu16(_mm_and_si128(d, gm), _mm_and_si128(s, gm));
    const __m128i b = _mm_subs_epu16(_mm_and_si128(d, bm), _mm_and_si128(s, bm));
    return _mm_or_si128(_mm_or_si128(r, g), b);
}

template <bool L565> inline __m128i lanes_add(__m128i d, __m128i s) {
    // min(31, d + s) = 31 - max(0, (31 - d) - s): the subtraction above on the complemented
    // target, complemented back.
    using C = Lanes<L565>;
    const __m128i rm = _mm_set1_epi16(s16(C::rm)), gm = _mm_set1_epi16(s16(C::gm));
    const __m128i bm = _mm_set1_epi16(0x1F);
    const __m128i r = _mm_subs_epu16(_mm_andnot_si128(d, rm), _mm_and_si128(s, rm));
    const __m128i g = _mm_subs_epu16(_mm_andnot_si128(d, gm), _mm_and_si128(s, gm));
    const __m128i b = _mm_subs_epu16(_mm_andnot_si128(d, bm), _mm_and_si128(s, bm));
    return _mm_xor_si128(_mm_or_si128(_mm_or_si128(r, g), b),
                         _mm_set1_epi16(s16(C::rm | C::gm | 0x1F)));
}

// The destination's share of a translucent blend for eight pixels: every byte part of the
// pixel (red, the high and the low green bits, blue) scaled by itself by m/10, rounding down, as
// the destination tables of the blend set hold it. `weight` is 205 x m: for the part values
// here (at most 31 x 9) (v x 205) >> 11 is v / 10, and the products fit in 16 bits.
template <bool L565> inline __m128i lanes_blend_share(__m128i d, __m128i weight) {
    constexpr s32 rs = L565 ? 11 : 10; // red's place
    constexpr s32 gs = L565 ? 6 : 5;   // green's place
    constexpr s16 gh = L565 ? 0x1C : 0x18;
    constexpr s16 gl = L565 ? 0x03 : 0x07;
    const __m128i five = _mm_set1_epi16(31);
    const __m128i r = L565 ? _mm_srli_epi16(d, rs) : _mm_and_si128(_mm_srli_epi16(d, rs), five);
    const __m128i g = _mm_srli_epi16(d, gs);
    const __m128i g_high = _mm_and_si128(g, _mm_set1_epi16(gh));
    const __m128i g_low = _mm_and_si128(g, _mm_set1_epi16(gl));
    const __m128i b = _mm_and_si128(d, five);
    const auto scaled = [weight](__m128i v) {
        return _mm_srli_epi16(_mm_mullo_epi16(v, weight), 11);
    };
    return _mm_or_si128(
        _mm_or_si128(_mm_slli_epi16(scaled(r), rs),
                     _mm_slli_epi16(_mm_add_epi16(scaled(g_high), scaled(g_low)), gs)),
        scaled(b));
}

// The palette colours of eight pixels of a run in the order they lie in memory: for a straight
// draw pixel k is lane k; for a mirrored one the pixels run leftwards, so pixel k is lane 7 - k.
template <s32 Step> inline __m128i lanes_colours(const u16* __restrict pal, const u8* idx) {
    // Four colours are packed into a 64-bit word with scalar shifts, which costs less than
    // inserting them into the vector one lane at a time.
    const auto four = [pal, idx](s32 a, s32 b, s32 c, s32 e) {
        return _mm_cvtsi64_si128(s64(u64(pal[idx[a]]) | u64(pal[idx[b]]) << 16 |
                                     u64(pal[idx[c]]) << 32 | u64(pal[idx[e]]) << 48));
    };
    if constexpr (Step > 0)
        return _mm_unpacklo_epi64(four(0, 1, 2, 3), four(4, 5, 6, 7));
    else
        return _mm_unpacklo_epi64(four(7, 6, 5, 4), four(3, 2, 1, 0));
}

// Eight pixels of a run starting at run pixel k: reads the target and the plane, returns the
// new target lanes (pixels the test hides keep their old value). `lo` is the memory offset of
// the lowest lane from the run's first pixel.
template <Op O, Test T, s32 Step, bool L565>
inline __m128i lanes_eight(const u16* d, const u8* q, const u8* idx, s32 k, s32 col, bool open,
                           const u16* __restrict pal, u8 level, __m128i weight) {
    const s32 lo = Step > 0 ? k : -k - 7;
    const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + lo));
    const __m128i src = lanes_colours<Step>(pal, idx + k);
    __m128i out;
    if constexpr (O == Op::sub)
        out = lanes_sub<L565>(old, src);
    else if constexpr (O == Op::add)
        out = lanes_add<L565>(old, src);
    else // translucent: the source's share is already in the palette
        out = _mm_add_epi16(src, lanes_blend_share<L565>(old, weight));
    if constexpr (T != Test::none) {
        const __m128i plane = _mm_unpacklo_epi8(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(q + lo)), _mm_setzero_si128());
        // Hidden where the plane byte is above the level.
        __m128i hide = _mm_cmpgt_epi16(plane, _mm_set1_epi16(level));
        if constexpr (T == Test::show_through) {
            if (open) {
                // Lanes in even screen columns are drawn whatever the plane holds.
                const __m128i even = ((col + lo) & 1) == 0
                                         ? _mm_setr_epi16(-1, 0, -1, 0, -1, 0, -1, 0)
                                         : _mm_setr_epi16(0, -1, 0, -1, 0, -1, 0, -1);
                hide = _mm_andnot_si128(even, hide);
            }
        }
        out = _mm_or_si128(_mm_and_si128(hide, old), _mm_andnot_si128(hide, out));
    }
    return out;
}

// A run of at least eight pixels, eight at a time. The last eight pixels are worked out first,
// from the target as it was, and stored last: where they overlap the earlier groups they hold
// the same values.
template <Op O, Test T, s32 Step, bool L565>
void lanes_run(u16* __restrict d, const u8* __restrict q, const u8* __restrict idx, s32 cnt,
               s32 col, bool open, const u16* __restrict pal, u8 level, s16 blend_weight) {
    const __m128i weight = _mm_set1_epi16(blend_weight);
    const s32 tail = cnt - 8;
    const __m128i last =
        lanes_eight<O, T, Step, L565>(d, q, idx, tail, col, open, pal, level, weight);
    for (s32 k = 0; k < tail; k += 8) {
        const __m128i v =
            lanes_eight<O, T, Step, L565>(d, q, idx, k, col, open, pal, level, weight);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + (Step > 0 ? k : -k - 7)), v);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + (Step > 0 ? tail : -tail - 7)), last);
}
#endif

// The pixels of one run. The pointers are restrict-qualified: the target, the plane, the
// run's indices and the tables never overlap, so no store forces a table to be read again.
template <Op O, Test T, s32 Step, bool L565>
[[gnu::always_inline]] inline void
draw_run(u16* __restrict d, u8* __restrict q, const u8* __restrict idx, s32 cnt, s32 col, bool open,
         const u16* __restrict pal, const BlendSet* __restrict wb, u8 level, u16 fill,
         s16 blend_weight) {
#if defined(__SSE2__)
    if constexpr (O == Op::sub || O == Op::add) {
        if (cnt >= 8) return lanes_run<O, T, Step, L565>(d, q, idx, cnt, col, open, pal, level, 0);
    } else if constexpr (O == Op::translucent) {
        // The translucent routines serve both layouts; `blend_weight` is 0 when the blend set
        // has to be read from its tables.
        if (cnt >= 8 && blend_weight != 0) {
            if (display_565)
                return lanes_run<O, T, Step, true>(d, q, idx, cnt, col, open, pal, level,
                                                   blend_weight);
            return lanes_run<O, T, Step, false>(d, q, idx, cnt, col, open, pal, level,
                                                blend_weight);
        }
    }
#else
    (void)blend_weight;
#endif
    for (s32 k = 0; k < cnt; ++k) {
        bool draw = true;
        if constexpr (T == Test::depth) draw = level >= q[Step * k];
        if constexpr (T == Test::show_through)
            draw = (open && ((col + Step * k) & 1) == 0) || level >= q[Step * k];
        if (!draw) continue;
        u16& t = d[Step * k];
        if constexpr (O == Op::opaque) {
            t = pal[idx[k]];
        } else if constexpr (O == Op::translucent) {
            // The source's share is already in the palette (see blit_sprite).
            t = u16(pal[idx[k]] + wb->part[2][t & 0xFF] + wb->part[3][t >> 8]);
        } else if constexpr (O == Op::sub) {
            t = channel_sub<L565>(t, pal[idx[k]]);
        } else if constexpr (O == Op::add) {
            t = channel_add<L565>(t, pal[idx[k]]);
        } else if constexpr (O == Op::light) {
            const u16 v = pal[idx[k]];
            u8& p = q[Step * k];
            const s32 dark = s32(p & 0x1F) - s32(v & 0xFF);
            p = u8((dark > 0 ? dark : 0) | (v >> 8) | (p & 0xE0));
        } else {
            t = fill;
        }
    }
}

// True when the destination tables of blend set m are each byte part scaled by m/10, rounding
// down, in the given layout: what the eight-pixel translucent form computes.
bool blend_set_scales_parts(u32 m, bool l565) {
    const BlendSet& set = blend_sets[m];
    const auto pack = [l565](u32 r, u32 g, u32 b) {
        return u16(l565 ? r << 11 | g << 6 | b : r << 10 | g << 5 | b);
    };
    for (u32 b = 0; b < 256; ++b) {
        const u32 gl = l565 ? b >> 6 : b >> 5, bl = b & 31;
        const u32 r = l565 ? b >> 3 : (b >> 2) & 31, gh = l565 ? (b & 7) << 2 : (b & 3) << 3;
        if (set.part[2][b] != pack(0, gl * m / 10, bl * m / 10)) return false;
        if (set.part[3][b] != pack(r * m / 10, gh * m / 10, 0)) return false;
    }
    return true;
}

// 205 x m when `wb` is blend set m (1..9) and that set scales each byte part by m/10 in the
// display's layout, so that the eight-pixel translucent form gives what the tables give;
// otherwise 0 and the routine reads the tables. Destination entry 31 (blue 31) is 31 x m / 10,
// which tells m; the high-byte entry 0x80 holds red 16 in 5-6-5 only and tells the layout the
// set was built for. The full check of a set runs once per layout.
s16 blend_lanes_weight(const BlendSet& wb) {
    const u32 m = wb.part[2][31] / 3u;
    if (m < 1 || m > 9 || wb.part[2][31] != 31 * m / 10) return 0;
    const bool l565 = display_565 != 0;
    if (wb.part[3][0x80] != (l565 ? u16((16 * m / 10) << 11) : 0)) return 0;
    if (std::memcmp(wb.part[2], blend_sets[m].part[2], 2 * sizeof wb.part[2]) != 0) return 0;
    static s8 checked[2][10]; // 0 not yet, 1 scales its parts, -1 does not
    s8& known = checked[l565][m];
    if (known == 0) known = blend_set_scales_parts(m, l565) ? 1 : -1;
    return known > 0 ? s16(205 * m) : 0;
}

// One row routine: walks `blit_state.row_count` rows of runs and applies the kind's operation.
template <s32 Kind, s32 Clip, bool Mirror, bool L565> void row_routine() {
    constexpr KindInfo info = kind_info(Kind);
    constexpr bool indexed = info.op != Op::mask;
    constexpr bool uses_plane = info.op == Op::light || info.test != Test::none;
    constexpr s32 step = Mirror ? -1 : 1;

    const BlitDrawState st = blit_state;
    const u16* pal = work_palette;
    const BlendSet& wb = work_blend;
    const s16 blend_weight = info.op == Op::translucent ? blend_lanes_weight(wb) : 0;
    const u8 level = u8(st.level);
    const u16 fill = u16(st.level);
    const s32 pitch_px = target_pitch / 2;
    const s32 start_col = s32((st.dest_offset % u32(target_pitch)) / 2);

    u16* row_dest = target_pixels + st.dest_offset / 2;
    u8* row_plane = uses_plane ? occlusion_plane + st.dest_offset / 2 : nullptr;
    const u8* row = st.rows;

    for (s32 r = 0; r < st.row_count; ++r) {
        const u8* p = row + 2;
        const u8* const end = p + rd16(row);
        row = end;
        // Show-through: the first drawn row is open when the call's y is even.
        const bool open = info.test == Test::show_through && ((u32(st.y) + u32(r)) & 1) == 0;
        s32 lead = st.lead;
        s32 allow = st.count;
        s32 pos = 0; // source columns advanced past the lead

        while (p < end) {
            s32 skip = p[0];
            s32 cnt = p[1];
            const u8* idx = p + 2;
            p = indexed ? idx + cnt : idx;
            if constexpr ((Clip & 1) != 0) {
                if (lead > 0) {
                    if (skip >= lead) {
                        skip -= lead;
                        lead = 0;
                    } else {
                        lead -= skip;
                        skip = 0;
                        if (cnt <= lead) {
                            lead -= cnt;
                            continue;
                        }
                        if constexpr (indexed) idx += lead;
                        cnt -= lead;
                        lead = 0;
                    }
                }
            }
            if constexpr ((Clip & 2) != 0) {
                if (skip >= allow) break;
                allow -= skip;
                if (cnt > allow) cnt = allow;
                allow -= cnt;
            }
            pos += skip;
            draw_run<info.op, info.test, step, L565>(
                row_dest + step * pos, uses_plane ? row_plane + step * pos : nullptr, idx, cnt,
                start_col + step * pos, open, pal, &wb, level, fill, blend_weight);
            pos += cnt;
            if constexpr ((Clip & 2) != 0) {
                if (allow == 0) break;
            }
        }
        row_dest += pitch_px;
        if constexpr (uses_plane) row_plane += target_width;
    }
}

constexpr bool layout_dependent(s32 slot) {
    const Op op = kind_info((slot % BLIT_MIRROR_SLOTS) / 4).op;
    return op == Op::sub || op == Op::add;
}

template <s32 Slot, bool L565> constexpr BlitRoutine routine_for() {
    constexpr s32 kind = (Slot % BLIT_MIRROR_SLOTS) / 4;
    // Only the subtractive and additive routines differ between the layouts.
    return &row_routine < kind, Slot % 4, (Slot >= BLIT_MIRROR_SLOTS),
           L565 && layout_dependent(Slot) > ;
}

template <bool L565, size_t... I>
constexpr std::array<BlitRoutine, BLIT_SLOTS> routine_table(std::index_sequence<I...>) {
    return {routine_for<s32(I), L565>()...};
}

constexpr std::array<BlitRoutine, BLIT_SLOTS> routines_555 =
    routine_table<false>(std::make_index_sequence<BLIT_SLOTS>{});
constexpr std::array<BlitRoutine, BLIT_SLOTS> routines_565 =
    routine_table<true>(std::make_index_sequence<BLIT_SLOTS>{});

// The palette p of a sprite through brightness level b and then tint level t into
// `work_palette`.
void palette_transform(const u8* palette, u32 tint, u32 brightness) {
    std::memcpy(work_palette, palette, sizeof work_palette);
    if (brightness != 0) {
        const ByteEntry* lv = brightness_table[brightness];
        for (u16& c : work_palette) c = colour_through(lv, c);
    }
    if (tint != 0) {
        const ByteEntry* lv = tint_table[0][tint];
        for (u16& c : work_palette) c = colour_through(lv, c);
    }
}

} // namespace

std::array<BlitRoutine, BLIT_SLOTS> blit_routines = routines_555;

void blit_routines_install(s32 layout_565) {
    const auto& table = layout_565 ? routines_565 : routines_555;
    for (s32 slot = 0; slot < BLIT_SLOTS; ++slot)
        if (layout_dependent(slot)) blit_routines[slot] = table[size_t(slot)];
}

void blit_sprite(s32 x, s32 y, const void* image, u32 flags, u32 depth) {
    const u32 blend = blit_flags_blend(flags);
    if (blend == BLEND_HIDDEN) return;
    const SpriteImage h = header_of(image);
    if (h.width == 0 && h.height == 0) return;

    // Horizontal placement. Arithmetic in 64 bits: x and the hotspot may be anything.
    const s64 W = target_width;
    const s64 w = h.width;
    s32 clip = 0;
    s64 start = 0;
    s32 lead = 0;
    s32 count = 0;
    s32 slot = 0;
    if ((flags & BLIT_MIRROR) == 0) {
        start = s64(x) - h.hot_x;
        if (start >= W) return;
        if (start >= 0) {
            if (W - start < w) {
                clip = 2;
                count = s32(W - start);
            }
        } else {
            if (-start >= w) return;
            lead = s32(-start);
            if (w - lead <= W) {
                clip = 1;
            } else {
                clip = 3;
                count = s32(W);
            }
            start = 0;
        }
    } else {
        // Source column k lands on start - k, so the hotspot column stays at x.
        start = s64(x) + h.hot_x;
        if (start < 0) return;
        if (start < W) {
            if (start + 1 < w) {
                clip = 2;
                count = s32(start + 1);
            }
        } else {
            const s64 over = start - W + 1;
            if (over >= w) return;
            lead = s32(over);
            if (w - lead <= W) {
                clip = 1;
            } else {
                clip = 3;
                count = s32(W);
            }
            start = W - 1;
        }
        slot += BLIT_MIRROR_SLOTS;
    }

    // Depth.
    const u32 depth_bits = depth & 0xFFFF;
    if (depth_bits != 0) slot += 16;
    if (depth_bits >= DEPTH_SHOW_THROUGH) slot += 24;
    depth &= ~DEPTH_SHOW_THROUGH;

    u32 palette = blit_flags_palette(flags);
    if (palette >= h.palette_count) palette = 0;

    // Vertical placement.
    const s64 H = target_height;
    s64 top = s64(y) - h.hot_y;
    s64 rows = h.height;
    if (top >= H) return;
    const u8* row = static_cast<const u8*>(image) + SPRITE_HEADER_SIZE +
                    SPRITE_PALETTE_BYTES * s32(h.palette_count);
    if (top < 0) {
        if (-top >= rows) return;
        for (s64 i = 0; i < -top; ++i) row += 2 + rd16(row);
        rows += top;
        top = 0;
    }
    if (H - top < rows) rows = H - top;

    blit_state.dest_offset = row_offsets[top] + 2 * u32(start);
    blit_state.rows = row;
    blit_state.row_count = s32(rows);
    blit_state.lead = lead;
    blit_state.count = count;
    blit_state.y = y;
    const s32 mirror_slots = slot >= BLIT_MIRROR_SLOTS ? BLIT_MIRROR_SLOTS : 0;

    if (h.palette_count == 0) {
        // Mask sprite: one fill colour from depth bits 0-14; no depth test, no blending, and
        // blend modes 13-15 draw too.
        blit_state.level = colour_for_display(depth);
        blit_routines[36 + clip + mirror_slots]();
        return;
    }
    if ((flags & BLIT_LIGHT) != 0) {
        const u32 strength_cut = blit_flags_tint(flags);
        for (u32 i = 0; i < 256; ++i) {
            const u16 v = light_source_table[i];
            work_palette[i] = (v & 0xFF) < strength_cut ? 0 : u16(v - strength_cut);
        }
        blit_state.level = depth & 0xFF;
        blit_routines[32 + clip + mirror_slots]();
        return;
    }
    switch (blend) {
    case BLEND_OPAQUE:
        break;
    case BLEND_SUB:
        slot += 8;
        break;
    case BLEND_ADD:
        slot += 12;
        break;
    default:
        if (blend > BLEND_ADD) return; // 13..15: nothing drawn
        slot += 4;
        work_blend = blend_sets[blend];
        break;
    }
    palette_transform(static_cast<const u8*>(image) + SPRITE_HEADER_SIZE +
                          SPRITE_PALETTE_BYTES * s32(palette),
                      blit_flags_tint(flags), blit_flags_brightness(flags));
    // Translucent kinds: fold the source's share of the blend into the palette once per draw.
    if (blend >= 1 && blend <= 9)
        for (u16& c : work_palette)
            c = u16(work_blend.part[0][c & 0xFF] + work_blend.part[1][c >> 8]);
    blit_state.level = depth & 0xFF;
    blit_routines[slot + clip]();
}

s32 blit_hit(s32 col, s32 row, const void* image) {
    const u8* bytes = static_cast<const u8*>(image);
    if (std::memcmp(bytes + 6, "JFIF", 4) == 0) return 1;
    u32 magic;
    std::memcpy(&magic, bytes + 8, 4);
    if (magic == RAW_BITMAP_MAGIC) return 1;
    const SpriteImage h = header_of(image);
    if (row < 0 || row >= h.height || col < 0) return 0;
    const bool indexed = h.palette_count != 0;
    const u8* p = bytes + SPRITE_HEADER_SIZE + SPRITE_PALETTE_BYTES * s32(h.palette_count);
    for (s32 i = 0; i < row; ++i) p += 2 + rd16(p);
    const u8* end = p + 2 + rd16(p);
    p += 2;
    s32 counter = 0;
    while (p < end) {
        counter += p[0];
        if (col < counter) return 0;
        counter += p[1];
        if (col < counter) return 1;
        p += 2 + (indexed ? p[1] : 0);
    }
    return 0;
}

bool sprite_validate(const u8* data, s32 size) {
    if (data == nullptr || size < SPRITE_HEADER_SIZE) return false;
    if (std::memcmp(data + 6, "JFIF", 4) == 0) return true;
    u32 magic;
    std::memcpy(&magic, data + 8, 4);
    const SpriteImage h = header_of(data);
    if (magic == RAW_BITMAP_MAGIC)
        return SPRITE_HEADER_SIZE + 2 * s64(h.width) * s64(h.height) <= s64(size);

    const bool indexed = h.palette_count != 0;
    s64 at = SPRITE_HEADER_SIZE + s64(SPRITE_PALETTE_BYTES) * h.palette_count;
    if (at > size) return false; // the palettes are read even when no row is drawn
    for (s32 r = 0; r < h.height; ++r) {
        if (at + 2 > size) return false;
        const s64 row_end = at + 2 + rd16(data + at);
        if (row_end > size) return false;
        s64 p = at + 2;
        s32 columns = 0;
        while (p < row_end) {
            if (p + 2 > row_end) return false;
            const s32 cnt = data[p + 1];
            columns += data[p] + cnt;
            if (columns > h.width) return false;
            p += 2 + (indexed ? cnt : 0);
            if (p > row_end) return false;
        }
        at = row_end;
    }
    return true;
}
