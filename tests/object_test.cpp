// The object table: the bit layout of every attribute, the accessors' range checks, the size
// refresh on frame writes, signed frames, liveness and the timer test.
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/ring.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/state.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"
#include "tools/sprite_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Where each attribute lies in the 256 bits of a record: first bit and width, as the layout
// defines them (independent of the accessor tables).
struct BitRange {
    s32 first;
    s32 width;
};
constexpr BitRange attr_bits[ATTR_COUNT] = {
    {0, 1},   {1, 1},    {2, 1},    {3, 1},    {4, 1},    {5, 1},    {6, 1},   {7, 1},   {8, 1},
    {9, 1},   {10, 2},   {12, 4},   {16, 16},  {32, 14},  {46, 14},  {60, 14}, {74, 2},  {76, 14},
    {90, 18}, {108, 18}, {126, 1},  {127, 1},  {128, 5},  {133, 1},  {134, 5}, {139, 4}, {143, 1},
    {144, 8}, {152, 8},  {160, 16}, {176, 16}, {192, 16}, {208, 16}, {224, 8}, {232, 8}, {240, 8},
    {248, 8}, {224, 16}, {240, 16}, {224, 28}, {128, 24},
};

bool bit_of(const ObjectRecord& r, s32 n) {
    return (r.bits[n / 8] >> (n % 8)) & 1;
}

void clear_world() {
    state_reset();
}

} // namespace

// Every attribute written all ones into a zero record, and zero into an all-ones record, changes
// exactly its own bits and reads back as written. The last record is used so that the attributes
// in bytes 28..31 show they never reach past the table.
TEST(Object, EachAttributeOwnsExactlyItsBits) {
    const s32 obj = OBJECT_COUNT - 1;
    for (s32 attr = 0; attr < ATTR_COUNT; attr++) {
        SCOPED_TRACE("attribute " + std::to_string(attr));
        const BitRange range = attr_bits[attr];
        const s32 all_ones = s32((u64(1) << range.width) - 1);
        for (u8 fill : {u8(0x00), u8(0xFF)}) {
            clear_world();
            world_state.current_map = 1; // differs from the all-ones map, so no size refresh
            std::memset(&object_table[obj], fill, sizeof(ObjectRecord));
            std::memset(&object_table[obj - 1], 0x5A, sizeof(ObjectRecord));
            attr_set(obj, attr, fill ? 0 : -1);
            EXPECT_EQ(attr_get(obj, attr), fill ? 0 : all_ones);
            for (s32 n = 0; n < 256; n++) {
                bool inside = n >= range.first && n < range.first + range.width;
                EXPECT_EQ(bit_of(object_table[obj], n), inside ? !fill : bool(fill)) << "bit " << n;
            }
            for (u8 byte : object_table[obj - 1].bits) ASSERT_EQ(byte, 0x5A);
        }
    }
}

// One record written attribute by attribute gives these 32 bytes, the saved form.
TEST(Object, GoldenRecord) {
    clear_world();
    world_state.current_map = 7; // not the object's map: the frame write leaves the size alone
    const s32 obj = 300;
    const std::pair<s32, s32> writes[] = {
        {ATTR_IN_USE, 1},      {ATTR_ACTIVE, 1},     {ATTR_CLICK, 1},      {ATTR_LAYER, 3},
        {ATTR_CURSOR, 14},     {ATTR_TIMER, 0x1234}, {ATTR_MAP, 0x2ABC},   {ATTR_X, 5000},
        {ATTR_Y, 12000},       {ATTR_PLANE, 2},      {ATTR_Z, 300},        {ATTR_EVENT, 0x2F0F1},
        {ATTR_FRAME, 0x3A5A5}, {ATTR_SHADOW, 1},     {ATTR_TINT, 17},      {ATTR_BRIGHTNESS, 9},
        {ATTR_BLEND, 12},      {ATTR_MIRROR, 1},     {ATTR_PALETTE, 0xC3}, {ATTR_DEST_MAP, 0x81},
        {ATTR_HOT_X, -12},     {ATTR_HOT_Y, 0x1357}, {ATTR_WIDTH, 0x2468}, {ATTR_HEIGHT, 0xFEDC},
        {ATTR_VAR_A, 0xBEEF},  {ATTR_VAR_B, 0x1DEA},
    };
    for (auto [attr, value] : writes) attr_set(obj, attr, value);
    const u8 golden[32] = {0x23, 0xEC, 0x34, 0x12, 0xBC, 0x2A, 0xE2, 0x04, 0xEE, 0xCA, 0x12,
                           0xC4, 0xC3, 0x5B, 0x5A, 0x7A, 0x51, 0xE2, 0xC3, 0x81, 0xF4, 0xFF,
                           0x57, 0x13, 0x68, 0x24, 0xDC, 0xFE, 0xEF, 0xBE, 0xEA, 0x1D};
    EXPECT_EQ(0, std::memcmp(object_table[obj].bits, golden, 32));
    // The composite attributes read the same bits.
    EXPECT_EQ(attr_get(obj, ATTR_BLIT_FLAGS), 0xC3E251);
    EXPECT_EQ(attr_get(obj, ATTR_VAR_AB), 0xDEABEEF);
    EXPECT_EQ(attr_get(obj, ATTR_VAR_A_HI), 0xBE);
    EXPECT_EQ(attr_get(obj, ATTR_VAR_B_LO), 0xEA);
    // Values are zero-extended: a hotspot of -12 reads back as 65524.
    EXPECT_EQ(attr_get(obj, ATTR_HOT_X), 65524);
}

