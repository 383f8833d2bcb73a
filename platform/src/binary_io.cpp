#include "platform/binary_io.hpp"

#include <algorithm>
#include <bit>
#include <cstring>

namespace platform {

void ByteWriter::u16(std::uint16_t v) {
    u8(static_cast<std::uint8_t>(v));
    u8(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::u32(std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        u8(static_cast<std::uint8_t>(v >> shift));
}

void ByteWriter::u64(std::uint64_t v) {
    for (int shift = 0; shift < 64; shift += 8)
        u8(static_cast<std::uint8_t>(v >> shift));
}

void ByteWriter::f32(float v) {
    u32(std::bit_cast<std::uint32_t>(v));
}

void ByteWriter::f64(double v) {
    u64(std::bit_cast<std::uint64_t>(v));
}

void ByteWriter::fixedText(std::string_view text, std::size_t width, char pad) {
    const std::size_t used = std::min(text.size(), width);
    bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(used));
    bytes_.insert(bytes_.end(), width - used, static_cast<std::uint8_t>(pad));
}

void ByteWriter::raw(std::span<const std::uint8_t> data) {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
}

bool ByteReader::take(std::size_t count) {
    if (!ok_)
        return false;
    if (count > data_.size() - offset_) {
        ok_ = false;
        failedAt_ = offset_;
        return false;
    }
    return true;
}

std::uint8_t ByteReader::u8() {
    if (!take(1))
        return 0;
    return data_[offset_++];
}

std::uint16_t ByteReader::u16() {
    if (!take(2))
        return 0;
    const auto v = static_cast<std::uint16_t>(data_[offset_] | (data_[offset_ + 1] << 8));
    offset_ += 2;
    return v;
}

std::uint32_t ByteReader::u32() {
    if (!take(4))
        return 0;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | data_[offset_ + static_cast<std::size_t>(i)];
    offset_ += 4;
    return v;
}

std::uint64_t ByteReader::u64() {
    if (!take(8))
        return 0;
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | data_[offset_ + static_cast<std::size_t>(i)];
    offset_ += 8;
    return v;
}

float ByteReader::f32() {
    return std::bit_cast<float>(u32());
}

double ByteReader::f64() {
    return std::bit_cast<double>(u64());
}

std::string ByteReader::fixedText(std::size_t width) {
    if (!take(width))
        return {};
    const auto* begin = reinterpret_cast<const char*>(data_.data() + offset_);
    offset_ += width;
    return std::string(begin, strnlen(begin, width));
}

void ByteReader::skip(std::size_t count) {
    if (take(count))
        offset_ += count;
}

void ByteReader::seek(std::size_t offset) {
    if (!ok_)
        return;
    if (offset > data_.size()) {
        ok_ = false;
        failedAt_ = offset;
        return;
    }
    offset_ = offset;
}

} // namespace platform
