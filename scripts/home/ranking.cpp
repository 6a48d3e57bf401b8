#include "scripts/home/ranking.h"

#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "game/player.h"
#include "game/roster_rules.h"
#include "minigames/frame.h"
#include "scripts/kit.h"

s32 ranking_best_score() {
    s32 best = 0;
    for (s32 list = RANKING_LIST_FIRST; list <= RANKING_LIST_LAST; list++)
        for (const KnownEntry& e : player_record.known[list]) {
            if (e.id < RANKING_ART_ID_MIN) continue;
            // A saved id far past the arts table names no art (art_score gives 0 for it).
            const s64 art = 50ll * list + e.id - 50;
            const s32 score = art < ARTS_COUNT ? art_score(s32(art), e.level) : 0;
            if (score > best) best = score;
        }
    return best;
}

s64 ranking_fighter_score(s32 person) {
    if (person < 0 || person >= ROSTER_SIZE) return 0;
    const RosterEntry& r = roster[person];
    const s64 power = r.art >= 0 && r.art < ARTS_COUNT ? arts_table[r.art].power : 0;
    return power * r.art_level + s64(RANKING_RANK_WEIGHT) * r.rank;
}

s32 ranking_place(s32 best) {
    s32 place = 1;
    for (s32 person = 0; person < ROSTER_SIZE; person++)
        if (ranking_fighter_score(person) > best) place++;
    return place;
}

void show_ranking() {
    const s32 place = ranking_place(ranking_best_score());
    draw_image(RANKING_PANEL_X, RANKING_PANEL_Y, RANKING_PANEL_IMAGE, 0);
    print_text_seen(RANKING_LABEL_X, RANKING_LABEL_Y, RANKING_LABEL_TEXT);
    text_colour(25, 5, 0);
    print_number_seen(RANKING_NUMBER_X, RANKING_NUMBER_Y, place, RANKING_NUMBER_DIGITS);
    FrameWait wait;
    wait.x = RANKING_MARKER_X;
    wait.y = RANKING_MARKER_Y;
    frame_click_wait(wait);
    modal_return();
}
