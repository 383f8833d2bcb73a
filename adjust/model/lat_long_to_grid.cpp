#include "model/lat_long_to_grid.hpp"

#include "model/angle_text.hpp"
#include "model/number_format.hpp"
#include "model/packed_degrees.hpp"
#include "model/settings/text_fields.hpp"
#include "model/user_projection.hpp"

namespace {

// The double stereographic and the projection-centre oblique Mercator take
// longitudes east-positive; the other projections west-positive.
bool takesEastPositive(int projection) {
    return projection == udpDoubleStereographic || projection == udpObliqueMercatorCentre;
}

} // namespace

int latLongToGridLines(const udpRec& udp, const std::string& latText, const std::string& lonText,
                       std::vector<std::string>& lines, std::string& message) {
    if (isValidLatText(latText) == 0 || checkDmsText(latText) != 0) {
        message = "Invalid latitude entry: " + latText;
        return latLongRefused;
    }
    if (isValidLonText(lonText) == 0 || checkDmsText(lonText) != 0) {
        message = "Invalid longitude entry: " + lonText;
        return latLongRefused;
    }
    const double lat = dmsTextToRadians(latText);
    const double lonEast = dmsTextToRadians(lonText);
    geodCoord point{};
    point.lat = lat;
    point.lon = takesEastPositive(udp.ProjInt) ? lonEast : -lonEast;
    udpGeodToGrid(udp, point);
    lines.push_back("Latitude: " + latToText(lat));
    lines.push_back("Longitude: " + lonToText(lonEast));
    lines.push_back("Northing: " + formatCoordinate(point.northing));
    lines.push_back("Easting: " + formatCoordinate(point.easting));
    lines.emplace_back();
    return latLongConverted;
}
