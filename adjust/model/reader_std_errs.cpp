#include "model/reader_std_errs.hpp"

#include "model/raw_record.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/length_units.hpp"

stdErrBlock readerStdErrs{};
stdErrBlock savedReaderStdErrs{};

namespace {

constexpr int threeDModel = 1;

// Metres per project unit where the errors in force are in metres, else 1.
double stdErrLengthFactor = 1.0;

double metresPerUnitOfErrors(const globalVars& s) {
    return s.geodeticModel == threeDModel ? units::metresPerUnit(s.HorizUnits) : 1.0;
}

double controlError(double value) {
    return value == 0.0 ? stdErrFixed : value;
}

} // namespace

stdErrBlock projectStdErrs(const globalVars& s) {
    const double u = metresPerUnitOfErrors(s);
    stdErrBlock block{};
    block[seAzimuth] = s.stErrAz;
    block[seHorizPointing] = s.stErrPoint;
    block[seHorizReading] = s.stErrRead;
    block[seTargetCentering] = s.stErrTrgtCentering * u;
    block[seInstrumentCentering] = s.stErrInstrCentering * u;
    block[seEasting] = controlError(s.stErrX * u);
    block[seNorthing] = controlError(s.stErrY * u);
    block[seElevation] = controlError(s.stErrZ * u);
    block[seDistConstant] = s.stErrDist * u;
    block[seDistPpm] = s.stErrDistPPM;
    block[seVertPointing] = s.vStErrPoint;
    block[seVertReading] = s.vStErrRead;
    block[seInstrumentHeight] = s.HIStErr * u;
    block[seRodHeight] = s.rodStErr * u;
    return block;
}

void initReaderStdErrs(const globalVars& settings) {
    readerStdErrs = projectStdErrs(settings);
    savedReaderStdErrs = readerStdErrs;
    stdErrLengthFactor = metresPerUnitOfErrors(settings);
}

double rawLengthInStdErrUnit(double rawLength) {
    return rawLength * stdErrLengthFactor;
}

void restoreReaderStdErrs() {
    readerStdErrs = savedReaderStdErrs;
}

namespace {

void takeWhenSet(int element, double value) {
    if (isSet(value))
        readerStdErrs[element] = value;
}

} // namespace

void applyRawStdErrRec(const rawRec& r) {
    takeWhenSet(seAzimuth, r.stErrAz);
    takeWhenSet(seHorizPointing, r.stErrPoint);
    takeWhenSet(seHorizReading, r.stErrRead);
    takeWhenSet(seVertPointing, r.vStErrPoint);
    takeWhenSet(seVertReading, r.vStErrRead);
    takeWhenSet(seTargetCentering, r.stErrTrgtCentering);
    takeWhenSet(seInstrumentCentering, r.stErrInstrCentering);
    takeWhenSet(seEasting, r.stErrX);
    takeWhenSet(seNorthing, r.stErrY);
    takeWhenSet(seElevation, r.stErrZ);
    takeWhenSet(seDistConstant, r.stErrDist);
    takeWhenSet(seDistPpm, r.stErrDistPPM);
    takeWhenSet(seInstrumentHeight, r.HIStErr);
    takeWhenSet(seRodHeight, r.rodStErr);
}
