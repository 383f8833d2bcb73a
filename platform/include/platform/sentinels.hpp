#pragma once
// Values that stand for "nothing there".

// A value not yet computed; a value is set only when strictly greater.
inline constexpr double notComputed = -999999999.0;
inline constexpr bool isSet(double value) {
    return value > notComputed;
}

// The coordinate library's missing elevation, and the project's default text for it.
inline constexpr double missingElevation = -99999999.0;
inline constexpr const char* defaultNullElevText = "-99999999.0";
