// The battle's animation tracks on a small library of our own: the sync, the hit blink of an
// attack with and without a link frame, the guard, dodge and counter displays, the special
// strikes' blink, facing, and the dodge search with nowhere to go.
#include "battle/battle_anim.h"

#include "battle/battle_attack.h"
#include "tests/battle_screen_fixture.h"

#include <map>

namespace {

// ---- A small library ----------------------------------------------------------------------------
struct Frame {
    u16 link = 0;
    u32 image = 0;
};
using Anim = std::vector<Frame>;

void put16(std::vector<u8>& out, u32 v) {
    out.push_back(u8(v));
    out.push_back(u8(v >> 8));
}

void install(const std::map<s32, Anim>& slots) {
    std::vector<u8> bytes;
    std::vector<u32> offsets(ANIM_SLOTS + 1, 0);
    for (s32 s = 0; s < ANIM_SLOTS; ++s) {
        offsets[s] = u32(bytes.size());
        const auto it = slots.find(s);
        if (it == slots.end()) continue;
        bytes.push_back(u8(it->second.size()));
        for (const Frame& f : it->second) {
            put16(bytes, 0);
            put16(bytes, 0);
            put16(bytes, f.link);
            put16(bytes, 1); // one body part at the track's point
            put16(bytes, 0);
            put16(bytes, 0);
            put16(bytes, f.image & 0xFFFF);
            put16(bytes, f.image >> 16);
        }
    }
    offsets[ANIM_SLOTS] = u32(bytes.size());
    anim_install(bytes.data(), u32(bytes.size()), offsets.data());
}

// n frames of images base + i; frame link_at (if any) starts overlay `link`.
Anim frames(s32 n, u32 base, s32 link_at = -1, u16 link = 0) {
    Anim a;
    a.resize(size_t(n));
    for (s32 i = 0; i < n; ++i) a[size_t(i)] = {u16(i == link_at ? link : 0), base + u32(i)};
    return a;
}
Anim still(s32 n, u32 image) {
    Anim a;
    a.resize(size_t(n));
    for (Frame& f : a) f.image = image;
    return a;
}

// Arts of the fixture and the images their animations show.
enum : s32 { ART_LINKED = 1, ART_UNLINKED = 2, ART_TARGET = 3, ART_HERO = 4 };
constexpr u32 IMG_LINKED = 600, IMG_UNLINKED = 620, IMG_TARGET = 800, IMG_HERO = 900;
constexpr s32 LINK_AT = 3;

class BattleAnimTest : public BattleScreenTest {
  protected:
    void SetUp() override {
        BattleScreenTest::SetUp();
        install({{10, frames(6, IMG_LINKED, LINK_AT, 20)},
                 {11, frames(6, IMG_UNLINKED)},
                 {20, frames(4, 700)},
                 {30, still(30, IMG_TARGET)},
                 {31, still(30, IMG_HERO)}});
        const std::pair<s32, s32> arts[] = {
            {ART_LINKED, 10}, {ART_UNLINKED, 11}, {ART_TARGET, 30}, {ART_HERO, 31}};
        for (auto [art, anim] : arts)
            for (s32& a : arts_table[art].anim) a = anim;
    }

