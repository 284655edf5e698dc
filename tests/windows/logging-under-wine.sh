#!/usr/bin/env bash
# Data Logging in the real Vantrel.exe under Wine: started from the dialog with a file named
# there, stopped there while the program goes on; the file holds a header and every sample
# in between, numbered, and ends with a whole row.
#   logging-under-wine.sh Vantrel.exe      (run by tests/windows/run-tests)
set -euo pipefail
program=$1
. "$(dirname "$0")/glove-under-wine.sh" logging
open_data_logging() {
    xdotool mousemove $(at 138 8) click 1
    sleep 0.5
    xdotool mousemove $(at 160 50) click 1
    wait_for_window "Data Logging"
    xdotool windowfocus --sync "$found"
    sleep 0.3
}

run_with_pose "200 190 180 170 100 120 0 0"
open_data_logging
xdotool key ctrl+a
xdotool type --delay 5 "$(winepath -w "$work/dialog.csv")"
xdotool key Return
sleep 2
open_data_logging
xdotool key alt+s
sleep 0.5
xdotool key Escape
sleep 1
rows_then=$(wc -l <"$work/dialog.csv")
sleep 1
[ "$(wc -l <"$work/dialog.csv")" -eq "$rows_then" ] || fail "Stop did not end the recording"
quit

tr -d '\r' <"$work/dialog.csv" |
    awk -F, 'NR == 1 { ok = $0 == "Sample,Seconds,UTC,Thumb,Index,Middle,Ring,Roll,Pitch,Input1,Input2"; next }
             { ok = ok && NF == 11 && $1 == NR - 1 }
             END { exit !(ok && NR > 200) }' ||
    fail "the recording is not every sample in order: $(wc -l <"$work/dialog.csv") lines"
[ "$(tail -c 1 "$work/dialog.csv" | od -An -c | tr -d ' ')" = '\n' ] ||
    fail "the recording does not end with a whole row"
echo "ok: Data Logging records from OK until Stop"
