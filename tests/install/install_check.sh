#!/usr/bin/env bash
# install_check.sh BUILD-DIR SOURCE-DIR
# Installs the build into a temporary prefix as `cmake --install` would for a user, checks what
# a desktop reads (entry, metadata, icons, man pages, completion, credits) and that every
# shipped text carries the version of debian/changelog, then starts the installed program as a
# new user would: offscreen, with an empty home and a read-only installation. Last, the
# single-user install into ~/.local of a home that already holds a user's changed files:
# install, reinstall, a start, uninstall through install_manifest.txt; the user's files must
# stay byte for byte.
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "install_check: $*" >&2; exit 1; }
version=$(sed -n '1s/^orvine (\([^)]*\)).*/\1/p' "$source/debian/changelog")
[ -n "$version" ] || fail "no version on the first line of debian/changelog"

cmake --install "$build" --prefix "$prefix" >/dev/null

[ "$(ls "$prefix/bin")" = "$(printf 'orvine\norvine-calc')" ] || fail "bin/ holds $(ls "$prefix/bin" | tr '\n' ' ')"
for exe in "$prefix"/bin/*; do
  ! readelf -d "$exe" | grep -Eq 'RPATH|RUNPATH' || fail "$exe carries a search path: $(readelf -d "$exe" | grep -E 'RPATH|RUNPATH')"
done
# The installed defaults live in a folder of their own, never in share/orvine/ itself (with the
# prefix ~/.local that is the user's folder).
[ "$(cd "$prefix/share/orvine" && find . | sort | tr '\n' ' ')" = ". ./installed ./installed/direction-map.bin ./installed/gazetteer.tsv ./installed/places.txt ./installed/vantorff.ini " ] ||
  fail "share/orvine holds $(cd "$prefix/share/orvine" && find . | tr '\n' ' ')"
for f in share/man/man1/orvine.1 share/man/man1/orvine-calc.1 share/man/ja/man1/orvine.1 \
         share/man/ja/man1/orvine-calc.1 share/bash-completion/completions/orvine-calc \
         share/doc/orvine/LICENSE share/doc/orvine/CREDITS.md; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
grep -q 'GeoNames' "$prefix/share/doc/orvine/CREDITS.md" || fail "the credits do not name GeoNames"
for page in "$prefix"/share/man/man1/*.1 "$prefix"/share/man/ja/man1/*.1; do
  out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null) || fail "$page: $out"
  [ -z "$out" ] || fail "$page: $out"
done
LC_ALL=C.UTF-8 MANPATH=$prefix/share/man man -L ja orvine 2>/dev/null | grep -q '名前' || fail "man -L ja orvine shows no Japanese page"

out=$(desktop-file-validate "$prefix/share/applications/orvine.desktop" 2>&1) || fail "desktop entry: $out"
[ -z "$out" ] || fail "desktop entry: $out"
# Warnings are shown, not fatal: the component id is the plain program name "orvine", which
# appstreamcli would rather see as a reverse domain name.
metainfo=$prefix/share/metainfo/orvine.metainfo.xml
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || true
! grep -q '^E:' <<<"$out" || fail "metainfo: $out"
grep -Eq 'Validation (was successful|failed: warnings)' <<<"$out" || fail "metainfo: $out"
# The screenshot the project's site is to publish is committed; the metadata gives its size.
read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$source/data/screenshots/main-window.png")
grep -q "<image type=\"source\" width=\"$w\" height=\"$h\">https://[^<]*/main-window.png</image>" "$metainfo" ||
  fail "the metainfo screenshot is not the committed ${w}x${h} main-window.png"

for size in 16 22 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/orvine.png
  [ -f "$icon" ] || fail "no ${size}px icon"
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$icon")
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "the ${size}px icon is ${w}x${h}"
done
svg=$prefix/share/icons/hicolor/scalable/apps/orvine.svg
xmllint --noout "$svg" && grep -q '<svg xmlns="http://www.w3.org/2000/svg"' "$svg" || fail "the scalable icon is no SVG picture"

