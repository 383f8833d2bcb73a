#pragma once
// Shared by the coordinate-file tests: a scratch folder per test, a fixed
// clock, captured console text, and a byte builder that lays out .crd
// fixtures straight from the format's offset tables (independent of the
// library's own writer).

#include "ptbank/crd_environment.hpp"
#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_io.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace crdtest {

using Bytes = std::vector<std::uint8_t>;

// 2024-03-07 15:30:00 UTC (python3: calendar.timegm((2024,3,7,15,30,0))).
inline constexpr std::int64_t fixedClock_s = 1709825400;

// Puts a little-endian IEEE 754 double at the offset (x86-64 and the file
// format agree on byte order, so the object bytes are the file bytes).
inline void putDouble(Bytes& b, std::size_t offset, double v) {
    static_assert(sizeof(double) == 8);
    if (b.size() < offset + 8)
        b.resize(offset + 8);
    std::memcpy(b.data() + offset, &v, 8);
}

inline void putText(Bytes& b, std::size_t offset, const std::string& text) {
    if (b.size() < offset + text.size())
        b.resize(offset + text.size());
    std::memcpy(b.data() + offset, text.data(), text.size());
}

// Numeric file: 56-byte records, record 0 the header.
//   header 0 highest, 8 header number, 16 date YYYY.MMDD, 24 title[32]
//   point  0 N, 8 E, 16 Z, 24 description[32]
inline Bytes numericHeader(double highest, double number, double date, const std::string& title) {
    Bytes b(56, 0);
    putDouble(b, 0, highest);
    putDouble(b, 8, number);
    putDouble(b, 16, date);
    putText(b, 24, title);
    return b;
}

// Appends a record of `size` bytes holding N, E, Z and the description at
// offsets 0, 8, 16 and 24; returns where it starts.
inline std::size_t appendPointRecord(Bytes& b, std::size_t size, double n, double e, double z,
                                     const std::string& desc) {
    const std::size_t at = b.size();
    b.resize(at + size, 0);
    putDouble(b, at, n);
    putDouble(b, at + 8, e);
    putDouble(b, at + 16, z);
    putText(b, at + 24, desc);
    return at;
}

inline void appendNumericPoint(Bytes& b, double n, double e, double z, const std::string& desc) {
    appendPointRecord(b, 56, n, e, z, desc);
}

// The filler of slots between stored points: zero coordinates, description " ".
inline void appendNumericEmptySlot(Bytes& b) {
    appendNumericPoint(b, 0.0, 0.0, 0.0, " ");
}

// Alphanumeric file: 104-byte header, then 66-byte records.
//   header 0 header number, 8 date[32], 40 title[32], 72 marker[16], 88 unused[16]
//   point  0 N, 8 E, 16 Z, 24 description[32], 56 name[10]
inline Bytes alphaHeader(double number, const std::string& date, const std::string& title,
                         const std::string& marker = "New CRD Format2") {
    Bytes b(104, 0);
    putDouble(b, 0, number);
    putText(b, 8, date);
    putText(b, 40, title);
    putText(b, 72, marker);
    return b;
}

inline void appendAlphaPoint(Bytes& b, double n, double e, double z, const std::string& desc,
                             const std::string& name) {
    putText(b, appendPointRecord(b, 66, n, e, z, desc) + 56, name);
}

inline Bytes readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline ptbank::crdIoPointRec point(const std::string& name, double e, double n, double z,
                                   const std::string& desc = "", const std::string& code = "") {
    ptbank::crdIoPointRec p;
    p.fill(e, n, z, name, desc, code);
    return p;
}

// Each test gets its own folder, a fixed clock, a known user name, captured
// console text and the library settings as a fresh process has them.
class CrdTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarnwell-crd-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        ptbank::resetCrdSettings();
        ptbank::resetCrdEnvironment();
        auto& env = ptbank::crdEnvironment();
        env.console = [this](std::string_view text) { console += text; };
        env.clock = [this] { return now_s; };
        env.userName = [] { return std::string("surveyor"); };
    }

    void TearDown() override {
        ptbank::resetCrdSettings();
        ptbank::resetCrdEnvironment();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    std::string at(const std::string& name) const { return (dir / name).string(); }

    std::filesystem::path dir;
    std::string console;
    std::int64_t now_s = fixedClock_s;
};

} // namespace crdtest
