#pragma once
// The a-priori standard errors in force while raw records are turned into
// observations. They start from the project's settings; a standard-error
// record in the raw data changes them from its position on. Angles in
// seconds of arc, lengths in the raw list's unit.

#include <array>

class globalVars;
struct rawRec;

// Elements of the block.
enum readerStdErrIndex : int {
    seAzimuth = 0,
    seHorizPointing = 1,
    seHorizReading = 2,
    seTargetCentering = 3,
    seInstrumentCentering = 4,
    seEasting = 5,
    seNorthing = 6,
    seElevation = 7,
    seDistConstant = 8,
    seDistPpm = 9,
    seVertPointing = 10,
    seVertReading = 11,
    seInstrumentHeight = 12,
    seRodHeight = 13,
};

inline constexpr int readerStdErrCount = 14;
using stdErrBlock = std::array<double, readerStdErrCount>;

// Control-point standard errors: > 0 weighted, -1 no coordinate given,
// -2 (and below) fixed.
inline constexpr double stdErrNotGiven = -1.0;
inline constexpr double stdErrFixed = -2.0;

extern stdErrBlock readerStdErrs;
// The block as it stood when the raw files had been read; every builder pass
// starts again from it.
extern stdErrBlock savedReaderStdErrs;

// The project's standard errors as a block. In the 3D model (`geodeticModel`
// 1) lengths are converted to metres by the `HorizUnits` factor; control
// errors of 0 become fixed (-2).
stdErrBlock projectStdErrs(const globalVars& settings);

// Puts the project's standard errors in force and saves the copy; done once
// per loading of the raw files.
void initReaderStdErrs(const globalVars& settings);

// A raw length in the unit of the standard errors in force. In the 3D model
// those are in metres while the raw lengths stay in the project's unit until
// the builders convert them, so an error worked out of a length (parts per
// million of a distance, a zenith's share of a height difference) takes the
// length through this first: the sum is then in one unit.
double rawLengthInStdErrUnit(double rawLength);

// Puts the saved copy back in force at the start of a builder pass.
void restoreReaderStdErrs();

// A standard-error record (kind 5) of the raw data: every field that is set
// replaces its element of `readerStdErrs`; unset fields leave theirs.
void applyRawStdErrRec(const rawRec& record);
