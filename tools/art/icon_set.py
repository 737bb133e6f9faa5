"""Renders the icon set: every resources/art/icons/<name>.svg becomes resources/icons/<name>.ico
with 32-bit frames of 16, 18, 24, 25, 32 and 48 px, and resources/icons.rc lists them all.

The SVGs are hand-written on a 48 x 48 viewBox and rasterised by rsvg-convert
(apt-get install librsvg2-bin), one render per frame size straight from the SVG, never a
downscaled bitmap. Before each render the SVG is adapted to the frame size ("hinting"), driven by
these attributes, which any SVG viewer ignores, so the files stay plain SVG:

  data-min-px="N"     the element (and its children) is drawn only in frames of N px or more:
                      for details that turn to mush at small sizes.
  data-max-px="N"     the element is drawn only in frames of N px or less: for bolder stand-ins
                      of details that only the large frames keep.
  data-stroke-px="P"  the stroke is P device pixels wide in every frame, whatever the scale.
  data-snap="true"    the outer edges of the shape (stroke included) land on whole pixels and the
                      stroke becomes a whole number of pixels (at least 1), so straight edges are
                      crisp instead of smeared over two pixel rows. Works on rect, circle,
                      ellipse, axis-aligned line, polygon, polyline and paths written with
                      absolute commands; the element and its ancestors must not be transformed.

The house style, kept by every icon: flat shapes lit from above (a vertical gradient from a light
to a deep tone of one hue), a 1 px rim in a dark tone of the same hue, and from 24 px up a faint
white inner highlight along the top. The hues (light, deep, rim):
  blue   #5AA2F2 #1456BE #0A3578 (the app icon's blue)   green  #7DD052 #2E8E22 #1A5A12
  red    #F2685E #C41A20 #7C0E12                         orange #FFB54A #E8720A #9A4805
  yellow #FFE670 #F4B400 #8A6000                         metal  #F7F9FB #AEB7C3 #5C6674
  dark   #5E6774 #2A3038 #161A20
"""

import io
import math
import re
import shutil
import subprocess
import xml.etree.ElementTree as ET

from PIL import Image, ImageDraw, ImageFont

from ico import read_ico, write_ico

ICON_SIZES = (16, 18, 24, 25, 32, 48)
SVG_NS = "http://www.w3.org/2000/svg"
ET.register_namespace("", SVG_NS)
ET.register_namespace("xlink", "http://www.w3.org/1999/xlink")

RC_HEADER = "// The icon set, rendered by tools/art/render from the SVGs in resources/art/icons/."


def _tag(element):
    return element.tag.split("}")[-1]


def _num(value):
    return float(re.match(r"\s*([-+]?[0-9.]+(?:e[-+]?\d+)?)", value).group(1))


def _fmt(value):
    text = f"{value:.4f}".rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def _rnd(value):
    return math.floor(value + 0.5)


