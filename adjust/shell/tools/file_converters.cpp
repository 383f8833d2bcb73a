#include "shell/tools/file_converters.hpp"

#include "input/converters/data_word_level_converter.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/converters/lettered_level_converter.hpp"
#include "input/converters/total_station_converters.hpp"

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

int notBuilt(const char* format, std::string& message) {
    message = std::string("Converting GPS vectors from ") + format + " is not built yet.";
    return 1;
}

class LibraryConverters : public FileConverters {
public:
    int convertVectors(int format, const std::string& in, const std::string& out,
                       int stripLeadingZeros, int, std::string& message) override {
        switch (format) {
        case 0:
            return convertObservationFileToGps(in, out, stripLeadingZeros, message);
        case 1:
            return convertBaselineTextToGps(in, out, message);
        case 2:
            return convertTopconTvfToGps(in, out, message);
        case 3:
            return notBuilt("vector XML files", message);
        case 4:
            return repairingNames<convertAscExportToGps>(in, out, message);
        case 5:
            return repairingNames<convertDataCollectorToGps>(in, out, message);
        case 6:
            return notBuilt("LandXML files", message);
        case 7:
            return convertGFileToGps(in, out, 0, message);
        case 8:
            return convertGFileToGps(in, out, 1, message);
        case 9:
            return notBuilt("GPS records of .RW5 files", message);
        case 10:
            return convertGeolabIobToGps(in, out, stripLeadingZeros, message);
        default:
            return 1;
        }
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
};

} // namespace

FileConverters& libraryConverters() {
    static LibraryConverters converters;
    return converters;
}
