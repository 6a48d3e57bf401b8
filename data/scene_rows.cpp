// The map-episode scenes as data: for each scene its descriptor (clock, place, track, the player's
// start and the steps in which it differs from the common set-up) and its rows (one creator call
// per object, each with the settings that follow it, and the changes to objects that already
// exist).
//
// Our own content: the places and frames of the objects that the episodes do not fix are ours:
// the ten onlookers 2012-2021 of the map-10 episode and the places of the residents it re-creates
// (12, 13, 21, 112, 207, 213, 242), the two hidden figures 396 and 397 of map 131, the places of
// the bystanders 3502-3507 and the frames of the map-62/64 bystanders and of 3581-3584, the return
// portals 1602 and 1603 (their own places and frames) and the portal pair 3645/3646 (their own
// places and frames), the persons 3686-3689 of map 80. Every object number, creator, map, slot,
// hover cursor, click flag, countdown, hidden state and setting is the episodes' own.
#include "data/scene_rows.h"

#include "engine/shell.h"
#include "engine/world/object.h"

#include <cstdio>

namespace {

constexpr s32 NO_CURSOR = -1; // no hover cursor: the creators leave the cursor attributes alone

constexpr u32 H = WS_HIDE;
constexpr u32 NS = WS_NO_SHADOW;
constexpr u32 L0 = WS_LAYER0;
constexpr u32 L1 = WS_LAYER1;
constexpr u32 L2 = WS_LAYER2;
constexpr u32 BL = WS_BLOCK;
constexpr u32 ADD = WS_BLEND12;
constexpr u32 MI = WS_MIRROR;
constexpr u32 T10 = WS_TIMER10;

// A person of an episode: make_npc_timed with hover cursor 13, clickable, countdown 4.
constexpr WorldRow person(s32 obj, s32 map, s32 x, s32 y, s32 event, s32 frame, u32 settings = 0) {
    return npc_timed(obj, map, x, y, event, 13, frame, 1, 4, settings);
}
// The same with hover cursor 0 (hovering shows the plain pointer).
constexpr WorldRow figure(s32 obj, s32 map, s32 x, s32 y, s32 event, s32 frame, u32 settings = 0) {
    return npc_timed(obj, map, x, y, event, 0, frame, 1, 4, settings);
}
// An inert prop: make_npc with slot 7, no hover cursor, not clickable.
constexpr WorldRow prop(s32 obj, s32 map, s32 x, s32 y, s32 frame, u32 settings = 0) {
    return npc(obj, map, x, y, 7, NO_CURSOR, frame, 0, settings);
}

template <size_t N> constexpr SceneRows rows_of(const WorldRow (&rows)[N]) {
    return {rows, N};
}
constexpr SceneRows NONE = {nullptr, 0};

// ---- The map-10 episode (221) ----------------------------------------------------------------

// New objects, each hidden at once; then the thirteen that start shown, then the home region's
// objects that stay out of this episode.
const WorldRow rows_221_new[] = {
    npc_timed(2000, 10, 12, 1834, 7, 13, 4022, 0, 4, H),
    npc_timed(2001, 10, 14, 1903, 7, 13, 10352, 0, 4, H),
    npc_timed(2002, 10, 0, 1886, 7, 13, 37802, 0, 4, H),
    person(2003, 52, 304, 297, 1004, 10304, H),
    npc_timed(2004, 24, 342, 406, 1005, 13, 10549, 1, 8, H | NS),
    npc_timed(2005, 22, 311, 294, 1006, 13, 10540, 1, 8, H | NS | L2),
    npc_vis(2006, 0, 23, 245, 287, 1007, 3, 6106, 1, H | L0),
    npc_vis(2007, 0, 42, 8, 460, 1008, 3, 6107, 1, H | L0),
    npc_timed(2008, 16, 370, 394, 1009, 13, -64574, 1, 8, H),
    step_trigger(2009, 41, 2232, 770, 1010, 6105, H),
    npc_timed(2010, 41, 2329, 1107, 7, 13, -64522, 1, 8, H),
    timer(2011, 10, 1011, 5, H),
    npc_timed(2012, 10, 1082, 612, 7, 13, 64130, 0, 4, H),
    npc_timed(2013, 10, 1116, 598, 7, 13, -64042, 0, 4, H),
    npc_timed(2014, 10, 1140, 690, 7, 13, 64282, 0, 4, H),
    npc_timed(2015, 10, 1262, 668, 7, 13, -64322, 0, 4, H),
    npc_timed(2016, 10, 1290, 612, 7, 13, 64346, 0, 4, H),
    npc_timed(2017, 10, 1248, 560, 7, 13, -64482, 0, 4, H),
    npc_timed(2018, 10, 1032, 676, 7, 13, 64666, 0, 4, H),
    npc_timed(2019, 10, 1310, 720, 7, 13, -64718, 0, 4, H),
    npc_timed(2020, 10, 1060, 740, 7, 13, 64352, 0, 4, H),
    npc_timed(2021, 10, 1204, 760, 7, 13, -64216, 0, 4, H),
    prop(2068, 10, 1154, 643, -10572, H),
    // Shown again: the companions, the visitor of map 52 and the onlookers.
    show(2000),
    show(2001),
    show(2003),
    show(2012),
    show(2013),
    show(2014),
    show(2015),
    show(2016),
    show(2017),
    show(2018),
    show(2019),
    show(2020),
    show(2021),
    // The home region's objects that are away during the episode (63 objects).
    hide(1),
    hide(2),
    hide(5),
    hide(6),
    hide(20),
    hide(22),
    hide(23),
    hide(82),
    hide(107),
    hide(108),
    hide(111),
    hide(122),
    hide(123),
    hide(166),
    hide(173),
    hide(174),
    hide(186),
    hide_range(191, 197),
    hide_range(201, 203),
    hide(205),
    hide(206),
    hide_range(208, 212),
    hide_range(214, 227),
    hide(232),
    hide(235),
    hide(236),
    hide_range(238, 241),
    hide(243),
    hide(267),
    hide(269),
    hide(271),
    hide(272),
    hide_range(274, 276),
};

// Residents of the home region re-created for the episode, then their talk stages.
const WorldRow rows_221_residents[] = {
    npc_timed(12, 10, 1702, 1436, 12, 13, 10032, 1, 10),
    set_attr(12, ATTR_TIMER_ON, 0),
    npc_timed(13, 10, 1610, 1488, 13, 13, -10052, 1, 10),
    npc_timed(14, 10, 2374, 2074, 1002, 13, 10310, 1, 8),
    set_attr(14, ATTR_TIMER_ON, 0),
    npc_timed(15, 10, 2415, 2092, 1002, 13, 10310, 1, 5),
    set_attr(15, ATTR_TIMER_ON, 0),
    npc_timed(16, 10, 2497, 1995, 1002, 13, -10308, 1, 12),
    set_attr(16, ATTR_TIMER_ON, 0),
    npc_timed(17, 10, 2579, 2030, 1002, 13, -10308, 1, 8),
    set_attr(17, ATTR_TIMER_ON, 0),
    npc_timed(18, 53, 251, 293, 1003, 13, -10308, 1, 8),
    set_attr(18, ATTR_TIMER_ON, 0),
    npc_timed(19, 10, 2441, 2026, 1001, 13, 15002, 1, 8, NS),
    npc_timed(21, 10, 2190, 1880, 19, 13, -10322, 1, 8),
    set_attr(21, ATTR_TIMER_ON, 0),
    npc_timed(112, 24, 286, 352, 47, 13, 6302, 1, 3),
    npc_timed(185, 10, 1149, 938, 7, 13, 10272, 1, 3),
    npc_timed(207, 10, 1232, 902, 7, 13, -10282, 1, 3),
    npc_timed(213, 10, 1088, 884, 7, 13, 10292, 1, 3),
    npc_timed(242, 10, 1190, 1010, 7, 13, -10262, 0, 3),
    // Talk stages of the episode.
    set_attr(12, ATTR_VAR_A, 2),
    set_attr(13, ATTR_VAR_A, 5),
    set_attr(14, ATTR_VAR_A, 0),
    set_attr(15, ATTR_VAR_A, 0),
    set_attr(16, ATTR_VAR_A, 0),
    set_attr(17, ATTR_VAR_A, 0),
    set_attr(18, ATTR_VAR_A, 0),
    set_attr(19, ATTR_VAR_A, 0),
    set_attr(27, ATTR_VAR_A, 0),
    set_attr(72, ATTR_VAR_A, 2),
    set_attr(272, ATTR_VAR_A, 2),
    set_attr(24, ATTR_VAR_A, 2),
    set_attr(1000, ATTR_VAR_A, 6),
    set_attr(3, ATTR_VAR_A, 4),
    set_attr(138, ATTR_VAR_A, 1),
    set_attr(10, ATTR_VAR_A, 1),
    set_attr(80, ATTR_VAR_A, 2),
    set_attr(273, ATTR_EVENT, 1051),
};

// ---- The quiz-maze contest (192) -------------------------------------------------------------

const WorldRow rows_192[] = {
    npc(2030, 240, 247, 1393, 1020, 13, 64184, 1),
    npc(2031, 240, 515, 1332, 1021, 13, 64196, 1),
    npc(2032, 240, 741, 1261, 1022, 13, 64330, 1),
    npc(2033, 240, 69, 1508, 1023, 13, 64130, 1),
    npc(2034, 240, 767, 499, 1024, 13, -64792, 1),
    npc(2035, 240, 545, 436, 1025, 13, -64308, 1),
    npc(2036, 240, 479, 474, 1026, 13, 64322, 1),
    npc(2037, 240, 380, 470, 1027, 13, 64352, 1),
    npc(2038, 240, 260, 502, 1028, 13, 37722, 1, T10),
    npc(2039, 240, 380, 627, 1029, 13, 64114, 1),
    npc(2040, 240, 540, 537, 1030, 13, 38022, 1, T10),
    npc(2042, 240, 586, 691, 1032, 13, 38202, 1),
    npc(2043, 240, 927, 592, 1033, 13, -64044, 1),
    npc(2044, 240, 688, 740, 1034, 13, 10272, 1, T10),
    npc(2045, 240, 962, 700, 1035, 13, -6422, 1, T10),
    npc(2046, 240, 640, 660, 1036, 13, -64332, 1),
    npc(2047, 240, 476, 597, 1037, 13, 64612, 1),
    npc(2048, 240, 877, 528, 1038, 13, -5222, 1, T10),
    npc(2049, 240, 987, 735, 1039, 13, -64716, 1),
    // Question posts of the two rooms: click areas, never drawn.
    npc_vis(2050, 1, 241, 286, 283, 1040, 3, 3126, 1, L0),
    npc_vis(2051, 1, 242, 280, 270, 1041, 3, 3127, 1, L0),
    // Doors of the two rooms, closed at the start.
    step_trigger(2052, 241, 426, 167, 1042, 3122, H),
    step_trigger(2053, 241, 84, 167, 1043, 3123, H),
    step_trigger(2054, 242, 428, 155, 1044, 3124, H),
    step_trigger(2055, 242, 84, 171, 1045, 3125, H),
    // Door signs, on the ground, shown when the doors open.
    npc_vis(2056, 0, 241, 452, 33, 7, NO_CURSOR, 3129, 0, L1),
    npc_vis(2057, 0, 241, 99, 38, 7, NO_CURSOR, 3130, 0, L1),
    npc_vis(2058, 0, 242, 447, 29, 7, NO_CURSOR, 3131, 0, L1),
    npc_vis(2059, 0, 242, 93, 39, 7, NO_CURSOR, 3132, 0, L1),
    timer(2060, 241, 1046, 5, H),
    timer(2061, 242, 1046, 5, H),
    // Invisible walls where the closed doors stand.
    step_trigger(2062, 241, 426, 167, 7, 3133, BL),
    step_trigger(2063, 241, 84, 167, 7, 3134, BL),
    step_trigger(2064, 242, 428, 155, 7, 3135, BL),
    step_trigger(2065, 242, 84, 171, 7, 3136, BL),
};

// ---- The city episode (190) and town A's day (222): director timers of the population --------

const WorldRow rows_190[] = {hide(188), show(1097)};
const WorldRow rows_222[] = {show(469), show(507)};

// ---- The episode on map 67 (196) -------------------------------------------------------------

const WorldRow rows_196[] = {
    person(3693, 67, 535, 681, 1233, 6502),   person(3694, 67, 1176, 986, 1234, 6552),
    person(3695, 67, 614, 1039, 1235, 6602),  person(3696, 67, 807, 751, 1236, 6652),
    person(3697, 67, 1112, 891, 1237, 6702),  person(3698, 67, 1209, 690, 1238, -64016),
    person(3699, 67, 523, 603, 1239, 6872),   person(3700, 67, 1014, 990, 1240, 10952, H),
    person(3701, 67, 857, 1109, 1242, 64352), person(3702, 67, 741, 647, 1242, 64216),
    person(3703, 67, 1128, 941, 1242, 64718), person(3704, 67, 591, 988, 1242, -64712),
    person(3711, 67, 801, 857, 1242, 6800),   person(3712, 67, 664, 1134, 1242, 6810),
    person(3713, 67, 836, 1200, 1242, 6830),  person(3714, 67, 658, 874, 1242, 6820),
};

// ---- The episode on maps 90 and 91 (201) -----------------------------------------------------

const WorldRow rows_201[] = {
    step_trigger(3715, 90, 79, 141, 1244, 6960),     step_trigger(3716, 90, 177, 110, 1244, 6961),
    step_trigger(3717, 90, 350, 101, 1244, 6962),    step_trigger(3718, 90, 458, 176, 1244, 6963),
    figure(3719, 90, 191, 200, 1201, 6949, NS | L1), person(3720, 91, 370, 243, 1201, -64580),
    person(3721, 91, 292, 236, 1201, 64408),         person(3722, 91, 302, 300, 1201, 64410),
};
// Whatever the outcome, the sign and the three persons leave with the episode.
const WorldRow rows_201_closing[] = {hide_range(3719, 3722)};

// ---- The episode on maps 186 and 173-175 (193) -----------------------------------------------

const WorldRow rows_193[] = {
    person(3594, 186, 551, 1252, 1201, -64104),
    person(3595, 186, 296, 1326, 1218, 64322),
    person(3596, 186, 429, 1395, 1218, 64310),
    person(3597, 186, 551, 1416, 1218, 64346),
    person(3598, 186, 463, 1463, 1218, 64482),
    person(3599, 186, 210, 1332, 1218, 64666),
    person(3600, 186, 314, 1362, 1218, 64130),
    person(3601, 186, 326, 1408, 1218, 64042),
    person(3602, 186, 380, 1446, 1218, 64282),
    person(3603, 186, 383, 1306, 1218, 64718),
    person(3604, 186, 536, 1480, 1218, 64762),
    person(3605, 186, 246, 1375, 1218, 64730),
    person(3606, 186, 496, 1406, 1218, 64738),
    person(3607, 186, 606, 1402, 1218, 64034),
    step_trigger(3608, 186, 3, 1500, 1213, 6157),
    person(3624, 174, 271, 259, 1218, -10722),
    person(3626, 174, 247, 293, 1218, 10702),
    person(3627, 174, 321, 203, 1218, -10722),
    person(3628, 175, 232, 290, 1218, 10702),
    step_trigger(3629, 174, 262, 150, 1219, 6162),
    person(3630, 186, 143, 197, 1201, 64102),
    person(3631, 186, 187, 175, 1201, -10880),
    // Three zones on one point with one shape; the scripts pass the turn from one to the next.
    step_trigger(3632, 186, 266, 533, 1220, 6163),
    step_trigger(3633, 186, 266, 533, 1221, 6163, H),
    step_trigger(3637, 186, 266, 533, 1223, 6163, H),
    step_trigger(3634, 186, 380, 1216, 1222, 6164, H),
    figure(3635, 186, 637, 1215, 1201, 10752, H),
    figure(3636, 186, 582, 1245, 1201, 10752, H),
    person(3638, 173, 214, 272, 1241, 10802),
    step_trigger(3641, 173, 407, 199, 1224, 6165, H),
    person(3642, 173, 489, 298, 1218, 10702, H),
    figure(3643, 173, 239, 309, 1201, -10752, H),
    figure(3644, 173, 295, 282, 1201, -10752, H),
};
// Town A's timer stays off during this episode, also when a saved episode resumes.
const WorldRow rows_193_every_entry[] = {hide(469)};

// ---- The episode on maps 100 and 101 (194) ---------------------------------------------------

const WorldRow rows_194[] = {
    // The first band on map 100 and the second on map 101: figures of the quiz-maze contest
    // re-created as bystanders, with two of their own.
    npc(2033, 100, 1578, 1647, 7, 13, -64128, 1),    npc(2035, 100, 1707, 1703, 7, 13, -64308, 1),
    npc(2036, 100, 1425, 1665, 7, 13, 64320, 1),     npc(2043, 100, 1590, 1800, 7, 13, -64044, 1),
    npc(2046, 100, 1422, 1830, 7, 13, 64334, 1),     npc(2037, 101, 1062, 988, 7, 13, 64354, 1),
    npc(2042, 101, 1101, 841, 7, 13, 38222, 1),      npc(2048, 101, 1240, 855, 7, 13, -5222, 1),
    npc(3003, 101, 1007, 901, 7, 13, 64428, 1),      npc(3004, 101, 1221, 995, 7, 13, -64202, 1),
    person(3002, 100, 431, 1865, 1501, 10372),       timer(3005, 100, 1502, 4),
    step_trigger(3010, 101, 1376, 1036, 1506, 9906),
};

// ---- The episode on maps 130-139 (044) -------------------------------------------------------

const WorldRow rows_044[] = {
    prop(337, 139, 1200, 1708, -21000),
    prop(338, 139, 1244, 1656, -21000),
    prop(339, 139, 1272, 1738, -21000),
    prop(340, 139, 2194, 1752, -21000),
    prop(341, 139, 2140, 1732, -21000),
    prop(342, 139, 2232, 1788, -21000),
    prop(343, 139, 1838, 1078, 21000),
    prop(344, 139, 1804, 1116, 21000),
    prop(345, 139, 2454, 1256, 21008),
    prop(346, 139, 1718, 1018, 21004),
    prop(347, 139, 100, 2048, 4022),
    timer(348, 139, 149, 3),
    step_trigger(350, 139, 907, 1744, 150, 3261),
    step_trigger(351, 139, 1983, 1662, 151, 3262),
    step_trigger(352, 139, 2595, 1245, 152, 3263),
    step_trigger(353, 139, 1938, 994, 153, 3264),
    npc_vis(354, 1, 139, 1605, 595, 154, 3, 3265, 1, L0),
    npc_vis(355, 1, 139, 0, 0, 7, NO_CURSOR, 21016, 0, H),
    npc_vis(356, 1, 139, 1576, 3, 7, NO_CURSOR, 21021, 0),
    prop(357, 139, 800, 1410, 21002),
    step_trigger(358, 139, 945, 1248, 155, 3266),
    prop(360, 130, 670, 2050, -21000),
    prop(361, 130, 630, 2000, -21000),
    prop(362, 130, 730, 2060, -21000),
    prop(363, 130, 600, 2380, -21000),
    prop(364, 130, 725, 2400, -21000),
    prop(367, 130, 1400, 1440, -21000),
    prop(368, 130, 1310, 1430, -21000),
    prop(369, 130, 1600, 725, -21045),
    prop(370, 130, 1680, 770, -21045),
    step_trigger(371, 130, 500, 2355, 156, 3267),
    step_trigger(372, 130, 1191, 1434, 157, 3268),
    step_trigger(373, 130, 1446, 674, 158, 3269),
    step_trigger(389, 138, 543, 182, 163, 3276),
    npc(393, 138, 365, 185, 165, 13, 21077, 1),
    prop(394, 131, 330, 260, -21073),
    prop(395, 131, 370, 280, -21075),
    prop(396, 131, 300, 300, -21073, H),
    prop(397, 131, 402, 262, -21075, H),
    step_trigger(398, 131, 47, 285, 164, 3283),
    npc(399, 10, 3213, 974, 7, 13, -21093, 0, H),
};

// ---- The episode on maps 61-66 (129), shared by both variants --------------------------------

// The crowd (slots 1206-1209): hidden, without shadows; the members of 1206 and 1207 mirrored.
constexpr WorldRow crowd(s32 obj, s32 map, s32 x, s32 y, s32 event, s32 frame) {
    return figure(obj, map, x, y, event, frame,
                  H | NS | (event == 1206 || event == 1207 ? MI : 0u));
}

const WorldRow rows_129[] = {
    // Map 61.
    step_trigger(3500, 61, 1484, 930, 1200, 6100),
    person(3501, 61, 1343, 1018, 1201, 6402),
    figure(3502, 61, 1118, 908, 1201, 6120),
    figure(3503, 61, 1196, 962, 1201, 6122),
    figure(3504, 61, 1262, 1109, 1201, 6120),
    figure(3505, 61, 1413, 1046, 1201, 6122),
    figure(3506, 61, 1380, 934, 1201, 6120),
    figure(3507, 61, 1150, 1072, 1201, 6122),
    figure(3508, 61, 645, 1009, 1201, 6202, H),
    figure(3509, 61, 589, 1114, 1201, 6202, H),
    figure(3510, 61, 346, 707, 1201, 6130),
    figure(3511, 61, 515, 659, 1201, 6130),
    figure(3512, 61, 365, 565, 1201, 6202, H),
    figure(3513, 61, 406, 539, 1201, 6202, H),
    figure(3514, 61, 406, 539, 1201, 6202, H),
    figure(3515, 61, 365, 565, 1201, 6202, H),
    figure(3516, 61, 406, 539, 1201, 6202, H),
    step_trigger(3517, 61, 782, 890, 1202, 6101),
    figure(3537, 61, 611, 694, 1201, 6130),
    figure(3538, 61, 302, 762, 1201, 6130),
    crowd(3539, 61, 1068, 1133, 1206, -52538),
    crowd(3540, 61, 909, 1010, 1207, -52552),
    crowd(3545, 61, 859, 982, 1208, 52658),
    crowd(3546, 61, 1004, 1126, 1209, 52653),
    crowd(3547, 61, 710, 1000, 1208, 52655),
    crowd(3548, 61, 765, 1140, 1208, 52658),
    crowd(3549, 61, 488, 1027, 1209, 52653),
    crowd(3550, 61, 752, 1003, 1206, -52537),
    crowd(3551, 61, 819, 1140, 1207, -52554),
    crowd(3552, 61, 542, 1065, 1206, -52532),
    step_trigger(3553, 61, 310, 778, 1210, 6108),
    crowd(3554, 61, 535, 897, 1209, 52655),
    crowd(3555, 61, 580, 917, 1206, -52552),
    // Map 62.
    figure(3556, 62, 122, 318, 1201, 6132),
    figure(3557, 62, 246, 403, 1201, -6130),
    figure(3558, 62, 297, 224, 1201, 6110),
    figure(3559, 62, 441, 284, 1201, 6132),
    figure(3560, 62, 90, 226, 1201, -6130),
    person(3561, 62, 184, 180, 1201, 6302),
    person(3562, 62, 155, 212, 1201, 39802),
    step_trigger(3563, 62, 479, 380, 1211, 6109),
    figure(3564, 62, 441, 389, 1201, 6110),
    figure(3565, 62, 481, 354, 1201, 6132),
    person(3566, 62, 287, 289, 1201, -6142, H),
    figure(3567, 62, 364, 316, 1201, 6302, H),
    step_trigger(3679, 62, 731, 429, 1214, 6160),
    // Map 63.
    figure(3520, 63, 346, 707, 1201, 6130),
    figure(3521, 63, 515, 659, 1201, 6130),
    figure(3522, 63, 365, 778, 1203, 6202),
    step_trigger(3523, 63, 310, 778, 1204, 6104),
    person(3524, 63, 368, 551, 1203, 6302, H),
    figure(3535, 63, 611, 694, 1201, 6130),
    figure(3536, 63, 302, 762, 1201, 6130),
    crowd(3568, 63, 1068, 1133, 1206, -52538),
    crowd(3569, 63, 909, 1010, 1207, -52552),
    crowd(3570, 63, 752, 1003, 1206, -52537),
    crowd(3571, 63, 819, 1140, 1207, -52554),
    crowd(3572, 63, 542, 1065, 1206, -52532),
    crowd(3573, 63, 580, 917, 1206, -52552),
    crowd(3574, 63, 859, 982, 1208, 52658),
    crowd(3575, 63, 1004, 1126, 1209, 52653),
    crowd(3576, 63, 710, 1000, 1208, 52655),
    crowd(3577, 63, 765, 1140, 1208, 52658),
    crowd(3578, 63, 488, 1027, 1209, 52653),
    crowd(3579, 63, 535, 897, 1209, 52655),
    person(3580, 63, 1343, 1018, 1201, 6402, H),
    figure(3581, 63, 1360, 932, 1201, -6120, H),
    figure(3582, 63, 1257, 917, 1201, -6122, H),
    figure(3583, 63, 1350, 1086, 1201, -6120, H),
    figure(3584, 63, 480, 704, 1201, 6110, H),
    step_trigger(3585, 63, 942, 891, 1212, 6150, H),
    figure(3586, 63, 1118, 982, 1201, 6202, H),
    figure(3587, 63, 1123, 1025, 1201, 6202, H),
    step_trigger(3623, 63, 310, 778, 1217, 6104, H),
    // Map 64.
    person(3527, 64, 155, 212, 1205, 39802),
    figure(3528, 64, 122, 318, 1201, 6132),
    figure(3529, 64, 246, 403, 1201, -6130),
    figure(3530, 64, 297, 224, 1201, 6110),
    figure(3531, 64, 441, 284, 1201, 6132),
    figure(3532, 64, 90, 226, 1201, -6130),
    figure(3533, 64, 184, 180, 1201, 6110),
    figure(3534, 64, 654, 493, 1201, 6202, H),
    person(3611, 64, 778, 521, 1201, -6130),
    person(3612, 64, 837, 547, 1201, -6130),
    step_trigger(3613, 64, 731, 429, 1214, 6160),
    // Map 66.
    figure(3614, 66, 215, 267, 1201, 6120, H),
    figure(3615, 66, 232, 367, 1201, 6122, H),
    figure(3616, 66, 382, 281, 1201, -6120, H),
    person(3617, 66, 409, 371, 1201, -6142, H),
    person(3618, 66, 331, 321, 1201, 39802, H),
    figure(3619, 66, 525, 356, 1201, -6122, H),
    figure(3620, 66, 446, 405, 1201, -6122, H),
    step_trigger(3621, 66, 731, 429, 1215, 6161, H),
    step_trigger(3622, 66, 938, 560, 1216, 6103),
};

// Route 1 (the start on map 63): the two figures beside person 118 hidden, and the effect on top
// of map 62.
const WorldRow rows_129_1[] = {
    npc(2068, 63, 1318, 975, 7, 0, -64620, 1, H),
    npc(2069, 63, 1418, 1011, 7, 0, -64568, 1, H),
    npc_vis_timed(2070, 0, 62, 120, 234, 7, NO_CURSOR, 23738, 0, 3, ADD | L2),
};
// Route 2 (the start on map 61): the two figures stand beside person 118 from the start.
const WorldRow rows_129_2[] = {
    npc(2068, 61, 1513, 1000, 7, 0, -64620, 1),
    npc(2069, 61, 1487, 975, 7, 0, -64568, 1),
};

// ---- The episode on maps 185-189 (203) -------------------------------------------------------

const WorldRow rows_203[] = {
    person(1800, 185, 680, 1012, 950, -37622),
    person(1801, 185, 1497, 1402, 951, -37618),
    person(1802, 185, 1473, 703, 952, -37618),
    person(1803, 185, 960, 507, 953, 37612),
    person(1804, 189, 309, 223, 954, 37616),
    person(1805, 185, 1874, 960, 955, -37618),
    person(1806, 185, 568, 1532, 956, -37622),
    person(1807, 188, 1114, 446, 957, -37626, H),
    person(1808, 188, 1130, 490, 958, -37630, H),
    person(1809, 188, 1202, 469, 959, -37634, H),
    person(1810, 185, 0, 0, 960, 37702, H),
    person(1811, 185, 2039, 611, 961, 37802, H),
    person(1812, 185, 0, 0, 962, -37600, H),
    step_trigger(1813, 185, 0, 1419, 963, 3646),
    step_trigger(1814, 185, 875, 437, 964, 3647, BL),
    step_trigger(1815, 188, 840, 348, 965, 3648),
    step_trigger(1816, 185, 607, 121, 966, 3649, H),
    person(1817, 185, 1842, 390, 967, 37640, L1),
    portal(1600, 185, 0, 1648, 3642, 187, 597, 264),
    portal(1601, 187, 550, 15, 3644, 185, 321, 1662),
    portal(1602, 185, 2160, 760, 3643, 188, 244, 796),
    portal(1603, 188, 880, 120, 3645, 185, 873, 190),
};

// ---- The episode on map 192 (135) ------------------------------------------------------------

const WorldRow rows_135[] = {
    step_trigger(3040, 192, 1060, 1300, 1513, 9915), person(3041, 192, 930, 1060, 1500, 64480),
    person(3042, 192, 890, 1100, 1500, 64476),       person(3043, 192, 1050, 1130, 1500, -64666),
    person(3044, 192, 1010, 1170, 1500, -64658),     person(3045, 192, 1060, 725, 1500, -64828, H),
    person(3046, 192, 950, 725, 1500, 64412, H),     person(3047, 192, 1175, 725, 1500, -64564, H),
    person(3048, 192, 1090, 380, 1500, -64672, H),   person(3049, 192, 1130, 420, 1500, -64322, H),
    person(3050, 192, 1155, 548, 1500, -64314, H),   person(3051, 192, 972, 385, 1500, 64340, H),
    person(3052, 192, 932, 425, 1500, 64346, H),     person(3053, 192, 959, 550, 1500, 64358, H),
    figure(3054, 192, 977, 250, 1500, 1417, H | NS),
};

// ---- The episode on maps 71, 72 and 163 (195) ------------------------------------------------

const WorldRow rows_195[] = {
    step_trigger(3012, 71, 1210, 781, 1508, 9908),
    step_trigger(3013, 71, 1150, 530, 1508, 9909),
    step_trigger(3030, 163, 500, 500, 1511, 9916, H),
    step_trigger(3031, 72, 700, 1600, 1512, 9913, H),
    person(3014, 71, 1716, 179, 1500, 1426),
    person(3015, 71, 1497, 716, 1500, -64370),
    person(3016, 71, 1390, 675, 1500, 64376),
    person(3017, 71, 1700, 600, 1509, 64770),
    person(3018, 71, 1516, 622, 1500, 64242, H),
    person(3019, 71, 1530, 525, 1500, 64236, H),
    person(3020, 71, 1486, 589, 1500, 64244, H),
    person(3021, 71, 1612, 639, 1500, 64250, H),
    person(3022, 71, 1403, 696, 1500, 64254, H),
    person(3023, 71, 1455, 721, 1500, 64258, H),
    person(3024, 72, 502, 1893, 1500, 64350, H),
    person(3025, 72, 554, 1900, 1500, 64638, H),
    person(3026, 72, 612, 1909, 1500, 64642, H),
    person(3027, 72, 570, 1851, 1500, 64454, H),
    // The puzzle stand keeps its shadow; the setting after it clears the shadow of the map-192
    // figure 3054, whose shadow is off already.
    npc_timed(3032, 72, 657, 307, 1510, 3, 1406, 1, 4),
    set_attr(3054, ATTR_SHADOW, 0),
};

// ---- The episode on maps 69 and 70 (191) -----------------------------------------------------

const WorldRow rows_191[] = {
    portal(3645, 69, 1236, 452, 6166, 70, 430, 473),
    portal(3646, 70, 402, 548, 6167, 69, 1305, 611),
    person(3648, 70, 549, 418, 1201, 10652),
    person(3652, 70, 448, 457, 1201, 10602, H),
    person(3653, 70, 409, 460, 1201, 10252, H),
    person(3649, 69, 644, 1626, 1201, 10602, H),
    person(3650, 69, 606, 1674, 1201, 10252, H),
    person(3657, 69, 749, 825, 1201, -10442, H),
    step_trigger(3647, 69, 1183, 503, 1225, 6168),
    step_trigger(3655, 70, 349, 420, 1226, 6169, H),
    step_trigger(3656, 69, 476, 1111, 1227, 6170, H),
};

// ---- The episode on map 93 (197) -------------------------------------------------------------

const WorldRow rows_197[] = {
    step_trigger(3055, 93, 1438, 1153, 1514, 9917),
    person(3056, 93, 687, 1161, 1500, -64480),
    person(3057, 93, 605, 1191, 1500, 64666),
    person(3058, 93, 1235, 1155, 1500, 64322),
    person(3059, 93, 1145, 1086, 1500, 64344),
    person(3060, 93, 1085, 903, 1500, 64280),
    person(3061, 93, 1271, 1044, 1500, -64308),
    person(3062, 93, 1307, 1113, 1500, -64218),
    person(3063, 93, 1195, 1011, 1500, 64352),
    person(3064, 93, 756, 923, 1500, 64032),
    person(3065, 93, 873, 1113, 1500, -64154, H),
    person(3066, 180, 270, 240, 1500, 1476),
    person(3067, 93, 1371, 974, 1500, -64040, H),
    person(3068, 93, 1541, 947, 1500, -64128, H),
    person(3069, 93, 1350, 1025, 1500, -64822, H),
    person(3070, 93, 1099, 960, 1500, -64002),
    person(3071, 93, 712, 1358, 1500, 64066),
    person(3072, 93, 1381, 1125, 1500, -64050),
    person(3073, 93, 1090, 1176, 1500, -64306),
    person(3074, 93, 896, 1260, 1500, 64138),
    // 3075 and 3076 were the portal pair between maps 93 and 180: they keep their step flag and
    // destination, and their new slots ignore the step trigger.
    person(3075, 93, 715, 955, 1500, 64068),
    person(3076, 93, 2190, 1720, 1516, 64740),
    person(3077, 93, 2260, 1640, 1516, 64740),
    person(3078, 93, 1700, 1466, 1516, 64740),
    person(3079, 93, 1760, 1420, 1516, 64740),
    timer(3080, 93, 1515, 5),
};

// ---- The episode on maps 78 and 5 (199) ------------------------------------------------------

const WorldRow rows_199[] = {
    person(3758, 78, 180, 506, 1251, 64394), person(3759, 78, 134, 550, 1201, 64286, H),
    person(3760, 5, 958, 767, 1201, 64868),  person(3761, 5, 909, 798, 1201, 64284),
    person(3762, 5, 868, 677, 1201, 64420),  person(3763, 5, 803, 694, 1201, 64568),
    person(3764, 5, 909, 710, 1201, 64520),  person(3765, 5, 838, 737, 1201, 64572),
    person(3766, 5, 1078, 828, 1201, -7100), person(3767, 78, 405, 402, 1201, -64868, H),
};

// ---- The episode on maps 94-97 and 8 (198) ---------------------------------------------------

const WorldRow rows_198[] = {
    person(3727, 94, 297, 573, 1245, -64624),        person(3728, 94, 520, 679, 1245, -64624),
    person(3729, 94, 368, 582, 1246, 37702),         step_trigger(3730, 94, 434, 196, 1247, 6984),
    person(3731, 94, 509, 338, 1201, 64866, H),      person(3732, 94, 602, 275, 1201, -64860, H),
    person(3733, 95, 722, 1450, 1248, -64628),       person(3734, 95, 1282, 1607, 1248, -64628),
    person(3735, 95, 1479, 1435, 1248, -64628),      person(3736, 95, 2014, 579, 1248, -64628),
    person(3737, 95, 1742, 786, 1248, -64628),       person(3738, 95, 1631, 353, 1248, -64628),
    person(3739, 95, 866, 250, 1248, -64628),        person(3740, 95, 2327, 1036, 1248, -64630),
    person(3741, 95, 1993, 1198, 1248, -64630),      person(3742, 95, 769, 648, 1248, 64628),
    person(3743, 95, 1300, 350, 1248, 64628),        person(3744, 95, 634, 1040, 1248, -64628),
    step_trigger(3749, 97, 382, 300, 1249, 6987, H), person(3750, 96, 1083, 639, 1201, -64836, H),
    person(3751, 96, 979, 631, 1201, 64000, H),      person(3752, 96, 947, 559, 1201, 64004, H),
    person(3753, 96, 928, 648, 1201, 64008, H),      person(3754, 96, 999, 715, 1201, 64626, H),
    person(3755, 96, 1052, 748, 1201, 64626, H),     step_trigger(3756, 8, 170, 484, 1250, 6989),
    person(3757, 8, 435, 245, 1201, 7070),
};

// ---- The episode on maps 80-88 (143) ---------------------------------------------------------

const WorldRow rows_143[] = {
    npc_vis(3705, 1, 88, 245, 29, 1243, 3, 6750, 1, H | L0),
    person(3673, 80, 372, 1668, 1232, 32890),
    person(3674, 80, 483, 1553, 1232, -34215, MI),
    person(3675, 80, 363, 1593, 1232, 32884),
    person(3676, 80, 454, 1634, 1232, 32450, MI),
    person(3677, 80, 402, 1573, 1232, 34153),
    person(3678, 88, 325, 309, 1229, 41452),
    person(3680, 80, 426, 1580, 1201, -64328, H),
    person(3683, 85, 335, 228, 1230, 6361, NS),
    person(3684, 85, 302, 397, 1201, 64330, H),
    person(3686, 80, 1352, 420, 1201, 64334, H),
    person(3687, 80, 1418, 398, 1201, -32530, H),
    person(3688, 80, 1446, 452, 1201, 32890, H),
    person(3689, 80, 1322, 470, 1201, -32884, H),
    person(3690, 84, 327, 248, 1232, -32530, H),
    figure(3706, 80, 401, 1125, 1201, 6752, H | NS),
    figure(3707, 80, 886, 1269, 1201, 6753, H | NS),
    figure(3708, 80, 1068, 900, 1201, 6754, H | NS),
    figure(3709, 80, 1428, 521, 1201, 6754, H | NS),
    figure(3710, 80, 1540, 198, 1201, 6754, H | NS),
    step_trigger(3672, 80, 594, 1371, 1228, 6185),
    step_trigger(3685, 80, 1383, 354, 1231, 6188, H),
};

// ---- Descriptors -----------------------------------------------------------------------------

constexpr u32 S = SCENE_SAVE;
constexpr u32 NC = SCENE_NO_CURSOR;
constexpr u32 MB = SCENE_CLEAR_BUTTONS;

const SceneDescriptor scene_table[SCENE_COUNT] = {
    // name, hour, rate, area, music; player map, x, y, event, cursor, click, frame, timer; flags;
    // before the clock; objects; every entry; closing.
    {"221",
     9,
     300,
     1,
     10050,
     10,
     6,
     1925,
     1000,
     3,
     0,
     424,
     6,
     S | NC | SCENE_CLOCK_APPLY | SCENE_MEET_PERSONS,
     rows_of(rows_221_new),
     {rows_of(rows_221_residents), NONE},
     NONE,
     NONE},
    {"192",
     9,
     0,
     5,
     10033,
     240,
     229,
     1530,
     0,
     3,
     1,
     418,
     0,
     S | SCENE_KEEP_RATE,
     NONE,
     {rows_of(rows_192), NONE},
     NONE,
     NONE},
    {"190",
     9,
     300,
     4,
     10060,
     200,
     1476,
     3690,
     0,
     3,
     1,
     424,
     0,
     S,
     NONE,
     {rows_of(rows_190), NONE},
     NONE,
     NONE},
    {"196",
     10,
     0,
     1,
     10026,
     67,
     644,
     1629,
     0,
     0,
     0,
     420,
     0,
     MB,
     NONE,
     {rows_of(rows_196), NONE},
     NONE,
     NONE},
    {"222",
     10,
     300,
     14,
     10060,
     102,
     385,
     799,
     0,
     3,
     1,
     424,
     0,
     S | MB,
     NONE,
     {rows_of(rows_222), NONE},
     NONE,
     NONE},
    {"201",
     10,
     0,
     0,
     10060,
     90,
     348,
     401,
     0,
     0,
     0,
     420,
     0,
     MB | SCENE_KEEP_AREA,
     NONE,
     {rows_of(rows_201), NONE},
     NONE,
     rows_of(rows_201_closing)},
    {"193",
     10,
     300,
     8,
     10030,
     186,
     36,
     1662,
     0,
     3,
     1,
     -418,
     0,
     S | MB,
     NONE,
     {rows_of(rows_193), NONE},
     rows_of(rows_193_every_entry),
     NONE},
    {"194",
     10,
     0,
     9,
     10031,
     100,
     500,
     1900,
     0,
     3,
     1,
     -418,
     0,
     S | MB,
     NONE,
     {rows_of(rows_194), NONE},
     NONE,
     NONE},
    {"044",
     13,
     0,
     10,
     10029,
     139,
     153,
     2137,
     0,
     3,
     1,
     -418,
     0,
     S,
     NONE,
     {rows_of(rows_044), NONE},
     NONE,
     NONE},
    {"129_1",
     9,
     0,
     6,
     10039,
     63,
     1584,
     1178,
     0,
     3,
     1,
     -418,
     0,
     S | MB,
     NONE,
     {rows_of(rows_129), rows_of(rows_129_1)},
     NONE,
     NONE},
    {"129_2",
     9,
     0,
     6,
     10039,
     61,
     1584,
     1178,
     0,
     3,
     1,
     -418,
     0,
     S | MB,
     NONE,
     {rows_of(rows_129), rows_of(rows_129_2)},
     NONE,
     NONE},
    {"203",
     9,
     0,
     3,
     10035,
     187,
     454,
     400,
     0,
     3,
     1,
     424,
     0,
     S | NC | SCENE_CLOCK_LAST,
     NONE,
     {rows_of(rows_203), NONE},
     NONE,
     NONE},
    {"135",
     10,
     0,
     9,
     10031,
     101,
     2000,
     1700,
     0,
     3,
     1,
     418,
     0,
     S | SCENE_NO_PLAY,
     NONE,
     {rows_of(rows_135), NONE},
     NONE,
     NONE},
    {"195",
     13,
     0,
     11,
     10037,
     71,
     1176,
     1359,
     0,
     3,
     1,
     424,
     0,
     S,
     NONE,
     {rows_of(rows_195), NONE},
     NONE,
     NONE},
    {"191",
     13,
     0,
     7,
     0,
     69,
     644,
     1629,
     0,
     3,
     1,
     424,
     0,
     S | NC | SCENE_KEEP_MUSIC | SCENE_NO_PLAY,
     NONE,
     {rows_of(rows_191), NONE},
     NONE,
     NONE},
    {"197",
     10,
     0,
     15,
     10060,
     93,
     2350,
     1730,
     0,
     3,
     1,
     418,
     0,
     S | SCENE_NO_PLAY,
     NONE,
     {rows_of(rows_197), NONE},
     NONE,
     NONE},
    {"199",
     15,
     0,
     16,
     10047,
     78,
     104,
     565,
     0,
     3,
     1,
     418,
     0,
     S,
     NONE,
     {rows_of(rows_199), NONE},
     NONE,
     NONE},
    {"198",
     9,
     0,
     3,
     10035,
     94,
     265,
     638,
     0,
     3,
     1,
     -418,
     0,
     S,
     NONE,
     {rows_of(rows_198), NONE},
     NONE,
     NONE},
    {"143",
     13,
     0,
     13,
     10048,
     80,
     1800,
     368,
     0,
     0,
     0,
     -424,
     0,
     NC,
     NONE,
     {rows_of(rows_143), NONE},
     NONE,
     NONE},
};

} // namespace

const s32 scene_meet_persons[SCENE_MEET_COUNT] = {11, 71, 121, 167, 87, 81, 55, 180, 33, 89};

const SceneDescriptor& scene_descriptor(s32 scene) {
    if (scene < 0 || scene >= SCENE_COUNT) shell_fatal("scene %d out of range", int(scene));
    return scene_table[scene];
}

void scene_rows_visit(WorldTableVisitor visit, void* context) {
    // Names stay valid after the call: a visitor may keep them.
    static char names[SCENE_COUNT][5][24];
    for (s32 n = 0; n < SCENE_COUNT; ++n) {
        const SceneDescriptor& d = scene_table[n];
        const SceneRows parts[5] = {d.before_clock, d.objects[0], d.objects[1], d.every_entry,
                                    d.closing};
        for (s32 i = 0; i < 5; ++i) {
            if (parts[i].count == 0) continue;
            // The shared rows of 129 are visited once, with its first variant.
            if (parts[i].rows == rows_129 && n != SCENE_129_1) continue;
            snprintf(names[n][i], sizeof names[n][i], "scene %s: part %d", d.name, int(i));
            visit(names[n][i], parts[i].rows, parts[i].count, context);
        }
    }
}
