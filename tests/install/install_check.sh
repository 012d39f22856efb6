#!/usr/bin/env bash
# install_check.sh BUILD-DIR VERSION
# Installs the build into a temporary prefix as `cmake --install` would for a user, checks what
# a desktop reads (entry, metadata, icons, man pages, credits), then starts the installed
# program as a new user would: offscreen, with an empty home and a read-only installation.
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "install_check: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

[ "$(ls "$prefix/bin")" = "$(printf 'orvine\norvine-calc')" ] || fail "bin/ holds $(ls "$prefix/bin" | tr '\n' ' ')"
for exe in "$prefix"/bin/*; do
  ! readelf -d "$exe" | grep -Eq 'RPATH|RUNPATH' || fail "$exe carries a search path: $(readelf -d "$exe" | grep -E 'RPATH|RUNPATH')"
done
for f in share/orvine/vantorff.ini share/orvine/places.txt share/man/man1/orvine.1 share/man/man1/orvine-calc.1 \
         share/doc/orvine/LICENSE share/doc/orvine/CREDITS.md; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
grep -q 'GeoNames' "$prefix/share/doc/orvine/CREDITS.md" || fail "the credits do not name GeoNames"

out=$(desktop-file-validate "$prefix/share/applications/orvine.desktop" 2>&1) || fail "desktop entry: $out"
[ -z "$out" ] || fail "desktop entry: $out"
# Warnings are shown, not fatal: the component id is the plain program name "orvine", which
# appstreamcli would rather see as a reverse domain name.
out=$(appstreamcli validate --no-net "$prefix/share/metainfo/orvine.metainfo.xml" 2>&1) || true
! grep -q '^E:' <<<"$out" || fail "metainfo: $out"
grep -Eq 'Validation (was successful|failed: warnings)' <<<"$out" || fail "metainfo: $out"

for size in 16 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/orvine.png
  [ -f "$icon" ] || fail "no ${size}px icon"
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$icon")
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "the ${size}px icon is ${w}x${h}"
done

[ "$("$prefix/bin/orvine" --version)" = "Orvine $version" ] || fail "orvine --version: $("$prefix/bin/orvine" --version)"
"$prefix/bin/orvine" --help | grep -q -- '--version' || fail "orvine --help says nothing of --version"

# A new user's first start. The installation is read-only and must stay byte for byte as it
# was; the user's folder must receive the defaults. A message box would mean that the
# settings could not be used: the files are the installed ones, which the file tests load
# without a problem, and the program must still be running (waiting in its main window).
chmod -R a-w "$prefix"
snapshot() { (cd "$prefix" && find . -printf '%p %s %T@ %m\n' | sort && find . -type f -exec md5sum {} + | sort); }
before=$(snapshot)
home=$work/home
mkdir -p "$home" "$work/run"
chmod 700 "$work/run"
user_folder=$home/.local/share/orvine
env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_DATA_DIRS -u DISPLAY -u WAYLAND_DISPLAY \
  HOME="$home" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen \
  "$prefix/bin/orvine" 2>"$work/stderr" &
pid=$!
for _ in $(seq 100); do
  [ -f "$user_folder/places.txt" ] && [ -f "$user_folder/vantorff.ini" ] && break
  sleep 0.2
done
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the program ended at start: $(cat "$work/stderr")"
kill "$pid"
wait "$pid" 2>/dev/null || true
cmp "$user_folder/vantorff.ini" "$prefix/share/orvine/vantorff.ini" || fail "vantorff.ini not seeded"
cmp "$user_folder/places.txt" "$prefix/share/orvine/places.txt" || fail "places.txt not seeded"
[ -w "$user_folder/places.txt" ] || fail "the seeded place list is not the user's to write"
[ ! -s "$work/stderr" ] || fail "the program said: $(cat "$work/stderr")"
[ "$(snapshot)" = "$before" ] || fail "the installation was written to: $(diff <(echo "$before") <(snapshot))"
# The direction map reads its outlines where the installation put them, found from the program.
[ -s "$prefix/share/orvine/installed/direction-map.bin" ] || fail "the direction map's outlines are not installed"
env -u XDG_DATA_DIRS -u DISPLAY XDG_RUNTIME_DIR="$work/run" "$prefix/bin/orvine" --map "$work/map.svg" 35 139 \
  2>"$work/map.err" || fail "orvine --map: $(cat "$work/map.err")"
[ ! -s "$work/map.err" ] || fail "orvine --map said: $(cat "$work/map.err")"
echo "install_check: passed"
