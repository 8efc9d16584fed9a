#!/usr/bin/env python3
"""Draws every picture of both builds with ImageMagick and writes, per build,
res/<build>/png/*.png, the icon, the test bitmap, resources.txt and ids.h.

This file is the one list of picture ids: run it again after changing the
tables below (python3 res/draw_art.py). Needs ImageMagick `convert` and the
fonts-wqy-zenhei and fonts-dejavu packages.
"""
import os
import random
import struct
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CJK = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
SERIF = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
KEY = "#FF80FF"  # the colour key, RGB(255, 128, 255)
NAMESPACE = {"glider": "program", "config": "library"}

# Each control's pictures in both builds: name -> (program id, library id).
# Pairs are (normal, hover) unless noted; the hover picture also serves pressed.
IDS = [
    ("SHADOW", 170, None),          # background window, per-pixel alpha
    ("BACKGROUND", None, 139),      # library background image control
    ("LOGIN_FRAME", 183, 160),
    ("LOGIN_CLOSE", 188, 161), ("LOGIN_CLOSE_HOVER", 189, 162),
    ("LOGIN_MIN", 192, 163), ("LOGIN_MIN_HOVER", 193, 164),
    ("LOGIN_SITE", 194, 165), ("LOGIN_SITE_HOVER", 195, 166),
    ("LOGIN_SITE2", 190, 167), ("LOGIN_SITE2_HOVER", 191, 168),
    ("LOGIN_PAY", 198, 169), ("LOGIN_PAY_HOVER", 199, 170),
    ("LOGIN_SERVICE", 200, 171), ("LOGIN_SERVICE_HOVER", 201, 172),
    ("LOGIN_ENTER", 221, 173), ("LOGIN_ENTER_HOVER", 222, 174),
    ("LOGIN_ENTER_SPARE", 196, None), ("LOGIN_ENTER_SPARE_HOVER", 197, None),
    ("GAME_CAPTION", 219, 175),
    ("GAME_CLOSE", 186, 176), ("GAME_CLOSE_HOVER", 187, 177),
    ("GAME_MIN", 207, 178), ("GAME_MIN_HOVER", 208, 179),
    ("GAME_MAX", 205, 180), ("GAME_MAX_HOVER", 206, 181),
    ("GAME_MAX_CHECKED", 209, 182), ("GAME_MAX_CHECKED_HOVER", 210, 183),
    ("GAME_TRAY", 184, 184), ("GAME_TRAY_HOVER", 185, 185),
    ("GAME_MENU", 217, 186), ("GAME_MENU_HOVER", 218, 187),
    ("GAME_SITE", 202, 188), ("GAME_SITE_HOVER", 203, 189),
    ("GAME_SITE2", 211, 190), ("GAME_SITE2_HOVER", 212, 191),
    ("GAME_PAY", 213, 192), ("GAME_PAY_HOVER", 214, 193),
    ("GAME_SERVICE", 215, 194), ("GAME_SERVICE_HOVER", 216, 195),
    ("GAME_LOGO", 204, 205),
    ("THIRD_CAPTION", 223, 202),
    ("THIRD_SIDE_BORDER", 224, 203),
    ("THIRD_BOTTOM_BORDER", 225, 204),
    ("THIRD_REFRESH", 226, 199), ("THIRD_REFRESH_HOVER", 227, 200),
    ("THIRD_CLOSE", 228, 196), ("THIRD_CLOSE_HOVER", 229, 197), ("THIRD_CLOSE_PRESSED", 230, 198),
]
# Ids that exist only as bitmaps (no PNG resource), drawn with the colour key.
BITMAP_ONLY = ("KEYED_SAMPLE", 240, 240)
ICON = ("APP_ICON", 151, 136)
# A 2 x 1 PNG with exact straight colours for the decoding tests (program only):
# (R 50, G 100, B 200, A 128) and (R 128, G 128, B 128, A 1).
TEST_ALPHA = ("TEST_ALPHA", 241, [(50, 100, 200, 128), (128, 128, 128, 1)])
MENUS = [("PAGE_MENU", 149, 137), ("TRAY_MENU", 156, 138)]

PALETTES = {
    "glider": dict(deep="#0a1024", mid="#1a2650", glow="#3a4f8f", metal="#d9b25f", bright="#f6dd95",
                   ink="#fff4d6", hover="#2b3d7a", danger="#b8323a", star="#dfe8ff"),
    "config": dict(deep="#1a070c", mid="#4a1420", glow="#8f3a3a", metal="#d4904e", bright="#f2c58f",
                   ink="#fff0e0", hover="#6a2030", danger="#c0392b", star="#ffe6d0"),
}

