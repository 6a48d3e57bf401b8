#include "scripts/home/couple_guests.h"

#include "engine/kanji_print.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "game/clock.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/games.h"

#include <array>

namespace {

using namespace cell;

// ---- The couple of map 10 --------------------------------------------------------------------

constexpr TurnFrames HUSBAND_TURN{2600, 2600, 2600, 2600};
constexpr TurnFrames WIFE_TURN{2744, 2744, 2744, 2744};
constexpr IdleCycle HUSBAND_IDLE{
    .rearm = COUPLE_REARM, .start = 2600, .limit = 2644, .step = 2, .pause = 20};
constexpr IdleCycle WIFE_IDLE{
    .rearm = COUPLE_REARM, .start = 2744, .limit = 2788, .step = 2, .pause = 20};

constexpr s32 HUSBAND = 180;
constexpr s32 WIFE = 179;
constexpr s32 CONTEST_MASTER_OBJ = 26;
constexpr s32 SOCIAL_APTITUDE_MEETS = 60; // above this the husband tells his story
constexpr s32 ERRAND_AFFECTION = 65;      // the husband's affection that opens the errand talk
constexpr s32 WIFE_FIRST_AFFECTION = 50;
constexpr s32 ERRAND_FLAG = 14;
constexpr s32 VISIT_FLAG = 63;
constexpr s32 ERRAND_DONE_FLAG = 74;

constexpr Speaker HUSBAND_VOICE = person(1180_img); // in his own talk, at the mirror of pos
constexpr Speaker WIFE_VOICE = person(1179_img);    // in her own talk, at the mirror of pos

bool socially_apt() {
    return player_record.social_aptitude > SOCIAL_APTITUDE_MEETS;
}

bool errand_talk_open() {
    return player_record.affection[HUSBAND] >= ERRAND_AFFECTION ||
           player_record.story_flags[ERRAND_FLAG] == 1;
}

constexpr Cell HUSBAND_TALK[] = {
    stage(0),
    when(test(socially_apt)),
    P(10954_t),
    line(HUSBAND_VOICE, 10955_t),
    P(10956_t),
    line(HUSBAND_VOICE, 10957_t),
    meet(PersonId(HUSBAND), 60),
    otherwise(),
    line(HUSBAND_VOICE, 10036_t),
    end(),
    to(1),
    stage(1),
    when(test(socially_apt)),
    P(10954_t),
    P(10958_t),
    line(HUSBAND_VOICE, 10959_t),
    otherwise(),
    line(HUSBAND_VOICE, 10036_t),
    end(),
    stage(2),
    when(test(errand_talk_open)),
    run(13720_t, 13725_t, PLAYER, HUSBAND_VOICE),
    when(flag_is(FlagId(ERRAND_FLAG), 1)),
    P(13726_t),
    line(HUSBAND_VOICE, 13727_t),
    when(test(couple_errand_ready)),
    P(13730_t),
    line(HUSBAND_VOICE, 13731_t),
    to(3),
    take(ItemId(ERRAND_ITEMS[0]), 1),
    take(ItemId(ERRAND_ITEMS[1]), 1),
    take(ItemId(ERRAND_ITEMS[2]), 1),
    otherwise(),
    P(13728_t),
    to(4),
    end(),
    end(),
    otherwise(),
    P(13732_t),
    line(HUSBAND_VOICE, 13733_t),
    P(13734_t),
    to(5),
    end(),
    stage(3),
    line(HUSBAND_VOICE, 13747_t),
    stage(4),
    line(HUSBAND_VOICE, 13729_t),
    stage(5),
    line(HUSBAND_VOICE, 13733_t),
    stage(6),
    line(HUSBAND_VOICE, 13744_t),
    stage(7),
    when(flag_is(FlagId(VISIT_FLAG), 1)),
    run(26450_t, 26459_t, HUSBAND_VOICE, PLAYER),
    line(HUSBAND_VOICE, 26460_t),
    to(8),
    // The invitation to the contest hall: its master leaves its first stage.
    when(stage_of(ObjId(CONTEST_MASTER_OBJ), 0, 0)),
    obj_to(ObjId(CONTEST_MASTER_OBJ), 1),
    end(),
    otherwise(),
    line(HUSBAND_VOICE, 26461_t),
    to(9),
    end(),
    stage(8),
    line(HUSBAND_VOICE, 26458_t),
    P(26459_t),
    line(HUSBAND_VOICE, 26460_t),
    stage(9),
    line(HUSBAND_VOICE, 26461_t),
};
static_assert(cells_valid(HUSBAND_TALK));
constexpr TalkRow HUSBAND_ROW{.frames = HUSBAND_TURN,
                              .keep_frame = false,
                              .cells = HUSBAND_TALK,
                              .first_turn = COUPLE_WIFE_OBJ,
                              .first_turn_frames = WIFE_TURN};

// The wife's talk: her own boxes at the mirror of pos, her husband's where
// `couple_husband_box` puts them. The turn of her last click, for the first meeting.
TalkTurn wife_turn{};

// The first meeting: who says each of the texts 10003..10028.
enum MeetingVoice : s32 { MEET_PLAYER = 0, MEET_WIFE = 1, MEET_HUSBAND = 2 };
constexpr s32 MEETING_FIRST = 10003;
constexpr std::array<s32, 26> MEETING_VOICES{
    MEET_PLAYER, MEET_WIFE,    MEET_PLAYER,  MEET_WIFE,    MEET_PLAYER, MEET_WIFE, MEET_PLAYER,
    MEET_WIFE,   MEET_PLAYER,  MEET_HUSBAND, MEET_WIFE,    MEET_PLAYER, MEET_WIFE, MEET_PLAYER,
    MEET_WIFE,   MEET_HUSBAND, MEET_WIFE,    MEET_HUSBAND, MEET_PLAYER, MEET_WIFE, MEET_PLAYER,
    MEET_WIFE,   MEET_PLAYER,  MEET_WIFE,    MEET_PLAYER,  MEET_WIFE,
};
constexpr std::array<DialogueLine, MEETING_VOICES.size()> meeting_lines() {
    std::array<DialogueLine, MEETING_VOICES.size()> out{};
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = DialogueLine{MEETING_VOICES[i], MEETING_FIRST + s32(i)};
    return out;
}
constexpr auto MEETING_LINES = meeting_lines();

// The replies after the hand game, by its result (won minus lost hands); the same pairs are the
// wife's later stages 1-4.
constexpr Cell WON_CLEARLY[] = {run(635_t, 640_t, WIFE_VOICE, PLAYER), to(1)};
constexpr Cell WON_BARELY[] = {line(WIFE_VOICE, 641_t), P(640_t), to(2)};
constexpr Cell LOST_BARELY[] = {line(WIFE_VOICE, 644_t), P(640_t), to(4)};
constexpr Cell LOST_CLEARLY[] = {line(WIFE_VOICE, 642_t), P(643_t), to(3)};
static_assert(cells_valid(WON_CLEARLY) && cells_valid(WON_BARELY) && cells_valid(LOST_BARELY) &&
              cells_valid(LOST_CLEARLY));
struct HandsReply {
    s32 lo, hi;
    std::span<const Cell> cells;
};
constexpr HandsReply HANDS_REPLIES[] = {
    {2, 3, WON_CLEARLY},
    {1, 1, WON_BARELY},
    {-1, -1, LOST_BARELY},
    {-3, -2, LOST_CLEARLY},
};

void first_meeting() {
    const TalkContext ctx{COUPLE_WIFE_OBJ, wife_turn, COUPLE_HUSBAND_OBJ};
    const std::array<Speaker, 3> voices{
        player_at(wife_turn.pos),
        person_at(1179_img, wife_turn.other),
        person_at(1180_img, couple_husband_box(wife_turn.pos)),
    };
    const Dialogue meeting{voices, MEETING_LINES, {}};
    const Cell said = dialogue(&meeting);
    cells_run({&said, 1}, ctx);
    player_record.affection[WIFE] = WIFE_FIRST_AFFECTION;
    const s32 result = game_call({GAME_HANDS});
    scene_render();
    text_size(24);
    text_style(2);
    text_colour(0, 0, 0);
    for (const HandsReply& r : HANDS_REPLIES)
        if (result >= r.lo && result <= r.hi) {
            cells_run(r.cells, ctx);
            break;
        }
}

void fade() {
    fade_pause();
}

// The errand's end, told by the wife: both persons reach stage 6.
constexpr Speaker ERRAND_VOICES[] = {PLAYER, WIFE_VOICE, person_at(1180_img, 0)};
constexpr DialogueLine ERRAND_LINES[] = {
    {0, 13737}, {1, 13738}, {0, 13739}, {1, 13740}, {1, 13741}, {2, 13742}, {0, 13743},
};
constexpr Cell ERRAND_FADE[] = {call(fade)};
constexpr Cell ERRAND_DONE[] = {
    set_flag(FlagId(ERRAND_DONE_FLAG), 1), to(6),
    obj_to(ObjId(COUPLE_HUSBAND_OBJ), 6),  take(ItemId(ERRAND_ITEMS[0]), 1),
    take(ItemId(ERRAND_ITEMS[1]), 1),      take(ItemId(ERRAND_ITEMS[2]), 1),
};
constexpr DialogueAction ERRAND_ACTIONS[] = {{1, ERRAND_FADE}, {6, ERRAND_DONE}};
constexpr Dialogue ERRAND_END{ERRAND_VOICES, ERRAND_LINES, ERRAND_ACTIONS};
static_assert(dialogue_valid(ERRAND_END));

constexpr Cell WIFE_TALK[] = {
    stage(0),
    call(first_meeting),
    stage(1),
    line(WIFE_VOICE, 639_t),
    P(640_t),
    stage(2),
    line(WIFE_VOICE, 641_t),
    P(640_t),
    stage(3),
    line(WIFE_VOICE, 642_t),
    P(643_t),
    stage(4),
    line(WIFE_VOICE, 644_t),
    P(640_t),
    stage(5),
    when(flag_is(FlagId(ERRAND_FLAG), 1)),
    when(test(couple_errand_ready)),
    dialogue(&ERRAND_END),
    otherwise(),
    P(13735_t),
    line(WIFE_VOICE, 13736_t),
    to(7),
    end(),
    otherwise(),
    P(13745_t),
    line(WIFE_VOICE, 13746_t),
    to(8),
    end(),
    stage(6),
    line(WIFE_VOICE, 13741_t),
    stage(7),
    when(test(couple_errand_ready)),
    dialogue(&ERRAND_END),
    otherwise(),
    line(WIFE_VOICE, 13746_t),
    end(),
    stage(8),
    line(WIFE_VOICE, 13746_t),
    stage(9),
    when(flag_is(FlagId(VISIT_FLAG), 1)),
    line(WIFE_VOICE, 26462_t),
    otherwise(),
    P(26463_t),
    run(26464_t, 26467_t, WIFE_VOICE, PLAYER),
    to(10),
    // The invitation to the contest hall.
    when(stage_of(ObjId(CONTEST_MASTER_OBJ), 0, 0)),
    obj_to(ObjId(CONTEST_MASTER_OBJ), 1),
    end(),
    end(),
    stage(10),
    line(WIFE_VOICE, 26468_t),
};
static_assert(cells_valid(WIFE_TALK));

// ---- The guest house of map 24 ---------------------------------------------------------------

constexpr s32 POSE_LYING = 46;
constexpr s32 POSE_WOKEN = 48;
constexpr s32 PLAYER_LYING = 2966;
// The woken player in two frames: guests 17 and 18 show the first, the others the second.
constexpr s32 PLAYER_WOKEN_A = 2982;
constexpr s32 PLAYER_WOKEN_B = 2983;
constexpr s32 GUEST_REARM = 8;
constexpr s32 GUEST_PAUSE = 10;

constexpr IdleCycle guest_idle(s32 first, s32 last) {
    return IdleCycle{
        .rearm = GUEST_REARM, .start = first, .limit = last, .step = 1, .pause = GUEST_PAUSE};
}
// While the player lies or has been woken, the player does not turn but shows its pose frame; self
// shows `self_frame` and the player's box goes to position 2 (with `faces`, self turns toward the
// player instead and the boxes follow that turn).
constexpr std::array<PosedTalk, POSED_TALKS> guest_poses(s32 self_frame, s32 woken_player,
                                                         bool faces = false) {
    return {PosedTalk{.slot = POSE_LYING,
                      .self_frame = self_frame,
                      .player_frame = PLAYER_LYING,
                      .pos = 2,
                      .faces = faces},
            PosedTalk{.slot = POSE_WOKEN,
                      .self_frame = self_frame,
                      .player_frame = woken_player,
                      .pos = 2,
                      .faces = faces},
            PosedTalk{}};
}

constexpr Cell GUEST_A_TALK[] = {
    stage(0),
    S(20004_t),
    stage(1),
    S(20099_t),
};
static_assert(cells_valid(GUEST_A_TALK));
constexpr Resident GUEST_A{.idle_on = true,
                           .idle = guest_idle(2188, 2196),
                           .talk = {.frames = {2299, 2298, 2298, 2297},
                                    .cells = GUEST_A_TALK,
                                    .poses = guest_poses(2297, PLAYER_WOKEN_A)}};

constexpr Cell GUEST_B_TALK[] = {
    stage(0),
    S(20002_t),
    stage(1),
    S(20099_t),
};
static_assert(cells_valid(GUEST_B_TALK));
constexpr Resident GUEST_B{.idle_on = true,
                           .idle = guest_idle(2179, 2187),
                           .talk = {.frames = {2295, 2296, 2294, 2296},
                                    .cells = GUEST_B_TALK,
                                    .poses = guest_poses(2296, PLAYER_WOKEN_A)}};

// The host (person 81) turns toward the player without turning it, whatever the player does.
constexpr TurnFrames HOST_TURN{2289, 2289, 2289, 2289};
constexpr IdleCycle HOST_IDLE = guest_idle(2251, 2259);
constexpr Cell HOST_TALK[] = {
    stage(0),
    N(1081_img, 20000_t),
    P(20001_t),
    stage(1),
    P(3, 20068_t),
    N(1081_img, 0, 20069_t),
    P(3, 20070_t),
    N(1081_img, 0, 20071_t),
    P(3, 20072_t),
    frame_of(ObjId(GUEST_B_OBJ), 2296_f),
    B(ObjId(GUEST_B_OBJ), 20073_t),
    obj_to(ObjId(GUEST_B_OBJ), 1),
    obj_to(ObjId(GUEST_A_OBJ), 1),
    meet(81_person, 45),
    to(2),
    stage(2),
    N(1081_img, 20098_t),
};
static_assert(cells_valid(HOST_TALK));

constexpr Cell GUEST_C_TALK[] = {
    stage(0),
    S(20007_t),
    stage(1),
    S(20097_t),
};
static_assert(cells_valid(GUEST_C_TALK));
constexpr Resident GUEST_C{.idle_on = true,
                           .idle = guest_idle(2260, 2271),
                           .talk = {.frames = {2292, 2293, 2292, 2292},
                                    .cells = GUEST_C_TALK,
                                    .poses = guest_poses(2292, PLAYER_WOKEN_B)}};

constexpr Cell GUEST_33_TALK[] = {
    stage(0),
    N(1033_img, 20006_t),
    stage(1),
    P(2, 20074_t),
    N(1033_img, 1, 20075_t),
    obj_to(ObjId(GUEST_C_OBJ), 1),
    choice_at(2, 1000_img, 20076_t, 20077_t),
    option(0),
    run(20078_t, 20088_t, player_at(2), person_at(1033_img, 1)),
    to(2),
    meet(33_person, 55),
    meet(81_person, 40),
    affection(81_person, -5),
    option(1),
    P(2, 20090_t),
    frame_of(ObjId(GUEST_C_OBJ), 2292_f),
    B(ObjId(GUEST_C_OBJ), 20091_t),
    N(1033_img, 1, 20092_t),
    P(2, 20093_t),
    to(3),
    meet(33_person, 40),
    when(acquainted(81_person)),
    affection(81_person, 5),
    otherwise(),
    meet(81_person, 50),
    end(),
    end(),
    stage(2),
    N(1033_img, 20089_t),
    stage(3),
    N(1033_img, 20094_t),
};
static_assert(cells_valid(GUEST_33_TALK));
// Person 33 turns toward the player in every case; only a free player turns as well.
constexpr Resident GUEST_33{.idle_on = true,
                            .idle = guest_idle(2272, 2284),
                            .talk = {.frames = {2290, 2291, 2290, 2290},
                                     .cells = GUEST_33_TALK,
                                     .poses = guest_poses(0, PLAYER_WOKEN_B, true)}};

void open_passage() {
    if (script_obj_valid(ROOM_PASSAGE_OBJ)) attr_set(ROOM_PASSAGE_OBJ, ATTR_BLOCK, 0);
}

constexpr Cell ROOM_KEEPER_TALK[] = {
    stage(0),
    S(20008_t),
    menu(20009_t, 20010_t),
    option(0),
    S(20034_t),
    to(2),
    hide(ObjId(ROOM_SIGHT_OBJ)),
    call(open_passage),
    option(1),
    S(20037_t),
    end(),
    stage(1),
    S(20060_t),
    P(20061_t),
    stage(2),
    S(20035_t),
    stage(3),
    S(20059_t),
};
static_assert(cells_valid(ROOM_KEEPER_TALK));
constexpr Resident ROOM_KEEPER{.idle_on = true,
                               .idle = guest_idle(2234, 2250),
                               .talk = {.frames = {2285, 2285, 2285, 2285},
                                        .cells = ROOM_KEEPER_TALK,
                                        .poses = guest_poses(2285, PLAYER_WOKEN_B)}};

} // namespace

