// Scene rendering: the draw list's visibility and sort order, the four passes with shadows and
// the depth test, the flash, the floating labels, hit tests through transparent pixels and
// mirrored objects, and the camera with its walking outputs.
#include "engine/world/scene.h"

#include "engine/blit.h"
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/jpg.h"
#include "engine/kanji.h"
#include "engine/labels.h"
#include "engine/math.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world/zone.h"
#include "engine/world_state.h"
#include "platform/harness.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/jpeg_writer.h"
#include "tools/map_writer.h"
#include "tools/sprite_writer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr u16 GROUND = 0x0210; // the colour of every plain cell

// A w x h sprite of one colour; `clear` says which pixels are transparent.
std::vector<u8> sprite(s32 w, s32 h, s32 hot_x, s32 hot_y, u16 colour,
                       bool (*clear)(s32 x, s32 y) = nullptr) {
    SpriteSource s;
    s.width = w;
    s.height = h;
    s.hot_x = hot_x;
    s.hot_y = hot_y;
    for (s32 y = 0; y < h; ++y) {
        for (s32 x = 0; x < w; ++x) s.cells.push_back(clear && clear(x, y) ? SPRITE_CLEAR : 1);
    }
    std::array<u16, 256> palette{};
    palette[1] = colour;
    s.palettes.push_back(palette);
    return sprite_writer_encode(s);
}

// Images of the scene tests.
enum : s32 {
    IMG_FOOT = 100,  // 20 x 40, hotspot at the foot (10, 39); 101 its shadow
    IMG_BOX_A = 102, // 100 x 100 boxes with the hotspot at the top middle (50, 0), one colour each
    IMG_BOX_B = 104,
    IMG_BOX_C = 106,
    IMG_BOX_D = 108,
    IMG_HOLE = 110, // 40 x 40, hotspot (20, 39), transparent in its middle 20 x 20
    IMG_EDGE = 112, // 40 x 10, hotspot (10, 9): only columns 0..4 opaque
    IMG_TALL = 114, // 40 x 200, hotspot (20, 199); 115 its 30 x 10 shadow, hotspot (15, 5)
};
constexpr u16 COL_A = 0x7C00, COL_B = 0x03E0, COL_C = 0x001F, COL_D = 0x7FE0, COL_FOOT = 0x7C1F;
constexpr u16 COL_SHADOW = 0x7FFF;

ArcBuilder scene_archive() {
    ArcBuilder b;
    b.put(ARC_IMAGE_BASE + IMG_FOOT, sprite(20, 40, 10, 39, COL_FOOT));
    b.put(ARC_IMAGE_BASE + IMG_FOOT + 1, sprite(30, 10, 15, 5, COL_SHADOW));
    const u16 colours[] = {COL_A, COL_B, COL_C, COL_D};
    for (s32 i = 0; i < 4; ++i)
        b.put(ARC_IMAGE_BASE + IMG_BOX_A + 2 * i, sprite(100, 100, 50, 0, colours[i]));
    b.put(ARC_IMAGE_BASE + IMG_HOLE, sprite(40, 40, 20, 39, COL_A, [](s32 x, s32 y) {
              return x >= 10 && x < 30 && y >= 10 && y < 30;
          }));
    b.put(ARC_IMAGE_BASE + IMG_EDGE,
          sprite(40, 10, 10, 9, COL_B, [](s32 x, s32) { return x >= 5; }));
    b.put(ARC_IMAGE_BASE + IMG_TALL, sprite(40, 200, 20, 199, COL_FOOT));
    b.put(ARC_IMAGE_BASE + IMG_TALL + 1, sprite(30, 10, 15, 5, COL_SHADOW));
    return b;
}

class SceneTest : public ::testing::Test {
  protected:
    void start(const ArcBuilder& b, s32 layout_565 = 0) {
        HarnessConfig c;
        c.display_565 = layout_565;
        engine_start(b, c);
        object_reset();
        label_clear();
        std::memset(&world_state, 0, sizeof world_state);
        std::memset(&map_grid, 0, sizeof map_grid);
        for (auto& row : map_grid.cells) {
            for (u32& cell : row) cell = map_cell_colour(GROUND);
        }
        world_state.current_map = 1;
        world_state.map_width = 4096;
        world_state.map_height = 4096;
        field_point_x = 0;
        field_point_y = 0;
        field_buttons = 0;
        draw_count = 0;
    }
    void start() { start(scene_archive()); }
    void TearDown() override { shell_shutdown(); }

