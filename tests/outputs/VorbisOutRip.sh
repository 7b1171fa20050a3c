#!/usr/bin/env bash
# VorbisOutRip.sh FILE RAW SECTORS: a demo-disc track ripped to Ogg (rip-demo-disc.sh), checked
# with ogginfo, ffprobe and ffmpeg against the track's length (VorbisOutCheck.sh stream).
set -euo pipefail
exec bash "$(dirname "${BASH_SOURCE[0]}")/VorbisOutCheck.sh" stream "$1" 2 44100 $(($3 * 588))
