// Reading a .grd geoid grid file into a grid store.

#include "geoid_grid_data.hpp"
#include "plain_text.hpp"

#include "geodetic/geoid_grid.hpp"

#include <cmath>
#include <fstream>
#include <limits>
#include <string>

namespace geodetic_detail {
namespace {

// The longest part of a line that counts.
constexpr std::size_t lineLength = 127;
// The value that marks a node without value.
constexpr double noValueMark = -98765432.1;

struct HeaderNumbers {
    double south, west, north, east, columnIntervals, rowIntervals;
};

bool readHeaderNumbers(std::istream& in, HeaderNumbers* out) {
    double* fields[] = {&out->south,           &out->west,        &out->north, &out->east,
                        &out->columnIntervals, &out->rowIntervals};
    std::string line;
    for (double* field : fields) {
        if (!nextLine(in, line))
            return false;
        *field = grdLineNumber(line);
    }
    return true;
}

// An interval count as the grid takes it: truncated to an integer, at least
// 1 and small enough for an int32.
bool usableCount(double value) {
    return std::isfinite(value) && value >= 1.0 &&
           value < static_cast<double>(std::numeric_limits<std::int32_t>::max());
}

// Checks the header before anything is allocated for it: finite increasing
// bounds, counts of at least 1, and no more nodes than the file has bytes
// (every node value takes a line of at least one byte), so that a damaged or
// hostile header can neither divide by zero nor ask for absurd memory.
bool headerFromNumbers(const HeaderNumbers& n, std::uintmax_t fileBytes, GeoidGridHeader* out) {
    if (!std::isfinite(n.south) || !std::isfinite(n.west) || !std::isfinite(n.north) ||
        !std::isfinite(n.east) || !(n.north > n.south) || !(n.east > n.west) ||
        !usableCount(n.columnIntervals) || !usableCount(n.rowIntervals))
        return false;
    out->south = n.south;
    out->west = n.west;
    out->north = n.north;
    out->east = n.east;
    out->nx = static_cast<std::int32_t>(n.columnIntervals);
    out->ny = static_cast<std::int32_t>(n.rowIntervals);
    out->dLon = (n.east - n.west) / n.columnIntervals;
    out->dLat = (n.north - n.south) / n.rowIntervals;
    const std::uintmax_t nodes = (std::uintmax_t(out->nx) + 1) * (std::uintmax_t(out->ny) + 1);
    return out->dLon > 0.0 && out->dLat > 0.0 && nodes <= fileBytes;
}

} // namespace

double grdLineNumber(std::string_view line) {
    return leadingNumber(line.substr(0, lineLength));
}

GeoidNode grdNodeValue(std::string_view line) {
    if (!line.empty() && line[0] == 'N')
        return {};
    const double value = grdLineNumber(line);
    if (value == noValueMark || !std::isfinite(value))
        return {};
    return {value, true};
}

int loadGeoidGrid(const std::filesystem::path& file, const std::filesystem::path& temporaryFolder,
                  std::unique_ptr<GeoidGrid>* grid) {
    std::error_code ec;
    const std::uintmax_t fileBytes = std::filesystem::file_size(file, ec);
    std::ifstream in(file, std::ios::binary);
    if (ec || !in.is_open())
        return geoidFileUnavailable;
    HeaderNumbers numbers{};
    GeoidGridHeader header;
    if (!readHeaderNumbers(in, &numbers) || !headerFromNumbers(numbers, fileBytes, &header))
        return geoidFileUnavailable;
    std::unique_ptr<GeoidNodeStore> store =
        createGeoidNodeStore(header.nx, header.ny, temporaryFolder);
    if (!store)
        return geoidNoStore;
    const std::int64_t nodeCount = (std::int64_t{header.nx} + 1) * (std::int64_t{header.ny} + 1);
    std::string line;
    for (std::int64_t k = 0; k < nodeCount && nextLine(in, line); ++k)
        store->write(k, grdNodeValue(line));
    *grid = std::make_unique<GeoidGrid>(header, std::move(store));
    return geoidOk;
}

} // namespace geodetic_detail