// ---- Shared rules ----------------------------------------------------------------------------

bool couple_errand_ready() {
    for (const s32 item : ERRAND_ITEMS)
        if (inv_has(item) == 0) return false;
    return player_record.skill[ERRAND_SKILL] >= ERRAND_SKILL_LEVEL;
}

s32 couple_husband_box(s32 pos) {
    constexpr s32 BOX[] = {2, 3, 0, 1, 0};
    return pos >= 0 && pos < s32(std::size(BOX)) ? BOX[pos] : 0;
}

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0012() {
    if (script_on(TRIG_TIMER)) idle_cycle(HUSBAND_IDLE);
    if (script_on(TRIG_CLICK)) talk_run(HUSBAND_ROW);
}

void object_event_0013() {
    if (script_on(TRIG_TIMER)) idle_cycle(WIFE_IDLE);
    if (!script_on(TRIG_CLICK)) return;
    for (const s32 obj : {COUPLE_HUSBAND_OBJ, COUPLE_WIFE_OBJ})
        attr_set(obj, ATTR_TIMER, COUPLE_REARM);
    // The player turns to her, then her husband and she turn to the player.
    player_turn_toward(COUPLE_WIFE_OBJ);
    face_player(COUPLE_HUSBAND_OBJ, HUSBAND_TURN);
    wife_turn = face_player(COUPLE_WIFE_OBJ, WIFE_TURN);
    cells_run_stage(WIFE_TALK, TalkContext{COUPLE_WIFE_OBJ, wife_turn, COUPLE_HUSBAND_OBJ});
}

