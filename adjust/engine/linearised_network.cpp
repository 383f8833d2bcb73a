#include "engine/linearised_network.hpp"

#include "model/angle_math.hpp"

#include <cmath>

double RowWeights::at(std::size_t r, std::size_t s) const {
    if (r == s)
        return diagonal[r];
    const std::size_t low = r < s ? r : s;
    const std::size_t gap = (r < s ? s : r) - low;
    if (gap == 1)
        return pairWeight[low];
    return gap == 2 ? skipWeight[low] : 0.0;
}

void RowWeights::setRowWeight(std::size_t r, double weight) {
    const double old = diagonal[r];
    diagonal[r] = weight;
    if (old <= 0.0)
        return;
    const double scale = std::sqrt(weight / old);
    pairWeight[r] *= scale;
    skipWeight[r] *= scale;
    if (r >= 1)
        pairWeight[r - 1] *= scale;
    if (r >= 2)
        skipWeight[r - 2] *= scale;
}

std::vector<double> weighted(const RowWeights& w, const std::vector<double>& y) {
    std::vector<double> wy(y.size());
    for (std::size_t r = 0; r < y.size(); ++r)
        wy[r] = w.diagonal[r] * y[r];
    for (std::size_t r = 0; r + 1 < y.size(); ++r) {
        wy[r] += w.pairWeight[r] * y[r + 1];
        wy[r + 1] += w.pairWeight[r] * y[r];
    }
    for (std::size_t r = 0; r + 2 < y.size(); ++r) {
        wy[r] += w.skipWeight[r] * y[r + 2];
        wy[r + 2] += w.skipWeight[r] * y[r];
    }
    return wy;
}

double rowTimes(const DesignRow& a, const std::vector<double>& x) {
    double sum = 0.0;
    for (int p = 0; p < a.count; ++p)
        sum += a.value[p] * x[static_cast<std::size_t>(a.column[p])];
    return sum;
}

double angularMisclosure(double observed, double computed) {
    using angle::pi;
    if (observed > 1.5 * pi && computed < 0.5 * pi)
        computed += 2.0 * pi;
    else if (computed > 1.5 * pi && observed < 0.5 * pi)
        computed -= 2.0 * pi;
    return (observed - computed) * angle::secondsPerRadian;
}
