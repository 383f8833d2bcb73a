#include "platform/shared_memory.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

namespace {

std::string uniqueName(const char* what) {
    return std::string("tarnwell-test-") + what + "-" + std::to_string(::getpid());
}

} // namespace

TEST(SharedMemoryBlock, AnotherMappingSeesWhatTheCreatorWrote) {
    const std::string name = uniqueName("share");
    auto created = platform::SharedMemoryBlock::create(name, 520);
    ASSERT_TRUE(created.isOpen());
    ASSERT_EQ(created.bytes().size(), 520u);
    EXPECT_EQ(created.bytes()[519], '\0') << "a new block is all zero";
    std::memcpy(created.bytes().data(), "hello", 6);

    const auto opened = platform::SharedMemoryBlock::open(name);
    ASSERT_TRUE(opened.isOpen());
    EXPECT_EQ(opened.bytes().size(), 520u);
    EXPECT_STREQ(opened.bytes().data(), "hello");

    EXPECT_TRUE(platform::SharedMemoryBlock::remove(name));
    EXPECT_STREQ(opened.bytes().data(), "hello") << "a mapping outlives the name";
    EXPECT_FALSE(platform::SharedMemoryBlock::open(name).isOpen());
}

TEST(SharedMemoryBlock, MissingOrEmptyBlocksAreNotOpen) {
    EXPECT_FALSE(platform::SharedMemoryBlock::open(uniqueName("absent")).isOpen());
    EXPECT_FALSE(platform::SharedMemoryBlock::create(uniqueName("empty"), 0).isOpen());
    EXPECT_FALSE(platform::SharedMemoryBlock::remove(uniqueName("absent")));
}

TEST(SharedMemoryBlock, MovingHandsTheMappingOver) {
    const std::string name = uniqueName("move");
    auto first = platform::SharedMemoryBlock::create(name, 16);
    ASSERT_TRUE(first.isOpen());
    platform::SharedMemoryBlock second = std::move(first);
    EXPECT_FALSE(first.isOpen());
    ASSERT_TRUE(second.isOpen());
    second.bytes()[0] = 'x';
    platform::SharedMemoryBlock::remove(name);
}
