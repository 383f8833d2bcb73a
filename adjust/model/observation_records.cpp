#include "model/observation_records.hpp"

namespace {

keyMatch sameOrderOnly(std::string_view storedFrom, std::string_view storedTo,
                       std::string_view from, std::string_view to) {
    return sameName(storedFrom, from) && sameName(storedTo, to) ? keyMatch::sameOrder
                                                                : keyMatch::none;
}

// The same-order test comes before the reversed one.
keyMatch eitherOrder(std::string_view storedFrom, std::string_view storedTo, std::string_view a,
                     std::string_view b) {
    if (sameOrderOnly(storedFrom, storedTo, a, b) != keyMatch::none)
        return keyMatch::sameOrder;
    if (sameOrderOnly(storedFrom, storedTo, b, a) != keyMatch::none)
        return keyMatch::reversed;
    return keyMatch::none;
}

template <class Angle>
keyMatch angleMatch(const Angle& stored, std::string_view backsight, std::string_view instrument,
                    std::string_view foresight) {
    return sameName(fixedText(stored.backsight), backsight) &&
                   sameName(fixedText(stored.instrument), instrument) &&
                   sameName(fixedText(stored.foresight), foresight)
               ? keyMatch::sameOrder
               : keyMatch::none;
}

template <class Line>
keyMatch lineMatch(const Line& stored, std::string_view from, std::string_view to) {
    return sameOrderOnly(fixedText(stored.from), fixedText(stored.to), from, to);
}

double negatedWhenSet(double value) {
    return isSet(value) ? -value : value;
}

} // namespace

keyMatch findMatch(const angleObs& stored, std::string_view backsight, std::string_view instrument,
                   std::string_view foresight) {
    return angleMatch(stored, backsight, instrument, foresight);
}
keyMatch findMatch(const angleObs2D& stored, std::string_view backsight,
                   std::string_view instrument, std::string_view foresight) {
    return angleMatch(stored, backsight, instrument, foresight);
}
keyMatch findMatch(const distanceObs& stored, std::string_view a, std::string_view b) {
    return eitherOrder(fixedText(stored.from), fixedText(stored.to), a, b);
}
keyMatch findMatch(const distanceObs2D& stored, std::string_view a, std::string_view b) {
    return eitherOrder(fixedText(stored.from), fixedText(stored.to), a, b);
}
keyMatch findMatch(const verticalObs& stored, std::string_view from, std::string_view to) {
    return lineMatch(stored, from, to);
}
keyMatch findMatch(const azimuthObs& stored, std::string_view from, std::string_view to) {
    return lineMatch(stored, from, to);
}
keyMatch findMatch(const gpsVectorRec& stored, std::string_view from, std::string_view to) {
    return lineMatch(stored, from, to);
}

keyMatch replaceMatch(const angleObs& stored, const angleObs& given) {
    return angleMatch(stored, fixedText(given.backsight), fixedText(given.instrument),
                      fixedText(given.foresight));
}
keyMatch replaceMatch(const angleObs2D& stored, const angleObs2D& given) {
    return angleMatch(stored, fixedText(given.backsight), fixedText(given.instrument),
                      fixedText(given.foresight));
}
keyMatch replaceMatch(const distanceObs& stored, const distanceObs& given) {
    return lineMatch(stored, fixedText(given.from), fixedText(given.to));
}
keyMatch replaceMatch(const distanceObs2D& stored, const distanceObs2D& given) {
    return findMatch(stored, fixedText(given.from), fixedText(given.to));
}
keyMatch replaceMatch(const verticalObs& stored, const verticalObs& given) {
    return lineMatch(stored, fixedText(given.from), fixedText(given.to));
}
keyMatch replaceMatch(const azimuthObs& stored, const azimuthObs& given) {
    return lineMatch(stored, fixedText(given.from), fixedText(given.to));
}
keyMatch replaceMatch(const gpsVectorRec& stored, const gpsVectorRec& given) {
    return lineMatch(stored, fixedText(given.from), fixedText(given.to));
}

void orientFound(distanceObs2D& copy, keyMatch match) {
    if (match == keyMatch::reversed)
        copy.vertDiff = negatedWhenSet(copy.vertDiff);
}

void storeReplacement(distanceObs2D& stored, const distanceObs2D& given, keyMatch match) {
    if (match != keyMatch::reversed) {
        stored = given;
        return;
    }
    distanceObs2D turned = given;
    setPointName(turned.from, fixedText(stored.from));
    setPointName(turned.to, fixedText(stored.to));
    turned.vertDiff = negatedWhenSet(given.vertDiff);
    stored = turned;
}