class _Hinter:
    """Adapts one parsed SVG to one frame size."""

    def __init__(self, root, px):
        self.root = root
        self.px = px
        view_box = [float(v) for v in root.get("viewBox").replace(",", " ").split()]
        if view_box[2] != view_box[3]:
            raise ValueError("the viewBox must be square")
        self.origin = view_box[:2]
        self.scale = px / view_box[2]
        self.parents = {child: parent for parent in root.iter() for child in parent}

    def inherited(self, element, name, default=None):
        while element is not None:
            if element.get(name) is not None:
                return element.get(name)
            element = self.parents.get(element)
        return default

    def run(self):
        self.drop_by_size(self.root)
        for element in list(self.root.iter()):
            if element.get("data-snap") == "true":
                self.snap(element)
            elif element.get("data-stroke-px") is not None:
                element.set("stroke-width", _fmt(float(element.get("data-stroke-px")) / self.scale))
        self.root.set("width", str(self.px))
        self.root.set("height", str(self.px))

    def drop_by_size(self, parent):
        for child in list(parent):
            low, high = child.get("data-min-px"), child.get("data-max-px")
            too_small = low is not None and self.px < int(low)
            too_large = high is not None and self.px > int(high)
            if too_small or too_large:
                parent.remove(child)
            else:
                self.drop_by_size(child)

    # Snapping works in device pixels: d = (user - origin) * scale.
    def to_px(self, value, axis):
        return (value - self.origin[axis]) * self.scale

    def to_user(self, value, axis):
        return value / self.scale + self.origin[axis]

    def stroke_px(self, element):
        """The whole-pixel stroke width of a snapped element and its width in user units."""
        stroke = self.inherited(element, "stroke", "none")
        if stroke == "none":
            return 0, 0.0
        width = _num(self.inherited(element, "stroke-width", "1"))
        if element.get("data-stroke-px") is not None:
            pixels = int(element.get("data-stroke-px"))
        else:
            pixels = max(1, _rnd(width * self.scale))
        element.set("stroke-width", _fmt(pixels / self.scale))
        return pixels, width

    def snap(self, element):
        node = element
        while node is not None:
            if node.get("transform"):
                raise ValueError(f"cannot snap a transformed <{_tag(element)}>")
            node = self.parents.get(node)
        kind = _tag(element)
        pixels, width = self.stroke_px(element)
        half = pixels / 2
        if kind == "rect":
            x, y = _num(element.get("x", "0")), _num(element.get("y", "0"))
            w, h = _num(element.get("width")), _num(element.get("height"))
            left = _rnd(self.to_px(x - width / 2, 0))
            top = _rnd(self.to_px(y - width / 2, 1))
            right = max(left + pixels * 2 + 1, _rnd(self.to_px(x + w + width / 2, 0)))
            bottom = max(top + pixels * 2 + 1, _rnd(self.to_px(y + h + width / 2, 1)))
            element.set("x", _fmt(self.to_user(left + half, 0)))
            element.set("y", _fmt(self.to_user(top + half, 1)))
            element.set("width", _fmt((right - left - pixels) / self.scale))
            element.set("height", _fmt((bottom - top - pixels) / self.scale))
        elif kind in ("circle", "ellipse"):
            cx, cy = _num(element.get("cx", "0")), _num(element.get("cy", "0"))
            if kind == "circle":
                radii = [("r", _num(element.get("r")))]
            else:
                radii = [("rx", _num(element.get("rx"))), ("ry", _num(element.get("ry")))]
            centre = []
            for axis, c in enumerate((cx, cy)):
                name, r = radii[min(axis, len(radii) - 1)]
                diameter = max(1, _rnd((2 * r + width) * self.scale))
                pc = self.to_px(c, axis)
                pc = _rnd(pc) if diameter % 2 == 0 else math.floor(pc) + 0.5
                centre.append(pc)
                if axis < len(radii):
                    element.set(name, _fmt((diameter / 2 - half) / self.scale))
            element.set("cx", _fmt(self.to_user(centre[0], 0)))
            element.set("cy", _fmt(self.to_user(centre[1], 1)))
        elif kind == "line":
            x1, y1 = _num(element.get("x1", "0")), _num(element.get("y1", "0"))
            x2, y2 = _num(element.get("x2", "0")), _num(element.get("y2", "0"))
            ends = {"x1": x1, "x2": x2, "y1": y1, "y2": y2}
            across = "y" if y1 == y2 else "x" if x1 == x2 else None
            for name, value in ends.items():
                axis = 0 if name[0] == "x" else 1
                pv = self.to_px(value, axis)
                if name[0] == across:
                    pv = _rnd(pv - half) + half
                else:
                    pv = _rnd(pv)
                element.set(name, _fmt(self.to_user(pv, axis)))
        elif kind in ("polygon", "polyline"):
            values = [float(v) for v in re.findall(r"[-+]?[0-9.]+(?:e[-+]?\d+)?",
                                                   element.get("points"))]
            snapped = [self.snap_coordinate(v, i % 2, pixels) for i, v in enumerate(values)]
            element.set("points", " ".join(f"{_fmt(snapped[i])},{_fmt(snapped[i + 1])}"
                                           for i in range(0, len(snapped), 2)))
        elif kind == "path":
            element.set("d", self.snap_path(element.get("d"), pixels))
        else:
            raise ValueError(f"cannot snap <{kind}>")

    def snap_coordinate(self, value, axis, pixels):
        pv = self.to_px(value, axis)
        pv = math.floor(pv) + 0.5 if pixels % 2 else _rnd(pv)
        return self.to_user(pv, axis)

    def snap_path(self, d, pixels):
        tokens = re.findall(r"[A-Za-z]|[-+]?(?:\d+\.?\d*|\.\d+)(?:e[-+]?\d+)?", d)
        # For each absolute command: the axis of each argument, None for one left alone.
        axes = {"M": (0, 1), "L": (0, 1), "T": (0, 1), "H": (0,), "V": (1,),
                "C": (0, 1, 0, 1, 0, 1), "S": (0, 1, 0, 1), "Q": (0, 1, 0, 1),
                "A": (None, None, None, None, None, 0, 1), "Z": ()}
        out, command, index = [], None, 0
        for token in tokens:
            if token.isalpha():
                if token not in axes and token.upper() != "Z":
                    raise ValueError(f"cannot snap a path with the relative command {token}")
                command, index = token.upper(), 0
                out.append(command)
                continue
            pattern = axes[command]
            axis = pattern[index % len(pattern)]
            value = float(token)
            out.append(_fmt(value if axis is None else self.snap_coordinate(value, axis, pixels)))
            index += 1
        return " ".join(out)


