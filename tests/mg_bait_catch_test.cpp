// The bait catch game, played headless by real input: an angler at each present reads the game's
// state (phase, the line's state, tension, the catch) and presses, holds, releases or moves;
// scripted draws give exact cases, and one whole game runs on the game's own random draws until
// its time runs out.
#include "minigames/bait_catch.h"

#include "data/hub_block.h"
#include "engine/gisk.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "engine/world_state.h"
#include "game/game_start.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "minigames/frame.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/mg_checks.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

namespace {

constexpr s32 MUSIC_BEFORE = 10050;

// Scripted draws; once spent every draw answers `filler` and is counted.
std::deque<s32> rand_script;
s32 filler = 0;
s32 filler_draws = 0;
s32 draws = 0;
s32 last_n = 0; // the range of the latest draw
s32 scripted_rand(s32 n) {
    ++draws;
    last_n = n;
    if (rand_script.empty()) {
        ++filler_draws;
        return std::min(filler, n - 1);
    }
    const s32 v = rand_script.front();
    rand_script.pop_front();
    return std::min(v, n - 1);
}

// Points the angler clicks.
constexpr s32 CAST_X = 490, CAST_Y = 260;
constexpr s32 QUIT_X = 620, QUIT_Y = 440;
constexpr s32 BAIT_BUTTON_X = 110, BAIT_BUTTON_Y = 290;
constexpr s32 ROD_BUTTON_X = 110, ROD_BUTTON_Y = 220;
s32 chooser_x(s32 i) {
    return 370 - 20 * i + 10;
}
constexpr s32 CHOOSER_Y = 220;

enum class Fight {
    Careful, // reels up to a tension and pull that cannot lose the catch, lets go until taking
             // up the line again is safe
    Hold,    // holds the button from the first frame on
    Slack,   // never holds
    Dither,  // holds and lets go on alternate frames
};

struct Cast {
    s32 x = BAIT_START_X;    // where to cast from (walked to with the right button)
    s32 depth = 0;           // where to stop the gauge (0: no click)
    s32 reel_in_after = -1;  // phase 1 frames before the right button reels in; -1 waits
    s32 rebait = -1;         // bait entry to choose by the bait button before this cast
    bool rod_button = false; // clicks the rod button first
};

struct Plan {
    s32 rod = 0, bait = 0; // chooser entries taken at the start
    std::vector<Cast> casts;
    bool cast_forever = false; // repeats the last cast until the game ends
    Fight fight = Fight::Careful;
    s32 tension_cap = 120; // careful: lets go above this tension (120: the line never strains)
    s32 pull_cap = 150;    // or above this pull
    bool release_on_landing = true;
    bool quit_elsewhere = false; // clicks the quit button in the rod chooser and in phase 1 too
    u32 advance_ms = 0;          // the player idles this long at the first ready frame
};

// What the angler saw.
struct Seen {
    std::vector<s32> line_frames_to_bite; // phase 1 frames before each bite
    std::vector<s32> hooked;              // the kind that will bite, per cast
    std::vector<s32> hook_x;              // the hook point of each cast
    s32 picture_frames = 0;
    s32 loss_frames = 0;
    s32 fight_max_t = 0;
    s32 ready_frames_after_landing = 0;
    s32 phase_after_chooser_quit = 99;
    s32 phase_after_line_quit = 99;
    s32 music_in_play = -1;
    s32 kept_in_play = -1;
};

// A fight to lose: where, how, with what skill and where the game runs, the outcome, the line
// its frames show and what it pays into skill 19's pool.
struct LossCase {
    Cast where;
    Fight fight;
    s32 skill, area, outcome, text, pays;
};

class BaitCatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        arc_put_placeholder_content(archive);
        world_put_tracks(archive, {BAIT_MUSIC, MUSIC_BEFORE}, 1000);
        world_start(archive, harness_settings());
        game_tables_init();
        game_new_world();
        dialog_transcript_mode();
        player_record.music_id = MUSIC_BEFORE;
        mssw_play_music(MUSIC_BEFORE, 0);
        world_state.hour = 8;
        world_state.minute = 0;
        hub_block.calendar_turn = 3;
        player_record.area = AREA_HUB;
        player_record.stamina = 500;
        for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
        rand_script.clear();
        filler = 0;
        filler_draws = draws = last_n = 0;
        bait_rand = scripted_rand;
        bait_state = BaitState{};
    }
    void TearDown() override {
        harness_on_present(nullptr);
        bait_rand = rand_below;
        dialog_driver_stop();
        world_stop();
    }
    virtual HarnessConfig harness_settings() const { return {}; }

    void lose_by(const LossCase& c);

    // A fresh angler with this plan and nothing seen yet.
    void play(const Plan& p) {
        plan = p;
        seen = Seen{};
        next_cast = line_frames = walk_frames = walked_x = final_clicks = 0;
        walking = walked = rebaited = rod_clicked = false;
        gauge_clicked = bite_noted = left_held = advanced = false;
        quit_clicked = chooser_quit = line_quit = false;
        harness_on_present([this](const u16*, u64) { on_present(); });
    }

    void on_present() {
        const BaitState& s = bait_state;
        if (s.screen == BaitScreen::Picture) ++seen.picture_frames;
        if (s.screen == BaitScreen::Loss) {
            ++seen.loss_frames;
            if (record_loss) dialog_record_draws(true);
        }
        if (s.screen == BaitScreen::Bite && !bite_noted) {
            seen.line_frames_to_bite.push_back(line_frames);
            bite_noted = true;
        }
        if (s.phase == BAIT_PLAYING) seen.fight_max_t = std::max(seen.fight_max_t, s.t);
        if (s.phase == BAIT_READY && s.screen == BaitScreen::Play && s.landed > 0)
            ++seen.ready_frames_after_landing;
        if (s.screen == BaitScreen::Play && s.phase == BAIT_READY) {
            seen.music_in_play = mssw_music_id;
            seen.kept_in_play = player_record.music_id;
        }
        if (harness_pending_input() != 0) return;
        switch (s.screen) {
        case BaitScreen::Final:
            // A left click does not end the final screen; the right button does.
            if (final_clicks < 2) harness_click(320, 240, ++final_clicks);
            return;
        case BaitScreen::Picture:
            harness_click(320, 240);
            return;
        case BaitScreen::Gauge:
            if (!gauge_clicked && cast().depth > 0 && s.gauge_step == cast().depth - 1) {
                harness_click(320, 240);
                gauge_clicked = true;
            }
            return;
        case BaitScreen::Play:
            play_frame(s);
            return;
        default:
            return;
        }
    }

    const Cast& cast() const {
        static const Cast none;
        if (plan.casts.empty()) return none;
        return plan.casts[size_t(std::clamp(next_cast - 1, 0, s32(plan.casts.size()) - 1))];
    }
    const Cast* upcoming() const {
        if (next_cast < s32(plan.casts.size())) return &plan.casts[size_t(next_cast)];
        if (plan.cast_forever && !plan.casts.empty()) return &plan.casts.back();
        return nullptr;
    }

    void play_frame(const BaitState& s) {
        switch (s.phase) {
        case BAIT_CHOOSE_ROD:
            if (plan.quit_elsewhere && !chooser_quit) {
                harness_click(QUIT_X, QUIT_Y);
                chooser_quit = true;
                return;
            }
            if (chooser_quit && seen.phase_after_chooser_quit == 99)
                seen.phase_after_chooser_quit = s.phase;
            if (s.rod_count > 1) harness_click(chooser_x(plan.rod), CHOOSER_Y);
            return;
        case BAIT_CHOOSE_BAIT: {
            if (s.bait_count < 2) return;
            const Cast* c = upcoming();
            const s32 entry = c && c->rebait >= 0 && rebaited ? c->rebait : plan.bait;
            harness_click(chooser_x(entry), CHOOSER_Y);
            return;
        }
        case BAIT_READY:
            ready(s);
            return;
        case BAIT_LINE_OUT:
            line_out(s);
            return;
        case BAIT_PLAYING:
            fight(s);
            return;
        default:
            return;
        }
    }

    void ready(const BaitState& s) {
        if (left_held) {
            harness_button_up(1);
            left_held = false;
            return;
        }
        if (plan.advance_ms != 0 && !advanced) {
            harness_advance(plan.advance_ms);
            advanced = true;
        }
        const Cast* c = upcoming();
        if (walking) {
            const bool stuck = walk_frames++ > 1 && s.player_x == walked_x;
            walked_x = s.player_x;
            if (s.player_x == c->x || stuck) {
                harness_button_up(2);
                walking = false;
                walked = true;
            }
            return;
        }
        if (!c) {
            if (!quit_clicked) {
                dialog_record_draws(record_end);
                harness_click(QUIT_X, QUIT_Y);
                quit_clicked = true;
            }
            return;
        }
        if (c->rod_button && !rod_clicked) {
            harness_click(ROD_BUTTON_X, ROD_BUTTON_Y);
            rod_clicked = true;
            return;
        }
        if (c->rebait >= 0 && !rebaited) {
            harness_click(BAIT_BUTTON_X, BAIT_BUTTON_Y);
            rebaited = true;
            return;
        }
        if (!walked && s.player_x != c->x) {
            harness_move(c->x, 300);
            harness_button_down(2);
            walking = true;
            walk_frames = 0;
            walked_x = s.player_x;
            return;
        }
        ++next_cast;
        walked = rebaited = rod_clicked = false;
        gauge_clicked = bite_noted = line_quit = false;
        line_frames = 0;
        harness_click(CAST_X, CAST_Y);
    }

    void line_out(const BaitState& s) {
        if (line_frames == 0) {
            seen.hooked.push_back(s.hooked);
            seen.hook_x.push_back(s.hook_x);
        }
        ++line_frames;
        if (plan.quit_elsewhere && !line_quit) {
            if (line_frames == 1) {
                harness_click(QUIT_X, QUIT_Y);
                return;
            }
            line_quit = true;
            seen.phase_after_line_quit = s.phase;
        }
        if (cast().reel_in_after >= 0 && line_frames > cast().reel_in_after)
            harness_click(320, 240, 2);
    }

    void press(bool down) {
        if (down)
            harness_button_down(1);
        else
            harness_button_up(1);
        left_held = down;
    }

    void fight(const BaitState& s) {
        if (record_landing && s.y < 41) dialog_record_draws(true);
        switch (plan.fight) {
        case Fight::Careful:
            if (s.held && left_held) {
                if (s.y < 41) {
                    if (plan.release_on_landing) press(false);
                } else if (s.tension > plan.tension_cap || s.pull > plan.pull_cap) {
                    press(false);
                }
            } else if (!s.held && !left_held &&
                       (!s.switched || s.slack_b >= s.slack_a + s.strength / 40)) {
                press(true);
            }
            return;
        case Fight::Hold:
            if (!left_held) press(true);
            return;
        case Fight::Slack:
            return;
        case Fight::Dither:
            press(!left_held);
            return;
        }
    }

    static void expect_growth(const PlayerRecord& want) {
        ::expect_growth(want, {BAIT_SKILL, BAIT_ATTR});
    }
    static bool printed(s32 text, s32 x, s32 y) {
        for (const TranscriptEntry& e : dialog_transcript())
            if (e.kind == TRANSCRIPT_PRINT && e.text[0] == text && e.x == x && e.y == y)
                return true;
        return false;
    }
    // Every picture drawn so far is in the archive.
    void expect_drawn_images_exist() const {
        for (const TranscriptEntry& e : dialog_draws()) {
            u32 key = u32(ARC_IMAGE_BASE + e.id);
            const auto alias = archive.aliases().find(key);
            if (alias != archive.aliases().end()) key = alias->second;
            EXPECT_EQ(archive.entries().count(key), 1u) << "image " << e.id;
        }
    }

    ArcBuilder archive;
    Plan plan;
    Seen seen;
    bool record_end = false, record_landing = false, record_loss = false;
    s32 next_cast = 0, line_frames = 0, walk_frames = 0, walked_x = 0, final_clicks = 0;
    bool walking = false, walked = false, rebaited = false, rod_clicked = false;
    bool gauge_clicked = false, bite_noted = false, left_held = false, advanced = false;
    bool quit_clicked = false, chooser_quit = false, line_quit = false;
    HarnessTempDir dir;
};

