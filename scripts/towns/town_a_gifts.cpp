// Town A's quest of the four gifts. The talks and trades are cell tables run by the kit; pairs that
// share one talk use one table with `clicked(o)` for the lines that differ; the meeting at the
// step zone of map 183 is a scene of cues followed by the branches of its talk.
#include "scripts/towns/town_a_gifts.h"

#include "engine/world/object.h"
#include "game/inventory.h"
#include "scripts/cells.h"
#include "scripts/cues.h"
#include "scripts/script_ids.h"
#include "scripts/towns/town_a_director.h"
#include "scripts/zones.h"

// ---- Scenes ------------------------------------------------------------------------------------

namespace gift_scenes {
using namespace cue;

// Person 87 walks onto the player and is hidden there (it goes on ahead).
constexpr Cue PERSON87_GOES_AHEAD[] = {walk_into_player(457_obj, 10, 0)};
static_assert(cues_valid(PERSON87_GOES_AHEAD));

// Object 505's pause in the middle of its talk.
constexpr Cue A_MOMENT_LATER[] = {fade_out_of_scene(), fade_into_scene()};
static_assert(cues_valid(A_MOMENT_LATER));

// The meeting with person 132 at step zone 495, up to the branches of its talk.
constexpr Cue MEETING[] = {
    walk(0, mover(0_obj, 365, 293, 10)), turn_toward(490_obj),
    say(2, 1087_img, 25630_t),           bubble(493_obj, 25631_t),
    say(2, 1087_img, 25632_t),           say(3, 1000_img, 25633_t),
    say(2, 1087_img, 25634_t),           say(3, 1000_img, 25635_t),
    say(1, 1132_img, 25636_t),           on(490_obj),
    show_frame(490_obj, -38422_f),       walk(CUE_CAMERA_STAYS, mover(490_obj, 299, 271, 10)),
    show_frame(490_obj, -38422_f),       bubble(493_obj, 25637_t),
};
static_assert(cues_valid(MEETING));

// Step zone 503: the player turns toward it and knows where to go.
constexpr Cue SIDE_DOOR[] = {
    turn_toward(503_obj),
    say(2, 1000_img, 25766_t),
    stage(505_obj, 1),
};
static_assert(cues_valid(SIDE_DOOR));

// The blocking zones of the outskirts.
constexpr Cue GATE_497[] = {say(2, 1000_img, 25745_t)};
static_assert(cues_valid(GATE_497));
constexpr Cue GATE_512[] = {bubble(493_obj, 16552_t)};
static_assert(cues_valid(GATE_512));

// Person 87 fetches shots for the aiming game.
constexpr Cue SHOTS_FETCHED[] = {
    say(2, 1000_img, 25747_t),
    fade_out_of_scene(),
    say(2, 1087_img, 25748_t),
    fade_into_scene(),
};
static_assert(cues_valid(SHOTS_FETCHED));

} // namespace gift_scenes

bool gifts_all_held() {
    for (const s32 item : GIFT_ITEMS)
        if (inv_has(item) == 0) return false;
    return true;
}

