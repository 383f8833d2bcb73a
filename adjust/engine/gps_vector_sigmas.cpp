#include "engine/gps_vector_sigmas.hpp"

#include "engine/adjustment_results.hpp"
#include "engine/earth_centred_frames.hpp"
#include "engine/horizontal_network.hpp"
#include "model/list_snapshot.hpp"
#include "model/point_name.hpp"
#include "model/program_lists.hpp"

#include <algorithm>
#include <cmath>

namespace {

std::array<std::array<double, 3>, 3> localToEcefTurn(double lat, double lon) {
    std::array<std::array<double, 3>, 3> r{};
    for (int axis = 0; axis < 3; ++axis) {
        double x = 0.0, y = 0.0, z = 0.0;
        localToEcefVector(lat, lon, axis == 0 ? 1.0 : 0.0, axis == 1 ? 1.0 : 0.0,
                          axis == 2 ? 1.0 : 0.0, x, y, z);
        r[0][axis] = x;
        r[1][axis] = y;
        r[2][axis] = z;
    }
    return r;
}

} // namespace

AdjustedGpsVectorSigmas::AdjustedGpsVectorSigmas() {
    int column = 0;
    for (const stationRec& s : recordsOf(stationList)) {
        StationFrame frame;
        if (isAdjustablePoint(s.pointType)) {
            frame.column = column;
            frame.toEcef = localToEcefTurn(s.latitude, s.longitude);
            column += 3;
        }
        // The first station of a name is the one the list finds.
        frames_.emplace(pointNameKey(fixedText(s.name)), frame);
    }
}

std::optional<AdjustedGpsVectorSigmas::StationFrame>
AdjustedGpsVectorSigmas::frameOf(std::string_view name) const {
    const auto found = frames_.find(pointNameKey(name));
    if (found != frames_.end())
        return found->second;
    stationRec fixed;
    if (fixedStationList.find(std::string(name), fixed) >= 0)
        return StationFrame{};
    return std::nullopt;
}

// R_a Q_ab R_b^T, zero when either station holds no unknowns.
AdjustedGpsVectorSigmas::Matrix3 AdjustedGpsVectorSigmas::turnedBlock(const StationFrame& a,
                                                                      const StationFrame& b) {
    Matrix3 result{};
    if (!a.column || !b.column)
        return result;
    const Matrix3 q = varCovMatrix->block(*a.column, *b.column, 3);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                for (int l = 0; l < 3; ++l)
                    result[i][j] += a.toEcef[i][k] * q[k][l] * b.toEcef[j][l];
    return result;
}

std::optional<std::array<double, 3>> AdjustedGpsVectorSigmas::of(std::string_view from,
                                                                 std::string_view to) const {
    if (varCovMatrix == nullptr)
        return std::nullopt;
    const std::optional<StationFrame> f = frameOf(from);
    const std::optional<StationFrame> t = frameOf(to);
    if (!f || !t)
        return std::nullopt;
    const Matrix3 tt = turnedBlock(*t, *t), ff = turnedBlock(*f, *f), tf = turnedBlock(*t, *f);
    std::array<double, 3> sigmas{};
    for (int i = 0; i < 3; ++i) {
        const double variance = tt[i][i] + ff[i][i] - 2.0 * tf[i][i];
        sigmas[static_cast<std::size_t>(i)] = referenceStdDev * std::sqrt(std::max(0.0, variance));
    }
    return sigmas;
}
