#include "reports/adjusted_listing_2d.hpp"

#include "engine/geodetic_reductions.hpp"
#include "engine/horizontal_network.hpp"
#include "model/angle_text.hpp"
#include "model/list_snapshot.hpp"
#include "model/number_format.hpp"
#include "model/packed_degrees.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/text_fields.hpp"
#include "output/line_buffer.hpp"
#include "output/report_lines.hpp"
#include "output/report_writer.hpp"
#include "platform/c_locale_text.hpp"
#include "reports/report_header.hpp"
#include "reports/report_words.hpp"
#include "reports/residual_listing.hpp"

#include <cmath>
#include <initializer_list>

namespace {

int writeLines(int handle, std::initializer_list<std::string> lines) {
    ReportWriter writer(handle);
    for (const std::string& line : lines)
        writer.line(line);
    return writer.result();
}

// Walks the observation entries in the order of the adjustment's rows.
class ObservationListing : public ResidualListing {
public:
    using ResidualListing::ResidualListing;

    bool distances();
    bool angles();
    bool azimuths();
    void skipControl() { skip(2 * weightedControlPoints().size()); }
    bool gpsVectors();
};

bool ObservationListing::distances() {
    if (!lines({"Adjusted Distances", " From Sta.  To Sta.        Distance      "
                                      "Residual     StdRes.   StdDev"}))
        return false;
    startKind();
    for (const distanceObs2D& d : recordsOf(distanceList2D)) {
        if (!takesPart(d))
            continue;
        const std::string line = distanceText(d.from, d.to, d.distance, d.stdErrDist, 1.0);
        if (!entryLine(line))
            return false;
    }
    if (!rmsLine("            Root Mean Square (RMS)  " + formatDistance(rms())))
        return false;
    return lines({""});
}

bool ObservationListing::angles() {
    const char* heading =
        projectVars.angleType == 1
            ? " BS Sta.  Occ. Sta.   FS Sta.                 Angle          Residual      StdRes "
              "   StdDev(Grad)"
            : " BS Sta.  Occ. Sta.   FS Sta.                 Angle          Residual      StdRes "
              "   StdDev(Sec.)";
    if (!lines({"Adjusted Angles", heading}))
        return false;
    startKind();
    for (const angleObs2D& a : recordsOf(angleList2D)) {
        if (!takesPart(a))
            continue;
        const AngleColumns c = angleColumns(a.angle, v(), a.stdErr);
        const std::string line =
            platform::formatC(" %-10.10s   %-10.10s    %-10.10s   %s   %s     %s   %s", a.backsight,
                              a.instrument, a.foresight, c.adjusted.c_str(), c.residual.c_str(),
                              c.standardized.c_str(), c.sigma.c_str());
        if (!entryLine(line))
            return false;
    }
    if (!rmsLine("                               Root Mean Square (RMS)     " +
                 formatAngleSeconds(rms())))
        return false;
    return lines({""});
}

bool ObservationListing::azimuths() {
    if (azimuthList2D.count() == 0)
        return true;
    const std::string heading = platform::formatC(
        projectVars.angleType == 1
            ? " Occ. Sta.  FS Sta.      %s           Residual    StdRes   StdDev(Grad)"
            : " Occ. Sta.  FS Sta.      %s           Residual    StdRes   StdDev(Sec.)",
        projectVars.directionType == 0 ? "Bearing" : "Azimuth");
    if (!lines({"Adjusted Azimuths", heading}))
        return false;
    startKind();
    for (const azimuthObs& z : recordsOf(azimuthList2D)) {
        if (!takesPart(z))
            continue;
        if (!entryLine(azimuthText(z)))
            return false;
    }
    return rmsLine("                Root Mean Square (RMS)    " + formatAngleSeconds(rms()));
}

bool ObservationListing::gpsVectors() {
    if (gpsVectorList2D.count() == 0)
        return true;
    std::vector<gpsVectorRec> vectors;
    for (const gpsVectorRec& g : recordsOf(gpsVectorList2D))
        if (takesPart(g))
            vectors.push_back(g);
    if (!lines(
            {platform::formatC("GPS Vectors: %4d Observations", static_cast<int>(vectors.size())),
             " From Sta.   To Sta."}))
        return false;
    for (const gpsVectorRec& g : vectors) {
        const double components[2][2] = {{g.dX, g.varX}, {g.dY, g.varY}};
        for (const auto& [observed, variance] : components) {
            const std::string line = platform::formatC(
                " %-10.10s  %-10.10s %12.4f   %7.4f    %7.4f    %7.4f", g.from, g.to,
                observed + v(), v(), standardizedResidual(v(), std::sqrt(variance)), sigma());
            if (!entryLine(line))
                return false;
        }
    }
    return true;
}

} // namespace

