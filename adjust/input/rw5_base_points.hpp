#pragma once
// The "BP" base records of the GPS part of an .RW5 file, which both the GPS
// control reader and the GPS vector reader take.

#include "input/rw5_lines.hpp"
#include "platform/record_fields.hpp"

#include <string>

// A base record's values as written in the file's unit.
struct Rw5BasePoint {
    std::string name;
    double latitude_rad = 0.0;
    double longitude_rad = 0.0;
    double height = 0.0;        // ellipsoidal height of the antenna
    double antennaHeight = 0.0; // above the mark
    double phaseCentre = 0.0;   // offset of the phase centre
};

// The six fields of a base record in their order: PN (name), LA, LN
// (latitude and longitude, DD.MMSS with minutes and seconds below 60), EL,
// AG and PA. Refused, naming the field, when one is missing, empty or out of
// its place, when a value is not wholly its number or angle, and when the
// name is longer than the 10 characters the lists hold (it was cut).
platform::FieldValue<Rw5BasePoint> parseRw5BaseRecord(const Rw5Record& record);
