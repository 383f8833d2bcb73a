// Reading a .grd geoid grid file into a grid store.

#include "geoid_grid_data.hpp"

#include "geodetic/geoid_grid.hpp"
#include "platform/line_reader.hpp"

#include <cctype>
#include <cmath>
#include <fstream>
#include <limits>
#include <string>

namespace geodetic_detail {
namespace {

// The value that marks a node without value.
constexpr double noValueMark = -98765432.1;

// How a refusal names the header lines, in file order.
constexpr const char* headerFields[grdHeaderLines] = {
    "southern latitude", "western longitude",     "northern latitude",
    "eastern longitude", "column interval count", "row interval count"};

struct HeaderNumbers {
    double south, west, north, east, columnIntervals, rowIntervals;
};

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
    if (!(n.north > n.south) || !(n.east > n.west) || !usableCount(n.columnIntervals) ||
        !usableCount(n.rowIntervals))
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

// "nan", "inf" and "infinity" in any letter case, with a sign or without:
// what a program writing a grid puts where it has no value.
bool spellsNoFiniteNumber(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return false;
    text.remove_prefix(first);
    text.remove_suffix(text.size() - text.find_last_not_of(" \t") - 1);
    if (text.front() == '-' || text.front() == '+')
        text.remove_prefix(1);
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "nan" || lower == "inf" || lower == "infinity";
}

} // namespace

std::string grdLineFault(const std::filesystem::path& file, int lineNumber,
                         const platform::FieldError& error) {
    return "Geoid grid file " + file.string() + ", line " + std::to_string(lineNumber) + ": " +
           error.sentence();
}

GrdRead readGrdHeader(platform::LineReader& lines, const std::filesystem::path& file, int count,
                      double* numbers, std::string* fault) {
    std::string line;
    for (int i = 0; i < count && i < grdHeaderLines; ++i) {
        if (!lines.next(line))
            return GrdRead::cutShort;
        const platform::FieldValue<double> number = platform::readNumber(line, headerFields[i]);
        if (!number) {
            *fault = grdLineFault(file, lines.lineNumber(), number.error());
            return GrdRead::damaged;
        }
        numbers[i] = *number;
    }
    return GrdRead::read;
}

platform::FieldValue<GeoidNode> grdNodeValue(std::string_view line) {
    if (!line.empty() && line[0] == 'N')
        return GeoidNode{};
    const platform::FieldValue<double> value = platform::readNumber(line, "node value");
    if (!value && spellsNoFiniteNumber(line))
        return GeoidNode{};
    if (!value)
        return value.error();
    if (*value == noValueMark)
        return GeoidNode{};
    return GeoidNode{*value, true};
}

int loadGeoidGrid(const std::filesystem::path& file, const std::filesystem::path& temporaryFolder,
                  std::unique_ptr<GeoidGrid>* grid, std::string* fault) {
    std::error_code ec;
    const std::uintmax_t fileBytes = std::filesystem::file_size(file, ec);
    std::ifstream in(file, std::ios::binary);
    if (ec || !in.is_open())
        return geoidFileUnavailable;
    platform::LineReader lines(in);
    HeaderNumbers numbers{};
    switch (readGrdHeader(lines, file, grdHeaderLines, &numbers.south, fault)) {
    case GrdRead::read:
        break;
    case GrdRead::cutShort:
        return geoidFileUnavailable;
    case GrdRead::damaged:
        return geoidFileDamaged;
    }
    GeoidGridHeader header;
    if (!headerFromNumbers(numbers, fileBytes, &header))
        return geoidFileUnavailable;
    std::unique_ptr<GeoidNodeStore> store =
        createGeoidNodeStore(header.nx, header.ny, temporaryFolder);
    if (!store)
        return geoidNoStore;
    const std::int64_t nodeCount = (std::int64_t{header.nx} + 1) * (std::int64_t{header.ny} + 1);
    std::string line;
    for (std::int64_t k = 0; k < nodeCount && lines.next(line); ++k) {
        const platform::FieldValue<GeoidNode> node = grdNodeValue(line);
        if (!node) {
            *fault = grdLineFault(file, lines.lineNumber(), node.error());
            return geoidFileDamaged;
        }
        store->write(k, *node);
    }
    *grid = std::make_unique<GeoidGrid>(header, std::move(store));
    return geoidOk;
}

} // namespace geodetic_detail
