#!/usr/bin/env bash
# Runs Windows tests in the private Wine prefix with the screen at another DPI, then puts the
# prefix's DPI back as it was. Wine takes the DPI from the registry when its server starts, so the
# server is restarted on the way in and on the way out. Anywhere but on the private Wine desktop
# (scripts/private-desktop) it refuses before it touches anything.
# usage: run_at_dpi.sh DPI TEST_EXE GTEST_FILTER
set -euo pipefail
dpi=$1 exe=$2 filter=$3
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/private-desktop"
private_desktop_check || exit 1

# The prefix's own DPI, put back as it was found: a LogPixels value, or none.
found=$(wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels 2>/dev/null | tr -d '\r' |
  awk '$1 == "LogPixels" {print $3}')
restore() {
  if [ -n "$found" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$((found))" /f \
      >/dev/null 2>&1 || true
  else
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  fi
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
trap restore EXIT

wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -w
"$ROOT/scripts/private-wine" "$exe" "--gtest_filter=$filter"
