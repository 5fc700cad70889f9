#!/usr/bin/env bash
# Writes a small seed corpus for each fuzzing target into the given folder (one sub-folder per
# target): media made with ffmpeg's test sources, and typical subtitle, profile and strings files.
set -euo pipefail
out="${1:?usage: make_seeds.sh FOLDER}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mkdir -p "$out"/{probe,subtitle,ini,strings}
ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
ff -f lavfi -i testsrc2=size=64x48:rate=10:duration=0.3 -f lavfi -i sine=duration=0.3 -c:v libx264 -c:a aac "$out/probe/a.mp4"
ff -f lavfi -i testsrc2=size=64x48:rate=10:duration=0.3 -c:v mpeg2video "$out/probe/b.ts"
ff -f lavfi -i testsrc2=size=64x48:rate=10:duration=0.3 -c:v libvpx-vp9 "$out/probe/c.webm"
ff -f lavfi -i sine=duration=0.3 "$out/probe/d.wav"
ff -f lavfi -i testsrc2=size=64x48 -frames:v 1 "$out/probe/e.jpg"
printf '1\n00:00:00,000 --> 00:00:01,000\nHello <i>world</i>\n\n2\n00:00:01,000 --> 00:00:02,000\nSecond\n' > "$out/subtitle/a.srt"
printf '[Script Info]\nScriptType: v4.00+\n\n[V4+ Styles]\nFormat: Name, Fontname, Fontsize\nStyle: Default,Arial,20\n\n[Events]\nFormat: Layer, Start, End, Style, Text\nDialogue: 0,0:00:00.00,0:00:01.00,Default,{\\b1}Hi\n' > "$out/subtitle/b.ass"
# sed reads the whole list (head would close the pipe early and fail the pipeline).
find "$here/Settings.bundle" -name '*.pf' | sort | sed -n '1,20p' | while read -r f; do cp "$f" "$out/ini/"; done
find "$here/Settings.bundle/strings" -name '*.strings' | sort | sed -n '1,20p' | while read -r f; do
  cp "$f" "$out/strings/$(basename "$(dirname "$f")")-$(basename "$f")"
done
