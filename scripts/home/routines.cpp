#include "scripts/home/routines.h"

#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/home/arrival.h"

#include <array>
#include <limits>

namespace {

constexpr s32 STAGE_TOP = std::numeric_limits<s32>::max();

// ---- Routes -----------------------------------------------------------------------------------
// One window a line of steps. The steps marked "resumes" go on from a stage that the timetable
// gives at that time and that no later window of the day lists, so that a clock jump never leaves
// a resident standing for the rest of the day.
namespace routes {
using namespace route;

// clang-format off

// Resident 217 (walks with 218).
constexpr RouteStep R217_ALWAYS[] = {
    go(1, 213, 1781),
    go(2, 1387, 1167, say_remark(20473_t, -100, -110, 3000), at_frame(-5402_f)),
};
constexpr RouteStep R217_0630[] = {
    go(3, 1966, 923), go(4, 2555, 1255), go(5, 3021, 967), go(6, 2871, 832, at_frame(33812_f)),
    idle(7, 33812_f, 33834_f),
};
constexpr RouteStep R217_0700[] = {
    idle(7, 33812_f, 33834_f),
    go(6, 2871, 832, at_frame(33812_f)), // resumes: the timetable's 7:00 to 9:30 entries
};
constexpr RouteStep R217_1000[] = {
    face(7, 5402_f), go(8, 2958, 740), go(9, 2615, 582), stay(10, 2221, 681, at_frame(5422_f)),
};
constexpr RouteStep R217_1100[] = {
    go(10, 2507, 267, at_frame(0_f)), to_map(11, 40_map, 624, 1614, 5402_f), go(12, 560, 1447),
    go(13, 736, 989), go(14, 1018, 821), go(15, 769, 616, at_frame(33812_f)),
    idle(16, 33812_f, 33834_f),
};
constexpr RouteStep R217_1200[] = {
    face(16, 5422_f), go(17, 1030, 814), go(18, 1407, 630, at_frame(0_f)),
    to_map(19, 51_map, 453, 481, 5402_f), go(20, 441, 439), go(21, 515, 409), go(22, 443, 343),
    go(23, 361, 364, at_frame(33812_f), obj_stage(218_obj, 18)), idle(24, 33812_f, 33834_f),
};
constexpr RouteStep R217_1300[] = {
    face(24, 5422_f), go(25, 395, 485, at_frame(0_f)), to_map(26, 40_map, 1381, 670, -5422_f),
    go(27, 1345, 693), go(28, 1679, 939), stay(29, 1550, 1012, at_frame(5422_f)),
};
constexpr RouteStep R217_1400[] = {
    go(29, 1508, 1041), go(30, 1099, 831), go(31, 736, 1045), go(32, 560, 1447),
    go(33, 676, 1646, at_frame(0_f)), to_map(34, 10_map, 2520, 307, 5422_f), go(35, 3070, 992),
    go(36, 3554, 1231), go(37, 3963, 1235), go(38, 4339, 1349), go(39, 4470, 1275, at_frame(0_f)),
    to_map(40, 13_map, 268, 378, 5402_f), go(41, 388, 311, at_frame(32764_f)),
    idle(42, 32764_f, 32786_f),
};
constexpr RouteStep R217_1500[] = {
    face(42, -5422_f), go(43, 268, 378, at_frame(0_f)), to_map(44, 10_map, 4465, 1288, -5422_f),
    go(45, 4329, 1393), go(46, 5344, 1670, at_frame(32764_f)), idle(47, 32764_f, 32786_f),
};
constexpr RouteStep R217_1600[] = {
    face(47, 5402_f), go(48, 4848, 1487), go(49, 4940, 1395, at_frame(0_f)),
    to_map(50, 24_map, 226, 402, 5402_f), go(51, 276, 366), go(52, 345, 335), go(53, 416, 203),
    go(54, 278, 37, at_frame(0_f)), to_map(55, 25_map, 277, 270, -5402_f), go(56, 244, 246),
    go(57, 318, 208), go(58, 557, 342), stay(59, 602, 301, obj_stage(218_obj, 49), at_frame(0_f)),
};
constexpr RouteWindow R217[] = {
    arrival_watch(217), always(R217_ALWAYS),
    window(6, 30, 6, 59, R217_0630),   window(7, 0, 9, 59, R217_0700),
    window(10, 0, 10, 59, R217_1000),  window(11, 0, 11, 59, R217_1100),
    window(12, 0, 12, 59, R217_1200),  window(13, 0, 13, 59, R217_1300),
    window(14, 0, 14, 59, R217_1400),  window(15, 0, 15, 59, R217_1500),
    window(16, 0, 23, 59, R217_1600),
};

// Resident 218.
constexpr RouteStep R218_ALWAYS[] = {go(1, 210, 1815), go(2, 1373, 1199)};
constexpr RouteStep R218_0630[] = {
    go(3, 1921, 919), go(4, 2549, 1285), go(5, 3008, 1003), stay(6, 2913, 815),
};
constexpr RouteStep R218_1000[] = {
    go(6, 3000, 733), go(7, 2670, 586), stay(8, 2252, 656, at_frame(5472_f)),
};
constexpr RouteStep R218_1100[] = {
    go(8, 2478, 267, at_frame(0_f)), to_map(9, 40_map, 668, 1614, 5452_f), go(10, 514, 1446),
    go(11, 763, 1016), go(12, 1036, 841), stay(13, 779, 662),
};
constexpr RouteStep R218_1200[] = {
    go(13, 1036, 841), go(14, 1213, 726), go(15, 1397, 629, at_frame(0_f)),
    to_map(16, 51_map, 431, 474, 5452_f), stay(17, 422, 430, at_frame(5452_f)), stay(18, 391, 376),
};
constexpr RouteStep R218_1300[] = {
    face(18, 5472_f), go(19, 416, 494, at_frame(0_f)), to_map(20, 40_map, 1358, 659, -5472_f),
    go(21, 1314, 686), go(22, 1640, 918), stay(23, 1546, 985, at_frame(5472_f)),
};
constexpr RouteStep R218_1400[] = {
    go(23, 1506, 1006), go(24, 1090, 805), go(25, 749, 1021), go(26, 514, 1447),
    go(27, 632, 1647, at_frame(0_f)), to_map(28, 10_map, 2478, 307, 5472_f), go(29, 3044, 1011),
    go(30, 3532, 1257), go(31, 3940, 1265), go(32, 4299, 1366), go(33, 4469, 1267, at_frame(0_f)),
    to_map(34, 13_map, 240, 377, 5452_f), stay(35, 349, 310),
};
constexpr RouteStep R218_1500[] = {
    go(35, 240, 377, at_frame(0_f)), to_map(36, 10_map, 4432, 1271, -5472_f), go(37, 4327, 1372),
    stay(38, 5303, 1662, at_frame(5452_f)),
};
constexpr RouteStep R218_1600[] = {
    go(38, 4876, 1477), go(39, 4956, 1400, at_frame(0_f)), to_map(40, 24_map, 206, 389, 5452_f),
    go(41, 256, 355), go(42, 326, 327), go(43, 405, 178), go(44, 292, 28, at_frame(0_f)),
    to_map(45, 25_map, 291, 262, -5452_f), go(46, 270, 247), go(47, 335, 211),
    stay(48, 605, 348, obj_off(100_obj), at_frame(-5452_f)),
    stay(49, 620, 315, obj_on(100_obj), at_frame(0_f)),
};
constexpr RouteWindow R218[] = {
    arrival_watch(218), always(R218_ALWAYS),
    window(6, 30, 9, 59, R218_0630),   window(10, 0, 10, 59, R218_1000),
    window(11, 0, 11, 59, R218_1100),  window(12, 0, 12, 59, R218_1200),
    window(13, 0, 13, 59, R218_1300),  window(14, 0, 14, 59, R218_1400),
    window(15, 0, 15, 59, R218_1500),  window(16, 0, 23, 59, R218_1600),
};

// Resident 219.
constexpr RouteStep R219_HOME_LOOP = idle(24, 32800_f, 32874_f);
constexpr RouteStep R219_GATE_LOOP = idle(12, 32826_f, 32844_f, 2, ROUTE_IDLE_REARM, 50);
constexpr RouteStep R219_0600[] = {idle(0, 32800_f, 32874_f, 2, 6, 20)};
constexpr RouteStep R219_0630[] = {
    face(0, -5872_f), go(1, 5306, 1735), go(2, 4670, 1521), go(3, 4823, 1413, at_frame(32826_f)),
    idle(4, 32826_f, 32844_f, 2, ROUTE_IDLE_REARM, 50),
};
constexpr RouteStep R219_0800[] = {idle(4, 32826_f, 32844_f, 2, ROUTE_IDLE_REARM, 50)};
constexpr RouteStep R219_0830[] = {
    face(4, -5872_f), go(5, 4670, 1521), go(6, 4012, 1299), go(7, 3619, 1280), go(8, 3069, 1050),
    go(9, 2901, 934), go(10, 2994, 789), go(11, 2342, 393, at_frame(32826_f)), R219_GATE_LOOP,
};
// Resumes: a clock jump into 9:00-9:14 or 9:15-9:29 gives stages 4 and 5 (facing the gate road),
// which no later window lists; the walk to the gate goes on from them.
constexpr RouteStep R219_0900[] = {
    face(4, -5872_f), go(5, 4670, 1521), go(6, 4012, 1299), go(7, 3619, 1280), go(8, 3069, 1050),
    go(9, 2901, 934), go(10, 2994, 789), go(11, 2342, 393, at_frame(32826_f)),
};
constexpr RouteStep R219_1000[] = {R219_GATE_LOOP};
constexpr RouteStep R219_1030[] = {
    face(12, -5872_f), go(13, 2250, 546), go(14, 2397, 611), go(15, 2022, 978), go(16, 2255, 1158),
    go(17, 2620, 1307), go(18, 3034, 1268), go(19, 3619, 1280), go(20, 4012, 1299),
    go(21, 4670, 1521), go(22, 5306, 1735), go(23, 5447, 1655, at_frame(32800_f)), R219_HOME_LOOP,
};
constexpr RouteStep R219_1100[] = {R219_HOME_LOOP};
constexpr RouteWindow R219[] = {
    window(6, 0, 6, 29, R219_0600),    window(6, 30, 7, 59, R219_0630),
    window(8, 0, 8, 29, R219_0800),    window(8, 30, 8, 59, R219_0830),
    window(9, 0, 9, 59, R219_0900),    window(10, 0, 10, 29, R219_1000),
    window(10, 30, 10, 59, R219_1030), window(11, 0, 23, 59, R219_1100),
};

// Resident 223 (hands stages back and forth with object 6 on map 40).
constexpr RouteStep R223_ALWAYS[] = {go(1, 148, 1749), go(2, 1099, 1310)};
constexpr RouteStep R223_FIELD_LOOP =
    idle_remark(idle(4, 32900_f, 32924_f), 32910_f, 20467_t, -95, -105, 2000);
constexpr RouteStep R223_KITCHEN_LOOP = idle(15, 32930_f, 32962_f, 2, 15, 100);
constexpr RouteStep R223_0630[] = {go(3, 2220, 684, at_frame(32900_f)), R223_FIELD_LOOP};
constexpr RouteStep R223_0700[] = {R223_FIELD_LOOP};
constexpr RouteStep R223_0800[] = {
    face(4, 5152_f), go(5, 2478, 267, at_frame(0_f)),
    to_map(6, 40_map, 625, 1610, 5152_f, say_remark(20468_t, -100, -130, 3000)),
    stay(7, 735, 990),
    hold(8, say_remark(20470_t, -110, -100, 4000), obj_stage(6_obj, 8)),
    go(9, 1113, 766), go(10, 1182, 626), go(11, 1271, 557, at_frame(0_f)),
    to_map(12, 51_map, 433, 483, 5152_f), go(13, 483, 430), go(14, 570, 415, at_frame(32928_f)),
    R223_KITCHEN_LOOP,
};
constexpr RouteStep R223_1200[] = {
    face(15, 5152_f).rearm(10), go(16, 483, 430), go(17, 433, 483, at_frame(0_f)),
    to_map(18, 40_map, 1367, 660, -5172_f), go(19, 1113, 766),
    go(20, 825, 938, say_remark(20471_t, -80, -115, 3000), obj_stage(6_obj, 10)),
    stay(21, 771, 971), go(22, 668, 1645, at_frame(0_f)), to_map(23, 10_map, 2507, 310, 5172_f),
    go(24, 3063, 979), go(25, 3581, 1195), go(26, 4083, 1289), stay(27, 5353, 1681, at_frame(5152_f)),
};
constexpr RouteStep R223_1500[] = {
    go(27, 5243, 1732), go(28, 4950, 1618), go(29, 4249, 1931), go(30, 3893, 2173),
    go(31, 4255, 2343), stay(32, 4565, 2198, self_off()),
};
constexpr RouteWindow R223[] = {
    arrival_watch(223), always(R223_ALWAYS),
    window(6, 30, 6, 59, R223_0630),   window(7, 0, 7, 59, R223_0700),
    window(8, 0, 11, 59, R223_0800),   window(12, 0, 14, 59, R223_1200),
    window(15, 0, 23, 59, R223_1500),
};

// Resumes: a clock jump past 15:59 gives the visitors their last stage, which no window of the
// day would reach again; they leave from it as at 15:00.
constexpr RouteStep VISITOR_EVENING[] = {stay(44, 900, 650, self_off())};

// Resident 225 (the visitor).
constexpr RouteStep R225_1000[] = {
    go(0, 7351, 2429), go(1, 7239, 2343), next(2, say_remark(20406_t, -150, -110, 6000)),
    go(3, 7194, 2324), go(4, 6345, 2019), go(5, 5632, 1685),
};
constexpr RouteStep R225_1100[] = {
    next(6), go(7, 5467, 1755), go(8, 4049, 1247), go(9, 3311, 1178), go(10, 3029, 963),
    go(11, 2533, 383, say_remark(20475_t, -150, -110, 6000)), go(12, 2475, 279, at_frame(0_f)),
    to_map(13, 40_map, 535, 1360, 5202_f), go(14, 693, 1040), go(15, 1047, 816),
    go(16, 1463, 992),
};
constexpr RouteStep R225_1200[] = {
    next(17), go(18, 1619, 897), go(19, 1516, 803), go(20, 1422, 759), go(21, 1342, 674),
    go(22, 1406, 633, at_frame(0_f)), to_map(23, 51_map, 434, 467, 5202_f), go(24, 459, 439),
    go(25, 359, 383), go(26, 367, 355, at_frame(-5202_f)),
};
constexpr RouteStep R225_1300[] = {
    next(27), go(28, 359, 383), go(29, 459, 439), go(30, 412, 488, at_frame(0_f)),
    to_map(31, 40_map, 1360, 662, -5222_f), go(32, 1132, 752), go(33, 710, 1056),
    go(34, 432, 1658, at_frame(0_f)), to_map(35, 10_map, 2288, 316, 5222_f), go(36, 2375, 416),
    go(37, 1967, 846),
    go(38, 2291, 1078, at_frame(33438_f), say_remark(20415_t, -50, -110, 4000),
       remark_on(11_obj, 20414_t, -50, -110, 4000, 10_map)).before(unlabel(11_obj)),
    idle(39, 33400_f, 33434_f),
};
constexpr RouteStep R225_1500[] = {
    face(39, -5202_f), go(40, 2047, 906), go(41, 1425, 1192), step(42, 1265, 1035),
    next(43, unlabel(72_obj), say_remark(20417_t, -150, -110, 10000),
         remark_on(72_obj, 20418_t, -112, -110, 5000, 10_map)),
    stay(44, 900, 650, self_off()),
};
constexpr RouteWindow R225[] = {
    window(10, 0, 10, 59, R225_1000), window(11, 0, 11, 59, R225_1100),
    window(12, 0, 12, 59, R225_1200), window(13, 0, 14, 59, R225_1300),
    window(15, 0, 15, 59, R225_1500),  window(16, 0, 23, 59, VISITOR_EVENING),
};

// Resident 226.
constexpr RouteStep R226_1000[] = {
    go(0, 7280, 2397, at_frame(5252_f), then_stage(2)), next(2, say_remark(20405_t, 18, -90, 6000)),
    go(3, 6377, 2018), go(4, 5668, 1706, at_frame(33060_f), then_stage(6)),
    idle_remark(idle(6, 33060_f, 33080_f), 33064_f, 20410_t, -35, -115, 3000),
};
constexpr RouteStep R226_1100[] = {
    face(6, -5252_f), go(7, 5497, 1763), go(8, 4079, 1253), go(9, 3341, 1184), go(10, 3059, 969),
    go(11, 2571, 400), go(12, 2500, 280, at_frame(0_f)), to_map(13, 40_map, 568, 1395, 5252_f),
    go(14, 695, 1072), go(15, 1052, 856), go(16, 1493, 1029),
};
constexpr RouteStep R226_1200[] = {
    next(17), go(18, 1616, 930), go(19, 1504, 815), go(20, 1410, 767), go(21, 1334, 673),
    go(22, 1391, 632, at_frame(0_f)), to_map(23, 51_map, 409, 466, 5252_f), go(24, 440, 443),
    go(25, 325, 374, at_frame(-5252_f), then_stage(27)),
};
constexpr RouteStep R226_1300[] = {
    next(27), go(28, 417, 454), go(29, 388, 481, at_frame(0_f)),
    to_map(30, 40_map, 1358, 655, -5272_f), go(31, 1116, 748), go(32, 701, 1047),
    go(33, 416, 1654, at_frame(0_f)), to_map(34, 10_map, 2255, 308, 5272_f), go(35, 2348, 417),
    go(36, 1942, 846), go(37, 2317, 1097, at_frame(33442_f), then_stage(39)),
    idle(39, 33442_f, 33476_f),
};
constexpr RouteStep R226_1500[] = {
    next(39), face(40, -5252_f), go(41, 2046, 897), go(42, 1429, 1179), step(43, 1296, 1037),
    stay(44, 900, 650, self_off()),
};
constexpr RouteWindow R226[] = {
    window(10, 0, 10, 59, R226_1000), window(11, 0, 11, 59, R226_1100),
    window(12, 0, 12, 59, R226_1200), window(13, 0, 14, 59, R226_1300),
    window(15, 0, 15, 59, R226_1500),  window(16, 0, 23, 59, VISITOR_EVENING),
};

// Resident 227.
constexpr RouteStep R227_1000[] = {
    go(0, 7208, 2374), go(1, 7197, 2365, at_frame(5252_f)).speed(8), go(2, 6353, 2043),
    go(3, 5626, 1719, at_frame(33036_f), then_stage(6)),
    idle_remark(idle(6, 33036_f, 33056_f), 33050_f, 20411_t, -48, -115, 3000),
};
constexpr RouteStep R227_1100[] = {
    face(6, -5252_f), go(7, 5455, 1774), go(8, 4037, 1266), go(9, 3300, 1197), go(10, 3017, 982),
    go(11, 2529, 413), go(12, 2468, 290, at_frame(0_f)), to_map(13, 40_map, 521, 1395, 5252_f),
    go(14, 663, 1060), go(15, 1040, 838), go(16, 1535, 1003),
};
constexpr RouteStep R227_1200[] = {
    next(17), go(18, 1657, 907), go(19, 1535, 799), go(20, 1424, 754), go(21, 1359, 679),
    go(22, 1409, 641, at_frame(0_f)), to_map(23, 51_map, 442, 485, 5252_f), go(24, 472, 446),
    go(25, 353, 373, at_frame(-5252_f), then_stage(27)),
};
constexpr RouteStep R227_1300[] = {
    next(27), go(28, 446, 465), go(29, 429, 502, at_frame(0_f)),
    to_map(30, 40_map, 1373, 670, -5272_f), go(31, 1148, 749), go(32, 724, 1063),
    go(33, 450, 1657, at_frame(0_f)), to_map(34, 10_map, 2314, 311, 5272_f), go(35, 2399, 419),
    go(36, 2000, 836), go(37, 2348, 1119, at_frame(33480_f), then_stage(39)),
    idle(39, 33442_f, 33476_f),
};
constexpr RouteStep R227_1500[] = {
    face(39, -5252_f), go(40, 2317, 1112), go(41, 2058, 923), go(42, 1417, 1263),
    go(43, 1263, 1052), stay(44, 900, 650, self_off()),
};
constexpr RouteWindow R227[] = {
    window(10, 0, 10, 59, R227_1000), window(11, 0, 11, 59, R227_1100),
    window(12, 0, 12, 59, R227_1200), window(13, 0, 14, 59, R227_1300),
    window(15, 0, 15, 59, R227_1500),  window(16, 0, 23, 59, VISITOR_EVENING),
};

// Resident 123 (ends its day in the workshop, map 28).
constexpr RouteStep R123_0000[] = {
    face(0, -5322_f), go(1, 4666, 1577), go(2, 3741, 1268), go(3, 3179, 1301),
    go(4, 2756, 1078, at_frame(33200_f)), idle(5, 33200_f, 33220_f),
};
constexpr RouteStep R123_1001[] = {
    face(5, 5322_f), go(6, 2840, 1129), go(7, 2638, 1350), go(8, 2152, 986),
    go(9, 2264, 946, at_frame(33224_f)), idle(10, 33224_f, 33252_f),
};
constexpr RouteStep R123_1030[] = {
    face(10, -5322_f), go(11, 2152, 986), go(12, 2398, 1159), go(13, 2499, 1161, at_frame(33256_f)),
    idle(14, 33256_f, 33274_f),
};
constexpr RouteStep R123_1100[] = {
    face(14, 5322_f), go(15, 2985, 1259), go(16, 3821, 1305), go(17, 4385, 1462),
    go(18, 4677, 1528), go(19, 4925, 1412, at_frame(0_f)), to_map(20, 24_map, 242, 390, 5302_f),
    go(21, 319, 370), go(22, 465, 354), go(23, 575, 300, at_frame(0_f)),
    to_map(24, 28_map, 260, 415, 5302_f), go(25, 335, 350),
    go(26, 236, 301, at_frame(30270_f), obj_off(228_obj), obj_on(122_obj)),
    idle(27, 30270_f, 30297_f, 2, ROUTE_IDLE_REARM, 100).through(STAGE_TOP),
};
constexpr RouteWindow R123[] = {
    window(0, 0, 9, 59, R123_0000),    window(10, 1, 10, 29, R123_1001),
    window(10, 30, 10, 59, R123_1030), window(11, 0, 23, 59, R123_1100),
};

// Resident 232 (its home is on map 23; objects 235 and 236 show it at home). Away from home it
// is drawn with its shadow on the walking layer; at home on layer 2 without.
void r232_away_look() {
    const s32 self = script_self();
    attr_set(self, ATTR_SHADOW, 1);
    attr_set(self, ATTR_LAYER, 3);
}
void r232_home_look() {
    const s32 self = script_self();
    attr_set(self, ATTR_SHADOW, 0);
    attr_set(self, ATTR_LAYER, 2);
}
constexpr RouteStep R232_HOME_LOOP =
    idle(47, 33346_f, 33361_f, 1, 6, 35).before(act(r232_home_look));
constexpr RouteStep R232_0000[] = {
    idle(0, 33346_f, 33361_f, 1, 6, 35).before(act(r232_home_look)).through(STAGE_TOP),
};
constexpr RouteStep R232_1200[] = {
    face(0, -5352_f, obj_off(235_obj), obj_off(236_obj), act(r232_away_look)),
    go(1, 316, 305), go(2, 247, 248, at_frame(0_f)), to_map(3, 21_map, 455, 400, -5352_f),
    go(4, 347, 321), go(5, 173, 400, at_frame(0_f)), to_map(6, 10_map, 6072, 1733, -5352_f),
    go(7, 5830, 1936), go(8, 5322, 1775), go(9, 4529, 1521), go(10, 3820, 1143),
    go(11, 3407, 1291), go(12, 3021, 1218), go(13, 2604, 1280), go(14, 2154, 1044),
    go(15, 2264, 946, at_frame(33872_f)), idle(16, 33872_f, 33892_f),
};
constexpr RouteStep R232_1300[] = {
    face(16, -5372_f), go(17, 2154, 1044), go(18, 2490, 1220), go(19, 2568, 1164, at_frame(33842_f)),
    idle(20, 33842_f, 33868_f, 2, ROUTE_IDLE_REARM, 30),
};
constexpr RouteStep R232_1330[] = {
    face(20, 5352_f), go(21, 2743, 1163), go(22, 2837, 1088), go(23, 2783, 1060, at_frame(33900_f)),
    idle(24, 33900_f, 33928_f),
};
constexpr RouteStep R232_1400[] = {
    face(24, 5372_f), go(25, 3021, 1218), go(26, 3407, 1291), go(27, 4678, 754),
    go(28, 4575, 639, at_frame(0_f)), to_map(29, 19_map, 486, 391, -5352_f),
    go(30, 422, 357, at_frame(5352_f)),
};
constexpr RouteStep R232_1500[] = {
    face(31, 5372_f), go(32, 500, 398, at_frame(0_f)), to_map(33, 10_map, 4593, 661, 5372_f),
    go(34, 4724, 815), go(35, 4070, 1139), go(36, 4227, 1362), go(37, 4529, 1521),
    go(38, 5322, 1755), go(39, 5830, 1936), go(40, 6102, 1708, at_frame(0_f)),
    to_map(41, 21_map, 190, 392, 5352_f), go(42, 347, 321), go(43, 468, 410, at_frame(0_f)),
    to_map(44, 23_map, 265, 263, 5372_f), go(45, 317, 305),
    go(46, 425, 334, obj_on(235_obj), obj_on(236_obj), at_frame(33346_f)), R232_HOME_LOOP,
};
// Resumes: a clock jump past 15:59 puts 232 at its door with stage 46, which the table leaves
// to nobody until the next noon; it goes in as at 15:00, and stays put at 47 as the evening has it.
constexpr RouteStep R232_1600[] = {
    go(46, 425, 334, obj_on(235_obj), obj_on(236_obj), at_frame(33346_f)),
};
constexpr RouteWindow R232[] = {
    window(0, 0, 11, 59, R232_0000),   window(12, 0, 12, 59, R232_1200),
    window(13, 0, 13, 29, R232_1300),  window(13, 30, 13, 59, R232_1330),
    window(14, 0, 14, 59, R232_1400),  window(15, 0, 15, 59, R232_1500),
    window(16, 0, 23, 59, R232_1600),
};

// clang-format on

} // namespace routes

constexpr Route ROUTE_217{.interval = 5, .windows = routes::R217};
constexpr Route ROUTE_218{.interval = 5, .windows = routes::R218};
constexpr Route ROUTE_219{.interval = 6, .speed = 10, .windows = routes::R219};
constexpr Route ROUTE_223{.interval = 4, .windows = routes::R223};
constexpr Route ROUTE_225{.interval = 6, .windows = routes::R225};
constexpr Route ROUTE_226{.interval = 6, .windows = routes::R226};
constexpr Route ROUTE_227{.interval = 6, .windows = routes::R227};
constexpr Route ROUTE_123{.interval = 6, .speed = 10, .windows = routes::R123};
constexpr Route ROUTE_232{.interval = 6, .windows = routes::R232};

} // namespace

