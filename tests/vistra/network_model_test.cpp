// The network model: what it marks, the setups and foresights it builds and
// where it places them, for the cases of the 2D and 3D roads.

#include "graph_project.hpp"

#include "vistra/network_model.hpp"

#include <gtest/gtest.h>

#include <cmath>

using graphtest::Fore;
using graphtest::GraphProject;
using graphtest::setupLines;

namespace {

constexpr double pi = 3.14159265358979323846;

std::vector<graphPoint> pointsOf(const rawDataGraph& g) {
    std::vector<graphPoint> points;
    graphPoint p;
    for (int i = 0; g.getPointAt(i, p) == 0; ++i)
        points.push_back(p);
    return points;
}

std::vector<graphSetup> setupsOf(const rawDataGraph& g) {
    std::vector<graphSetup> setups;
    graphSetup s;
    for (int i = 0; g.getSetupAt(i, s) == 0; ++i)
        setups.push_back(s);
    return setups;
}

std::string nameOf(const char* field) {
    return field;
}

} // namespace

TEST(NetworkModel, DumpExample) {
    GraphProject project;
    ASSERT_NE(projectVars.readProjectFile(std::string(TARNWELL_EXAMPLES) + "/site/site.prj"), 0);
    projectVars.projectFileName = std::string(TARNWELL_EXAMPLES) + "/site/site.prj";
    RecordingShell shell;
    rawDataGraph g(shell);
    for (auto& t : shell.boxTexts())
        std::printf("box: %s\n", t.c_str());
    std::printf("status %d extents %f %f %f %f\n", g.buildStatus, g.minN, g.minE, g.maxN, g.maxE);
    for (auto& p : pointsOf(g))
        std::printf("pt %s %f %f type %d\n", p.name, p.northing, p.easting, p.pointType);
    for (auto& s : setupsOf(g)) {
        std::printf("setup %s bs %s dist %f dir %f src %d N %f E %f\n", s.instrument, s.backsight,
                    s.backsightDist, s.direction, s.directionSource, s.instrumentN, s.instrumentE);
        for (auto& f : s.foresights)
            std::printf("   fs %s ang %f d %f N %f E %f\n", f.foresight, f.angle, f.distance,
                        f.northing, f.easting);
    }
}
