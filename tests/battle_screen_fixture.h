// A fixture for the battle's screen: the engine on the placeholder texts, the battle tables, all
// twelve slots empty, no field effect, and a transcript that records every image draw and print,
// grouped by the frame they were presented in (group k holds what was drawn before present k + 1).
#pragma once
#include "battle/battle.h"
#include "battle/battle_draw.h"
#include "battle/battle_grid.h"
#include "battle/battle_special.h"
#include "data/battle_tables.h"
#include "engine/anim.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "game/player.h"
#include "platform/harness.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <vector>

struct DrawRec {
    s32 kind; // TRANSCRIPT_DRAW, TRANSCRIPT_PRINT or TRANSCRIPT_PRINT_NUMBER
    s32 id;   // image, text or number
    s32 x, y;
    u32 flags;
};
using DrawGroup = std::vector<DrawRec>;

inline std::vector<DrawGroup>& battle_screen_groups() {
    static std::vector<DrawGroup> groups;
    return groups;
}

class BattleScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        mssw_reset();
        engine_start(b, harness_settings());
        anim_reset();
        init_battle_tables();
        for (BattleSlot& s : battle_slots) empty_slot(s);
        for (auto& row : battle_marks)
            for (s32& m : row) m = -1;
        battle_encounter = 0;
        encounters[0].background = 0;
        battle_reaction = -1;
        battle_reaction_value = 0;
        field_turns = field_kind = field_bonus = 0;
        bar_offset = 0;
        battle_screen_groups().assign(1, {});
        transcript_observer = record;
        transcript_draws = true;
        harness_on_present([](const u16*, u64) { battle_screen_groups().emplace_back(); });
    }
    void TearDown() override {
        transcript_observer = nullptr;
        transcript_draws = false;
        harness_on_present(nullptr);
        anim_reset();
        mssw_reset();
        shell_shutdown();
    }
    virtual HarnessConfig harness_settings() const { return {}; }

    static void empty_slot(BattleSlot& s) {
        s = BattleSlot{};
        s.character = s.art = s.art_level = s.anim = s.spare_a = s.x = s.y = -1;
        s.facing = s.ai_target = s.ai_lock = -1;
        for (s32 h = 0; h < BATTLE_HITS; ++h) s.hit_x[h] = s.hit_y[h] = -1;
        for (auto& pair : s.bag) pair[0] = -1;
    }
    // A fighter on cell (col, row) using art `art`, facing `facing`.
    static BattleSlot& place(s32 slot, s32 character, s32 col, s32 row, s32 art = 0,
                             s32 facing = FACE_ROW0) {
        BattleSlot& s = battle_slots[slot];
        s.character = character;
        s.x = cell_x(col, row);
        s.y = cell_y(col, row);
        s.art = art;
        s.art_level = 0;
        s.facing = facing;
        s.anim = arts_table[art].anim[0];
        return s;
    }
    static std::vector<DrawGroup>& groups() { return battle_screen_groups(); }
    static void clear_records() { battle_screen_groups().assign(1, {}); }
    // Every record of one kind and id, over all groups.
    static std::vector<DrawRec> all(s32 kind, s32 id) {
        std::vector<DrawRec> out;
        for (const DrawGroup& g : groups())
            for (const DrawRec& r : g)
                if (r.kind == kind && r.id == id) out.push_back(r);
        return out;
    }
    static s32 count_in(const DrawGroup& g, s32 id) {
        s32 n = 0;
        for (const DrawRec& r : g) n += r.kind == TRANSCRIPT_DRAW && r.id == id;
        return n;
    }
    static bool printed(const DrawGroup& g) {
        for (const DrawRec& r : g)
            if (r.kind == TRANSCRIPT_PRINT) return true;
        return false;
    }

    HarnessTempDir dir;

  private:
    static s32 record(const TranscriptEntry& e) {
        if (e.kind == TRANSCRIPT_DRAW)
            battle_screen_groups().back().push_back({e.kind, e.id, e.x, e.y, u32(e.number)});
        else if (e.kind == TRANSCRIPT_PRINT)
            battle_screen_groups().back().push_back({e.kind, e.text[0], e.x, e.y, 0});
        else if (e.kind == TRANSCRIPT_PRINT_NUMBER)
            battle_screen_groups().back().push_back({e.kind, e.number, e.x, e.y, 0});
        return TRANSCRIPT_RUN;
    }
};
