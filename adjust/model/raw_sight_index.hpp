#pragma once
// An index of the raw data (`rawDataList`) for the per-line and per-angle
// searches of the observation builders, which would otherwise each walk the
// whole list (or the whole setup, which a data collector may fill with
// thousands of sightings): the sights of each line (either direction), the
// foresights to each point, the azimuth records of each line, the coordinate
// records of each point and the standard-error records, by raw index.
//
// A builder pass that makes many such searches holds a `rawSightIndexInForce`
// for its length; the raw list must not change meanwhile (the index refers
// to its records rather than copying them). Without one in
// force, `currentRawSightIndex` builds an index for the one search.

#include "model/key_table.hpp"
#include "model/point_name.hpp"
#include "model/raw_record.hpp"
#include "model/reader_std_errs.hpp"

#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

class rawSightIndex {
public:
    rawSightIndex(); // refers to the records of rawDataList, which it reads once

    int count() const { return static_cast<int>(records_.size()); }
    const rawRec& record(int index) const { return *records_[index]; }

    // The first setup record at `index` or after it; count() when none.
    int nextSetup(int index) const { return nextSetup_[index]; }

    // Raw indices, in list order, of the setup backsights and foresights on
    // the line between `a` and `b` in either direction; a foresight's line
    // runs from the station of the setup before it ("" when none).
    std::span<const int> sightsOf(std::string_view a, std::string_view b) const;

    // Raw indices, in list order, of the foresights to `point`.
    std::span<const int> foresightsTo(std::string_view point) const;

    // Raw indices, in list order, of the azimuth records between `a` and `b`
    // in either direction.
    std::span<const int> azimuthsOf(std::string_view a, std::string_view b) const;

    // The setup record a sight at a raw index belongs to (itself for a
    // setup, else the last setup before it); -1 when none.
    int setupOf(int index) const;

    // The instrument station of the sight at a raw index ("" without setup).
    std::string_view stationOf(int index) const;

    // The standard errors in force at raw index `at` for a walk that starts at
    // `startIndex` (not after `at`) with `atStart` in force and applies every
    // standard-error record it meets.
    stdErrBlock errorsInForce(int at, int startIndex, const stdErrBlock& atStart) const;

    // Raw index of the last coordinate record of `point` with northing and
    // easting set; -1 when none.
    int lastCoordOf(std::string_view point) const;

    // Raw indices, in list order, of every coordinate record of `point`.
    std::span<const int> coordRecordsOf(std::string_view point) const;

private:
    std::vector<const rawRec*> records_;
    std::vector<int> nextSetup_;
    std::vector<int> setupBefore_; // -1 when none
    keyGroups<lineKey> sights_;
    keyGroups<pointKey> foresights_;
    keyGroups<lineKey> azimuths_;
    keyTable<pointKey, int> coords_;
    keyGroups<pointKey> coordRecords_;
    // Per standard-error record, ascending by raw index: the elements the
    // records up to it have set, and the raw index of the record that set
    // each last (-1 when none has).
    struct stdErrState {
        int rawIndex = 0;
        stdErrBlock values{};
        std::array<int, readerStdErrCount> setBy{};
    };
    void addStdErrState(int rawIndex);
    std::vector<stdErrState> stdErrStates_;
};

// Calls visit(rawIndex, instrument, instrumentHeight) for every setup
// backsight or foresight of the line from A to B at raw index `startIndex` or
// after it, in list order, as a walk from `startIndex` meets them: until the
// first setup record a foresight's instrument is A with height `hi`; later
// ones belong to the setup before them.
template <class Visit>
void forEachLineSightFrom(const rawSightIndex& index, std::string_view from, std::string_view to,
                          int startIndex, double hi, Visit visit) {
    const int firstSetup = index.nextSetup(startIndex);
    const std::span<const int> beforeSetup = index.foresightsTo(to);
    for (auto at = std::lower_bound(beforeSetup.begin(), beforeSetup.end(), startIndex);
         at != beforeSetup.end() && *at < firstSetup; ++at)
        visit(*at, from, hi);
    const std::span<const int> sights = index.sightsOf(from, to);
    for (auto at = std::lower_bound(sights.begin(), sights.end(), firstSetup); at != sights.end();
         ++at)
        visit(*at, index.stationOf(*at), index.record(index.setupOf(*at)).instrumentHeight);
}

// One sight of a line found from a start index: its raw index, whether it
// runs from the line's first point, and the standard errors in force at it.
struct indexedSight {
    int rawIndex = 0;
    bool forward = true;
    stdErrBlock errorsInForce{};
};

// The sights forEachLineSightFrom visits with a horizontal distance above 0.
// With `needHeights` a sight counts only when the
// instrument height and its target height are set. The errors in force start
// as `atStart` and take each standard-error record met on the way.
std::vector<indexedSight> lineSightsFrom(const rawSightIndex& index, std::string_view from,
                                         std::string_view to, int startIndex, double hi,
                                         bool needHeights, const stdErrBlock& atStart);

// The index in force, or one built now for a single search.
std::shared_ptr<const rawSightIndex> currentRawSightIndex();

// Builds the index and keeps it in force until destroyed.
class rawSightIndexInForce {
public:
    rawSightIndexInForce();
    ~rawSightIndexInForce();
    rawSightIndexInForce(const rawSightIndexInForce&) = delete;
    rawSightIndexInForce& operator=(const rawSightIndexInForce&) = delete;

private:
    std::shared_ptr<const rawSightIndex> previous_;
};