void object_event_0015() {
    resident_run(GUEST_A);
}

void object_event_0016() {
    resident_run(GUEST_B);
}

void object_event_0017() {
    if (script_on(TRIG_TIMER)) idle_cycle(HOST_IDLE);
    if (!script_on(TRIG_CLICK)) return;
    const s32 self = script_self();
    const s32 kept = frame_keep(self);
    const TalkTurn turn = face_player(self, HOST_TURN);
    cells_run_stage(HOST_TALK, TalkContext{self, turn, -1});
    frame_restore(self, kept);
}

void object_event_0018() {
    resident_run(GUEST_C);
}

void object_event_0019() {
    resident_run(GUEST_33);
}

void object_event_0025() {
    resident_run(ROOM_KEEPER);
}

// ---- Frames ---------------------------------------------------------------------------------

void couple_guests_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    for (const IdleCycle& c : {HUSBAND_IDLE, WIFE_IDLE, GUEST_A.idle, GUEST_B.idle, HOST_IDLE,
                               GUEST_C.idle, GUEST_33.idle, ROOM_KEEPER.idle})
        for (s32 frame = c.start; frame <= c.limit; frame += c.step) visit(frame, ctx);
    for (const TalkRow* row :
         {&GUEST_A.talk, &GUEST_B.talk, &GUEST_C.talk, &GUEST_33.talk, &ROOM_KEEPER.talk}) {
        for (const s32 frame : {row->frames.f0, row->frames.f1, row->frames.f2, row->frames.f3})
            visit(frame, ctx);
        for (const PosedTalk& p : row->poses)
            for (const s32 frame : {p.self_frame, p.player_frame})
                if (frame != 0) visit(frame, ctx);
    }
    visit(HOST_TURN.f0, ctx);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {12, object_event_0012}, {13, object_event_0013}, {15, object_event_0015},
    {16, object_event_0016}, {17, object_event_0017}, {18, object_event_0018},
    {19, object_event_0019}, {25, object_event_0025},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{12, 13}, {15, 19}, {25, 25}};
} // namespace

std::span<const ScriptSlot> home_couple_guests_slots() {
    return SLOTS;
}

ScriptRegion home_couple_guests_region() {
    return {
        .owner = HOME_COUPLE_GUESTS_OWNER, .slots = home_couple_guests_slots, .complete = COMPLETE};
}
