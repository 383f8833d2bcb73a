// Writes one of the benchmarks' generated projects into a folder, to run it
// by hand through tarnrun or the desktop program:
//     bench_make_raw_network 2d|2d-given|3d|levels POINTS FOLDER

#include "level_networks.hpp"
#include "raw_networks.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    const std::string kind = argc == 4 ? argv[1] : "";
    const int points = argc == 4 ? std::atoi(argv[2]) : 0;
    if ((kind != "2d" && kind != "2d-given" && kind != "3d" && kind != "levels") || points < 16) {
        std::fprintf(stderr, "usage: bench_make_raw_network 2d|2d-given|3d|levels POINTS FOLDER\n"
                             "  (at least 16 points)\n");
        return 2;
    }
    const std::filesystem::path folder = argv[3];
    std::filesystem::create_directories(folder);
    const std::filesystem::path project =
        kind == "3d"       ? rawnetworks::writeNetworkProject3D(folder, points)
        : kind == "levels" ? rawnetworks::writeLevelProject(folder, points)
                           : rawnetworks::writeGridProject2D(folder, points, kind == "2d-given");
    std::printf("%s\n", project.string().c_str());
    return 0;
}
