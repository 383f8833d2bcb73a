#include "shell/report_text.hpp"

#include "model/settings/text_fields.hpp"

#include <algorithm>

namespace {

constexpr size_t titleLength = 255;

constexpr const char* tabLabels[reportSectionCount] = {
    "Entire Rpt.",        "Preprocess", "Unadjusted Obs.", "Adjusted Obs.", "Adjusted NE",
    "ALTA/Relative Err.", "SS's",       "Elev. Report",
};

std::string titleOf(const std::string& line) {
    std::string title = line.substr(0, titleLength);
    stripBlanks(title);
    return title;
}

} // namespace

const char* sectionTabLabel(int section) {
    return section >= 0 && section < reportSectionCount ? tabLabels[section] : "";
}

void ReportText::assign(std::string_view bytes) {
    clear();
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines_.emplace_back(line);
        start = next;
    }
    sections_[entireReport] = {0, lineCount()};
}

void ReportText::append(std::string_view text) {
    lines_.emplace_back(text);
    sections_[entireReport] = {0, lineCount()};
}

void ReportText::clear() {
    lines_.clear();
    sections_ = {};
    present_ = {};
}

// A title on one of the first lines would start a section before the
// first line or give the part before it a negative length: both stop at 0.
void ReportText::findSections(bool geodetic) {
    const std::string adjustedTitle =
        geodetic ? "Adjusted Geographic Coordinates" : "Adjusted Coordinates";
    sections_ = {};
    present_ = {};
    const int total = lineCount();
    sections_[entireReport] = {0, total};
    int last = 0;
    const auto begin = [&](int ended, int started, int i) {
        sections_[static_cast<size_t>(ended)].count = std::max(0, i - last);
        sections_[static_cast<size_t>(started)].first = std::max(0, i - 1);
        present_[static_cast<size_t>(started)] = true;
        last = i;
    };
    const auto firstPresent = [this](std::initializer_list<int> order, int otherwise) {
        for (int s : order)
            if (present_[static_cast<size_t>(s)])
                return s;
        return otherwise;
    };
    for (int i = 0; i < total; ++i) {
        const std::string title = titleOf(lines_[static_cast<size_t>(i)]);
        if (title == "Unadjusted Observations") {
            begin(preprocessSection, unadjustedObsSection, i);
            sections_[preprocessSection].count = std::max(0, i - 5);
        } else if (title == adjustedTitle) {
            begin(unadjustedObsSection, adjustedNESection, i);
        } else if (title == "Relative Error and ALTA Tolerances") {
            begin(adjustedNESection, relativeErrorSection, i);
        } else if (title == "Adjusted Observations") {
            begin(firstPresent({relativeErrorSection}, adjustedNESection), adjustedObsSection, i);
        } else if (title == "Sideshots") {
            begin(firstPresent({adjustedObsSection}, unadjustedObsSection), sideshotSection, i);
        } else if (title == "LEAST SQUARES VERTICAL ADJUSTMENT REPORT") {
            begin(firstPresent({sideshotSection, adjustedObsSection, unadjustedObsSection},
                               preprocessSection),
                  elevationSection, i);
        }
    }
    const int lastFound =
        firstPresent({elevationSection, sideshotSection, adjustedObsSection, relativeErrorSection,
                      adjustedNESection, unadjustedObsSection},
                     preprocessSection);
    Range& tail = sections_[static_cast<size_t>(lastFound)];
    tail.count = total - tail.first;
    // A Preprocess run's report has no settings header before its first
    // title: all of it is the preprocessing's result.
    if (isBlank(sections_[preprocessSection]))
        sections_[preprocessSection] = {0, total};
}

bool ReportText::isBlank(Range range) const {
    for (int i = range.first; i < range.first + range.count; ++i)
        if (!titleOf(lines_[static_cast<size_t>(i)]).empty())
            return false;
    return true;
}

std::vector<int> ReportText::tabSections() const {
    std::vector<int> tabs = {entireReport, preprocessSection};
    for (int s = unadjustedObsSection; s < reportSectionCount; ++s)
        if (present_[static_cast<size_t>(s)])
            tabs.push_back(s);
    return tabs;
}

std::pair<ReportTextPlace, ReportTextPlace> ordered(ReportTextPlace one, ReportTextPlace two) {
    const bool inOrder = one.row < two.row || (one.row == two.row && one.column <= two.column);
    return inOrder ? std::pair{one, two} : std::pair{two, one};
}

std::string textBetween(const ReportText& text, ReportText::Range range, ReportTextPlace one,
                        ReportTextPlace two) {
    const auto [from, to] = ordered(one, two);
    std::string selected;
    for (int row = std::max(from.row, 0); row <= to.row && row < range.count; ++row) {
        const std::string& line = text.line(range.first + row);
        const auto begin = row == from.row ? std::min<size_t>(from.column, line.size()) : 0;
        const auto end = row == to.row ? std::min<size_t>(to.column, line.size()) : line.size();
        if (row > from.row)
            selected += '\n';
        if (end > begin)
            selected += line.substr(begin, end - begin);
    }
    return selected;
}
