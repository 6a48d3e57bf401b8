// The handlers of pool B.
#include "calendar/pool_b_events.h"

#include "calendar/event_pools.h"
#include "calendar/frame.h"
#include "calendar/pool_routines.h"
#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/dialog.h"
#include "game/adjust.h"
#include "game/hub.h"
#include "game/hub_dialog.h"
#include "game/hub_seams.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/roster_rules.h"
#include "game/scenes.h"
#include "minigames/aim.h"

using namespace cal_literals;

s32 (*pool_aim_target_seam)(s32, s32, s32, s32, s32, s32) = game_aim_target;

namespace {

constexpr CalPicture POOL_B_BACKDROP = 60423_pic;

// meet(p, a / n): a stranger becomes an acquaintance with bonus a; someone met gains n affection.
void meet(s32 person, s32 bonus, s32 affection) {
    if (acquaint_has(person) == 0)
        acquaint_add(person, bonus);
    else
        affection_add(person, affection);
}

// A lesson: the lines and the choice again for as long as the second option is taken.
void lesson(const CalLine& lines, const CalLine& ask) {
    const CalLine rows[] = {lines, ask};
    while (cal_lines(rows) == 1) {
    }
}

s32& flag(s32 n) {
    return player_record.story_flags[n];
}

} // namespace

void calendar_event_119() {
    CalSummary sum;
    const s32 a = cal_lines({
        {.backdrop = POOL_B_BACKDROP, .text = 31018_t},
        {.travel = true, .text = 31020_t, .to = 31021_t},
        {.sound = 671_snd, .text = 31022_t, .to = 31024_t, .right = {95_p}, .left = {CAL_NOBODY}},
        {.choose = {31025_t, 31026_t}},
    });
    if (a == 0) {
        cal_lines({
            {.text = 31027_t},
            {.sound = 667_snd,
             .text = 31029_t,
             .to = 31030_t,
             .right = {95_p},
             .left = {CAL_NOBODY}},
            {.travel = true, .backdrop = 60407_pic, .text = 31031_t},
        });
        mood_add(-1);
        flag(3) = 2;
    } else {
        cal_lines({
            {.text = 31032_t, .to = 31037_t, .right = {95_p}, .left = {CAL_NOBODY}},
            {.sound = 668_snd, .travel = true},
            {.sound = 669_snd,
             .text = 31038_t,
             .to = 31041_t,
             .right = {95_p},
             .left = {CAL_NOBODY}},
            {.sound = 670_snd, .text = 31042_t, .to = 31043_t, .right = {95_p}},
        });
        if (cal_won(cal_battle(2))) {
            cal_lines({{.text = 31044_t, .to = 31045_t, .right = {95_p}}});
            flag(3) = 1;
            fame_add(10);
            roster_grow(105, 10);
        } else {
            cal_lines({
                {.text = 31049_t, .right = {95_p}, .left = {CAL_NOBODY}},
                {.text = 31051_t, .to = 31054_t, .right = {95_p}, .left = {CAL_NOBODY}},
                {.travel = true, .text = 31055_t, .to = 31057_t},
            });
            flag(3) = 0;
            cal_injury(sum);
            cal_summary_show(sum);
        }
        heal_full(0, 105);
    }
    pool_switch(119);
}

void calendar_event_132() {
    CalSummary sum;
    const s32 a = cal_lines({
        {.backdrop = POOL_B_BACKDROP, .text = 30288_t},
        {.text = 30289_t,
         .to = 30295_t,
         .right = {350_p, 355_p},
         .left = {371_p, 417_p, 365_p, 376_p}},
        {.choose = {30296_t, 30297_t}},
    });
    if (a == 0) {
        cal_lines({
            {.sound = 688_snd,
             .travel = true,
             .text = 30298_t,
             .to = 30301_t,
             .left = {371_p, 367_p, 417_p, 376_p}},
            {.text = 30302_t, .to = 30303_t, .right = {355_p}, .left = {CAL_NOBODY, 350_p}},
            {.travel = true, .text = 30304_t},
        });
    } else {
        cal_lines({{.text = 30305_t}});
        constexpr CalCast PAIR = {350_p, 355_p};
        switch (flag(12)) {
        case 0:
            cal_lines({{.text = 30306_t, .to = 30311_t, .right = PAIR, .left = {370_p}}});
            break;
        case 1:
            cal_lines({{.text = 30272_t, .to = 30274_t, .right = PAIR}});
            break;
        case 2:
            cal_lines({{.text = 30275_t, .to = 30277_t, .right = PAIR}});
            break;
        default:
            break; // any other value: no lines before the fight
        }
        if (cal_won(cal_battle(10))) {
            cal_lines({{.text = 30314_t,
                        .to = 30354_t,
                        .right = {350_p, 372_p, 377_p, 368_p, 418_p, 370_p, 365_p, 375_p, 415_p}}});
            flag(13) = 1;
            mood_add(1);
            fame_add(10);
            cal_schedule_before(109, 133);
        } else {
            cal_lines({{.backdrop = 60407_pic, .text = 30313_t}});
            flag(13) = 2;
            cal_injury(sum);
            cal_summary_show(sum);
        }
    }
    heal_full(0, 108, 123);
    pool_switch(132);
}

