#!/usr/bin/python3
"""Renders Velmora's artwork into resources/: velmora.ico, the two pictures and the icon set.

Needs Debian's python3-pil, fonts-liberation and fonts-dejavu-core. Everything is drawn from
code, so the output is the same on every run; shapes are drawn at SS times the final size and
box-filtered down for clean edges, while text is drawn at the final size so that FreeType's
hinting keeps small lettering sharp.

velmora.ico, backdrop.jpg and splash.jpg are drawn here. The icon set (resources/icons/*.ico and
resources/icons.rc) is rendered by icon_set.py from the hand-written SVGs in
resources/art/icons/, which needs rsvg-convert (apt-get install librsvg2-bin).
"""

import argparse
import pathlib

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

import icon_set
from ico import write_ico

SS = 4  # Supersampling factor for shapes.

FONT_DIR = pathlib.Path("/usr/share/fonts/truetype")
FONT_BOLD = FONT_DIR / "liberation" / "LiberationSans-Bold.ttf"
FONT_REGULAR = FONT_DIR / "liberation" / "LiberationSans-Regular.ttf"
FONT_FALLBACK_BOLD = FONT_DIR / "dejavu" / "DejaVuSans-Bold.ttf"
FONT_FALLBACK_REGULAR = FONT_DIR / "dejavu" / "DejaVuSans.ttf"

TITLE = "VELMORA"
EDITION = "USB Guard Edition"
VENDOR_LINE = "Velmora Labs 2026"
FEATURES = [
    "Protection against viruses and worms",
    "Offline protection of your computer",
    "Registry shield protection",
]

TITLE_BLUE = (20, 58, 132)
SHIELD_LIGHT = (74, 150, 240)
SHIELD_DEEP = (16, 78, 178)
SHIELD_RIM = (9, 44, 112)
CROSS_RED = (214, 36, 42)
TICK_RED = (220, 38, 38)


def font(bold, size):
    primary, fallback = (FONT_BOLD, FONT_FALLBACK_BOLD) if bold else (FONT_REGULAR,
                                                                     FONT_FALLBACK_REGULAR)
    return ImageFont.truetype(str(primary if primary.exists() else fallback), size)


# ---------------------------------------------------------------------------------------------
# Geometry and compositing helpers


def bezier(p0, p1, p2, p3, steps=32):
    points = []
    for i in range(1, steps + 1):
        t = i / steps
        u = 1 - t
        points.append((u**3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t**3 * p3[0],
                       u**3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t**3 * p3[1]))
    return points


# The shield in a unit box: a raised centre on top, straight shoulders, sides that sweep into a
# point at the bottom.
def unit_shield():
    top, shoulder_y, side_end = (0.5, 0.0), 0.14, 0.50
    right, left = 0.97, 0.03
    points = [top]
    points += bezier(top, (0.63, 0.09), (0.80, shoulder_y), (right, shoulder_y))
    points.append((right, side_end))
    points += bezier((right, side_end), (right, 0.76), (0.74, 0.90), (0.5, 1.0))
    points += bezier((0.5, 1.0), (0.26, 0.90), (left, 0.76), (left, side_end))
    points.append((left, shoulder_y))
    points += bezier((left, shoulder_y), (0.20, shoulder_y), (0.37, 0.09), top)
    return points


def place(points, box):
    x, y, w, h = box
    return [(x + px * w, y + py * h) for px, py in points]


def shape_mask(size, draw_fn):
    """Runs draw_fn(draw, scale) on a supersampled canvas and returns the box-filtered mask."""
    big = Image.new("L", (size[0] * SS, size[1] * SS), 0)
    draw_fn(ImageDraw.Draw(big), SS)
    return big.resize(size, Image.Resampling.BOX)


def scaled(points, scale):
    return [(px * scale, py * scale) for px, py in points]


def solid(size, colour):
    return Image.new("RGBA", size, colour + (255,) if len(colour) == 3 else colour)


