#!/usr/bin/env bash
# Draws the program's icons with ImageMagick and writes them as .ico files into resources/icons,
# and the "No preview" picture into resources. The files are committed, so building needs no
# image tool; run this only to change them. Text needs a font package (fonts-dejavu-core).
set -euo pipefail
out="$(cd "$(dirname "$0")/.." && pwd)/resources/icons"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# draw NAME DRAW-ARGS...: a 256 x 256 picture on a transparent ground.
draw() {
    local name=$1
    shift
    convert -size 256x256 xc:none "$@" "$work/$name.png"
}

# ico NAME PICTURE SIZES...: one .ico holding the picture at each size, every image stored as
# PNG (as Windows Vista and later read them), so that large sizes stay small in the program.
# The program loads each icon at its size for the display's DPI (96 DPI times 1, 1.25, 1.5,
# 2), so the icons it shows scaled carry those sizes ready drawn.
ico() {
    local name=$1 picture=$2
    shift 2
    local frames=()
    for size in "$@"; do
        convert "$work/$picture.png" -resize "${size}x${size}" -depth 8 \
            -define png:exclude-chunks=date,time "PNG32:$work/$name-$size.png"
        frames+=("$work/$name-$size.png")
    done
    python3 - "$out/$name.ico" "${frames[@]}" <<'PACK'
import struct, sys
frames = [open(path, "rb").read() for path in sys.argv[2:]]
offset = 6 + 16 * len(frames)
entries = b""
for png in frames:
    width, height = struct.unpack(">II", png[16:24])
    entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png), offset)
    offset += len(png)
with open(sys.argv[1], "wb") as ico:
    ico.write(struct.pack("<HHH", 0, 1, len(frames)) + entries + b"".join(frames))
PACK
}

# The program: a blue tile with a white V.
draw app -fill '#1f5fbf' -draw 'roundrectangle 8,8 248,248 40,40' \
    -fill white -draw 'polygon 52,56 96,56 128,168 160,56 204,56 150,208 106,208'

# Page 1, computer: a monitor on its stand.
draw page-computer -fill '#39414d' -draw 'roundrectangle 16,28 240,188 14,14' \
    -fill '#4aa3f0' -draw 'rectangle 32,44 224,172' \
    -fill '#39414d' -draw 'polygon 108,188 148,188 160,224 96,224' \
    -draw 'roundrectangle 64,220 192,236 6,6'

# Page 2, taskbar: a screen with a bar of three buttons along its bottom.
draw page-taskbar -fill '#4aa3f0' -draw 'roundrectangle 12,32 244,224 12,12' \
    -fill '#202833' -draw 'rectangle 12,182 244,224' \
    -fill '#f2f2f2' -draw 'rectangle 28,192 52,214' \
    -fill '#7fc4ff' -draw 'rectangle 68,192 92,214' -draw 'rectangle 108,192 132,214' \
    -fill '#f2f2f2' -draw 'rectangle 200,196 232,210'

# Page 3, context menu: a menu with one highlighted row and a pointer.
draw page-menu -fill '#f4f4f4' -stroke '#5a5a5a' -strokewidth 6 \
    -draw 'rectangle 40,20 200,236' -stroke none \
    -fill '#3d8ee8' -draw 'rectangle 46,96 194,136' \
    -fill '#6b6b6b' -draw 'rectangle 60,44 176,56' -draw 'rectangle 60,164 176,176' \
    -draw 'rectangle 60,204 150,216' -fill white -draw 'rectangle 60,110 176,122' \
    -fill '#202020' -stroke white -strokewidth 6 \
    -draw 'polygon 150,120 150,230 176,204 194,244 214,234 196,196 230,196'

# Page 4, system: a gear.
draw page-system -fill '#5b6573' \
    -draw 'circle 128,128 128,40' \
    -draw 'rectangle 110,8 146,248' -draw 'rectangle 8,110 248,146' \
    -draw 'polygon 30,56 56,30 226,200 200,226' -draw 'polygon 200,30 226,56 56,226 30,200' \
    -fill '#c9d1dc' -draw 'circle 128,128 128,96'

# Page 5, security: a shield with a check mark.
draw page-security -fill '#2e8b57' \
    -draw 'polygon 128,12 232,48 224,144 128,244 32,144 24,48' \
    -fill none -stroke white -strokewidth 24 -draw 'polyline 76,128 114,168 184,88'

# Page 6, privacy: an eye.
draw page-privacy -fill '#f4f4f4' -stroke '#33404f' -strokewidth 10 \
    -draw 'ellipse 128,128 116,64 0,360' -stroke none \
    -fill '#3d7bd0' -draw 'circle 128,128 128,80' \
    -fill '#111111' -draw 'circle 128,128 128,106' \
    -fill white -draw 'circle 112,112 112,102'

# About: a white i on a blue disc.
draw about -fill '#1f5fbf' -draw 'circle 128,128 128,8' \
    -fill white -draw 'circle 128,68 128,48' -draw 'roundrectangle 108,104 148,208 10,10'

# The settings icon: a smaller gear.
draw settings -fill '#4b5563' \
    -draw 'circle 128,128 128,44' \
    -draw 'rectangle 108,16 148,240' -draw 'rectangle 16,108 240,148' \
    -draw 'polygon 40,68 68,40 216,188 188,216' -draw 'polygon 188,40 216,68 68,216 40,188' \
    -fill '#e5e7eb' -draw 'circle 128,128 128,98'

# The Import and Export dialog's view switch: a white question mark on a blue disc.
draw switch-view -fill '#1f5fbf' -draw 'circle 128,128 128,8' \
    -fill white -font DejaVu-Sans-Bold -pointsize 200 -gravity center -annotate +0+8 '?'

ico app app 256 64 48 32 24 16
ico about-dialog app 48 60 72 96
ico switch-view switch-view 16
ico app-small app 32 24 16
for page in computer taskbar menu system security privacy; do
    ico "page-$page" "page-$page" 96 120 144 192
done
ico about about 192 144 128 120 96 64 48 32 16
ico settings settings 48 60 72 96 32 24 16
echo "icons written to $out"

# The Preview dialog's picture when a tweak has none: 399 x 300, 16 colours, black on white.
convert -size 399x300 xc:white -font DejaVu-Sans -pointsize 40 -fill black -gravity center \
    -annotate +0+0 'No preview' -colors 16 -type Palette -depth 4 "BMP3:$out/../no-preview.bmp"
echo "picture written to $out/../no-preview.bmp"
