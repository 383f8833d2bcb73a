#include "vistra/project_input.hpp"

#include "input/raw_alias_step.hpp"
#include "input/raw_aliases.hpp"
#include "input/raw_text.hpp"
#include "input/rw5_reader.hpp"
#include "input/supplemental_control.hpp"
#include "input/vkr_fields.hpp"
#include "input/vkr_record_check.hpp"
#include "model/observation_builders.hpp"
#include "model/program_lists.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "model/station_lists.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/input_file.hpp"
#include "platform/line_reader.hpp"
#include "platform/paths.hpp"
#include "platform/record_fields.hpp"

#include <fstream>
#include <vector>

namespace {

constexpr int threeDModel = 1;

void clearRawLists() {
    rawDataList.clear();
    ptDescList.clear();
    pointAliasList.clear();
}

// The settings' standard errors as they stand (no unit conversion, zeros
// kept); the elevation error stays as it was.
void takeSettingsStdErrs() {
    const globalVars& s = projectVars;
    readerStdErrs[seAzimuth] = s.stErrAz;
    readerStdErrs[seHorizPointing] = s.stErrPoint;
    readerStdErrs[seHorizReading] = s.stErrRead;
    readerStdErrs[seTargetCentering] = s.stErrTrgtCentering;
    readerStdErrs[seInstrumentCentering] = s.stErrInstrCentering;
    readerStdErrs[seEasting] = s.stErrX;
    readerStdErrs[seNorthing] = s.stErrY;
    readerStdErrs[seDistConstant] = s.stErrDist;
    readerStdErrs[seDistPpm] = s.stErrDistPPM;
    readerStdErrs[seVertPointing] = s.vStErrPoint;
    readerStdErrs[seVertReading] = s.vStErrRead;
    readerStdErrs[seInstrumentHeight] = s.HIStErr;
    readerStdErrs[seRodHeight] = s.rodStErr;
    savedReaderStdErrs = readerStdErrs;
}

// The names of the list, an empty entry kept as an empty name.
std::vector<std::string> listEntries(std::string list) {
    if (list.find('\n') == std::string::npos)
        list += '\n';
    std::vector<std::string> names;
    std::size_t start = 0;
    for (auto end = list.find('\n'); end != std::string::npos; end = list.find('\n', start)) {
        names.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// Aliases, observation lists, supplemental control, descriptions and point
// lists of the project's model; the raw lists are emptied afterwards.
void buildFromRawList() {
    const bool threeD = projectVars.geodeticModel == threeDModel;
    // A supplemental file that cannot be read leaves the drawing its observed points.
    std::string supplementalError;
    if (projectVars.supplamentalNE != 0)
        addSupplementalToRawList(supplementalError);
    replaceRawAliases();
    std::string unused;
    if (threeD)
        buildObsLists3D(unused);
    else
        buildObsLists2D(unused);
    buildDescriptionList();
    if (threeD)
        buildStationList3D();
    else
        buildStationList2D();
    clearRawLists();
}

void readOpenFile(std::ifstream& file, vkrReaderState& state) {
    platform::LineReader reader(file);
    std::string line;
    reader.next(line); // the header line
    state.reading = true;
    // A record with a damaged field is not drawn, rather than drawn from a
    // number read as far as it goes.
    while (reader.next(line)) {
        rawRec record;
        if (!vkrRecordFault(line) && parseGraphRawLine(line, record, state) == rawRecordStore)
            rawDataList.append(record);
    }
}

// "C name northing easting [elevation] ['description]": tokens split at
// blanks, so a description is one word.
int parseGraphCoordinate(const std::string& text, rawRec& r, const vkrReaderState& state) {
    initRawCoord(r);
    const std::vector<std::string_view> tokens = platform::splitOnBlanks(text);
    if (!tokens.empty())
        setPointName(r.pointName, tokens[0]);
    if (tokens.size() > 1)
        r.northing = platform::parseDataNumber(tokens[1]).value_or(0.0);
    if (tokens.size() > 2)
        r.easting = platform::parseDataNumber(tokens[2]).value_or(0.0);
    for (std::size_t i = 3; i < tokens.size() && i < 5; ++i) {
        std::string token(tokens[i]);
        trimLeadingBlanks(token);
        if (!token.empty() && token[0] == '\'') {
            parseRawAlias(token.substr(1), r, state.aliasMarker, std::string(tokens[0]));
            break;
        }
        if (i == 3)
            r.elevation = platform::parseDataNumber(token).value_or(0.0);
    }
    return rawRecordStore;
}

} // namespace

int parseGraphSubRecord(const std::string& text, rawRec& r, vkrReaderState& state) {
    const std::string letters = text.substr(0, 2);
    const std::string rest = text.size() > 2 ? text.substr(2) : std::string();
    if (letters == "C ")
        return parseGraphCoordinate(rest, r, state);
    if (letters == "S ")
        return ignoreRawRecord(rest, r);
    if (letters == "DR")
        return parseVkrAzimuth(rest, r);
    if (letters == "E ")
        return parseVkrElevation(rest, r);
    if (letters == "SE")
        return parseVkrStdErrs(rest, r, state);
    if (letters == "DO")
        state.reading = !state.reading;
    return rawRecordNothing;
}

int parseGraphRawLine(const std::string& line, rawRec& r, vkrReaderState& state) {
    if (line.empty())
        return rawRecordNothing;
    int result = rawRecordNothing;
    switch (line[0]) {
    case '1':
        result = parseVkrObservation(vkrSlopeZenith, line, r, state);
        break;
    case '2':
        result = parseVkrObservation(vkrHorizVertDiff, line, r, state);
        break;
    case '3':
        result = parseVkrAzimuth(line.substr(1), r);
        break;
    case '5':
        result = ignoreRawRecord(line, r);
        break;
    case '6':
        result = parseGraphSubRecord(line.substr(1), r, state);
        break;
    default:
        break;
    }
    return result == rawRecordStore && state.reading ? rawRecordStore : rawRecordNothing;
}

int readRw5Input(const std::string& fileList) {
    takeSettingsStdErrs();
    clearRawLists();
    readRw5File(fileList, projectVars.PtSubstituteS);
    buildFromRawList();
    return 0;
}

int readVkrInput(const std::string& fileList) {
    vkrReaderState state = startVkrRead();
    takeSettingsStdErrs();
    clearRawLists();
    for (const std::string& name : listEntries(fileList)) {
        const std::string path = name.empty() ? name : projectRelativePath(name);
        if (name.empty() || !platform::inputFileProblem(platform::pathFromText(path)).empty()) {
            clearRawLists();
            return 1;
        }
        std::ifstream file(platform::pathFromText(path), std::ios::binary);
        if (!file.is_open()) {
            clearRawLists();
            return 1;
        }
        readOpenFile(file, state);
    }
    buildFromRawList();
    return 0;
}
