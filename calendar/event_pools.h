// The event pools: the chance meetings that the dashboard's commands 50, 51 and 52 draw from
// `encounter_pool_a`, `_b` and `_c`, and the chains they form.
//
// - The chain table: which entries each pool handler opens, closes or empties when it runs, as
//   rows run by one function (`pool_switch`). The handlers of pool B (calendar/pool_b_events.h)
//   switch their entries through it too.
// - The handlers of pools A and C (slots 019-021, 120, 130, 131, 143, 147, 150, 151, 208), the
//   quiz of place 0.0 entry 4 (slot 218), and the paid visits with person 40 (slots 144-146, 206,
//   207), one body over a table of its rows.
// - The pool episodes (slots 143 and 201): a map episode started from a pool draw. It keeps no
//   slot-0 save and does not end the turn itself; a game saved inside it (slot 1) resumes the
//   episode through the after-turn entry of its turn, which the episode borrows while it runs.
#pragma once
#include "calendar/calendar_register.h"
#include "calendar/frame.h"
#include "engine/types.h"

#include <span>

// ---- Chains ------------------------------------------------------------------------------------

enum class PoolOp : s32 {
    Open,        // on := 1
    Close,       // on := 0
    Empty,       // slot := -1, on := 0
    OpenWhenOff, // on := 1 when `when` is closed (on == 0): the second of two meetings opens it
};

// The branch of a handler that a row belongs to. POOL_ALL rows run in every case; the others
// only when the handler names that branch.
enum PoolBranch : s32 {
    POOL_ALL = 0,
    POOL_WON,    // a won battle (slots 131, 147)
    POOL_SECOND, // the second answer (slot 131)
    POOL_ONWARD, // the branch that leads the chain on (slots 139, 148, 149, 201)
};

struct PoolSwitch {
    s32 slot;
    PoolBranch branch;
    PoolOp op;
    CalEntry entry;
    CalEntry when{}; // OpenWhenOff only
};

// Every row, in the order they run.
std::span<const PoolSwitch> pool_switches();
// Runs the rows of `slot` with branch `branch`, in table order.
void pool_switch(s32 slot, PoolBranch branch = POOL_ALL);

// ---- Pool episodes ----------------------------------------------------------------------------

// The story flag (our own: no story event uses it) that keeps the after-turn slot that a running
// pool episode stands in for, while the episode has borrowed its turn's after-turn entry.
constexpr s32 POOL_EPISODE_FLAG = 53;

struct PoolEpisode {
    bool resumed = false; // the episode went on from a save made inside it
    bool loaded = false;  // a game was loaded during it: nothing more may be done
    s32 stood_for = -1;   // the after-turn slot the episode stood in for
};

// 1 when pool handler `slot` runs as its turn's after-turn handler to resume its own episode: a
// game saved inside the episode was loaded (the field loop is marked running and the turn's
// after-turn entry holds the handler's slot).
s32 pool_episode_resuming(s32 slot);
// Runs the episode's `scene` for pool handler `slot`. A new episode first borrows the turn's
// after-turn entry (its slot kept in POOL_EPISODE_FLAG) so that a slot-1 save made inside it
// comes back to this handler. After the scene: a load that left the episode (`hub_restart`, or a
// load counted by `save_load_count` whose game's after-turn entry no longer holds `slot`)
// reports `loaded`, and the handler must return at once; a reload of a save made inside this
// episode does not, and the handler goes on with its outro. Whenever the field loop has ended
// (also after a load that finished a loaded copy of the episode), an entry still borrowed is
// given back.
PoolEpisode pool_episode(s32 slot, void (*scene)());
// After a resumed episode's outro: the after-turn handler that the episode stood in for runs now,
// as the hub would have run it after the pool draw.
void pool_episode_hand_on(const PoolEpisode& e, s32 slot);

// ---- Paid visits -------------------------------------------------------------------------------

constexpr s32 PAID_VISIT_PERSON = 40;
constexpr s32 PAID_VISIT_PORTRAIT = 125;
constexpr s32 PAID_VISIT_AFFECTION = 70; // below it the visit only shows line 11840
constexpr s32 PAID_VISIT_VALUES = 3;
constexpr s32 PAID_VISIT_LOSS = 5;
constexpr s32 PAID_VISIT_GAIN = 10;
constexpr s32 PAID_VISIT_STAMINA = 1000;
constexpr s32 PAID_VISIT_FLAG_146 = 23; // slot 146 sets it in every case

// One visit: its entry, its price, its runs of lines and the values it changes (growth indices;
// the summary lines are 250 + index for a loss and 200 + index for a gain).
struct PaidVisit {
    s32 slot;
    s32 price;
    std::span<const CalLine> intro;
    CalOptions offer;
    std::span<const CalLine> decline;
    std::span<const CalLine> bad;
    std::span<const CalLine> good;
    CalList<s32, PAID_VISIT_VALUES> values;
    s32 turns_declined; // turns_consumed after the decline; 0 = none stored
    s32 turns_taken;    // after a visit taken; 0 = none stored
    s32 flag;           // a story flag set to 1 in every case, also when turned away; -1 none
};
std::span<const PaidVisit> paid_visits();
// The visit of `slot`, or nullptr.
const PaidVisit* paid_visit(s32 slot);
// The one body of the paid visits.
void paid_visit_run(const PaidVisit& v);

// ---- Handlers ----------------------------------------------------------------------------------

void calendar_event_019();
void calendar_event_020();
void calendar_event_021();
void calendar_event_120();
void calendar_event_130();
void calendar_event_131();
void calendar_event_143();
void calendar_event_144();
void calendar_event_145();
void calendar_event_146();
void calendar_event_147();
void calendar_event_150();
void calendar_event_151();
void calendar_event_206();
void calendar_event_207();
void calendar_event_208();
void calendar_event_218();

constexpr const char* EVENT_POOLS_OWNER = "calendar event pools";
std::span<const CalendarSlot> event_pools_slots();
void register_event_pools();
