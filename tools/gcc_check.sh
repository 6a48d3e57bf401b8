#!/usr/bin/env bash
# Compiles every source that a build lists in its compile_commands.json with GCC, for GCC's
# diagnostics only (-fsyntax-only, warnings as errors): the sanitized build uses clang, the
# program's release build uses GCC, and both must stay free of warnings.
#   gcc_check.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
pch_dir="$build/gcc_check"
rm -rf "$pch_dir"
mkdir -p "$pch_dir"
# One file of commands, one per line: g++ with the build's include paths, definitions and
# language level, every warning of the project as an error.
python3 - "$build" "$pch_dir" > "$pch_dir/commands" <<'PY'
import json, shlex, sys
build, pch_dir = sys.argv[1], sys.argv[2]
warnings = ["-Wall", "-Wextra", "-Werror", "-Wno-restrict"]
pch_source = None
for entry in json.load(open(build + "/compile_commands.json")):
    args = shlex.split(entry["command"])
    keep = []
    i = 1
    while i < len(args):
        a = args[i]
        if a in ("-I", "-isystem", "-D"):
            keep += [a, args[i + 1]]
            i += 2
            continue
        if a.startswith(("-I", "-isystem", "-D", "-std=")):
            keep.append(a)
        if a == "-include" or (a == "-Xclang" and i + 1 < len(args) and args[i + 1] == "-include"):
            # The precompiled header of the test program: GCC reads its source form.
            header = args[i + 3] if a == "-Xclang" else args[i + 1]
            if header.endswith("cmake_pch.hxx"):
                pch_source = header
                keep += ["-include", pch_dir + "/pch.hxx"]
            i += 4 if a == "-Xclang" else 2
            continue
        i += 1
    cmd = ["g++"] + keep + warnings + ["-fsyntax-only", entry["file"]]
    print(shlex.join(cmd))
if pch_source:
    open(pch_dir + "/pch_source", "w").write(pch_source)
PY
# GCC's own precompiled form of the test program's common header, made once.
if [ -s "$pch_dir/pch_source" ]; then
  grep -v "^#pragma clang" "$(cat "$pch_dir/pch_source")" > "$pch_dir/pch.hxx"
  flags=$(grep -m1 -- "-include $pch_dir/pch.hxx" "$pch_dir/commands" | \
          sed -e "s# -include $pch_dir/pch.hxx##" -e 's# -fsyntax-only .*##' -e 's#^g++ ##')
  # shellcheck disable=SC2086
  g++ $flags -x c++-header "$pch_dir/pch.hxx" -o "$pch_dir/pch.hxx.gch"
fi
jobs="$(nproc)"
if ! xargs -d '\n' -P "$jobs" -I{} sh -c '{} || exit 255' < "$pch_dir/commands"; then
  echo "gcc_check: GCC reported the problems above"
  exit 1
fi
echo "gcc_check: $(wc -l < "$pch_dir/commands") sources clean with $(g++ -dumpfullversion)"
