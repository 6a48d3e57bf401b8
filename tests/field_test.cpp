// The field loop, the in-game clock, the event dispatcher and the script registry: the clock's
// carries, timer semantics, the frame in which a script ends the loop, input handling of a frame,
// and the registry's refusal of a slot claimed twice.
#include "engine/labels.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/state.h"
#include "platform/platform.h"
#include "tests/world_harness.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// ---- Clock ------------------------------------------------------------------------------------

struct ClockCase {
    const char* name;
    u16 frames_per_minute;
    u16 minute_frames;
    u8 minute, hour, day, month, year;
    s32 frames;
    // expected after the frames
    u16 e_minute_frames;
    u8 e_minute, e_hour, e_day, e_month, e_year;
    bool day_frames_restart;
};

TEST(FieldClock, CarryTable) {
    const ClockCase cases[] = {
        {"below a minute", 30, 0, 10, 8, 5, 3, 1, 29, 29, 10, 8, 5, 3, 1, false},
        {"one minute", 30, 0, 10, 8, 5, 3, 1, 30, 0, 11, 8, 5, 3, 1, false},
        {"hour", 30, 29, 59, 8, 5, 3, 1, 1, 0, 0, 9, 5, 3, 1, false},
        {"midnight", 6, 5, 59, 23, 5, 3, 1, 1, 0, 0, 0, 6, 3, 1, true},
        {"month", 6, 5, 59, 23, 30, 3, 1, 1, 0, 0, 0, 1, 4, 1, true},
        {"year", 30, 29, 59, 23, 30, 12, 7, 1, 0, 0, 0, 1, 1, 8, true},
        {"minute_frames past the rate", 30, 500, 0, 0, 1, 1, 0, 1, 0, 1, 0, 1, 1, 0, false},
        // A carry is tested only when the unit below wrapped: an out-of-range day stays.
        {"no carry without a wrap", 30, 0, 10, 8, 31, 13, 1, 30, 0, 11, 8, 31, 13, 1, false},
        {"stopped clock", 0, 3, 59, 23, 30, 12, 7, 500, 3, 59, 23, 30, 12, 7, false},
    };
    for (const ClockCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::memset(&world_state, 0, sizeof world_state);
        WorldState& w = world_state;
        w.frames_per_minute = c.frames_per_minute;
        w.minute_frames = c.minute_frames;
        w.minute = c.minute;
        w.hour = c.hour;
        w.day = c.day;
        w.month = c.month;
        w.year = c.year;
        w.clock_frames = 1000;
        w.day_frames = 1000;
        for (s32 i = 0; i < c.frames; i++) clock_advance_frame();
        EXPECT_EQ(w.minute_frames, c.e_minute_frames);
        EXPECT_EQ(w.minute, c.e_minute);
        EXPECT_EQ(w.hour, c.e_hour);
        EXPECT_EQ(w.day, c.e_day);
        EXPECT_EQ(w.month, c.e_month);
        EXPECT_EQ(w.year, c.e_year);
        const u32 counted = c.frames_per_minute != 0 ? u32(c.frames) : 0;
        EXPECT_EQ(w.clock_frames, 1000 + counted);
        EXPECT_EQ(w.day_frames, c.day_frames_restart ? 0u : 1000 + counted);
    }
}

// ---- Registry and dispatcher --------------------------------------------------------------------

s32 fired_object = -1;
s32 fired_kind = -1;
s32 fired_count = 0;
void record_script() {
    fired_object = world_state.event_object;
    fired_kind = world_state.trigger_kind;
    fired_count++;
}
void other_script() {}

// Registrations made at program start by every subsystem's scripts.
TEST(EventRegistry, NoSlotIsRegisteredTwiceAtStart) {
    std::string report;
    for (s32 i = 0; i < event_conflict_count() && i < EVENT_CONFLICT_MAX; i++) {
        const EventConflict& c = event_conflict(i);
        report += "slot " + std::to_string(c.slot) + ": " + (c.owner ? c.owner : "?") + " after " +
                  (c.previous_owner ? c.previous_owner : "(invalid slot)") + "\n";
    }
    EXPECT_EQ(event_conflict_count(), 0) << report;
    for (s32 slot = 0; slot < OBJECT_EVENT_COUNT; slot++) {
        ASSERT_NE(object_event_table[size_t(slot)], nullptr) << slot;
        EXPECT_EQ(event_slot_taken(slot) != 0,
                  object_event_table[size_t(slot)] != &object_event_none)
            << slot;
    }
}

