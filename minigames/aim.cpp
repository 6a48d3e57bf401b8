// The aiming games.
#include "minigames/aim.h"

#include "data/hub_block.h"
#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"

#include <algorithm>
#include <cstdlib>

const FrameBox AIM_BOARD_BOXES[3] = {
    {350, 51, 366, 62}, {296, 113, 319, 127}, {246, 168, 281, 194}};

const AimKind AIM_KIND_TABLE[AIM_KINDS] = {
    {25033, 13, 41, 17, 25, 10, 8, 35, 5, 3, 0, -1},
    {25037, 40, 46, 45, 25, 19, 10, 25, 8, 2, 0, -1},
    {25041, 44, 89, 50, 74, 9, 16, 30, 5, 4, 4, 546},
    {25048, 75, 152, 75, 152, 13, 13, 30, 100, 50, 10, 543},
    {25062, 149, 29, 149, 29, 5, 5, 20, 5, 5, 2, 544},
    {25055, 58, 50, 54, 38, 23, 18, 40, 17, 3, 2, 545},
    {25080, 109, 90, 104, 75, 9, 16, 30, 5, 4, 4, 546},
};

const AimPlace AIM_PLACE_TABLE[AIM_PLACES] = {
    {335, 365, 47, 61},   {195, 216, 65, 91},   {201, 225, 133, 167}, {430, 445, 108, 133},
    {322, 352, 161, 189}, {243, 275, 208, 244}, {406, 434, 196, 226}, {199, 230, 271, 301},
    {318, 351, 267, 309}, {412, 437, 286, 313},
};

const s32 AIM_SPOT_X[AIM_SPOT_OFFSETS] = {33, 71, 98, 79, 47, 80, 88, 36};
const s32 AIM_SPOT_Y[AIM_SPOT_OFFSETS] = {55, 38, 63, 91, 116, 125, 158, 159};
const s32 AIM_SHOT_DROP[AIM_SHOT_FRAMES_MAX] = {23, 17, 13, 9, 10};

AimState aim_state;
s32 (*aim_rand)(s32 n) = rand_below;

