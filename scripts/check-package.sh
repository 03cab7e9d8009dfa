#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh), checks it with lintian
# (any error fails; warnings are shown), unpacks it into a scratch root with
# dpkg -x and runs the programs from there: korrin-report's version, a
# report of the start-up station, a picture of the window and the plot.  The manual
# pages in the package must format without a warning.
set -euo pipefail
cd "$(dirname "$0")/.."

deb=$(bash scripts/package.sh | tail -n 1)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Architecture Section Depends
dpkg-deb --field "$deb" Depends | grep -Eq '(^|, )nec2c(,|$| )' ||
  { echo "the package does not depend on nec2c" >&2; exit 1; }

echo "-- lintian (errors fail; warnings and notes are listed)"
lintian --fail-on error --info "$deb" 2> >(grep -v 'running with root privileges' >&2)

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

expected=(
  usr/bin/korrin
  usr/bin/korrin-report
  usr/share/man/man1/korrin.1.gz
  usr/share/man/man1/korrin-report.1.gz
  usr/share/doc/korrin/copyright
  usr/share/doc/korrin/changelog.gz
  usr/share/doc/korrin/README.md
  usr/share/applications/io.github.korrin.Korrin.desktop
  usr/share/metainfo/io.github.korrin.Korrin.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/io.github.korrin.Korrin.svg
  usr/share/icons/hicolor/scalable/mimetypes/application-x-korrin-station.svg
  usr/share/mime/packages/io.github.korrin.Korrin.xml
)
for size in 16 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/io.github.korrin.Korrin.png")
done
for f in "${expected[@]}"; do
  [ -f "$root/$f" ] || { echo "missing from the package: $f" >&2; exit 1; }
done

version=$(sed -n 's/^project(Korrin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
got=$("$root/usr/bin/korrin-report" --version)
[ "$got" = "korrin-report $version" ] || { echo "unexpected version: $got" >&2; exit 1; }

report=$(cd "$root" && LC_ALL=C.UTF-8 ./usr/bin/korrin-report)
for line in "Korrin station report" "On-axis exclusion zone"; do
  grep -q "$line" <<<"$report" || { echo "the report lacks \"$line\":" >&2; echo "$report" >&2; exit 1; }
done
XDG_RUNTIME_DIR="$root" QT_QPA_PLATFORM=offscreen "$root/usr/bin/korrin-report" \
  --png "$root/window.png" --plot "$root/plot.svg" >/dev/null
file "$root/window.png" | grep -q "PNG image data" || { echo "no PNG from the package" >&2; exit 1; }
grep -q "<svg" "$root/plot.svg" || { echo "no SVG plot from the package" >&2; exit 1; }

for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$page: $warnings" >&2; exit 1; }
done
echo "package check passed: ${#expected[@]} files, $(du -k "$deb" | cut -f1) KiB"
