// The battle screen through its draw records: gauge cells (small hp, poison tiers, no maximum),
// the hp and mp panels by bar offset and poison, the animated panels and gauges, the falling
// gauges after a blow, portraits, overlays, the pointer's cell, the flashes.
#include "battle/battle_draw.h"

#include "battle/battle_attack.h"
#include "tests/battle_screen_fixture.h"

#include <algorithm>

namespace {

class BattleDrawTest : public BattleScreenTest {
  protected:
    // Draws of one image in group g, in order.
    static std::vector<DrawRec> in(const DrawGroup& g, s32 id) {
        std::vector<DrawRec> out;
        for (const DrawRec& r : g)
            if (r.kind == TRANSCRIPT_DRAW && r.id == id) out.push_back(r);
        return out;
    }
    // Cells of the gauge of a fighter drawn in group g (by any cell image).
    static s32 gauge_cells_in(const DrawGroup& g) {
        s32 n = 0;
        for (s32 id : {25755, 25759, 25760, 25761}) n += count_in(g, id);
        return n;
    }
    // The groups that were presented (all but the open last one).
    static std::vector<DrawGroup> presented() { return {groups().begin(), groups().end() - 1}; }
};

TEST_F(BattleDrawTest, GaugeCellsRoundUpToOneAndSurviveAZeroMaximum) {
    const struct {
        s32 hp, max, width, cells;
    } cases[] = {
        {1, 1000, 50, 1},
        {0, 1000, 50, 0},
        {1000, 1000, 50, 50},
        {999, 1000, 50, 49},
        {500, 0, 50, 0},
        {-5, 100, 50, 0},
        {2000, 1000, 50, 50},
        {1, 1000, 100, 1},
        {1000000, 1000001, 100, 99}, // no overflow on large values
    };
    for (const auto& c : cases)
        EXPECT_EQ(battle_gauge_cells(c.hp, c.max, c.width), c.cells)
            << c.hp << "/" << c.max << " x" << c.width;
}

TEST_F(BattleDrawTest, GaugeDrawsItsFrameAndCellsByPoison) {
    const struct {
        s32 hp, hp_max, poison, cells, image;
    } cases[] = {
        {1, 1000, 0, 1, 25755},     {600, 1000, 39, 30, 25759},  {600, 1000, 40, 30, 25760},
        {600, 1000, 80, 30, 25761}, {600, 1000, 100, 30, 25761}, {10, 0, 0, 0, 25755},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.poison * 1000 + c.hp_max);
        clear_records();
        BattleSlot& s = place(7, 40, 4, 3);
        s.hp = c.hp;
        s.hp_max = c.hp_max;
        s.poison = c.poison;
        battle_draw_gauge(7, c.hp);
        const DrawGroup& g = groups().back();
        const auto frame = in(g, BATTLE_IMG_GAUGE_FRAME);
        ASSERT_EQ(frame.size(), 1u);
        EXPECT_EQ(frame[0].x, s.x - 25);
        EXPECT_EQ(frame[0].y, s.y - 110);
        const auto cells = in(g, c.image);
        EXPECT_EQ(gauge_cells_in(g), c.cells);
        EXPECT_EQ(s32(cells.size()), c.cells);
        for (size_t i = 0; i < cells.size(); ++i) {
            EXPECT_EQ(cells[i].x, s.x - 23 + s32(i));
            EXPECT_EQ(cells[i].y, s.y - 108);
        }
    }
    // The protagonist's gauge reads the player record.
    clear_records();
    place(0, 0, 8, 8);
    player_record.hp = 10;
    player_record.hp_max = 100;
    player_record.poison = 45;
    battle_draw_gauge(0, player_record.hp);
    EXPECT_EQ(count_in(groups().back(), 25760), 5);
}

TEST_F(BattleDrawTest, GaugesOfEveryLiveFighterWithoutAMinimumCell) {
    place(0, 0, 8, 8);
    player_record.hp = 50;
    player_record.hp_max = 100;
    BattleSlot& a = place(6, 40, 3, 3);
    a.hp = 1;
    a.hp_max = 1000; // below one cell: none here
    BattleSlot& b = place(7, 41, 4, 3);
    b.hp = 30;
    b.hp_max = 0;
    BattleSlot& c = place(8, 42, 5, 3);
    c.hp = 40;
    c.hp_max = 50;
    battle_draw_gauges();
    const auto cells = in(groups().back(), 25755);
    ASSERT_EQ(cells.size(), 25u + 40u);
    EXPECT_EQ(cells[0].x, battle_slots[0].x - 24);
    EXPECT_EQ(cells[0].y, battle_slots[0].y - 109);
    EXPECT_EQ(cells[25].x, c.x - 24);
}

