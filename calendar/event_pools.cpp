// The chains of the three event pools, the pool episodes, and the handlers of pools A and C with
// the quiz of place 0.0 and the paid visits with person 40.
#include "calendar/event_pools.h"

#include "calendar/pool_routines.h"
#include "engine/mssw.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/calendar_table.h"
#include "game/growth.h"
#include "game/hub.h"
#include "game/hub_dialog.h"
#include "game/hub_seams.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/roster_rules.h"
#include "game/save.h"
#include "game/scenes.h"

using namespace cal_literals;

namespace {

// ---- Chain table -------------------------------------------------------------------------------

constexpr CalEntry A(s32 k) {
    return cal_pool_a(k);
}
constexpr CalEntry B(s32 k) {
    return cal_pool_b(k);
}
constexpr CalEntry C(s32 k) {
    return cal_pool_c(k);
}

constexpr PoolOp ON = PoolOp::Open;
constexpr PoolOp OFF = PoolOp::Close;

// clang-format off
constexpr PoolSwitch SWITCHES[] = {
    // Pool A.
    {21, POOL_ALL, OFF, A(0)},
    {21, POOL_ALL, PoolOp::OpenWhenOff, A(1), B(7)},
    {120, POOL_ALL, OFF, A(1)},
    {206, POOL_ALL, OFF, A(2)},
    {206, POOL_ALL, ON, A(3)},
    {207, POOL_ALL, OFF, A(3)},
    {208, POOL_ALL, OFF, A(4)},
    {131, POOL_WON, ON, B(14)},
    {131, POOL_SECOND, ON, A(6)},
    {131, POOL_ALL, OFF, A(5)},
    {147, POOL_WON, ON, B(14)},
    {147, POOL_ALL, OFF, A(6)},
    {144, POOL_ALL, OFF, A(8)},
    {144, POOL_ALL, ON, A(9)},
    {145, POOL_ALL, OFF, A(9)},
    {145, POOL_ALL, ON, A(10)},
    {146, POOL_ALL, OFF, A(10)},
    {150, POOL_ALL, OFF, A(11)},
    {151, POOL_ALL, OFF, A(12)},
    // Pool C and place 0.0 entry 4.
    {20, POOL_ALL, OFF, C(0)},
    {20, POOL_ALL, ON, C(1)},
    {20, POOL_ALL, ON, cal_place(0, 0, 4)},
    {19, POOL_ALL, OFF, C(2)},
    {19, POOL_ALL, ON, C(3)},
    {19, POOL_ALL, ON, A(5)},
    {143, POOL_ALL, OFF, C(3)},
    {218, POOL_ALL, OFF, cal_place(0, 0, 4)},
    // Pool B.
    {119, POOL_ALL, OFF, B(7)},
    {119, POOL_ALL, PoolOp::OpenWhenOff, A(1), A(0)},
    {132, POOL_ALL, OFF, B(14)},
    {138, POOL_ALL, OFF, B(17)},
    {139, POOL_ONWARD, ON, B(19)},
    {139, POOL_ALL, OFF, B(18)},
    {140, POOL_ALL, OFF, B(19)},
    {140, POOL_ALL, ON, B(20)},
    {141, POOL_ALL, OFF, B(20)},
    {148, POOL_ONWARD, ON, B(23)},
    {148, POOL_ALL, OFF, B(22)},
    {149, POOL_ALL, OFF, B(23)},
    {149, POOL_ONWARD, ON, A(11)},
    {152, POOL_ALL, OFF, B(24)},
    {155, POOL_ALL, OFF, B(25)},
    {201, POOL_ONWARD, ON, B(6)},
    {201, POOL_ALL, OFF, B(5)},
    {202, POOL_ALL, OFF, B(6)},
    {209, POOL_ALL, OFF, B(10)},
    {214, POOL_ALL, OFF, B(11)},
    {215, POOL_ALL, OFF, B(12)},
    {215, POOL_ALL, ON, B(13)},
    {216, POOL_ALL, OFF, B(13)},
    {219, POOL_ALL, OFF, B(15)},
    {219, POOL_ALL, ON, A(13)},
    {223, POOL_ALL, OFF, B(21)},
};
// clang-format on

void apply(const PoolSwitch& row) {
    switch (row.op) {
    case PoolOp::Open:
        cal_open(row.entry);
        return;
    case PoolOp::Close:
        cal_close(row.entry);
        return;
    case PoolOp::Empty:
        cal_empty(row.entry);
        return;
    case PoolOp::OpenWhenOff:
        if (cal_is_off(row.when)) cal_open(row.entry);
        return;
    }
}

// ---- Pool episodes -----------------------------------------------------------------------------

s32* after_entry() {
    const s32 turn = hub_block.calendar_turn;
    return turn >= 0 && turn < HUB_TURNS ? &hub_block.turn_events_after[turn] : nullptr;
}

s32& episode_flag() {
    return player_record.story_flags[POOL_EPISODE_FLAG];
}

// The turn's after-turn entry holds `slot`: the game held now is inside that pool episode.
bool holds(s32 slot) {
    const s32* entry = after_entry();
    return entry != nullptr && *entry == slot;
}

// Gives the turn's after-turn entry back when `slot` still holds it.
void give_back(s32 slot) {
    s32* entry = after_entry();
    if (!holds(slot)) return;
    *entry = episode_flag();
    episode_flag() = 0;
}

// ---- Small helpers -----------------------------------------------------------------------------

// A gain of a growth value whose summary line the handler does not show.
void gain_unshown(CalGrowth g, s32 n) {
    CalSummary unshown;
    cal_gain_loud(unshown, g, n);
}

void show(CalSummary& sum) {
    cal_summary_show(sum);
}

constexpr CalGrowth SKILL_22 = cal_skill(22);

} // namespace

