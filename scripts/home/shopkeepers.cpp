#include "scripts/home/shopkeepers.h"

#include "data/hub_block.h"
#include "engine/image.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/games.h"
#include "scripts/script_seams.h"

namespace {

using namespace cell;

// How many of the item the player holds (0 when none).
s32 held(s32 item) {
    s32 n = 0;
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item) n += e.count;
    return n;
}

// ---- Shop 9, map 10: one stage ---------------------------------------------------------------

// clang-format off
constexpr Cell SHOP9_TALK[] = {
    stage(0), album(1, S(10967_t)), S(10125_t),
        menu(10126_t, 10127_t),
            option(0), buy(9_shop),
        end(),
};
static_assert(cells_valid(SHOP9_TALK));
// clang-format on
constexpr Resident SHOP9{
    .idle_on = true,
    .idle = {.rearm = 5,
             .start = 2051,
             .limit = 2073,
             .step = 1,
             .pause = 100,
             .remark_frame = 2065,
             .remark_text = 10033,
             .remark_dx = -64,
             .remark_dy = -100,
             .remark_ms = 5000,
             .remark2_text = 10034,
             .remark2_dx = -56,
             .remark2_dy = -100,
             .remark2_ms = 3000},
    .talk = {.far = 150, .frames = {2051, 2051, 2051, 2051}, .cells = SHOP9_TALK},
};

// ---- Shop 7, map 10: the first-day sale reward -----------------------------------------------

constexpr s32 SALE_ITEM_A = 1864;
constexpr s32 SALE_ITEM_B = 1881;
constexpr s32 SALE_ALBUM = 1;

// What the last counted sale to shop 7 sold of the two items.
bool sold_a = false;
bool sold_b = false;

void sell_counted_shop7() {
    const s32 a = held(SALE_ITEM_A);
    const s32 b = held(SALE_ITEM_B);
    modal_shop_sell(7);
    sold_a = held(SALE_ITEM_A) < a;
    sold_b = held(SALE_ITEM_B) < b;
}

// The reward is due only on the first day, for a sale of either item, and only once.
bool sale_rewarded() {
    return hub_block.calendar_turn == 0 && (sold_a || sold_b) && album_has(SALE_ALBUM) == 0;
}
bool sale_was_a() {
    return sold_a;
}

constexpr Lesson SALE_FAME{.growth = 31, .exp = 100};

// clang-format off
constexpr Cell SHOP7_TALK[] = {
    stage(0), run(10138_t, 10142_t, SELF, PLAYER), P(10812_t), S(10813_t), to(1),
    stage(1), album(1, S(10965_t)), S(10143_t),
        menu(10144_t, 10145_t, 10267_t),
            option(0), buy(7_shop),
            option(1), call(sell_counted_shop7),
                when(test(sale_rewarded)), call(scene_render),
                    when(test(sale_was_a)), S(10814_t),
                    otherwise(), S(10961_t),
                    end(),
                    run(10815_t, 10817_t, PLAYER, SELF), teach(SALE_FAME), to(2),
                    album_entry(SALE_ALBUM),
                end(),
        end(),
    stage(2), S(10818_t),
        menu(10144_t, 10145_t, 10267_t),
            option(0), buy(7_shop),
            option(1), sell(7_shop),
        end(),
};
static_assert(cells_valid(SHOP7_TALK));
// clang-format on
constexpr Resident SHOP7{
    .idle_on = true,
    .idle = {.rearm = 7,
             .start = 2074,
             .limit = 2087,
             .step = 1,
             .pause = 150,
             .remark_frame = 2087,
             .remark_text = 10029,
             .remark_dx = -128,
             .remark_dy = -95,
             .remark_ms = 3000,
             .remark2_text = 10030,
             .remark2_dx = -112,
             .remark2_dy = -95,
             .remark2_ms = 3000},
    .talk = {.far = 150, .frames = {2074, 2074, 2074, 2074}, .cells = SHOP7_TALK},
};

// ---- The smith, map 14: the forging job and the glow -----------------------------------------

constexpr s32 SMITH_GLOW = 117;
constexpr s32 GLOW_ON_FRAME = 30260;
constexpr s32 GLOW_OFF_FRAME = 30268;
constexpr s32 GLOW_FRAME = 20007;
constexpr s32 GLOW_BLEND = 12; // additive
constexpr s32 FORGE_ITEM = 1571;

constexpr IdleCycle SMITH_IDLE{.rearm = 8, .start = 30214, .limit = 30268, .step = 2, .pause = 10};

