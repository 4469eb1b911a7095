#!/bin/bash
# Installs the build into a temporary prefix and checks what a desktop finds
# there: the program, a valid desktop entry that hands it one file, the icon
# and the manual page.
# Usage: install_test.sh <cmake> <build dir>
set -euo pipefail
cmake="$1"
build="$2"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
for f in bin/vardellvision share/applications/vardellvision.desktop \
         share/icons/hicolor/scalable/apps/vardellvision.svg share/man/man1/vardellvision.1; do
  [ -f "$prefix/$f" ] || { echo "not installed: $f" >&2; exit 1; }
done
entry="$prefix/share/applications/vardellvision.desktop"
desktop-file-validate "$entry"
grep -qx 'Exec=vardellvision %f' "$entry" || { echo "Exec does not hand over one file" >&2; exit 1; }
for type in video/x-msvideo video/mpeg video/mp4 video/x-m4v video/x-matroska video/webm video/quicktime; do
  grep -q "^MimeType=.*$type;" "$entry" || { echo "MIME type missing: $type" >&2; exit 1; }
done

"$prefix/bin/vardellvision" --version | grep -q '^VardellVision '
status=0
"$prefix/bin/vardellvision" "$prefix/no-such-video.avi" 2>/dev/null || status=$?
[ "$status" -eq 2 ] || { echo "a missing file gave status $status, not 2" >&2; exit 1; }
echo "installed and valid"
