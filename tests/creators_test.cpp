// Object creators: each writes exactly its listed attributes over whatever the record held
// (creators clear nothing), and writes the frame after the map so that an object created on the
// current map takes its image's size.
#include "engine/world/creators.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "tests/world_harness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Writes = std::vector<std::pair<s32, s32>>;

// Runs `create` on object obj filled with each dirty pattern, and compares the whole record with
// the same pattern on which only `writes` were made. The map written is never the current one,
// so no size refresh takes part. The neighbouring records stay as they were.
void expect_writes(const std::string& name, s32 obj, const std::function<void()>& create,
                   const Writes& writes) {
    const s32 scratch = obj == 100 ? 101 : 100;
    for (u8 fill : {u8(0x00), u8(0xFF), u8(0xA5), u8(0x3C)}) {
        SCOPED_TRACE(name + " over fill " + std::to_string(fill));
        std::memset(object_table, 0x77, sizeof object_table);
        std::memset(&world_state, 0, sizeof world_state);
        world_state.current_map = 1;
        std::memset(&object_table[scratch], fill, sizeof(ObjectRecord));
        for (auto [attr, value] : writes) attr_set(scratch, attr, value);
        ObjectRecord expected = object_table[scratch];
        std::memset(&object_table[scratch], 0x77, sizeof(ObjectRecord));
        std::memset(&object_table[obj], fill, sizeof(ObjectRecord));
        create();
        EXPECT_EQ(0, std::memcmp(&object_table[obj], &expected, sizeof expected));
        for (s32 o = 0; o < OBJECT_COUNT; o++) {
            if (o == obj) continue;
            for (u8 byte : object_table[o].bits) ASSERT_EQ(byte, 0x77) << "object " << o;
        }
    }
}

} // namespace

