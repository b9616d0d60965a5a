# Starts a run from the launcher with the keyboard alone, as on Wayland,
# where a client's windows cannot be found from X. Source it, then call
#   start_run_by_keys window|fullscreen
# once the program has been started. The launcher takes the keyboard when it
# shows; its start button is one Tab away, "play on a large screen" (ticked)
# two.
start_run_by_keys() {
    sleep 8
    if [ "$1" = window ]; then
        xdotool key Tab Tab space shift+Tab space
        sleep 3
        xdotool key Return # the advice about true colour
    else
        xdotool key Tab space
    fi
}