    // The groups in which the attacker (images base..base+5) is drawn past its standing frame
    // and nothing is printed: the steps of the attack.
    static std::vector<const DrawGroup*> steps(u32 base) {
        std::vector<const DrawGroup*> out;
        for (const DrawGroup& g : groups()) {
            if (printed(g)) continue;
            for (const DrawRec& r : g)
                if (r.kind == TRANSCRIPT_DRAW && r.id >= s32(base + 2) && r.id <= s32(base + 5)) {
                    out.push_back(&g);
                    break;
                }
        }
        return out;
    }
    static const DrawRec* last(const DrawGroup& g, u32 image) {
        const DrawRec* found = nullptr;
        for (const DrawRec& r : g)
            if (r.kind == TRANSCRIPT_DRAW && r.id == s32(image)) found = &r;
        return found;
    }
    static s32 shown_frame(const DrawGroup& g, u32 base) {
        for (const DrawRec& r : g)
            if (r.kind == TRANSCRIPT_DRAW && r.id >= s32(base) && r.id <= s32(base + 5))
                return r.id - s32(base);
        return -1;
    }
    static bool dimmed(const DrawRec* r) { return r && (r->flags & ANIM_FLAGS_DIM) != 0; }
};

TEST_F(BattleAnimTest, SyncTurnsEmptySlotsOffAndCopiesFacingStunAndHitPoints) {
    anim_track_anim[5] = 30; // a stale track with a frame set
    anim_track_frame[5] = 3;
    BattleSlot& s = place(6, 40, 3, 2, ART_TARGET, FACE_COL11);
    s.stunned = 2;
    s.hit_x[1] = 111;
    s.hit_y[1] = 222;
    place(7, 41, 6, 2, ART_TARGET, FACE_ROW11);
    battle_sync_anim();

    EXPECT_EQ(anim_track_anim[5], -1);
    EXPECT_EQ(anim_track_anim[6], 30);
    EXPECT_EQ(anim_track_x[6], cell_x(3, 2));
    EXPECT_EQ(anim_track_y[6], cell_y(3, 2));
    EXPECT_EQ(anim_track_mirror[6], 1); // facings 1 and 2 are mirrored
    EXPECT_EQ(anim_track_mirror[7], 0);
    EXPECT_EQ(anim_track_dim[6], 1);
    EXPECT_EQ(anim_track_dim[7], 0);
    EXPECT_EQ(anim_track_hit_x[6][1], 111);
    EXPECT_EQ(anim_track_hit_y[6][1], 222);
    EXPECT_EQ(anim_track_hit_x[6][0], -1);

    anim_play();
    EXPECT_EQ(all(TRANSCRIPT_DRAW, IMG_TARGET).size(), 2u); // tracks 6 and 7, never track 5
}

TEST_F(BattleAnimTest, HitBlinkStartsAtTheLinkFrameOrFromTheFirstStepAndStunKeepsTheDim) {
    struct Case {
        s32 art;
        u32 base;
        s32 stunned;
        std::vector<s32> frames; // attacker frame shown per step
        std::vector<s32> dims;   // target dimmed per step
    };
    const Case cases[] = {
        {ART_LINKED, IMG_LINKED, 0, {2, 3, 4, 5, 5, 5}, {0, 1, 0, 1, 0, 1}},
        {ART_UNLINKED, IMG_UNLINKED, 0, {2, 3, 4, 5, 5}, {1, 0, 1, 0, 1}},
        {ART_LINKED, IMG_LINKED, 3, {2, 3, 4, 5, 5, 5}, {1, 1, 0, 1, 0, 1}}, // dim while stunned
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.art * 10 + c.stunned);
        for (BattleSlot& s : battle_slots) empty_slot(s);
        clear_records();
        BattleSlot& a = place(6, 40, 5, 2, c.art, FACE_ROW11);
        BattleSlot& t = place(1, 12, 5, 6, ART_TARGET);
        t.stunned = c.stunned;
        place(2, 13, 8, 8, ART_HERO); // a bystander on an unmarked cell
        a.hit_x[0] = t.x;
        a.hit_y[0] = t.y;
        battle_marks[6][5] = 2;
        battle_marks[8][8] = -1;

        battle_anim_attack(6);

        const auto st = steps(c.base);
        ASSERT_EQ(st.size(), c.frames.size());
        for (size_t k = 0; k < st.size(); ++k) {
            EXPECT_EQ(shown_frame(*st[k], c.base), c.frames[k]) << k;
            EXPECT_EQ(dimmed(last(*st[k], IMG_TARGET)), c.dims[k] != 0) << k;
            EXPECT_FALSE(dimmed(last(*st[k], IMG_HERO))) << k;
        }
        // The closing frame: the attacker stands again, the target shows its stun state.
        const DrawGroup& end = groups()[groups().size() - 2];
        EXPECT_EQ(shown_frame(end, c.base), 1);
        EXPECT_EQ(dimmed(last(end, IMG_TARGET)), c.stunned > 0);
        EXPECT_EQ(anim_track_frame[6], 1);
        battle_marks[6][5] = -1;
    }
}

TEST_F(BattleAnimTest, DodgeDrawsTheProtagonistOnTheDodgeCellAndBackOnItsCellAfter) {
    BattleSlot& me = place(0, 0, 5, 5, ART_HERO);
    BattleSlot& a = place(6, 40, 5, 2, ART_LINKED, FACE_ROW11);
    a.hit_x[0] = me.x;
    a.hit_y[0] = me.y;
    battle_marks[5][5] = 1;
    battle_reaction = REACT_DODGE;

    battle_anim_attack(6);

    // The first free cell one step away that is not between the two: (4, 5), since (5, 4)
    // lies between the attacker's row 2 and the protagonist's row 5.
    const auto st = steps(IMG_LINKED);
    ASSERT_EQ(st.size(), 6u);
    for (const DrawGroup* g : st) {
        const DrawRec* hero = last(*g, IMG_HERO);
        ASSERT_NE(hero, nullptr);
        const bool landed = shown_frame(*g, IMG_LINKED) >= LINK_AT;
        EXPECT_EQ(hero->x, landed ? cell_x(4, 5) : me.x);
        EXPECT_EQ(hero->y, landed ? cell_y(4, 5) : me.y);
        EXPECT_FALSE(dimmed(hero)); // a reacting protagonist does not blink
    }
    EXPECT_EQ(all(TRANSCRIPT_PRINT, 996).size(), 15u);
    const DrawRec* after = last(groups()[groups().size() - 2], IMG_HERO);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->x, me.x);
    EXPECT_EQ(after->y, me.y);
    EXPECT_EQ(me.x, cell_x(5, 5)); // the slot never left its cell
    EXPECT_EQ(me.facing, FACE_ROW0);
}