// Presents that step the clock by 80 ms: a whole game is about 3,800 frames instead of 12,000.
class BaitCatchLongTest : public BaitCatchTest {
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.present_step_ms = 80;
        return c;
    }
};

// A short virtual-time budget: a game that hangs fails at once.
class BaitCatchShortTest : public BaitCatchTest {
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.budget_ms = 20000;
        return c;
    }
};

// Casts into zone 0 (kind 2), zone 3 (kind 6) and zone 6 (kind 5).
constexpr Cast ZONE0{180, 15};
constexpr Cast ZONE3{240, 3};
constexpr Cast ZONE6{364, 8};

// ---- Rules ----------------------------------------------------------------------------------

TEST(BaitCatchRules, HookPointFollowsBankProfileAndLedge) {
    struct Case {
        s32 player_x, depth, y;
    };
    const Case cases[] = {
        {180, 15, 183},                                 // column 1 (bottom 172): 224 - 52 x 15 / 19
        {168, 0, 224},  {168, 20, 187}, {175, 19, 188}, // column 0 ends at its bottom
        {438, 20, 93},  {438, 19, 99},                  // column 17, past its bottom at 20
        {240, 5, 202},                                  // column 5: no ledge
        {256, 1, 220},                                  // column 6: below the ledge already
        {256, 2, 217}, // 216 lies in the ledge: below its split, so it settles on 217
        {271, 4, 217}, // 207
        {260, 5, 187}, // 202 lies above the split: 187
        {260, 8, 187}, // 189
        {260, 9, 185}, // above the ledge
    };
    for (const Case& c : cases) {
        s32 x = 0, y = 0;
        bait_hook_point(c.player_x, c.depth, &x, &y);
        EXPECT_EQ(x, c.player_x);
        EXPECT_EQ(y, c.y) << c.player_x << " depth " << c.depth;
    }
}

