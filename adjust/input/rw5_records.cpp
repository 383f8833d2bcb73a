#include "input/rw5_reading.hpp"

#include "model/packed_degrees.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"

#include <span>

namespace {

constexpr std::size_t coordDescriptionMax = 170;
// Standard errors typed as 0 (or nearly) would give infinite weights.
constexpr double smallestStdErr = 1e-15;
constexpr double stdErrForZero = 1e-6;

// One value of a standard-error record, in the order of its tokens.
struct StdErrToken {
    double rawRec::*field;
    double globalVars::*setting; // taken for "*"
    std::size_t prefixLength;
    bool linear;     // multiplied by the unit factor
    bool markers;    // "#" free (-1), "!" fixed (-2)
    bool inForceNow; // put in force as soon as it is read
};

constexpr StdErrToken measurementTokens[] = {
    {&rawRec::stErrPoint, &globalVars::stErrPoint, 2, false, false, true},
    {&rawRec::stErrRead, &globalVars::stErrRead, 2, false, false, true},
    {&rawRec::vStErrPoint, &globalVars::vStErrPoint, 2, false, false, true},
    {&rawRec::vStErrRead, &globalVars::vStErrRead, 2, false, false, true},
    {&rawRec::stErrDist, &globalVars::stErrDist, 2, true, false, true},
    {&rawRec::stErrDistPPM, &globalVars::stErrDistPPM, 2, false, false, true},
};
constexpr StdErrToken setupTokens[] = {
    {&rawRec::stErrTrgtCentering, &globalVars::stErrTrgtCentering, 2, true, false, true},
    {&rawRec::stErrInstrCentering, &globalVars::stErrInstrCentering, 2, true, false, true},
    {&rawRec::HIStErr, &globalVars::HIStErr, 2, true, false, true},
    {&rawRec::rodStErr, &globalVars::rodStErr, 2, true, false, true},
};
// Northing and easting with one-letter prefixes; the azimuth error is kept
// in the record only.
constexpr StdErrToken controlTokens[] = {
    {&rawRec::stErrY, &globalVars::stErrY, 1, true, true, true},
    {&rawRec::stErrX, &globalVars::stErrX, 1, true, true, true},
    {&rawRec::stErrZ, &globalVars::stErrZ, 2, true, true, true},
    {&rawRec::stErrAz, &globalVars::stErrAz, 2, false, false, false},
};

std::span<const StdErrToken> stdErrTokensOf(const std::string& code) {
    if (code == "MSE")
        return measurementTokens;
    if (code == "SSE")
        return setupTokens;
    return controlTokens;
}

} // namespace

Rw5Heights rw5Heights(const Rw5Record& record) {
    Rw5Heights heights;
    for (const std::string& token : record.tokens) {
        const std::string text = rw5ValueText(token, 0);
        if (text.size() < 2)
            continue;
        if (text[1] == 'I')
            heights.instrument = rw5Number(text, 2);
        else if (text[1] == 'R')
            heights.rod = rw5Number(text, 2);
    }
    return heights;
}

void Rw5Reading::readHeights(const Rw5Record& record) {
    const Rw5Heights heights = rw5Heights(record);
    if (heights.rod)
        rodHeight_ = *heights.rod;
    if (!heights.instrument)
        return;
    const bool changed = *heights.instrument != instrumentHeight_;
    instrumentHeight_ = *heights.instrument;
    if (changed)
        repeatSetupWithNewHi();
}

bool Rw5Reading::readStoredPoint(const Rw5Record& record) {
    Rw5StoredPoint point;
    point.name = rw5Name(rw5Token(record, 0));
    point.northing = rw5Number(rw5Token(record, 1), 1).value_or(notComputed);
    point.easting = rw5Number(rw5Token(record, 2), 1).value_or(notComputed);
    point.elevation = rw5Number(rw5Token(record, 3), 2).value_or(notComputed);
    if (isResectionNext())
        return readResection(point.name);
    rawRec coordinate;
    initRawCoord(coordinate);
    setPointName(coordinate.pointName, point.name);
    coordinate.northing = point.northing;
    coordinate.easting = point.easting;
    coordinate.elevation = point.elevation;
    setFixedText(coordinate.description,
                 std::string_view(record.description).substr(0, coordDescriptionMax));
    addStoredPoint(point);
    store(coordinate);
    return true;
}

void Rw5Reading::readElevation(const Rw5Record& record, bool joinsStoredPoints) {
    Rw5StoredPoint point;
    point.name = rw5Name(rw5Token(record, 0));
    point.elevation = rw5Number(rw5Token(record, 1), 2).value_or(notComputed);
    if (joinsStoredPoints)
        addStoredPoint(point);
    storeCoordinate(point.name, notComputed, notComputed, point.elevation);
}

void Rw5Reading::readAzimuthRecord(const Rw5Record& record) {
    const std::optional<double> azimuth = rw5Number(rw5Token(record, 2), 2);
    if (azimuth)
        storeAzimuth(rw5Name(rw5Token(record, 0)), rw5Name(rw5Token(record, 1)),
                     dmsToRadians(*azimuth));
}

void Rw5Reading::readStdErrRecord(const Rw5Record& record) {
    rawRec stored;
    initRawStdErrs(stored);
    rawRec inForce;
    initRawStdErrs(inForce);
    const std::span<const StdErrToken> tokens = stdErrTokensOf(record.code);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const StdErrToken& t = tokens[i];
        const std::string text = rw5ValueText(rw5Token(record, i), t.prefixLength);
        if (text.empty())
            continue;
        const double factor = t.linear ? unitFactor_ : 1.0;
        if (t.markers && (text == "#" || text == "!")) {
            stored.*t.field = text == "#" ? stdErrNotGiven : stdErrFixed;
            continue;
        }
        double value = projectVars.*t.setting;
        if (text != "*") {
            value = rw5Number(text, 0).value_or(0.0);
            if (value >= 0 && value <= smallestStdErr)
                value = stdErrForZero;
        }
        stored.*t.field = value * factor;
        if (t.inForceNow)
            inForce.*t.field = value * factor;
    }
    applyRawStdErrRec(inForce);
    store(stored);
}
