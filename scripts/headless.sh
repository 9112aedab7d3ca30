#!/usr/bin/env bash
# Runs a command under an X server of its own, whatever DISPLAY says, so that tests and benchmarks never
# open windows, switch modes or type keys on the desktop of the person who started them. Xvfb picks a
# free display number itself (-displayfd), so several suites can run side by side on one machine.
#
#   scripts/headless.sh COMMAND [ARG...]    exits with the command's status
#
# -noreset keeps the server up between clients: without it a test that connects just as another
# disconnects is refused. The server listens only on its local socket and ends with the command.
set -u
if [ $# -eq 0 ]; then
    echo "usage: scripts/headless.sh COMMAND [ARG...]" >&2
    exit 2
fi
command -v Xvfb > /dev/null || { echo "headless: Xvfb is not installed (scripts/install-deps.sh test)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tavok-x.XXXXXX")
server=
cleanup() {
    if [ -n "$server" ] && kill -0 "$server" 2> /dev/null; then
        kill "$server"
        wait "$server" 2> /dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1920x1080x24 3> "$work/display" 2> "$work/log" &
server=$!
# The server writes its display number, then a newline, once it accepts clients.
for _ in $(seq 200); do
    if grep -q '^[0-9][0-9]*$' "$work/display" 2> /dev/null; then
        break
    fi
    if ! kill -0 "$server" 2> /dev/null; then
        echo "headless: Xvfb did not start:" >&2
        cat "$work/log" >&2
        exit 1
    fi
    sleep 0.05
done
grep -q '^[0-9][0-9]*$' "$work/display" || { echo "headless: Xvfb gave no display number" >&2; exit 1; }

export DISPLAY=":$(cat "$work/display")"
# Scripts that start the game themselves (the leak check) see that they already have a private server.
export TAVOK_PRIVATE_DISPLAY=$DISPLAY
unset XAUTHORITY WAYLAND_DISPLAY
"$@"