TEST(BaitCatchRules, ZonesAndKindsBySkillBaitAndVariant) {
    struct Where {
        s32 x, y, zone;
    };
    const Where points[] = {
        {173, 143, 0}, {212, 189, 0},  {172, 150, -1}, {213, 150, -1}, {182, 204, 1},
        {223, 245, 1}, {242, 164, 2},  {270, 185, 2},  {234, 198, 3},  {266, 228, 3},
        {278, 140, 4}, {337, 197, 4},  {349, 74, 5},   {445, 131, 5},  {363, 149, 6},
        {416, 202, 6}, {320, 224, -1}, {300, 139, -1}, {430, 140, -1},
    };
    for (const Where& w : points) EXPECT_EQ(bait_zone_at(w.x, w.y), w.zone) << w.x << "," << w.y;

    struct Case {
        s32 zone, skill, bait, variant, kind;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 2},
        {5, 0, 0, 0, 2},
        {1, 59, 0, 0, -1},
        {1, 60, 0, 0, 0},
        {2, 0, 0, 0, 6},
        {3, 0, 4, 0, 6},
        {4, 20, 1, 0, 4},
        {4, 19, 1, 0, -1},
        {4, 90, 0, 0, -1},
        {6, 0, 0, 0, 5},
        {-1, 99, 1, 0, -1},
        // Item 1880 as bait draws kind 3 in any zone of the variant 9 game, and only there.
        {1, 0, 9, 9, 3},
        {6, 0, 9, 9, 3},
        {-1, 0, 9, 9, -1},
        {0, 0, 0, 9, 2},
        {4, 20, 1, 9, 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bait_kind_for(c.zone, c.skill, c.bait, c.variant), c.kind)
            << "zone " << c.zone << " skill " << c.skill << " bait " << c.bait;
    EXPECT_EQ(bait_line_strength(0), 100);
    EXPECT_EQ(bait_line_strength(8), 420);
}

