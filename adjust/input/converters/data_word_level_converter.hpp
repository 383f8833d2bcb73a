#pragma once
// A digital level's data file of fixed-width data words into the system's
// differential level file (.LEV).
//
// Each line is a run of words of 16 characters, or of 24 when the line
// begins with '*' (the asterisk is not part of them); a shorter rest is
// ignored. In a word, the first three characters read as an integer give its
// index (word 11 reads as 110, word 32 as 32, word 331 as 331), the sixth
// character is the unit digit, the seventh the sign and the data (8 or 16
// characters) follows. The words used:
//   110       point name (leading '0' characters removed)
//   83        elevation, kept from line to line; as the line's second word it
//             marks the start point of a run
//   330-334   a reading: 331 backsight, 332 foresight, 333, 334 and 330
//             intermediate sights
//   410       a code line (nothing is written for it)
// Numbers are scaled by the unit digit: "1" / 1000, "6" / 100000,
// "7" / 10000, "8" / 100, any other digit as read; a '-' sign negates.
//
// The lines written (numbers "%.4f", CR LF):
//   SR,PN<start>,BS<backsight>,FS,FE<elevation>,--   the first backsight after a start
//   TP,PN<name>,BS<backsight>,FS<foresight>,--      a backsight after a foresight
//   LV,PN<name>,BS,FS<reading>,--                   an intermediate sight
//   ER,PN<name>,BS,FS<foresight>,EL,--               a foresight left at the end
// A TP pairs a backsight with the foresight read before it, under the
// backsight line's point name.

#include <string>

// Returns conversionDone (0), or conversionFailed (1) with `message`:
// "Open error: <path>" when the input cannot be opened or the output cannot
// be written, else the fault naming the input and its line (a number word
// whose data is not a number; a backsight with neither a start point nor a
// foresight before it). Output is written only whole, by temporary file and
// rename.
int convertDataWordLevelFile(const std::string& inputPath, const std::string& outputPath,
                             std::string& message);
