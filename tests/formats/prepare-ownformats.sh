#!/usr/bin/env bash
# Reference files for the IFF/ILBM, PCX, Targa and PhotoCD readers, written by netpbm and ImageMagick,
# with the picture each was made from. Usage: prepare-ownformats.sh OUTDIR
# Writes OUTDIR/own/manifest.txt, one line per file: FORMAT TOOL FILE REFERENCE TOLERANCE
# (REFERENCE is a PPM/PGM the decoded pixels must match, TOLERANCE the largest channel difference allowed).
# Idempotent: a file that exists is not made again; the manifest is rewritten each time.
set -euo pipefail
out=${1:?usage: prepare-ownformats.sh OUTDIR}/own
mkdir -p "$out"
cd "$out"

for tool in convert ppmtoilbm ppmtopcx pamtotga ilbmtoppm tgatoppm pamflip; do
    command -v "$tool" >/dev/null || { echo "prepare-ownformats: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

manifest=manifest.txt.new
: > "$manifest"

# make OUT COMMAND...: runs COMMAND with its output into OUT unless OUT exists. A failed or empty
# result is removed (the next run tries again) and reported; the tests then name the missing file.
make() {
    local target=$1
    shift
    if [ ! -s "$target" ]; then
        if ! "$@" > "$target.tmp" 2>/dev/null || [ ! -s "$target.tmp" ]; then
            rm -f "$target.tmp"
            echo "prepare-ownformats: could not make $target" >&2
            return 0
        fi
        mv "$target.tmp" "$target"
    fi
}
# im OUT ARGS...: ImageMagick writing OUT itself (its format comes from the name or a prefix).
im() {
    local target=$1
    shift
    if [ ! -s "$target" ]; then
        if ! convert "$@" "tmp-$target" 2>/dev/null || [ ! -s "tmp-$target" ]; then
            rm -f "tmp-$target"
            echo "prepare-ownformats: could not make $target" >&2
            return 0
        fi
        mv "tmp-$target" "$target"
    fi
}
entry() { echo "$*" >> "$manifest"; }

# Source pictures: odd sizes so every row needs padding, 8 bits per sample.
im src_rgb.ppm -seed 7 -size 61x37 plasma: -depth 8
im src_256.ppm src_rgb.ppm +dither -colors 200 -depth 8
im src_16.ppm src_rgb.ppm +dither -colors 16 -depth 8
im src_8.ppm src_rgb.ppm +dither -colors 8 -depth 8
im src_4.ppm src_rgb.ppm +dither -colors 4 -depth 8
im src_2.ppm src_rgb.ppm +dither -colors 2 -depth 8
im src_grey.pgm src_rgb.ppm -colorspace Gray -depth 8
im src_bw.pbm src_rgb.ppm -colorspace Gray -threshold 50% -type Bilevel
im src_bw.ppm src_bw.pbm -depth 8 -type TrueColor
im src_bw.png src_bw.pbm -define png:format=png8
im src_rgba.pam src_rgb.ppm -alpha set -channel A -fx 'i/w' +channel -depth 8
im src_wide.ppm -seed 5 -size 3001x3 plasma: -depth 8
im src_wide32.pam src_wide.ppm -alpha set -channel A -fx 'j/h' +channel -crop 2001x3+0+0 +repage -depth 8
im src_wide32.ppm src_wide32.pam -alpha off -depth 8
im src_mask.pbm -size 61x37 pattern:checkerboard -threshold 50% -type Bilevel

# IFF/ILBM, by netpbm (ImageMagick does not write it). Colour-mapped and 24-plane files must give
# the source exactly; the reduced ones (fewer bits per channel, HAM) give what ilbmtoppm reads.
ilbm() { # NAME SOURCE REFERENCE(or -) OPTIONS...
    local name=$1 source=$2 ref=$3
    shift 3
    make "$name" ppmtoilbm "$@" "$source"
    if [ "$ref" = - ]; then
        make "$name.ref.ppm" ilbmtoppm "$name"
        ref=$name.ref.ppm
    fi
    # ilbmtoppm gives a 5-6-5 file one maxval (63) for all three channels: its red and blue are
    # rounded twice.
    local tol=0
    case $name in *dcol565*) tol=2 ;; esac
    entry ILBM netpbm "$name" "$ref" "$tol"
}
ilbm ilbm_1plane.iff src_2.ppm src_2.ppm
ilbm ilbm_1plane_raw.iff src_2.ppm src_2.ppm -nocompress
ilbm ilbm_2planes.iff src_4.ppm src_4.ppm
ilbm ilbm_3planes.iff src_8.ppm src_8.ppm
ilbm ilbm_4planes.iff src_16.ppm src_16.ppm
ilbm ilbm_4planes_raw.iff src_16.ppm src_16.ppm -nocompress
ilbm ilbm_5planes.iff src_16.ppm src_16.ppm -fixplanes 5
ilbm ilbm_6planes.iff src_16.ppm src_16.ppm -fixplanes 6
ilbm ilbm_7planes_raw.iff src_16.ppm src_16.ppm -fixplanes 7 -nocompress
ilbm ilbm_8planes.iff src_256.ppm src_256.ppm -maxplanes 8
ilbm ilbm_8planes_raw.iff src_256.ppm src_256.ppm -maxplanes 8 -nocompress
ilbm ilbm_masked.iff src_16.ppm src_16.ppm -maskfile src_mask.pbm
ilbm ilbm_masked_raw.iff src_16.ppm src_16.ppm -maskfile src_mask.pbm -nocompress
ilbm ilbm_deep24.iff src_rgb.ppm src_rgb.ppm -24force
ilbm ilbm_deep24_raw.iff src_rgb.ppm src_rgb.ppm -24force -nocompress
ilbm ilbm_deep12.iff src_rgb.ppm - -deepforce -deepplanes 12
ilbm ilbm_deep48.iff src_rgb.ppm - -deepforce -deepplanes 48
ilbm ilbm_dcol555.iff src_rgb.ppm - -dcforce
ilbm ilbm_dcol565_raw.iff src_rgb.ppm - -dcforce -dcbits 5 6 5 -nocompress
ilbm ilbm_ham6.iff src_rgb.ppm - -ham6
ilbm ilbm_ham8.iff src_rgb.ppm - -ham8
ilbm ilbm_ham8_raw.iff src_rgb.ppm - -ham8 -nocompress
ilbm ilbm_rgb8.iff src_rgb.ppm - -rgb8
ilbm ilbm_rgbn.iff src_rgb.ppm - -rgbn

