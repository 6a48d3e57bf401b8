// The party: joining with the full-party choice, leaving, membership, battle line-up and the
// places of dismissed companions.
#include "game/party.h"

#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/dialog.h"
#include "engine/world/object.h"
#include "game/player.h"

const PartyPlace party_places[PARTY_PLACE_COUNT] = {
    {4, 2215, 95, 651, 267, -7430},     {38, 2450, 140, 1468, 240, -9220},
    {50, 2454, 240, 415, 485, 9244},    {51, 2453, 10, 2280, 600, 9200},
    {71, 2203, 94, 309, 547, 37722},    {83, 2451, 80, 467, 706, 8284},
    {84, 2452, 200, 1344, 1245, 8302},  {89, 2262, 39, 325, 271, 8348},
    {118, 2273, 102, 1276, 1869, 6402}, {132, 2278, 183, 195, 251, 38422},
};

namespace {

constexpr s32 PLAYER_PORTRAIT = 1000;
constexpr s32 PORTRAIT_BASE = 1000; // portrait and name text of person n: 1000 + n

// Joins the first free of slots 1..4; when all are taken the newcomer speaks and the player
// picks the member to send away (options 1..4) or, when `decline_text` is present, declines
// (option 5).
s32 join(s32 person, s32 decline_text) {
    s32* party = player_record.party;
    for (s32 i = 1; i < PLAYER_PARTY; ++i) {
        if (party[i] == -1) {
            party[i] = person;
            return 1;
        }
    }
    say(0, PORTRAIT_BASE + person, PARTY_FULL_TEXT);
    const s32 k = choose(3, PLAYER_PORTRAIT, -1, PORTRAIT_BASE + party[1], PORTRAIT_BASE + party[2],
                         PORTRAIT_BASE + party[3], PORTRAIT_BASE + party[4], decline_text);
    if (k < 1 || k > 4) return 0;
    party_drop_place(party[k]);
    party[k] = person;
    return 1;
}

} // namespace

s32 party_join(s32 person) {
    return join(person, PARTY_DECLINE_TEXT);
}

s32 party_join_forced(s32 person) {
    return join(person, -1);
}

void party_leave(s32 person) {
    s32* party = player_record.party;
    for (s32 i = 0; i < PLAYER_PARTY;) {
        if (party[i] != person) {
            ++i;
            continue;
        }
        // Stay on slot i: the member moved into it may be the same person again.
        for (s32 j = i; j < PLAYER_PARTY - 1; ++j) party[j] = party[j + 1];
        party[PLAYER_PARTY - 1] = -1;
        if (person == -1) break; // removing free slots would never end
    }
}

s32 party_has(s32 person) {
    for (s32 id : player_record.party)
        if (id == person) return 1;
    return 0;
}

void party_to_battle(s32 encounter) {
    if (encounter < 0 || encounter >= ENCOUNTER_COUNT) return;
    s32* fighter = encounters[encounter].fighter;
    fighter[0] = ENCOUNTER_PROTAGONIST;
    for (s32 i = 0; i < PLAYER_PARTY; ++i) {
        const s32 id = player_record.party[i];
        if (id < 0 || id >= ROSTER_SIZE) continue;
        if (roster[id].hp > 0) fighter[i + 1] = id;
    }
}

void party_drop_place(s32 person) {
    for (const PartyPlace& p : party_places) {
        if (p.person != person) continue;
        attr_set(p.object, ATTR_ACTIVE, 1);
        attr_set(p.object, ATTR_MAP, p.map);
        attr_set(p.object, ATTR_X, p.x);
        attr_set(p.object, ATTR_Y, p.y);
        obj_set_frame(p.object, p.frame);
        return;
    }
}
