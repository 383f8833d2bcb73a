#include "model/settings/project_defaults.hpp"

#include "model/angle_math.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_keys.hpp"
#include "model/settings/setting_ranges.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/profile_store.hpp"
#include "platform/record_fields.hpp"

#include <array>

using platform::formatC;
using projectKeys::ValueKind;

namespace {

// What happens to a profile value besides its plain store and read.
enum class Use {
    storedAndRead,
    writtenOnly,   // a new project takes it from setDefaults
    writtenAsZero, // an option that never becomes a default
    readOnly,      // never written: a new project starts with the fallback
};

struct ProfileValue {
    const char* name;
    const char* projectKey;
    const char* fallback; // as the profile would hold it
    Use use = Use::storedAndRead;
};

// In the order the values are written. A new project's units agree (metres
// throughout, the level files too), its ellipsoid is WGS 84's, as in
// setDefaults, and its GPS vectors are read from the system's own .GPS files.
constexpr std::array<ProfileValue, 75> profileValues = {{
    {"gridSys", "gridSystem", "0"},
    {"gridZone", "gridZone", "0"},
    {"convergeLimit", "convergeLimit", "0.002"},
    {"SF", "SF", "1.0"},
    {"projZ", "projZ", "0.0"},
    {"ZUnits", "ZUnits", "0"},
    {"HorizUnits", "HorizUnits", "0"},
    {"stErrDist", "stErrDist", "0.01"},
    {"stErrDistPPM", "stErrDistPPM", "5.0"},
    {"stErrAz", "stErrAz", "5.0"},
    {"stErrX", "stErrX", "0.01"},
    {"stErrY", "stErrY", "0.01"},
    {"stErrZ", "stErrZ", "0.02"},
    {"stErrPoint", "stErrPoint", "3.0"},
    {"stErrRead", "stErrRead", "3.0"},
    {"stErrTrgtCentering", "stErrTrgtCentering", "0.005"},
    {"vStErrPoint", "vStErrPoint", "3.0"},
    {"vStErrRead", "vStErrRead", "3.0"},
    {"rodStErr", "rodStErr", "0.01"},
    {"HIStErr", "HIStErr", "0.01"},
    {"stErrInstrCentering", "stErrInstrCentering", "0.005"},
    {"maxIterations", "maxIterations", "10"},
    {"neOutPrec", "neOutPrec", "2"},
    {"zOutPrec", "zOutPrec", "2"},
    {"useProjZ", "useProjZ", "0"},
    {"horizAdjust", "horizAdjust", "1"},
    {"vertAdjust", "vertAdjust", "1"},
    {"directionType", "directionType", "0"},
    {"angleType", "angleType", "0"},
    {"curvRefract", "curvRefract", "1"},
    {"dUnits", "dUnits", "1"},
    {"NEDisplayType", "NEDisplayType", "0"},
    {"distPrec", "distPrec", "2"},
    {"coordPrec", "coordPrec", "2"},
    {"directionPrec", "directionPrec", "1"},
    {"nullElev", "nullElev", "-99999999.0"},
    {"supplamentalNE", "supplamentalNE", "0"},
    {"wrtToCrd", "wrtToCrd", "0"},
    {"vDistTol", "vDistTol", "0.03"},
    {"hDistTol", "hDistTol", "0.02"},
    {"hAngTol", "hAngTol", "5.0"},
    {"vAngTol", "vAngTol", "7.0"},
    {"includeSS", "includeSS", "1"},
    {"confidenceInterval", "confidenceInterval", "95.0"},
    {"PtSubstituteS", "PtSubstituteS", "", Use::writtenOnly},
    {"includeRawData", "includeRawData", "1"},
    {"includeGPSVectors", "includeGPSVectors", "0"},
    {"includeClosure", "includeClosure", "0", Use::writtenAsZero},
    {"includeLevelData", "includeLevData", "0"},
    {"diffLevCollimation", "diffLevCollimation", "3"},
    {"diffLevDistBSFS", "diffLevDistBSFS", "100"},
    {"diffLevRodRead", "diffLevRodRead", ".001"},
    {"geodeticModel", "geodeticModel", "0"},
    {"geoidHt", "geoidHt", "0.0"},
    {"geoidModel", "geoidModel", "0"},
    {"geoidModelType", "geoidModelType", "1"},
    {"gpsFileFmtType", "gpsFileFmtType", "0"},
    {"elevDispPrec", "elevDispPrec", "1"},
    {"asciiNEZType", "asciiNEZType", "0"},
    {"crdFileType", "crdFileType", "1"},
    {"controlCrdFileType", "nezFileFmtType", "1"},
    {"GPSUnits", "GPSUnits", "0"},
    {"levelUnits", "levelUnits", "0"},
    {"ttlStaUnits", "ttlStaUnits", "0"},
    {"defaultRawEditor", "defaultRawEditor", "1"},
    {"ALTARptOn", "ALTARptOn", "0", Use::writtenAsZero},
    {"relativeErrFileOn", "relativeErrFileOn", "0", Use::writtenAsZero},
    {"altaPPM", "altaPPM", "", Use::writtenOnly},
    {"altaTolerance", "altaTolerance", "", Use::writtenOnly},
    {"Ellipsoid", "ellipsoid", "15"},
    {"UDPFilePath", "UDPFilePath", ""},
    {"levelFileFmtType", "levelFileFmtType", "0"},
    {"Rw5GPSUnits", "Rw5GPSUnits", "", Use::writtenOnly},
    {"useRw5GPSVectors", "useRw5GPSVectors", "", Use::writtenOnly},
    {"relativeErrFileNm", "relativeErrFileNm", "", Use::readOnly},
}};

const projectKeys::Key& settingOf(const ProfileValue& value) {
    return projectKeys::table()[static_cast<std::size_t>(projectKeys::idOf(value.projectKey))];
}

// The two angle tolerances are radians in memory and seconds of arc in the profile.
bool isAngleTolerance(const projectKeys::Key& key) {
    return key.real == &globalVars::hAngTol || key.real == &globalVars::vAngTol;
}

void store(platform::ProfileStore& profile, const globalVars& g, const ProfileValue& value) {
    const projectKeys::Key& key = settingOf(value);
    switch (key.kind) {
    case ValueKind::text:
        profile.setString(defaultsSection, value.name, g.*key.text);
        break;
    case ValueKind::integer:
        profile.setInt(defaultsSection, value.name,
                       value.use == Use::writtenAsZero ? 0 : g.*key.integer);
        break;
    case ValueKind::real:
    case ValueKind::real9: {
        const double factor = isAngleTolerance(key) ? angle::secondsPerRadian : 1.0;
        profile.setString(defaultsSection, value.name, formatC("%f", g.*key.real * factor));
        break;
    }
    }
}

void setNumber(globalVars& g, const projectKeys::Key& key, double number) {
    if (key.kind == ValueKind::integer)
        g.*key.integer = static_cast<int>(number);
    else
        g.*key.real = isAngleTolerance(key) ? number / angle::secondsPerRadian : number;
}

// Reads one value into `g`. A number that is not wholly one, or outside its
// setting's range, gives way to the built-in fallback and is named in
// `refusals`: read as far as it went, "0,01" became a standard error of 0.
void load(const platform::ProfileStore& profile, globalVars& g, const ProfileValue& value,
          std::vector<std::string>& refusals) {
    const projectKeys::Key& key = settingOf(value);
    const std::string text = profile.getString(defaultsSection, value.name, value.fallback);
    if (key.kind == ValueKind::text) {
        g.*key.text = text;
        return;
    }
    double number = 0.0;
    const std::string reason = settingTextRefusal(key, text, number);
    if (reason.empty()) {
        setNumber(g, key, number);
        return;
    }
    refusals.push_back(profileRefusal(value.name, text, reason, value.fallback));
    settingTextRefusal(key, value.fallback, number);
    setNumber(g, key, number);
}

constexpr int widestOutputPrecision = 8;
constexpr int fallbackOutputPrecision = 2;

} // namespace