// The hammer loop lights the glow at one frame and puts it out at the last.
void smith_timer() {
    const s32 frame = idle_cycle(SMITH_IDLE);
    if (frame == GLOW_ON_FRAME) {
        attr_set(SMITH_GLOW, ATTR_ACTIVE, 1);
        attr_set(SMITH_GLOW, ATTR_BLEND, GLOW_BLEND);
        obj_set_frame(SMITH_GLOW, GLOW_FRAME);
    } else if (frame == GLOW_OFF_FRAME) {
        attr_set(SMITH_GLOW, ATTR_ACTIVE, 0);
    }
}

s32 forge_result = 0;

void forge() {
    forge_result = game_call({GAME_TRACKS, {1}});
    scene_render();
}
bool forged() {
    return forge_result == 1;
}

// clang-format off
constexpr Cell SMITH_TALK[] = {
    stage(0), run(10175_t, 10185_t, PLAYER, SELF), P(10166_t), run(10186_t, 10188_t, SELF, PLAYER),
        to(1),
    stage(1), S(10189_t),
        when(has_item(ItemId(FORGE_ITEM))),
            menu(10190_t, 10191_t, 10193_t, 10697_t),
                option(0), buy(6_shop),
                option(1), sell(6_shop),
                option(2), S(10195_t), call(forge),
                    when(test(forged)), S(10695_t),
                    otherwise(), S(10696_t),
                    end(),
                    to(2), take(ItemId(FORGE_ITEM), 1), learn(16, 50),
            end(),
        otherwise(),
            menu(10190_t, 10191_t, 10192_t),
                option(0), buy(6_shop),
                option(1), sell(6_shop),
            end(),
        end(),
    stage(2), S(10189_t),
        menu(10190_t, 10191_t, 10192_t),
            option(0), buy(6_shop),
            option(1), sell(6_shop),
        end(),
};
static_assert(cells_valid(SMITH_TALK));
// clang-format on
constexpr TalkRow SMITH_ROW{
    .frames = {30358, 30358, 30356, 30358},
    .keep_frame = false,
    .end_frame = 30214,
    .cells = SMITH_TALK,
};

// ---- Shop 0, map 19, and its prop ------------------------------------------------------------

constexpr s32 SHOP0_PROP = 70;
constexpr s32 PROP_FIRST = 2584;
constexpr s32 PROP_LAST = 2591;

constexpr IdleCycle SHOP0_IDLE{.rearm = 8, .start = 2559, .limit = 2599, .step = 1, .pause = 10};

void shop0_timer() {
    const s32 frame = idle_cycle(SHOP0_IDLE);
    attr_set(SHOP0_PROP, ATTR_ACTIVE, frame >= PROP_FIRST && frame <= PROP_LAST ? 1 : 0);
}

constexpr Lesson SHOP0_LESSON{.growth = 14, .exp = 50, .known_list = 14, .known_id = 0};
// clang-format off
constexpr Cell SHOP0_TALK[] = {
    stage(0), run(10167_t, 10169_t, SELF, PLAYER), run(10343_t, 10345_t, SELF, PLAYER),
        teach(SHOP0_LESSON), to(1),
    stage(1), S(10171_t),
        menu(10172_t, 10173_t, 10174_t),
            option(0), buy(0_shop),
            option(1), sell(0_shop),
        end(),
};
static_assert(cells_valid(SHOP0_TALK));
// clang-format on
constexpr TalkRow SHOP0_ROW{.frames = {2559, 2559, 2559, 2559}, .cells = SHOP0_TALK};

// ---- Shop 1, map 18: the companion's farewell ------------------------------------------------

void farewell() {
    companion_leave_scene_seam();
}

// clang-format off
constexpr Cell SHOP1_TALK[] = {
    stage(0), run(10103_t, 10109_t, SELF, PLAYER), to(1),
    stage(1), S(10102_t),
        menu(10111_t, 10112_t),
            option(0), buy(1_shop),
            option(1), S(10113_t),
        end(),
    stage(2), run(26573_t, 26579_t, PLAYER, SELF), to(1), flag_add(FlagId(FAREWELL_FLAG), 1),
        call(farewell),
};
static_assert(cells_valid(SHOP1_TALK));
// clang-format on
constexpr Resident SHOP1{
    .idle_on = true,
    .idle = {.rearm = 10, .start = 33364, .limit = 33371, .step = 1, .pause = 50},
    .talk = {.frames = {33373, -33373, 33372, 33374}, .cells = SHOP1_TALK},
};

// ---- Shop 2, map 11 --------------------------------------------------------------------------

