#include "scripts/episode_kit.h"

#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "game/player.h"
#include "platform/platform.h"
#include "scripts/script_seams.h"

#include <algorithm>
#include <array>

namespace {

s32 clamp_fighter(s32 i) {
    return std::clamp(i, 0, LINEUP_FIGHTERS - 1);
}

s32 clamp_party(s32 i) {
    return std::clamp(i, 0, PLAYER_PARTY - 1);
}

bool roster_alive(s32 id) {
    return id >= 0 && id < ROSTER_SIZE && roster[id].hp > 0;
}

void set_fighter(EncounterRecord& e, s32 index, s32 id, s32 col, s32 row) {
    const s32 i = clamp_fighter(index);
    e.fighter[i] = id;
    e.col[i] = col;
    e.row[i] = row;
}

void party_into_free(EncounterRecord& e, s32 first, s32 last) {
    const s32 lo = clamp_fighter(first);
    const s32 hi = clamp_fighter(last);
    s32 free = lo;
    for (const s32 member : player_record.party) {
        if (member <= 0) continue;
        while (free <= hi && e.fighter[free] != -1) ++free;
        if (free > hi) return;
        e.fighter[free++] = member;
    }
}

void lineup_apply(EncounterRecord& e, const LineupRow& r) {
    switch (r.op) {
    case LINEUP_CLEAR:
        for (s32 i = clamp_fighter(r.a); i <= clamp_fighter(r.b); ++i)
            set_fighter(e, i, -1, -1, -1);
        break;
    case LINEUP_SET:
        set_fighter(e, r.a, r.b, r.c, r.d);
        break;
    case LINEUP_SET_ALIVE:
        if (roster_alive(r.b)) set_fighter(e, r.a, r.b, r.c, r.d);
        break;
    case LINEUP_PLACE:
        e.col[clamp_fighter(r.a)] = r.c;
        e.row[clamp_fighter(r.a)] = r.d;
        break;
    case LINEUP_PARTY:
        for (s32 p = clamp_party(r.a); p <= clamp_party(r.b); ++p)
            if (player_record.party[p] > 0) e.fighter[p + 1] = player_record.party[p];
        break;
    case LINEUP_PARTY_FREE:
        party_into_free(e, r.a, r.b);
        break;
    case LINEUP_BACKGROUND:
        e.background = r.a;
        break;
    default:
        break;
    }
}

} // namespace

// ---- Encounter line-ups ----------------------------------------------------------------------

void lineup_write(s32 encounter, std::span<const LineupRow> rows) {
    if (encounter < 0 || encounter >= ENCOUNTER_COUNT) return;
    for (const LineupRow& r : rows) lineup_apply(encounters[encounter], r);
}

// ---- Distinct draws --------------------------------------------------------------------------

s32 draw_distinct(s32 count, const std::function<bool(s32)>& eligible, std::span<s32> out) {
    std::array<s32, DRAW_CANDIDATES_MAX> pool{};
    s32 n = 0;
    const s32 limit = std::clamp(count, 0, DRAW_CANDIDATES_MAX);
    for (s32 i = 0; i < limit; ++i)
        if (eligible(i)) pool[size_t(n++)] = i;
    const s32 want = s32(std::min(out.size(), size_t(DRAW_CANDIDATES_MAX)));
    if (n <= want) {
        std::copy_n(pool.begin(), n, out.begin());
        return n;
    }
    for (s32 j = 0; j < want; ++j) {
        // A seam that answers out of range is held to the remaining ones.
        const s32 r = std::clamp(script_rand(n - j), 0, n - j - 1);
        std::swap(pool[size_t(j)], pool[size_t(j + r)]);
        out[size_t(j)] = pool[size_t(j)];
    }
    return want;
}

// ---- Waiting for a button --------------------------------------------------------------------

void wait_button() {
    screen_present();
    mouse_buttons = 0;
    while (mouse_buttons == 0) screen_present();
    modal_return();
    click_x = 0;
    click_y = 0;
}

// ---- Stopwatch frames and the music ----------------------------------------------------------

bool music_still_playing(s32 piece) {
    return mssw_music_id == piece && mssw_music_playing() == 1;
}