# One version everywhere: the programs, the metadata's release and every manual page.
[ "$("$prefix/bin/orvine" --version)" = "Orvine $version" ] || fail "orvine --version: $("$prefix/bin/orvine" --version)"
[ "$("$prefix/bin/orvine-calc" --version)" = "orvine-calc $version" ] || fail "orvine-calc --version: $("$prefix/bin/orvine-calc" --version)"
grep -q "<release version=\"$version\" date=\"[0-9-]*\">" "$metainfo" || fail "metainfo release: $(grep '<release ' "$metainfo")"
grep -q '<li>' "$metainfo" || fail "the metainfo release has no notes"
for page in "$prefix"/share/man/man1/*.1 "$prefix"/share/man/ja/man1/*.1; do
  head -1 "$page" | grep -q " \"Orvine $version\" " || fail "$page: $(head -1 "$page")"
done

# The command line is answered before the window system starts: no display is needed.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
help=$("${no_display[@]}" "$prefix/bin/orvine" --help) || fail "orvine --help failed"
grep -q '使い方: orvine' <<<"$help" && grep -q 'Usage: orvine' <<<"$help" || fail "orvine --help is not in Japanese and English: $help"
for args in --bogus -bogus=1 stray; do
  status=0
  "${no_display[@]}" "$prefix/bin/orvine" $args >"$work/stdout" 2>"$work/stderr" || status=$?
  [ "$status" = 2 ] && [ ! -s "$work/stdout" ] && grep -Eq "unknown option|takes no arguments" "$work/stderr" ||
    fail "orvine $args: exit $status, $(cat "$work/stdout" "$work/stderr")"
done

# Shell completion of the calculator's options and their values.
if [ -f /usr/share/bash-completion/bash_completion ]; then
  completions=$(bash -c 'source /usr/share/bash-completion/bash_completion; source "$1"
    for line in "--unit " "--format " "--fi" "--unit=m"; do
      COMP_LINE="orvine-calc $line"; COMP_POINT=${#COMP_LINE}
      read -ra COMP_WORDS <<<"$COMP_LINE"; [[ $line == *" " ]] && COMP_WORDS+=("")
      COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMPREPLY=(); _orvine_calc; echo "${COMPREPLY[*]}"
    done' - "$prefix/share/bash-completion/completions/orvine-calc")
  [ "$completions" = "$(printf 'km nmi mi\ntsv csv json\n--final --first\nmi')" ] || fail "completion: $completions"
else
  echo "install_check: bash-completion is not installed; the completion is not checked"
fi

# start_once BIN HOME: the installed program's start as that user, until its files are there
# and it waits in its main window; stderr must stay empty. A message box would mean that the
# settings could not be used.
start_once() {
  local bin=$1 home=$2 user_folder=$2/.local/share/orvine
  mkdir -p "$work/run"
  chmod 700 "$work/run"
  env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_DATA_DIRS -u DISPLAY -u WAYLAND_DISPLAY \
    HOME="$home" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen \
    "$bin" 2>"$work/stderr" &
  local pid=$!
  for _ in $(seq 100); do
    [ -f "$user_folder/places.txt" ] && [ -f "$user_folder/vantorff.ini" ] && break
    sleep 0.2
  done
  sleep 1
  kill -0 "$pid" 2>/dev/null || fail "the program ended at start: $(cat "$work/stderr")"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  [ ! -s "$work/stderr" ] || fail "the program said: $(cat "$work/stderr")"
}

# A new user's first start. The installation is read-only and must stay byte for byte as it
# was; the user's folder must receive the defaults.
chmod -R a-w "$prefix"
snapshot() { (cd "$1" && find . -printf '%p %s %T@ %m\n' | sort && find . -type f -exec md5sum {} + | sort); }
before=$(snapshot "$prefix")
home=$work/home
mkdir -p "$home"
start_once "$prefix/bin/orvine" "$home"
user_folder=$home/.local/share/orvine
cmp "$user_folder/vantorff.ini" "$prefix/share/orvine/installed/vantorff.ini" || fail "vantorff.ini not seeded"
cmp "$user_folder/places.txt" "$prefix/share/orvine/installed/places.txt" || fail "places.txt not seeded"
[ -w "$user_folder/places.txt" ] || fail "the seeded place list is not the user's to write"
[ "$(snapshot "$prefix")" = "$before" ] || fail "the installation was written to: $(diff <(echo "$before") <(snapshot "$prefix"))"

# The install into ~/.local, whose share/orvine is the user's own folder, with a changed list
# (one place more than the defaults) and settings naming it.
home=$work/local-home
user_folder=$home/.local/share/orvine
mkdir -p "$user_folder"
cp "$source/data/vantorff.ini" "$user_folder/"
{ cat "$source/data/places.txt"; printf '"Added",1,2,3,4,5,6\r\n'; } >"$user_folder/places.txt"
chmod 600 "$user_folder"/*
# Every file of the user's folder outside installed/, with its size, time, mode and bytes.
user_snapshot() {
  (cd "$user_folder" && find . -path ./installed -prune -o -type f -printf '%p %s %T@ %m\n' | sort &&
    md5sum vantorff.ini places.txt)
}
user_files=$(user_snapshot)
check_user_files() {
  [ "$(user_snapshot)" = "$user_files" ] ||
    fail "$1 changed the user's files: $(diff <(echo "$user_files") <(user_snapshot))"
}
cmake --install "$build" --prefix "$home/.local" >/dev/null
check_user_files "installing into ~/.local"
cmake --install "$build" --prefix "$home/.local" >/dev/null
check_user_files "installing again"
start_once "$home/.local/bin/orvine" "$home"
check_user_files "the program's start"
! grep -v "^$home/.local/share/orvine/installed/" "$build/install_manifest.txt" | grep -q "^$user_folder" ||
  fail "install_manifest.txt names the user's folder: $(grep "^$user_folder" "$build/install_manifest.txt")"
xargs rm -- <"$build/install_manifest.txt"
check_user_files "uninstalling"
[ ! -e "$home/.local/bin/orvine" ] || fail "uninstalling left the program"
# The direction map reads its outlines where the installation put them, found from the program.
[ -s "$prefix/share/orvine/installed/direction-map.bin" ] || fail "the direction map's outlines are not installed"
env -u XDG_DATA_DIRS -u DISPLAY XDG_RUNTIME_DIR="$work/run" "$prefix/bin/orvine" --map "$work/map.svg" 35 139 \
  2>"$work/map.err" || fail "orvine --map: $(cat "$work/map.err")"
[ ! -s "$work/map.err" ] || fail "orvine --map said: $(cat "$work/map.err")"
echo "install_check: passed"
