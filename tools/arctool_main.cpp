// morvanta-arc: writes and inspects archive files.
//   morvanta-arc placeholder <dir>   writes the placeholder archive <dir>/VERORIRE
//   morvanta-arc list <archive>      prints id, offset and size of every non-empty entry
#include "tools/arcbuild.h"

#include <cstdio>
#include <cstring>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "placeholder") != 0 && std::strcmp(argv[1], "list"))) {
        std::fprintf(stderr, "usage: morvanta-arc placeholder <dir>\n"
                             "       morvanta-arc list <archive>\n");
        return 2;
    }
    try {
        if (std::strcmp(argv[1], "placeholder") == 0) {
            arc_build_placeholder(argv[2]);
            return 0;
        }
        std::vector<ArcIndexRow> rows = arc_read_index(argv[2]);
        std::printf("%-9s %-10s %s\n", "id", "offset", "size");
        for (const ArcIndexRow& row : rows)
            std::printf("0x%05X   0x%08X %d\n", unsigned(row.id), unsigned(row.offset), row.size);
        std::printf("%zu entries\n", rows.size());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "morvanta-arc: %s\n", e.what());
        return 1;
    }
}
