// Writes one of the benchmarks' generated projects into a folder, to run it
// by hand through tarnrun or the desktop program:
//     bench_make_raw_network KIND POINTS FOLDER [SIDESHOTS [out]]
// KIND: 2d (circle readings), 2d-given (the same with the true positions as
// starting coordinates), 2d-angles (single angles, measuring errors),
// 2d-angles-exact (single angles without errors), 3d, levels (a levelling
// grid of POINTS benchmarks). The 2D networks also get truth.csv: each
// point's name, true northing and easting. SIDESHOTS (2d, 2d-given and 3d)
// further sightings from the last setup, each to a point of its own, kept in
// the adjustment unless `out` is given.

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

using rawnetworks::Sideshots;
using Writer = std::function<std::filesystem::path(const std::filesystem::path&, int, Sideshots)>;

struct Kind {
    Writer write;
    bool takesSideshots;
};

const std::map<std::string, Kind>& kinds() {
    static const std::map<std::string, Kind> all = {
        {"2d",
         {[](const auto& f, int n, Sideshots s) {
              return rawnetworks::writeGridProject2D(f, n, false, s);
          },
          true}},
        {"2d-given",
         {[](const auto& f, int n, Sideshots s) {
              return rawnetworks::writeGridProject2D(f, n, true, s);
          },
          true}},
        {"2d-angles",
         {[](const auto& f, int n, Sideshots) {
              return rawnetworks::writeAngleGridProject2D(f, n, true);
          },
          false}},
        {"2d-angles-exact",
         {[](const auto& f, int n, Sideshots) {
              return rawnetworks::writeAngleGridProject2D(f, n, false);
          },
          false}},
        {"3d",
         {[](const auto& f, int n, Sideshots s) {
              return rawnetworks::writeNetworkProject3D(f, n, s);
          },
          true}},
        {"levels",
         {[](const auto& f, int n, Sideshots) { return rawnetworks::writeLevelProject(f, n); },
          false}},
    };
    return all;
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
    const bool argumentsFit = argc >= 4 && argc <= 6;
    const auto kind = argumentsFit ? kinds().find(argv[1]) : kinds().end();
    const int points = argumentsFit ? std::atoi(argv[2]) : 0;
    Sideshots sideshots;
    if (argc >= 5)
        sideshots.count = std::atoi(argv[4]);
    if (argc == 6)
        sideshots.adjusted = std::string(argv[5]) != "out";
    if (kind == kinds().end() || points < 16 || sideshots.count < 0 ||
        (argc >= 5 && !kind->second.takesSideshots)) {
        std::fprintf(
            stderr, "usage: bench_make_raw_network 2d|2d-given|2d-angles|2d-angles-exact|3d|levels "
                    "POINTS FOLDER [SIDESHOTS [out]]\n  (at least 16 points; sideshots with 2d, "
                    "2d-given and 3d)\n");
        return 2;
    }
    const std::filesystem::path folder = argv[3];
    std::filesystem::create_directories(folder);
    std::printf("%s\n", kind->second.write(folder, points, sideshots).string().c_str());
    const std::string name = argv[1];
    if (name.starts_with("2d-angles"))
        writeTruth(folder, rawnetworks::angleGridTruth(points));
    else if (name.starts_with("2d"))
        writeTruth(folder, rawnetworks::gridTruth2D(points));
    return 0;
}
