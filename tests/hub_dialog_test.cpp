// The hub's dialogue services over the dashboard: their layers, their transcript, their waits and
// choices with real input, and the travel and transition animations.
#include "game/hub_dialog.h"

#include "data/hub_block.h"
#include "engine/blit.h"
#include "engine/world_state.h"
#include "game/dashboard.h"
#include "tests/hub_fixture.h"

#include <algorithm>

namespace {

class HubDialogTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        hub_block.scene_backdrop = 60400;
    }
    // The recorded entries other than the dashboard's own layers, as lines.
    static std::vector<std::string> layer_lines() {
        std::vector<std::string> lines;
        for (const TranscriptEntry& e : dialog_transcript()) {
            const bool dashboard_print =
                e.kind == TRANSCRIPT_PRINT_NUMBER || (e.kind == TRANSCRIPT_PRINT && e.y != 377 &&
                                                      e.y != 401 && e.y != 425 && e.y != 449);
            const bool dashboard_draw =
                e.kind == TRANSCRIPT_DRAW &&
                ((e.id >= 60300 && e.id <= 60321) || (e.id >= 60325 && e.id <= 60328) ||
                 (e.id >= 60400 && e.id <= 60427));
            if (!dashboard_print && !dashboard_draw) lines.push_back(dialog_describe(e));
        }
        return lines;
    }
    // Real-input mode with the next wait or choice answered by these clicks, in order.
    static void real_clicks(std::vector<std::pair<s32, s32>> clicks, s32 button = 1) {
        dialog_real_mode(DialogWaitAnswer::Click);
        dialog_real_input([clicks, button](const TranscriptEntry&) {
            for (const auto& [x, y] : clicks) dialog_timed_click(x, y, button);
        });
    }
};

TEST_F(HubDialogTest, SayDrawsItsLayersInOrderAndWaitsOnce) {
    dialog_record_draws(true);
    hub_say(1, 0, -1, 11840);
    EXPECT_EQ(layer_lines(), (std::vector<std::string>{
                                 "hub_say 1 0 -1 11840",
                                 "draw 62000 265 172 flags " + std::to_string(BLIT_MIRROR),
                                 "draw 60324 0 328",
                                 "print 11840 9 377",
                             }));
    EXPECT_EQ(dialog_transcript().front().pages, 1);

    dialog_transcript_mode();
    dialog_record_draws(true);
    hub_say(0, -1, 175, 500);
    EXPECT_EQ(layer_lines(), (std::vector<std::string>{"hub_say 0 -1 175 500", "draw 62175 384 172",
                                                       "draw 60323 0 328", "print 500 9 377"}));
}

TEST_F(HubDialogTest, PictureFormsPutThePictureUnderOrOverThePortraits) {
    dialog_record_draws(true);
    hub_say_pic(0, 10, 20, 70000, 3, -2, 600);
    EXPECT_EQ(layer_lines(),
              (std::vector<std::string>{"hub_say 0 3 -2 600 pic 70000 10 20", "draw 70000 10 20",
                                        "draw 62003 265 172 flags " + std::to_string(BLIT_MIRROR),
                                        "draw 60323 0 328", "print 600 9 377"}));
    dialog_transcript_mode();
    dialog_record_draws(true);
    dialog_answer(1);
    EXPECT_EQ(hub_choose_pic_over(1, -1, 4, 30, 40, 70001, 0, 7, 0, 0), 1);
    EXPECT_EQ(layer_lines(),
              (std::vector<std::string>{"hub_choose 1 -1 4 0 7 0 0 over 70001 30 40 -> 1",
                                        "draw 62004 384 172", "draw 60324 0 328",
                                        "draw 70001 30 40", "print 7 9 401"}));
}

TEST_F(HubDialogTest, ShowPresentsNothingAndWaitsForNothing) {
    const u64 presents = harness_presents();
    hub_show(0, 0, 1, 11384);
    EXPECT_EQ(harness_presents(), presents);
    EXPECT_EQ(dialog_lines(), (std::vector<std::string>{"hub_show 0 0 1 11384"}));
}

