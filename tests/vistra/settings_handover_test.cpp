// The library takes over the caller's settings member by member; the folders
// of the INI file, the start-up option, the blunder method, the embedded
// projection and the program's shared-memory handles stay its own.

#include "model/settings/global_vars.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct MemberRow {
    const char* name;
    std::function<void(globalVars&)> change; // a value no default has
    std::function<bool(const globalVars&, const globalVars&)> same;
};

template <class T> MemberRow row(const char* name, T globalVars::*member, T value) {
    return {name, [member, value](globalVars& g) { g.*member = value; },
            [member](const globalVars& a, const globalVars& b) { return a.*member == b.*member; }};
}

#define ROW(member, value) row(#member, &globalVars::member, value)

using s = std::string;

const std::vector<MemberRow>& copiedMembers() {
    static const std::vector<MemberRow> rows = {
        ROW(pInputFileName, s("a.vkr\nb.vkr\n")),
        ROW(reportFileName, s("r.RPT")),
        ROW(controlNEFileName, s("c.nez")),
        ROW(nullElev, s("-1")),
        ROW(crdFileName, s("p.crd")),
        ROW(pGPSFileName, s("g.gps\n")),
        ROW(pClosureFileName, s("t.cls")),
        ROW(PtSubstituteS, s("AKA")),
        ROW(pLevRawFileName, s("l.lev\n")),
        ROW(relativeErrFileNm, s("pairs.alt")),
        ROW(UDPFilePath, s("own.udp")),
        ROW(projectFileName, s("/site/site.prj")),
        ROW(convergeLimit, 0.25),
        ROW(gridSystem, 4),
        ROW(gridZone, 17),
        ROW(SF, 0.9996),
        ROW(projZ, 123.5),
        ROW(useProjZ, 1),
        ROW(dUnits, 7),
        ROW(ZUnits, 2),
        ROW(HorizUnits, 1),
        ROW(geodeticModel, 1),
        ROW(geoidHt, -31.5),
        ROW(geoidModel, 1),
        ROW(geoidModelType, 6),
        ROW(ellipsoid, 9),
        ROW(stErrDist, 0.011),
        ROW(stErrDistPPM, 2.5),
        ROW(stErrAz, 7.5),
        ROW(stErrX, 0.031),
        ROW(stErrY, 0.032),
        ROW(stErrZ, 0.033),
        ROW(stErrPoint, 1.25),
        ROW(stErrRead, 1.5),
        ROW(stErrTrgtCentering, 0.0021),
        ROW(stErrInstrCentering, 0.0022),
        ROW(vStErrPoint, 4.25),
        ROW(vStErrRead, 4.5),
        ROW(rodStErr, 0.0031),
        ROW(HIStErr, 0.0032),
        ROW(stErrGPSCentering, 0.0041),
        ROW(stErrGPSMultFactor, 3.5),
        ROW(diffLevDistBSFS, 61.0),
        ROW(diffLevCollimation, 6.5),
        ROW(diffLevRodRead, 0.0007),
        ROW(maxIterations, 23),
        ROW(vertAdjust, 0),
        ROW(horizAdjust, 0),
        ROW(curvRefract, 0),
        ROW(includeSS, 1),
        ROW(confidenceInterval, 99.0),
        ROW(vDistTol, 0.071),
        ROW(hDistTol, 0.072),
        ROW(hAngTol, 0.00011),
        ROW(vAngTol, 0.00012),
        ROW(ALTARptOn, 1),
        ROW(relativeErrFileOn, 1),
        ROW(altaTolerance, 0.09),
        ROW(altaPPM, 75),
        ROW(includeGPSVectors, 1),
        ROW(includeRawData, 0),
        ROW(includeClosure, 1),
        ROW(includeLevData, 1),
        ROW(supplamentalNE, 1),
        ROW(nezFileFmtType, 5),
        ROW(gpsFileFmtType, 8),
        ROW(ttlStaUnits, 3),
        ROW(GPSUnits, 2),
        ROW(levelUnits, 4),
        ROW(levelFileFmtType, 1),
        ROW(Rw5GPSUnits, 2),
        ROW(useRw5GPSVectors, 1),
        ROW(defaultRawEditor, 1),
        ROW(neOutPrec, 5),
        ROW(zOutPrec, 6),
        ROW(directionType, 1),
        ROW(NEDisplayType, 2),
        ROW(distPrec, 5),
        ROW(coordPrec, 6),
        ROW(directionPrec, 3),
        ROW(version, 6),
        ROW(wrtToCrd, 1),
        ROW(angleType, 1),
        ROW(elevDispPrec, 5),
        ROW(asciiNEZType, 3),
        ROW(crdFileType, 4),
        ROW(editorStarted, 1),
        ROW(transferStarted, 1),
        ROW(useVkTool, 1),
        ROW(blunderIterations, 12),
        ROW(blunderFloatShoTtl, 3),
        ROW(blunderFloatShoType, 2),
        ROW(blunderProximity, 0.45),
    };
    return rows;
}

int callerView = 0; // stands for the caller's mapped hand-over block

const std::vector<MemberRow>& keptMembers() {
    static const std::vector<MemberRow> rows = {
        ROW(startFolder, s("/caller/start")),
        ROW(exeDir, s("/caller/geoid/")),
        ROW(tmpDir, s("/caller/tmp/")),
        ROW(helpDir, s("/caller/help/")),
        ROW(helpFile, s("caller.chm")),
        ROW(helpTopic, s("topic")),
        ROW(showStartUpDialog, 1),
        ROW(blunderMethod, 2),
        ROW(useDummyBacksightCoords, 1),
        ROW(glSettingsMapping, 42),
        ROW(glSettingsView, static_cast<void*>(&callerView)),
    };
    return rows;
}

// A caller whose every member differs from a fresh instance.
globalVars changedCaller() {
    globalVars caller;
    for (const MemberRow& r : copiedMembers())
        r.change(caller);
    for (const MemberRow& r : keptMembers())
        r.change(caller);
    caller.udp.ProjName = "Caller's projection";
    return caller;
}

} // namespace

TEST(SettingsHandOver, EveryListedMemberTakesTheCallersValue) {
    const globalVars caller = changedCaller();
    const globalVars fresh;
    globalVars library;
    library.copySettings(caller);
    for (const MemberRow& r : copiedMembers()) {
        SCOPED_TRACE(r.name);
        EXPECT_FALSE(r.same(fresh, caller)) << "the row must change the member";
        EXPECT_TRUE(r.same(library, caller));
    }
}

TEST(SettingsHandOver, TheLibrarysFoldersOptionsAndProjectionStayItsOwn) {
    const globalVars caller = changedCaller();
    const globalVars fresh;
    globalVars library;
    library.copySettings(caller);
    for (const MemberRow& r : keptMembers()) {
        SCOPED_TRACE(r.name);
        EXPECT_TRUE(r.same(library, fresh));
    }
    EXPECT_EQ(library.udp.ProjName, "");
    EXPECT_EQ(library.exeDir, "") << "the library's geoid folder stays empty";
}

TEST(SettingsHandOver, ALaterHandOverOverwritesAnEarlierOne) {
    globalVars first = changedCaller();
    globalVars second;
    second.pInputFileName = "later.vkr\n";
    globalVars library;
    library.copySettings(first);
    library.copySettings(second);
    for (const MemberRow& r : copiedMembers()) {
        SCOPED_TRACE(r.name);
        EXPECT_TRUE(r.same(library, second));
    }
}
