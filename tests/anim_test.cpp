// The animation player on small libraries installed by the tests: frame clamping, anim_all_done
// and overlay timing, links past the slot range, mirror and part-kind flags, the painter's order
// with its ties, sound parts, the install checks, and the embedded library's content.
#include "engine/anim.h"

#include "data/battle_tables.h"
#include "engine/blit.h"
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/image.h"
#include "engine/mssw.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "platform/harness.h"
#include "platform/platform.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/sprite_writer.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <vector>

namespace {

// ---- Building libraries -------------------------------------------------------------------------
struct Part {
    s16 dx, dy;
    u32 kind, id;
};
struct Frame {
    s16 dx = 0, dy = 0;
    u16 link = 0;
    std::vector<Part> parts;
};
using Anim = std::vector<Frame>;

void put16(std::vector<u8>& out, u32 v) {
    out.push_back(u8(v));
    out.push_back(u8(v >> 8));
}

struct Library {
    std::vector<u8> bytes;
    std::vector<u32> offsets;
};

Library encode(const std::map<s32, Anim>& slots) {
    Library lib;
    lib.offsets.assign(ANIM_SLOTS + 1, 0);
    for (s32 s = 0; s < ANIM_SLOTS; ++s) {
        lib.offsets[s] = u32(lib.bytes.size());
        const auto it = slots.find(s);
        if (it == slots.end()) continue;
        lib.bytes.push_back(u8(it->second.size()));
        for (const Frame& f : it->second) {
            put16(lib.bytes, u16(f.dx));
            put16(lib.bytes, u16(f.dy));
            put16(lib.bytes, f.link);
            put16(lib.bytes, u16(f.parts.size()));
            for (const Part& p : f.parts) {
                put16(lib.bytes, u16(p.dx));
                put16(lib.bytes, u16(p.dy));
                const u32 kind_id = p.kind << 24 | p.id;
                put16(lib.bytes, kind_id & 0xFFFF);
                put16(lib.bytes, kind_id >> 16);
            }
        }
    }
    lib.offsets[ANIM_SLOTS] = u32(lib.bytes.size());
    return lib;
}

void install(const std::map<s32, Anim>& slots) {
    const Library lib = encode(slots);
    anim_install(lib.bytes.data(), u32(lib.bytes.size()), lib.offsets.data());
}

// n frames, frame i holding one body part of `image` at (step x i, 0) and linking `link` at
// frame `link_at`.
Anim walker(s32 n, s32 image, s32 step, u16 link = 0, s32 link_at = -1) {
    Anim a(n);
    for (s32 i = 0; i < n; ++i) {
        a[i].parts.push_back({s16(step * i), 0, 0x00, u32(image)});
        if (i == link_at) a[i].link = link;
    }
    return a;
}

// ---- Fixture -----------------------------------------------------------------------------------
constexpr u16 BACKGROUND = 0x2108; // 8, 8, 8 in 5-5-5
enum : s32 { IMG_A = 100, IMG_B = 101, IMG_C = 102 };
constexpr u16 COL_A = 0x7C00, COL_B = 0x03E0, COL_C = 0x0210;
constexpr s32 SOUND_SWING = 701, SOUND_UNSHOWN = 702, SOUND_IMPACT = 801;

// A 4 x 4 sprite of one colour with its hotspot at the top-left corner: unmirrored it covers
// x .. x + 3, mirrored x - 3 .. x.
std::vector<u8> square(u16 colour) {
    return sprite_writer_solid(4, 4, 0, 0, colour);
}

class AnimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        b.put(ARC_IMAGE_BASE + IMG_A, square(COL_A));
        b.put(ARC_IMAGE_BASE + IMG_B, square(COL_B));
        b.put(ARC_IMAGE_BASE + IMG_C, square(COL_C));
        for (s32 id : {SOUND_SWING, SOUND_UNSHOWN, SOUND_IMPACT})
            b.put(ARC_SOUND_BASE + id, wav_tone(WavFormat{}, 500, 440));
        HarnessConfig c;
        c.display_565 = 0;
        mssw_reset();
        engine_start(b, c);
        harness_sound_log_clear();
        anim_reset();
        clear();
    }
    void TearDown() override {
        anim_reset();
        mssw_reset();
        shell_shutdown();
    }

    static void clear() { std::fill(back_buffer, back_buffer + SCREEN_PIXELS, BACKGROUND); }
    static u16 px(s32 x, s32 y) { return back_buffer[y * SCREEN_W + x]; }
    // The leftmost x of row y showing colour c, or -1.
    static s32 first_x(s32 y, u16 c) {
        for (s32 x = 0; x < SCREEN_W; ++x) {
            if (px(x, y) == c) return x;
        }
        return -1;
    }
    static void track(s32 t, s32 anim, s32 frame, s32 x, s32 y) {
        anim_track_anim[t] = anim;
        anim_track_frame[t] = frame;
        anim_track_x[t] = x;
        anim_track_y[t] = y;
    }
    static std::vector<u16> screen() { return {back_buffer, back_buffer + SCREEN_PIXELS}; }

    HarnessTempDir dir;
};

