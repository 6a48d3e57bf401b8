// The game's makers (portals, residents with visibility), the player's facing frame and the
// turning of an object toward another.
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/makers.h"
#include "game/state.h"
#include "platform/harness.h"
#include "tests/world_harness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Writes = std::vector<std::pair<s32, s32>>;

// Runs `create` on object obj filled with each dirty pattern and compares the whole record with
// the same pattern on which only `writes` were made (makers clear nothing). The map written is
// never the current one, so no size refresh takes part.
void expect_writes(const std::string& name, s32 obj, const std::function<void()>& create,
                   const Writes& writes) {
    const s32 scratch = obj + 1;
    for (u8 fill : {u8(0x00), u8(0xFF), u8(0xA5), u8(0x3C)}) {
        SCOPED_TRACE(name + " over fill " + std::to_string(fill));
        std::memset(object_table, 0, sizeof object_table);
        std::memset(&world_state, 0, sizeof world_state);
        world_state.current_map = 1;
        std::memset(&object_table[scratch], fill, sizeof(ObjectRecord));
        for (auto [attr, value] : writes) attr_set(scratch, attr, value);
        std::memset(&object_table[obj], fill, sizeof(ObjectRecord));
        create();
        EXPECT_EQ(0, std::memcmp(&object_table[obj], &object_table[scratch], sizeof(ObjectRecord)));
    }
}

} // namespace

TEST(Makers, WriteExactlyTheirAttributes) {
    for (s32 event : {PORTAL_EVENT, PORTAL_FIXED_EVENT}) {
        const Writes portal = {{ATTR_IN_USE, 1},    {ATTR_ACTIVE, 1},     {ATTR_TIMER_ANYMAP, 1},
                               {ATTR_STEP, 1},      {ATTR_MAP, 22},       {ATTR_X, 129},
                               {ATTR_Y, 313},       {ATTR_MIRROR, 1},     {ATTR_FRAME, 2498},
                               {ATTR_EVENT, event}, {ATTR_DEST_MAP, 200}, {ATTR_VAR_A, 40000},
                               {ATTR_VAR_B, 65535}};
        expect_writes(
            "portal " + std::to_string(event), 50,
            [event] {
                if (event == PORTAL_EVENT)
                    make_portal(50, 22, 129, 313, -2498, 200, 40000, 65535);
                else
                    make_portal_fixed(50, 22, 129, 313, -2498, 200, 40000, 65535);
            },
            portal);
    }
    const Writes hidden = {{ATTR_IN_USE, 1}, {ATTR_ACTIVE, 0},   {ATTR_TIMER_ANYMAP, 1},
                           {ATTR_CLICK, 1},  {ATTR_LAYER, 3},    {ATTR_HOVER_CURSOR, 0},
                           {ATTR_MAP, 22},   {ATTR_X, 464},      {ATTR_Y, 318},
                           {ATTR_MIRROR, 0}, {ATTR_FRAME, 2516}, {ATTR_EVENT, 23}};
    expect_writes(
        "make_npc_vis hidden", 60, [] { make_npc_vis(60, 0, 22, 464, 318, 23, -1, 2516, 1); },
        hidden);
    // A cursor from 0 on is stored (in its four bits) without a test against 15; no shadow.
    const Writes shown = {{ATTR_IN_USE, 1},  {ATTR_ACTIVE, 1},   {ATTR_TIMER_ANYMAP, 1},
                          {ATTR_CLICK, 0},   {ATTR_LAYER, 3},    {ATTR_HOVER_CURSOR, 1},
                          {ATTR_CURSOR, 17}, {ATTR_MAP, 22},     {ATTR_X, 464},
                          {ATTR_Y, 318},     {ATTR_MIRROR, 1},   {ATTR_FRAME, 2516},
                          {ATTR_EVENT, 23},  {ATTR_TIMER_ON, 1}, {ATTR_TIMER, 8}};
    expect_writes(
        "make_npc_vis_timed", 60,
        [] { make_npc_vis_timed(60, 1, 22, 464, 318, 23, 17, -2516, 0, 8); }, shown);
}

