#include "platform/binary_io.hpp"

#include <gtest/gtest.h>

using platform::ByteReader;
using platform::ByteWriter;

TEST(BinaryIo, WritesLittleEndianFieldByField) {
    ByteWriter w;
    w.u16(0x1234);
    w.i32(-2);
    w.f64(1.0);
    w.fixedText("AB", 4);
    const std::vector<std::uint8_t> expected = {
        0x34, 0x12,                                     // u16
        0xFE, 0xFF, 0xFF, 0xFF,                         // -2
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F, // 1.0 in IEEE 754
        'A',  'B',  0x00, 0x00,                         // padded text
    };
    EXPECT_EQ(w.bytes(), expected);

    ByteReader r(w.bytes());
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.i32(), -2);
    EXPECT_EQ(r.f64(), 1.0);
    EXPECT_EQ(r.fixedText(4), "AB");
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(BinaryIo, ReadPastTheEndFailsAndNamesTheOffset) {
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    ByteReader r(bytes);
    EXPECT_EQ(r.u16(), 0x0201);
    EXPECT_EQ(r.u32(), 0u);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.failedAt(), 2u);
    EXPECT_EQ(r.u8(), 0u) << "reads after a failure return zeros";
}

TEST(BinaryIo, TextIsCutAtWidth) {
    ByteWriter w;
    w.fixedText("ABCDEFG", 3, ' ');
    ByteReader r(w.bytes());
    EXPECT_EQ(r.fixedText(3), "ABC");
}