    // Object obj live on map `map` at (x, y) showing `frame` on `layer`.
    static void place(s32 obj, s32 x, s32 y, s32 frame, s32 layer, s32 map = 1) {
        attr_set(obj, ATTR_IN_USE, 1);
        attr_set(obj, ATTR_ACTIVE, 1);
        attr_set(obj, ATTR_MAP, map);
        attr_set(obj, ATTR_X, x);
        attr_set(obj, ATTR_Y, y);
        attr_set(obj, ATTR_LAYER, layer);
        attr_set(obj, ATTR_FRAME, frame);
    }
    static std::vector<s32> listed() {
        std::vector<s32> out;
        for (s32 i = 0; i < draw_count; ++i)
            out.push_back(s32(draw_list[i] & DRAW_KEY_OBJECT_MASK));
        return out;
    }
    static u16 px(s32 x, s32 y) { return back_buffer[y * SCREEN_W + x]; }
    HarnessTempDir dir;
};

TEST_F(SceneTest, DrawListSortsByPlaneFootLayerAndNumber) {
    start();
    place(10, 300, 50, IMG_FOOT, 1);
    attr_set(10, ATTR_PLANE, 1); // plane 1 comes after every plane-0 object
    place(11, 300, 300, IMG_FOOT, 3);
    place(13, 300, 300, IMG_FOOT, 1);
    place(12, 300, 300, IMG_FOOT, 1);
    place(15, 300, 300, IMG_FOOT, 2);
    attr_set(15, ATTR_HIDDEN, 1); // hidden: after layer 3
    place(16, 300, 300, IMG_FOOT, 0);
    attr_set(16, ATTR_HIDDEN, 1); // hidden on layer 0: an ordinary layer-0 entry
    place(17, 300, 299, IMG_FOOT, 3);
    place(20, 3000, 300, IMG_FOOT, 1);   // off screen
    place(21, 300, 300, IMG_FOOT, 1, 2); // another map
    place(22, 300, 300, 0, 1);           // no frame
    place(23, 300, 300, IMG_FOOT, 1);
    attr_set(23, ATTR_IN_USE, 0); // active but not in use
    EXPECT_EQ(drawlist_build(), 7);
    EXPECT_EQ(listed(), (std::vector<s32>{17, 16, 12, 13, 11, 15, 10}));
    EXPECT_EQ(draw_list[5], (300u << 16) | DRAW_KEY_HIDDEN | 15);
    EXPECT_EQ(draw_list[4], (300u << 16) | (3u << 13) | 11);
    EXPECT_EQ(draw_list[6], (1u << 30) | (50u << 16) | (1u << 13) | 10);
}

TEST_F(SceneTest, VisibilityUsesTheCachedSizeHotspotHeightAndMirror) {
    start();
    world_state.camera_x = 100;
    world_state.camera_y = 100;
    // IMG_FOOT: width 20, height 40, hotspot (10, 39).
    struct Case {
        s32 x, y, z;
        bool mirrored, visible;
    };
    const Case cases[] = {
        {90, 300, 0, false, false},  {91, 300, 0, false, true},    // left edge: 81 + 20 > 100
        {749, 300, 0, false, true},  {750, 300, 0, false, false},  // right edge: left 740
        {90, 300, 0, true, true},    {89, 300, 0, true, false},    // mirrored: right = x + 10
        {748, 300, 0, true, true},   {749, 300, 0, true, false},   // right - 19 >= 640
        {300, 100, 0, false, true},  {300, 99, 0, false, false},   // top: y - 39 + 40 > 100
        {300, 110, 10, false, true}, {300, 109, 10, false, false}, // lifted by z
        {300, 618, 0, false, true},  {300, 619, 0, false, false},  // bottom: top 580
        {300, 629, 11, false, true},
    };
    for (const Case& c : cases) {
        object_reset();
        place(5, c.x, c.y, IMG_FOOT, 1);
        attr_set(5, ATTR_Z, c.z);
        attr_set(5, ATTR_MIRROR, c.mirrored);
        EXPECT_EQ(drawlist_build(), c.visible ? 1 : 0) << c.x << "," << c.y << " m" << c.mirrored;
    }
}