TEST(EventRegistry, SecondClaimOnASlotIsRefusedAndRecorded) {
    s32 slot = OBJECT_EVENT_COUNT - 1;
    while (event_slot_taken(slot)) slot--;
    const s32 conflicts = event_conflict_count();
    const s32 registered = event_registered_count();

    ASSERT_EQ(event_register(slot, record_script, "first"), 0);
    EXPECT_EQ(event_register(slot, other_script, "second"), -1);
    EXPECT_EQ(object_event_table[size_t(slot)], &record_script); // the first one stays
    EXPECT_STREQ(event_owner(slot), "first");
    ASSERT_EQ(event_conflict_count(), conflicts + 1);
    const EventConflict& c = event_conflict(conflicts);
    EXPECT_EQ(c.slot, slot);
    EXPECT_STREQ(c.owner, "second");
    EXPECT_STREQ(c.previous_owner, "first");

    // Out of range and null scripts are refused too, and never touch the table.
    EXPECT_EQ(event_register(OBJECT_EVENT_COUNT, record_script, "past"), -1);
    EXPECT_EQ(event_register(-1, record_script, "before"), -1);
    EXPECT_EQ(event_register(slot - 1, nullptr, "null"), -1);
    EXPECT_EQ(event_conflict_count(), conflicts + 4);

    event_unregister(slot);
    EXPECT_EQ(object_event_table[size_t(slot)], &object_event_none);
    EXPECT_EQ(event_owner(slot), nullptr);
    EXPECT_EQ(event_registered_count(), registered);
    event_conflicts_truncate(conflicts);
}

TEST(EventDispatch, FireStoresObjectAndKindAndOutOfTableSlotsRunNothing) {
    state_reset();
    s32 slot = OBJECT_EVENT_COUNT - 1;
    while (event_slot_taken(slot)) slot--;
    ASSERT_EQ(event_register(slot, record_script, "field test"), 0);
    fired_count = 0;

    attr_set(700, ATTR_EVENT, slot);
    event_fire(700, TRIG_CLICK);
    EXPECT_EQ(fired_count, 1);
    EXPECT_EQ(fired_object, 700);
    EXPECT_EQ(fired_kind, TRIG_CLICK);
    // Not restored after the script returned.
    EXPECT_EQ(world_state.event_object, 700);
    EXPECT_EQ(world_state.trigger_kind, TRIG_CLICK);

    // Slots 1840 and above (ATTR_EVENT holds 18 bits) run the empty script.
    for (s32 bad : {OBJECT_EVENT_COUNT, 0x3FFFF}) {
        attr_set(701, ATTR_EVENT, bad);
        event_fire(701, TRIG_TIMER);
        EXPECT_EQ(fired_count, 1) << bad;
        EXPECT_EQ(world_state.event_object, 701);
        EXPECT_EQ(world_state.trigger_kind, TRIG_TIMER);
    }
    event_unregister(slot);
}

// ---- Field loop ---------------------------------------------------------------------------------

constexpr s32 MAP = 1;
constexpr s32 BOX_IMAGE = 2000; // 40 x 40, hotspot at the foot (20, 39)

class FieldLoopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world_put_basics(b, MAP);
        world_put_map(
            b, 2, 640, 480, [](s32, s32) { return WORLD_GROUND; }, 100);
        world_put_sprite(b, BOX_IMAGE, 40, 40, 20, 39, 0x7C00);
        world_start(b);
        world_place_player(MAP, 100, 300);
    }
    void TearDown() override { world_stop(); }
    HarnessTempDir dir;
    ArcBuilder b;
};

