#include "input/numeric_raw_reader.hpp"

#include "input/raw_alias_step.hpp"
#include "input/raw_files.hpp"
#include "input/raw_text.hpp"
#include "input/vkr_fields.hpp"
#include "input/vkr_record_check.hpp"
#include "input/vkr_std_errs.hpp"
#include "model/angle_text.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "model/sight_reduction.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/input_file.hpp"
#include "platform/length_units.hpp"
#include "platform/line_reader.hpp"
#include "platform/paths.hpp"
#include "platform/record_fields.hpp"
#include "platform/shell_services.hpp"
#include "platform/system_reason.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

using platform::formatC;

namespace {

constexpr int threeDModel = 1;
constexpr int gradsAngleType = 1;
constexpr std::size_t aliasMarkerLength = 4;
constexpr std::size_t foresightDescriptionMax = 100;
constexpr double halfPi = 1.57079632679489661923;

void errLine(const std::string& text) {
    writeLine(errFile, text);
}

std::string upperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// A value "as written" above a half circle reads as the reverse face.
int faceOf(double zenithAsWritten) {
    const double halfCircle = projectVars.angleType == gradsAngleType ? 200.0 : 180.0;
    return zenithAsWritten > halfCircle ? faceReverse : faceDirect;
}

// The setup / foresight variants of the fields both record kinds share.
double& readingOf(rawRec& r) {
    return r.kind == rawSetup ? r.bsHorizontalReading : r.horizontalReading;
}
double& targetHeightOf(rawRec& r) {
    return r.kind == rawSetup ? r.bsTargetHeight : r.targetHeight;
}

void setDescription(rawRec& record, const std::string& text, std::size_t maximum) {
    setFixedText(record.description, std::string_view(text).substr(0, maximum));
}

void warnLongDescription(const std::string& line) {
    errLine("Warning: Description cut to 100 characters in the following raw record.");
    errLine("  " + line);
    errLine("");
}

void warnInvalidVertAngle(const std::string& line) {
    errLine("Warning, Invalid Vert. Angle. in the following raw record.");
    errLine("  " + line);
    errLine("");
}

// The foresight's point, code and description (with its alias).
int parseForesightPart(const std::string& line, rawRec& r, const vkrReaderState& state) {
    const std::string point = vkrNameField(line, vkrForesightColumn);
    if (point.empty())
        return rawRecordError;
    setPointName(r.foresightName, point);
    setFixedText(r.code, vkrCodeField(line, vkrCodeColumn));
    const std::string description = vkrTextFrom(line, vkrDescriptionColumn);
    const auto marker =
        state.aliasMarker.empty() ? std::string::npos : description.find(state.aliasMarker);
    if (marker != std::string::npos)
        return registerRawAlias(description.substr(marker + state.aliasMarker.size()),
                                state.aliasMarker, point) == 0
                   ? rawRecordStore
                   : rawRecordError;
    if (description.size() > foresightDescriptionMax)
        warnLongDescription(line);
    setDescription(r, description, foresightDescriptionMax);
    return rawRecordStore;
}

int parseSetupPart(const std::string& line, rawRec& r, vkrReaderState& state) {
    if (const auto hi = vkrNumberField(line, vkrHiColumn)) {
        r.instrumentHeight = *hi;
        state.currentHI = *hi;
    }
    const std::string backsight = vkrNameField(line, vkrBacksightColumn);
    if (backsight.empty())
        return rawRecordError;
    setPointName(r.backsightName, backsight);
    return rawRecordStore;
}

// The face from the zenith as written (slope mode only).
void decideFace(const std::string& line, rawRec& r, vkrReaderState& state) {
    if (const auto zenith = vkrNumberField(line, vkrZenithColumn)) {
        r.face = faceOf(*zenith);
        return;
    }
    state.sawMissingZenith = true;
    if (r.kind == rawSetup) {
        r.face = faceDirect;
        return;
    }
    errLine("Warning: Missing Vert. Angle. Assumption made as to whether it is direct or reverse.");
    errLine("  " + line);
}

// Reduces a sight with a distance to horizontal distance and height
// difference, with the standard errors in force.
void reduceSight(int mode, const std::string& line, rawRec& r, const vkrReaderState& state) {
    const double target = targetHeightOf(r);
    // A slope distance without its zenith (or a horizontal distance without
    // its vertical difference) cannot be reduced: the sight keeps what was
    // read and no invented horizontal distance reaches the builders.
    if (!isSet(r.zenithOrVertDiff)) {
        warnInvalidVertAngle(line);
        return;
    }
    const bool heights = isSet(target) && isSet(state.currentHI);
    r.heightsApplied = heights ? 1 : 0;
    if (slopeToHzVert(mode, r.distance, r.zenithOrVertDiff, heights ? state.currentHI : 0.0,
                      heights ? target : 0.0, r.horizDistance, r.vertDifference) != 0)
        warnInvalidVertAngle(line);
    const double zenith = mode == vkrSlopeZenith ? r.zenithOrVertDiff : halfPi;
    slopeObsStdErrs(r.distStdErr, r.vertDiffStdErr, r.zenithStdErr,
                    rawLengthInStdErrUnit(r.distance), zenith, readerStdErrs[seVertPointing],
                    readerStdErrs[seVertReading], readerStdErrs[seDistConstant],
                    readerStdErrs[seDistPpm]);
}

void parseSight(int mode, const std::string& line, rawRec& r, const vkrReaderState& state) {
    const auto distance = vkrNumberField(line, vkrDistanceColumn);
    const auto second = vkrNumberField(line, vkrZenithColumn);
    const auto target = vkrNumberField(line, vkrTargetColumn);
    if (mode == vkrHorizVertDiff)
        r.sightForm = sightHorizVert;
    if (second)
        r.zenithOrVertDiff = mode == vkrSlopeZenith ? angleToRadians(*second) : *second;
    if (distance) {
        r.distance = *distance;
        if (target)
            targetHeightOf(r) = *target;
        reduceSight(mode, line, r, state);
    } else if (second && target) {
        targetHeightOf(r) = *target;
        r.zenithStdErr = std::hypot(readerStdErrs[seVertPointing], readerStdErrs[seVertReading]);
    } else {
        r.zenithOrVertDiff = notComputed;
    }
}

// A number token of a record that vkrRecordFault let through.
double tokenNumber(std::string_view token) {
    return platform::parseDataNumber(token).value_or(0.0);
}

// "C name northing easting [elevation] ['code,description]".
int parseVkrCoordinate(const std::string& text, rawRec& r, const vkrReaderState& state) {
    initRawCoord(r);
    const auto apostrophe = text.find('\'');
    const std::vector<std::string_view> tokens =
        platform::splitOnBlanks(std::string_view(text).substr(0, apostrophe));
    if (!tokens.empty())
        setPointName(r.pointName, tokens[0]);
    if (tokens.size() > 1)
        r.northing = tokenNumber(tokens[1]);
    if (tokens.size() > 2)
        r.easting = tokenNumber(tokens[2]);
    if (tokens.size() > 3)
        r.elevation = tokenNumber(tokens[3]);
    if (apostrophe != std::string::npos)
        parseRawAlias(text.substr(apostrophe + 1), r, state.aliasMarker,
                      tokens.empty() ? std::string() : std::string(tokens[0]));
    return rawRecordStore;
}

} // namespace

