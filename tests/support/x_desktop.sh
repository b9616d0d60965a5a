# Shell helpers for tests that look at the program's windows on an X server
# (with or without a window manager); sourced. Needs xwininfo, xprop and
# ImageMagick. The sourcing script sets $pid (the program) and defines
# fail().

# Polls a command once every 100 ms for up to $1 seconds; fails at once when
# the program has ended.
wait_for() {
    local seconds=$1
    shift
    local tries=$((seconds * 10))
    while ((tries-- > 0)); do
        if "$@"; then return 0; fi
        kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"
        sleep 0.1
    done
    return 1
}

# Sets X Y WIDTH HEIGHT: the client area of window $1 on the screen (a
# window manager's frame not included) and MAPPED (1 when viewable).
window_geometry() {
    eval "$(xwininfo -id "$1" 2>/dev/null | awk '
        /Absolute upper-left X/ { print "X=" $4 } /Absolute upper-left Y/ { print "Y=" $4 }
        /^  Width:/ { print "WIDTH=" $2 } /^  Height:/ { print "HEIGHT=" $2 }
        /Map State:/ { print "MAPPED=" ($3 == "IsViewable" ? 1 : 0) }')"
}

# Sets FRAME_LEFT FRAME_TOP: how far the window manager's frame reaches left
# of and above window $1 (0 without a manager).
frame_extents() {
    FRAME_LEFT=0
    FRAME_TOP=0
    local extents
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p')
    [ -n "$extents" ] && IFS=', ' read -r FRAME_LEFT _ FRAME_TOP _ <<<"$extents"
    return 0
}

# The number of pixels of a screenshot that are exactly a colour.
pixels_of_colour() { # file colour
    convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:round(mean * w * h)]' info:
}

# The colour the root window is painted: the game never shows it, so any
# pixel of it on a full-screen run is desktop left uncovered.
uncovered_colour='#FF00FF'
paint_root() { xsetroot -solid "$uncovered_colour"; }
