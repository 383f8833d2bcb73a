#include "input/rw5_reading.hpp"

#include "input/rw5_reader.hpp"
#include "model/packed_degrees.hpp"
#include "model/settings/global_vars.hpp"

#include <cmath>

namespace {

bool endsBackfoldSearch(const std::string& code) {
    return code == "BK" || code == "BR" || code == "FD" || code == "FR";
}

} // namespace

bool Rw5Reading::readBacksightRecord(const Rw5Record& record) {
    const std::string occupied = rw5Name(rw5Token(record, 0));
    std::string backsight = rw5Name(rw5Token(record, 1));
    const std::optional<double> azimuth = rw5Number(rw5Token(record, 2), 2);
    const std::optional<double> circle = rw5Number(rw5Token(record, 3), 2);
    // A name found ahead is taken now: the "BD" it comes from may be folded
    // into this setup and never read on its own.
    if (backsight.empty()) {
        backsight = peekBacksightPoint(occupied);
        if (!takeName(backsight))
            return false;
    }
    if ((backsight.empty() || backsight == "0") && azimuth) {
        const DummyBacksight ahead = peekSetupBacksight(occupied);
        if (ahead.dropSetup)
            return true;
        if (!takeName(ahead.foresight))
            return false;
        backsight = resolveDummyBacksight(occupied, dmsToRadians(*azimuth), ahead);
    }
    if (backsight.empty()) {
        backsight = names_.placeholderName();
        if (const auto clash = names_.takePlaceholder(backsight, place()))
            return refuseNameClash(backsight, *clash);
    }
    rawRec setup = newSetup(occupied, backsight);
    setup.bsHorizontalReading = circle ? dmsToRadians(*circle) : notComputed;
    completeSetupFromBd(setup);
    store(setup);
    setupBacksight_ = backsight;
    metSetupOrSight_ = true;
    return true;
}

// The foresight of the next "BD" from the same point, looking no further
// than the next "BK" or "BD".
std::string Rw5Reading::peekBacksightPoint(const std::string& occupied) const {
    for (std::size_t i = line_ + 1; i < file_->lines.size(); ++i) {
        const Rw5Record ahead = splitRw5Record(file_->lines[i]);
        if (ahead.code == "BK")
            return {};
        if (ahead.code == "BD")
            return sameName(rw5Name(rw5Token(ahead, 0)), occupied) ? rw5Name(rw5Token(ahead, 1))
                                                                   : std::string();
    }
    return {};
}

// A setup with an azimuth but no backsight: a "BK" of the same point that
// follows with no sight between replaces it; a "BD" of the same point
// naming its foresight gives the backsight.
Rw5Reading::DummyBacksight Rw5Reading::peekSetupBacksight(const std::string& occupied) const {
    bool sightBetween = false;
    for (std::size_t i = line_ + 1; i < file_->lines.size(); ++i) {
        const Rw5Record ahead = splitRw5Record(file_->lines[i]);
        const bool samePoint = sameName(rw5Name(rw5Token(ahead, 0)), occupied);
        if (ahead.code == "BK")
            return {!sightBetween && samePoint, {}};
        if (ahead.code == "BD")
            return {false, samePoint ? rw5Name(rw5Token(ahead, 1)) : std::string()};
        if (isRw5ObservationCode(ahead.code) != 0)
            sightBetween = true;
    }
    return {};
}

// The backsight of a setup that only knows the azimuth to it: the point the
// next "BD" sights, else a dummy point "BACK" + the occupied point, oriented
// by an azimuth record.
std::string Rw5Reading::resolveDummyBacksight(const std::string& occupied, double azimuth_rad,
                                              const DummyBacksight& ahead) {
    const bool dummyCoords = projectVars.useDummyBacksightCoords != 0;
    if (!ahead.foresight.empty()) {
        if (dummyCoords)
            storeAzimuth(occupied, ahead.foresight, azimuth_rad);
        return ahead.foresight;
    }
    const std::string dummy = names_.dummyBacksight(occupied, place());
    const Rw5StoredPoint* point = findStoredPoint(occupied);
    if (dummyCoords && point != nullptr && isSet(point->northing) && isSet(point->easting)) {
        storeCoordinate(dummy, point->northing + rw5DummyDistance * std::cos(azimuth_rad),
                        point->easting + rw5DummyDistance * std::sin(azimuth_rad),
                        point->elevation);
        storeAzimuth(occupied, dummy, azimuth_rad);
    }
    storeAzimuth(occupied, dummy, azimuth_rad);
    return dummy;
}

// The first "BD" of the setup (before the next "BK", "BR", "FD" or "FR")
// carries the backsight's sight: the setup takes it, with any "LS" heights
// met on the way, and the "BD" is not read again as a foresight.
void Rw5Reading::completeSetupFromBd(rawRec& setup) {
    Rw5Heights changed;
    for (std::size_t i = line_ + 1; i < file_->lines.size(); ++i) {
        const Rw5Record ahead = splitRw5Record(file_->lines[i]);
        if (endsBackfoldSearch(ahead.code))
            return;
        if (ahead.code == "LS") {
            const Rw5Heights heights = rw5Heights(ahead);
            if (heights.instrument)
                changed.instrument = heights.instrument;
            if (heights.rod)
                changed.rod = heights.rod;
            continue;
        }
        if (ahead.code != "BD")
            continue;
        const Rw5Observation sight = parseRw5Observation(ahead);
        if (!sameName(sight.occupied, fixedText(setup.stationName)))
            return;
        instrumentHeight_ = changed.instrument.value_or(instrumentHeight_);
        rodHeight_ = changed.rod.value_or(rodHeight_);
        setup.instrumentHeight = instrumentHeight_;
        setup.bsTargetHeight = rodHeight_;
        setup.bsHorizontalReading = sight.sight.reading;
        applyRw5Sight(setup, sight.sight, instrumentHeight_, rodHeight_, file_->lines[i]);
        setup.face = faceDirect;
        foldedBd_ = i;
        return;
    }
}
