#include "reports/report_header.hpp"

#include "model/angle_text.hpp"
#include "model/number_format.hpp"
#include "model/project_ellipsoid.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "output/report_writer.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"
#include "reports/report_files.hpp"
#include "reports/report_words.hpp"

using platform::formatC;

namespace {

constexpr int threeDModel = 1;

// No run context reaches the report header writers: their interface has none, so the shell is
// the active one (the run installs its own for its length).
std::string dateLine() {
    return ctimeText(activeShell().now());
}

void writeTitle(int mode, ReportWriter& out) {
    switch (mode) {
    case adjustmentReportHeader:
        out.blank()
            .line(ruleLine(5, 31))
            .line("     LEAST SQUARES ADJUSTMENT REPORT")
            .line(ruleLine(5, 31));
        break;
    case verticalReportHeader:
        out.blank().line(formatC("%17cLEAST SQUARES VERTICAL ADJUSTMENT REPORT", ' ')).blank();
        break;
    case floatBlunderReportHeader:
        out.blank()
            .line(formatC("%9cBLUNDER DETECTION REPORT", ' '))
            .line(formatC("%5cLOW WEIGHT ON SINGLE MEASUREMENT", ' '))
            .line(ruleLine(5, 32))
            .blank();
        break;
    case reweightBlunderReportHeader:
        out.blank()
            .line(formatC("%15cBLUNDER DETECTION REPORT", ' '))
            .line(formatC("%3cREWEIGHT MEASUREMENTS USING STD.ERR. & RESIDUALS", ' '))
            .line(ruleLine(3, 48))
            .blank();
        break;
    default:
        out.blank()
            .line(formatC("%17cBLUNDER DETECTION REPORT", ' '))
            .line(formatC("%17cPREPROCESSING & K-MATRIX ANALYSIS", ' '));
        break;
    }
}

void writeFileList(ReportWriter& out, const std::string& list) {
    for (const std::string& name : fileListNames(list))
        out.line("    " + name);
}

void writeInputFiles(ReportWriter& out) {
    const globalVars& s = projectVars;
    out.line(s.geodeticModel == threeDModel ? "3D Geodetic Model." : "2D Geodetic Model.")
        .line("Input Raw Files:");
    writeFileList(out, s.pInputFileName);
    if (s.supplamentalNE != 0)
        out.line("Control File:  " + s.controlNEFileName);
    if (s.includeGPSVectors != 0)
        writeFileList(out, s.pGPSFileName);
    if (s.includeLevData != 0)
        writeFileList(out, s.pLevRawFileName);
}

void writeOutputFiles(ReportWriter& out) {
    const globalVars& s = projectVars;
    out.line("Output File: " + s.reportFileName);
    if (s.wrtToCrd != 0)
        out.line("Output CRD File: " + s.crdFileName);
    if (s.includeClosure != 0)
        out.line("Traverse File: " + s.pClosureFileName);
    out.line("Curvature, refraction correction: " + onOffWord(s.curvRefract));
}

void writeLevellingErrors(ReportWriter& out) {
    const globalVars& s = projectVars;
    if (s.pLevRawFileName.empty()) {
        out.blank();
        return;
    }
    out.line("Differential Leveling Standard Errors")
        .line(formatC("    Avg. Dist. to BS/FS:%.1f", s.diffLevDistBSFS))
        .line(formatC("    Rod Reading Err. per 100'/m:%.3f", s.diffLevRodRead))
        .line(formatC("    Collimation Err. (sec.) %.1f:", s.diffLevCollimation))
        .blank();
}

// The first line naming the coordinate system: local and state plane in the
// report and the .OUT header; the others name the system only.
std::string coordinateSystemLine() {
    const globalVars& s = projectVars;
    switch (s.gridSystem) {
    case gridLocal:
        return formatC("Local Coordinate System, Scale Factor: %f", s.SF);
    case gridStatePlane83:
        return "1983 State Plane Coordinates, zone:" + statePlaneZoneWord(s.gridSystem, s.gridZone);
    case gridStatePlane27:
        return "1927 State Plane Coordinates, zone:" + statePlaneZoneWord(s.gridSystem, s.gridZone);
    case gridNewBrunswickStereographic:
        return "Coordinate System: New Brunswick Survey Control";
    case gridUtm:
        return "Coordinate System: UTM, zone: " + utmZoneWord(s.gridZone);
    case gridUserDefined:
        return "Coordinate System: User-defined";
    default:
        return {};
    }
}

std::string ellipsoidAxesLine(double semiMajor, double flattening) {
    return formatC("  Semimajor Axis: %.4f  Flattening:  %.13f", semiMajor, flattening);
}

void writeCoordinateSystem(ReportWriter& out) {
    const globalVars& s = projectVars;
    out.line(coordinateSystemLine());
    if (s.gridSystem == gridUtm) {
        double a = 0.0;
        double f = 0.0;
        projectEllipsoidAxes(a, f);
        out.line("  Ellipsoid: " + ellipsoidWord(s.ellipsoid)).line(ellipsoidAxesLine(a, f));
    } else if (s.gridSystem == gridUserDefined) {
        if (writeRptProjection(out.handle()) != 0)
            return;
        out.blank();
    }
}

void writeElevationFactorSource(ReportWriter& out, const char* rawDataText) {
    const globalVars& s = projectVars;
    if (s.useProjZ == 0)
        out.line(formatC("Elevation factor computed from project elevation,%f.", s.projZ));
    else
        out.line(rawDataText);
    out.line("Elevation Units: " + unitWord(s.ZUnits));
}

void writeDefaultStdErrors(ReportWriter& out) {
    const globalVars& s = projectVars;
    out.line("Default Standard Errors:")
        .line(formatC("  Distance: Constant %.3f ,PPM: %.3f", s.stErrDist, s.stErrDistPPM))
        .line(
            formatC("  Horiz. Angle: Pointing %.1f\" ,Reading: %.1f\"", s.stErrPoint, s.stErrRead))
        .line(
            formatC("  Vert. Angle: Pointing %.1f\" ,Reading: %.1f\"", s.vStErrPoint, s.vStErrRead))
        .line(formatC("  Total Station: Centering %.3f ,Height: %.3f", s.stErrInstrCentering,
                      s.HIStErr))
        .line(formatC("  Target: Centering %.3f ,Height: %.3f", s.stErrTrgtCentering, s.rodStErr))
        .line(formatC("  Azimuth: %.f\"", s.stErrAz))
        .line(formatC("  Coordinate Control: N:%.3f, E:%.3f, Z:%.3f, ", s.stErrY, s.stErrX,
                      s.stErrZ));
    if (s.geodeticModel == threeDModel && s.includeGPSVectors != 0)
        out.line(formatC("  GPS: Centering:%.3f, Vector Err. Factor:%.1f", s.stErrGPSCentering,
                         s.stErrGPSMultFactor));
}

void writeAdjustmentSettings(ReportWriter& out) {
    const globalVars& s = projectVars;
    out.line(formatC("Maximum iterations: %d , Convergence Limit: %f", s.maxIterations,
                     s.convergeLimit));
    writeCoordinateSystem(out);
    const bool grid = s.gridSystem != gridLocal;
    if (grid && s.geodeticModel != threeDModel)
        writeElevationFactorSource(out, "Elevation factor computed from raw data elevations.");
    out.line("Horizontal Units: " + unitWord(s.HorizUnits))
        .line(formatC("Confidence Interval: %.2f", s.confidenceInterval));
    if (grid) {
        if (s.geoidModel == 0)
            out.line("Project Geoid Height: " + formatDistance(s.geoidHt));
        else
            out.line("Geoid Height computed from geoid grid files using the " +
                     geoidModelWord(s.geoidModelType) + " model.");
    }
    writeDefaultStdErrors(out);
    out.blank();
}

void writeSettings(int mode, ReportWriter& out) {
    const globalVars& s = projectVars;
    out.blank().line(dateLine());
    if (s.horizAdjust != 0)
        writeInputFiles(out);
    if (mode == verticalReportHeader && !s.pLevRawFileName.empty())
        out.line("Level File:  " + s.pLevRawFileName);
    writeOutputFiles(out);
    if (mode == verticalReportHeader)
        writeLevellingErrors(out);
    else
        writeAdjustmentSettings(out);
}

bool isHeaderMode(int mode) {
    return mode == adjustmentReportHeader || mode == verticalReportHeader ||
           mode == floatBlunderReportHeader || mode == reweightBlunderReportHeader ||
           mode == preprocessingReportHeader;
}

} // namespace

