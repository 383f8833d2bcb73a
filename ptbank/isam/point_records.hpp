#pragma once
// Byte images of the point database's records (layouts in point_database.hpp).

#include "ptbank/isam/point_database.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ptbank {

// Validates the name for the database's sub-type and right-justifies it to
// the name width: 0, or -2 when the file cannot hold it.
int pointDbJustifyName(std::string& name, const PointDb& db);

// The point record of the layout; the record's name must be justified.
std::vector<std::uint8_t> packPointRecord(const crdShortPointRec& point, const PointDb& db);
void unpackPointRecord(std::span<const std::uint8_t> record, crdShortPointRec& out,
                       const PointDb& db);

// The header record from the database's description length, count, highest
// name, feet flag and version text.
std::vector<std::uint8_t> packHeaderRecord(const PointDb& db);
// Sub-type from the header record's marker and code width: "XXXX" 3, "XXX"
// 2, else code width 4 gives 1 and anything else 0.
int headerSubType(std::span<const std::uint8_t> record);
// D, count, highest name, and for sub-types 2 and 3 feet flag and version,
// from a header record of the database's layout; false when the record is
// too short for the fields.
bool unpackHeaderRecord(std::span<const std::uint8_t> record, PointDb& db, int callerFeetFlag);

} // namespace ptbank
