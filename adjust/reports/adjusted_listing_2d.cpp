#include "reports/adjusted_listing_2d.hpp"

#include "engine/geodetic_reductions.hpp"
#include "engine/horizontal_network.hpp"
#include "model/angle_math.hpp"
#include "model/angle_text.hpp"
#include "model/list_snapshot.hpp"
#include "model/number_format.hpp"
#include "model/packed_degrees.hpp"
#include "model/pending_stages.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/text_fields.hpp"
#include "output/report_lines.hpp"
#include "output/report_writer.hpp"
#include "platform/c_locale_text.hpp"
#include "reports/report_header.hpp"
#include "reports/report_words.hpp"

#include <cmath>
#include <initializer_list>

using angle::secondsPerRadian;

namespace {

int writeLines(int handle, std::initializer_list<std::string> lines) {
    ReportWriter writer(handle);
    for (const std::string& line : lines)
        writer.line(line);
    return writer.result();
}

// A residual above twice its a-priori standard error is flagged.
char flagOf(double standardized) {
    return standardized > 2.0 ? '*' : ' ';
}

double standardized(double residual, double stdErr) {
    return std::fabs(residual) / stdErr;
}

// The standardized residual of an angle or azimuth has no unit: it prints as
// a number in both angle units.
std::string standardizedAngleText(double value) {
    return flagOf(value) + std::string(" ") + formatAngleValue9(value);
}

// Walks the observation entries in the order of the adjustment's rows and
// keeps the sum of squares of each kind for its RMS line.
class ObservationListing {
public:
    ObservationListing(int handle, const std::vector<double>& v, const std::vector<double>& sigma,
                       int mark)
        : handle_(handle), v_(v), sigma_(sigma), mark_(mark) {}

    bool distances();
    bool angles();
    bool azimuths();
    void skipControl() { entry_ += 2 * weightedControlPoints().size(); }
    bool gpsVectors();

private:
    double v() const { return v_[entry_]; }
    double sigma() const { return sigma_[entry_]; }
    // Writes the line of the current entry (marked when floated) and steps on.
    bool entryLine(std::string line) {
        if (static_cast<int>(entry_) == mark_)
            line += " **";
        sumOfSquares_ += v() * v();
        ++listed_;
        ++entry_;
        return writeLine(handle_, line) == 0;
    }
    void startKind() {
        sumOfSquares_ = 0.0;
        listed_ = 0;
    }
    double rms() const { return std::sqrt(sumOfSquares_ / listed_); }

