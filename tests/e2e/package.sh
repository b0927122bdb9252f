#!/bin/sh
# The Debian package made by CPack from the build: its control data lists
# the libraries the programs need, its files are where Debian wants them,
# and lintian finds no error in it (its warnings are printed).
# usage: package.sh BUILD_DIR OUT_DIR
set -eu
build=$1 out=$2

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$out" && mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; fail "cpack"; }
deb=$(ls "$out"/virko_*.deb)

dpkg-deb --info "$deb" > "$out/info"
for field in "Package: virko" "Section: games" "Architecture: amd64"; do
  grep -q "^ $field\$" "$out/info" || fail "no '$field' in the control data"
done
depends=$(sed -n 's/^ Depends: //p' "$out/info")
for library in libsdl2-2.0-0 libopenal1 libsndfile1 libjpeg62-turbo libavcodec libswscale libgl1 libglu1 libx11-6; do
  echo "$depends" | grep -q "$library" || fail "Depends lacks $library: $depends"
done

dpkg-deb --contents "$deb" | awk '{ print $6 }' > "$out/contents"
for file in ./usr/games/virko ./usr/games/virko-tool ./usr/games/virko-replay ./usr/games/virko-edit \
    ./usr/lib/x86_64-linux-gnu/virko/libvirko_video.so ./usr/share/virko/levels.cfg \
    ./usr/share/applications/lv.virko.Virko.desktop ./usr/share/applications/lv.virko.Virko.Editor.desktop \
    ./usr/share/metainfo/lv.virko.Virko.metainfo.xml ./usr/share/man/man1/virko-edit.1.gz \
    ./usr/share/icons/hicolor/48x48/apps/lv.virko.Virko.png ./usr/share/man/man6/virko.6.gz \
    ./usr/share/doc/virko/copyright; do
  grep -qx "$file" "$out/contents" || fail "the package lacks $file"
done
! grep -q '^\./usr/bin/' "$out/contents" || fail "programs in /usr/bin"

# Unpacked, the game finds its files from /usr/games as from /usr/bin.
dpkg-deb -x "$deb" "$out/root"
grep -qx 'Exec=/usr/games/virko' "$out/root/usr/share/applications/lv.virko.Virko.desktop" ||
  fail "the desktop entry does not start /usr/games/virko"
grep -qx 'Exec=/usr/games/virko-edit %f' "$out/root/usr/share/applications/lv.virko.Virko.Editor.desktop" ||
  fail "the editor's desktop entry does not start /usr/games/virko-edit"
"$out/root/usr/games/virko-tool" check-content "$out/root/usr/share/virko" > "$out/check.log" 2>&1 ||
  { cat "$out/check.log"; fail "the packaged content does not check clean"; }

lintian --tag-display-limit 0 "$deb" > "$out/lintian.log" 2>&1 || true
cat "$out/lintian.log"
! grep -q '^E:' "$out/lintian.log" || fail "lintian reports errors"
echo "package $(basename "$deb"): control data, files and lintian good"
