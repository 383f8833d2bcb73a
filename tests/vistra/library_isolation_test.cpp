// The built library as the desktop program loads it: it exports its three
// entry points and nothing else, and its copy of the computing core works on
// lists and settings of its own, so a model it builds never touches the
// program's.

#include "graph_project.hpp"

#include "engine/adjustment_results.hpp"
#include "vistra/network_model.hpp"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using IsWindowOpenFn = int (*)(std::uint16_t);
using ShowWithSettingsFn = int (*)(std::uint16_t*, void*, void*, const globalVars*, int,
                                   const errEllipseRec*, int);

struct LibraryCloser {
    void operator()(void* handle) const { dlclose(handle); }
};
using LoadedLibrary = std::unique_ptr<void, LibraryCloser>;

// The names of the defined dynamic symbols of a shared object, from nm.
std::vector<std::string> exportedNames(const std::string& path) {
    const std::string command = "nm -D --defined-only --format=posix '" + path + "'";
    std::vector<std::string> names;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return names;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::istringstream fields(line);
        std::string name;
        fields >> name;
        names.push_back(name);
    }
    pclose(pipe);
    std::sort(names.begin(), names.end());
    return names;
}

// A snapshot of the program's lists that a model build would change.
struct ListCounts {
    int stations, points2D, control2D, angles2D, distances2D, raw;
    std::string firstPoint;
    bool operator==(const ListCounts&) const = default;
};

ListCounts countLists() {
    coordRec first;
    const bool any = pointList2D.getAt(0, first) == 0;
    return {stationList.count(),
            pointList2D.count(),
            controlPointList2D.count(),
            angleList2D.count(),
            distanceList2D.count(),
            rawDataList.count(),
            any ? std::string(first.name) : std::string()};
}

// The program's own lists, filled with a network of its own.
void fillProgramLists() {
    coordRec p;
    setPointName(p.name, "MAIN1");
    p.northing = 1.0;
    p.easting = 2.0;
    pointList2D.append(p);
    setPointName(p.name, "MAIN2");
    controlPointList2D.append(p);
    angleObs2D a;
    setPointName(a.instrument, "MAIN1");
    setPointName(a.backsight, "MAIN2");
    setPointName(a.foresight, "MAIN3");
    angleList2D.append(a);
    stationRec s;
    setPointName(s.name, "MAIN3D");
    stationList.append(s);
    rawRec r;
    rawDataList.append(r);
}

std::string examplePrj() {
    return std::string(TARNWELL_EXAMPLES) + "/site/site.prj";
}

} // namespace

TEST(VistraLibrary, ExportsTheThreeEntryPointsAlone) {
    EXPECT_EQ(exportedNames(VISTRA_LIBRARY),
              (std::vector<std::string>{"IsWindowOpen", "showZureruvuv", "showZureruvuvLS"}));
}

// The library builds the example project's model inside itself (the
// window cannot be made without the program's main window, so the call
// reports 0) while the program's lists and settings hold another project.
TEST(VistraLibrary, BuildingAModelLeavesTheProgramsListsAndSettingsAlone) {
    graphtest::GraphProject program;
    projectVars.pInputFileName = "main.vkr\n";
    fillProgramLists();
    const ListCounts before = countLists();
    const globalVars programSettings = projectVars;

    globalVars other;
    ASSERT_NE(other.readProjectFile(examplePrj()), 0);
    other.projectFileName = examplePrj();

    // The same build in this process empties and refills these very lists:
    // had the library shared them, the check below would see it.
    {
        graphtest::GraphProject inProcess;
        fillProgramLists();
        projectVars = other;
        RecordingShell shell;
        rawDataGraph model(shell);
        ASSERT_EQ(model.buildStatus, graphBuilt);
        ASSERT_EQ(model.setupCount(), 4);
        EXPECT_NE(countLists(), before);
    }
    fillProgramLists();
    projectVars = programSettings;
    ASSERT_EQ(countLists(), before);

    LoadedLibrary library(dlopen(VISTRA_LIBRARY, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE));
    ASSERT_NE(library, nullptr) << dlerror();
    auto isWindowOpen = reinterpret_cast<IsWindowOpenFn>(dlsym(library.get(), "IsWindowOpen"));
    auto show = reinterpret_cast<ShowWithSettingsFn>(dlsym(library.get(), "showZureruvuvLS"));
    ASSERT_NE(isWindowOpen, nullptr);
    ASSERT_NE(show, nullptr);

    std::uint16_t id = 0xFFFF;
    const errEllipseRec ellipses[1] = {};
    EXPECT_EQ(show(&id, nullptr, nullptr, &other, 1, ellipses, 1), 0);
    EXPECT_EQ(id, 0xFFFF);
    EXPECT_EQ(isWindowOpen(0), 0);

    EXPECT_EQ(countLists(), before);
    EXPECT_EQ(projectVars.pInputFileName, "main.vkr\n");
    EXPECT_EQ(projectVars.projectFileName, programSettings.projectFileName);
}