namespace {

constexpr s32 MUSIC_TRACK = 10018;
constexpr s32 CURSOR = 1;

constexpr s32 IMG_FIELD = 25077, IMG_OVERLAY = 25078, IMG_CHOOSER = 25094;
constexpr s32 IMG_IMPACT = 25079, IMG_SHOT = 25087, IMG_SPOT_OPEN = 25092, IMG_SPOT_HIT = 25093;
constexpr s32 IMG_BAR = 25009, IMG_BAR_COLUMN = 25010;
constexpr s32 IMG_HP_FRAME = 25032, IMG_HP_COLUMN = 25013;
constexpr s32 IMG_BOARD_STAGE = 25061; // + stage 1..3
constexpr s32 IMG_BOARD_ESCAPE = 25065;
constexpr s32 IMG_BOARD_HIT = 25068; // + 3 (stage - 1) + frame
constexpr s32 IMG_DUEL_MAIN = 25188;
constexpr s32 IMG_PLAYER = 1000;
constexpr s32 IMG_COACH_PAGES = 1250;

constexpr s32 TXT_CHOOSE = 10800, TXT_TOOL_NAME = 7210;
constexpr s32 TXT_FIRST_COMMENT = 10290, TXT_COACH_COMMENTS = 10286, TXT_COACH_HIT = 10293;
constexpr s32 TXT_COACH_ESCAPE = 10294, TXT_COACH_ESCAPE_26 = 10296, TXT_COACH_MAIN = 10297;
constexpr s32 TXT_OWN_COMMENT = 10970, TXT_OWN_ESCAPE = 10971;
constexpr s32 TXT_END_TIME = 10301, TXT_END_AMMO = 10302;
constexpr s32 TXT_DUEL_WON = 11410, TXT_DUEL_AMMO = 11411, TXT_DUEL_TIME = 11412;
constexpr s32 TXT_PAGES = 10281;
constexpr s32 INSTRUCTION_PAGES = 5;

constexpr s32 SND_SHOT = 548, SND_HIT = 547, SND_HIT_KIND = 530, SND_ESCAPE = 549;

constexpr s32 BONUS_SCORE = 330;
constexpr s32 BONUS_POOL = 300;
constexpr s32 STAMINA_COST = 100, DUEL_STAMINA_COST = 300;
constexpr s32 WAIT_X = 441, WAIT_Y = 419;
constexpr s32 PORTRAIT_X = 466, PORTRAIT_Y = 292;
constexpr s32 TOOL_X = 370, TOOL_Y = 181, TOOL_W = 20, TOOL_H = 96;
constexpr s32 HIT_ANIM_MS = 50, ESCAPE_ANIM_MS = 100;
constexpr s32 ANIM_FRAMES = 3;
constexpr s32 PERSONS = 500;

enum class Moment { Play, Hit, Escape };

AimState& st = aim_state;

s32 draw(AimDraw what, s32 n) {
    st.drawing = what;
    const s32 v = aim_rand(n);
    st.drawing = AimDraw::None;
    return std::clamp(v, 0, std::max(n - 1, 0));
}

bool main_kind_valid() {
    return st.main_kind >= 0 && st.main_kind < AIM_KINDS;
}

const AimKind& kind_of(const AimSlot& t) {
    return AIM_KIND_TABLE[std::clamp(t.kind, 0, AIM_KINDS - 1)];
}

s32 image_of(const AimSlot& t) {
    return t.main && st.duel ? IMG_DUEL_MAIN : kind_of(t).image;
}

s32 life_of(s32 kind) {
    const s32 life = AIM_KIND_TABLE[kind].life;
    return st.duel ? life + 7 + growth_value(AIM_SKILL) / 3 : life;
}

bool has_coach() {
    return st.coach >= 1 && st.coach < PERSONS;
}

// The count of the first inventory entry holding the ammunition; 0 when none holds it.
s32 ammo_held() {
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == AIM_AMMO) return e.count;
    return 0;
}

void list_tools() {
    st.tool_count = 0;
    for (const InventoryEntry& e : player_record.inventory) {
        if (st.tool_count >= AIM_TOOLS_SHOWN) break;
        if (e.item >= AIM_TOOL_FIRST && e.item <= AIM_TOOL_LAST)
            st.tools[st.tool_count++] = e.item - AIM_TOOL_FIRST;
    }
}

FrameBox tool_box(s32 i) {
    const s32 x = TOOL_X - TOOL_W * i;
    return {x, TOOL_Y, x + TOOL_W - 1, TOOL_Y + TOOL_H - 1};
}

// ---- Drawing ------------------------------------------------------------------------------------

void draw_hp_bar(const AimSlot& t) {
    const AimKind& k = kind_of(t);
    const s32 d = t.kind == 3 ? 30 : t.kind == 1 ? 10 : 0;
    const s32 full = t.main ? st.main_full_hp : k.hp;
    draw_image(t.x - 29, t.y - k.hit_anchor_y - 22 + d, IMG_HP_FRAME, 0);
    const s32 columns = full > 0 ? std::clamp(t.hp * 50 / full, 0, 50) : 0;
    for (s32 i = 0; i < columns; ++i)
        draw_image(t.x - 22 + i, t.y - k.hit_anchor_y - 14 + d, IMG_HP_COLUMN, 0);
}