TEST_F(SceneTest, TheListHoldsTheFirst512VisibleObjects) {
    start();
    for (s32 obj = 0; obj < 600; ++obj) place(obj, 100 + obj, 300, IMG_FOOT, 1);
    EXPECT_EQ(drawlist_build(), DRAW_LIST_SIZE);
    const std::vector<s32> objs = listed();
    EXPECT_EQ(*std::max_element(objs.begin(), objs.end()), 511);
}

TEST_F(SceneTest, PassesDrawGroundThenStandingThenTopAndSkipLayerZeroAndHidden) {
    start();
    // Four boxes whose bodies cover screen 250..349 x 100..199, lifted by z to the same place.
    place(1, 300, 100, IMG_BOX_A, 2); // top, first in the list
    place(2, 300, 300, IMG_BOX_B, 3); // standing
    attr_set(2, ATTR_Z, 200);
    place(3, 300, 400, IMG_BOX_C, 1); // ground, last in the list
    attr_set(3, ATTR_Z, 300);
    place(4, 300, 450, IMG_BOX_D, 0); // layer 0: never drawn
    attr_set(4, ATTR_Z, 350);
    place(5, 300, 460, IMG_BOX_D, 3); // hidden: never drawn
    attr_set(5, ATTR_Z, 360);
    attr_set(5, ATTR_HIDDEN, 1);
    scene_render();
    EXPECT_EQ(draw_count, 5);
    EXPECT_EQ(px(300, 150), COL_A);
    attr_set(1, ATTR_ACTIVE, 0);
    scene_render();
    EXPECT_EQ(px(300, 150), COL_B);
    attr_set(2, ATTR_ACTIVE, 0);
    scene_render();
    EXPECT_EQ(px(300, 150), COL_C);
    attr_set(3, ATTR_ACTIVE, 0);
    scene_render();
    EXPECT_EQ(px(300, 150), GROUND);
    EXPECT_EQ(px(0, 0), GROUND);
}

TEST_F(SceneTest, StandingObjectsAreDepthTestedAndCastShadows) {
    ArcBuilder b = scene_archive();
    // Zone 3: occlusion 100 left of x 128 and 0 from it; ground depth 50 everywhere.
    const u8 grey[3] = {90, 90, 90};
    std::vector<u8> rgb(size_t(256 * 256 * 3));
    for (size_t i = 0; i < rgb.size(); i += 3) std::memcpy(&rgb[i], grey, 3);
    ZoneSource z =
        zone_source_uniform(0, terrain_attribute(1, 0, 0, 0, 0, 50), jpeg_writer_zone(rgb.data()));
    for (ZoneRow& row : z.occlusion) row = {{128, 100}, {128, 0}};
    b.put(ARC_ZONE_BASE + 3, map_write_zone(z));
    start(b);
    map_grid.cells[0][0] = map_cell(3, s32(z.jpeg.size()));
    // A tall standing object across x 128, its shadow below the foot.
    place(7, 128, 220, IMG_TALL, 3);
    scene_render();
    EXPECT_EQ(px(140, 100), COL_FOOT); // in front of depth 0
    EXPECT_NE(px(115, 100), COL_FOOT); // behind depth 100
    // Show-through: one pixel in four of the hidden part shows.
    attr_set(7, ATTR_SHOW_THROUGH, 1);
    scene_render();
    s32 shown = 0;
    for (s32 y = 100; y < 110; ++y) {
        for (s32 x = 110; x < 118; ++x) shown += px(x, y) == COL_FOOT;
    }
    EXPECT_GT(shown, 5);
    EXPECT_LT(shown, 40);

    // Shadow: image frame + 1 at the foot (not lifted), blended; the body is lifted by z.
    attr_set(7, ATTR_ACTIVE, 0);
    scene_render();
    const std::vector<u16> ground(back_buffer, back_buffer + SCREEN_PIXELS);
    auto bare = [&](s32 x, s32 y) { return px(x, y) == ground[size_t(y * SCREEN_W + x)]; };
    attr_set(7, ATTR_ACTIVE, 1);
    attr_set(7, ATTR_SHOW_THROUGH, 0);
    attr_set(7, ATTR_X, 200);
    attr_set(7, ATTR_Z, 100);
    scene_render();
    EXPECT_EQ(px(200, 119), COL_FOOT); // body bottom at 220 - 100
    EXPECT_TRUE(bare(200, 121));
    EXPECT_TRUE(bare(200, 220));
    attr_set(7, ATTR_SHADOW, 1);
    scene_render();
    // Shadow 30 x 10 with hotspot (15, 5): covers 185..214 x 215..224.
    EXPECT_FALSE(bare(200, 220));
    EXPECT_FALSE(bare(185, 215));
    EXPECT_NE(px(200, 220), COL_SHADOW); // seven tenths of the ground show through
    EXPECT_TRUE(bare(200, 225));
    EXPECT_TRUE(bare(184, 220));
    // Only standing objects cast shadows.
    attr_set(7, ATTR_LAYER, 1);
    scene_render();
    EXPECT_TRUE(bare(200, 220));
}