std::span<const PoolSwitch> pool_switches() {
    return SWITCHES;
}

void pool_switch(s32 slot, PoolBranch branch) {
    for (const PoolSwitch& row : SWITCHES)
        if (row.slot == slot && row.branch == branch) apply(row);
}

s32 pool_episode_resuming(s32 slot) {
    return world_state.field_active == 1 && holds(slot) ? 1 : 0;
}

PoolEpisode pool_episode(s32 slot, void (*scene)()) {
    PoolEpisode e;
    e.resumed = pool_episode_resuming(slot) == 1;
    if (!e.resumed) {
        if (s32* entry = after_entry()) {
            episode_flag() = *entry;
            *entry = slot;
        }
    }
    const s32 loads = save_load_count;
    scene();
    // A load during the episode left it when the hub restarts its turn, or when the game now held
    // is not inside this episode (its after-turn entry does not hold the slot). A save made inside
    // this same episode (slot 1) and loaded again has played the episode on to its end: its
    // outcome stands and the handler goes on.
    e.loaded = cal_loaded() == 1 || (save_load_count != loads && !holds(slot));
    // Read from the game now held, which a load may have replaced.
    e.stood_for = episode_flag();
    // The field loop has ended in the game now held: its borrowed entry goes back. A game loaded
    // with a running episode of its own keeps its entry.
    if (world_state.field_active != 1) give_back(slot);
    return e;
}

void pool_episode_hand_on(const PoolEpisode& e, s32 slot) {
    if (!e.resumed || e.stood_for < 0 || e.stood_for == slot) return;
    calendar_event_run(e.stood_for);
}

// ---- Pool A ------------------------------------------------------------------------------------

void calendar_event_021() {
    CalSummary sum;
    const s32 answer = cal_lines({
        {.backdrop = 60427_pic, .text = 11396_t, .left = {2_p}},
        {.text = 30826_t, .to = 30830_t, .right = {185_p}, .left = {CAL_NOBODY, 145_p}},
        {.choose = {30831_t, 30832_t}},
    });
    if (answer == 0) {
        cal_lines({
            {.text = 15650_t, .to = 15652_t, .right = {185_p}},
            {.text = player_record.fame >= 20 ? 15653_t : 15654_t, .right = {185_p}},
        });
        if (cal_won(cal_battle(3))) {
            cal_lines({
                {.text = 30833_t, .right = {185_p}},
                {.text = 30919_t},
                {.text = 30834_t, .to = 30844_t, .right = {145_p}, .left = {CAL_NOBODY, 180_p}},
            });
            acquaint_add(71, 55);
            fame_add(3);
            cal_summary_add(sum, 231_t);
            show(sum);
        } else {
            cal_lines({
                {.text = 15655_t, .to = 15656_t, .right = {185_p}},
                {.travel = true, .text = 15657_t, .to = 15660_t, .right = {145_p}},
            });
            fame_add(-1);
            cal_summary_add(sum, 281_t);
            show(sum);
            mood_add(-1);
            acquaint_add(71, 45);
        }
    }
    heal_full(0, 71, 250, 251, 252);
    pool_switch(21);
    cal_turns(1);
}

