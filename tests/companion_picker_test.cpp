// The companion picker, driven by scripted clicks on the placeholder archive: who is offered and
// where, selecting up to four, deselecting, the done button and the party it leaves.
#include "calendar/companion_picker.h"

#include "game/pick_screens.h"
#include "game/player.h"
#include "tests/hub_fixture.h"
#include "tests/timed_clicks.h"

#include <algorithm>
#include <vector>

namespace {

class CompanionPickerTest : public HubTest {
  protected:
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.budget_ms = 60'000; // a picker left waiting for clicks fails instead of hanging
        return c;
    }
    void SetUp() override {
        HubTest::SetUp();
        dialog_record_draws(true);
        for (s32& a : player_record.acquaintances) a = -1;
        for (s32& m : player_record.party) m = -1;
    }
    // Meets `person` at acquaintance entry `i` with affection `a`.
    static void meet(s32 i, s32 person, s32 a) {
        player_record.acquaintances[i] = person;
        player_record.affection[person] = a;
    }
};

void click_cell(s32 c) {
    click(pick_cell_x(c) + 48, pick_cell_y(c) + 8);
}

void click_done() {
    click(PICKER_DONE_X + 24, PICKER_DONE_Y + 8);
}

std::vector<s32> party() {
    return {std::begin(player_record.party), std::end(player_record.party)};
}

bool printed(s32 text, s32 x, s32 y) {
    const auto& t = dialog_transcript();
    return std::any_of(t.begin(), t.end(), [=](const TranscriptEntry& e) {
        return e.kind == TRANSCRIPT_PRINT && e.text[0] == text && e.x == x && e.y == y;
    });
}

TEST_F(CompanionPickerTest, OffersTheWellDisposedInListOrder) {
    meet(0, 163, 100);                                     // never offered
    meet(1, 50, 70);                                       // cell 0
    meet(2, 40, 100);                                      // never offered
    meet(3, 51, 69);                                       // too little affection
    meet(4, 81, 90);                                       // excluded by the caller
    player_record.acquaintances[5] = 0;                    // not a person
    meet(6, 52, 100);                                      // cell 1
    for (s32 i = 0; i < 14; ++i) meet(10 + i, 60 + i, 80); // cells 2..13, then two left out
    start_clicks();
    click_done();
    EXPECT_EQ(companion_picker(81, -1, -1, -1, -1, -1, -1, -1), 1);
    const PickerState& s = picker_state;
    ASSERT_EQ(s.count, PICKER_CANDIDATES);
    EXPECT_EQ(s.candidate[0], 1);
    EXPECT_EQ(s.candidate[1], 6);
    EXPECT_EQ(s.candidate[2], 10);
    EXPECT_EQ(s.candidate[13], 21);
    // Names at their cells, the done text on the bottom row.
    EXPECT_TRUE(printed(PICKER_NAME_TEXT + 50, 34, 379));
    EXPECT_TRUE(printed(PICKER_NAME_TEXT + 52, 138, 379));
    EXPECT_TRUE(printed(PICKER_NAME_TEXT + 67, 450, 410)); // cell 9
    EXPECT_TRUE(printed(PICKER_NAME_TEXT + 71, 346, 456)); // cell 13
    EXPECT_TRUE(printed(PICKER_DONE_TEXT, 450, 456));
    EXPECT_FALSE(printed(PICKER_NAME_TEXT + 72, 450, 456));
    // Done with nothing selected: an empty party.
    EXPECT_EQ(party(), std::vector<s32>(PLAYER_PARTY, -1));
}

TEST_F(CompanionPickerTest, PicksByClicks) {
    struct Case {
        const char* name;
        std::vector<s32> clicks; // cells, in order
        std::vector<s32> party;
    };
    const Case cases[] = {
        {"a fifth selection is refused", {0, 1, 2, 3, 4}, {-1, 10, 11, 12, 13}},
        {"deselecting frees a place", {0, 1, 2, 3, 0, 5}, {-1, 11, 12, 13, 15}},
        {"party in cell order, not click order", {6, 2}, {-1, 12, 16, -1, -1}},
        {"a click beside the cells does nothing", {-1, 3}, {-1, 13, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (s32 i = 0; i < 8; ++i) meet(i, 10 + i, 75);
        player_record.party[0] = 99; // the old party goes entirely
        start_clicks();
        for (s32 cell : c.clicks) {
            if (cell < 0)
                click(20, 300);
            else
                click_cell(cell);
        }
        click_done();
        EXPECT_EQ(companion_picker(-1, -1, -1, -1, -1, -1, -1, -1), 1);
        EXPECT_TRUE(all_clicks_taken());
        EXPECT_EQ(party(), c.party);
        EXPECT_LE(picker_state.chosen, PICKER_MAX_CHOSEN);
    }
}

TEST_F(CompanionPickerTest, NobodyQualifiesLeavesThePartyAsItWas) {
    meet(0, 118, 90); // excluded
    meet(1, 20, 69);
    player_record.party[1] = 7;
    EXPECT_EQ(companion_picker(118, 200, 146, 75, 132, 180, -1, -1), -1);
    EXPECT_EQ(party(), (std::vector<s32>{-1, 7, -1, -1, -1}));
    EXPECT_EQ(picker_state.count, 0);
}

} // namespace
