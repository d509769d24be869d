#!/usr/bin/env bash
# zip.sh ZIP FOLDER: writes the files under FOLDER into ZIP so that the same files make the same
# bytes for anyone, anywhere, at any time: names in byte order, no folder entries, every file
# readable by all (mode 0644), no owners and no extra times (zip -X), and every file's time
# SOURCE_DATE_EPOCH when that is set, in UTC (zip stores the local time).
set -euo pipefail
zip="$1"
cd "$2"
if [[ -n "${SOURCE_DATE_EPOCH:-}" ]]; then
  find . -type f -exec touch -d "@$SOURCE_DATE_EPOCH" {} +
fi
find . -type f -exec chmod 0644 {} +
rm -f "$zip"
find . -type f -printf '%P\n' | LC_ALL=C sort | TZ=UTC zip -q -X -D -@ "$zip"