LINK_CAPTIONS = {"LOGIN_SITE": "官方网站", "LOGIN_SITE2": "游戏官网", "LOGIN_PAY": "充值",
                 "LOGIN_SERVICE": "客服中心", "GAME_SITE": "官网", "GAME_SITE2": "主页",
                 "GAME_PAY": "充值", "GAME_SERVICE": "客服", "LOGIN_ENTER": "进入游戏",
                 "LOGIN_ENTER_SPARE": "进入游戏"}


def magick(*args):
    """Runs convert; the last argument is the output, written without time stamps."""
    args = [str(a) for a in args]
    subprocess.run(["convert", *args[:-1], "-define", "png:exclude-chunk=date,time", args[-1]], check=True)


def png32(path):
    return "PNG32:" + path


def rounded_panel(path, w, h, r, top, bottom, stroke, stroke_width=1):
    magick("-size", f"{w}x{h}", "xc:none",
           "(", "-size", f"{w}x{h}", f"gradient:{top}-{bottom}", ")",
           "(", "-size", f"{w}x{h}", "xc:none", "-fill", "white", "-draw",
           f"roundrectangle 0,0 {w - 1},{h - 1} {r},{r}", ")",
           "-delete", "0", "-alpha", "off", "-compose", "CopyOpacity", "-composite",
           "-fill", "none", "-stroke", stroke, "-strokewidth", stroke_width, "-draw",
           f"roundrectangle {stroke_width / 2},{stroke_width / 2} {w - 1 - stroke_width / 2},"
           f"{h - 1 - stroke_width / 2} {r},{r}",
           png32(path))


def caption(path, text, size, color, gravity="center", dy=0):
    magick(path, "-font", CJK, "-pointsize", size, "-fill", color, "-gravity", gravity,
           "-annotate", f"+0+{dy}", text, png32(path))


def glyph(path, w, h, kind, color, lw=2):
    cx, cy = w / 2, h / 2
    s = min(w, h) * 0.22
    draws = {
        "close": [f"line {cx - s},{cy - s} {cx + s},{cy + s}", f"line {cx + s},{cy - s} {cx - s},{cy + s}"],
        "min": [f"line {cx - s},{cy + s * 0.6} {cx + s},{cy + s * 0.6}"],
        "max": [f"rectangle {cx - s},{cy - s} {cx + s},{cy + s}"],
        "restore": [f"rectangle {cx - s},{cy - s * 0.4} {cx + s * 0.6},{cy + s}",
                    f"polyline {cx - s * 0.4},{cy - s * 0.4} {cx - s * 0.4},{cy - s} {cx + s},{cy - s} "
                    f"{cx + s},{cy + s * 0.4} {cx + s * 0.6},{cy + s * 0.4}"],
        "tray": [f"line {cx},{cy - s} {cx},{cy + s * 0.4}",
                 f"polyline {cx - s * 0.5},{cy} {cx},{cy + s * 0.5} {cx + s * 0.5},{cy}",
                 f"line {cx - s},{cy + s} {cx + s},{cy + s}"],
        "menu": [f"line {cx - s},{cy - s * 0.7} {cx + s},{cy - s * 0.7}", f"line {cx - s},{cy} {cx + s},{cy}",
                 f"line {cx - s},{cy + s * 0.7} {cx + s},{cy + s * 0.7}"],
        "refresh": [f"arc {cx - s},{cy - s} {cx + s},{cy + s} 20,300",
                    f"polyline {cx + s * 0.35},{cy - s * 1.25} {cx + s * 1.05},{cy - s * 0.85} "
                    f"{cx + s * 0.45},{cy - s * 0.25}"],
    }[kind]
    args = [path, "-fill", "none", "-stroke", color, "-strokewidth", lw]
    for d in draws:
        args += ["-draw", d]
    magick(*args, png32(path))


def flat_button(path, w, h, fill, stroke, radius=3):
    if fill == "none":
        magick("-size", f"{w}x{h}", "xc:none", png32(path))
    else:
        magick("-size", f"{w}x{h}", "xc:none", "-fill", fill, "-stroke", stroke, "-draw",
               f"roundrectangle 0.5,0.5 {w - 1.5},{h - 1.5} {radius},{radius}", png32(path))


