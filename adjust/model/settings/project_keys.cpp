#include "model/settings/project_keys.hpp"

namespace projectKeys {
namespace {

using G = globalVars;

Key text(const char* name, std::string G::*member) {
    return {name, ValueKind::text, member, nullptr, nullptr};
}
Key integer(const char* name, int G::*member) {
    return {name, ValueKind::integer, nullptr, member, nullptr};
}
Key real(const char* name, double G::*member) {
    return {name, ValueKind::real, nullptr, nullptr, member};
}
Key real9(const char* name, double G::*member) {
    return {name, ValueKind::real9, nullptr, nullptr, member};
}

} // namespace

const std::array<Key, keyCount>& table() {
    static const std::array<Key, keyCount> keys = {{
        {"TARNWELL_PROJECT_VERSION", ValueKind::integer},
        text("pInputFileName", &G::pInputFileName),
        text("reportFileName", &G::reportFileName),
        text("controlNEFileName", &G::controlNEFileName),
        text("nullElev", &G::nullElev),
        text("crdFileName", &G::crdFileName),
        real("convergeLimit", &G::convergeLimit),
        integer("gridSystem", &G::gridSystem),
        integer("gridZone", &G::gridZone),
        real9("SF", &G::SF),
        real("projZ", &G::projZ),
        real("stErrDist", &G::stErrDist),
        real("stErrDistPPM", &G::stErrDistPPM),
        real("stErrAz", &G::stErrAz),
        real("stErrX", &G::stErrX),
        real("stErrY", &G::stErrY),
        real("stErrZ", &G::stErrZ),
        real("stErrPoint", &G::stErrPoint),
        real("stErrRead", &G::stErrRead),
        real("stErrTrgtCentering", &G::stErrTrgtCentering),
        real("stErrInstrCentering", &G::stErrInstrCentering),
        integer("maxIterations", &G::maxIterations),
        integer("neOutPrec", &G::neOutPrec),
        integer("zOutPrec", &G::zOutPrec),
        integer("useProjZ", &G::useProjZ),
        integer("vertAdjust", &G::vertAdjust),
        integer("horizAdjust", &G::horizAdjust),
        integer("directionType", &G::directionType),
        integer("curvRefract", &G::curvRefract),
        integer("dUnits", &G::dUnits),
        integer("ZUnits", &G::ZUnits),
        integer("NEDisplayType", &G::NEDisplayType),
        integer("distPrec", &G::distPrec),
        integer("coordPrec", &G::coordPrec),
        integer("directionPrec", &G::directionPrec),
        integer("supplamentalNE", &G::supplamentalNE),
        integer("nezFileFmtType", &G::nezFileFmtType),
        integer("wrtToCrd", &G::wrtToCrd),
        real("vDistTol", &G::vDistTol),
        real("hDistTol", &G::hDistTol),
        real("hAngTol", &G::hAngTol),
        integer("HorizUnits", &G::HorizUnits),
        integer("version", &G::version),
        real("rodStErr", &G::rodStErr),
        real("HIStErr", &G::HIStErr),
        real("vStErrPoint", &G::vStErrPoint),
        real("vStErrRead", &G::vStErrRead),
        integer("includeSS", &G::includeSS),
        text("pGPSFileName", &G::pGPSFileName),
        integer("includeGPSVectors", &G::includeGPSVectors),
        integer("includeRawData", &G::includeRawData),
        real("stErrGPSCentering", &G::stErrGPSCentering),
        real("stErrGPSMultFactor", &G::stErrGPSMultFactor),
        integer("includeClosure", &G::includeClosure),
        text("pClosureFileName", &G::pClosureFileName),
        real("confidenceInterval", &G::confidenceInterval),
        integer("angleType", &G::angleType),
        text("PtSubstituteS", &G::PtSubstituteS),
        text("pLevRawFileName", &G::pLevRawFileName),
        integer("includeLevData", &G::includeLevData),
        real("diffLevDistBSFS", &G::diffLevDistBSFS),
        real("diffLevCollimation", &G::diffLevCollimation),
        real("diffLevRodRead", &G::diffLevRodRead),
        integer("geodeticModel", &G::geodeticModel),
        real("geoidHt", &G::geoidHt),
        integer("geoidModel", &G::geoidModel),
        integer("geoidModelType", &G::geoidModelType),
        integer("gpsFileFmtType", &G::gpsFileFmtType),
        integer("elevDispPrec", &G::elevDispPrec),
        real("vAngTol", &G::vAngTol),
        integer("asciiNEZType", &G::asciiNEZType),
        integer("crdFileType", &G::crdFileType),
        integer("ttlStaUnits", &G::ttlStaUnits),
        integer("GPSUnits", &G::GPSUnits),
        integer("levelUnits", &G::levelUnits),
        integer("defaultRawEditor", &G::defaultRawEditor),
        integer("ALTARptOn", &G::ALTARptOn),
        text("relativeErrFileNm", &G::relativeErrFileNm),
        integer("relativeErrFileOn", &G::relativeErrFileOn),
        integer("altaPPM", &G::altaPPM),
        real("altaTolerance", &G::altaTolerance),
        integer("ellipsoid", &G::ellipsoid),
        text("UDPFilePath", &G::UDPFilePath),
        integer("levelFileFmtType", &G::levelFileFmtType),
        integer("Rw5GPSUnits", &G::Rw5GPSUnits),
        integer("useRw5GPSVectors", &G::useRw5GPSVectors),
    }};
    return keys;
}

int idOf(const std::string& name) {
    const auto& keys = table();
    for (int id = 0; id < keyCount; ++id) {
        if (name == keys[static_cast<std::size_t>(id)].name)
            return id;
    }
    return -1;
}

} // namespace projectKeys