// ---- Frames, anim_all_done and overlays ---------------------------------------------------------
TEST_F(AnimTest, FrameClampAllDoneAndOverlayTiming) {
    // A 12-frame track whose frame 8 starts a 10-frame overlay; frame i of the track is drawn
    // 20 i to the right, overlay frame k likewise.
    install({{5, walker(12, IMG_A, 20, 7, 8)}, {7, walker(10, IMG_B, 20)}});
    struct Case {
        s32 frame, wait;
        s32 shown, overlay; // overlay frame drawn, -1 none
        s32 done;
    };
    const Case cases[] = {
        {5, 1, 5, -1, 0},    {5, 0, 5, -1, 1},   {8, 1, 8, 0, 0},   {11, 1, 11, 3, 0},
        {12, 1, 11, 4, 0},   {17, 1, 11, 9, 0},  {17, 0, 11, 9, 1}, {18, 1, 11, -1, 1},
        {100, 1, 11, -1, 1}, {-1, 1, 11, -1, 1}, {0, 1, 0, -1, 0},
    };
    for (const Case& c : cases) {
        anim_reset();
        install({{5, walker(12, IMG_A, 20, 7, 8)}, {7, walker(10, IMG_B, 20)}});
        clear();
        track(3, 5, c.frame, 20, 20);
        anim_track_wait[3] = c.wait;
        anim_track_hit_x[3][1] = 20; // two points in use, one unused between them
        anim_track_hit_y[3][1] = 100;
        anim_track_hit_y[3][2] = 300;
        anim_track_hit_x[3][4] = 20;
        anim_track_hit_y[3][4] = 150;
        anim_play();
        SCOPED_TRACE(c.frame);
        EXPECT_EQ(anim_all_done, c.done);
        EXPECT_EQ(first_x(20, COL_A), 20 + 20 * c.shown);
        EXPECT_EQ(first_x(100, COL_B), c.overlay < 0 ? -1 : 20 + 20 * c.overlay);
        EXPECT_EQ(first_x(150, COL_B), c.overlay < 0 ? -1 : 20 + 20 * c.overlay);
        EXPECT_EQ(first_x(300, COL_B), -1);
        EXPECT_EQ(anim_track_frame[3], c.frame); // the player never advances or clamps it
    }
}

TEST_F(AnimTest, TracksOffOrEmptyDrawNothingAndDoNotHoldAllDone) {
    install({{5, walker(12, IMG_A, 20)}, {9, {}}});
    for (s32 anim : {-1, 4096, 65536 + 5, 6, 9}) { // off, off, off (no wrap to slot 5), empty
        anim_reset();
        install({{5, walker(12, IMG_A, 20)}, {9, {}}});
        clear();
        track(0, anim, 1, 20, 20);
        anim_track_wait[0] = 1;
        anim_play();
        EXPECT_EQ(anim_all_done, 1) << anim;
        EXPECT_EQ(screen(), std::vector<u16>(SCREEN_PIXELS, BACKGROUND)) << anim;
    }
}