void calendar_event_120() {
    CalSummary sum;
    const bool spared = player_record.story_flags[3] == 1;
    cal_lines({{.backdrop = 60427_pic,
                .text = 30866_t,
                .to = 30871_t,
                .right = {95_p},
                .left = {145_p}}});
    if (spared)
        cal_lines({{.text = 30882_t, .to = 30885_t, .right = {95_p, 145_p}}});
    else
        cal_lines({{.text = 30872_t, .to = 30875_t, .right = {95_p, 145_p}}});
    if (cal_won(cal_battle(4))) {
        if (spared)
            cal_lines({{.text = 30886_t, .to = 30891_t, .right = {95_p, 145_p}}});
        else
            cal_lines({{.text = 30876_t, .to = 30881_t, .right = {145_p}, .left = {95_p}}});
        fame_add(10);
        chivalry_add(2);
        affection_add(71, 10);
        player_record.story_flags[16] = 1;
    } else {
        cal_lines({
            {.text = 30892_t, .right = {95_p}, .left = {CAL_NOBODY}},
            {.travel = true, .text = 30893_t, .to = 30894_t, .right = {145_p}},
        });
        chivalry_add(2);
        affection_add(71, 3);
        mood_add(-1);
        stamina_add(-200);
        cal_summary_add(sum, 283_t);
        cal_summary_add(sum, 284_t);
        show(sum);
    }
    heal_full(0, 71, 105);
    pool_switch(120);
}

void calendar_event_208() {
    CalSummary sum;
    const s32 answer = cal_lines({
        {.backdrop = 60427_pic, .text = 57020_t, .to = 57021_t, .right = {411_p}},
        {.text = 57022_t, .right = {410_p}},
        {.text = 57030_t, .to = 57031_t, .right = {410_p}},
        {.travel = true,
         .text = 57032_t,
         .to = 57034_t,
         .right = {410_p},
         .choose = {57035_t, 57036_t}},
    });
    if (answer == 0) {
        cal_lines({
            {.text = 57040_t, .to = 57041_t, .right = {410_p}},
            {.text = 56626_t},
            {.text = 57042_t},
        });
        acquaint_add(47, 50);
    } else {
        cal_lines({{.text = 57050_t, .to = 57052_t, .right = {410_p}}});
        chivalry_add(2);
        cal_summary_add(sum, 232_t);
        show(sum);
        acquaint_add(47, 60);
        money_add(-500); // whatever money is held: the adjuster stops at 0
        cal_schedule_before(84, 210);
    }
    pool_switch(208);
}

namespace {

// The visit after slot 131's won fight: `second` picks the second run of lines (V2).
void visit_131(bool second) {
    cal_lines({{.travel = true,
                .backdrop = 60422_pic,
                .text = 30703_t,
                .to = 30714_t,
                .right = {160_p, CAL_HERO},
                .left = {135_p, 160_p}}});
    PlayerRecord& p = player_record;
    // A walk on after the visit's talk, whatever the skill.
    if (p.skill[22] >= 50) {
        cal_lines({{.travel = true,
                    .text = second ? 30746_t : 30726_t,
                    .to = second ? 30754_t : 30734_t,
                    .right = {CAL_HERO},
                    .left = {135_p}}});
        gain_unshown(SKILL_22, 500);
        affection_add(83, 10);
        stamina_add(-300);
        p.mood = 0;
        p.mood_turns = 0;
        return;
    }
    cal_lines({
        {.travel = true,
         .text = second ? 30735_t : 30715_t,
         .to = second ? 30742_t : 30722_t,
         .right = {12_p, 11_p},
         .left = {135_p}},
        {.travel = true,
         .text = second ? 30743_t : 30723_t,
         .to = second ? 30745_t : 30725_t,
         .right = {2_p, 11_p},
         .left = {CAL_NOBODY, 160_p}},
    });
    gain_unshown(SKILL_22, 500);
    if (!second) affection_add(83, 7);
    stamina_add(-300);
    mood_add(-1);
}

} // namespace

