#include "input/gps_vector_routes.hpp"

#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/gps_vector_reader.hpp"
#include "input/rw5_gps_vectors.hpp"
#include "model/program_lists.hpp"
#include "model/settings/project_paths.hpp"
#include "output/report_lines.hpp"
#include "platform/paths.hpp"
#include "platform/private_temporary_folder.hpp"

#include <filesystem>
#include <optional>

namespace {

// A converter of one route: `notice`, when it is not empty after a
// conversion, is shown when the caller asks about point names.
using converter = int (*)(const std::string& in, const std::string& out, std::string& message,
                          std::string& notice);

// How the converted .GPS is read: with the caller's `checkNames`, or always
// with 0 or 1.
enum class nameCheck { caller, off, on };

// How long the lengths of the converted .GPS are: as the input's, in the
// project's `GPSUnits`, or already turned into metres by the converter.
enum class lengths { gpsUnits, metres };

// When the notice of a conversion is shown: with the caller's name check
// (the repaired names), or always (what was not converted), then also in
// the error report.
enum class noticeShown { withNameCheck, always };

struct gpsRoute {
    const char* format;
    converter convert;
    nameCheck check;
    lengths unit = lengths::gpsUnits;
    noticeShown notice = noticeShown::withNameCheck;
};

// The run takes the control of these files from their base points
// (gps_control_points.hpp); the C lines keep the converted file complete.
int convertBaseline(const std::string& in, const std::string& out, std::string& message,
                    std::string&) {
    return convertBaselineTextToGps(in, out, 1, message);
}
int convertObservations(const std::string& in, const std::string& out, std::string& message,
                        std::string&) {
    return convertObservationFileToGps(in, out, 0, message);
}
int convertTvf(const std::string& in, const std::string& out, std::string& message, std::string&) {
    return convertTvfVectorTextToGps(in, out, message);
}
int convertGFile(const std::string& in, const std::string& out, std::string& message,
                 std::string&) {
    return convertGFileToGps(in, out, 0, message);
}
int convertReport(const std::string& in, const std::string& out, std::string& message,
                  std::string&) {
    return convertGFileToGps(in, out, 1, message);
}
// The converters that repair point names give their report as the notice.
template <int (*convert)(const std::string&, const std::string&, std::vector<repairedName>&,
                         std::string&)>
int convertRepairingNames(const std::string& in, const std::string& out, std::string& message,
                          std::string& notice) {
    std::vector<repairedName> repaired;
    const int result = convert(in, out, repaired, message);
    if (!repaired.empty())
        notice = repairedNamesReport(repaired);
    return result;
}
int convertVectorXml(const std::string& in, const std::string& out, std::string& message,
                     std::string&) {
    return convertVectorXmlToGps(in, out, message);
}
int convertLandXml(const std::string& in, const std::string& out, std::string& message,
                   std::string& notice) {
    return convertLandXmlToGps(in, out, 1, message, notice);
}
int convertIob(const std::string& in, const std::string& out, std::string& message, std::string&) {
    return convertAdjustmentInputToGps(in, out, 0, message);
}

// Index: `gpsFileFmtType`. The .RW5 files (10) are read without a .GPS
// file between.
const gpsRoute routes[] = {
    {".GPS files", nullptr, nameCheck::caller},
    {"binary observation files", convertObservations, nameCheck::off},
    {"baseline text files", convertBaseline, nameCheck::off, lengths::metres},
    {"vector text files", convertTvf, nameCheck::off},
    {"vector XML files", convertVectorXml, nameCheck::off},
    {"data-exchange exports", convertRepairingNames<convertAscExportToGps>, nameCheck::caller},
    {"data collector files", convertRepairingNames<convertDataCollectorToGps>, nameCheck::caller},
    {"LandXML files", convertLandXml, nameCheck::caller, lengths::metres, noticeShown::always},
    {"G-files", convertGFile, nameCheck::on, lengths::metres},
    {"G-files of online processing reports", convertReport, nameCheck::on, lengths::metres},
    {"GPS records of .RW5 files", nullptr, nameCheck::caller},
    {"adjustment input files", convertIob, nameCheck::off},
};

constexpr int gpsFormatRw5 = 10;

void showNotice(const RunContext& context, const gpsRoute& route, const std::string& notice,
                int checkNames) {
    if (notice.empty())
        return;
    if (route.notice == noticeShown::always)
        writeLine(errFile, notice);
    if (route.notice == noticeShown::always || checkNames == 1)
        context.message(notice);
}

int readingCheck(nameCheck check, int callerCheck) {
    switch (check) {
    case nameCheck::off:
        return 0;
    case nameCheck::on:
        return 1;
    case nameCheck::caller:
        break;
    }
    return callerCheck;
}

// The run's temporary folder, else the user's private one.
std::optional<std::filesystem::path> conversionFolder(const RunContext& context,
                                                      std::string& error) {
    if (!context.temporaryFolder.empty())
        return std::filesystem::absolute(platform::pathFromText(context.temporaryFolder));
    return platform::privateTemporaryFolder(error);
}

int readConverted(const RunContext& context, const gpsRoute& route, const std::string& path,
                  int checkNames) {
    if (route.unit == lengths::metres)
        return readGpsFilesInUnit(context, path + "\n", checkNames, 1.0);
    return readGpsFiles(context, path + "\n", checkNames);
}

} // namespace

int convertAndReadGpsFiles(const RunContext& context, const std::string& fileList, int format,
                           int checkNames) {
    if (format == gpsFormatRw5)
        return readRw5GpsVectors(context, fileList, checkNames, gpsVectorList) == 0 ? gpsReadDone
                                                                                    : gpsReadFailed;
    const gpsRoute& route = routes[format];
    std::string error;
    const std::optional<std::filesystem::path> folder = conversionFolder(context, error);
    if (!folder) {
        context.message("No temporary folder for the converted GPS files: " + error);
        return gpsReadFailed;
    }
    for (const std::string& name : fileListNames(fileList)) {
        const std::string input = projectRelativePath(name);
        const std::filesystem::path base = platform::pathFromText(input).stem();
        const std::string output = (*folder / base).string() + ".GPS";
        std::string message;
        std::string notice;
        if (route.convert(input, output, message, notice) != conversionDone) {
            context.message(message);
            return gpsReadFailed;
        }
        showNotice(context, route, notice, checkNames);
        if (readConverted(context, route, output, readingCheck(route.check, checkNames)) !=
            gpsReadDone)
            return gpsReadFailed;
    }
    return gpsReadDone;
}
