// The meal screen: the comment table after eating, and the screen itself played by clicks on its
// dish labels (their places, their hot areas with both edges, the dish eaten and the lines said).
#include "game/meal.h"

#include "data/item_tables.h"
#include "game/growth.h"
#include "game/player.h"
#include "tests/hub_fixture.h"
#include "tests/screen_clicks.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class MealTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        dialog_record_draws(true);
        player_record.fullness = 0;
        player_record.skill[GROWTH_APPETITE] = 50;
        player_record.mood = 2;
        player_record.condition = 0;
        player_record.stamina = 500;
    }
};

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

TEST_F(MealTest, CommentByFullnessAppetiteMoodAndCondition) {
    struct Case {
        s32 fullness, appetite, mood, condition;
        s32 first, second;
        s32 mood_after, stamina_after;
    };
    const Case cases[] = {
        {150, 50, 2, 0, 222, 283, 1, 400}, // stuffed: cheers up, costs stamina
        {91, 50, 0, 0, 222, 283, 0, 400},  // 41 above the appetite; the best mood stays
        {150, 50, 4, 0, 0, 0, 4, 500},     // stuffed in the worst mood: not a word
        {90, 50, 2, 0, 222, 0, 2, 500},    // 40 above: just done
        {50, 50, 3, 4, 222, 233, 4, 500},  // still hungry: the mood sinks
        {49, 50, 2, 0, 222, 233, 3, 500},  {50, 50, 1, 0, 222, 0, 1, 500}, // a good mood keeps
        {50, 50, 3, 5, 222, 0, 3, 500}, // sick or injured: no change
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.fullness) + " " + std::to_string(c.mood) + " " +
                     std::to_string(c.condition));
        PlayerRecord& p = player_record;
        p.fullness = c.fullness;
        p.skill[GROWTH_APPETITE] = c.appetite;
        p.mood = c.mood;
        p.condition = c.condition;
        p.stamina = 500;
        const MealComment m = meal_comment();
        EXPECT_EQ(m.first, c.first);
        EXPECT_EQ(m.second, c.second);
        EXPECT_EQ(p.mood, c.mood_after);
        EXPECT_EQ(p.stamina, c.stamina_after);
    }
}

TEST_F(MealTest, DishLabelsAnswerInsideTheirAreasAndTheDishIsServed) {
    // Dish 0 answers x 34..130, y 403..419; dish 13 (the last) x 346..442, y 443..459.
    const std::vector<ScriptedClick> clicks = {
        {2, 131, 410},    // between dishes 0 and 1
        {3, 200, 430, 2}, // a right click on dish 6
        {4, 443, 459},    // just right of dish 13
        {5, 442, 459},    // dish 13's last corner
    };
    const PlayerRecord before = player_record;
    std::vector<std::string> first_pass;
    s32 passes_seen = 0;
    {
        ClickScript script(&meal_passes, clicks);
        script.on_pass([&](s32 p) {
            passes_seen = p;
            if (p == 1) first_pass = dialog_lines();
        });
        meal_screen();
    }
    EXPECT_EQ(passes_seen, 5);
    // The layout: dashboard, portrait, caption, prompt and the fourteen labels, five a row.
    EXPECT_TRUE(has(first_pass, "draw 62160 384 172"));
    EXPECT_TRUE(has(first_pass, "draw 60324 0 328"));
    EXPECT_TRUE(has(first_pass, "print 30597 9 377"));
    for (s32 k = 0; k < MEAL_DISHES; ++k) {
        const std::string label = "print " + std::to_string(7050 + k) + " " +
                                  std::to_string(34 + 104 * (k % 5)) + " " +
                                  std::to_string(403 + 20 * (k / 5));
        EXPECT_TRUE(has(first_pass, label)) << label;
    }
    EXPECT_FALSE(has(first_pass, "print 7064 346 443")); // food 2064 is not offered

    // Dish 13 (item 2063) was served: more fullness, one more meal of it, nothing taken.
    const FoodEntry* food = food_for(2063);
    ASSERT_NE(food, nullptr);
    EXPECT_EQ(player_record.fullness, before.fullness + food->satiety);
    EXPECT_EQ(player_record.item_tally[2063], before.item_tally[2063] + 1);
    EXPECT_EQ(player_record.money, before.money);
    for (s32 k = 0; k < MEAL_DISHES; ++k)
        if (k != 13) {
            EXPECT_EQ(player_record.item_tally[2050 + k], before.item_tally[2050 + k]);
        }
    // Still below the appetite in a middling mood: the comment says so and the mood sinks.
    EXPECT_TRUE(has(dialog_lines(), "hub_say_lines 222 233 0 0"));
    EXPECT_EQ(player_record.mood, 3);
}
