#!/bin/sh
# Runs a program and runs it once more when LeakSanitizer itself failed at
# exit: its tracer now and then cannot stop one of GTK's threads and ends the
# process with "LeakSanitizer has encountered a fatal error", which says
# nothing of the program's own leaks or tests. Any other failure stands.
#   rerun_on_leak_checker_fault.sh PROGRAM [ARGUMENT...]
set -u
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# The program's standard error still reaches the caller as it is written.
status_of_run() {
    status_file=$(mktemp)
    { "$@" 2>&1 1>&3 3>&-; echo $? > "$status_file"; } 3>&1 | tee "$log" >&2
    status=$(cat "$status_file")
    rm -f "$status_file"
    return "$status"
}
status_of_run "$@"
status=$?
if [ "$status" -ne 0 ] && grep -q "LeakSanitizer has encountered a fatal error" "$log"; then
    echo "rerun_on_leak_checker_fault.sh: the leak checker failed, not the program: running it once more" >&2
    status_of_run "$@"
    status=$?
fi
exit "$status"
