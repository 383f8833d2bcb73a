// The report window's text: its lines from either kind of line end, and the
// sections that the least-squares report's title lines begin.

#include "shell/message_list_dialog.hpp"
#include "shell/report_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A report of `count` numbered lines with `titles` put in at the given lines.
std::string reportWith(int count, const std::vector<std::pair<int, std::string>>& titles) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back("line " + std::to_string(i));
    for (const auto& [at, title] : titles)
        lines[static_cast<size_t>(at)] = title;
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::vector<std::string> tabLabels(const ReportText& text) {
    std::vector<std::string> labels;
    for (int section : text.tabSections())
        labels.push_back(sectionTabLabel(section));
    return labels;
}

TEST(ReportTextLines, EveryKindOfLineEndGivesTheSameLines) {
    const struct {
        const char* name;
        const char* bytes;
    } cases[] = {
        {"CR LF", "first\r\nsecond\r\n\r\nlast\r\n"},
        // An LF-only file once left most of the line table unset.
        {"LF only", "first\nsecond\n\nlast\n"},
        {"mixed", "first\r\nsecond\n\r\nlast\n"},
        {"last line unterminated", "first\nsecond\n\nlast"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReportText text;
        text.assign(c.bytes);
        ASSERT_EQ(text.lineCount(), 4);
        EXPECT_EQ(text.line(0), "first");
        EXPECT_EQ(text.line(1), "second");
        EXPECT_EQ(text.line(2), "");
        EXPECT_EQ(text.line(3), "last");
        EXPECT_EQ(text.section(entireReport).count, 4);
    }
}

TEST(ReportTextSections, WithoutTitlesBothTabsShowTheWholeText) {
    ReportText text;
    text.assign(reportWith(12, {}));
    text.findSections(false);
    EXPECT_EQ(tabLabels(text), (std::vector<std::string>{"Entire Rpt.", "Preprocess"}));
    for (int section : {entireReport, preprocessSection}) {
        EXPECT_EQ(text.section(section).first, 0);
        EXPECT_EQ(text.section(section).count, 12);
    }
}

// Each section starts one line above its title (the rule above it) and
// runs to the line before the next section's rule; the preprocessing part
// stops five lines before the first title.
TEST(ReportTextSections, TitlesStartTheirSections) {
    ReportText text;
    text.assign(reportWith(100, {{40, "Unadjusted Observations"},
                                 {55, "   Adjusted Coordinates  "},
                                 {63, "Relative Error and ALTA Tolerances"},
                                 {70, "Adjusted Observations"},
                                 {81, "Sideshots"},
                                 {90, "LEAST SQUARES VERTICAL ADJUSTMENT REPORT"}}));
    text.findSections(false);
    EXPECT_EQ(tabLabels(text), (std::vector<std::string>{
                                   "Entire Rpt.", "Preprocess", "Unadjusted Obs.", "Adjusted Obs.",
                                   "Adjusted NE", "ALTA/Relative Err.", "SS's", "Elev. Report"}));
    const struct {
        int section, first, count;
    } expected[] = {
        {entireReport, 0, 100},     {preprocessSection, 0, 35},    {unadjustedObsSection, 39, 15},
        {adjustedNESection, 54, 8}, {relativeErrorSection, 62, 7}, {adjustedObsSection, 69, 11},
        {sideshotSection, 80, 9},   {elevationSection, 89, 11},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(sectionTabLabel(e.section));
        EXPECT_EQ(text.section(e.section).first, e.first);
        EXPECT_EQ(text.section(e.section).count, e.count);
    }
}

TEST(ReportTextSections, TheAdjustedCoordinatesTitleFollowsTheModel) {
    const std::string report =
        reportWith(30, {{10, "Adjusted Coordinates"}, {20, "Adjusted Geographic Coordinates"}});
    const struct {
        bool geodetic;
        int first;
    } cases[] = {{false, 9}, {true, 19}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.geodetic ? "3D" : "2D");
        ReportText text;
        text.assign(report);
        text.findSections(c.geodetic);
        ASSERT_TRUE(text.present(adjustedNESection));
        EXPECT_EQ(text.section(adjustedNESection).first, c.first);
        EXPECT_EQ(text.section(adjustedNESection).count, 30 - c.first);
    }
}

TEST(ReportTextSections, OnlyAWholeTitleLineCounts) {
    ReportText text;
    text.assign(reportWith(20, {{8, "Sideshots and more"}, {12, "Unadjusted Observations:"}}));
    text.findSections(false);
    EXPECT_EQ(text.tabSections().size(), 2u);
    EXPECT_EQ(text.section(preprocessSection).count, 20);
}

// A title on the first lines would give negative line counts and a start
// before the first line; with nothing before it, the whole report is the
// preprocessing part.
TEST(ReportTextSections, ATitleAtTheTopGivesNoNegativeCounts) {
    ReportText text;
    text.assign(reportWith(10, {{0, "Unadjusted Observations"}, {2, "Adjusted Observations"}}));
    text.findSections(false);
    EXPECT_EQ(text.section(preprocessSection).first, 0);
    EXPECT_EQ(text.section(preprocessSection).count, 10);
    EXPECT_EQ(text.section(unadjustedObsSection).first, 0);
    EXPECT_GE(text.section(adjustedNESection).count, 0);
    EXPECT_EQ(text.section(adjustedObsSection).first, 1);
    EXPECT_EQ(text.section(adjustedObsSection).count, 9);
}

// A Preprocess run's report starts with its title and the rule under it,
// without the settings header of an adjustment: the Preprocess tab shows
// all of it instead of the one blank line before the title.
TEST(ReportTextSections, APreprocessRunsReportIsAllPreprocessing) {
    ReportText text;
    text.assign("\r\n\r\n     HORIZONTAL ADJUSTMENT REPORT\r\n     ============================\r\n"
                "\r\n\r\nUnadjusted Observations\r\n=======================\r\n\r\n"
                "Distances:    4 Observations\r\n");
    text.findSections(false);
    EXPECT_EQ(tabLabels(text),
              (std::vector<std::string>{"Entire Rpt.", "Preprocess", "Unadjusted Obs."}));
    EXPECT_EQ(text.section(preprocessSection).first, 0);
    EXPECT_EQ(text.section(preprocessSection).count, 10);
    EXPECT_EQ(text.section(unadjustedObsSection).first, 5);
}

TEST(ReportTextSections, AnAppendedLineJoinsTheLastSection) {
    ReportText text;
    text.assign(reportWith(10, {{6, "Adjusted Coordinates"}}));
    text.append(" Relative Error Ellipse: A -> B");
    text.findSections(false);
    EXPECT_EQ(text.lineCount(), 11);
    EXPECT_EQ(text.line(10), " Relative Error Ellipse: A -> B");
    EXPECT_EQ(text.section(adjustedNESection).count, 6);
}

TEST(MessageList, LinesAreCutAtLineFeedsAndTrimmed) {
    const struct {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"No control points found.\r\n", {"No control points found."}},
        {" \n", {""}},
        {"no line feed", {}},
        {"\n\nfirst  \nsecond\r\r\nrest", {"first", "second"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CDlgMsg dialog(nullptr);
        dialog.addMessage(c.text);
        EXPECT_EQ(dialog.lines(), c.lines);
        dialog.Destroy();
    }
}

} // namespace
