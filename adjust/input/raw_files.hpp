#pragma once
// The project's raw-file list goes to the reader of its format.

#include <string>

// Whose words a numeric raw file that cannot be read is told in: a run's, or
// the blunder check's own ("Error opening raw data file: <file>", "Error
// parsing raw record: <record number>" with the record and an empty line).
enum class RawReadWording { run, blunderCheck };

// True when a name of the list has the extension .RW5 (its last one), in
// any letter case.
bool listNamesRw5File(const std::string& fileList);

// Reads the raw files of `fileList` (names each followed by "\n", as
// `pInputFileName` holds them) into `rawDataList`. A list that names an .RW5
// file (listNamesRw5File) is read whole by the .RW5 reader, with
// the alias marker taken whole from `PtSubstituteS`; any other by the .VKR
// reader. Returns that reader's result: 0 success; 1 (.VKR) or -1 (.RW5) on
// failure. The readers report every failure themselves, in a message box and
// in the error report alike, in the words `wording` picks.
int readRawFiles(const std::string& fileList, RawReadWording wording = RawReadWording::run);

// A raw file that cannot be read: `text` (naming the file and the cause) goes
// to the error report and into a message box.
void reportRawFileFault(const std::string& text);