TEST_F(BattleDrawTest, PanelsSitAtTheBarOffsetWithThePoisonTierAndRaisedPlaces) {
    place(0, 0, 8, 8);
    player_record.hp = 250;
    player_record.hp_max = 1000;
    player_record.mp = 30;
    player_record.mp_max = 60;
    // With the protagonist on the right (bar offset 380) the panels start at x 50.
    const struct {
        s32 offset, x0, raised, poison, hp_image;
    } cases[] = {{380, 50, 0, 0, 25772},
                 {0, 430, 0, 1, 25773},
                 {380, 50, 1, 40, 25774},
                 {0, 430, 1, 100, 25775}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset + c.raised);
        clear_records();
        bar_offset = c.offset;
        player_record.poison = c.poison;
        battle_hp_panel(player_record.hp, c.raised);
        battle_mp_panel(20, c.raised);
        const DrawGroup& g = groups().back();
        const s32 x0 = c.x0;
        const auto frames = in(g, BATTLE_IMG_PANEL);
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[0].x, x0 + 63);
        EXPECT_EQ(frames[0].y, c.raised ? 245 : 105);
        EXPECT_EQ(frames[1].x, x0 + 73);
        EXPECT_EQ(frames[1].y, c.raised ? 270 : 130);
        const auto hp = in(g, c.hp_image);
        ASSERT_EQ(hp.size(), 25u);
        EXPECT_EQ(hp[0].x, x0 + 68);
        EXPECT_EQ(hp[0].y, (c.raised ? 245 : 105) + 4);
        EXPECT_EQ(count_in(g, BATTLE_IMG_MP_SPEND), 50); // all the mp
        const auto kept = in(g, BATTLE_IMG_MP_KEEP);     // what an art would leave
        ASSERT_EQ(kept.size(), 33u);
        EXPECT_EQ(kept[0].x, x0 + 78);
        EXPECT_EQ(kept[0].y, c.raised ? 274 : 134);
    }

    // No maxima: frames without cells; no protagonist: nothing.
    clear_records();
    player_record.hp_max = 0;
    player_record.mp_max = 0;
    battle_hp_panel(250, 0);
    battle_mp_panel(30, 0);
    EXPECT_EQ(count_in(groups().back(), BATTLE_IMG_PANEL), 2);
    EXPECT_EQ(groups().back().size(), 4u); // two frames, two numbers
    clear_records();
    battle_slots[0].character = -1;
    battle_hp_panel(250, 0);
    battle_mp_panel(30, 0);
    EXPECT_TRUE(groups().back().empty());
}

TEST_F(BattleDrawTest, BarOffsetFollowsTheProtagonistsSide) {
    battle_slots[0].x = 350;
    battle_set_bar_offset();
    EXPECT_EQ(bar_offset, 0);
    battle_slots[0].x = 351;
    battle_set_bar_offset();
    EXPECT_EQ(bar_offset, 380);
}

TEST_F(BattleDrawTest, MedicineRaisingOnlyMpAnimatesOnlyTheMpBar) {
    place(0, 0, 8, 8);
    player_record.hp = 500;
    player_record.hp_max = 1000;
    player_record.mp = 80;
    player_record.mp_max = 100;
    battle_gauge_anim(0, 500, 70);

    std::vector<s32> hp, mp;
    for (const DrawGroup& g : presented())
        if (count_in(g, BATTLE_IMG_PANEL) == 2) {
            hp.push_back(count_in(g, 25772));
            mp.push_back(count_in(g, BATTLE_IMG_MP_KEEP));
        }
    // Frames of the animation, then the panels drawn normally.
    ASSERT_EQ(mp.size(), 11u + 1);
    for (size_t k = 0; k + 1 < mp.size(); ++k) {
        EXPECT_EQ(hp[k], 50) << k;
        EXPECT_EQ(mp[k], 70 + s32(k)) << k;
    }
    EXPECT_EQ(mp.back(), 80);
    EXPECT_EQ(hp.back(), 50);

    // Nothing changed: nothing is shown. No protagonist: nothing either.
    clear_records();
    battle_gauge_anim(0, 500, 80);
    EXPECT_EQ(groups().size(), 1u);
    battle_slots[0].character = -1;
    battle_gauge_anim(0, 400, 10);
    EXPECT_EQ(groups().size(), 1u);
}

