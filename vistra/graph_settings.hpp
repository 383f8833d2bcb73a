#pragma once
// The graphics window's drawing settings: what each group of items shows,
// in which colour of the colour table, with which symbol and at which size
// in pixels; the error ellipses' size in per cent of the window's width; and
// the picking radius in the project's unit. Each has its profile key.

#include <array>
#include <string_view>

namespace platform {
class ProfileStore;
}

// Colour-table indices; the settings offer red to yellow, black draws frames.
enum graphColour {
    colourRed,
    colourGreen,
    colourBlue,
    colourMagenta,
    colourCyan,
    colourYellow,
    colourBlack
};
inline constexpr int graphColourCount = 7;

enum graphSymbol { symbolSquare, symbolTriangle, symbolCircle };

// One group's switches, colours, symbol and sizes.
struct graphGroupSettings {
    int lineOn = 1;
    int symbolOn = 1;
    int textOn = 1;
    int lineColour = colourRed;
    int symbolColour = colourRed;
    int symbolType = symbolSquare;
    int symbolSize = 4;
    int textSize = 20;
};

struct graphSettings {
    graphGroupSettings traverse{1, 1, 1, 0, 0, 0, 4, 4};
    graphGroupSettings sideshots{1, 1, 1, 0, 0, 0, 4, 20};
    graphGroupSettings azimuths{1, 0, 1, 0, 0, 0, 4, 20};
    graphGroupSettings gps{1, 0, 1, 0, 0, 0, 20, 20};
    graphGroupSettings control{0, 1, 1, 0, 0, 0, 5, 20};  // no lines
    graphGroupSettings fixed{0, 1, 1, 0, 0, 0, 5, 20};    // no lines
    graphGroupSettings floating{0, 1, 1, 0, 0, 0, 5, 20}; // no lines
    int ellipseOn = 1;
    int ellipseColour = colourRed;
    int ellipseSize = 1;
    int pickRadius = 5;
};

// A setting's profile key and where it lives.
struct graphSettingKey {
    std::string_view key;
    int graphSettings::*plain = nullptr;
    graphGroupSettings graphSettings::*group = nullptr;
    int graphGroupSettings::*member = nullptr;
};

// The 54 keys of the profile section `graphSettingsSection`.
inline constexpr std::string_view graphSettingsSection = "Version 1.00";
const std::array<graphSettingKey, 54>& graphSettingKeys();
int& settingValue(graphSettings& settings, const graphSettingKey& key);

// Every setting from `profile`'s section; a value that is missing or not a
// whole number keeps its default.
graphSettings readGraphSettings(const platform::ProfileStore& profile);
// Every setting into `profile`'s section, under its key.
void writeGraphSettings(platform::ProfileStore& profile, const graphSettings& settings);
