#include "reports/adjusted_listing_3d.hpp"

#include "engine/earth_centred_frames.hpp"
#include "engine/gps_vector_sigmas.hpp"
#include "engine/horizontal_network.hpp"
#include "engine/line_combined_factor.hpp"
#include "model/angle_text.hpp"
#include "model/geoid_elevation.hpp"
#include "model/list_snapshot.hpp"
#include "model/number_format.hpp"
#include "model/packed_degrees.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "output/report_writer.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "reports/report_header.hpp"
#include "reports/report_words.hpp"
#include "reports/residual_listing.hpp"

#include <array>
#include <cmath>
#include <optional>

using platform::formatC;

namespace {

double unitFactor() {
    return units::unitsPerMetre(projectVars.HorizUnits);
}

template <class Record> bool takesPart3D(const Record& record) {
    return record.status != obsNotAdjusted;
}

// The listed stations with their index among them (the first of their three
// unknowns is 3 x index).
template <class Visit> void eachListedStation(Visit visit) {
    int index = 0;
    for (const stationRec& s : recordsOf(stationList))
        if (isAdjustablePoint(s.pointType) && !visit(s, index++))
            return;
}

std::string scaled(std::string (*format)(double), double value_m, double factor) {
    return isSet(value_m) ? format(value_m * factor) : format(value_m);
}

// Each weighted control station gives three rows: the type-1 records of the
// control list whose station is adjustable.
std::size_t weightedControlStations() {
    std::size_t count = 0;
    for (const stationRec& c : recordsOf(controlStationList)) {
        stationRec s;
        if (c.pointType == ptWeightedControl && stationList.find(fixedText(c.name), s) >= 0 &&
            isAdjustablePoint(s.pointType))
            ++count;
    }
    return count;
}

std::optional<stationRec> stationNamed(const pointNameField& name) {
    stationRec s;
    if (stationList.find(fixedText(name), s) >= 0 || fixedStationList.find(fixedText(name), s) >= 0)
        return s;
    return std::nullopt;
}

const char* secondsOrGrads(const char* seconds, const char* grads) {
    return projectVars.angleType == 1 ? grads : seconds;
}

class ObservationListing3D : public ResidualListing {
public:
    using ResidualListing::ResidualListing;

