// The couple of map 10 and the guests of map 24: the couple's stage table over the values that
// choose its branches, the replies to each result of the hand game and where the husband's box
// goes in his wife's talk, and the guests' answers while the player is free, lies or has been
// woken.
#include "scripts/home/couple_guests.h"

#include "engine/world/object.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/home/posed_services.h"
#include "scripts/kit.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;
constexpr s32 MASTER_OBJ = 26;

// With every figure right of the player: the player's boxes at 0, the persons' at 3.
std::string P(s32 text) {
    return sh_box(0, 1000, text);
}
std::string husband(s32 text) {
    return sh_box(3, 1180, text);
}
std::string wife(s32 text) {
    return sh_box(3, 1179, text);
}
// Texts first..last alternating between two speakers, `a` first.
Lines alternate(s32 first, s32 last, std::string (*a)(s32), std::string (*b)(s32)) {
    Lines out;
    for (s32 t = first; t <= last; ++t) out.push_back((t - first) % 2 == 0 ? a(t) : b(t));
    return out;
}
Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Guest {
    s32 obj, slot, frame;
};
constexpr Guest GUESTS[] = {{GUEST_A_OBJ, 15, 2188},    {GUEST_B_OBJ, 16, 2179},
                            {GUEST_HOST_OBJ, 17, 2251}, {GUEST_C_OBJ, 18, 2260},
                            {GUEST_33_OBJ, 19, 2272},   {ROOM_KEEPER_OBJ, 25, 2234}};

class CoupleGuests : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
        reset();
    }
    static void reset() {
        init_player();
        sh_player(PX, PY);
        sh_object(COUPLE_HUSBAND_OBJ,
                  {.x = PX + 40, .y = PY, .frame = 2600, .slot = 12, .click = true});
        sh_object(COUPLE_WIFE_OBJ,
                  {.x = PX + 60, .y = PY, .frame = 2744, .slot = 13, .click = true});
        sh_object(MASTER_OBJ, {.x = 10, .y = 10, .frame = 30636, .slot = 1000});
        s32 dx = 40;
        for (const Guest& g : GUESTS) {
            sh_object(g.obj,
                      {.x = PX + dx, .y = PY, .frame = g.frame, .slot = g.slot, .click = true});
            dx += 4;
        }
        sh_object(ROOM_SIGHT_OBJ, {.x = 10, .y = 10, .frame = 2285, .slot = 1000});
        sh_object(ROOM_PASSAGE_OBJ, {.x = 10, .y = 10, .frame = 2285, .slot = 1000});
        attr_set(ROOM_PASSAGE_OBJ, ATTR_BLOCK, 1);
    }
    static Lines click(s32 obj) {
        sh_clear_lines();
        sh_fire(obj, TRIG_CLICK);
        return sh_only(sh_lines(), {"say", "choose"});
    }
    static void give_errand_items() {
        for (const s32 item : ERRAND_ITEMS) inv_add(item, 2);
    }
};

// ---- The couple --------------------------------------------------------------------------------

