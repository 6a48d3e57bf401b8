// Shared by the seed writers in this folder: each is a program whose main(argc, argv) writes its
// fuzz target's seed inputs as files into the directory argv[1] (made when missing).
#pragma once
#include "engine/types.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// The seed directory from the command line, made when missing; empty (after a usage message)
// when none was given or it cannot be made.
inline std::string seed_dir(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_DIRECTORY\n", argc > 0 ? argv[0] : "seeds");
        return "";
    }
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    if (!std::filesystem::is_directory(argv[1])) {
        std::fprintf(stderr, "%s: cannot make %s\n", argv[0], argv[1]);
        return "";
    }
    return argv[1];
}

// Writes one seed file; false when it cannot be written.
inline bool seed_write(const std::string& dir, const std::string& name,
                       const std::vector<u8>& bytes) {
    FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// Little-endian appenders for hand-made inputs.
inline void seed_put16(std::vector<u8>& v, u32 x) {
    v.push_back(u8(x));
    v.push_back(u8(x >> 8));
}
inline void seed_put32(std::vector<u8>& v, u32 x) {
    seed_put16(v, x & 0xFFFF);
    seed_put16(v, x >> 16);
}
