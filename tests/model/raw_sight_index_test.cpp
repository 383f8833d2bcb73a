// The raw sight index answers the line and angle searches of the observation
// builders exactly as a walk over the whole raw list does. The walks below
// are the plain way of answering them, kept here as the reference.
#include "model/angle_sets.hpp"
#include "model/distance_sets.hpp"
#include "model/pair_lookup.hpp"
#include "model/raw_sight_index.hpp"
#include "support/raw_list_builder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

double targetHeightOf(const rawRec& r) {
    return r.kind == rawSetup ? r.bsTargetHeight : r.targetHeight;
}

// The sights of a line from a start index, walking the list from there.
std::vector<indexedSight> walkedSights(const std::vector<rawRec>& all, std::string_view from,
                                       std::string_view to, int start, double hi, bool needHeights,
                                       const stdErrBlock& atStart) {
    std::vector<indexedSight> found;
    const stdErrBlock before = readerStdErrs;
    readerStdErrs = atStart;
    std::string instrument(from);
    for (int i = start; i < static_cast<int>(all.size()); ++i) {
        const rawRec& r = all[i];
        std::string_view target;
        if (r.kind == rawSetup) {
            instrument = fixedText(r.stationName);
            hi = r.instrumentHeight;
            target = fixedText(r.backsightName);
        } else if (r.kind == rawForesight) {
            target = fixedText(r.foresightName);
        } else {
            if (r.kind == rawStdErrs)
                applyRawStdErrRec(r);
            continue;
        }
        if (sameLine(instrument, target, from, to) && r.horizDistance > 0.0 &&
            (!needHeights || (isSet(hi) && isSet(targetHeightOf(r)))))
            found.push_back({i, sameName(instrument, from), readerStdErrs});
    }
    readerStdErrs = before;
    return found;
}

// Whether a sight of the line from the start index on lacks a height.
bool walkedHeightsMissing(const std::vector<rawRec>& all, std::string_view from,
                          std::string_view to, int start) {
    std::string instrument(from);
    for (int i = start; i < static_cast<int>(all.size()); ++i) {
        const rawRec& r = all[i];
        if (r.kind == rawSetup) {
            instrument = fixedText(r.stationName);
            if (sameLine(instrument, fixedText(r.backsightName), from, to) &&
                (!isSet(r.instrumentHeight) || !isSet(r.bsTargetHeight)))
                return true;
        } else if (r.kind == rawForesight &&
                   sameLine(instrument, fixedText(r.foresightName), from, to) &&
                   !isSet(r.targetHeight)) {
            return true;
        }
    }
    return false;
}

struct sightLengths {
    double backsight = 0.0;
    double foresight = 0.0;
    double between = 0.0;
};

// The last positive distance of each sight anywhere in the list, else the
// distance between the last coordinates of its ends.
sightLengths walkedSightLengths(const std::vector<rawRec>& all, std::string_view backsight,
                                std::string_view foresight, std::string_view instrument,
                                double angle) {
    sightLengths lengths;
    std::string current;
    const rawRec* at[3] = {nullptr, nullptr, nullptr};
    const std::string_view names[3] = {instrument, backsight, foresight};
    for (const rawRec& r : all) {
        std::string_view target;
        if (r.kind == rawSetup) {
            current = fixedText(r.stationName);
            target = fixedText(r.backsightName);
        } else if (r.kind == rawForesight) {
            target = fixedText(r.foresightName);
        } else {
            for (int k = 0; k < 3; ++k)
                if (r.kind == rawCoord && isSet(r.northing) && isSet(r.easting) &&
                    sameName(fixedText(r.pointName), names[k]))
                    at[k] = &r;
            continue;
        }
        if (r.horizDistance > 0.0 && sameLine(current, target, instrument, backsight))
            lengths.backsight = r.horizDistance;
        if (r.horizDistance > 0.0 && sameLine(current, target, instrument, foresight))
            lengths.foresight = r.horizDistance;
    }
    const auto fromCoords = [&](double& length, int k) {
        if (length <= 0.0 && at[0] != nullptr && at[k] != nullptr)
            length = std::hypot(at[0]->northing - at[k]->northing, at[0]->easting - at[k]->easting);
    };
    fromCoords(lengths.backsight, 1);
    fromCoords(lengths.foresight, 2);
    if (lengths.backsight > 0.0 && lengths.foresight > 0.0)
        lengths.between = std::sqrt(std::max(
            0.0, lengths.backsight * lengths.backsight + lengths.foresight * lengths.foresight -
                     2.0 * lengths.backsight * lengths.foresight * std::cos(angle)));
    return lengths;
}

std::vector<std::string> namesIn(const std::vector<rawRec>& all) {
    std::set<std::string> names;
    for (const rawRec& r : all) {
        if (r.kind == rawSetup) {
            names.insert(std::string(fixedText(r.stationName)));
            names.insert(std::string(fixedText(r.backsightName)));
        } else if (r.kind == rawForesight) {
            names.insert(std::string(fixedText(r.foresightName)));
        } else if (r.kind == rawCoord) {
            names.insert(std::string(fixedText(r.pointName)));
        }
    }
    names.insert("nowhere");
    return {names.begin(), names.end()};
}

