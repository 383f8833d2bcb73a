#include "model/azimuth_sets.hpp"

#include "model/angle_math.hpp"
#include "model/pair_lookup.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"
#include "model/raw_record.hpp"
#include "model/raw_sight_index.hpp"
#include "model/reader_std_errs.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>
#include <vector>

namespace {

constexpr double twoPi = 2.0 * angle::pi;

// The record's azimuth from A to B, or false when it does not join them.
bool azimuthFromTo(const rawRec& record, std::string_view from, std::string_view to,
                   double& azimuth) {
    const std::string_view recordFrom = fixedText(record.fromName);
    const std::string_view recordTo = fixedText(record.toName);
    if (sameName(recordFrom, from) && sameName(recordTo, to)) {
        azimuth = record.azimuth;
        return true;
    }
    if (sameName(recordFrom, to) && sameName(recordTo, from)) {
        azimuth = record.azimuth + angle::pi;
        if (azimuth >= twoPi)
            azimuth -= twoPi;
        return true;
    }
    return false;
}

template <class List>
int addAzimuthObs(List& azimuths, std::string_view from, std::string_view to, int startIndex) {
    const std::shared_ptr<const rawSightIndex> index = currentRawSightIndex();
    if (startIndex < 0 || startIndex >= index->count())
        return 1;
    int n = 0;
    double first = 0.0;
    double sum = 0.0;
    double errorSquares = 0.0;
    const std::span<const int> records = index->azimuthsOf(from, to);
    for (auto at = std::lower_bound(records.begin(), records.end(), startIndex);
         at != records.end(); ++at) {
        double azimuth = 0.0;
        azimuthFromTo(index->record(*at), from, to, azimuth);
        // Directions either side of north are brought together before averaging.
        if (n == 0)
            first = azimuth;
        else if (azimuth - first > angle::pi)
            azimuth -= twoPi;
        else if (first - azimuth > angle::pi)
            azimuth += twoPi;
        sum += azimuth;
        const double error = index->errorsInForce(*at, startIndex, readerStdErrs)[seAzimuth];
        errorSquares += error * error;
        ++n;
    }
    if (n == 0)
        return 0;
    azimuthObs mean;
    setPointName(mean.from, from);
    setPointName(mean.to, to);
    mean.azimuth = normalizedAngle(sum / n);
    mean.convergence = 0.0;
    mean.stdErr = std::sqrt(errorSquares) / n;
    azimuths.append(mean);
    return 0;
}

} // namespace

int addAzimuthObs3D(std::string_view from, std::string_view to, int startIndex) {
    return addAzimuthObs(azimuthList, from, to, startIndex);
}

int addAzimuthObs2D(std::string_view from, std::string_view to, int startIndex) {
    return addAzimuthObs(azimuthList2D, from, to, startIndex);
}

int isPairInAzimuths3D(std::string_view a, std::string_view b) {
    return joinsPair<azimuthObs>(azimuthList, a, b);
}

int isPairInAzimuths2D(std::string_view a, std::string_view b) {
    return joinsPair<azimuthObs>(azimuthList2D, a, b);
}
