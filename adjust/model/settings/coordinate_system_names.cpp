#include "model/settings/coordinate_system_names.hpp"

#include "geodetic/state_plane_27.hpp"
#include "geodetic/state_plane_83.hpp"
#include "geodetic/utm.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/record_fields.hpp"

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::vector<std::string> readUtmZoneNames() {
    // 120 names of 37 characters and a line feed each, with room to spare.
    std::vector<char> buffer(8192);
    UTMGetZoneLstS(buffer.data(), static_cast<int>(buffer.size()));
    return linesOf(buffer.data());
}

} // namespace

const std::vector<std::string>& ellipsoidNames() {
    static const std::vector<std::string> names = {
        "Airy 1830",
        "Modified Airy",
        "Australian National",
        "Bessel 1841",
        "Clarke 1866",
        "Clarke 1880",
        "Everest(EA - India 1830)",
        "Everest(EB - Brunei & E.Malaysia)",
        "Everest(EC - India 1956)",
        "GRS 1980",
        "Helmert 1906",
        "Hough 1960",
        "International 1924",
        "South American 1969 and Australian National",
        "WGS 1972",
        "WGS 1984",
        "User-Defined",
    };
    return names;
}

const std::vector<std::string>& projectionNames() {
    static const std::vector<std::string> names = {
        "Transverse Mercator",
        "Lambert Conformal Conic 1 Std. Par.",
        "Lambert Conformal Conic 2 Std. Par.",
        "Double Stereographic",
        "Oblique Mercator, (NGS)",
        "Oblique Mercator, (EPSG)",
    };
    return names;
}

const std::vector<std::string>& utmZoneNames() {
    static const std::vector<std::string> names = readUtmZoneNames();
    return names;
}

const std::vector<std::string>& statePlaneZoneNames(int gridSystem) {
    static const std::vector<std::string> none;
    if (gridSystem == gridStatePlane83)
        return spc83ZoneNameList();
    if (gridSystem == gridStatePlane27)
        return spc27ZoneNameList();
    return none;
}

int zoneCodeOfName(const std::string& name) {
    const auto hyphen = name.rfind('-');
    if (hyphen == std::string::npos)
        return 0;
    const platform::FieldValue<long> code =
        platform::readWholeNumber(std::string_view(name).substr(hyphen + 1), "zone code");
    return code ? static_cast<int>(*code) : 0;
}
