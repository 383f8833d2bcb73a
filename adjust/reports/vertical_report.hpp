#pragma once
// The vertical sections of the report (.RPT) after a vertical adjustment:
// VERTICAL BENCHMARKS, POINTS TO BE ADJUSTED, MEASUREMENT SUMMARY, ADJUSTED
// ELEVATIONS and ADJUSTED MEASUREMENT SUMMARY. Each starts with two empty
// lines, its title, an empty line and its column heading. Elevations,
// differences and residuals in the project's unit.

#include "engine/vertical_adjustment.hpp"

#include <string>

// Writes the five sections to the report file; 1 after a failed write (the
// remaining lines are not written), else 0.
int writeVerticalReport(const verticalNetwork& network, const verticalSolution& solution);

// Adds a name to the wrapped list of POINTS TO BE ADJUSTED: a line that would
// grow past 78 characters is written to the report file and a new one starts
// with five blanks and the name; otherwise the name follows after ",", or
// after five blanks on an empty line. 1 after a failed write, else 0.
int appendNameToLine(std::string& line, const std::string& name);