TEST_F(BattleAnimTest, GuardShowsTheGuardPictureInPlaceOfTheProtagonist) {
    BattleSlot& me = place(0, 0, 5, 5, ART_HERO);
    BattleSlot& a = place(6, 40, 7, 5, ART_LINKED, FACE_COL0); // a higher column: facing 2
    a.hit_x[0] = me.x;
    a.hit_y[0] = me.y;
    battle_marks[5][5] = 1;
    battle_reaction = REACT_GUARD;

    battle_anim_attack(6);

    for (const DrawGroup* g : steps(IMG_LINKED)) {
        const bool landed = shown_frame(*g, IMG_LINKED) >= LINK_AT;
        EXPECT_EQ(last(*g, IMG_HERO) == nullptr, landed);
        EXPECT_EQ(count_in(*g, BATTLE_IMG_GUARD_B), landed ? 1 : 0);
    }
    const auto guards = all(TRANSCRIPT_DRAW, BATTLE_IMG_GUARD_B);
    ASSERT_FALSE(guards.empty());
    EXPECT_EQ(guards[0].x, me.x);
    EXPECT_EQ(guards[0].flags, 0x8000u); // facing 2 mirrors it
    EXPECT_EQ(all(TRANSCRIPT_PRINT, 995).size(), 15u);
    for (s32 i = 0; i < BATTLE_FLASH_FRAMES; ++i)
        EXPECT_EQ(all(TRANSCRIPT_DRAW, BATTLE_IMG_FLASH + i).size(), 1u) << i;
    EXPECT_EQ(anim_track_anim[0], 31); // shown again after the sequence
}

TEST_F(BattleAnimTest, CounterStrikesBackAndTheAttackersGaugeFallsACellEvery11Frames) {
    BattleSlot& me = place(0, 0, 5, 5, ART_LINKED);
    BattleSlot& a = place(6, 40, 5, 2, ART_TARGET, FACE_ROW11);
    a.hp = 80;
    a.hp_max = 100;
    a.poison = 20; // below 40 the falling gauge keeps plain cells
    a.hit_x[0] = me.x;
    a.hit_y[0] = me.y;
    BattleSlot& stunned = place(7, 41, 9, 2, ART_TARGET);
    stunned.stunned = 1;
    battle_marks[5][5] = 1;
    battle_reaction = REACT_COUNTER;
    battle_reaction_value = 100; // the attacker's hp before the blow

    battle_anim_counter(6);

    EXPECT_EQ(me.facing, FACE_ROW0); // the attacker stands at a lower x and y
    EXPECT_EQ(me.hit_x[0], a.x);
    EXPECT_EQ(me.hit_y[0], a.y);
    EXPECT_EQ(me.hit_x[1], -1);
    EXPECT_EQ(battle_marks[2][5], 2);
    EXPECT_EQ(battle_marks[5][5], -1);
    EXPECT_FALSE(steps(IMG_LINKED).empty()); // the protagonist's own blow played

    std::vector<s32> cells;
    for (const DrawGroup& g : groups())
        if (count_in(g, BATTLE_IMG_GAUGE_FRAME) == 1) cells.push_back(count_in(g, 25755));
    ASSERT_FALSE(cells.empty());
    EXPECT_EQ(cells.front(), 50);
    EXPECT_EQ(cells.back(), 40);
    EXPECT_EQ(cells.size(), 10u * 11 + 1);
    for (size_t k = 1; k < cells.size(); ++k) EXPECT_EQ(cells[k], 50 - s32(k / 11)) << k;
    EXPECT_EQ(anim_track_dim[7], 1);
}

