#pragma once
// A loaded geoid grid: its header, its nodes and the interpolation in it.

#include "geoid_node_store.hpp"

#include "platform/line_reader.hpp"
#include "platform/record_fields.hpp"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace geodetic_detail {

struct GeoidGridHeader {
    double south = 0.0, west = 0.0, north = 0.0, east = 0.0; // degrees, longitudes 0-360 east
    std::int32_t nx = 0, ny = 0;   // intervals between the columns and between the rows
    double dLon = 0.0, dLat = 0.0; // spacings, from the counts as written (before truncation)
};

// The header of a .grd file: south, west, north, east (degrees), then the
// column and row interval counts, one a line.
inline constexpr int grdHeaderLines = 6;

enum class GrdRead { read, cutShort, damaged };

// "Geoid grid file <file>, line <n>: " and the error's sentence.
std::string grdLineFault(const std::filesystem::path& file, int lineNumber,
                         const platform::FieldError& error);

// The first `count` header numbers of `lines` into `numbers`, each line
// wholly a number: `damaged` with the refusal in *fault when one is not,
// `cutShort` when the file ends before them.
GrdRead readGrdHeader(platform::LineReader& lines, const std::filesystem::path& file, int count,
                      double* numbers, std::string* fault);

// A node value line: absent when it begins with 'N', holds -98765432.1 or
// spells no finite number ("nan", "-inf"); refused when it is not wholly a
// number otherwise ("#0.000" is no 0).
platform::FieldValue<GeoidNode> grdNodeValue(std::string_view line);

class GeoidGrid {
public:
    GeoidGrid(const GeoidGridHeader& header, std::unique_ptr<GeoidNodeStore> store)
        : header_(header), store_(std::move(store)) {}

    const GeoidGridHeader& header() const { return header_; }
    GeoidNodeStore& store() { return *store_; }

    // The geoid height at (lat, lon), lon east 0-360; none outside the grid
    // or where the interpolation rules find no value.
    std::optional<double> heightAt(double lat, double lon);

private:
    bool exists(std::int64_t column, std::int64_t row) const;
    // The node, absent when it lies outside the grid.
    GeoidNode node(std::int64_t column, std::int64_t row);
    double lonOf(std::int64_t column) const { return header_.west + header_.dLon * column; }
    double latOf(std::int64_t row) const { return header_.south + header_.dLat * row; }

    std::optional<double> bicubic(std::int64_t c, std::int64_t r, double t, double s);
    std::optional<double> cornerRules(std::int64_t c, std::int64_t r, double lat, double lon);

    GeoidGridHeader header_;
    std::unique_ptr<GeoidNodeStore> store_;
};

// Loads a .grd file: geoidOk with *grid set, geoidFileUnavailable when the
// file cannot be opened or its header is unusable, geoidFileDamaged with the
// file, line and text in *fault when a line is not wholly a number,
// geoidNoStore when no store can be made (temporary file in
// `temporaryFolder`).
int loadGeoidGrid(const std::filesystem::path& file, const std::filesystem::path& temporaryFolder,
                  std::unique_ptr<GeoidGrid>* grid, std::string* fault);

} // namespace geodetic_detail
