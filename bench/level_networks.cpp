#include "level_networks.hpp"

#include "grid_shape.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"

#include <cmath>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace rawnetworks {

namespace {

constexpr unsigned levelSeed = 2027;
constexpr double rodMiddle_m = 2.0;

std::string levelName(int i) {
    return "L" + std::to_string(i);
}

std::vector<double> terrain(int count, int side) {
    std::mt19937 random(levelSeed);
    std::uniform_real_distribution<double> roughness(-0.5, 0.5);
    std::vector<double> heights;
    for (int i = 0; i < count; ++i)
        heights.push_back(100.0 + 5.0 * std::sin((i % side) / 7.0) +
                          5.0 * std::cos((i / side) / 9.0) + roughness(random));
    return heights;
}

bool isCorner(int i, int side, int count) {
    return i == 0 || i == side - 1 || i == count - side || i == count - 1;
}

// The elevation token of a run's end: FE for a benchmark, else EL.
std::string elevationToken(int i, int side, int count, const std::vector<double>& heights) {
    return platform::formatC("%s%.3f", isCorner(i, side, count) ? "FE" : "EL", heights[i]);
}

// One run from `from` to `to`: half the rise on each of its two setups.
void appendRun(std::vector<std::string>& lines, int from, int to, int side,
               const std::vector<double>& heights) {
    const int count = static_cast<int>(heights.size());
    const double half = (heights[to] - heights[from]) / 2.0;
    lines.push_back(platform::formatC("SR,PN%s,BS%.3f,FS,%s,--", levelName(from).c_str(),
                                      rodMiddle_m,
                                      elevationToken(from, side, count, heights).c_str()));
    lines.push_back(platform::formatC("TP,PN,BS%.3f,FS%.3f,--", rodMiddle_m, rodMiddle_m - half));
    lines.push_back(platform::formatC(
        "ER,PN%s,BS,FS%.3f,%s,--", levelName(to).c_str(), rodMiddle_m - half,
        isCorner(to, side, count) ? elevationToken(to, side, count, heights).c_str() : "EL"));
}

} // namespace

std::filesystem::path writeLevelProject(const std::filesystem::path& folder, int benchmarks) {
    const int side = gridshape::rowLength(benchmarks);
    const std::vector<double> heights = terrain(benchmarks, side);
    std::vector<std::string> lines;
    for (int i = 0; i < benchmarks; ++i) {
        if (i % side + 1 < side)
            appendRun(lines, i, i + 1, side, heights);
        if (i + side < benchmarks)
            appendRun(lines, i, i + side, side, heights);
    }
    std::ofstream out(folder / "network.lev", std::ios::binary);
    for (const std::string& line : lines)
        out << line << "\r\n";
    out.close();

    globalVars s;
    s.setDefaults();
    s.geodeticModel = 0;
    s.gridSystem = 0;
    s.SF = 1.0;
    s.horizAdjust = 0;
    s.vertAdjust = 1;
    s.includeRawData = 0;
    s.includeGPSVectors = 0;
    s.includeLevData = 1;
    s.pLevRawFileName = "network.lev";
    s.levelFileFmtType = 0;
    s.includeClosure = 0;
    s.wrtToCrd = 0;
    s.relativeErrFileOn = 0;
    const std::filesystem::path project = folder / "network.prj";
    s.writeProjectFile(project.string());
    return project;
}

} // namespace rawnetworks
