#!/usr/bin/env bash
# Times imprix-batch against the floor of any JPEG dating tool, libjpeg-turbo's own decode and encode
# (djpeg | cjpeg), and against ImageMagick drawing the date, on the same camera-sized photos in one run:
# imprix-batch encoding the whole picture (--no-lossless, at quality 60) with the shipped Simple.tpl (a
# date in the corner) and Caption.tpl (white space below the photo), and keeping the photo's own JPEG
# data outside the date (--lossless, the default, at the photo's own quality), and jpegtran copying the
# photo without loss, the least any copy that decodes and encodes all of the photo's entropy-coded data
# can cost.
# The commands take turns over several rounds; medians are printed with the peak memory of each (also
# in decoded pictures of the photo's size) and their ratios to the floor, then the throughput of
# --jobs 1 against --jobs 2. Run it by hand on a quiet machine; it is not a test. A full run takes a
# few minutes on two cores.
#
#   bench/compare.sh                         builds what it runs with the default preset if needed
#   IMPRIX_BUILD_DIR=DIR bench/compare.sh    uses (and builds) imprix-batch in another build folder
#   IMPRIX_BATCH=FILE                        times that imprix-batch instead (an earlier one, to compare)
#   IMPRIX_BATCH_BEFORE=FILE                 also times that one's whole road beside this one's, in the
#                                            same rounds (an earlier build: the figures before a change)
#   ROUNDS=N (default 7), SIZES="24 12 6" (megapixels of the photos), IMPRIX_BENCH_DIR=DIR to keep the
#   photos and copies (default: a temporary folder)
#
# Every program but the lossless road writes at quality 60.
#
# Where a small photo's time goes (6 MP, Simple.tpl, one process, clock from exec): main() is reached
# after some 25 ms (the dynamic loader mapping and relocating Qt Gui's 49 libraries), QGuiApplication
# takes 5 ms, the template, the Exif and the JPEG header 4 ms, and decoding then runs 36 ms (djpeg
# alone: 37 ms) with the encoder beside it; the copy is written 6 ms after the last row. The floor's
# whole run is some 60 ms, so the start-up alone is the difference at 6 MP.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
rounds="${ROUNDS:-7}"
quality=60
date_text="'01  6  21"

# --- what the comparison needs ------------------------------------------------------------------
need_packages=()
command -v djpeg >/dev/null && command -v cjpeg >/dev/null && command -v jpegtran >/dev/null ||
  need_packages+=(libjpeg-turbo-progs)
