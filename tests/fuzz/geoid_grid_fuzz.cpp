// The geoid grid reader: any bytes as an EGM96 grid file give, at every
// point asked, a finite height, no height with one of the library's codes,
// or a refusal naming the file and the line; never a crash, and no grid or
// temporary file is left behind.

#include "fuzz_input.hpp"

#include "geodetic/geoid_grid.hpp"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Points all over the earth and on the edges a small grid may have.
constexpr double points[][2] = {{0, 0},    {1, 1},      {11, 21}, {-45, 170.5},
                                {90, 360}, {-90, -180}, {10, 20}, {45.25, -93.5}};

bool knownFailure(int status) {
    return status == geoidNoTile || status == geoidFileUnavailable || status == geoidNoStore ||
           status == geoidNoValue || status == geoidFileDamaged;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzinput::InputFile file(fuzzinput::textOf(data, size), "egm96.grd");
    if (openGeoidGrid(file.folder().c_str(), geoidEgm96) != geoidModelFound)
        std::abort();
    for (const auto& point : points) {
        double height = -1.0;
        const int status = getElevFromGeoidGrid(point[0], point[1], &height);
        if (status == geoidOk && !std::isfinite(height))
            std::abort();
        if (status != geoidOk && !knownFailure(status))
            std::abort();
        const std::string fault = geoidGridFault();
        if (status == geoidFileDamaged && fault.find(file.path() + ", line ") == std::string::npos)
            std::abort();
    }
    closeGeoidGrid();
    return 0;
}
