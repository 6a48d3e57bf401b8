// Title awards: the 25 achievements as rows of data, their conditions evaluated from the player
// record, and the announcement over the dashboard.
#include "game/titles.h"

#include "game/adjust.h"
#include "game/hub_dialog.h"
#include "game/inventory.h"
#include "game/player.h"

namespace {

// What an achievement tests before its counts.
enum AwardBase : s32 {
    BASE_SKILL, // skill[index] at 100
    BASE_ATTR,  // attr[index] at 100
    BASE_DICE,  // dice wins ahead by 50 with 200 wins
    BASE_STORY, // the story flags of the last achievement, counted
};

constexpr s32 MASTERY_LEVEL = 100;
constexpr s32 GOOD_STANDING = 40; // chivalry of a player of good standing
constexpr s32 AWARD_FAME = 30;

constexpr s32 DICE_LEAD = 50;
constexpr s32 DICE_WINS_NEEDED = 200;

// The story flags counted by BASE_STORY: each of the single flags counts one, and the group
// counts one more when any of its flags is set.
constexpr s32 STORY_SINGLE_FLAGS[] = {62, 63, 64, 68, 69};
constexpr s32 STORY_GROUP_FLAGS[] = {65, 66, 67};

// Known ids first..last of a known list that count: at `level` or more, or only present when
// `level` is 0. list -1 = no such count.
struct KnownCount {
    s32 list;
    s32 first;
    s32 last;
    s32 level;
};
// Items lo..hi that count when obtained (`item_tally` above 0); lo -1 = no such count.
struct ItemCount {
    s32 lo;
    s32 hi;
};

struct TitleAward {
    AwardBase base;
    s32 index; // the skill or attribute of BASE_SKILL / BASE_ATTR
    KnownCount known[2];
    ItemCount items;
    s32 need; // the counts must reach this; 0 = no counts
    s32 title_good;
    s32 title_low;
};

constexpr KnownCount NO_KNOWN = {-1, 0, 0, 0};
constexpr ItemCount NO_ITEMS = {-1, 0};

constexpr TitleAward skill_only(s32 skill, s32 good, s32 low) {
    return {BASE_SKILL, skill, {NO_KNOWN, NO_KNOWN}, NO_ITEMS, 0, good, low};
}
// The twelve arts tests shared by two achievements that award the same pair of titles.
constexpr KnownCount ARTS_1 = {1, 50, 55, 70};
constexpr KnownCount ARTS_10 = {10, 50, 55, 70};

constexpr TitleAward title_awards[TITLE_AWARD_KINDS] = {
    {BASE_ATTR, 4, {NO_KNOWN, NO_KNOWN}, NO_ITEMS, 0, 10, 33},
    {BASE_SKILL, 1, {ARTS_1, ARTS_10}, NO_ITEMS, 3, 19, 42},
    skill_only(2, 11, 34),
    skill_only(3, 12, 35),
    skill_only(4, 13, 36),
    skill_only(5, 14, 37),
    skill_only(6, 15, 38),
    skill_only(7, 16, 39),
    skill_only(8, 17, 40),
    {BASE_DICE, 0, {NO_KNOWN, NO_KNOWN}, NO_ITEMS, 0, 18, 41},
    {BASE_SKILL, 10, {ARTS_1, ARTS_10}, NO_ITEMS, 3, 19, 42},
    {BASE_SKILL, 11, {NO_KNOWN, NO_KNOWN}, {950, 953}, 2, 20, 43},
    {BASE_SKILL, 12, {NO_KNOWN, NO_KNOWN}, {1050, 1063}, 5, 21, 44},
    {BASE_SKILL, 13, {NO_KNOWN, NO_KNOWN}, {1150, 1159}, 5, 22, 45},
    skill_only(14, 23, 46),
    skill_only(15, 24, 47),
    skill_only(16, 25, 48),
    skill_only(17, 26, 49),
    skill_only(18, 27, 50),
    skill_only(19, 28, 51),
    {BASE_SKILL, 20, {{20, 50, 53, 100}, NO_KNOWN}, NO_ITEMS, 2, 29, 52},
    {BASE_SKILL, 21, {{21, 50, 67, 0}, NO_KNOWN}, {1900, 1907}, 20, 30, 53},
    {BASE_SKILL, 22, {{22, 50, 69, 0}, NO_KNOWN}, {2000, 2007}, 20, 31, 54},
    {BASE_SKILL, 23, {{23, 50, 55, 70}, NO_KNOWN}, NO_ITEMS, 3, 32, 55},
    {BASE_STORY, 0, {NO_KNOWN, NO_KNOWN}, NO_ITEMS, 3, 56, 56},
};

// Texts of the announcement.
constexpr s32 TEXT_TITLE_BASE = 18000; // + title: the title's name
constexpr s32 TEXT_FIRST_TITLE = 18094;
constexpr s32 TEXT_FURTHER_TITLE = 18095;
constexpr s32 ANNOUNCE_LEFT = 0;
constexpr s32 ANNOUNCE_RIGHT = 168;

s32 known_count(const KnownCount& k) {
    if (k.list < 0) return 0;
    s32 n = 0;
    for (s32 id = k.first; id <= k.last; ++id)
        n += k.level > 0 ? known_has_level(k.list, id, k.level) : known_has(k.list, id);
    return n;
}

s32 item_count(const ItemCount& r) {
    if (r.lo < 0) return 0;
    s32 n = 0;
    for (s32 item = r.lo; item <= r.hi; ++item) n += player_record.item_tally[item] > 0 ? 1 : 0;
    return n;
}

s32 story_count() {
    const s32* flags = player_record.story_flags;
    s32 n = 0;
    for (s32 f : STORY_SINGLE_FLAGS) n += flags[f] == 1 ? 1 : 0;
    bool group = false;
    for (s32 f : STORY_GROUP_FLAGS) group = group || flags[f] == 1;
    return n + (group ? 1 : 0);
}

bool award_condition(const TitleAward& a) {
    const PlayerRecord& p = player_record;
    // Every count is taken in full before the test.
    const s32 counted = known_count(a.known[0]) + known_count(a.known[1]) + item_count(a.items);
    switch (a.base) {
    case BASE_SKILL:
        return p.skill[a.index] >= MASTERY_LEVEL && counted >= a.need;
    case BASE_ATTR:
        return p.attr[a.index] >= MASTERY_LEVEL && counted >= a.need;
    case BASE_DICE: {
        // In 64 bits: damaged counters must not overflow the difference.
        const s64 wins = p.story_flags[STORY_DICE_WINS];
        const s64 losses = p.story_flags[STORY_DICE_LOSSES];
        return wins - losses >= DICE_LEAD && wins >= DICE_WINS_NEEDED;
    }
    case BASE_STORY:
        return story_count() >= a.need;
    }
    return false;
}

} // namespace

void title_award_check(s32 kind) {
    if (u32(kind) >= u32(TITLE_AWARD_KINDS)) return;
    const TitleAward& a = title_awards[kind];
    if (!award_condition(a)) return;
    if (title_has(a.title_good) || title_has(a.title_low)) return;
    const s32 title = player_record.chivalry >= GOOD_STANDING ? a.title_good : a.title_low;
    title_award_show(title);
    title_add(title);
}

void title_award_show(s32 title) {
    const s32 standing = title_count() > 0 ? TEXT_FURTHER_TITLE : TEXT_FIRST_TITLE;
    const s32 lines[10] = {18001,    18006, 18007, 18008, TEXT_TITLE_BASE + title,
                           standing, 18096, 18097, 18098, 18099};
    for (s32 i = 0; i < 10; ++i)
        hub_say(i % 2 == 0 ? 1 : 0, ANNOUNCE_LEFT, ANNOUNCE_RIGHT, lines[i]);
    fame_add(AWARD_FAME);
}