void calendar_event_138() {
    cal_lines({
        {.backdrop = POOL_B_BACKDROP, .text = 60140_t, .to = 60143_t, .right = {85_p}},
        {.travel = true,
         .backdrop = 60427_pic,
         .text = 60150_t,
         .to = 60153_t,
         .right = {380_p},
         .left = {85_p}},
        {.text = 60158_t, .right = {380_p}, .left = {85_p}},
        {.text = 60154_t, .to = 60155_t, .right = {380_p}, .left = {85_p}},
    });
    const PlayerRecord& p = player_record;
    const bool ready = hub_block.calendar_turn > 65 && inv_has(1230) && inv_has(1232) &&
                       inv_has(1234) && p.skill[14] >= 70;
    if (ready) {
        cal_lines({
            {.text = 60170_t, .to = 60171_t, .right = {380_p}},
            {.travel = true, .text = 60172_t, .to = 60175_t, .right = {380_p}, .left = {85_p}},
            {.text = 60176_t},
        });
        flag(74) = 1;
        for (s32 item : {1230, 1232, 1234}) inv_remove(item, 1);
    } else {
        cal_lines({{.text = 60160_t, .to = 60162_t, .right = {380_p}}});
        flag(14) = 1;
    }
    pool_switch(138);
}

void calendar_event_139() {
    const s32 a = cal_lines({
        {.backdrop = POOL_B_BACKDROP, .text = 56199_t},
        {.text = 56200_t, .to = 56203_t, .right = {335_p}, .left = {80_p}},
        {.choose = {56204_t, 56205_t}},
    });
    if (a == 0) {
        constexpr CalCast PAIR = {80_p, 335_p};
        cal_lines({
            {.text = 56210_t},
            {.text = 56211_t, .to = 56217_t, .right = {80_p}, .left = {335_p}},
            {.text = 56220_t},
            {.travel = true, .text = 56221_t},
            {.travel = true, .text = 56222_t, .to = 56227_t, .right = PAIR},
            {.text = 56229_t, .right = PAIR},
            {.text = 56232_t, .to = 56233_t, .right = PAIR},
        });
        lesson({.text = 56180_t, .to = 56185_t, .right = {335_p}}, {.choose = {56234_t, 56235_t}});
        pool_switch(139, POOL_ONWARD);
    } else {
        cal_lines({
            {.text = 56274_t, .to = 56279_t, .right = {335_p}},
            {.travel = true},
            {.sound = 688_snd, .text = 56280_t},
            {.travel = true},
            {.sound = 688_snd, .text = 56281_t, .right = {335_p}},
            {.text = 56283_t, .right = {335_p}},
            {.text = 56290_t, .to = 56291_t, .right = {80_p}},
            {.text = 56296_t, .right = {80_p}},
        });
        inv_add(1881, 5);
    }
    pool_switch(139);
}

void calendar_event_140() {
    cal_lines({
        {.backdrop = POOL_B_BACKDROP,
         .text = 56320_t,
         .to = 56323_t,
         .right = {335_p},
         .left = {CAL_NOBODY}},
        {.text = 56325_t, .right = {335_p}, .left = {CAL_NOBODY}},
    });
    lesson({.text = 56310_t, .to = 56313_t, .right = {335_p}}, {.choose = {56327_t, 56328_t}});
    cal_lines({{.text = 56330_t, .to = 56332_t, .right = {335_p}, .left = {CAL_NOBODY}}});
    pool_switch(140);
}

void calendar_event_141() {
    cal_lines({
        {.backdrop = POOL_B_BACKDROP,
         .text = 56340_t,
         .to = 56343_t,
         .right = {335_p},
         .left = {CAL_NOBODY}},
        {.text = 56350_t, .right = {335_p}, .left = {CAL_NOBODY}},
    });
    lesson({.text = 56345_t, .to = 56346_t, .right = {335_p}}, {.choose = {56352_t, 56353_t}});
    cal_lines({{.text = 56354_t, .to = 56355_t, .right = {335_p}, .left = {CAL_NOBODY}}});
    pool_switch(141);
}

