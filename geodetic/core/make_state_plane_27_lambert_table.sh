#!/usr/bin/env bash
# Writes state_plane_27_lambert_table.cpp beside this script: the defining
# parameters of the 1927 Lambert zones (standard parallels, origin latitude,
# central meridian, false easting and northing, Michigan's ellipsoid scale) as
# EPSG gives them, read from the EPSG database that PROJ ships (Debian
# proj-data: /usr/share/proj/proj.db) with sqlite3. PROJ is needed only to
# regenerate the table; nothing of it is linked.
#
#   geodetic/core/make_state_plane_27_lambert_table.sh [path/to/proj.db]
#
# EPSG holds the angles in sexagesimal degrees (unit 9110, DDD.MMSSsss), the
# false coordinates in US survey feet (unit 9003); they are copied as
# degrees, minutes and seconds and as feet, digit for digit. Where EPSG has
# corrected a definition the current one is used (as in the state-plane test
# tables): 407 California VII 26799, 2111 Michigan North 6966, 3104 Long
# Island 4456, 3702 Pennsylvania South 4455, 4100 Tennessee 2204.
set -euo pipefail
cd "$(dirname "$0")"
db="${1:-/usr/share/proj/proj.db}"

# Zone code and EPSG projected CRS of every Lambert zone, in the zone table's order.
zones="5010 26740 301 26751 302 26752 401 26741 402 26742 403 26743 404 26744 405 26745
406 26746 407 26799 501 26753 502 26754 503 26755 600 26756 903 26760 1401 26775 1402 26776
1501 26777 1502 26778 1601 26779 1602 26780 1701 26781 1702 26782 1703 32099 1900 26785
2001 26786 2002 26787 2111 6966 2112 6201 2113 6202 2201 26791 2202 26792 2203 26793
2501 32001 2502 32002 2503 32003 2601 32005 2602 32006 3104 4456 3200 32019 3301 32020
3302 32021 3401 32022 3402 32023 3501 32024 3502 32025 3601 32026 3602 32027 3701 32028
3702 4455 3901 32031 3902 32033 4001 32034 4002 32035 4100 2204 4201 32037 4202 32038
4203 32039 4204 32040 4205 32041 4301 32042 4302 32043 4303 32044 4501 32046 4502 32047
4601 32048 4602 32049 4701 32050 4702 32051 4801 32052 4802 32053 4803 32054"

# One line per CRS: method, the four angles, false easting, false northing,
# ellipsoid scale (empty but for Michigan's method), the units, deprecation.
definition_of() {
    sqlite3 -separator ' ' "$db" "
        SELECT c.method_code,
               c.param1_code, c.param1_value, c.param2_code, c.param2_value,
               c.param3_code, c.param3_value, c.param4_code, c.param4_value,
               c.param5_code, c.param5_value, c.param6_code, c.param6_value,
               coalesce(c.param7_value, 1.0),
               c.param1_uom_code || c.param2_uom_code || c.param3_uom_code ||
               c.param4_uom_code || c.param5_uom_code || c.param6_uom_code,
               p.deprecated
        FROM projected_crs p JOIN conversion_table c
             ON p.conversion_auth_name = c.auth_name AND p.conversion_code = c.code
        WHERE p.auth_name = 'EPSG' AND p.code = $1"
}

# "{degrees, minutes, seconds}" of a sexagesimal DDD.MMSSsss value, sign dropped.
sexagesimal() {
    awk -v v="$1" 'BEGIN {
        sub(/^-/, "", v); split(v, part, ".")
        f = part[2] "000000"; mm = substr(f, 1, 2); ss = substr(f, 3, 2) "." substr(f, 5)
        printf "{%d, %d, %s}", part[1], mm, ss + 0 }'
}

version=$(sqlite3 "$db" "SELECT value FROM metadata WHERE key = 'EPSG.VERSION'")

{
    cat <<EOF
// The defining parameters of the 1927 Lambert zones, from the EPSG geodetic
// parameter dataset $version (the NAD27 state-plane definitions in US
// survey feet). Written by make_state_plane_27_lambert_table.sh; do not
// edit. Layout: state_plane_27_lambert.hpp.

// clang-format off

#include "state_plane_27_lambert.hpp"

namespace geodetic_detail {

const std::array<Lambert27Definition, lambert27ZoneCount> lambert27Definitions{{
EOF
    set -- $zones
    count=0
    while [ $# -gt 0 ]; do
        read -r method p1 lat0 p2 lon0 p3 lat1 p4 lat2 p5 fe p6 fn scale units deprecated \
            <<< "$(definition_of "$2")"
        if [ "$p1 $p2 $p3 $p4 $p5 $p6" != "8821 8822 8823 8824 8826 8827" ] ||
            [ "$units" != 911091109110911090039003 ] || [ "$deprecated" != 0 ] ||
            { [ "$method" != 9802 ] && [ "$method" != 1051 ]; } || [ "${lon0#-}" = "$lon0" ]; then
            echo "EPSG:$2 is not a current Lambert 2SP definition west of Greenwich in DMS and US feet" >&2
            exit 1
        fi
        north=$lat1 south=$lat2
        if awk -v a="$lat1" -v b="$lat2" 'BEGIN { exit !(a < b) }'; then north=$lat2 south=$lat1; fi
        printf '    {%s, %s, %s, %s, %s, %s, %s, %s, %s},\n' "$1" "$2" "$(sexagesimal "$north")" \
            "$(sexagesimal "$south")" "$(sexagesimal "$lat0")" "$(sexagesimal "$lon0")" \
            "$fe" "$fn" "$scale"
        count=$((count + 1))
        shift 2
    done
    cat <<EOF
}};

} // namespace geodetic_detail
EOF
} > state_plane_27_lambert_table.cpp

echo "Wrote $count zones from EPSG $version"
