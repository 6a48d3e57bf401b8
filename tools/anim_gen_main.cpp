// anim_gen: turns the readable animation description (data/animations.txt) into the animation
// library's bytes and a C++ file that embeds them in the program.
//
//   anim_gen DESCRIPTION OUT.cpp [OUT.bin]
//
// OUT.bin, when named, holds the 4097 little-endian u32 slot offsets followed by the library.
//
// The description is line based; `#` starts a comment. Numbers are expressions without spaces:
// integers, variables, + - * / % and parentheses. Variables: `s` the slot being built, `i` its
// index within the slot range of its `anim` line, `f` the index of the innermost `repeat`, and
// the parameters of a pattern.
//
//   define NAME PARAM...        a pattern: the lines up to its `end`
//   anim SLOTS [NAME ARG...]    builds slots SLOTS (N, A-B or A-B/STEP) from pattern NAME, or
//                               from the lines that follow up to the next `anim` or `define`
//   repeat COUNT ... end        runs the lines COUNT times with f = 0..COUNT-1
//   frame [DX DY]               starts a frame at offset (DX, DY)
//   link SLOT                   the current frame starts overlay animation SLOT
//   body|add|mbody|madd|shadow|mshadow|hidden IMAGE [DX DY]
//                               a part: kinds 0x00, 0x01, 0x80, 0x81, 0x40, 0x41, 0x20
//   sound ID                    a sound part (kind 0x33)
//
// Any line inside a pattern or an animation may end in `when VAR=A` or `when VAR=A..B`: it then
// counts only while the variable is in that range.
//
// The library keeps the limits of the game's own: at most 59 frames an animation and 8 parts a
// frame, image ids 1..65172, sound ids 701..999, and links only to slots that are built.
#include "engine/anim.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr s32 MAX_FRAMES = 59;
constexpr s32 MAX_PARTS = 8;
constexpr s32 MIN_IMAGE = 1, MAX_IMAGE = 65172;
constexpr s32 MIN_SOUND = 701, MAX_SOUND = 999;

struct Line {
    s32 number = 0;
    std::vector<std::string> words;
};

struct Pattern {
    std::vector<std::string> params;
    std::vector<Line> lines;
};

struct Part {
    s32 dx, dy;
    u32 kind_id;
};
struct Frame {
    s32 dx = 0, dy = 0, link = 0;
    std::vector<Part> parts;
};
struct Anim {
    s32 line = 0;
    std::vector<Frame> frames;
};

using Env = std::map<std::string, s64>;

[[noreturn]] void fail(s32 line, const std::string& message) {
    throw std::runtime_error("line " + std::to_string(line) + ": " + message);
}

// ---- Expressions -------------------------------------------------------------------------------
class Expr {
  public:
    Expr(const std::string& text, const Env& env, s32 line) : s_(text), env_(env), line_(line) {}
    s64 value() {
        const s64 v = sum();
        if (pos_ != s_.size()) fail(line_, "bad expression '" + s_ + "'");
        return v;
    }

  private:
    s64 sum() {
        s64 v = product();
        while (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) {
            const char op = s_[pos_++];
            const s64 r = product();
            v = op == '+' ? v + r : v - r;
        }
        return v;
    }
    s64 product() {
        s64 v = unary();
        while (pos_ < s_.size() && (s_[pos_] == '*' || s_[pos_] == '/' || s_[pos_] == '%')) {
            const char op = s_[pos_++];
            const s64 r = unary();
            if (op != '*' && r == 0) fail(line_, "division by zero in '" + s_ + "'");
            v = op == '*' ? v * r : op == '/' ? v / r : v % r;
        }
        return v;
    }
    s64 unary() {
        if (pos_ < s_.size() && s_[pos_] == '-') {
            ++pos_;
            return -unary();
        }
        if (pos_ < s_.size() && s_[pos_] == '(') {
            ++pos_;
            const s64 v = sum();
            if (pos_ >= s_.size() || s_[pos_] != ')') fail(line_, "missing ) in '" + s_ + "'");
            ++pos_;
            return v;
        }
        const size_t start = pos_;
        if (pos_ < s_.size() && std::isdigit(u8(s_[pos_]))) {
            while (pos_ < s_.size() && std::isalnum(u8(s_[pos_]))) ++pos_;
            try {
                size_t used = 0;
                const s64 v = std::stoll(s_.substr(start, pos_ - start), &used, 0);
                if (used != pos_ - start) throw std::invalid_argument("");
                return v;
            } catch (const std::exception&) {
                fail(line_, "bad number in '" + s_ + "'");
            }
        }
        while (pos_ < s_.size() && (std::isalnum(u8(s_[pos_])) || s_[pos_] == '_')) ++pos_;
        if (start == pos_) fail(line_, "bad expression '" + s_ + "'");
        const auto it = env_.find(s_.substr(start, pos_ - start));
        if (it == env_.end()) fail(line_, "unknown name '" + s_.substr(start, pos_ - start) + "'");
        return it->second;
    }

