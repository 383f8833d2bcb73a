#pragma once
// Little-endian field-by-field access to binary files. Every read is checked
// against the bytes that exist; a failed read records the offset so the
// caller's message can name it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ByteWriter {
public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v);
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void u32(std::uint32_t v);
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void u64(std::uint64_t v);
    void f32(float v);
    void f64(double v);
    // Writes exactly `width` bytes: the text, cut or padded with `pad`.
    void fixedText(std::string_view text, std::size_t width, char pad = '\0');
    void raw(std::span<const std::uint8_t> data);
    void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }
    std::size_t size() const { return bytes_.size(); }

private:
    std::vector<std::uint8_t> bytes_;
};

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::uint8_t u8();
    std::uint16_t u16();
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::uint32_t u32();
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::uint64_t u64();
    float f32();
    double f64();
    // Reads `width` bytes and returns them up to the first NUL.
    std::string fixedText(std::size_t width);
    void skip(std::size_t count);
    void seek(std::size_t offset);

    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return ok_ ? data_.size() - offset_ : 0; }
    // False once any read ran past the end; later reads return zeros.
    bool ok() const { return ok_; }
    // Offset of the first read that failed.
    std::size_t failedAt() const { return failedAt_; }

private:
    bool take(std::size_t count);

    std::span<const std::uint8_t> data_;
    std::size_t offset_ = 0;
    std::size_t failedAt_ = 0;
    bool ok_ = true;
};

} // namespace platform
