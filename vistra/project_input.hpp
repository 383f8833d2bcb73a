#pragma once
// How the network model reads the project's raw data: with the computing
// core's readers and list builders, over the library's own program-wide
// lists and settings. No report or error file is ever open here, so the
// lines the shared code writes there are dropped; its message boxes still
// reach the active shell.
//
// Both inputs end alike: aliases replaced, the observation lists and then
// the point lists of the project's model (3D or 2D) built, and the raw,
// alias and description lists emptied again.

#include "input/numeric_raw_reader.hpp"
#include "model/raw_record.hpp"

#include <string>

// The .RW5 input: the whole list with the .RW5 reader, then the common end.
// Returns 0.
int readRw5Input(const std::string& fileList);

// The numeric raw input. Records that do not parse are skipped without a
// word. A file that does not open (an empty entry of the list among them)
// drops the whole raw input of the build: the raw, alias and description
// lists are emptied, nothing is built, and 1 is returned with no message.
// 0 when every file was read.
int readVkrInput(const std::string& fileList);

// One line of a numeric raw file as this input reads it; rawRecordStore when
// `record` is to be kept (the reading switch in `state` on).
int parseGraphRawLine(const std::string& line, rawRec& record, vkrReaderState& state);

// A '6' sub-record (`text` is the line after the '6'). Unlike the main
// reader's, a "C " description ends at its first blank.
int parseGraphSubRecord(const std::string& text, rawRec& record, vkrReaderState& state);