vkrReaderState startVkrRead() {
    const globalVars& s = projectVars;
    vkrReaderState state;
    state.unitFactor = s.geodeticModel == threeDModel ? units::metresPerUnit(s.HorizUnits) : 1.0;
    initReaderStdErrs(s);
    std::string marker = s.PtSubstituteS.substr(0, aliasMarkerLength);
    trimBlanks(marker);
    state.aliasMarker = upperAscii(marker);
    return state;
}

int parseVkrObservation(int mode, const std::string& line, rawRec& r, vkrReaderState& state) {
    const std::string station = vkrNameField(line, vkrStationColumn);
    if (!station.empty()) {
        initRawSetup(r);
        setPointName(r.stationName, station);
    } else {
        initRawForesight(r);
    }
    if (const auto reading = vkrNumberField(line, vkrReadingColumn))
        readingOf(r) = angleToRadians(*reading);
    const int named =
        r.kind == rawSetup ? parseSetupPart(line, r, state) : parseForesightPart(line, r, state);
    if (named != rawRecordStore)
        return rawRecordError;
    if (mode == vkrSlopeZenith)
        decideFace(line, r, state);
    parseSight(mode, line, r, state);
    return rawRecordStore;
}

int parseVkrAzimuth(const std::string& text, rawRec& r) {
    const std::vector<std::string_view> tokens = platform::splitOnBlanks(text);
    if (tokens.size() < 2)
        return rawRecordNothing;
    const auto dash = tokens[0].find('-');
    if (dash == std::string::npos)
        return rawRecordNothing;
    setPointName(r.fromName, tokens[0].substr(0, dash));
    setPointName(r.toName, tokens[0].substr(dash + 1));
    initRawAzimuth(r);
    const double value = tokenNumber(tokens[1]);
    r.azimuth =
        projectVars.directionType != 0 ? angleToRadians(value) : quadBearingToRadians(value);
    return rawRecordStore;
}