// clang-format off
constexpr Cell SHOP2_TALK[] = {
    stage(0), S(10118_t),
        choice(10120_t, 10121_t, 10122_t),
            option(0), buy(2_shop),
            option(1), sell(2_shop),
        end(),
};
static_assert(cells_valid(SHOP2_TALK));
// clang-format on
constexpr Resident SHOP2{
    .idle_on = true,
    .idle = {.rearm = 10, .start = 31700, .limit = 31760, .step = 2, .pause = 10},
    .talk = {.frames = {31766, 31768, 31764, 31762}, .cells = SHOP2_TALK},
};

// ---- Shop 8, map 10: the collection counter --------------------------------------------------

constexpr s32 COLLECTED_ITEM = 1844;

void sell_counted_shop8() {
    const s32 before = held(COLLECTED_ITEM);
    modal_shop_sell(8);
    player_record.affection[COLLECTION_COUNTER] += before - held(COLLECTED_ITEM);
}
bool collection_complete() {
    return player_record.affection[COLLECTION_COUNTER] >= COLLECTION_GOAL;
}

// clang-format off
constexpr Cell SHOP8_TALK[] = {
    stage(0), run(10130_t, 10134_t, SELF, player_at(2)), to(1),
    stage(1), album(1, S(10966_t)), S(10135_t),
        menu(10136_t, 10137_t, 10266_t),
            option(0), buy(8_shop),
            option(1), call(sell_counted_shop8),
                when(test(collection_complete)), call(scene_render),
                    run(11520_t, 11526_t, SELF, PLAYER), give(2241_item, 10), to(2),
                end(),
        end(),
    stage(2), album(1, S(10966_t)), S(10135_t),
        menu(10136_t, 10137_t, 10266_t),
            option(0), buy(8_shop),
            option(1), sell(8_shop),
        end(),
};
static_assert(cells_valid(SHOP8_TALK));
// clang-format on
constexpr Resident SHOP8{
    .idle_on = true,
    .idle = {.rearm = 5,
             .start = 2023,
             .limit = 2045,
             .step = 1,
             .pause = 200,
             .remark_frame = 2027,
             .remark_text = 10031,
             .remark_dx = -112,
             .remark_dy = -100,
             .remark_ms = 4000,
             .remark2_text = 10032,
             .remark2_dx = -80,
             .remark2_dy = -100,
             .remark2_ms = 5000},
    .talk = {.far = 150, .frames = {2023, 2023, 2023, 2023}, .cells = SHOP8_TALK},
};

// ---- Shop 3, map 15: the portrait quiz -------------------------------------------------------

s32 quiz_answer = 0;

void ask_quiz() {
    quiz_answer = portrait_quiz_seam();
    scene_render();
}
bool quiz_right() {
    return quiz_answer == QUIZ_RIGHT;
}

// The shop-5 keeper's stage after a right answer.
constexpr s32 SHOP5_KEEPER = 78;

// A wrong answer leaves stage 2, where the quiz is asked again at every click.
// clang-format off
constexpr Cell SHOP3_TALK[] = {
    stage(0), S(10154_t),
        menu(10155_t, 10156_t, 10157_t),
            option(0), sell(3_shop),
            option(1), buy(3_shop),
            option(2), S(10265_t),
        end(),
    stage(1), run(13577_t, 13581_t, player_at(3), SELF), call(ask_quiz),
        when(test(quiz_right)), run(13583_t, 13586_t, SELF, player_at(3)), to(0),
            obj_to(ObjId(SHOP5_KEEPER), 2),
        otherwise(), S(13582_t), to(2),
        end(),
    stage(2), P(3, 13587_t), call(ask_quiz),
        when(test(quiz_right)), run(13583_t, 13586_t, SELF, player_at(3)), to(0),
            obj_to(ObjId(SHOP5_KEEPER), 2),
        otherwise(), S(13582_t),
        end(),
};
static_assert(cells_valid(SHOP3_TALK));
// clang-format on
constexpr Resident SHOP3{
    .idle_on = true,
    .idle = {.rearm = 8, .start = 31024, .limit = 31065, .step = 2, .pause = 100},
    .talk = {.frames = {31066, 31066, 31066, 31066}, .cells = SHOP3_TALK},
};

// ---- Shop 5, map 13 --------------------------------------------------------------------------