namespace {

// The aiming tools: an item of 2210..2219 and item 2200.
bool aiming_tools() {
    return inv_has_range(2210, 2219) && inv_has(2200);
}

bool has_bait_set() {
    return inv_has(1212) && inv_has(1211) && inv_has(1221);
}

} // namespace

void calendar_event_148() {
    cal_lines({
        {.backdrop = POOL_B_BACKDROP, .text = 60630_t, .right = {90_p}, .left = {CAL_NOBODY}},
        {.text = 60631_t},
        {.travel = true, .text = 60632_t, .right = {98_p}},
    });
    if (aiming_tools()) {
        cal_lines({{.text = 60633_t}});
        const s32 result = pool_aim_target_seam(0, -1, 1, 3, 0, 0);
        cursor_select(0);
        if (result == 0) {
            cal_lines({{.text = 60634_t}, {.travel = true, .text = 60635_t}});
        } else {
            cal_lines({{.text = 60640_t}, {.text = 60641_t, .to = 60642_t, .right = {90_p}}});
            bool onward = true;
            if (has_bait_set()) {
                cal_lines({{.text = 60643_t, .to = 60644_t, .right = {90_p}}});
            } else {
                game_light_ring_seam(11, 12, 21, -1, -1, -1, -1, -1);
                if (has_bait_set()) {
                    cal_lines({{.text = 60660_t, .to = 60661_t, .right = {90_p}}});
                } else {
                    cal_lines({{.text = 60662_t, .to = 60664_t, .right = {90_p}}});
                    onward = false;
                }
            }
            if (onward) {
                cal_lines({{.travel = true, .text = 60645_t, .to = 60651_t, .right = {90_p}}});
                acquaint_add(132, 60);
                pool_switch(148, POOL_ONWARD);
            }
        }
    } else {
        cal_lines({{.text = 60636_t}});
    }
    pool_switch(148);
}

void calendar_event_149() {
    cal_lines({{.backdrop = POOL_B_BACKDROP, .text = 60670_t, .to = 60672_t, .right = {90_p}}});
    if (aiming_tools()) {
        cal_lines({{.text = 60680_t, .to = 60682_t, .right = {90_p}}});
        game_aim_seam(0, -1, 2, 3, 20, 80);
        // The game leaves its score in turn_done, which the hub reads as "turn already ended":
        // read it, then clear it.
        const s32 score = player_record.turn_done;
        player_record.turn_done = 0;
        if (score >= POOL_B_AIM_SUCCESS) {
            cal_lines({{.text = 60690_t, .to = 60694_t, .right = {90_p}}});
            affection_add(132, 15);
        } else {
            cal_lines({{.text = 60685_t, .to = 60687_t, .right = {90_p}}});
            affection_add(132, 10);
        }
        cal_lines({
            {.sound = 687_snd, .text = 60700_t, .right = {90_p}},
            {.sound = 598_snd, .text = 60701_t, .to = 60703_t, .right = {90_p}},
            {.travel = true, .backdrop = 60413_pic, .text = 60704_t},
            {.text = 60710_t, .to = 60713_t, .right = {92_p}},
            {.text = 60714_t, .to = 60727_t, .right = {92_p}, .left = {14_p}},
            {.text = 60728_t, .right = {92_p}, .left = {CAL_NOBODY}},
            {.travel = true, .text = 60730_t, .right = {92_p}, .left = {CAL_NOBODY}},
            {.text = 60731_t},
            {.text = 60732_t, .right = {92_p}, .left = {CAL_NOBODY}},
            {.text = 60733_t, .to = 60734_t},
            {.text = 60735_t, .to = 60736_t, .right = {90_p}},
            {.text = 60737_t},
        });
    } else {
        cal_lines({{.text = 60673_t, .to = 60674_t, .right = {90_p}}});
        affection_add(132, -10);
    }
    flag(82) = 1;
    pool_switch(149);
    if (hub_block.calendar_turn > POOL_B_LATE_TURN) pool_switch(149, POOL_ONWARD);
}

void calendar_event_152() {
    cal_lines({
        {.backdrop = POOL_B_BACKDROP, .text = 61300_t},
        {.text = 61301_t, .to = 61304_t, .right = {237_p}, .left = {236_p}},
        {.text = 61305_t},
    });
    cal_schedule_after(155, 191);
    pool_switch(152);
}

namespace {

constexpr s32 ENCOUNTER_98 = 98;

void heal_155() {
    heal_full(0, 233, 234, 237, 238);
}

} // namespace