def hinted_svg(source, px):
    """The SVG text of source (bytes) adapted to a frame of px pixels."""
    root = ET.fromstring(source)
    _Hinter(root, px).run()
    return ET.tostring(root, encoding="utf-8")


def rasterise(svg, px):
    tool = shutil.which("rsvg-convert")
    if tool is None:
        raise SystemExit("rsvg-convert not found: apt-get install librsvg2-bin")
    png = subprocess.run([tool, "--width", str(px), "--height", str(px), "--format", "png"],
                         input=svg, stdout=subprocess.PIPE, check=True).stdout
    image = Image.open(io.BytesIO(png)).convert("RGBA")
    if image.size != (px, px):
        raise ValueError(f"rsvg-convert gave {image.size}, not {px} x {px}")
    # Pixels that are all but invisible only make a faint grey haze around the edge.
    alpha = image.getchannel("A").point(lambda a: 0 if a < 8 else a)
    image.putalpha(alpha)
    return image


def render_frames(svg_path, sizes=ICON_SIZES):
    source = svg_path.read_bytes()
    return [rasterise(hinted_svg(source, px), px) for px in sizes]


def icon_names(source_dir):
    return sorted(p.stem for p in source_dir.glob("*.svg"))


def rc_text(names):
    lines = [RC_HEADER]
    lines += [f'ICO_{name.upper()} ICON "icons/{name}.ico"' for name in names]
    return "\n".join(lines) + "\n"


def render_icon_set(resources):
    """Renders every SVG; returns {name: [frames]}."""
    source_dir = resources / "art" / "icons"
    out_dir = resources / "icons"
    out_dir.mkdir(parents=True, exist_ok=True)
    names = icon_names(source_dir)
    rendered = {}
    for name in names:
        frames = render_frames(source_dir / f"{name}.svg")
        write_ico(out_dir / f"{name}.ico", frames)
        rendered[name] = frames
    for stale in out_dir.glob("*.ico"):
        if stale.stem not in rendered:
            stale.unlink()
    (resources / "icons.rc").write_text(rc_text(names))
    return rendered