TEST_F(AnimTest, LinksPastTheSlotRangeAreNoOverlay) {
    // Slot 5 links overlay 7 at frame 2; frame 4 carries 4096 + 7, which must neither start an
    // overlay nor replace the earlier link. Slot 6 only has links past the range, slot 8 links
    // the empty slot 9.
    Anim a = walker(12, IMG_A, 20, 7, 2);
    a[4].link = 4096 + 7;
    Anim only_far = walker(6, IMG_A, 20, 0xFFFF, 1);
    only_far[3].link = 4096;
    install({{5, a}, {6, only_far}, {7, walker(10, IMG_B, 20)}, {8, walker(6, IMG_A, 20, 9, 2)}});

    struct Case {
        s32 anim, link_frame, first_image;
    };
    const Case cases[] = {{5, 2, IMG_A}, {6, 0, IMG_A}, {7, 0, IMG_B}, {8, 2, IMG_A},
                          {9, 0, 0},     {-1, 0, 0},    {4096, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(anim_link_frame(c.anim), c.link_frame) << c.anim;
        EXPECT_EQ(anim_first_image(c.anim), c.first_image) << c.anim;
    }

    track(0, 5, 6, 20, 20);
    anim_track_wait[0] = 1;
    anim_track_hit_x[0][0] = 20;
    anim_track_hit_y[0][0] = 100;
    anim_play();
    EXPECT_EQ(first_x(100, COL_B), 20 + 20 * 4); // overlay frame 6 - 2, from the valid link
    EXPECT_EQ(anim_all_done, 0);

    for (s32 anim : {6, 8}) {
        clear();
        track(0, anim, 6, 20, 20); // past the last frame: only an overlay could hold it
        anim_play();
        EXPECT_EQ(first_x(100, COL_B), -1) << anim;
        EXPECT_EQ(first_x(100, COL_A), -1) << anim;
        EXPECT_EQ(anim_all_done, 1) << anim;
    }
}

// ---- Mirror and part kinds ----------------------------------------------------------------------
TEST_F(AnimTest, PartKindsDrawWithTheirFlagsAndMirroring) {
    // Track at (300, 200); the frame adds (10, 5) as is; the part sits at (28, -7), its dx
    // negated on a mirrored track. Expected: the draw_image call each part stands for.
    struct Case {
        u32 kind;
        s32 mirror, dim;
        bool drawn;
        s32 x;
        u32 flags;
    };
    const Case cases[] = {
        {0x00, 0, 0, true, 338, 0x0000}, {0x00, 1, 0, true, 282, 0x8000},
        {0x00, 0, 1, true, 338, 0x03C0}, {0x00, 1, 1, true, 282, 0x83C0},
        {0x01, 0, 0, true, 338, 0x6000}, {0x01, 1, 0, true, 282, 0xE000},
        {0x80, 0, 0, true, 338, 0x8000}, {0x80, 1, 0, true, 282, 0x0000},
        {0x80, 1, 1, true, 282, 0x03C0}, {0x81, 0, 0, true, 338, 0xE000},
        {0x81, 1, 0, true, 282, 0x6000}, {0x40, 0, 0, true, 338, 0x1800},
        {0x40, 1, 1, true, 282, 0x9800}, {0x41, 0, 1, true, 338, 0x9800},
        {0x41, 1, 0, true, 282, 0x1800}, {0x20, 0, 0, false, 0, 0},
        {0x07, 1, 0, false, 0, 0},       {0x33, 0, 0, false, 0, 0}, // a sound id with no sound
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.kind << " m" << c.mirror << " d" << c.dim);
        anim_reset();
        Frame f;
        f.dx = 10;
        f.dy = 5;
        f.parts.push_back({28, -7, c.kind, u32(c.kind == 0x33 ? 999 : IMG_C)});
        install({{3, {f}}});
        clear();
        track(0, 3, 0, 300, 200);
        anim_track_mirror[0] = c.mirror;
        anim_track_dim[0] = c.dim;
        anim_play();
        const std::vector<u16> played = screen();
        clear();
        if (c.drawn) {
            draw_image(c.x, 198, IMG_C, c.flags);
            ASSERT_NE(screen(), std::vector<u16>(SCREEN_PIXELS, BACKGROUND));
        }
        EXPECT_EQ(played, screen());
    }
}

