#include "data/schedule.h"
#include "engine/math.h"
#include "game/calendar_table.h"
#include "game/inventory.h"
#include "game/pickers.h"
#include "game/player.h"
#include "tests/hub_fixture.h"

#include <string>
#include <vector>

namespace {

// Slots the tests borrow for their handlers (no calendar handler holds them in these tests).
constexpr s32 SLOT_HIT = 186;
constexpr s32 SLOT_FAR = 187;

s32 hits = 0;
s32 far_hits = 0;
size_t transcript_at_hit = 0;
void hit_handler() {
    hits++;
    transcript_at_hit = dialog_lines().size();
}
void far_handler() {
    far_hits++;
}

// The generator's state when the fallback starts (drawing pictures afterwards may stir it).
u32 rt_at_fallback = 0;
TranscriptObserver driver_observer = nullptr;
s32 fallback_observer(const TranscriptEntry& e) {
    if (e.kind == TRANSCRIPT_HUB_SAY && e.text[0] == 11840) rt_at_fallback = rt_rand_state;
    return driver_observer(e);
}

s32 meals = 0;
s32 meal_backdrop = 0;
bool title_before_meal = false;
void fake_meal() {
    meals++;
    meal_backdrop = hub_block.scene_backdrop;
    title_before_meal = title_has(31) || title_has(54);
    rt_at_fallback = rt_rand_state;
}

struct RandState {
    u32 rt;
    s32 counter;
};
RandState rand_state() {
    return {rt_rand_state, rand_counter};
}
void rand_restore(const RandState& s) {
    rt_rand_state = s.rt;
    rand_counter = s.counter;
}

// A seed whose first roll lands below `chance` (pass true) or not.
RandState seed_with_roll(s32 chance, bool pass) {
    for (u32 seed = 1;; seed++) {
        rt_srand(seed);
        rand_counter = RAND_COUNTER_START;
        const RandState s = rand_state();
        const bool passed = rand_below(100) < chance;
        rand_restore(s);
        if (passed == pass) return s;
    }
}

// The generator state after the roll and `draws` draws of 0..n-1 from `start`.
u32 generator_after(const RandState& start, s32 draws, s32 n) {
    const RandState keep = rand_state();
    rand_restore(start);
    rand_below(100);
    for (s32 i = 0; i < draws; i++) rand_below(n);
    const u32 rt = rt_rand_state;
    rand_restore(keep);
    return rt;
}

void clear_pool(EventEntry* pool, s32 n) {
    for (s32 i = 0; i < n; i++) pool[i] = {-1, 0};
}

enum class Picker { Place0, Place1, A, B, C };

struct PickerCase {
    const char* name;
    Picker picker;
    s32 chance;
    s32 draws_when_empty; // draws after a passed roll when nothing is drawable
    s32 range;            // entries drawn
    s32 backdrop;         // fallback backdrop
};

const PickerCase PICKERS[] = {
    {"place set 0", Picker::Place0, 90, 501, 30, 60407},
    {"place set 1", Picker::Place1, 90, 501, 30, 60421},
    {"pool A", Picker::A, 90, 501, 100, 60427},
    {"pool B", Picker::B, 90, 501, 100, 60421},
    {"pool C", Picker::C, 50, 2001, 10, 60422},
};

EventEntry* pool_of(Picker p) {
    switch (p) {
    case Picker::Place0:
        return hub_block.place_events[0][3];
    case Picker::Place1:
        return hub_block.place_events[1][3];
    case Picker::A:
        return hub_block.encounter_pool_a;
    case Picker::B:
        return hub_block.encounter_pool_b;
    case Picker::C:
        return hub_block.encounter_pool_c;
    }
    return nullptr;
}

s32 pool_size(Picker p) {
    switch (p) {
    case Picker::Place0:
    case Picker::Place1:
        return HUB_PLACE_POOL_SIZE;
    case Picker::A:
        return HUB_POOL_A_SIZE;
    case Picker::B:
        return HUB_POOL_B_SIZE;
    case Picker::C:
        return HUB_POOL_C_SIZE;
    }
    return 0;
}

s32 run_picker(Picker p) {
    switch (p) {
    case Picker::Place0:
        return pick_place_event(0, 3);
    case Picker::Place1:
        return pick_place_event(1, 3);
    case Picker::A:
        return pick_event_a();
    case Picker::B:
        return pick_event_b();
    case Picker::C:
        return pick_event_c();
    }
    return -1;
}

// Transcript lines recorded since `from` that equal `line`.
size_t count_lines(size_t from, const std::string& line) {
    const std::vector<std::string> lines = dialog_lines();
    size_t n = 0;
    for (size_t i = from; i < lines.size(); i++) n += lines[i] == line;
    return n;
}

class PickersTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        ASSERT_EQ(calendar_event_register(SLOT_HIT, hit_handler, "pickers test"), 0);
        ASSERT_EQ(calendar_event_register(SLOT_FAR, far_handler, "pickers test"), 0);
        hits = far_hits = meals = 0;
        meal_backdrop = 0;
        title_before_meal = false;
        transcript_at_hit = 0;
        meal_screen_seam = fake_meal;
        driver_observer = transcript_observer;
        transcript_observer = fallback_observer;
        // Every pool empty: the places' pools too, so that no start entry can be drawn.
        for (const PickerCase& c : PICKERS) clear_pool(pool_of(c.picker), pool_size(c.picker));
        for (auto& set : hub_block.place_events)
            for (auto& place : set) clear_pool(place, HUB_PLACE_POOL_SIZE);
        hub_block.scene_backdrop = 60400;
    }
    void TearDown() override {
        transcript_observer = driver_observer;
        calendar_event_unregister(SLOT_HIT);
        calendar_event_unregister(SLOT_FAR);
        HubTest::TearDown();
    }
};

} // namespace

