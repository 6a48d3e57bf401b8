// Glyph masters drawn from a real font: every Big5 character rendered at 96 x 96 one-bit with
// FreeType from AR PL UMing (Debian's fonts-arphic-uming), for the placeholder archive.
//
// A glyph index is turned back into its Big5 code, the code into Unicode with iconv ("BIG5",
// then "BIG5-HKSCS" for the codes standard Big5 leaves out), and the character is rendered on a
// fixed baseline in a 92-pixel em square centred in the master, so punctuation keeps its place in
// the cell. Codes without a character (the reserved and user-defined areas) and characters the
// font lacks give a blank master.
#pragma once
#include "engine/types.h"
#include "tools/glyph_writer.h"

#include <memory>
#include <string>
#include <vector>

class ArcBuilder;

// The Big5 code of glyph index 0..13815 (the inverse of kanji_glyph_index).
u16 glyph_font_code(s32 index);

// The font file: AR PL UMing's collection found under /usr/share/fonts. Throws
// std::runtime_error when it is not installed.
std::string glyph_font_path();

// One opened font with its converter; not shareable between threads.
class GlyphFont {
  public:
    // Opens the "AR PL UMing TW" face of the collection. Throws std::runtime_error when FreeType,
    // the font or the converter cannot be opened.
    explicit GlyphFont(const std::string& path = glyph_font_path());
    ~GlyphFont();
    GlyphFont(const GlyphFont&) = delete;
    GlyphFont& operator=(const GlyphFont&) = delete;

    // Renders the character of a Big5 code into `master` (cleared first). False, with a blank
    // master, when the code has no character or the font has no drawing for it.
    bool render(u16 code, GlyphMaster& master);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// A bolder copy: every ink pixel also inks the pixel to its right and the one below.
GlyphMaster glyph_font_embolden(const GlyphMaster& master);

// Styles of the placeholder font: 0 regular, 1 bold; styles 2..7 carry the regular drawings.
constexpr s32 GLYPH_FONT_BOLD_STYLE = 1;

// Puts the given glyphs (indices 0..13815; std::invalid_argument for others) in all eight styles
// into the builder, rendered on one worker per core.
void glyph_put_placeholder_glyphs(ArcBuilder& builder, const std::vector<s32>& indices);
// Puts every glyph of all eight styles into the builder (13,816 entries per style). Uses every
// core of the machine; a release build takes a few seconds.
void glyph_put_placeholder_font(ArcBuilder& builder);