TEST_F(SceneTest, AFlashFillsTheTargetWhiteOnce) {
    for (const s32 layout : {0, 1}) {
        start(scene_archive(), layout);
        world_state.flash = 1;
        scene_render();
        EXPECT_EQ(px(0, 0), 0xFFFF);
        EXPECT_EQ(px(639, 479), 0xFFFF);
        EXPECT_EQ(world_state.flash, 0);
        scene_render();
        EXPECT_EQ(px(0, 0), display_565 ? colour_555_to_565(GROUND) : GROUND);
    }
}

TEST_F(SceneTest, LabelsFollowTheirObjectOrStandOnTheScreen) {
    start();
    world_state.camera_x = 100;
    world_state.camera_y = 50;
    place(9, 400, 300, IMG_FOOT, 1);
    attr_set(9, ATTR_Z, 20);
    label_table[0] = {};
    label_table[0].countdown = 5;
    label_table[0].object = 9;
    label_table[0].dx = -10;
    label_table[0].dy = -60;
    std::strcpy(label_table[0].text, "A");
    label_table[1] = {};
    label_table[1].countdown = 5;
    label_table[1].object = 5000;
    label_table[1].dx = 30;
    label_table[1].dy = 40;
    std::strcpy(label_table[1].text, "B");
    label_table[2] = label_table[1];
    label_table[2].countdown = 0; // a free label is not drawn
    label_table[2].dy = 400;
    std::memset(label_table[0].text + 1, 'x', LABEL_TEXT_SIZE - 1); // runs to the end
    scene_render();
    // The printer darkens a 16 x 16 square at the pen before each character.
    EXPECT_NE(px(400 - 10 - 100 + 2, 300 - 20 - 60 - 50 + 2), GROUND);
    EXPECT_EQ(px(400 - 10 - 100 - 2, 300 - 20 - 60 - 50 + 2), GROUND);
    EXPECT_NE(px(30 + 2, 40 + 2), GROUND);
    EXPECT_EQ(px(30 + 2, 400 + 2), GROUND);
    EXPECT_EQ(label_table[0].text[LABEL_TEXT_SIZE - 2], 0);
    EXPECT_EQ(label_table[0].text[LABEL_TEXT_SIZE - 1], 0);
}