void calendar_event_155() {
    CalSummary sum;
    cal_lines({
        {.backdrop = POOL_B_BACKDROP, .text = 61819_t},
        {.text = 61820_t, .to = 61827_t, .right = {193_p, 198_p}, .left = {194_p, 197_p}},
    });
    cal_battle(ENCOUNTER_98); // result not used
    heal_155();
    cal_lines({{.text = 61830_t, .to = 61832_t, .right = {198_p, 193_p}, .left = {197_p}}});
    cal_battle(ENCOUNTER_98);
    heal_155();
    cal_lines({{.text = 61833_t, .to = 61835_t, .right = {193_p}, .left = {194_p}}});
    cal_battle(ENCOUNTER_98);
    heal_155();
    const s32 a = cal_lines({{.text = 61840_t, .to = 61841_t}, {.choose = {61842_t, 61843_t}}});
    if (a == 0) {
        cal_lines({{.text = 61844_t, .to = 61849_t, .right = {194_p, 198_p, 193_p}}});
        const s32 result = cal_battle(50);
        heal_155();
        if (cal_won(result)) {
            constexpr CalCast FOUR = {193_p, 198_p, 194_p, 197_p};
            cal_lines({
                {.text = 61850_t, .to = 61864_t, .right = FOUR, .left = {197_p}},
                {.text = 61828_t, .right = FOUR, .left = {197_p}},
                {.text = 61865_t, .to = 61878_t, .right = FOUR, .left = {197_p}},
                {.text = 61885_t, .right = FOUR, .left = {197_p}},
                {.text = 61879_t, .to = 61883_t, .right = FOUR, .left = {197_p}},
            });
            flag(92) = 1;
            fame_add(25);
        } else {
            cal_lines({{.backdrop = 60407_pic, .text = 61890_t, .to = 61893_t, .right = {30_p}}});
            flag(92) = 2;
            cal_injury(sum);
            cal_summary_show(sum);
        }
    } else {
        cal_lines({{.text = 61895_t,
                    .to = 61897_t,
                    .right = {193_p},
                    .left = {194_p, 197_p, CAL_NOBODY}}});
        // Kept as the game has it: the table is rebuilt only at the next program start, so the
        // limit stands for the rest of the run.
        encounters[ENCOUNTER_98].round_limit = POOL_B_ROUNDS_98;
        cal_battle(ENCOUNTER_98); // result not used
        cal_lines({
            {.sound = 698_snd,
             .text = 61898_t,
             .to = 61900_t,
             .right = {193_p},
             .left = {CAL_NOBODY, 197_p}},
            {.travel = true, .text = 61901_t, .to = 61902_t},
        });
    }
    pool_switch(155);
}

void calendar_event_201() {
    const bool resuming = pool_episode_resuming(201) == 1;
    if (!resuming) {
        const s32 a = cal_lines({
            {.backdrop = POOL_B_BACKDROP, .text = 56649_t, .left = {2_p}},
            {.choose = {56650_t, 56651_t}},
        });
        if (a != 0) {
            pool_switch(201);
            return;
        }
        cal_lines({{.travel = true, .backdrop = 60412_pic, .text = 56652_t, .left = {2_p}}});
    }
    const PoolEpisode e = pool_episode(201, scene_play_201);
    if (e.loaded) return;
    hub_block.scene_backdrop = 60412;
    CalSummary sum;
    switch (flag(4)) {
    case 1:
        cal_lines({{.text = 56692_t, .to = 56693_t, .left = {1_p}}});
        cal_injury(sum);
        cal_summary_show(sum);
        break;
    case 2: {
        const s32 a = cal_lines({
            {.text = 56685_t, .to = 56686_t, .right = {120_p}},
            {.right = {120_p}, .choose = {56687_t, 56688_t}},
        });
        cal_lines({{.text = a == 0 ? 56689_t : 56690_t, .right = {120_p}}});
        affection_add(146, a == 0 ? 15 : 10);
        fame_add(6);
        pool_switch(201, POOL_ONWARD);
        break;
    }
    case 3:
        cal_lines({{.text = 56691_t, .right = {120_p}}});
        affection_add(146, 10);
        fame_add(3);
        pool_switch(201, POOL_ONWARD);
        break;
    case 5:
        cal_lines({{.text = 56645_t}});
        break;
    default:
        break;
    }
    pool_switch(201);
    pool_episode_hand_on(e, 201);
}

