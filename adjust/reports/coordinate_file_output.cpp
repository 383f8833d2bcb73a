#include "reports/coordinate_file_output.hpp"

#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "reports/crd_point_id_ranges.hpp"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

constexpr int pointFound = 0;
constexpr int pointWritten = 0;
constexpr int invalidPointName = -2;
constexpr int openFailed = -1;
constexpr int replaceStoredPoint = 1;
constexpr int newFileDescriptionLength = 100;
constexpr double samePosition = 1e-15;
constexpr int availableRanges = 0;

template <std::size_t N> void trimField(char (&field)[N]) {
    std::string_view text(field, strnlen(field, N));
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    const std::string kept = first == std::string_view::npos
                                 ? std::string()
                                 : std::string(text.substr(first, last - first + 1));
    std::memset(field, 0, N);
    std::memcpy(field, kept.data(), kept.size());
}

bool samePoint(const crdPointRec& a, const crdPointRec& b) {
    return std::strcmp(a.description, b.description) == 0 && std::strcmp(a.code, b.code) == 0 &&
           std::fabs(a.northing - b.northing) < samePosition &&
           std::fabs(a.easting - b.easting) < samePosition &&
           std::fabs(a.elevation - b.elevation) < samePosition;
}

// The range texts of the question, owned as the request's layout says
// (malloc'ed texts in a malloc'ed array) and freed when it is answered.
class PointNameList {
public:
    PointNameList(crdOverwriteRec& request, const std::vector<std::string>& lines)
        : request_(request) {
        if (lines.empty())
            return;
        request_.pointNames = static_cast<char**>(std::calloc(lines.size(), sizeof(char*)));
        if (request_.pointNames == nullptr)
            return;
        for (const std::string& line : lines) {
            char* copy = static_cast<char*>(std::malloc(line.size() + 1));
            if (copy == nullptr)
                break;
            std::memcpy(copy, line.c_str(), line.size() + 1);
            request_.pointNames[request_.pointNameCount++] = copy;
        }
    }
    ~PointNameList() {
        for (int i = 0; i < request_.pointNameCount; ++i)
            std::free(request_.pointNames[i]);
        std::free(request_.pointNames);
        request_.pointNames = nullptr;
        request_.pointNameCount = 0;
    }
    PointNameList(const PointNameList&) = delete;
    PointNameList& operator=(const PointNameList&) = delete;

private:
    crdOverwriteRec& request_;
};

template <std::size_t N> void setText(char (&field)[N], std::string_view text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

// The library's type and description length for a new file, from the
// project's choice of coordinate file type.
void chooseNewFileType() {
    struct NewType {
        int libraryType;
        bool setsDescriptionLength;
    };
    static constexpr NewType types[] = {{4, true},  {3, true},  {0, false},
                                        {1, false}, {6, false}, {5, false}};
    int& choice = projectVars.crdFileType;
    if (choice < 1 || choice > 6)
        choice = 1;
    const NewType& t = types[choice - 1];
    VkCrdApi_SetDefaultCRDType(t.libraryType);
    if (t.setsDescriptionLength)
        VkCrdApi_SetNewCrdFileDescLen(newFileDescriptionLength);
}

} // namespace

int overwriteCrdPoint(const RunContext& context, crdPointRec stored, crdPointRec& proposed,
                      VkCrdHandle handle) {
    trimField(stored.description);
    trimField(stored.code);
    trimField(proposed.description);
    trimField(proposed.code);
    if (samePoint(stored, proposed))
        return VKCRD_ANSWER_KEEP;
    // An unattended run shows no question, so the file's point ranges (a
    // walk of the whole file for every point asked about) are not listed.
    if (context.answers.unattended)
        return policyOverwriteAnswer(context.answers);

    crdOverwriteRec request{};
    setText(request.title, "Network Least Squares");
    setText(request.appKey, "Tarnwell");
    request.useRegistry = 1;
    request.handle = handle;
    std::vector<std::string> ranges;
    listCrdPointIds(handle, availableRanges, &ranges);
    const PointNameList names(request, ranges);
    request.current = stored;
    std::memcpy(request.current.name, proposed.name, sizeof proposed.name);
    request.proposed = proposed;
    request.showDoNotAsk = 1;
    request.doNotAskAgain = 0;
    request.overwriteChosen = 0;
    request.editMask = VKCRD_EDIT_NAME;
    request.northingFirst = 1;
    request.coordDecimals = projectVars.coordPrec;
    request.elevDecimals = projectVars.elevDispPrec;
    request.elevEditable = 1;
    request.codeEditable = 1;
    request.descEditable = 1;
    const int answer = context.overwritePrompt(request);
    proposed = request.proposed;
    return answer;
}