void draw_target(const AimSlot& t) {
    if (t.kind < 0) return;
    if (t.kind == AIM_BOARD && !t.main) {
        draw_image(AIM_BOARD_X, AIM_BOARD_Y, IMG_BOARD_STAGE + st.stage, 0);
        return;
    }
    const AimKind& k = kind_of(t);
    draw_image(t.x - k.anchor_x, t.y - k.anchor_y, image_of(t), 0);
    if (!t.main) return;
    for (s32 i = 0; i < AIM_SPOTS; ++i)
        draw_image(aim_corner_x(t) + AIM_SPOT_X[st.spot[i]],
                   aim_corner_y(t) + AIM_SPOT_Y[st.spot[i]],
                   st.spot_hit[i] ? IMG_SPOT_HIT : IMG_SPOT_OPEN, 0);
}

void draw_anim_target(const AimSlot& t, bool escape, s32 f) {
    if (t.kind == AIM_BOARD && !t.main) {
        const s32 image = escape ? IMG_BOARD_ESCAPE + f : IMG_BOARD_HIT + 3 * (st.stage - 1) + f;
        draw_image(AIM_BOARD_X, AIM_BOARD_Y, image, 0);
        return;
    }
    const AimKind& k = kind_of(t);
    if (escape)
        draw_image(t.x - k.anchor_x, t.y - k.anchor_y, image_of(t) + 1 + f, 0);
    else
        draw_image(t.x - k.hit_anchor_x, t.y - k.hit_anchor_y,
                   image_of(t) + (t.kind <= 1 ? 1 : 4) + f, 0);
    if (t.hp > 0) draw_hp_bar(t);
}

// The shot picture: in flight at its height on the way up, or over the impact.
void draw_shot_flying() {
    const AimShot& s = st.shot;
    const s32 f = std::clamp(s.frame, 0, AIM_SHOT_FRAMES_MAX - 1);
    draw_image(s.x - 17, AIM_SHOT_BASE_Y - s.step * f - AIM_SHOT_DROP[f], IMG_SHOT + f, 0);
}

void draw_shot_landed() {
    const AimShot& s = st.shot;
    const s32 f = std::clamp(s.frame, 0, AIM_SHOT_FRAMES_MAX - 1);
    draw_image(s.x - 16, s.y - 15, IMG_IMPACT, 0);
    draw_image(s.x - 18, s.y - AIM_SHOT_DROP[f], IMG_SHOT + f, 0);
}

// The time bar, the quit button (not in the duel) and the status columns.
void draw_panel() {
    draw_image(488, 29, IMG_BAR, 0);
    if (!st.duel) frame_draw_quit();
    for (s32 i = std::min(AIM_SECONDS - st.secs, AIM_SECONDS); i >= 0; --i)
        draw_image(498 + i, 40, IMG_BAR_COLUMN, 0);
    text_size(16);
    text_style(1);
    text_colour(31, 31, 31);
    print_text_vertical_seen(469, 29, 540);
    print_text_vertical_seen(550, 116, 518);
    print_text_vertical_seen(530, 116, 520);
    print_text_vertical_seen(510, 116, 521);
    print_number_vertical_seen(550, 196, growth_value(AIM_SKILL), 3);
    print_number_vertical_seen(530, 196, aim_shot_damage(), 3);
    print_number_vertical_seen(510, 196, st.arrows, 3);
    for (s32 i = 0; i < 6; ++i) print_text_vertical_seen(145 - 20 * i, 30, 522 + i);
    print_text_vertical_seen(85, 130, 517);
    const s32 counts[6] = {
        st.kills[0], st.kills[1], st.kills[5], st.kills[4], st.kills[2] + st.kills[6], st.kills[3]};
    for (s32 i = 0; i < 6; ++i) print_number_vertical_seen(145 - 20 * i, 80, counts[i], 2);
    print_number_vertical_seen(85, 180, st.score, 3);
}

void draw_portrait() {
    draw_image(PORTRAIT_X, PORTRAIT_Y, has_coach() ? IMG_PLAYER + st.coach : IMG_PLAYER, 0);
}

void draw_line(s32 text) {
    text_size(24);
    text_style(2);
    text_colour(0, 0, 0);
    print_text_seen(BOTTOM_LINE_X, BOTTOM_LINE_Y, text);
    draw_portrait();
}