void calendar_event_131() {
    CalSummary sum;
    const s32 answer = cal_lines({
        {.backdrop = 60427_pic, .text = 30642_t},
        {.travel = true,
         .text = 30643_t,
         .to = 30650_t,
         .right = {370_p, 365_p, 415_p, 375_p},
         .left = {135_p}},
        {.choose = {30651_t, 30652_t}},
    });
    if (answer == 0) {
        cal_lines({{.text = 30653_t, .to = 30656_t, .right = {370_p}}});
        if (cal_won(cal_battle(8))) {
            fame_add(6);
            player_record.story_flags[11] = 1;
            cal_lines({{.text = 30657_t,
                        .to = 30667_t,
                        .right = {371_p, 366_p, 417_p, 376_p, CAL_HERO},
                        .left = {135_p}}});
            if (player_record.story_flags[10] == 1) {
                const s32 a = cal_lines({
                    {.text = 30685_t, .right = {CAL_HERO}, .left = {135_p}},
                    {.text = 30687_t,
                     .to = 30688_t,
                     .right = {CAL_HERO},
                     .left = {135_p},
                     .choose = {30674_t, 30675_t}},
                });
                if (a == 0) {
                    cal_lines(
                        {{.text = 30689_t, .to = 30690_t, .right = {CAL_HERO}, .left = {135_p}}});
                    visit_131(false);
                } else {
                    cal_lines(
                        {{.text = 30691_t, .to = 30695_t, .right = {CAL_HERO}, .left = {135_p}}});
                    affection_add(83, 5);
                    mood_add(1);
                }
            } else {
                const s32 a = cal_lines({{.text = 30696_t,
                                          .to = 30698_t,
                                          .right = {CAL_HERO},
                                          .left = {135_p},
                                          .choose = {30699_t, 30700_t}}});
                if (a == 0) {
                    cal_lines(
                        {{.text = 30701_t, .to = 30702_t, .right = {CAL_HERO}, .left = {135_p}}});
                    visit_131(true);
                }
            }
            pool_switch(131, POOL_WON);
        } else {
            cal_lines({{.text = 30676_t, .to = 30678_t, .left = {1_p}}});
            cal_injury(sum);
            player_record.story_flags[11] = 2;
            show(sum);
        }
    } else {
        cal_lines({
            {.sound = 682_snd,
             .travel = true,
             .text = 30668_t,
             .to = 30672_t,
             .right = {371_p, 366_p, 417_p, 375_p},
             .left = {135_p}},
            {.sound = 682_snd, .travel = true, .text = 30673_t, .right = {376_p}, .left = {135_p}},
            {.text = 30681_t, .right = {376_p}, .left = {135_p}},
            {.travel = true, .text = 30683_t},
        });
        mood_add(-1);
        pool_switch(131, POOL_SECOND);
    }
    heal_full(0, 83, 109, 124, 177, 92);
    player_record.story_flags[22] = 1;
    pool_switch(131);
}

void calendar_event_147() {
    CalSummary sum;
    constexpr CalCast FOUR = {370_p, 375_p, 415_p, 365_p};
    cal_lines({
        {.backdrop = 60427_pic, .text = 30246_t, .to = 30252_t, .right = FOUR},
        {.text = 30254_t, .to = 30259_t, .right = FOUR},
        {.text = 30261_t, .to = 30265_t, .right = FOUR},
        {.text = 30267_t, .to = 30268_t, .right = FOUR},
    });
    const bool won = cal_won(cal_battle(9));
    if (won) {
        cal_lines(
            {{.text = 30269_t, .to = 30271_t, .right = {370_p, 375_p}, .left = {CAL_NOBODY}}});
        fame_add(10);
        player_record.story_flags[11] = 1;
    } else {
        cal_lines({{.text = 30676_t, .to = 30678_t, .left = {1_p}}});
        cal_injury(sum);
        player_record.story_flags[11] = 2;
        show(sum);
    }
    heal_full(0, 92, 109, 124, 177);
    if (won) pool_switch(147, POOL_WON);
    pool_switch(147);
}

