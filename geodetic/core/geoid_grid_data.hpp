#pragma once
// A loaded geoid grid: its header, its nodes and the interpolation in it.

#include "geoid_node_store.hpp"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

namespace geodetic_detail {

struct GeoidGridHeader {
    double south = 0.0, west = 0.0, north = 0.0, east = 0.0; // degrees, longitudes 0-360 east
    std::int32_t nx = 0, ny = 0;   // intervals between the columns and between the rows
    double dLon = 0.0, dLat = 0.0; // spacings, from the counts as written (before truncation)
};

// A number of a .grd line: its first 127 characters read as a decimal
// number in the C locale (0 when there is none).
double grdLineNumber(std::string_view line);

// A node value line: absent when it begins with 'N', holds -98765432.1 or
// is not a finite number.
GeoidNode grdNodeValue(std::string_view line);

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
// file cannot be opened or its header is unusable, geoidNoStore when no
// store can be made (temporary file in `temporaryFolder`).
int loadGeoidGrid(const std::filesystem::path& file, const std::filesystem::path& temporaryFolder,
                  std::unique_ptr<GeoidGrid>* grid);

} // namespace geodetic_detail