// One frame of the comment: a new one may come once the counter has reached its threshold.
void comment_tick(Moment moment, s32 kind) {
    const bool coach = has_coach();
    s32 threshold = 50;
    if (!coach) threshold = moment == Moment::Play ? 100 : moment == Moment::Hit ? 50 : 30;
    const s32 r = draw(AimDraw::Comment, 10);
    if (r < 6 || st.comment_count < threshold) {
        ++st.comment_count;
        return;
    }
    st.comment_count = 0;
    if (!coach) {
        st.comment = moment == Moment::Escape ? TXT_OWN_ESCAPE : TXT_OWN_COMMENT;
    } else if (moment == Moment::Play) {
        st.comment = st.unlocked && st.main_hp > 0
                         ? TXT_COACH_MAIN
                         : TXT_COACH_COMMENTS + draw(AimDraw::CommentPick, 8);
    } else if (moment == Moment::Hit) {
        st.comment = TXT_COACH_HIT;
    } else {
        st.comment = kind == 2 || kind == 6 ? TXT_COACH_ESCAPE_26
                                            : TXT_COACH_ESCAPE + draw(AimDraw::CommentPick, 2);
    }
}

// Three frames of a target's hit or escape animation over the rest of the field.
void animate(s32 index, bool escape) {
    const AimPhase before = st.phase;
    st.phase = escape ? AimPhase::EscapeAnim : AimPhase::HitAnim;
    st.anim_slot = index;
    for (s32 f = 0; f < ANIM_FRAMES; ++f) {
        st.anim_frame = f;
        draw_image(AIM_FIELD_BOX.x0, AIM_FIELD_BOX.y0, IMG_FIELD, 0);
        for (s32 i = 0; i < st.slot_count; ++i) {
            if (i == index)
                draw_anim_target(st.slot[i], escape, f);
            else
                draw_target(st.slot[i]);
        }
        if (!escape) draw_shot_landed();
        draw_image(0, 0, IMG_OVERLAY, 0);
        draw_panel();
        comment_tick(escape ? Moment::Escape : Moment::Hit, st.slot[index].kind);
        draw_line(st.comment);
        screen_present();
        wait_ms(escape ? ESCAPE_ANIM_MS : HIT_ANIM_MS);
    }
    st.anim_slot = -1;
    st.phase = before;
}

// ---- Targets ------------------------------------------------------------------------------------

s32 draw_place() {
    if (draw(AimDraw::PlaceRoll, 10) >= 4) return -1;
    const s32 side = draw(AimDraw::PlaceSide, 10);
    if (side == 9) return 1 + draw(AimDraw::PlaceUpper, 3);
    if (side == 8) return 0;
    return 4 + draw(AimDraw::PlaceLower, 6);
}

s32 draw_main_place() {
    if (draw(AimDraw::MainPlace, 10) < 4) return 4;
    if (draw(AimDraw::MainPlace, 10) < 4) return 5;
    return 8;
}

bool place_taken(s32 place) {
    for (s32 i = 0; i < st.slot_count; ++i)
        if (st.slot[i].place == place) return true;
    return false;
}

s32 kind_at(s32 place) {
    if (place < 0) return -1;
    if (place == 0) return AIM_BOARD;
    if (place <= 2) return 2;
    if (place == 3) return 6;
    const s32 n = draw(AimDraw::Kind, 10);
    return n <= 2 ? 5 : n <= 6 ? 0 : 1;
}

void draw_spots() {
    for (s32 i = 0; i < AIM_SPOTS; ++i) {
        bool fresh = false;
        while (!fresh) {
            st.spot[i] = draw(AimDraw::Spot, AIM_SPOT_OFFSETS);
            fresh = true;
            for (s32 j = 0; j < i; ++j)
                if (st.spot[j] == st.spot[i]) fresh = false;
        }
        st.spot_hit[i] = false;
    }
}