namespace {
using namespace cell;

constexpr s32 ANY_STAGE_LAST = 0xFFFF;
constexpr s32 AFFECTION_TOP = 0x7FFF;
constexpr s32 HOUR_TOP = 99;

constexpr Speaker B429 = bubble_of(429_obj);
constexpr Speaker B430 = bubble_of(430_obj);
constexpr Speaker B433 = bubble_of(433_obj);
constexpr Speaker B434 = bubble_of(434_obj);
constexpr Speaker PLAYER3 = player_at(3);
constexpr Speaker PERSON118 = person_at(1118_img, 2);

// Idle cycles that act at one stage only; at other stages the timer is still re-armed, so that
// the idle resumes when the stage comes back.
constexpr IdleCycle HOST_IDLE{.rearm = 8, .start = 38466, .limit = 38471, .step = 1, .pause = 200};
constexpr s32 HOST_IDLE_STAGE = 9;
constexpr IdleCycle GUEST_IDLE{.rearm = 8, .start = 38458, .limit = 38465, .step = 2, .pause = 200};
constexpr s32 GUEST_IDLE_STAGE = 0;

void idle_at_stage(const IdleCycle& c, s32 stage_value) {
    if (script_stage(script_self()) == stage_value)
        idle_cycle(c);
    else
        attr_set(script_self(), ATTR_TIMER, c.rearm);
}

void presentation() {
    town_a_presentation();
}

// ---- The pair that asks for the gifts --------------------------------------------------------

// Rows of persons who do not turn keep no frame: what a talk shows stays (the presentation moves
// and poses 409).

// clang-format off
constexpr Cell HOST_TALK[] = {
    stage(0), B(409_obj, 58594_t),
    stage(4, 5), S(58745_t),
    stage(9), B(409_obj, 58594_t),
};
static_assert(cells_valid(HOST_TALK));

constexpr Cell GUEST_TALK[] = {
    stage(0), S(46624_t),
    stage(4),
        when(test(gifts_all_held)),
            P(3, 25800_t), B(408_obj, 25801_t), S(25802_t), P(3, 25803_t), B(408_obj, 25804_t),
            S(25805_t), B(408_obj, 25806_t), N(1087_img, 2, 25807_t), P(3, 25808_t),
            N(1087_img, 2, 25809_t), P(3, 25810_t),
            take(1237_item, 1), take(2383_item, 1), take(2385_item, 1), take(2386_item, 1),
            obj_to(408_obj, 5), to(5), obj_to(433_obj, 1), obj_to(434_obj, 1),
        otherwise(), S(25720_t),
        end(),
    stage(5),
        when(has_item(2384_item)), call(presentation),
        otherwise(), P(3, 25811_t),
        end(),
};
// clang-format on
static_assert(cells_valid(GUEST_TALK));

constexpr TalkRow HOST_ROW{
    .far = 150, .turn = TURN_NOBODY, .keep_frame = false, .cells = HOST_TALK};
constexpr TalkRow GUEST_ROW{
    .far = 250, .turn = TURN_NOBODY, .keep_frame = false, .cells = GUEST_TALK};

// ---- Persons 87 and 86 -------------------------------------------------------------------------

// clang-format off
constexpr Cell COMPANIONS_TALK[] = {
    stage(0),
        when(clicked(457_obj)), P(3, 16499_t), otherwise(), P(3, 16501_t), end(),
        N(1087_img, 2, 16500_t), N(1086_img, 1, 16502_t), N(1087_img, 2, 16503_t), P(3, 16504_t),
        when(flag_is(96_flag, 1)),
            N(1086_img, 1, 16505_t), P(3, 16508_t), N(1086_img, 1, 16509_t),
            N(1087_img, 2, 16510_t), N(1086_img, 1, 16511_t), P(3, 16512_t),
            N(1086_img, 1, 16513_t), P(3, 16514_t),
        orwhen(flag_is(85_flag, 1)),
            N(1086_img, 1, 16506_t), P(3, 16516_t), N(1086_img, 1, 16517_t),
            N(1087_img, 2, 16518_t), N(1086_img, 1, 16519_t), P(3, 16520_t),
            N(1087_img, 2, 16521_t), N(1086_img, 1, 16522_t), N(1087_img, 2, 16523_t),
            N(1086_img, 2, 16528_t), P(3, 16529_t),
        otherwise(),
            N(1086_img, 1, 16507_t), P(3, 16530_t), N(1086_img, 1, 16528_t), P(3, 16529_t),
        end(),
        pair_to(1),
    stage(1),
        when(clicked(457_obj)), N(1087_img, 2, 16534_t), otherwise(), N(1086_img, 2, 16528_t), end(),
    stage(2),
        when(clicked(457_obj)), N(1087_img, 2, 25653_t),
        otherwise(), N(1086_img, 2, 16531_t), P(1, 16532_t), N(1086_img, 2, 16533_t), to(1),
        end(),
    stage(4),
        when(clicked(457_obj)), N(1087_img, 2, 25813_t), end(),
};
// clang-format on
static_assert(cells_valid(COMPANIONS_TALK));

constexpr TalkRow PERSON87_ROW{.far = 100,
                               .turn = TURN_PLAYER_ONLY,
                               .keep_frame = false,
                               .cells = COMPANIONS_TALK,
                               .partner = GIFTS_PERSON86_OBJ};
constexpr TalkRow PERSON86_ROW{.turn = TURN_NOBODY,
                               .keep_frame = false,
                               .cells = COMPANIONS_TALK,
                               .partner = GIFTS_PERSON87_OBJ};

// ---- The chain of item 2383 ------------------------------------------------------------------

// clang-format off
constexpr Cell SENDER_TALK[] = {
    stage(0), S(25960_t),
    stage(1), P(2, 25660_t), S(25661_t), P(2, 25662_t), S(25663_t), obj_to(450_obj, 1), to(0),
    stage(2), S(29152_t),
};
static_assert(cells_valid(SENDER_TALK));

constexpr Cell TRADER_TALK[] = {
    stage(0), run(25985_t, 25992_t, SELF, PLAYER), to(4),
    stage(1), run(25664_t, 25678_t, PLAYER, SELF), S(25695_t), P(25696_t),
        to(2), obj_to(448_obj, 2), obj_to(415_obj, 0),
    stage(2),
        when(has_item(2380_item)),
            run(25680_t, 25685_t, PLAYER, SELF), give(2383_item, 1), take(2380_item, 1), to(3),
        otherwise(), S(25679_t),
        end(),
    stage(3), S(25686_t),
    stage(4), S(25993_t),
    stage(5), S(29060_t),
        when(flag_in(31_flag, 1, AFFECTION_TOP)), P(3, 29061_t), S(29062_t), to(6), end(),
    stage(6), S(29063_t),
};
static_assert(cells_valid(TRADER_TALK));

constexpr Cell COLLECTOR_TALK[] = {
    stage(0), run(46501_t, 46505_t, SELF, PLAYER3), to(1),
    stage(1), S(46506_t),
    stage(2), run(16560_t, 16574_t, PLAYER3, SELF), to(3),
    stage(3),
        when(has_count(1219_item, 10)),
            P(3, 16576_t), S(16577_t), P(3, 16578_t),
            give(2380_item, 1), take(1219_item, 10), hide(515_obj), to(4),
        otherwise(), S(16575_t),
        end(),
    stage(4), S(16579_t),
    stage(5), S(46506_t),
};
static_assert(cells_valid(COLLECTOR_TALK));
// clang-format on

constexpr Resident SENDER{
    .idle_on = true,
    .idle = {.rearm = 8, .start = 21500, .limit = 21521, .step = 2, .pause = 20},
    .talk = {.far = 250, .turn = TURN_NOBODY, .keep_frame = false, .cells = SENDER_TALK},
};
constexpr Resident TRADER{
    .idle_on = true,
    .idle = {.rearm = 10, .start = 37350, .limit = 37374, .step = 2, .pause = 10},
    .talk = {.far = 300, .frames = {37376, -37376, 37380, 37378}, .cells = TRADER_TALK},
};
constexpr TalkRow COLLECTOR_ROW{
    .far = 250, .frames = {-21692, 21692, -21696, 21696}, .cells = COLLECTOR_TALK};

// ---- Person 118 and its neighbour (item 1237) ------------------------------------------------

constexpr Cond FOND_OF_PLAYER = affection_in(118_person, 50, AFFECTION_TOP);
constexpr Cond FROM_ELEVEN = hour_in(11, HOUR_TOP);

// clang-format off
constexpr Cell SELLER_TALK[] = {
    stage(0), P(3, 16540_t),
        when(FOND_OF_PLAYER),
            N(1118_img, 2, 16541_t), P(3, 16542_t), N(1118_img, 2, 16543_t), P(3, 16544_t),
            N(1118_img, 2, 16539_t), P(3, 16538_t), give(1275_item, 1),
        otherwise(), N(1118_img, 2, 16546_t), P(3, 16547_t), N(1118_img, 2, 16548_t),
        end(),
        to(1),
    stage(1),
        when(FOND_OF_PLAYER), N(1118_img, 2, 16545_t),
            when(FROM_ELEVEN), run(16580_t, 16586_t, PLAYER3, PERSON118), give(1237_item, 1), to(2),
            end(),
        otherwise(), N(1118_img, 2, 16549_t),
            when(FROM_ELEVEN), run(16588_t, 16597_t, PLAYER3, PERSON118), to(3), end(),
        end(),
    stage(2), N(1118_img, 2, 16545_t),
    stage(3),
        when(money_from(1000)),
            P(3, 16599_t), N(1118_img, 2, 16600_t), give(1237_item, 1), money(-1000), to(4),
        otherwise(), N(1118_img, 2, 16598_t),
        end(),
    stage(4), N(1118_img, 2, 16549_t),
};
static_assert(cells_valid(SELLER_TALK));

constexpr Cell NEIGHBOUR_TALK[] = {
    stage(0, ANY_STAGE_LAST),
        when(FOND_OF_PLAYER), S(16550_t), otherwise(), S(16551_t), end(),
};
static_assert(cells_valid(NEIGHBOUR_TALK));
// clang-format on

constexpr Resident SELLER{
    .idle_on = true,
    .idle = {.rearm = 10, .start = 37150, .limit = 37190, .step = 2, .pause = 10},
    .talk = {.far = 300, .frames = {-37196, 37196, 37194, 37192}, .cells = SELLER_TALK},
};
constexpr Resident NEIGHBOUR{
    .idle_on = true,
    .idle = {.rearm = 10, .start = 37200, .limit = 37232, .step = 2, .pause = 10},
    .talk = {.far = 300, .frames = {-37234, 37234, -37236, 37236}, .cells = NEIGHBOUR_TALK},
};

// ---- The chain of item 2385: the way to map 194 -----------------------------------------------

// clang-format off
constexpr Cell PATH_TALK[] = {
    stage(0), S(25959_t),
    stage(1), run(25687_t, 25693_t, PLAYER, SELF), to(2), show(488_obj),
    stage(2), S(25694_t),
    stage(3), S(29138_t),
};
static_assert(cells_valid(PATH_TALK));

constexpr Cell SWAPPERS_TALK[] = {
    stage(0), when(clicked(418_obj)), B(418_obj, 46571_t), otherwise(), B(419_obj, 46569_t), end(),
    stage(1),
        B(418_obj, 25722_t), B(419_obj, 25723_t), B(418_obj, 25724_t), P(3, 25725_t),
        B(418_obj, 25726_t), P(3, 25727_t), B(418_obj, 25728_t), B(419_obj, 25729_t),
        B(418_obj, 25730_t), B(419_obj, 25731_t), B(418_obj, 25732_t),
        pair_to(2),
    stage(2), B(418_obj, 25733_t),
        when(has_item(2382_item)),
            P(3, 25737_t), B(418_obj, 25738_t), B(419_obj, 25739_t),
            pair_to(0), give(2381_item, 1), take(2382_item, 1),
        end(),
    stage(3), when(clicked(418_obj)), B(418_obj, 29140_t), otherwise(), B(419_obj, 29139_t), end(),
};
static_assert(cells_valid(SWAPPERS_TALK));

constexpr Cell PERSON132_TALK[] = {
    stage(0),
        when(has_item(2381_item)),
            P(3, 25740_t), N(1132_img, 1, 25741_t), P(3, 25742_t), N(1087_img, 2, 25843_t),
            give(2200_item, 300), give(2210_item, 1),
            show(501_obj), hide(497_obj), scene(gift_scenes::PERSON87_GOES_AHEAD), to(1),
            take(2381_item, 1),
        otherwise(), N(1132_img, 2, 25655_t),
        end(),
    stage(1), N(1132_img, 2, 25744_t),
};
static_assert(cells_valid(PERSON132_TALK));

// The branches of the meeting at step zone 495, after its scene.
constexpr Cell MEETING_TALK[] = {
    when(acquainted(132_person)),
        P(3, 25638_t), N(1132_img, 1, 25639_t), P(3, 25640_t),
        when(affection_in(132_person, 60, AFFECTION_TOP)),
            N(1132_img, 1, 25645_t), N(1087_img, 2, 25657_t), N(1132_img, 1, 25658_t),
            P(3, 25659_t), give(2200_item, 300), give(2214_item, 1),
            show(501_obj), hide(497_obj), scene(gift_scenes::PERSON87_GOES_AHEAD),
            obj_to(490_obj, 1),
        otherwise(),
            N(1132_img, 1, 25641_t), P(3, 25642_t), N(1132_img, 1, 25643_t), P(3, 25644_t),
            N(1087_img, 2, 25653_t),
        end(),
    otherwise(),
        P(3, 25646_t), B(493_obj, 25647_t), P(3, 25648_t), N(1132_img, 1, 25649_t),
        P(3, 25650_t), N(1132_img, 1, 25651_t), P(3, 25652_t), N(1087_img, 2, 25653_t),
    end(),
    obj_to(418_obj, 1), obj_to(419_obj, 1),
};
static_assert(cells_valid(MEETING_TALK));

constexpr Cell WATCHER_TALK[] = {stage(0, ANY_STAGE_LAST), S(25656_t)};
static_assert(cells_valid(WATCHER_TALK));

// Step zone 498 before the target gate: every time the player has no shots, person 87 fetches
// 300 of them.
constexpr Cell SHOTS_TALK[] = {
    when(has_item(2200_item)), P(2, 25746_t),
    otherwise(), scene(gift_scenes::SHOTS_FETCHED), give(2200_item, GIFT_SHOTS_GIVEN),
    end(),
};
static_assert(cells_valid(SHOTS_TALK));

// Step zone 506 gives the gift without a line; nothing shows it.
constexpr Cell FOUND_QUIETLY[] = {give(2384_item, 1)};
static_assert(cells_valid(FOUND_QUIETLY));
// clang-format on

constexpr Resident PATH_KEEPER{
    .idle_on = true,
    .idle = {.rearm = 8, .start = 21530, .limit = 21543, .step = 1, .pause = 20},
    .talk = {.far = 250, .frames = {21546, 21546, 21544, 21545}, .cells = PATH_TALK},
};
constexpr Resident SWAPPER_418{
    .idle_on = true,
    .idle = {.rearm = 8, .start = 21700, .limit = 21732, .step = 2, .pause = 20},
    .talk = {.far = 250,
             .turn = TURN_NOBODY,
             .keep_frame = false,
             .cells = SWAPPERS_TALK,
             .partner = 419},
};
constexpr Resident SWAPPER_419{
    .idle_on = true,
    .idle = {.rearm = 8, .start = 21736, .limit = 21761, .step = 2, .pause = 20},
    .talk = {.far = 150,
             .turn = TURN_NOBODY,
             .keep_frame = false,
             .cells = SWAPPERS_TALK,
             .partner = 418},
};
constexpr TalkRow PERSON132_ROW{
    .far = 100, .turn = TURN_PLAYER_ONLY, .keep_frame = false, .cells = PERSON132_TALK};
constexpr TalkRow WATCHER_ROW{
    .far = 100, .turn = TURN_PLAYER_ONLY, .keep_frame = false, .cells = WATCHER_TALK};

// A table of cells run as one block on self (a zone's talk after its scene).
void cells_on_self(std::span<const Cell> cells) {
    cells_run(cells, TalkContext{.self = script_self(), .turn = {}, .partner = -1});
}
void meeting_branches() {
    cells_on_self(MEETING_TALK);
}
void shots_zone() {
    cells_on_self(SHOTS_TALK);
}
void found_gift_quietly() {
    cells_on_self(FOUND_QUIETLY);
}
constexpr StepZone MEETING_ZONE{
    .kind = ZONE_ONCE, .cues = gift_scenes::MEETING, .scene = meeting_branches};
constexpr StepZone GATE_497_ZONE{.kind = ZONE_LIVE, .cues = gift_scenes::GATE_497};
constexpr StepZone GATE_512_ZONE{.kind = ZONE_LIVE, .cues = gift_scenes::GATE_512};

constexpr StepZone SHOTS_ZONE{.kind = ZONE_LIVE, .scene = shots_zone};

// ---- The chain of item 2386 ------------------------------------------------------------------

// clang-format off
constexpr Cell GOSSIPS_TALK[] = {
    stage(0), run(24251_t, 24259_t, B429, B430),
    stage(1),
        B(429_obj, 25756_t), B(430_obj, 25757_t), B(429_obj, 25758_t), P(3, 25759_t),
        B(430_obj, 25760_t), P(3, 25761_t), B(429_obj, 25762_t), P(3, 25763_t),
        B(430_obj, 25764_t), P(3, 25765_t),
        pair_to(0), show(503_obj), show(517_obj),
    stage(2), run(29041_t, 29044_t, B429, B430),
};
static_assert(cells_valid(GOSSIPS_TALK));

constexpr Cell MAKER_TALK[] = {
    stage(0), S(25994_t),
    stage(1), run(25767_t, 25773_t, PLAYER3, SELF), scene(gift_scenes::A_MOMENT_LATER),
        run(25774_t, 25777_t, PLAYER3, SELF), give(2386_item, 1), to(2),
    stage(2), S(25778_t),
    stage(3), when(flag_is(84_flag, 1)), S(29154_t), otherwise(), S(29155_t), end(),
};
static_assert(cells_valid(MAKER_TALK));

constexpr Cell WITNESS_TALK[] = {
    stage(0), run(25979_t, 25983_t, SELF, PLAYER3), to(2),
    stage(1), run(25750_t, 25755_t, PLAYER3, SELF), to(3),
    stage(2), S(25984_t),
    stage(3), S(25749_t),
    stage(4), S(29156_t),
};
static_assert(cells_valid(WITNESS_TALK));
// clang-format on

constexpr TalkRow GOSSIP_429_ROW{
    .far = 150, .turn = TURN_PLAYER_ONLY, .cells = GOSSIPS_TALK, .partner = 430};
constexpr Resident GOSSIP_430{
    .idle_on = true,
    .idle = {.rearm = 8, .start = 22015, .limit = 22026, .step = 1, .pause = 20},
    .talk = {.far = 150,
             .frames = {22027, 22029, 22027, 22028},
             .cells = GOSSIPS_TALK,
             .partner = 429},
};
constexpr TalkRow MAKER_ROW{.far = 100, .turn = TURN_PLAYER_ONLY, .cells = MAKER_TALK};
constexpr TalkRow WITNESS_ROW{.far = 300, .turn = TURN_PLAYER_ONLY, .cells = WITNESS_TALK};
constexpr StepZone SIDE_DOOR_ZONE{.kind = ZONE_ONCE, .cues = gift_scenes::SIDE_DOOR};

// ---- After the four gifts: item 2384 ---------------------------------------------------------

// clang-format off
constexpr Cell TWINS_TALK[] = {
    stage(0), run(25903_t, 25908_t, B433, B434), to(3),
    stage(1),
        B(433_obj, 25814_t), B(434_obj, 25815_t), B(433_obj, 25816_t), B(434_obj, 25817_t),
        P(3, 25818_t), B(433_obj, 25819_t), P(3, 25820_t), B(434_obj, 25821_t), P(3, 25822_t),
        B(433_obj, 25823_t), P(3, 25824_t),
        pair_to(2), obj_to(444_obj, 1),
    stage(2), when(clicked(433_obj)), B(433_obj, 25825_t), otherwise(), B(434_obj, 25826_t), end(),
    stage(3), S(25909_t),
    stage(4), run(29050_t, 29055_t, B433, B434), pair_to(5),
    stage(5), B(433_obj, 29056_t), B(434_obj, 29057_t),
};
static_assert(cells_valid(TWINS_TALK));

constexpr Cell FINDER_TALK[] = {
    stage(0), S(25997_t),
    stage(1), S(25827_t), P(3, 25828_t), S(25829_t), to(2), show(519_obj),
    stage(2), S(25830_t),
    stage(3), S(29059_t),
    stage(4), S(26763_t),
};
static_assert(cells_valid(FINDER_TALK));

constexpr Cell FOUND_GIFT_TALK[] = {
    stage(0, ANY_STAGE_LAST), P(3, 16601_t), give(2384_item, 1), hide(519_obj),
};
static_assert(cells_valid(FOUND_GIFT_TALK));
// clang-format on

constexpr Resident TWIN_433{
    .idle_on = true,
    .idle = {.rearm = 8, .start = -21121, .limit = -21154, .step = -1, .pause = 20},
    .talk = {.far = 250,
             .frames = {-21155, -21156, -21155, -21121},
             .cells = TWINS_TALK,
             .partner = 434},
};
constexpr Resident TWIN_434{
    .idle_on = true,
    .idle = {.rearm = 8, .start = -21157, .limit = -21190, .step = -1, .pause = 20},
    .talk = {.far = 150,
             .frames = {-21190, -21157, -21190, -21157},
             .cells = TWINS_TALK,
             .partner = 433},
};
constexpr Resident FINDER{
    .idle_on = true,
    .idle = {.rearm = 8, .start = 22444, .limit = 22474, .step = 2, .pause = 20},
    .talk = {.far = 150, .frames = {-22442, 22442, -22440, 22440}, .cells = FINDER_TALK},
};
constexpr TalkRow FOUND_GIFT_ROW{
    .turn = TURN_NOBODY, .keep_frame = false, .cells = FOUND_GIFT_TALK};

// Step zone 506 hides itself and gives the gift; nothing shows it, so it never fires.
constexpr StepZone FOUND_GIFT_ZONE{.kind = ZONE_ONCE, .scene = found_gift_quietly};

void on_click(const TalkRow& row) {
    if (script_on(TRIG_CLICK)) talk_run(row);
}

} // namespace

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0174() {
    if (script_on(TRIG_TIMER)) idle_at_stage(HOST_IDLE, HOST_IDLE_STAGE);
    on_click(HOST_ROW);
}
void object_event_0175() {
    if (script_on(TRIG_TIMER)) idle_at_stage(GUEST_IDLE, GUEST_IDLE_STAGE);
    on_click(GUEST_ROW);
}
void object_event_0181() {
    resident_run(SENDER);
}
void object_event_0182() {
    resident_run(PATH_KEEPER);
}
void object_event_0184() {
    resident_run(SWAPPER_418);
}
void object_event_0185() {
    resident_run(SWAPPER_419);
}
void object_event_0195() {
    on_click(GOSSIP_429_ROW);
}
void object_event_0196() {
    resident_run(GOSSIP_430);
}
void object_event_0199() {
    resident_run(TWIN_433);
}
void object_event_0200() {
    resident_run(TWIN_434);
}
void object_event_0210() {
    resident_run(FINDER);
}
void object_event_0214() {
    on_click(COLLECTOR_ROW);
}
void object_event_0851() {
    resident_run(TRADER);
}
void object_event_0853() {
    resident_run(SELLER);
}
void object_event_0854() {
    resident_run(NEIGHBOUR);
}
void object_event_0858() {
    on_click(PERSON87_ROW);
}
void object_event_0876() {
    on_click(PERSON132_ROW);
}
void object_event_0877() {
    on_click(WATCHER_ROW);
}
void object_event_0878() {
    on_click(WATCHER_ROW);
}
void object_event_0879() {
    step_zone(MEETING_ZONE);
}
void object_event_0881() {
    step_zone(GATE_497_ZONE);
}
void object_event_0882() {
    step_zone(SHOTS_ZONE);
}
void object_event_0883() {
    step_zone(SIDE_DOOR_ZONE);
}
void object_event_0884() {
    on_click(WITNESS_ROW);
}
void object_event_0885() {
    on_click(MAKER_ROW);
}
void object_event_0886() {
    step_zone(FOUND_GIFT_ZONE);
}
void object_event_0889() {
    on_click(PERSON86_ROW);
}
void object_event_0890() {
    step_zone(GATE_512_ZONE);
}
void object_event_0897() {
    on_click(FOUND_GIFT_ROW);
}