def paint(canvas, fill, mask, opacity=1.0):
    """Composites fill (a colour or an RGBA image) onto canvas through mask."""
    if not isinstance(fill, Image.Image):
        fill = solid(canvas.size, fill)
    if opacity < 1.0:
        mask = mask.point(lambda v: int(v * opacity + 0.5))
    layer = fill.copy()
    layer.putalpha(ImageChops.multiply(mask, fill.getchannel("A")))
    canvas.alpha_composite(layer)


def gradient(size, start, end, horizontal=False, curve=lambda t: t):
    ramp = Image.linear_gradient("L").point(lambda v: int(255 * curve(v / 255) + 0.5))
    if horizontal:
        ramp = ramp.rotate(90, expand=True)  # The dark top row becomes the left column.
    ramp = ramp.resize(size, Image.Resampling.BICUBIC)
    return Image.composite(solid(size, end), solid(size, start), ramp)


def boxed_gradient(size, box, start, end, horizontal=False):
    """A gradient spanning only box = (left, top, right, bottom), on a transparent canvas."""
    l, t, r, b = (round(v) for v in box)
    out = Image.new("RGBA", size, (0, 0, 0, 0))
    out.paste(gradient((max(1, r - l), max(1, b - t)), start, end, horizontal), (l, t))
    return out


def smoothstep(edge0, edge1):
    def curve(t):
        x = min(max((t - edge0) / (edge1 - edge0), 0.0), 1.0)
        return x * x * (3 - 2 * x)
    return curve


def spaced_text(draw, xy, text, typeface, fill, spacing):
    x, y = xy
    for ch in text:
        draw.text((x, y), ch, font=typeface, fill=fill)
        x += typeface.getlength(ch) + spacing
    return x - spacing


def soft_shadow(canvas, draw_fn, colour, radius, offset=(0, 0), opacity=1.0):
    """Paints a blurred copy of whatever draw_fn draws, to lift text off a busy background."""
    mask = Image.new("L", canvas.size, 0)
    draw_fn(ImageDraw.Draw(mask), offset)
    paint(canvas, colour, mask.filter(ImageFilter.GaussianBlur(radius)), opacity)


# ---------------------------------------------------------------------------------------------
# Emblems


def draw_shield(canvas, box, rim_colour=SHIELD_RIM, rim=0.05, gloss=True):
    """A two-tone blue shield with a dark rim, box = (x, y, w, h) in canvas pixels."""
    x, y, w, h = box
    outline = unit_shield()
    paint(canvas, rim_colour, shape_mask(
        canvas.size, lambda d, s: d.polygon(scaled(place(outline, box), s), fill=255)))

    r = max(1.0, w * rim)
    inner_box = (x + r, y + r * 1.25, w - 2 * r, h - 2.4 * r)
    inner = shape_mask(canvas.size,
                       lambda d, s: d.polygon(scaled(place(outline, inner_box), s), fill=255))
    paint(canvas, boxed_gradient(canvas.size, (x, y, x + w, y + h), SHIELD_LIGHT, SHIELD_DEEP),
          inner)

    # The left half a shade lighter, as if lit from the left.
    left = shape_mask(canvas.size,
                      lambda d, s: d.rectangle((0, 0, (x + w / 2) * s, canvas.size[1] * s),
                                               fill=255))
    paint(canvas, (255, 255, 255), ImageChops.multiply(inner, left), 0.13)
    if gloss:
        sheen = shape_mask(canvas.size, lambda d, s: d.ellipse(
            ((x - w * 0.3) * s, (y - h * 0.55) * s, (x + w * 1.3) * s, (y + h * 0.42) * s),
            fill=255))
        paint(canvas, (255, 255, 255), ImageChops.multiply(inner, sheen), 0.16)


def draw_tick(canvas, box, colour, width):
    """A check mark inside box; width is the stroke as a fraction of the box width."""
    x, y, w, h = box
    points = [(x + 0.16 * w, y + 0.54 * h), (x + 0.41 * w, y + 0.78 * h),
              (x + 0.86 * w, y + 0.26 * h)]
    stroke = w * width

    def draw(d, s):
        pts = scaled(points, s)
        d.line(pts, fill=255, width=round(stroke * s), joint="curve")
        for px, py in (pts[0], pts[-1]):
            r = stroke * s / 2
            d.ellipse((px - r, py - r, px + r, py + r), fill=255)

    paint(canvas, colour, shape_mask(canvas.size, draw))


