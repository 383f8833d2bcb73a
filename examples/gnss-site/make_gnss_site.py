#!/usr/bin/env python3
"""Writes the raw data of the GNSS-site example from the true positions of
its stations on GRS 80, in UTM zone 18:

  gnss-site.vkr  the two control points by their grid coordinates and a
                 total-station traverse N1 - N2 - N3 - N4 (slope distances,
                 zenith angles and circle readings in both faces);
  gnss-site.gps  GNSS vectors from the two control points and between new
                 points, with a correlated covariance;
  gnss-site.cls  a GNSS loop closure round BASE - N1 - N2 - BASE;
  truth.txt      every station's true earth-centred X, Y, Z and its UTM
                 northing and easting, to compare with the adjustment.

Sights run from the instrument (HI above the mark along the local vertical)
to the target (TH above its mark); slope distances are the straight lines
between them, zenith angles and directions those in the local frame of the
instrument. The grid coordinates come from PROJ's cs2cs (Debian proj-bin),
needed only to run this script: the example reads the committed files.

Run from this folder: python3 make_gnss_site.py
"""
import math
import subprocess

A_GRS80 = 6378137.0
F_GRS80 = 1.0 / 298.257222101
E2 = F_GRS80 * (2.0 - F_GRS80)
UTM18 = "+proj=utm +zone=18 +ellps=GRS80"

# True geodetic positions: name -> (latitude, longitude degrees, height m).
STATIONS = {
    "BASE": (45.000000, -75.200000, 95.000),
    "CP2": (45.006300, -75.188400, 101.420),
    "N1": (45.002100, -75.196800, 97.210),
    "N2": (45.003900, -75.192600, 99.050),
    "N3": (45.001800, -75.189900, 98.330),
    "N4": (45.000300, -75.193700, 96.480),
}
CONTROL = ("BASE", "CP2")
HI = {"N1": 1.520, "N2": 1.480, "N3": 1.550, "N4": 1.505}
TARGET = 1.600
# Setup, backsight, foresight, backsight circle reading (degrees).
SETUPS = [("N1", "N4", "N2", 0.0), ("N2", "N1", "N3", 45.0), ("N3", "N2", "N4", 120.5),
          ("N4", "N3", "N1", 300.25)]
VECTORS = [("BASE", "N1"), ("BASE", "N4"), ("CP2", "N2"), ("CP2", "N3"), ("N1", "N2"),
           ("N2", "BASE")]


def ecef(lat, lon, h):
    p, l = math.radians(lat), math.radians(lon)
    n = A_GRS80 / math.sqrt(1.0 - E2 * math.sin(p) ** 2)
    return ((n + h) * math.cos(p) * math.cos(l), (n + h) * math.cos(p) * math.sin(l),
            (n * (1.0 - E2) + h) * math.sin(p))


def axes(lat, lon):
    p, l = math.radians(lat), math.radians(lon)
    return ((-math.sin(p) * math.cos(l), -math.sin(p) * math.sin(l), math.cos(p)),
            (-math.sin(l), math.cos(l), 0.0),
            (math.cos(p) * math.cos(l), math.cos(p) * math.sin(l), math.sin(p)))


def raised(name, height):
    lat, lon, h = STATIONS[name]
    return ecef(lat, lon, h + height)


def local(frm, to):
    """The vector instrument -> target in the frame at the instrument."""
    i, t = raised(frm, HI[frm]), raised(to, TARGET)
    d = [t[k] - i[k] for k in range(3)]
    return [sum(r[k] * d[k] for k in range(3)) for r in axes(*STATIONS[frm][:2])]


def sight(frm, to):
    n, e, u = local(frm, to)
    s = math.sqrt(n * n + e * e + u * u)
    return s, math.degrees(math.acos(u / s))


def azimuth(frm, to):
    n, e, _ = local(frm, to)
    return math.degrees(math.atan2(e, n)) % 360.0