void calendar_event_150() {
    CalSummary sum;
    cal_lines({
        {.backdrop = 60427_pic, .text = 60750_t, .to = 60755_t, .right = {90_p}, .left = {14_p}},
        {.travel = true,
         .backdrop = 60423_pic,
         .text = 60760_t,
         .to = 60767_t,
         .right = {90_p, 185_p},
         .left = {90_p}},
    });
    if (cal_won(cal_battle(31))) {
        const s32 a = cal_lines({
            {.text = 60770_t, .right = {185_p}, .left = {CAL_NOBODY}},
            {.travel = true,
             .text = 60771_t,
             .to = 60789_t,
             .right = {90_p},
             .choose = {60790_t, 60791_t, 60792_t}},
        });
        if (a <= 1) {
            cal_lines({{.text = 60795_t, .right = {90_p}}, {.text = 60796_t, .right = {20_p}}});
            affection_add(132, 10);
        } else {
            cal_lines({{.text = 60820_t, .to = 60824_t, .right = {90_p}}});
            player_record.story_flags[19] = 1;
            affection_add(132, 20);
        }
        fame_add(6);
    } else {
        cal_lines({
            {.text = 60840_t, .to = 60844_t, .right = {165_p}},
            {.travel = true, .text = 60860_t, .to = 60866_t, .right = {90_p}},
            {.text = 60778_t, .to = 60782_t, .right = {90_p}},
            {.text = 60781_t, .right = {90_p}},
            {.text = 60783_t, .to = 60786_t, .right = {90_p}},
            {.text = 60870_t, .right = {90_p}},
        });
        cal_injury(sum);
        affection_add(132, 5);
    }
    cal_lines({
        {.text = 60797_t, .to = 60799_t, .right = {25_p}},
        {.travel = true, .text = 60800_t, .to = 60802_t, .right = {25_p}, .left = {90_p}},
        {.text = 60803_t, .to = 60804_t, .right = {20_p, CAL_HERO}, .left = {90_p}},
        {.travel = true, .text = 60810_t, .to = 60813_t, .right = {20_p}},
        {.text = 60814_t},
    });
    show(sum);
    heal_full(0, 132, 250, 251, 252, 253);
    pool_switch(150);
}

void calendar_event_151() {
    cal_lines({
        {.backdrop = 60427_pic,
         .text = 60900_t,
         .to = 60905_t,
         .right = {253_p, 252_p},
         .left = {100_p}},
        {.text = 60906_t, .to = 60910_t, .right = {105_p}, .left = {100_p}},
        {.text = 60911_t},
    });
    const s32 a = cal_lines({{.text = 60912_t, .to = 60913_t, .right = {105_p, 100_p}},
                             {.right = {100_p}, .choose = {60914_t, 60915_t}}});
    if (a == 0) {
        cal_lines({{.text = 60920_t, .to = 60921_t, .right = {105_p, 252_p}}});
        cal_battle(32); // result not used
    } else {
        cal_lines({{.text = 60945_t, .to = 60946_t, .right = {100_p}, .left = {252_p}}});
        cal_battle(33); // result not used
    }
    hp_add(200);
    mp_add(100);
    for (s32 person : {11, 12, 33}) {
        roster_hp_add(person, 200);
        roster_mp_add(person, 100);
    }
    cal_lines({{.sound = 698_snd,
                .text = 60922_t,
                .to = 60931_t,
                .right = {250_p, 270_p},
                .left = {CAL_NOBODY, 106_p, 100_p}}});
    if (cal_lost(cal_battle(34))) cal_lines({{.text = 60932_t, .right = {270_p}, .left = {100_p}}});
    cal_lines({
        {.text = 60933_t, .to = 60935_t, .right = {270_p}, .left = {250_p}},
        {.text = 60940_t, .right = {106_p}, .left = {100_p}},
        {.text = 60941_t},
    });
    if (a == 0) {
        affection_add(11, -10);
        affection_add(33, 10);
    } else {
        affection_add(11, 10);
        affection_add(33, -10);
        chivalry_add(3);
    }
    heal_full(0, 11, 33, 12, 39);
    player_record.story_flags[47] = 1;
    pool_switch(151);
}

// ---- Pool C ------------------------------------------------------------------------------------

void calendar_event_020() {
    cal_lines({
        {.backdrop = 60422_pic, .text = 11300_t, .right = {165_p}, .left = {CAL_NOBODY}},
        {.text = 11301_t, .to = 11306_t, .right = {165_p}},
    });
    constexpr CalLine ASK[] = {
        {.text = 11309_t, .to = 11310_t, .right = {165_p}, .choose = {11311_t, 11312_t}},
    };
    while (cal_lines(ASK) == 1) {
    }
    cal_lines({{.text = 11313_t, .right = {165_p}}});
    player_record.affection[202] = 0;
    sum_guess_game(202);
    pool_switch(20);
    cal_turns(1);
}