TEST(Creators, WriteExactlyTheirAttributes) {
    expect_writes("make_player", 0, [] { make_player(12, 300, 400, 77, 9); },
                  {{ATTR_IN_USE, 1},
                   {ATTR_ACTIVE, 1},
                   {ATTR_TIMER_ANYMAP, 1},
                   {ATTR_CLICK, 1},
                   {ATTR_LAYER, 3},
                   {ATTR_HOVER_CURSOR, 1},
                   {ATTR_CURSOR, 9},
                   {ATTR_MAP, 12},
                   {ATTR_X, 300},
                   {ATTR_Y, 400},
                   {ATTR_MIRROR, 0},
                   {ATTR_FRAME, 256},
                   {ATTR_EVENT, 77},
                   {ATTR_SHADOW, 1},
                   {ATTR_SHOW_THROUGH, 1}});
    // A cursor outside 0..15 leaves both cursor attributes alone.
    for (s32 cursor : {-1, 16}) {
        expect_writes("make_player, no cursor", 0, [cursor] { make_player(12, 1, 2, 3, cursor); },
                      {{ATTR_IN_USE, 1},
                       {ATTR_ACTIVE, 1},
                       {ATTR_TIMER_ANYMAP, 1},
                       {ATTR_CLICK, 1},
                       {ATTR_LAYER, 3},
                       {ATTR_MAP, 12},
                       {ATTR_X, 1},
                       {ATTR_Y, 2},
                       {ATTR_MIRROR, 0},
                       {ATTR_FRAME, 256},
                       {ATTR_EVENT, 3},
                       {ATTR_SHADOW, 1},
                       {ATTR_SHOW_THROUGH, 1}});
    }
    // A step-on zone: no layer, no any-map timer.
    expect_writes("make_step_trigger", 33, [] { make_step_trigger(33, 12, 50, 60, 1839, -2050); },
                  {{ATTR_IN_USE, 1},
                   {ATTR_ACTIVE, 1},
                   {ATTR_STEP, 1},
                   {ATTR_MAP, 12},
                   {ATTR_X, 50},
                   {ATTR_Y, 60},
                   {ATTR_MIRROR, 1},
                   {ATTR_FRAME, 2050},
                   {ATTR_EVENT, 1839}});
    const Writes npc = {{ATTR_IN_USE, 1},  {ATTR_ACTIVE, 1}, {ATTR_TIMER_ANYMAP, 1},
                        {ATTR_CLICK, 0},   {ATTR_LAYER, 3},  {ATTR_HOVER_CURSOR, 1},
                        {ATTR_CURSOR, 15}, {ATTR_MAP, 40},   {ATTR_X, 16383},
                        {ATTR_Y, 0},       {ATTR_MIRROR, 0}, {ATTR_FRAME, 30400},
                        {ATTR_EVENT, 4},   {ATTR_SHADOW, 1}};
    expect_writes(
        "make_npc", 4095, [] { make_npc(4095, 40, 16383, 0, 4, 15, 30400, 0); }, npc);
    Writes timed = npc;
    timed.push_back({ATTR_TIMER_ON, 1});
    timed.push_back({ATTR_TIMER, 65535});
    expect_writes(
        "make_npc_timed", 4095, [] { make_npc_timed(4095, 40, 16383, 0, 4, 15, 30400, 0, 65535); },
        timed);
    Writes no_cursor = npc;
    std::erase_if(no_cursor,
                  [](auto w) { return w.first == ATTR_HOVER_CURSOR || w.first == ATTR_CURSOR; });
    no_cursor[3] = {ATTR_CLICK, 1};
    expect_writes(
        "make_npc, cursor -1", 4095, [] { make_npc(4095, 40, 16383, 0, 4, -1, 30400, 1); },
        no_cursor);
    expect_writes("make_clickable", 9, [] { make_clickable(9, 3, 10, 20, -5, 1000); },
                  {{ATTR_IN_USE, 1},
                   {ATTR_ACTIVE, 1},
                   {ATTR_TIMER_ANYMAP, 1},
                   {ATTR_CLICK, 1},
                   {ATTR_LAYER, 3},
                   {ATTR_HOVER_CURSOR, 1},
                   {ATTR_CURSOR, 14},
                   {ATTR_MAP, 3},
                   {ATTR_X, 10},
                   {ATTR_Y, 20},
                   {ATTR_MIRROR, 1},
                   {ATTR_FRAME, 5},
                   {ATTR_EVENT, 1000}});
    // A timer: no map, position, frame or layer.
    expect_writes("make_timer", 5, [] { make_timer(5, 12, 321, 8); },
                  {{ATTR_IN_USE, 1},
                   {ATTR_ACTIVE, 1},
                   {ATTR_TIMER_ANYMAP, 1},
                   {ATTR_TIMER_ON, 1},
                   {ATTR_TIMER, 8},
                   {ATTR_EVENT, 321}});
}

// The frame is written after the map: an object moved onto the current map by its creator takes
// the size of its image at once; one created on another map keeps its old size.
TEST(Creators, ObjectOnTheCurrentMapTakesItsImageSize) {
    HarnessTempDir dir;
    ArcBuilder b;
    world_put_basics(b, 1);
    world_put_sprite(b, 40, 24, 50, 12, 48, 0x7C00);
    world_start(b);
    world_place_player(1, 200, 200);
    std::memset(&object_table[30], 0, sizeof(ObjectRecord));
    attr_set(30, ATTR_MAP, 2);
    make_npc(30, 1, 100, 100, 0, -1, -40, 1);
    EXPECT_EQ(attr_get(30, ATTR_MIRROR), 1);
    EXPECT_EQ(attr_get(30, ATTR_FRAME), 40);
    EXPECT_EQ(attr_get(30, ATTR_WIDTH), 24);
    EXPECT_EQ(attr_get(30, ATTR_HEIGHT), 50);
    EXPECT_EQ(attr_get(30, ATTR_HOT_X), 12);
    EXPECT_EQ(attr_get(30, ATTR_HOT_Y), 48);
    EXPECT_EQ(attr_get(30, ATTR_HOVER_CURSOR), 0);

    std::memset(&object_table[31], 0, sizeof(ObjectRecord));
    make_npc(31, 2, 100, 100, 0, -1, 40, 1);
    EXPECT_EQ(attr_get(31, ATTR_WIDTH), 0);
    EXPECT_EQ(attr_get(31, ATTR_HEIGHT), 0);
    world_stop();
}
