#pragma once
// The ALTA points file (.alt): the connections whose relative error ellipses
// are tested against the ALTA tolerance after an adjustment. One record a
// line, a keyword and after the first blank, comma or tab its value:
//   REL_ERR_PAIRS    pairs "A-B" separated by commas
//   RPT_ALL_MAX_PTS  how many of the worst connections the report lists
//   REL_ERR_ALL      entries separated by commas: a point name, a name range
//                    "A-B", or "DESC:" followed by a point description
// Lines are kept as in the closure file (upper-cased, blanks squeezed, no
// byte deleted); the
// first keyword found anywhere in a line decides. Entries of repeated lines
// add up; blanks around an entry are not part of it.

#include <filesystem>
#include <string>
#include <vector>

struct AltaPair {
    std::string from;
    std::string to;

    friend bool operator==(const AltaPair&, const AltaPair&) = default;
};

struct AltaEntry {
    enum Kind : int { name = 0, description = 1 };
    int kind = name;
    std::string text; // the point name or range, or the description

    friend bool operator==(const AltaEntry&, const AltaEntry&) = default;
};

inline constexpr int altaDefaultMaxPoints = 20;
// A maximum read outside 0..1000 becomes this.
inline constexpr int altaFallbackMaxPoints = 25;

struct AltaPoints {
    std::vector<AltaPair> pairs;
    std::vector<AltaEntry> entries;
    int maxPoints = altaDefaultMaxPoints;
};

// Reads `path` into `points` (emptied first). A missing file reads as an
// empty one and is not created; blank lines are passed over. A damaged record
// adds its refusal (keywordRecordRefusal: file, line, field and the record)
// to `refused`, its values are left out and reading goes on: a line without
// keyword, a field holding a control byte, a name that is blank or longer
// than 10 characters (a name is never cut), a pair without its dash, a
// maximum that is no whole number. False with the reason in `errors` when the
// path is empty or the file cannot be read.
bool readAltaPointsFile(const std::filesystem::path& path, AltaPoints& points,
                        std::vector<std::string>& errors, std::vector<std::string>& refused);

// The same with the refusals added to `errors`, for those who only show them.
bool readAltaPointsFile(const std::filesystem::path& path, AltaPoints& points,
                        std::vector<std::string>& errors);

// Appends the pairs of a REL_ERR_PAIRS value; a piece without '-' is a pair
// with an empty to point, which reading refuses.
void parseAltaPairs(const std::string& value, std::vector<AltaPair>& pairs);

// Appends the entries of a REL_ERR_ALL value.
void parseAltaEntries(const std::string& value, std::vector<AltaEntry>& entries);

// The three CR LF lines of a written file: RPT_ALL_MAX_PTS, REL_ERR_ALL,
// REL_ERR_PAIRS.
std::string altaPointsFileText(const AltaPoints& points);

// Writes the file by a temporary file renamed over it, so a failed write
// leaves the previous file as it was. False with the reason in `error`.
bool writeAltaPointsFile(const std::filesystem::path& path, const AltaPoints& points,
                         std::string& error);

// The path to read for the project's name of the file: relative to the
// project's folder; an empty name stays empty, so that reading reports that
// none was chosen.
std::string altaPointsFilePath(const std::string& name);

// The names the relative-error points file keeps in the adjustment: both
// names of each pair and the text of each entry; `path` as the project
// names it, relative to the project's folder. A file that cannot be read
// keeps none; its messages go to the error report.
void readRelErrPointNames(const std::string& path, std::vector<std::string>& names);
