// The roster (see roster.h). The literal records are in data/roster_content.cpp.
#include "data/roster.h"

#include "engine/math.h"

RosterEntry roster[ROSTER_SIZE];

namespace {

struct CharacterValue {
    s32 character;
    s32 value;
};

// Hub portraits: character, n (picture 62000 + n).
constexpr CharacterValue HUB_PORTRAITS[] = {
    {200, 420}, {47, 410},  {118, 405}, {16, 345}, {29, 330}, {167, 320}, {30, 315},
    {87, 300},  {121, 295}, {75, 275},  {39, 270}, {12, 253}, {81, 245},  {55, 235},
    {146, 215}, {193, 210}, {89, 155},  {71, 145}, {83, 135}, {40, 125},  {78, 110},
    {11, 105},  {33, 100},  {132, 90},  {180, 85},
};

// Resistance to poisoning; everybody else has 0.
constexpr CharacterValue RESISTANCES[] = {
    {174, 40}, {175, 50}, {267, 60}, {268, 60}, {269, 60}, {270, 60},
    {271, 60}, {272, 60}, {273, 60}, {274, 60}, {275, 60}, {276, 60},
};

// The one bag that starts filled: character 39 carries item 1263 x 3 in pair 0.
constexpr s32 BAG_CHARACTER = 39;
constexpr RosterBagSlot BAG_CONTENT = {1263, 3};

// Fixed hit points (hp and hp_max), stored after the rolls in this order; they may exceed the
// roll's cap.
constexpr CharacterValue FIXED_HIT_POINTS[] = {
    {205, 1400}, {231, 1600}, {232, 2000}, {135, 1400}, {139, 1800},
};

template <size_t N> constexpr bool characters_fit(const CharacterValue (&rows)[N]) {
    for (const CharacterValue& row : rows)
        if (row.character < 0 || row.character >= ROSTER_SIZE) return false;
    return true;
}
static_assert(characters_fit(HUB_PORTRAITS));
static_assert(characters_fit(RESISTANCES));
static_assert(characters_fit(FIXED_HIT_POINTS));

constexpr RosterEntry DEFAULT_ENTRY = {
    .rank = 1,
    .hp = 200,
    .hp_max = 200,
    .mp_max = 100,
    .mp = 100,
    .attack = 20,
    .defence = 20,
    .speed = 20,
    .presence = 20,
    .art = ROSTER_DEFAULT_ART,
    .art_level = 20,
    .resistance = 0,
    .poison = 0,
    .bag = {{ROSTER_NO_ITEM, 0},
            {ROSTER_NO_ITEM, 0},
            {ROSTER_NO_ITEM, 0},
            {ROSTER_NO_ITEM, 0},
            {ROSTER_NO_ITEM, 0}},
    .hub_portrait = ROSTER_NO_PORTRAIT,
};

} // namespace

void init_roster() {
    for (RosterEntry& e : roster) e = DEFAULT_ENTRY;

    for (const CharacterValue& p : HUB_PORTRAITS) roster[p.character].hub_portrait = p.value;

    for (const RosterLiteral& lit : roster_literals) {
        RosterEntry& e = roster[lit.character];
        e.rank = lit.rank;
        e.attack = lit.attack;
        e.defence = lit.defence;
        e.speed = lit.speed;
        e.presence = lit.presence;
        e.mp_max = lit.mp_max;
        e.mp = lit.mp;
        e.art = lit.art;
        e.art_level = lit.art_level;
    }
    for (const CharacterValue& r : RESISTANCES) roster[r.character].resistance = r.value;
    roster[BAG_CHARACTER].bag[0] = BAG_CONTENT;

    // One draw per entry, in ascending order: rank x (70..99) + 200, capped.
    for (RosterEntry& e : roster) {
        s32 hp = e.rank * (70 + rand_below(30)) + 200;
        if (hp >= ROSTER_ROLL_CAP) hp = ROSTER_ROLL_CAP;
        e.hp_max = hp;
        e.hp = hp;
    }

    for (const CharacterValue& f : FIXED_HIT_POINTS) {
        roster[f.character].hp_max = f.value;
        roster[f.character].hp = f.value;
    }

    // A further rule would give every character of rank 7 or more, with chance 1 in 2, one item
    // 1253 in bag pair 0. It is applied to nobody: it would draw numbers the new game does not
    // otherwise draw and would replace character 39's own bag pair half of the time, and the
    // scripts that want fighters to carry item 1253 give it to them before their fights.
}
