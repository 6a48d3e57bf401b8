// Small typed ids for the script tables. Texts, images, frames, objects, maps, slots, shops,
// items, persons and story flags are all plain numbers to the engine; in a table of cells each
// kind has its own type with an explicit constructor and a literal suffix, so that a text put
// where a portrait belongs, or two arguments swapped, does not compile:
//     S(10097_t), N(1167_img, 10427_t), obj_to(223_obj, 8), f(-4202_f), buy(3_shop)
#pragma once
#include "engine/types.h"

#define SCRIPT_ID_TYPE(Name, suffix)                                                               \
    struct Name {                                                                                  \
        s32 v = 0;                                                                                 \
        constexpr Name() = default;                                                                \
        constexpr explicit Name(s32 value) : v(value) {}                                           \
        friend constexpr bool operator==(Name, Name) = default;                                    \
    };                                                                                             \
    constexpr Name operator""_##suffix(unsigned long long value) {                                 \
        return Name(s32(value));                                                                   \
    }

SCRIPT_ID_TYPE(TextId, t)
SCRIPT_ID_TYPE(ImageId, img)
SCRIPT_ID_TYPE(FrameId, f)
SCRIPT_ID_TYPE(ObjId, obj)
SCRIPT_ID_TYPE(MapId, map)
SCRIPT_ID_TYPE(SlotId, slot)
SCRIPT_ID_TYPE(ShopId, shop)
SCRIPT_ID_TYPE(ItemId, item)
SCRIPT_ID_TYPE(PersonId, person)
SCRIPT_ID_TYPE(FlagId, flag)

#undef SCRIPT_ID_TYPE

// A mirrored frame is the negative image id: -4202_f.
constexpr FrameId operator-(FrameId f) {
    return FrameId(-f.v);
}