void expectSameSights(const std::vector<indexedSight>& walked,
                      const std::vector<indexedSight>& indexed, const std::string& what) {
    ASSERT_EQ(walked.size(), indexed.size()) << what;
    for (std::size_t k = 0; k < walked.size(); ++k) {
        EXPECT_EQ(walked[k].rawIndex, indexed[k].rawIndex) << what;
        EXPECT_EQ(walked[k].forward, indexed[k].forward) << what;
        EXPECT_EQ(walked[k].errorsInForce, indexed[k].errorsInForce) << what;
    }
}

// Every line of the list from every start index, both height rules; every
// angle between any three names; the height check of every line.
void expectIndexAnswersAsTheWalk() {
    const std::vector<rawRec> all = rawRecords();
    const std::vector<std::string> names = namesIn(all);
    stdErrBlock atStart{};
    for (int e = 0; e < readerStdErrCount; ++e)
        atStart[e] = 0.001 * (e + 1);
    const rawSightIndexInForce inForce;
    const std::shared_ptr<const rawSightIndex> index = currentRawSightIndex();
    ASSERT_EQ(index->count(), static_cast<int>(all.size()));
    for (const std::string& from : names) {
        for (const std::string& to : names) {
            for (int start = 0; start < index->count(); ++start) {
                for (const bool needHeights : {false, true}) {
                    for (const double hi : {notComputed, 1.5}) {
                        const std::string what = from + "-" + to + " from " +
                                                 std::to_string(start) +
                                                 (needHeights ? " with heights" : "");
                        expectSameSights(
                            walkedSights(all, from, to, start, hi, needHeights, atStart),
                            lineSightsFrom(*index, from, to, start, hi, needHeights, atStart),
                            what);
                    }
                }
                const int before = verticalList.count();
                const int result = addVerticalObs3D(from, to, start);
                EXPECT_EQ(result == lineRefused, walkedHeightsMissing(all, from, to, start))
                    << from << "-" << to << " from " << start;
                EXPECT_EQ(verticalList.count(), before + (result == lineAdded ? 1 : 0));
            }
            for (const std::string& foresight : names) {
                const sightLengths walked = walkedSightLengths(all, to, foresight, from, 1.1);
                sightLengths indexed;
                angleSightLengths(indexed.backsight, indexed.foresight, indexed.between, to,
                                  foresight, from, 1.1);
                EXPECT_EQ(walked.backsight, indexed.backsight) << from << " " << to;
                EXPECT_EQ(walked.foresight, indexed.foresight) << from << " " << foresight;
                EXPECT_EQ(walked.between, indexed.between);
            }
        }
    }
}

rawRec withErrors(rawRec record, double distErr, double centering) {
    record.stErrDist = distErr;
    record.stErrTrgtCentering = centering;
    return record;
}

class RawSightIndex : public RawListTest {};

} // namespace

TEST_F(RawSightIndex, RepeatedAndReverseSightsWithErrorRecordsBetween) {
    rawRec errors = stdErrRecord();
    appendRaw({
        withSight(foresightRecord("A"), 10.0, 0.01), // before any setup
        withHeights(withSight(setupRecord("A", "B"), 100.0, 0.003), 1.5, 1.6),
        withHeights(withSight(foresightRecord("C"), 50.0, 0.002), notComputed, 1.6),
        withErrors(errors, 0.004, 0.005),
        withSight(foresightRecord("b"), 100.01, 0.003), // repeated, other letter case
        withHeights(withSight(setupRecord("B", "A"), 99.99, 0.003), notComputed, 1.6),
        withSight(foresightRecord("C"), 70.0, 0.002),
        withErrors(stdErrRecord(), notComputed, 0.007),
        withHeights(withSight(setupRecord("c", "a"), 50.02, 0.002), 1.4, notComputed),
        withSight(foresightRecord("B"), 0.0, 0.002), // no distance
        coordRecord("A", 1000.0, 2000.0),
        coordRecord("D", 1100.0, 2100.0),
        withSight(foresightRecord("LongName1234"), 30.0, 0.002),
        coordRecord("a", 1001.0, 2000.0), // the later coordinates of A count
        withSight(foresightRecord("D"), 0.0, 0.002),
    });
    expectIndexAnswersAsTheWalk();
}

TEST_F(RawSightIndex, ATraverseRingWithErrorRecordsAndControl) {
    constexpr int points = 16;
    const auto name = [](int i) { return "P" + std::to_string((i + points) % points); };
    appendRaw({coordRecord("P0", 0.0, 0.0), coordRecord("P1", 150.0, 0.0)});
    for (int i = 0; i < points; ++i) {
        if (i % 5 == 2)
            appendRaw({withErrors(stdErrRecord(), 0.001 * i, 0.0005 * i)});
        appendRaw({withHeights(withSight(setupRecord(name(i), name(i - 1)), 150.0 + 0.001 * i,
                                         0.002, 0.1 * i, 0.003),
                               1.5, i % 7 == 3 ? notComputed : 1.6),
                   withHeights(withSight(foresightRecord(name(i + 1)), 150.0 - 0.001 * i, 0.002,
                                         -0.1 * i, 0.003),
                               1.5, 1.6)});
    }
    expectIndexAnswersAsTheWalk();
}
