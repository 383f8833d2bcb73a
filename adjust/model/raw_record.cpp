#include "model/raw_record.hpp"

#include <algorithm>
#include <vector>

namespace {

rawRec& blankOfKind(rawRec& record, rawKind kind) {
    record = rawRec{};
    record.kind = kind;
    return record;
}

} // namespace

rawRec& initRawSetup(rawRec& record) {
    return blankOfKind(record, rawSetup);
}

rawRec& initRawForesight(rawRec& record) {
    return blankOfKind(record, rawForesight);
}

rawRec& initRawCoord(rawRec& record) {
    return blankOfKind(record, rawCoord);
}

rawRec& initRawStdErrs(rawRec& record) {
    return blankOfKind(record, rawStdErrs);
}

rawRec& initRawAzimuth(rawRec& record) {
    rawRec blank;
    blank.kind = rawAzimuth;
    blank.azimuth = 1.0;
    setPointName(blank.fromName, fixedText(record.fromName));
    setPointName(blank.toName, fixedText(record.toName));
    record = blank;
    return record;
}

int ignoreRawRecord(std::string_view, rawRec&) {
    return 1;
}

namespace {

// The raw files records were read from, each once: a record keeps an index
// rather than a copy of its file's name.
std::vector<std::string>& rawSourceFiles() {
    static std::vector<std::string> files;
    return files;
}

} // namespace

void setRawRecordSource(rawRec& record, const std::string& path, int line) {
    std::vector<std::string>& files = rawSourceFiles();
    // The file being read is the last one noted.
    const auto known = std::find(files.rbegin(), files.rend(), path);
    if (known != files.rend()) {
        record.sourceFile = static_cast<int>(files.rend() - known) - 1;
    } else {
        files.push_back(path);
        record.sourceFile = static_cast<int>(files.size()) - 1;
    }
    record.sourceLine = line;
}

std::string rawRecordPlace(const rawRec& record) {
    const std::vector<std::string>& files = rawSourceFiles();
    if (record.sourceFile < 0 || record.sourceFile >= static_cast<int>(files.size()))
        return {};
    return "\nFile: " + files[static_cast<std::size_t>(record.sourceFile)] + ", line " +
           std::to_string(record.sourceLine);
}