TEST_F(FieldLoopTest, StartSetsUpFromThePlayersMapAndEndsWhenAScriptClearsTheFlag) {
    world_state.box_style = 7;
    world_state.current_map = 2;
    world_place_object(5, MAP, 0, 0, 0, world_end_slot());
    world_arm_timer(5, 3);
    const WorldRun run = world_run_field();
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(world_state.current_map, MAP);
    EXPECT_EQ(world_state.box_style, 0u);
    EXPECT_EQ(world_state.field_active, 0);
    EXPECT_EQ(run.presents, 2u); // the third frame is not presented
}

TEST_F(FieldLoopTest, TimerFiresOnceWhenItReachesZeroThenStaysIdle) {
    std::vector<u64> fired_at;
    const s32 slot = world_script([&] { fired_at.push_back(world_presents()); });
    world_place_object(5, MAP, 0, 0, 0, slot);
    world_arm_timer(5, 1);
    // Armed but at 0: never fires.
    world_place_object(6, MAP, 0, 0, 0, slot);
    world_arm_timer(6, 0);
    world_place_object(7, MAP, 0, 0, 0, world_end_slot());
    world_arm_timer(7, 6);
    world_run_field();
    EXPECT_EQ(fired_at, std::vector<u64>{0}); // in the first frame's object pass
    EXPECT_EQ(attr_get(5, ATTR_TIMER), 0);
    EXPECT_EQ(attr_get(5, ATTR_TIMER_ON), 1);
}

TEST_F(FieldLoopTest, TimerReArmedWithOneFiresEveryFrame) {
    std::vector<u64> fired_at;
    const s32 slot = world_script([&] {
        fired_at.push_back(world_presents());
        attr_set(world_state.event_object, ATTR_TIMER, 1);
    });
    world_place_object(5, MAP, 0, 0, 0, slot);
    world_arm_timer(5, 2);
    world_place_object(7, MAP, 0, 0, 0, world_end_slot());
    world_arm_timer(7, 6);
    world_run_field();
    // Frames 2..6 (presents 1..5 happened before each of them).
    EXPECT_EQ(fired_at, (std::vector<u64>{1, 2, 3, 4, 5}));
}

TEST_F(FieldLoopTest, TimersOnOtherMapsRunOnlyWithAnymap) {
    s32 anymap_fires = 0;
    s32 local_fires = 0;
    world_place_object(5, 2, 0, 0, 0, world_script([&] { anymap_fires++; }));
    world_arm_timer(5, 2, true);
    world_place_object(6, 2, 0, 0, 0, world_script([&] { local_fires++; }));
    world_arm_timer(6, 2, false);
    world_place_object(7, MAP, 0, 0, 0, world_end_slot());
    world_arm_timer(7, 4);
    world_run_field();
    EXPECT_EQ(anymap_fires, 1);
    EXPECT_EQ(local_fires, 0);
    EXPECT_EQ(attr_get(6, ATTR_TIMER), 2); // not counted down either
}

TEST_F(FieldLoopTest, ObjectsAfterTheEnderStillFireAndTheFrameIsNotPresented) {
    std::vector<s32> order;
    world_state.frames_per_minute = 1;
    const s32 ender = world_script([&] {
        order.push_back(world_state.event_object);
        world_state.field_active = 0;
    });
    const s32 later = world_script([&] {
        order.push_back(world_state.event_object);
        EXPECT_EQ(world_state.field_active, 0);
    });
    world_place_object(10, MAP, 0, 0, 0, ender);
    world_arm_timer(10, 3);
    world_place_object(11, MAP, 0, 0, 0, later);
    world_arm_timer(11, 3);
    world_place_object(12, MAP, 0, 0, 0, later);
    world_arm_timer(12, 4); // counted down in the last frame, not fired
    const WorldRun run = world_run_field();
    EXPECT_EQ(order, (std::vector<s32>{10, 11}));
    EXPECT_EQ(attr_get(12, ATTR_TIMER), 1);
    EXPECT_EQ(run.presents, 2u);
    EXPECT_EQ(world_state.minute, 2); // the last frame does not advance the clock
}

