#!/usr/bin/env bash
# The real Vantrel.exe under Wine, on the session's X server, fed by the glove simulator on
# COM1: the readings show and change; an unplug (the simulator gone, its pseudo-terminal
# closed) stops them and a replug resumes them by themselves; Ctrl+X closes the port and ends
# the program with status 0. All the while it records and forwards over OSC: the file holds
# every sample in order, the unplug a gap in its times, and ends with a whole row; liblo's
# oscdump received every one of them as well.
#   program-under-wine.sh Vantrel.exe      (run by tests/windows/run-tests)
set -euo pipefail
program=$1
. "$(dirname "$0")/glove-under-wine.sh" program
plug_glove() {
    : >"$work/sim.log"
    "$sim" --pattern wave >"$work/sim.path" 2>"$work/sim.log" &
    sim_pid=$!
    for _ in $(seq 100); do [ -s "$work/sim.path" ] && break; sleep 0.05; done
    ln -sfn "$(head -n 1 "$work/sim.path")" "$glove_link"
}
unplug_glove() {
    kill "$sim_pid"
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=
}
# Whether what the screen shows changes within half a second.
screen_changes() {
    "$screenshot" "$work/a.png" && sleep 0.5 && "$screenshot" "$work/b.png"
    ! cmp -s "$work/a.png" "$work/b.png"
}

port=$((20000 + RANDOM % 20000))
oscdump -L "$port" >"$work/osc.txt" 2>&1 &
oscdump_pid=$!
more_cleanup() { kill "$oscdump_pid" 2>/dev/null || true; }
plug_glove
# No port named: ComPort 1 is the first serial port present, COM1.
wine "$program" --verbose --record "$(winepath -w "$work/glove.csv")" --osc "127.0.0.1:$port" \
    >"$work/program.log" 2>&1 &
app_pid=$!
wait_for "$work/program.log" "ComPort 1: opened COM1"
wait_for "$work/sim.log" "the line was opened"
wait_for_window "Vantrel Software"
window=$found
sleep 1
screen_changes || fail "the readings do not change while the glove sends"
echo "ok: the readings follow the glove on COM1"

unplug_glove
wait_for "$work/program.log" "ComPort 1: COM1 vanished"
# The status bar's row count, refreshed once a second, takes the last rows written.
sleep 1.5
screen_changes && fail "the readings change with the glove unplugged"
echo "ok: an unplug is noticed and the readings stand still"

plug_glove
wait_for "$work/program.log" "ComPort 1: resumed on COM1"
sleep 1
screen_changes || fail "the readings do not resume after the replug"
echo "ok: the replugged glove is read again"

xdotool windowfocus --sync "$window" key ctrl+x
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "Ctrl+X did not end the program"
status=0
wait "$app_pid" || status=$?
app_pid=
[ "$status" -eq 0 ] || fail "exit status $status"
wait_for "$work/program.log" "ComPort 1: closed COM1"
wait_for "$work/sim.log" "the line was closed"
echo "ok: Ctrl+X closes the port and ends the program"

# Numbered 1, 2, ... with no row missing; the longest pause between two rows is the unplug.
awk -F, 'NR == 1 { ok = $0 == "Sample,Seconds,UTC,Thumb,Index,Middle,Ring,Roll,Pitch,Input1,Input2"; next }
         { ok = ok && NF == 11 && $1 == NR - 1; if (NR > 2 && $2 - last > gap) gap = $2 - last; last = $2 }
         END { exit !(ok && NR > 300 && gap > 0.5) }' "$work/glove.csv" ||
    fail "the recording is not every sample in order with the unplug's gap: $(wc -l <"$work/glove.csv") lines"
[ "$(tail -c 1 "$work/glove.csv" | od -An -c | tr -d ' ')" = '\n' ] ||
    fail "the recording does not end with a whole row"
echo "ok: the recording holds every sample, the unplug as a gap, and ends with a whole row"

sleep 0.3
tr -d '\r' <"$work/glove.csv" | awk -F, 'NR > 1 { print $4, $5, $6, $7, $8, $9, $10, $11 }' \
    >"$work/recorded"
awk '$2 == "/vantrel/glove" { print $4, $5, $6, $7, $8, $9, $10, $11 }' "$work/osc.txt" \
    >"$work/forwarded"
cmp -s "$work/recorded" "$work/forwarded" ||
    fail "oscdump did not receive every sample recorded: $(wc -l <"$work/forwarded") of $(wc -l <"$work/recorded")"
echo "ok: --osc sent every sample, as liblo's oscdump reads them"