void calendar_event_130() {
    const s32 a = cal_lines({
        {.text = 11381_t, .right = {165_p}, .left = {CAL_NOBODY}},
        {.right = {165_p}, .choose = {11382_t, 11383_t}},
    });
    if (a == 0)
        sum_guess_game(202);
    else
        meal_screen_seam();
}

void calendar_event_019() {
    CalSummary sum;
    cal_lines({
        {.backdrop = 60422_pic,
         .text = 30597_t,
         .to = 30599_t,
         .right = {160_p},
         .left = {CAL_NOBODY}},
        {.text = 30600_t, .to = 30606_t, .right = {135_p, 160_p}, .left = {CAL_NOBODY, 160_p}},
        {.text = 30609_t, .to = 30610_t, .right = {135_p, 160_p}, .left = {CAL_NOBODY, 160_p}},
        {.text = 30612_t, .to = 30617_t, .right = {160_p, 135_p}, .left = {CAL_NOBODY}},
        {.travel = true, .text = 30618_t, .to = 30619_t, .right = {135_p}, .left = {11_p}},
    });
    if (player_record.skill[22] > 30) {
        cal_lines({
            {.text = 30620_t, .right = {135_p}, .left = {11_p}},
            {.text = 30622_t, .to = 30624_t, .right = {135_p}, .left = {11_p}},
            {.text = 30625_t, .left = {3_p}},
        });
        acquaint_add(83, 60);
        cal_gain_loud(sum, SKILL_22, 200);
        cal_summary_add(sum, 283_t);
        show(sum);
        stamina_add(-300);
        player_record.story_flags[10] = 1;
    } else {
        constexpr CalCast LEFT = {11_p, 160_p};
        cal_lines({
            {.text = 30621_t, .right = {135_p}, .left = LEFT},
            {.text = 30626_t, .right = {135_p}, .left = LEFT},
            {.text = 30628_t, .to = 30633_t, .right = {135_p}, .left = LEFT},
        });
        acquaint_add(83, 45);
        cal_gain_loud(sum, SKILL_22, 100);
        show(sum);
        player_record.story_flags[10] = 2;
    }
    pool_switch(19);
    cal_turns(1);
}

void calendar_event_143() {
    const bool resuming = pool_episode_resuming(143) == 1;
    if (!resuming) {
        hub_block.scene_backdrop = 60422;
        if (player_record.affection[83] < 65) {
            meal_screen_seam();
            return;
        }
        cal_lines({{.text = 60430_t, .to = 60433_t, .right = {135_p}}});
        pool_switch(143);
    }
    const PoolEpisode e = pool_episode(143, scene_play_143);
    if (e.loaded) return;
    cal_lines({
        {.backdrop = 60422_pic, .text = 60534_t, .right = {135_p}},
        {.text = 60539_t, .right = {135_p}},
    });
    affection_add(83, 10);
    if (player_record.story_flags[15] == 1) {
        cal_lines({{.backdrop = 60407_pic, .text = 60532_t, .to = 60533_t, .right = {99_p}}});
        mood_add(2);
        cal_place_button(4, 0, 1);
    }
    pool_episode_hand_on(e, 143);
}

// ---- Place 0.0 entry 4 -------------------------------------------------------------------------

void calendar_event_218() {
    constexpr CalCast TEACHER = {400_p};
    const s32 first = cal_lines({
        {.backdrop = 60402_pic,
         .text = 41201_t,
         .to = 41209_t,
         .right = TEACHER,
         .left = {40_p, 43_p}},
        {.right = TEACHER, .choose = {41210_t, 41211_t, 41212_t, 41213_t}},
    });
    if (first != 1) {
        cal_lines({{.sound = 507_snd, .text = 41217_t, .right = TEACHER}});
        affection_add(205, -5);
        mood_add(-2);
    } else {
        const s32 second = cal_lines({
            {.sound = 506_snd, .text = 41218_t, .to = 41219_t, .right = TEACHER},
            {.right = TEACHER, .choose = {41220_t, 41221_t, 41222_t, 41223_t}},
        });
        if (second != 2) {
            cal_lines({{.sound = 507_snd, .text = 41227_t, .right = TEACHER}});
            affection_add(205, -3);
            gain_unshown(SKILL_22, 200);
            mood_add(-1);
        } else {
            const s32 third = cal_lines({
                {.sound = 506_snd, .text = 41228_t, .to = 41229_t, .right = TEACHER},
                {.right = TEACHER, .choose = {41230_t, 41231_t, 41232_t, 41233_t}},
            });
            if (third != 2) {
                cal_lines({{.sound = 507_snd, .text = 41237_t, .right = TEACHER}});
                affection_add(205, -5);
                gain_unshown(SKILL_22, 100);
                mood_add(-2);
            } else {
                cal_lines({
                    {.text = 41238_t, .right = TEACHER},
                    {.sound = 506_snd, .text = 41239_t, .right = TEACHER},
                });
                affection_add(205, 5);
                gain_unshown(SKILL_22, 500);
                mood_add(2);
            }
        }
    }
    pool_switch(218);
    cal_turns(1);
}

