#pragma once
// The length factors of the whole system, in one place.

namespace units {

// Metres in one US survey foot (1200/3937 m) and one international foot.
inline constexpr double usSurveyFootMetres = 0.3048006096012192;
inline constexpr double internationalFootMetres = 0.3048;

// Feet in one metre, as the reports multiply by them.
inline constexpr double metreInUsSurveyFeet = 3.2808333333333333;
inline constexpr double metreInInternationalFeet = 3.280839895013123;

// US survey feet in one international foot (exactly 0.3048 x 3937 / 1200).
inline constexpr double internationalFootInUsSurveyFeet = 0.999998;

// Project horizontal unit codes (`HorizUnits`).
inline constexpr int metres = 0;
inline constexpr int usSurveyFeet = 1;
inline constexpr int internationalFeet = 2;

// Metres in one project unit of the given code; any other code is metres.
constexpr double metresPerUnit(int unitCode) {
    return unitCode == usSurveyFeet        ? usSurveyFootMetres
           : unitCode == internationalFeet ? internationalFootMetres
                                           : 1.0;
}

// Project units in one metre: the factor warnings use to show metre values.
constexpr double unitsPerMetre(int unitCode) {
    return unitCode == usSurveyFeet        ? metreInUsSurveyFeet
           : unitCode == internationalFeet ? metreInInternationalFeet
                                           : 1.0;
}

// US survey feet in one project unit of the given code (State Plane 1927
// grids are in US survey feet); any other code is metres.
constexpr double usSurveyFeetPerUnit(int unitCode) {
    return unitCode == usSurveyFeet        ? 1.0
           : unitCode == internationalFeet ? internationalFootInUsSurveyFeet
                                           : metreInUsSurveyFeet;
}

} // namespace units
