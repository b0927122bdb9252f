#!/bin/sh
# Pictures as they come from the field, through the game's picture readers:
#   pictures.sh BIN_DIR OUT_DIR
# Makes its files with ImageMagick's convert, jpegtran, head, od, dd and
# printf into OUT_DIR and checks each with `virko-tool check-file`.
set -u
. "$(dirname "$0")/field-lib.sh"
field_init "$@"
field_needs convert jpegtran
cd "$FIELD_OUT" || exit 2

# --- JPG: a picture with detail, its Huffman- and arithmetic-coded forms ---
convert -size 96x64 gradient:'#c03020-#2040e0' -swirl 120 -quality 90 base.jpg
jpegtran -optimize base.jpg >huffman.jpg
jpegtran -progressive base.jpg >huffman-progressive.jpg
jpegtran -arithmetic base.jpg >arithmetic.jpg
jpegtran -arithmetic -progressive base.jpg >arithmetic-progressive.jpg

field_baseline jpg huffman.jpg

# cut_jpg FILE: cuts at 80 lengths over the whole file and at each of its
# last 8 bytes. Arithmetic-coded data may run into a marker unnoticed, so
# every cut of such a file is refused; a Huffman-coded cut is either refused
# or, when only the end marker went, the whole picture.
cut_jpg() {
  whole=$1
  size=$(file_size "$whole")
  expect_clean jpg "$whole"
  pixels=$(field_value "$whole" pixels)
  step=$((size / 80 + 1))
  lengths=$(seq 0 "$step" $((size - 1)); seq $((size - 8)) $((size - 1)))
  refused=0
  for length in $(echo "$lengths" | sort -un); do
    cut=${whole%.jpg}-cut$length.jpg
    head -c "$length" "$whole" >"$cut"
    case $whole in
      arithmetic*) expect_refused jpg "$cut" "" ;;
      *)
        field_check jpg "$cut"
        if [ "$FIELD_STATUS" = 0 ] && [ "$(field_value "$cut" pixels)" != "$pixels" ]; then
          field_fail "$cut: read, but not the whole picture"
        fi
        ;;
    esac
    [ "$FIELD_STATUS" = 1 ] && refused=$((refused + 1))
    rm -f "$cut" "$cut.json"
  done
  echo "$whole: $size bytes, $refused of $(echo "$lengths" | sort -un | wc -l) cuts refused"
}
for file in arithmetic.jpg arithmetic-progressive.jpg huffman.jpg huffman-progressive.jpg; do
  cut_jpg "$file"
done

# sof_offset FILE: where the frame header (FFC0, FFC2, FFC9 or FFCA) starts.
sof_offset() {
  od -An -tu1 -v "$1" | tr -s ' ' '\n' | grep -v '^$' |
    awk 'prev == 255 && ($1 == 192 || $1 == 194 || $1 == 201 || $1 == 202) { print NR - 2; exit }
         { prev = $1 }'
}

# Bombs: a few hundred bytes announcing 16384 x 2048 pixels. Refused before
# any memory is taken for the picture, and at once.
convert -size 16x16 xc:'#a06040' -quality 75 small.jpg
jpegtran -optimize -copy none small.jpg >bomb-huffman.jpg
jpegtran -optimize -progressive -copy none small.jpg >bomb-progressive.jpg
jpegtran -arithmetic -copy none small.jpg >bomb-arithmetic.jpg
for bomb in bomb-huffman.jpg bomb-progressive.jpg bomb-arithmetic.jpg; do
  offset=$(sof_offset "$bomb")
  write_bytes "$bomb" $((offset + 5)) 8 0 64 0 # height 2048, width 16384
  echo "$bomb: $(file_size "$bomb") bytes"
  expect_refused jpg "$bomb" "more pixels than its data can hold"
  expect_within_baseline jpg "$bomb"
done

# Every JPG refusal says why, on lines that fit the screen.
head -c 40 huffman.jpg >huffman-cut40.jpg
expect_refused jpg huffman-cut40.jpg "JPG - "
expect_lines_within huffman-cut40.jpg 64
expect_lines_within bomb-arithmetic.jpg 64

# --- TGA ---
# A picture with alpha, as uncompressed 32-bit TGA stored left to right.
convert -size 40x24 gradient:'#30c020-#e04010' -swirl 90 -alpha set \
  -channel A -fx 'i/w' +channel ltr.tga
field_baseline tga ltr.tga
expect_clean tga ltr.tga

# mirrored FILE OUT: the picture's pixels turned end for end, and the
# descriptor's right-to-left bit set: the same picture as FILE.
mirrored() {
  convert "$1" -flop "$2"
  write_bytes "$2" 17 $(($(get_le "$2" 17 1) | 16))
}
mirrored ltr.tga rtl.tga
expect_clean tga rtl.tga
expect_same_pixels rtl.tga ltr.tga

# A sprite strip of four square frames, stored right to left.
convert -size 32x128 gradient:'#ffff00-#0000ff' -swirl 200 -alpha set \
  -channel A -fx 'j/h' +channel strip-ltr.tga
mirrored strip-ltr.tga strip-rtl.tga
expect_clean sheet strip-ltr.tga
expect_clean sheet strip-rtl.tga
expect_same_pixels strip-rtl.tga strip-ltr.tga

# tga_header FILE TYPE WIDTH HEIGHT DEPTH: an 18-byte header alone.
tga_header() {
  : >"$1"
  write_bytes "$1" 0 0 0 "$2" 0 0 0 0 0 0 0 0 0 \
    $(le_bytes 2 "$3") $(le_bytes 2 "$4") "$5" 0
}

# A 16-bit picture is refused, its long message wrapped to fit the screen.
sixteen=a-sixteen-bit-picture-from-a-paint-program-with-a-long-name.tga
tga_header "$sixteen" 2 8 8 16
head -c 128 /dev/zero >>"$sixteen"
expect_refused tga "$sixteen" "not a pixel depth it is read at"
expect_lines_within "$sixteen" 64

# 16384 x 1024, sides powers of two, in run-length packets of 128 pixels
# (5 bytes each): more than many renderers hold, so it is shown shrunk.
tga_header wide.tga 10 16384 1024 32
printf '\377\100\200\300\377' >packet
for _ in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17; do cat packet packet >packets; mv packets packet; done
cat packet >>wide.tga
rm packet
expect_refused tga wide.tga "a side above 4096"
# As a sheet of 16 frames of 1024 x 1024 it is shown whole.
write_bytes wide.tga 12 $(le_bytes 2 1024) $(le_bytes 2 16384)
expect_clean sheet wide.tga

field_finish
