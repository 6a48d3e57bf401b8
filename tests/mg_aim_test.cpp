// The aiming games, played headless by real input: at each present the test reads the game's
// own state (the tools listed, the targets with their places, the main target's spots, the shot)
// and clicks, quits or presses the right button; the game's random draws come from scripts kept
// per purpose, so that exact targets appear where a case needs them.
#include "minigames/aim.h"

#include "data/hub_block.h"
#include "engine/image.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/transcript.h"
#include "engine/world_state.h"
#include "game/game_start.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/mg_checks.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

constexpr s32 MUSIC_BEFORE = 10050;
constexpr s32 AIM_MUSIC = 10018;

// Scripted answers per purpose. Unscripted draws answer so that nothing happens: no place, no
// new comment, the first spot or point; the main target's place by chance (a duel needs a new
// one at each appearance). A place roll left unscripted over and over means the script ran out
// while the game needs a place: the test fails instead of hanging.
std::map<AimDraw, std::deque<s32>> script;
s32 idle_place_rolls = 0;
s32 scripted(s32 n) {
    const AimDraw what = aim_state.drawing;
    std::deque<s32>& q = script[what];
    if (!q.empty()) {
        const s32 v = q.front();
        q.pop_front();
        if (what == AimDraw::PlaceRoll) idle_place_rolls = 0;
        return v;
    }
    switch (what) {
    case AimDraw::PlaceRoll:
        if (++idle_place_rolls > 1000) throw std::runtime_error("place script ran out");
        return 9;
    case AimDraw::MainPlace:
        return rand_below(n);
    case AimDraw::Spot:
        return rand_below(n);
    default:
        return 0;
    }
}
void push(AimDraw what, std::initializer_list<s32> values) {
    script[what].insert(script[what].end(), values);
}
// Place 4..9 with the kind draw that follows (0..2 kind 5, 3..6 kind 0, 7..9 kind 1).
void push_lower(s32 place, s32 kind_draw) {
    push(AimDraw::PlaceRoll, {0});
    push(AimDraw::PlaceSide, {0});
    push(AimDraw::PlaceLower, {place - 4});
    push(AimDraw::Kind, {kind_draw});
}

void inventory_clear() {
    for (InventoryEntry& e : player_record.inventory) e = {-1, 0};
}

struct Point {
    s32 x, y;
};

