// Packing and unpacking of point and header records, field by field.

#include "isam/point_records.hpp"

#include "ptbank/crd_text.hpp"

#include "platform/binary_io.hpp"
#include "platform/c_locale_text.hpp"

#include <algorithm>
#include <cstring>

namespace ptbank {
namespace {

constexpr char headerMarker = 'X';
constexpr int maxDescLength = 100;

void putBytes(std::vector<std::uint8_t>& record, int offset, std::string_view text, int width,
              char pad = ' ') {
    for (int i = 0; i < width; ++i) {
        const auto at = static_cast<std::size_t>(offset + i);
        record[at] = static_cast<std::uint8_t>(
            i < static_cast<int>(text.size()) ? text[static_cast<std::size_t>(i)] : pad);
    }
}

void putField(std::vector<std::uint8_t>& record, int offset, std::span<const std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), record.begin() + offset);
}

template <typename Write>
void putNumber(std::vector<std::uint8_t>& record, int offset, Write write) {
    platform::ByteWriter w;
    write(w);
    putField(record, offset, w.bytes());
}

std::string getBytes(std::span<const std::uint8_t> record, int offset, int width) {
    return std::string(reinterpret_cast<const char*>(record.data()) + offset,
                       static_cast<std::size_t>(width));
}

template <std::size_t N> void setTerminated(char (&field)[N], std::string_view text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

template <std::size_t N> std::string_view fieldText(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}

int recordLength(const PointDb& db) {
    return db.layout.fixedPart + db.descLength;
}

} // namespace

std::vector<std::uint8_t> packPointRecord(const crdShortPointRec& point, const PointDb& db) {
    const PointDbLayout& l = db.layout;
    std::vector<std::uint8_t> record(static_cast<std::size_t>(recordLength(db)), ' ');
    const std::string_view code = fieldText(point.code);
    putBytes(record, 0, code, l.codeBytes);
    putBytes(record, l.nameOffset, fieldText(point.name), l.nameWidth);
    putNumber(record, l.northingOffset, [&](platform::ByteWriter& w) { w.f64(point.northing); });
    putNumber(record, l.eastingOffset, [&](platform::ByteWriter& w) { w.f64(point.easting); });
    putNumber(record, l.elevationOffset, [&](platform::ByteWriter& w) { w.f64(point.elevation); });
    putBytes(record, l.descriptionOffset, fieldText(point.description), db.descLength);
    if (l.codeWidth > l.codeBytes) {
        const std::string_view rest =
            code.size() > static_cast<std::size_t>(l.codeBytes) ? code.substr(l.codeBytes) : "";
        putBytes(record, l.descriptionOffset + db.descLength, rest, l.codeWidth - l.codeBytes);
    }
    return record;
}

void unpackPointRecord(std::span<const std::uint8_t> record, crdShortPointRec& out,
                       const PointDb& db) {
    const PointDbLayout& l = db.layout;
    std::memset(&out, 0, sizeof out);
    platform::ByteReader r(record);
    r.seek(static_cast<std::size_t>(l.northingOffset));
    out.northing = r.f64();
    out.easting = r.f64();
    out.elevation = r.f64();
    setTerminated(out.description, getBytes(record, l.descriptionOffset, db.descLength));
    std::string code = getBytes(record, 0, l.codeBytes);
    if (l.codeWidth > l.codeBytes)
        code += getBytes(record, l.descriptionOffset + db.descLength, l.codeWidth - l.codeBytes);
    setTerminated(out.code, code);
    setTerminated(out.name, getBytes(record, l.nameOffset, l.nameWidth));
}

std::vector<std::uint8_t> packHeaderRecord(const PointDb& db) {
    const PointDbLayout& l = db.layout;
    std::vector<std::uint8_t> record(static_cast<std::size_t>(recordLength(db)), ' ');
    putBytes(record, 0, "", l.codeBytes, headerMarker);
    putBytes(record, l.nameOffset, "", l.nameWidth, '\0');
    int at = l.nameOffset + l.nameWidth;
    putNumber(record, at,
              [&](platform::ByteWriter& w) { w.u16(static_cast<std::uint16_t>(db.descLength)); });
    at += 2;
    if (db.numericNames()) {
        const long highest = platform::atolC(trimmedText(db.highestName));
        putNumber(record, at, [&](platform::ByteWriter& w) {
            w.u16(static_cast<std::uint16_t>(db.pointCount));
            w.u16(static_cast<std::uint16_t>(highest));
            w.u16(static_cast<std::uint16_t>(l.codeWidth));
        });
        return record;
    }
    putNumber(record, at, [&](platform::ByteWriter& w) { w.u32(db.pointCount); });
    at += 4;
    putBytes(record, at, db.highestName, point_db::alphanumericNameWidth);
    at += point_db::alphanumericNameWidth;
    record[static_cast<std::size_t>(at)] = db.feetFlag;
    putBytes(record, at + 1, db.versionText, static_cast<int>(db.versionText.size()));
    return record;
}

int headerSubType(std::span<const std::uint8_t> record) {
    const auto marks = [&](std::size_t n) {
        return record.size() >= n && std::all_of(record.begin(), record.begin() + n,
                                                 [](auto b) { return b == headerMarker; });
    };
    if (marks(4))
        return 3;
    if (marks(3))
        return 2;
    constexpr std::size_t codeWidthOffset = 13;
    if (record.size() < codeWidthOffset + 2)
        return 0;
    platform::ByteReader r(record);
    r.seek(codeWidthOffset);
    return r.u16() == 4 ? 1 : 0;
}

bool unpackHeaderRecord(std::span<const std::uint8_t> record, PointDb& db, int callerFeetFlag) {
    const PointDbLayout& l = db.layout;
    platform::ByteReader r(record);
    r.seek(static_cast<std::size_t>(l.nameOffset + l.nameWidth));
    const int descLength = r.u16();
    if (!r.ok() || descLength > maxDescLength)
        return false;
    db.descLength = descLength;
    if (db.numericNames()) {
        db.pointCount = r.u16();
        const unsigned highest = r.u16();
        // A stored 0 is the empty file's highest name, not a point.
        char justified[point_db::alphanumericNameWidth + 1];
        rightAlignText(l.nameWidth, highest != 0 ? platform::formatC("%u", highest) : "",
                       justified);
        db.highestName = justified;
        db.feetFlag = callerFeetFlag == 1 ? 1 : 0;
        db.versionText.clear();
        return r.ok();
    }
    db.pointCount = r.u32();
    const int highestAt = static_cast<int>(r.offset());
    r.skip(point_db::alphanumericNameWidth);
    db.feetFlag = r.u8();
    if (!r.ok())
        return false;
    db.highestName = getBytes(record, highestAt, point_db::alphanumericNameWidth);
    const int versionAt = highestAt + point_db::alphanumericNameWidth + 1;
    const int versionWidth =
        std::min<int>(point_db::alphanumericNameWidth, static_cast<int>(record.size()) - versionAt);
    std::string version = getBytes(record, versionAt, versionWidth);
    version.resize(strnlen(version.c_str(), version.size()));
    db.versionText = trimmedText(version);
    return true;
}

} // namespace ptbank
