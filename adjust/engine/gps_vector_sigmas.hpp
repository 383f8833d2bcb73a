#pragma once
// The precision of an adjusted GPS vector of the last converged 3D
// adjustment, in the earth-centred frame its components are listed in.
//
// The vector is X_to - X_from; each station's three unknowns are north,
// east and up corrections in its own local frame (R_s turns them into X, Y,
// Z), so the covariance of the adjusted components is
//   s0^2 (R_t Q_tt R_t^T + R_f Q_ff R_f^T - R_t Q_tf R_f^T - R_f Q_ft R_t^T),
// the blocks read from `varCovMatrix` (a station held fixed has none; the
// cross block of two stations a vector joins lies on the pattern Q is
// kept on) and s0 `referenceStdDev`. Stations: the adjustable stations of
// `stationList` in list order own the unknowns; `fixedStationList` and the
// other stations of `stationList` hold none.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class AdjustedGpsVectorSigmas {
public:
    // Indexes the stations once: a listing asks for every vector.
    AdjustedGpsVectorSigmas();

    // sigma(dX), sigma(dY), sigma(dZ) in metres; none when no adjustment has
    // converged or either station is in neither list.
    std::optional<std::array<double, 3>> of(std::string_view from, std::string_view to) const;

private:
    using Matrix3 = std::array<std::array<double, 3>, 3>;
    // A station's first unknown (none when it holds none) and the turn of
    // its local north, east, up into X, Y, Z (columns north, east, up).
    struct StationFrame {
        std::optional<int> column;
        Matrix3 toEcef{};
    };

    std::optional<StationFrame> frameOf(std::string_view name) const;
    static Matrix3 turnedBlock(const StationFrame& a, const StationFrame& b);

    std::unordered_map<std::string, StationFrame> frames_;
};
