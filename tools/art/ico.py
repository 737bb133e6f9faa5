"""Writes and reads Windows .ico files made of 32-bit frames with alpha.

Frames up to 48 px are stored as bottom-up BGRA DIBs followed by a 1-bit AND mask (every loader,
LoadImage at an exact size included, understands them); a 256 px frame is stored as PNG, which
keeps the file small and which all current Windows versions read.
"""

import io
import struct

from PIL import Image


def write_ico(path, frames):
    """Writes the RGBA frames (PIL images) to path, in the order given."""
    entries = []
    for frame in frames:
        w, h = frame.size
        if w >= 256:
            out = io.BytesIO()
            frame.save(out, "PNG", optimize=True)
            entries.append((w, h, out.getvalue()))
            continue
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        bgra = frame.convert("RGBA").tobytes("raw", "BGRA")
        rows = [bgra[r * w * 4:(r + 1) * w * 4] for r in range(h)]
        xor = b"".join(reversed(rows))  # Bottom-up.
        alpha = frame.getchannel("A")
        mask_stride = ((w + 31) // 32) * 4
        and_rows = []
        for r in range(h - 1, -1, -1):
            bits = bytearray(mask_stride)
            for c in range(w):
                if alpha.getpixel((c, r)) == 0:
                    bits[c // 8] |= 0x80 >> (c % 8)
            and_rows.append(bytes(bits))
        entries.append((w, h, header + xor + b"".join(and_rows)))

    offset = 6 + 16 * len(entries)
    directory = struct.pack("<HHH", 0, 1, len(entries))
    for w, h, data in entries:
        directory += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    path.write_bytes(directory + b"".join(data for _, _, data in entries))


def read_ico(path):
    """Parses an .ico file strictly and returns its frames as a list of dicts with the keys
    size, bpp, kind ("dib" or "png") and image (RGBA). Raises ValueError on anything malformed."""
    data = path.read_bytes()
    if len(data) < 6:
        raise ValueError(f"{path}: too short")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        raise ValueError(f"{path}: not an icon file")
    frames = []
    for i in range(count):
        w, h, colours, _, planes, bpp, length, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        blob = data[offset:offset + length]
        if len(blob) != length:
            raise ValueError(f"{path}: frame {i} runs past the end of the file")
        if blob.startswith(b"\x89PNG"):
            image = Image.open(io.BytesIO(blob)).convert("RGBA")
            frames.append({"size": image.size, "bpp": bpp, "kind": "png", "image": image})
            continue
        size, dib_w, dib_h, dib_planes, dib_bpp, compression = struct.unpack_from(
            "<IiiHHI", blob, 0)
        if size != 40 or dib_w != w or dib_h != 2 * h or dib_planes != 1 or compression != 0:
            raise ValueError(f"{path}: frame {i} has a bad DIB header")
        if dib_bpp != 32 or bpp != 32 or planes != 1 or colours != 0:
            raise ValueError(f"{path}: frame {i} is not a 32-bit frame")
        mask_stride = ((w + 31) // 32) * 4
        if length != 40 + w * h * 4 + mask_stride * h:
            raise ValueError(f"{path}: frame {i} has the wrong length for {w}x{h}")
        pixels = blob[40:40 + w * h * 4]
        rows = [pixels[r * w * 4:(r + 1) * w * 4] for r in range(h)]
        image = Image.frombytes("RGBA", (w, h), b"".join(reversed(rows)), "raw", "BGRA")
        mask = blob[40 + w * h * 4:]
        for r in range(h):
            row = mask[(h - 1 - r) * mask_stride:(h - r) * mask_stride]
            for c in range(w):
                masked = bool(row[c // 8] & (0x80 >> (c % 8)))
                if masked != (image.getpixel((c, r))[3] == 0):
                    raise ValueError(f"{path}: frame {i} AND mask disagrees with alpha at "
                                     f"({c}, {r})")
        frames.append({"size": (w, h), "bpp": 32, "kind": "dib", "image": image})
    return frames
