#pragma once
// The road of each maker's GPS vector format in a run: every file of the
// project's list is converted into a .GPS file in the run's temporary
// folder, so a user's own .GPS file of the same name is never overwritten,
// and that file is then read into `gpsVectorList`.

#include "model/run_context.hpp"

#include <string>

// Converts and reads every file of `fileList` ("\n"-terminated names) by
// `format` (1-11, `gpsFileFmtType`); the GPS records of .RW5 files (10) are
// read straight into the list. The first file that cannot be converted or
// read ends the run of the list: its message is shown and gpsReadFailed
// returned; vectors read before stay. What a conversion could not take
// (the vectors of LandXML files) is shown and goes to the error report.
int convertAndReadGpsFiles(const RunContext& context, const std::string& fileList, int format,
                           int checkNames);
