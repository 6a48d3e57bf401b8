#include "tools/placeholder_images.h"

#include "engine/gisk.h"
#include "tools/arcbuild.h"
#include "tools/sprite_writer.h"

#include <algorithm>
#include <string>

namespace {

// Palette indices of the placeholder pictures.
enum : s16 { INK = 1, FILL = 2, FRAME = 3, PAPER = 4, SLATE = 5 };

std::array<u16, 256> placeholder_palette(u16 fill) {
    std::array<u16, 256> p{};
    p[INK] = 0x0421; // near black: 0 would be transparent in a cursor
    p[FILL] = fill;
    p[FRAME] = 0x6318; // light grey
    p[PAPER] = 0x4210; // mid grey: black and white type both read on it
    p[SLATE] = 0x1084; // dark grey, under light type
    return p;
}

} // namespace

const char* const placeholder_digit_rows[10][5] = {
    {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"}, {"###", "..#", "###", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"}, {"###", "..#", ".#.", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"}, {"###", "#.#", "###", "..#", "###"},
};

std::vector<u8> placeholder_cursor_sprite(s32 slot) {
    // Each slot gets its own fill colour so the slots can be told apart.
    static const u16 fills[8] = {0x7FFF, 0x7FE0, 0x03FF, 0x7C1F, 0x03E0, 0x7E00, 0x5EF7, 0x7E73};
    SpriteSource s;
    s.width = 12;
    s.height = 19;
    s.cells.assign(size_t(s.width * s.height), SPRITE_CLEAR);
    auto set = [&](s32 r, s32 c, bool edge) { s.cells[size_t(r * 12 + c)] = edge ? INK : FILL; };
    for (s32 r = 0; r < 12; ++r) // the head: a right triangle with its tip at (0, 0)
        for (s32 c = 0; c <= r; ++c) set(r, c, c == 0 || c == r || r == 11);
    for (s32 r = 12; r < 19; ++r) // the stem
        for (s32 c = 4; c <= 6; ++c) set(r, c, c == 4 || c == 6 || r == 18);
    s.palettes.push_back(placeholder_palette(fills[slot & 7]));
    return sprite_writer_encode(s);
}

std::vector<u8> placeholder_box_sprite(s32 image_id, s32 w, s32 h) {
    SpriteSource s;
    s.width = w;
    s.height = h;
    s.cells.assign(size_t(w * h), PAPER);
    for (s32 x = 0; x < w; ++x) s.cells[size_t(x)] = s.cells[size_t((h - 1) * w + x)] = FRAME;
    for (s32 y = 0; y < h; ++y) s.cells[size_t(y * w)] = s.cells[size_t(y * w + w - 1)] = FRAME;
    std::string digits = std::to_string(image_id);
    s32 x0 = 3, y0 = 3;
    for (char d : digits) {
        for (s32 r = 0; r < 5; ++r)
            for (s32 c = 0; c < 3; ++c) {
                s32 x = x0 + c, y = y0 + r;
                if (x < w - 1 && y < h - 1 && placeholder_digit_rows[d - '0'][r][c] == '#')
                    s.cells[size_t(y * w + x)] = FILL;
            }
        x0 += 4;
    }
    s.palettes.push_back(placeholder_palette(0x7FFF));
    return sprite_writer_encode(s);
}

void image_put_placeholder_cursors(ArcBuilder& builder) {
    for (s32 slot = 0; slot < 32; ++slot)
        builder.put(u32(ARC_IMAGE_BASE + 32 + slot), placeholder_cursor_sprite(slot));
}

void image_put_placeholder_boxes(ArcBuilder& builder) {
    // The left-hand and right-hand dialogue boxes of style 0 (images 120 and 121).
    for (s32 image : {120, 121})
        builder.put(u32(ARC_IMAGE_BASE + image), placeholder_box_sprite(image, 560, 190));
}

// ---- The hub's and the title menu's pictures ----------------------------------------------------

namespace {

// 3 x 5 shapes of the capital letters (and a dash) for the pictures' labels.
const char* const letter_rows[26][5] = {
    {".#.", "#.#", "###", "#.#", "#.#"}, {"##.", "#.#", "##.", "#.#", "##."}, // A B
    {".##", "#..", "#..", "#..", ".##"}, {"##.", "#.#", "#.#", "#.#", "##."}, // C D
    {"###", "#..", "##.", "#..", "###"}, {"###", "#..", "##.", "#..", "#.."}, // E F
    {".##", "#..", "#.#", "#.#", ".##"}, {"#.#", "#.#", "###", "#.#", "#.#"}, // G H
    {"###", ".#.", ".#.", ".#.", "###"}, {"..#", "..#", "..#", "#.#", ".#."}, // I J
    {"#.#", "#.#", "##.", "#.#", "#.#"}, {"#..", "#..", "#..", "#..", "###"}, // K L
    {"#.#", "###", "###", "#.#", "#.#"}, {"##.", "#.#", "#.#", "#.#", "#.#"}, // M N
    {".#.", "#.#", "#.#", "#.#", ".#."}, {"##.", "#.#", "##.", "#..", "#.."}, // O P
    {".#.", "#.#", "#.#", "##.", ".##"}, {"##.", "#.#", "##.", "#.#", "#.#"}, // Q R
    {".##", "#..", ".#.", "..#", "##."}, {"###", ".#.", ".#.", ".#.", ".#."}, // S T
    {"#.#", "#.#", "#.#", "#.#", "###"}, {"#.#", "#.#", "#.#", "#.#", ".#."}, // U V
    {"#.#", "#.#", "###", "###", "#.#"}, {"#.#", "#.#", ".#.", "#.#", "#.#"}, // W X
    {"#.#", "#.#", ".#.", ".#.", ".#."}, {"###", "..#", ".#.", "#..", "###"}, // Y Z
};
const char* const dash_rows[5] = {"...", "...", "###", "...", "..."};

const char* const* glyph_rows(char c) {
    if (c >= '0' && c <= '9') return placeholder_digit_rows[c - '0'];
    if (c >= 'A' && c <= 'Z') return letter_rows[c - 'A'];
    if (c == '-') return dash_rows;
    return nullptr;
}

// A picture being drawn: cells of one palette with the placeholder colours and a fill colour.
struct Board {
    s32 w, h;
    std::vector<s16> cells;
    Board(s32 width, s32 height, bool filled) : w(width), h(height) {
        cells.assign(size_t(w * h), filled ? s16(FILL) : s16(SPRITE_CLEAR));
        for (s32 x = 0; x < w; ++x) cells[size_t(x)] = cells[size_t((h - 1) * w + x)] = FRAME;
        for (s32 y = 0; y < h; ++y) cells[size_t(y * w)] = cells[size_t(y * w + w - 1)] = FRAME;
    }
    void put(s32 x, s32 y, s16 v) {
        if (x >= 0 && y >= 0 && x < w && y < h) cells[size_t(y * w + x)] = v;
    }
    void clear(s32 x0, s32 y0, s32 cw, s32 ch) { fill(x0, y0, cw, ch, SPRITE_CLEAR); }
    void fill(s32 x0, s32 y0, s32 cw, s32 ch, s16 v) {
        for (s32 y = y0; y < y0 + ch; ++y)
            for (s32 x = x0; x < x0 + cw; ++x) put(x, y, v);
    }
    // A rectangle's outline, `thick` pixels wide, inside the rectangle.
    void outline(s32 x0, s32 y0, s32 cw, s32 ch, s16 v, s32 thick = 1) {
        fill(x0, y0, cw, thick, v);
        fill(x0, y0 + ch - thick, cw, thick, v);
        fill(x0, y0, thick, ch, v);
        fill(x0 + cw - thick, y0, thick, ch, v);
    }
    // Text in the 3 x 5 shapes, each pixel `scale` x `scale`, in ink (or `v`).
    void text(s32 x0, s32 y0, const std::string& line, s32 scale, s16 v = INK) {
        const s32 left = x0;
        for (char c : line) {
            if (c == '\n') { // the next line below
                x0 = left;
                y0 += 6 * scale;
                continue;
            }
            if (const char* const* rows = glyph_rows(c))
                for (s32 r = 0; r < 5; ++r)
                    for (s32 col = 0; col < 3; ++col)
                        if (rows[r][col] == '#')
                            for (s32 dy = 0; dy < scale; ++dy)
                                for (s32 dx = 0; dx < scale; ++dx)
                                    put(x0 + col * scale + dx, y0 + r * scale + dy, v);
            x0 += 4 * scale;
        }
    }
    std::vector<u8> encode(u16 fill) const {
        SpriteSource s;
        s.width = w;
        s.height = h;
        s.cells = cells;
        s.palettes.push_back(placeholder_palette(fill));
        return sprite_writer_encode(s);
    }
};

// Fills in 5-5-5 of the picture families, light enough for the dark text printed over them.
constexpr u16 PAPER_LIGHT = 0x6B12;   // the frame and the caption boxes: beige
constexpr u16 TITLE_FILL = 0x4E73;    // the title pictures, under the title menu's white text
constexpr u16 BACKDROP_FILL = 0x6F56; // the hub's backdrops: light sand (+ 0x0421 per shade)
constexpr u16 PORTRAIT_FILL = 0x5A0C;
constexpr u16 BUTTON_FILL = 0x5F1A;
constexpr u16 BUTTON_HOVER_FILL = 0x7F9C;

// A framed picture showing its id, filled or with a see-through inside.
std::vector<u8> id_box(s32 id, s32 w, s32 h, bool filled, u16 fill, s32 scale = 1) {
    Board b(w, h, filled);
    b.text(3, 3, std::to_string(id), scale);
    return b.encode(fill);
}

using ImageList = std::vector<std::pair<s32, std::vector<u8>>>;

void put_image(ImageList& list, s32 image, std::vector<u8> bytes) {
    list.emplace_back(image, std::move(bytes));
}

// The dashboard's frame: the whole screen, open where the backdrop and the stamina gauge show.
std::vector<u8> dashboard_frame() {
    Board b(640, 480, true);
    b.clear(PLACEHOLDER_BACKDROP_X, PLACEHOLDER_BACKDROP_Y, PLACEHOLDER_BACKDROP_W,
            PLACEHOLDER_BACKDROP_H);
    b.clear(119, 23, 135, PLACEHOLDER_GAUGE_H);
    b.text(4, 468, "60300", 1);
    return b.encode(PAPER_LIGHT);
}

// What a menu button does, in a word or two: the hub's command of that bar and button.
std::string menu_button_word(bool third, s32 bar, s32 button) {
    if (third) return button == 7 ? "CLOSE" : "PLACE " + std::to_string(button);
    if (bar == 0) return button == 7 ? "REST" : "MENU " + std::to_string(button + 1);
    if (button == 7) return "BACK";
    static const char* const system_words[7] = {"INFO", "AFFECT", "LOAD", "-", "QUIT", "-", "-"};
    static const char* const outing_words[7] = {"PLACES A", "PLACES B", "POOL A", "POOL B",
                                                "POOL C",   "MARKET",   "VISIT"};
    static const char* const game_words[7] = {"RECIPES", "POP-UP", "-",   "AIM",
                                              "CATCH",   "ACT 29", "RING"};
    if (bar == 6) return system_words[button];
    if (bar == 7) return outing_words[button];
    if (bar == 4) return game_words[button];
    return "ACT " + std::to_string(button + 8 * (bar - 1));
}

// Menu button: what it does in a word, which bar and which button ("L3" submenu 3, "P1" place
// set 1, "B5" the button), "H" when it is the picture under the pointer, and its id.
std::vector<u8> menu_button(s32 image) {
    const bool third = image >= 60728;
    const s32 k = third ? image - 60728 : image - 60600;
    const s32 bar = k / 16, hover = (k % 16) >= 8, button = k % 8;
    Board b(74, 119, true);
    b.text(5, 8, menu_button_word(third, bar, button), 2);
    b.text(5, 40, std::string(third ? "P" : "L").append(std::to_string(bar)), 3);
    b.text(5, 62, std::string("B").append(std::to_string(button)), 3);
    if (hover) b.text(5, 84, "H", 3);
    b.text(5, 108, std::to_string(image), 1);
    return b.encode(hover ? BUTTON_HOVER_FILL : BUTTON_FILL);
}

} // namespace

namespace {

ImageList make_screen_images() {
    ImageList builder;
    // The continue mark: four small boxes that differ in their fill, so the mark blinks.
    static const u16 mark_fills[4] = {0x7FFF, 0x6318, 0x4210, 0x6318};
    for (s32 i = 0; i < 4; ++i)
        put_image(builder, 12 + i, id_box(12 + i, 24, 24, true, mark_fills[i]));
    // The load and save panel of the slot lists.
    put_image(builder, 892, id_box(892, 274, 177, true, PAPER_LIGHT));
    // Title pictures.
    for (s32 id = 60111; id <= 60118; ++id)
        put_image(builder, id, id_box(id, 640, 480, true, TITLE_FILL, 4));
    // The dashboard: frame, portraits, gauge columns, captions, seasons.
    put_image(builder, 60300, dashboard_frame());
    for (s32 id = 60301; id <= 60319; ++id)
        put_image(builder, id, id_box(id, 80, 100, true, PORTRAIT_FILL, 2));
    put_image(builder, 60320, sprite_writer_solid(1, PLACEHOLDER_GAUGE_H, 0, 0, 0x1084));
    put_image(builder, 60321, sprite_writer_solid(1, PLACEHOLDER_GAUGE_H, 0, 0, 0x03E0));
    for (s32 id : {60323, 60324}) put_image(builder, id, id_box(id, 640, 152, true, PAPER_LIGHT));
    for (s32 id = 60325; id <= 60328; ++id)
        put_image(builder, id, id_box(id, 110, 22, true, BUTTON_FILL, 2));
    // Backdrops, the travel road and figure, the transitions.
    for (s32 id = 60400; id <= 60427; ++id)
        put_image(builder, id,
                  id_box(id, PLACEHOLDER_BACKDROP_W, PLACEHOLDER_BACKDROP_H, true,
                         u16(BACKDROP_FILL + 0x0421 * ((id - 60400) % 4)), 4));
    put_image(builder, 60390, id_box(60390, 350, 190, true, BACKDROP_FILL, 3));
    for (s32 id = 60391; id <= 60394; ++id)
        put_image(builder, id, id_box(id, 40, 60, true, PORTRAIT_FILL));
    for (s32 id = 61150; id <= 61157; ++id)
        put_image(builder, id, id_box(id, 216, 160, true, BUTTON_HOVER_FILL, 4));
    // Affection gauges: the gauge's frame and three faces per person.
    for (s32 id = 60500; id <= 60514; ++id)
        put_image(builder, id, id_box(id, 42, 50, true, PORTRAIT_FILL));
    put_image(builder, 60515, id_box(60515, 60, 175, false, 0));
    // Menu buttons of every bar, plain and under the pointer.
    for (s32 id = 60600; id <= 60759; ++id) put_image(builder, id, menu_button(id));
    // Large portraits of every person a hub line or a roster entry can name: outlines with their
    // number, see-through so the backdrop shows.
    for (s32 person = 0; person < PLACEHOLDER_PORTRAIT_PERSONS; ++person)
        put_image(builder, 62000 + person, placeholder_portrait_sprite(62000 + person));
    return builder;
}

} // namespace

std::vector<u8> placeholder_paper_sprite(s32 image_id, s32 w, s32 h) {
    return id_box(image_id, w, h, true, PAPER_LIGHT);
}

std::vector<u8> placeholder_backdrop_sprite(s32 image_id, s32 w, s32 h,
                                            std::span<const PlaceholderRect> dark,
                                            std::span<const PlaceholderRect> marks,
                                            std::span<const PlaceholderLabel> labels) {
    Board b(w, h, true);
    b.outline(0, 0, w, h, INK);
    for (const PlaceholderRect& r : dark) {
        b.fill(r.x, r.y, r.w, r.h, SLATE);
        b.outline(r.x, r.y, r.w, r.h, FRAME);
    }
    for (const PlaceholderRect& r : marks) b.outline(r.x, r.y, r.w, r.h, INK, 2);
    for (const PlaceholderLabel& l : labels) b.text(l.x, l.y, l.text, l.scale);
    b.text(4, 4, std::to_string(image_id), 2);
    return b.encode(PAPER_LIGHT);
}

std::vector<u8> placeholder_label_sprite(s32 image_id, s32 w, s32 h, const std::string& label,
                                         s32 scale, u16 fill, bool see_through) {
    Board b(w, h, !see_through);
    b.text(3, 3, label, scale);
    b.text(3, h - 8, std::to_string(image_id), 1);
    return b.encode(fill);
}

std::vector<u8> placeholder_frame_sprite(s32 image_id, s32 w, s32 h, s32 border, u16 colour) {
    Board b(w, h, false);
    b.outline(0, 0, w, h, FILL, border);
    if (border >= 5) b.text(2, h - std::min(border, 6), std::to_string(image_id), 1);
    return b.encode(colour);
}

std::vector<u8> placeholder_portrait_sprite(s32 image_id) {
    return id_box(image_id, PLACEHOLDER_PORTRAIT_W, PLACEHOLDER_PORTRAIT_H, false, 0, 3);
}

void image_put_placeholder_screens(ArcBuilder& builder) {
    // Encoded once per process: test fixtures build the placeholder archive again and again.
    static const ImageList images = make_screen_images();
    for (const auto& [image, bytes] : images) builder.put(u32(ARC_IMAGE_BASE + image), bytes);
}