namespace {

constexpr CalCast MERCHANT = {120_p};

// The pay question of slot 202; `bought` after the second answer with the money paid.
void pay_question(bool bought) {
    const s32 a = cal_lines({
        {.text = 56733_t, .to = 56734_t, .right = MERCHANT},
        {.right = MERCHANT, .choose = {56735_t, 56736_t}},
    });
    if (a == 0 && player_record.money >= 100) {
        cal_lines({{.text = 56737_t, .right = MERCHANT}});
        money_add(-100);
        chivalry_add(-2);
        affection_add(146, 5);
        cal_lines({
            {.text = 56626_t},
            {.text = 56738_t},
            {.sound = 692_snd,
             .backdrop = 60406_pic,
             .text = 56739_t,
             .to = 56742_t,
             .right = {160_p},
             .left = {7_p}},
            {.text = 56626_t, .right = {160_p}, .left = {CAL_NOBODY}},
            {.text = 56743_t, .to = 56744_t, .right = {160_p}, .left = {CAL_NOBODY}},
            {.text = 56745_t},
        });
        fame_add(-4);
    } else if (a == 0) {
        cal_lines({{.text = 56748_t, .right = MERCHANT}, {.text = 56746_t, .right = MERCHANT}});
        affection_add(146, -5);
    } else {
        cal_lines({{.text = bought ? 56747_t : 56746_t, .right = MERCHANT}, {.sound = 692_snd}});
        affection_add(146, bought ? -2 : -5);
    }
}

} // namespace

void calendar_event_202() {
    const s32 a = cal_lines({
        {.backdrop = POOL_B_BACKDROP, .text = 56720_t, .to = 56722_t, .right = MERCHANT},
        {.sound = 692_snd, .text = 56723_t, .to = 56728_t, .right = MERCHANT},
        {.right = MERCHANT, .choose = {56729_t, 56730_t}},
    });
    bool bought = false;
    if (a == 0) {
        cal_lines({{.text = 56731_t, .right = MERCHANT}});
        affection_add(146, -5);
    } else if (player_record.money >= 1000) {
        cal_lines({{.text = 56732_t, .right = MERCHANT}});
        money_add(-1000);
        chivalry_add(-2);
        affection_add(146, 5);
        inv_add(1409, 1);
        bought = true;
    } else {
        affection_add(146, -5);
    }
    pay_question(bought);
    pool_switch(202);
    cal_turns(1);
}

void calendar_event_204() {
    cal_lines({{.backdrop = POOL_B_BACKDROP, .text = 13300_t, .to = 13303_t, .right = {125_p}}});
    light_ring_battle();
}

void calendar_event_205() {
    cal_lines({{.backdrop = POOL_B_BACKDROP, .text = 13350_t, .to = 13353_t, .right = {125_p}}});
    light_ring_battle();
}

void calendar_event_209() {
    CalSummary sum;
    constexpr CalCast HOST = {405_p};
    const s32 a = cal_lines({
        {.backdrop = POOL_B_BACKDROP, .text = 57060_t, .to = 57064_t, .right = HOST, .left = {2_p}},
        {.right = HOST, .choose = {57065_t, 57066_t}},
    });
    if (a == 1) {
        cal_lines({{.text = 57100_t, .to = 57103_t, .right = HOST}});
        if (cal_won(cal_battle(7))) {
            cal_lines({{.text = 57110_t, .right = HOST}, {.text = 56626_t}, {.text = 57111_t}});
            for (s32 i = 0; i < 20; ++i) inv_add(1200 + cal_rand(37), 1);
            fame_add(10);
            acquaint_add(118, 35);
        } else {
            cal_lines({{.text = 57112_t, .left = {1_p}}});
            acquaint_add(118, 40);
            cal_injury(sum);
            cal_summary_add(sum, CAL_INJURY_EXTRA);
            cal_summary_show(sum);
        }
    } else {
        const s32 b = cal_lines({
            {.text = 57070_t, .right = HOST},
            {.right = HOST, .choose = {57071_t, 57072_t}},
        });
        if (b == 0) {
            cal_lines({{.text = 57073_t, .to = 57074_t, .right = HOST}});
            game_light_ring_seam(1, -1, -1, -1, -1, -1, -1, -1);
            const bool plenty = inv_has_count(1201, 10) == 1;
            cal_lines({{.text = plenty ? 57080_t : 57090_t,
                        .to = plenty ? 57086_t : 57096_t,
                        .right = HOST}});
            inv_remove(1201, 10); // the whole stack when fewer are held
            money_add(plenty ? 1000 : 200);
            acquaint_add(118, plenty ? 65 : 60);
        } else {
            acquaint_add(118, 55);
        }
    }
    heal_full(0, 118, 255, 256);
    pool_switch(209);
    cal_turns(1);
}