def background(path, p, with_card):
    """The 1084 x 685 window art: a soft shadow ring, then a night panel from 4 px in."""
    w, h = 1084, 685
    rnd = random.Random(7)
    tmp = path + ".tmp.png"
    magick("-size", f"{w - 8}x{h - 8}", f"gradient:{p['mid']}-{p['deep']}", png32(tmp))
    stars = []
    for _ in range(160):
        x, y = rnd.randrange(10, w - 18), rnd.randrange(10, 300)
        a = rnd.choice([0.35, 0.55, 0.8, 1.0])
        stars += ["-fill", f"rgba(255,255,255,{a})", "-draw", f"point {x},{y}"]
    ridge = " ".join(f"{x},{int(520 - 60 * abs(((x / 180.0) % 2) - 1) - rnd.randrange(0, 25))}"
                     for x in range(0, w, 30))
    ridge2 = " ".join(f"{x},{int(585 - 40 * abs(((x / 120.0 + 0.5) % 2) - 1) - rnd.randrange(0, 15))}"
                      for x in range(0, w, 24))
    magick(tmp, *stars,
           "(", "-size", "220x220", "radial-gradient:rgba(255,244,214,0.55)-rgba(255,244,214,0)", ")",
           "-geometry", "+770+0", "-composite",
           "-fill", p["ink"], "-draw", "circle 880,110 880,72",
           "-fill", p["mid"], "-draw", "circle 896,100 896,68",
           "-fill", "rgba(10,12,30,0.85)", "-draw", f"polygon 0,677 {ridge} {w},677",
           "-fill", "rgba(5,6,16,0.95)", "-draw", f"polygon 0,677 {ridge2} {w},677",
           # a thorned keep on the ridge
           "-fill", "rgba(5,6,16,1)", "-draw", "rectangle 180,400 214,560",
           "-draw", "polygon 172,402 197,350 222,402", "-draw", "rectangle 226,450 250,560",
           "-draw", "polygon 220,452 238,418 256,452",
           "-fill", p["bright"], "-draw", "rectangle 193,430 199,440", "-draw", "rectangle 235,475 240,484",
           "-font", SERIF, "-pointsize", "50", "-fill", "rgba(0,0,0,0.55)", "-annotate", "+54+186", "Thornmere",
           "-fill", p["metal"], "-stroke", p["bright"], "-strokewidth", "1", "-annotate", "+50+182", "Thornmere",
           "-stroke", "none", "-font", CJK, "-pointsize", "18", "-fill", p["ink"], "-annotate", "+54+214",
           "荆棘之湖 · 奇幻冒险", png32(tmp))
    if with_card:
        card = path + ".card.png"
        rounded_panel(card, 732, 472, 8, "rgba(8,12,28,0.92)", "rgba(4,6,16,0.96)", p["metal"])
        magick(card, "-fill", "rgba(0,0,0,0.6)", "-stroke", p["metal"], "-draw", "rectangle 20,103 662,469",
               "-stroke", p["metal"], "-draw", "line 20,96 712,96",
               "-stroke", "none", "-font", CJK, "-pointsize", "16", "-fill", p["bright"], "-annotate", "+24+40",
               "欢迎来到 Thornmere", png32(card))
        magick(tmp, card, "-geometry", "+286+194", "-composite", png32(tmp))
        os.remove(card)
    # Shadow ring, then the panel with rounded corners.
    magick("-size", f"{w}x{h}", "xc:none", "-fill", "rgba(0,0,0,0.7)", "-draw",
           f"roundrectangle 2,2 {w - 3},{h - 3} 8,8", "-blur", "0x2",
           "(", tmp, "(", "-size", f"{w - 8}x{h - 8}", "xc:none", "-fill", "white", "-draw",
           f"roundrectangle 0,0 {w - 9},{h - 9} 5,5", ")", "-compose", "DstIn", "-composite", ")",
           "-compose", "Over", "-geometry", "+4+4", "-composite", png32(path))
    os.remove(tmp)


def frame(path, p):
    """29 x 30 nine-grid: key colour with a hairline at 4 px, so only the rim shows."""
    magick("-size", "29x30", f"xc:{KEY}", "+antialias", "-fill", "none", "-stroke", p["metal"],
           "-strokewidth", "1", "-draw", "rectangle 4,4 24,25", "PNG24:" + path)


def link_button(path, w, h, text, p, hover, size):
    top, bottom = (p["glow"], p["hover"]) if hover else (p["mid"], p["deep"])
    rounded_panel(path, w, h, 4, top, bottom, p["bright"] if hover else p["metal"])
    caption(path, text, size, p["ink"] if hover else p["bright"])