TEST_F(FieldLoopTest, FramesLastAtLeast33MsAndLabelsCountDownBeforeDrawing) {
    std::vector<u64> stamps;
    label_table[0].countdown = 1;
    label_table[0].object = LABEL_SCREEN_OBJECT;
    label_table[1].countdown = 5;
    label_table[1].object = LABEL_SCREEN_OBJECT;
    std::vector<s32> seen;
    const s32 slot = world_script([&] {
        stamps.push_back(harness_elapsed_ms());
        seen.push_back(label_table[0].countdown);
        seen.push_back(label_table[1].countdown);
    });
    world_place_object(5, MAP, 0, 0, 0, slot);
    world_arm_timer(5, 1);
    world_place_object(6, MAP, 0, 0, 0, world_script([&] {
                           stamps.push_back(harness_elapsed_ms());
                           attr_set(6, ATTR_TIMER, 1);
                       }));
    world_arm_timer(6, 1);
    world_place_object(7, MAP, 0, 0, 0, world_end_slot());
    world_arm_timer(7, 5);
    world_run_field();
    // The label at 1 was counted down to 0 before the first frame's drawing.
    EXPECT_EQ(seen, (std::vector<s32>{0, 4}));
    ASSERT_GE(stamps.size(), 5u);
    for (size_t i = 2; i < stamps.size(); i++)
        EXPECT_GE(stamps[i] - stamps[i - 1], FIELD_FRAME_MS) << i;
}

TEST_F(FieldLoopTest, APressUsesThePressPositionAndKeysAreDiscarded) {
    // A touch object under map point (300, 300); the live pointer stays elsewhere.
    s32 touches = 0;
    world_place_object(20, MAP, 300, 320, BOX_IMAGE, world_script([&] { touches++; }));
    attr_set(20, ATTR_TOUCH, 1);
    attr_set(20, ATTR_HOVER_CURSOR, 1);
    attr_set(20, ATTR_CURSOR, 5);
    std::vector<u32> cursors;
    std::vector<u32> keys;
    const s32 probe = world_script([&] {
        cursors.push_back(u32{world_state.cursor_id});
        keys.push_back(key_code.peek());
        attr_set(30, ATTR_TIMER, 1);
    });
    world_place_object(30, MAP, 0, 0, 0, probe);
    world_arm_timer(30, 1);
    world_place_object(7, MAP, 0, 0, 0, world_end_slot());
    world_arm_timer(7, 4);

    const s32 sx = 300 - world_state.camera_x;
    const s32 sy = 300 - world_state.camera_y;
    harness_move(sx + 200, sy, at_time(0));
    harness_key('A', at_time(0));
    world_after_presents(0, [&] {
        harness_click(sx, sy, 1, at_time(harness_elapsed_ms()));
        harness_move(sx + 200, sy, at_time(harness_elapsed_ms()));
    });
    world_run_field();
    EXPECT_EQ(touches, 1); // only in the frame of the press
    EXPECT_EQ(cursors, (std::vector<u32>{0, 5, 0, 0}));
    EXPECT_EQ(keys, (std::vector<u32>{0, 0, 0, 0}));
}

// The driver's guard: a script that waits for input that never comes spends the harness
// budget, and the driver reports it as a failure instead of hanging.
WorldRun blocked_run;
void run_blocked_field() {
    blocked_run = world_run_field();
}

TEST(FieldDriver, AScriptBlockedWithoutInputFailsTheTest) {
    HarnessTempDir dir;
    ArcBuilder b;
    world_put_basics(b, MAP);
    HarnessConfig c;
    c.budget_ms = 5000;
    world_start(b, c);
    world_place_player(MAP, 100, 300);
    world_place_object(5, MAP, 0, 0, 0, world_script([] {
                           while (key_code == 0) plat_ticks();
                       }));
    world_arm_timer(5, 2);
    EXPECT_NONFATAL_FAILURE(run_blocked_field(), "field loop blocked");
    EXPECT_TRUE(blocked_run.budget_spent);
    EXPECT_FALSE(blocked_run.ended);
    EXPECT_EQ(blocked_run.presents, 1u);
    world_stop();
}

} // namespace
