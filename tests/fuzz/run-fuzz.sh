#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time on a copy of
# its seed corpus. Skipped (77) when clang or libFuzzer is missing.
#   run-fuzz.sh SOURCE-DIR BUILD-DIR [SECONDS-PER-TARGET] [TARGET...]
# Any crash, sanitizer report, time-out or memory blow-up fails the run; the
# input that caused it is left in BUILD-DIR/artifacts.
set -euo pipefail
src=$(realpath "$1")
build=$2
secs=${3:-${VEMLO_FUZZ_SECONDS:-15}}
shift $(($# < 3 ? $# : 3))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(form servervar template wincgi hserver upload frame)
cxx=${CLANGXX:-clang++}
command -v "$cxx" >/dev/null || { echo "$cxx missing: skipped"; exit 77; }
mkdir -p "$build/obj" "$build/artifacts"
build=$(realpath "$build")
flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined
       -I"$src")
# A probe: clang without libFuzzer's run-time cannot build the targets.
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$build/probe.cpp"
"$cxx" -fsanitize=fuzzer "$build/probe.cpp" -o "$build/probe" 2>/dev/null || { echo "no libFuzzer: skipped"; exit 77; }

# The program's parts that the targets reach, compiled once (again when
# their source, or any header of the program, is newer than the object), two
# at a time.
sources=("$src"/gateway/*.cpp "$src/render/Bitar.cpp")
# The frame target runs the whole application module over a test site.
full=()
if [[ " ${targets[*]} " == *" frame "* ]]; then
  for s in "$src"/app/*.cpp "$src"/data/*.cpp "$src"/render/*.cpp "$src"/tags/*.cpp "$src"/tests/support/*.cpp; do
    case $s in */app/main.cpp|*/app/vemlo3lib.cpp|*/app/SmaBlock.cpp|*/render/Bitar.cpp) continue ;; esac
    full+=("$s")
  done
fi
flags+=(-I"$src/tests" -DVEMLO_BINARY=\"/bin/false\" -DVEMLO_SOURCE_DIR=\"$src\")
# The newest header: objects compiled before it may hold an older layout.
header=$(ls -t "$src"/{app,data,gateway,render,tags,tests/support}/*.h | head -n 1)
objects=()
fullobjects=()
for s in "${sources[@]}" "${full[@]}"; do
  o="$build/obj/$(basename "$(dirname "$s")")_$(basename "$s" .cpp).o"
  case " ${full[*]} " in *" $s "*) fullobjects+=("$o") ;; *) objects+=("$o") ;; esac
  [ "$o" -nt "$s" ] && [ "$o" -nt "$header" ] && continue
  while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n; done
  "$cxx" "${flags[@]}" -fsanitize=fuzzer-no-link -c "$s" -o "$o" &
done
while [ "$(jobs -rp | wc -l)" -gt 0 ]; do wait -n || { echo "compile failed"; exit 1; }; done
for o in "${objects[@]}" "${fullobjects[@]}"; do [ -f "$o" ] || { echo "compile failed: $o"; exit 1; }; done

status=0
for t in "${targets[@]}"; do
  exe="$build/fuzz_$t"
  # Linked again when its source or an object it takes is newer.
  if ! [ "$exe" -nt "$src/tests/fuzz/fuzz_$t.cpp" ] || [ -n "$(find "$build/obj" -name '*.o' -newer "$exe" | head -n 1)" ]; then
    extra=()
    [ "$t" = frame ] && extra=("${fullobjects[@]}" -lsqlite3)
    "$cxx" "${flags[@]}" -fsanitize=fuzzer "$src/tests/fuzz/fuzz_$t.cpp" "${objects[@]}" "${extra[@]}" -lfcgi -lpthread -ldl \
      -o "$exe"
  fi
  corpus="$build/corpus-$t"
  rm -rf "$corpus" "$build"/scratch-*
  mkdir -p "$corpus"
  cp "$src/tests/fuzz/corpus/$t"/* "$corpus"/ 2>/dev/null || true
  maxlen=4096
  [ "$t" = upload ] && maxlen=40000
  echo "== fuzz_$t for $secs s"
  mkdir -p "$build/scratch-tmp"
  if ! (cd "$build" && TMPDIR="$build/scratch-tmp" "$exe" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 -max_len=$maxlen \
          -artifact_prefix="$build/artifacts/$t-" -print_final_stats=1 "$corpus" >"$build/fuzz_$t.log" 2>&1); then
    echo "FAIL: fuzz_$t"; tail -40 "$build/fuzz_$t.log"; status=1
  else
    grep -E '^(stat::number_of_executed_units|stat::new_units_added)' "$build/fuzz_$t.log" | tr '\n' ' '; echo
  fi
done
rm -rf "$build"/scratch-*
exit $status