// ---- Talks ------------------------------------------------------------------------------------
// One stage block a line, in the notation of the resident tables.
namespace {
namespace talks {
using namespace cell;

constexpr s32 LOWEST = std::numeric_limits<s32>::min();
constexpr s32 HIGHEST = std::numeric_limits<s32>::max();

// Joins parts of a talk written apart (the runs several branches share).
template <size_t... N> constexpr auto join(const std::array<Cell, N>&... parts) {
    std::array<Cell, (N + ...)> out{};
    size_t i = 0;
    (([&] {
         for (const Cell& c : parts) out[i++] = c;
     }()),
     ...);
    return out;
}
template <class... C> constexpr auto cells(C... c) {
    return std::array<Cell, sizeof...(C)>{c...};
}

// PlayerRecord.affection entry 300: 232's relation counter, written as is (no growth rules).
s32& relation() {
    return player_record.affection[ROUTINE_HOME_RELATION];
}
void relation_note_met() {
    if (relation() == 0) relation() = 1;
}
void relation_set_met() {
    relation() = 1;
}
void relation_set_second() {
    relation() = 2;
}
void relation_task_done() {
    relation() += 50;
}
// The walker quest's last step: story flag 1 at 4 with item 1203 in hand.
bool walker_quest_ready() {
    return player_record.story_flags[1] == 4 && inv_has(1203) != 0;
}

// clang-format off

constexpr Cell T217[] = {
    stage(1, 6), stage(8, 9), stage(35, 39), stage(43, 46), stage(48, 59), S(10359_t),
    stage(7), S(10361_t), P(10362_t), S(10363_t),
        when(skill_below(13, 5)), teach(Lesson{.growth = 13, .exp = 100, .known_list = 13, .known_id = 0}), end(),
    stage(10), S(10366_t),
    stage(11, 15), stage(17, 23), stage(25, 34), S(10368_t),
    stage(16), S(10370_t),
    stage(24), S(10372_t),
    stage(41, 42), run(10374_t, 10379_t, SELF, PLAYER),
        when(skill_below(17, 15)), teach(Lesson{.growth = 17, .exp = 50}), end(),
        teach(Lesson{.known_list = 17, .known_id = 1}),
    stage(47), S(10381_t),
};
static_assert(cells_valid(T217));

constexpr Cell T218[] = {
    stage(1, 2), S(10360_t),
    stage(3, 6), stage(8, 9), stage(11, 15), stage(17, 23), stage(25, 39), stage(43, 46),
        stage(48, 59), S(10365_t),
    stage(7), stage(10), stage(41, 42), S(10364_t),
    stage(16), S(10371_t),
    stage(24), S(10373_t),
    stage(47), S(10383_t),
};
static_assert(cells_valid(T218));

constexpr Cell T219[] = {stage(LOWEST, HIGHEST), S(20387_t)};
static_assert(cells_valid(T219));

constexpr Cell T223[] = {
    stage(1, 3), S(10346_t),
    stage(4), S(10348_t),
    stage(5), S(10350_t),
    stage(6, 14), stage(16, 22), S(10352_t),
    stage(15), S(10354_t),
    stage(23, 26), stage(28, 32), S(10356_t),
    stage(27), S(10357_t),
};
static_assert(cells_valid(T223));

// The visitor and its companions: what they say by the stage group and by how well the player
// knows person 167 (new: 0 or less, close: 50 or more, known: between).
constexpr Speaker VISITOR = person(ImageId(ROUTINE_VISITOR_PORTRAIT));
constexpr Cond NEW = affection_in(PersonId(ROUTINE_VISITOR_PERSON), LOWEST, 0);
constexpr Cond CLOSE = affection_in(PersonId(ROUTINE_VISITOR_PERSON), 50, HIGHEST);
template <size_t N> constexpr auto by_acquaintance(const std::array<Cell, N>& new_cells, Cell close, Cell known) {
    return join(cells(when(NEW)), new_cells, cells(orwhen(CLOSE), close, otherwise(), known, end()));
}
constexpr auto by_acquaintance(Cell new_line, Cell close, Cell known) {
    return by_acquaintance(cells(new_line), close, known);
}
constexpr auto G1 = cells(stage(0, 5));
constexpr auto G2 = cells(stage(6));
constexpr auto G3 = cells(stage(7, 16), stage(18, 26), stage(28, 38), stage(40, HIGHEST));
constexpr auto G4 = cells(stage(17));
constexpr auto G5 = cells(stage(27));
constexpr auto G6 = cells(stage(39));

constexpr auto RUN_X = cells(run(10430_t, 10435_t, VISITOR, PLAYER), B(226_obj, 10436_t),
                             run(10437_t, 10438_t, VISITOR, PLAYER));
constexpr auto RUN_Y = cells(run(10474_t, 10481_t, VISITOR, PLAYER));
constexpr auto MEETING_I = join(
    cells(N(1167_img, 10427_t), choice(10428_t, 10429_t),
          option(0), run(10439_t, 10440_t, VISITOR, PLAYER), N(1167_img, 10495_t),
              run(10441_t, 10445_t, PLAYER, VISITOR), meet(167_person, 50), chivalry(-3),
          option(1)), RUN_X, cells(meet(180_person, 50), chivalry(3), end()));
constexpr auto INVITATION_CHOICE = cells(choice(10472_t, 10473_t), option(0));
constexpr auto INVITATION_REST = join(cells(meet(167_person, 50), option(1)), RUN_X, cells(end()));
constexpr auto MEETING_II = join(cells(run(10469_t, 10471_t, VISITOR, PLAYER)), INVITATION_CHOICE,
                                 RUN_Y, INVITATION_REST);
constexpr auto MEETING_III = join(cells(run(10484_t, 10486_t, VISITOR, PLAYER)), INVITATION_CHOICE,
                                  RUN_Y, INVITATION_REST);
constexpr auto MEETING_IV = join(
    cells(run(10489_t, 10491_t, VISITOR, PLAYER), choice(10492_t, 10493_t),
          option(0), N(1167_img, 10494_t), run(10475_t, 10481_t, PLAYER, VISITOR), meet(167_person, 60),
          option(1)), RUN_X, cells(end()));

constexpr auto T225 = join(
    G1, cells(N(1167_img, 10422_t)),
    G2, by_acquaintance(MEETING_I, N(1167_img, 10452_t), N(1167_img, 10446_t)),
    G3, by_acquaintance(N(1167_img, 10422_t), N(1167_img, 10455_t), N(1167_img, 10446_t)),
    G4, by_acquaintance(MEETING_II, N(1167_img, 10457_t), N(1167_img, 10446_t)),
    G5, by_acquaintance(MEETING_III, N(1167_img, 10461_t), N(1167_img, 10446_t)),
    G6, by_acquaintance(MEETING_IV, N(1167_img, 10457_t), N(1167_img, 10446_t)));
static_assert(cells_valid(T225));

constexpr auto T226 = join(
    G1, cells(S(10424_t)),
    G2, by_acquaintance(S(10425_t), S(10453_t), S(10447_t)),
    G3, by_acquaintance(S(10424_t), S(10456_t), S(10447_t)),
    G4, by_acquaintance(S(10450_t), S(10458_t), S(10447_t)),
    G5, by_acquaintance(S(10482_t), S(10482_t), S(10447_t)),
    G6, by_acquaintance(S(10487_t), S(10487_t), S(10447_t)));
static_assert(cells_valid(T226));

constexpr auto T227 = join(
    G1, cells(S(10423_t)),
    G2, by_acquaintance(S(10426_t), S(10448_t), S(10450_t)),
    G3, by_acquaintance(S(10423_t), S(10449_t), S(10450_t)),
    G4, by_acquaintance(S(10468_t), S(10468_t), S(10450_t)),
    G5, by_acquaintance(S(10483_t), S(10483_t), S(10450_t)),
    G6, by_acquaintance(S(10488_t), S(10488_t), S(10450_t)));
static_assert(cells_valid(T227));

// Resident 123 and the walker quest (story flag 1).
constexpr auto QUEST_DONE = cells(
    when(test(walker_quest_ready)), run(16340_t, 16345_t, PLAYER, SELF), P(16347_t), S(16348_t),
        teach(Lesson{.growth = 23, .exp = 200}), set_flag(1_flag, 5), take(1203_item, 1),
    orwhen(flag_is(1_flag, 3)));
constexpr auto T123 = join(
    cells(stage(0), S(10412_t),
          stage(1, 4), stage(6, 9), stage(11, 13), stage(15, 26), S(10402_t),
          stage(5), S(10403_t),
          stage(10), run(10404_t, 10410_t, SELF, PLAYER),
          stage(14), S(10411_t),
          stage(27)),
    QUEST_DONE, cells(run(16330_t, 16333_t, PLAYER, SELF), run(16337_t, 16339_t, PLAYER, SELF),
                      set_flag(1_flag, 4),
        otherwise(), run(20431_t, 20438_t, SELF, PLAYER), S(20441_t), P(20439_t), S(20442_t),
            P(20440_t), teach(Lesson{.growth = 23, .exp = 100}), to(28),
        end(),
    stage(28)),
    QUEST_DONE, cells(run(16330_t, 16334_t, PLAYER, SELF), set_flag(1_flag, 4),
        otherwise(), S(11512_t),
        end()));
static_assert(cells_valid(T123));

// Resident 232 and the task of item 1844 (story flag 0).
constexpr Cell T232[] = {
    stage(0), stage(47),
        when(var_b_of(232_obj, 0)), run(10513_t, 10527_t, SELF, PLAYER), var_b(1), call(relation_note_met),
        orwhen(flag_is(0_flag, 0)), S(10528_t),
            when(has_item(1844_item)), choice(10552_t, 10553_t),
                option(0), run(10529_t, 10535_t, SELF, PLAYER), call(relation_task_done),
                    take(1844_item, 1), teach(Lesson{.growth = 23, .exp = 200, .known_list = 23, .known_id = 50}),
                    set_flag(0_flag, 1),
                option(1), P(10516_t),
                end(),
            end(),
        orwhen(flag_is(0_flag, 1)), S(10536_t),
        end(),
    stage(1, 15), S(10537_t), call(relation_note_met),
    stage(16, 24), S(10538_t), call(relation_note_met),
    stage(25, 46),
        when(affection_in(300_person, 1, 1)), run(10539_t, 10543_t, SELF, PLAYER), call(relation_set_second),
        orwhen(affection_in(300_person, LOWEST, 0)), S(10538_t), call(relation_set_met),
        orwhen(affection_in(300_person, 2, 49)), S(10544_t),
        otherwise(), S(10536_t),
        end(),
};
static_assert(cells_valid(T232));

// clang-format on

} // namespace talks

constexpr TalkRow talk_row(TurnFrames frames, std::span<const Cell> cells,
                           s32 clear = CLEAR_PLAYER) {
    return TalkRow{.far = ROUTINE_TALK_FAR, .clear = clear, .frames = frames, .cells = cells};
}

constexpr TalkRow TALK_217 = talk_row({-5402, 5402, -5422, 5422}, talks::T217);
constexpr TalkRow TALK_218 = talk_row({-5452, 5452, -5472, 5472}, talks::T218);
constexpr TalkRow TALK_219 = talk_row({-32800, 32800, -32880, 32880}, talks::T219);
constexpr TalkRow TALK_223 = talk_row({-5152, 5152, -5172, 5172}, talks::T223);
// 223 in its kitchen loop (stage 15) does not turn: its talk there has no player line.
constexpr TalkRow TALK_223_BUSY = [] {
    TalkRow r = TALK_223;
    r.turn = TURN_PLAYER_ONLY;
    return r;
}();
constexpr TalkRow TALK_225 = talk_row({-5202, 5202, -5222, 5222}, talks::T225, CLEAR_NONE);
constexpr TalkRow TALK_226 = talk_row({-5252, 5252, -5272, 5272}, talks::T226, CLEAR_NONE);
constexpr TalkRow TALK_227 = talk_row({-5252, 5252, -5272, 5272}, talks::T227, CLEAR_NONE);
constexpr TalkRow TALK_123 = talk_row({-5302, 5302, -5322, 5322}, talks::T123);
constexpr TalkRow TALK_123_WORKSHOP = talk_row({30298, 30300, 30298, 30302}, talks::T123);
constexpr TalkRow TALK_232 = talk_row({-5352, 5352, -5372, 5372}, talks::T232);
constexpr TalkRow TALK_232_HOME = talk_row({33363, 33346, 33362, 33346}, talks::T232);

constexpr s32 R123_WORKSHOP_STAGE = 27;
constexpr s32 R232_HOME_STAGE = 47;
constexpr s32 R232_AWAY_FIRST = 1, R232_AWAY_LAST = 46;
constexpr s32 R223_KITCHEN_STAGE = 15;

// The timer part, then the click part.
void routine_run(const Route& route, const TalkRow& talk) {
    if (script_on(TRIG_TIMER)) route_run(route);
    if (script_on(TRIG_CLICK)) talk_run(talk);
}

// 232's check on every run: away from home (stages 1..46) objects 235 and 236 are off and it is
// drawn as walking.
void r232_away_check() {
    const s32 s = script_stage(script_self());
    if (s < R232_AWAY_FIRST || s > R232_AWAY_LAST) return;
    attr_set(235, ATTR_ACTIVE, 0);
    attr_set(236, ATTR_ACTIVE, 0);
    routes::r232_away_look();
}

struct RoutineOf {
    s32 obj;
    const Route* route;
};
constexpr RoutineOf ROUTINES[] = {
    {217, &ROUTE_217}, {218, &ROUTE_218}, {219, &ROUTE_219}, {223, &ROUTE_223}, {225, &ROUTE_225},
    {226, &ROUTE_226}, {227, &ROUTE_227}, {123, &ROUTE_123}, {232, &ROUTE_232},
};

} // namespace