// ---- Games ------------------------------------------------------------------------------------

// With nothing the game can use the choosers would have nothing to click: the game returns at
// once and changes nothing. The callers' ranges reach items 2239 and 2249, which the game does
// not take.
TEST_F(BaitCatchShortTest, NoRodOrNoBaitReturnsAtOnce) {
    struct Case {
        std::vector<std::pair<s32, s32>> items;
        s32 kind;
    };
    const Case cases[] = {
        {{{2240, 5}}, 0},
        {{{2230, 1}}, 0},
        {{{2239, 1}, {2240, 5}}, 0},
        {{{2230, 1}, {2249, 5}}, 0},
        {{{2230, 1}, {1880, 5}}, 0}, // item 1880 is a bait only in the variant 9 game
    };
    for (const Case& c : cases) {
        for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
        for (const auto& [item, count] : c.items) inv_add(item, count);
        const PlayerRecord before = player_record;
        const u64 presents = harness_presents();
        const s32 minutes = clock_minutes();
        game_bait_catch(c.kind);
        EXPECT_EQ(bait_state.end, BAIT_END_NOTHING);
        EXPECT_EQ(harness_presents(), presents);
        EXPECT_EQ(clock_minutes(), minutes);
        EXPECT_EQ(player_record.stamina, before.stamina);
        EXPECT_EQ(mssw_music_id, MUSIC_BEFORE);
        for (const auto& [item, count] : c.items) EXPECT_EQ(inv_count(item), count);
    }
}