constexpr Lesson SHOP5_LESSON{.growth = 17, .exp = 100, .known_list = 17, .known_id = 0};
// After the quiz the keeper sends the player on: the attendant of the rest place (112) and the
// guest of map 28 (98) take their next stage, the person of the map-10 episode (2004) appears
// and the rest service of map 24 (111) closes.
// clang-format off
constexpr Cell SHOP5_TALK[] = {
    stage(0), run(10159_t, 10161_t, SELF, PLAYER), teach(SHOP5_LESSON), to(1),
    stage(1), S(10158_t),
        menu(10163_t, 10164_t, 10165_t),
            option(0), buy(5_shop),
            option(1), sell(5_shop),
        end(),
    stage(2), run(13588_t, 13599_t, PLAYER, SELF), to(1), obj_to(112_obj, 3), obj_to(98_obj, 3),
        show(2004_obj), hide(111_obj),
};
static_assert(cells_valid(SHOP5_TALK));
// clang-format on
constexpr Resident SHOP5{
    .idle_on = true,
    .idle =
        {.rearm = 8, .start = 30972, .limit = 31019, .step = 2, .pause = 100, .pause_rand = 200},
    .talk = {.frames = {-31022, 31022, -31020, 31020},
             .keep_frame = false,
             .end_frame = 30972,
             .cells = SHOP5_TALK},
};

} // namespace

// ---- The portrait quiz -----------------------------------------------------------------------

s32 (*portrait_quiz_seam)() = portrait_quiz;

s32 portrait_quiz_hit(s32 x, s32 y) {
    for (s32 row = 0; row < QUIZ_ROWS; ++row)
        for (s32 col = 0; col < QUIZ_COLUMNS; ++col) {
            const s32 cx = QUIZ_COLUMN_X[col];
            const s32 cy = QUIZ_ROW_Y[row];
            if (x < cx || x > cx + QUIZ_CELL_W || y < cy || y > cy + QUIZ_CELL_H) continue;
            return row * QUIZ_COLUMNS + col == QUIZ_RIGHT_CELL ? QUIZ_RIGHT : QUIZ_WRONG;
        }
    return QUIZ_MISS;
}

s32 portrait_quiz() {
    for (s32 i = 0; i < QUIZ_COLUMNS * QUIZ_ROWS; ++i) {
        draw_image(QUIZ_COLUMN_X[i % QUIZ_COLUMNS], QUIZ_ROW_Y[i / QUIZ_COLUMNS],
                   PLAYER_PORTRAIT + QUIZ_PERSONS[i], 0);
        screen_present();
    }
    mouse_buttons = 0;
    s32 answer = QUIZ_MISS;
    while (answer == QUIZ_MISS) {
        screen_present();
        if (mouse_buttons != 1) continue;
        mouse_buttons = 0;
        answer = portrait_quiz_hit(click_x, click_y);
    }
    modal_return();
    return answer;
}

// ---- Frames ---------------------------------------------------------------------------------

namespace {

void visit_row(const FrameVisit& v, const TalkRow& row) {
    frames_of_turn(v, row.frames);
    v(row.end_frame);
}

} // namespace

void shopkeepers_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const Resident* r : {&SHOP9, &SHOP7, &SHOP1, &SHOP2, &SHOP8, &SHOP3, &SHOP5}) {
        frames_of_cycle(v, r->idle);
        visit_row(v, r->talk);
    }
    frames_of_cycle(v, SMITH_IDLE);
    visit_row(v, SMITH_ROW);
    frames_of_cycle(v, SHOP0_IDLE);
    visit_row(v, SHOP0_ROW);
    v(GLOW_FRAME);
}

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0008() {
    resident_run(SHOP9);
}

void object_event_0009() {
    resident_run(SHOP7);
}

void object_event_0022() {
    if (script_on(TRIG_TIMER)) smith_timer();
    if (script_on(TRIG_CLICK)) talk_run(SMITH_ROW);
}

void object_event_0023() {
    if (script_on(TRIG_TIMER)) shop0_timer();
    if (!script_on(TRIG_CLICK)) return;
    attr_set(SHOP0_PROP, ATTR_ACTIVE, 0);
    talk_run(SHOP0_ROW);
}

void object_event_0030() {
    resident_run(SHOP1);
}

void object_event_0031() {
    resident_run(SHOP2);
}

void object_event_0032() {
    resident_run(SHOP8);
}

void object_event_0034() {
    resident_run(SHOP3);
}

void object_event_0035() {
    resident_run(SHOP5);
}

// ---- Slots -----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {8, object_event_0008},  {9, object_event_0009},  {22, object_event_0022},
    {23, object_event_0023}, {30, object_event_0030}, {31, object_event_0031},
    {32, object_event_0032}, {34, object_event_0034}, {35, object_event_0035},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{8, 9}, {22, 23}, {30, 32}, {34, 35}};
} // namespace

std::span<const ScriptSlot> home_shopkeepers_slots() {
    return SLOTS;
}

ScriptRegion home_shopkeepers_region() {
    return {.owner = HOME_SHOPKEEPERS_OWNER, .slots = home_shopkeepers_slots, .complete = COMPLETE};
}
