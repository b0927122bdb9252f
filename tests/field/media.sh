#!/usr/bin/env bash
# Sounds and videos as they come from the field, made with ffmpeg and lame
# and put through the checker: each must get its verdict, the videos must
# end within a second of their last picture on the checker's stepped clock,
# and no file may cost the checker more than 64 MB above a small valid one.
#
# usage: tests/field/media.sh BIN_DIR OUT_DIR
set -euo pipefail
. "$(dirname "$0")/field-lib.sh"
field_init "$@"
field_needs ffmpeg lame
cd "$FIELD_OUT"

# --- ASF files ---------------------------------------------------------------

# Offset of the first object of an ASF file with the GUID given as \x bytes.
asf_object() {
  LC_ALL=C grep -obUaP "$2" "$1" | head -1 | cut -d: -f1
}
FILE_PROPERTIES='\xa1\xdc\xab\x8c\x47\xa9\xcf\x11\x8e\xe4\x00\xc0\x0c\x20\x53\x65'
DATA_OBJECT='\x36\x26\xb2\x75\x8e\x66\xcf\x11\xa6\xd9\x00\xaa\x00\x62\xce\x6c'
# Fields of the File Properties object, from its start.
FP_FILE_SIZE=40
FP_PACKETS=56
FP_PLAY_DURATION=64  # 100 ns units, as the send duration after it
FP_SEND_DURATION=72
FP_FLAGS=88          # 1 broadcast (no length given), 2 seekable
FP_PACKET_SIZE=92
DATA_HEADER_SIZE=50  # the Data object up to its first packet

# Bytes a 2-bit length type of an ASF packet stands for.
length_size() {
  local sizes=(0 1 2 4)
  echo "${sizes[$1]}"
}

# Little-endian value of COUNT bytes at INDEX of the array PACKET.
packet_le() {
  local value=0 i
  for ((i = $2 - 1; i >= 0; i--)); do value=$(((value << 8) | PACKET[$1 + i])); done
  echo "$value"
}

# Offset in FILE of the presentation time of the first picture that starts
# in data packet FIRST or later (ASF stream 1, as ffmpeg numbers the video;
# packets with the property flags ffmpeg writes).
picture_time_offset() {
  local file=$1 k=$2 properties data packet_size packets p pos flags count size s
  properties=$(asf_object "$file" "$FILE_PROPERTIES")
  data=$(asf_object "$file" "$DATA_OBJECT")
  packet_size=$(get_le "$file" $((properties + FP_PACKET_SIZE)) 4)
  packets=$(get_le "$file" $((properties + FP_PACKETS)) 8)
  for ((; k < packets; k++)); do
    p=$((data + DATA_HEADER_SIZE + k * packet_size))
    read -r -a PACKET <<<"$(od -An -tu1 -v -j "$p" -N "$packet_size" "$file" | tr '\n' ' ')"
    ((PACKET[0] == 0x82 && PACKET[4] == 0x5d)) || continue
    flags=${PACKET[3]}
    # Packet length, sequence and padding, then send time and duration.
    pos=$((5 + $(length_size $(((flags >> 5) & 3))) + $(length_size $(((flags >> 1) & 3))) +
      $(length_size $(((flags >> 3) & 3))) + 6))
    count=1
    size=0
    if ((flags & 1)); then
      count=$((PACKET[pos] & 63))
      size=$(length_size $(((PACKET[pos] >> 6) & 3)))
      pos=$((pos + 1))
    fi
    # Each payload: stream, object number, offset into the object,
    # replicated data (object size, presentation time), then its length.
    for ((s = 0; s < count; s++)); do
      if (((PACKET[pos] & 127) == 1 && $(packet_le $((pos + 2)) 4) == 0 && PACKET[pos + 6] >= 8)); then
        echo $((p + pos + 11))
        return
      fi
      pos=$((pos + 7 + PACKET[pos + 6]))
      ((flags & 1)) || break
      pos=$((pos + size + $(packet_le "$pos" "$size")))
    done
  done
}