namespace {

constexpr s32 BATTLE_BACKDROP_BEFORE = 60422, BATTLE_BACKDROP_AFTER = 60406;

// The fight of slot 214: lines, the battle, the line by its result. Returns true when lost.
bool fight_214(const CalLine& lines, s32 encounter, CalText lost, CalText not_lost) {
    hub_travel();
    hub_block.scene_backdrop = BATTLE_BACKDROP_BEFORE;
    cal_lines({lines});
    const bool was_lost = cal_lost(cal_battle(encounter));
    hub_travel();
    hub_block.scene_backdrop = BATTLE_BACKDROP_AFTER;
    if (was_lost)
        cal_lines({{.text = lost, .left = {5_p}}});
    else
        cal_lines({{.text = not_lost}});
    return was_lost;
}

bool first_kind_item(s32 item) {
    return item == 1400 || item == 1401 || item == 1402 || item == 1404;
}

} // namespace

void calendar_event_214() {
    constexpr CalCast CROWD = {300_p, 301_p, 320_p};
    cal_lines({
        {.backdrop = POOL_B_BACKDROP,
         .text = 57820_t,
         .to = 57832_t,
         .right = {300_p, 301_p, 295_p},
         .left = {245_p, 320_p}},
        {.sound = 682_snd, .text = 57840_t, .left = {2_p}},
        {.text = 57841_t, .right = {110_p}},
        {.text = 57833_t, .right = {110_p}},
        {.text = 57842_t, .to = 57844_t, .right = {110_p}},
        {.text = 57834_t, .to = 57835_t, .right = {110_p}},
        {.text = 57845_t, .right = {110_p}, .left = {2_p}},
        {.text = 57846_t, .to = 57850_t, .right = {110_p}},
        {.text = 57851_t, .right = {110_p}, .left = {2_p}},
        {.travel = true},
        {.sound = 597_snd, .text = 57860_t, .to = 57866_t, .right = CROWD, .left = {245_p, 295_p}},
        {.text = 57866_t, .right = CROWD, .left = {245_p, 295_p}},
        {.text = 57866_t, .right = CROWD, .left = {245_p, 295_p}},
    });
    bool with_item = false;
    if (inv_has_range(ITEM_PICKER_FIRST, ITEM_PICKER_LAST))
        with_item = cal_lines({{.choose = {57867_t, 57868_t}}}) == 0;
    if (with_item) {
        const s32 item = item_picker();
        inv_remove(item, 1);
        cal_lines({
            {.text = 57870_t},
            {.text = 57871_t, .right = {245_p}},
            {.text = 57872_t, .left = {245_p}},
            {.text = 57873_t, .right = {300_p}, .left = {245_p}},
            {.sound = 682_snd, .travel = true},
        });
        if (first_kind_item(item)) {
            flag(8) = 1;
            const s32 a = cal_lines({
                {.text = 57880_t,
                 .to = 57895_t,
                 .right = {300_p, 301_p, 2_p, 320_p, 295_p},
                 .left = {245_p, 301_p, 110_p}},
                {.right = {301_p}, .choose = {57896_t, 57897_t}},
            });
            if (a == 0) {
                const bool lost = fight_214({.text = 57900_t,
                                             .to = 57907_t,
                                             .right = {301_p, 300_p},
                                             .left = {12_p, 13_p, 7_p}},
                                            12, 57911_t, 57910_t);
                meet(87, 65, 10);
                meet(81, 35, -10);
                if (lost) mood_add(-2);
            } else {
                cal_lines({{.text = 57912_t, .right = {301_p}}});
                meet(87, 60, 5);
                meet(81, 35, -10);
            }
        } else {
            flag(8) = 2;
            const s32 a = cal_lines({
                {.text = 57920_t,
                 .to = 57940_t,
                 .right = {301_p, 245_p},
                 .left = {245_p, 295_p, 110_p, 2_p}},
                {.right = {245_p}, .choose = {57941_t, 57942_t}},
            });
            if (a == 0) {
                const bool lost = fight_214(
                    {.text = 57950_t, .to = 57955_t, .right = {245_p}, .left = {7_p, 12_p, 13_p}},
                    13, 57961_t, 57960_t);
                meet(87, 35, -10);
                meet(81, 65, 10);
                if (lost) mood_add(-2);
            } else {
                cal_lines({{.text = 57962_t, .right = {245_p}}});
                meet(87, 35, -10);
                meet(81, 60, 5);
            }
        }
    } else {
        cal_lines({
            {.text = 57970_t, .to = 57976_t, .right = {245_p, 300_p}, .left = {110_p, 245_p}},
            {.text = 56626_t, .right = {300_p}, .left = {CAL_NOBODY}},
            {.text = 57977_t, .to = 57980_t, .right = {300_p}, .left = {110_p, 295_p}},
            {.travel = true, .text = 57981_t, .to = 57982_t},
        });
    }
    heal_full(0, 81, 87);
    pool_switch(214);
    cal_turns(1);
}