    const std::string& s_;
    const Env& env_;
    s32 line_;
    size_t pos_ = 0;
};

s64 eval(const std::string& text, const Env& env, s32 line) {
    return Expr(text, env, line).value();
}

// ---- Reading -----------------------------------------------------------------------------------
std::vector<Line> read_lines(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<Line> lines;
    std::string text;
    for (s32 number = 1; std::getline(in, text); ++number) {
        const size_t hash = text.find('#');
        if (hash != std::string::npos) text.erase(hash);
        Line line{number, {}};
        std::istringstream words(text);
        for (std::string w; words >> w;) line.words.push_back(w);
        if (!line.words.empty()) lines.push_back(line);
    }
    return lines;
}

struct SlotRange {
    s32 first, last, step;
};

SlotRange parse_slots(const std::string& text, s32 line) {
    SlotRange r{0, 0, 1};
    std::string rest = text;
    const size_t slash = rest.find('/');
    if (slash != std::string::npos) {
        r.step = s32(eval(rest.substr(slash + 1), {}, line));
        rest.erase(slash);
    }
    const size_t dash = rest.find('-');
    if (dash != std::string::npos) {
        r.first = s32(eval(rest.substr(0, dash), {}, line));
        r.last = s32(eval(rest.substr(dash + 1), {}, line));
    } else {
        r.first = r.last = s32(eval(rest, {}, line));
    }
    if (r.first < 0 || r.last >= ANIM_SLOTS || r.first > r.last || r.step < 1)
        fail(line, "bad slot range '" + text + "'");
    return r;
}

// ---- Building ----------------------------------------------------------------------------------
class Builder {
  public:
    // Runs lines [from, to) into `anim` under `env`.
    void run(const std::vector<Line>& lines, size_t from, size_t to, Env& env, Anim& anim) {
        for (size_t k = from; k < to; ++k) {
            const Line& line = lines[k];
            std::vector<std::string> w = line.words;
            if (w[0] == "repeat") {
                const size_t close = matching_end(lines, k, to);
                if (w.size() != 2) fail(line.number, "repeat takes a count");
                const s64 count = eval(w[1], env, line.number);
                const bool had = env.count("f") != 0;
                const s64 outer = had ? env["f"] : 0;
                for (s64 f = 0; f < count; ++f) {
                    env["f"] = f;
                    run(lines, k + 1, close, env, anim);
                }
                if (had)
                    env["f"] = outer;
                else
                    env.erase("f");
                k = close;
                continue;
            }
            if (w[0] == "end") fail(line.number, "end without repeat");
            if (!holds(w, env, line.number)) continue;
            statement(w, env, line.number, anim);
        }
    }

  private:
    static size_t matching_end(const std::vector<Line>& lines, size_t open, size_t to) {
        s32 depth = 0;
        for (size_t k = open; k < to; ++k) {
            if (lines[k].words[0] == "repeat") ++depth;
            if (lines[k].words[0] == "end" && --depth == 0) return k;
        }
        fail(lines[open].number, "repeat without end");
    }

    // Strips a trailing `when VAR=A[..B]` and says whether the line counts.
    static bool holds(std::vector<std::string>& w, const Env& env, s32 line) {
        if (w.size() < 2 || w[w.size() - 2] != "when") return true;
        const std::string cond = w.back();
        w.resize(w.size() - 2);
        const size_t eq = cond.find('=');
        if (eq == std::string::npos) fail(line, "bad condition '" + cond + "'");
        const s64 v = eval(cond.substr(0, eq), env, line);
        const std::string range = cond.substr(eq + 1);
        const size_t dots = range.find("..");
        const s64 lo = eval(range.substr(0, dots), env, line);
        const s64 hi = dots == std::string::npos ? lo : eval(range.substr(dots + 2), env, line);
        return v >= lo && v <= hi;
    }

    static s32 s16_value(const std::string& text, const Env& env, s32 line) {
        const s64 v = eval(text, env, line);
        if (v < -32768 || v > 32767) fail(line, "offset " + std::to_string(v) + " is not 16-bit");
        return s32(v);
    }

