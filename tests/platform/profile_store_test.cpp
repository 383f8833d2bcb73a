#include "platform/profile_store.hpp"
#include "support/config_folder_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace fs = std::filesystem;

namespace {

// Points the store at the test's own configuration folder.
class ProfileStoreTest : public ::testing::Test {
protected:
    testsupport::TempFolder folder{"profile-store"};
    testsupport::ConfigFolderGuard config{folder.path()};
};

} // namespace

TEST_F(ProfileStoreTest, ConfigFolderComesFromTheEnvironment) {
    EXPECT_EQ(platform::userConfigFolder(), folder.path());
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", "/home/surveyor", 1);
    setenv("XDG_CONFIG_HOME", "relative/folder", 1);
    EXPECT_EQ(platform::userConfigFolder(), fs::path("/home/surveyor/.config"))
        << "a relative XDG_CONFIG_HOME is ignored";
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(platform::userConfigFolder(), fs::path("/home/surveyor/.config"));
    setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(ProfileStoreTest, ValuesSurviveARestart) {
    {
        platform::ProfileStore store("Velmora Software/Tarnwell");
        EXPECT_EQ(store.path(), folder.path() / "Velmora Software" / "Tarnwell.ini");
        std::string error;
        ASSERT_TRUE(store.load(error)) << "a missing file is an empty store";
        store.setInt("Version 1.00", "gridZone", -3702);
        store.setString("Version 1.00", "UDPFilePath", "C:\\proj\\a b.udp");
        store.setString("Version 1.00", "odd", "line one\nline two\r\n = [x]");
        store.setString("MainWindow", "gridZone", "another section");
        ASSERT_TRUE(store.save(error)) << error;
    }
    platform::ProfileStore again("Velmora Software/Tarnwell");
    std::string error;
    ASSERT_TRUE(again.load(error));
    EXPECT_EQ(again.getInt("Version 1.00", "gridZone", 0), -3702);
    EXPECT_EQ(again.getString("Version 1.00", "UDPFilePath", ""), "C:\\proj\\a b.udp");
    EXPECT_EQ(again.getString("Version 1.00", "odd", ""), "line one\nline two\r\n = [x]");
    EXPECT_EQ(again.getString("MainWindow", "gridZone", ""), "another section");
    EXPECT_EQ(again.getString("MainWindow", "absent", "fallback"), "fallback");
    EXPECT_FALSE(again.value("Other", "gridZone").has_value());
}

TEST_F(ProfileStoreTest, IntegersThatAreNotIntegersTakeTheFallback) {
    platform::ProfileStore store("Velmora Software/Tarnwell");
    const struct {
        const char* text;
        int expected;
    } cases[] = {{"12", 12},
                 {" -7 ", -7},
                 {"", 99},
                 {"1.5", 99},
                 {"12abc", 99},
                 {"99999999999", 99},
                 {"2147483647", 2147483647}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        store.setString("S", "n", c.text);
        EXPECT_EQ(store.getInt("S", "n", 99), c.expected);
    }
}

TEST_F(ProfileStoreTest, SavingLeavesNoTemporaryAndAFailedSaveKeepsTheOldFile) {
    platform::ProfileStore store("Vendor/App");
    store.setInt("S", "a", 1);
    std::string error;
    ASSERT_TRUE(store.save(error));
    const auto before = testsupport::readBytes(store.path());
    EXPECT_EQ(before, "[S]\na=1\n");
    EXPECT_EQ(
        std::distance(fs::directory_iterator(store.path().parent_path()), fs::directory_iterator{}),
        1);

    // A file standing where the vendor folder must go makes the save fail.
    platform::ProfileStore blocked("Blocked/App");
    testsupport::writeBytes(folder / "Blocked", "a file, not a folder");
    blocked.setInt("S", "a", 2);
    EXPECT_FALSE(blocked.save(error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(testsupport::readBytes(store.path()), before);
}
