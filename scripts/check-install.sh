#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and checks that the programs,
# the manual pages, the desktop entry, the metainfo and the icons are there
# and valid.
set -euo pipefail
build=${1:-build/test}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(
  bin/korrin
  bin/korrin-report
  share/man/man1/korrin.1.gz
  share/man/man1/korrin-report.1.gz
  share/applications/io.github.korrin.Korrin.desktop
  share/metainfo/io.github.korrin.Korrin.metainfo.xml
  share/icons/hicolor/scalable/apps/io.github.korrin.Korrin.svg
  share/icons/hicolor/scalable/mimetypes/application-x-korrin-station.svg
  share/mime/packages/io.github.korrin.Korrin.xml
)
for size in 16 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/io.github.korrin.Korrin.png")
done
for f in "${expected[@]}"; do
  [ -e "$prefix/$f" ] || { echo "missing after install: $f" >&2; exit 1; }
done
"$prefix/bin/korrin-report" --version >/dev/null

desktop-file-validate "$prefix/share/applications/io.github.korrin.Korrin.desktop"
# Station files are a document type of their own, opened by the program.
mime=$(mktemp -d)
trap 'rm -rf "$prefix" "$mime"' EXIT
mkdir -p "$mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$prefix/share/mime/packages/io.github.korrin.Korrin.xml" \
  "$mime/packages/"
update-mime-database "$mime"
grep -q '^60:application/x-korrin-station:\*\.station\.toml$' "$mime/globs2" \
  || { echo "the MIME type does not claim *.station.toml" >&2; exit 1; }
grep -q '^MimeType=application/x-korrin-station;$' \
  "$prefix/share/applications/io.github.korrin.Korrin.desktop" \
  || { echo "the desktop entry does not open station files" >&2; exit 1; }
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/io.github.korrin.Korrin.metainfo.xml"
fi
echo "install check passed: ${#expected[@]} files"