    void statement(const std::vector<std::string>& w, const Env& env, s32 line, Anim& anim) {
        static const std::map<std::string, u32> part_kinds = {
            {"body", ANIM_KIND_BODY},           {"add", ANIM_KIND_ADD},
            {"mbody", ANIM_KIND_BODY_MIRRORED}, {"madd", ANIM_KIND_ADD_MIRRORED},
            {"shadow", ANIM_KIND_SHADOW},       {"mshadow", ANIM_KIND_SHADOW_MIRRORED},
            {"hidden", ANIM_KIND_HIDDEN},
        };
        const std::string& op = w[0];
        if (op == "frame") {
            if (w.size() != 1 && w.size() != 3) fail(line, "frame takes no offset or DX DY");
            Frame f;
            if (w.size() == 3) {
                f.dx = s16_value(w[1], env, line);
                f.dy = s16_value(w[2], env, line);
            }
            anim.frames.push_back(f);
            if (anim.frames.size() > MAX_FRAMES) fail(line, "more than 59 frames");
            return;
        }
        if (anim.frames.empty()) fail(line, "'" + op + "' before the first frame");
        Frame& frame = anim.frames.back();
        if (op == "link") {
            if (w.size() != 2) fail(line, "link takes a slot");
            const s64 slot = eval(w[1], env, line);
            if (slot < 1 || slot >= ANIM_SLOTS) fail(line, "link slot outside 1..4095");
            frame.link = s32(slot);
            links_.push_back({line, s32(slot)});
            return;
        }
        Part part{0, 0, 0};
        if (op == "sound") {
            if (w.size() != 2) fail(line, "sound takes an id");
            const s64 id = eval(w[1], env, line);
            if (id < MIN_SOUND || id > MAX_SOUND) fail(line, "sound id outside 701..999");
            part.kind_id = anim_kind_id(ANIM_KIND_SOUND, u32(id));
        } else {
            const auto kind = part_kinds.find(op);
            if (kind == part_kinds.end()) fail(line, "unknown statement '" + op + "'");
            if (w.size() != 2 && w.size() != 4) fail(line, op + " takes IMAGE [DX DY]");
            const s64 id = eval(w[1], env, line);
            if (id < MIN_IMAGE || id > MAX_IMAGE) fail(line, "image id outside 1..65172");
            part.kind_id = anim_kind_id(kind->second, u32(id));
            if (w.size() == 4) {
                part.dx = s16_value(w[2], env, line);
                part.dy = s16_value(w[3], env, line);
            }
        }
        frame.parts.push_back(part);
        if (frame.parts.size() > MAX_PARTS) fail(line, "more than 8 parts in a frame");
    }

  public:
    std::vector<std::pair<s32, s32>> links_; // {line, slot} of every link, checked at the end
};

void put_u16(std::vector<u8>& out, u32 v) {
    out.push_back(u8(v));
    out.push_back(u8(v >> 8));
}
void put_u32(std::vector<u8>& out, u32 v) {
    put_u16(out, v & 0xFFFF);
    put_u16(out, v >> 16);
}

std::vector<u8> encode(const Anim& a) {
    std::vector<u8> out;
    out.push_back(u8(a.frames.size()));
    for (const Frame& f : a.frames) {
        put_u16(out, u16(s16(f.dx)));
        put_u16(out, u16(s16(f.dy)));
        put_u16(out, u16(f.link));
        put_u16(out, u16(f.parts.size()));
        for (const Part& p : f.parts) {
            put_u16(out, u16(s16(p.dx)));
            put_u16(out, u16(s16(p.dy)));
            put_u32(out, p.kind_id);
        }
    }
    return out;
}

