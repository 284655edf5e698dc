#!/usr/bin/env bash
# The wearer's calibration in the real Vantrel.exe under Wine: one saved in the registry is
# put in effect at start (a finger calibrated 0 to 128 at raw 64 shows as an uncalibrated one
# at raw 128 does), a run that saves nothing writes nothing, and Ctrl+S writes it back.
#   calibration-under-wine.sh Vantrel.exe      (run by tests/windows/run-tests)
set -euo pipefail
program=$1
. "$(dirname "$0")/glove-under-wine.sh" calibration

# The window above its "Raw Data" readouts and status bar: the bars and the hand.
bars_and_hand() {
    "$screenshot" "$1" --cut-bottom 120
}

run_with_pose "128 128 128 128 100 100 0 0"
bars_and_hand "$work/raw.png"
"$screenshot" "$work/raw-whole.png"
# The bars follow the glove, so that an equal picture below means something.
echo "0 0 0 0 100 100 0 0" >&3
sleep 1
bars_and_hand "$work/open.png"
cmp -s "$work/raw.png" "$work/open.png" && fail "the bars do not follow the glove"
quit
wine reg query "$key" >/dev/null 2>&1 && fail "a run without Save wrote to the registry"
echo "ok: a run without Save writes nothing"

for finger in Thumb Index Middle Ring; do
    wine reg add "$key\\Gloves\\com1" /v "$finger" /t REG_SZ /d "0 128" /f >/dev/null 2>&1
done
run_with_pose "64 64 64 64 100 100 0 0"
bars_and_hand "$work/calibrated.png"
cmp -s "$work/raw.png" "$work/calibrated.png" ||
    fail "the saved calibration is not in effect: the bars differ from raw 128's"
"$screenshot" "$work/calibrated-whole.png"
cmp -s "$work/raw-whole.png" "$work/calibrated-whole.png" &&
    fail "the readouts do not show the raw 64"
echo "ok: the calibration saved in the registry is in effect at start"

xdotool windowfocus --sync "$window"
sleep 0.3
xdotool key ctrl+s
for _ in $(seq 50); do
    wine reg query "$key\\Gloves\\com1" /v Filter 2>/dev/null | tr -d '\r' | grep -q false && break
    sleep 0.1
done
saved=$(wine reg query "$key\\Gloves\\com1" 2>/dev/null | tr -d '\r')
grep -q 'Filter.*false' <<<"$saved" && grep -q 'Thumb.*0 128' <<<"$saved" ||
    fail "Ctrl+S did not write the calibration back: $saved"
quit
echo "ok: Ctrl+S keeps the calibration in the registry"
