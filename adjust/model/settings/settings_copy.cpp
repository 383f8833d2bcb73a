#include "model/settings/global_vars.hpp"

namespace {

template <class Member, class... Members>
void copyMembers(globalVars& to, const globalVars& from, Member member, Members... members) {
    to.*member = from.*member;
    if constexpr (sizeof...(members) > 0)
        copyMembers(to, from, members...);
}

} // namespace

void globalVars::copySettings(const globalVars& s) {
    using g = globalVars;
    copyMembers(*this, s, &g::pInputFileName, &g::reportFileName, &g::controlNEFileName,
                &g::nullElev, &g::crdFileName, &g::pGPSFileName, &g::pClosureFileName,
                &g::PtSubstituteS, &g::pLevRawFileName, &g::relativeErrFileNm, &g::UDPFilePath,
                &g::projectFileName);
    copyMembers(*this, s, &g::convergeLimit, &g::gridSystem, &g::gridZone, &g::SF, &g::projZ,
                &g::useProjZ, &g::dUnits, &g::ZUnits, &g::HorizUnits, &g::geodeticModel,
                &g::geoidHt, &g::geoidModel, &g::geoidModelType, &g::ellipsoid);
    copyMembers(*this, s, &g::stErrDist, &g::stErrDistPPM, &g::stErrAz, &g::stErrX, &g::stErrY,
                &g::stErrZ, &g::stErrPoint, &g::stErrRead, &g::stErrTrgtCentering,
                &g::stErrInstrCentering, &g::vStErrPoint, &g::vStErrRead, &g::rodStErr, &g::HIStErr,
                &g::stErrGPSCentering, &g::stErrGPSMultFactor, &g::diffLevDistBSFS,
                &g::diffLevCollimation, &g::diffLevRodRead);
    copyMembers(*this, s, &g::maxIterations, &g::vertAdjust, &g::horizAdjust, &g::curvRefract,
                &g::includeSS, &g::confidenceInterval, &g::vDistTol, &g::hDistTol, &g::hAngTol,
                &g::vAngTol, &g::ALTARptOn, &g::relativeErrFileOn, &g::altaTolerance, &g::altaPPM);
    copyMembers(*this, s, &g::includeGPSVectors, &g::includeRawData, &g::includeClosure,
                &g::includeLevData, &g::supplamentalNE, &g::nezFileFmtType, &g::gpsFileFmtType,
                &g::ttlStaUnits, &g::GPSUnits, &g::levelUnits, &g::levelFileFmtType,
                &g::Rw5GPSUnits, &g::useRw5GPSVectors, &g::defaultRawEditor);
    copyMembers(*this, s, &g::neOutPrec, &g::zOutPrec, &g::directionType, &g::NEDisplayType,
                &g::distPrec, &g::coordPrec, &g::directionPrec, &g::version, &g::wrtToCrd,
                &g::angleType, &g::elevDispPrec, &g::asciiNEZType, &g::crdFileType);
    copyMembers(*this, s, &g::editorStarted, &g::transferStarted, &g::useVkTool);
    copyMembers(*this, s, &g::blunderIterations, &g::blunderFloatShoTtl, &g::blunderFloatShoType,
                &g::blunderProximity);
}