// ---- Paid visits -------------------------------------------------------------------------------

namespace {

constexpr CalCast HOST = {CalPerson{PAID_VISIT_PORTRAIT}};

// clang-format off
constexpr CalLine INTRO_206[] = {{.text = 55500_t, .to = 55502_t, .right = HOST}};
constexpr CalLine DECLINE_206[] = {
    {.text = 55520_t, .to = 55522_t, .right = HOST}, {.text = 56626_t}, {.text = 55523_t}};
constexpr CalLine BAD_206[] = {
    {.text = 55505_t, .right = HOST, .left = {2_p}},
    {.sound = 507_snd, .text = 55506_t, .to = 55508_t, .right = HOST, .left = {3_p}},
    {.text = 56626_t, .left = {3_p}},
    {.text = 55509_t, .to = 55510_t, .left = {3_p}}};
constexpr CalLine GOOD_206[] = {
    {.text = 55511_t, .right = HOST},
    {.sound = 506_snd, .text = 55512_t, .to = 55515_t, .right = HOST},
    {.text = 56626_t}, {.text = 55516_t}};

constexpr CalLine INTRO_207[] = {{.text = 55530_t, .to = 55532_t, .right = HOST}};
constexpr CalLine DECLINE_207[] = {
    {.text = 55570_t, .to = 55574_t, .right = HOST}, {.text = 56626_t}, {.text = 55575_t}};
constexpr CalLine BAD_207[] = {
    {.text = 55535_t, .right = HOST, .left = {2_p}},
    {.sound = 507_snd, .text = 55536_t, .to = 55538_t, .right = HOST, .left = {3_p}},
    {.text = 56626_t, .left = {3_p}},
    {.text = 55539_t, .to = 55540_t, .left = {3_p}}};
constexpr CalLine GOOD_207[] = {
    {.text = 55550_t, .right = HOST},
    {.sound = 506_snd, .text = 55551_t, .to = 55552_t, .right = HOST},
    {.text = 55553_t, .to = 55554_t, .right = HOST, .left = {13_p}},
    {.text = 55555_t, .to = 55556_t, .right = HOST},
    {.sound = 508_snd, .text = 55560_t, .to = 55564_t, .right = HOST}};

constexpr CalLine INTRO_144[] = {{.text = 13760_t, .to = 13762_t, .right = HOST}};
constexpr CalLine DECLINE_144[] = {{.text = 13777_t, .to = 13781_t, .right = HOST}, {.text = 13782_t}};
constexpr CalLine BAD_144[] = {
    {.text = 13765_t, .right = HOST, .left = {2_p}},
    {.sound = 507_snd, .text = 13766_t, .to = 13768_t, .right = HOST, .left = {3_p}},
    {.text = 13769_t, .to = 13770_t, .left = {3_p}}};
constexpr CalLine GOOD_144[] = {
    {.text = 13771_t, .right = HOST},
    {.sound = 506_snd, .text = 13772_t, .to = 13776_t, .right = HOST}};

constexpr s32 ATTR_2 = 27, ATTR_3 = 28, ATTR_4 = 29, SKILL_0 = 0; // growth indices

constexpr PaidVisit VISITS[] = {
    {206, 500, INTRO_206, {55503_t, 55504_t}, DECLINE_206, BAD_206, GOOD_206, {ATTR_4}, 1, 0, -1},
    {207, 700, INTRO_207, {55533_t, 55534_t}, DECLINE_207, BAD_207, GOOD_207, {ATTR_3}, 1, 1, -1},
    {144, 1000, INTRO_144, {13763_t, 13764_t}, DECLINE_144, BAD_144, GOOD_144, {ATTR_2}, 0, 0, -1},
    {145, 1000, INTRO_144, {13763_t, 13764_t}, DECLINE_144, BAD_144, GOOD_144, {SKILL_0}, 0, 0, -1},
    {146, 1000, INTRO_144, {13763_t, 13764_t}, DECLINE_144, BAD_144, GOOD_144,
     {ATTR_2, ATTR_3, ATTR_4}, 0, 0, PAID_VISIT_FLAG_146},
};
// clang-format on

constexpr s32 PAID_VISIT_STAMINA_SUMMARY = 233;

void visit_body(const PaidVisit& v) {
    PlayerRecord& p = player_record;
    hub_block.scene_backdrop = 60427;
    if (p.affection[PAID_VISIT_PERSON] < PAID_VISIT_AFFECTION) {
        hub_say(0, 0, -1, 11840);
        return; // the entry stays open
    }
    cal_lines(v.intro);
    bool taken = false;
    if (p.money >= v.price) {
        const CalLine offer[] = {{.right = HOST, .choose = v.offer}};
        taken = cal_lines(offer) == 0;
    }
    CalSummary sum;
    if (!taken) {
        cal_lines(v.decline);
        affection_add(PAID_VISIT_PERSON, -5);
        if (v.turns_declined > 0) cal_turns(v.turns_declined);
        pool_switch(v.slot);
        return;
    }
    money_add(-v.price);
    hub_travel();
    const bool bad = cal_rand(10) > p.constitution / 10;
    cal_lines(bad ? v.bad : v.good);
    affection_add(PAID_VISIT_PERSON, 5);
    for (s32 i = 0; i < v.values.count; ++i) {
        const s32 g = v.values.item[i];
        s32& value = growth_value(g);
        if (bad) {
            value = value - PAID_VISIT_LOSS < 0 ? 0 : value - PAID_VISIT_LOSS;
            cal_summary_add(sum, CalText{CAL_LOWER_SUMMARY + g});
        } else {
            value =
                value + PAID_VISIT_GAIN > CAL_VALUE_MAX ? CAL_VALUE_MAX : value + PAID_VISIT_GAIN;
            cal_summary_add(sum, CalText{CAL_GAIN_SUMMARY + g});
        }
    }
    if (!bad) {
        p.stamina = PAID_VISIT_STAMINA;
        cal_summary_add(sum, CalText{PAID_VISIT_STAMINA_SUMMARY});
    }
    show(sum);
    mood_add(bad ? -1 : 1);
    if (v.turns_taken > 0) cal_turns(v.turns_taken);
    pool_switch(v.slot);
}

void visit_of(s32 slot) {
    if (const PaidVisit* v = paid_visit(slot)) paid_visit_run(*v);
}

} // namespace

