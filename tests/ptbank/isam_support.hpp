#pragma once
// Shared by the ISAM engine tests: a scratch folder per test, the engine
// started and released around each test, and whole-file byte access.

#include "ptbank/isam/isam.hpp"
#include "ptbank/isam/isam_system_calls.hpp"

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

// The engine as the point database layer starts it (6 buffers, 14 files,
// 8 sectors: 1024-byte nodes) unless a test starts it otherwise, and a fresh
// folder for the test's files.
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
