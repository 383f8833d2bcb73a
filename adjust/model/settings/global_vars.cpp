#include "model/settings/global_vars.hpp"

#include "model/angle_math.hpp"
#include "platform/paths.hpp"
#include "platform/program_folder.hpp"
#include "platform/sentinels.hpp"

globalVars projectVars;

namespace {

constexpr double fiveSecondsOfArc = 5.0 / angle::secondsPerRadian;

} // namespace

// Settings that keep their value through setDefaults start from zero.
globalVars::globalVars()
    : convergeLimit(0), gridSystem(0), gridZone(0), SF(0), projZ(0), stErrDist(0), stErrDistPPM(0),
      stErrAz(0), stErrX(0), stErrY(0), stErrZ(0), stErrPoint(0), stErrRead(0),
      stErrTrgtCentering(0), stErrInstrCentering(0), maxIterations(0), neOutPrec(0), zOutPrec(0),
      useProjZ(0), vertAdjust(0), horizAdjust(0), directionType(0), curvRefract(0), dUnits(0),
      ZUnits(0), HorizUnits(0), NEDisplayType(0), distPrec(0), coordPrec(0), directionPrec(0),
      version(0), supplamentalNE(0), nezFileFmtType(0), wrtToCrd(0), vDistTol(0), hDistTol(0),
      hAngTol(0), vStErrPoint(0), vStErrRead(0), rodStErr(0), HIStErr(0), includeSS(0),
      includeGPSVectors(0), includeRawData(0), stErrGPSCentering(0), stErrGPSMultFactor(0),
      includeClosure(0), confidenceInterval(0), angleType(0), includeLevData(0), diffLevDistBSFS(0),
      diffLevCollimation(0), diffLevRodRead(0), geodeticModel(0), geoidHt(0), geoidModel(0),
      geoidModelType(0), gpsFileFmtType(0), elevDispPrec(0), vAngTol(0), asciiNEZType(0),
      crdFileType(0), ttlStaUnits(0), GPSUnits(0), levelUnits(0), defaultRawEditor(0), ALTARptOn(0),
      relativeErrFileOn(0), altaTolerance(0), altaPPM(0), ellipsoid(0), levelFileFmtType(0),
      Rw5GPSUnits(0), useRw5GPSVectors(0) {
    setDefaults();
}

void globalVars::setDefaults() {
    nullElev = defaultNullElevText;
    convergeLimit = 0.001;
    gridSystem = gridLocal;
    SF = 1.0;
    projZ = 0.0;
    stErrDist = 0.01;
    stErrDistPPM = 5.0;
    stErrAz = 5.0;
    stErrX = 0.01;
    stErrY = 0.01;
    stErrZ = 0.02;
    stErrPoint = 3.0;
    stErrRead = 3.0;
    stErrTrgtCentering = 0.005;
    stErrInstrCentering = 0.005;
    maxIterations = 10;
    neOutPrec = 3;
    zOutPrec = 3;
    useProjZ = 0;
    vertAdjust = 1;
    horizAdjust = 1;
    directionType = 0;
    curvRefract = 1;
    dUnits = 1;
    ZUnits = 0;
    HorizUnits = 0;
    NEDisplayType = 0;
    distPrec = 3;
    coordPrec = 3;
    directionPrec = 1;
    supplamentalNE = 0;
    wrtToCrd = 0;
    vDistTol = 0.03;
    hDistTol = 0.02;
    hAngTol = fiveSecondsOfArc;
    vStErrPoint = 3.0;
    vStErrRead = 3.0;
    rodStErr = 0.1;
    HIStErr = 0.1;
    includeSS = 0;
    includeGPSVectors = 0;
    includeRawData = 1;
    stErrGPSCentering = 0.0;
    stErrGPSMultFactor = 1.0;
    includeClosure = 0;
    confidenceInterval = 95.0;
    angleType = 0;
    includeLevData = 0;
    diffLevDistBSFS = 50.0;
    diffLevCollimation = 3.0;
    diffLevRodRead = 0.0001;
    geodeticModel = 0;
    geoidHt = 0.0;
    geoidModel = 0;
    elevDispPrec = 3;
    vAngTol = fiveSecondsOfArc;
    asciiNEZType = 0;
    crdFileType = 1;
    // The total-station distances are read in the horizontal unit.
    ttlStaUnits = HorizUnits;
    GPSUnits = 0;
    levelUnits = 1;
    defaultRawEditor = 0;
    ALTARptOn = 0;
    relativeErrFileNm.clear();
    relativeErrFileOn = 0;
    altaTolerance = 0.07;
    altaPPM = 50;
    ellipsoid = wgs84Ellipsoid;
    UDPFilePath.clear();
    levelFileFmtType = 0;
    Rw5GPSUnits = 0;
    useRw5GPSVectors = 0;
}

std::string globalVars::getGeoidFolder() const {
    if (!exeDir.empty())
        return exeDir;
    return platform::withTrailingSeparator(platform::programFolder()) + "Geoid/";
}