# PCX by netpbm: planar 1 to 4 planes of one bit, packed 2 and 4 bits, 8-bit with the trailing
# palette, 24-bit in three planes.
pcx() { # TOOL NAME SOURCE REFERENCE COMMAND...
    local tool=$1 name=$2 ref=$4
    shift 4
    make "$name" "$@"
    entry PCX "$tool" "$name" "$ref" 0
}
pcx netpbm pcx_n_1plane.pcx src_2.ppm src_2.ppm ppmtopcx src_2.ppm
pcx netpbm pcx_n_2planes.pcx src_4.ppm src_4.ppm ppmtopcx src_4.ppm
pcx netpbm pcx_n_3planes.pcx src_8.ppm src_8.ppm ppmtopcx src_8.ppm
pcx netpbm pcx_n_4planes.pcx src_16.ppm src_16.ppm ppmtopcx src_16.ppm
pcx netpbm pcx_n_packed2.pcx src_4.ppm src_4.ppm ppmtopcx -packed src_4.ppm
pcx netpbm pcx_n_packed4.pcx src_16.ppm src_16.ppm ppmtopcx -packed src_16.ppm
pcx netpbm pcx_n_8bit.pcx src_256.ppm src_256.ppm ppmtopcx -8bit src_256.ppm
pcx netpbm pcx_n_24bit.pcx src_rgb.ppm src_rgb.ppm ppmtopcx -24bit src_rgb.ppm
pcx netpbm pcx_n_wide24.pcx src_wide.ppm src_wide.ppm ppmtopcx -24bit src_wide.ppm
# PCX by ImageMagick: 1-bit for black and white, 8-bit palette, 24-bit and 32-bit planes.
im pcx_i_bw.pcx src_bw.png
entry PCX imagemagick pcx_i_bw.pcx src_bw.ppm 0
im pcx_i_8bit.pcx src_256.ppm -type Palette
entry PCX imagemagick pcx_i_8bit.pcx src_256.ppm 0
im pcx_i_24bit.pcx src_rgb.ppm
entry PCX imagemagick pcx_i_24bit.pcx src_rgb.ppm 0
im pcx_i_32bit.pcx src_rgba.pam
entry PCX imagemagick pcx_i_32bit.pcx src_rgb.ppm 0
im pcx_i_grey.pcx src_grey.pgm
entry PCX imagemagick pcx_i_grey.pcx src_grey.pgm 0