TEST(Makers, PlayerFaceFrame) {
    state_reset();
    struct Case {
        s32 x1, y1, x2, y2, frame;
    };
    const Case cases[] = {
        {100, 50, 100, 80, 422},   {100, 81, 100, 80, 420},   // vertical
        {110, 80, 100, 80, -416},  {90, 80, 100, 80, 416},    // flat
        {110, 70, 100, 80, -424},  {90, 90, 100, 80, 418},    // diagonal
        {110, 90, 100, 80, -418},  {90, 70, 100, 80, 424},    // the other diagonals
        {101, 40, 100, 80, 422},   {99, 120, 100, 80, 420},   // steep: s = 400
        {200, 108, 100, 80, -416}, {200, 110, 100, 80, -418}, // s = 2 and 3
        {100, 110, 110, 80, 418},  {100, 111, 110, 80, 420},  // s = 30 and 31
        {100, 80, 100, 80, 422},                              // the same point
    };
    for (const Case& c : cases)
        EXPECT_EQ(player_face_frame(c.x1, c.y1, c.x2, c.y2), c.frame)
            << c.x1 << "," << c.y1 << " from " << c.x2 << "," << c.y2;
}

// A player posed by a script keeps its current signed frame.
TEST(Makers, PosedPlayerKeepsItsFrame) {
    state_reset();
    attr_set(0, ATTR_MAP, 3);
    obj_set_frame(0, -31601);
    attr_set(0, ATTR_TIMER_ON, 1);
    EXPECT_EQ(player_face_frame(100, 50, 100, 80), -31601);
    EXPECT_EQ(player_face_frame(90, 80, 100, 80), -31601);
    attr_set(0, ATTR_TIMER_ON, 0);
    EXPECT_EQ(player_face_frame(90, 80, 100, 80), 416);
}

// obj_face shows the frame for the target's side at once (one presented frame) and returns the
// side; on the same point it shows nothing and returns 4.
TEST(Makers, ObjFaceShowsTheFrameTowardTheTarget) {
    HarnessTempDir dir;
    ArcBuilder b;
    world_put_basics(b, 1);
    for (s32 image : {600, 602, 604, 606, 608}) world_put_sprite(b, image, 10, 10, 5, 9, 0x03E0);
    world_start(b);
    world_place_player(1, 300, 300);
    world_place_object(7, 1, 300, 300, 608, 0);
    struct Case {
        s32 x, y, side, frame;
    };
    const Case cases[] = {
        {300, 299, 1, -602}, {340, 260, 1, -602}, // up, up-right
        {301, 300, 3, 606},  {340, 340, 3, 606},  // right, down-right
        {300, 301, 2, 604},  {260, 340, 2, 604},  // down, down-left
        {299, 300, 0, -600}, {260, 260, 0, -600}, // left, up-left
    };
    for (const Case& c : cases) {
        obj_set_frame(7, 608);
        attr_set(0, ATTR_X, c.x);
        attr_set(0, ATTR_Y, c.y);
        u64 before = harness_presents();
        EXPECT_EQ(obj_face(0, 7, -600, -602, 604, 606), c.side) << c.x << "," << c.y;
        EXPECT_EQ(obj_get_frame(7), c.frame);
        EXPECT_EQ(harness_presents(), before + 1);
    }
    obj_set_frame(7, 608);
    attr_set(0, ATTR_X, 300);
    attr_set(0, ATTR_Y, 300);
    u64 before = harness_presents();
    EXPECT_EQ(obj_face(0, 7, -600, -602, 604, 606), 4);
    EXPECT_EQ(obj_get_frame(7), 608);
    EXPECT_EQ(harness_presents(), before);
    world_stop();
}
