// The graphics window's drawing settings: their profile keys and defaults.

#include "vistra/graph_settings.hpp"

#include "platform/profile_store.hpp"
#include "support/config_folder_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

int valueOf(graphSettings& settings, std::string_view key) {
    for (const graphSettingKey& k : graphSettingKeys())
        if (k.key == key)
            return settingValue(settings, k);
    ADD_FAILURE() << "no key " << key;
    return -1;
}

TEST(GraphSettings, FiftyFourDistinctKeys) {
    std::set<std::string_view> keys;
    for (const graphSettingKey& k : graphSettingKeys())
        keys.insert(k.key);
    EXPECT_EQ(keys.size(), 54u);
}

TEST(GraphSettings, FreshDefaults) {
    graphSettings s;
    struct Case {
        const char* key;
        int value;
    } cases[] = {
        {"travLnOnOff", 1},   {"travTxtSize", 4},   {"travSymbSize", 4},   {"ssTxtSize", 20},
        {"azSymbOnOff", 0},   {"azTxtOnOff", 1},    {"gpsSymbOnOff", 0},   {"gpsSymbSize", 20},
        {"cpSymbSize", 5},    {"fixPTxtSize", 20},  {"floatPTxtOnOff", 1}, {"floatPSymbType", 0},
        {"errEllipOnOff", 1}, {"errEllipColor", 0}, {"errEllipSize", 1},   {"pickRadius", 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(valueOf(s, c.key), c.value) << c.key;
}

TEST(GraphSettings, EachKeyReachesItsOwnValue) {
    graphSettings s;
    int n = 100;
    for (const graphSettingKey& k : graphSettingKeys())
        settingValue(s, k) = n++;
    EXPECT_EQ(s.traverse.lineOn, 100);
    EXPECT_EQ(s.traverse.textSize, 107);
    EXPECT_EQ(s.sideshots.lineOn, 108);
    EXPECT_EQ(s.control.symbolOn, 132);
    EXPECT_EQ(s.floating.textSize, 149);
    EXPECT_EQ(s.pickRadius, 153);
}

// Every setting goes to the profile under its key and comes back; a value
// that is missing or not a whole number keeps its default.
TEST(GraphSettings, TheProfileKeepsEverySetting) {
    testsupport::TempFolder folder("graph_settings");
    testsupport::ConfigFolderGuard config(folder / "config");
    graphSettings changed;
    int n = 30;
    for (const graphSettingKey& k : graphSettingKeys())
        settingValue(changed, k) = n++;
    {
        platform::ProfileStore profile("Velmora Software/Tarnwell");
        writeGraphSettings(profile, changed);
        profile.setString("MainWindow", "X", "12");
        std::string error;
        ASSERT_TRUE(profile.save(error)) << error;
    }
    platform::ProfileStore profile("Velmora Software/Tarnwell");
    std::string error;
    ASSERT_TRUE(profile.load(error)) << error;
    EXPECT_EQ(profile.getString("Version 1.00", "travLnOnOff", ""), "30");
    EXPECT_EQ(profile.getString("Version 1.00", "pickRadius", ""), "83");
    graphSettings read = readGraphSettings(profile);
    for (const graphSettingKey& k : graphSettingKeys())
        EXPECT_EQ(settingValue(read, k), settingValue(changed, k)) << k.key;

    platform::ProfileStore partial("Velmora Software/Other");
    partial.setString("Version 1.00", "travTxtSize", "large");
    partial.setInt("Version 1.00", "ssSymbSize", 7);
    read = readGraphSettings(partial);
    EXPECT_EQ(read.traverse.textSize, 4);
    EXPECT_EQ(read.sideshots.symbolSize, 7);
    EXPECT_EQ(read.pickRadius, 5);
}

} // namespace
