#!/usr/bin/env python3
"""Writes geodetic/national/danish_grid_tables.cpp from the Danish System 34 /
System 45 data files (the polynomial tables, area polygons, boxes and the
round-trip tolerance of the UTM zone 32 to regional grid conversion).

Usage:
    scripts/make_danish_grid_tables.py --data DIR > geodetic/national/danish_grid_tables.cpp

Each data file is ASCII: '#' lines are comments, every other line holds
decimal numbers; all numbers of a file in order form one array. The numbers
are copied digit for digit, so the compiler reads the same doubles as the
files hold. The licence notice of the data, which must travel with every copy,
is copied from the first data file's header.
"""

import argparse
import os
import sys

ARRAYS = [
    ('r1_s34j_table_fwd', 'jyllandForward'),
    ('r1_s34j_table_rev', 'jyllandReverse'),
    ('r1_s34j_polygon_utm', 'jyllandUtmPolygon'),
    ('r1_s34j_polygon_grid', 'jyllandGridPolygon'),
    ('r1_s34j_box_utm', 'jyllandUtmBox'),
    ('r1_s34j_box_grid', 'jyllandGridBox'),
    ('r2_s34s_table_fwd', 'sjaellandForward'),
    ('r2_s34s_table_rev', 'sjaellandReverse'),
    ('r2_s34s_polygon_utm', 'sjaellandUtmPolygon'),
    ('r2_s34s_polygon_grid', 'sjaellandGridPolygon'),
    ('r2_s34s_box_utm', 'sjaellandUtmBox'),
    ('r2_s34s_box_grid', 'sjaellandGridBox'),
    ('r3_s45b_table_fwd', 'bornholmForward'),
    ('r3_s45b_table_rev', 'bornholmReverse'),
    ('r3_s45b_polygon_utm', 'bornholmUtmPolygon'),
    ('r3_s45b_polygon_grid', 'bornholmGridPolygon'),
    ('r3_s45b_box_utm', 'bornholmUtmBox'),
    ('r3_s45b_box_grid', 'bornholmGridBox'),
    ('r4_utm32ed50_land_table_fwd', 'utmLandForward'),
    ('r4_utm32ed50_land_table_rev', 'utmLandReverse'),
    ('r4_utm32ed50_land_polygon', 'utmLandPolygon'),
    ('r4_utm32ed50_land_box', 'utmLandBox'),
    ('r4_utm32ed50_bornholm_table_fwd', 'utmBornholmForward'),
    ('r4_utm32ed50_bornholm_table_rev', 'utmBornholmReverse'),
    ('r4_utm32ed50_bornholm_box', 'utmBornholmBox'),
]


def numbers_of(path):
    words = []
    with open(path, encoding='ascii') as f:
        for line in f:
            s = line.strip()
            if s and not s.startswith('#'):
                words.extend(s.split())
    for w in words:
        float(w)  # every word must be a number
    return words


def licence_notice(path):
    """The notice in the file header, from its 'Copyright' line to its last
    sentence."""
    lines, inside = [], False
    with open(path, encoding='ascii') as f:
        for line in f:
            text = line[1:].strip() if line.startswith('#') else ''
            inside = inside or text.startswith('Copyright')
            if inside:
                lines.append(text)
                if text.endswith('PERFORMANCE OF THIS SOFTWARE.'):
                    return lines
    sys.exit('no licence notice in %s' % path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--data', required=True)
    args = parser.parse_args()
    out = sys.stdout
    notice = licence_notice(os.path.join(args.data, ARRAYS[0][0] + '.txt'))
    out.write('// The numbers of the Danish System 34 / System 45 conversion: polynomial\n')
    out.write('// tables, area polygons and boxes of each region and direction, and the\n')
    out.write('// round-trip tolerance. Written by scripts/make_danish_grid_tables.py;\n')
    out.write('// do not edit. Layouts: danish_grid_tables.hpp.\n//\n')
    out.write('// Source of the numbers: the transformation library of the Danish National\n')
    out.write('// Survey and Cadastre (file tcts_u.c), under this licence:\n//\n')
    for line in notice:
        out.write(('//   ' + line).rstrip() + '\n')
    out.write('\n// clang-format off\n\n#include "danish_grid_tables.hpp"\n\n')
    out.write('namespace geodetic_detail::danish {\n')
    for stem, name in ARRAYS:
        values = numbers_of(os.path.join(args.data, stem + '.txt'))
        out.write('\nconst double %s[%d] = {\n' % (name, len(values)))
        for i in range(0, len(values), 4):
            out.write('    ' + ', '.join(values[i:i + 4]) + ',\n')
        out.write('};\n')
    tol = numbers_of(os.path.join(args.data, 'tolerance.txt'))
    assert len(tol) == 1
    out.write('\nconst double roundTripTolerance = %s;\n' % tol[0])
    out.write('\n} // namespace geodetic_detail::danish\n')


if __name__ == '__main__':
    main()
