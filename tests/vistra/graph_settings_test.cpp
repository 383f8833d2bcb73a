// The graphics window's drawing settings: their profile keys and defaults.

#include "vistra/graph_settings.hpp"

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

} // namespace
