#!/usr/bin/env bash
# Builds Versemark and shows its main job: the companion's one-file start, which
# writes a lyrics file into an MP3 file as a Lyrics3 v2.00 tag with an ID3v1 block.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

BUILD=build
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVERSEMARK_TESTS=OFF -DVERSEMARK_BENCH=OFF
cmake --build "$BUILD" -j2 --target versemark

# A scratch folder with a short silent MP3 file and a lyrics file as the companion
# keeps them ("artist - title.txt", CR LF lines).
SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/versemark-demo.XXXXXX")
MP3="$SCRATCH/music/Morning Song.mp3"
LYRICS="$SCRATCH/lyrics/The Examples - Morning Song.txt"
mkdir -p "$SCRATCH/music" "$SCRATCH/lyrics"

# 40 MPEG-1 Layer III frames of silence (about one second): a 4-byte frame header
# (128 kbit/s, 44.1 kHz) and 413 zero bytes each.
for _ in $(seq 40); do
    printf '\xff\xfb\x90\x00'
    head -c 413 /dev/zero
done > "$MP3"
printf 'The sun comes up over the hill\r\nAnd the kettle starts to sing\r\n' > "$LYRICS"

echo
echo "Tagging $MP3"
echo "   with $LYRICS"
SIZE_BEFORE=$(stat -c %s "$MP3")
# The marked command line the companion uses; "nms" leaves out the message box.
RESULT=$(VERSEMARK_LOCK_DIR="$SCRATCH" "$BUILD/versemark" \
    "--/w8d" "--/mp3 $MP3" "--/lyr $LYRICS" "--/nms" | tr -d '\r')
echo
echo "$RESULT"
echo "File size: $SIZE_BEFORE bytes before, $(stat -c %s "$MP3") bytes after."
echo "The end of the file now:"
tail -c 400 "$MP3" | tr -d '\r' | tr '\0' '.' | tr -c '[:print:]\n' '?' | fold -w 80
echo
echo "(scratch folder: $SCRATCH)"
case "$RESULT" in
    "File tagged..: "*) exit 0 ;;
    *) exit 1 ;;
esac
