// Seeds of the text target: text tables of the archive builder's text writer holding Big5 text,
// every kind of markup, name escapes, long runs of escapes and digits, with name slots that hold
// Big5 names, scrambled and plain. The input layout is the target's (fuzz/text_fuzz.cpp).
#include "engine/text.h"
#include "fuzz/seeds/seed_dir.h"
#include "tools/text_writer.h"

#include <string>
#include <vector>

namespace {

// Big5 characters.
const std::string WEN = "\xA4\xE5", ZI = "\xA6\x72", SHUO = "\xBB\xA1", KONG = "\xA1\x40";

std::string escape(char slot) {
    return std::string(1, char(TEXT_ESCAPE)) + slot;
}

// Sixteen slots of 16 bytes: a few names (stored scrambled when `scrambled`), the rest empty.
std::vector<u8> name_slots(bool scrambled, s32 used) {
    const std::string names[] = {WEN + ZI, SHUO + SHUO + SHUO + SHUO + SHUO + SHUO + SHUO,
                                 "Abc" + WEN, std::string(15, 'x')};
    std::vector<u8> slots(16 * 16, 0);
    for (s32 i = 0; i < used && i < 4; ++i) {
        const std::string stored = scrambled ? text_scramble(names[i]) : names[i];
        for (size_t k = 0; k < stored.size() && k < 15; ++k)
            slots[size_t(i) * 16 + k] = u8(stored[k]);
    }
    return slots;
}

std::vector<TextSource> texts(s32 variant) {
    std::string long_escapes;
    for (s32 i = 0; i < 60; ++i) long_escapes += escape(char('a' + i % 16)) + WEN;
    std::vector<TextSource> t = {
        {1, WEN + ZI + SHUO + KONG + "abc 123"},
        {2, "$@1$D2$G03$S24$X100$Y050" + WEN + "$F1f0000$B001f00$O00001f" + ZI + "$Q9"},
        {3, escape('a') + SHUO + escape('b') + escape('p') + escape('c') + "!"},
        {65500, "\xA2\xAF"},
        {4, long_escapes},
        {5, std::string(300, 'w') + WEN},
    };
    if (variant == 1) {
        // A text whose markup and Big5 pairs are cut short at its end.
        t.insert(t.begin(), {7, WEN + "$X1"});
        t.push_back({8, ZI + "\xA4"});
    }
    if (variant == 2) t.insert(t.begin(), {9, "$S99$G99" + WEN + WEN + WEN + "$D3" + ZI});
    return t;
}

std::vector<u8> input(u8 switches, const std::vector<u8>& slots, const std::vector<u8>& table) {
    std::vector<u8> in = {switches, u8(slots.size())};
    in.insert(in.end(), slots.begin(), slots.end());
    in.insert(in.end(), table.begin(), table.end());
    return in;
}

} // namespace

int main(int argc, char** argv) {
    const std::string dir = seed_dir(argc, argv);
    if (dir.empty()) return 1;
    for (s32 variant = 0; variant < 3; ++variant) {
        const std::vector<u8> table = text_table_write(texts(variant));
        const std::string name = "table" + std::to_string(variant);
        // Scrambled (as stored in the game), with the slots cut to 255 bytes.
        std::vector<u8> slots = name_slots(true, 4);
        slots.resize(255);
        seed_write(dir, name, input(u8(1 | (variant << 1) | 5 << 3), slots, table));
        // Plain storage, two names only, the whole slots area given.
        std::vector<u8> plain = name_slots(false, 2);
        plain.resize(40);
        seed_write(dir, name + "_plain", input(u8(variant << 1 | 12 << 3), plain, table));
    }
    return 0;
}