// A countdown drawn as 0 bites at its first step, as does 1; 3 bites at the third.
TEST_F(BaitCatchTest, BiteComesWhenTheCountdownRunsOut) {
    for (const s32 drawn : {0, 1, 3}) {
        SCOPED_TRACE(drawn);
        for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
        inv_add(2230, 1);
        inv_add(2240, 5);
        rand_script = {drawn};
        Cast c = ZONE0;
        c.reel_in_after = 5; // the faulty countdown never bites: reel in and stop
        Plan p;
        p.casts = {c};
        p.fight = Fight::Slack;
        play(p);
        game_bait_catch(0);

        ASSERT_EQ(seen.hooked, std::vector<s32>{2});
        EXPECT_EQ(seen.line_frames_to_bite, std::vector<s32>{std::max(drawn, 1)});
        EXPECT_EQ(bait_state.lost, 1); // let go: it got away
        EXPECT_EQ(bait_state.last_outcome, BAIT_GOT_AWAY);
        EXPECT_EQ(inv_count(2240), 4);
    }
}

// The outcomes of a fight by scripted draws (all 0): the held line strains until it breaks, or
// with a strong hand until the tension lets the catch get away; a slack line lets it swim off;
// letting go on every other frame keeps it until the fight runs too long. Each costs a bait and
// pays skill 19 by the fight's length and the catch's value.
void BaitCatchTest::lose_by(const LossCase& c) {
    for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
    inv_add(2230, 1);
    inv_add(2244, 3);
    growth_value(BAIT_SKILL) = c.skill;
    player_record.area = c.area;
    Plan p;
    p.casts = {c.where};
    p.fight = c.fight;
    play(p);
    const PlayerRecord want = grown_by({{BAIT_SKILL, c.pays}});
    dialog_transcript_clear();
    dialog_record_draws(false);
    record_loss = true;
    game_bait_catch(0);

    const BaitState& s = bait_state;
    EXPECT_EQ(s.lost, 1);
    EXPECT_EQ(s.landed, 0);
    EXPECT_EQ(s.last_outcome, c.outcome);
    const s32 v = s.fight_seconds / 3 + 1 + BAIT_KIND_TABLE[s.hooked].value / 10;
    EXPECT_EQ(last_n, c.area == AREA_HUB ? 2 * v : v);
    expect_growth(want);
    EXPECT_EQ(seen.loss_frames, BAIT_LOSS_FRAMES);
    EXPECT_EQ(inv_count(2244), 2);
    EXPECT_EQ(s.score, 0);
    EXPECT_FALSE(known_has(BAIT_SKILL, BAIT_KNOWN_FIRST + s.hooked));
    EXPECT_EQ(s.end, BAIT_END_QUIT);
    EXPECT_TRUE(printed(c.text, 88, 342));
}

TEST_F(BaitCatchTest, LostCatchesByOutcome) {
    const LossCase cases[] = {
        {ZONE3, Fight::Hold, 0, AREA_HUB, BAIT_LINE_BROKE, 10418, 40},
        {ZONE3, Fight::Hold, 100, 1, BAIT_GOT_AWAY, 10419, 10},
        {ZONE0, Fight::Slack, 0, AREA_HUB, BAIT_GOT_AWAY, 10419, 40},
    };
    for (const LossCase& c : cases) {
        SCOPED_TRACE(c.text);
        lose_by(c);
    }
}

