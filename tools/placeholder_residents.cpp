// Placeholder figures for the frames that the residents, teachers and walkers of the home region
// show on their timers and in their talks (idle loops, turns, walking steps, arrival frames), so
// that on the placeholder archive such a figure keeps its size and can still be clicked after its
// first frame change. The population only names each figure's first frame.
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_world.h"

#include "engine/gisk.h"

namespace {

// Image ids first..last in steps of `step`.
struct FrameRun {
    s32 first, last, step;
};

// Our own content: the frames the scripts of these residents show (mirrored frames are the same
// images). Walking figures show the frames of their 50-image block (first + 2 .. first + 37).
constexpr FrameRun RESIDENT_FRAMES[] = {
    // Mini-game gates and ranking tellers
    {21300, 21311, 1}, // the ranking tellers idling and turned
    {46200, 46227, 1}, // the fishing contest host idling

    // City residents
    {44700, 44724, 1}, // the pair's member 1061 at the city's west edge
    {44900, 45144, 1}, // the three hidden figures of the city
    {45880, 45898, 1}, // the figures of map 230
    {45970, 45986, 1},
    {46070, 46133, 1}, // the hidden 1087 and the three of map 230
    {46230, 46354, 1}, // the residents of map 230
    {46430, 46618, 1}, // the group of map 213
    {46660, 46698, 1}, // the resident with the remark
    {46800, 46884, 1}, // 1100 and the pair 1104, 1105
    {46900, 46986, 1}, // 1106 and 1107
    {47000, 47097, 1}, // 1108, 1109 and 1110
    {47200, 47238, 1}, // the quiz-giver
    {39300, 39349, 1}, // the walker 1064
    {39530, 39544, 1}, // 1116 of map 231
    {41740, 41796, 1}, // 1119 of map 231
    {41828, 41856, 1}, // the pair 1117, 1118
    {41900, 41928, 1},

    // The contest hall
    {30636, 30653, 1}, // the contest master of map 16 idling and turned
    {30654, 30684, 2}, // the dice partner idling
    {5900, 5949, 1},   // the dice partner walking out
    {33932, 33980, 2}, // the archery teacher waiting on map 41
    {30900, 30970, 2}, // the hall resident idling and turned
    // Town A northern chase and duel
    {37900, 37935, 1}, // person 121's long animation and the fallen object
    {38002, 38022, 1}, // person 121 on map 190
    {38102, 38122, 1}, // person 122
    {39900, 39980, 1}, // the watcher 411 idling and turned
    {21105, 21107, 1}, // the watcher 412 turned
    {37500, 37538, 1}, // person 120 idling and turned
    {21113, 21115, 1}, // 422 of the pair turned
    {21240, 21244, 1}, // the seller 405
    {21900, 21902, 1}, // 423 of the pair turned
    {39236, 39236, 1}, // the figure at the passage of map 121
    // Shopkeepers of the home region
    {2051, 2073, 1},   // the shop-9 keeper of map 10
    {2074, 2087, 1},   // the shop-7 keeper of map 10
    {2023, 2045, 1},   // the shop-8 keeper of map 10
    {2559, 2599, 1},   // the shop-0 keeper of map 19
    {30214, 30268, 2}, // the smith of map 14 at its anvil
    {30356, 30358, 2}, // the smith turned to the player
    {20007, 20007, 1}, // the smith's glow
    {33364, 33374, 1}, // the shop-1 keeper of map 18 and its turns
    {31700, 31768, 2}, // the shop-2 keeper of map 11 and its turns
    {31024, 31066, 2}, // the shop-3 keeper of map 15 and its turn
    {30972, 31022, 2}, // the shop-5 keeper of map 13 and its turns

    // Town A residents
    {21250, 21298, 1}, // the resident of map 125 idling and turned
    {21330, 21336, 1}, // the gate guards of map 102 and their refusal
    {21547, 21592, 1}, // the resident of map 102 at (1788, 1413)
    {21622, 21635, 1}, // the resident of map 119
    {21764, 21793, 1}, // the two of map 114
    {21800, 21828, 1}, // the walker of map 124
    {21950, 21993, 1}, // two residents of map 102
    {22030, 22094, 1}, // the resident of map 115 and the pairs of maps 120 and 102
    {22270, 22358, 1}, // the pair of map 113 and two residents of map 102
    {22476, 22494, 1}, // a resident of map 102 at (1369, 917)
    {37330, 37348, 1}, // the resident of map 102 with the gift
    {38450, 38489, 1}, // the figures of maps 103, 106 and 126
    {41320, 41388, 1}, // the search for person 89
    {52920, 52931, 1}, // the figure of map 102 at (3250, 1332)

    // The couple of map 10 and the guest house
    {2600, 2644, 2}, // person 180 of map 10
    {2744, 2788, 2}, // person 179 of map 10
    {2234, 2250, 1}, // the room keeper of map 24
    {2260, 2271, 1}, // a guest of map 24
    {2285, 2285, 1}, // the room keeper turned
    {2291, 2297, 1}, // the guests turned
    {2299, 2299, 1}, // a guest turned

    {2498, 2532, 1}, // the guest at the table and the cook of map 22
    // Shops of the two towns (the keepers of maps 105 and 108, 1019, 1025 and the walking keeper
    // 1029 show frames that other blocks already supply)
    {37240, 37292, 1}, // the shop-35 keeper of map 102 idling and turned
    {43140, 43190, 1}, // keeper 1011 idling and turned
    {41800, 41826, 1}, // keeper 1012 idling and turned
    {41200, 41210, 1}, // keeper 1020 idling and turned
    {44400, 44414, 1}, // keeper 1030 idling
    {44600, 44610, 1}, // keeper 1031 idling and turned
    {39400, 39458, 1}, // keeper 1032 idling and turned
    {47150, 47174, 1}, // keeper 1034 idling
    {44680, 44687, 1}, // keeper 1035 idling
    {44872, 44882, 1}, // keeper 1037 (mirrored) idling
    {44500, 44513, 1}, // keeper 1038 idling
    {44430, 44448, 1}, // keeper 1057 idling and turned

    // Eastern map 10 and map 51
    {32080, 32186, 2}, // the group of four of map 10: idle loops, turns and their quarrel
    {32200, 32244, 2}, // the third of the group
    {32246, 32292, 2}, // the resident of map 10 near the group
    {32304, 32410, 2}, // the three residents of map 51
    {32450, 32488, 2}, // resident 202 of map 10
    {32500, 32530, 2}, // resident 203 of map 10
    {32600, 32658, 2}, // the pair of map 10
    {32660, 32716, 2}, // the crowd and the two who stay
    {32718, 32762, 2}, // resident 216 of map 10
    {4900, 5149, 1},   // the crowd walking off
    {6000, 6049, 1},   // the resident of map 10 near the group turning
    // Town A day director
    {38080, 38086, 1}, // the player's bow at the arrival
    {38150, 38174, 1}, // the guest's bow at the arrival
    {38200, 38249, 1}, // person 87 walking and standing
    {38302, 38322, 1}, // the guest standing and walking
    {38350, 38370, 1}, // the two of the 11:00 scene and the player among them
    {38454, 38471, 1}, // the hosts at home
    {38490, 38492, 1}, // the guest in the yard
    {38500, 38534, 1}, // the crowd of the presentation
    {64620, 64622, 1}, // the figure of the 11:00 scene
    {10578, 10582, 1}, // its three frames before and after the fight
    // Stations and beds
    {34100, 34124, 2}, // the player at the aptitude spot of map 51
    {32300, 32300, 1}, // person 14 of map 51 turned toward the player
    {32342, 32342, 1},
    // City item errands
    {46360, 46388, 1}, // 1065 idling and turned
    {47100, 47140, 1}, // 1066 idling and turned
    {39800, 39849, 1}, // 1066 walking out of the city
    {43350, 43380, 1}, // 1111 of map 231
    {43400, 43424, 1}, // 1112 of map 231
    {39500, 39628, 1}, // 1113, 1114 and 1115 of map 231
    {44124, 44180, 1}, // 1120
    {39750, 39796, 1}, // 1137 at its two stages
    {46300, 46328, 1}, // 1139
    {46400, 46428, 1}, // 1138 at its stages
    {46760, 46788, 1}, // 1140
    // Paid practice and the dining room
    {31244, 31316, 2}, // the waiter of map 22 idling
    {31100, 31110, 2}, // the waiter setting out and clearing the dishes
    {4550, 4699, 1},   // the waiter walking and turning
    {31114, 31152, 1}, // the food-shop keeper of map 21
    {31450, 31510, 1}, // the server of map 21 idling and serving
    {4700, 4849, 1},   // the server walking and turning
    {4050, 4099, 1},   // object 4 walking and turning at the practice spot
    {31577, 31599, 2}, // object 4 showing the exercise
    {2790, 2830, 1},   // object 4 stepping up and back
    {31643, 31683, 1}, // object 4 stepping away and back
    {31090, 31090, 1}, // the player seated in the dining room, looking up
    {31536, 31536, 1}, // the player seated at the served table, looking up
    // City residents, picture trail and walkers
    {45650, 45753, 1}, // the gang of map 208
    {43002, 43050, 1}, // the residents of map 200 idling and turned
    {43200, 43232, 1}, // the seller of item 2375
    {43300, 43348, 1}, // the fortune teller
    {43500, 43557, 1},
    {43589, 43594, 1}, // the pair of map 209
    {40569, 40585, 1},
    {43700, 43742, 1},
    {43800, 43859, 1}, // the pair of map 208
    {41278, 41316, 1}, // the idler of map 200
    {44000, 44033, 1}, // the pair that invites to the fishing contest
    {43900, 43935, 1}, // the pair of map 214
    {39153, 39187, 1},
    {40740, 40780, 1}, // the resident of map 212
    {44450, 44489, 1}, // the pair of map 200
    {39350, 39362, 1},
    {42940, 42946, 1}, // the city gate's guards and their refusal
    {41602, 41628, 1}, // the walker turned
    {45800, 45868, 1}, // the street fight
    {45900, 45936, 1},
    {45200, 45349, 1}, // the companions walking and standing
    // Residents of map 16 and the resident pairs
    {30478, 30898, 1}, // the five of map 16: their phases and turns
    {31156, 31243, 1}, // the pair of map 10
    {31322, 31392, 1}, // the pair of map 12 who tell the hour
    {31400, 31448, 2}, // the resident of map 33
    {30440, 30476, 2}, // the gossip of map 10
    {4202, 4239, 1},   // object 6 walking and standing
    {33004, 33034, 2}, // object 6 in the morning
    {4502, 4539, 1},   // the pacer of map 17 walking and standing
    {30108, 30142, 2}, // the pacer at its two ends
    {33300, 33344, 2}, // the teacher of list 12
    {32568, 32594, 2}, // the resident of map 40
    {2924, 2964, 2},   // the guest of map 28
    {30184, 30212, 2}, // the idler of map 10, first segment
    {30304, 30354, 2}, // its second segment and its turns
    {30362, 30393, 1}, // the bench sitter of map 10
    // City search errand
    {45350, 45424, 1}, // the giver and its family
    {45500, 45565, 1}, // the three sought
    {45600, 45649, 1}, // the companion at the finds, standing and walking
    {39100, 39114, 1}, // the person of map 213
    // Teachers of growth 23
    {21340, 21362, 1}, // the teacher of map 102 at its training spot, idling
    {42600, 42649, 1}, // the teachers of maps 102, 115 and 208 walking
    {5300, 5349, 1},   // the teacher of map 102 by the prop 456, walking
    // City scenes and the cave exit
    {45222, 45222, 1}, // the companions standing at the group meeting
    {45322, 45322, 1},
    {44630, 44630, 1}, // the person met at the cave exit
    {44660, 44660, 1}, // person 46 outside the caves
    {1900, 1949, 1},   // person 163 walking and standing
    {46700, 46700, 1}, // the ferryman
    // Residents of maps 10 and 40
    {32708, 32716, 2}, // the watcher of map 10 and its remark loop
    {32882, 32892, 1}, // the bystander and the performer's two neighbours
    {33100, 33184, 2}, // the performer's act and its turns
    {33278, 33284, 1}, // the pair of map 10
    {33896, 33898, 1}, // the sitter of map 10
    {34126, 34136, 1}, // the master of map 40
    {34137, 34195, 1}, // the first pupil: idle, turn and demonstration
    {34197, 34255, 1}, // the second pupil
    {4000, 4049, 1},   // the companion walking
    // City finale and director
    {39630, 39650, 2}, // the performer of map 227
    // Paid practice of the towns
    {21200, 21239, 1}, // the practice teachers of maps 120 and 215 idling
    {2010, 2010, 1},   // the player's last practice pose
    // City trials
    {39700, 39749, 1}, // the guide walking (its standing and turned frames are in the archive)
    {46642, 46659, 1}, // person 234's two gestures and its pose after them
    // Teachers of the interiors
    {31770, 31826, 1}, // the teacher of map 42: idle and turns
    {31828, 31837, 1}, // the dish teacher tasting
    {31851, 31893, 1}, // the fee teacher of map 40
    {31900, 31950, 1}, // its companion
    {31952, 32008, 1}, // the walking teacher standing and turning
    {32010, 32028, 1}, // the board teacher at work
    {32034, 32078, 1}, // the dish teacher
    {32412, 32449, 1}, // the teacher of map 36
    {32532, 32566, 1}, // the riddle teacher of map 40
    {33982, 34034, 1}, // the walking teacher at the end of its walk
    {4850, 4899, 1},   // the board teacher walking
    {5950, 5999, 1},   // the walking teacher walking
    // Crossing of maps 130-139
    {21012, 21012, 1}, // the person of zone 358 turned
    {21014, 21020, 1}, // the player in the light and the light itself
    {21021, 21044, 1}, // the gate of the passage opening
    {21047, 21072, 1}, // the player's long animation at zone 358
    {21079, 21079, 1}, // person 193 at the final
    {21082, 21082, 1}, // the barrier of map 130 opened
    {21084, 21084, 1}, // the gate of map 138 opened
    {21089, 21091, 2}, // the final pair beaten
    {4002, 4002, 1},   // the companion turned
    {4022, 4022, 1},
    {1902, 1902, 1}, // person 163 standing and walking
    {1922, 1922, 1},
    // Caves
    {39002, 39081, 1}, // the sentries of maps 99 and 98: their runs
    {44726, 44770, 1},
    // Camps of maps 61-66
    {6222, 6222, 1},   // a man of the camps, turned
    {6250, 6290, 10},  // the crowd standing still; person 200 beaten
    {6322, 6322, 1},   // person 112, turned
    {6402, 6402, 1},   // person 118
    {6422, 6422, 1},   // person 118, turned
    {39822, 39822, 1}, // person 200, turned
    {10572, 10576, 2}, // person 233 arriving
    {10210, 10228, 2}, // the fall on map 62
    {23738, 23747, 1}, // the effect of the finale
    {52532, 52568, 1}, // the cheering crowd
    {52653, 52661, 1},
    {1902, 1902, 1}, // person 163 visiting
    // Town A quest of the four gifts
    {38458, 38471, 1}, // the pair that asks for the gifts, idling in its house
    {21500, 21546, 1}, // the two who send the player on: idle and turns
    {21700, 21761, 1}, // the two who trade item 2382
    {22000, 22029, 1}, // the two gossips of map 116
    {21121, 21190, 1}, // the two of map 113 (drawn mirrored)
    {22440, 22474, 1}, // the finder of the last gift
    {21692, 21696, 1}, // the collector of map 106 turned
    {37150, 37196, 1}, // person 118
    {37200, 37236, 1}, // its neighbour
    {37350, 37380, 1}, // the trader of map 107
    {38422, 38422, 1}, // person 132 stepping out
};

// Our own content: pictures that scripts draw over the field or the screen, by size (ids
// first..last in steps of 1).
struct PictureRun {
    s32 first, last, w, h;
};
constexpr PictureRun SCRIPT_PICTURES[] = {
    // The city trail's picture, drawn at (250, 170) over the field.
    {42501, 42501, 140, 140},
    // Caves: the picture room's question and pictures, at (200, -20) and (200, 0)
    {63300, 63315, 240, 240},
    // City trials: the hover mark on a grid point
    {60051, 60051, 11, 11},
    // The placement puzzle's board and pieces (39204-39208) and the trials' boards and answer
    // pictures (39215-39222) share their ids with frames of the battle arts: they keep the battle's
    // stand-ins, which the fighters' animations need anchored on their bottom row.
};

} // namespace

void image_put_placeholder_residents(ArcBuilder& builder) {
    for (const FrameRun& run : RESIDENT_FRAMES)
        for (s32 image = run.first; image <= run.last; image += run.step) {
            const u32 id = u32(ARC_IMAGE_BASE + image);
            if (builder.entries().count(id) || builder.aliases().count(id)) continue;
            builder.put(id, placeholder_world_sprite(image, false));
        }
    for (const PictureRun& run : SCRIPT_PICTURES)
        for (s32 image = run.first; image <= run.last; ++image) {
            const u32 id = u32(ARC_IMAGE_BASE + image);
            if (builder.entries().count(id) || builder.aliases().count(id)) continue;
            builder.put(id, placeholder_box_sprite(image, run.w, run.h));
        }
}
