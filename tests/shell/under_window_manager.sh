#!/bin/sh
# Runs a program (the desktop program's tests) under the openbox window
# manager on the X display that xvfb-run made, and exits with its status.
# openbox starts the program once it manages the screen, so the first window
# already meets the window manager, and is told to exit when the program ends.
#   under_window_manager.sh PROGRAM [ARGUMENT...]
set -u
if [ "${1:-}" = "--inside" ]; then
    status_file=$2
    folder=$3
    shift 3
    (cd "$folder" && "$@")
    echo $? > "$status_file"
    exec openbox --exit
fi
status_file=$(mktemp)
trap 'rm -f "$status_file"' EXIT
echo 1 > "$status_file"
# openbox starts the command from a folder of its own choosing.
startup="sh '$(readlink -f "$0")' --inside '$status_file' '$(pwd)'"
for word in "$@"; do
    startup="$startup '$word'"
done
openbox --sm-disable --startup "$startup" || exit 1
exit "$(cat "$status_file")"