def round_button(path, size, kind, p, hover):
    fill = p["danger"] if hover and kind == "close" else (p["hover"] if hover else p["deep"])
    magick("-size", f"{size}x{size}", "xc:none", "-fill", fill, "-stroke", p["bright"] if hover else p["metal"],
           "-strokewidth", "1.5", "-draw", f"circle {size / 2 - 0.5},{size / 2 - 0.5} {size / 2 - 0.5},1.5",
           png32(path))
    glyph(path, size, size, kind, p["ink"] if hover else p["bright"], 2)


def bar_button(path, w, h, kind, p, hover, danger=False):
    flat_button(path, w, h, (p["danger"] if danger else p["hover"]) if hover else "none", "none", 2)
    glyph(path, w, h, kind, p["ink"] if hover else p["bright"], 1.6)


def small_link(path, w, h, text, p, hover):
    link_button(path, w, h, text, p, hover, 12)


def logo(path, p):
    magick("-size", "25x25", "xc:none", "-fill", p["deep"], "-stroke", p["metal"], "-strokewidth", "1.5",
           "-draw", "circle 12,12 12,1.5", "-stroke", "none", "-fill", p["bright"], "-font", SERIF,
           "-pointsize", "16", "-gravity", "center", "-annotate", "+0+0", "T", png32(path))


def strip(path, w, h, p):
    magick("-size", f"{w}x{h}", f"gradient:{p['mid']}-{p['deep']}", "-fill", p["metal"], "-draw",
           f"line 0,{h - 1} {w},{h - 1}", "-alpha", "set", png32(path))