# The next number of a pseudo-random sequence of our own (the C library's
# old rand), the same with every shell: 0 to 2^31 - 1 in RANDOM_STATE.
next_random() {
  RANDOM_STATE=$(((RANDOM_STATE * 1103515245 + 12345) & 0x7fffffff))
}

# Overwrites 2 % of the middle third of FILE with bytes of the sequence
# seeded by SEED, in chunks of 16 bytes.
damage_middle() {
  local file=$1 third chunks c i offset bytes
  RANDOM_STATE=$2
  third=$(($(file_size "$file") / 3))
  chunks=$((third / 50 / 16))
  for ((c = 0; c < chunks; c++)); do
    next_random
    offset=$((third + RANDOM_STATE % (third - 16)))
    bytes=()
    for ((i = 0; i < 16; i++)); do
      next_random
      bytes+=($(((RANDOM_STATE >> 16) & 255)))
    done
    write_bytes "$file" "$offset" "${bytes[@]}"
  done
}

# --- The files ---------------------------------------------------------------

ffmpeg_quiet() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

# Six seconds of 25 pictures a second with WMA sound, as the game's videos;
# the sound given as ffmpeg's options.
make_wmv() {
  local out=$1
  shift
  ffmpeg_quiet -f lavfi -i testsrc=size=320x240:rate=25:duration=6 \
    -f lavfi -i sine=frequency=440:sample_rate=44100:duration=6 \
    -c:v wmv2 -b:v 1M "$@" -ac 2 -f asf "$out"
}

make_files() {
  ffmpeg_quiet -f lavfi -i sine=frequency=440:sample_rate=44100:duration=3 -ac 2 tone.wav
  lame --quiet --freeformat -b 200 tone.wav free-format.mp3
  # Loud first (high bit rates), quiet after: a length guessed from the first
  # frame's bit rate comes out far too short. No Xing header (-t), then cut.
  ffmpeg_quiet -f lavfi -i "anoisesrc=duration=1:amplitude=0.8:seed=7" \
    -f lavfi -i sine=frequency=220:sample_rate=44100:duration=5 \
    -filter_complex "[0][1]concat=n=2:v=0:a=1,volume=1" -ar 44100 -ac 2 loud-quiet.wav
  lame --quiet -t -V 0 loud-quiet.wav vbr-whole.mp3
  head -c $(($(file_size vbr-whole.mp3) * 3 / 4)) vbr-whole.mp3 > vbr-cut-no-xing.mp3

  make_wmv valid.wmv -c:a wmav2 -b:a 128k
  make_wmv mp3-sound.wmv -c:a libmp3lame -b:a 128k

  local properties
  properties=$(asf_object valid.wmv "$FILE_PROPERTIES")

  cp valid.wmv header-3600s.wmv
  put_le header-3600s.wmv $((properties + FP_PLAY_DURATION)) 8 $((3600 * 10000000))
  put_le header-3600s.wmv $((properties + FP_SEND_DURATION)) 8 $((3600 * 10000000))

  # Streamed (no length in its header) and damaged on the way; seed 8 times
  # one of its sound packets far ahead of the pictures.
  cp valid.wmv broadcast-damaged.wmv
  put_le broadcast-damaged.wmv $((properties + FP_FLAGS)) 4 1
  damage_middle broadcast-damaged.wmv 8

  # Streamed, with one picture in the middle timed 24 days ahead.
  cp valid.wmv broadcast-far-picture.wmv
  put_le broadcast-far-picture.wmv $((properties + FP_FLAGS)) 4 1
  local packets
  packets=$(get_le valid.wmv $((properties + FP_PACKETS)) 8)
  put_le broadcast-far-picture.wmv "$(picture_time_offset broadcast-far-picture.wmv $((packets / 2)))" \
    4 $((0x7f000000))

  # A download stopped half-way into a file made at its full size.
  local size
  size=$(file_size valid.wmv)
  head -c $((size / 2)) valid.wmv > zero-tail.wmv
  head -c $((size - size / 2)) /dev/zero >> zero-tail.wmv

  # Cut after half its packets, its sizes and packet counts made to match;
  # its header still gives the whole length.
  local data packet_size kept
  data=$(asf_object valid.wmv "$DATA_OBJECT")
  packet_size=$(get_le valid.wmv $((properties + FP_PACKET_SIZE)) 4)
  kept=$((packets / 2))
  head -c $((data + DATA_HEADER_SIZE + kept * packet_size)) valid.wmv > half-cut.wmv
  put_le half-cut.wmv $((properties + FP_FILE_SIZE)) 8 "$(file_size half-cut.wmv)"
  put_le half-cut.wmv $((properties + FP_PACKETS)) 8 "$kept"
  put_le half-cut.wmv $((data + 16)) 8 $((DATA_HEADER_SIZE + kept * packet_size))
  put_le half-cut.wmv $((data + 40)) 8 "$kept"
}

