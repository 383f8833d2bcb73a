#include "vistra/graph_settings.hpp"

#include "platform/profile_store.hpp"

#include <string>

namespace {

using S = graphSettings;
using G = graphGroupSettings;

constexpr graphSettingKey plainKey(std::string_view key, int S::*plain) {
    return {key, plain, nullptr, nullptr};
}
constexpr graphSettingKey groupKey(std::string_view key, G S::*group, int G::*member) {
    return {key, nullptr, group, member};
}

// The eight keys of a group with lines: prefix + LnOnOff, SymbOnOff, ...
#define LINE_GROUP(prefix, group)                                                                  \
    groupKey(prefix "LnOnOff", &S::group, &G::lineOn),                                             \
        groupKey(prefix "SymbOnOff", &S::group, &G::symbolOn),                                     \
        groupKey(prefix "TxtOnOff", &S::group, &G::textOn),                                        \
        groupKey(prefix "LnColor", &S::group, &G::lineColour),                                     \
        groupKey(prefix "SymbColor", &S::group, &G::symbolColour),                                 \
        groupKey(prefix "SymbType", &S::group, &G::symbolType),                                    \
        groupKey(prefix "SymbSize", &S::group, &G::symbolSize),                                    \
        groupKey(prefix "TxtSize", &S::group, &G::textSize)
// The six keys of a group of points alone.
#define POINT_GROUP(prefix, group)                                                                 \
    groupKey(prefix "SymbOnOff", &S::group, &G::symbolOn),                                         \
        groupKey(prefix "TxtOnOff", &S::group, &G::textOn),                                        \
        groupKey(prefix "SymbColor", &S::group, &G::symbolColour),                                 \
        groupKey(prefix "SymbType", &S::group, &G::symbolType),                                    \
        groupKey(prefix "SymbSize", &S::group, &G::symbolSize),                                    \
        groupKey(prefix "TxtSize", &S::group, &G::textSize)

const std::array<graphSettingKey, 54> keys{
    LINE_GROUP("trav", traverse),
    LINE_GROUP("ss", sideshots),
    LINE_GROUP("az", azimuths),
    LINE_GROUP("gps", gps),
    POINT_GROUP("cp", control),
    POINT_GROUP("fixP", fixed),
    POINT_GROUP("floatP", floating),
    plainKey("errEllipOnOff", &S::ellipseOn),
    plainKey("errEllipColor", &S::ellipseColour),
    plainKey("errEllipSize", &S::ellipseSize),
    plainKey("pickRadius", &S::pickRadius),
};

#undef LINE_GROUP
#undef POINT_GROUP

} // namespace

const std::array<graphSettingKey, 54>& graphSettingKeys() {
    return keys;
}

int& settingValue(graphSettings& settings, const graphSettingKey& key) {
    if (key.plain != nullptr)
        return settings.*key.plain;
    return settings.*key.group.*key.member;
}

graphSettings readGraphSettings(const platform::ProfileStore& profile) {
    graphSettings settings;
    const std::string section(graphSettingsSection);
    for (const graphSettingKey& key : keys) {
        int& value = settingValue(settings, key);
        value = profile.getInt(section, std::string(key.key), value);
    }
    return settings;
}

void writeGraphSettings(platform::ProfileStore& profile, const graphSettings& settings) {
    const std::string section(graphSettingsSection);
    graphSettings values = settings;
    for (const graphSettingKey& key : keys)
        profile.setInt(section, std::string(key.key), settingValue(values, key));
}