command -v convert-im6.q16 >/dev/null || need_packages+=(imagemagick)
[ -x /usr/bin/time ] || need_packages+=(time)
if [ ${#need_packages[@]} -gt 0 ]; then
  echo "Installing: ${need_packages[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${need_packages[@]}"
fi

if [ -n "${IMPRIX_BUILD_DIR:-}" ]; then
  build="$(cd "$IMPRIX_BUILD_DIR" && pwd)"
  cmake --build "$build" --target imprix-batch imprix-make-demo >/dev/null
else
  build="$root/build/default"
  (cd "$root" && { [ -f "$build/CMakeCache.txt" ] || cmake --preset default >/dev/null; } &&
    cmake --build --preset default --target imprix-batch imprix-make-demo >/dev/null)
fi
batch="${IMPRIX_BATCH:-$build/bin/imprix-batch}"
make_photo="$build/tools/imprix-make-demo"
before="${IMPRIX_BATCH_BEFORE:-}"
template="$root/src/res/templates/Simple.tpl"
caption="$root/src/res/templates/Caption.tpl"
for f in "$batch" "$make_photo" "$template" "$caption" ${before:+"$before"}; do
  [ -e "$f" ] || { echo "compare.sh: $f is missing" >&2; exit 1; }
done

if [ -n "${IMPRIX_BENCH_DIR:-}" ]; then
  work="$IMPRIX_BENCH_DIR"
  mkdir -p "$work"
else
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
fi

# --- the photos: ten of each size, textured like a camera's, with its Exif -----------------------
read -r -a sizes <<<"${SIZES:-24 12 6}"
declare -A dimensions=([24]=6000x4000 [12]=4000x3000 [6]=3000x2000)
for mp in "${sizes[@]}"; do
  mkdir -p "$work/photos$mp" "$work/out$mp"
  first="$work/photos$mp/IMG_0001.jpg"
  if [ ! -f "$first" ]; then
    if ! QT_QPA_PLATFORM=offscreen "$make_photo" "$first" --size "${dimensions[$mp]}" --textured --quality 92 \
      2>"$work/make_photo.log"; then
      cat "$work/make_photo.log" >&2
      exit 1
    fi
    for i in 02 03 04 05 06 07 08 09 10; do cp "$first" "$work/photos$mp/IMG_00$i.jpg"; done
  fi
done

# --- timing ----------------------------------------------------------------------------------------
samples="$work/samples"
rm -rf "$samples"
mkdir -p "$samples"

# run KEY COMMAND...: one timed run; appends "wall cpu maxrss_kib" to the key's samples.
run() {
  local key="$1"
  shift
  local usage="$samples/usage" start end
  start=$EPOCHREALTIME
  if ! /usr/bin/time -f '%U %S %M' -o "$usage" "$@" >/dev/null 2>"$samples/stderr"; then
    echo "compare.sh: failed: $*" >&2
    cat "$samples/stderr" >&2
    exit 1
  fi
  end=$EPOCHREALTIME
  read -r user sys rss <"$usage"
  echo "$start $end $user $sys $rss" | awk '{ printf "%.4f %.3f %d\n", $2 - $1, $3 + $4, $5 }' >>"$samples/$key"
}

names=(floor jpegtran single caption whole10 lossless magick ten1 ten2)
[ -n "$before" ] && names+=(single_before caption_before)
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
echo "Timing ${#names[@]} commands on ${sizes[*]} MP photos, $rounds rounds ($(nproc) cores, load $load_before)..."
for ((r = 0; r < rounds; r++)); do
  for mp in "${sizes[@]}"; do
    # Each round starts one command further on, so none always runs first.
    for ((k = 0; k < ${#names[@]}; k++)); do
      name="${names[$(((k + r) % ${#names[@]}))]}"
      case "$name" in
      floor) run "$name$mp" sh -c "djpeg '$work/photos$mp/IMG_0001.jpg' | cjpeg -quality $quality >'$work/out$mp/floor.jpg'" ;;
      jpegtran) run "$name$mp" jpegtran -copy all -outfile "$work/out$mp/jpegtran.jpg" "$work/photos$mp/IMG_0001.jpg" ;;
      magick) run "$name$mp" convert-im6.q16 "$work/photos$mp/IMG_0001.jpg" -font DejaVu-Sans -fill orange -pointsize 120 \
        -annotate +100+200 "$date_text" -quality $quality "$work/out$mp/magick.jpg" ;;
      single) run "$name$mp" "$batch" --template "$template" --out-dir "$work/out$mp/single" \
        --no-lossless --quality $quality --jobs 1 "$work/photos$mp/IMG_0001.jpg" ;;
      caption) run "$name$mp" "$batch" --template "$caption" --out-dir "$work/out$mp/caption" \
        --no-lossless --quality $quality --jobs 1 "$work/photos$mp/IMG_0001.jpg" ;;
      single_before) run "$name$mp" "$before" --template "$template" --out-dir "$work/out$mp/single_before" \
        --no-lossless --quality $quality --jobs 1 "$work/photos$mp/IMG_0001.jpg" ;;
      caption_before) run "$name$mp" "$before" --template "$caption" --out-dir "$work/out$mp/caption_before" \
        --no-lossless --quality $quality --jobs 1 "$work/photos$mp/IMG_0001.jpg" ;;
      lossless) run "$name$mp" "$batch" --template "$template" --out-dir "$work/out$mp/lossless" \
        --lossless --jobs 1 "$work/photos$mp/IMG_0001.jpg" ;;
      whole10) run "$name$mp" "$batch" --template "$template" --out-dir "$work/out$mp/$name" \
        --no-lossless --quality $quality --jobs 1 "$work/photos$mp" ;;
      ten1 | ten2) run "$name$mp" "$batch" --template "$template" --out-dir "$work/out$mp/$name" \
        --lossless --jobs "${name#ten}" "$work/photos$mp" ;;
      esac
    done
  done
done
load_after="$(cut -d' ' -f1-3 /proc/loadavg)"