TEST_F(PickersTest, NothingDrawableFallsBackAfterTheMissLimitOrAtOnceOnTheRoll) {
    for (const PickerCase& c : PICKERS) {
        for (bool roll_passes : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (roll_passes ? ", roll passes" : ", roll fails"));
            // Entries that look drawable but are not: off, closed by -1, or empty.
            EventEntry* pool = pool_of(c.picker);
            pool[0] = {SLOT_HIT, 0};
            pool[1] = {SLOT_HIT, -1};
            pool[2] = {-1, 1};
            hub_block.scene_backdrop = 60400;
            meals = 0;
            rt_at_fallback = 0;
            const size_t mark = dialog_lines().size();
            const RandState start = seed_with_roll(c.chance, roll_passes);

            EXPECT_EQ(run_picker(c.picker), 1);

            const s32 draws = roll_passes ? c.draws_when_empty : 0;
            EXPECT_EQ(rt_at_fallback, generator_after(start, draws, c.range))
                << "expected exactly " << draws << " draws after the roll";
            EXPECT_EQ(hits, 0);
            EXPECT_EQ(hub_block.scene_backdrop, c.backdrop);
            if (c.picker == Picker::C) {
                EXPECT_EQ(meals, 1);
                EXPECT_EQ(meal_backdrop, c.backdrop);
                EXPECT_EQ(count_lines(mark, "hub_say 0 0 -1 11840"), 0u);
            } else {
                EXPECT_EQ(meals, 0);
                EXPECT_EQ(count_lines(mark, "hub_say 0 0 -1 11840"), 1u);
            }
            clear_pool(pool, pool_size(c.picker));
        }
    }
}

