#!/usr/bin/python3
"""Writes the tiny JPEG fixtures used by the native JPEG decoder tests.

quadrants.jpg              16x16 colour, four solid 8x8 quadrants: red, green / blue, white.
quadrants_progressive.jpg  the same picture, progressive.
gray.jpg                   16x16 grayscale, four solid quadrants: 0, 85 / 170, 255.
corrupt_scan.jpg           quadrants.jpg with its headers intact but its scan data replaced by
                           pseudo-random bytes, so the damage only shows while decoding pixels.

The colour picture is saved without chroma subsampling so each quadrant centre keeps its colour
exactly enough to check within a small tolerance.
"""

import argparse
import io
import pathlib
import random

from PIL import Image

QUADRANT_COLOURS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)]
QUADRANT_GRAYS = [0, 85, 170, 255]


def quadrants(mode, values):
    picture = Image.new(mode, (16, 16))
    for index, value in enumerate(values):
        left, top = (index % 2) * 8, (index // 2) * 8
        picture.paste(value, (left, top, left + 8, top + 8))
    return picture


def encode(picture, **options):
    out = io.BytesIO()
    picture.save(out, "JPEG", quality=95, optimize=False, **options)
    return out.getvalue()


def with_garbage_scan(jpeg):
    """Replaces everything between the start-of-scan header and the end marker."""
    sos = jpeg.index(b"\xff\xda")
    header_end = sos + 2 + int.from_bytes(jpeg[sos + 2:sos + 4], "big")
    eoi = jpeg.rindex(b"\xff\xd9")
    rng = random.Random(1)
    # No 0xFF bytes: they would read as markers and end the scan early instead of feeding
    # nonsense into the entropy decoder.
    garbage = bytes(rng.randrange(0, 0xFF) for _ in range(eoi - header_end))
    return jpeg[:header_end] + garbage + jpeg[eoi:]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    default_out = pathlib.Path(__file__).resolve().parents[2] / "tests" / "native" / "data"
    parser.add_argument("--out", type=pathlib.Path, default=default_out)
    out_dir = parser.parse_args().out
    out_dir.mkdir(parents=True, exist_ok=True)

    colour = encode(quadrants("RGB", QUADRANT_COLOURS), subsampling=0)
    files = {
        "quadrants.jpg": colour,
        "quadrants_progressive.jpg": encode(
            quadrants("RGB", QUADRANT_COLOURS), subsampling=0, progressive=True),
        "gray.jpg": encode(quadrants("L", QUADRANT_GRAYS)),
        "corrupt_scan.jpg": with_garbage_scan(colour),
    }
    for name, data in files.items():
        (out_dir / name).write_bytes(data)
        print(f"{out_dir / name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
