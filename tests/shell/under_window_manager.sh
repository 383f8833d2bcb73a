#!/bin/sh
# Runs a program (the desktop program's tests) under the openbox window
# manager on the X display that xvfb-run made, and exits with its status.
# openbox starts the program once it manages the screen, so the first window
# already meets the window manager, and is told to exit when the program ends.
#   under_window_manager.sh PROGRAM [ARGUMENT...]
set -u
if [ "${1:-}" = "--inside" ]; then
    status_file=$2
    shift 2
    "$@"
    echo $? > "$status_file"
    exec openbox --exit
fi
status_file=$(mktemp)
trap 'rm -f "$status_file"' EXIT
echo 1 > "$status_file"
startup="sh '$0' --inside '$status_file'"
for word in "$@"; do
    startup="$startup '$word'"
done
openbox --sm-disable --startup "$startup" || exit 1
exit "$(cat "$status_file")"
