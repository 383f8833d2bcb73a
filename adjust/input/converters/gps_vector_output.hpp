#pragma once
// What the GPS vector converters share: point names the .GPS file can hold
// and writing the converted vectors.

#include "model/list_containers.hpp"
#include "model/observation_records.hpp"

#include <string>
#include <string_view>

// Sets the two names of `v`. A name the G1 pair cannot carry (empty, longer
// than 10 characters or holding a '-') gives the fault; empty otherwise.
std::string setVectorNames(gpsVectorRec& v, std::string_view from, std::string_view to);

// Writes the header of `mode` (gpsModeCovariance or gpsModeStdErrCorrelation)
// and the vectors to `outputPath` by temporary file and rename.
// conversionDone, or conversionFailed with "Error opening <path>".
int writeGpsVectorFile(const std::string& outputPath, int mode,
                       const seqList<gpsVectorRec>& vectors, std::string& message);