    bool distances();
    bool angles();
    bool azimuths();
    bool zeniths();
    void skipControl() { skip(3 * weightedControlStations()); }
    bool gpsVectors();
    bool levels();

private:
    bool gpsVector(const gpsVectorRec& g);
    const double u_ = unitFactor();
    std::optional<AdjustedGpsVectorSigmas> vectorSigmas_;
};

bool ObservationListing3D::distances() {
    if (distanceList.count() == 0)
        return true;
    if (!lines({"Adjusted Mark to Mark Distances",
                " From Sta.  To Sta.        Distance      Residual     StdRes.   StdDev"}))
        return false;
    startKind();
    for (const distanceObs& d : recordsOf(distanceList))
        if (takesPart3D(d) &&
            !entryLine(distanceText(d.from, d.to, d.reducedDist, d.stdErr, u_), u_))
            return false;
    return rmsLine("            Root Mean Square (RMS)  " + formatDistance(rms())) && lines({""});
}

bool ObservationListing3D::angles() {
    if (angleList.count() == 0)
        return true;
    if (!lines({"Adjusted Horizontal Angles",
                secondsOrGrads(" BS Sta.  Occ. Sta.   FS Sta.                 Angle        "
                               "Residual     StdRes   StdDev(Sec.)",
                               " BS Sta.  Occ. Sta.   FS Sta.                 Angle        "
                               "Residual     StdRes   StdDev(Grad)")}))
        return false;
    startKind();
    for (const angleObs& a : recordsOf(angleList)) {
        if (!takesPart3D(a))
            continue;
        const AngleColumns c = angleColumns(a.angle, v(), a.stdErr);
        const std::string line =
            formatC(" %-10.10s   %-10.10s    %-10.10s   %s    %s       %s     %s", a.backsight,
                    a.instrument, a.foresight, c.adjusted.c_str(), c.residual.c_str(),
                    c.standardized.c_str(), c.sigma.c_str());
        if (!entryLine(line))
            return false;
    }
    return rmsLine("                               Root Mean Square (RMS)      " +
                   formatAngleSeconds(rms())) &&
           lines({""});
}

bool ObservationListing3D::azimuths() {
    if (azimuthList.count() == 0)
        return true;
    const std::string heading = formatC(
        secondsOrGrads(" Occ. Sta.  FS Sta.      %s           Residual    StdRes   StdDev(Sec.)  "
                       "Convergence Angle",
                       " Occ. Sta.  FS Sta.      %s           Residual    StdRes   StdDev(Grad)  "
                       "Convergence Angle"),
        projectVars.directionType == 0 ? "Bearing" : "Azimuth");
    if (!lines({"Adjusted Grid Azimuths", heading}))
        return false;
    startKind();
    for (const azimuthObs& z : recordsOf(azimuthList))
        if (takesPart3D(z) && !entryLine(azimuthText(z) + "   " + angleToText(z.convergence)))
            return false;
    return rmsLine("                Root Mean Square (RMS)    " + formatAngleSeconds(rms()));
}

// The row holds the elevation angle pi/2 - z: the zenith's own residual is
// the row's negated, and the adjusted zenith the observed one plus it.
bool ObservationListing3D::zeniths() {
    if (verticalList.count() == 0)
        return true;
    if (!lines({"Adjusted Mark to Mark Vertical Angles",
                secondsOrGrads(" From Sta.   To Sta.     Vertical Ang.      Residual    StdRes   "
                               "StdDev(Sec.)",
                               " From Sta.   To Sta.     Vertical Ang.      Residual    StdRes   "
                               "StdDev(Grad)")}))
        return false;
    startKind();
    for (const verticalObs& z : recordsOf(verticalList)) {
        if (!takesPart3D(z))
            continue;
        const AngleColumns c = angleColumns(z.zenith, -v(), z.stdErr);
        const std::string line = formatC(" %-10.10s    %-10.10s %s    %s      %s       %s", z.from,
                                         z.to, c.adjusted.c_str(), c.residual.c_str(),
                                         c.standardized.c_str(), c.sigma.c_str());
        if (!entryLine(line))
            return false;
    }
    return rmsLine("                 Root Mean Square (RMS)     " + formatAngleSeconds(rms())) &&
           lines({""});
}

// The vector's three residuals come in the local frame of its from station;
// the standard deviations are those of the adjusted Delta X, Y and Z.
bool ObservationListing3D::gpsVector(const gpsVectorRec& g) {
    const std::optional<stationRec> from = stationNamed(g.from);
    if (!vectorSigmas_)
        vectorSigmas_.emplace();
    const std::optional<std::array<double, 3>> adjustedSigma =
        vectorSigmas_->of(fixedText(g.from), fixedText(g.to));
    if (!from || !adjustedSigma)
        return false;
    double residual[3];
    localToEcefVector(from->latitude, from->longitude, ahead(0), ahead(1), ahead(2), residual[0],
                      residual[1], residual[2]);
    const double observed[3] = {g.dX, g.dY, g.dZ};
    const double variance[3] = {g.varX, g.varY, g.varZ};
    const std::string lead[3] = {formatC(" %-10.10s       ", g.from),
                                 formatC(" %-10.10s       ", g.to), std::string(18, ' ')};
    for (int i = 0; i < 3; ++i) {
        const double z = standardizedResidual(residual[i], std::sqrt(variance[i]));
        const std::string line =
            lead[i] + formatC("%12.4f   %7.4f    %c%7.4f    %7.4f",
                              (observed[i] + residual[i]) * u_, residual[i] * u_, residualFlag(z),
                              z, (*adjustedSigma)[i] * u_);
        if (!entryLine(line, u_))
            return false;
    }
    return lines({""});
}

bool ObservationListing3D::gpsVectors() {
    if (gpsVectorList.count() == 0)
        return true;
    std::vector<gpsVectorRec> vectors;
    for (const gpsVectorRec& g : recordsOf(gpsVectorList))
        if (takesPart3D(g))
            vectors.push_back(g);
    if (!lines({formatC("GPS Vectors: %4d Observations", static_cast<int>(vectors.size())),
                " From Sta.          Delta X    Residual    StdRes    StdDev",
                " To   Sta.          Delta Y    Residual    StdRes    StdDev",
                "                    Delta Z    Residual    StdRes    StdDev"}))
        return false;
    for (const gpsVectorRec& g : vectors)
        if (!gpsVector(g))
            return false;
    return true;
}

bool ObservationListing3D::levels() {
    if (levelList.count() == 0)
        return true;
    if (!lines({"Adjusted Elevation Differences",
                " From Sta.   To Sta.    Ellipsoid Diff.     Residual      StdRes   StdDev"}))
        return false;
    startKind();
    for (const levelObs& l : recordsOf(levelList)) {
        const double z = standardizedResidual(v(), l.stdErr);
        const std::string line =
            formatC(" %-10.10s    %-10.10s %s        %s    %s    %s", l.from, l.to,
                    formatDistance((l.ellipsoidalDiff + v()) * u_).c_str(),
                    formatDistanceSigned(v() * u_).c_str(),
                    (residualFlag(z) + formatDistanceShort(z)).c_str(),
                    formatDistanceShort(sigma() * u_).c_str());
        if (!entryLine(line, u_))
            return false;
    }
    return rmsLine("                Root Mean Square (RMS)   " + formatDistance(rms()));
}

// The station's 3 x 3 cofactor block (north, east, up) times s0^2 as the
// local covariance in the order the earth-centred turn takes it: var(e),
// var(n), var(up), cov(e, n), cov(e, up), cov(n, up).
std::array<double, 6> localCovariance(const Cofactors& q, int firstUnknown, double s0Squared) {
    const auto b = q.block(firstUnknown, firstUnknown, 3);
    constexpr int n = 0;
    constexpr int e = 1;
    constexpr int up = 2;
    return {s0Squared * b[e][e], s0Squared * b[n][n],  s0Squared * b[up][up],
            s0Squared * b[e][n], s0Squared * b[e][up], s0Squared * b[n][up]};
}

} // namespace

