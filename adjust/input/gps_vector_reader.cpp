#include "input/gps_vector_reader.hpp"

#include "input/converters/converter_files.hpp"
#include "input/gps_vector_file.hpp"
#include "input/gps_vector_routes.hpp"
#include "input/refused_records.hpp"
#include "model/program_lists.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"

#include <optional>

using platform::formatC;

namespace {

// Metres in one unit of the file's `GPSUnits` code (0 to 3), or none.
std::optional<double> gpsUnitFactor(int code) {
    constexpr int lastGpsUnits = 3;
    if (code < 0 || code > lastGpsUnits)
        return std::nullopt;
    return units::metresPerUnit(code);
}

// One .GPS file read line by line; the vector under way is the last G1 read.
class GpsFileReading {
public:
    GpsFileReading(const RunContext& context, std::string path, double unitFactor, int checkNames)
        : context_(context), path_(std::move(path)), unitFactor_(unitFactor),
          checkNames_(checkNames) {}

    int read(platform::TextFileReader& file) {
        std::string line;
        while (file.next(line)) {
            lineNumber_ = file.lineNumber();
            if (!readLine(line))
                return gpsReadFailed;
        }
        if (stage_ == stage::none)
            return gpsReadDone;
        fault(g1LineNumber_, unfinishedVector);
        return gpsReadFailed;
    }

private:
    enum class stage { none, g1, g2 };
    static constexpr const char* unfinishedVector = "the vector of this G1 line has no G3 line";

    bool readLine(std::string& line) {
        record_ = line;
        const gpsLineKind kind = classifyGpsLine(line);
        if (kind == gpsLineKind::header)
            parseGpsHeader(line, mode_);
        if (kind != gpsLineKind::vector || line.empty())
            return true;
        const std::string_view rest = std::string_view(line).substr(1);
        switch (line.front()) {
        case '1':
            return readG1(rest);
        case '2':
            return readG2(rest);
        case '3':
            return readG3(rest);
        default:
            return true;
        }
    }

    bool readG1(std::string_view text) {
        if (stage_ != stage::none)
            return fault(g1LineNumber_, unfinishedVector);
        clearGpsVectorRec(work_);
        if (const std::string why = parseG1Line(text, work_); !why.empty())
            return refuse(why);
        g1LineNumber_ = lineNumber_;
        stage_ = stage::g1;
        return true;
    }

    bool readG2(std::string_view text) {
        if (stage_ != stage::g1)
            return fault(lineNumber_, "a G2 line must follow its G1 line");
        if (const std::string why = parseG2Line(text, work_, mode_); !why.empty())
            return refuse(why);
        stage_ = stage::g2;
        return true;
    }

    bool readG3(std::string_view text) {
        if (stage_ != stage::g2)
            return fault(lineNumber_, "a G3 line must follow the G1 and G2 lines of its vector");
        if (const std::string why = parseG3Line(text, work_, mode_); !why.empty())
            return refuse(why);
        stage_ = stage::none;
        return finishVector();
    }

    // Weights, metres, the list, and the question about an empty name.
    bool finishVector() {
        scaleGpsVectorToMetres(work_, unitFactor_);
        applyGpsVectorWeighting(work_);
        gpsVectorList.append(work_);
        const std::string from(fixedText(work_.from)), to(fixedText(work_.to));
        if (checkNames_ == 0 || (!from.empty() && !to.empty()))
            return true;
        const std::string question =
            formatC("Invalid Point number in GPS vector\nFrom Pt.: %s -> To Pt.:%s", from.c_str(),
                    to.c_str());
        return context_.ask(question, MessageKind::okCancel) == Answer::ok;
    }

    // Says where the file is wrong; false, so the reading stops.
    bool fault(int line, const std::string& what) const {
        return say(faultAtLine(path_, line, what));
    }

    // Refuses the line being read, quoting it.
    bool refuse(const std::string& sentence) const {
        return say(refusedRecordLine(path_, lineNumber_, sentence, record_));
    }

    bool say(const std::string& text) const {
        writeLine(errFile, text);
        context_.message(text);
        return false;
    }

    const RunContext& context_;
    const std::string path_;
    const double unitFactor_;
    const int checkNames_;
    int mode_ = gpsModeCovariance;
    stage stage_ = stage::none;
    gpsVectorRec work_;
    std::string record_; // the line being read, as the file holds it
    int lineNumber_ = 0;
    int g1LineNumber_ = 0;
};

} // namespace

std::unique_ptr<platform::TextFileReader> openGpsFile(const RunContext& context,
                                                      const std::string& path) {
    auto file = std::make_unique<platform::TextFileReader>(path);
    if (!file->isOpen()) {
        context.message(formatC("Error opening %s: %s", path.c_str(), file->problem().c_str()));
        return nullptr;
    }
    context.shell.setMessage("Reading GPS Vectors");
    return file;
}

int readGpsFilesInUnit(const RunContext& context, const std::string& fileList, int checkNames,
                       double unitFactor) {
    for (const std::string& name : fileListNames(fileList)) {
        const std::string path = projectRelativePath(name);
        const std::unique_ptr<platform::TextFileReader> file = openGpsFile(context, path);
        if (!file)
            return gpsReadFailed;
        GpsFileReading reading(context, path, unitFactor, checkNames);
        if (reading.read(*file) != gpsReadDone)
            return gpsReadFailed;
    }
    return gpsReadDone;
}

int readGpsFiles(const RunContext& context, const std::string& fileList, int checkNames) {
    const std::optional<double> u = gpsUnitFactor(projectVars.GPSUnits);
    if (!u) {
        context.message(formatC("Unknown GPS units %d", projectVars.GPSUnits));
        return gpsReadFailed;
    }
    return readGpsFilesInUnit(context, fileList, checkNames, *u);
}

int readGpsVectorFiles(const RunContext& context, const std::string& fileList, int checkNames) {
    readerStdErrs = projectStdErrs(projectVars);
    gpsVectorList.clear();
    const int format = projectVars.gpsFileFmtType;
    if (format == gpsFormatNative)
        return readGpsFiles(context, fileList, checkNames);
    if (format > gpsFormatNative && format <= gpsFormatLast)
        return convertAndReadGpsFiles(context, fileList, format, checkNames);
    return gpsReadFailed;
}