s32 stopwatch_frames(const FrameRun& run) {
    const s32 ms = std::max(run.ms, 0);
    const s32 rounds = run.piece >= 0 ? std::max(run.rounds, 1) : 1;
    s32 played = 0;
    while (played < rounds) {
        if (played > 0 && !music_still_playing(run.piece)) break;
        for (s32 i = 0; i < run.count; ++i) {
            timer0_start();
            const s32 frame = run.first + run.step * i;
            while (timer0_elapsed() < u32(ms)) {
            }
            obj_show_frame(run.obj, frame);
        }
        ++played;
    }
    return played;
}

s32 music_loop(s32 piece, s32 max_rounds, const std::function<void(s32)>& round) {
    s32 done = 0;
    while (done < max_rounds && music_still_playing(piece)) round(done++);
    return done;
}

u32 music_wait(s32 piece, u32 max_ms) {
    const u32 start = plat_ticks();
    u32 waited = 0;
    while (waited < max_ms && music_still_playing(piece)) waited = plat_ticks() - start;
    return waited;
}

s32 music_frames(const MusicFrames& m) {
    const u32 ms = u32(std::max(m.ms, 0));
    const u32 start = plat_ticks();
    s32 shown = 0;
    auto wait_step = [ms] {
        while (timer0_elapsed() < ms) {
        }
    };
    while (plat_ticks() - start < m.max_ms) {
        if (!m.end_at_wrap && !music_still_playing(m.piece)) break;
        timer0_start();
        s32 frame = obj_get_frame(m.obj) + m.step;
        const bool wrapped = frame > m.last;
        if (wrapped) frame = m.first;
        if (m.end_at_wrap) {
            obj_show_frame(m.obj, frame);
            ++shown;
            wait_step();
            if (wrapped && !music_still_playing(m.piece)) break;
        } else {
            wait_step();
            obj_show_frame(m.obj, frame);
            ++shown;
        }
    }
    return shown;
}

// ---- Companion walk-out ----------------------------------------------------------------------

void companion_walk_out(const WalkOut& w) {
    const s32 map = attr_get(0, ATTR_MAP);
    const s32 px = attr_get(0, ATTR_X);
    const s32 py = attr_get(0, ATTR_Y);
    const s32 speed = std::clamp(w.speed, WALK_OUT_SPEED_MIN, WALK_OUT_SPEED_MAX);
    const s32 back = std::clamp(w.back_speed, WALK_OUT_SPEED_MIN, WALK_OUT_SPEED_MAX);
    std::array<s32, 4 * 2 + 1> movers{};
    s32 n = 0;
    for (const WalkOutMate& m : w.mates) {
        if (!script_obj_valid(m.obj) || m.obj == 0) continue;
        attr_set(m.obj, ATTR_MAP, map);
        attr_set(m.obj, ATTR_X, px);
        attr_set(m.obj, ATTR_Y, py);
        obj_set_frame(m.obj, m.frame);
        attr_set(m.obj, ATTR_ACTIVE, 1);
        movers[size_t(4 * n)] = m.obj;
        movers[size_t(4 * n + 1)] = m.offset ? px + m.x : m.x;
        movers[size_t(4 * n + 2)] = m.offset ? py + m.y : m.y;
        movers[size_t(4 * n + 3)] = speed;
        ++n;
    }
    if (n == 0) return;
    movers[size_t(4 * n)] = -1;
    walk_all(movers.data(), w.camera);
    for (const WalkOutMate& m : w.mates)
        if (script_obj_valid(m.obj) && m.obj != 0 && m.out_frame != 0)
            obj_show_frame(m.obj, m.out_frame);

    if (!w.cells.empty()) cells_run(w.cells, TalkContext{movers[0], w.turn});
    if (w.talk) w.talk();

    const s32 hx = attr_get(0, ATTR_X);
    const s32 hy = attr_get(0, ATTR_Y);
    for (s32 i = 0; i < n; ++i) {
        movers[size_t(4 * i + 1)] = hx;
        movers[size_t(4 * i + 2)] = hy;
        movers[size_t(4 * i + 3)] = back;
    }
    walk_all(movers.data(), w.camera);
    for (s32 i = 0; i < n; ++i) attr_set(movers[size_t(4 * i)], ATTR_ACTIVE, 0);
}