TEST_F(BaitCatchLongTest, FightRunningTooLongIsLost) {
    lose_by({ZONE0, Fight::Dither, 0, 1, BAIT_TOO_LONG, 10420, 10});
    EXPECT_EQ(bait_state.fight_seconds, 51);
}

// The lost catch's frames say why, and every picture of a game - choosers, gauge, cast, bite,
// fight and loss - is in the placeholder archive.
TEST_F(BaitCatchTest, LossFramesSayWhyAndEveryPictureIsThere) {
    inv_add(2230, 1);
    inv_add(2232, 1);
    inv_add(2240, 2);
    inv_add(2241, 2);
    dialog_record_draws(true);
    Plan p;
    p.rod = 1;
    p.bait = 1;
    p.casts = {ZONE3};
    p.fight = Fight::Hold;
    play(p);
    game_bait_catch(0);

    EXPECT_EQ(bait_state.last_outcome, BAIT_LINE_BROKE);
    EXPECT_EQ(bait_state.rods[bait_state.rod], 2);
    EXPECT_TRUE(printed(10418, 88, 342));
    EXPECT_TRUE(printed(10692, 88, 342)); // the choosers' prompts
    EXPECT_TRUE(printed(10693, 88, 342));
    EXPECT_TRUE(printed(7232, 350, 181)); // the second rod's name in the chooser
    expect_drawn_images_exist();
    const std::vector<s32> ids = transcript_ids(TRANSCRIPT_DRAW);
    for (const s32 id : {25152, 25131, 25100, 25101, 25109, 25113, 25118, 25121, 25122, 25126,
                         25129, 25464, 25461})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
}

// Landed: score, skill 19 by the value (four times at the hub) and attribute 27 at once, the
// item and known entry after the game. The catch's picture shows until a button is down - and
// not at all while the left button that reeled the catch in is still held.
TEST_F(BaitCatchTest, LandedCatchPaysAndShowsItsPicture) {
    struct Case {
        bool release;
        s32 area, skill_pays;
    };
    for (const Case c : {Case{true, AREA_HUB, 120}, Case{false, 1, 30}}) {
        SCOPED_TRACE(c.release);
        for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
        inv_add(2230, 1);
        inv_add(2240, 4);
        player_record.area = c.area;
        Plan p;
        p.casts = {ZONE6};
        p.release_on_landing = c.release;
        play(p);
        const PlayerRecord want = grown_by({{BAIT_SKILL, c.skill_pays}, {BAIT_ATTR, 20}});
        dialog_transcript_clear();
        dialog_record_draws(true);
        game_bait_catch(0);

        const BaitState& s = bait_state;
        EXPECT_EQ(s.landed, 1);
        EXPECT_EQ(s.lost, 0);
        EXPECT_EQ(s.catches[5], 1);
        EXPECT_EQ(s.score, 30);
        expect_growth(want);
        EXPECT_EQ(inv_count(1845), 1);
        EXPECT_TRUE(known_has(BAIT_SKILL, 55));
        EXPECT_EQ(inv_count(2240), 3);
        EXPECT_TRUE(printed(6845, 100, 7)); // the catch's name in the status
        // The cast's swing and splash and the landing, each played once.
        EXPECT_EQ(transcript_effects(550), played_once(550, 1));
        EXPECT_EQ(transcript_effects(551), played_once(551, 1));
        EXPECT_EQ(transcript_effects(553), played_once(553, 1));
        const std::vector<s32> ids = transcript_ids(TRANSCRIPT_DRAW);
        const auto pictures = std::count(ids.begin(), ids.end(), 25457);
        if (c.release) {
            EXPECT_GT(seen.picture_frames, 0);
            EXPECT_GT(pictures, 0);
        } else {
            EXPECT_EQ(seen.picture_frames, 0);
            EXPECT_EQ(pictures, 0);
        }
        expect_drawn_images_exist();
    }
}