# Targa by netpbm: colour-mapped (24- and 15-bit maps), grey, true colour and with alpha, each
# run-length encoded and raw.
tga() { # TOOL NAME REFERENCE TOLERANCE COMMAND...
    local tool=$1 name=$2 ref=$3 tol=$4
    shift 4
    make "$name" "$@"
    entry TGA "$tool" "$name" "$ref" "$tol"
}
tga netpbm tga_n_cmap_rle.tga src_256.ppm 0 pamtotga -cmap src_256.ppm
tga netpbm tga_n_cmap.tga src_256.ppm 0 pamtotga -cmap -norle src_256.ppm
tga netpbm tga_n_cmap16_rle.tga src_256.ppm 8 pamtotga -cmap16 src_256.ppm
tga netpbm tga_n_cmap16.tga src_256.ppm 8 pamtotga -cmap16 -norle src_256.ppm
tga netpbm tga_n_grey_rle.tga src_grey.pgm 0 pamtotga -mono src_grey.pgm
tga netpbm tga_n_grey.tga src_grey.pgm 0 pamtotga -mono -norle src_grey.pgm
tga netpbm tga_n_bw.tga src_bw.ppm 0 pamtotga src_bw.pbm
tga netpbm tga_n_rgb_rle.tga src_rgb.ppm 0 pamtotga -rgb src_rgb.ppm
tga netpbm tga_n_rgb.tga src_rgb.ppm 0 pamtotga -rgb -norle src_rgb.ppm
tga netpbm tga_n_rgba_rle.tga src_rgb.ppm 0 pamtotga src_rgba.pam
tga netpbm tga_n_rgba.tga src_rgb.ppm 0 pamtotga -norle src_rgba.pam
# Targa by ImageMagick: the same kinds, 16-bit 5-5-5 pixels, rows stored top first, and rows wider
# than the reader's stream buffer.
# ImageMagick 6 stores the rows of a Targa file it marks bottom-first (descriptor bit 5 clear) top
# row first, so the file shows its source upside down; netpbm's tgatoppm reads it so too. Where
# this ImageMagick does that, the right pixels of those files are the source turned over.
im probe_origin.tga src_rgb.ppm -compress None
make probe_origin.ppm tgatoppm probe_origin.tga
im_flips=0
cmp -s probe_origin.ppm src_rgb.ppm || im_flips=1
imtga() { # NAME REFERENCE TOLERANCE ARGS...
    local name=$1 ref=$2 tol=$3
    shift 3
    im "$name" "$@"
    if [ $im_flips = 1 ] && [ "$(od -An -tu1 -j17 -N1 "$name" | tr -d ' ')" -lt 32 ]; then
        make "flipped_$ref" pamflip -tb "$ref"
        ref=flipped_$ref
    fi
    entry TGA imagemagick "$name" "$ref" "$tol"
}
imtga tga_i_rgb.tga src_rgb.ppm 0 src_rgb.ppm -compress None
imtga tga_i_rgb_rle.tga src_rgb.ppm 0 src_rgb.ppm -compress RLE
imtga tga_i_cmap.tga src_256.ppm 0 src_256.ppm -type Palette -compress None
imtga tga_i_cmap_rle.tga src_256.ppm 0 src_256.ppm -type Palette -compress RLE
imtga tga_i_grey.tga src_grey.pgm 0 src_grey.pgm -compress None
imtga tga_i_grey_rle.tga src_grey.pgm 0 src_grey.pgm -compress RLE
imtga tga_i_rgba.tga src_rgb.ppm 0 src_rgba.pam -compress None
imtga tga_i_rgba_rle.tga src_rgb.ppm 0 src_rgba.pam -compress RLE
# 5-5-5 pixels hold the source rounded in ImageMagick's own way: netpbm's reading of the file is the
# reference (it widens 5 bits with rounding where the reader truncates, hence 1).
for compress in None RLE; do
    name=tga_i_16_$compress.tga
    im "$name" src_rgb.ppm -depth 5 -compress $compress
    make "$name.ref.ppm" tgatoppm "$name"
    entry TGA imagemagick "$name" "$name.ref.ppm" 1
done
imtga tga_i_topfirst.tga src_rgb.ppm 0 src_rgb.ppm -orient TopLeft -compress None
imtga tga_i_topfirst_rle.tga src_rgb.ppm 0 src_rgb.ppm -orient TopLeft -compress RLE
imtga tga_i_wide.tga src_wide.ppm 0 src_wide.ppm -compress None
imtga tga_i_wide_rle.tga src_wide.ppm 0 src_wide.ppm -compress RLE
imtga tga_i_wide32.tga src_wide32.ppm 0 src_wide32.pam -compress None
imtga tga_i_wide32_rle.tga src_wide32.ppm 0 src_wide32.pam -compress RLE

# PhotoCD by ImageMagick, from a landscape and a portrait picture of the Base size, and a grey ramp.
# ImageMagick's writer scales luma and chroma in its own way, not Kodak's PhotoYCC, so the decoded
# colours are the source's through a fixed colour transform (the test measures it and the fit);
# pictures kept in the middle of the range stay clear of its clipping. For each resolution the
# reader offers, the source resized by ImageMagick is the reference.
im src_pcd.ppm -seed 11 -size 768x512 plasma: -blur 0x2 +level 12%,62% -depth 8
im src_pcd_portrait.ppm -seed 12 -size 512x768 plasma: -blur 0x2 +level 12%,62% -depth 8
im src_pcd_grey.ppm -size 512x768 gradient:gray15-gray60 -rotate 90 -type TrueColor -depth 8
im pcd_landscape.pcd src_pcd.ppm
im pcd_portrait.pcd src_pcd_portrait.ppm
im pcd_grey.pcd src_pcd_grey.ppm
for size in 192x128 384x256 768x512 1536x1024; do
    portrait=${size#*x}x${size%x*}
    for pair in "landscape src_pcd $size" "portrait src_pcd_portrait $portrait" "grey src_pcd_grey $size"; do
        set -- $pair
        im "$2_$3.ppm" "$2.ppm" -filter Triangle -resize "$3!" -depth 8
        entry PCD imagemagick "pcd_$1.pcd" "$2_$3.ppm" 0
    done
done

mv "$manifest" manifest.txt
