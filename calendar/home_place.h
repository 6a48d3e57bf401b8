// The places of the calendar hub and the events of the home place (place 0 of place set 0).
//
// Visiting place p of set s runs one open entry of `place_events`[s][p]. The events of a place form
// a chain: a story or a course that advances one step per visit. Most chains follow the stage
// convention: step k of a chain stands in entry k of its place, its handler is a one-line stub
// that calls the place's stage function with the constant k, and the stage function shows the
// step and switches the entries itself, usually closing entry k and opening entry k + 1 when the
// step succeeds (`place_chain_advance`).
//
// A place is reached only through its button on the place bar (`hub_third_avail`[place][set]);
// `PLACE_BUTTON_SWITCHES` lists every store into those buttons and who makes it.
//
// The home place's own events: slot 008 (the picture pair test, which opens the board place
// 1.3), slot 077 (the walk to the teacher of place 1.1), slot 009 (the visit that opens the pool
// event of place 1.2), slot 125 (the talk that schedules the turn-95 event) and slot 160 (the
// repeating sparring).
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

constexpr s32 HOME_SET = 0, HOME_PLACE = 0;
constexpr s32 HOME_BACKDROP = 60402;

// The stage convention: closes entry `step` of place set.place and opens entry step + 1.
void place_chain_advance(s32 set, s32 place, s32 step);

// ---- Place buttons -----------------------------------------------------------------------------

// Who stores into a place button.
enum class PlaceSwitchBy : s32 {
    Handler, // the handlers of slots first..last (some only under a condition of their own)
    Routine, // a routine that the handlers of slots first..last call
    Hub,     // the hub itself at the start of a turn (first = last = -1)
};

// One store into `hub_third_avail`[button][set]: `on` 1 opens the place, 0 closes it.
struct PlaceButtonSwitch {
    s32 button, set;
    s32 on;
    s32 first, last; // the slots that store it
    PlaceSwitchBy by = PlaceSwitchBy::Handler;
};

// Every store into the place buttons that the calendar makes. At a new game every button is off
// except the back buttons [7][0] and [7][1].
constexpr PlaceButtonSwitch PLACE_BUTTON_SWITCHES[] = {
    {0, 0, 1, 17, 17},
    {1, 0, 1, 17, 17},
    {1, 0, 1, 158, 158},
    {1, 0, 0, 44, 44},
    {2, 0, 1, 11, 11},
    {2, 0, 1, 17, 17},
    {2, 0, 1, 154, 154},
    {2, 0, 1, 157, 157},
    {2, 0, 0, 192, 192},
    {2, 0, 0, 194, 194},
    {3, 0, 1, 2, 2},
    {3, 0, 1, 17, 17},
    {4, 0, 1, 143, 143},
    {4, 0, 1, -1, -1, PlaceSwitchBy::Hub},     // at a turn's start when story_flag_15 is 1
    {0, 1, 1, 43, 43, PlaceSwitchBy::Routine}, // the music test of slot 043
    {0, 1, 1, 75, 75},
    {0, 1, 0, 102, 111}, // a wrong answer with affection 148 at 40 or less
    {0, 1, 0, 112, 112},
    {1, 1, 1, 77, 77},
    {1, 1, 0, 96, 96}, // the final exam passed at skill 11 of 100
    {2, 1, 1, 76, 76},
    {2, 1, 1, 190, 190}, // when the button is off
    {2, 1, 0, 60, 60},   // at skill 12 of 100
    {3, 1, 1, 8, 8},
    {3, 1, 1, 190, 190}, // when the button is off
    {3, 1, 1, 123, 123}, // when place 1.3 entry 10 is open
    {3, 1, 0, 53, 53},   // the last board step
    {3, 1, 0, 54, 55},   // the final challenge won
    {4, 1, 1, 33, 33},
    {4, 1, 0, 61, 65, PlaceSwitchBy::Routine}, // the gate of place 1.4
    {4, 1, 0, 66, 66},
    {4, 1, 0, 69, 73, PlaceSwitchBy::Routine}, // the gate of place 1.4
    {6, 1, 1, 98, 98},
    {6, 1, 0, 101, 101}, // the final test won
};

// ---- The home place's handlers -----------------------------------------------------------------

// Slot 008, place 0.0 entry 0: the picture pair test; either way place 1.3's button opens.
constexpr s32 PAIR_TEST_PERSON_A = 40, PAIR_TEST_PERSON_B = 70;
constexpr s32 PAIR_TEST_FRIEND = 205; // whose affection the test moves
// Slot 160, place 0.0 entry 6: the sparring.
constexpr s32 SPARRING_ENCOUNTER = 92;
constexpr s32 SPARRING_FRIEND = 205;
constexpr s32 SPARRING_DRAWS = 8;        // r 0..3 a skill test, 4..7 a bout
constexpr s32 SPARRING_SKILL_FIRST = 10; // r 0..3 test skill 10 + r against turn / 2
constexpr s32 SPARRING_HP_TOP = 1000, SPARRING_HP_PER_TURN = 3;
constexpr s32 SPARRING_TEACH_AFFECTION = 80, SPARRING_TEACH_TURN = 80;
constexpr s32 SPARRING_FLAG_FIRST = 79, SPARRING_FLAG_SECOND = 78; // story flags of the two lists
constexpr s32 SPARRING_TAUGHT = 4; // the flag's value once its list taught an art

// The arts taught by the sparring (known list, entry): the first list by story_flag_79, the
// second by k (story_flag_78, or a draw of 0..2 when that is 3).
struct SparringArt {
    s32 list, id;
};
constexpr SparringArt SPARRING_FIRST_ARTS[4] = {{2, 52}, {2, 58}, {3, 51}, {4, 52}};
constexpr SparringArt SPARRING_SECOND_ARTS[3] = {{5, 52}, {6, 52}, {7, 51}};

// 1 when the sparring of `r` (0..7) counts as passed at the current turn; for r 4..7 it reads
// person 205's hit points after the bout.
s32 sparring_passed(s32 r);

void calendar_event_008();
void calendar_event_009();
void calendar_event_077();
void calendar_event_125();
void calendar_event_160();

constexpr const char* HOME_PLACE_OWNER = "calendar home place";
std::span<const CalendarSlot> home_place_slots();
void register_home_place();