TEST_F(PickersTest, DrawnEntryRunsItsHandlerWithANoticeOnlyAtPlaces) {
    for (const PickerCase& c : PICKERS) {
        SCOPED_TRACE(c.name);
        EventEntry* pool = pool_of(c.picker);
        for (s32 i = 0; i < c.range; i++) pool[i] = {SLOT_HIT, 1};
        hits = 0;
        hub_block.scene_backdrop = 60400;
        const size_t mark = dialog_lines().size();
        rand_restore(seed_with_roll(c.chance, true));

        EXPECT_EQ(run_picker(c.picker), 0);

        EXPECT_EQ(hits, 1);
        EXPECT_EQ(meals, 0);
        EXPECT_EQ(hub_block.scene_backdrop, 60400) << "no fallback backdrop after an event";
        EXPECT_EQ(count_lines(mark, "hub_say 0 0 -1 11840"), 0u);
        const bool place = c.picker == Picker::Place0 || c.picker == Picker::Place1;
        if (place) {
            ASSERT_GT(transcript_at_hit, mark);
            EXPECT_EQ(dialog_lines()[transcript_at_hit - 1], "hub_transition_short");
        } else {
            EXPECT_EQ(count_lines(mark, "hub_transition_short"), 0u);
        }
        clear_pool(pool, pool_size(c.picker));
    }
}

TEST_F(PickersTest, PoolCNeverDrawsPastItsTenthEntry) {
    EventEntry* pool = hub_block.encounter_pool_c;
    for (s32 i = 10; i < HUB_POOL_C_SIZE; i++) pool[i] = {SLOT_FAR, 1};
    for (u32 round = 0; round < 20; round++) {
        rt_srand(1000 + round);
        pick_event_c();
    }
    EXPECT_EQ(far_hits, 0);
    EXPECT_EQ(meals, 20);
}

TEST_F(PickersTest, PlaceFallbackBackdropFollowsTheSetOnly) {
    for (s32 set : {0, 1}) {
        for (s32 place = 0; place < HUB_PLACE_POOL_PLACES; place++) {
            hub_block.scene_backdrop = 60400;
            EXPECT_EQ(pick_place_event(set, place), 1);
            EXPECT_EQ(hub_block.scene_backdrop, set == 0 ? 60407 : 60421)
                << "set " << set << " place " << place;
        }
    }
}

TEST_F(PickersTest, PlaceOutsideThePoolsFallsBackWithoutDrawing) {
    // The set and place come from the saved menu state; neither may index past the place pools.
    struct Bad {
        s32 set, place;
    };
    for (const Bad b : {Bad{2, 0}, Bad{-1, 0}, Bad{0, 7}, Bad{1, -1}, Bad{9, 40}}) {
        const RandState before = rand_state();
        EXPECT_EQ(pick_place_event(b.set, b.place), 1);
        EXPECT_EQ(rt_at_fallback, before.rt) << "no draw before the fallback";
    }
    EXPECT_EQ(hits, 0);
}

TEST_F(PickersTest, SlotsOutsideTheTableAreNeverRun) {
    // A drawable-looking entry whose slot lies past the handler table counts as a miss.
    for (s32 i = 0; i < HUB_POOL_A_SIZE; i++)
        hub_block.encounter_pool_a[i] = {CALENDAR_EVENT_COUNT + i, 1};
    rand_restore(seed_with_roll(90, true));
    EXPECT_EQ(pick_event_a(), 1);
    EXPECT_EQ(hub_block.scene_backdrop, 60427);
}

TEST_F(PickersTest, PoolCAsksForItsTitleAfterTheMealAndAfterAnEvent) {
    // The outings title: skill 22 at 100 and twenty collected pieces (list 22 ids 50..69).
    player_record.skill[22] = 100;
    for (s32 id = 50; id < 70; id++) known_add(22, id);
    ASSERT_FALSE(title_has(31) || title_has(54));

    rand_restore(seed_with_roll(50, false));
    EXPECT_EQ(pick_event_c(), 1);
    EXPECT_EQ(meals, 1);
    EXPECT_FALSE(title_before_meal);
    EXPECT_TRUE(title_has(31) || title_has(54));

    // After an event: the title is asked for again (taken away here, so it is earned afresh).
    for (s32& t : player_record.titles)
        if (t == 31 || t == 54) t = -1;
    for (s32 i = 0; i < 10; i++) hub_block.encounter_pool_c[i] = {SLOT_HIT, 1};
    rand_restore(seed_with_roll(50, true));
    EXPECT_EQ(pick_event_c(), 0);
    EXPECT_EQ(hits, 1);
    EXPECT_TRUE(title_has(31) || title_has(54));
}