int writeRptHeader(int mode) {
    if (!isHeaderMode(mode))
        return 0;
    const bool toReport = mode == adjustmentReportHeader || mode == verticalReportHeader;
    if (!toReport && writeLine(rptFile, "") != 0)
        return 1;
    ReportWriter out(toReport ? rptFile : errFile);
    writeTitle(mode, out);
    writeSettings(mode, out);
    return out.result();
}

namespace {

void writeGridOrigins(ReportWriter& out, const udpRec& p) {
    out.line("  North Grid Origin: " + formatCoordinate(p.FalseNorthings))
        .line("  East Grid Origin: " + formatCoordinate(p.FalseEastings));
}

void writeOriginLines(ReportWriter& out, double lat_rad, double lon_rad) {
    out.line("  Latitude of North Origin: " + latToText(lat_rad))
        .line("  Longitude of East Origin: " + lonToText(lon_rad));
}

std::string scaleFactorLine(const udpRec& p) {
    return formatC("  Scale Factor: %.6f", p.projection_scale);
}

} // namespace

int writeRptProjection(int handle) {
    const udpRec& p = projectVars.udp;
    ReportWriter out(handle);
    out.line("User-defined Projection file: " + projectVars.UDPFilePath)
        .line("  Map Projection System: " + projectionWord(p.ProjInt))
        .line("  Ellipsoid: " + ellipsoidWord(p.EllipsInt))
        .line(ellipsoidAxesLine(p.EllipseA, p.EllipseF));
    switch (p.ProjInt) {
    case udpTransverseMercator:
        out.line("  Central Meridian: " + lonToText(p.CentralMeridian)).line(scaleFactorLine(p));
        writeGridOrigins(out, p);
        writeOriginLines(out, p.ScaleOrRefLatitude, p.CentralMeridian);
        break;
    case udpLambertTwoParallels:
        out.line("  North Standard Parallel: " + latToText(p.CentralOrNorthLatitude))
            .line("  South Standard Parallel: " + latToText(p.SkewOrSouthLatitude));
        writeGridOrigins(out, p);
        writeOriginLines(out, p.ScaleOrRefLatitude, p.CentralMeridian);
        break;
    case udpObliqueMercatorAzimuth:
        out.line("  Skew Azimuth: " + angleToText(p.SkewOrSouthLatitude)).line(scaleFactorLine(p));
        writeGridOrigins(out, p);
        writeOriginLines(out, p.latOrigin, p.lonOrigin);
        break;
    default:
        break;
    }
    return out.result();
}