// ---- Frames ----------------------------------------------------------------------------------

void town_a_gifts_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const IdleCycle& c : {HOST_IDLE, GUEST_IDLE, SENDER.idle, TRADER.idle, SELLER.idle,
                               NEIGHBOUR.idle, PATH_KEEPER.idle, SWAPPER_418.idle, SWAPPER_419.idle,
                               GOSSIP_430.idle, TWIN_433.idle, TWIN_434.idle, FINDER.idle})
        frames_of_cycle(v, c);
    for (const TurnFrames& f :
         {TRADER.talk.frames, COLLECTOR_ROW.frames, SELLER.talk.frames, NEIGHBOUR.talk.frames,
          PATH_KEEPER.talk.frames, GOSSIP_430.talk.frames, TWIN_433.talk.frames,
          TWIN_434.talk.frames, FINDER.talk.frames})
        frames_of_turn(v, f);
    cues_frames(v, gift_scenes::MEETING);
}

// ---- Slots -----------------------------------------------------------------------------------

// Slot 880, the reward of the target gate of map 194 without its game, is carried by no object
// and stays empty.
namespace {
constexpr ScriptSlot SLOTS[] = {
    {174, object_event_0174}, {175, object_event_0175}, {181, object_event_0181},
    {182, object_event_0182}, {184, object_event_0184}, {185, object_event_0185},
    {195, object_event_0195}, {196, object_event_0196}, {199, object_event_0199},
    {200, object_event_0200}, {210, object_event_0210}, {214, object_event_0214},
    {851, object_event_0851}, {853, object_event_0853}, {854, object_event_0854},
    {858, object_event_0858}, {876, object_event_0876}, {877, object_event_0877},
    {878, object_event_0878}, {879, object_event_0879}, {881, object_event_0881},
    {882, object_event_0882}, {883, object_event_0883}, {884, object_event_0884},
    {885, object_event_0885}, {886, object_event_0886}, {889, object_event_0889},
    {890, object_event_0890}, {897, object_event_0897},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{174, 175}, {181, 182}, {184, 185}, {195, 196}, {199, 200},
                                  {210, 210}, {214, 214}, {851, 851}, {853, 854}, {858, 858},
                                  {876, 886}, {889, 890}, {897, 897}};
} // namespace

std::span<const ScriptSlot> town_a_gifts_slots() {
    return SLOTS;
}

ScriptRegion town_a_gifts_region() {
    return {.owner = TOWN_A_GIFTS_OWNER, .slots = town_a_gifts_slots, .complete = COMPLETE};
}