# --- Checking ----------------------------------------------------------------

# The milliseconds ffmpeg decodes of a sound file: every frame there is
# (but none of free-format MP3, which it does not read).
ffmpeg_ms() {
  local bytes
  bytes=$(ffmpeg -nostdin -v quiet -i "$1" -f s16le -ac 1 -ar 44100 - | wc -c)
  echo $((bytes * 500 / 44100))  # mono 16-bit
}

# expect_sound FILE: read clean, within the memory bound.
expect_sound() {
  expect_clean sound "$1"
  expect_memory_within_baseline sound "$1"
}

# The sound just checked plays as long as ffmpeg decodes of REFERENCE
# (the same file by default), give or take two frames.
expect_full_length() {
  local file=$1 ms reference
  FIELD_CHECKS=$((FIELD_CHECKS + 1))
  ms=$(field_value "$file" ms)
  reference=$(ffmpeg_ms "${2:-$file}")
  if [[ -z $ms ]] || ((ms < reference - 60 || ms > reference + 60)); then
    field_fail "$file: plays ${ms:-no} ms of the $reference ms it holds"
  fi
}

# The video just checked ended within a second of its last picture.
expect_prompt_end() {
  local file=$1 last ended
  FIELD_CHECKS=$((FIELD_CHECKS + 1))
  last=$(field_value "$file" lastPictureMs)
  ended=$(field_value "$file" endedMs)
  echo "  pictures $(field_value "$file" pictures), last at $last ms, ended at $ended ms"
  if [[ -z $last || -z $ended ]] || ((ended < 0 || ended > last + 1000)); then
    field_fail "$file: ended at ${ended:-no} ms, its last picture at ${last:-no} ms"
  fi
}

# expect_video FILE [REASON]: read clean, or refused for REASON; within the
# memory bound, and ended within a second of its last picture.
expect_video() {
  if (($# == 1)); then
    expect_clean video "$1"
  else
    expect_refused video "$1" "$2"
  fi
  expect_memory_within_baseline video "$1"
  expect_prompt_end "$1"
}

make_files

field_baseline sound tone.wav
expect_sound tone.wav
expect_sound free-format.mp3
expect_full_length free-format.mp3 tone.wav
expect_sound vbr-cut-no-xing.mp3
expect_full_length vbr-cut-no-xing.mp3

field_baseline video valid.wmv
expect_video valid.wmv
expect_video header-3600s.wmv "its header says 359"
expect_video broadcast-damaged.wmv "sound frame(s) timed far beyond its pictures"
expect_video broadcast-far-picture.wmv "its pictures' times jump far 2 time(s)"
expect_video zero-tail.wmv "its header says"
expect_video half-cut.wmv "its header says"
expect_video mp3-sound.wmv "plays without sound: its sound is mp3"

field_finish
