#include "model/raw_sight_index.hpp"

#include "model/point_name.hpp"
#include "model/program_lists.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

std::shared_ptr<const rawSightIndex> inForce;

// The elements a standard-error record sets: applied over a block of NaN,
// exactly those that are no longer NaN.
stdErrBlock elementsSetBy(const rawRec& record) {
    const stdErrBlock inForceBefore = readerStdErrs;
    readerStdErrs.fill(std::numeric_limits<double>::quiet_NaN());
    applyRawStdErrRec(record);
    const stdErrBlock set = readerStdErrs;
    readerStdErrs = inForceBefore;
    return set;
}

} // namespace

rawSightIndex::rawSightIndex() {
    records_.reserve(rawDataList.count());
    rawDataList.visitAll([this](const rawRec& r) { records_.push_back(&r); });
    const int n = count();
    // Nearly every record of a large job is a sight: tables sized for them
    // once are not rebuilt again and again as they fill.
    sights_.reserve(n);
    foresights_.reserve(n);
    setupBefore_.assign(n, -1);
    int setup = -1;
    for (int i = 0; i < n; ++i) {
        const rawRec& r = *records_[i];
        if (r.kind == rawSetup) {
            setup = i;
            sights_.add(lineKeyOf(fixedText(r.stationName), fixedText(r.backsightName)), i);
        } else if (r.kind == rawForesight) {
            setupBefore_[i] = setup;
            sights_.add(lineKeyOf(stationOf(i), fixedText(r.foresightName)), i);
            foresights_.add(pointKeyOf(fixedText(r.foresightName)), i);
        } else if (r.kind == rawAzimuth) {
            azimuths_.add(lineKeyOf(fixedText(r.fromName), fixedText(r.toName)), i);
        } else if (r.kind == rawCoord) {
            const pointKey key = pointKeyOf(fixedText(r.pointName));
            if (isSet(r.northing) && isSet(r.easting))
                coords_[key] = i;
            coordRecords_.add(key, i);
        } else if (r.kind == rawStdErrs) {
            addStdErrState(i);
        }
    }
    sights_.seal();
    foresights_.seal();
    azimuths_.seal();
    coordRecords_.seal();
    nextSetup_.assign(n + 1, n);
    for (int i = n - 1; i >= 0; --i)
        nextSetup_[i] = records_[i]->kind == rawSetup ? i : nextSetup_[i + 1];
}

void rawSightIndex::addStdErrState(int rawIndex) {
    stdErrState state;
    if (stdErrStates_.empty())
        state.setBy.fill(-1);
    else
        state = stdErrStates_.back();
    state.rawIndex = rawIndex;
    const stdErrBlock set = elementsSetBy(*records_[rawIndex]);
    for (int e = 0; e < readerStdErrCount; ++e) {
        if (!std::isnan(set[e])) {
            state.values[e] = set[e];
            state.setBy[e] = rawIndex;
        }
    }
    stdErrStates_.push_back(state);
}

stdErrBlock rawSightIndex::errorsInForce(int at, int startIndex, const stdErrBlock& atStart) const {
    const auto after = std::lower_bound(
        stdErrStates_.begin(), stdErrStates_.end(), at,
        [](const stdErrState& state, int index) { return state.rawIndex < index; });
    if (after == stdErrStates_.begin())
        return atStart;
    const stdErrState& last = *std::prev(after);
    stdErrBlock errors = atStart;
    for (int e = 0; e < readerStdErrCount; ++e)
        if (last.setBy[e] >= startIndex)
            errors[e] = last.values[e];
    return errors;
}

std::span<const int> rawSightIndex::sightsOf(std::string_view a, std::string_view b) const {
    return sights_.of(lineKeyOf(a, b));
}

std::span<const int> rawSightIndex::foresightsTo(std::string_view point) const {
    return foresights_.of(pointKeyOf(point));
}

std::span<const int> rawSightIndex::azimuthsOf(std::string_view a, std::string_view b) const {
    return azimuths_.of(lineKeyOf(a, b));
}

int rawSightIndex::setupOf(int index) const {
    return records_[index]->kind == rawSetup ? index : setupBefore_[index];
}

std::string_view rawSightIndex::stationOf(int index) const {
    const int setup = setupOf(index);
    return setup < 0 ? std::string_view{} : fixedText(records_[setup]->stationName);
}

int rawSightIndex::lastCoordOf(std::string_view point) const {
    const int* found = coords_.find(pointKeyOf(point));
    return found == nullptr ? -1 : *found;
}

std::span<const int> rawSightIndex::coordRecordsOf(std::string_view point) const {
    return coordRecords_.of(pointKeyOf(point));
}

namespace {

double targetHeightOf(const rawRec& r) {
    return r.kind == rawSetup ? r.bsTargetHeight : r.targetHeight;
}

} // namespace

std::vector<indexedSight> lineSightsFrom(const rawSightIndex& index, std::string_view from,
                                         std::string_view to, int startIndex, double hi,
                                         bool needHeights, const stdErrBlock& atStart) {
    std::vector<indexedSight> found;
    const auto take = [&](int at, std::string_view instrument, double instrumentHeight) {
        const rawRec& r = index.record(at);
        if (r.horizDistance > 0.0 &&
            (!needHeights || (isSet(instrumentHeight) && isSet(targetHeightOf(r)))))
            found.push_back(
                {at, sameName(instrument, from), index.errorsInForce(at, startIndex, atStart)});
    };
    forEachLineSightFrom(index, from, to, startIndex, hi, take);
    return found;
}

std::shared_ptr<const rawSightIndex> currentRawSightIndex() {
    return inForce ? inForce : std::make_shared<const rawSightIndex>();
}

rawSightIndexInForce::rawSightIndexInForce()
    : previous_(std::exchange(inForce, std::make_shared<const rawSightIndex>())) {}

rawSightIndexInForce::~rawSightIndexInForce() {
    inForce = previous_;
}
