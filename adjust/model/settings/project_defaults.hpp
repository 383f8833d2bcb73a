#pragma once
// The defaults of new projects, kept in the user profile: key
// "Velmora Software/Tarnwell", section "Version 1.00", one value per setting
// named after its project-file key (but gridSys, includeLevelData,
// controlCrdFileType and Ellipsoid). Ints are stored as integers, reals as
// "%f" texts, the two angle tolerances as "%f" texts in seconds of arc.

#include <string>
#include <vector>

// Where the defaults live.
inline constexpr const char* programProfileKey = "Velmora Software/Tarnwell";
inline constexpr const char* defaultsSection = "Version 1.00";

// Reads the defaults into `projectVars`; a value missing from the profile
// takes its built-in fallback (which for some settings differs from
// globalVars::setDefaults). `neOutPrec` outside 0-8 becomes 2; `levelUnits`,
// when the profile holds none, follows `HorizUnits`. A number that
// is not wholly one, or outside its setting's range, takes the fallback too
// and is named in what is returned, one line each (profileRefusal).
std::vector<std::string> loadProjectDefaults();

// "Profile defaults: <name>=<text> refused (<reason>); the built-in default
// <fallback> is used."
std::string profileRefusal(const std::string& name, const std::string& text,
                           const std::string& reason, const std::string& fallback);