    int handle_;
    const std::vector<double>& v_;
    const std::vector<double>& sigma_;
    int mark_;
    std::size_t entry_ = 0;
    double sumOfSquares_ = 0.0;
    int listed_ = 0;
};

bool ObservationListing::distances() {
    if (writeLines(handle_, {"Adjusted Distances", " From Sta.  To Sta.        Distance      "
                                                   "Residual     StdRes.   StdDev"}) != 0)
        return false;
    startKind();
    for (const distanceObs2D& d : recordsOf(distanceList2D)) {
        if (!takesPart(d))
            continue;
        const double z = standardized(v(), d.stdErrDist);
        const std::string line = platform::formatC(
            " %-10.10s    %-10.10s %s   %s      %s  %s", d.from, d.to,
            formatDistance(d.distance + v()).c_str(), formatDistanceSigned(v()).c_str(),
            (flagOf(z) + formatDistanceShort(z)).c_str(), formatDistanceShort(sigma()).c_str());
        if (!entryLine(line))
            return false;
    }
    if (listed_ > 0 &&
        writeLine(handle_, "            Root Mean Square (RMS)  " + formatDistance(rms())) != 0)
        return false;
    return writeLine(handle_, "") == 0;
}

bool ObservationListing::angles() {
    const char* heading =
        projectVars.angleType == 1
            ? " BS Sta.  Occ. Sta.   FS Sta.                 Angle          Residual      StdRes "
              "   StdDev(Grad)"
            : " BS Sta.  Occ. Sta.   FS Sta.                 Angle          Residual      StdRes "
              "   StdDev(Sec.)";
    if (writeLines(handle_, {"Adjusted Angles", heading}) != 0)
        return false;
    startKind();
    for (const angleObs2D& a : recordsOf(angleList2D)) {
        if (!takesPart(a))
            continue;
        const std::string line = platform::formatC(
            " %-10.10s   %-10.10s    %-10.10s   %s   %s     %s   %s", a.backsight, a.instrument,
            a.foresight, angleToText(a.angle + v() / secondsPerRadian).c_str(),
            formatAngleSeconds(v()).c_str(),
            standardizedAngleText(standardized(v(), a.stdErr)).c_str(),
            formatAngleSeconds(sigma()).c_str());
        if (!entryLine(line))
            return false;
    }
    if (listed_ > 0 &&
        writeLine(handle_, "                               Root Mean Square (RMS)     " +
                               formatAngleSeconds(rms())) != 0)
        return false;
    return writeLine(handle_, "") == 0;
}

bool ObservationListing::azimuths() {
    if (azimuthList2D.count() == 0)
        return true;
    const std::string heading = platform::formatC(
        projectVars.angleType == 1
            ? " Occ. Sta.  FS Sta.      %s           Residual    StdRes   StdDev(Grad)"
            : " Occ. Sta.  FS Sta.      %s           Residual    StdRes   StdDev(Sec.)",
        projectVars.directionType == 0 ? "Bearing" : "Azimuth");
    if (writeLines(handle_, {"Adjusted Azimuths", heading}) != 0)
        return false;
    startKind();
    for (const azimuthObs& z : recordsOf(azimuthList2D)) {
        if (!takesPart(z))
            continue;
        const std::string line =
            platform::formatC(" %-10.10s  %-10.10s %s   %s    %s    %s", z.from, z.to,
                              directionToText(z.azimuth + v() / secondsPerRadian).c_str(),
                              formatAngleSeconds(v()).c_str(),
                              standardizedAngleText(standardized(v(), z.stdErr)).c_str(),
                              formatAngleSeconds(sigma()).c_str());
        if (!entryLine(line))
            return false;
    }
    return listed_ == 0 || writeLine(handle_, "                Root Mean Square (RMS)    " +
                                                  formatAngleSeconds(rms())) == 0;
}

bool ObservationListing::gpsVectors() {
    if (gpsVectorList2D.count() == 0)
        return true;
    std::vector<gpsVectorRec> vectors;
    for (const gpsVectorRec& g : recordsOf(gpsVectorList2D))
        if (takesPart(g))
            vectors.push_back(g);
    if (writeLines(handle_, {platform::formatC("GPS Vectors: %4d Observations",
                                               static_cast<int>(vectors.size())),
                             " From Sta.   To Sta."}) != 0)
        return false;
    for (const gpsVectorRec& g : vectors) {
        const double components[2][2] = {{g.dX, g.varX}, {g.dY, g.varY}};
        for (const auto& [observed, variance] : components) {
            const std::string line = platform::formatC(
                " %-10.10s  %-10.10s %12.4f   %7.4f    %7.4f    %7.4f", g.from, g.to,
                observed + v(), v(), standardized(v(), std::sqrt(variance)), sigma());
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
    const int c = pointList2D.openCursor(0);
    int result = 0;
    for (; result == 0 && pointList2D.getAtCursor(c, point) == 0; pointList2D.advanceCursor(c)) {
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
        result = writeLine(handle, platform::formatC(" %-10.10s  %s  %s    %s    %s", point.name,
                                                     formatCoordinate(first).c_str(),
                                                     formatCoordinate(second).c_str(),
                                                     formatStdError(firstSigma).c_str(),
                                                     formatStdError(secondSigma).c_str()));
    }
    pointList2D.closeCursor(c);
    return result;
}

int writeRptGeographicCoords(int handle) {
    if (writeLines(handle, {"", "", "Adjusted Geographic Coordinates"}) != 0 ||
        writeRptGeographicHeading(handle) != 0)
        return 1;
    for (coordRec point : recordsOf(pointList2D)) {
        if (!isAdjustablePoint(point.pointType))
            continue;
        geodCoord g{};
        g.northing = point.northing;
        g.easting = point.easting;
        g.scale = 1.0;
        projGridToGeod(g);
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
    return listing.gpsVectors() ? 0 : 1;
}