std::span<const PaidVisit> paid_visits() {
    return VISITS;
}

const PaidVisit* paid_visit(s32 slot) {
    for (const PaidVisit& v : VISITS)
        if (v.slot == slot) return &v;
    return nullptr;
}

void paid_visit_run(const PaidVisit& v) {
    visit_body(v);
    if (v.flag >= 0 && v.flag < STORY_FLAGS) player_record.story_flags[v.flag] = 1;
}

void calendar_event_206() {
    visit_of(206);
}
void calendar_event_207() {
    visit_of(207);
}
void calendar_event_144() {
    visit_of(144);
}
void calendar_event_145() {
    visit_of(145);
}
void calendar_event_146() {
    visit_of(146);
}

// ---- Slots -------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {19, calendar_event_019},  {20, calendar_event_020},  {21, calendar_event_021},
    {120, calendar_event_120}, {130, calendar_event_130}, {131, calendar_event_131},
    {143, calendar_event_143}, {144, calendar_event_144}, {145, calendar_event_145},
    {146, calendar_event_146}, {147, calendar_event_147}, {150, calendar_event_150},
    {151, calendar_event_151}, {206, calendar_event_206}, {207, calendar_event_207},
    {208, calendar_event_208}, {218, calendar_event_218},
};
} // namespace

std::span<const CalendarSlot> event_pools_slots() {
    return SLOTS;
}

void register_event_pools() {
    calendar_install(SLOTS, EVENT_POOLS_OWNER);
}
