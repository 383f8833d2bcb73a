// The one open geoid grid of the process: the model and folder named by
// openGeoidGrid, and the file or tile loaded for the points asked about.

#include "geodetic/geoid_grid.hpp"

#include "geoid_grid_data.hpp"
#include "geoid_models.hpp"
#include "plain_text.hpp"

#include <filesystem>
#include <memory>
#include <string>

namespace {

using geodetic_detail::GeoidGrid;

enum class GeoidState { closed, open, loaded };

struct GeoidModule {
    GeoidState state = GeoidState::closed;
    int kind = 0;
    std::filesystem::path folder;
    // Kept apart: where the grid store puts its temporary file.
    std::filesystem::path temporaryFolder;
    std::unique_ptr<GeoidGrid> grid;
    std::filesystem::path gridFile; // the file `grid` was loaded from
    std::string fault;              // why the last file refused as damaged was
};

GeoidModule geoid;

void releaseGrid() {
    geoid.grid.reset();
    geoid.gridFile.clear();
}

// Loads the file of the open model that covers the point. With
// `keepSameFile`, a grid already loaded from that very file stays.
int loadFileFor(double lat, double lon, bool keepSameFile) {
    std::filesystem::path file;
    const int chosen =
        geodetic_detail::chooseGeoidFile(geoid.folder, geoid.kind, lat, lon, &file, &geoid.fault);
    if (chosen != geoidOk) {
        releaseGrid();
        return chosen;
    }
    if (keepSameFile && geoid.grid && file == geoid.gridFile)
        return geoidOk;
    releaseGrid();
    const int loaded =
        geodetic_detail::loadGeoidGrid(file, geoid.temporaryFolder, &geoid.grid, &geoid.fault);
    if (loaded == geoidOk)
        geoid.gridFile = file;
    return loaded;
}

} // namespace

int openGeoidGrid(const char* folder, int kind) {
    if (folder == nullptr)
        return geoidModelMissing;
    const std::filesystem::path path = geodetic_detail::pathFromText(folder);
    if (!geodetic_detail::geoidModelPresent(path, kind))
        return geoidModelMissing;
    geoid.kind = kind;
    geoid.folder = path;
    geoid.temporaryFolder = path;
    geoid.state = GeoidState::open;
    return geoidModelFound;
}

int getElevFromGeoidGrid(double lat, double lon, double* N) {
    *N = 0.0;
    if (geoid.state == GeoidState::closed)
        return geoidFileUnavailable;
    if (geoid.state == GeoidState::open) {
        const int loaded = loadFileFor(lat, lon, false);
        if (loaded != geoidOk)
            return loaded;
        geoid.state = GeoidState::loaded;
    }
    const int result = getGeoidElev(lat, lon, N);
    if (result != geoidNoValue || !geodetic_detail::isTiledGeoidModel(geoid.kind))
        return result;
    // Another tile may cover the point. The tile in use is kept when the
    // point is in its box but on a node without value.
    const int loaded = loadFileFor(lat, lon, true);
    if (loaded != geoidOk)
        return loaded;
    return getGeoidElev(lat, lon, N);
}

int getGeoidElev(double lat, double lon, double* N) {
    if (!geoid.grid)
        return geoidNoValue;
    if (lon < 0.0)
        lon += 360.0;
    const std::optional<double> height = geoid.grid->heightAt(lat, lon);
    *N = height.value_or(0.0);
    return height ? geoidOk : geoidNoValue;
}

const char* geoidGridFault() {
    return geoid.fault.c_str();
}

void closeGeoidGrid() {
    releaseGrid();
    geoid.fault.clear();
    geoid.state = GeoidState::closed;
    geoid.folder.clear();
    geoid.temporaryFolder.clear();
    geoid.kind = 0;
}