TEST_F(HubDialogTest, ARightClickEndsTheWaitAKeyDoesNot) {
    dialog_real_mode();
    u64 click_due = 0;
    dialog_real_input([&click_due](const TranscriptEntry& e) {
        EXPECT_TRUE(e.mouse_only);
        harness_key(DIALOG_KEY_SPACE);
        click_due = harness_elapsed_ms() + 500;
        harness_click(320, 240, 2, at_time(click_due));
    });
    hub_say(0, 0, -1, 11840);
    EXPECT_GE(harness_elapsed_ms(), click_due) << "the key ended the wait";

    // With no answer queued the hub's wait takes a click even when the mode's default is a key.
    dialog_real_mode(DialogWaitAnswer::Key);
    hub_say(0, 0, -1, 11841);
    EXPECT_EQ(dialog_lines(), (std::vector<std::string>{"hub_say 0 0 -1 11841"}));
}

TEST_F(HubDialogTest, ChoiceClicksOnlyCountOnPresentRowsInsideTheBand) {
    struct Case {
        std::vector<std::pair<s32, s32>> clicks;
        s32 chosen;
    };
    // Options: rows 0, 2 and 3 present, row 1 absent (0). The last click of each case answers.
    const Case cases[] = {
        {{{8, 437}, {609, 437}, {300, 437}}, 2}, // beside the band: nothing, then row 2
        {{{300, 413}, {300, 460}}, 3},           // the absent row: nothing
        {{{300, 401}}, 0},                       // the shared edge belongs to row 0
        {{{300, 425}}, 2},                       // row 1 is absent, so its lower edge goes to row 2
        {{{9, 377}}, 0},
        {{{608, 473}}, 3},
        {{{300, 376}, {300, 474}, {300, 380}}, 0}, // above and below the rows: nothing
    };
    for (const Case& c : cases) {
        real_clicks(c.clicks);
        EXPECT_EQ(hub_choose(0, 0, -1, 21, 0, 23, 24), c.chosen)
            << c.clicks.front().first << ", " << c.clicks.front().second;
        EXPECT_EQ(dialog_lines().back(),
                  "hub_choose 0 0 -1 21 0 23 24 -> " + std::to_string(c.chosen));
    }
    // A right click does not choose.
    dialog_real_mode(DialogWaitAnswer::Click);
    dialog_real_input([](const TranscriptEntry&) {
        dialog_timed_click(300, 389, 2);
        dialog_timed_click(300, 461, 1);
    });
    EXPECT_EQ(hub_choose(0, 0, -1, 21, 0, 23, 24), 3);
}

TEST_F(HubDialogTest, ChoiceByTheDriverAndWithoutOptions) {
    dialog_answer(2);
    EXPECT_EQ(hub_choose(1, 0, 168, 11, 12, 13, -5), 2);
    EXPECT_EQ(dialog_lines(), (std::vector<std::string>{"hub_choose 1 0 168 11 12 13 -5 -> 2"}));

    dialog_real_mode(DialogWaitAnswer::Click);
    dialog_answer(1);
    EXPECT_EQ(hub_choose(1, 0, 168, 11, 12, 0, 0), 1);

    // Nothing could be clicked: the choice shows once and goes on with 0.
    dialog_transcript_mode();
    const u64 presents = harness_presents();
    EXPECT_EQ(hub_choose(0, 0, -1, 0, -1, 0, 0), 0);
    EXPECT_EQ(harness_presents(), presents + 1);
}