void calendar_event_215() {
    cal_lines({
        {.backdrop = POOL_B_BACKDROP,
         .text = 58000_t,
         .to = 58016_t,
         .right = {498_p},
         .left = {499_p}},
        {.text = 58017_t, .left = {2_p}},
    });
    pool_switch(215);
    cal_turns(1);
}

void calendar_event_216() {
    cal_lines({
        {.backdrop = POOL_B_BACKDROP,
         .text = 58030_t,
         .to = 58034_t,
         .right = {497_p},
         .left = {499_p}},
        {.text = 58034_t, .right = {497_p}, .left = {499_p}},
        {.text = 58035_t},
    });
    flag(9) = 1;
    pool_switch(216);
    cal_schedule_after(195, 135);
    cal_turns(1);
}

namespace {

constexpr s32 PRICE_219 = 1000;
constexpr s32 FAME_WON_219 = 6;

// A right answer of slot 219: the two opponents lose a fifth of their hit points.
void right_answer_219() {
    for (s32 person : {277, 278}) roster_hp_add(person, -roster[person].hp_max / 5);
    affection_add(200, 3);
}

} // namespace

void calendar_event_219() {
    CalSummary sum;
    cal_lines({
        {.backdrop = POOL_B_BACKDROP, .text = 31255_t, .left = {2_p}},
        {.text = 31256_t, .to = 31264_t, .right = {420_p}},
        {.travel = true, .backdrop = 60411_pic},
        {.sound = 691_snd,
         .text = 31265_t,
         .to = 31268_t,
         .right = {CAL_NOBODY, 420_p},
         .left = {170_p}},
        {.travel = true,
         .text = 31269_t,
         .to = 31271_t,
         .right = {CAL_NOBODY, 420_p},
         .left = {170_p}},
        {.text = 31273_t, .right = {421_p}},
    });
    PlayerRecord& p = player_record;
    bool pays = false;
    if (p.money >= PRICE_219)
        pays = cal_lines({{.right = {421_p}, .choose = {31274_t, 31275_t}}}) == 0;
    if (pays) {
        cal_lines({{.text = 31276_t, .to = 31277_t, .right = {170_p}}});
        money_add(-PRICE_219);
        cal_lines({
            {.text = 31278_t, .to = 31280_t, .right = {170_p}},
            {.travel = true,
             .backdrop = POOL_B_BACKDROP,
             .text = 31281_t,
             .to = 31285_t,
             .right = {421_p, 420_p}},
        });
        cal_summary_add(sum, 231_t);
        cal_summary_add(sum, 232_t);
        cal_summary_show(sum);
        chivalry_add(5);
        fame_add(10);
        affection_add(200, -5);
    } else {
        cal_lines({
            {.text = 31286_t, .to = 31293_t, .right = {421_p}, .left = {170_p}},
            {.text = 31254_t, .left = {CAL_NOBODY}},
        });
        constexpr CalText QUESTIONS[4] = {31294_t, 31299_t, 31304_t, 31309_t};
        bool right[4] = {};
        for (s32 q = 0; q < 4; ++q) {
            const s32 a =
                cal_lines({{.text = QUESTIONS[q], .choose = {31295_t, 31296_t, 31297_t, 31298_t}}});
            right[q] = a == POOL_B_RIGHT_ANSWERS[q];
            if (right[q]) right_answer_219();
        }
        constexpr CalCast JUDGE = {494_p};
        cal_lines({
            {.text = 31314_t},
            {.travel = true,
             .backdrop = 60414_pic,
             .text = 31315_t,
             .to = 31317_t,
             .right = {495_p},
             .left = {496_p}},
            {.sound = 691_snd},
        });
        if (right[0])
            cal_lines({{.sound = 673_snd, .text = 31318_t, .right = {495_p}, .left = {496_p}}});
        cal_lines({
            {.text = 31319_t, .to = 31320_t, .right = {495_p, 494_p}, .left = {496_p}},
            {.sound = 595_snd, .text = 31321_t, .right = JUDGE, .left = {496_p}},
        });
        if (right[1])
            cal_lines({{.sound = 660_snd,
                        .text = 31322_t,
                        .to = 31323_t,
                        .right = JUDGE,
                        .left = {496_p}}});
        cal_lines({
            {.text = 31324_t, .to = 31325_t, .right = JUDGE, .left = {496_p}},
            {.sound = 594_snd,
             .backdrop = 60411_pic,
             .text = 31326_t,
             .right = JUDGE,
             .left = {496_p}},
        });
        if (right[2])
            cal_lines({{.sound = 674_snd, .text = 31327_t, .right = JUDGE, .left = {CAL_NOBODY}}});
        cal_lines({{.text = 31328_t, .right = JUDGE, .left = {495_p}}, {.sound = 675_snd}});
        if (right[3])
            cal_lines({
                {.text = 31329_t, .right = JUDGE, .left = {495_p, 496_p}},
                {.text = 31329_t, .right = JUDGE, .left = {496_p, 495_p}},
                {.text = 31330_t, .to = 31331_t, .right = JUDGE, .left = {495_p, 496_p}},
            });
        cal_lines({{.text = 31332_t, .to = 31337_t, .right = {420_p}, .left = {496_p}}});
        if (cal_won(cal_battle(49))) {
            cal_lines({
                {.text = 31338_t, .to = 31340_t, .right = {494_p, 421_p}, .left = {495_p, 496_p}},
                {.text = 56626_t},
                {.text = 31341_t,
                 .to = 31346_t,
                 .right = {494_p, 421_p, 420_p},
                 .left = {495_p, 170_p}},
                {.travel = true,
                 .backdrop = POOL_B_BACKDROP,
                 .text = 31347_t,
                 .to = 31349_t,
                 .right = {420_p}},
            });
            // A plain store without a log line, kept within the 999 that every adjuster keeps.
            p.fame = p.fame + FAME_WON_219 > FAME_MAX ? FAME_MAX : p.fame + FAME_WON_219;
            affection_add(200, 5);
        } else {
            cal_lines({
                {.text = 31350_t, .to = 31352_t, .right = {170_p}, .left = {496_p}},
                {.travel = true,
                 .text = 31353_t,
                 .to = 31356_t,
                 .right = {420_p},
                 .left = {5_p, 170_p}},
                {.travel = true, .text = 31357_t, .to = 31358_t, .right = {420_p}, .left = {5_p}},
            });
            money_add(-p.money);
            fame_add(-5);
            cal_injury(sum);
            cal_summary_add(sum, CAL_INJURY_EXTRA);
            cal_summary_show(sum);
        }
    }
    pool_switch(219);
    cal_turns(1);
}

