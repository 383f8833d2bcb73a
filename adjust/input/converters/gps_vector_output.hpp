#pragma once
// What the GPS vector converters share: point names the .GPS file can hold
// and writing the converted vectors.

#include "model/list_containers.hpp"
#include "model/observation_records.hpp"
#include "platform/record_fields.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text without blanks or tabs at its ends.
std::string_view trimmedText(std::string_view text);

// The text of `count` columns from column `first` (1 is the first
// character), blanks around it dropped; what lies beyond the line is empty.
std::string_view columnText(std::string_view line, std::size_t first, std::size_t count);

// A point name made valid: a name longer than 10 characters is cut to 10,
// and every '-' and blank in it becomes '_'.
std::string repairedPointName(std::string_view name);

// Sets the two names of `v`. A name the G1 pair cannot carry (empty, longer
// than 10 characters or holding a '-', a blank
// or a comma) gives the fault; empty otherwise.
std::string setVectorNames(gpsVectorRec& v, std::string_view from, std::string_view to);

// The fault of a name that a C line cannot carry (empty, longer than 10
// characters, holding a blank or a comma); empty otherwise.
std::string controlNameFault(std::string_view name);

// The lines of the input; false with "Error opening <path>" in `message`.
bool readVectorInputLines(const std::string& path, std::vector<std::string>& lines,
                          std::string& message);

// The numbers of the fields from `first` on, one for each of `names` (how a
// refusal names the field): the missing error for the first the record
// lacks, the refusal of one that is not wholly a number.
platform::FieldValue<std::vector<double>> fieldNumbers(const std::vector<std::string_view>& fields,
                                                       std::size_t first,
                                                       const std::vector<const char*>& names);

// Writes the whole text of a .GPS file to `outputPath` by temporary file and
// rename. conversionDone, or conversionFailed with "Error opening <path>".
int writeGpsTextFile(const std::string& outputPath, const std::string& text, std::string& message);

// Writes the header of `mode` (gpsModeCovariance or gpsModeStdErrCorrelation)
// and the vectors to `outputPath` by temporary file and rename.
// conversionDone, or conversionFailed with "Error opening <path>".
int writeGpsVectorFile(const std::string& outputPath, int mode,
                       const seqList<gpsVectorRec>& vectors, std::string& message);