def draw_cross(canvas, box, colour, edge_colour):
    """A plain cross with an edge, as on a first-aid sign."""
    x, y, w, h = box
    arm = w * 0.34

    def arms(inset):
        def draw(d, s):
            cx, cy = x + w / 2, y + h / 2
            d.rectangle(((cx - arm / 2 - inset) * s, (y - inset) * s, (cx + arm / 2 + inset) * s,
                         (y + h + inset) * s), fill=255)
            d.rectangle(((x - inset) * s, (cy - arm / 2 - inset) * s, (x + w + inset) * s,
                         (cy + arm / 2 + inset) * s), fill=255)
        return draw

    paint(canvas, edge_colour, shape_mask(canvas.size, arms(max(1.0, w * 0.07))))
    paint(canvas, colour, shape_mask(canvas.size, arms(0)))


def usb_plug_mask(size, box):
    """A USB-A plug pointing up in box, as a mask: metal shell, grip and the start of a cable."""
    x, y, w, h = box

    def rect(d, s, l, t, r, b, fill=255, radius=0.0):
        d.rounded_rectangle(((x + l * w) * s, (y + t * h) * s, (x + r * w) * s, (y + b * h) * s),
                            radius=radius * w * s, fill=fill)

    def draw(d, s):
        rect(d, s, 0.22, 0.00, 0.78, 0.36, radius=0.03)  # Shell.
        rect(d, s, 0.33, 0.10, 0.44, 0.20, fill=0)
        rect(d, s, 0.56, 0.10, 0.67, 0.20, fill=0)
        rect(d, s, 0.10, 0.40, 0.90, 0.80, radius=0.10)  # Grip.
        rect(d, s, 0.40, 0.78, 0.60, 1.00)  # Cable.

    return shape_mask(size, draw)


# ---------------------------------------------------------------------------------------------
# Application icon


def icon_frame(size):
    canvas = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    pad = size * 0.03
    box = (pad, pad * 0.5, size - 2 * pad, size - pad)
    draw_shield(canvas, box, rim=0.065 if size <= 24 else 0.05, gloss=size >= 32)
    x, y, w, h = box
    if size <= 24:
        # Too small for a recognisable plug: a bold tick reads better.
        grow = 0.03 if size <= 16 else 0.0
        draw_tick(canvas, (x + w * (0.17 - grow), y + h * (0.18 - grow), w * (0.66 + 2 * grow),
                           h * (0.62 + 2 * grow)), (255, 255, 255), 0.24 if size <= 16 else 0.20)
    else:
        plug = usb_plug_mask(canvas.size, (x + w * 0.31, y + h * 0.20, w * 0.38, h * 0.60))
        paint(canvas, (255, 255, 255), plug)
    return canvas


# ---------------------------------------------------------------------------------------------
# Main window backdrop: 690 x 521, the middle (8,40)-(673,473) is covered by the tab pager.


def light_streaks(size, top_band, strength, blur=1.6):
    """Soft white bands sweeping along the top edge, strongest towards the right and fading out
    downwards, so they stay clear of the title at the top left."""
    w, h = size
    streaks = Image.new("L", size, 0)
    d = ImageDraw.Draw(streaks)
    # (y at the left, y at the right, thickness, brightness)
    bands = [(58, 2, 9, 190), (64, 14, 3, 230), (50, -8, 18, 110), (72, 26, 2, 200),
             (44, -14, 4, 170), (80, 34, 6, 90)]
    for y0, y1, thick, bright in bands:
        pts = bezier((-20, y0), (w * 0.40, y0 - 2), (w * 0.62, y1 + 10), (w + 20, y1), 96)
        d.line(pts, fill=bright, width=thick, joint="curve")
    streaks = streaks.filter(ImageFilter.GaussianBlur(blur))
    fade_down = gradient(size, (255, 255, 255), (0, 0, 0),
                         curve=smoothstep(0.0, top_band / h)).getchannel("R")
    fade_left = gradient(size, (0, 0, 0), (255, 255, 255), horizontal=True,
                         curve=smoothstep(0.12, 0.55)).getchannel("R")
    mask = ImageChops.multiply(ImageChops.multiply(streaks, fade_down), fade_left)
    return ImageChops.multiply(mask, Image.new("L", size, round(255 * strength)))