TEST_F(CoupleGuests, CoupleStagesFollowTheirConditions) {
    const Lines errand_end = {P(13737),    wife(13738), P(13739),
                              wife(13740), wife(13741), sh_box(0, 1180, 13742),
                              P(13743)};
    struct Case {
        const char* name;
        s32 obj, stage;
        std::function<void()> setup;
        Lines lines;
        s32 husband_after, wife_after; // -1: the clicked one's own is checked only
        bool items_taken;
        s32 master_before, master_after;
    };
    const auto apt = [](s32 v) { return [v] { player_record.social_aptitude = v; }; };
    const auto errand = [](s32 affection, s32 flag, bool items, s32 skill) {
        return [=] {
            player_record.affection[180] = affection;
            player_record.story_flags[14] = flag;
            if (items) give_errand_items();
            player_record.skill[ERRAND_SKILL] = skill;
        };
    };
    const auto visit = [](s32 flag) { return [flag] { player_record.story_flags[63] = flag; }; };
    const std::vector<Case> cases = {
        {"apt 61 meets",
         12,
         0,
         apt(61),
         {P(10954), husband(10955), P(10956), husband(10957)},
         1,
         0,
         false,
         0,
         0},
        {"apt 60 does not", 12, 0, apt(60), {husband(10036)}, 1, 0, false, 0, 0},
        {"apt 61 later", 12, 1, apt(61), {P(10954), P(10958), husband(10959)}, 1, 0, false, 0, 0},
        {"apt 60 later", 12, 1, apt(60), {husband(10036)}, 1, 0, false, 0, 0},
        {"affection 64, no flag",
         12,
         2,
         errand(64, 0, true, 80),
         {P(13732), husband(13733), P(13734)},
         5,
         0,
         false,
         0,
         0},
        {"affection 65, no flag", 12, 2, errand(65, 0, true, 80),
         alternate(13720, 13725, P, husband), 2, 0, false, 0, 0},
        {"flag, no items", 12, 2, errand(64, 1, false, 80),
         alternate(13720, 13725, P, husband) + Lines{P(13726), husband(13727), P(13728)}, 4, 0,
         false, 0, 0},
        {"flag, items, skill 69", 12, 2, errand(64, 1, true, 69),
         alternate(13720, 13725, P, husband) + Lines{P(13726), husband(13727), P(13728)}, 4, 0,
         false, 0, 0},
        {"flag, items, skill 70", 12, 2, errand(65, 1, true, 70),
         alternate(13720, 13725, P, husband) +
             Lines{P(13726), husband(13727), P(13730), husband(13731)},
         3, 0, true, 0, 0},
        {"visit, master at 0", 12, 7, visit(1),
         alternate(26450, 26459, husband, P) + Lines{husband(26460)}, 8, 0, false, 0, 1},
        {"visit, master at 2", 12, 7, visit(1),
         alternate(26450, 26459, husband, P) + Lines{husband(26460)}, 8, 0, false, 2, 2},
        {"other visit", 12, 7, visit(0), {husband(26461)}, 9, 0, false, 0, 0},
        {"husband after the visit",
         12,
         8,
         visit(1),
         {husband(26458), P(26459), husband(26460)},
         8,
         0,
         false,
         0,
         0},
        {"wife, errand done", 13, 5, errand(0, 1, true, 70), errand_end, 6, 6, true, 0, 0},
        {"wife, errand waiting",
         13,
         5,
         errand(0, 1, false, 70),
         {P(13735), wife(13736)},
         4,
         7,
         false,
         0,
         0},
        {"wife, no errand",
         13,
         5,
         errand(0, 0, true, 70),
         {P(13745), wife(13746)},
         4,
         8,
         false,
         0,
         0},
        {"wife, errand done later", 13, 7, errand(0, 1, true, 70), errand_end, 6, 6, true, 0, 0},
        {"wife, still waiting", 13, 7, errand(0, 1, true, 69), {wife(13746)}, 4, 7, false, 0, 0},
        {"wife, visit", 13, 9, visit(1), {wife(26462)}, 7, 9, false, 0, 0},
        {"wife, other visit", 13, 9, visit(0), Lines{P(26463)} + alternate(26464, 26467, wife, P),
         7, 10, false, 0, 1},
        {"wife, other visit, master at 3", 13, 9, visit(0),
         Lines{P(26463)} + alternate(26464, 26467, wife, P), 7, 10, false, 3, 3},
    };
    for (const Case& c : cases) {
        reset();
        // The husband waits at his errand stage when his wife is clicked.
        attr_set(COUPLE_HUSBAND_OBJ, ATTR_VAR_A, c.obj == 12 ? c.stage : (c.stage == 9 ? 7 : 4));
        attr_set(COUPLE_WIFE_OBJ, ATTR_VAR_A, c.obj == 13 ? c.stage : 0);
        attr_set(MASTER_OBJ, ATTR_VAR_A, c.master_before);
        c.setup();
        EXPECT_EQ(click(c.obj), c.lines) << c.name;
        EXPECT_EQ(attr_get(COUPLE_HUSBAND_OBJ, ATTR_VAR_A), c.husband_after) << c.name;
        EXPECT_EQ(attr_get(COUPLE_WIFE_OBJ, ATTR_VAR_A), c.wife_after) << c.name;
        EXPECT_EQ(attr_get(MASTER_OBJ, ATTR_VAR_A), c.master_after) << c.name;
        for (const s32 item : ERRAND_ITEMS) {
            const bool held = inv_has_count(item, 2) == 1;
            const bool left = inv_has(item) == 1;
            if (c.items_taken) {
                EXPECT_TRUE(left && !held) << c.name << " item " << item;
            } else {
                EXPECT_EQ(held, left) << c.name << " item " << item;
            }
        }
        EXPECT_EQ(player_record.story_flags[74], c.obj == 13 && c.wife_after == 6 ? 1 : 0)
            << c.name;
    }
}