TEST_F(SceneTest, HitTestsFallThroughTransparentPixelsAndFollowTheMirror) {
    start();
    // Object 3 (later in the list, on top) has a transparent middle; object 2 lies under it.
    place(2, 300, 200, IMG_BOX_A, 1);
    attr_set(2, ATTR_Z, 50);
    place(3, 300, 260, IMG_HOLE, 3);
    for (const s32 obj : {2, 3}) attr_set(obj, ATTR_CLICK, 1);
    drawlist_build();
    EXPECT_EQ(hit_test(300 - 20 + 2, 260 - 39 + 2, TRIG_CLICK), 3); // opaque rim of 3
    EXPECT_EQ(hit_test(300, 260 - 20, TRIG_CLICK), 2);              // through 3's hole
    EXPECT_EQ(hit_test(300, 260 - 20, TRIG_TOUCH), -1);             // kind not set
    EXPECT_EQ(hit_test(300, 260 - 20, 2), -1);                      // not a hit kind
    EXPECT_EQ(hit_test(300, 260 - 20, 8), -1);
    attr_set(3, ATTR_HIDDEN, 1); // hidden objects are hit, but not drawn
    attr_set(3, ATTR_LAYER, 0);
    drawlist_build();
    EXPECT_EQ(hit_test(300 - 20 + 2, 260 - 39 + 2, TRIG_CLICK), 3);

    // IMG_EDGE: width 40, hotspot x 10, opaque only in its columns 0..4.
    object_reset();
    place(4, 100, 300, IMG_EDGE, 1);
    attr_set(4, ATTR_STEP, 1);
    drawlist_build();
    EXPECT_EQ(hit_test(90, 295, TRIG_STEP), 4); // column 0 at x - hot_x
    EXPECT_EQ(hit_test(94, 295, TRIG_STEP), 4);
    EXPECT_EQ(hit_test(95, 295, TRIG_STEP), -1); // transparent column 5
    EXPECT_EQ(hit_test(89, 295, TRIG_STEP), -1); // left of the box
    attr_set(4, ATTR_MIRROR, 1);                 // mirrored: covers 71..110, column 0 at x + hot_x
    drawlist_build();
    EXPECT_EQ(hit_test(110, 295, TRIG_STEP), 4);
    EXPECT_EQ(hit_test(106, 295, TRIG_STEP), 4);
    EXPECT_EQ(hit_test(105, 295, TRIG_STEP), -1);
    EXPECT_EQ(hit_test(111, 295, TRIG_STEP), -1);
    EXPECT_EQ(hit_test(92, 295, TRIG_STEP), -1);
    EXPECT_EQ(hit_test(106, 300, TRIG_STEP), 4); // bottom row (hot_y 9)
    EXPECT_EQ(hit_test(106, 301, TRIG_STEP), -1);
    // Objects off screen are not in the list and cannot be hit.
    world_state.camera_x = 1000;
    drawlist_build();
    EXPECT_EQ(hit_test(106, 295, TRIG_STEP), -1);
}

TEST_F(SceneTest, TheCameraFollowsThePlayerWithinTheMap) {
    start();
    world_state.map_width = 2048;
    world_state.map_height = 1536;
    struct Case {
        s32 x, y, z, cx, cy;
    };
    const Case cases[] = {
        {1000, 800, 0, 680, 560},
        {1000, 800, 100, 680, 460},
        {100, 100, 0, 0, 0},
        {2040, 1530, 0, 1408, 1056},
    };
    place(0, 0, 0, IMG_FOOT, 3);
    for (const Case& c : cases) {
        attr_set(0, ATTR_X, c.x);
        attr_set(0, ATTR_Y, c.y);
        attr_set(0, ATTR_Z, c.z);
        camera_follow(0);
        EXPECT_EQ(world_state.camera_x, c.cx) << c.x;
        EXPECT_EQ(world_state.camera_y, c.cy) << c.y;
    }
    // A map narrower and lower than the screen puts the camera left of and above it; the scene
    // still draws, with nothing where the grid has no cells.
    world_state.map_width = 500;
    world_state.map_height = 400;
    attr_set(0, ATTR_X, 250);
    attr_set(0, ATTR_Y, 200);
    attr_set(0, ATTR_Z, 0);
    camera_follow(0);
    EXPECT_EQ(world_state.camera_x, -140);
    EXPECT_EQ(world_state.camera_y, -80);
    std::fill(back_buffer, back_buffer + SCREEN_PIXELS, u16(0x1234));
    scene_render();
    EXPECT_EQ(px(10, 10), 0x1234);
    EXPECT_EQ(px(140, 80), GROUND);
    EXPECT_EQ(px(250 + 140, 200 + 80 - 5), COL_FOOT); // the player
}