// Reeling in with the right button spends nothing, and a cast outside every zone draws no bite
// at all. The walk stops at the bank's ends; the quit button does nothing in the rod chooser or
// while the line is out, and ends the game from the ready phase.
TEST_F(BaitCatchTest, ReelInSpendsNothingAndQuitWorksOnlyWhenReady) {
    inv_add(2230, 1);
    inv_add(2233, 1);
    inv_add(2240, 3);
    const s32 minutes = clock_minutes();
    record_end = true;
    Cast left{100, 0, 520}; // longer than any countdown
    Cast right{600, 0, 3};
    Plan p;
    p.rod = 1;
    p.casts = {left, right};
    p.quit_elsewhere = true;
    play(p);
    game_bait_catch(0);

    const BaitState& s = bait_state;
    EXPECT_EQ(seen.hook_x, (std::vector<s32>{168, 438}));
    EXPECT_EQ(seen.hooked, (std::vector<s32>{-1, -1}));
    EXPECT_TRUE(seen.line_frames_to_bite.empty());
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(seen.phase_after_chooser_quit, BAIT_CHOOSE_ROD);
    EXPECT_EQ(seen.phase_after_line_quit, BAIT_LINE_OUT);
    EXPECT_EQ(s.end, BAIT_END_QUIT);
    EXPECT_EQ(s.bait_count, 1);
    EXPECT_EQ(s.baits[0].count, 3);
    EXPECT_EQ(inv_count(2240), 3);
    EXPECT_EQ(s.rods[s.rod], 3);
    EXPECT_TRUE(printed(10969, 88, 342));
    EXPECT_EQ(clock_minutes(), minutes + 15);
    EXPECT_EQ(player_record.stamina, 400);
}

// The variant 9 game offers item 1880 as bait kind 9, which draws kind 3 anywhere; the bait
// button changes the bait, the rod button does nothing with one rod. The plain game leaves 1880
// out.
TEST_F(BaitCatchTest, VariantNineOffersItsOwnBait) {
    inv_add(2230, 1);
    inv_add(2241, 2);
    inv_add(1880, 2);
    growth_value(BAIT_SKILL) = 20;
    Cast first = ZONE0;
    first.reel_in_after = 3;
    Cast second{300, 10, 3};
    second.rebait = 0;
    second.rod_button = true;
    rand_script = {400, 400}; // both bites come after the reel-in
    Plan p;
    p.bait = 1;
    p.casts = {first, second};
    play(p);
    game_bait_catch(9);

    const BaitState& s = bait_state;
    EXPECT_EQ(seen.hooked, (std::vector<s32>{3, 4}));
    ASSERT_EQ(s.bait_count, 2);
    EXPECT_EQ(s.baits[0].kind, 1);
    EXPECT_EQ(s.baits[1].kind, BAIT_EXTRA_KIND);
    EXPECT_EQ(s.baits[1].count, 2);
    EXPECT_EQ(s.bait, 0);
    EXPECT_EQ(inv_count(1880), 2);

    play(Plan{});
    game_bait_catch(0);
    ASSERT_EQ(bait_state.bait_count, 1);
    EXPECT_EQ(bait_state.baits[0].kind, 1);
}

// The last bait spent ends the game at once with its own line; the clock rule follows the
// calendar turn.
TEST_F(BaitCatchTest, LastBaitEndsTheGame) {
    inv_add(2230, 1);
    inv_add(2242, 1);
    hub_block.calendar_turn = 235;
    player_record.stamina = 60;
    const s32 minutes = clock_minutes();
    record_landing = true;
    Plan p;
    p.casts = {ZONE0};
    p.cast_forever = true;
    play(p);
    game_bait_catch(0);

    const BaitState& s = bait_state;
    EXPECT_EQ(s.end, BAIT_END_NO_BAIT);
    EXPECT_EQ(s.landed, 1);
    EXPECT_EQ(s.bait_count, 0);
    EXPECT_EQ(inv_count(2242), 0);
    EXPECT_EQ(inv_count(1842), 1);
    EXPECT_EQ(next_cast, 1);
    EXPECT_TRUE(printed(11511, 88, 342));
    EXPECT_FALSE(printed(10969, 88, 342));
    EXPECT_EQ(clock_minutes(), minutes + 60);
    EXPECT_EQ(player_record.stamina, 0);
}