void calendar_event_223() {
    CalSummary sum;
    const s32 a = cal_lines({
        {.backdrop = POOL_B_BACKDROP, .text = 59430_t, .to = 59437_t, .right = {155_p}},
        {.text = 59440_t, .to = 59447_t, .right = {155_p}, .left = {352_p}},
        {.choose = {59448_t, 59449_t}},
    });
    if (a == 0) {
        if (cal_won(cal_battle(30))) {
            cal_lines({
                {.text = 59450_t, .left = {352_p}},
                {.text = 59451_t, .to = 59453_t, .right = {155_p}},
            });
            flag(18) = 1;
            affection_add(89, 10);
            fame_add(8);
            chivalry_add(3);
        } else {
            cal_lines({
                {.text = 59460_t, .right = {352_p}, .left = {CAL_NOBODY}},
                {.travel = true, .text = 59461_t, .to = 59463_t, .right = {155_p}},
            });
            flag(18) = 2;
            affection_add(89, 5);
            money_add(-1000);
            cal_injury(sum);
            cal_summary_add(sum, CAL_INJURY_EXTRA);
            cal_summary_show(sum);
        }
        heal_full(0, 89, 172, 250, 251, 252);
    } else {
        cal_lines({
            {.sound = 682_snd, .text = 59470_t, .right = {155_p}, .left = {352_p}},
            {.text = 56626_t, .right = {155_p}, .left = {CAL_NOBODY}},
            {.text = 59471_t, .to = 59474_t, .right = {155_p}},
        });
        affection_add(89, -10);
    }
    pool_switch(223);
}

// ---- Slots -------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {119, calendar_event_119}, {132, calendar_event_132}, {138, calendar_event_138},
    {139, calendar_event_139}, {140, calendar_event_140}, {141, calendar_event_141},
    {148, calendar_event_148}, {149, calendar_event_149}, {152, calendar_event_152},
    {155, calendar_event_155}, {201, calendar_event_201}, {202, calendar_event_202},
    {204, calendar_event_204}, {205, calendar_event_205}, {209, calendar_event_209},
    {214, calendar_event_214}, {215, calendar_event_215}, {216, calendar_event_216},
    {219, calendar_event_219}, {223, calendar_event_223},
};
} // namespace

std::span<const CalendarSlot> pool_b_events_slots() {
    return SLOTS;
}

void register_pool_b_events() {
    calendar_install(SLOTS, POOL_B_EVENTS_OWNER);
}