void build(const std::string& description, std::vector<u8>& library, std::vector<u32>& offsets) {
    const std::vector<Line> lines = read_lines(description);
    std::map<std::string, Pattern> patterns;
    std::map<s32, Anim> anims;
    Builder builder;

    for (size_t k = 0; k < lines.size();) {
        const Line& line = lines[k];
        const std::string& op = line.words[0];
        if (op == "define") {
            if (line.words.size() < 2) fail(line.number, "define takes a name");
            Pattern p;
            p.params.assign(line.words.begin() + 2, line.words.end());
            s32 depth = 1;
            size_t j = k + 1;
            for (; j < lines.size(); ++j) {
                const std::string& w = lines[j].words[0];
                if (w == "define" || w == "anim") fail(lines[j].number, "missing end of define");
                if (w == "repeat") ++depth;
                if (w == "end" && --depth == 0) break;
                p.lines.push_back(lines[j]);
            }
            if (j == lines.size()) fail(line.number, "missing end of define");
            if (!patterns.emplace(line.words[1], p).second)
                fail(line.number, "pattern " + line.words[1] + " defined twice");
            k = j + 1;
            continue;
        }
        if (op != "anim") fail(line.number, "expected anim or define, found '" + op + "'");
        if (line.words.size() < 2) fail(line.number, "anim takes slots");
        const SlotRange range = parse_slots(line.words[1], line.number);
        // The inline body: every line up to the next anim or define.
        size_t j = k + 1;
        while (j < lines.size() && lines[j].words[0] != "anim" && lines[j].words[0] != "define")
            ++j;
        const bool inline_body = line.words.size() == 2;
        if (inline_body == (j == k + 1)) {
            fail(line.number,
                 inline_body ? "anim without frames" : "a pattern's anim takes no lines");
        }
        for (s32 slot = range.first, index = 0; slot <= range.last; slot += range.step, ++index) {
            Env env{{"s", slot}, {"i", index}};
            Anim anim;
            anim.line = line.number;
            if (inline_body) {
                builder.run(lines, k + 1, j, env, anim);
            } else {
                const auto it = patterns.find(line.words[2]);
                if (it == patterns.end()) fail(line.number, "unknown pattern " + line.words[2]);
                const Pattern& p = it->second;
                if (line.words.size() - 3 != p.params.size())
                    fail(line.number, "pattern " + line.words[2] + " takes " +
                                          std::to_string(p.params.size()) + " arguments");
                Env call = env;
                for (size_t a = 0; a < p.params.size(); ++a)
                    call[p.params[a]] = eval(line.words[3 + a], env, line.number);
                builder.run(p.lines, 0, p.lines.size(), call, anim);
            }
            if (anim.frames.empty())
                fail(line.number, "slot " + std::to_string(slot) + " has no frames");
            if (!anims.emplace(slot, anim).second)
                fail(line.number, "slot " + std::to_string(slot) + " built twice");
        }
        k = j;
    }
    for (const auto& [line, slot] : builder.links_) {
        if (!anims.count(slot))
            fail(line, "link to slot " + std::to_string(slot) + ", which is not built");
    }

    offsets.assign(ANIM_SLOTS + 1, 0);
    for (s32 slot = 0; slot < ANIM_SLOTS; ++slot) {
        offsets[slot] = u32(library.size());
        const auto it = anims.find(slot);
        if (it == anims.end()) continue;
        const std::vector<u8> bytes = encode(it->second);
        library.insert(library.end(), bytes.begin(), bytes.end());
    }
    offsets[ANIM_SLOTS] = u32(library.size());
    if (library.empty()) throw std::runtime_error("the description builds no animation");
    std::printf("anim_gen: %zu animations, %zu bytes\n", anims.size(), library.size());
}

void write_cpp(const std::string& path, const std::string& description,
               const std::vector<u8>& library, const std::vector<u32>& offsets) {
    std::ostringstream out;
    // Named by its folder and file, not by the build machine's path.
    const size_t slash = description.rfind('/', description.rfind('/') - 1);
    const std::string name =
        slash == std::string::npos ? description : description.substr(slash + 1);
    out << "// Generated by anim_gen from " << name << ": do not edit.\n"
        << "#include \"engine/anim.h\"\n\n"
        << "const u32 anim_builtin_size = " << library.size() << ";\n\n"
        << "const u32 anim_builtin_offsets[ANIM_SLOTS + 1] = {\n";
    for (size_t k = 0; k < offsets.size(); ++k)
        out << (k % 10 == 0 ? "    " : " ") << offsets[k] << "," << (k % 10 == 9 ? "\n" : "");
    out << "\n};\n\nconst u8 anim_builtin_library[] = {\n";
    char hex[8];
    for (size_t k = 0; k < library.size(); ++k) {
        std::snprintf(hex, sizeof hex, "0x%02x,", library[k]);
        out << (k % 16 == 0 ? "    " : " ") << hex << (k % 16 == 15 ? "\n" : "");
    }
    out << "\n};\n";
    std::ofstream file(path, std::ios::binary);
    file << out.str();
    if (!file) throw std::runtime_error("cannot write " + path);
}

void write_bin(const std::string& path, const std::vector<u8>& library,
               const std::vector<u32>& offsets) {
    std::vector<u8> out;
    for (u32 o : offsets) put_u32(out, o);
    out.insert(out.end(), library.begin(), library.end());
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: anim_gen DESCRIPTION OUT.cpp [OUT.bin]\n");
        return 2;
    }
    try {
        std::vector<u8> library;
        std::vector<u32> offsets;
        build(argv[1], library, offsets);
        write_cpp(argv[2], argv[1], library, offsets);
        if (argc == 4) write_bin(argv[3], library, offsets);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "anim_gen: %s: %s\n", argv[1], e.what());
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