int parseVkrElevation(const std::string& text, rawRec& r) {
    initRawCoord(r);
    const std::vector<std::string_view> tokens = platform::splitOnBlanks(text);
    if (!tokens.empty())
        setPointName(r.pointName, tokens[0]);
    if (tokens.size() > 1)
        r.elevation = tokenNumber(tokens[1]);
    return rawRecordStore;
}

int parseVkrStdErrs(const std::string& text, rawRec& r, const vkrReaderState& state) {
    initRawStdErrs(r);
    scanStdErrTokens(text, r, state.unitFactor);
    applyRawStdErrRec(r);
    return rawRecordStore;
}

int parseVkrSubRecord(const std::string& text, rawRec& r, vkrReaderState& state) {
    std::string body = text;
    trimRawLine(body);
    const std::string letters = body.substr(0, 2);
    const std::string rest = body.size() > 2 ? body.substr(2) : std::string();
    if (letters == "C ")
        return parseVkrCoordinate(rest, r, state);
    if (letters == "DR" && !rest.empty() && rest[0] == ' ')
        return parseVkrAzimuth(rest, r);
    if (letters == "E ")
        return parseVkrElevation(rest, r);
    if (letters == "SE")
        return parseVkrStdErrs(rest, r, state);
    if (letters == "DO")
        state.reading = !state.reading;
    return rawRecordNothing;
}

int parseVkrLine(const std::string& line, rawRec& r, vkrReaderState& state) {
    if (line.empty())
        return rawRecordNothing;
    if (line[0] == '6') {
        const int result = parseVkrSubRecord(line.substr(1), r, state);
        return state.reading ? result : rawRecordNothing;
    }
    if (!state.reading)
        return rawRecordNothing;
    switch (line[0]) {
    case '1':
        return parseVkrObservation(vkrSlopeZenith, line, r, state);
    case '2':
        state.sawHorizVertDiff = true;
        return parseVkrObservation(vkrHorizVertDiff, line, r, state);
    // The type character is not part of the "FROM-TO" token.
    case '3':
        return parseVkrAzimuth(line.substr(1), r);
    default:
        return rawRecordNothing;
    }
}

