// The attack command by area shape and the special arts with their field effects.
#include "battle/battle_special.h"
#include "engine/shell.h"
#include "platform/harness.h"
#include "tests/blow_fixture.h"

#include <string>
#include <vector>

namespace {

constexpr s32 OPPONENT_ART = 300;

class BattleSpecialTest : public BlowTest {
  protected:
    void TearDown() override {
        harness_on_present(nullptr);
        BlowTest::TearDown();
    }

    // The protagonist on (5, 8) with a special art of `kind` at `level` (list 2, id 50).
    static ArtEntry& special_art(s32 kind, s32 level, s32 mp_cost) {
        ArtEntry& a = put_protagonist(5, 8, 2, level, ART_AREA_FIELD, 0, 90, mp_cost);
        a.special = kind;
        a.difficulty = 5;
        return a;
    }

    // Draws made after the blow's animation: the generator is seeded again at every present,
    // so the draws after the last present are the ones listed.
    static void seed_after_animation(std::initializer_list<Draw> draws) {
        seed_draws(draws);
        const u32 rt = rt_rand_state;
        const s32 counter = rand_counter;
        harness_on_present([rt, counter](const u16*, u64) {
            rt_rand_state = rt;
            rand_counter = counter;
        });
    }

    static bool heard(const std::string& line) {
        for (const std::string& l : dialog_lines())
            if (l == line) return true;
        return false;
    }
};

TEST_F(BattleSpecialTest, FieldBonusByKindLevelAndMp) {
    struct Case {
        s32 kind, mp;
        s32 want_bonus, want_mp;
        const char* music;
    };
    // Level 100, cost 10 per tier: 110 mp; 55 mp gives e = 55 x 10 / 110 + 1 = 6.
    for (const Case& c : std::vector<Case>{
             {FIELD_POWER, 200, 20, 90, "music 10082 0"},
             {FIELD_POWER, 55, 12, 0, "music 10082 0"},
             {FIELD_GUARD, 200, 3, 90, "music 10080 0"},
             {FIELD_SPEED, 200, 50, 90, "music 10081 0"},
         }) {
        reset_battle();
        dialog_transcript_clear();
        special_art(c.kind, 100, 10);
        player_record.mp = c.mp;
        player_record.music_id = 10066;
        EXPECT_EQ(battle_special_art(), 1);
        EXPECT_EQ(field_kind, c.kind);
        EXPECT_EQ(field_bonus, c.want_bonus) << c.kind << " with " << c.mp;
        EXPECT_EQ(player_record.mp, c.want_mp) << c.kind << " with " << c.mp;
        EXPECT_EQ(arts_table[battle_slots[0].art].last_level, 100);
        EXPECT_EQ(player_record.known[2][0].exp, 40); // skill 2 (0) + (25 - 5) x 2
        EXPECT_TRUE(heard(c.music)) << c.music;
        EXPECT_EQ(player_record.music_id, 10066); // the battle track comes back at the round end
    }
}

TEST_F(BattleSpecialTest, FieldLastsBySkillZeroAndASecondArtReplacesIt) {
    struct Case {
        s32 skill0, want_turns;
    };
    for (const Case& c : std::vector<Case>{{0, 1}, {32, 1}, {33, 2}, {66, 3}, {100, 4}}) {
        reset_battle();
        special_art(FIELD_POWER, 100, 0);
        player_record.skill[0] = c.skill0;
        battle_special_art();
        EXPECT_EQ(field_turns, c.want_turns) << "skill 0 of " << c.skill0;
    }

    // A running power field is replaced at once by a speed field.
    EXPECT_EQ(field_kind, FIELD_POWER);
    dialog_transcript_clear();
    arts_table[battle_slots[0].art].special = FIELD_SPEED;
    battle_slots[0].art_level = 60;
    player_record.skill[0] = 40;
    battle_special_art();
    EXPECT_EQ(field_kind, FIELD_SPEED);
    EXPECT_EQ(field_turns, 2);
    EXPECT_EQ(field_bonus, 30); // 60 x 10 / 20
    EXPECT_TRUE(heard("music 10081 0"));
}

TEST_F(BattleSpecialTest, HealRaisesTheOwnSideAndEndsAnyField) {
    special_art(FIELD_HEAL, 50, 0);
    put_fighter(1, 4, 8, 21, OPPONENT_ART, 0, 500, 0);
    put_fighter(6, 5, 6, 20, OPPONENT_ART, 0, 500, 0);
    battle_slots[1].hp = 50;
    battle_slots[6].hp = 50;
    player_record.hp = 100;
    field_kind = FIELD_POWER;
    field_turns = 3;
    field_bonus = 5;
    EXPECT_EQ(battle_special_art(), 1);
    EXPECT_EQ(player_record.hp, 300); // 50 x 4 x 10 / 10
    EXPECT_EQ(battle_slots[1].hp, 250);
    EXPECT_EQ(battle_slots[6].hp, 50); // opponents are not healed
    EXPECT_EQ(field_turns, 0);
    EXPECT_EQ(field_kind, 0);
    EXPECT_EQ(field_bonus, 0);
    EXPECT_TRUE(heard("music 10083 0"));
}

TEST_F(BattleSpecialTest, CureStopsAtTheFirstFailedDraw) {
    struct Case {
        bool pass[3];
        bool cured[3];
    };
    // Skill 0 of 50 with enough mp: a draw of 50 or less cures.
    for (const Case& c : std::vector<Case>{
             {{true, false, true}, {true, false, false}},
             {{true, true, false}, {true, true, false}},
             {{false, true, true}, {false, false, false}},
             {{true, true, true}, {true, true, true}},
         }) {
        reset_battle();
        special_art(FIELD_CURE, 50, 0);
        player_record.skill[0] = 50;
        player_record.poison = 40;
        player_record.affliction = 30;
        for (s32 s : {1, 2}) {
            put_fighter(s, 3 + s, 9, 20 + s, OPPONENT_ART, 0, 500, 0);
            battle_slots[s].poison = 60;
            battle_slots[s].stunned = 2;
            roster[20 + s].poison = 60;
        }
        const auto draw = [](bool pass) { return pass ? Draw{100, 0, 50} : Draw{100, 51, 99}; };
        seed_after_animation({draw(c.pass[0]), draw(c.pass[1]), draw(c.pass[2])});
        EXPECT_EQ(battle_special_art(), 1);
        harness_on_present(nullptr);
        EXPECT_EQ(player_record.poison == 0 && player_record.affliction == 0, c.cured[0])
            << "case " << c.pass[0] << c.pass[1] << c.pass[2];
        for (s32 s : {1, 2}) {
            const bool cured = battle_slots[s].poison == 0 && battle_slots[s].stunned == 0 &&
                               roster[20 + s].poison == 0;
            EXPECT_EQ(cured, c.cured[s])
                << "slot " << s << " case " << c.pass[0] << c.pass[1] << c.pass[2];
        }
        EXPECT_EQ(field_kind, FIELD_CURE);
    }
}

TEST_F(BattleSpecialTest, StrikeAllHitsEveryOpponentAndPaysAsABlow) {
    special_art(FIELD_STRIKE_ALL, 99, 4);
    put_fighter(6, 2, 1, 20, OPPONENT_ART, 0, 5000, 40);
    put_fighter(9, 9, 5, 21, OPPONENT_ART, 0, 5000, 40);
    put_fighter(1, 4, 8, 22, OPPONENT_ART, 0, 5000, 40);
    EXPECT_EQ(battle_special_art(), 1);
    EXPECT_EQ(field_kind, FIELD_STRIKE_ALL);
    EXPECT_EQ(field_bonus, 90);
    EXPECT_EQ(5000 - battle_slots[6].hp, 300); // the field's power at level 99, factor 0
    EXPECT_EQ(5000 - battle_slots[9].hp, 300);
    EXPECT_EQ(battle_slots[1].hp, 5000);
    EXPECT_EQ(player_record.mp, 460); // only the blow's cost of 40
    EXPECT_TRUE(heard("music 10085 0"));
}

TEST_F(BattleSpecialTest, UnknownKindDoesNothing) {
    ArtEntry& art = special_art(7, 100, 10);
    art.last_level = -5;
    field_kind = FIELD_SPEED;
    field_turns = 2;
    field_bonus = 9;
    dialog_transcript_clear();
    EXPECT_EQ(battle_cmd_attack(), 0); // returns at once, the turn goes on
    EXPECT_EQ(player_record.mp, 500);
    EXPECT_EQ(player_record.known[2][0].exp, 0);
    EXPECT_EQ(art.last_level, -5);
    EXPECT_EQ(field_kind, FIELD_SPEED);
    EXPECT_EQ(field_turns, 2);
    EXPECT_EQ(field_bonus, 9);
    for (const std::string& l : dialog_lines()) EXPECT_NE(l.rfind("music", 0), 0u) << l;
}

TEST_F(BattleSpecialTest, CrossArtStrikesAtOnce) {
    put_protagonist(5, 8, 2, 99, 2, 3, 90, 0);
    put_fighter(6, 5, 6, 20, OPPONENT_ART, 0, 5000, 40); // in the column, 2 cells
    put_fighter(7, 8, 8, 21, OPPONENT_ART, 0, 5000, 40); // in the row, 3 cells
    put_fighter(8, 5, 4, 22, OPPONENT_ART, 0, 5000, 40); // in the column, 4 cells: out of reach
    put_fighter(9, 6, 7, 23, OPPONENT_ART, 0, 5000, 40); // off the cross
    EXPECT_EQ(battle_cmd_attack(), 1);
    EXPECT_EQ(5000 - battle_slots[6].hp, 300);
    EXPECT_EQ(5000 - battle_slots[7].hp, 150); // distance 3: half
    EXPECT_EQ(battle_slots[8].hp, 5000);
    EXPECT_EQ(battle_slots[9].hp, 5000);
}

TEST_F(BattleSpecialTest, ClickedOpponentMustBeInReach) {
    put_protagonist(5, 8, 2, 99, 0, 1, 90, 0);
    put_fighter(6, 5, 5, 20, OPPONENT_ART, 0, 5000, 40); // 3 cells: out of reach
    put_fighter(7, 5, 7, 21, OPPONENT_ART, 0, 5000, 40);
    put_fighter(1, 4, 8, 22, OPPONENT_ART, 0, 5000, 40); // own side
    harness_click(cell_x(5, 5), cell_y(5, 5));
    harness_click(cell_x(4, 8), cell_y(4, 8));
    harness_click(cell_x(5, 7), cell_y(5, 7));
    EXPECT_EQ(battle_cmd_attack(), 1);
    EXPECT_EQ(harness_pending_input(), 0u);
    EXPECT_EQ(battle_slots[6].hp, 5000);
    EXPECT_EQ(battle_slots[1].hp, 5000);
    EXPECT_EQ(5000 - battle_slots[7].hp, 300);
    EXPECT_EQ(battle_slots[0].ai_target, 7);
}

// The click takes the cell under its own point. After a blow on slot 6 the cursor still holds
// its cell: a click beside the grid takes no cell, and the click word that the press on the
// command bar left behind does not count. A press released before the command reads the
// buttons still counts by its click word.
TEST_F(BattleSpecialTest, ClickTakesTheCellUnderItsPoint) {
    put_protagonist(5, 8, 2, 99, 0, 1, 90, 0);
    put_fighter(6, 5, 7, 20, OPPONENT_ART, 0, 5000, 40);
    put_fighter(7, 6, 8, 21, OPPONENT_ART, 0, 5000, 40);
    harness_click(cell_x(5, 7), cell_y(5, 7));
    EXPECT_EQ(battle_cmd_attack(), 1);
    const s32 hp6 = battle_slots[6].hp;
    EXPECT_LT(hp6, 5000);

    // The press on the command bar left its click word behind, on slot 6's cell; then a click
    // beside the grid and one on slot 7's cell.
    click_kind = 1;
    click_x = cell_x(5, 7);
    click_y = cell_y(5, 7);
    const u64 p = harness_presents();
    harness_move(5, 5, at_present(p + 1));
    harness_button_down(1, at_present(p + 1));
    harness_button_up(1, at_present(p + 2));
    harness_move(cell_x(6, 8), cell_y(6, 8), at_present(p + 3));
    harness_button_down(1, at_present(p + 3));
    harness_button_up(1, at_present(p + 4));
    EXPECT_EQ(battle_cmd_attack(), 1);
    EXPECT_EQ(harness_pending_input(), 0u);
    EXPECT_EQ(battle_slots[6].hp, hp6);
    EXPECT_LT(battle_slots[7].hp, 5000);
    EXPECT_EQ(battle_slots[0].ai_target, 7);

    // On slot 6's cell, pressed and released together after the command's first frame.
    const InputTrigger next = at_present(harness_presents() + 1);
    harness_move(cell_x(5, 7), cell_y(5, 7), next);
    harness_button_down(1, next);
    harness_button_up(1, next);
    EXPECT_EQ(battle_cmd_attack(), 1);
    EXPECT_LT(battle_slots[6].hp, hp6);
    EXPECT_EQ(battle_slots[0].ai_target, 6);
}

TEST_F(BattleSpecialTest, RightButtonCancels) {
    put_protagonist(5, 8, 2, 99, 0, 1, 90, 4);
    put_fighter(7, 5, 7, 21, OPPONENT_ART, 0, 5000, 40);
    harness_button_down(2); // held: the command sees it after its first frame
    EXPECT_EQ(battle_cmd_attack(), 0);
    harness_button_up(2);
    EXPECT_EQ(battle_slots[7].hp, 5000);
    EXPECT_EQ(player_record.mp, 500);
}

TEST_F(BattleSpecialTest, LineFiresTowardThePointer) {
    put_protagonist(5, 8, 2, 99, 1, 3, 90, 0);
    put_fighter(6, 5, 6, 20, OPPONENT_ART, 0, 5000, 40);  // toward row 0, 2 cells
    put_fighter(7, 5, 5, 21, OPPONENT_ART, 0, 5000, 40);  // behind it, 3 cells
    put_fighter(8, 5, 10, 22, OPPONENT_ART, 0, 5000, 40); // the other way
    harness_move(cell_x(5, 5), cell_y(5, 5));
    harness_button_down(1); // the command takes the press (and clears it)
    EXPECT_EQ(battle_cmd_attack(), 1);
    EXPECT_EQ(5000 - battle_slots[6].hp, 300);
    EXPECT_EQ(5000 - battle_slots[7].hp, 150);
    EXPECT_EQ(battle_slots[8].hp, 5000);
}

// The whole road: the player's turn takes the attack button of the command bar, the cross art
// strikes at once, the opponent falls and the battle is won with its values in the roster.
TEST_F(BattleSpecialTest, CrossArtWinsABattleThroughTheCommandBar) {
    constexpr s32 E = 150;
    constexpr s32 FOE = 200;
    EncounterRecord& r = encounters[E];
    r.round_limit = -1;
    for (s32 i = 0; i < ENCOUNTER_FIGHTERS; ++i) r.fighter[i] = r.col[i] = r.row[i] = -1;
    r.fighter[0] = 0;
    r.col[0] = 5;
    r.row[0] = 8;
    r.fighter[6] = FOE;
    r.col[6] = 5;
    r.row[6] = 6;
    make_art(OPPONENT_ART, 0, 1, 10, 0);
    RosterEntry& foe = roster[FOE];
    foe.hp = foe.hp_max = 100;
    foe.mp = foe.mp_max = 10;
    foe.defence = foe.speed = foe.resistance = foe.poison = 0;
    foe.art = OPPONENT_ART;
    foe.art_level = 0;
    for (RosterBagSlot& b : foe.bag) b = {-1, 0};
    player_record.known[2][0] = {ART_FIRST_ID, 99, 0};
    make_art(art_index(2, ART_FIRST_ID), 2, 3, 500, 0);
    player_record.attr[4] = 50; // the protagonist acts first
    player_record.music_id = 10050;
    battle_active = 0;

    // The protagonist stands right of the middle: the bar is drawn 380 px further left.
    harness_move(506 - 380 + 20, 42 + 10);
    harness_button_down(1);
    EXPECT_EQ(battle_run(E), BATTLE_WON);
    EXPECT_EQ(roster[FOE].hp, 0);
    EXPECT_EQ(battle_active, 0);
    EXPECT_EQ(player_record.music_id, 10050);
    EXPECT_EQ(player_record.known[2][0].exp, 50); // skill 2 (0) + 25 x 2
    EXPECT_EQ(player_record.art_use_count[art_index(2, ART_FIRST_ID)], 1);
}

} // namespace
