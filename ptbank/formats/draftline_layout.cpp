#include "formats/draftline_layout.hpp"

#include "platform/binary_io.hpp"

#include <algorithm>
#include <cstring>

namespace ptbank::draftline {
namespace {

std::string_view fieldText(std::string_view text, std::size_t width) {
    return text.substr(0, std::min(text.size(), width - 1));
}

void writeCoordinates(platform::ByteWriter& out, const DiskPoint& point) {
    out.f64(point.northing);
    out.f64(point.easting);
    out.f64(point.elevation);
    out.fixedText(fieldText(point.description, textField), textField);
}

DiskPoint readCoordinates(platform::ByteReader& in) {
    DiskPoint point;
    point.northing = in.f64();
    point.easting = in.f64();
    point.elevation = in.f64();
    point.description = in.fixedText(textField);
    return point;
}

template <std::size_t N> std::array<std::uint8_t, N> toArray(const platform::ByteWriter& out) {
    std::array<std::uint8_t, N> bytes{};
    std::copy(out.bytes().begin(), out.bytes().end(), bytes.begin());
    return bytes;
}

} // namespace

NumericRecord encodeNumeric(const DiskPoint& point) {
    platform::ByteWriter out;
    writeCoordinates(out, point);
    return toArray<numericRecordSize>(out);
}

DiskPoint decodeNumeric(const NumericRecord& record) {
    platform::ByteReader in(record);
    return readCoordinates(in);
}

AlphaRecord encodeAlpha(const DiskPoint& point) {
    platform::ByteWriter out;
    writeCoordinates(out, point);
    out.fixedText(fieldText(point.name, nameField), nameField);
    return toArray<alphaRecordSize>(out);
}

std::string decodeAlphaName(std::span<const std::uint8_t, alphaRecordSize> record) {
    platform::ByteReader in(record);
    in.seek(alphaNameOffset);
    return in.fixedText(nameField);
}

DiskPoint decodeAlpha(const AlphaRecord& record) {
    platform::ByteReader in(record);
    DiskPoint point = readCoordinates(in);
    point.name = in.fixedText(nameField);
    return point;
}

bool isEmptySlot(const DiskPoint& point) {
    return point.northing == 0.0 && point.easting == 0.0 && point.elevation == 0.0;
}

NumericRecord emptyNumericRecord() {
    DiskPoint blank;
    blank.description = " ";
    return encodeNumeric(blank);
}

double readDouble(const std::uint8_t* at) {
    platform::ByteReader in(std::span<const std::uint8_t>(at, 8));
    return in.f64();
}

void writeDouble(std::uint8_t* at, double value) {
    platform::ByteWriter out;
    out.f64(value);
    std::copy(out.bytes().begin(), out.bytes().end(), at);
}

std::string readText(const std::uint8_t* at, std::size_t width) {
    platform::ByteReader in(std::span<const std::uint8_t>(at, width));
    return in.fixedText(width);
}

void writeText(std::uint8_t* at, std::size_t width, std::string_view text) {
    platform::ByteWriter out;
    out.fixedText(fieldText(text, width), width);
    std::copy(out.bytes().begin(), out.bytes().end(), at);
}

} // namespace ptbank::draftline