int globalVars::saveAsDefault() const {
    platform::ProfileStore profile(programProfileKey);
    std::string error;
    // Other values of the profile (windows, the graphics settings) must survive.
    if (!profile.load(error))
        return 1;
    for (const ProfileValue& value : profileValues) {
        if (value.use != Use::readOnly)
            store(profile, *this, value);
    }
    return profile.save(error) ? 0 : 1;
}

std::string profileRefusal(const std::string& name, const std::string& text,
                           const std::string& reason, const std::string& fallback) {
    return formatC("Profile defaults: %s=%s refused (%s); the built-in default %s is used.",
                   name.c_str(), platform::recordExcerpt(text).c_str(), reason.c_str(),
                   fallback.c_str());
}

std::vector<std::string> loadProjectDefaults() {
    platform::ProfileStore profile(programProfileKey);
    std::string error;
    // An unreadable profile reads as an empty one: every setting takes its fallback.
    profile.load(error);
    std::vector<std::string> refusals;
    for (const ProfileValue& value : profileValues) {
        if (value.use != Use::writtenOnly)
            load(profile, projectVars, value, refusals);
    }
    if (projectVars.neOutPrec < 0 || projectVars.neOutPrec > widestOutputPrecision)
        projectVars.neOutPrec = fallbackOutputPrecision;
    // Level files read in feet under a project in metres would shift every
    // level point, so without a saved unit of their own they take the project's.
    if (!profile.value(defaultsSection, "levelUnits"))
        projectVars.levelUnits = projectVars.HorizUnits;
    return refusals;
}