def packed(degrees):
    """Degrees to packed dd.mmssS text with the seconds rounded to 0.1"."""
    tenths = round(degrees * 36000.0) % (360 * 36000)
    d, rest = divmod(tenths, 36000)
    m, s = divmod(rest, 600)
    return "%d.%02d%02d%d" % (d, m, s // 10, s % 10)


def line(station="", hi=None, backsight="", target=None, reading=None, dist=None,
         zenith=None, foresight=""):
    text = "1%-10s %8s %-10s %8s %10s %9s %9s %-10s" % (
        station, "" if hi is None else "%.3f" % hi, backsight,
        "" if target is None else "%.3f" % target, "" if reading is None else packed(reading),
        "" if dist is None else "%.3f" % dist, "" if zenith is None else packed(zenith),
        foresight)
    return text.rstrip()


def header(count):
    text = [" "] * 498
    text[190:193] = "100"
    text[198:208] = "VER 1.0   "
    text[209:219] = "%010d" % count
    return "".join(text)


def grid(name):
    lat, lon, _ = STATIONS[name]
    out = subprocess.run(["cs2cs", "-f", "%.4f", "+proj=longlat +ellps=GRS80", "+to", UTM18],
                         input="%.9f %.9f\n" % (lon, lat), capture_output=True, text=True,
                         check=True).stdout.split()
    return float(out[1]), float(out[0])  # northing, easting


def write_lines(path, lines):
    with open(path, "w", newline="") as out:
        for text in lines:
            out.write(text + "\r\n")


def write_vkr(path):
    records = ["6SE X:! Y:! Z:!"]
    for name in CONTROL:
        n, e = grid(name)
        records.append("6C %s %.4f %.4f %.3f 'CP,control %s" % (name, n, e, STATIONS[name][2],
                                                                 name))
    for station, bs, fs, bs_reading in SETUPS:
        angle = (azimuth(station, fs) - azimuth(station, bs)) % 360.0
        bs_dist, bs_zen = sight(station, bs)
        fs_dist, fs_zen = sight(station, fs)
        fs_reading = (bs_reading + angle) % 360.0
        records.append(line(station, HI[station], bs, TARGET, bs_reading, bs_dist, bs_zen))
        records.append(line(target=TARGET, reading=fs_reading, dist=fs_dist, zenith=fs_zen,
                            foresight=fs))
        records.append(line(target=TARGET, reading=(fs_reading + 180.0) % 360.0, dist=fs_dist,
                            zenith=360.0 - fs_zen, foresight=fs))
        records.append(line(target=TARGET, reading=(bs_reading + 180.0) % 360.0, dist=bs_dist,
                            zenith=360.0 - bs_zen, foresight=bs))
    write_lines(path, [header(len(records))] + records)


def write_gps(path):
    lines = [".GPS WEIGHT COVARIANCE"]
    for frm, to in VECTORS:
        a, b = ecef(*STATIONS[frm]), ecef(*STATIONS[to])
        d = [b[k] - a[k] for k in range(3)]
        lines.append("G1  %s-%s  %15.4f %15.4f %15.4f" % (frm, to, d[0], d[1], d[2]))
        lines.append("G2    2.500000e-05   3.600000e-05   4.900000e-05")
        lines.append("G3    6.000000e-06  -4.200000e-06   8.400000e-06")
    write_lines(path, lines)


def main():
    write_vkr("gnss-site.vkr")
    write_gps("gnss-site.gps")
    write_lines("gnss-site.cls", ["TRAV_TYPE GPS_LOOP", "TRAV_LIST BASE,N1,N2,BASE",
                                  "TRAV_END"])
    with open("truth.txt", "w") as out:
        out.write("# name X Y Z  northing easting (UTM 18, GRS 80)\n")
        for name, (lat, lon, h) in STATIONS.items():
            x, y, z = ecef(lat, lon, h)
            out.write("%s %.4f %.4f %.4f %.4f %.4f\n" % ((name, x, y, z) + grid(name)))


if __name__ == "__main__":
    main()
