#pragma once
// The key table of the project file: one entry per stored setting of
// `globalVars`, in file order; an entry's index is its key id. The profile of
// program defaults names its values after the same keys.

#include "model/settings/global_vars.hpp"

#include <array>
#include <string>

namespace projectKeys {

// How a value is written: "%s" text, "%d" int, "%f" real, "%.9f" real9.
enum class ValueKind { text, integer, real, real9 };

struct Key {
    const char* name;
    ValueKind kind;
    std::string globalVars::*text = nullptr;
    int globalVars::*integer = nullptr;
    double globalVars::*real = nullptr;
};

// Id 0, the version line (no member: it always carries the format version);
// ids 1 to 85, the settings.
inline constexpr int versionLineId = 0;
inline constexpr int keyCount = 86;

// Ids whose handling differs from their kind's.
inline constexpr int reportFileNameId = 2;
inline constexpr int nezFileFmtTypeId = 36;
inline constexpr int versionId = 42;
inline constexpr int hAngTolId = 40;
inline constexpr int vAngTolId = 69;

const std::array<Key, keyCount>& table();

// The id of `name` (case-sensitive), or -1.
int idOf(const std::string& name);

} // namespace projectKeys