# median KEY COLUMN [DIVISOR]
median() {
  sort -n -k"$2" "$samples/$1" | awk -v c="$2" -v d="${3:-1}" '{ v[NR] = $c } END {
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.4f", m / d }'
}

# --- report ------------------------------------------------------------------------------------------
echo
echo "Medians of $rounds rounds; load average before $load_before, after $load_after ($(nproc) cores)."
echo "Seconds per photo: wall clock and CPU (user + system; the floor's two processes run side by side,"
echo "so its wall time can be below its CPU time). Peak memory: the largest process's maximum RSS."
for mp in "${sizes[@]}"; do
  photo="$work/photos$mp/IMG_0001.jpg"
  read -r w h <<<"${dimensions[$mp]/x/ }"
  decoded_mib=$((w * h * 4 / 1048576))
  printf '\n%s MP photo, %s, %s KiB; a decoded picture (4 bytes a pixel) is %s MiB\n' \
    "$mp" "${dimensions[$mp]}" "$(($(stat -c %s "$photo") / 1024))" "$decoded_mib"
  printf '  %-48s %8s %8s %8s %8s %9s %8s\n' "command" "wall s" "x floor" "CPU s" "x floor" "peak MiB" "pictures"
  floor_wall="$(median "floor$mp" 1)"
  floor_cpu="$(median "floor$mp" 2)"
  line() {
    local label="$1" key="$2" divisor="$3" wall cpu rss
    wall="$(median "$key" 1 "$divisor")"
    cpu="$(median "$key" 2 "$divisor")"
    rss="$(median "$key" 3 1024)"
    awk -v l="$label" -v w="$wall" -v c="$cpu" -v r="$rss" -v fw="$floor_wall" -v fc="$floor_cpu" -v p="$decoded_mib" \
      'BEGIN { printf "  %-48s %8.3f %8.2f %8.3f %8.2f %9.0f %8.2f\n", l, w, w / fw, c, c / fc, r, r / p }'
  }
  line "djpeg | cjpeg -quality $quality (the floor)" "floor$mp" 1
  line "jpegtran -copy all (a lossless copy, no date)" "jpegtran$mp" 1
  line "imprix-batch --no-lossless Simple.tpl" "single$mp" 1
  line "imprix-batch --no-lossless Caption.tpl (6:5)" "caption$mp" 1
  if [ -n "$before" ]; then
    line "  before: --no-lossless Simple.tpl" "single_before$mp" 1
    line "  before: --no-lossless Caption.tpl (6:5)" "caption_before$mp" 1
  fi
  line "imprix-batch --no-lossless, ten in one (per photo)" "whole10$mp" 10
  line "imprix-batch --lossless, one photo" "lossless$mp" 1
  line "imprix-batch --lossless, ten in one (per photo)" "ten1$mp" 10
  line "ImageMagick convert -annotate" "magick$mp" 1
  # Caption.tpl's work picture is a quarter larger than a 3:2 photo (6:5): the white space below it.
  awk -v s="$(median "single$mp" 1)" -v c="$(median "caption$mp" 1)" -v r="$(median "caption$mp" 3 1024)" \
    -v p="$decoded_mib" 'BEGIN {
    printf "  Caption.tpl against Simple.tpl: %.2f times the time; peak memory %.2f decoded photos, %.2f work pictures\n",
      c / s, r / p, r / (p * 1.25) }'
  ten1="$(median "ten1$mp" 1)"
  ten2="$(median "ten2$mp" 1)"
  rss2="$(median "ten2$mp" 3 1024)"
  awk -v a="$ten1" -v b="$ten2" -v r="$rss2" 'BEGIN {
    printf "  ten photos --lossless: --jobs 1 %.2f photos/s, --jobs 2 %.2f photos/s (%.0f MiB peak): %.2f times\n",
      10 / a, 10 / b, r, a / b }'
done
echo
echo "Goals: the whole road (--no-lossless Simple.tpl, one photo per process) at most 0.95 x the floor on"
echo "24 MP and 1.25 x on 6 MP; Caption.tpl at most 1.1 x Simple.tpl with at most 1.3 decoded pictures of"
echo "peak memory; the lossless road at most 0.65 x on 24 MP; --jobs 2 at least 1.8 times the throughput"
echo "of --jobs 1."
