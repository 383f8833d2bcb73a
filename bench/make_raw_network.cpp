// Writes one of the benchmarks' generated projects into a folder, to run it
// by hand through tarnrun or the desktop program:
//     bench_make_raw_network KIND POINTS FOLDER
// KIND: 2d (circle readings), 2d-given (the same with the true positions as
// starting coordinates), 2d-angles (single angles, measuring errors),
// 2d-angles-exact (single angles without errors), 3d, levels (a levelling
// grid of POINTS benchmarks). The 2D networks also get truth.csv: each
// point's name, true northing and easting.

#include "level_networks.hpp"
#include "raw_networks.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using Writer = std::function<std::filesystem::path(const std::filesystem::path&, int)>;

const std::map<std::string, Writer>& writers() {
    static const std::map<std::string, Writer> kinds = {
        {"2d", [](const auto& f, int n) { return rawnetworks::writeGridProject2D(f, n, false); }},
        {"2d-given",
         [](const auto& f, int n) { return rawnetworks::writeGridProject2D(f, n, true); }},
        {"2d-angles",
         [](const auto& f, int n) { return rawnetworks::writeAngleGridProject2D(f, n, true); }},
        {"2d-angles-exact",
         [](const auto& f, int n) { return rawnetworks::writeAngleGridProject2D(f, n, false); }},
        {"3d", [](const auto& f, int n) { return rawnetworks::writeNetworkProject3D(f, n); }},
        {"levels", [](const auto& f, int n) { return rawnetworks::writeLevelProject(f, n); }},
    };
    return kinds;
}

void writeTruth(const std::filesystem::path& folder,
                const std::vector<rawnetworks::GridPosition>& truth) {
    std::ofstream out(folder / "truth.csv");
    for (std::size_t i = 0; i < truth.size(); ++i)
        out << "P" << i << ',' << std::to_string(truth[i].northing) << ','
            << std::to_string(truth[i].easting) << '\n';
}

} // namespace

int main(int argc, char** argv) {
    const auto writer = argc == 4 ? writers().find(argv[1]) : writers().end();
    const int points = argc == 4 ? std::atoi(argv[2]) : 0;
    if (writer == writers().end() || points < 16) {
        std::fprintf(
            stderr, "usage: bench_make_raw_network 2d|2d-given|2d-angles|2d-angles-exact|3d|levels "
                    "POINTS FOLDER\n  (at least 16 points)\n");
        return 2;
    }
    const std::filesystem::path folder = argv[3];
    std::filesystem::create_directories(folder);
    std::printf("%s\n", writer->second(folder, points).string().c_str());
    const std::string kind = argv[1];
    if (kind.starts_with("2d-angles"))
        writeTruth(folder, rawnetworks::angleGridTruth(points));
    else if (kind.starts_with("2d"))
        writeTruth(folder, rawnetworks::gridTruth2D(points));
    return 0;
}
