// The player record and the new-game start values.
#include "game/player.h"

#include "engine/kanji_print.h"
#include "engine/math.h"
#include "game/growth.h"
#include "game/info_screen.h"

PlayerRecord player_record;
s32 battle_active = 0;

namespace {

template <typename T, size_t N> void fill(T (&a)[N], const T& v) {
    for (T& e : a) e = v;
}

} // namespace

void init_player() {
    text_reveal_limit = 0;
    info_save_request = 0;
    info_load_slot = 0;
    battle_active = 0;

    PlayerRecord& p = player_record;
    p.area = 1;
    p.sick_turns = 0;
    p.name_id = 0;
    fill(p.titles, -1);
    p.titles[0] = 0;
    p.paid_strike_count = 0;
    p.money = rand_below(100); // the only draw
    p.fame = 0;
    p.chivalry = 50;
    p.fatigue = 0;
    p.fullness = 0;
    p.sleep_need = 0;
    p.last_minute = 0;
    p.stamina = 1000;
    p.condition = 2;
    p.mood = 2;
    p.mood_turns = 0;
    p.hp = 100;
    p.hp_max = 100;
    p.mp = 50;
    p.mp_max = 50;
    p.spare_a = 0;
    fill(p.attr, 0);
    p.social_aptitude = 50;
    p.constitution = 40;
    p.art_variety = 0;
    p.combat_level = 0;
    p.clock_rate_copy = 0;
    fill(p.attr_exp, 0);
    p.art_points = 0;
    p.combat_exp = 0;
    p.turn_done = 0;
    fill(p.party, -1);
    fill(p.equip, -1);
    fill(p.item_tally, 0);
    fill(p.art_use_count, 0);
    fill(p.inventory, InventoryEntry{-1, 0});
    fill(p.skill, 0);
    fill(p.skill_exp, 0);
    fill(p.spare_list, -1);
    fill(p.album, -1);
    fill(p.affection, -1);
    fill(p.acquaintances, -1);
    for (auto& list : p.known) fill(list, KnownEntry{-1, 0, 0});
    fill(p.story_flags, 0);
    p.music_id = -1;
}

void init_player_old() {
    // Our own content: a rich start for trying the later game, never used by the game itself.
    init_player();
    PlayerRecord& p = player_record;
    p.money = 500;
    const InventoryEntry items[] = {{1253, 5}, {1274, 1}, {1063, 2}, {1401, 1}, {1472, 1}};
    for (size_t i = 0; i < sizeof items / sizeof items[0]; ++i) {
        p.inventory[i] = items[i];
        p.item_tally[items[i].item] = 1;
    }
    p.equip[0] = 1401 - EQUIP_BASE[0];
    p.equip[1] = 1472 - EQUIP_BASE[1];
    fill(p.skill, 80);
    const s32 attrs[PLAYER_ATTRS] = {50, 60, 70, 80, 90, 100};
    for (int i = 0; i < PLAYER_ATTRS; ++i) p.attr[i] = attrs[i];
    for (int i = 0; i < 10; ++i) {
        p.acquaintances[i] = 200 + i;
        p.affection[200 + i] = 50;
        p.album[i] = i;
    }
    p.story_flags[0] = 1;
    hp_max_derive();
    p.hp = p.hp_max;
}
