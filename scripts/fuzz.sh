#!/usr/bin/env bash
# Builds the four libFuzzer targets with clang (address and undefined-behaviour sanitizers on)
# and runs each for a bounded time from the seed corpus in fuzz/corpus.
#   scripts/fuzz.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
out=build-fuzz
mkdir -p "$out"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc)
clang++ "${flags[@]}" fuzz/parser_fuzzer.cpp src/core/numbers.cpp -o "$out/parser_fuzzer"
clang++ "${flags[@]}" fuzz/jpeg_fuzzer.cpp src/core/jpegdecoder.cpp -ljpeg -o "$out/jpeg_fuzzer"
# The sheet loader stands on Qt Core and RapidJSON (headers only, so its parser is instrumented
# with the loader; Qt Core is not).
read -r -a qtcore <<<"$(pkg-config --cflags --libs Qt6Core)"
clang++ "${flags[@]}" -fsanitize-ignorelist=fuzz/rapidjson.ignorelist -fPIC fuzz/sheet_fuzzer.cpp \
  src/estimate/sheetfile.cpp src/estimate/sheetreader.cpp src/estimate/sheet.cpp src/estimate/columns.cpp \
  src/estimate/expression.cpp src/estimate/rooms.cpp \
  src/estimate/decimal.cpp "${qtcore[@]}" \
  -o "$out/sheet_fuzzer"
# A supplier's price list and the catalogue's file, on Qt Core alone.
clang++ "${flags[@]}" -fPIC fuzz/pricelist_fuzzer.cpp src/estimate/pricelist.cpp src/estimate/delimitedtext.cpp \
  src/estimate/priceupdate.cpp src/estimate/pricecatalogue.cpp src/estimate/safefile.cpp \
  src/estimate/sheet.cpp src/estimate/columns.cpp src/estimate/expression.cpp \
  src/estimate/decimal.cpp "${qtcore[@]}" \
  -o "$out/pricelist_fuzzer"
for target in parser jpeg sheet pricelist; do
  work="$out/corpus-$target"
  mkdir -p "$work"
  echo "== $target: ${seconds}s"
  "$out/${target}_fuzzer" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -max_len=$(case $target in (jpeg) echo 65536 ;; (sheet) echo 16384 ;; (pricelist) echo 8192 ;; (*) echo 4096 ;; esac) \
    -print_final_stats=1 "$work" "fuzz/corpus/$target" 2>&1 |
    grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==ERROR|SUMMARY)|cov:' | tail -n 4
  test "${PIPESTATUS[0]}" -eq 0
done
