#!/usr/bin/env bash
# Lays out the seed corpora (fuzz/corpus/NAME/) from a built game folder and
# the test scripts. Run by hand after the scenario data or the file formats
# change: fuzz/make-corpus.sh [GAME_FOLDER]   (default: build/game)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(dirname "$here")"
game="$(cd "${1:-$repo/build/game}" && pwd)"
corpus="$here/corpus"
[ -d "$game/scenarios" ] || { echo "no game folder at $game: build first" >&2; exit 1; }

# An input made of several files: "==> NAME <==" before each one, and a
# newline between one file and the next header.
parts() {
  local first=1
  while [ $# -gt 0 ]; do
    [ $first -eq 1 ] || printf '\n'
    first=0
    printf '==> %s <==\n' "$1"
    cat "$2"
    shift 2
  done
}

# Only the seeds made here are written again; inputs the fuzzer found and that
# were merged in (tools/fuzz.sh, then NAME_fuzz -merge=1 fuzz/corpus/NAME
# build-fuzz/corpus/NAME) stay.
mkdir -p "$corpus"/{bmp,ustar,numbers,scenario,events,savedgame,script,replay,settings}

# Scenario sets: the whole real set of each scenario (also the fuzz game
# folder's scenarios), and the description or the glyph file alone (the other
# files are then the real korvath ones).
for s in korvath vexlar; do
  d="$game/scenarios"
  parts desc "$d/${s}Desc.txt" glyphs "$d/${s}GlyphDesc.txt" map "$d/$s.map" \
    >"$corpus/scenario/$s"
  parts desc "$d/${s}Desc.txt" >"$corpus/scenario/$s-desc"
done
parts glyphs "$game/scenarios/vexlarGlyphDesc.txt" >"$corpus/scenario/vexlar-glyphs"

# Event files, under their names in the game folder.
for f in "$game"/scenarios/*.txt; do
  case "$(basename "$f")" in
    *Desc.txt | [Kk]orvath.txt | vexlar.txt) ;; # also *GlyphDesc.txt
    *) cp "$f" "$corpus/events/" ;;
  esac
done

# Saved-game sets: the quick-start games.
for s in korvath vexlar; do
  b="$game/savedgames/QuickStartGame_$s"
  parts txt "$b.Txt" dat "$b.dat" map "$b.map" >"$corpus/savedgame/QuickStartGame_$s"
done

# Scripts: the script tests and the quick-start deployments.
cp "$repo"/tests/scripts/*.kvs "$corpus/script/"
for f in "$repo"/tools/headless/quickstart/*.kvs; do
  cp "$f" "$corpus/script/quickstart-$(basename "$f")"
done

# Replays: the golden battles, the script tests that play the player's
# commands and the quick-start deployments, written as the game records a
# battle ("replay 1", the seed, the start) with their blocks unrolled and
# without the driver's own lines (dump, set, expectations).
python3 - "$repo" "$corpus/replay" <<'PY'
import glob, os, re, sys
repo, out = sys.argv[1], sys.argv[2]

def unrolled(lines):
    result, i = [], 0
    while i < len(lines):
        w = lines[i].split()
        if w[:1] == ["repeat"]:
            depth, j = 1, i + 1
            while j < len(lines) and depth:
                v = lines[j].split()[:1]
                depth += v == ["repeat"]
                depth -= v == ["end"]
                j += 1
            body = unrolled(lines[i + 1:j - 1])
            result += body * min(int(w[1]), 2)
            i = j
            continue
        if w and w[0] not in ("dump", "set", "end") and not lines[i].startswith("#"):
            result.append(lines[i])
        i += 1
    return result

sources = sorted(glob.glob(f"{repo}/tests/golden/*.kvs")) + \
    [f"{repo}/tests/scripts/{n}.kvs" for n in
     ("replay_meanwhile", "save_load_quit", "walk_overwatch_korvath", "shoot_gate_firefight")] + \
    sorted(glob.glob(f"{repo}/tools/headless/quickstart/*.kvs"))
for path in sources:
    lines = [l for l in unrolled(open(path).read().splitlines())
             if not re.match(r"(replay|seed) ", l)]
    text = "# A battle of Korvath\nreplay 1\nseed 12345\n" + "\n".join(lines[:80]) + "\n"
    name = os.path.basename(os.path.dirname(path)) + "-" + os.path.basename(path)
    with open(f"{out}/{name}", "w") as f:
        f.write(text)
PY

# Settings files: the one the game writes, odd values, a damaged one, and
# what else an ini file may hold.
printf '[aids]\nlineOfFire=true\npathPreview=true\nseenEnemies=false\nshotOutcome=true\n\n[animation]\nspeed=normal\n\n[display]\nclassicFloors=false\n\n[sound]\nmuted=false\nvolume=100\n' \
  >"$corpus/settings/written"
printf '[animation]\nspeed=warp\n[sound]\nvolume=250\nmuted=yes\n' >"$corpus/settings/odd-values"
printf '[aids\npathPreview=false\n\001\377' >"$corpus/settings/damaged"
printf '[sound]\nvolume=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x32)\n[sound]\nvolume=75\n%%53ound/muted=true\n[General]\nsound\\volume="25"\n' \
  >"$corpus/settings/variants-and-escapes"

# Strict numbers: edge values and a few real lines.
printf '2147483647' >"$corpus/numbers/max"
printf -- '-2147483648' >"$corpus/numbers/min"
printf '+0012' >"$corpus/numbers/plus"
head -n 20 "$game/scenarios/korvathDesc.txt" | tail -n 3 >"$corpus/numbers/units"
head -n 6 "$game/scenarios/korvathBarracks.txt" >"$corpus/numbers/event"

# Bitmaps: a tile cut from the real sheet, and small pictures of every kind
# the reader takes. Wave archive: two tiny waves, one named through the
# ustar prefix field.
python3 - "$game" "$corpus" <<'PY'
import io, struct, sys, tarfile, wave
game, corpus = sys.argv[1], sys.argv[2]

def bmp(w, h, bpp, pixels, top_down=False, palette=b"", compression=0, extra=b""):
    stride = (w * bpp + 31) // 32 * 4
    rows = [pixels[y] + b"\0" * (stride - len(pixels[y])) for y in range(h)]
    data = b"".join(rows if top_down else rows[::-1])
    offset = 14 + 40 + len(extra) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, -h if top_down else h, 1, bpp, compression,
                       len(data), 2835, 2835, len(palette) // 4, 0)
    return header + info + extra + palette + data

with open(f"{game}/graphics/blocks.bmp", "rb") as f:
    sheet = f.read()
w, h = struct.unpack_from("<ii", sheet, 18)
stride = (w * 3 + 3) // 4 * 4
tile = []
for y in range(40):  # rows from the top of the sheet
    row = 54 + (h - 1 - (40 * 8 + y)) * stride + 40 * 3 * 3
    tile.append(sheet[row:row + 40 * 3])
out = {
    "tile24": bmp(40, 40, 24, tile),
    "odd24-topdown": bmp(5, 3, 24, [bytes(range(y * 15, y * 15 + 15)) for y in range(3)], top_down=True),
    "pal8": bmp(6, 3, 8, [bytes([0, 1, 2, 3, 2, 1])] * 3,
                palette=b"\0\0\0\0" + b"\xff\0\0\0" + b"\0\xff\0\0" + b"\0\0\xff\0"),
    "rgb32-bitfields": bmp(2, 2, 32, [b"\1\2\3\0\4\5\6\0"] * 2, compression=3,
                           extra=struct.pack("<III", 0xff0000, 0xff00, 0xff)),
}
for name, data in out.items():
    with open(f"{corpus}/bmp/{name}", "wb") as f:
        f.write(data)

def tiny_wave(n):
    b = io.BytesIO()
    with wave.open(b, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(11025)
        w.writeframes(bytes((i * 37) & 255 for i in range(n)))
    return b.getvalue()

b = io.BytesIO()
with tarfile.open(fileobj=b, mode="w", format=tarfile.USTAR_FORMAT) as t:
    for name, n in (("LoadMag.wav", 12), ("sounds/" + "x" * 100 + "/intro.wav", 5)):
        data = tiny_wave(n)
        info = tarfile.TarInfo(name)
        info.size, info.mtime, info.mode = len(data), 0, 0o644
        t.addfile(info, io.BytesIO(data))
with open(f"{corpus}/ustar/two-waves", "wb") as f:
    f.write(b.getvalue())
PY
du -sh "$corpus"