TEST_F(BattleDrawTest, FighterGaugeAnimationMovesOneCellAFrame) {
    BattleSlot& s = place(3, 12, 8, 8);
    s.hp = 60;
    s.hp_max = 100;
    s.poison = 50;
    battle_gauge_anim(3, 60, -1); // unchanged: nothing
    EXPECT_EQ(groups().size(), 1u);

    battle_gauge_anim(3, 70, -1); // 35 cells down to 30
    std::vector<s32> cells;
    for (const DrawGroup& g : presented()) cells.push_back(count_in(g, 25760));
    EXPECT_EQ(cells, (std::vector<s32>{35, 34, 33, 32, 31, 30}));

    clear_records();
    s.hp_max = 0; // no maximum: an empty gauge, no division
    battle_gauge_anim(3, 70, -1);
    ASSERT_EQ(presented().size(), 1u);
    EXPECT_EQ(count_in(presented()[0], BATTLE_IMG_GAUGE_FRAME), 1);
    EXPECT_EQ(count_in(presented()[0], 25760), 0);
}

TEST_F(BattleDrawTest, GaugesFallAfterABlowACellEverySixthFrame) {
    place(0, 0, 8, 8);
    player_record.hp = 40;
    player_record.hp_max = 100;
    BattleSlot& a = place(6, 40, 3, 3);
    a.hp = 90;
    a.hp_max = 100; // 50 -> 45
    BattleSlot& b = place(7, 41, 4, 3);
    b.hp = 97;
    b.hp_max = 100; // 50 -> 48
    const s32 targets[] = {6, 7, 0};
    const s32 before[] = {100, 100, 50};

    battle_reaction = REACT_COUNTER; // the protagonist's own gauge is not shown then
    battle_gauges_fall(6, targets, before, 3);

    const auto frames = presented();
    ASSERT_EQ(frames.size(), 5u * 6 + 1);
    for (size_t k = 0; k < frames.size(); ++k) {
        const auto cells = in(frames[k], 25755);
        const s32 want_a = std::max(45, 50 - s32(k / 6)), want_b = std::max(48, 50 - s32(k / 6));
        s32 got_a = 0, got_b = 0;
        for (const DrawRec& r : cells) {
            got_a += r.y == a.y - 108;
            got_b += r.y == b.y - 108;
        }
        EXPECT_EQ(got_a, want_a) << k;
        EXPECT_EQ(got_b, want_b) << k;
        EXPECT_EQ(s32(cells.size()), want_a + want_b) << k; // none of the protagonist's
    }
}

TEST_F(BattleDrawTest, DrainingWeaponRaisesTheProtagonistsGaugeOnHalfTheFrames) {
    place(0, 0, 8, 8);
    player_record.hp = 60;
    player_record.hp_max = 100; // 20 -> 30 cells
    player_record.equip[0] = 1447 - 1400;
    BattleSlot& a = place(6, 40, 3, 3);
    a.hp = 100;
    a.hp_max = 100;
    const s32 targets[] = {6};
    const s32 before[] = {100};
    battle_gauges_fall_drain(0, targets, before, 1, 40);

    const auto frames = presented();
    ASSERT_EQ(frames.size(), 10u * 6 + 1); // until the protagonist's bar has risen
    s32 shown = 0, last = 0;
    for (size_t k = 0; k < frames.size(); ++k) {
        const auto frame = in(frames[k], BATTLE_IMG_GAUGE_FRAME);
        for (const DrawRec& r : frame) {
            if (r.y != battle_slots[0].y - 110) continue;
            ++shown;
            last = count_in(frames[k], 25755) - 50;
            EXPECT_EQ(last, 20 + s32(k / 6)) << k;
        }
    }
    EXPECT_GT(shown, 10); // about half of 61 frames
    EXPECT_LT(shown, 51);
}

TEST_F(BattleDrawTest, PortraitRules) {
    const struct {
        s32 slot, character, result;
    } cases[] = {
        {0, 0, -1},   {3, -1, -1},  {7, 239, -1}, {7, 155, -1}, {7, 157, -1},
        {7, 158, -1}, {7, 159, -1}, {7, 156, 1},  {2, 238, 1},  {12, 5, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slot * 1000 + c.character);
        clear_records();
        if (c.slot < BATTLE_SLOTS) battle_slots[c.slot].character = c.character;
        EXPECT_EQ(battle_draw_portrait(c.slot), c.result);
        const auto pictures = in(groups().back(), 1000 + c.character);
        const auto names = all(TRANSCRIPT_PRINT, 1000 + c.character);
        EXPECT_EQ(pictures.size(), c.result == 1 ? 1u : 0u);
        EXPECT_EQ(names.size(), c.result == 1 ? 1u : 0u);
        if (c.result == 1) {
            EXPECT_EQ(pictures[0].x, 0);
            EXPECT_EQ(pictures[0].y, 330);
            EXPECT_EQ(names[0].x, 130);
        }
        if (c.slot < BATTLE_SLOTS) battle_slots[c.slot].character = -1;
    }
}