def backdrop():
    w, h = 690, 521
    canvas = gradient((w, h), (222, 235, 251), (203, 222, 245)).convert("RGBA")
    # A deeper header band that the streaks and the title sit on.
    header = gradient((w, h), (255, 255, 255), (0, 0, 0), curve=smoothstep(0.0, 64 / h))
    paint(canvas, (176, 205, 242), header.getchannel("R"), 0.85)
    paint(canvas, (255, 255, 255), light_streaks((w, h), 64, 0.95))

    # Title: a small shield mark, then the name, both inside the top 40 pixels.
    draw_shield(canvas, (9, 7, 22, 27), rim=0.07, gloss=False)
    draw_tick(canvas, (13.5, 12.5, 13, 14), (255, 255, 255), 0.22)
    title_font = font(True, 24)
    title_xy = (38, 8)
    soft_shadow(canvas, lambda d, o: spaced_text(d, (title_xy[0] + o[0], title_xy[1] + o[1]),
                                                TITLE, title_font, 255, 2),
                (255, 255, 255), 2.5, opacity=0.8)
    spaced_text(ImageDraw.Draw(canvas), title_xy, TITLE, title_font, TITLE_BLUE + (255,), 2)
    assert title_xy[1] + title_font.getbbox(TITLE)[3] < 40, "title must stay above the pager"

    # Bottom strip below the pager: a hairline, then the edition line.
    d = ImageDraw.Draw(canvas)
    d.line((8, 481, 300, 481), fill=(150, 180, 220, 110))
    d.line((8, 482, 300, 482), fill=(255, 255, 255, 170))
    edition_font = font(True, 12)
    d.text((10, 492), EDITION, font=edition_font, fill=(48, 80, 134, 255))
    assert 492 + edition_font.getbbox(EDITION)[1] > 473, "edition line must stay below the pager"
    return canvas.convert("RGB")


# ---------------------------------------------------------------------------------------------
# Splash banner: 624 x 170; the last column and the bottom three rows are cut off when shown.


