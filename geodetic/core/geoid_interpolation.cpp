// Interpolation in a loaded geoid grid: bicubic Lagrange where the 4 x 4
// nodes around the point all have values, rules on the cell's corners
// elsewhere.

#include "geoid_grid_data.hpp"

#include <array>
#include <cmath>

namespace geodetic_detail {
namespace {

// Closer than this (degrees) a point is on a node or a cell side.
constexpr double onGridTolerance_deg = 1e-6;

// Cubic Lagrange weights of the nodes at offsets -1, 0, 1, 2 for a point at
// offset t (0 <= t <= 1) between the nodes 0 and 1.
std::array<double, 4> lagrangeWeights(double t) {
    return {-t * (t - 1.0) * (t - 2.0) / 6.0, (t + 1.0) * (t - 1.0) * (t - 2.0) / 2.0,
            -(t + 1.0) * t * (t - 2.0) / 2.0, (t + 1.0) * t * (t - 1.0) / 6.0};
}

struct Corner {
    std::int64_t column, row;
    bool exists;
    GeoidNode node;
    double lat, lon;
};

} // namespace

bool GeoidGrid::exists(std::int64_t column, std::int64_t row) const {
    return column >= 0 && row >= 0 && column <= header_.nx && row <= header_.ny;
}

GeoidNode GeoidGrid::node(std::int64_t column, std::int64_t row) {
    if (!exists(column, row))
        return {};
    return store_->read(column + row * (std::int64_t{header_.nx} + 1));
}

std::optional<double> GeoidGrid::heightAt(double lat, double lon) {
    const GeoidGridHeader& h = header_;
    if (lon < h.west || lat < h.south || lon > h.west + h.nx * h.dLon ||
        lat > h.south + h.ny * h.dLat)
        return std::nullopt;
    const auto c = static_cast<std::int64_t>(std::floor((lon - h.west) / h.dLon));
    const auto r = static_cast<std::int64_t>(std::floor((lat - h.south) / h.dLat));
    const double t = (lon - lonOf(c)) / h.dLon;
    const double s = (lat - latOf(r)) / h.dLat;
    if (const std::optional<double> value = bicubic(c, r, t, s))
        return value;
    return cornerRules(c, r, lat, lon);
}

std::optional<double> GeoidGrid::bicubic(std::int64_t c, std::int64_t r, double t, double s) {
    if (!exists(c - 1, r - 1) || !exists(c + 2, r + 2))
        return std::nullopt;
    const std::array<double, 4> wx = lagrangeWeights(t), wy = lagrangeWeights(s);
    double sum = 0.0, weights = 0.0;
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            const GeoidNode n = node(c - 1 + i, r - 1 + j);
            if (!n.valid)
                return std::nullopt;
            const double w = wx[static_cast<std::size_t>(i)] * wy[static_cast<std::size_t>(j)];
            sum += w * n.value;
            weights += w;
        }
    return sum / weights;
}

std::optional<double> GeoidGrid::cornerRules(std::int64_t c, std::int64_t r, double lat,
                                             double lon) {
    std::array<Corner, 4> corners{}; // A (c, r), B (c+1, r), C (c+1, r+1), D (c, r+1)
    const std::int64_t offsets[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    bool allExist = true, anyValue = false, allValues = true;
    for (std::size_t i = 0; i < 4; ++i) {
        Corner& k = corners[i];
        k.column = c + offsets[i][0];
        k.row = r + offsets[i][1];
        k.exists = exists(k.column, k.row);
        k.node = node(k.column, k.row);
        k.lat = latOf(k.row);
        k.lon = lonOf(k.column);
        allExist = allExist && k.exists;
        anyValue = anyValue || k.node.valid;
        allValues = allValues && k.node.valid;
    }
    const Corner &a = corners[0], &b = corners[1], &cc = corners[2], &d = corners[3];

    // On the last column or row: inverse-distance weighting over the corners
    // that exist and have values.
    if (!allExist) {
        double sum = 0.0, weights = 0.0;
        for (const Corner& k : corners) {
            if (!k.exists || !k.node.valid)
                continue;
            const double distance = std::hypot(k.lat - lat, k.lon - lon);
            if (distance < onGridTolerance_deg)
                return k.node.value;
            sum += k.node.value / distance;
            weights += 1.0 / distance;
        }
        if (weights == 0.0)
            return std::nullopt;
        return sum / weights;
    }
    if (!anyValue)
        return std::nullopt;

    auto distance = [](double x) { return x < onGridTolerance_deg ? 0.0 : x; };
    const double up = distance(d.lat - lat), down = distance(lat - a.lat);
    const double left = distance(lon - a.lon), right = distance(b.lon - lon);
    const double dLat = header_.dLat, dLon = header_.dLon;
    const double leftSide = (d.node.value * down + a.node.value * up) / dLat;
    const double rightSide = (cc.node.value * down + b.node.value * up) / dLat;
    const double topSide = (cc.node.value * left + d.node.value * right) / dLon;
    const double bottomSide = (b.node.value * left + a.node.value * right) / dLon;

    if (up == 0.0 || down == 0.0 || left == 0.0 || right == 0.0) {
        std::optional<double> value;
        for (const Corner& k : corners)
            if (k.node.valid && std::abs(k.lat - lat) < onGridTolerance_deg &&
                std::abs(k.lon - lon) < onGridTolerance_deg)
                value = k.node.value;
        if (value)
            return value;
        if (d.node.valid && cc.node.valid && up == 0.0)
            value = topSide;
        if (a.node.valid && b.node.valid && down == 0.0)
            value = bottomSide;
        if (a.node.valid && d.node.valid && left == 0.0)
            value = leftSide;
        if (b.node.valid && cc.node.valid && right == 0.0)
            value = rightSide;
        return value;
    }
    if (!allValues)
        return std::nullopt;
    return (bottomSide / down + topSide / up + rightSide / right + leftSide / left) /
           (1.0 / left + 1.0 / right + 1.0 / up + 1.0 / down);
}

} // namespace geodetic_detail