// ---- Painter's order ----------------------------------------------------------------------------
TEST_F(AnimTest, TrackOrderIsAnExchangeSortOverAllTwelveYs) {
    struct Case {
        std::vector<s32> y; // tracks 0.. (the rest 1000)
        std::vector<s32> order;
    };
    const Case cases[] = {
        {{200, 150}, {1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {{5, 5, 5}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        // Taking track 2 to the front swaps track 0 behind its tie, track 1.
        {{5, 5, 3}, {2, 1, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {{9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1, -2}, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}},
    };
    for (const Case& c : cases) {
        for (s32 t = 0; t < ANIM_TRACKS; ++t) anim_track_y[t] = t < s32(c.y.size()) ? c.y[t] : 1000;
        s32 order[ANIM_TRACKS];
        anim_track_order(order);
        EXPECT_EQ(std::vector<s32>(order, order + ANIM_TRACKS), c.order);
    }
}

TEST_F(AnimTest, BodiesAreDrawnInOrderOfYAfterEveryShadow) {
    // Every part lands on (100, 100): track 0's body (A), track 1's body (B) and track 2's shadow
    // (C) whatever their y; the last body drawn shows.
    const auto at_100 = [](s32 y, u32 kind, s32 image) {
        Frame f;
        f.parts.push_back({0, s16(100 - y), kind, u32(image)});
        return Anim{f};
    };
    struct Case {
        s32 y0, y1, y2;
        bool track2_on;
        u16 shown;
    };
    const Case cases[] = {
        {200, 150, 500, true, COL_A}, // the larger y is drawn later
        {150, 200, 100, true, COL_B},
        {150, 150, 500, true, COL_B},  // ties keep number order...
        {150, 150, 100, false, COL_A}, // ...until a smaller y behind them, even of a track that is
                                       // off, makes the exchange sort swap them
    };
    for (const Case& c : cases) {
        anim_reset();
        install({{1, at_100(c.y0, 0x00, IMG_A)},
                 {2, at_100(c.y1, 0x00, IMG_B)},
                 {3, at_100(c.y2, 0x40, IMG_C)}});
        clear();
        track(0, 1, 0, 100, c.y0);
        track(1, 2, 0, 100, c.y1);
        track(2, c.track2_on ? 3 : -1, 0, 100, c.y2);
        for (s32 t = 3; t < ANIM_TRACKS; ++t) anim_track_y[t] = 1000; // behind every other
        anim_play();
        EXPECT_EQ(px(101, 101), c.shown) << c.y0 << " " << c.y1 << " " << c.y2;
    }
}

// ---- Sounds -------------------------------------------------------------------------------------
TEST_F(AnimTest, SoundPartsPlayOnceFromTheShownFrameAndTheOverlay) {
    // Frame 2 plays the swing and starts the overlay, whose frame 0 plays the impact; frame 3's
    // sound is not shown yet.
    Anim a = walker(6, IMG_A, 20, 7, 2);
    a[2].parts.push_back({0, 0, 0x33, u32(SOUND_SWING)});
    a[3].parts.push_back({0, 0, 0x33, u32(SOUND_UNSHOWN)});
    Anim overlay = walker(3, IMG_B, 20);
    overlay[0].parts.push_back({0, 0, 0x33, u32(SOUND_IMPACT)});
    const auto playing = [] {
        std::set<s32> ids;
        for (s32 id : mssw_effect_ids) {
            if (id != -1) ids.insert(id);
        }
        return ids;
    };
    const auto plays = [] {
        return std::count_if(harness_sound_log().begin(), harness_sound_log().end(),
                             [](const SoundCall& c) { return c.op == "play"; });
    };

    install({{5, a}, {7, overlay}});
    track(0, 5, 2, 20, 20);
    anim_track_hit_x[0][0] = 20;
    anim_track_hit_y[0][0] = 100;
    anim_track_hit_x[0][3] = 40;
    anim_track_hit_y[0][3] = 120;
    anim_play();
    EXPECT_EQ(playing(), (std::set<s32>{SOUND_SWING, SOUND_IMPACT}));
    // Met in the shadow pass, the body pass and at two hit points: each started once.
    EXPECT_EQ(plays(), 2);

    // Without a hit point in use the overlay, and its sound, are not played.
    mssw_stop_all();
    for (s32 h = 0; h < ANIM_HIT_POINTS; ++h) anim_track_hit_x[0][h] = -1;
    anim_play();
    EXPECT_EQ(playing(), (std::set<s32>{SOUND_SWING}));
}

// ---- Installing ---------------------------------------------------------------------------------
TEST_F(AnimTest, MalformedLibrariesAreFatalOnInstall) {
    const Library good = encode({{5, walker(3, IMG_A, 20)}, {6, walker(2, IMG_B, 20)}});
    struct Case {
        const char* name;
        void (*damage)(Library&);
        const char* message;
    };
    const Case cases[] = {
        {"start", [](Library& l) { l.offsets[0] = 1; }, "anim_install: the first slot starts at 1"},
        {"order", [](Library& l) { l.offsets[5] = 60; },
         "anim_install: slot 5 ends before it starts"},
        {"size", [](Library& l) { l.bytes.push_back(0); },
         "anim_install: the slots span 82 bytes of 83"},
        {"short record", // slot 5 claims a fourth frame that lies in slot 6's bytes
         [](Library& l) { l.bytes[0] = 4; }, "anim_install: slot 5 does not fill its span"},
        {"long record", // slot 6's second frame claims more parts than its span holds
         [](Library& l) { l.bytes[l.offsets[6] + 1 + 16 + 6] = 2; },
         "anim_install: slot 6 does not fill its span"},
        {"trailing bytes", // slot 5's span takes slot 6's first byte
         [](Library& l) { ++l.offsets[6]; }, "anim_install: slot 5 does not fill its span"},
    };
    for (const Case& c : cases) {
        Library bad = good;
        c.damage(bad);
        EXPECT_EQ(harness_fatal_message([&] {
                      anim_install(bad.bytes.data(), u32(bad.bytes.size()), bad.offsets.data());
                  }),
                  c.message)
            << c.name;
    }
    EXPECT_EQ(harness_fatal_message([&] {
                  anim_install(good.bytes.data(), u32(good.bytes.size()), good.offsets.data());
              }),
              "");
    EXPECT_EQ(anim_frame_count(5), 3);
    EXPECT_EQ(anim_frame_count(6), 2);
}

// ---- The embedded library -----------------------------------------------------------------------
struct Decoded {
    std::vector<AnimFrame> frames;
    std::vector<std::vector<AnimPart>> parts;
};

Decoded decode(s32 slot) {
    Decoded d;
    u32 pos = anim_offsets[slot];
    const u32 n = anim_offsets[slot] == anim_offsets[slot + 1] ? 0 : anim_library[pos++];
    for (u32 i = 0; i < n; ++i) {
        AnimFrame f;
        std::memcpy(&f, anim_library + pos, sizeof f);
        pos += sizeof f;
        d.frames.push_back(f);
        d.parts.emplace_back(f.part_count);
        std::memcpy(d.parts.back().data(), anim_library + pos, sizeof(AnimPart) * f.part_count);
        pos += sizeof(AnimPart) * f.part_count;
    }
    return d;
}

TEST_F(AnimTest, EmbeddedLibraryKeepsTheLimitsAndFillsEverySlotTheArtsUse) {
    EXPECT_EQ(anim_library, anim_builtin_library); // anim_reset installed it, checked
    EXPECT_EQ(anim_offsets[ANIM_SLOTS], anim_builtin_size);

    for (s32 s = 0; s < ANIM_SLOTS; ++s) {
        const Decoded d = decode(s);
        EXPECT_LE(d.frames.size(), 59u) << s;
        for (size_t i = 0; i < d.frames.size(); ++i) {
            EXPECT_LE(d.frames[i].part_count, 8) << s;
            if (d.frames[i].link != 0) {
                EXPECT_GT(anim_frame_count(d.frames[i].link), 0) << s;
            }
            for (const AnimPart& p : d.parts[i]) {
                const u32 id = anim_part_id(p.kind_id);
                if (anim_part_kind(p.kind_id) == ANIM_KIND_SOUND) {
                    EXPECT_TRUE(id >= 701 && id <= 999) << s;
                } else {
                    EXPECT_TRUE(id >= 1 && id <= 65172) << s;
                }
            }
        }
    }

    init_battle_tables();
    for (const ArtEntry& art : arts_table) {
        for (s32 anim : art.anim) EXPECT_GT(anim_frame_count(anim), 0) << anim;
    }

    // The standing fighter: 22 frames of two parts mirrored relative to the track.
    const Decoded stand = decode(0);
    ASSERT_EQ(stand.frames.size(), 22u);
    for (const auto& parts : stand.parts) {
        ASSERT_EQ(parts.size(), 2u);
        for (const AnimPart& p : parts) EXPECT_EQ(anim_part_kind(p.kind_id), 0x80u);
    }
    // The sample move: frame 2's parts, and the hit effect at frame 8.
    const Decoded move = decode(102);
    ASSERT_EQ(move.frames.size(), 31u);
    std::multiset<u32> kinds;
    std::set<u32> sounds;
    for (const AnimPart& p : move.parts[2]) {
        kinds.insert(anim_part_kind(p.kind_id));
        if (anim_part_kind(p.kind_id) == ANIM_KIND_SOUND) sounds.insert(anim_part_id(p.kind_id));
    }
    EXPECT_EQ(kinds, (std::multiset<u32>{0x41, 0x80, 0x81, 0x81, 0x33, 0x33}));
    EXPECT_EQ(sounds, (std::set<u32>{704, 801}));
    EXPECT_EQ(anim_link_frame(102), 8);
    EXPECT_EQ(move.frames[8].link, 92);
}

} // namespace
