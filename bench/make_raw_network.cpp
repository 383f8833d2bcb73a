// Writes one of the benchmarks' generated projects into a folder, to run it
// by hand through tarnrun or the desktop program:
//     bench_make_raw_network 2d|2d-given|3d POINTS FOLDER [SIDESHOTS [out]]
// SIDESHOTS further sightings from the last setup, each to a point of its
// own, kept in the adjustment unless `out` is given.

#include "raw_networks.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    const bool argumentsFit = argc >= 4 && argc <= 6;
    const std::string kind = argumentsFit ? argv[1] : "";
    const int points = argumentsFit ? std::atoi(argv[2]) : 0;
    rawnetworks::Sideshots sideshots;
    if (argc >= 5)
        sideshots.count = std::atoi(argv[4]);
    if (argc == 6)
        sideshots.adjusted = std::string(argv[5]) != "out";
    if ((kind != "2d" && kind != "2d-given" && kind != "3d") || points < 16 ||
        sideshots.count < 0) {
        std::fprintf(
            stderr, "usage: bench_make_raw_network 2d|2d-given|3d POINTS FOLDER [SIDESHOTS [out]]\n"
                    "  (at least 16 points)\n");
        return 2;
    }
    const std::filesystem::path folder = argv[3];
    std::filesystem::create_directories(folder);
    const std::filesystem::path project =
        kind == "3d"
            ? rawnetworks::writeNetworkProject3D(folder, points, sideshots)
            : rawnetworks::writeGridProject2D(folder, points, kind == "2d-given", sideshots);
    std::printf("%s\n", project.string().c_str());
    return 0;
}
