// Placeholder pictures for the placeholder archive: the 32 cursor images and a generic framed box
// that shows its own image id, for images the game draws before the real assets exist.
#pragma once
#include "engine/types.h"

#include <span>
#include <string>
#include <vector>

class ArcBuilder;

// 3 x 5 digit shapes of the placeholder labels, one string per row, '#' set.
extern const char* const placeholder_digit_rows[10][5];

// Cursor image of slot `slot` (image 32 + slot): an arrow with its tip at the hotspot (0, 0).
std::vector<u8> placeholder_cursor_sprite(s32 slot);
// A w x h framed box with `image_id` written in small digits inside it, on mid grey (a screen's
// black and white type both read on it).
std::vector<u8> placeholder_box_sprite(s32 image_id, s32 w, s32 h);
// A w x h framed box on light paper with its id in the corner: a backdrop that dark text can be
// read on.
std::vector<u8> placeholder_paper_sprite(s32 image_id, s32 w, s32 h);
// A rectangle of a placeholder picture, in the picture's own pixels.
struct PlaceholderRect {
    s32 x, y, w, h;
};
// A word or two written on a placeholder picture: top-left corner, pixel scale, text (as in
// `placeholder_label_sprite`).
struct PlaceholderLabel {
    s32 x, y, scale;
    const char* text;
};
// A w x h backdrop for a screen that prints dark text over it: light paper, a dark frame and its
// id in dark ink in the top-left corner. `dark` are panels of dark slate where the screen prints
// light text instead; `marks` are outlines in dark ink and `labels` words in dark ink (places the
// player is meant to look at and what they are).
std::vector<u8> placeholder_backdrop_sprite(s32 image_id, s32 w, s32 h,
                                            std::span<const PlaceholderRect> dark = {},
                                            std::span<const PlaceholderRect> marks = {},
                                            std::span<const PlaceholderLabel> labels = {});
// A w x h picture filled with `fill` (5-5-5) under a word or two (`label`, capital letters,
// digits and '-'; a '\n' starts a line below) in ink at `scale`, with its id in small digits in the
// bottom-left corner. A see-through picture keeps only its frame, the label and the id.
std::vector<u8> placeholder_label_sprite(s32 image_id, s32 w, s32 h, const std::string& label,
                                         s32 scale, u16 fill, bool see_through = false);
// A see-through w x h frame, `border` pixels of `colour` (5-5-5) around an open inside, for a frame
// drawn over another picture; a border of 5 or more carries the id in small dark digits.
std::vector<u8> placeholder_frame_sprite(s32 image_id, s32 w, s32 h, s32 border, u16 colour);
// A large portrait of the calendar hub (62000 + person): a see-through outline showing its id,
// so the backdrop stays visible around the figure.
std::vector<u8> placeholder_portrait_sprite(s32 image_id);
constexpr s32 PLACEHOLDER_PORTRAIT_W = 120, PLACEHOLDER_PORTRAIT_H = 156;
// Large portraits 62000 + n exist for every person n below this (the numbers a calendar line
// or a roster entry can name; pictures from 62500 on are the practice screen's).
constexpr s32 PLACEHOLDER_PORTRAIT_PERSONS = 500;

// Puts the 32 cursor images into the builder.
void image_put_placeholder_cursors(ArcBuilder& builder);
// Puts framed boxes showing their ids for the pictures the engine's own screens draw (the two
// dialogue boxes of style 0).
void image_put_placeholder_boxes(ArcBuilder& builder);

// Sizes of the placeholder pictures that others must fit around.
constexpr s32 PLACEHOLDER_BACKDROP_X = 139, PLACEHOLDER_BACKDROP_Y = 120;
constexpr s32 PLACEHOLDER_BACKDROP_W = 370, PLACEHOLDER_BACKDROP_H = 205;
constexpr s32 PLACEHOLDER_GAUGE_H = 10;
// Puts framed boxes showing their ids for the pictures of the title menu and the calendar hub:
// continue mark 12..15, the slot panel 892, title pictures 60111..60118, the dashboard's frame
// (open over the backdrop and the gauge), portraits, gauge columns, captions, seasons, backdrops,
// the travel and transition frames, the affection pictures, the menu buttons (labelled with their
// bar and button) and the large portraits 62000..62499 of every person a hub line can show.
void image_put_placeholder_screens(ArcBuilder& builder);
// Placeholder pictures of the shop screens (802..819), the meal screen (62160 and 60324, when
// absent) and the item pictures (27500 + item, showing the item number) of
// `placeholder_item_picture_items`.
void image_put_placeholder_shop(ArcBuilder& builder);
// The items whose picture (27500 + item) the placeholder archive holds: every item the item master
// and the item tables name (equipment, consumables and their ingredients, food, antiques and what
// appraising them gives, everything with a price) and every item a shop or the market shows.
std::vector<s32> placeholder_item_picture_items();
// Puts framed boxes showing their ids for the character screen's pictures (status page, tab row,
// system menu, clock dial, the four pages, the arts entries shown) and the companion visit's.
void image_put_placeholder_info(ArcBuilder& builder);
// Placeholder pictures of the hub's activities: the animations 60800..61194, the unusable-entry
// mark 60395, the practice screen 62500..62531 and the practice pieces 63401 + 20n + v.
void image_put_placeholder_activity(ArcBuilder& builder);
// Standing boxes for the frames of the new game's arrival scene and the walking frames of the
// figures it walks.
void image_put_placeholder_arrival(ArcBuilder& builder);
// Figure boxes for the frames the home map's residents show on their daily routines (walking
// blocks, idle loops, poses); ids the builder holds already are left alone.
std::vector<s32> placeholder_routines_images();
void image_put_placeholder_routines(ArcBuilder& builder);
// Figure boxes for the frames that the posed services of the home region show (the player's
// poses, the attendants' service frames) and no world content row names; after the world's.
void image_put_placeholder_posed(ArcBuilder& builder);
// The map-episode launchers' large portrait 62305.
void image_put_placeholder_cal_launchers(ArcBuilder& builder);
// Placeholder pictures of the board course (tiles of blocks 11..23), the symbol screens' teacher
// and the timed action game.
void image_put_placeholder_cal_timed(ArcBuilder& builder);
// Placeholder pictures of the picture course (36000..36099, 62598, 62599), the lesson course
// (63100..63286) and the home place's visit (60090, 60091).
void image_put_placeholder_cal_places_a(ArcBuilder& builder);
// Large portraits (62000 + person) of the persons past 299 that the scheduled story events and
// the yearly events show first; ids already in the builder are left alone.
void image_put_placeholder_cal_story(ArcBuilder& builder);
// The hands of the event pools' number-calling game (60094..60099).
void image_put_placeholder_cal_pools(ArcBuilder& builder);
// The large portraits that the first year's story handlers show beyond 62000..62299 (62420).
void image_put_placeholder_cal_first_year(ArcBuilder& builder);
// Placeholder pictures of the opening events and their screens (60000..60103, 63500).
void image_put_placeholder_cal_opening(ArcBuilder& builder);