TEST_F(CoupleGuests, MeetingOnlyWithSocialAptitudeAboveSixty) {
    for (const s32 apt : {60, 61}) {
        reset();
        player_record.social_aptitude = apt;
        click(COUPLE_HUSBAND_OBJ);
        EXPECT_EQ(acquaint_has(180), apt > 60 ? 1 : 0) << apt;
    }
}

// The hand game decides which reply pair the wife says then and at every later click.
TEST_F(CoupleGuests, HandGameResultChoosesTheRepliesAndStage) {
    struct Case {
        s32 result;
        Lines replies, later;
        s32 stage;
    };
    const std::vector<Case> cases = {
        {3, alternate(635, 640, wife, P), {wife(639), P(640)}, 1},
        {2, alternate(635, 640, wife, P), {wife(639), P(640)}, 1},
        {1, {wife(641), P(640)}, {wife(641), P(640)}, 2},
        {-1, {wife(644), P(640)}, {wife(644), P(640)}, 4},
        {-2, {wife(642), P(643)}, {wife(642), P(643)}, 3},
        {-3, {wife(642), P(643)}, {wife(642), P(643)}, 3},
    };
    for (const Case& c : cases) {
        reset();
        sh_clear_calls();
        sh_results("hands", {c.result});
        const Lines said = click(COUPLE_WIFE_OBJ);
        EXPECT_EQ(sh_calls(), (std::vector<std::string>{"hands"})) << c.result;
        EXPECT_EQ(player_record.affection[179], 50) << c.result;
        ASSERT_EQ(said.size(), 26 + c.replies.size()) << c.result;
        EXPECT_EQ(Lines(said.begin() + 26, said.end()), c.replies) << c.result;
        EXPECT_EQ(attr_get(COUPLE_WIFE_OBJ, ATTR_VAR_A), c.stage) << c.result;
        EXPECT_EQ(click(COUPLE_WIFE_OBJ), c.later) << c.result;
        EXPECT_EQ(sh_calls().size(), 1u) << c.result;
    }
}

// In the wife's talk her husband's box is not at the mirror of the player's but follows its own
// rule; both re-arm their timers.
TEST_F(CoupleGuests, HusbandBoxInTheWifesMeeting) {
    struct Case {
        const char* name;
        s32 dx, dy;
        s32 player, wife, husband;
    };
    const Case cases[] = {
        {"wife right", 60, 0, 0, 3, 2}, {"wife left", -60, 0, 3, 0, 1},
        {"wife below", 0, 60, 1, 2, 3}, {"wife above", 0, -60, 2, 1, 0},
        {"same spot", 0, 0, 4, 1, 0},
    };
    for (const Case& c : cases) {
        reset();
        attr_set(COUPLE_WIFE_OBJ, ATTR_X, PX + c.dx);
        attr_set(COUPLE_WIFE_OBJ, ATTR_Y, PY + c.dy);
        sh_results("hands", {3});
        const Lines said = click(COUPLE_WIFE_OBJ);
        ASSERT_GE(said.size(), 26u) << c.name;
        EXPECT_EQ(said[0], sh_box(c.player, 1000, 10003)) << c.name;
        EXPECT_EQ(said[1], sh_box(c.wife, 1179, 10004)) << c.name;
        for (const size_t i : {9u, 15u, 17u})
            EXPECT_EQ(said[i], sh_box(c.husband, 1180, 10003 + s32(i))) << c.name;
        EXPECT_EQ(said[26], sh_box(c.wife, 1179, 635)) << c.name;
        for (const s32 obj : {COUPLE_HUSBAND_OBJ, COUPLE_WIFE_OBJ})
            EXPECT_EQ(attr_get(obj, ATTR_TIMER), COUPLE_REARM) << c.name;
    }
}

// ---- The guests --------------------------------------------------------------------------------