def splash():
    w, h = 624, 170
    visible_w, visible_h = w - 1, h - 3
    canvas = gradient((w, h), (226, 238, 252), (12, 52, 128), horizontal=True,
                      curve=smoothstep(0.20, 0.46)).convert("RGBA")
    # A gentle vertical shading over the whole banner so it is not flat.
    paint(canvas, (0, 20, 60), gradient((w, h), (0, 0, 0), (255, 255, 255)).getchannel("R"), 0.15)
    paint(canvas, (255, 255, 255), light_streaks((w, h), 60, 0.45))

    # The emblem: a USB plug lying behind a shield that bears a red cross, its metal end
    # sticking out at the upper right and its cable leaving at the lower left.
    plug = plug_art(220).rotate(-40, resample=Image.Resampling.BICUBIC)
    plug_layer = Image.new("RGBA", canvas.size, (0, 0, 0, 0))
    plug_layer.paste(plug, (121 - 110, 92 - 110))
    paint(canvas, (0, 20, 60),
          shift(plug_layer.getchannel("A").filter(ImageFilter.GaussianBlur(3)), canvas.size,
                (2, 3)), 0.3)
    canvas.alpha_composite(plug_layer)

    shield_box = (46, 14, 100, 124)
    shield_shadow = shape_mask(canvas.size, lambda d, s: d.polygon(
        scaled(place(unit_shield(), (shield_box[0] + 3, shield_box[1] + 4, shield_box[2],
                                     shield_box[3])), s), fill=255))
    paint(canvas, (0, 20, 60), shield_shadow.filter(ImageFilter.GaussianBlur(4)), 0.4)
    draw_shield(canvas, shield_box, rim=0.045)
    sx, sy, sw, sh = shield_box
    cross = (sx + sw * 0.27, sy + sh * 0.24, sw * 0.46, sw * 0.46)
    draw_cross(canvas, cross, CROSS_RED, (255, 255, 255))

    # Title and feature lines on the deep side.
    d = ImageDraw.Draw(canvas)
    text_x = 232
    title_font = font(True, 44)
    soft_shadow(canvas, lambda dd, o: spaced_text(dd, (text_x + o[0], 8 + o[1]), TITLE,
                                                 title_font, 255, 5),
                (0, 16, 50), 3, offset=(2, 3), opacity=0.55)
    spaced_text(d, (text_x, 8), TITLE, title_font, (255, 255, 255, 255), 5)

    feature_font = font(False, 14)
    for i, line in enumerate(FEATURES):
        y = 64 + i * 24
        badge = (text_x + 1, y, 17, 17)
        badge_mask = shape_mask(canvas.size, lambda dd, s, b=badge: dd.ellipse(
            (b[0] * s, b[1] * s, (b[0] + b[2]) * s, (b[1] + b[3]) * s), fill=255))
        paint(canvas, (255, 255, 255), badge_mask)
        draw_tick(canvas, (badge[0] + 2.5, badge[1] + 2.5, 12, 12), TICK_RED, 0.22)
        d.text((text_x + 27, y + 1), line, font=feature_font, fill=(255, 255, 255, 255))

    # Footer band with the edition on the left and the vendor on the right.
    band_top = 145
    paint(canvas, (4, 22, 60), shape_mask(canvas.size, lambda dd, s: dd.rectangle(
        (0, band_top * s, w * s, h * s), fill=255)), 0.45)
    d.line((0, band_top, w, band_top), fill=(255, 255, 255, 70))
    footer_font = font(True, 11)
    d.text((10, band_top + 5), EDITION, font=footer_font, fill=(255, 255, 255, 255))
    vendor_w = footer_font.getlength(VENDOR_LINE)
    d.text((visible_w - 10 - vendor_w, band_top + 5), VENDOR_LINE, font=footer_font,
           fill=(226, 236, 250, 255))
    assert band_top + 5 + footer_font.size <= visible_h
    return canvas.convert("RGB")


def shift(mask, size, offset):
    out = Image.new("L", size, 0)
    out.paste(mask, offset)
    return out


def plug_art(side):
    """A shaded USB-A plug pointing up, centred in a transparent side x side square."""
    canvas = Image.new("RGBA", (side, side), (0, 0, 0, 0))
    cx = side / 2

    def rect(l, t, r, b, radius=0.0, outset=0.0):
        return shape_mask(canvas.size, lambda d, s: d.rounded_rectangle(
            ((cx + l - outset) * s, (t - outset) * s, (cx + r + outset) * s, (b + outset) * s),
            radius=(radius + outset) * s, fill=255))

    edge = (36, 46, 64)
    # Cable, running out of the bottom of the square.
    paint(canvas, edge, rect(-7, 96, 7, side + 10, outset=1))
    paint(canvas, boxed_gradient(canvas.size, (cx - 6, 0, cx + 6, side), (92, 104, 124),
                                 (40, 48, 64), horizontal=True), rect(-6, 96, 6, side + 10))
    # Grip, with a lighter face.
    paint(canvas, edge, rect(-21, 52, 21, 102, radius=6, outset=1))
    paint(canvas, boxed_gradient(canvas.size, (cx - 21, 0, cx + 21, side), (118, 132, 156),
                                 (54, 64, 84), horizontal=True), rect(-21, 52, 21, 102, radius=6))
    paint(canvas, (255, 255, 255), rect(-17, 56, -9, 98, radius=3), 0.18)
    # Metal shell with its two square openings.
    paint(canvas, edge, rect(-15, 14, 15, 54, radius=1.5, outset=1))
    paint(canvas, boxed_gradient(canvas.size, (cx - 15, 0, cx + 15, side), (250, 252, 255),
                                 (156, 166, 182), horizontal=True), rect(-15, 14, 15, 54, radius=1.5))
    for left in (-10, 3):
        paint(canvas, (50, 60, 78), rect(left, 22, left + 7, 29))
    return canvas


