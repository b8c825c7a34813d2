#!/usr/bin/env python3
"""Draws every built-in picture of Varno as an SVG source.

Each picture is written to myImages/<png|jpg>/<name>.svg next to this script; the
build renders it to the file of the same name without ".svg" (see
resources/CMakeLists.txt). The width/height attributes are the rendered size.

Run it again after changing a drawing:  python3 draw_pictures.py
Only the Python standard library is used.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# Dark theme palette.
PAGE = "#263440"
TILE = "#1F2933"
TILE2 = "#3D5366"
PRESSED = "#557FA3"
WHITE = "#FFFFFF"
LIGHT = "#D5DEE6"
GREY = "#8C9BAB"
DIM = "#5E6D7A"
TEAL = "#2EC4B6"
YELLOW = "#FFC940"
WARM = "#FFD766"
GLOW = "#FFE9A3"
ORANGE = "#FF8A3D"
RED = "#E35151"
GREEN = "#ABD265"
BLUE = "#5AB0F0"
PURPLE = "#9B7BE0"

WRITTEN = []


def f(v):
    """Formats a number compactly."""
    s = ("%.2f" % v).rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def svg(path, width, height, view, body, background=None):
    """Writes one picture. `path` is relative to myImages/, e.g. "png/selected.png"."""
    vw, vh = view
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
             'width="%d" height="%d" viewBox="0 0 %s %s">' % (width, height, f(vw), f(vh))]
    if background:
        parts.append('<rect x="0" y="0" width="%s" height="%s" fill="%s"/>'
                     % (f(vw), f(vh), background))
    parts.append(body)
    parts.append("</svg>\n")
    out = os.path.join(HERE, "myImages", path + ".svg")
    os.makedirs(os.path.dirname(out), exist_ok=True)
    with open(out, "w", encoding="utf-8") as fh:
        fh.write("\n".join(parts))
    WRITTEN.append((path, width, height))


def stroke(colour, width, body, extra="", cap="round", join="round"):
    return ('<g fill="none" stroke="%s" stroke-width="%s" stroke-linecap="%s" '
            'stroke-linejoin="%s"%s>%s</g>' % (colour, f(width), cap, join, extra, body))


def p(d, fill="none", extra=""):
    return '<path d="%s" fill="%s"%s/>' % (d, fill, extra)


def circle(cx, cy, r, fill="none", extra=""):
    return '<circle cx="%s" cy="%s" r="%s" fill="%s"%s/>' % (f(cx), f(cy), f(r), fill, extra)


def ellipse(cx, cy, rx, ry, fill="none", extra=""):
    return ('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"%s/>'
            % (f(cx), f(cy), f(rx), f(ry), fill, extra))


def rect(x, y, w, h, fill="none", rx=0, extra=""):
    r = ' rx="%s" ry="%s"' % (f(rx), f(rx)) if rx else ""
    return ('<rect x="%s" y="%s" width="%s" height="%s"%s fill="%s"%s/>'
            % (f(x), f(y), f(w), f(h), r, fill, extra))


def poly(points, fill, extra=""):
    return '<polygon points="%s" fill="%s"%s/>' % (
        " ".join("%s,%s" % (f(x), f(y)) for x, y in points), fill, extra)


def group(body, transform):
    return '<g transform="%s">%s</g>' % (transform, body)


def op(value):
    return ' fill-opacity="%s"' % f(value)


def gear_path(cx, cy, r_out, r_in, teeth):
    """A gear outline with flat-topped teeth."""
    pts = []
    step = 2 * math.pi / teeth
    for i in range(teeth):
        a = i * step - math.pi / 2
        for da, r in ((-0.30, r_in), (-0.17, r_out), (0.17, r_out), (0.30, r_in)):
            pts.append((cx + r * math.cos(a + da * step * 1.6),
                        cy + r * math.sin(a + da * step * 1.6)))
    return "M" + " L".join("%s %s" % (f(x), f(y)) for x, y in pts) + " Z"


def star_path(cx, cy, r_out, r_in, points=4, rot=-90):
    pts = []
    for i in range(points * 2):
        a = math.radians(rot + i * 180.0 / points)
        r = r_out if i % 2 == 0 else r_in
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return "M" + " L".join("%s %s" % (f(x), f(y)) for x, y in pts) + " Z"


def hexrgb(c):
    c = c.lstrip("#")
    return tuple(int(c[i:i + 2], 16) for i in (0, 2, 4))


def rgbhex(t):
    return "#%02X%02X%02X" % tuple(max(0, min(255, int(round(v)))) for v in t)


def mix(a, b, t):
    ra, rb = hexrgb(a), hexrgb(b)
    return rgbhex([ra[i] + (rb[i] - ra[i]) * t for i in range(3)])


def lighten(c, t):
    return mix(c, "#FFFFFF", t)


def darken(c, t):
    return mix(c, "#000000", t)


def greyed(c, level=0.75):
    r, g, b = hexrgb(c)
    y = (0.3 * r + 0.59 * g + 0.11 * b) * level
    return rgbhex((y * 0.96, y * 0.99, y * 1.04))


# ---------------------------------------------------------------------------
# Shared glyphs (24 x 24 grid)

def person24(colour, filled):
    body = ("M4.5 21 V19 C4.5 15.4 7.9 13 12 13 C16.1 13 19.5 15.4 19.5 19 V21 Z")
    if filled:
        return circle(12, 7, 4, colour) + p(body, colour)
    return stroke(colour, 2, circle(12, 7, 3.6) + p(body))


def power24(colour, width=2.4):
    return stroke(colour, width, p("M7.4 6.8 A7 7 0 1 0 16.6 6.8") + p("M12 3.5 V11"))


def fan24(colour, cx=12, cy=12, s=1.0):
    blades = ""
    for a in (0, 120, 240):
        blades += group(p("M0 0 C-3.6 -2.4 -3.2 -8.4 0.6 -8.8 C4 -9 3.6 -3.6 0 0 Z", colour),
                        "rotate(%d)" % a)
    return group(blades + circle(0, 0, 1.6, colour),
                 "translate(%s %s) scale(%s)" % (f(cx), f(cy), f(s)))


def snowflake24(colour, width=1.8):
    arms = ""
    for a in (0, 60, 120):
        arms += group(p("M0 -9 V9 M-2.6 -7.4 L0 -5 L2.6 -7.4 M-2.6 7.4 L0 5 L2.6 7.4"),
                      "rotate(%d)" % a)
    return stroke(colour, width, group(arms, "translate(12 12)"))


def sun24(colour, r=4.2, ray_in=6.6, ray_out=9.4, width=2, filled=False):
    rays = ""
    for i in range(8):
        a = math.radians(i * 45)
        rays += "M%s %s L%s %s " % (f(12 + ray_in * math.cos(a)), f(12 + ray_in * math.sin(a)),
                                    f(12 + ray_out * math.cos(a)), f(12 + ray_out * math.sin(a)))
    core = circle(12, 12, r, colour if filled else "none")
    return stroke(colour, width, core + p(rays))


# ---------------------------------------------------------------------------
# Menu bar and small control icons (drawn 24 x 24, rendered 48 x 48)

def menu_icons():
    def icon(name, body, size=48):
        svg("png/" + name, size, size, (24, 24), body)

    icon("icon-navigation-home.png",
         stroke(WHITE, 2, p("M3 11.2 L12 3.5 L21 11.2")
                + p("M5.5 9.4 V20.5 H10 V14.5 H14 V20.5 H18.5 V9.4")))
    icon("icon-navigation-back.png",
         stroke(WHITE, 2.2, p("M20 12 H5") + p("M11 5.5 L4.5 12 L11 18.5")))
    icon("icon-navigation-bell.png",
         stroke(WHITE, 2, p("M6 16.5 V11 A6 6 0 0 1 18 11 V16.5 L20 18.5 H4 Z")
                + p("M10 21 H14") + p("M12 3 V5")))
    icon("icon-navigation-rooms.png",
         stroke(WHITE, 2, p("M6 21 V3.5 H18 V21") + p("M3 21 H21")
                + p("M9 6.5 H15 V17.5"))
         + circle(15, 12.5, 1.3, WHITE))
    icon("icon-system-log.png",
         stroke(WHITE, 2, p("M5.5 3 H14 L19 8 V21 H5.5 Z") + p("M14 3 V8 H19")
                + p("M9 12 H15.5 M9 15.5 H15.5 M9 19 H12.5")))
    icon("icon-remote-settings.png",
         stroke(WHITE, 2, p(gear_path(12, 12, 9.8, 7.2, 8)) + circle(12, 12, 3)))

    # Network styles: grey while not logged in, teal once the login succeeded.
    for active in (False, True):
        c = TEAL if active else GREY
        tint = (' fill="%s" fill-opacity="0.35"' % TEAL) if active else ""
        suffix = "-active" if active else ""
        icon("network/icon-connection-localnetwork%s.png" % suffix,
             stroke(c, 2, '<rect x="8.5" y="2.5" width="7" height="5.5" rx="1"%s/>' % tint
                    + '<rect x="2" y="16" width="7" height="5.5" rx="1"%s/>' % tint
                    + '<rect x="15" y="16" width="7" height="5.5" rx="1"%s/>' % tint
                    + p("M12 8 V12 M5.5 16 V12 H18.5 V16")))
        icon("network/icon-connection-cloudserver%s.png" % suffix,
             stroke(c, 2, '<path d="M7 19 A4.5 4.5 0 0 1 6.4 10.05 A6 6 0 0 1 17.6 9.2 '
                          'A5 5 0 0 1 17 19 Z"%s/>' % (tint or ' fill="none"')))
        icon("network/icon-connection-dnsserver%s.png" % suffix,
             stroke(c, 2, '<rect x="3" y="3.5" width="18" height="7" rx="1.5"%s/>' % tint
                    + '<rect x="3" y="13.5" width="18" height="7" rx="1.5"%s/>' % tint
                    + p("M13 7 H17.5 M13 17 H17.5"))
             + circle(7, 7, 1.3, c) + circle(7, 17, 1.3, c))

    icon("selected.png", stroke(TEAL, 3, p("M4.5 12.5 L9.8 17.8 L19.8 6.5")))
    icon("icon_image_default.png",
         stroke(WHITE, 2, rect(3, 4.5, 18, 15, rx=2)
                + p("M3.5 17 L9 11.5 L13 15.5 L15.5 13 L20.5 18"))
         + circle(15.5, 9, 1.8, WHITE))
    icon("icon_image_add.png",
         stroke(WHITE, 2, p("M13 5.5 H4 A1.5 1.5 0 0 0 2.5 7 V19 A1.5 1.5 0 0 0 4 20.5 H18 "
                            "A1.5 1.5 0 0 0 19.5 19 V12.5")
                + p("M3 17.5 L8 12.5 L11.5 16 L13.5 14 L19 19"))
         + stroke(TEAL, 2.2, p("M19 2.5 V9.5 M15.5 6 H22.5")))
    icon("airConditioner/icon-ac-temp.png",
         stroke(WHITE, 2, p("M9.8 14.2 V5 A2.2 2.2 0 0 1 14.2 5 V14.2 A4.4 4.4 0 1 1 9.8 14.2 Z")
                + p("M17 6 H19.5 M17 9.5 H19.5 M17 13 H19.5"))
         + circle(12, 17.7, 2.2, ORANGE) + stroke(ORANGE, 2, p("M12 16.5 V9")))
    icon("icon-lighting-brightness.png", sun24(WHITE, r=3.8, ray_in=6.8, ray_out=9.5), 40)
    icon("icon-system-edit.png",
         stroke(WHITE, 2, p("M4 20 L5 15.2 L15.6 4.6 A2 2 0 0 1 18.4 4.6 L19.4 5.6 "
                            "A2 2 0 0 1 19.4 8.4 L8.8 19 Z") + p("M13.8 6.4 L17.6 10.2")
                + p("M12 21 H20")), 72)
    icon("icon-system-save.png",
         stroke(WHITE, 1.8, p("M4 3.5 H16.5 L20.5 7.5 V20.5 H4 Z") + p("M8 3.5 V9 H15.5 V3.5")
                + p("M7.5 20.5 V14 H17 V20.5"))
         + rect(12.5, 5, 1.6, 2.6, WHITE), 80)
    icon("icon-system-delete.png",
         stroke(WHITE, 1.8, p("M3.5 6.5 H20.5") + p("M9 6.5 V3.5 H15 V6.5")
                + p("M5.8 6.5 L7 20.5 H17 L18.2 6.5") + p("M10 10.5 V16.5 M14 10.5 V16.5")), 80)
    icon("icon-search.png",
         stroke(WHITE, 2, circle(10.5, 10.5, 6.5) + p("M15.5 15.5 L20.8 20.8")), 64)
    icon("icon-projectsettings-upload.png",
         stroke(WHITE, 1.8, p("M3.5 14.5 V20 H20.5 V14.5"))
         + stroke(TEAL, 2, p("M12 16.5 V3.5 M7 8.5 L12 3.5 L17 8.5")), 80)
    icon("icon-projectsettings-download.png",
         stroke(WHITE, 1.8, p("M3.5 14.5 V20 H20.5 V14.5"))
         + stroke(TEAL, 2, p("M12 3.5 V16.5 M7 11.5 L12 16.5 L17 11.5")), 80)
    icon("shuaxin.png",
         stroke(WHITE, 2.2, p("M19.5 12 A7.5 7.5 0 1 1 16.9 6.3"))
         + poly([(20.6, 2.6), (20.6, 9.6), (13.8, 8.2)], WHITE), 72)
    icon("icon-light-disconnected.png",
         stroke(GREY, 1.8, p("M9 16 C9 13.8 6 12.4 6 9 A6 6 0 0 1 18 9 C18 12.4 15 13.8 15 16 Z")
                + p("M9.5 18.5 H14.5 M10.5 21 H13.5"))
         + stroke(RED, 2.2, p("M3.5 3.5 L20.5 20.5")), 72)

    # Occupation sensor and master switch states (drawn 24 x 24 in the room title line).
    icon("occupation_on.png", person24(TEAL, True))
    icon("occupation_off.png", person24(GREY, False))
    icon("occupation_unknown.png", '<g stroke-dasharray="2.4 2.2">' + person24(GREY, False) + "</g>")
    icon("master_on.png", power24(TEAL, 2.6))
    icon("master_off.png", power24(GREY, 2.2))
    icon("master_unknown.png", '<g stroke-dasharray="2.4 2.2">' + power24(GREY, 2.2) + "</g>")

    # Air-conditioner power switch (36 x 36 on the card, 16 x 16 on the 3-D view).
    icon("airConditioner/icon-ac-power-on.png",
         circle(12, 12, 11, TEAL) + power24(WHITE, 2.2), 72)
    icon("airConditioner/icon-ac-power-off.png",
         circle(12, 12, 11, "none", ' stroke="%s" stroke-width="1.6"' % GREY)
         + power24(GREY, 2.2), 72)

    # Modes and fan speeds, drawn into 48 x 48 (36 x 36 with caption) on an 80 px disc.
    mode = lambda name, body: icon("airConditioner/" + name, body, 48)
    mode("icon-acmode-cool.png", snowflake24(BLUE, 2))
    mode("icon-acmode-heat.png", sun24(ORANGE, r=4.2, ray_in=7, ray_out=9.8, width=2.2,
                                       filled=True))
    mode("icon-acmode-fan.png", fan24(LIGHT, 12, 12, 1.15))
    mode("icon-acmode-auto.png",
         stroke(TEAL, 1.6, circle(12, 12, 10.2))
         + stroke(TEAL, 2.2, p("M8 17.5 L12 6.5 L16 17.5 M9.4 13.6 H14.6")))

    def speed(n):
        bars = ""
        for i in range(3):
            h = 5 + i * 4
            x = 15.2 + i * 2.9
            c = WHITE if i < n else DIM
            bars += rect(x, 20 - h, 2.1, h, c, rx=0.6)
        return fan24(LIGHT, 7.6, 12, 0.78) + bars

    mode("icon-fan-low.png", speed(1))
    mode("icon-fan-medium.png", speed(2))
    mode("icon-fan-high.png", speed(3))
    mode("icon-fan-auto.png",
         fan24(LIGHT, 7.6, 12, 0.78)
         + stroke(TEAL, 1.8, p("M14.6 19.5 L18.2 8.5 L21.8 19.5 M15.9 15.6 H20.5")))


def switches():
    # The all-on / all-off switch of the room tabs: 64 x 36, rendered twice as large.
    on = (rect(6, 10, 52, 16, "#1E7A71", rx=8) + circle(46, 18, 12, TEAL)
          + stroke(WHITE, 2.4, p("M41 18.5 L44.5 22 L51 14.5")))
    off = (rect(6, 10, 52, 16, "#44515D", rx=8) + circle(18, 18, 12, "#B8C3CC"))
    svg("png/icon_checkbox_on.png", 128, 72, (64, 36), on)
    svg("png/icon_checkbox_off.png", 128, 72, (64, 36), off)
    # The 20 x 20 check boxes of the message and log rows.
    svg("png/icon_checkbox2_on.png", 20, 20, (20, 20),
        rect(1, 1, 18, 18, TEAL, rx=3) + stroke(WHITE, 2.2, p("M5 10.2 L8.4 13.6 L15 6.6")))
    svg("png/icon_checkbox2_off.png", 20, 20, (20, 20),
        rect(2, 2, 16, 16, "none", rx=2.5, extra=' stroke="%s" stroke-width="2"' % LIGHT))
    # The add picture, scaled into a 66 x 66 square inside a dark disc.
    svg("png/add_new_room.png", 66, 66, (66, 66),
        stroke(WHITE, 6, p("M33 13 V53 M13 33 H53")))


# ---------------------------------------------------------------------------
# Tile pictures (drawn on a 64 grid, rendered 128 x 128; the 3-D view tile 160 x 160)

def tile_icons():
    def tile(name, body, size=128):
        svg("png/" + name, size, size, (64, 64), body)

    W = 3.2
    bulb = ("M24.5 44 C24.5 38.5 16 35.5 16 26 A16 16 0 0 1 48 26 C48 35.5 39.5 38.5 39.5 44 Z")
    rays = ""
    for a in (-155, -122, -90, -58, -25):
        r = math.radians(a)
        rays += "M%s %s L%s %s " % (f(32 + 19.5 * math.cos(r)), f(26 + 19.5 * math.sin(r)),
                                    f(32 + 24 * math.cos(r)), f(26 + 24 * math.sin(r)))
    tile("edit_room/icon-room-lighting.png",
         p(bulb, YELLOW) + stroke(WHITE, W, p(bulb) + p("M25.5 50 H38.5 M28 56 H36"))
         + stroke(YELLOW, W, p(rays)))
    tile("edit_room/icon-room-ac.png",
         stroke(WHITE, W, rect(6, 12, 52, 20, rx=4) + p("M13 25 H51"))
         + stroke(BLUE, W, p("M20 39 C16 44 24 47 20 53 M32 39 C28 44 36 47 32 53 "
                             "M44 39 C40 44 48 47 44 53")))
    tile("edit_room/icon-room-floorheat.png",
         stroke(ORANGE, W, p("M20 40 C15 34 25 30 20 24 C15 18 25 14 20 8 "
                             "M32 40 C27 34 37 30 32 24 C27 18 37 14 32 8 "
                             "M44 40 C39 34 49 30 44 24 C39 18 49 14 44 8"))
         + stroke(WHITE, W, p("M6 48 H58 M6 56 H58 M16 48 V56 M32 48 V56 M48 48 V56")))
    tile("edit_room/icon-room-moods.png",
         p("M36 8 A24 24 0 1 0 56 44 A19 19 0 0 1 36 8 Z", YELLOW)
         + p(star_path(50, 14, 6, 2), WHITE) + p(star_path(56, 28, 3.5, 1.2), WHITE)
         + p(star_path(42, 26, 3, 1), WHITE))
    tile("edit_room/icon-room-occupation.png",
         stroke(WHITE, W, circle(26, 19, 8)
                + p("M10 56 V50 C10 40 17 34 26 34 C35 34 42 40 42 50 V56"))
         + stroke(TEAL, W, p("M47 12 A10 10 0 0 1 47 28 M52 6 A18 18 0 0 1 52 34")))
    tile("edit_room/icon-room-master.png",
         stroke(WHITE, W, rect(12, 6, 40, 52, rx=6))
         + stroke(TEAL, 4, p("M24.5 24.5 A11 11 0 1 0 39.5 24.5") + p("M32 18 V31")))
    tile("edit_room/icon-room-panel.png",
         stroke(WHITE, W, rect(9, 9, 46, 46, rx=7) + p("M18 20 H46"))
         + circle(23, 33, 5, TEAL) + circle(41, 33, 5, WHITE) + circle(23, 46, 3.5, GREY)
         + circle(41, 46, 3.5, GREY))

    # Settings hub and home-page tiles.
    tile("settings/icon-settings-projectsettings.png",
         stroke(WHITE, W, p("M6 16 V50 A3 3 0 0 0 9 53 H34 M58 32 V22 A3 3 0 0 0 55 19 H30 "
                            "L25 13 H9 A3 3 0 0 0 6 16"))
         + stroke(TEAL, W, p(gear_path(47, 46, 12, 9, 8)) + circle(47, 46, 3.6)))
    tile("settings/icon-settings-roomtemplate.png",
         stroke(GREY, W, rect(16, 6, 42, 34, rx=3), ' stroke-dasharray="5 4"')
         + p("M6 20 H46 V58 H6 Z", TILE2)
         + stroke(WHITE, W, p("M6 20 H46 V58 H6 Z") + p("M26 20 V32 M26 42 V58 M26 40 H46"))
         + stroke(TEAL, W, p("M11 52 H20")))
    tile("settings/icon-settings-roomsmanager.png",
         stroke(WHITE, W, p("M6 8 H58 V56 H6 Z") + p("M32 8 V22 M32 32 V56 M6 30 H22 "
                                                       "M42 34 H58"))
         + rect(9, 11, 20, 16, TEAL, extra=op(0.55)) + rect(35, 37, 20, 16, TEAL, extra=op(0.3)))
    tile("settings/icon-settings-messagemanager.png",
         stroke(WHITE, W, p("M8 10 H50 A4 4 0 0 1 54 14 V40 A4 4 0 0 1 50 44 H26 L15 54 V44 "
                            "H8 A4 4 0 0 1 4 40 V14 A4 4 0 0 1 8 10 Z")
                + p("M14 22 H44 M14 32 H34"))
         + circle(52, 12, 8, RED) + circle(52, 12, 8, "none", ' stroke="%s" stroke-width="2"' % TILE2))
    pins = ""
    for i in range(4):
        v = 21 + i * 7.3
        pins += "M%s 6 V14 M%s 50 V58 M6 %s H14 M50 %s H58 " % (f(v), f(v), f(v), f(v))
    tile("settings/icon-settings-deviceaddress.png",
         stroke(WHITE, W, rect(14, 14, 36, 36, rx=4) + p(pins))
         + stroke(TEAL, W, p("M27 22 L24 42 M38 22 L35 42 M21 28 H43 M20 36 H42")))
    tile("settings/icon-settings-networksetting.png",
         stroke(WHITE, W, circle(32, 32, 24) + ellipse(32, 32, 10, 24)
                + p("M9 24 H55 M9 40 H55 M32 8 V56")))
    cube = ""
    cube += poly([(32, 8), (54, 20), (32, 32), (10, 20)], TEAL, op(0.85))
    cube += poly([(10, 20), (32, 32), (32, 57), (10, 45)], TEAL, op(0.35))
    cube += poly([(54, 20), (32, 32), (32, 57), (54, 45)], TEAL, op(0.55))
    tile("settings/icon-settings-3dview.png",
         cube + stroke(WHITE, 2.6, p("M32 8 L54 20 V45 L32 57 L10 45 V20 Z M10 20 L32 32 L54 20 "
                                     "M32 32 V57")), 160)
    tile("settings/icon-settings-about.png",
         stroke(WHITE, W, circle(32, 32, 25)) + circle(32, 19.5, 3.4, TEAL)
         + stroke(TEAL, 5, p("M32 29 V46")))

    # The maker's emblem on the About page (a company building), drawn into a disc.
    windows = ""
    for row in range(5):
        for col in range(3):
            windows += rect(15.5 + col * 7, 15 + row * 7.2, 3.6, 3.6, TEAL if (row + col) % 3 else WHITE)
    tile("icon-about-company.png",
         stroke(WHITE, 2.6, p("M10 58 V8 H40 V58 M40 26 H54 V58 M4 58 H60"))
         + windows + rect(45, 31, 4, 4, TEAL) + rect(45, 40, 4, 4, TEAL)
         + rect(45, 49, 4, 4, WHITE) + rect(21, 51, 8, 7, WHITE), 160)


# ---------------------------------------------------------------------------
# Logos (letter shapes, no fonts)

def kest_letters(x, y, h, w, gap, colour, width):
    """The word KEST as strokes; returns (body, right edge)."""
    d = ""
    # K
    d += "M%s %s V%s M%s %s L%s %s L%s %s " % (
        f(x), f(y), f(y + h), f(x + w), f(y), f(x + 0.15 * w), f(y + h * 0.55),
        f(x + w), f(y + h))
    d += "M%s %s L%s %s " % (f(x), f(y + h * 0.62), f(x + 0.4 * w), f(y + h * 0.36))
    x += w + gap
    # E
    d += "M%s %s H%s M%s %s V%s H%s M%s %s H%s " % (
        f(x + w), f(y), f(x), f(x), f(y), f(y + h), f(x + w), f(x), f(y + h / 2),
        f(x + 0.8 * w))
    x += w + gap
    # S
    r = h / 4.0
    d += ("M%s %s H%s A%s %s 0 0 0 %s %s H%s A%s %s 0 0 1 %s %s H%s " % (
        f(x + w), f(y), f(x + r), f(r), f(r), f(x + r), f(y + h / 2), f(x + w - r),
        f(r), f(r), f(x + w - r), f(y + h), f(x)))
    x += w + gap
    # T
    d += "M%s %s H%s M%s %s V%s" % (f(x), f(y), f(x + w), f(x + w / 2), f(y), f(y + h))
    return stroke(colour, width, p(d), cap="square", join="miter"), x + w


def logos():
    # Menu bar wordmark: 44 x 16 on the black bar, rendered twice as large.
    body, _ = kest_letters(3.2, 3, 10, 6.6, 3.6, WHITE, 1.9)
    svg("png/Kest Logo.png", 88, 32, (44, 16), body + rect(40.6, 11.2, 2.2, 2.2, TEAL))
    # About page: emblem and wordmark, 360 x 120 on the page colour.
    emblem = (rect(6, 10, 40, 40, TEAL, rx=9)
              + stroke(WHITE, 5, p("M18 20 V40 M34 20 L22 31 L34 40"), cap="square"))
    body, right = kest_letters(60, 14, 32, 20, 10, WHITE, 5.2)
    svg("png/logo-about-kest.png", 360, 120, (180, 60),
        emblem + body + rect(60, 52, right - 60, 2.2, TEAL))


# ---------------------------------------------------------------------------
# Message icons: message_01 .. message_11, 96 x 96, a coloured disc with a white sign

def message_icons():
    c, r = 24, 22

    def disc(colour):
        return circle(c, c, r, colour)

    s = lambda body, w=2.6: stroke(WHITE, w, body)
    icons = [
        # 01 call for service: a reception bell
        (TEAL, p("M15 31 V23 A9 9 0 0 1 33 23 V31 L36 34 H12 Z", WHITE) + circle(24, 37, 3, WHITE)
         + rect(22.5, 10.5, 3, 4, WHITE, rx=1.2)),
        # 02 do not disturb: a moon and a bar
        (PURPLE, p("M27 10 A13 13 0 1 0 38 30 A10 10 0 0 1 27 10 Z", WHITE)),
        # 03 please make up the room: sparkles
        (GREEN, p(star_path(21, 27, 11, 3.2), WHITE) + p(star_path(33, 15, 5.5, 1.6), WHITE)
         + p(star_path(35, 33, 4, 1.2), WHITE)),
        # 04 laundry: a shirt
        (BLUE, p("M18 11 L11 15 L8 22 L13 24 L15 20 V37 H33 V20 L35 24 L40 22 L37 15 L30 11 "
                 "C28 14 20 14 18 11 Z", WHITE)),
        # 05 emergency: a warning triangle
        (RED, p("M24 9 L39 35 H9 Z", WHITE) + stroke(RED, 3, p("M24 18 V26"))
         + circle(24, 30.6, 1.8, RED)),
        # 06 fire
        (ORANGE, p("M24 9 C26 16 34 19 34 28 A10 10 0 0 1 14 28 C14 22 18 20 19 15 "
                   "C21 18 22 20 22 22 C24 19 25 14 24 9 Z", WHITE)),
        # 07 water: a drop
        ("#3C8DDE", p("M24 9 C28 16 34 22 34 28.5 A10 10 0 0 1 14 28.5 C14 22 20 16 24 9 Z",
                      WHITE)),
        # 08 room service: a covered dish
        ("#E39A2B", s(p("M10 31 H38 M12.5 31 A11.5 11.5 0 0 1 35.5 31 Z") + p("M24 16.5 V19")
                      + p("M9 35 H39"))),
        # 09 car: a car front
        ("#6F7FD8", p("M12 22 L15.5 13.5 H32.5 L36 22 H38 V33 H34 V36 H30 V33 H18 V36 H14 "
                      "V33 H10 V22 Z", WHITE)
         + circle(15.5, 27.5, 2.2, "#6F7FD8") + circle(32.5, 27.5, 2.2, "#6F7FD8")
         + rect(17, 16, 14, 5, "#6F7FD8", rx=1)),
        # 10 check-out: a door with an arrow
        ("#7C8C9C", s(p("M20 11 H12 V37 H20") + p("M19 24 H37 M31 18 L37 24 L31 30"))),
        # 11 medical help: a red cross on white
        (WHITE, rect(19.5, 11, 9, 26, RED, rx=1.5) + rect(11, 19.5, 26, 9, RED, rx=1.5)),
    ]
    for i, (colour, glyph) in enumerate(icons, start=1):
        outline = circle(c, c, r, "none", ' stroke="%s" stroke-width="1.5"' % RED) \
            if colour == WHITE else ""
        svg("png/message/message_%02d.png" % i, 96, 96, (48, 48), disc(colour) + outline + glyph)


# ---------------------------------------------------------------------------
# Light pictures: light_01_on .. light_52_on and their _off twins, 192 x 192.
# Thirteen fixture shapes, each in four finishes; the on picture glows warm
# yellow, the off picture is the same fixture in greys.

FINISHES = ["#E4EAF0", TEAL, "#C89B5A", "#9AA6B2"]


class Lamp:
    def __init__(self, on, finish):
        self.on = on
        self.body = finish if on else greyed(finish, 0.78)
        self.dark = darken(self.body, 0.25)
        self.lit = WARM if on else "#6E7883"
        self.core = "#FFF6D5" if on else "#86909A"
        self.line = "#5E6D7A" if on else "#4E5A66"

    def glow(self, cx, cy, r):
        if not self.on:
            return ""
        return (circle(cx, cy, r, YELLOW, op(0.10)) + circle(cx, cy, r * 0.74, YELLOW, op(0.14))
                + circle(cx, cy, r * 0.5, GLOW, op(0.22)))

    def beam(self, pts):
        return poly(pts, YELLOW, op(0.18)) if self.on else ""


def lamp_bulb(L, v):
    k = [1.0, 0.9, 1.1, 0.95][v]
    glass = ("M38 62 C38 54 %s 50 %s 38 A%s %s 0 0 1 %s 38 C%s 50 58 54 58 62 Z" % (
        f(48 - 18 * k), f(48 - 18 * k), f(18 * k), f(18 * k), f(48 + 18 * k), f(48 + 18 * k)))
    fil = stroke(L.core if L.on else L.line, 2, p("M43 60 V48 L46 44 L50 48 L53 44 V60"))
    base = (rect(38, 62, 20, 14, L.body, rx=2)
            + p("M38 66 H58 M38 71 H58", extra=' stroke="%s" stroke-width="1.6"' % L.dark)
            + p("M42 76 H54 L51 82 H45 Z", L.dark))
    return L.glow(48, 40, 42) + p(glass, L.lit) + fil + base


def lamp_flush(L, v):
    w = [30, 26, 34, 28][v]
    return (L.glow(48, 44, 40) + rect(48 - w - 6, 20, 2 * w + 12, 8, L.body, rx=2)
            + p("M%s 28 A%s %s 0 0 0 %s 28 Z" % (f(48 - w), f(w), f(w * 0.75), f(48 + w)), L.lit)
            + ellipse(48, 34, w * 0.55, w * 0.22, L.core, op(0.7 if L.on else 0.3))
            + L.beam([(48 - w, 50), (48 + w, 50), (48 + w + 14, 92), (48 - w - 14, 92)]))


def lamp_cone(L, v):
    w = [22, 18, 26, 20][v]
    return (L.glow(48, 58, 36)
            + L.beam([(48 - w, 58), (48 + w, 58), (48 + w + 16, 94), (48 - w - 16, 94)])
            + p("M48 4 V26", extra=' stroke="%s" stroke-width="2"' % L.dark)
            + rect(44, 24, 8, 6, L.dark, rx=1)
            + p("M42 30 H54 L%s 58 H%s Z" % (f(48 + w), f(48 - w)), L.body)
            + ellipse(48, 58, w, 4.5, L.lit))


def lamp_bowl(L, v):
    w = [26, 22, 30, 24][v]
    return (L.glow(48, 50, 38)
            + L.beam([(48 - w, 52), (48 + w, 52), (48 + w + 10, 94), (48 - w - 10, 94)])
            + p("M48 4 V30", extra=' stroke="%s" stroke-width="2"' % L.dark)
            + p("M%s 52 A%s %s 0 0 1 %s 52 Z" % (f(48 - w), f(w), f(w * 0.85), f(48 + w)), L.body)
            + ellipse(48, 52, w, 5, L.lit) + circle(48, 30, 3, L.dark))


def lamp_spot(L, v):
    a = [30, 20, 40, 25][v]
    head = group(rect(-10, -13, 34, 26, L.body, rx=4) + ellipse(24, 0, 4, 12, L.lit)
                 + rect(-14, -8, 5, 16, L.dark, rx=1.5),
                 "translate(30 34) rotate(%d)" % a)
    ang = math.radians(a)
    ex, ey = 30 + 24 * math.cos(ang), 34 + 24 * math.sin(ang)
    dx, dy = math.cos(ang), math.sin(ang)
    nx, ny = -dy, dx
    length = 40
    beam = L.beam([(ex + 11 * nx, ey + 11 * ny), (ex - 11 * nx, ey - 11 * ny),
                   (ex + length * dx - 24 * nx, ey + length * dy - 24 * ny),
                   (ex + length * dx + 24 * nx, ey + length * dy + 24 * ny)])
    return (L.glow(ex, ey, 30) + beam + rect(8, 10, 64, 7, L.dark, rx=2)
            + p("M30 17 V28", extra=' stroke="%s" stroke-width="4"' % L.dark) + head)


def lamp_downlight(L, v):
    r = [30, 26, 34, 28][v]
    inner = [0.62, 0.7, 0.55, 0.66][v]
    return (L.glow(48, 48, 46) + circle(48, 48, r, L.body) + circle(48, 48, r * 0.86, L.dark)
            + circle(48, 48, r * inner, L.lit) + circle(48, 48, r * inner * 0.45, L.core,
                                                       op(0.8 if L.on else 0.4)))


def lamp_floor(L, v):
    w = [16, 14, 18, 15][v]
    return (L.glow(48, 26, 34)
            + ellipse(48, 88, 16, 4, L.dark)
            + p("M48 36 V86", extra=' stroke="%s" stroke-width="3"' % L.body)
            + p("M%s 10 H%s L%s 36 H%s Z" % (f(48 - w * 0.7), f(48 + w * 0.7), f(48 + w), f(48 - w)),
                L.lit if L.on else L.body)
            + p("M%s 36 H%s" % (f(48 - w), f(48 + w)), extra=' stroke="%s" stroke-width="2"' % L.dark))


def lamp_table(L, v):
    w = [24, 20, 28, 22][v]
    return (L.glow(48, 40, 38)
            + L.beam([(48 - w, 52), (48 + w, 52), (48 + w + 8, 86), (48 - w - 8, 86)])
            + rect(30, 82, 36, 5, L.dark, rx=2)
            + p("M40 82 C40 72 44 66 44 60 H52 C52 66 56 72 56 82 Z", L.body)
            + p("M%s 22 H%s L%s 52 H%s Z" % (f(48 - w * 0.62), f(48 + w * 0.62), f(48 + w), f(48 - w)),
                L.lit if L.on else lighten(L.body, 0.1))
            + p("M%s 52 H%s" % (f(48 - w), f(48 + w)), extra=' stroke="%s" stroke-width="2"' % L.dark))


def lamp_sconce(L, v):
    w = [14, 12, 16, 13][v]
    return (L.glow(48, 44, 36)
            + L.beam([(48 - w, 30), (48 + w, 30), (48 + w + 12, 4), (48 - w - 12, 4)])
            + L.beam([(48 - w, 58), (48 + w, 58), (48 + w + 12, 92), (48 - w - 12, 92)])
            + rect(42, 24, 12, 40, L.dark, rx=3)
            + p("M%s 30 H%s L%s 58 H%s Z" % (f(48 - w), f(48 + w), f(48 + w * 0.7), f(48 - w * 0.7)),
                L.body)
            + rect(48 - w, 28, 2 * w, 4, L.lit, rx=1) + rect(48 - w * 0.7, 56, 1.4 * w, 4, L.lit, rx=1))


def lamp_chandelier(L, v):
    n = [5, 3, 5, 4][v]
    span = 34 if n > 3 else 28
    xs = [48 - span + 2 * span * i / (n - 1) for i in range(n)]
    arms = ""
    cups = ""
    for x in xs:
        arms += "M48 46 Q%s 66 %s 50 " % (f((48 + x) / 2), f(x))
        cups += rect(x - 4, 46, 8, 5, L.body, rx=1) + rect(x - 2, 36, 4, 10, LIGHT if L.on else GREY)
        cups += (p("M%s 34 C%s 30 %s 28 %s 24 C%s 28 %s 30 %s 34 Z" % (
            f(x - 2.6), f(x - 2.6), f(x - 1), f(x), f(x + 1), f(x + 2.6), f(x + 2.6)), L.lit))
    return (L.glow(48, 40, 46) + p("M48 4 V46", extra=' stroke="%s" stroke-width="2.5"' % L.body)
            + stroke(L.body, 3, p(arms)) + circle(48, 58, 5, L.body) + cups)


def lamp_tube(L, v):
    w = [36, 30, 40, 34][v]
    two = v in (1, 3)
    body = L.glow(48, 48, 44) + rect(48 - w - 4, 30, 2 * w + 8, 10, L.body, rx=2)
    body += L.beam([(48 - w, 52), (48 + w, 52), (48 + w + 8, 92), (48 - w - 8, 92)])
    if two:
        body += rect(48 - w, 42, 2 * w, 5, L.lit, rx=2.5) + rect(48 - w, 49, 2 * w, 5, L.lit, rx=2.5)
    else:
        body += rect(48 - w, 42, 2 * w, 8, L.lit, rx=4)
    return body + rect(48 - w - 4, 40, 5, 16, L.dark, rx=1) + rect(48 + w - 1, 40, 5, 16, L.dark, rx=1)


def lamp_globe(L, v):
    r = [20, 17, 23, 19][v]
    return (L.glow(48, 36 + r, r + 22)
            + p("M48 4 V30", extra=' stroke="%s" stroke-width="2"' % L.dark)
            + rect(42, 26, 12, 8, L.body, rx=2) + circle(48, 34 + r, r, L.lit)
            + ellipse(48 - r * 0.35, 34 + r * 0.65, r * 0.28, r * 0.18, L.core, op(0.8 if L.on else 0.3)))


def lamp_rgb(L, v):
    shift = [0, 1, 2, 0][v]
    colours = ["#FF5A5A", "#58D16A", "#5A8CFF"]
    colours = colours[shift:] + colours[:shift]
    if not L.on:
        colours = ["#7D868F", "#6B747D", "#8E979F"]
    c = ""
    for i, a in enumerate((-90, 30, 150)):
        r = math.radians(a)
        c += circle(48 + 11 * math.cos(r), 50 + 11 * math.sin(r), 15, colours[i], op(0.82))
    glow = (circle(48, 50, 42, YELLOW, op(0.08)) + circle(48, 50, 32, WHITE, op(0.08))) if L.on else ""
    ring = circle(48, 50, 34, "none", ' stroke="%s" stroke-width="4"' % L.body)
    if v == 3:
        ring = rect(14, 16, 68, 68, "none", rx=10, extra=' stroke="%s" stroke-width="4"' % L.body)
    return glow + ring + c


LAMPS = [lamp_bulb, lamp_flush, lamp_cone, lamp_bowl, lamp_spot, lamp_downlight, lamp_floor,
         lamp_table, lamp_sconce, lamp_chandelier, lamp_tube, lamp_globe, lamp_rgb]


def light_icons():
    for n in range(1, 53):
        shape = LAMPS[(n - 1) // 4]
        v = (n - 1) % 4
        for on in (True, False):
            body = shape(Lamp(on, FINISHES[v]), v)
            svg("png/light/light_%02d_%s.png" % (n, "on" if on else "off"), 192, 192, (96, 96), body)


# ---------------------------------------------------------------------------
# Isometric rooms: the 3-D view pictures (PNG, transparent around the room) and the
# room pictures (JPG, 600 x 320, a closer view on a dark ground).

COS30 = math.cos(math.radians(30))


class Iso:
    def __init__(self, ox, oy, s):
        self.ox, self.oy, self.s = ox, oy, s
        self.items = []  # (sort key, order, svg)

    def pt(self, x, y, z):
        return (self.ox + (x - y) * COS30 * self.s, self.oy + (x + y) * 0.5 * self.s - z * self.s)

    def quad(self, pts3, fill, key=None, extra=""):
        pts = [self.pt(*q) for q in pts3]
        if key is None:
            key = min(q[0] + q[1] for q in pts3) - 100
        self.items.append((key, len(self.items), poly(pts, fill, extra)))

    def box(self, x0, y0, z0, w, d, h, colour, top=None, key=None, sides=None):
        x1, y1, z1 = x0 + w, y0 + d, z0 + h
        top = top or lighten(colour, 0.14)
        right = colour
        left = darken(colour, 0.22)
        if sides:
            top, right, left = sides
        P = self.pt
        body = (poly([P(x1, y0, z0), P(x1, y1, z0), P(x1, y1, z1), P(x1, y0, z1)], right)
                + poly([P(x0, y1, z0), P(x1, y1, z0), P(x1, y1, z1), P(x0, y1, z1)], left)
                + poly([P(x0, y0, z1), P(x1, y0, z1), P(x1, y1, z1), P(x0, y1, z1)], top))
        if key is None:
            key = x0 + y0 + (x1 + y1) * 0.001 + z0 * 0.01
        self.items.append((key, len(self.items), body))

    def raw(self, body, key):
        self.items.append((key, len(self.items), body))

    def render(self):
        return "".join(s for _, _, s in sorted(self.items, key=lambda t: (t[0], t[1])))


PALETTES = [
    # wall left, wall right, floor, floor lines, fabric, wood, accent, sky
    dict(wl="#4C5E70", wr="#5A6E82", floor="#7A5E48", seam="#6C523E", fabric="#3F7F8C",
         wood="#A0764F", accent=TEAL, sky="#8FC6E8", rug="#2F6A73", metal="#C9D3DC"),
    dict(wl="#6A5A4E", wr="#7A695B", floor="#8C6B4A", seam="#7A5C3F", fabric="#B5654A",
         wood="#6E4B33", accent="#F0B45A", sky="#F5C98A", rug="#8A4F3A", metal="#D8CFC4"),
    dict(wl="#4F6358", wr="#5C7366", floor="#6B5D52", seam="#5D5047", fabric="#8DA85A",
         wood="#9C8160", accent=GREEN, sky="#B9E0C8", rug="#5E7A3E", metal="#CFD8CF"),
    dict(wl="#3E4363", wr="#4A5075", floor="#514A66", seam="#463F59", fabric="#8A6FC7",
         wood="#7B6A8E", accent=PURPLE, sky="#26345C", rug="#5D4B8A", metal="#C9C6DA"),
]


def room_shell(iso, P, X, Y, H, windows=((3, 4),), tiles=False):
    t = 0.35
    # Floor with planks, then the two walls.
    iso.quad([(0, 0, 0), (X, 0, 0), (X, Y, 0), (0, Y, 0)], P["floor"], key=-1000)
    seams = ""
    step = 1.0 if not tiles else 1.5
    k = step
    while k < X:
        a, b = iso.pt(k, 0, 0), iso.pt(k, Y, 0)
        seams += "M%s %s L%s %s " % (f(a[0]), f(a[1]), f(b[0]), f(b[1]))
        k += step
    if tiles:
        k = step
        while k < Y:
            a, b = iso.pt(0, k, 0), iso.pt(X, k, 0)
            seams += "M%s %s L%s %s " % (f(a[0]), f(a[1]), f(b[0]), f(b[1]))
            k += step
    iso.raw(stroke(P["seam"], max(1, iso.s * 0.04), p(seams)), -999)
    iso.box(-t, -t, 0, t, Y + t, H, P["wl"], sides=(lighten(P["wl"], 0.2), P["wl"], P["wl"]), key=-990)
    iso.box(0, -t, 0, X, t, H, P["wr"], sides=(lighten(P["wr"], 0.2), P["wr"], darken(P["wr"], 0.1)),
            key=-989)
    # Skirting.
    iso.quad([(0, 0.001, 0), (0, Y, 0), (0, Y, 0.25), (0, 0.001, 0.25)], darken(P["wl"], 0.2), key=-988)
    iso.quad([(0, 0, 0), (X, 0, 0), (X, 0, 0.25), (0, 0, 0.25)], darken(P["wr"], 0.2), key=-988)
    for (a, w) in windows:
        wall_window(iso, P, a, w, H)
    if tiles:
        lines = ""
        z = 1.0
        while z < H:
            a, b = iso.pt(0, 0, z), iso.pt(X, 0, z)
            c, d = iso.pt(0, 0, z), iso.pt(0, Y, z)
            lines += "M%s %s L%s %s M%s %s L%s %s " % (f(a[0]), f(a[1]), f(b[0]), f(b[1]),
                                                         f(c[0]), f(c[1]), f(d[0]), f(d[1]))
            z += 1.0
        iso.raw(stroke(lighten(P["wr"], 0.12), max(1, iso.s * 0.03), p(lines)), -987)


def wall_window(iso, P, a, w, H, left=False):
    """A window on the right wall (y = 0) from x = a to a + w, or the left wall (x = 0)."""
    z0, z1 = H * 0.3, H * 0.82
    if left:
        pts = [(0, a, z0), (0, a + w, z0), (0, a + w, z1), (0, a, z1)]
        frame = [(0, a - 0.15, z0 - 0.15), (0, a + w + 0.15, z0 - 0.15), (0, a + w + 0.15, z1 + 0.15),
                 (0, a - 0.15, z1 + 0.15)]
        mid = [(0, a + w / 2, z0), (0, a + w / 2, z1)]
    else:
        pts = [(a, 0, z0), (a + w, 0, z0), (a + w, 0, z1), (a, 0, z1)]
        frame = [(a - 0.15, 0, z0 - 0.15), (a + w + 0.15, 0, z0 - 0.15), (a + w + 0.15, 0, z1 + 0.15),
                 (a - 0.15, 0, z1 + 0.15)]
        mid = [(a + w / 2, 0, z0), (a + w / 2, 0, z1)]
    iso.quad(frame, P["metal"], key=-980)
    iso.quad(pts, P["sky"], key=-979)
    m0, m1 = iso.pt(*mid[0]), iso.pt(*mid[1])
    bar = "M%s %s L%s %s" % (f(m0[0]), f(m0[1]), f(m1[0]), f(m1[1]))
    iso.raw(stroke(P["metal"], max(1, iso.s * 0.1), p(bar)),
            -978)


def wall_rect(iso, colour, a, w, z0, z1, left=False, key=-970):
    if left:
        iso.quad([(0, a, z0), (0, a + w, z0), (0, a + w, z1), (0, a, z1)], colour, key=key)
    else:
        iso.quad([(a, 0, z0), (a + w, 0, z0), (a + w, 0, z1), (a, 0, z1)], colour, key=key)


def rug(iso, colour, x, y, w, d):
    iso.quad([(x, y, 0.01), (x + w, y, 0.01), (x + w, y + d, 0.01), (x, y + d, 0.01)], colour, key=-960)


def plant(iso, P, x, y, s=1.0):
    iso.box(x, y, 0, 0.8 * s, 0.8 * s, 0.9 * s, P["metal"])
    cx, cy = iso.pt(x + 0.4 * s, y + 0.4 * s, 0.9 * s + 0.9 * s)
    r = iso.s * 0.75 * s
    iso.raw(circle(cx, cy, r, "#4E9A5A") + circle(cx - r * 0.35, cy - r * 0.3, r * 0.55, "#62B36C"),
            x + y + 0.8 * s + 0.5)


def sofa(iso, P, x, y, length, facing_x=True):
    c = P["fabric"]
    if facing_x:  # back against the left wall, seats face +x
        iso.box(x, y, 0, 1.6, length, 0.9, c)
        iso.box(x, y, 0.9, 0.5, length, 0.9, darken(c, 0.05))
        iso.box(x, y - 0.4, 0, 1.6, 0.4, 1.3, darken(c, 0.1))
        iso.box(x, y + length, 0, 1.6, 0.4, 1.3, darken(c, 0.1))
    else:  # back against the right wall, seats face +y
        iso.box(x, y, 0, length, 1.6, 0.9, c)
        iso.box(x, y, 0.9, length, 0.5, 0.9, darken(c, 0.05))
        iso.box(x - 0.4, y, 0, 0.4, 1.6, 1.3, darken(c, 0.1))
        iso.box(x + length, y, 0, 0.4, 1.6, 1.3, darken(c, 0.1))


def table(iso, colour, x, y, w, d, h, leg=0.18):
    for (lx, ly) in ((x, y), (x + w - leg, y), (x, y + d - leg), (x + w - leg, y + d - leg)):
        iso.box(lx, ly, 0, leg, leg, h - 0.15, darken(colour, 0.2), key=x + y + 0.01)
    iso.box(x, y, h - 0.15, w, d, 0.15, colour, key=x + y + 0.02)


def chair(iso, colour, x, y, back="x0"):
    iso.box(x, y, 0, 0.9, 0.9, 0.9, colour)
    if back == "x0":
        iso.box(x, y, 0.9, 0.2, 0.9, 1.0, darken(colour, 0.1))
    elif back == "y0":
        iso.box(x, y, 0.9, 0.9, 0.2, 1.0, darken(colour, 0.1))
    elif back == "x1":
        iso.box(x + 0.7, y, 0.9, 0.2, 0.9, 1.0, darken(colour, 0.1))
    elif back == "y1":
        iso.box(x, y + 0.7, 0.9, 0.9, 0.2, 1.0, darken(colour, 0.1))


def bed(iso, P, x, y, w, d, linen="#E8EDF2"):
    iso.box(x, y, 0, w, d, 0.8, P["wood"])
    iso.box(x + 0.1, y + 0.1, 0.8, w - 0.2, d - 0.2, 0.5, linen)
    iso.box(x, y - 0.3, 0, w, 0.3, 2.6, darken(P["wood"], 0.1))
    pw = (w - 0.6) / 2 if w > 3 else w - 0.6
    iso.box(x + 0.3, y + 0.3, 1.3, pw, 0.9, 0.35, "#FFFFFF")
    if w > 3:
        iso.box(x + 0.3 + pw + 0.0, y + 0.3, 1.3, pw, 0.9, 0.35, "#FFFFFF")
    iso.box(x + 0.1, y + d * 0.45, 1.3, w - 0.2, d * 0.55 - 0.1, 0.06, P["fabric"])


def shelf(iso, P, x, y, w, d, h, along_x=True, books=True):
    iso.box(x, y, 0, w, d, h, P["wood"])
    if books:
        palette = ["#E35151", "#5AB0F0", "#FFC940", "#ABD265", "#E8EDF2", "#9B7BE0"]
        n = 0
        z = 0.5
        while z < h - 0.6:
            pos = 0.15
            while pos < (w if along_x else d) - 0.35:
                c = palette[n % len(palette)]
                n += 1
                bw = 0.22 + 0.08 * (n % 3)
                if along_x:
                    iso.quad([(x + pos, y + d + 0.001, z), (x + pos + bw, y + d + 0.001, z),
                              (x + pos + bw, y + d + 0.001, z + 0.7), (x + pos, y + d + 0.001, z + 0.7)],
                             c, key=x + y + 0.03)
                else:
                    iso.quad([(x + w + 0.001, y + pos, z), (x + w + 0.001, y + pos + bw, z),
                              (x + w + 0.001, y + pos + bw, z + 0.7), (x + w + 0.001, y + pos, z + 0.7)],
                             c, key=x + y + 0.03)
                pos += bw + 0.05
            z += 1.1


def tv(iso, a, w, z0, h, left=False):
    wall_rect(iso, "#111820", a, w, z0, z0 + h, left=left, key=-965)
    wall_rect(iso, "#24415A", a + 0.1, w - 0.2, z0 + 0.1, z0 + h - 0.1, left=left, key=-964)


def picture(iso, P, a, w, z0, h, left=False):
    wall_rect(iso, P["metal"], a, w, z0, z0 + h, left=left, key=-966)
    wall_rect(iso, P["accent"], a + 0.12, w - 0.24, z0 + 0.12, z0 + h - 0.12, left=left, key=-965)
    wall_rect(iso, darken(P["accent"], 0.3), a + 0.12, w - 0.24, z0 + 0.12, z0 + h * 0.45, left=left,
              key=-964)


def scene_living(iso, P, X, Y, H):
    rug(iso, P["rug"], 3, 3, 5.5, 5)
    sofa(iso, P, 0.2, 3, 5)
    table(iso, P["wood"], 4.3, 4.2, 2.4, 2.6, 0.9)
    iso.box(4.5, 0.05, 0, 4.5, 1.1, 1.0, P["wood"])
    tv(iso, 4.9, 3.7, 2.2, 2.2)
    picture(iso, P, 3.8, 2.6, 2.6, 1.8, left=True)
    plant(iso, P, 10.4, 0.4)
    iso.box(0.3, 0.4, 0, 1.2, 1.2, 1.2, P["wood"])
    ex, ey = iso.pt(0.9, 1.0, 1.2)
    iso.raw(p("M%s %s L%s %s" % (f(ex), f(ey), f(ex), f(ey - iso.s * 1.2)),
              extra=' stroke="%s" stroke-width="%s"' % (P["metal"], f(iso.s * 0.08)))
            + circle(ex, ey - iso.s * 1.45, iso.s * 0.45, YELLOW), 2.5)


def scene_bedroom(iso, P, X, Y, H):
    rug(iso, P["rug"], 2.8, 5.5, 6.5, 3.5)
    bed(iso, P, 3.5, 0.4, 4.6, 6)
    iso.box(2.2, 0.2, 0, 1.1, 1.0, 1.2, P["wood"])
    iso.box(8.3, 0.2, 0, 1.1, 1.0, 1.2, P["wood"])
    for bx in (2.75, 8.85):
        cx, cy = iso.pt(bx, 0.7, 1.2)
        iso.raw(rect(cx - iso.s * 0.25, cy - iso.s * 0.9, iso.s * 0.5, iso.s * 0.6, YELLOW)
                + rect(cx - iso.s * 0.05, cy - iso.s * 0.3, iso.s * 0.1, iso.s * 0.3, P["metal"]),
                bx + 0.7 + 2)
    iso.box(0.05, 1, 0, 1.2, 3.6, 4.2, P["wood"], sides=(lighten(P["wood"], 0.15), P["wood"],
                                                          darken(P["wood"], 0.15)))
    picture(iso, P, 4.3, 3, 3.3, 1.4)
    plant(iso, P, 0.4, 6.5)


def scene_kitchen(iso, P, X, Y, H):
    white = "#E4EAF0"
    for i in range(6):
        iso.box(1.4 + i * 1.4, 0.05, 0, 1.4, 1.3, 1.8, white if i % 2 == 0 else "#D9E0E7",
                top=P["wood"])
    iso.box(0.05, 1.4, 0, 1.3, 5.6, 1.8, white, top=P["wood"])
    iso.box(0.05, 0.05, 0, 1.3, 1.3, 1.8, white, top=P["wood"])
    iso.box(0.05, 7.0, 0, 1.4, 1.6, 4.2, P["metal"])
    for i in range(4):
        iso.box(1.6 + i * 1.8, 0.05, 3.1, 1.7, 0.8, 1.4, P["wood"])
    iso.box(4.2, 4.2, 0, 4.2, 2.0, 1.8, P["fabric"], top=lighten(P["wood"], 0.2))
    for i in range(3):
        iso.box(4.6 + i * 1.3, 6.6, 0, 0.8, 0.8, 1.2, P["metal"])
    wall_rect(iso, "#1D252D", 7.4, 1.9, 1.9, 2.0, key=-960)


def scene_dining(iso, P, X, Y, H):
    rug(iso, P["rug"], 2.5, 2.8, 7, 5)
    table(iso, P["wood"], 3.6, 3.8, 4.8, 2.8, 1.4)
    for i in range(3):
        chair(iso, P["fabric"], 3.9 + i * 1.6, 2.7, back="y0")
        chair(iso, P["fabric"], 3.9 + i * 1.6, 6.9, back="y1")
    iso.box(0.05, 2.5, 0, 1.1, 4, 1.5, P["wood"])
    picture(iso, P, 2.8, 3.2, 2.7, 1.6, left=True)
    for i in range(3):
        top = iso.pt(4.6 + i * 1.5, 5.2, H + 0.5)
        bot = iso.pt(4.6 + i * 1.5, 5.2, 3.6)
        iso.raw(p("M%s %s L%s %s" % (f(top[0]), f(top[1]), f(bot[0]), f(bot[1])),
                  extra=' stroke="%s" stroke-width="%s"' % (P["metal"], f(iso.s * 0.05)))
                + p("M%s %s h%s l%s %s h%s Z" % (f(bot[0] - iso.s * 0.3), f(bot[1]), f(iso.s * 0.6),
                                                 f(iso.s * 0.25), f(iso.s * 0.6), f(-iso.s * 1.1)),
                    P["accent"]), 20)


def scene_bathroom(iso, P, X, Y, H):
    white = "#EEF2F5"
    iso.box(0.05, 0.05, 0, 4.2, 2.1, 1.5, white)
    iso.quad([(0.35, 0.35, 1.51), (3.95, 0.35, 1.51), (3.95, 1.85, 1.51), (0.35, 1.85, 1.51)], "#8FC6E8",
             key=0.2)
    iso.box(6.0, 0.05, 0.9, 2.6, 1.2, 0.9, P["wood"])
    iso.box(6.6, 0.1, 1.8, 1.4, 0.8, 0.2, white)
    wall_rect(iso, "#B8D5E5", 6.3, 2.0, 2.6, 4.6, key=-960)
    iso.box(0.05, 5.0, 0, 1.0, 1.0, 1.6, white)
    iso.box(0.05, 4.95, 0, 1.9, 1.1, 0.9, white)
    rug(iso, P["rug"], 3.0, 3.5, 3.0, 1.8)
    iso.box(9.6, 0.3, 0, 0.9, 3.4, 0.15, P["metal"])
    iso.quad([(9.6, 0.3, 0.15), (9.6, 3.7, 0.15), (9.6, 3.7, 4.8), (9.6, 0.3, 4.8)], "#8FC6E8", key=9.9,
             extra=op(0.35))
    plant(iso, P, 0.4, 8, 0.8)


def scene_office(iso, P, X, Y, H):
    rug(iso, P["rug"], 2.5, 3, 6, 4.5)
    table(iso, P["wood"], 3.5, 0.6, 4.6, 2.0, 1.5)
    iso.box(5.0, 0.9, 1.5, 1.8, 0.15, 1.2, "#111820")
    iso.quad([(5.1, 1.051, 1.6), (6.7, 1.051, 1.6), (6.7, 1.051, 2.6), (5.1, 1.051, 2.6)], "#3E7CB0",
             key=6.2)
    chair(iso, "#2A3540", 5.4, 3.0, back="y1")
    shelf(iso, P, 0.05, 1.0, 1.1, 4.2, 4.2, along_x=False)
    iso.box(9.5, 0.2, 0, 2.0, 1.0, 2.0, "#9AA6B2")
    plant(iso, P, 10.4, 6.8)
    picture(iso, P, 8.8, 2.4, 2.8, 1.5)


def scene_meeting(iso, P, X, Y, H):
    table(iso, P["wood"], 3.2, 3.2, 6.2, 2.6, 1.4)
    for i in range(4):
        chair(iso, "#2A3540", 3.4 + i * 1.5, 2.1, back="y0")
        chair(iso, "#2A3540", 3.4 + i * 1.5, 6.2, back="y1")
    chair(iso, "#2A3540", 10.0, 4.1, back="x1")
    tv(iso, 4.4, 4.4, 1.8, 2.6)
    iso.box(0.05, 1.5, 0, 1.0, 5.0, 1.1, P["wood"])
    plant(iso, P, 0.3, 7.4)
    picture(iso, P, 2.4, 3.6, 2.4, 1.8, left=True)


def scene_lobby(iso, P, X, Y, H):
    rug(iso, P["rug"], 5.5, 4.5, 5, 4)
    iso.box(2.0, 0.8, 0, 5.5, 1.4, 1.8, P["wood"], top=P["metal"])
    iso.box(2.0, 0.8, 1.8, 5.5, 0.3, 0.5, P["wood"])
    wall_rect(iso, P["accent"], 2.3, 5.0, 2.8, 4.2, key=-960)
    sofa(iso, P, 0.2, 4.2, 3.6)
    sofa(iso, P, 6.0, 8.2, 3.6, facing_x=False)
    table(iso, P["metal"], 6.6, 5.8, 2.0, 1.6, 0.8)
    plant(iso, P, 0.3, 0.3, 1.2)
    plant(iso, P, 10.5, 0.5, 1.2)


def scene_corridor(iso, P, X, Y, H):
    for i in range(4):
        a = 0.8 + i * 3.2
        wall_rect(iso, darken(P["wood"], 0.05), a, 1.6, 0, 3.8, key=-962)
        wall_rect(iso, P["wood"], a + 0.12, 1.36, 0.12, 3.7, key=-961)
        k = iso.pt(a + 1.25, 0, 1.9)
        iso.raw(circle(k[0], k[1], iso.s * 0.08, P["metal"]), -959)
        lamp = iso.pt(a + 2.5, 0, 3.6)
        iso.raw(circle(lamp[0], lamp[1], iso.s * 0.28, YELLOW), -958)
    rug(iso, P["rug"], 1.0, 1.2, X - 2, 1.6)
    plant(iso, P, 0.3, 0.3)


def scene_kids(iso, P, X, Y, H):
    rug(iso, P["accent"], 4, 4, 4, 4)
    bed(iso, P, 0.35, 0.4, 2.4, 4.4, linen="#FFE08A")
    iso.box(3.6, 0.1, 0, 3.2, 0.9, 2.6, P["wood"])
    colours = ["#E35151", "#5AB0F0", "#FFC940", "#ABD265"]
    for i, c in enumerate(colours):
        iso.box(3.75 + (i % 2) * 1.5, 0.3, 0.3 + (i // 2) * 1.2, 1.2, 0.7, 0.9, c)
    iso.box(5.2, 5.2, 0, 0.9, 0.9, 0.9, "#E35151")
    iso.box(6.4, 5.6, 0, 0.7, 0.7, 0.7, "#5AB0F0")
    iso.box(5.6, 6.3, 0, 0.6, 0.6, 0.6, "#FFC940")
    table(iso, "#E4EAF0", 8.6, 1.0, 2.2, 1.6, 1.0)
    chair(iso, "#ABD265", 9.2, 2.9, back="y1")
    picture(iso, P, 1.0, 1.6, 2.6, 1.2)


def scene_library(iso, P, X, Y, H):
    rug(iso, P["rug"], 3.5, 3.5, 5, 4)
    shelf(iso, P, 1.2, 0.05, 9.4, 1.0, 4.6)
    shelf(iso, P, 0.05, 1.4, 1.0, 5.4, 4.6, along_x=False)
    sofa(iso, P, 5.0, 6.0, 1.6, facing_x=False)
    table(iso, P["wood"], 4.4, 4.0, 1.6, 1.4, 1.0)
    ex, ey = iso.pt(8.0, 7.0, 0)
    iso.raw(p("M%s %s V%s" % (f(ex), f(ey), f(ey - iso.s * 3.2)),
              extra=' stroke="%s" stroke-width="%s"' % (P["metal"], f(iso.s * 0.08)))
            + p("M%s %s h%s l%s %s h%s Z" % (f(ex - iso.s * 0.4), f(ey - iso.s * 3.9), f(iso.s * 0.8),
                                             f(iso.s * 0.3), f(iso.s * 0.8), f(-iso.s * 1.4)), YELLOW), 15.5)


def scene_twin(iso, P, X, Y, H):
    bed(iso, P, 2.0, 0.4, 2.6, 5.4)
    bed(iso, P, 6.4, 0.4, 2.6, 5.4)
    iso.box(4.9, 0.2, 0, 1.2, 1.0, 1.2, P["wood"])
    cx, cy = iso.pt(5.5, 0.7, 1.2)
    iso.raw(rect(cx - iso.s * 0.25, cy - iso.s * 0.9, iso.s * 0.5, iso.s * 0.6, YELLOW), 8.2)
    table(iso, P["wood"], 0.2, 6.5, 1.4, 2.8, 1.5)
    chair(iso, P["fabric"], 1.8, 7.3, back="x1")
    iso.box(10.2, 0.5, 0, 1.6, 1.0, 0.8, P["metal"])
    iso.box(10.3, 0.6, 0.8, 1.3, 0.8, 1.0, "#B5654A")
    picture(iso, P, 2.4, 3.4, 2.5, 1.4, left=True)


def scene_bar(iso, P, X, Y, H):
    iso.box(1.6, 2.2, 0, 6.8, 1.3, 2.0, P["wood"], top=darken(P["wood"], 0.3))
    for i in range(4):
        bx = 2.1 + i * 1.6
        iso.box(bx + 0.25, 4.35, 0, 0.2, 0.2, 1.3, P["metal"])
        iso.box(bx, 4.1, 1.3, 0.7, 0.7, 0.2, P["fabric"])
    iso.box(1.2, 0.05, 1.8, 7.6, 0.6, 0.12, P["metal"])
    iso.box(1.2, 0.05, 3.0, 7.6, 0.6, 0.12, P["metal"])
    colours = ["#ABD265", "#E35151", "#FFC940", "#5AB0F0", "#E8EDF2"]
    for i in range(12):
        c = colours[i % len(colours)]
        iso.box(1.4 + i * 0.6, 0.2, 1.92 + (i % 2) * 1.2, 0.25, 0.25, 0.8, c)
    sofa(iso, P, 8.0, 7.2, 3.0, facing_x=False)
    table(iso, P["metal"], 8.6, 5.4, 1.8, 1.2, 0.9)
    wall_rect(iso, P["accent"], 2.2, 5.6, 4.0, 4.4, key=-960)


SCENES = [
    ("living", scene_living, ((6.5, 3.4),)),
    ("bedroom", scene_bedroom, ((9.6, 2.0),)),
    ("kitchen", scene_kitchen, ()),
    ("dining", scene_dining, ((8.5, 3.0),)),
    ("bathroom", scene_bathroom, ()),
    ("office", scene_office, ((1.0, 2.0),)),
    ("meeting", scene_meeting, ((9.6, 2.0),)),
    ("lobby", scene_lobby, ((8.2, 3.2),)),
    ("corridor", scene_corridor, ()),
    ("kids", scene_kids, ((6.4, 1.8),)),
    ("library", scene_library, ()),
    ("twin", scene_twin, ((7.0, 2.6),)),
    ("bar", scene_bar, ((9.4, 2.0),)),
]


def room_size(kind):
    return (14.0, 4.0, 5.0) if kind == "corridor" else (12.0, 10.0, 5.0)


def iso_room(kind, palette, scale, centre=None, fit=None):
    """The room with its furniture. Either `centre` (where the middle of the floor,
    one unit up, lands) or `fit` (W, H, margin: the whole room centred in the picture)."""
    X, Y, Hh = room_size(kind)
    name, fn, windows = [s for s in SCENES if s[0] == kind][0]
    if fit:
        W, H, m = fit
        s = min((W - 2 * m) / ((X + Y + 0.7) * COS30), (H - 2 * m) / ((X + Y) / 2 + Hh + 0.4))
        ox = W / 2 - (X - Y) * COS30 * s / 2
        oy = H / 2 - ((X + Y) / 2 - Hh) * s / 2
    else:
        s = scale
        cx, cy = centre
        ox = cx - (X / 2 - Y / 2) * COS30 * s
        oy = cy - (X / 2 + Y / 2) * 0.5 * s + 1.0 * s
    iso = Iso(ox, oy, s)
    P = PALETTES[palette]
    room_shell(iso, P, X, Y, Hh, windows=windows, tiles=(kind == "bathroom"))
    if kind == "kitchen":
        wall_rect(iso, "#C9D3DC", 1.4, 8.4, 1.8, 3.0, key=-975)
    fn(iso, P, X, Y, Hh)
    return iso.render()


def view_icons():
    # 3-D view pictures: the whole room on transparent ground, 1280 x 720.
    kinds = ["living", "bedroom", "kitchen", "office", "meeting", "bathroom", "twin", "dining"]
    palettes = [0, 3, 1, 0, 2, 1, 3, 2]
    for i, kind in enumerate(kinds, start=1):
        body = iso_room(kind, palettes[i - 1], None, fit=(1280, 720, 16))
        svg("png/3d_view/3d_view_%02d.png" % i, 1280, 720, (1280, 720), body)


def room_pictures():
    # Room pictures: 52 = 13 rooms x 4 colour schemes, a closer view, 600 x 320 JPG.
    n = 1
    for pal in range(4):
        for kind, _, _ in SCENES:
            ground = ('<defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">'
                      '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
                      '</linearGradient></defs><rect x="0" y="0" width="600" height="320" fill="url(#g)"/>'
                      % (darken(PALETTES[pal]["wl"], 0.45), darken(PALETTES[pal]["floor"], 0.55)))
            scale = 23 if kind != "corridor" else 26
            body = iso_room(kind, pal, scale, centre=(330, 206))
            # A soft shade at the top left keeps the white room name readable.
            shade = ('<defs><linearGradient id="s" x1="0" y1="0" x2="0" y2="1">'
                     '<stop offset="0" stop-color="#000000" stop-opacity="0.35"/>'
                     '<stop offset="1" stop-color="#000000" stop-opacity="0"/></linearGradient></defs>'
                     '<rect x="0" y="0" width="600" height="90" fill="url(#s)"/>')
            svg("jpg/room/room_%d.jpg" % n, 600, 320, (600, 320), ground + body + shade)
            n += 1


# ---------------------------------------------------------------------------
# Mood pictures: moods_1 .. moods_23, 500 x 320 JPG. The mood's name is written
# in white on the left, so the left half stays dark and the sign sits on the right.

def mood_glyphs():
    s = lambda c, w, body: stroke(c, w, body)
    g = []
    # 1 welcome: an open door letting light out
    g.append(("#2E4A5E", p("M30 16 H70 V86 H30 Z", "#1B2A36")
              + p("M30 16 L58 24 V92 L30 86 Z", YELLOW, op(0.95))
              + poly([(30, 86), (58, 92), (84, 96), (20, 96)], YELLOW, op(0.35))
              + s(WHITE, 3, p("M30 16 H70 V86")) + circle(52, 56, 2.5, "#7A5E48")))
    # 2 sleep: moon and stars
    g.append(("#2A2F55", p("M58 14 A34 34 0 1 0 86 66 A27 27 0 0 1 58 14 Z", "#FFE08A")
              + p(star_path(78, 20, 6, 2), WHITE) + p(star_path(88, 40, 3.5, 1.2), WHITE)
              + s(WHITE, 3, p("M16 22 H26 L16 32 H26"))))
    # 3 reading: an open book under a lamp
    g.append(("#3B4A3A", poly([(40, 24), (60, 24), (76, 56), (24, 56)], YELLOW, op(0.25))
              + p("M40 12 H60 L64 24 H36 Z", "#FFE08A")
              + p("M14 60 C30 54 42 56 50 64 C58 56 70 54 86 60 V88 C70 82 58 84 50 92 "
                  "C42 84 30 82 14 88 Z", WHITE)
              + s("#5E6D7A", 2, p("M50 64 V92 M22 66 C30 64 38 65 44 69 M22 74 C30 72 38 73 44 77 "
                                  "M56 69 C62 65 70 64 78 66 M56 77 C62 73 70 72 78 74"))))
    # 4 movie: a screen and a clapper
    g.append(("#2B2B3C", rect(10, 18, 80, 50, "#111820", rx=4) + rect(14, 22, 72, 42, "#3E7CB0", rx=2)
              + poly([(44, 34), (44, 54), (60, 44)], WHITE) + rect(30, 74, 40, 6, "#5E6D7A", rx=3)
              + rect(44, 68, 12, 8, "#5E6D7A")))
    # 5 dinner: a plate, fork and knife
    g.append(("#4A3A2E", circle(50, 52, 28, WHITE) + circle(50, 52, 19, "#E6DDD2")
              + s(WHITE, 4, p("M12 26 V80 M7 26 V38 C7 44 17 44 17 38 V26 M88 26 C80 34 80 48 88 52 V80"))))
    # 6 party: balloons and confetti
    g.append(("#4A2E4E", ellipse(36, 34, 14, 17, "#E35151") + ellipse(60, 28, 14, 17, "#FFC940")
              + ellipse(58, 56, 12, 15, "#5AB0F0")
              + s(WHITE, 1.6, p("M36 51 C40 66 32 76 40 94 M60 45 C56 62 66 76 58 94 "
                                "M58 71 C54 80 58 86 56 94"))
              + rect(80, 20, 5, 5, "#ABD265") + rect(16, 70, 5, 5, "#9B7BE0") + rect(84, 62, 5, 5, WHITE)
              + rect(12, 18, 4, 4, "#FFC940")))
    # 7 relax: a cup of tea with steam
    g.append(("#3A4E4A", p("M20 44 H72 V58 A22 22 0 0 1 50 80 H42 A22 22 0 0 1 20 58 Z", WHITE)
              + s(WHITE, 5, p("M72 50 H78 A8 8 0 0 1 78 66 H70")) + rect(14, 84, 64, 6, "#C9D3DC", rx=3)
              + s("#C9D3DC", 3, p("M36 36 C30 30 42 24 36 14 M52 36 C46 30 58 24 52 14"))))
    # 8 morning: a sunrise
    rays = ""
    for a in range(200, 345, 24):
        r = math.radians(a)
        rays += "M%s %s L%s %s " % (f(50 + 30 * math.cos(r)), f(64 + 30 * math.sin(r)),
                                    f(50 + 42 * math.cos(r)), f(64 + 42 * math.sin(r)))
    g.append(("#5A3E3A", p("M26 64 A24 24 0 0 1 74 64 Z", "#FFB347") + s("#FFD27A", 4, p(rays))
              + s(WHITE, 3, p("M8 70 H92 M22 80 H78 M36 90 H64"))))
    # 9 away: a suitcase
    g.append(("#3A4A5C", rect(18, 30, 64, 50, "#B5654A", rx=6) + s("#E4EAF0", 4, p("M38 30 V20 H62 V30"))
              + s("#7A3E2E", 3, p("M34 30 V80 M66 30 V80")) + circle(30, 84, 4, "#1B2A36")
              + circle(70, 84, 4, "#1B2A36")))
    # 10 meeting: people around a table
    g.append(("#2E4450", ellipse(50, 66, 38, 12, "#A0764F")
              + circle(24, 34, 8, WHITE) + p("M12 56 C12 46 36 46 36 56 Z", WHITE)
              + circle(50, 28, 8, TEAL) + p("M38 50 C38 40 62 40 62 50 Z", TEAL)
              + circle(76, 34, 8, WHITE) + p("M64 56 C64 46 88 46 88 56 Z", WHITE)))
    # 11 presentation: a chart on a stand
    g.append(("#34405A", rect(14, 14, 72, 50, WHITE, rx=3) + rect(24, 44, 10, 14, "#5AB0F0")
              + rect(40, 34, 10, 24, TEAL) + rect(56, 24, 10, 34, "#FFC940")
              + s(WHITE, 3, p("M50 64 V76 M50 76 L34 92 M50 76 L66 92"))))
    # 12 romantic: a heart and a candle
    g.append(("#4E2E3A", p("M40 76 C14 58 14 36 28 32 C36 30 40 36 40 40 C40 36 44 30 52 32 "
                           "C66 36 66 58 40 76 Z", "#E35151")
              + rect(68, 52, 12, 34, "#F2E6D8", rx=2)
              + p("M74 36 C79 42 80 46 74 50 C68 46 69 42 74 36 Z", YELLOW)
              + circle(74, 44, 12, YELLOW, op(0.2))))
    # 13 music: two notes
    g.append(("#3E2E55", s(WHITE, 5, p("M38 72 V24 L80 16 V62")) + ellipse(30, 72, 10, 8, WHITE)
              + ellipse(72, 62, 10, 8, WHITE) + s(WHITE, 5, p("M38 36 L80 28"))))
    # 14 work: a laptop
    g.append(("#2F3E4C", rect(22, 24, 56, 38, "#C9D3DC", rx=3) + rect(26, 28, 48, 30, "#3E7CB0")
              + p("M12 66 H88 L82 76 H18 Z", "#E4EAF0") + s(WHITE, 2, p("M32 38 H58 M32 46 H66"))))
    # 15 cleaning: a bucket and sparkles
    g.append(("#2E4A48", p("M26 44 H70 L64 86 H32 Z", "#5AB0F0")
              + s(WHITE, 3, p("M26 44 A22 22 0 0 1 70 44"))
              + p(star_path(78, 26, 10, 3), WHITE) + p(star_path(18, 30, 6, 2), WHITE)
              + p(star_path(86, 58, 5, 1.6), WHITE)))
    # 16 night light: a small lamp glowing low
    g.append(("#232946", circle(50, 62, 32, YELLOW, op(0.12)) + circle(50, 62, 20, YELLOW, op(0.18))
              + p("M38 50 H62 L68 70 H32 Z", "#FFE08A") + rect(46, 70, 8, 12, "#C9D3DC")
              + rect(36, 82, 28, 5, "#C9D3DC", rx=2)
              + p("M76 12 A12 12 0 1 0 88 30 A9 9 0 0 1 76 12 Z", "#FFE08A")))
    # 17 all on: a bright bulb
    rays = ""
    for a in range(0, 360, 30):
        r = math.radians(a)
        rays += "M%s %s L%s %s " % (f(50 + 34 * math.cos(r)), f(42 + 34 * math.sin(r)),
                                    f(50 + 44 * math.cos(r)), f(42 + 44 * math.sin(r)))
    g.append(("#4A4530", circle(50, 42, 30, YELLOW, op(0.2))
              + p("M40 70 C40 62 28 56 28 42 A22 22 0 0 1 72 42 C72 56 60 62 60 70 Z", YELLOW)
              + rect(40, 72, 20, 12, "#C9D3DC", rx=2) + s(YELLOW, 3, p(rays))))
    # 18 all off: a switched-off bulb
    g.append(("#262C33", p("M40 70 C40 62 28 56 28 42 A22 22 0 0 1 72 42 C72 56 60 62 60 70 Z", "#5E6D7A")
              + rect(40, 72, 20, 12, "#8C9BAB", rx=2) + s("#8C9BAB", 4, p("M16 16 L84 88"))))
    # 19 bath: a tub with bubbles
    g.append(("#2E4A5A", p("M10 52 H90 V60 A18 18 0 0 1 72 78 H28 A18 18 0 0 1 10 60 Z", WHITE)
              + s(WHITE, 4, p("M24 52 V26 A8 8 0 0 1 40 26")) + s(WHITE, 4, p("M28 78 L24 88 M72 78 L76 88"))
              + circle(56, 40, 7, "#BFE3F5") + circle(70, 32, 5, "#BFE3F5") + circle(66, 46, 4, "#BFE3F5")))
    # 20 cooking: a pot with steam
    g.append(("#4A3A30", p("M20 48 H80 V76 A8 8 0 0 1 72 84 H28 A8 8 0 0 1 20 76 Z", "#C9D3DC")
              + rect(14, 44, 72, 6, WHITE, rx=3) + s(WHITE, 4, p("M12 56 H20 M80 56 H88"))
              + s("#C9D3DC", 3, p("M38 36 C32 30 44 24 38 14 M54 36 C48 30 60 24 54 14 "
                                  "M70 36 C64 30 76 24 70 14"))))
    # 21 gaming: a game pad
    g.append(("#33284A", p("M24 34 H76 C88 34 92 58 90 70 C88 80 78 80 72 72 L66 64 H34 L28 72 "
                           "C22 80 12 80 10 70 "
                           "C8 58 12 34 24 34 Z", "#C9D3DC")
              + s("#33284A", 4, p("M30 44 V58 M23 51 H37")) + circle(66, 46, 4, "#E35151")
              + circle(74, 54, 4, "#5AB0F0")))
    # 22 sunset: sun over water
    g.append(("#5A3550", p("M26 54 A24 24 0 0 1 74 54 Z", "#FF8A3D")
              + s("#FFB347", 3, p("M22 60 H78 M30 68 H70 M38 76 H62 M44 84 H56"))))
    # 23 saving energy: a leaf
    g.append(("#2E4A36", p("M20 80 C20 40 50 16 86 14 C86 52 62 80 20 80 Z", "#ABD265")
              + s("#2E4A36", 3, p("M24 76 C40 60 56 44 74 28 M44 58 H60 M54 46 V34"))))
    return g


def mood_pictures():
    for i, (tint, glyph) in enumerate(mood_glyphs(), start=1):
        left = darken(tint, 0.55)
        right = lighten(tint, 0.08)
        body = ('<defs><linearGradient id="g" x1="0" y1="0" x2="1" y2="0.35">'
                '<stop offset="0" stop-color="%s"/><stop offset="0.45" stop-color="%s"/>'
                '<stop offset="1" stop-color="%s"/></linearGradient></defs>'
                '<rect x="0" y="0" width="500" height="320" fill="url(#g)"/>'
                % (left, darken(tint, 0.3), right))
        body += circle(360, 160, 128, WHITE, op(0.05)) + circle(360, 160, 100, WHITE, op(0.06))
        body += group(glyph, "translate(270 70) scale(1.8)")
        svg("jpg/moods/moods_%d.jpg" % i, 500, 320, (500, 320), body)


def main():
    menu_icons()
    switches()
    tile_icons()
    logos()
    message_icons()
    light_icons()
    view_icons()
    room_pictures()
    mood_pictures()
    print("%d pictures written" % len(WRITTEN))


if __name__ == "__main__":
    main()