// Where a shot hits the target in slot t: its point, the board's stage box, or the middle of the
// main target's first open spot (held inside the field); nothing when it would not live long
// enough for the shot to land.
std::optional<Point> aim_point(const AimSlot& t) {
    if (t.kind < 0) return std::nullopt;
    Point p{t.x, t.y};
    if (t.main) {
        s32 open = -1;
        for (s32 i = AIM_SPOTS - 1; i >= 0; --i)
            if (!aim_state.spot_hit[i]) open = i;
        if (open < 0) return std::nullopt;
        const s32 sx = aim_corner_x(t) + AIM_SPOT_X[aim_state.spot[open]];
        const s32 sy = aim_corner_y(t) + AIM_SPOT_Y[aim_state.spot[open]];
        p = {sx + 13, std::clamp(sy + 13, std::max(sy, AIM_FIELD_BOX.y0),
                                 std::min(sy + AIM_SPOT_SIZE, AIM_FIELD_BOX.y1))};
    } else if (t.kind == AIM_BOARD) {
        const FrameBox& b = AIM_BOARD_BOXES[aim_state.stage - 1];
        p = {(b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2};
    }
    if (t.life < aim_flight_frames(p.y) + 1) return std::nullopt;
    return p;
}

class AimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        world_put_tracks(b, {AIM_MUSIC, MUSIC_BEFORE}, 1000);
        world_start(b);
        game_tables_init();
        game_new_world();
        dialog_transcript_mode();
        player_record.music_id = MUSIC_BEFORE;
        mssw_play_music(MUSIC_BEFORE, 0);
        world_state.hour = 8;
        world_state.minute = 0;
        player_record.stamina = 500;
        player_record.area = 1;
        growth_value(AIM_SKILL) = 55; // damage 5 (tool + 1) + 11; pools below any level step
        growth_pool(AIM_SKILL) = 0;
        growth_value(AIM_ATTR) = 50;
        growth_pool(AIM_ATTR) = 0;
        inventory_clear();
        script.clear();
        idle_place_rolls = 0;
        aim_rand = scripted;
        aim_state = AimState{};
        tool_index = 0;
        tool_clicked = right_pressed = quit_clicked = false;
        final_left_clicks = 0;
        click_frame = -1;
        presents_in.clear();
        cursor_seen.clear();
    }
    // A fresh start for the next case of a table.
    void restart() {
        TearDown();
        SetUp();
    }
    void TearDown() override {
        harness_on_present(nullptr);
        aim_rand = rand_below;
        dialog_driver_stop();
        world_stop();
    }

    // Gives the tools (items) and the ammunition.
    static void hold(std::initializer_list<s32> tools, s32 ammo) {
        for (const s32 t : tools) inv_add(t, 1);
        inv_add(AIM_AMMO, ammo);
    }

    // The player: clicks tool `tool_index` of the list, calls `play` at every present of a play
    // frame, and ends the final screen with the right button after `final_left_clicks` left
    // clicks there (one per present).
    void drive(std::function<void(const AimState&)> play) {
        harness_on_present([this, play](const u16*, u64) {
            const AimState& s = aim_state;
            ++presents_in[s.phase];
            cursor_seen[s.phase] = s32(world_state.cursor_id);
            if (s.phase == AimPhase::Choosing) {
                if (!tool_clicked) harness_click(380 - 20 * tool_index, 228);
                tool_clicked = true;
            } else if (s.phase == AimPhase::Final) {
                if (final_left_clicks > 0) {
                    --final_left_clicks;
                    harness_click(300, 200, 1);
                } else if (!right_pressed) {
                    harness_click(300, 200, 2);
                    right_pressed = true;
                }
            } else if (s.phase == AimPhase::Playing) {
                play(s);
            }
        });
    }
    // A click on the field (or anywhere) taken by the next play frame.
    void click(s32 x, s32 y) {
        harness_click(x, y);
        click_frame = aim_state.frames;
    }
    bool click_pending() const { return aim_state.frames <= click_frame + 1 && click_frame >= 0; }
    void quit() {
        if (!quit_clicked) click(QUIT_BOX.x0 + 5, QUIT_BOX.y0 + 5);
        quit_clicked = true;
    }
    // Shoots at the first slot whose target `want` accepts, when no shot flies.
    void shoot(const AimState& s, const std::function<bool(const AimSlot&)>& want) {
        if (click_pending() || s.shot.frames_left > 0) return;
        for (s32 i = 0; i < s.slot_count; ++i) {
            const AimSlot& t = s.slot[i];
            if (t.kind < 0 || !want(t)) continue;
            if (const std::optional<Point> p = aim_point(t)) {
                click(p->x, p->y);
                return;
            }
        }
    }

    static std::vector<s32> played(s32 kind) {
        std::vector<s32> ids;
        for (const TranscriptEntry& e : dialog_transcript())
            if (e.kind == kind) ids.push_back(e.id);
        return ids;
    }
    static s32 count_of(const std::vector<s32>& ids, s32 id) {
        return s32(std::count(ids.begin(), ids.end(), id));
    }
    // Texts printed at (x, y) in order.
    static std::vector<s32> printed_at(s32 x, s32 y) {
        std::vector<s32> ids;
        for (const TranscriptEntry& e : dialog_transcript())
            if (e.kind == TRANSCRIPT_PRINT && e.x == x && e.y == y) ids.push_back(e.text[0]);
        return ids;
    }
    // Every picture drawn so far is in the archive (the placeholders cover the games).
    static void expect_pictures_present() {
        for (const TranscriptEntry& e : dialog_draws())
            EXPECT_NE(image_load(e.id), empty_image) << "image " << e.id;
    }
    static std::vector<TranscriptEntry> draws_of(s32 image) {
        std::vector<TranscriptEntry> out;
        for (const TranscriptEntry& e : dialog_draws())
            if (e.id == image) out.push_back(e);
        return out;
    }

    s32 tool_index = 0;
    bool tool_clicked = false, right_pressed = false, quit_clicked = false;
    s32 final_left_clicks = 0;
    s32 click_frame = -1;
    std::map<AimPhase, s32> presents_in;
    std::map<AimPhase, s32> cursor_seen;
    HarnessTempDir dir;
};

// Without a tool the tool choice would have nothing to click and no live way out, and without
// ammunition there is no shot count: both games return at once, changing nothing.
TEST_F(AimTest, NoToolOrNoAmmunitionReturnsAtOnce) {
    struct Case {
        std::vector<s32> items;
        const char* what;
    };
    const Case cases[] = {
        {{}, "nothing"},
        {{2211}, "a tool only"},
        {{2200}, "ammunition only"},
        {{2219, 2200}, "item 2219 is no tool"},
    };
    for (const Case& c : cases) {
        inventory_clear();
        for (const s32 item : c.items) inv_add(item, 3);
        player_record.turn_done = 7;
        const PlayerRecord before = player_record;
        const s32 minutes = clock_minutes();
        const u64 presents = harness_presents();
        dialog_transcript_clear();

        game_aim(0, -1, 2, 3, 20, 80);
        EXPECT_EQ(game_aim_target(102, -1, 1, 3, 0, 0), 0) << c.what;

        EXPECT_EQ(harness_presents(), presents) << c.what;
        EXPECT_TRUE(played(TRANSCRIPT_MUSIC).empty()) << c.what;
        EXPECT_EQ(clock_minutes(), minutes) << c.what;
        EXPECT_EQ(player_record.turn_done, 7) << c.what;
        EXPECT_EQ(player_record.stamina, before.stamina) << c.what;
        EXPECT_EQ(player_record.music_id, MUSIC_BEFORE) << c.what;
        for (s32 i = 0; i < 8; ++i)
            EXPECT_EQ(player_record.inventory[i].count, before.inventory[i].count) << c.what;
        EXPECT_EQ(growth_pool(AIM_SKILL), 0) << c.what;
    }
    // A duel without a main target kind would count as destroyed at once: it is not played.
    hold({2210}, 5);
    const u64 presents = harness_presents();
    EXPECT_EQ(game_aim_target(102, -1, 1, -1, 0, 0), 0);
    EXPECT_EQ(game_aim_target(102, -1, 1, AIM_KINDS, 0, 0), 0);
    EXPECT_EQ(harness_presents(), presents);
}