void new_target(s32 index) {
    AimSlot next;
    s32 place = -1;
    if (st.duel) {
        do place = draw_main_place();
        while (place == st.slot[index].place);
        next.kind = st.main_kind;
        next.main = true;
    } else if (st.mode == 0) {
        do place = draw_place();
        while (place_taken(place));
        next.kind = kind_at(place);
        if (st.unlocked && st.main_slot == -1 && place >= 4 && main_kind_valid()) {
            place = draw_main_place();
            next.kind = st.main_kind;
            next.main = true;
        }
    }
    next.place = place;
    if (next.kind < 0) {
        next.life = AIM_EMPTY_WAIT;
    } else {
        if (next.main) {
            st.main_slot = index;
            draw_spots();
        }
        if (next.kind == AIM_BOARD && !next.main) st.stage = 1;
        const AimPlace& p = AIM_PLACE_TABLE[place];
        next.x = p.x_min + draw(AimDraw::PointX, p.x_max - p.x_min);
        next.y = p.y_min + draw(AimDraw::PointY, p.y_max - p.y_min);
        next.life = life_of(next.kind);
        next.hp = next.main ? st.main_hp : AIM_KIND_TABLE[next.kind].hp;
    }
    st.slot[index] = next;
}

// The shot lands: every target it reaches is marked hit (the main target on an open spot).
bool land() {
    bool any = false;
    ++st.landings;
    for (s32 i = 0; i < st.slot_count; ++i) {
        AimSlot& t = st.slot[i];
        if (t.kind < 0) continue;
        if (t.main) {
            const s32 spot = aim_open_spot_at(t, st.shot.x, st.shot.y);
            if (spot < 0) continue;
            st.spot_hit[spot] = true;
        } else if (!aim_target_hit_by(t, st.shot.x, st.shot.y)) {
            continue;
        }
        t.hit = true;
        any = true;
    }
    return any;
}

void kill(AimSlot& t) {
    const AimKind& k = kind_of(t);
    t.life = 0;
    st.score += k.points;
    growth_pool(AIM_ATTR) += k.points / 2;
    grow(AIM_ATTR);
    growth_pool(AIM_SKILL) += player_record.area == AREA_HUB ? k.points * 4 : k.points;
    grow(AIM_SKILL);
    if (t.kind == AIM_BOARD && !t.main) st.score += (3 - st.stage) * 2;
    ++st.kills[t.kind];
}

void take_hit(s32 index) {
    AimSlot& t = st.slot[index];
    mssw_play_sound(SND_HIT, 1);
    mssw_play_sound(SND_HIT_KIND + t.kind, 1);
    const s32 damage = aim_shot_damage();
    t.hp -= damage;
    if (t.main) st.main_hp -= damage;
    if (st.duel) {
        growth_pool(AIM_SKILL) += player_record.area == AREA_HUB ? 10 : 3;
        grow(AIM_SKILL);
    }
    bool leaves = false;
    if (t.hp < 1) {
        kill(t);
        leaves = true;
    } else if (t.main && st.spot_hit[0] && st.spot_hit[1] && st.spot_hit[2]) {
        t.life = 0;
        st.main_slot = -1;
        leaves = true;
    }
    if (leaves) animate(index, false);
}

void escape(s32 index) {
    AimSlot& t = st.slot[index];
    const AimKind& k = kind_of(t);
    if (!st.duel) {
        if (k.escape_sound >= 0) mssw_play_sound(k.escape_sound, 1);
        mssw_play_sound(SND_ESCAPE, 1);
    }
    if (t.main) st.main_slot = -1;
    st.penalty += k.penalty;
    animate(index, true);
}

void run_slot(s32 index) {
    AimSlot& t = st.slot[index];
    const bool was_hit = t.hit;
    t.hit = false;
    if (was_hit) take_hit(index);
    if (t.life <= 0) {
        if (t.kind == AIM_BOARD && !t.main && !was_hit && st.stage < 3) {
            ++st.stage;
            t.life = life_of(AIM_BOARD);
        } else {
            if (t.kind >= 2 && !was_hit) escape(index);
            new_target(index);
        }
    }
    draw_target(t);
    --t.life;
}