namespace {

std::string outColumnLine() {
    const char* first = "North";
    const char* second = "East ";
    const char* third = "Elevation";
    switch (projectVars.NEDisplayType) {
    case 1:
        first = "East ", second = "North";
        break;
    case 2:
        first = "X     ", second = "Y     ", third = "Z       ";
        break;
    case 3:
        first = "Y     ", second = "X     ", third = "Z       ";
        break;
    default:
        break;
    }
    return formatC("Pt.No.    Code       %s       %s       %s    Desc.", first, second, third);
}

} // namespace

int writeOutHeader(int handle, int adjusted) {
    const globalVars& s = projectVars;
    ReportWriter out(handle);
    out.blank();
    if (adjusted == 1)
        out.line(ruleLine(5, 20)).line("     ADJUSTED COORDINATES").line(ruleLine(5, 20));
    else
        out.line(ruleLine(5, 22)).line("     UNADJUSTED COORDINATES").line(ruleLine(5, 22));
    out.blank().line(dateLine()).line("Input Raw Files:");
    for (const std::string& name : inputFileNames())
        out.line("    " + name);
    if (s.supplamentalNE != 0)
        out.line("Control File:  " + s.controlNEFileName);
    out.line("Output File: " + s.reportFileName)
        .line("Curvature, refraction correction: " + onOffWord(s.curvRefract))
        .line(coordinateSystemLine());
    if (s.gridSystem != gridLocal)
        writeElevationFactorSource(out, "Elevations factor computed from raw data elevations.");
    out.line("Horizontal Units: " + unitWord(s.HorizUnits)).blank().line(outColumnLine());
    return out.result();
}

std::string coordHeadingText() {
    const CoordinateLetters c = coordinateLetters();
    return formatC(" Sta.            %c:            %c:           StErr %c:   StErr %c:", c.first,
                   c.second, c.first, c.second);
}

std::string coordZHeadingText() {
    const CoordinateLetters c = coordinateLetters();
    return formatC(" Sta.            %c:            %c:            Z (Geoid):   StErr %c:    StErr "
                   "%c:  StErr Z:",
                   c.first, c.second, c.first, c.second);
}

std::string geocentricHeadingText() {
    return " Sta.            X:            Y:              Z:        StErr X(m): StErr Y(m): "
           "StErr Z(m):";
}

std::string geographicStdErrHeadingText() {
    const CoordinateLetters c = coordinateLetters();
    return formatC(" Sta.         Latitude          Longitude           Z (Ellip.)   StErr %c:   "
                   "StErr %c:   StErr Z:",
                   c.first, c.second);
}

int writeRptCoordHeading(int handle) {
    return writeLine(handle, coordHeadingText());
}

int writeRptCoordZHeading(int handle) {
    return writeLine(handle, coordZHeadingText());
}

int writeRptGeocentricHeading(int handle) {
    return writeLine(handle, geocentricHeadingText());
}

int writeRptGeographicHeading(int handle) {
    return writeLine(handle, " Sta.         Latitude          Longitude      Conv. Ang.   Grid "
                             "Factor  Z Factor  Combined Factor");
}

int writeRptGeographicHeading3D(int handle) {
    return writeLine(handle,
                     " Sta.         Latitude          Longitude          Z (Ellip.)   Conv. "
                     "Ang.     Grid Factor   Z Factor   Combined Factor");
}

int writeRptGeographicStdErrHeading(int handle) {
    return writeLine(handle, geographicStdErrHeadingText());
}
