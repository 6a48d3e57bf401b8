#include "engine/math.h"

#include <cmath>

// ---- Random numbers -------------------------------------------------------------------------

u32 rt_rand_state = 1; // an unseeded generator starts as if seeded with 1
s32 rand_counter = RAND_COUNTER_START;

void rt_srand(u32 seed) {
    rt_rand_state = seed;
}

s32 rt_rand() {
    rt_rand_state = rt_rand_state * 214013u + 2531011u;
    return static_cast<s32>((rt_rand_state >> 16) & 0x7FFF);
}

void rand_stir(u32 amount) {
    rand_counter = static_cast<s32>(static_cast<u32>(rand_counter) + amount);
}

s32 rand_below(s32 n) {
    if (n < 1) return 0;
    rand_stir(1);
    // Every fourth counter value draws twice, so the generator's phase drifts with the counter.
    u32 r = static_cast<u32>(rt_rand());
    if ((rand_counter & 3) == 0) r += static_cast<u32>(rt_rand());
    return static_cast<s32>((r + static_cast<u32>(rand_counter)) % static_cast<u32>(n));
}

// ---- Square root -------------------------------------------------------------------------------

namespace {

constexpr u32 exact_isqrt(u32 v) {
    u32 r = 0;
    while ((r + 1) * (r + 1) <= v) ++r;
    return r;
}

// Entry i = floor(16 x sqrt(i)) = floor(sqrt(256 x i)).
constexpr std::array<u8, 256> make_sqrt_table() {
    std::array<u8, 256> t{};
    for (u32 i = 0; i < 256; ++i) t[i] = static_cast<u8>(exact_isqrt(256 * i));
    return t;
}
constexpr std::array<u8, 256> sqrt_table = make_sqrt_table();
static_assert(sqrt_table[0] == 0 && sqrt_table[1] == 16 && sqrt_table[2] == 22);
static_assert(sqrt_table[3] == 27 && sqrt_table[4] == 32 && sqrt_table[64] == 128);
static_assert(sqrt_table[255] == 255);

// One row per range of n: the index into the table is n shifted by `index_shift` (left when
// negative) and the result the entry shifted by `result_shift` (left when positive).
struct SqrtRange {
    u32 low;
    s32 index_shift;
    s32 result_shift;
};
constexpr SqrtRange sqrt_ranges[] = {
    {0u, -6, -7},      // 0 .. 3: n x 64, table >> 7
    {4u, -4, -6},      // 4 .. 15: n x 16, table >> 6
    {16u, -2, -5},     // 16 .. 63: n x 4, table >> 5
    {64u, 0, -4},      // 64 .. 255
    {256u, 2, -3},     // 256 .. 1023
    {1024u, 4, -2},    // 1024 .. 4095
    {4096u, 6, -1},    // 4096 .. 16383
    {16384u, 8, 0},    // 16384 .. 65535
    {65536u, 10, 1},   // 65536 .. 262143
    {262144u, 12, 2},  // 262144 .. 2^20 - 1
    {1u << 20, 14, 3}, // 2^20 .. 2^22 - 1
    {1u << 22, 16, 4}, // 2^22 .. 2^24 - 1
    {1u << 24, 18, 5}, // 2^24 .. 2^26 - 1
    {1u << 26, 20, 6}, // 2^26 .. 2^28 - 1
    {1u << 28, 22, 7}, // 2^28 .. 2^30 - 1
    {1u << 30, 24, 8}, // 2^30 and above
};

} // namespace

s32 isqrt(u32 n) {
    const SqrtRange* row = &sqrt_ranges[0];
    for (const SqrtRange& r : sqrt_ranges) {
        if (n >= r.low) row = &r;
    }
    const u32 index = row->index_shift >= 0 ? n >> row->index_shift : n << -row->index_shift;
    const u32 entry = sqrt_table[index]; // index < 256 by the choice of the row
    const u32 result =
        row->result_shift >= 0 ? entry << row->result_shift : entry >> -row->result_shift;
    return static_cast<s32>(result);
}

// ---- Directions -------------------------------------------------------------------------------