int writeRptAdjustedCoords(int handle, const std::vector<double>& unknownSigmas) {
    if (writeLines(handle, {"", "", "Adjusted Coordinates", std::string(20, '='), "",
                            projectVars.gridSystem == gridLocal ? "Adjusted Local Coordinates"
                                                                : "Adjusted Grid Coordinates"}) !=
            0 ||
        writeRptCoordHeading(handle) != 0)
        return 1;
    const bool nFirst = !coordinateLetters().eastingFirst;
    std::size_t unknown = 0;
    coordRec point;
    LineBuffer out(handle);
    const int c = pointList2D.openCursor(0);
    bool written = true;
    for (; written && pointList2D.getAtCursor(c, point) == 0; pointList2D.advanceCursor(c)) {
        if (!isAdjustablePoint(point.pointType))
            continue;
        if (unknown + 2 > unknownSigmas.size())
            break;
        point.stdErrE = unknownSigmas[unknown++];
        point.stdErrN = unknownSigmas[unknown++];
        pointList2D.replaceAtCursor(c, point);
        const double first = nFirst ? point.northing : point.easting;
        const double second = nFirst ? point.easting : point.northing;
        const double firstSigma = nFirst ? point.stdErrN : point.stdErrE;
        const double secondSigma = nFirst ? point.stdErrE : point.stdErrN;
        written = out.line(platform::formatC(
            " %-10.10s  %s  %s    %s    %s", point.name, formatCoordinate(first).c_str(),
            formatCoordinate(second).c_str(), formatStdError(firstSigma).c_str(),
            formatStdError(secondSigma).c_str()));
    }
    pointList2D.closeCursor(c);
    return written && out.flush() ? 0 : 1;
}

int writeRptGeographicCoords(int handle) {
    if (writeLines(handle, {"", "", "Adjusted Geographic Coordinates"}) != 0 ||
        writeRptGeographicHeading(handle) != 0)
        return 1;
    for (coordRec point : recordsOf(pointList2D)) {
        if (!isAdjustablePoint(point.pointType))
            continue;
        const geodCoord g = geodOfGridPoint(point.northing, point.easting);
        computeElevFactor(point, projectVars.gridSystem, projectVars.gridZone, projectVars.ZUnits);
        std::string convergence = angleToText(g.conv);
        stripTrailingBlanks(convergence);
        const std::string line = platform::formatC(
            " %-10.10s %s  %s  %s  %s  %s  %s", point.name, latToText(g.lat).c_str(),
            lonToText(g.lon).c_str(), convergence.c_str(), fmtDouble8(g.scale).c_str(),
            fmtDouble8(point.elevFactor).c_str(), fmtDouble8(g.scale * point.elevFactor).c_str());
        if (writeLine(handle, line) != 0)
            return 1;
    }
    return 0;
}

int writeRptAdjustedObs(int handle, const std::vector<double>& residuals,
                        const std::vector<double>& observationSigmas, int markIndex) {
    if (writeLines(handle, {"", "Adjusted Observations", std::string(21, '='), ""}) != 0)
        return 1;
    ObservationListing listing(handle, residuals, observationSigmas, markIndex);
    if (!listing.distances() || !listing.angles() || !listing.azimuths())
        return 1;
    listing.skipControl();
    return listing.gpsVectors() && listing.flush() ? 0 : 1;
}
