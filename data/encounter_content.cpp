// The literal encounter records: our own content. The game's rules hold: records 0..153 have a
// background (25810..25864) and 154..159 stay empty; the protagonist stands in entry 0 of 107
// records, 24 records have a player's side of roster characters only and 23 an empty one, which
// the party rule or the calling script fills before the fight; records 99, 126, 149 and 153 have
// no fighters and 40 only the protagonist (scripts write their line-ups); round limit 3 in 29,
// 90 and 98; the rows of records 0, 3, 21, 29, 74 and 146 are the game's own. The other
// line-ups follow the scenes that fight them (who speaks, who is healed afterwards, who the
// scene names as the opponents); where a scene names nobody, the opponents are generic fighters
// of the roster (250-299). Records 118-125 are bouts between residents that the player watches.
#include "data/battle_tables.h"

namespace {

constexpr s32 NONE = ENCOUNTER_NO_FIGHTER;
constexpr s32 NO_LIMIT = ENCOUNTER_NO_LIMIT;

// One side of a record: the fighters given, the rest of the six entries empty.
template <class... Ids> constexpr EncounterSide side(Ids... ids) {
    static_assert(sizeof...(Ids) <= ENCOUNTER_SIDE, "a side holds six fighters");
    EncounterSide s{{NONE, NONE, NONE, NONE, NONE, NONE}};
    s32 i = 0;
    ((s.fighter[i++] = ids), ...);
    return s;
}

constexpr s32 BACKGROUND_FIRST = 25810;
constexpr s32 BACKGROUND_LAST = 25864;

} // namespace