const Route* routine_route(s32 obj) {
    for (const RoutineOf& r : ROUTINES)
        if (r.obj == obj) return r.route;
    return nullptr;
}

void object_event_0113() {
    routine_run(ROUTE_217, TALK_217);
}

void object_event_0114() {
    routine_run(ROUTE_218, TALK_218);
}

void object_event_0115() {
    routine_run(ROUTE_219, TALK_219);
}

void object_event_0119() {
    const bool busy = script_stage(script_self()) == R223_KITCHEN_STAGE;
    routine_run(ROUTE_223, busy ? TALK_223_BUSY : TALK_223);
}

void object_event_0121() {
    routine_run(ROUTE_225, TALK_225);
}

void object_event_0122() {
    routine_run(ROUTE_226, TALK_226);
}

void object_event_0123() {
    routine_run(ROUTE_227, TALK_227);
}

void object_event_0126() {
    const s32 s = script_stage(script_self());
    routine_run(ROUTE_123, s == 0 || s >= R123_WORKSHOP_STAGE ? TALK_123_WORKSHOP : TALK_123);
}

void object_event_0130() {
    if (script_on(TRIG_TIMER)) r232_away_check();
    const s32 s = script_stage(script_self());
    routine_run(ROUTE_232, s == 0 || s == R232_HOME_STAGE ? TALK_232_HOME : TALK_232);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {113, object_event_0113}, {114, object_event_0114}, {115, object_event_0115},
    {119, object_event_0119}, {121, object_event_0121}, {122, object_event_0122},
    {123, object_event_0123}, {126, object_event_0126}, {130, object_event_0130},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{113, 115}, {119, 119}, {121, 123}, {126, 126}, {130, 130}};
} // namespace

std::span<const ScriptSlot> home_routines_slots() {
    return SLOTS;
}

ScriptRegion home_routines_region() {
    return {.owner = HOME_ROUTINES_OWNER, .slots = home_routines_slots, .complete = COMPLETE};
}
