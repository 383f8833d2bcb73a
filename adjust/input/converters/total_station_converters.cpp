#include "input/converters/total_station_converters.hpp"

#include "input/converters/asc_export_reader.hpp"
#include "input/converters/converter_files.hpp"
#include "input/converters/field_book_xml_reader.hpp"
#include "input/converters/rw5_writer.hpp"
#include "input/converters/vkr_writer.hpp"
#include "model/program_lists.hpp"

namespace {

// Reads an input into `tsConvertRawList`; an empty text or the failure message.
using InputReader = std::string (*)(const std::string& path);
// Writes `tsConvertRawList` into `text`; an empty text or the reason it cannot.
using OutputWriter = std::string (*)(std::string& text);

std::string readAscExport(const std::string& path) {
    std::vector<std::string> lines;
    if (!readInputLines(path, lines))
        return fileFailure("Error opening ", path);
    return readAscTerrestrialObs(lines, readAscSeparator(lines), path);
}

std::string writeRw5(std::string& text) {
    text = writeRw5FromConvertList();
    return {};
}

int convert(InputReader read, OutputWriter write, const std::string& inputPath,
            const std::string& outputPath, std::string& message) {
    tsConvertRawList.clear();
    message = read(inputPath);
    if (message.empty() && tsConvertRawList.count() == 0)
        message = nothingFoundIn(inputPath, "total-station observations");
    std::string text;
    if (message.empty()) {
        if (const std::string problem = write(text); !problem.empty())
            message = "Cannot write " + outputPath + ": " + problem;
    }
    if (message.empty() && !writeConvertedFile(outputPath, text))
        message = fileFailure("Error opening ", outputPath);
    return message.empty() ? conversionDone : conversionFailed;
}

} // namespace

int convertAscExportToRw5(const std::string& inputPath, const std::string& outputPath,
                          std::string& message) {
    return convert(readAscExport, writeRw5, inputPath, outputPath, message);
}

int convertAscExportToVkr(const std::string& inputPath, const std::string& outputPath,
                          std::string& message) {
    return convert(readAscExport, writeVkrFromConvertList, inputPath, outputPath, message);
}

int convertFieldBookXmlToRw5(const std::string& inputPath, const std::string& outputPath,
                             std::string& message) {
    return convert(readFieldBookXml, writeRw5, inputPath, outputPath, message);
}

int convertFieldBookXmlToVkr(const std::string& inputPath, const std::string& outputPath,
                             std::string& message) {
    return convert(readFieldBookXml, writeVkrFromConvertList, inputPath, outputPath, message);
}
