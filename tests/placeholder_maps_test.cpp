// The placeholder maps as a player sees them: the doors, portals and step areas that the new
// game's world puts on the home map are marked on the ground where the player's feet fire them,
// and the arrows near where the new game leaves the player lead to the step area that starts
// the opening.
#include "tools/placeholder_maps.h"

#include "engine/blit.h"
#include "engine/screen.h"
#include "engine/world/object.h"
#include "engine/world/zone.h"
#include "game/makers.h"
#include "tests/hub_fixture.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr s32 HOME_MAP = 10;
constexpr s32 OPENING_STEP = 1; // the step area that starts the opening scene

class PlaceholderMapsTest : public HubTest {
  protected:
    void add_content(ArcBuilder& b) const override { map_put_placeholder_maps(b); }
};

// The colour of a pixel of the drawing target, 8 bits a channel.
struct Rgb {
    s32 r, g, b;
};
Rgb pixel(s32 x, s32 y) {
    const u16 p = back_buffer[y * SCREEN_W + x];
    if (display_565) return {(p >> 11 & 31) << 3, (p >> 5 & 63) << 2, (p & 31) << 3};
    return {(p >> 10 & 31) << 3, (p >> 5 & 31) << 3, (p & 31) << 3};
}
// Close to the colour, allowing for the ground's JPEG and the 16-bit dithering.
bool looks(Rgb p, const u8 (&c)[3]) {
    return std::abs(p.r - c[0]) <= 40 && std::abs(p.g - c[1]) <= 40 && std::abs(p.b - c[2]) <= 40;
}

// Draws the map's ground with map point (x, y) on the screen; returns where it shows.
std::pair<s32, s32> show(s32 x, s32 y) {
    const s32 cx = std::max(0, x - SCREEN_W / 2), cy = std::max(0, y - SCREEN_H / 2);
    zone_draw(cx, cy);
    return {x - cx, y - cy};
}

s32 sign_extended(s32 v) {
    return s32(s16(u16(v)));
}

} // namespace

TEST_F(PlaceholderMapsTest, EveryDoorAndStepAreaOfTheHomeMapIsMarkedWhereItFires) {
    map_load(HOME_MAP);
    s32 doors = 0, steps = 0;
    bool opening = false;
    for (s32 obj = 1; obj < OBJECT_COUNT; ++obj) {
        if (!attr_get(obj, ATTR_IN_USE) || !attr_get(obj, ATTR_ACTIVE) ||
            !attr_get(obj, ATTR_STEP) || attr_get(obj, ATTR_MAP) != HOME_MAP)
            continue;
        // The middle of the box where the scene's hit test finds the object under the feet.
        const s32 w = attr_get(obj, ATTR_WIDTH), h = attr_get(obj, ATTR_HEIGHT);
        const s32 hot_x = sign_extended(attr_get(obj, ATTR_HOT_X));
        const s32 hot_y = sign_extended(attr_get(obj, ATTR_HOT_Y));
        const s32 x = attr_get(obj, ATTR_X);
        const s32 left = attr_get(obj, ATTR_MIRROR) ? x + hot_x - w + 1 : x - hot_x;
        const s32 top = attr_get(obj, ATTR_Y) - attr_get(obj, ATTR_Z) - hot_y;
        ASSERT_GT(w, 0) << obj;
        const auto [sx, sy] = show(left + w / 2, top + h / 2);
        const s32 event = attr_get(obj, ATTR_EVENT);
        const bool door = event == PORTAL_EVENT || event == PORTAL_FIXED_EVENT;
        EXPECT_TRUE(looks(pixel(sx, sy), door ? PLACEHOLDER_DOOR_RGB : PLACEHOLDER_STEP_RGB))
            << "object " << obj;
        // The whole box is marked: its corners too.
        const auto [cx, cy] = show(left + 2, top + 2);
        EXPECT_TRUE(looks(pixel(cx, cy), door ? PLACEHOLDER_DOOR_RGB : PLACEHOLDER_STEP_RGB))
            << "object " << obj;
        (door ? doors : steps)++;
        opening = opening || obj == OPENING_STEP;
    }
    EXPECT_GE(doors, 40);
    EXPECT_GE(steps, 5);
    EXPECT_TRUE(opening);

    // Far from every area the ground is plain.
    const auto [fx, fy] = show(9000, 9000);
    EXPECT_FALSE(looks(pixel(fx, fy), PLACEHOLDER_DOOR_RGB));
    EXPECT_FALSE(looks(pixel(fx, fy), PLACEHOLDER_STEP_RGB));
}

// Around the point where the new game leaves the player, every arrow in the step areas' colour
// points to the step area that starts the opening (the nearest one switched on).
TEST_F(PlaceholderMapsTest, ArrowsNearTheStartLeadToTheOpeningsStepArea) {
    map_load(HOME_MAP);
    const s32 px = attr_get(0, ATTR_X), py = attr_get(0, ATTR_Y);
    const s32 tx = attr_get(OPENING_STEP, ATTR_X), ty = attr_get(OPENING_STEP, ATTR_Y);
    s32 arrows = 0;
    for (s32 row = py / ZONE_SIDE_PIXELS - 2; row <= py / ZONE_SIDE_PIXELS + 2; ++row)
        for (s32 col = std::max(0, px / ZONE_SIDE_PIXELS - 2); col <= px / ZONE_SIDE_PIXELS + 2;
             ++col) {
            // The cell at the screen's top left corner: the arrow's pixels lean to its head.
            zone_draw(col * ZONE_SIDE_PIXELS, row * ZONE_SIDE_PIXELS);
            double sx = 0, sy = 0;
            s32 n = 0;
            for (s32 y = 0; y < ZONE_SIDE_PIXELS; ++y)
                for (s32 x = 0; x < ZONE_SIDE_PIXELS; ++x)
                    if (looks(pixel(x, y), PLACEHOLDER_STEP_RGB)) sx += x, sy += y, n++;
            if (n == 0) continue;
            arrows++;
            const double half = ZONE_SIDE_PIXELS / 2.0;
            const double seen = std::atan2(sy / n - half, sx / n - half);
            const double wanted = std::atan2(ty - (row * ZONE_SIDE_PIXELS + half),
                                             tx - (col * ZONE_SIDE_PIXELS + half));
            const double off = std::remainder(seen - wanted, 2 * M_PI);
            EXPECT_LT(std::abs(off), 0.3) << "cell " << col << ", " << row;
        }
    EXPECT_GE(arrows, 5);
}
