#!/bin/bash
# Every file korrin-report writes, and its standard output, on a full disk:
# exit status 1, the file's name and the system's reason on standard error,
# the old file as it was and no temporary file left behind.  The disk is a
# 64 KiB tmpfs in a mount namespace of the test's own; where the machine
# cannot make one, the test says so and is skipped (status 77).
#
#   outputs_on_a_full_disk.sh REPORT STATION_TOML
set -u
report=$1
station=$2

if [ "${KORRIN_SMALL_DISK:-}" = "" ]; then
  dir=$(mktemp -d)
  trap 'rm -rf "$dir"' EXIT
  for ns in "unshare --mount --propagation private" "unshare --mount --map-root-user"; do
    if $ns true 2>/dev/null; then
      KORRIN_SMALL_DISK=$dir $ns bash "$0" "$@"
      exit $?
    fi
  done
  echo "skipped: no mount namespace can be made here (run as root, or allow user namespaces)"
  exit 77
fi

dir=$KORRIN_SMALL_DISK
if ! mount -t tmpfs -o size=64k tmpfs "$dir"; then
  echo "skipped: a tmpfs cannot be mounted here"
  exit 77
fi

failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# check NAME TARGET REASON_REGEX ARGS...: runs the report with the disk full
# and an old TARGET on it.  A NAME starting "stdout" sends standard output
# to TARGET (which the shell empties first).
check() {
  local name=$1 target=$2 reason=$3
  shift 3
  rm -rf "${dir:?}"/* "$dir"/.[!.]* 2>/dev/null
  printf 'the old file' >"$dir/$target"
  # The disk filled to its last byte.
  dd if=/dev/zero of="$dir/filler" bs=1k 2>/dev/null
  dd if=/dev/zero of="$dir/filler2" bs=1 2>/dev/null
  local status err
  if [[ $name == stdout* ]]; then
    err=$("$report" "$@" 2>&1 >"$dir/$target")
    status=$?
  else
    err=$("$report" "$@" 2>&1)
    status=$?
    [ "$(cat "$dir/$target")" = "the old file" ] || fail "$name: $target was changed"
  fi
  [ "$status" -eq 1 ] || fail "$name: exit status $status, not 1"
  printf '%s' "$err" | grep -Eq "$reason" || fail "$name: standard error does not match \"$reason\": $err"
  local left
  left=$(cd "$dir" && ls -A | grep -v -x -e "$target" -e filler -e filler2)
  [ -z "$left" ] || fail "$name: left behind: $left"
}

full="No space left on device"
moon=(--band 1296 --moon --locator FN20xa --dx JO65fr --from 2026-12-07T00:00Z --hours 2 --step-minutes 60)
check "png" out.png "cannot write [^ ]*out\\.png \\($full\\)" --png "$dir/out.png"
check "pdf" out.pdf "cannot write [^ ]*out\\.pdf \\($full\\)" --pdf "$dir/out.pdf"
check "plot" out.svg "cannot write [^ ]*out\\.svg \\($full\\)" --plot "$dir/out.svg"
check "moon plot" out.svg "cannot write [^ ]*out\\.svg \\($full\\)" "${moon[@]}" --moon-plot "$dir/out.svg"
check "record" out.pdf "cannot write [^ ]*out\\.pdf \\($full\\)" --record "$dir/out.pdf"
check "station file" out.station.toml "out\\.station\\.toml \\($full\\)" \
  --station-file "$dir/out.station.toml"
check "Save Data" out.rsd "out\\.rsd.{0,3} was not saved: $full" --do "Save_DataClick=$dir/out.rsd"
check "site plan" out.svg "out\\.svg \\($full\\)" "$station" --site-plan "$dir/out.svg"
check "stdout, calculator" out.json "standard output \\($full\\)" --json
check "stdout, station file" out.json "standard output \\($full\\)" --json "$station"

[ "$failures" -eq 0 ] || exit 1
echo "every output refused whole on a full disk"
