// The placeholder archive's battle pictures: every picture the battle draws by number and every
// image of the animations that the martial arts name is there, sized and anchored as drawn, and
// every one of them loads as a valid image.
#include "tools/placeholder_battle.h"

#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/anim.h"
#include "engine/gisk.h"
#include "engine/image.h"
#include "engine/shell.h"
#include "engine/sprite.h"
#include "platform/harness.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct Header {
    s32 w = 0, h = 0, hot_x = 0, hot_y = 0;
};

class PlaceholderBattleTest : public ::testing::Test {
  protected:
    void SetUp() override { arc_put_placeholder_content(builder); }

    // The entry bytes of image `id`, through its alias; empty when the archive lacks it.
    const std::vector<u8>* image(s32 id) const {
        u32 key = u32(ARC_IMAGE_BASE + id);
        const auto alias = builder.aliases().find(key);
        if (alias != builder.aliases().end()) key = alias->second;
        const auto it = builder.entries().find(key);
        return it == builder.entries().end() || it->second.empty() ? nullptr : &it->second.bytes();
    }
    Header header(s32 id) const {
        const std::vector<u8>* b = image(id);
        Header h;
        if (!b || b->size() < 8) return h;
        const auto u16_at = [&](size_t i) { return s32(u16((*b)[i] | (*b)[i + 1] << 8)); };
        h.w = u16_at(0);
        h.h = u16_at(2);
        h.hot_x = s32(s16(u16_at(4)));
        h.hot_y = s32(s16(u16_at(6)));
        return h;
    }
    // Every image id drawn by a part of slot `anim`.
    static std::set<s32> anim_images(s32 anim) {
        std::set<s32> ids;
        u32 begin = 0, end = 0;
        if (!anim_slot_span(anim, &begin, &end)) return ids;
        const u8* lib = anim_library;
        u32 p = begin + 1;
        for (s32 f = 0; f < lib[begin]; ++f) {
            const u32 parts = u32(lib[p + 6] | lib[p + 7] << 8);
            p += 8;
            for (u32 k = 0; k < parts; ++k, p += 8) {
                const u32 kind_id =
                    u32(lib[p + 4] | lib[p + 5] << 8 | lib[p + 6] << 16) | u32(lib[p + 7]) << 24;
                if (anim_part_kind(kind_id) != ANIM_KIND_SOUND)
                    ids.insert(s32(anim_part_id(kind_id)));
            }
        }
        return ids;
    }

    ArcBuilder builder;
};

TEST_F(PlaceholderBattleTest, EveryPictureTheBattleDrawsIsThereAtItsSize) {
    init_battle_tables();
    std::set<s32> grounds;
    for (const EncounterRecord& e : encounters)
        if (e.background > 0) grounds.insert(e.background);
    ASSERT_FALSE(grounds.empty());
    for (s32 id : grounds) {
        const Header h = header(id);
        EXPECT_EQ(h.w, 640) << id;
        EXPECT_EQ(h.h, 480) << id;
    }
    // The cell highlight: a 72 x 36 diamond centred on the cell's point.
    const Header cell = header(25765);
    EXPECT_EQ(cell.w, 73);
    EXPECT_EQ(cell.h, 37);
    EXPECT_EQ(cell.hot_x, 36);
    EXPECT_EQ(cell.hot_y, 18);
    std::vector<s32> ids;
    for (s32 id = 25735; id <= 25777; ++id)
        if (id != 25764) ids.push_back(id);
    for (s32 id = 20882; id <= 20898; ++id) ids.push_back(id);
    for (s32 c = 0; c < ROSTER_SIZE; ++c) ids.push_back(1000 + c);
    for (s32 id : ids) EXPECT_NE(image(id), nullptr) << id;
    // Gauge and panel cells fit their frames' insides.
    EXPECT_EQ(header(25756).w, 54);
    EXPECT_EQ(header(25769).w, 110);
    EXPECT_EQ(header(25755).h, 3);
    EXPECT_EQ(header(25772).h, 4);
    // Guard pictures stand on the protagonist's point.
    EXPECT_EQ(header(25777).hot_y, header(25777).h - 1);
}

TEST_F(PlaceholderBattleTest, EveryArtsAnimationHasItsPicturesAndLoads) {
    HarnessTempDir dir;
    engine_start(builder);
    anim_reset();
    init_battle_tables();
    std::set<s32> slots;
    for (const ArtEntry& art : arts_table)
        for (s32 a : art.anim) slots.insert(a);
    std::set<s32> images;
    for (s32 slot : slots) {
        EXPECT_GT(anim_frame_count(slot), 2) << slot; // a step, the stance and a blow
        const s32 link = anim_link_frame(slot);
        if (slot != 0) {
            EXPECT_GT(link, 1) << slot; // the blow lands on a frame of its own
        }
        for (s32 id : anim_images(slot)) images.insert(id);
    }
    // The impact animations the blows link.
    for (s32 overlay = 80; overlay <= 101; ++overlay)
        for (s32 id : anim_images(overlay)) images.insert(id);
    ASSERT_GT(images.size(), 100u);
    for (s32 id : images) {
        const std::vector<u8>* b = image(id);
        ASSERT_NE(b, nullptr) << id;
        s32 size = 0;
        ASSERT_NE(image_load(id, &size), nullptr) << id; // a valid picture, or the load is fatal
    }
    // Fighters stand on their point: their pictures have the hotspot on their bottom row.
    for (s32 id : images)
        if (id >= 30000) {
            const Header h = header(id);
            EXPECT_EQ(h.hot_y, h.h - 1) << id;
        }
    anim_reset();
    shell_shutdown();
}

} // namespace