TEST_F(HubDialogTest, SayLinesAddsOneLinePerClickAndSkipsAbsentOnes) {
    dialog_record_draws(true);
    hub_say_lines(0, 471, -3, 30);
    const auto& t = dialog_transcript();
    EXPECT_EQ(dialog_describe(t.front()), "hub_say_lines 0 471 -3 30");
    EXPECT_EQ(t.front().pages, 2);
    std::vector<std::string> prints;
    s64 portraits = 0;
    for (const TranscriptEntry& e : t) {
        if (e.kind == TRANSCRIPT_PRINT && e.y >= 377) prints.push_back(dialog_describe(e));
        if (e.kind == TRANSCRIPT_DRAW && e.id == 62001) {
            EXPECT_EQ(e.x, 265);
            EXPECT_EQ(u32(e.number), BLIT_MIRROR);
            ++portraits;
        }
    }
    EXPECT_EQ(prints,
              (std::vector<std::string>{"print 471 9 401", "print 471 9 401", "print 30 9 449"}));
    EXPECT_EQ(portraits, 1) << "only a line of 470..479 brings the portrait";

    // Real input: each line waits for its own click.
    real_clicks({{100, 100}});
    dialog_real_input([](const TranscriptEntry&) { harness_click(100, 100, 2); });
    hub_say_lines(5, 0, 0, 6);
    EXPECT_EQ(dialog_transcript().front().pages, 2);
}

TEST_F(HubDialogTest, TransitionsPlayTheirFramesAndSetTheBackdrop) {
    struct Case {
        s32 kind, backdrop;
    };
    for (const Case c :
         {Case{0, 60407}, Case{1, 60421}, Case{2, 60422}, Case{3, 60425}, Case{4, 60424},
          Case{5, 60427}, Case{6, 60421}, Case{7, 60423}, Case{8, 60400}, Case{-1, 60400}}) {
        hub_block.scene_backdrop = 60400;
        dialog_transcript_mode();
        dialog_record_draws(true);
        const u64 start = harness_elapsed_ms(), presents = harness_presents();
        hub_transition(c.kind);
        EXPECT_EQ(hub_block.scene_backdrop, c.backdrop) << c.kind;
        EXPECT_EQ(harness_presents(), presents + 12);
        EXPECT_GE(harness_elapsed_ms() - start, 12u * 200u);
        std::vector<s32> frames;
        for (const TranscriptEntry& e : dialog_transcript())
            if (e.kind == TRANSCRIPT_DRAW && e.x == 212 && e.y == 112) frames.push_back(e.id);
        EXPECT_EQ(frames, (std::vector<s32>{61150, 61151, 61152, 61153, 61154, 61155, 61150, 61151,
                                            61152, 61153, 61154, 61155}));
    }
}

TEST_F(HubDialogTest, ShortTransitionShowsNothingWhileAFieldLoopRuns) {
    world_state.field_active = 1;
    const u64 presents = harness_presents();
    hub_transition_short();
    EXPECT_EQ(harness_presents(), presents);
    EXPECT_TRUE(dialog_lines().empty());

    world_state.field_active = 0;
    dialog_record_draws(true);
    hub_transition_short();
    EXPECT_EQ(harness_presents(), presents + 4);
    std::vector<s32> frames;
    for (const TranscriptEntry& e : dialog_transcript())
        if (e.kind == TRANSCRIPT_DRAW && e.x == 212 && e.y == 112) frames.push_back(e.id);
    EXPECT_EQ(frames, (std::vector<s32>{61156, 61157, 61156, 61157}));
    EXPECT_EQ(dialog_lines().front(), "hub_transition_short");
}

TEST_F(HubDialogTest, TravelWalksTheFigureAcrossTheRoad) {
    dialog_record_draws(true);
    const u64 presents = harness_presents();
    hub_travel();
    EXPECT_EQ(harness_presents(), presents + 24);
    std::vector<std::string> figure;
    s64 roads = 0, backdrops = 0;
    for (const TranscriptEntry& e : dialog_transcript()) {
        if (e.kind != TRANSCRIPT_DRAW) continue;
        if (e.id >= 60391 && e.id <= 60394) figure.push_back(dialog_describe(e));
        roads += e.id == 60390 && e.x == 149 && e.y == 126;
        backdrops += e.id == 60400;
    }
    ASSERT_EQ(figure.size(), 24u);
    EXPECT_EQ(figure.front(), "draw 60391 500 208");
    EXPECT_EQ(figure[5], "draw 60392 425 208");
    EXPECT_EQ(figure.back(), "draw 60394 155 208");
    EXPECT_EQ(roads, 24);
    EXPECT_EQ(backdrops, 0);
}

} // namespace