TEST_F(BattleAnimTest, SpecialStrikeShowsItsTextAndBlinksTheTargetAfterTheLink) {
    // The blink starts the step after the protagonist's frame reached the link; a stunned
    // target is dim before it.
    const struct {
        s32 reaction, text;
        s32 dims[6];
    } kinds[] = {{REACT_POWER, 994, {0, 0, 1, 0, 1, 0}}, {REACT_STUN, 998, {1, 1, 1, 0, 1, 0}}};
    for (const auto& [reaction, text, dims] : kinds) {
        SCOPED_TRACE(reaction);
        clear_records();
        BattleSlot& me = place(0, 0, 5, 5, ART_LINKED, FACE_ROW11);
        me.ai_target = 6;
        place(6, 40, 5, 6, ART_TARGET).stunned = reaction == REACT_STUN ? 2 : 0;
        battle_reaction = reaction;

        battle_anim_special();

        EXPECT_EQ(all(TRANSCRIPT_PRINT, text).size(), 15u);
        const auto st = steps(IMG_LINKED);
        ASSERT_EQ(st.size(), 6u);
        for (size_t k = 0; k < st.size(); ++k)
            EXPECT_EQ(dimmed(last(*st[k], IMG_TARGET)), dims[k] != 0) << k;
        const DrawGroup& end = groups()[groups().size() - 2];
        EXPECT_EQ(dimmed(last(end, IMG_TARGET)), reaction == REACT_STUN);
    }
}

TEST_F(BattleAnimTest, FaceTowardTurnsTheProtagonistToEachSide) {
    place(0, 0, 5, 5, ART_HERO);
    const struct {
        s32 col, row, facing;
    } cases[] = {{5, 8, FACE_ROW11}, {2, 5, FACE_COL0}, {8, 5, FACE_COL11}, {5, 2, FACE_ROW0}};
    for (const auto& c : cases) {
        place(6, 40, c.col, c.row, ART_TARGET);
        EXPECT_EQ(battle_face_toward(6), c.facing) << c.col << "," << c.row;
    }
}

TEST_F(BattleAnimTest, DodgeCellKeepsOutOfTheLineAndStaysInPlaceWhenBoxedIn) {
    struct Case {
        s32 attacker_col, attacker_row;
        std::vector<std::pair<s32, s32>> blockers;
        s32 col, row; // expected dodge cell
    };
    const Case cases[] = {
        {5, 2, {}, 4, 5},                               // same column: not row 4
        {2, 5, {{5, 4}}, 6, 5},                         // same row: not column 4
        {8, 8, {}, 5, 4},                               // neither: the first cell
        {5, 2, {{5, 4}, {4, 5}, {6, 5}, {5, 6}}, 5, 5}, // boxed in: stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attacker_col * 100 + c.attacker_row * 10 + s32(c.blockers.size()));
        for (BattleSlot& s : battle_slots) empty_slot(s);
        place(0, 0, 5, 5, ART_HERO);
        place(6, 40, c.attacker_col, c.attacker_row, ART_TARGET);
        s32 slot = 7;
        for (auto [col, row] : c.blockers) {
            place(slot, 50 + slot, col, row, ART_TARGET);
            ++slot;
        }
        s32 x = 0, y = 0;
        battle_dodge_cell(6, &x, &y);
        EXPECT_EQ(x, cell_x(c.col, c.row));
        EXPECT_EQ(y, cell_y(c.col, c.row));
    }
}

} // namespace

namespace {

TEST_F(BattleAnimTest, ArtsAndSlotsOutsideTheTablesAreNeverIndexed) {
    BattleSlot& me = place(0, 0, 5, 5, ART_HERO);
    BattleSlot& a = place(6, 40, 5, 2, ART_LINKED, FACE_ROW11);
    a.art = 9999; // no such art: the fighter shows nothing, the sequence ends at once
    a.hit_x[0] = me.x;
    a.hit_y[0] = me.y;
    battle_anim_attack(6);
    EXPECT_EQ(a.anim, -1);
    EXPECT_EQ(anim_track_anim[6], -1);
    EXPECT_TRUE(steps(IMG_LINKED).empty());

    for (s32 slot : {-1, 12, 400}) {
        battle_anim_attack(slot);
        battle_anim_counter(slot);
        s32 x = 0, y = 0;
        battle_dodge_cell(slot, &x, &y);
        EXPECT_EQ(x, me.x);
        EXPECT_EQ(y, me.y);
        EXPECT_EQ(battle_face_toward(slot), me.facing);
    }
    me.ai_target = 57; // a stale target: no blink, nothing outside the tracks
    battle_anim_special();
    EXPECT_EQ(anim_track_frame[0], 1);
}

} // namespace