// Free, the player turns toward the guest and the guest's turn gives the boxes; lying (pose 46)
// or woken (pose 48), the player shows its pose frame and its box goes to 2.
TEST_F(CoupleGuests, GuestsAnswerThePosedPlayer) {
    struct Case {
        const char* name;
        s32 obj, stage, pose;
        Lines lines;
        s32 player_frame; // after the talk; 0: the player turned toward the guest
        s32 self_frame;   // the guest's frame drawn before it speaks
    };
    const std::vector<Case> cases = {
        {"guest A free", GUEST_A_OBJ, 0, 0, {sh_bubble(GUEST_A_OBJ, 20004)}, 0, 2299},
        {"guest A lying", GUEST_A_OBJ, 0, 46, {sh_bubble(GUEST_A_OBJ, 20004)}, 2966, 2297},
        {"guest A woken", GUEST_A_OBJ, 1, 48, {sh_bubble(GUEST_A_OBJ, 20099)}, 2982, 2297},
        {"guest B free", GUEST_B_OBJ, 1, 0, {sh_bubble(GUEST_B_OBJ, 20099)}, 0, 2295},
        {"guest B woken", GUEST_B_OBJ, 0, 48, {sh_bubble(GUEST_B_OBJ, 20002)}, 2982, 2296},
        {"guest C lying", GUEST_C_OBJ, 0, 46, {sh_bubble(GUEST_C_OBJ, 20007)}, 2966, 2292},
        {"guest C woken", GUEST_C_OBJ, 1, 48, {sh_bubble(GUEST_C_OBJ, 20097)}, 2983, 2292},
        {"person 33 free", GUEST_33_OBJ, 0, 0, {sh_box(3, 1033, 20006)}, 0, 2290},
        {"person 33 woken", GUEST_33_OBJ, 0, 48, {sh_box(3, 1033, 20006)}, 2983, 2290},
        {"keeper free",
         ROOM_KEEPER_OBJ,
         1,
         0,
         {sh_bubble(ROOM_KEEPER_OBJ, 20060), P(20061)},
         0,
         2285},
        {"keeper lying", ROOM_KEEPER_OBJ, 3, 46, {sh_bubble(ROOM_KEEPER_OBJ, 20059)}, 2966, 2285},
        {"keeper lying, first talk",
         ROOM_KEEPER_OBJ,
         0,
         46,
         {sh_bubble(ROOM_KEEPER_OBJ, 20008), "choose 2 1000 20009 20010 -> 1",
          sh_bubble(ROOM_KEEPER_OBJ, 20037)},
         2966,
         2285},
        {"keeper woken",
         ROOM_KEEPER_OBJ,
         1,
         48,
         {sh_bubble(ROOM_KEEPER_OBJ, 20060), sh_box(2, 1000, 20061)},
         2983,
         2285},
    };
    for (const Case& c : cases) {
        reset();
        const s32 frame = obj_get_frame(c.obj);
        attr_set(c.obj, ATTR_VAR_A, c.stage);
        if (c.pose != 0)
            pose_enter({.x = PX, .y = PY, .frame = 2900, .slot = c.pose, .on_top = true});
        else
            obj_set_frame(0, 2900);
        if (c.obj == ROOM_KEEPER_OBJ && c.stage == 0) sh_answers({1});
        dialog_record_draws(true);
        sh_clear_lines();
        sh_fire(c.obj, TRIG_CLICK);
        const Lines all = sh_lines();
        dialog_record_draws(false);
        EXPECT_EQ(sh_only(all, {"say", "choose"}), c.lines) << c.name;
        bool drawn = false;
        const std::string self_drawn = "draw " + std::to_string(c.self_frame) + " ";
        for (const std::string& l : all) {
            if (l.rfind("say", 0) == 0) break;
            drawn = drawn || l.rfind(self_drawn, 0) == 0;
        }
        EXPECT_TRUE(drawn) << c.name << ": frame " << c.self_frame << " before the first line";
        if (c.player_frame != 0) {
            EXPECT_EQ(obj_get_frame(0), c.player_frame) << c.name;
        } else {
            EXPECT_NE(obj_get_frame(0), 2900) << c.name;
        }
        EXPECT_EQ(obj_get_frame(c.obj), frame) << c.name << ": the guest keeps its frame";
        if (c.pose != 0) pose_leave({.frame = 418, .on_top = true});
    }
}

