#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time (10 seconds each,
# under two minutes in all); a finding fails the run and leaves its input in the artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${FUZZ_BUILD:-build-fuzz}
SECONDS_EACH=${FUZZ_SECONDS:-10}
TARGETS=(RecogniserFuzzer DvhFileFuzzer DvhTextBlocksFuzzer IniFileFuzzer PlanListFileFuzzer ModFileFuzzer
         StructureSetFuzzer SettingsFuzzer WholePlanFuzzer ClipboardFuzzer ImportReadersFuzzer)

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is not installed; fuzzing skipped"
  exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf '#include <cstdint>\n#include <cstddef>\nextern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }\n' >"$probe/p.cpp"
if ! clang++ -fsanitize=fuzzer "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
  echo "fuzz: clang++ has no libFuzzer; fuzzing skipped"
  exit 0
fi

cmake -S . -B "$BUILD" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSARAY_FUZZ=ON -DTESSARAY_CORE_ONLY=ON -DTESSARAY_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j "${JOBS:-$(nproc)}" --target "${TARGETS[@]}"

mkdir -p "$BUILD/artifacts"
for target in "${TARGETS[@]}"; do
  corpus="$BUILD/corpus/$target"
  mkdir -p "$corpus"
  echo "fuzz: $target for ${SECONDS_EACH} s"
  # The examples and the broken files seed the corpus, and so do the target's own inputs in
  # fuzz/corpus (every input a run once found at fault), so that each run tries them again; new
  # inputs go to the first folder, never to the sources.
  seeds=(examples tests/data/broken)
  if [ -d "fuzz/corpus/$target" ]; then seeds+=("fuzz/corpus/$target"); fi
  log="$BUILD/artifacts/$target.log"
  if ! "$BUILD/fuzz/$target" -max_total_time="$SECONDS_EACH" -max_len=131072 -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$BUILD/artifacts/$target-" \
      "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz: $target found a fault; its input is in $BUILD/artifacts/"
    exit 1
  fi
  tail -n 8 "$log"
done
echo "fuzz: no finding"