# ---------------------------------------------------------------------------------------------


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    repo = pathlib.Path(__file__).resolve().parents[2]
    parser.add_argument("--out", type=pathlib.Path, default=repo / "resources",
                        help="the resources folder (the icon set's SVGs are read from its "
                             "art/icons/)")
    parser.add_argument("--preview", type=pathlib.Path,
                        help="also write PNG previews (icon frames side by side) here")
    parser.add_argument("--icons-only", action="store_true",
                        help="render only the icon set, not velmora.ico and the pictures")
    parser.add_argument("--check", action="store_true",
                        help="render nothing: only check the icon set's .ico files and icons.rc")
    args = parser.parse_args()
    args.out.mkdir(parents=True, exist_ok=True)

    if args.check:
        problems = icon_set.check_icon_set(args.out)
        for problem in problems:
            print(problem)
        print(f"icon set: {len(icon_set.icon_names(args.out / 'art' / 'icons'))} icons, "
              f"{len(problems)} problems")
        raise SystemExit(1 if problems else 0)

    if not args.icons_only:
        render_app_art(args)

    rendered = icon_set.render_icon_set(args.out)
    problems = icon_set.check_icon_set(args.out)
    if problems:
        raise SystemExit("\n".join(problems))
    total = sum((args.out / "icons" / f"{name}.ico").stat().st_size for name in rendered)
    print(f"{args.out / 'icons'}: {len(rendered)} icons of {icon_set.ICON_SIZES} px, "
          f"{total} bytes; {args.out / 'icons.rc'}")
    if args.preview:
        args.preview.mkdir(parents=True, exist_ok=True)
        label_font = FONT_REGULAR if FONT_REGULAR.exists() else FONT_FALLBACK_REGULAR
        sheet, zoomed = icon_set.preview_sheet(rendered, label_font)
        sheet.save(args.preview / "icon_set_sheet.png")
        zoomed.save(args.preview / "icon_set_small_zoomed.png")
        print(f"previews: {args.preview / 'icon_set_sheet.png'}, "
              f"{args.preview / 'icon_set_small_zoomed.png'}")


def render_app_art(args):
    frames = [icon_frame(s) for s in (16, 24, 32, 48, 256)]
    write_ico(args.out / "velmora.ico", frames)
    backdrop().save(args.out / "backdrop.jpg", "JPEG", quality=90, optimize=True)
    splash().save(args.out / "splash.jpg", "JPEG", quality=90, optimize=True)

    if args.preview:
        args.preview.mkdir(parents=True, exist_ok=True)
        sheet = Image.new("RGBA", (16 + 24 + 32 + 48 + 256 + 60, 256), (255, 255, 255, 255))
        dark = Image.new("RGBA", sheet.size, (40, 44, 52, 255))
        x = 0
        for frame in frames:
            sheet.alpha_composite(frame, (x, 0))
            dark.alpha_composite(frame, (x, 0))
            x += frame.size[0] + 10
        both = Image.new("RGB", (sheet.size[0], 512))
        both.paste(sheet.convert("RGB"), (0, 0))
        both.paste(dark.convert("RGB"), (0, 256))
        both.save(args.preview / "icon_sheet.png")
        small = Image.new("RGB", (8 * (16 + 24 + 32 + 48 + 30), 8 * 48), (255, 255, 255))
        x = 0
        for frame in frames[:4]:
            big = frame.resize((frame.size[0] * 8, frame.size[1] * 8), Image.Resampling.NEAREST)
            small.paste(big, (x, 0), big)
            x += big.size[0] + 80
        small.save(args.preview / "icon_small_zoomed.png")
        for name in ("backdrop.jpg", "splash.jpg"):
            Image.open(args.out / name).save(args.preview / name.replace(".jpg", ".png"))

    for name in ("velmora.ico", "backdrop.jpg", "splash.jpg"):
        print(f"{args.out / name}: {(args.out / name).stat().st_size} bytes")


if __name__ == "__main__":
    main()
