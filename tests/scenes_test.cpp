// The map-episode scenes: the set-up of a fresh entry (clock, place, track, player, slot-0 save),
// a resumed entry that leaves the loaded world alone, the closing steps (only when no load
// replaced the game) and the ranges of every scene's rows. The field loop is replaced by a stub
// that looks at the world as the first field frame would see it and then plays the episode's end.
#include "data/scene_rows.h"
#include "data/timetables.h"
#include "engine/shell.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/hub.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/save.h"
#include "game/scenes.h"
#include "game/state.h"
#include "tests/hub_fixture.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <vector>

namespace {

// What the stubbed field loop does: `on_loop` runs in place of the field frames.
std::function<void()> on_loop;
s32 loop_runs = 0;

void stub_field_loop() {
    ++loop_runs;
    if (on_loop) on_loop();
    world_state.field_active = 0;
}

using Snapshot = std::vector<std::vector<u8>>;

Snapshot snapshot() {
    Snapshot s;
    for (const StateBlock& b : state_blocks) {
        const u8* p = static_cast<const u8*>(b.data);
        s.emplace_back(p, p + b.size);
    }
    return s;
}

std::vector<u8> read_file(const char* name) {
    std::ifstream f(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

s32 read_s32(const std::vector<u8>& image, size_t at) {
    s32 v = 0;
    std::memcpy(&v, image.data() + at, sizeof v);
    return v;
}

bool file_exists(const char* name) {
    std::FILE* f = std::fopen(name, "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

class EpisodeSceneTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        scene_field_loop_seam = stub_field_loop;
        on_loop = nullptr;
        loop_runs = 0;
        hub_restart = -1; // inside a hub pass
        // A map that no scene uses: objects are created off the current map, as the launchers
        // leave the world, so no image is read before the field loop loads the player's map.
        world_state.current_map = 299;
        save_image_name(0, slot0);
        std::remove(slot0);
    }
    void TearDown() override {
        scene_field_loop_seam = field_loop;
        on_loop = nullptr;
        HubTest::TearDown();
    }
    char slot0[16] = {};
};

// The expected set-up of every scene, written from the episodes' descriptions.
struct Expect {
    const char* name;
    void (*play)();
    s32 hour, rate, area, music; // rate, area, music: -1 = left as they were
    bool plays;                  // the entry plays PlayerRecord.music_id
    bool clears_buttons;
    bool saves;
    bool cursor; // cursor_show and cursor_select(0) after make_player
    s32 map, x, y, event, hover, click, frame;
};

const Expect expected[] = {
    {"221", scene_play_221, 9, 300, 1, 10050, true, false, true, false, 10, 6, 1925, 1000, 3, 0,
     424},
    {"192", scene_play_192, 9, -1, 5, 10033, true, false, true, true, 240, 229, 1530, 0, 3, 1, 418},
    {"190", scene_play_190, 9, 300, 4, 10060, true, false, true, true, 200, 1476, 3690, 0, 3, 1,
     424},
    {"196", scene_play_196, 10, 0, 1, 10026, true, true, false, true, 67, 644, 1629, 0, 0, 0, 420},
    {"222", scene_play_222, 10, 300, 14, 10060, true, true, true, true, 102, 385, 799, 0, 3, 1,
     424},
    {"201", scene_play_201, 10, 0, -1, 10060, true, true, false, true, 90, 348, 401, 0, 0, 0, 420},
    {"193", scene_play_193, 10, 300, 8, 10030, true, true, true, true, 186, 36, 1662, 0, 3, 1,
     -418},
    {"194", scene_play_194, 10, 0, 9, 10031, true, true, true, true, 100, 500, 1900, 0, 3, 1, -418},
    {"044", scene_play_044, 13, 0, 10, 10029, true, false, true, true, 139, 153, 2137, 0, 3, 1,
     -418},
    {"129_1", scene_play_129_1, 9, 0, 6, 10039, true, true, true, true, 63, 1584, 1178, 0, 3, 1,
     -418},
    {"129_2", scene_play_129_2, 9, 0, 6, 10039, true, true, true, true, 61, 1584, 1178, 0, 3, 1,
     -418},
    {"203", scene_play_203, 9, 0, 3, 10035, true, false, true, false, 187, 454, 400, 0, 3, 1, 424},
    {"135", scene_play_135, 10, 0, 9, 10031, false, false, true, true, 101, 2000, 1700, 0, 3, 1,
     418},
    {"195", scene_play_195, 13, 0, 11, 10037, true, false, true, true, 71, 1176, 1359, 0, 3, 1,
     424},
    {"191", scene_play_191, 13, 0, 7, -1, false, false, true, false, 69, 644, 1629, 0, 3, 1, 424},
    {"197", scene_play_197, 10, 0, 15, 10060, false, false, true, true, 93, 2350, 1730, 0, 3, 1,
     418},
    {"199", scene_play_199, 15, 0, 16, 10047, true, false, true, true, 78, 104, 565, 0, 3, 1, 418},
    {"198", scene_play_198, 9, 0, 3, 10035, true, false, true, true, 94, 265, 638, 0, 3, 1, -418},
    {"143", scene_play_143, 13, 0, 13, 10048, true, false, false, false, 80, 1800, 368, 0, 0, 0,
     -424},
};

// Values the scenes may or may not write, set before each entry so that "left as it was" shows.
constexpr s32 RATE_BEFORE = 123;
constexpr s32 AREA_BEFORE = AREA_HUB;
constexpr s32 MUSIC_BEFORE = 10099;
constexpr u32 CURSOR_BEFORE = 7;

void prepare_fresh_entry() {
    world_state.field_active = 0;
    world_state.hour = 17;
    world_state.minute = 45;
    world_state.frames_per_minute = RATE_BEFORE;
    world_state.cursor_id = CURSOR_BEFORE;
    player_record.clock_rate_copy = RATE_BEFORE;
    player_record.area = AREA_BEFORE;
    player_record.music_id = MUSIC_BEFORE;
    mouse_buttons = 3;
}

std::vector<s32> music_played() {
    std::vector<s32> ids;
    for (const TranscriptEntry& e : dialog_transcript())
        if (e.kind == TRANSCRIPT_MUSIC) ids.push_back(e.id);
    return ids;
}

TEST_F(EpisodeSceneTest, FreshEntrySetsUpClockPlacePlayerAndSavesWhereTheEpisodeResumes) {
    for (const Expect& c : expected) {
        SCOPED_TRACE(std::string("scene ") + c.name);
        prepare_fresh_entry();
        std::remove(slot0);
        dialog_transcript_clear();
        const s32 rate = c.rate < 0 ? RATE_BEFORE : c.rate;
        const s32 area = c.area < 0 ? AREA_BEFORE : c.area;
        const s32 music = c.music < 0 ? MUSIC_BEFORE : c.music;
        on_loop = [&] {
            // The world as the first field frame finds it.
            EXPECT_EQ(s32(world_state.field_active), 1);
            EXPECT_EQ(s32(world_state.hour), c.hour);
            EXPECT_EQ(s32(world_state.minute), 0);
            EXPECT_EQ(s32(world_state.frames_per_minute), rate);
            EXPECT_EQ(player_record.clock_rate_copy, rate);
            EXPECT_EQ(player_record.area, area);
            EXPECT_EQ(player_record.music_id, music);
            EXPECT_EQ(music_played(), c.plays ? std::vector<s32>{music} : std::vector<s32>{});
            EXPECT_EQ(mouse_buttons.peek(), c.clears_buttons ? 0u : 3u);
            EXPECT_EQ(u32(world_state.cursor_id), c.cursor ? 0u : CURSOR_BEFORE);
            EXPECT_EQ(attr_get(0, ATTR_MAP), c.map);
            EXPECT_EQ(attr_get(0, ATTR_X), c.x);
            EXPECT_EQ(attr_get(0, ATTR_Y), c.y);
            EXPECT_EQ(attr_get(0, ATTR_EVENT), c.event);
            EXPECT_EQ(attr_get(0, ATTR_HOVER_CURSOR), 1);
            EXPECT_EQ(attr_get(0, ATTR_CURSOR), c.hover);
            EXPECT_EQ(attr_get(0, ATTR_CLICK), c.click);
            EXPECT_EQ(obj_get_frame(0), c.frame);
            EXPECT_EQ(attr_get(0, ATTR_VAR_A), 0);
            // Only the map-10 episode's opening runs on the player's own countdown.
            EXPECT_EQ(attr_get(0, ATTR_TIMER_ON), c.event == 1000 ? 1 : 0);
            if (c.event == 1000) {
                EXPECT_EQ(attr_get(0, ATTR_TIMER), 6);
            }
        };
        c.play();
        EXPECT_EQ(loop_runs, 1);
        EXPECT_EQ(u32(world_state.cursor_id), 0u);
        // The saved file carries the running field byte, so loading it resumes the episode.
        ASSERT_EQ(file_exists(slot0), c.saves);
        if (c.saves) {
            const std::vector<u8> image = read_file(slot0);
            ASSERT_EQ(image.size(), size_t(SAVE_IMAGE_SIZE));
            EXPECT_EQ(image[offsetof(WorldState, field_active)], 1);
            EXPECT_EQ(image[offsetof(WorldState, hour)], c.hour);
            const size_t player = SAVE_BLOCK_OFFSET[2];
            EXPECT_EQ(read_s32(image, player + offsetof(PlayerRecord, area)), area);
            EXPECT_EQ(read_s32(image, player + offsetof(PlayerRecord, music_id)), music);
        }
        loop_runs = 0;
    }
}

TEST_F(EpisodeSceneTest, ResumedEntryLeavesTheLoadedWorldAlone) {
    for (const Expect& c : expected) {
        SCOPED_TRACE(std::string("scene ") + c.name);
        world_state.field_active = 1;
        world_state.hour = 11;
        world_state.minute = 30;
        player_record.music_id = 10077;
        attr_set(469, ATTR_IN_USE, 1);
        attr_set(469, ATTR_ACTIVE, 1);
        mouse_buttons = 3;
        std::remove(slot0);
        dialog_transcript_clear();
        const Snapshot before = snapshot();
        on_loop = [&] {
            Snapshot now = snapshot();
            // Town A's timer is switched off on every entry of the map-186 episode.
            const bool stops_469 = std::string(c.name) == "193";
            EXPECT_EQ(attr_get(469, ATTR_ACTIVE), stops_469 ? 0 : 1);
            if (stops_469) {
                u8* record = now[1].data() + 469 * sizeof(ObjectRecord);
                std::memcpy(record, before[1].data() + 469 * sizeof(ObjectRecord),
                            sizeof(ObjectRecord));
            }
            for (s32 b = 0; b < STATE_BLOCK_COUNT; ++b)
                EXPECT_TRUE(now[b] == before[b]) << state_blocks[b].name << " changed";
            EXPECT_EQ(music_played(), c.plays ? std::vector<s32>{10077} : std::vector<s32>{});
            EXPECT_EQ(mouse_buttons.peek(), c.clears_buttons ? 0u : 3u);
        };
        c.play();
        EXPECT_EQ(loop_runs, 1);
        EXPECT_FALSE(file_exists(slot0));
        loop_runs = 0;
    }
}

// The map-10 episode runs clock_apply after its hide list: the timetabled residents it sends away
// are not moved to their places of 9:00.
TEST_F(EpisodeSceneTest, MapTenEpisodeHidesResidentsBeforeTheTimetablePlacesThem) {
    const std::set<s32> sent_away = {6,   122, 123, 214, 215, 216, 217, 218, 219,
                                     220, 221, 222, 223, 224, 225, 226, 227, 232};
    const s32 q = timetable_quarter(9, 0);
    std::vector<s32> checked;
    for (s32 i = 0; i < TIMETABLE_NPCS; ++i) {
        const s32 obj = timetable_npcs[i];
        if (obj < 0 || !sent_away.count(obj) || !timetable_has(timetable_entry(i, q).x)) continue;
        attr_set(obj, ATTR_IN_USE, 1);
        attr_set(obj, ATTR_ACTIVE, 1);
        attr_set(obj, ATTR_X, 7);
        attr_set(obj, ATTR_Y, 9);
        checked.push_back(obj);
    }
    ASSERT_FALSE(checked.empty()) << "no timetabled resident of the hide list has a 9:00 place";
    prepare_fresh_entry();
    scene_play_221();
    for (s32 obj : checked) {
        EXPECT_EQ(attr_get(obj, ATTR_ACTIVE), 0) << "object " << obj;
        EXPECT_EQ(attr_get(obj, ATTR_X), 7) << "object " << obj;
        EXPECT_EQ(attr_get(obj, ATTR_Y), 9) << "object " << obj;
    }
    // Hidden and still given its talk stage.
    EXPECT_EQ(attr_get(272, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(272, ATTR_VAR_A), 2);
}

const s32 meet[] = {11, 71, 121, 167, 87, 81, 55, 180, 33, 89};

TEST_F(EpisodeSceneTest, MapTenEpisodeMeetsTenPersonsOnReturnAndNoneAfterALoad) {
    // Normal return (also after a resumed entry): the missing ones are met, one already met
    // keeps its affection.
    acquaint_add(121, 0);
    const s32 affection_121 = player_record.affection[121];
    world_state.field_active = 1;
    scene_play_221();
    for (s32 p : meet) EXPECT_EQ(acquaint_has(p), 1) << "person " << p;
    EXPECT_EQ(player_record.affection[121], affection_121);

    // A load inside the episode replaced the game: the loaded game gets none of them.
    for (s32& a : player_record.acquaintances) a = -1;
    for (s32 p : meet) player_record.affection[p] = -1;
    prepare_fresh_entry();
    on_loop = [] { hub_restart = 1; };
    scene_play_221();
    for (s32 p : meet) EXPECT_EQ(acquaint_has(p), 0) << "person " << p;
}

TEST_F(EpisodeSceneTest, EpisodeOnMapNinetyHidesItsFourFiguresOnlyWhenNoLoadHappened) {
    prepare_fresh_entry();
    on_loop = [] {
        for (s32 obj = 3719; obj <= 3722; ++obj) attr_set(obj, ATTR_ACTIVE, 1);
    };
    scene_play_201();
    for (s32 obj = 3719; obj <= 3722; ++obj) EXPECT_EQ(attr_get(obj, ATTR_ACTIVE), 0) << obj;
    EXPECT_EQ(player_record.area, AREA_BEFORE);

    // After a load the objects are the loaded game's: left as the load made them.
    prepare_fresh_entry();
    on_loop = [] {
        for (s32 obj = 3719; obj <= 3722; ++obj) attr_set(obj, ATTR_ACTIVE, 1);
        hub_restart = 1;
    };
    scene_play_201();
    for (s32 obj = 3719; obj <= 3722; ++obj) EXPECT_EQ(attr_get(obj, ATTR_ACTIVE), 1) << obj;
}

// The objects each set-up leaves: a few per scene that show its creators, slots, hidden state
// and settings took effect.
TEST_F(EpisodeSceneTest, SetUpsLeaveTheirObjectsAsTheEpisodesExpect) {
    struct Check {
        void (*play)();
        s32 obj, attr, value;
    };
    const Check checks[] = {
        {scene_play_221, 2006, ATTR_LAYER, 0},      {scene_play_221, 2006, ATTR_ACTIVE, 0},
        {scene_play_221, 2012, ATTR_ACTIVE, 1},     {scene_play_221, 2011, ATTR_ACTIVE, 0},
        {scene_play_221, 14, ATTR_TIMER_ON, 0},     {scene_play_221, 19, ATTR_SHADOW, 0},
        {scene_play_221, 273, ATTR_EVENT, 1051},    {scene_play_221, 1000, ATTR_VAR_A, 6},
        {scene_play_192, 2052, ATTR_ACTIVE, 0},     {scene_play_192, 2062, ATTR_BLOCK, 1},
        {scene_play_192, 2048, ATTR_TIMER_ON, 1},   {scene_play_192, 2048, ATTR_TIMER, 10},
        {scene_play_192, 2057, ATTR_LAYER, 1},      {scene_play_192, 2034, ATTR_EVENT, 1024},
        {scene_play_190, 1097, ATTR_ACTIVE, 1},     {scene_play_190, 188, ATTR_ACTIVE, 0},
        {scene_play_222, 507, ATTR_ACTIVE, 1},      {scene_play_196, 3700, ATTR_ACTIVE, 0},
        {scene_play_196, 3693, ATTR_EVENT, 1233},   {scene_play_201, 3719, ATTR_LAYER, 1},
        {scene_play_193, 3637, ATTR_ACTIVE, 0},     {scene_play_193, 3632, ATTR_ACTIVE, 1},
        {scene_play_194, 2048, ATTR_EVENT, 7},      {scene_play_044, 354, ATTR_LAYER, 0},
        {scene_play_044, 399, ATTR_MAP, 10},        {scene_play_129_1, 2070, ATTR_BLEND, 12},
        {scene_play_129_1, 2068, ATTR_ACTIVE, 0},   {scene_play_129_2, 2068, ATTR_ACTIVE, 1},
        {scene_play_129_2, 2068, ATTR_MAP, 61},     {scene_play_129_1, 3539, ATTR_MIRROR, 1},
        {scene_play_129_1, 3545, ATTR_SHADOW, 0},   {scene_play_203, 1814, ATTR_BLOCK, 1},
        {scene_play_203, 1601, ATTR_DEST_MAP, 185}, {scene_play_135, 3054, ATTR_SHADOW, 0},
        {scene_play_195, 3032, ATTR_CURSOR, 3},     {scene_play_191, 3646, ATTR_DEST_MAP, 69},
        {scene_play_197, 3066, ATTR_MAP, 180},      {scene_play_197, 3080, ATTR_EVENT, 1515},
        {scene_play_199, 3767, ATTR_ACTIVE, 0},     {scene_play_198, 3749, ATTR_ACTIVE, 0},
        {scene_play_143, 3674, ATTR_MIRROR, 1},     {scene_play_143, 3705, ATTR_ACTIVE, 0},
    };
    for (const Check& k : checks) {
        prepare_fresh_entry();
        k.play();
        EXPECT_EQ(attr_get(k.obj, k.attr), k.value) << "object " << k.obj << " attr " << k.attr;
    }
}

// ---- The rows as data -------------------------------------------------------------------------

bool in_runs(s32 obj) {
    const s32 runs[][2] = {{337, 399},   {1600, 1603}, {1800, 1817},
                           {2000, 2070}, {3002, 3080}, {3500, 3767}};
    for (const auto& r : runs)
        if (obj >= r[0] && obj <= r[1]) return true;
    // Residents of the home region that the map-10 episode re-creates.
    const std::set<s32> residents = {12, 13, 14, 15, 16, 17, 18, 19, 21, 112, 185, 207, 213, 242};
    return residents.count(obj) != 0;
}

TEST(EpisodeSceneRows, ObjectsAndSlotsLieInTheEpisodesRuns) {
    // Slots each episode's objects may run: its own run and the shared ones (6 portals, 7 and
    // 1201/1249/1500 empty scripts).
    struct Slots {
        s32 scene;
        std::vector<std::pair<s32, s32>> runs;
    };
    const Slots slots[] = {
        {SCENE_221, {{1000, 1011}, {12, 13}, {19, 19}, {47, 47}}},
        {SCENE_192, {{1020, 1046}}},
        {SCENE_190, {}},
        {SCENE_196, {{1233, 1242}}},
        {SCENE_222, {}},
        {SCENE_201, {{1244, 1244}}},
        {SCENE_193, {{1213, 1213}, {1218, 1224}, {1241, 1241}}},
        {SCENE_194, {{1501, 1502}, {1506, 1506}}},
        {SCENE_044, {{149, 165}}},
        {SCENE_129_1, {{1200, 1217}}},
        {SCENE_129_2, {{1200, 1217}}},
        {SCENE_203, {{950, 967}}},
        {SCENE_135, {{1513, 1513}}},
        {SCENE_195, {{1508, 1512}}},
        {SCENE_191, {{1225, 1227}}},
        {SCENE_197, {{1514, 1516}}},
        {SCENE_199, {{1251, 1251}}},
        {SCENE_198, {{1245, 1250}}},
        {SCENE_143, {{1228, 1232}, {1243, 1243}}},
    };
    size_t creators = 0;
    for (const Slots& s : slots) {
        const SceneDescriptor& d = scene_descriptor(s.scene);
        SCOPED_TRACE(std::string("scene ") + d.name);
        const SceneRows parts[] = {d.before_clock, d.objects[0], d.objects[1], d.every_entry,
                                   d.closing};
        for (const SceneRows& part : parts) {
            for (size_t i = 0; i < part.count; ++i) {
                const WorldRow& r = part.rows[i];
                EXPECT_GE(r.obj, 0);
                EXPECT_LT(r.obj, 4096);
                if (r.op == WR_HIDE_RANGE) {
                    EXPECT_LT(r.map, 4096);
                }
                if (!world_row_creates(r)) continue;
                ++creators;
                EXPECT_TRUE(in_runs(r.obj)) << "object " << r.obj;
                EXPECT_LT(r.event, 1840);
                bool ok = r.event == 6 || r.event == 7 || r.event == 1201 || r.event == 1249 ||
                          r.event == 1500;
                for (const auto& run : s.runs)
                    ok = ok || (r.event >= run.first && r.event <= run.second);
                EXPECT_TRUE(ok) << "object " << r.obj << " slot " << r.event;
            }
        }
    }
    // Every creator call of the nineteen set-ups (the first 94 rows of 129 count for both of its
    // variants).
    EXPECT_EQ(creators, 528u);
}

TEST(EpisodeSceneRows, VisitorSeesEverySceneTableOnce) {
    struct Seen {
        std::vector<const WorldRow*> tables;
    } seen;
    scene_rows_visit([](const char*, const WorldRow* rows, size_t,
                        void* ctx) { static_cast<Seen*>(ctx)->tables.push_back(rows); },
                     &seen);
    std::set<const WorldRow*> expected_tables;
    for (s32 n = 0; n < SCENE_COUNT; ++n) {
        const SceneDescriptor& d = scene_descriptor(n);
        for (const SceneRows& part :
             {d.before_clock, d.objects[0], d.objects[1], d.every_entry, d.closing})
            if (part.count) expected_tables.insert(part.rows);
    }
    EXPECT_EQ(std::set<const WorldRow*>(seen.tables.begin(), seen.tables.end()), expected_tables);
    EXPECT_EQ(seen.tables.size(), expected_tables.size()) << "a table visited twice";
}

} // namespace
