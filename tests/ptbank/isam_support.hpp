#pragma once
// Shared by the ISAM engine tests: a scratch folder per test, the engine
// started and released around each test, and whole-file byte access.

#include "ptbank/isam/isam.hpp"
#include "ptbank/isam/isam_system_calls.hpp"

#include "platform/binary_io.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace isamtest {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

inline Bytes fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFileBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Images of files built by hand from the layout tables.

// The 60-byte header; fields a kind of file does not use stay 0.
struct Header {
    std::uint16_t nodeSize = 0, recordLength = 0, extensionSize = 0, mode = 0;
    std::int16_t fileType = 0;
    std::uint8_t keyType = 0, duplicateFlag = 0;
    std::int32_t active = 0;
    std::uint32_t freeHead = 0, logicalEnd = 0, physicalEnd = 0, serial = 0, root = 0;
    std::uint16_t leafBytes = 0, innerBytes = 0, leafKeys = 0, innerKeys = 0;
    std::int16_t keyLength = 0;
};

inline Bytes headerBytes(const Header& h) {
    platform::ByteWriter w;
    w.u16(97);              // 0: stamp
    w.u16(h.nodeSize);      // 2
    w.u16(h.recordLength);  // 4
    w.u16(h.extensionSize); // 6
    w.u16(h.mode);          // 8
    w.i16(h.fileType);      // 10
    w.zeros(4);             // 12: reserved
    w.u8(0);                // 16: update flag
    w.u8(h.keyType);        // 17
    w.u8(h.duplicateFlag);  // 18
    w.u8(0);                // 19: reserved
    w.i32(h.active);        // 20
    w.u32(h.freeHead);      // 24
    w.u32(h.logicalEnd);    // 28
    w.u32(h.physicalEnd);   // 32
    w.u32(h.serial);        // 36
    w.u32(h.root);          // 40
    w.zeros(6);             // 44: reserved
    w.u16(h.leafBytes);     // 50
    w.u16(h.innerBytes);    // 52
    w.u16(h.leafKeys);      // 54
    w.u16(h.innerKeys);     // 56
    w.i16(h.keyLength);     // 58
    EXPECT_EQ(w.size(), 60u);
    return w.take();
}

// The header of an index with 128-byte nodes, 10-byte unique keys and mode 2:
// inner keys (128 - 14) / 14 = 8, inner bytes 114; a leaf has the same 8
// slots, the last for its high key: leaf bytes 14 x 8 - 10 = 102.
inline Header smallIndexHeader() {
    Header h;
    h.nodeSize = 128;
    h.mode = 2;
    h.fileType = 1;
    h.innerKeys = 8;
    h.innerBytes = 114;
    h.leafKeys = 8;
    h.leafBytes = 102;
    h.keyLength = 10;
    return h;
}

// A node: the 14-byte header, the entries from offset 14, then zeros, with a
// leaf's high key in the key part of its last slot.
struct NodeImage {
    std::uint32_t right = 0, left = 0;
    bool leaf = true;
    std::vector<Bytes> entries; // each entry's bytes as stored
    Bytes highKey;
    std::size_t highKeyOffset = 0; // from the node's start
};

inline Bytes nodeBytes(const NodeImage& n, std::size_t nodeSize) {
    platform::ByteWriter w;
    std::size_t used = 0;
    for (const Bytes& e : n.entries)
        used += e.size();
    w.u32(n.right);                                     // 0
    w.u32(n.left);                                      // 4
    w.i16(static_cast<std::int16_t>(n.entries.size())); // 8: entries
    w.u16(static_cast<std::uint16_t>(used));            // 10: bytes in use
    w.u8(n.leaf ? 1 : 0);                               // 12
    w.u8(0);                                            // 13: member number
    for (const Bytes& e : n.entries)
        w.raw(e);
    Bytes image = w.take();
    image.resize(nodeSize, 0);
    std::copy(n.highKey.begin(), n.highKey.end(),
              image.begin() + static_cast<std::ptrdiff_t>(n.highKeyOffset));
    return image;
}

// Entry of a unique leaf or of an inner node: u32 position, then the key.
inline Bytes entry(std::uint32_t pointer, const Bytes& key) {
    platform::ByteWriter w;
    w.u32(pointer);
    w.raw(key);
    return w.take();
}

inline void place(Bytes& file, std::size_t offset, const Bytes& part) {
    if (file.size() < offset + part.size())
        file.resize(offset + part.size(), 0);
    std::copy(part.begin(), part.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
}

// A key of `length` bytes: the text, padded with spaces.
inline Bytes textKey(std::string_view text, std::size_t length = 10) {
    Bytes key(length, ' ');
    std::copy(text.begin(),
              text.begin() + static_cast<std::ptrdiff_t>(std::min(text.size(), length)),
              key.begin());
    return key;
}

inline std::string keyText(const Bytes& key) {
    return std::string(key.begin(), key.end());
}

// The engine with 6 buffers, 14 files and 8 sectors (1024-byte nodes, the
// point database layer's node size) unless a test starts it otherwise, and a
// fresh folder for the test's files.
class IsamTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : name)
            if (c == '/')
                c = '-';
        folder_ = fs::temp_directory_path() /
                  ("tarnwell-isam-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }

    void TearDown() override {
        ptbank::isamRelease();
        ptbank::isamRestoreSystemCalls();
        fs::remove_all(folder_);
    }

    void startEngine(int buffers = 6, int files = 14, int sectors = 8) {
        ASSERT_EQ(ptbank::isamInit(buffers, files, sectors), 0);
    }

    fs::path file(const std::string& name) const { return folder_ / name; }

    fs::path folder_;
};

} // namespace isamtest