// When the time runs out during a fight the fight is played out; the game ends in the next
// ready frame.
TEST_F(BaitCatchTest, TimeRunningOutWaitsForTheFight) {
    inv_add(2230, 1);
    inv_add(2240, 5);
    Plan p;
    p.casts = {ZONE0};
    p.cast_forever = true;
    p.advance_ms = 296000; // the player stands idle until four seconds before the end
    play(p);
    game_bait_catch(0);

    const BaitState& s = bait_state;
    EXPECT_EQ(s.end, BAIT_END_TIME);
    EXPECT_EQ(s.landed, 1);
    EXPECT_GT(seen.fight_max_t, BAIT_LAST_STEP);
    EXPECT_EQ(seen.ready_frames_after_landing, 1);
    EXPECT_EQ(inv_count(1842), 1);
    EXPECT_EQ(inv_count(2240), 4);
    EXPECT_EQ(final_clicks, 2);
}

// A whole game by real input on the game's own draws: two rods and two baits chosen, the walk
// to the cast point, a cast at depth 15 each time, careful fights, until the time runs out.
TEST_F(BaitCatchLongTest, WholeGameByRealInput) {
    bait_rand = rand_below;
    inv_add(2231, 1);
    inv_add(2234, 1);
    inv_add(2240, 40);
    inv_add(2243, 3);
    const s32 stamina = player_record.stamina;
    const s32 minutes = clock_minutes();
    const PlayerRecord start = player_record;
    Plan p;
    p.rod = 1;
    p.bait = 0;
    p.casts = {ZONE0};
    p.cast_forever = true;
    p.tension_cap = 200;
    play(p);
    game_bait_catch(0);

    const BaitState& s = bait_state;
    EXPECT_EQ(s.end, BAIT_END_TIME);
    EXPECT_GE(harness_elapsed_ms(), 303000u);
    EXPECT_GT(s.frames, 3000);
    EXPECT_GE(s.landed, 3);
    EXPECT_EQ(s.lost, 0);
    EXPECT_EQ(s.catches[2], s.landed);
    EXPECT_EQ(s.score, 30 * s.landed);
    EXPECT_EQ(s.rods[s.rod], 4);
    EXPECT_EQ(inv_count(1842), s.landed);
    EXPECT_TRUE(known_has(BAIT_SKILL, 52));
    EXPECT_EQ(inv_count(2240), 40 - s.landed);
    EXPECT_EQ(inv_count(2243), 3);
    EXPECT_EQ(player_record.stamina, stamina - 100);
    EXPECT_EQ(clock_minutes(), minutes + 15);

    // Skill 19 and attribute 27 paid once per catch, at the hub's rate.
    std::vector<std::pair<s32, s32>> pays;
    for (s32 i = 0; i < s.landed; ++i)
        pays.insert(pays.end(), {{BAIT_SKILL, 120}, {BAIT_ATTR, 20}});
    const PlayerRecord after = player_record;
    player_record = start;
    const PlayerRecord want = grown_by(pays);
    player_record = after;
    expect_growth(want);

    // Every cast swings and splashes once, every landing sounds once.
    const std::vector<Effect> swings = transcript_effects(550);
    EXPECT_GE(s32(swings.size()), s.landed);
    EXPECT_EQ(swings, played_once(550, s32(swings.size())));
    EXPECT_EQ(transcript_effects(551), played_once(551, s32(swings.size())));
    EXPECT_EQ(transcript_effects(553), played_once(553, s.landed));

    EXPECT_EQ(seen.music_in_play, BAIT_MUSIC);
    EXPECT_EQ(seen.kept_in_play, MUSIC_BEFORE);
    EXPECT_EQ(player_record.music_id, MUSIC_BEFORE);
    const std::vector<s32> music = transcript_ids(TRANSCRIPT_MUSIC);
    ASSERT_GE(music.size(), 2u);
    EXPECT_EQ(music[music.size() - 2], BAIT_MUSIC);
    EXPECT_EQ(music.back(), MUSIC_BEFORE);
    EXPECT_EQ(final_clicks, 2); // the left click did not end the final screen
}

} // namespace
