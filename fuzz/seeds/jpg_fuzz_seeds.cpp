// Seeds of the JPEG target: whole streams of the archive builder's JPEG writer (baseline and
// progressive pictures of several shapes, a zone picture, a picture taller than the screen, a
// grey one that is refused) and, for each templated form, the template's own data under its own
// frame size, under other sizes and cut short.
#include "fuzz/jpg_fuzz_input.h"
#include "fuzz/seeds/seed_dir.h"

#include <string>
#include <vector>

namespace {

std::vector<u8> picture(s32 width, s32 height, s32 components = 3) {
    std::vector<u8> px(size_t(width) * size_t(height) * size_t(components));
    for (size_t i = 0; i < px.size(); ++i) px[i] = u8(40 + (i * 13 + i / 97) % 200);
    return px;
}

std::vector<u8> input(const std::vector<u8>& control, const std::vector<u8>& rest) {
    std::vector<u8> in = control;
    in.insert(in.end(), rest.begin(), rest.end());
    return in;
}

void write_seeds(const std::string& dir) {
    struct Whole {
        const char* name;
        s32 width, height, components;
        bool progressive;
        u8 switches;
    };
    const Whole wholes[] = {
        {"whole_1x1", 1, 1, 3, false, 0},         {"whole_17x9", 17, 9, 3, false, 1},
        {"whole_64x48_prog", 64, 48, 3, true, 0}, {"whole_wide", 700, 8, 3, false, 16},
        {"whole_tall", 8, 600, 3, false, 8 | 16}, {"whole_grey", 16, 16, 1, false, 0},
    };
    for (const Whole& w : wholes) {
        JpegWriteOptions o;
        o.components = w.components;
        o.progressive = w.progressive;
        o.quality = 75;
        const std::vector<u8> stream = jpeg_writer_encode(
            picture(w.width, w.height, w.components).data(), w.width, w.height, o);
        seed_write(dir, w.name, input(jpg_fuzz_control(w.switches, JPG_FUZZ_WHOLE, 1, 1), stream));
    }
    const std::vector<u8> zone_rgb = picture(258, 258);
    seed_write(dir, "whole_zone",
               input(jpg_fuzz_control(0, JPG_FUZZ_WHOLE, 1, 1),
                     jpeg_writer_zone_full(zone_rgb.data(), 50)));

    const char* forms[] = {"", "baseline", "progressive", "zone"};
    for (s32 form = JPG_FUZZ_BASELINE; form <= JPG_FUZZ_ZONE; ++form) {
        const JpgFuzzTemplate& t = jpg_fuzz_template(form);
        const std::string name = forms[form];
        seed_write(dir, name, input(jpg_fuzz_control(0, form, t.width, t.height), t.scan));
        seed_write(dir, name + "_565_bottom",
                   input(jpg_fuzz_control(1 | 8 | 16, form, t.width, t.height), t.scan));
        seed_write(
            dir, name + "_cut",
            input(jpg_fuzz_control(0, form, t.width, t.height),
                  std::vector<u8>(t.scan.begin(), t.scan.begin() + long(t.scan.size() / 2))));
        if (form == JPG_FUZZ_ZONE) continue;
        // Other frame sizes over the same data: larger (the data runs out) and smaller.
        seed_write(dir, name + "_large", input(jpg_fuzz_control(8, form, 640, 520), t.scan));
        seed_write(dir, name + "_small", input(jpg_fuzz_control(0, form, 9, 5), t.scan));
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string dir = seed_dir(argc, argv);
    if (dir.empty()) return 1;
    write_seeds(dir);
    return 0;
}