TEST_F(SceneTest, TheRightButtonTurnsThePointerIntoAWalk) {
    start();
    place(0, 1000, 1000, IMG_FOOT, 3);
    attr_set(0, ATTR_Z, 20); // the drawn foot point is (1000, 980)
    auto follow = [](s32 dx, s32 dy, u32 buttons = 2, s32 walk = 1) {
        field_point_x = 1000 + dx;
        field_point_y = 980 + dy;
        field_buttons = buttons;
        camera_follow(walk);
    };
    // Compass points: 200 pixels in each of the eight directions.
    const s32 compass[8][2] = {{200, 0},  {200, -200}, {0, -200}, {-200, -200},
                               {-200, 0}, {-200, 200}, {0, 200},  {200, 200}};
    for (s32 s = 0; s < 8; ++s) {
        follow(compass[s][0], compass[s][1]);
        EXPECT_EQ(world_state.walk_sector, s) << s;
        const s32 dir = s * 45;
        EXPECT_EQ(world_state.step_x, dir_step_x[size_t(dir)]) << s;
        EXPECT_EQ(world_state.step_y, dir_step_y[size_t(dir)]) << s;
        EXPECT_EQ(slide_first_x, dir_step_x[size_t((dir + 338) % 360)]) << s;
        EXPECT_EQ(slide_first_y, dir_step_y[size_t((dir + 338) % 360)]) << s;
        EXPECT_EQ(slide_second_x, dir_step_x[size_t((dir + 22) % 360)]) << s;
        EXPECT_EQ(slide_second_y, dir_step_y[size_t((dir + 22) % 360)]) << s;
    }
    // Sector edges: 350 degrees is sector 0, 337 sector 7.
    for (const auto& [angle, sector] : {std::pair{350, 0}, std::pair{337, 7}, std::pair{338, 0}}) {
        s32 dy = 0;
        while (dy < 2000 && direction_of(1000, dy) != angle) ++dy;
        ASSERT_EQ(direction_of(1000, dy), angle);
        follow(150, dy * 150 / 1000);
        if (direction_of(150, dy * 150 / 1000) != angle) follow(1000, dy);
        EXPECT_EQ(world_state.walk_sector, sector) << angle;
    }
    // Speed: 5 up to a distance of 160 (across distances count three quarters), 10 beyond,
    // 4 with the second sprite set.
    follow(200, 0); // 150 by distance
    EXPECT_EQ(world_state.walk_speed, 5);
    follow(0, 170);
    EXPECT_EQ(world_state.walk_speed, 10);
    world_state.player_sprite_set = 1;
    follow(0, 170);
    EXPECT_EQ(world_state.walk_speed, 4);
    world_state.player_sprite_set = 0;
    // Five pixels from the drawn foot point: the player stands; the sector stays.
    follow(-200, 0);
    follow(5, 0);
    EXPECT_EQ(world_state.walk_speed, 0);
    EXPECT_EQ(world_state.step_x, 0);
    EXPECT_EQ(world_state.step_y, 0);
    EXPECT_EQ(world_state.walk_sector, 4);
    // Without the right button, or from change_map (walk 0), nothing but the camera changes.
    follow(0, 170);
    follow(-200, 0, 1);
    EXPECT_EQ(world_state.walk_sector, 6);
    follow(-200, 0, 2, 0);
    EXPECT_EQ(world_state.walk_sector, 6);
    EXPECT_EQ(world_state.walk_speed, 10);
}

} // namespace

TEST_F(SceneTest, PictureShowRefusesBadNumbersAndEmptyEntriesAndDrawsImage250) {
    ArcBuilder b = scene_archive();
    b.put(ARC_IMAGE_BASE + 250, sprite(100, 100, 0, 0, COL_B));
    b.put(ARC_PICTURE_BASE + 3, std::vector<u8>(300, 0x41));
    // An index entry that declares 2 GB lying past the end of the file.
    b.put_raw_entry(ARC_PICTURE_BASE + 9, 0xF0000000u, 0x7FFFFFF0);
    struct Case {
        s32 picture;
        const char* fatal; // "" when it draws
    };
    const Case cases[] = {
        {-1, "jpg:-1,or"}, {65536, "jpg:65536,or"}, {5, "jpg:#5 size=0"}, {3, ""}, {9, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture);
        start(b); // a fatal error releases the engine
        std::memset(back_buffer, 0, size_t(SCREEN_PIXELS) * 2);
        EXPECT_EQ(harness_fatal_message([&] { picture_show(c.picture); }), c.fatal);
        if (*c.fatal) continue;
        EXPECT_NE(px(0, 0), 0); // image 250 from (-50, -50): its lower right quarter shows
        EXPECT_NE(px(49, 49), 0);
        EXPECT_EQ(px(50, 50), 0);
    }
}