TEST_F(BattleDrawTest, PointerCellMarkerAndHoveredFighter) {
    BattleSlot& s = place(8, 77, 4, 2);
    s.hp = 50;
    s.hp_max = 100;
    const struct {
        s32 px, py;
        bool marker, hovered;
    } cases[] = {
        {cell_x(4, 2) + 5, cell_y(4, 2) + 3, true, true}, // on the fighter's cell
        {cell_x(6, 6), cell_y(6, 6), true, false},        // an empty cell
        {cell_x(10, 0), cell_y(10, 0), false, false},     // a cut corner
        {5, 5, false, false},                             // off the grid
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.px * 1000 + c.py);
        clear_records();
        pointer_x = c.px;
        pointer_y = c.py;
        battle_draw_pointer_cell();
        battle_draw_hovered();
        const DrawGroup& g = groups().back();
        const auto marker = in(g, BATTLE_IMG_CELL);
        ASSERT_EQ(marker.size(), c.marker ? 1u : 0u);
        if (c.marker) {
            EXPECT_EQ(marker[0].flags, 0x3800u);
        }
        EXPECT_EQ(count_in(g, 1077), c.hovered ? 1 : 0);
        EXPECT_EQ(count_in(g, 25755), c.hovered ? 25 : 0);
    }
}

TEST_F(BattleDrawTest, BackgroundAndFieldOverlayByKind) {
    encounters[0].background = 25810;
    const struct {
        s32 turns, kind, overlay;
    } cases[] = {{0, 0, -1}, {2, 0, 25766}, {1, 1, 25767}, {3, 3, 25768}, {2, 2, -1}, {2, 4, -1}};
    bar_offset = 380;
    for (const auto& c : cases) {
        clear_records();
        field_turns = c.turns;
        field_kind = c.kind;
        battle_draw_background();
        const DrawGroup& g = groups().back();
        ASSERT_GE(g.size(), 1u);
        EXPECT_EQ(g[0].id, 25810);
        ASSERT_EQ(g.size(), c.overlay < 0 ? 1u : 2u) << c.kind;
        if (c.overlay >= 0) {
            EXPECT_EQ(g[1].id, c.overlay);
            EXPECT_EQ(g[1].x, 380);
        }
    }
    // The background lays the overlay; an overlay asked for right after it is not laid again,
    // one asked for on its own is.
    clear_records();
    field_turns = 2;
    field_kind = 0;
    battle_draw_background();
    battle_draw_overlay();
    EXPECT_EQ(count_in(groups().back(), 25766), 1);
    battle_draw_overlay();
    EXPECT_EQ(count_in(groups().back(), 25766), 2);

    // An encounter number outside the table draws no background.
    clear_records();
    field_turns = 0;
    battle_encounter = 160;
    battle_draw_background();
    EXPECT_TRUE(groups().back().empty());
}

TEST_F(BattleDrawTest, FlashesAndFloatingText) {
    place(0, 0, 8, 8);
    place(2, 12, 9, 7);
    place(6, 40, 3, 3);
    const s32 shown[6] = {0, -1, 2, -1, -1, -1};
    battle_heal_flash(shown);
    auto frames = presented();
    ASSERT_EQ(frames.size(), 17u);
    for (size_t i = 0; i < frames.size(); ++i) {
        const auto d = in(frames[i], BATTLE_IMG_FLASH + s32(i));
        ASSERT_EQ(d.size(), 2u) << i;
        EXPECT_EQ(d[0].x, battle_slots[0].x);
        EXPECT_EQ(d[0].y, battle_slots[0].y);
        EXPECT_EQ(d[1].x, battle_slots[2].x);
        EXPECT_EQ(d[0].flags, 0x6000u);
    }

    clear_records();
    battle_item_flash(6);
    frames = presented();
    ASSERT_EQ(frames.size(), 17u);
    EXPECT_EQ(in(frames[16], BATTLE_IMG_FLASH + 16)[0].y, battle_slots[6].y - 50);

    clear_records();
    battle_reaction_flash(1); // only kind 0 shows
    EXPECT_EQ(groups().size(), 1u);

    clear_records();
    battle_float_text(996);
    const auto prints = all(TRANSCRIPT_PRINT, 996);
    ASSERT_EQ(prints.size(), 15u);
    EXPECT_EQ(prints[0].x, battle_slots[0].x - 35);
    EXPECT_EQ(prints[0].y, battle_slots[0].y - 100);
    EXPECT_EQ(prints[14].y, battle_slots[0].y - 114);
}

} // namespace