// encounter, background, round limit, player's side (fighters 0-5), opponents (fighters 6-11)
// clang-format off
constexpr EncounterLiteral encounter_literals[ENCOUNTER_LITERAL_COUNT] = {
    {  0, 25810, NO_LIMIT, side(0), side(203)}, // sparring with 203
    {  1, 25810, NO_LIMIT, side(0), side(204)}, // sparring with 204
    {  2, 25812, NO_LIMIT, side(0), side(105)},
    {  3, 25816, NO_LIMIT, side(0, 71), side(250, 251, 252)},
    {  4, 25816, NO_LIMIT, side(0, 71), side(105)},
    {  5, 25818, NO_LIMIT, side(0), side(253, 254)},
    {  6, 25820, NO_LIMIT, side(0), side(123, 108)}, // fighter 1: the companion, written before the fight
    {  7, 25822, NO_LIMIT, side(0), side(118, 255, 256)},
    {  8, 25824, NO_LIMIT, side(0, 83), side(92, 109, 124, 177)},
    {  9, 25824, NO_LIMIT, side(0), side(92, 109, 124, 177)},
    { 10, 25826, NO_LIMIT, side(0), side(108, 123)},
    { 11, 25826, NO_LIMIT, side(0), side(260, 261, 262, 263)},
    { 12, 25828, NO_LIMIT, side(0, 87), side(81)},
    { 13, 25828, NO_LIMIT, side(0, 81), side(87)},
    { 14, 25830, NO_LIMIT, side(0), side(257, 258, 259)}, // sparring group
    { 15, 25830, NO_LIMIT, side(0), side(81)},
    { 16, 25830, NO_LIMIT, side(0), side(156)},
    { 17, 25832, NO_LIMIT, side(0), side(131)},
    { 18, 25832, NO_LIMIT, side(0), side(131)}, // fighter 1 written before the fight
    { 19, 25834, NO_LIMIT, side(0), side(250, 251)},
    { 20, 25834, NO_LIMIT, side(NONE, 89), side(250, 251)},
    { 21, 25814, NO_LIMIT, side(NONE, 33, 89, 81, 87), side(156, 143, 131, 144)},
    { 22, 25814, NO_LIMIT, side(0, 203, 204), side(156, 143, 131, 144)},
    { 23, 25836, NO_LIMIT, side(0, 146), side(4)},
    { 24, 25836, NO_LIMIT, side(0, 146), side(68)},
    { 25, 25836, NO_LIMIT, side(0, 146), side(68, 71)},
    { 26, 25836, NO_LIMIT, side(0, 146), side(1)},
    { 27, 25836, NO_LIMIT, side(0, 146), side(71)},
    { 28, 25836, NO_LIMIT, side(0, 146), side(71)},
    { 29, 25814, 3, side(NONE, 3, 9, 77), side(233)},
    { 30, 25838, NO_LIMIT, side(0, 89), side(172, 250, 251, 252)},
    { 31, 25838, NO_LIMIT, side(0, 132), side(250, 251, 252, 253)},
    { 32, 25840, NO_LIMIT, side(0, 33), side(11)},
    { 33, 25840, NO_LIMIT, side(0, 11), side(33)},
    { 34, 25840, NO_LIMIT, side(0, 11, 33), side(12, 39)},
    { 35, 25844, NO_LIMIT, side(0, 150, 152), side(92, 109, 124, 177)},
    { 36, 25846, NO_LIMIT, side(0, 150, 152), side(297, 298, 299)}, // city ambush
    { 37, 25846, NO_LIMIT, side(0, 150, 152), side(297, 298, 299)}, // city ambush
    { 38, 25846, NO_LIMIT, side(0, 150, 152), side(297, 298, 299)}, // city ambush
    { 39, 25846, NO_LIMIT, side(0, 150, 152), side(297, 298, 299)}, // city ambush
    { 40, 25848, NO_LIMIT, side(0), side()}, // first opponent written before each bout
    { 41, 25850, NO_LIMIT, side(0, 118, 156, 143), side(267, 268, 269, 270)},
    { 42, 25850, NO_LIMIT, side(0, 118, 156, 143), side(267, 268, 269, 270)},
    { 43, 25850, NO_LIMIT, side(0, 118, 156, 143), side(267, 268, 269, 270, 200)},
    { 44, 25852, NO_LIMIT, side(0), side(112)},
    { 45, 25852, NO_LIMIT, side(0), side(118, 156, 143, 112)},
    { 46, 25852, NO_LIMIT, side(0), side(118, 156, 143, 112)},
    { 47, 25852, NO_LIMIT, side(0), side(233)},
    { 48, 25854, NO_LIMIT, side(0), side(233, 118, 267, 268, 269, 270)},
    { 49, 25856, NO_LIMIT, side(0), side(277, 278)}, // quiz contest
    { 50, 25858, NO_LIMIT, side(0), side(233, 234, 237, 238)},
    { 51, 25860, NO_LIMIT, side(0), side(68)},
    { 52, 25860, NO_LIMIT, side(0), side(55, 77)},
    { 53, 25860, NO_LIMIT, side(0, 68), side(77, 55)},
    { 54, 25860, NO_LIMIT, side(0, 77, 55), side(68)},
    { 55, 25860, NO_LIMIT, side(0), side(55, 77)},
    { 56, 25862, NO_LIMIT, side(NONE, 59, 60), side(61, 62)},
    { 57, 25860, NO_LIMIT, side(0), side(55)},
    { 58, 25860, NO_LIMIT, side(NONE, 77, 55), side(68)},
    { 59, 25864, NO_LIMIT, side(NONE, 28), side(26)},
    { 60, 25864, NO_LIMIT, side(0), side(26)},
    { 61, 25864, NO_LIMIT, side(0), side(271, 272)},
    { 62, 25864, NO_LIMIT, side(0, 28), side(26, 238)}, // fighters 2-5 written from the party
    { 63, 25864, NO_LIMIT, side(0, 28), side(271, 272)},
    { 64, 25811, NO_LIMIT, side(0, 204), side(81, 84, 12, 33, 78)},
    { 65, 25811, NO_LIMIT, side(0, 204), side(51, 87, 89, 67, 108)},
    { 66, 25813, NO_LIMIT, side(0, 203), side(250, 251, 252)},
    { 67, 25813, NO_LIMIT, side(0, 203), side(172)},
    { 68, 25813, NO_LIMIT, side(NONE, 203), side(172)},
    { 69, 25813, NO_LIMIT, side(0, 203), side(171, 172, 250, 251, 252)},
    { 70, 25815, NO_LIMIT, side(0, 203), side(250, 251, 252)},
    { 71, 25815, NO_LIMIT, side(0, 203), side(253, 254)},
    { 72, 25815, NO_LIMIT, side(0, 203), side(174, 175)}, // fighter 2 may be written before the fight
    { 73, 25817, NO_LIMIT, side(NONE, 64, 65), side(63, 66)},
    { 74, 25842, NO_LIMIT, side(0, 193, 91, 93), side(60, 61, 62, 63, 64, 65)},
    { 75, 25842, NO_LIMIT, side(0, 193), side(88, 161)},
    { 76, 25819, NO_LIMIT, side(0), side(75)},
    { 77, 25821, NO_LIMIT, side(0), side(156)},
    { 78, 25823, NO_LIMIT, side(0, 146), side(271, 272)},
    { 79, 25825, NO_LIMIT, side(0), side(121)},
    { 80, 25827, NO_LIMIT, side(0), side(293, 294, 295)},
    { 81, 25827, NO_LIMIT, side(0), side(293, 294, 295, 296)},
    { 82, 25827, NO_LIMIT, side(0), side(291, 292, 293, 294, 295, 296)},
    { 83, 25831, NO_LIMIT, side(0, 231, 234, 237), side(1, 2, 3, 71, 155, 157)},
    { 84, 25831, NO_LIMIT, side(0, 71, 155, 157), side(234, 237)},
    { 85, 25833, NO_LIMIT, side(0, 234, 237), side(158, 159)},
    { 86, 25831, NO_LIMIT, side(0, 231, 234, 237), side(1, 2, 3)},
    { 87, 25835, NO_LIMIT, side(0), side(236, 233)},
    { 88, 25835, NO_LIMIT, side(0, 236), side(233)},
    { 89, 25835, NO_LIMIT, side(0, 233), side(236)},
    { 90, 25837, 3, side(0), side(203, 204)},
    { 91, 25837, NO_LIMIT, side(NONE, 203), side(204)},
    { 92, 25837, NO_LIMIT, side(0), side(205)},
    { 93, 25839, NO_LIMIT, side(0), side(29)},
    { 94, 25837, NO_LIMIT, side(NONE, 203), side(205)},
    { 95, 25837, NO_LIMIT, side(NONE, 204), side(205)},
    { 96, 25841, NO_LIMIT, side(0), side(235)},
    { 97, 25841, NO_LIMIT, side(NONE, 75), side(235)},
    { 98, 25843, 3, side(NONE, 234, 237), side(233, 238)},
    { 99, 25845, NO_LIMIT, side(), side()}, // tournament: line-up written before each bout
    {100, 25847, NO_LIMIT, side(), side(68, 69, 70)},
    {101, 25847, NO_LIMIT, side(), side(171, 172, 108, 123)},
    {102, 25849, NO_LIMIT, side(0), side(33)},
    {103, 25849, NO_LIMIT, side(NONE, 9), side(33)},
    {104, 25851, NO_LIMIT, side(0), side(86)},
    {105, 25851, NO_LIMIT, side(0), side(81, 87)},
    {106, 25853, NO_LIMIT, side(), side(60, 62, 63, 64, 65, 66)},
    {107, 25853, NO_LIMIT, side(), side(60, 62, 63, 64, 61, 59)},
    {108, 25855, NO_LIMIT, side(), side(165, 166, 167)},
    {109, 25855, NO_LIMIT, side(), side(271, 272, 273, 274, 275, 276)},
    {110, 25857, NO_LIMIT, side(), side(86, 87, 258, 259)},
    {111, 25857, NO_LIMIT, side(), side(169, 81, 256, 257)},
    {112, 25859, NO_LIMIT, side(NONE, 204), side(162)},
    {113, 25859, NO_LIMIT, side(0), side(204)},
    {114, 25859, NO_LIMIT, side(NONE, 203), side(204)},
    {115, 25861, NO_LIMIT, side(0, 203, 205), side(285, 286, 287)},
    {116, 25861, NO_LIMIT, side(0, 203, 205), side(288, 289, 290, 291)},
    {117, 25861, NO_LIMIT, side(0, 203, 205), side(204, 207, 233, 238)},
    {118, 25863, NO_LIMIT, side(NONE, 36, 37), side(38, 42)},
    {119, 25861, NO_LIMIT, side(NONE, 46, 47), side(50, 51)},
    {120, 25859, NO_LIMIT, side(NONE, 54, 55), side(59, 60)},
    {121, 25857, NO_LIMIT, side(NONE, 83, 84), side(86, 88)},
    {122, 25855, NO_LIMIT, side(NONE, 104, 105), side(108, 109)},
    {123, 25853, NO_LIMIT, side(NONE, 111, 112), side(113, 114)},
    {124, 25851, NO_LIMIT, side(NONE, 142, 143), side(144, 145)},
    {125, 25849, NO_LIMIT, side(NONE, 161, 162), side(165, 166)},
    {126, 25845, NO_LIMIT, side(), side()}, // tournament: line-up written before each bout
    {127, 25810, NO_LIMIT, side(0, 204), side(12)},
    {128, 25812, NO_LIMIT, side(0), side(279, 280, 281, 282, 283, 284)},
    {129, 25814, NO_LIMIT, side(0), side(235, 74, 72)},
    {130, 25814, NO_LIMIT, side(0, 204), side(235, 74, 72)},
    {131, 25816, NO_LIMIT, side(), side(236)},
    {132, 25818, NO_LIMIT, side(), side(112, 285, 286)},
    {133, 25820, NO_LIMIT, side(0), side(77, 55, 165, 166, 167)},
    {134, 25822, NO_LIMIT, side(0), side(81, 169)},
    {135, 25824, NO_LIMIT, side(0), side(89, 37)},
    {136, 25826, NO_LIMIT, side(0), side(86, 87)},
    {137, 25828, NO_LIMIT, side(0), side(120, 121)},
    {138, 25830, NO_LIMIT, side(0), side(26)},
    {139, 25832, NO_LIMIT, side(0), side(78, 162)},
    {140, 25834, NO_LIMIT, side(), side(91, 93, 285, 286, 287, 288)},
    {141, 25836, NO_LIMIT, side(), side(203, 205)},
    {142, 25829, NO_LIMIT, side(), side(155, 157, 158, 159, 71)},
    {143, 25829, NO_LIMIT, side(), side(155, 157, 158, 159, 4)},
    {144, 25829, NO_LIMIT, side(), side(155, 157, 158, 159, 3)},
    {145, 25829, NO_LIMIT, side(), side(155, 157, 158, 159, 2)},
    {146, 25829, NO_LIMIT, side(), side(155, 157, 158, 159, 1, 71)},
    {147, 25838, NO_LIMIT, side(), side(36, 38, 39, 289, 290, 292)},
    {148, 25840, NO_LIMIT, side(), side(10, 33, 281, 282, 283, 284)},
    {149, 25863, NO_LIMIT, side(), side()}, // written before each bout
    {150, 25863, NO_LIMIT, side(0), side(207, 204)},
    {151, 25863, NO_LIMIT, side(0), side(234, 236, 237)},
    {152, 25863, NO_LIMIT, side(0), side(231)},
    {153, 25844, NO_LIMIT, side(), side()}, // ambush: written before each fight
};
// clang-format on

namespace {

constexpr bool side_fits(const EncounterSide& s, bool own) {
    for (s32 i = 0; i < ENCOUNTER_SIDE; ++i) {
        const s32 f = s.fighter[i];
        if (f < NONE || f >= 300) return false;
        // Character 0 is the protagonist, who stands only in entry 0 of the player's side.
        if (f == ENCOUNTER_PROTAGONIST && !(own && i == 0)) return false;
    }
    return true;
}

constexpr bool literals_fit() {
    for (s32 n = 0; n < ENCOUNTER_LITERAL_COUNT; ++n) {
        const EncounterLiteral& e = encounter_literals[n];
        if (e.encounter != n) return false;
        if (e.background < BACKGROUND_FIRST || e.background > BACKGROUND_LAST) return false;
        if (e.round_limit != NO_LIMIT && e.round_limit < 1) return false;
        if (!side_fits(e.own, true) || !side_fits(e.opponents, false)) return false;
    }
    return true;
}
static_assert(literals_fit(), "records 0..153 in order, with backgrounds and valid fighters");

} // namespace