int writeRptGeographicCoords3D(int handle) {
    ReportWriter out(handle);
    out.blank().blank().line("Adjusted Geographic Coordinates");
    if (out.failed() || writeRptGeographicHeading3D(handle) != 0)
        return 1;
    const double u = unitFactor();
    eachListedStation([&](const stationRec& s, int) {
        geodCoord g{};
        g.northing = s.northing;
        g.easting = s.easting;
        g.scale = 1.0;
        projGridMetersToGeod(g);
        const double elevFactor = stationElevFactor(s).value_or(1.0);
        out.line(formatC(" %-10.10s %s  %s  %s  %s  %s   %s   %s", s.name,
                         latToText(s.latitude).c_str(), lonToText(s.longitude).c_str(),
                         scaled(formatElevation, s.elevation, u).c_str(),
                         angleToText(g.conv).c_str(), fmtDouble8(g.scale).c_str(),
                         fmtDouble8(elevFactor).c_str(), fmtDouble8(g.scale * elevFactor).c_str()));
        return !out.failed();
    });
    return out.result();
}

int writeRptAdjustedCoords3D(int handle, const std::vector<double>& unknownSigmas) {
    ReportWriter out(handle);
    out.blank().line("Adjusted Grid Coordinates, (" + unitWord(projectVars.HorizUnits) + ")");
    if (out.failed() || writeRptCoordZHeading(handle) != 0)
        return 1;
    const double u = unitFactor();
    const bool eastingFirst = coordinateLetters().eastingFirst;
    std::size_t unknown = 0;
    const int c = stationList.openCursor(0);
    stationRec s;
    for (; !out.failed() && stationList.getAtCursor(c, s) == 0; stationList.advanceCursor(c)) {
        if (!isAdjustablePoint(s.pointType))
            continue;
        if (unknown + 3 > unknownSigmas.size())
            break;
        s.stdErrN = unknownSigmas[unknown++];
        s.stdErrE = unknownSigmas[unknown++];
        s.stdErrZ = unknownSigmas[unknown++];
        stationList.replaceAtCursor(c, s);
        std::string first = formatCoordinate(s.northing * u);
        std::string second = formatCoordinate(s.easting * u);
        std::string firstSigma = formatStdError(s.stdErrN * u);
        std::string secondSigma = formatStdError(s.stdErrE * u);
        if (eastingFirst) {
            std::swap(first, second);
            std::swap(firstSigma, secondSigma);
        }
        out.line(formatC(" %-10.10s  %s  %s    %s %s    %s  %s", s.name, first.c_str(),
                         second.c_str(), scaled(formatElevation, geoidElevation(s), u).c_str(),
                         firstSigma.c_str(), secondSigma.c_str(),
                         formatStdError(s.stdErrZ * u).c_str()));
    }
    stationList.closeCursor(c);
    return out.result();
}

int writeRptGeocentricCoords(int handle, const Cofactors& varCov, double referenceVariance) {
    ReportWriter out(handle);
    out.blank().blank().line("Adjusted Geocentric Coordinates, (Metric)");
    if (out.failed() || writeRptGeocentricHeading(handle) != 0)
        return 1;
    eachListedStation([&](const stationRec& s, int index) {
        if (3 * index + 3 > varCov.size())
            return false;
        const std::array<double, 6> xyz = localToEcefCovariance(
            s.latitude, s.longitude, localCovariance(varCov, 3 * index, referenceVariance));
        out.line(formatC(
            " %-10.10s  %s  %s    %s %s    %s  %s", s.name, formatCoordinate(s.ecefX).c_str(),
            formatCoordinate(s.ecefY).c_str(), formatElevation(s.ecefZ).c_str(),
            formatStdError(std::sqrt(xyz[0])).c_str(), formatStdError(std::sqrt(xyz[1])).c_str(),
            formatStdError(std::sqrt(xyz[2])).c_str()));
        return !out.failed();
    });
    return out.result();
}

int writeRptAdjustedObs3D(int handle, const std::vector<double>& residuals,
                          const std::vector<double>& observationSigmas, int markIndex) {
    ReportWriter out(handle);
    out.blank().line("Adjusted Observations").line(ruleLine(0, 21)).blank();
    if (out.failed())
        return 1;
    ObservationListing3D listing(handle, residuals, observationSigmas, markIndex);
    if (!listing.distances() || !listing.angles() || !listing.azimuths() || !listing.zeniths())
        return 1;
    listing.skipControl();
    return listing.gpsVectors() && listing.levels() && listing.flush() ? 0 : 1;
}