void fire(s32 x, s32 y) {
    if (!st.duel) mssw_play_sound(SND_SHOT, 1);
    st.arrows = st.duel ? std::max(0, st.arrows - 1) : st.arrows - 1;
    inv_remove(AIM_AMMO, 1);
    st.shot = {aim_flight_frames(y), 0, x, y, aim_flight_step(y)};
    ++st.shots;
}

// ---- The game -----------------------------------------------------------------------------------

void choose_tool() {
    st.phase = AimPhase::Choosing;
    while (st.tool < 0) {
        draw_image(0, 0, IMG_OVERLAY, 0);
        draw_image(AIM_FIELD_BOX.x0, AIM_FIELD_BOX.y0, IMG_FIELD, 0);
        frame_player_portrait(false);
        draw_image(78, 155, IMG_CHOOSER, 0);
        frame_draw_quit(); // drawn only: the tool choice has no way out but a tool
        text_colour(0, 0, 0);
        print_text_seen(88, 340, TXT_CHOOSE);
        text_size(16);
        text_style(1);
        for (s32 i = 0; i < st.tool_count; ++i) {
            const FrameBox b = tool_box(i);
            if (frame_box_has(b, pointer_x, pointer_y))
                text_colour(31, 3, 0);
            else
                text_colour(0, 0, 0);
            print_text_vertical_seen(b.x0, b.y0, TXT_TOOL_NAME + st.tools[i]);
        }
        text_size(24);
        screen_present();
        s32 x = 0, y = 0;
        if (!frame_take_click(&x, &y)) continue;
        for (s32 i = 0; i < st.tool_count; ++i)
            if (frame_box_has(tool_box(i), x, y)) st.tool = st.tools[i];
    }
}

void play_frame() {
    timer1_start();
    st.secs = s32(timer0_elapsed() / 1000) + (st.duel ? st.penalty / 2 : st.penalty);
    draw_image(AIM_FIELD_BOX.x0, AIM_FIELD_BOX.y0, IMG_FIELD, 0);

    s32 x = 0, y = 0;
    if (frame_take_click(&x, &y)) {
        if (!st.duel && frame_box_has(QUIT_BOX, x, y))
            st.end = AIM_END_QUIT;
        else if (st.shot.frames_left == 0 && frame_box_has(AIM_FIELD_BOX, x, y))
            fire(x, y);
    }
    const bool hit = st.shot.frames_left == 1 && land();
    for (s32 i = 0; i < st.slot_count; ++i) run_slot(i);
    if (st.shot.frames_left > 0) {
        if (!hit) draw_shot_flying();
        --st.shot.frames_left;
        ++st.shot.frame;
        mouse_buttons = 0; // clicks during a flight are dropped
    }
    draw_image(0, 0, IMG_OVERLAY, 0);
    draw_panel();
    comment_tick(Moment::Play, -1);
    draw_line(st.comment);
    screen_present();
    ++st.frames;

    st.unlocked = st.duel || (st.score >= st.unlock_score && main_kind_valid() &&
                              growth_value(AIM_SKILL) > st.unlock_skill);
    if (st.arrows < 1 || st.secs > AIM_SECONDS || (st.duel && st.main_hp < 1))
        if (st.end == AIM_RUNNING) st.end = AIM_END_PLAY;
    const u32 spent = timer1_elapsed();
    if (spent < u32(AIM_FRAME_MS)) wait_ms(u32(AIM_FRAME_MS) - spent);
}

s32 final_text() {
    if (st.duel) {
        if (st.main_hp < 1) return TXT_DUEL_WON;
        return st.arrows < 1 ? TXT_DUEL_AMMO : TXT_DUEL_TIME;
    }
    return st.end == AIM_END_QUIT || st.secs > AIM_SECONDS ? TXT_END_TIME : TXT_END_AMMO;
}

