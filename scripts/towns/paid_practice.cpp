#include "scripts/towns/paid_practice.h"

#include "data/shops.h"
#include "engine/dialog.h"
#include "engine/world/object.h"
#include "game/adjust.h"
#include "game/growth.h"
#include "game/player.h"
#include "scripts/cues.h"
#include "scripts/script_seams.h"

#include <algorithm>
#include <array>

namespace {

constexpr s32 PORTRAIT = 1000;
constexpr s32 TEACHER_PORTRAIT = 1163;
constexpr s32 GREETING = 25934;
constexpr s32 GO_ON = 25947, STOP = 25948;
constexpr s32 AGAIN = 25949;
constexpr s32 NO_MONEY = 583;
constexpr s32 ANSWER_GO_ON = 0, ANSWER_STOP = 1;

// One teacher's constants.
struct PracticeTeacher {
    s32 shop = 0;
    s32 offers = 0;     // the texts of the six offers start here
    s32 first_line = 0; // the first practice of offer k says first_line + k
    s32 pose_x = 0, pose_y = 0;
    s32 pose_first = 0; // the first pose frame; negative: the mirrored poses run down
    s32 after_x = 0, after_y = 0;
    bool moves_waiter = false;
};

// Fade, the player at the pose spot on top without a shadow, fade in, the eleven poses.
constexpr std::array<Cue, 5> pose_in(const PracticeTeacher& t) {
    using namespace cue;
    const ObjId player{0};
    return {fade_out_of_scene(), place(player, t.pose_x, t.pose_y, FrameId(t.pose_first)),
            on_top(player, true), fade_into_scene(),
            frame_steps(player, FrameId(t.pose_first), t.pose_first < 0 ? -1 : 1,
                        PRACTICE_POSE_FRAMES, 100)};
}
// Fade, the player standing at the spot after the lesson with its shadow, fade in.
constexpr std::array<Cue, 4> pose_out(const PracticeTeacher& t) {
    using namespace cue;
    const ObjId player{0};
    return {fade_out_of_scene(), place(player, t.after_x, t.after_y, -424_f), on_top(player, false),
            fade_into_scene()};
}

constexpr PracticeTeacher TOWN_A{.shop = 34,
                                 .offers = 25935,
                                 .first_line = 25941,
                                 .pose_x = 345,
                                 .pose_y = 275,
                                 .pose_first = -2000,
                                 .after_x = 304,
                                 .after_y = 252,
                                 .moves_waiter = false};
constexpr PracticeTeacher CITY{.shop = 23,
                               .offers = 26400,
                               .first_line = 26410,
                               .pose_x = 331,
                               .pose_y = 353,
                               .pose_first = 2000,
                               .after_x = 295,
                               .after_y = 300,
                               .moves_waiter = true};
constexpr auto TOWN_A_IN = pose_in(TOWN_A);
constexpr auto TOWN_A_OUT = pose_out(TOWN_A);
constexpr auto CITY_IN = pose_in(CITY);
constexpr auto CITY_OUT = pose_out(CITY);
static_assert(cues_valid(TOWN_A_IN) && cues_valid(TOWN_A_OUT) && cues_valid(CITY_IN) &&
              cues_valid(CITY_OUT));

constexpr IdleCycle IDLE{.rearm = 8, .start = 21200, .limit = 21239, .step = 2, .pause = 20};

s32 choose_offer(const PracticeTeacher& t) {
    return choose(3, PORTRAIT, t.offers, t.offers + 1, t.offers + 2, t.offers + 3, t.offers + 4,
                  t.offers + 5);
}

// One paid practice of offer k (0..5) whose counter is item_tally[counter].
void practice(const PracticeTeacher& t, std::span<const Cue> pose, s32 k, s32 counter) {
    cues_run(pose);
    PlayerRecord& p = player_record;
    p.fullness = std::max(0, p.fullness - (10 + script_rand(10)));
    if (p.skill[PRACTICE_SKILL] >= p.stamina / 10) {
        stamina_add(200);
        hp_add(100);
        mp_add(100);
    }
    s32& taken = p.item_tally[counter];
    if (taken == 0) {
        taken = 1;
        say(1, TEACHER_PORTRAIT, t.first_line + k);
        growth_pool(PRACTICE_SKILL) += 200;
        grow(PRACTICE_SKILL);
    } else if (taken < PRACTICE_COUNTER_LAST) {
        taken += 1;
        growth_pool(PRACTICE_SKILL) += 20 + script_rand(20);
        grow(PRACTICE_SKILL);
    }
}

void lesson(const PracticeTeacher& t, std::span<const Cue> pose, std::span<const Cue> leave) {
    const s32 self = script_self();
    say_at(self, GREETING);
    if (menu_choice(3, PORTRAIT, GO_ON, STOP) != ANSWER_GO_ON) return;
    s32 offer = choose_offer(t);
    bool stop = false;
    for (s32 round = 0; !stop && round < PRACTICE_ROUNDS_MAX; ++round) {
        // A closed menu (no offer) ends the lesson as the stop answer does.
        if (offer < 0 || offer >= PRACTICE_OFFERS) break;
        const ShopSlot& row = shop_stock[t.shop][offer];
        const s32 counter = PRACTICE_COUNTER_BASE + row.offset;
        if (player_record.money < row.price || counter < 0 || counter >= PLAYER_ITEMS) {
            stop = true;
            say_at(self, NO_MONEY);
        } else {
            if (t.moves_waiter && offer == PRACTICE_OFFERS - 1 &&
                script_stage(PRACTICE_WAITER) == PRACTICE_WAITER_STAGE)
                script_set_stage(PRACTICE_WAITER, PRACTICE_WAITER_STAGE + 1);
            money_add(-row.price);
            practice(t, pose, offer, counter);
        }
        say_at(self, AGAIN);
        if (choose(3, PORTRAIT, GO_ON, STOP) == ANSWER_STOP) stop = true;
        if (!stop) offer = choose_offer(t);
    }
    cues_run(leave);
}

void teacher(const PracticeTeacher& t, std::span<const Cue> pose, std::span<const Cue> leave) {
    if (script_on(TRIG_TIMER)) idle_cycle(IDLE);
    if (script_on(TRIG_CLICK)) lesson(t, pose, leave);
}

} // namespace

void object_event_0168() {
    teacher(TOWN_A, TOWN_A_IN, TOWN_A_OUT);
}

void object_event_0633() {
    teacher(CITY, CITY_IN, CITY_OUT);
}

// ---- Frames ---------------------------------------------------------------------------------

void paid_practice_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    frames_of_cycle(v, IDLE);
    for (const std::span<const Cue> scene :
         {std::span<const Cue>(TOWN_A_IN), std::span<const Cue>(TOWN_A_OUT),
          std::span<const Cue>(CITY_IN), std::span<const Cue>(CITY_OUT)})
        cues_frames(v, scene);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {{168, object_event_0168}, {633, object_event_0633}};
static_assert(slots_distinct(SLOTS));
constexpr SlotRange COMPLETE[] = {{168, 168}, {633, 633}};
} // namespace

std::span<const ScriptSlot> paid_practice_slots() {
    return SLOTS;
}

ScriptRegion paid_practice_region() {
    return {.owner = PAID_PRACTICE_OWNER, .slots = paid_practice_slots, .complete = COMPLETE};
}