def exact_png(path, pixels):
    """Writes one row of RGBA pixels byte for byte (no colour management)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"\0" + bytes(c for px in pixels for c in px)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", len(pixels), 1, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def keyed_sample(path, p):
    """16 x 8 bitmap: left half the key colour, right half solid, one marker pixel."""
    magick("-size", "16x8", f"xc:{p['metal']}", "-fill", KEY, "-draw", "rectangle 0,0 7,7",
           "-fill", "#102030", "-draw", "point 15,0", "PNG24:" + path)


def icon(path, p):
    magick("-size", "48x48", "xc:none", "-fill", p["mid"], "-stroke", p["metal"], "-strokewidth", "3",
           "-draw", "circle 24,24 24,3", "-stroke", "none", "-fill", p["bright"], "-font", SERIF,
           "-pointsize", "30", "-gravity", "center", "-annotate", "+0+1", "T", png32(path))


def draw_build(build, column):
    p = PALETTES[build]
    out = os.path.join(HERE, build)
    os.makedirs(os.path.join(out, "png"), exist_ok=True)
    ids = {n: (a, b)[column - 1] for n, a, b in IDS if (a, b)[column - 1] is not None}

    def path(name):
        return os.path.join(out, "png", f"{ids[name]}.png")

    for name in ids:
        base = name.replace("_HOVER", "").replace("_PRESSED", "")
        hover = name != base
        if name in ("SHADOW", "BACKGROUND"):
            background(path(name), p, with_card=True)
        elif name == "LOGIN_FRAME":
            frame(path(name), p)
        elif base in ("LOGIN_CLOSE", "LOGIN_MIN"):
            round_button(path(name), 32 if base == "LOGIN_CLOSE" else 29,
                         "close" if base == "LOGIN_CLOSE" else "min", p, hover)
        elif base in ("LOGIN_ENTER", "LOGIN_ENTER_SPARE"):
            link_button(path(name), 134, 48, LINK_CAPTIONS[base], p, hover, 20)
        elif base.startswith("LOGIN_"):
            link_button(path(name), 125 if base in ("LOGIN_SITE", "LOGIN_PAY") else 124, 34, LINK_CAPTIONS[base],
                        p, hover, 16)
        elif name == "GAME_CAPTION":
            strip(path(name), 1500, 27, p)
        elif base in ("GAME_CLOSE", "GAME_MIN", "GAME_MAX", "GAME_MAX_CHECKED", "GAME_TRAY"):
            # Unchecked while the window fills the work area: the button offers "restore".
            kind = {"GAME_CLOSE": "close", "GAME_MIN": "min", "GAME_MAX": "restore",
                    "GAME_MAX_CHECKED": "max", "GAME_TRAY": "tray"}[base]
            bar_button(path(name), 30 if base == "GAME_CLOSE" else 28, 24, kind, p, hover, base == "GAME_CLOSE")
        elif base == "GAME_MENU":
            bar_button(path(name), 26, 21, "menu", p, hover)
        elif base.startswith("GAME_") and base != "GAME_LOGO":
            small_link(path(name), 42, 21, LINK_CAPTIONS[base], p, hover)
        elif name == "GAME_LOGO":
            logo(path(name), p)
        elif name == "THIRD_CAPTION":
            magick("-size", "18x18", f"gradient:{p['mid']}-{p['deep']}", "-alpha", "set", png32(path(name)))
        elif name == "THIRD_SIDE_BORDER":
            magick("-size", "2x200", f"xc:{p['deep']}", "-fill", p["metal"], "-draw", "line 0,0 0,199",
                   "-alpha", "set", png32(path(name)))
        elif name == "THIRD_BOTTOM_BORDER":
            magick("-size", "200x2", f"xc:{p['deep']}", "-fill", p["metal"], "-draw", "line 0,1 199,1",
                   "-alpha", "set", png32(path(name)))
        elif base == "THIRD_REFRESH":
            bar_button(path(name), 28, 28, "refresh", p, hover)
        elif base == "THIRD_CLOSE":
            bar_button(path(name), 28, 28, "close", p, hover, True)
            if name.endswith("_PRESSED"):
                magick(path(name), "-fill", "rgba(0,0,0,0.35)", "-draw", "rectangle 0,0 27,27", png32(path(name)))
        else:
            sys.exit(f"no drawing for {name}")
        if base.startswith("LOGIN_") and name != "LOGIN_FRAME":
            # The login window is colour-keyed: a half-transparent edge would mix
            # with the key colour into a pink fringe, so its pictures' alpha is 0 or 255.
            magick(path(name), "-channel", "A", "-threshold", "50%", "+channel", png32(path(name)))

    if column == 1:
        ids[TEST_ALPHA[0]] = TEST_ALPHA[1]
        exact_png(path(TEST_ALPHA[0]), TEST_ALPHA[2])
    bitmap_id = BITMAP_ONLY[column]
    keyed_sample(os.path.join(out, "png", f"bitmap_{bitmap_id}.png"), p)
    icon_id = ICON[column]
    os.makedirs(os.path.join(out, "icon"), exist_ok=True)
    icon(os.path.join(out, "icon", f"{icon_id}.png"), p)
    write_manifest(build, out, ids, bitmap_id, icon_id, column)
    write_ids(build, out, ids, column)


def write_manifest(build, out, ids, bitmap_id, icon_id, column):
    strings = [line for line in open(os.path.join(out, "resources.txt"), encoding="utf-8")
               if line.startswith("STRING ")]
    lines = [f"# The {'program' if column == 1 else 'shared library'}'s resources: TYPE ID VALUE "
             "(see cmake/Resources.cmake).\n",
             "# Pictures, icon and bitmap come from res/draw_art.py; edit the tables there.\n"]
    lines += strings
    lines.append(f"ICON {icon_id} icon/{icon_id}.png\n")
    for _, *menu in MENUS:
        lines.append(f"MENU {menu[column - 1]} menu/{menu[column - 1]}.txt\n")
    lines.append(f"BITMAP {bitmap_id} png/bitmap_{bitmap_id}.png\n")
    for pid in sorted(ids.values()):
        lines.append(f"PNG {pid} png/{pid}.png\n")
    with open(os.path.join(out, "resources.txt"), "w", encoding="utf-8") as f:
        f.writelines(lines)


def write_ids(build, out, ids, column):
    lines = ["// Generated by res/draw_art.py: resource ids of the "
             f"{'program' if column == 1 else 'shared library'}. Include res/ids.h.\n",
             "#pragma once\n\n", f"namespace glider::res::{NAMESPACE[build]} {{\n\n"]
    for name, value in ids.items():
        lines.append(f"constexpr unsigned kPng{camel(name)} = {value};\n")
    lines.append(f"constexpr unsigned kBitmap{camel(BITMAP_ONLY[0])} = {BITMAP_ONLY[column]};\n")
    lines.append(f"constexpr unsigned kIcon{camel(ICON[0])} = {ICON[column]};\n")
    for name, *menu in MENUS:
        lines.append(f"constexpr unsigned kMenu{camel(name.replace('_MENU', ''))} = {menu[column - 1]};\n")
    lines.append(f"\n}}  // namespace glider::res::{NAMESPACE[build]}\n")
    with open(os.path.join(out, "ids.h"), "w", encoding="utf-8") as f:
        f.writelines(lines)


def camel(name):
    return "".join(part.capitalize() for part in name.split("_"))


if __name__ == "__main__":
    draw_build("glider", 1)
    draw_build("config", 2)
