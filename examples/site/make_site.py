#!/usr/bin/env python3
"""Writes site.vkr, the raw data of the example project, from the true
coordinates of its four points (see README.md for the arithmetic).

Run from this folder: python3 make_site.py
"""
import math

# True coordinates: name -> (northing, easting, elevation), metres.
POINTS = {
    "A": (1000.000, 1000.000, 50.000),
    "B": (1180.250, 1245.800, 52.340),
    "C": (1050.420, 1430.150, 51.120),
    "D": (880.600, 1210.330, 49.870),
}
HI = {"A": 1.520, "B": 1.480, "C": 1.550, "D": 1.505}
TARGET = 1.600
# Setups of the closed traverse: station, backsight, foresight, and the
# face-left circle reading to the backsight.
SETUPS = [("A", "D", "B", 0.0), ("B", "A", "C", 45.0), ("C", "B", "D", 120.5), ("D", "C", "A", 300.25)]
DESCRIPTIONS = {"A": ("CP", "control A"), "B": ("CP", "control B"),
                "C": ("IP", "iron pin"), "D": ("IP", "iron pin")}


def sight(frm, to):
    """Slope distance and zenith angle (degrees) from the instrument on
    `frm` to the target on `to`; no curvature or refraction."""
    n1, e1, z1 = POINTS[frm]
    n2, e2, z2 = POINTS[to]
    h = math.hypot(n2 - n1, e2 - e1)
    v = (z2 + TARGET) - (z1 + HI[frm])
    return math.hypot(h, v), math.degrees(math.atan2(h, v))


def azimuth(frm, to):
    n1, e1, _ = POINTS[frm]
    n2, e2, _ = POINTS[to]
    return math.degrees(math.atan2(e2 - e1, n2 - n1)) % 360.0


def packed(degrees):
    """Degrees to packed dd.mmssS text with the seconds rounded to 0.1"."""
    tenths = round(degrees * 36000.0) % (360 * 36000)
    d, rest = divmod(tenths, 36000)
    m, s = divmod(rest, 600)
    return "%d.%02d%02d%d" % (d, m, s // 10, s % 10)


def line(station="", hi=None, backsight="", target=None, reading=None, dist=None,
         zenith=None, foresight="", code="", description=""):
    text = "1%-10s %8s %-10s %8s %10s %9s %9s %-10s %-4s%s" % (
        station, "" if hi is None else "%.3f" % hi, backsight,
        "" if target is None else "%.3f" % target, "" if reading is None else packed(reading),
        "" if dist is None else "%.3f" % dist, "" if zenith is None else packed(zenith),
        foresight, code, description)
    return text.rstrip()


def header(count):
    text = [" "] * 498
    text[190:193] = "100"
    text[198:208] = "VER 1.0   "
    text[209:219] = "%010d" % count
    return "".join(text)


def main():
    records = ["6SE X:! Y:! Z:!"]
    for name in ("A", "B"):
        n, e, z = POINTS[name]
        code, desc = DESCRIPTIONS[name]
        records.append("6C %s %.3f %.3f %.3f '%s,%s" % (name, n, e, z, code, desc))
    for station, bs, fs, bs_reading in SETUPS:
        angle = (azimuth(station, fs) - azimuth(station, bs)) % 360.0
        bs_dist, bs_zen = sight(station, bs)
        fs_dist, fs_zen = sight(station, fs)
        code, desc = DESCRIPTIONS[fs]
        bs_code, bs_desc = DESCRIPTIONS[bs]
        fs_reading = (bs_reading + angle) % 360.0
        records.append(line(station, HI[station], bs, TARGET, bs_reading, bs_dist, bs_zen))
        records.append(line(target=TARGET, reading=fs_reading, dist=fs_dist, zenith=fs_zen,
                            foresight=fs, code=code, description=desc))
        records.append(line(target=TARGET, reading=(fs_reading + 180.0) % 360.0, dist=fs_dist,
                            zenith=360.0 - fs_zen, foresight=fs, code=code, description=desc))
        records.append(line(target=TARGET, reading=(bs_reading + 180.0) % 360.0, dist=bs_dist,
                            zenith=360.0 - bs_zen, foresight=bs, code=bs_code,
                            description=bs_desc))
    with open("site.vkr", "w", newline="") as out:
        for text in [header(len(records))] + records:
            out.write(text + "\r\n")


if __name__ == "__main__":
    main()