void final_screen() {
    st.phase = AimPhase::Final;
    cursor_select(CURSOR);
    st.final_text = final_text();
    draw_image(0, 0, IMG_OVERLAY, 0);
    draw_image(AIM_FIELD_BOX.x0, AIM_FIELD_BOX.y0, IMG_FIELD, 0);
    draw_panel();
    draw_line(st.final_text);
    FrameWait wait;
    wait.x = WAIT_X;
    wait.y = WAIT_Y;
    wait.end_buttons = 2;
    frame_click_wait(wait);
}

// Known list 18 gets the entry of each kind with kills (kinds 2 and 6 share one).
void learn_kinds() {
    struct Entry {
        s32 kills, id;
    };
    const Entry entries[6] = {{st.kills[0], 50},
                              {st.kills[1], 51},
                              {st.kills[5], 52},
                              {st.kills[4], 53},
                              {st.kills[2] + st.kills[6], 54},
                              {st.kills[3], 55}};
    for (const Entry& e : entries)
        if (e.kills > 0 && !known_has(AIM_KNOWN_LIST, e.id)) known_add(AIM_KNOWN_LIST, e.id);
}

void give_rewards() {
    s32 m = 1;
    if (st.score >= BONUS_SCORE) {
        growth_pool(AIM_ATTR) += BONUS_POOL;
        grow(AIM_ATTR);
        growth_pool(AIM_SKILL) += BONUS_POOL;
        grow(AIM_SKILL);
        m = 2;
    }
    const s32 skill = growth_value(AIM_SKILL);
    const s32 pairs = st.kills[2] + st.kills[6];
    inv_add(1860, st.kills[0] * m);
    inv_add(1231, st.kills[1] * m * skill / 250);
    inv_add(1862, pairs * m);
    inv_add(1880, pairs * m * skill / 200);
    inv_add(1864, st.kills[3] * m);
    inv_add(1881, st.kills[3] * m);
    inv_add(1863, st.kills[4] * m);
    inv_add(1861, st.kills[5] * m);
}

void stamina_spend(s32 n) {
    player_record.stamina = std::max(0, player_record.stamina - n);
}

// Sets up a game; false (nothing changed) when no tool or no ammunition is held, since the tool
// choice would have nothing to click and no way out, or for a duel without a main target kind.
bool begin(s32 mode, s32 coach, s32 slots, s32 main_kind, s32 unlock_skill, s32 unlock_score,
           bool duel) {
    st = AimState{};
    list_tools();
    const s32 arrows = ammo_held();
    if (st.tool_count == 0 || arrows < 1) return false;
    // The duel needs a main target: without one it would count as destroyed at once.
    if (duel && (main_kind < 0 || main_kind >= AIM_KINDS)) return false;
    st.mode = mode;
    st.coach = coach;
    st.slot_count = std::clamp(slots, 0, AIM_MAX_SLOTS);
    st.main_kind = main_kind;
    st.unlock_skill = unlock_skill;
    st.unlock_score = unlock_score;
    st.duel = duel;
    st.arrows = arrows;
    st.main_full_hp =
        main_kind_valid() ? (duel ? AIM_DUEL_MAIN_HP : AIM_KIND_TABLE[main_kind].hp) : 0;
    st.main_hp = st.main_full_hp;
    st.unlocked = duel;
    st.comment = TXT_FIRST_COMMENT;
    return true;
}

// Tool choice, the frames until the game ends and the final screen.
void run(FrameMusic& music) {
    frame_music_start(music, MUSIC_TRACK);
    text_reveal_limit = 0;
    cursor_select(CURSOR);
    text_size(24);
    choose_tool();
    st.phase = AimPhase::Playing;
    timer0_start();
    while (st.end == AIM_RUNNING) play_frame();
    final_screen();
}

} // namespace

