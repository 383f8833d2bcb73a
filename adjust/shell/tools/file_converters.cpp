#include "shell/tools/file_converters.hpp"

#include "input/converters/converter_files.hpp"
#include "input/converters/data_word_level_converter.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/lettered_level_converter.hpp"
#include "input/converters/total_station_converters.hpp"
#include "input/rw5_gps_vectors.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/input_file.hpp"
#include "platform/paths.hpp"
#include "platform/shell_services.hpp"

#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

// The converters that repair point names say which they repaired.
template <int (*convert)(const std::string&, const std::string&, std::vector<repairedName>&,
                         std::string&)>
int repairingNames(const std::string& input, const std::string& output, std::string& message) {
    std::vector<repairedName> repaired;
    const int result = convert(input, output, repaired, message);
    if (result == 0 && !repaired.empty())
        message = repairedNamesReport(repaired);
    return result;
}

// A LandXML file's vectors are not converted; what was left out is said,
// never passed over in silence.
int landXmlPositions(const std::string& input, const std::string& output, std::string& message) {
    std::string notice;
    const int result = convertLandXmlToGps(input, output, 1, message, notice);
    if (result == 0)
        message = notice;
    return result;
}

// The shell of the window that called, except that what the converter says
// is kept for the dialog's one box of the outcome.
class MessagesKept : public ShellServices {
public:
    explicit MessagesKept(ShellServices& shell) : shell_(shell) {}

    void setMessage(const std::string& text) override { shell_.setMessage(text); }
    void setPercent(int percent) override { shell_.setPercent(percent); }
    void showCancel(bool shown) override { shell_.showCancel(shown); }
    void pump() override { shell_.pump(); }
    bool cancelled() override { return shell_.cancelled(); }
    void message(const std::string& text, MessageKind) override {
        kept += (kept.empty() ? "" : "\n") + text;
    }
    Answer ask(const std::string& text, MessageKind kind) override {
        return shell_.ask(text, kind);
    }
    void messageList(const std::vector<std::string>& lines) override { shell_.messageList(lines); }
    void showReport(const std::string& path, ReportKind kind) override {
        shell_.showReport(path, kind);
    }
    void activateReport(ReportKind kind) override { shell_.activateReport(kind); }
    void closeAllReports() override { shell_.closeAllReports(); }
    void appendToReport(const std::string& line) override { shell_.appendToReport(line); }
    std::chrono::system_clock::time_point now() override { return shell_.now(); }
    int overwritePrompt(crdOverwriteRec& request) override {
        return shell_.overwritePrompt(request);
    }

    std::string kept;

private:
    ShellServices& shell_;
};

// The .RW5 reader asks about unnamed points through the shell of the window
// that called it.
int rw5Vectors(const std::string& input, const std::string& output, std::string& message) {
    MessagesKept shell(activeShell());
    const RunContext context(shell, projectVars.tmpDir, projectVars.getGeoidFolder());
    const int result = convertRw5VectorsToGps(context, input + "\n", output);
    message = shell.kept;
    return result;
}

// Whether anything but blank lines follows the header line of a .GPS text.
bool holdsGpsRecords(const std::string& text) {
    const std::size_t headerEnd = text.find('\n');
    return headerEnd != std::string::npos &&
           text.find_first_not_of("\r\n ", headerEnd + 1) != std::string::npos;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); !from.empty() && at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// A scratch file beside `path` that goes with the object; empty when none
// can be made there (errno says why).
class ScratchFile {
public:
    explicit ScratchFile(const std::string& path) : path_(path + ".XXXXXX") {
        const int fd = ::mkstemp(path_.data());
        if (fd < 0)
            path_.clear();
        else
            ::close(fd);
    }
    ~ScratchFile() {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

class LibraryConverters : public FileConverters {
public:
    // The vectors go to a scratch file first, and replace the output only
    // when they hold a record: the same readers serve the adjustment, which
    // goes on without vectors from a file that has none, while here a file
    // that yields nothing is a failure and must not replace a good .GPS file.
    int convertVectors(int format, const std::string& in, const std::string& out,
                       int stripLeadingZeros, int importPoints, std::string& message) override {
        const ScratchFile scratch(out);
        if (scratch.path().empty()) {
            message = fileFailure("Error opening ", out);
            return conversionFailed;
        }
        const int result =
            convertVectorsTo(format, in, scratch.path(), stripLeadingZeros, importPoints, message);
        replaceAll(message, scratch.path(), out);
        if (result != conversionDone)
            return result;
        std::string text;
        if (!readInputBytes(scratch.path(), text)) {
            message = fileFailure("Error opening ", out);
            return conversionFailed;
        }
        if (!holdsGpsRecords(text)) {
            message = nothingFoundIn(in, "GPS vectors or points") +
                      (message.empty() ? "" : "\n" + message);
            return conversionFailed;
        }
        if (!writeConvertedFile(out, text)) {
            message = fileFailure("Error opening ", out);
            return conversionFailed;
        }
        return conversionDone;
    }

    int convertTotalStation(int rawFormat, const std::string& in, const std::string& out,
                            std::string& message) override {
        return rawFormat == 1 ? convertAscExportToVkr(in, out, message)
                              : convertAscExportToRw5(in, out, message);
    }

    int convertLevel(int format, const std::string& in, const std::string& out,
                     std::string& message) override {
        return format == 1 ? convertDataWordLevelFile(in, out, message)
                           : convertLetteredLevelFile(in, out, message);
    }

private:
    int convertVectorsTo(int format, const std::string& in, const std::string& out,
                         int stripLeadingZeros, int importPoints, std::string& message) {
        switch (format) {
        case 0:
            return convertObservationFileToGps(in, out, stripLeadingZeros, message);
        case 1:
            return convertBaselineTextToGps(in, out, importPoints, message);
        case 2:
            return convertTvfVectorTextToGps(in, out, message);
        case 3:
            return convertVectorXmlToGps(in, out, message);
        case 4:
            return repairingNames<convertAscExportToGps>(in, out, message);
        case 5:
            return repairingNames<convertDataCollectorToGps>(in, out, message);
        case 6:
            return landXmlPositions(in, out, message);
        case 7:
            return convertGFileToGps(in, out, 0, message);
        case 8:
            return convertGFileToGps(in, out, 1, message);
        case 9:
            return rw5Vectors(in, out, message);
        case 10:
            return convertAdjustmentInputToGps(in, out, stripLeadingZeros, message);
        default:
            return conversionFailed;
        }
    }
};

} // namespace

std::string unreadableInput(const std::string& path) {
    const std::string problem = platform::inputFileProblem(platform::pathFromText(path));
    return problem.empty() ? problem : "Error opening " + path + ": " + problem;
}

std::string withCause(const std::string& failure, const std::string& cause) {
    return cause.empty() ? failure : failure + "\n\n" + cause;
}

FileConverters& libraryConverters() {
    static LibraryConverters converters;
    return converters;
}