def check_icon_set(resources):
    """Re-reads every .ico and icons.rc; returns a list of problems (empty when all is well)."""
    problems = []
    names = icon_names(resources / "art" / "icons")
    rc = resources / "icons.rc"
    if not rc.exists() or rc.read_text() != rc_text(names):
        problems.append(f"{rc} does not list exactly the icons in resources/art/icons")
    total = 0
    for name in names:
        path = resources / "icons" / f"{name}.ico"
        if not path.exists():
            problems.append(f"{path} is missing")
            continue
        total += path.stat().st_size
        try:
            frames = read_ico(path)
        except ValueError as error:
            problems.append(str(error))
            continue
        sizes = tuple(f["size"][0] for f in frames)
        if sizes != ICON_SIZES or any(f["size"][0] != f["size"][1] for f in frames):
            problems.append(f"{path} has the sizes {sizes}, not {ICON_SIZES}")
        for frame in frames:
            if frame["kind"] != "dib":
                problems.append(f"{path}: the {frame['size'][0]} px frame is not a DIB")
            if frame["image"].getchannel("A").getextrema()[1] == 0:
                problems.append(f"{path}: the {frame['size'][0]} px frame is empty")
    if total > 1_500_000:
        problems.append(f"the icons take {total} bytes, more than 1.5 MB")
    return problems


# ---------------------------------------------------------------------------------------------
# Preview


def preview_sheet(rendered, label_font_path, sizes=(16, 25, 32, 48)):
    """All icons at the given sizes, on a light panel and on a white one, plus a second sheet
    with the 16 and 25 px frames magnified so single pixels can be judged."""
    names = list(rendered)
    index = {px: ICON_SIZES.index(px) for px in sizes}
    columns = 4
    rows = (len(names) + columns - 1) // columns
    gap = 8
    cell_w = sum(sizes) + gap * (len(sizes) - 1) + 24
    cell_h = max(sizes) + 22
    panel_w, panel_h = columns * cell_w + 16, rows * cell_h + 16
    label = ImageFont.truetype(str(label_font_path), 11)
    sheet = Image.new("RGBA", (panel_w, panel_h * 2), (255, 255, 255, 255))
    for panel, colour in enumerate(((222, 235, 251), (255, 255, 255))):
        top = panel * panel_h
        sheet.paste(colour + (255,), (0, top, panel_w, top + panel_h))
        d = ImageDraw.Draw(sheet)
        for i, name in enumerate(names):
            x = 8 + (i % columns) * cell_w
            y = top + 8 + (i // columns) * cell_h
            for px in sizes:
                frame = rendered[name][index[px]]
                sheet.alpha_composite(frame, (x, y + max(sizes) - px))
                x += px + gap
            d.text((8 + (i % columns) * cell_w, y + max(sizes) + 4), name, font=label,
                   fill=(60, 70, 90, 255))
    zoom = 4
    small = (16, 25)
    zcell_w = sum(px * zoom for px in small) + 3 * gap + 4
    zcell_h = 25 * zoom + 20
    zcolumns = 6
    zrows = (len(names) + zcolumns - 1) // zcolumns
    zoomed = Image.new("RGBA", (zcolumns * zcell_w + 8, zrows * zcell_h + 8), (240, 240, 240, 255))
    d = ImageDraw.Draw(zoomed)
    for i, name in enumerate(names):
        x = 8 + (i % zcolumns) * zcell_w
        y = 8 + (i // zcolumns) * zcell_h
        for px in small:
            frame = rendered[name][ICON_SIZES.index(px)]
            zoomed.alpha_composite(frame.resize((px * zoom, px * zoom), Image.Resampling.NEAREST),
                                   (x, y))
            x += px * zoom + gap
        d.text((8 + (i % zcolumns) * zcell_w, y + 25 * zoom + 2), name, font=label,
               fill=(60, 70, 90, 255))
    return sheet.convert("RGB"), zoomed.convert("RGB")