TEST_F(CoupleGuests, HostIntroducesItselfOnceWokenAndMovesTheGuests) {
    attr_set(GUEST_HOST_OBJ, ATTR_VAR_A, 1);
    EXPECT_EQ(
        click(GUEST_HOST_OBJ),
        (Lines{sh_box(3, 1000, 20068), sh_box(0, 1081, 20069), sh_box(3, 1000, 20070),
               sh_box(0, 1081, 20071), sh_box(3, 1000, 20072), sh_bubble(GUEST_B_OBJ, 20073)}));
    EXPECT_EQ(attr_get(GUEST_HOST_OBJ, ATTR_VAR_A), 2);
    EXPECT_EQ(attr_get(GUEST_A_OBJ, ATTR_VAR_A), 1);
    EXPECT_EQ(attr_get(GUEST_B_OBJ, ATTR_VAR_A), 1);
    EXPECT_EQ(obj_get_frame(GUEST_B_OBJ), 2296);
    EXPECT_EQ(acquaint_has(81), 1);
    EXPECT_EQ(click(GUEST_HOST_OBJ), (Lines{sh_box(3, 1081, 20098)}));
}

TEST_F(CoupleGuests, PersonThirtyThreeAndPersonEightyOne) {
    struct Case {
        const char* name;
        s32 answer;
        bool knows_81;
        Lines tail;
        s32 stage, affection_81;
    };
    const Lines opening = {sh_box(2, 1000, 20074), sh_box(1, 1033, 20075),
                           "choose 2 1000 20076 20077 -> 0"};
    const auto pair = [](s32 t) {
        return (t - 20078) % 2 == 0 ? sh_box(2, 1000, t) : sh_box(1, 1033, t);
    };
    Lines long_talk;
    for (s32 t = 20078; t <= 20088; ++t) long_talk.push_back(pair(t));
    const Lines short_talk = {sh_box(2, 1000, 20090), sh_bubble(GUEST_C_OBJ, 20091),
                              sh_box(1, 1033, 20092), sh_box(2, 1000, 20093)};
    const std::vector<Case> cases = {
        {"long, new to 81", 0, false, long_talk, 2, -5},
        {"long, knows 81", 0, true, long_talk, 2, -5},
        {"short, new to 81", 1, false, short_talk, 3, 0},
        {"short, knows 81", 1, true, short_talk, 3, 5},
    };
    for (const Case& c : cases) {
        reset();
        if (c.knows_81) {
            acquaint_add(81, 0);
            player_record.affection[81] = 30;
        }
        const s32 before = player_record.affection[81];
        attr_set(GUEST_33_OBJ, ATTR_VAR_A, 1);
        sh_answers({c.answer});
        Lines want = opening;
        want[2] = "choose 2 1000 20076 20077 -> " + std::to_string(c.answer);
        EXPECT_EQ(click(GUEST_33_OBJ), want + c.tail) << c.name;
        EXPECT_EQ(attr_get(GUEST_33_OBJ, ATTR_VAR_A), c.stage) << c.name;
        EXPECT_EQ(attr_get(GUEST_C_OBJ, ATTR_VAR_A), 1) << c.name;
        EXPECT_EQ(acquaint_has(33), 1) << c.name;
        EXPECT_EQ(acquaint_has(81), 1) << c.name;
        // Person 81 already met: the long talk lowers the affection, the short one raises it.
        if (c.knows_81 && c.affection_81 < 0) {
            EXPECT_LT(player_record.affection[81], before) << c.name;
        }
        if (c.knows_81 && c.affection_81 > 0) {
            EXPECT_GT(player_record.affection[81], before) << c.name;
        }
    }
}

TEST_F(CoupleGuests, RoomKeeperOpensThePassage) {
    for (const s32 answer : {0, 1}) {
        reset();
        sh_answers({answer});
        const Lines said = click(ROOM_KEEPER_OBJ);
        ASSERT_EQ(said.size(), 3u) << answer;
        EXPECT_EQ(said.back(), sh_bubble(ROOM_KEEPER_OBJ, answer == 0 ? 20034 : 20037)) << answer;
        EXPECT_EQ(attr_get(ROOM_KEEPER_OBJ, ATTR_VAR_A), answer == 0 ? 2 : 0) << answer;
        EXPECT_EQ(attr_get(ROOM_SIGHT_OBJ, ATTR_ACTIVE), answer == 0 ? 0 : 1) << answer;
        EXPECT_EQ(attr_get(ROOM_PASSAGE_OBJ, ATTR_BLOCK), answer == 0 ? 0 : 1) << answer;
    }
}

// ---- Frames ------------------------------------------------------------------------------------

TEST(CoupleGuestsFrames, EveryFrameShownIsInThePlaceholderArchive) {
    const FramesShown shown = frames_shown(couple_guests_frames);
    EXPECT_GT(shown.count, 100u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
