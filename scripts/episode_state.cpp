#include "scripts/episode_state.h"

#include <cstring>

namespace {

// Function-local, so that counters declared in other files' static initialisers find it built.
struct Registry {
    EpisodeCounter rows[EPISODE_COUNTERS_MAX];
    s32 count = 0;
};
Registry& registry() {
    static Registry r;
    return r;
}

} // namespace

const EpisodeCounter* episode_counter_find(const char* name) {
    if (name == nullptr) return nullptr;
    const Registry& r = registry();
    for (s32 i = 0; i < r.count; ++i)
        if (std::strcmp(r.rows[i].name, name) == 0) return &r.rows[i];
    return nullptr;
}

bool episode_counter_add(const EpisodeCounter& c) {
    Registry& r = registry();
    if (c.name == nullptr || c.value == nullptr || c.count < 1) return false;
    if (r.count >= EPISODE_COUNTERS_MAX || episode_counter_find(c.name) != nullptr) return false;
    r.rows[r.count++] = c;
    for (s32 i = 0; i < c.count; ++i) c.value[i] = c.start;
    return true;
}

void episode_state_reset() {
    const Registry& r = registry();
    for (s32 i = 0; i < r.count; ++i)
        for (s32 k = 0; k < r.rows[i].count; ++k) r.rows[i].value[k] = r.rows[i].start;
}
