#!/usr/bin/env bash
# The program as a player gets it: installed into a fresh prefix, checked by
# the desktop's own validators, then made read-only with a sound file missing
# and started from its menu entry's Exec as an ordinary user (as root through
# runuser, as nobody) on an X server of its own. The help window's Ctrl+S
# must land in the player's copy and be read back; a full-screen run must
# start and go on, its log line in the user's state folder.
#   installed.sh <build folder> <folder for screenshots>
set -euo pipefail
build=$1
out=$2
mkdir -p "$out"
id=io.github.pimuru.pimuru
caption='ぴむるのゲーム Ver.1.1'

work=$(mktemp -d)
pid=""
xvfb=""
cleanup() {
    [ -n "$pid" ] && kill -9 -- -"$pid" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# 1. Install and validate.
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
entry=$prefix/share/applications/$id.desktop
desktop-file-validate "$entry" || fail "desktop entry not valid"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "AppStream metadata not valid: $(appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml")"
for size in 32 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/$id.png
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x$size" ] || fail "icon $icon is not ${size}x$size"
done
[ -x "$prefix/bin/pimuru" ] || fail "no program in $prefix/bin"
# Replay files open with the program: their type is known by name and by content.
mime=$prefix/share/mime/packages/$id.xml
xmllint --noout "$mime" || fail "MIME type not valid XML"
grep -q 'application/x-pimuru-replay' "$mime" || fail "no MIME type for replays"
grep -q '^MimeType=application/x-pimuru-replay;$' "$entry" || fail "the menu entry does not open replays"
cp -r "$prefix/share/mime" "$work/mime"
update-mime-database "$work/mime" >/dev/null 2>&1
printf 'PIMURURP\001' >"$work/replay-without-its-suffix"  # known by its content
printf 'other bytes\000\001' >"$work/other.pimuru-replay" # known by its name
for file in "$work/replay-without-its-suffix" "$work/other.pimuru-replay"; do
    type=$(XDG_DATA_DIRS="$work" gio info -a standard::content-type "$file" | sed -n 's/.*content-type: //p')
    [ "$type" = application/x-pimuru-replay ] || fail "$file is taken for $type"
done

# 2. A read-only prefix with se3.wav missing, and an ordinary user.
rm "$prefix/share/pimuru/se3.wav"
chmod 755 "$work"
chmod -R a-w,a+rX "$prefix"
home=$work/home
mkdir -p "$home"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$home"
    as_user=(runuser -u nobody --)
fi
data_home=$home/data # set; the state folder is left to its default

# 3. An X server that any user may draw on.
Xvfb -displayfd 5 -ac -nolisten tcp -screen 0 1024x768x24 5>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "no X server"
export DISPLAY=:$(cat "$work/display")

# Started from the menu, without a file: the launcher leaves out the file's field code.
read -ra command < <(sed -n 's/^Exec=//p' "$entry" | sed 's/ %[fFuU]//')
cd "$home"
# A session's own environment only; its own process group, to end it whole.
setsid "${as_user[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" HOME="$home" \
    XDG_DATA_HOME="$data_home" QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 \
    "${command[@]}" >"$out/installed-program.log" 2>&1 &
pid=$!
disown # cleanup ends it with its group; the shell need not report that

wait_for() { # seconds, command...: polls every 100 ms
    local tries=$(($1 * 10))
    shift
    while ((tries-- > 0)); do
        if "$@"; then return 0; fi
        kill -0 "$pid" 2>/dev/null || fail "the program ended by itself: $(cat "$out/installed-program.log")"
        sleep 0.1
    done
    return 1
}
find_window() { # name: sets window
    window=$(xdotool search --onlyvisible --name "^$1\$" | head -1 || true)
    [ -n "$window" ]
}
no_window() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null; }

wait_for 30 find_window "$caption" || fail "no launcher window"
launcher=$window
eval "$(xdotool getwindowgeometry --shell "$launcher")"
left=$X top=$Y

# 4. Ctrl+S in the help window writes the player's copy, which is read back.
open_help() {
    xdotool mousemove $((left + 32 + 72)) $((top + 80 + 38)) click 1
    wait_for 20 find_window '遊び方' || fail "no help window"
    xdotool windowfocus --sync "$window"
}
copy=$data_home/pimuru/readme.txt
open_help
xdotool key ctrl+a type 'saved by the player'
xdotool key ctrl+s
wait_for 10 test -s "$copy" || fail "Ctrl+S wrote no copy into $data_home/pimuru"
xdotool key Escape
wait_for 10 no_window '遊び方' || fail "the help window did not close"
open_help
import -window root "$out/installed-help.png"
xdotool key ctrl+s # saves what it shows: the copy, not the installed file
sleep 0.5
xdotool key Escape
wait_for 10 no_window '遊び方' || fail "the help window did not close"
[ "$(cat "$copy")" = $'saved by the player\r' ] || fail "the copy was not read back: $(cat "$copy")"

# 5. A full-screen run goes on without se3.wav and logs it in the state folder.
xdotool mousemove $((left + 200 + 135)) $((top + 80 + 38)) click 1
full_screen() {
    eval "$(xdotool getwindowgeometry --shell "$launcher")"
    [ "$WIDTH" = 1024 ] && [ "$HEIGHT" = 768 ]
}
wait_for 30 full_screen || fail "the run did not start full-screen"
sleep 3
full_screen || fail "the run ended"
import -window root "$out/installed-run.png"
log=$home/.local/state/pimuru/ddsd.debug
grep -q 'se3\.wav' "$log" || fail "no line about se3.wav in $log"
echo "PASS: installed program ran from a read-only prefix; screenshots in $out"