// These stored values, not a recomputation, are the thresholds: several differ from the exact
// products by one or more, and the angles that walking takes depend on them.
const s32 dir_tangents[DIR_TANGENT_COUNT + 1] = {
    0,      1143,   2288,   3434,   4582,   5733,   6887,   8046,    9210,    10379,
    11555,  12738,  13929,  15129,  16339,  17559,  18791,  20035,   21293,   22565,
    23852,  25156,  26477,  27817,  29177,  30559,  31963,  33391,   34845,   36326,
    37836,  39377,  40950,  42558,  44203,  45888,  47614,  49384,   51201,   53069,
    54990,  56968,  59008,  61112,  63286,  65535,  67863,  70277,   72784,   75389,
    78101,  80929,  83881,  86968,  90201,  93593,  97159,  100915,  104878,  109068,
    113510, 118228, 123253, 128619, 134366, 140540, 147193, 154390,  162204,  170724,
    180055, 190326, 201695, 214354, 228546, 244578, 262844, 283860,  308314,  337143,
    371661, 413763, 466294, 533723, 623500, 749033, 937135, 1250372, 1876417, 3753406,
};

// First i in 1..89 with q < tangent i; 0 when q reaches every entry (within a degree of 90).
static s32 tangent_index(s64 q) {
    for (s32 i = 1; i <= DIR_TANGENT_COUNT; ++i) {
        if (q < dir_tangents[i]) return i;
    }
    return 0;
}

s32 direction_of(s32 dx, s32 dy) {
    if (dx == 0 && dy == 0) return 90;
    // The quotient is the tangent of the angle to the x axis in 16.16. It is formed in 64 bits:
    // map and screen distances keep dy x 65536 within 32 bits anyway, and larger vectors still
    // get their true direction instead of a wrapped one.
    constexpr s64 vertical = 16777216; // stands for an infinite tangent when dx is 0
    const s64 rise = static_cast<s64>(dy) * 65536;
    if (dy < 0) {
        if (dx >= 0) { // up and right
            const s32 i = tangent_index(dx == 0 ? vertical : -rise / dx);
            return i == 0 ? 90 : i - 1;
        }
        const s32 i = tangent_index(rise / dx); // up and left
        return i == 0 ? 90 : 181 - i;
    }
    if (dx < 0) { // down and left, or straight left
        const s32 i = tangent_index(-rise / dx);
        return i == 0 ? 270 : 179 + i;
    }
    const s32 i = tangent_index(dx == 0 ? vertical : rise / dx); // down and right, or right
    if (i == 0) return 270;
    return i == 1 ? 0 : 361 - i;
}

namespace {

// The truncated product v x 65536 with 1.0 kept as 65535. The products that are whole numbers
// (the multiples of 30 and 90 degrees) come out of the floating-point cosine a hair below or
// above their value; a nudge of 1e-6 away from zero keeps them whole, and no other product of
// the table lies that close to a whole number.
s32 step_component(long double v) {
    long double scaled = v * 65536.0L;
    scaled += scaled < 0 ? -1e-6L : 1e-6L;
    s32 t = static_cast<s32>(scaled); // truncates toward zero
    if (t > 65535) t = 65535;
    if (t < -65535) t = -65535;
    return t;
}

std::array<s32, 360> make_step_table(bool x_axis) {
    std::array<s32, 360> t{};
    const long double pi = 3.141592653589793238462643383279502884L;
    for (s32 a = 0; a < 360; ++a) {
        const long double rad = static_cast<long double>(a) * pi / 180.0L;
        t[a] = x_axis ? step_component(std::cos(rad)) : step_component(-std::sin(rad));
    }
    return t;
}

} // namespace

const std::array<s32, 360> dir_step_x = make_step_table(true);
const std::array<s32, 360> dir_step_y = make_step_table(false);

// ---- 3-D module start-up
// -------------------------------------------------------------------------

float trig_sine[TRIG_TABLE_SIZE];
float trig_cosine[TRIG_TABLE_SIZE];
u16* trig_target = nullptr;
u16* trig_depth = nullptr;
float trig_eye[3];
float trig_look_at[3];
float trig_up[3];

void trig_tables_init(u16* back, u16* save) {
    trig_target = back;
    trig_depth = save;
    for (s32 i = 0; i < TRIG_TABLE_SIZE; ++i) {
        const float angle = static_cast<float>(i) * 3.14159f * 360.0f / 4096.0f / 180.0f;
        trig_sine[i] = std::sin(angle);
        trig_cosine[i] = std::cos(angle);
    }
    trig_eye[0] = 0.0f;
    trig_eye[1] = 0.0f;
    trig_eye[2] = -350.0f;
    trig_look_at[0] = trig_look_at[1] = trig_look_at[2] = 0.0f;
    trig_up[0] = 0.0f;
    trig_up[1] = 1.0f;
    trig_up[2] = 0.0f;
}
