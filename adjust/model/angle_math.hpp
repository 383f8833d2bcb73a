#pragma once
// Splitting an angle into degrees, minutes and seconds, shared by every
// angle text of the program.

namespace angle {

inline constexpr double pi = 3.14159265358979323846;
// Seconds of arc in one radian.
inline constexpr double secondsPerRadian = 648000.0 / pi;

struct Dms {
    double degrees;
    double minutes;
    double seconds;
};

// Degrees, minutes and seconds of a non-negative angle in decimal degrees,
// the seconds rounded to `decimals` decimals the way they will be printed
// ("%.*f" and read back) and carried into minutes and degrees at 60.
Dms splitDegrees(double degrees, int decimals);

} // namespace angle
