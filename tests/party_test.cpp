// The party: joining into slots 1..4, the full-party choice (send a member away or decline),
// leaving with the later slots moving down, the battle line-up and the places of dismissed
// companions.
#include "game/party.h"

#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/world/object.h"
#include "game/player.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Party = std::array<s32, 5>;

Party party() {
    Party p;
    for (s32 i = 0; i < 5; ++i) p[i] = player_record.party[i];
    return p;
}
void set_party(const Party& p) {
    for (s32 i = 0; i < 5; ++i) player_record.party[i] = p[i];
}

class PartyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        world_put_basics(b);
        world_start(b);
        world_place_player(1, 500, 400);
        set_party({-1, -1, -1, -1, -1});
        init_battle_tables();
        dialog_transcript_mode();
    }
    void TearDown() override {
        dialog_driver_stop();
        world_stop();
    }
    HarnessTempDir dir;
};

// Slot 0 belongs to scripts: joining takes the first free of slots 1..4 and asks nothing.
TEST_F(PartyTest, JoinTakesTheFirstFreeOfSlotsOneToFour) {
    EXPECT_EQ(party_join(38), 1);
    EXPECT_EQ(party(), (Party{-1, 38, -1, -1, -1}));
    set_party({-1, 3, -1, 9, -1});
    EXPECT_EQ(party_join_forced(50), 1);
    EXPECT_EQ(party(), (Party{-1, 3, 50, 9, -1}));
    EXPECT_TRUE(dialog_lines().empty());
}

// With slots 1..4 taken (slot 0 free or not), the newcomer speaks and the player picks whom to
// send away; declining changes neither the party nor the world.
TEST_F(PartyTest, FullPartyDeclinedByTheChoiceStaysAsItWas) {
    for (s32 slot0 : {-1, 71}) {
        dialog_transcript_mode();
        set_party({slot0, 4, 38, 50, 51});
        const std::vector<ObjectRecord> world(object_table, object_table + OBJECT_COUNT);
        dialog_answer(5);
        EXPECT_EQ(party_join(118), 0);
        EXPECT_EQ(party(), (Party{slot0, 4, 38, 50, 51}));
        EXPECT_EQ(std::memcmp(world.data(), object_table, sizeof object_table), 0);
        EXPECT_EQ(dialog_lines(), (std::vector<std::string>{
                                      "say 0 1118 26471",
                                      "choose 3 1000 -1 1004 1038 1050 1051 26472 -> 5",
                                  }));
    }
}

// Sending member k away puts the newcomer in its slot and the member back at its place.
TEST_F(PartyTest, FullPartySendsTheChosenMemberBackToItsPlace) {
    set_party({-1, 4, 38, 50, 51});
    dialog_answer(2);
    EXPECT_EQ(party_join(118), 1);
    EXPECT_EQ(party(), (Party{-1, 4, 118, 50, 51}));
    EXPECT_EQ(attr_get(2450, ATTR_ACTIVE), 1);
    EXPECT_EQ(attr_get(2450, ATTR_MAP), 140);
    EXPECT_EQ(attr_get(2450, ATTR_X), 1468);
    EXPECT_EQ(attr_get(2450, ATTR_Y), 240);
    EXPECT_EQ(obj_get_frame(2450), -9220);
    // The other members' objects were not touched.
    EXPECT_EQ(attr_get(2215, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(2454, ATTR_ACTIVE), 0);
}

// The forced join offers no decline; a member without a place leaves only the party.
TEST_F(PartyTest, ForcedJoinOffersNoDeclineAndUnplacedMembersJustLeave) {
    set_party({-1, 7, 8, 9, 10});
    const std::vector<ObjectRecord> world(object_table, object_table + OBJECT_COUNT);
    dialog_answer(4);
    EXPECT_EQ(party_join_forced(132), 1);
    EXPECT_EQ(party(), (Party{-1, 7, 8, 9, 132}));
    EXPECT_EQ(std::memcmp(world.data(), object_table, sizeof object_table), 0);
    EXPECT_EQ(dialog_lines(), (std::vector<std::string>{
                                  "say 0 1132 26471",
                                  "choose 3 1000 -1 1007 1008 1009 1010 -> 4",
                              }));
}

TEST_F(PartyTest, EveryDismissedCompanionHasItsPlace) {
    for (const PartyPlace& p : party_places) {
        party_drop_place(p.person);
        EXPECT_EQ(attr_get(p.object, ATTR_ACTIVE), 1) << p.person;
        EXPECT_EQ(attr_get(p.object, ATTR_MAP), p.map) << p.person;
        EXPECT_EQ(attr_get(p.object, ATTR_X), p.x) << p.person;
        EXPECT_EQ(attr_get(p.object, ATTR_Y), p.y) << p.person;
        EXPECT_EQ(obj_get_frame(p.object), p.frame) << p.person;
    }
    EXPECT_EQ(party_places[0].person, 4);
    EXPECT_EQ(party_places[0].frame, -7430);
    EXPECT_EQ(party_places[9].person, 132);
    EXPECT_EQ(party_places[9].object, 2278);
}

TEST_F(PartyTest, LeaveMovesTheLaterSlotsDown) {
    struct Case {
        Party before;
        s32 person;
        Party after;
    };
    const Case cases[] = {
        {{3, 7, 9, -1, 2}, 7, {3, 9, -1, 2, -1}},
        {{3, 7, 9, -1, 2}, 3, {7, 9, -1, 2, -1}},
        {{3, 7, 9, -1, 2}, 2, {3, 7, 9, -1, -1}},
        {{3, 7, 9, -1, 2}, 5, {3, 7, 9, -1, 2}},
        // Every slot holding the person is emptied, neighbours included.
        {{4, 4, 6, 4, 8}, 4, {6, 8, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        set_party(c.before);
        party_leave(c.person);
        EXPECT_EQ(party(), c.after) << c.person;
    }
}

TEST_F(PartyTest, HasLooksAtAllFiveSlots) {
    set_party({71, -1, 9, -1, 132});
    EXPECT_EQ(party_has(71), 1);
    EXPECT_EQ(party_has(132), 1);
    EXPECT_EQ(party_has(9), 1);
    EXPECT_EQ(party_has(4), 0);
}

// The player is fighter 0; party slot i with hit points left is fighter i + 1; free slots,
// fallen members and ids outside the roster leave the set-up's fighter as it was.
TEST_F(PartyTest, ToBattleWritesMembersWithHitPointsBesideThePlayer) {
    EncounterRecord& e = encounters[40];
    for (s32 k = 0; k < ENCOUNTER_FIGHTERS; ++k) e.fighter[k] = 200 + k;
    roster[71].hp = 30;
    roster[9].hp = 0; // fallen
    roster[132].hp = 1;
    set_party({71, -1, 9, 400, 132});
    party_to_battle(40);
    EXPECT_EQ((std::vector<s32>(e.fighter, e.fighter + ENCOUNTER_FIGHTERS)),
              (std::vector<s32>{0, 71, 202, 203, 204, 132, 206, 207, 208, 209, 210, 211}));

    // Encounters outside the table are left alone.
    party_to_battle(-1);
    party_to_battle(ENCOUNTER_COUNT);
}

} // namespace