std::string CrdShortfall::text() const {
    if (!nothingStoredBecause.empty())
        return "Nothing was stored in " + fileName + ": " + nothingStoredBecause;
    if (notStored.empty())
        return {};
    std::string names;
    for (const std::string& name : notStored)
        names += (names.empty() ? "" : ", ") + name;
    return "Not stored in " + fileName + ": " + names;
}

CoordinateFileOutput::~CoordinateFileOutput() {
    close();
}

void CoordinateFileOutput::open() {
    const globalVars& s = projectVars;
    if (s.wrtToCrd == 0)
        return;
    shortfall_.fileName = s.crdFileName;
    if (s.crdFileName.empty()) {
        context_.message("No output coordinate file name has been specified");
        shortfall_.fileName = "the coordinate file";
        shortfall_.nothingStoredBecause = "no output coordinate file name has been specified.";
        return;
    }
    const std::string path = projectRelativePath(s.crdFileName);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        chooseNewFileType();
    if (VkCrdApi_open_coordfile(path.c_str(), 0, &handle_) == openFailed) {
        context_.message("Error opening: " + s.crdFileName);
        shortfall_.nothingStoredBecause = "the file could not be opened.";
        recordOutputWriteFailure(path, "it cannot be opened as a coordinate file");
        return;
    }
    inUse_ = true;
}

bool CoordinateFileOutput::settleStoredPoint(const crdPointRec& stored, crdPointRec& point) {
    if (lastAnswer_ == VKCRD_ANSWER_KEEP_ALL) {
        write_ = false;
        ask_ = false;
        return true;
    }
    lastAnswer_ = overwriteCrdPoint(context_, stored, point, handle_);
    switch (lastAnswer_) {
    case VKCRD_ANSWER_CANCEL:
        return false;
    case VKCRD_ANSWER_OVERWRITE_ALL:
        ask_ = false;
        write_ = true;
        break;
    case VKCRD_ANSWER_KEEP_ALL:
        ask_ = false;
        write_ = false;
        break;
    case VKCRD_ANSWER_OVERWRITE:
    case VKCRD_ANSWER_RENAMED:
        write_ = true;
        break;
    default: // kept, or the question could not be shown: the stored point stays
        write_ = false;
        break;
    }
    return true;
}

void CoordinateFileOutput::offer(const crdPointRec& point, bool verticalOnly,
                                 const PassRules& rules) {
    if (!inUse_ || cancelled_)
        return;
    crdPointRec candidate = point;
    crdPointRec stored{};
    bool found = false;
    const bool questionDue = ask_ || lastAnswer_ == VKCRD_ANSWER_KEEP_ALL;
    if (questionDue || rules.alwaysReadStored) {
        char name[VKCRD_NAME_SIZE] = {};
        std::memcpy(name, candidate.name, sizeof name - 1);
        found = VkCrdApi_read_point(handle_, name, &stored) == pointFound;
        if (found && verticalOnly && rules.alwaysReadStored) {
            candidate.northing = stored.northing;
            candidate.easting = stored.easting;
        }
    }
    if (questionDue) {
        if (!found) {
            write_ = true;
        } else if (!settleStoredPoint(stored, candidate)) {
            cancelled_ = true;
            shortfall_.nothingStoredBecause = "the overwrite question was cancelled.";
            decided_.clear();
            return;
        }
    }
    if (write_)
        decided_.push_back({candidate, rules});
}

void CoordinateFileOutput::commit() {
    if (!inUse_ || cancelled_)
        return;
    int endedPass = -1;
    bool stopped = false;
    for (Decided& d : decided_) {
        const std::string name(d.point.name, strnlen(d.point.name, sizeof d.point.name));
        if (stopped || d.rules.pass == endedPass) {
            shortfall_.notStored.push_back(name);
            continue;
        }
        const int result = VkCrdApi_write_crd_point(replaceStoredPoint, &d.point, handle_);
        if (result == pointWritten)
            continue;
        shortfall_.notStored.push_back(name);
        if (result == invalidPointName) {
            const std::string question = "Invalid point name: " + name +
                                         ", Do you wish to continue/writing the remaining points?";
            stopped = context_.ask(question, MessageKind::yesNo) != Answer::yes;
            continue;
        }
        context_.message(d.rules.writeErrorText + projectVars.crdFileName);
        recordOutputWriteFailure(projectRelativePath(projectVars.crdFileName),
                                 "point " + name + " could not be written");
        endedPass = d.rules.pass;
    }
    decided_.clear();
}

void CoordinateFileOutput::close() {
    if (handle_ != VKCRD_NO_HANDLE)
        VkCrdApi_end_coord_file(&handle_);
    handle_ = VKCRD_NO_HANDLE;
    inUse_ = false;
}