s32 aim_flight_frames(s32 y) {
    if (y >= 284) return 2;
    if (y >= 220) return 3;
    if (y >= 135) return 4;
    return 5;
}

s32 aim_flight_step(s32 y) {
    const s32 rise = AIM_SHOT_BASE_Y - y;
    return rise / (aim_flight_frames(y) - 1);
}

s32 aim_shot_damage() {
    return 5 * (std::max(st.tool, 0) + 1) + growth_value(AIM_SKILL) / 5;
}

s32 aim_corner_x(const AimSlot& t) {
    return t.x - kind_of(t).anchor_x;
}

s32 aim_corner_y(const AimSlot& t) {
    return t.y - kind_of(t).anchor_y;
}

s32 aim_open_spot_at(const AimSlot& t, s32 x, s32 y) {
    if (t.kind < 0 || !t.main) return -1;
    for (s32 i = 0; i < AIM_SPOTS; ++i) {
        if (st.spot_hit[i]) continue;
        const s32 sx = aim_corner_x(t) + AIM_SPOT_X[st.spot[i]];
        const s32 sy = aim_corner_y(t) + AIM_SPOT_Y[st.spot[i]];
        if (frame_box_has({sx, sy, sx + AIM_SPOT_SIZE, sy + AIM_SPOT_SIZE}, x, y)) return i;
    }
    return -1;
}

bool aim_target_hit_by(const AimSlot& t, s32 x, s32 y) {
    if (t.kind < 0 || t.main) return false;
    if (t.kind == AIM_BOARD)
        return frame_box_has(AIM_BOARD_BOXES[std::clamp(st.stage, 1, 3) - 1], x, y);
    const AimKind& k = kind_of(t);
    return std::abs(x - t.x) <= k.half_w && std::abs(y - t.y) <= k.half_h;
}

void game_aim(s32 mode, s32 coach, s32 slots, s32 main_kind, s32 unlock_skill, s32 unlock_score) {
    if (!begin(mode, coach, slots, main_kind, unlock_skill, unlock_score, false)) return;
    FrameMusic music;
    run(music);
    give_rewards();
    stamina_spend(STAMINA_COST);
    frame_clock_spend();
    learn_kinds();
    player_record.turn_done = st.score;
    frame_music_restore(music);
    cursor_select(0);
    st.phase = AimPhase::Done;
}

void game_aim_framed() {
    aim_state = AimState{};
    aim_state.phase = AimPhase::Instructions;
    frame_enter(0, true);
    text_size(24);
    text_colour(0, 0, 0);
    draw_image(AIM_FIELD_BOX.x0, AIM_FIELD_BOX.y0, IMG_FIELD, 0);
    for (s32 i = 0; i < INSTRUCTION_PAGES; ++i) {
        aim_state.page = i;
        draw_image(0, 0, IMG_OVERLAY, 0);
        draw_image(PORTRAIT_X, PORTRAIT_Y, IMG_COACH_PAGES, 0);
        print_text_seen(BOTTOM_LINE_X, BOTTOM_LINE_Y, TXT_PAGES + i);
        FrameWait wait;
        wait.x = WAIT_X;
        wait.y = WAIT_Y;
        frame_click_wait(wait);
    }
    game_aim(0, 250, 2, 3, 30, 150);
}

s32 game_aim_target(s32 /*mode*/, s32 coach, s32 /*slots*/, s32 main_kind, s32 /*a5*/, s32 /*a6*/) {
    if (!begin(AIM_DUEL_MODE, coach, 1, main_kind, 0, 0, true)) return 0;
    FrameMusic music;
    run(music);
    stamina_spend(DUEL_STAMINA_COST);
    frame_clock_spend();
    learn_kinds();
    frame_music_restore(music);
    st.phase = AimPhase::Done;
    return st.main_hp < 1 ? 1 : 0;
}