namespace {

// No run context reaches readVkrRawFile: its interface has none, so the shell is
// the active one (the run installs its own for its length).
// `damaged`: the sentence on the field that made the record malformed, when
// one did. The record is quoted as an excerpt: a line of many megabytes
// must not land whole in the report and the message.
// The blunder check numbers the record (the header line is none) and ends
// its lines with an empty one.
void reportParseError(const std::string& line, const std::string& path, int lineNumber,
                      RawReadWording wording, const std::string& damaged = {}) {
    const bool blunderCheck = wording == RawReadWording::blunderCheck;
    std::vector<std::string> lines = {
        blunderCheck ? formatC("Error parsing raw record: %d", lineNumber - 1)
                     : std::string("Error parsing raw record:"),
        platform::recordExcerpt(line), formatC("In %s, line %d.", path.c_str(), lineNumber)};
    if (!damaged.empty())
        lines.push_back(damaged);
    std::string box;
    for (const std::string& text : lines) {
        errLine(text);
        box += (box.empty() ? "" : "\n") + text;
    }
    if (blunderCheck)
        errLine("");
    activeShell().message(box, MessageKind::ok);
}

// The reader's count of bytes rather than the stream's position: asking the
// system for the position cost a call per line.
void postPercent(const platform::LineReader& reader, const std::ifstream& file,
                 std::uintmax_t size) {
    if (size == 0)
        return;
    const std::uintmax_t done = file.eof() ? size : std::min(reader.bytesRead(), size);
    activeShell().setPercent(static_cast<int>(done * 100 / size));
}

// Reads one file into rawDataList; false after a malformed record, after a
// read error, after a file that holds no record at all (not a raw file, or a
// damaged one) and when the user asked to stop.
bool readOneFile(std::ifstream& file, const std::string& path, vkrReaderState& state,
                 RawReadWording wording) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(platform::pathFromText(path), ec);
    platform::LineReader reader(file, platform::LineEnds::crToo);
    std::string line;
    reader.next(line); // the header line
    state.reading = true;
    int stored = 0;
    while (reader.next(line)) {
        postPercent(reader, file, ec ? 0 : size);
        if (userCancelled())
            return false;
        // A code is checked while reading is off too: a damaged "6DO"
        // would leave it off for the rest of the file.
        std::optional<platform::FieldError> fault = vkrCodeFault(line);
        if (!fault && state.reading)
            fault = vkrRecordFault(line);
        if (fault) {
            reportParseError(line, path, reader.lineNumber(), wording, fault->sentence());
            return false;
        }
        rawRec record;
        const int result = parseVkrLine(line, record, state);
        if (result == rawRecordStore) {
            setRawRecordSource(record, path, reader.lineNumber());
            rawDataList.append(record);
            ++stored;
        } else if (result == rawRecordError) {
            reportParseError(line, path, reader.lineNumber(), wording);
            return false;
        }
    }
    if (file.bad()) {
        reportRawFileFault(
            platform::formatC("Error reading %s after line %d", path.c_str(), reader.lineNumber()));
        return false;
    }
    if (stored == 0) {
        reportRawFileFault(formatC("No raw data records in %s: none of its lines is a raw data "
                                   "record.",
                                   path.c_str()));
        return false;
    }
    return true;
}

void writeFaceNotes(const vkrReaderState& state) {
    if (state.sawHorizVertDiff) {
        errLine(" Vertical angles are used to determine whether a horizontal angle reading was "
                "collected in direct or");
        errLine(" reverse position. Since some or all of the data in this project were collected "
                "in horizontal distance,");
        errLine(" vertical difference mode, assumptions were made as to whether angle readings "
                "were collected in direct");
        errLine(" or reverse position.");
        errLine("");
    }
    if (state.sawMissingZenith) {
        errLine(" Vertical angles are used to determine whether a horizontal angle reading was "
                "collected in direct or");
        errLine(" reverse position. Since vertical angles were missing for some of the horizontal "
                "angle measurements");
        errLine(" assumptions were made as to whether angle readings were collected in direct or "
                "reverse position.");
        errLine("");
    }
}

} // namespace

// No run context reaches readVkrRawFile: its interface has none, so the shell is
// the active one (the run installs its own for its length).
int readVkrRawFile(const std::string& fileList, RawReadWording wording) {
    vkrReaderState state = startVkrRead();
    for (const std::string& name : fileListNames(fileList)) {
        const std::string path = projectRelativePath(name);
        std::string problem = platform::inputFileProblem(platform::pathFromText(path));
        std::ifstream file;
        if (problem.empty()) {
            file.open(platform::pathFromText(path), std::ios::binary);
            if (!file.is_open())
                problem = platform::systemReason(errno);
        }
        if (!problem.empty()) {
            const std::string opening = wording == RawReadWording::blunderCheck
                                            ? "Error opening raw data file: "
                                            : "Error opening ";
            reportRawFileFault(opening + path + ": " + problem);
            return vkrReadFailed;
        }
        if (!readOneFile(file, path, state, wording))
            return vkrReadFailed;
    }
    writeFaceNotes(state);
    return vkrReadOk;
}
