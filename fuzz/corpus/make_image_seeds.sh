#!/bin/sh
# make_image_seeds.sh IMAGETOOL [OUT_DIR]
# Regenerates the image fuzz seeds: the program's image, the all-features
# sample, and variants of them that stop or continue at interesting places.
set -eu
tool=$1
out=${2:-$(dirname "$0")/image}
mkdir -p "$out"

"$tool" build "$out/product.bin"
"$tool" sample "$out/sample.bin"
# The image as it sits in an executable: other data follows it.
{ cat "$out/sample.bin"; printf 'trailing data of the executable'; } >"$out/sample-followed.bin"
# Cut inside the support-library table, and inside the last group.
head -c 400 "$out/product.bin" >"$out/product-cut-libraries.bin"
size=$(wc -c <"$out/sample.bin")
head -c $((size - 2)) "$out/sample.bin" >"$out/sample-cut-group.bin"
