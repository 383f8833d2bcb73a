#pragma once
// Reading a baseline text file (its form: gps_vector_converters.hpp,
// convertBaselineTextToGps): the vectors and the base points, both in
// metres. The base points ("@+" records: name, X, Y, Z) are earth-centred
// control, each name taken once at its first position; their standard
// errors are left unset for the reader to fill.

#include "model/list_containers.hpp"
#include "model/observation_records.hpp"
#include "model/point_records.hpp"

#include <string>
#include <vector>

// False with the fault in `message` (the file and line, or "Error opening
// <path>").
bool readBaselineTextFile(const std::string& path, seqList<gpsVectorRec>& vectors,
                          std::vector<ptGPSXYZCntrl>& basePoints, std::string& message);
