#pragma once
// The text of a report window: the file's lines and, for a least-squares
// report, the sections that its title lines begin, with the tabs that show
// them. Nothing here draws; the window paints the lines in view.

#include <array>
#include <string>
#include <string_view>
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
    // one section (and the tabs are not used).
    void findSections(bool geodetic);

    Range section(int index) const { return sections_[static_cast<size_t>(index)]; }
    bool present(int index) const { return present_[static_cast<size_t>(index)]; }
    // The section each tab shows, in tab order: the whole report, the
    // preprocessing part, then the sections found, in section order.
    std::vector<int> tabSections() const;

private:
    std::vector<std::string> lines_;
    std::array<Range, reportSectionCount> sections_{};
    std::array<bool, reportSectionCount> present_{};
};