TEST_F(AimTest, FlightFramesAndClimbByHeight) {
    struct Case {
        s32 y, frames, step;
    };
    const Case cases[] = {{35, 5, 72},  {134, 5, 47}, {135, 4, 63}, {219, 4, 35},
                          {220, 3, 52}, {283, 3, 20}, {284, 2, 40}, {324, 2, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(aim_flight_frames(c.y), c.frames) << c.y;
        EXPECT_EQ(aim_flight_step(c.y), c.step) << c.y;
    }
}

// With no targets (a mode other than 0): a high shot lands four frames after the frame of its
// click, a low one in the next frame, a click during a flight is dropped, a click outside the
// field fires nothing; the quit button ends the game, and its final screen ignores left clicks
// until the right button comes. The quit pays nothing but the clock, the stamina and the score.
TEST_F(AimTest, ShotFlightDroppedClicksQuitAndFinalWait) {
    hold({2212}, 10);
    player_record.turn_done = 9;
    const s32 minutes = clock_minutes();
    struct Shot {
        s32 fired = -1, landed = -1;
    };
    std::vector<Shot> shots;
    s32 step = 0;
    final_left_clicks = 3;
    drive([&](const AimState& s) {
        if (s32(shots.size()) < s.shots) shots.push_back({s.frames, -1});
        if (!shots.empty() && shots.back().landed < 0 && s.landings == s32(shots.size()))
            shots.back().landed = s.frames;
        if (click_pending() || s.frames < 3) return;
        switch (step) {
        case 0: // a high shot
            click(300, 100);
            ++step;
            break;
        case 1: // a second click while it flies
            click(300, 200);
            ++step;
            break;
        case 2:
            if (s.shot.frames_left == 0) {
                click(300, 290); // a low shot
                ++step;
            }
            break;
        case 3:
            if (s.shot.frames_left == 0) {
                click(100, 100); // outside the field
                ++step;
            }
            break;
        default:
            quit();
        }
    });
    game_aim(5, -1, 2, 3, 30, 150);

    const AimState& s = aim_state;
    ASSERT_EQ(shots.size(), 2u);
    EXPECT_EQ(shots[0].landed - shots[0].fired, 4);
    EXPECT_EQ(shots[1].landed - shots[1].fired, 1);
    EXPECT_EQ(s.shots, 2);
    EXPECT_EQ(s.landings, 2);
    EXPECT_EQ(s.arrows, 8);
    EXPECT_EQ(inv_count(AIM_AMMO), 8);
    EXPECT_EQ(s.tool, 2);
    EXPECT_EQ(aim_shot_damage(), 15 + 11);
    EXPECT_EQ(s.end, AIM_END_QUIT);
    EXPECT_EQ(s.final_text, 10301);
    EXPECT_EQ(final_left_clicks, 0);
    EXPECT_GE(presents_in[AimPhase::Final], 4); // three left clicks ignored
    for (s32 i = 0; i < s.slot_count; ++i) EXPECT_EQ(s.slot[i].kind, -1);
    EXPECT_EQ(transcript_effects(548), played_once(548, 2));
    EXPECT_EQ(player_record.turn_done, 0);
    EXPECT_EQ(player_record.stamina, 400);
    EXPECT_EQ(clock_minutes(), minutes + 15);
    EXPECT_EQ(cursor_seen[AimPhase::Choosing], 1);
    EXPECT_EQ(cursor_seen[AimPhase::Playing], 1);
    EXPECT_EQ(s32(world_state.cursor_id), 0);
    EXPECT_EQ(player_record.music_id, MUSIC_BEFORE);
    const std::vector<s32> music = played(TRANSCRIPT_MUSIC);
    ASSERT_GE(music.size(), 2u);
    EXPECT_EQ(music[music.size() - 2], AIM_MUSIC);
    EXPECT_EQ(music.back(), MUSIC_BEFORE);
    EXPECT_EQ(s.phase, AimPhase::Done);
}

// The last shot ends the game in the frame it is fired: it never lands, so the target it was
// aimed at lives on; the final text says the ammunition ran out.
TEST_F(AimTest, LastShotNeverLands) {
    hold({2210}, 1);
    push_lower(4, 3); // a kind 0 target at place 4
    drive([&](const AimState& s) { shoot(s, [](const AimSlot&) { return true; }); });
    game_aim(0, -1, 1, 3, 30, 150);

    const AimState& s = aim_state;
    EXPECT_EQ(s.shots, 1);
    EXPECT_EQ(s.landings, 0);
    EXPECT_EQ(s.kills[0], 0);
    EXPECT_EQ(s.slot[0].kind, 0);
    EXPECT_EQ(s.arrows, 0);
    EXPECT_EQ(s.end, AIM_END_PLAY);
    EXPECT_EQ(s.final_text, 10302);
    EXPECT_EQ(inv_has(AIM_AMMO), 0);
    EXPECT_EQ(inv_count(1860), 0);
}

// A kind 0 target dies at the first hit (score, growth, the hit animation); a kind 5 survives a
// hit without animation, then escapes (its sounds, two seconds, the escape animation); kinds 0
// and 1 never escape. At the hub skill 18 earns four times the points.
TEST_F(AimTest, KillsSurvivorsAndEscapes) {
    for (const s32 area : {1, AREA_HUB}) {
        SCOPED_TRACE(area);
        restart();
        player_record.area = area;
        dialog_record_draws(true);
        hold({2210}, 50);
        push_lower(4, 3); // kind 0 at place 4
        push(AimDraw::PointX, {10});
        push(AimDraw::PointY, {5});
        push_lower(5, 0); // then kind 5 at place 5
        push_lower(7, 8); // then kind 1 at place 7, let go
        s32 kind5_shots = 0;
        s32 hp_after_hit = -1;
        drive([&](const AimState& s) {
            const AimSlot& t = s.slot[0];
            if (t.kind == 5 && kind5_shots == 1 && s.shot.frames_left == 0 && !click_pending())
                hp_after_hit = t.hp;
            if (t.kind == 1 && t.life < 3) quit();
            shoot(s, [&](const AimSlot& target) {
                if (target.kind == 5 && kind5_shots > 0) return false;
                if (target.kind == 5) ++kind5_shots;
                return target.kind != 1;
            });
        });
        game_aim(0, -1, 1, 3, 30, 150);

        const AimState& s = aim_state;
        EXPECT_EQ(s.kills[0], 1);
        EXPECT_EQ(s.kills[5], 0);
        EXPECT_EQ(hp_after_hit, 17 - 16);
        EXPECT_EQ(s.score, 3);
        EXPECT_EQ(s.penalty, 2);
        EXPECT_EQ(growth_pool(AIM_ATTR), 1);
        EXPECT_EQ(growth_pool(AIM_SKILL), area == AREA_HUB ? 12 : 3);
        EXPECT_EQ(presents_in[AimPhase::HitAnim], 3);    // the kill only
        EXPECT_EQ(presents_in[AimPhase::EscapeAnim], 3); // kind 5 only
        EXPECT_EQ(transcript_effects(547), played_once(547, 2));
        EXPECT_EQ(transcript_effects(530), played_once(530, 1));
        EXPECT_EQ(transcript_effects(535), played_once(535, 1));
        EXPECT_EQ(transcript_effects(545), played_once(545, 1));
        EXPECT_EQ(transcript_effects(549), played_once(549, 1));
        // The kill's hit frames at the hit anchor of kind 0 from its point (332, 166), and the
        // escape frames of kind 5 with its hit-point bar.
        for (s32 f = 0; f < 3; ++f) {
            const std::vector<TranscriptEntry> hit = draws_of(25034 + f);
            ASSERT_EQ(hit.size(), 1u);
            EXPECT_EQ(hit[0].x, 332 - 17);
            EXPECT_EQ(hit[0].y, 166 - 25);
            EXPECT_EQ(draws_of(25056 + f).size(), 1u);
            EXPECT_TRUE(draws_of(25059 + f).empty()); // the survivor shows no hit frames
        }
        EXPECT_EQ(draws_of(25079).size(), 3u); // the impact in each kill frame
        EXPECT_EQ(draws_of(25032).size(), 3u); // the escaping kind 5's bar
        // After the game: one item 1860, known entry 50 but not 52.
        EXPECT_EQ(inv_count(1860), 1);
        EXPECT_EQ(inv_count(1861), 0);
        EXPECT_EQ(known_has(AIM_KNOWN_LIST, 50), 1);
        EXPECT_EQ(known_has(AIM_KNOWN_LIST, 52), 0);
        EXPECT_EQ(player_record.turn_done, 3);
        expect_pictures_present();
    }
}

// The board climbs stages 1 -> 2 -> 3 while it is not hit, then escapes (sound 544, two
// seconds, pictures 25065..25067 where it stands); hit in stage 2 it pays 5 + 2.
TEST_F(AimTest, BoardStagesEscapeAndStageBonus) {
    dialog_record_draws(true);
    hold({2210}, 50);
    push(AimDraw::PlaceRoll, {0, 9, 0});
    push(AimDraw::PlaceSide, {8, 8});
    std::vector<s32> stages;
    drive([&](const AimState& s) {
        const AimSlot& t = s.slot[0];
        if (t.kind == AIM_BOARD && (stages.empty() || stages.back() != s.stage))
            stages.push_back(s.stage);
        if (s.kills[AIM_BOARD] == 1) quit();
        if (s.penalty > 0)
            shoot(s, [&](const AimSlot& b) { return b.kind == AIM_BOARD && s.stage == 2; });
    });
    game_aim(0, -1, 1, 3, 30, 150);

    const AimState& s = aim_state;
    EXPECT_EQ(stages, (std::vector<s32>{1, 2, 3, 1, 2}));
    EXPECT_EQ(s.penalty, 2);
    EXPECT_EQ(s.kills[AIM_BOARD], 1);
    EXPECT_EQ(s.score, 7);
    EXPECT_EQ(transcript_effects(544), played_once(544, 1));
    EXPECT_EQ(transcript_effects(549), played_once(549, 1));
    EXPECT_EQ(transcript_effects(534), played_once(534, 1));
    for (s32 f = 0; f < 3; ++f) {
        const std::vector<TranscriptEntry> escape = draws_of(25065 + f);
        ASSERT_EQ(escape.size(), 1u);
        EXPECT_EQ(escape[0].x, AIM_BOARD_X);
        EXPECT_EQ(escape[0].y, AIM_BOARD_Y);
        EXPECT_EQ(draws_of(25071 + f).size(), 1u); // stage 2's hit frames
    }
    EXPECT_FALSE(draws_of(25064).empty()); // stage 3 was shown
    EXPECT_EQ(inv_count(1863), 1);
    EXPECT_EQ(known_has(AIM_KNOWN_LIST, 53), 1);
    expect_pictures_present();
}

// The main target comes only once the score reaches the unlock score (with skill 18 above the
// unlock skill): all three spots hit without a kill send it away without a penalty; it keeps
// its hit points and dies at its next appearance. Its spots are marked open and hit.
TEST_F(AimTest, MainTargetUnlocksKeepsHitPointsAndDies) {
    dialog_record_draws(true);
    hold({2212}, 50); // damage 15 + 11 = 26: 100 -> 74 -> 48 -> 22, then dead
    // Kind 0 at place 4, then at place 5: the first kill unlocks at the end of its frame, after
    // the next target was drawn.
    push_lower(4, 3);
    push_lower(5, 3);
    // Then place 6 turns into the main target at place 4 (spot draw 0 twice: drawn again).
    push_lower(6, 3);
    push(AimDraw::MainPlace, {0});
    push(AimDraw::Spot, {0, 0, 1, 2});
    // After it leaves: place 7 turns into the main target at place 5.
    push_lower(7, 3);
    push(AimDraw::MainPlace, {9, 0});
    push(AimDraw::Spot, {3, 4, 5});
    std::vector<s32> main_hp_seen;
    bool main_before_unlock = false;
    drive([&](const AimState& s) {
        if (s.slot[0].main && s.kills[0] == 0) main_before_unlock = true;
        if (main_hp_seen.empty() || main_hp_seen.back() != s.main_hp)
            main_hp_seen.push_back(s.main_hp);
        if (s.kills[3] == 1) quit();
        shoot(s, [](const AimSlot&) { return true; });
    });
    game_aim(0, -1, 1, 3, 30, 3);

    const AimState& s = aim_state;
    EXPECT_FALSE(main_before_unlock);
    EXPECT_TRUE(s.unlocked);
    EXPECT_EQ(main_hp_seen, (std::vector<s32>{100, 74, 48, 22, -4}));
    EXPECT_EQ(s.kills[0], 2);
    EXPECT_EQ(s.kills[3], 1);
    EXPECT_EQ(s.score, 56);
    EXPECT_EQ(s.penalty, 0);
    EXPECT_EQ(s.main_slot, 0); // a destroyed main target never comes back
    EXPECT_EQ(growth_pool(AIM_ATTR), 1 + 1 + 25);
    EXPECT_EQ(growth_pool(AIM_SKILL), 3 + 3 + 50);
    // Spots 0, 1, 2 of the first appearance, drawn from its corner (place 4's point (322, 161)).
    const std::vector<TranscriptEntry> open = draws_of(25092);
    ASSERT_FALSE(open.empty());
    EXPECT_EQ(open[0].x, 322 - 75 + 33);
    EXPECT_EQ(open[0].y, 161 - 152 + 55);
    EXPECT_FALSE(draws_of(25093).empty());
    // The leave animation shows the bar of the surviving target (22 of 100: 11 columns), the
    // kill's none.
    EXPECT_EQ(draws_of(25032).size(), 3u);
    EXPECT_EQ(draws_of(25013).size(), 3u * 11);
    EXPECT_EQ(presents_in[AimPhase::HitAnim], 4 * 3); // two kind 0, leaving, kill
    EXPECT_EQ(transcript_effects(533), played_once(533, 4));
    EXPECT_TRUE(transcript_effects(543).empty());
    EXPECT_EQ(inv_count(1860), 2);
    EXPECT_EQ(inv_count(1864), 1);
    EXPECT_EQ(inv_count(1881), 1);
    EXPECT_EQ(known_has(AIM_KNOWN_LIST, 55), 1);
    expect_pictures_present();
}

// The rewards after a game by the kills: a score of 330 doubles every item count and adds 300
// to both pools; the counts of items 1231 and 1880 grow with skill 18.
TEST_F(AimTest, RewardsByKillsScoreAndSkill) {
    struct Case {
        s32 kills[AIM_KINDS];
        s32 score, skill;
        s32 i1860, i1231, i1862, i1880, i1864, i1881, i1863, i1861;
        std::vector<s32> known;
    };
    const Case cases[] = {
        {{2, 10, 1, 1, 3, 4, 2}, 329, 55, 2, 2, 3, 0, 1, 1, 3, 4, {50, 51, 52, 53, 54, 55}},
        {{2, 10, 1, 1, 3, 4, 2}, 330, 55, 4, 4, 6, 1, 2, 2, 6, 8, {50, 51, 52, 53, 54, 55}},
        {{0, 0, 0, 0, 0, 0, 0}, 330, 55, 0, 0, 0, 0, 0, 0, 0, 0, {}},
        {{0, 25, 0, 0, 0, 0, 4}, 50, 20, 0, 2, 4, 0, 0, 0, 0, 0, {51, 54}},
        {{0, 0, 0, 0, 0, 0, 0}, 0, 90, 0, 0, 0, 0, 0, 0, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.score);
        restart();
        hold({2210}, 5);
        growth_value(AIM_SKILL) = c.skill;
        drive([&](const AimState&) {
            std::copy(std::begin(c.kills), std::end(c.kills), aim_state.kills);
            aim_state.score = c.score;
            quit();
        });
        game_aim(5, -1, 2, 3, 30, 150);

        EXPECT_EQ(inv_count(1860), c.i1860);
        EXPECT_EQ(inv_count(1231), c.i1231);
        EXPECT_EQ(inv_count(1862), c.i1862);
        EXPECT_EQ(inv_count(1880), c.i1880);
        EXPECT_EQ(inv_count(1864), c.i1864);
        EXPECT_EQ(inv_count(1881), c.i1881);
        EXPECT_EQ(inv_count(1863), c.i1863);
        EXPECT_EQ(inv_count(1861), c.i1861);
        for (s32 id = 50; id <= 55; ++id)
            EXPECT_EQ(known_has(AIM_KNOWN_LIST, id),
                      std::count(c.known.begin(), c.known.end(), id) ? 1 : 0)
                << id;
        EXPECT_EQ(player_record.turn_done, c.score);
        // The bonus: 300 pays three levels of skill 18 from 55 (100 each) and two of attribute
        // 29 from 50 (120 each), before the item counts read skill 18.
        const bool bonus = c.score >= 330;
        EXPECT_EQ(growth_value(AIM_SKILL), bonus ? c.skill + 3 : c.skill);
        EXPECT_EQ(growth_value(AIM_ATTR), bonus ? 52 : 50);
        EXPECT_EQ(growth_pool(AIM_ATTR), bonus ? 60 : 0);
    }
}

// The stamina and the clock rule: 100 stamina (not below 0), 15 minutes before calendar turn
// 235 and 60 from it on.
TEST_F(AimTest, StaminaAndClockRule) {
    struct Case {
        s32 turn, stamina, minutes, stamina_after;
    };
    for (const Case c : {Case{0, 500, 15, 400}, Case{234, 60, 15, 0}, Case{235, 100, 60, 0}}) {
        restart();
        hold({2210}, 5);
        hub_block.calendar_turn = c.turn;
        player_record.stamina = c.stamina;
        drive([&](const AimState&) { quit(); });
        game_aim(5, -1, 2, 3, 30, 150);
        EXPECT_EQ(clock_minutes(), 8 * 60 + c.minutes) << c.turn;
        EXPECT_EQ(player_record.stamina, c.stamina_after) << c.turn;
    }
}

// Comments: without a coach a new one (10970) may come once the counter has reached 100, with a
// coach (portrait 1000 + coach) one of 10286..10293 once it has reached 50; a high draw before
// that changes nothing.
TEST_F(AimTest, CommentsByCoachAndCounter) {
    struct Case {
        s32 coach, before, pick, comment, portrait;
    };
    for (const Case c : {Case{-1, 100, 0, 10970, 1000}, Case{250, 50, 5, 10291, 1250}}) {
        restart();
        dialog_record_draws(true);
        hold({2210}, 5);
        push(AimDraw::Comment, {9}); // too early: no new comment
        for (s32 i = 1; i < c.before; ++i) push(AimDraw::Comment, {0});
        push(AimDraw::Comment, {9});
        push(AimDraw::CommentPick, {c.pick});
        std::vector<s32> comments;
        drive([&](const AimState& s) {
            if (comments.empty() || comments.back() != s.comment) comments.push_back(s.comment);
            if (s.frames > c.before + 2) quit();
        });
        game_aim(5, c.coach, 2, 3, 30, 150);
        EXPECT_EQ(comments, (std::vector<s32>{10290, c.comment})) << c.coach;
        const std::vector<s32> lines = printed_at(BOTTOM_LINE_X, BOTTOM_LINE_Y);
        EXPECT_EQ(count_of(lines, 10290), c.before) << c.coach;
        const std::vector<TranscriptEntry> portraits = draws_of(c.portrait);
        ASSERT_FALSE(portraits.empty());
        EXPECT_EQ(portraits.back().x, 466);
        EXPECT_EQ(portraits.back().y, 292);
    }
}

// The five instruction pages by the coach, then the game with the coach and the scripts'
// arguments.
TEST_F(AimTest, FramedGameShowsFivePagesThenPlaysWithCoach) {
    dialog_record_draws(true);
    hold({2210}, 5);
    s32 pages_clicked = 0;
    s32 last_page = -1;
    bool game_hooked = false;
    harness_on_present([&](const u16*, u64) {
        const AimState& s = aim_state;
        if (s.phase == AimPhase::Instructions && s.page != last_page) {
            last_page = s.page;
            ++pages_clicked;
            harness_click(300, 200);
        } else if (s.phase == AimPhase::Choosing && !game_hooked) {
            game_hooked = true;
            harness_click(380, 228);
        } else if (s.phase == AimPhase::Playing && !quit_clicked) {
            quit();
        } else if (s.phase == AimPhase::Final && !right_pressed) {
            right_pressed = true;
            harness_click(300, 200, 2);
        }
    });
    game_aim_framed();

    EXPECT_EQ(pages_clicked, 5);
    EXPECT_EQ(printed_at(BOTTOM_LINE_X, BOTTOM_LINE_Y).at(0), 10281);
    std::vector<s32> pages;
    for (const s32 t : printed_at(BOTTOM_LINE_X, BOTTOM_LINE_Y))
        if (t >= 10281 && t <= 10285 && (pages.empty() || pages.back() != t)) pages.push_back(t);
    EXPECT_EQ(pages, (std::vector<s32>{10281, 10282, 10283, 10284, 10285}));
    EXPECT_GE(draws_of(1250).size(), 5u);
    const AimState& s = aim_state;
    EXPECT_EQ(s.coach, 250);
    EXPECT_EQ(s.mode, 0);
    EXPECT_EQ(s.slot_count, 2);
    EXPECT_EQ(s.unlock_skill, 30);
    EXPECT_EQ(s.unlock_score, 150);
    EXPECT_EQ(s.phase, AimPhase::Done);
}

// The duel: one slot that always holds the main target with 600 hit points, a new place and new
// spots at each appearance. Destroyed in its fourth appearance it returns 1: no shot or escape
// sounds, every landed hit pays 3 into skill 18, no items, no score left for the caller, 300
// stamina, the clock, known entry 55, and the pointer stays shape 1.
TEST_F(AimTest, DuelDestroyedByRealInput) {
    dialog_record_draws(true);
    hold({2218}, 50); // damage 45 + 11 = 56: eleven hits
    push(AimDraw::MainPlace, {0, 9, 0, 0, 9, 0, 0});
    push(AimDraw::Spot, {0, 1, 2, 3, 4, 5, 5, 6, 7, 0, 1, 2});
    player_record.turn_done = 4;
    const s32 minutes = clock_minutes();
    std::vector<s32> places;
    drive([&](const AimState& s) {
        const AimSlot& t = s.slot[0];
        if (t.main && (places.empty() || places.back() != t.place)) places.push_back(t.place);
        shoot(s, [](const AimSlot&) { return true; });
    });
    const s32 result = game_aim_target(0, -1, 1, 3, 0, 0);

    const AimState& s = aim_state;
    EXPECT_EQ(result, 1);
    EXPECT_EQ(s.mode, AIM_DUEL_MODE);
    // The slot draws its next appearance in the frame of the kill, before the game ends.
    EXPECT_EQ(places, (std::vector<s32>{4, 5, 4, 5, 4}));
    EXPECT_EQ(s.landings, 11);
    EXPECT_EQ(s.main_hp, 600 - 11 * 56);
    EXPECT_EQ(s.kills[3], 1);
    EXPECT_EQ(s.final_text, 11410);
    EXPECT_EQ(growth_pool(AIM_SKILL), 11 * 3 + 50);
    EXPECT_EQ(growth_pool(AIM_ATTR), 25);
    EXPECT_TRUE(transcript_effects(548).empty());
    EXPECT_TRUE(transcript_effects(549).empty());
    EXPECT_EQ(transcript_effects(547), played_once(547, 11));
    EXPECT_EQ(inv_count(1864), 0);
    EXPECT_EQ(inv_count(1881), 0);
    EXPECT_EQ(inv_count(AIM_AMMO), 50 - 11);
    EXPECT_EQ(player_record.turn_done, 4);
    EXPECT_EQ(player_record.stamina, 200);
    EXPECT_EQ(clock_minutes(), minutes + 15);
    EXPECT_EQ(known_has(AIM_KNOWN_LIST, 55), 1);
    EXPECT_EQ(s32(world_state.cursor_id), 1);
    EXPECT_EQ(player_record.music_id, MUSIC_BEFORE);
    EXPECT_EQ(presents_in.count(AimPhase::EscapeAnim), 0u);
    EXPECT_FALSE(draws_of(25188).empty());
    EXPECT_TRUE(draws_of(25048).empty());
    EXPECT_EQ(draws_of(25192).size(), 4u); // three leaves and the kill, first hit frame
    expect_pictures_present();
}

// A duel lost: out of ammunition (text 11411) or out of time (11412, escapes counting half their
// seconds, and silent); both return 0.
TEST_F(AimTest, DuelLostByAmmunitionOrTime) {
    hold({2210}, 2);
    drive([&](const AimState& s) { shoot(s, [](const AimSlot&) { return true; }); });
    EXPECT_EQ(game_aim_target(102, -1, 1, 3, 0, 0), 0);
    EXPECT_EQ(aim_state.final_text, 11411);
    EXPECT_EQ(aim_state.main_hp, 600 - 16);

    restart();
    hold({2210}, 2);
    aim_rand = rand_below;
    drive([&](const AimState&) {});
    EXPECT_EQ(game_aim_target(0, -1, 1, 3, 0, 0), 0);
    const AimState& s = aim_state;
    EXPECT_EQ(s.final_text, 11412);
    EXPECT_GT(s.penalty, 0);
    EXPECT_EQ(s.penalty % 10, 0);
    EXPECT_GT(s.secs, AIM_SECONDS);
    EXPECT_EQ(s.arrows, 2);
    EXPECT_TRUE(transcript_effects(543).empty());
    EXPECT_TRUE(transcript_effects(549).empty());
    EXPECT_EQ(presents_in[AimPhase::EscapeAnim], 3 * (s.penalty / 10));
}

// A whole game with the hub's arguments and real random draws, played by real input to its
// end: every target is shot at as long as it lives, until the time runs out.
TEST_F(AimTest, WholeGameByRealInput) {
    aim_rand = rand_below;
    hold({2211, 2213}, 999);
    tool_index = 1; // the second tool listed: item 2213
    player_record.area = AREA_HUB;
    const s32 minutes = clock_minutes();
    drive([&](const AimState& s) { shoot(s, [](const AimSlot&) { return true; }); });
    game_aim(0, -1, 2, 3, 20, 80);

    const AimState& s = aim_state;
    EXPECT_EQ(s.tool, 3);
    EXPECT_EQ(s.end, AIM_END_PLAY);
    EXPECT_GT(s.secs, AIM_SECONDS);
    EXPECT_EQ(s.final_text, 10301);
    EXPECT_GT(s.shots, 10);
    EXPECT_EQ(inv_count(AIM_AMMO), 999 - s.shots);
    EXPECT_LE(s.kills[3], 1); // a destroyed main target never comes back
    EXPECT_GT(s.kills[0] + s.kills[1] + s.kills[5], 0);
    s32 points = 0;
    for (s32 k = 0; k < AIM_KINDS; ++k) points += s.kills[k] * AIM_KIND_TABLE[k].points;
    EXPECT_GE(s.score, points);
    EXPECT_LE(s.score, points + 4 * s.kills[AIM_BOARD]); // the board's stage bonus
    EXPECT_EQ(player_record.turn_done, s.score);
    const s32 m = s.score >= 330 ? 2 : 1;
    EXPECT_EQ(inv_count(1860), s.kills[0] * m);
    EXPECT_EQ(inv_count(1861), s.kills[5] * m);
    EXPECT_EQ(inv_count(1863), s.kills[AIM_BOARD] * m);
    EXPECT_EQ(inv_count(1862), (s.kills[2] + s.kills[6]) * m);
    EXPECT_EQ(known_has(AIM_KNOWN_LIST, 50), s.kills[0] > 0 ? 1 : 0);
    EXPECT_EQ(player_record.stamina, 400);
    EXPECT_EQ(clock_minutes(), minutes + 15);
    EXPECT_EQ(s32(world_state.cursor_id), 0);
    EXPECT_EQ(player_record.music_id, MUSIC_BEFORE);
    EXPECT_EQ(s.phase, AimPhase::Done);
}

} // namespace