TEST(Object, ValuesAreTruncatedToTheirWidth) {
    clear_world();
    attr_set(9, ATTR_X, 20000);
    EXPECT_EQ(attr_get(9, ATTR_X), 3616);
    attr_set(9, ATTR_LAYER, 6);
    EXPECT_EQ(attr_get(9, ATTR_LAYER), 2);
    attr_set(9, ATTR_TIMER, -1);
    EXPECT_EQ(attr_get(9, ATTR_TIMER), 0xFFFF);
}

// Numbers from data never index past the table: both accessors report them as fatal errors.
TEST(Object, NumbersOutsideTheTableAreFatal) {
    clear_world();
    struct Case {
        s32 obj, attr;
    };
    for (Case c : {Case{0, 41}, Case{0, -1}, Case{4096, 0}, Case{-1, 0}, Case{0x7FFFFFFF, 40}}) {
        std::string expect_get = "object: attr_get(" + std::to_string(c.obj) + "," +
                                 std::to_string(c.attr) + ") out of range!";
        std::string expect_set = "object: attr_set(" + std::to_string(c.obj) + "," +
                                 std::to_string(c.attr) + ") out of range!";
        EXPECT_EQ(harness_fatal_message([&] { attr_get(c.obj, c.attr); }), expect_get);
        EXPECT_EQ(harness_fatal_message([&] { attr_set(c.obj, c.attr, 1); }), expect_set);
        EXPECT_EQ(harness_fatal_message([&] { obj_set_frame(c.obj, 0); }),
                  c.obj == 0 ? ""
                             : "object: attr_set(" + std::to_string(c.obj) + ",26) out of range!");
    }
    EXPECT_EQ(harness_fatal_message([] { attr_get(4095, 40); }), "");
    for (u8 byte : object_table[0].bits) EXPECT_EQ(byte, 0);
}

// Liveness and the timer test, row by row: in use, active, timer on, timer, any map, map.
TEST(Object, LivenessAndTimerDue) {
    struct Case {
        s32 in_use, active, timer_on, timer, anymap, map;
        s32 live, due;
    };
    const Case cases[] = {
        {1, 1, 1, 5, 0, 3, 1, 1}, // on the current map
        {1, 1, 1, 5, 0, 4, 1, 0}, // another map
        {1, 1, 1, 5, 1, 4, 1, 1}, // another map, but it counts everywhere
        {1, 1, 1, 0, 1, 3, 1, 0}, // ran out
        {1, 1, 0, 5, 1, 3, 1, 0}, // not armed
        {0, 1, 1, 5, 1, 3, 0, 0}, // active but not in use
        {1, 0, 1, 5, 1, 3, 0, 0}, // removed from the scene
    };
    for (const Case& c : cases) {
        clear_world();
        world_state.current_map = 3;
        attr_set(20, ATTR_IN_USE, c.in_use);
        attr_set(20, ATTR_ACTIVE, c.active);
        attr_set(20, ATTR_TIMER_ON, c.timer_on);
        attr_set(20, ATTR_TIMER, c.timer);
        attr_set(20, ATTR_TIMER_ANYMAP, c.anymap);
        attr_set(20, ATTR_MAP, c.map);
        EXPECT_EQ(obj_is_live(20), c.live);
        EXPECT_EQ(obj_timer_due(20), c.due);
    }
}

class ObjectFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SpriteSource s;
        s.width = 7;
        s.height = 9;
        s.hot_x = 3;
        s.hot_y = -2;
        s.cells.assign(size_t(7 * 9), 1);
        s.palettes.push_back({});
        ArcBuilder b;
        b.put(ARC_IMAGE_BASE + 40, sprite_writer_encode(s));
        arc_write_chained(b, "VERORIRE");
        HarnessConfig c;
        c.physical_memory = 16ull << 20;
        harness_reset(c);
        shell_shutdown();
        shell_startup("test");
        clear_world();
        world_state.current_map = 5;
    }
    void TearDown() override { shell_shutdown(); }
    // Puts object 10 on map with the flags and a stale size, then writes frame 40.
    void write_frame(s32 in_use, s32 active, s32 map) {
        attr_set(10, ATTR_IN_USE, in_use);
        attr_set(10, ATTR_ACTIVE, active);
        attr_set(10, ATTR_MAP, map);
        attr_set(10, ATTR_WIDTH, 1);
        attr_set(10, ATTR_HEIGHT, 2);
        attr_set(10, ATTR_HOT_X, 3);
        attr_set(10, ATTR_HOT_Y, 4);
        obj_set_frame(10, -40);
    }
    bool refreshed() {
        return attr_get(10, ATTR_WIDTH) == 7 && attr_get(10, ATTR_HEIGHT) == 9 &&
               attr_get(10, ATTR_HOT_X) == 3 && attr_get(10, ATTR_HOT_Y) == 0xFFFE;
    }
    bool stale() {
        return attr_get(10, ATTR_WIDTH) == 1 && attr_get(10, ATTR_HEIGHT) == 2 &&
               attr_get(10, ATTR_HOT_X) == 3 && attr_get(10, ATTR_HOT_Y) == 4;
    }
    HarnessTempDir dir;
};

// A non-zero frame takes the image's size and hotspot when the object is in use or active
// (either suffices) and stands on the current map; otherwise the old size stays.
TEST_F(ObjectFrameTest, FrameWriteRefreshesTheSizeOnlyOnTheCurrentMap) {
    struct Case {
        s32 in_use, active, map;
        bool refresh;
    };
    for (Case c : {Case{1, 1, 5, true}, Case{0, 1, 5, true}, Case{1, 0, 5, true},
                   Case{0, 0, 5, false}, Case{1, 1, 6, false}}) {
        clear_world();
        world_state.current_map = 5;
        write_frame(c.in_use, c.active, c.map);
        EXPECT_EQ(attr_get(10, ATTR_FRAME), 40);
        EXPECT_EQ(c.refresh, refreshed());
        EXPECT_EQ(!c.refresh, stale());
    }
}

TEST_F(ObjectFrameTest, SignedFrames) {
    write_frame(1, 1, 5);
    EXPECT_EQ(attr_get(10, ATTR_MIRROR), 1);
    EXPECT_EQ(obj_get_frame(10), -40);

    obj_set_frame(10, -7); // no such image: the empty image's zero size
    EXPECT_EQ(obj_get_frame(10), -7);
    EXPECT_EQ(attr_get(10, ATTR_FRAME), 7);
    EXPECT_EQ(attr_get(10, ATTR_WIDTH), 0);

    // Frame 0 clears the mirror and keeps the last size: the object leaves the draw list only.
    obj_set_frame(10, 40);
    obj_set_frame(10, -40);
    obj_set_frame(10, 0);
    EXPECT_EQ(attr_get(10, ATTR_MIRROR), 0);
    EXPECT_EQ(obj_get_frame(10), 0);
    EXPECT_TRUE(refreshed());

    // The most negative frame still has a magnitude, truncated to the frame's 18 bits.
    obj_set_frame(10, s32(0x80000000u));
    EXPECT_EQ(attr_get(10, ATTR_MIRROR), 1);
    EXPECT_EQ(attr_get(10, ATTR_FRAME), 0);
}
