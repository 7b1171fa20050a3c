#!/usr/bin/env bash
# FLACOutRip.sh FILE RAW SECTORS: a demo-disc track ripped to FLAC (rip-demo-disc.sh), checked
# against the track's bytes by FLACOutCheck.sh (flac -t, metaflac, decode).
set -euo pipefail
mv "$2" "$1.expected.raw"
exec bash "$(dirname "${BASH_SOURCE[0]}")/FLACOutCheck.sh" "$1"
