#!/usr/bin/python3
"""Side-by-side bench: every format and every APE level, ours next to the standalone tool.

usage: bench.py BUILD CORPUS OUT [--rounds N] [--startup WINBUILD]

Each row times two whole processes on the same PCM (corpus track 1): ours (kestrip-rip
through the pipeline, or kestrip-ape-encode for the compressor library) and the standalone
tool (flac, lame, oggenc, cp; FFmpeg decoding our own APE file). The pair runs in turn,
ROUNDS times; medians are printed with sizes and peak memory, as text (OUT/bench.txt) and
as a bar chart (OUT/bench.png). Ratios are our time over theirs: lower is better.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

MINUTES_LONG_RIP = 74
SECTOR_FRAMES = 588


class Row:
    def __init__(self, name, ours, theirs, ours_out=None, theirs_out=None, target=None):
        self.name = name
        self.ours, self.theirs = ours, theirs
        self.ours_out, self.theirs_out = ours_out, theirs_out
        self.target = target  # the most our time may be, as a multiple of theirs
        self.times = {"ours": [], "theirs": []}
        self.peak = {"ours": 0, "theirs": 0}

    def median(self, side):
        return statistics.median(self.times[side])

    def ratio(self):
        return self.median("ours") / self.median("theirs")


def run(command):
    """Runs a command to its end; returns (seconds, peak resident KiB). GNU time reports the
    peak: a child forked from this interpreter would count the interpreter's pages too."""
    start = time.perf_counter()
    report = subprocess.run(["/usr/bin/time", "-f", "%M", "--"] + [str(c) for c in command],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    seconds = time.perf_counter() - start
    if report.returncode != 0:
        sys.exit(f"bench: {' '.join(map(str, command))} failed ({report.returncode}): {report.stderr}")
    return seconds, int(report.stderr.strip().splitlines()[-1])


def wav_frames(path):
    """Sample frames in a 16-bit stereo WAV file's data chunk."""
    data = path.read_bytes()[:4096]
    at = data.find(b"data")
    return int.from_bytes(data[at + 4:at + 8], "little") // 4


def write_cue(path, image, track_frames):
    """A CUE sheet over the raw image, one track per entry of track_frames."""
    lines = [f'FILE "{image}" BINARY']
    sector = 0
    for number, frames in enumerate(track_frames, 1):
        m, rest = divmod(sector, 75 * 60)
        s, f = divmod(rest, 75)
        lines += [f"  TRACK {number:02d} AUDIO", f"    INDEX 01 {m:02d}:{s:02d}:{f:02d}"]
        sector += frames // SECTOR_FRAMES
    path.write_text("\n".join(lines) + "\n")


def rows(build, corpus, scratch):
    bin_dir = build / "bin"
    rip, ape = str(bin_dir / "kestrip-rip"), str(bin_dir / "kestrip-ape-encode")
    track = corpus / "track01.wav"
    # The corpus as a disc image: the three tracks, and the whole ten minutes as one track.
    tracks = [wav_frames(corpus / f"track0{n}.wav") for n in (1, 2, 3)]
    write_cue(scratch / "album.cue", corpus / "album.pcm", tracks)
    write_cue(scratch / "disc.cue", corpus / "album.pcm", [sum(tracks)])
    cue = str(scratch / "album.cue")
    s = lambda name: str(scratch / name)
    ffmpeg_decode = lambda f: ["ffmpeg", "-v", "error", "-i", f, "-f", "null", "-"]
    result = [
        Row("FLAC (our settings)", [rip, cue, "1", "FLAC", s("ours.flac")],
            ["flac", "-s", "-f", "-b", "4608", "-l", "0", "-m", "-r", "0", "-o", s("flac.flac"), str(track)],
            s("ours.flac"), s("flac.flac")),
        Row("MP3 128 CBR", [rip, cue, "1", "MP3", s("ours.mp3")],
            ["lame", "--quiet", "-b", "128", "--cbr", str(track), s("lame.mp3")], s("ours.mp3"), s("lame.mp3")),
        Row("Ogg q 0.6", [rip, cue, "1", "Ogg", s("ours.ogg")],
            ["oggenc", "-Q", "-q", "6", "-o", s("oggenc.ogg"), str(track)], s("ours.ogg"), s("oggenc.ogg")),
        Row("Wav", [rip, cue, "1", "Wav", s("ours.wav")], ["cp", str(track), s("cp.wav")],
            s("ours.wav"), s("cp.wav")),
        Row("Wav, whole 10-min disc", [rip, str(scratch / "disc.cue"), "1", "Wav", s("disc.wav")],
            ["cp", str(corpus / "album.wav"), s("disc-cp.wav")], s("disc.wav"), s("disc-cp.wav"), target=1.5),
        Row("APE 2000 (rip)", [rip, cue, "1", "Ape", s("rip.ape")], ffmpeg_decode(s("rip.ape")),
            s("rip.ape"), target=1 / 1.5),
    ]
    for level in (1000, 2000, 3000, 4000):
        out = s(f"lib-{level}.ape")
        result.append(Row(f"APE {level} (library)", [ape, str(level), str(track), out], ffmpeg_decode(out),
                          out, target=1 / 1.5))
    return result


def measure(table, rounds):
    for row in table:
        print(f"  {row.name} ...", file=sys.stderr, flush=True)
        run(row.ours)  # a first run writes the file FFmpeg decodes and warms the caches
        for _ in range(rounds):
            for side, command in (("ours", row.ours), ("theirs", row.theirs)):
                seconds, peak = run(command)
                row.times[side].append(seconds)
                row.peak[side] = max(row.peak[side], peak)


def size(path):
    return os.path.getsize(path) if path and os.path.exists(path) else None


def format_table(table, pcm_bytes, long_rip, startup):
    mb = lambda kib: f"{kib / 1024:.1f}"
    size_text = lambda b: "-" if b is None else f"{b / 1e6:.2f} MB"
    header = ["row", "ours s", "theirs s", "ours/theirs", "target", "met", "ours size", "theirs size",
              "ours peak MB", "theirs peak MB"]
    lines = []
    for row in table:
        target = "" if row.target is None else f"<= {row.target:.3f}"
        met = "" if row.target is None else ("yes" if row.ratio() <= row.target else "NO")
        lines.append([row.name, f"{row.median('ours'):.3f}", f"{row.median('theirs'):.3f}", f"{row.ratio():.2f}",
                      target, met, size_text(size(row.ours_out)), size_text(size(row.theirs_out)),
                      mb(row.peak["ours"]), mb(row.peak["theirs"])])
    widths = [max(len(header[i]), *(len(l[i]) for l in lines)) for i in range(len(header))]
    fmt = lambda cells: "  ".join(c.ljust(w) if i == 0 else c.rjust(w) for i, (c, w) in enumerate(zip(cells, widths)))
    text = [fmt(header), fmt(["-" * w for w in widths])] + [fmt(l) for l in lines]
    text.append("")
    text.append(f"Same PCM for every row: corpus track 1 ({pcm_bytes / 176400:.1f} s); the disc row rips the whole")
    text.append("ten minutes. Whole-process wall times, medians; each pair timed in turn. Theirs: flac -b 4608")
    text.append("-l 0 -m -r 0, lame -b 128 --cbr, oggenc -q 6, cp of the WAV, FFmpeg decoding our APE file.")
    seconds, peak = long_rip
    text.append(f"APE 4000, {MINUTES_LONG_RIP} minutes of audio through the library: {seconds:.1f} s, peak memory "
                f"{peak / 1024:.1f} MB (limit 64 MB: {'met' if peak <= 64 * 1024 else 'NOT met'}).")
    if startup:
        text.append(startup)
    return "\n".join(text)


def chart(table, path):
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    names = [row.name for row in table]
    ours = [row.median("ours") for row in table]
    theirs = [row.median("theirs") for row in table]
    y = range(len(table))
    fig, ax = plt.subplots(figsize=(10, 0.55 * len(table) + 1.5))
    ax.barh([i - 0.2 for i in y], ours, height=0.4, label="Kestrip", color="#2b7bba")
    ax.barh([i + 0.2 for i in y], theirs, height=0.4, label="standalone tool / FFmpeg decode", color="#bbbbbb")
    for i, row in enumerate(table):
        ax.text(max(ours[i], theirs[i]) * 1.01, i, f"{row.ratio():.2f}x", va="center", fontsize=9)
    ax.set_yticks(list(y))
    ax.set_yticklabels(names)
    ax.invert_yaxis()
    ax.set_xlabel("seconds, whole process (median); label: our time / theirs")
    ax.set_title("Kestrip next to the standalone tools, corpus track 1")
    ax.legend(loc="lower right")
    ax.set_xlim(0, max(ours + theirs) * 1.15)
    fig.tight_layout()
    fig.savefig(path, dpi=100)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", type=Path)
    parser.add_argument("corpus", type=Path)
    parser.add_argument("out", type=Path)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--startup", help="shell command printing the start-up figure line")
    args = parser.parse_args()
    track = args.corpus / "track01.wav"
    if not track.exists():
        sys.exit(f"bench: no corpus in {args.corpus} (make it with shared/corpus/make-corpus.sh)")
    for tool in ("flac", "lame", "oggenc", "ffmpeg"):
        if not shutil.which(tool):
            sys.exit(f"bench: {tool} is missing (./kestrip setup installs it)")
    args.out.mkdir(parents=True, exist_ok=True)
    scratch = args.out / "scratch"
    shutil.rmtree(scratch, ignore_errors=True)
    scratch.mkdir()
    try:
        table = rows(args.build, args.corpus, scratch)
        measure(table, args.rounds)
        long_rip = run([str(args.build / "bin" / "kestrip-ape-encode"), "4000", str(track),
                        str(scratch / "long.ape"), str(MINUTES_LONG_RIP)])
        startup = subprocess.run(args.startup, shell=True, capture_output=True, text=True).stdout.strip() \
            if args.startup else ""
        text = format_table(table, wav_frames(track) * 4, long_rip, startup)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    print(text)
    (args.out / "bench.txt").write_text(text + "\n")
    chart(table, args.out / "bench.png")
    print(f"\n(table: {args.out / 'bench.txt'}, chart: {args.out / 'bench.png'})")


if __name__ == "__main__":
    main()
