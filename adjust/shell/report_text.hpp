#pragma once
// The text of a report window: the file's lines and, for a least-squares
// report, the sections that its title lines begin, with the tabs that show
// them. Nothing here draws; the window paints the lines in view.

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Sections of a least-squares report, in tab order.
enum ReportSection : int {
    entireReport = 0,
    preprocessSection = 1,
    unadjustedObsSection = 2,
    adjustedObsSection = 3,
    adjustedNESection = 4,
    relativeErrorSection = 5,
    sideshotSection = 6,
    elevationSection = 7,
    reportSectionCount = 8,
};

// The label of the tab that shows `section`.
const char* sectionTabLabel(int section);

// A place between characters of the lines in view: the row (from 0) and
// the number of characters before it on that row.
struct ReportTextPlace {
    int row = 0;
    int column = 0;

    friend bool operator==(const ReportTextPlace&, const ReportTextPlace&) = default;
};

// The two places in text order.
std::pair<ReportTextPlace, ReportTextPlace> ordered(ReportTextPlace one, ReportTextPlace two);

class ReportText {
public:
    // Lines first..first+count-1 of the text.
    struct Range {
        int first = 0;
        int count = 0;
    };

    // Takes a file's bytes. Lines end at a line feed, with or without a
    // carriage return before it; a last line without a line feed is a line.
    void assign(std::string_view bytes);
    // Adds `text` as one new line at the end.
    void append(std::string_view text);
    void clear();

    int lineCount() const { return static_cast<int>(lines_.size()); }
    const std::string& line(int index) const { return lines_[static_cast<size_t>(index)]; }

    // Finds the sections from the title lines, each compared whole after its
    // blanks are stripped. A three-dimensional project (`geodetic`) starts
    // its adjusted coordinates at "Adjusted Geographic Coordinates", a plane
    // one at "Adjusted Coordinates". Without sections only the whole text is
    // one section (and the tabs are not used). A preprocessing part that
    // holds only blank lines (the report of a Preprocess run, which has no
    // settings header) is the whole text.
    void findSections(bool geodetic);

    Range section(int index) const { return sections_[static_cast<size_t>(index)]; }
    bool present(int index) const { return present_[static_cast<size_t>(index)]; }
    // The section each tab shows, in tab order: the whole report, the
    // preprocessing part, then the sections found, in section order.
    std::vector<int> tabSections() const;

private:
    bool isBlank(Range range) const;

    std::vector<std::string> lines_;
    std::array<Range, reportSectionCount> sections_{};
    std::array<bool, reportSectionCount> present_{};
};

// The characters of `text`'s lines in `range` between two places (in either
// order), rows joined by a line feed; columns beyond a line's end stop at it.
std::string textBetween(const ReportText& text, ReportText::Range range, ReportTextPlace one,
                        ReportTextPlace two);
