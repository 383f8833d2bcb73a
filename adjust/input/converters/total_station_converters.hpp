#pragma once
// The total-station converters: a data collector's .asc data-exchange export
// or its XML field book (see asc_export_reader.hpp, field_book_xml_reader.hpp)
// into the system's own .RW5 or .VKR raw file (rw5_writer.hpp,
// vkr_writer.hpp). Each empties `tsConvertRawList`, reads the whole input
// into it and only then writes the output, by temporary file and rename.
//
// Each returns conversionDone (0), or conversionFailed (1) with the reason
// in `message`: "Error opening <path>" when the input cannot be opened or
// the output cannot be written, "Cannot write <path>: <reason>" when a value
// does not fit its .VKR columns, else the fault of the input naming the file
// and line. After a failure no output file exists that was not there before,
// and one that was is unchanged.

#include <string>

int convertAscExportToRw5(const std::string& inputPath, const std::string& outputPath,
                          std::string& message);
int convertAscExportToVkr(const std::string& inputPath, const std::string& outputPath,
                          std::string& message);
int convertFieldBookXmlToRw5(const std::string& inputPath, const std::string& outputPath,
                             std::string& message);
int convertFieldBookXmlToVkr(const std::string& inputPath, const std::string& outputPath,
                             std::string& message);
