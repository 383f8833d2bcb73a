#include "reports/report_words.hpp"

#include "geodetic/state_plane_27.hpp"
#include "geodetic/state_plane_83.hpp"
#include "geodetic/utm.hpp"
#include "model/settings/coordinate_system_names.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"
#include "reports/report_sections.hpp"

#include <array>
#include <vector>

namespace {

template <std::size_t N> std::string wordAt(const std::array<const char*, N>& words, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < N
               ? words[static_cast<std::size_t>(index)]
               : "";
}

std::string wordAt(const std::vector<std::string>& words, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < words.size()
               ? words[static_cast<std::size_t>(index)]
               : "";
}

constexpr std::array<const char*, 2> onOff = {"OFF", "ON"};
constexpr std::array<const char*, 3> units = {"Meters", "US Feet", "Intl. Feet"};
constexpr std::array<const char*, 8> geoidModels = {
    "GEOID99", "GEOID03", "EGM96", "GDA94", "CGG2000", "CANADA_HT2", "CANADA_HT1", "OSGM02"};

} // namespace

std::string onOffWord(int flag) {
    return wordAt(onOff, flag);
}

std::string unitWord(int unit) {
    return wordAt(units, unit);
}

std::string geoidModelWord(int model) {
    return wordAt(geoidModels, model);
}

std::string ellipsoidWord(int code) {
    return wordAt(ellipsoidNames(), code);
}

std::string projectionWord(int code) {
    return wordAt(projectionNames(), code);
}

std::string utmZoneWord(int zone) {
    const std::vector<std::string>& names = utmZoneNames();
    if (zone >= 1 && static_cast<std::size_t>(zone) <= names.size())
        return names[static_cast<std::size_t>(zone - 1)];
    return platform::formatC("%d", zone);
}

std::string statePlaneZoneWord(int system, int zoneCode) {
    const std::vector<std::string>& names =
        system == gridStatePlane83 ? spc83ZoneNameList() : spc27ZoneNameList();
    const int index = zoneNameIndex(system, zoneCode);
    // The index of an unknown code is the list's length: no name to print.
    if (static_cast<std::size_t>(index) < names.size())
        return names[static_cast<std::size_t>(index)];
    return platform::formatC("%04d", zoneCode);
}

CoordinateLetters coordinateLetters() {
    switch (projectVars.NEDisplayType) {
    case 1:
        return {'E', 'N', true};
    case 2:
        return {'X', 'Y', true};
    case 3:
        return {'Y', 'X', false};
    default:
        return {'N', 'E', false};
    }
}
