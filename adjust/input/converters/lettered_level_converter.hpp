#pragma once
// A digital level's file of comma-separated lettered records into the
// system's differential level file (.LEV).
//
// A record's letter is the line's first character; field n is the text
// between the n-th and the (n+1)-th comma (field 0 holds the letter). The
// second character of field 1 is the mode, which scales the integer numbers:
//   mode        2      3       4    5     6      7      8       A      other
//   readings    10000  100000  100  1000  10000  10000  100000  10000  1000
//   elevations  1000   10000   100  100   1000   10000  100000  10000  1000
// The records used:
//   b  start point: point id field 3, elevation field 4
//   g  backsight: reading field 2, point id field 7
//   i  foresight and k intermediate sight: reading field 2, point id field 7,
//      and the code in field 1 of a y record on the next line (the y line
//      belongs to it)
//   w  end of the line
// Each line's fields are its own: a field the line does not have is empty,
// never a value of an earlier line.
//
// The lines written (numbers "%f", LF):
//   SR,PN<start>,BS<reading>,FS,FE<start elevation>,--<backsight id>   first g after a b
//   TP,PN<foresight>,BS<reading>,FS<foresight reading>,--<code>     g after an i
//   LV,PN<id>,BS,FS<reading>,--<code>                                  each k
//   ER,PN<foresight>,BS,FS<reading>,FE<start elevation>,--<code>       w, when the
//       last foresight is on the start point; else ER,PN..,BS,FS..,EL,--<code>

#include <string>

// Returns conversionDone (0), or conversionFailed (1) with `message`:
// "Error opening <path>" when the input cannot be opened or the output
// cannot be written, else the fault naming the input and its line (a number
// field that is missing or not an integer; a backsight with neither a start
// point nor a foresight before it; an end of line without a foresight).
// Output is written only whole, by temporary file and rename.
int convertLetteredLevelFile(const std::string& inputPath, const std::string& outputPath,
                             std::string& message);
