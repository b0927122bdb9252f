#!/bin/sh
# The game installed as a player installs it, into a temporary root
# (DESTDIR) with the prefix /usr, and played from there under the X server
# of $DISPLAY (800 x 600) with a home folder of its own:
#  1. the installed files are exactly the expected ones, the content is what
#     the content tool made (not what playing the build's folder left), the
#     programs carry no path of the build, and the desktop entry and the
#     AppStream data validate;
#  2. --version, --help, an unknown option and a --data folder without
#     levels.cfg answer as they should;
#  3. started from an unrelated folder, the music bar moved on the options
#     screen and the game left by the menu's Exit: settings.cfg is in the
#     config folder, the installed tree is unchanged, nothing else written;
#  4. a mod (a folder of changed files in the player's data folder, named in
#     other letter case) replaces the options screen's picture; a new game's
#     intro video is decoded by the installed video module; the exit prompt
#     ends the game.
# usage: install.sh BUILD_DIR OUT_DIR
set -eu
build=$1 out=$2
. "$(dirname "$0")/play-lib.sh"

rm -rf "$out" && mkdir -p "$out/home" "$out/elsewhere"
# What playing in the build's content folder leaves there (a recording, a
# settings save cut short) is not installed.
played="$build/content/e2e-install-played.rec $build/content/settings.cfg.e2e-install.tmp"
for file in $played; do echo played > "$file"; done
status=0 && DESTDIR="$out/root" cmake --install "$build" --prefix /usr > "$out/install.log" || status=$?
rm -f $played
[ "$status" -eq 0 ] || fail "cmake --install: status $status"
usr=$out/root/usr
id=lv.virko.Virko

# 1. The files.
cat > "$out/expected" <<LIST
bin/virko
bin/virko-edit
bin/virko-replay
bin/virko-tool
lib/x86_64-linux-gnu/virko/libvirko_video.so
share/applications/$id.Editor.desktop
share/applications/$id.desktop
share/doc/virko/changelog.gz
share/doc/virko/copyright
share/icons/hicolor/128x128/apps/$id.png
share/icons/hicolor/256x256/apps/$id.png
share/icons/hicolor/48x48/apps/$id.png
share/icons/hicolor/64x64/apps/$id.png
share/man/man1/virko-edit.1.gz
share/man/man1/virko-replay.1.gz
share/man/man1/virko-tool.1.gz
share/man/man6/virko.6.gz
share/metainfo/$id.metainfo.xml
LIST
(cd "$usr" && find . -type f -not -path './share/virko/*' | sed 's|^\./||' | LC_ALL=C sort) > "$out/installed"
LC_ALL=C sort "$out/expected" | diff - "$out/installed" || fail "the installed files differ from the list"
diff -r "$build/stage/content" "$usr/share/virko" > /dev/null ||
  fail "the installed content differs from what the content tool made"
for program in virko virko-tool virko-replay virko-edit; do
  ! readelf -d "$usr/bin/$program" | grep -q 'R.*PATH' || fail "$program keeps a library search path of the build"
done
desktop-file-validate "$usr/share/applications/$id.desktop" || fail "the desktop entry"
desktop-file-validate "$usr/share/applications/$id.Editor.desktop" || fail "the editor's desktop entry"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" > "$out/appstream.log" ||
  { cat "$out/appstream.log"; fail "the AppStream data"; }
echo "installed files, desktop entry and AppStream data: good"

# 2. The command line.
export HOME="$out/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME
virko=$usr/bin/virko
version=$("$virko" --version)
[ "$version" = "virko $(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$usr/share/metainfo/$id.metainfo.xml")" ] ||
  fail "--version says '$version', the AppStream release differs"
"$virko" --help | grep -q -- "--data DIR" || fail "--help"
status=0 && "$virko" --no-such-option 2> "$out/stderr" || status=$?
[ "$status" -eq 64 ] && [ "$(wc -l < "$out/stderr")" -eq 1 ] || fail "an unknown option: status $status"
status=0 && "$virko" --data "$out/elsewhere" 2> "$out/stderr" || status=$?
[ "$status" -eq 66 ] && grep -q "levels.cfg" "$out/stderr" || fail "--data without levels.cfg: status $status"
echo "--version ($version), --help, unknown option, --data without levels.cfg: good"

# 3. Played from an unrelated folder.
checksums() { (cd "$out/root" && find . -type f | LC_ALL=C sort | xargs sha256sum); }
checksums > "$out/before"
# The splash skipped, the options opened from the menu. The dynamic loader
# names every library the game loads.
start() {
  start_game_in "$out/elsewhere" exec env LD_DEBUG=files LD_DEBUG_OUTPUT="$out/loaded" "$virko"
  skip_to_menu
  click 188 368  # Options
}

start
expect_shows 10 "the options screen" shows_options
# The music bar from its installed 70 to 50: its knob dragged along.
xdotool mousemove $(scene_point 540 176) && sleep 0.2 && xdotool mousedown 1 && sleep 0.1
for x in 530 520 510 500; do xdotool mousemove $(scene_point "$x" 176) && sleep 0.05; done
sleep 0.1 && xdotool mouseup 1 && sleep 0.2
click 87 517  # Back: the settings are saved
expect_shows 10 "the menu after Back" shows_menu
click 188 496  # Exit
expect_exit "exit after the options"
settings=$HOME/.config/virko/settings.cfg
[ -f "$settings" ] || fail "no $settings"
installed=$(od -An -tu1 "$usr/share/virko/settings.cfg" | awk '{ print $2, $3 }')
[ "$(od -An -tu1 "$settings" | awk '{ print $1, $2, $3 }')" = "50 $installed" ] ||
  fail "settings.cfg holds$(od -An -tu1 "$settings")"
checksums | diff "$out/before" - > /dev/null || fail "the installed tree changed"
[ -z "$(ls -A "$out/elsewhere")" ] || fail "files written in the current folder: $(ls -A "$out/elsewhere")"
[ "$(cd "$HOME" && find . -type f)" = "./.config/virko/settings.cfg" ] ||
  fail "files written in the home folder: $(cd "$HOME" && find . -type f)"
echo "played from $out/elsewhere: settings in the config folder, the installed tree unchanged"

# 4. A mod of one picture.
mod=$HOME/.local/share/virko/data/OPTIONS
mkdir -p "$mod"
convert -size 800x600 xc:'#ff00ff' -quality 95 "$mod/TITLE.JPG"
shows_mod() { scene_colour_is 700 60 '$1 > 150 && $3 > 150 && $2 < 60'; }
video_module_loaded() {
  grep -q "file=$usr/lib/x86_64-linux-gnu/virko/libvirko_video.so " "$out"/loaded.* 2> /dev/null
}
start
expect_shows 10 "the mod's magenta on the options screen" shows_mod
click 87 517  # Back
expect_shows 10 "the menu after Back" shows_menu
click 188 240  # New Game: the intro video
wait_until 10 "the installed video module was not loaded" video_module_loaded
skip_video_to_play
open_exit_prompt
click 460 517  # its exit button
expect_exit "exit through the prompt with the mod"
checksums | diff "$out/before" - > /dev/null || fail "the installed tree changed with the mod"
echo "the mod's picture shown, the installed video module used, the installed tree unchanged"
