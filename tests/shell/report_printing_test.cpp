// Printing the report windows: the pages a job makes, the "Print Reports"
// choices, the job as the printing system receives it (a stand-in `lp` keeps
// the PostScript it is given), and the messages when nothing can be printed.

#include "gui_test_support.hpp"
#include "shell/command_ids.hpp"
#include "shell/print_dialog.hpp"
#include "shell/report_printing.hpp"
#include "shell/report_window.hpp"
#include "support/environment_value.hpp"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/checkbox.h>

#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using guitest::ExpectMessage;
using testsupport::EnvironmentValue;

TEST(ReportPagination, ALineFitsWhileItsBottomIsOnThePage) {
    const struct {
        const char* name;
        int lines;
        int lineHeight;
        int pageHeight;
        std::vector<int> pages;
    } cases[] = {
        {"no lines, no pages", 0, 10, 30, {}},
        {"the third line ends exactly at the bottom", 3, 10, 30, {3}},
        {"the fourth would pass it", 4, 10, 30, {3, 1}},
        {"one short of the bottom", 7, 10, 31, {3, 3, 1}},
        {"a line taller than the page stands alone", 3, 40, 30, {1, 1, 1}},
        {"86 lines of 13 in 1121", 200, 13, 1121, {86, 86, 28}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(linesPerPage(c.lines, c.lineHeight, c.pageHeight), c.pages);
    }
}

TEST(ReportPagination, TheLocalesPaperSizeNamesThePaper) {
    const struct {
        int width;
        int height;
        wxPaperSize paper;
    } cases[] = {
        {210, 297, wxPAPER_A4},
        {216, 279, wxPAPER_LETTER}, // 8.5 x 11 inches, to the millimetre
        {216, 356, wxPAPER_LEGAL},
        {0, 0, wxPAPER_A4}, // a locale without a paper size
    };
    for (const auto& c : cases)
        EXPECT_EQ(paperOfSize(c.width, c.height), c.paper) << c.width << " x " << c.height;
}

TEST(ReportPagination, TheDocumentNameKeeps19CharactersOfTheName) {
    EXPECT_EQ(printDocumentName("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"),
              "Lst. Sqr. - ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(printDocumentName("site.raw\n"), "Lst. Sqr. - site.raw\n");
}

// What a PostScript job holds: its pages, each with the texts drawn on it
// in order and the height at which each was drawn.
struct PrintedLine {
    std::string text;
    double y;
};
using PrintedPages = std::vector<std::vector<PrintedLine>>;

PrintedPages readJob(const fs::path& path) {
    std::ifstream file(path);
    PrintedPages pages;
    double y = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("%%Page:", 0) == 0)
            pages.emplace_back();
        else if (line.size() > 7 && line.compare(line.size() - 7, 7, " moveto") == 0)
            std::istringstream(line) >> y >> y;
        else if (const auto end = line.rfind(") (\\n) strsplit");
                 end != std::string::npos && line.front() == '(' && !pages.empty())
            pages.back().push_back({line.substr(1, end - 1), y});
    }
    return pages;
}

// A least-squares report whose "SS's" tab shows `sideshots` numbered lines
// (the title's rule line first), after a short preprocessing part and a few
// unadjusted observations.
std::string reportWithSideshots(int sideshots) {
    std::string text;
    for (int i = 0; i < 9; ++i)
        text += "Preprocess line " + std::to_string(i) + "\r\n";
    text += "------\r\nUnadjusted Observations\r\n";
    for (int i = 0; i < 7; ++i)
        text += "Observation " + std::to_string(i) + "\r\n";
    text += "------\r\nSideshots\r\n";
    for (int i = 2; i < sideshots; ++i)
        text += "SS " + std::to_string(i) + " N 1000.000 E 2000.000\r\n";
    return text;
}

class Printing : public guitest::ShellTest {
protected:
    Printing() {
        fs::create_directories(file("bin"));
        // The stand-in printing system keeps each job and its name.
        writeFakeLp("jobs='" + file("jobs").string() +
                    "'\n"
                    "n=$(ls \"$jobs\" | wc -l)\n"
                    "printf '%s\\n' \"$2\" > \"$jobs/name-$n\"\n"
                    "cp \"$4\" \"$jobs/job-$n.ps\"\n");
        fs::create_directories(file("jobs"));
        projectVars.pInputFileName = "site.raw\n";
    }

    void writeFakeLp(const std::string& body) {
        testsupport::writeBytes(file("bin") / "lp", "#!/bin/sh\n" + body);
        fs::permissions(file("bin") / "lp", fs::perms::owner_all);
    }

    // The main window with the report of `sideshots` sideshot lines open
    // at its "SS's" tab.
    CChildFrame& openReportAtSideshots(int sideshots) {
        CMainFrame& frame = openMainWindow();
        testsupport::writeBytes(file("site.RPT"), reportWithSideshots(sideshots));
        frame.shell().showReport(file("site.RPT").string(), ReportKind::report);
        CChildFrame* report = frame.runWindows().report(ReportKind::report);
        EXPECT_NE(report, nullptr);
        const std::vector<std::string> tabs = report->tabLabels();
        const auto at = std::find(tabs.begin(), tabs.end(), "SS's");
        EXPECT_NE(at, tabs.end());
        report->showSection(static_cast<int>(at - tabs.begin()));
        return *report;
    }

    static guitest::OnDialog<print> choose(bool leastSquares, bool nez, bool errors) {
        return guitest::OnDialog<print>([=](print& dialog) {
            static_cast<wxCheckBox*>(dialog.FindWindow(print::leastSquaresCheck))
                ->SetValue(leastSquares);
            static_cast<wxCheckBox*>(dialog.FindWindow(print::nezListingCheck))->SetValue(nez);
            static_cast<wxCheckBox*>(dialog.FindWindow(print::errorReportCheck))->SetValue(errors);
            dialog.takeChoices();
            return wxID_OK;
        });
    }

    int jobCount() const {
        return static_cast<int>(
                   std::distance(fs::directory_iterator(file("jobs")), fs::directory_iterator{})) /
               2;
    }

    EnvironmentValue path{"PATH", file("bin").string() + ":/usr/bin:/bin"};
};

// Hand count: the lines print in a 10-point font at 96 screen pixels per
// inch, which the PostScript device, having no font metrics, takes to be
// 10 × 96 / 72 = 13.3, that is 13 pixels a line. An A4 page is 297 mm, 1122
// such pixels (wx rounds its 841 points to 1121), so 86 lines fit a page:
// the 200 lines of the section print as 86, 86 and 28.
TEST_F(Printing, TheSelectedSectionPrintsPageByPage) {
    openReportAtSideshots(200);
    wxTEST_DIALOG(frame()->printReports(), choose(true, false, false));

    ASSERT_EQ(jobCount(), 1);
    EXPECT_EQ(testsupport::readBytes(file("jobs") / "name-0"), "Lst. Sqr. - site.raw \n");
    const PrintedPages pages = readJob(file("jobs") / "job-0.ps");
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].size(), 86u);
    EXPECT_EQ(pages[1].size(), 86u);
    EXPECT_EQ(pages[2].size(), 28u);
    // The section's lines in order, from its rule line; each page starts at its top.
    std::vector<std::string> printed;
    for (const auto& page : pages) {
        for (const PrintedLine& line : page)
            printed.push_back(line.text);
        EXPECT_EQ(page.front().y, pages[0].front().y);
        EXPECT_GT(page.front().y, page.back().y);
    }
    EXPECT_EQ(printed.front(), "------");
    EXPECT_EQ(printed[1], "Sideshots");
    EXPECT_EQ(printed.back(), "SS 199 N 1000.000 E 2000.000");
    EXPECT_EQ(printed.size(), 200u);
    // 10 points high.
    EXPECT_NE(testsupport::readBytes(file("jobs") / "job-0.ps").find("10.000000 scalefont"),
              std::string::npos);
}

TEST_F(Printing, AReportWhoseWindowIsNotOpenPrintsNothingAndSaysNothing) {
    openReportAtSideshots(5);
    wxTEST_DIALOG(frame()->printReports(), choose(false, true, true));
    EXPECT_EQ(jobCount(), 0);
}

TEST_F(Printing, ExitPrintsNothing) {
    openReportAtSideshots(5);
    wxTEST_DIALOG(frame()->printReports(),
                  guitest::OnDialog<print>([](print&) { return wxID_CANCEL; }));
    EXPECT_EQ(jobCount(), 0);
}

TEST_F(Printing, WithoutADefaultPrinterTheUserIsTold) {
    openReportAtSideshots(5);
    writeFakeLp("echo 'lp: Error - no default destination available.' >&2\nexit 1\n");
    wxTEST_DIALOG(
        frame()->printReports(), choose(true, false, false),
        ExpectMessage("Nothing was printed: lp: Error - no default destination available.", wxOK));
}

TEST_F(Printing, WithoutAPrintingSystemTheUserIsTold) {
    openReportAtSideshots(5);
    fs::remove(file("bin") / "lp");
    EnvironmentValue onlyBin("PATH", file("bin").string());
    wxTEST_DIALOG(frame()->printReports(), choose(true, false, false),
                  ExpectMessage("Nothing was printed: no printing system is installed "
                                "(the lp command was not found).",
                                wxOK));
}

// The window is closed while the job is under way (the job handles pending
// events between its pages): the job prints from its own copy of the lines,
// every window stays disabled until it ends.
TEST_F(Printing, ClosingTheWindowDuringTheJobIsHarmless) {
    CChildFrame& report = openReportAtSideshots(200);
    bool enabledDuringJob = true;
    bool closed = false;
    wxTheApp->CallAfter([&] {
        enabledDuringJob = frame()->IsEnabled();
        delete &report;
        closed = true;
    });
    wxTEST_DIALOG(frame()->printReports(), choose(true, false, false));

    EXPECT_TRUE(closed);
    EXPECT_FALSE(enabledDuringJob);
    EXPECT_TRUE(frame()->IsEnabled());
    EXPECT_EQ(frame()->runWindows().report(ReportKind::report), nullptr);
    ASSERT_EQ(jobCount(), 1);
    const PrintedPages pages = readJob(file("jobs") / "job-0.ps");
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[2].back().text, "SS 199 N 1000.000 E 2000.000");
}

TEST_F(Printing, PrintIsEnabledWhileAWindowIsActive) {
    CMainFrame& frame = openMainWindow();
    for (int id : {shellid::print, shellid::printButton})
        EXPECT_FALSE(guitest::commandEnabled(&frame, id)) << id;
    testsupport::writeBytes(file("site.ERR"), "one error\r\n");
    frame.shell().showReport(file("site.ERR").string(), ReportKind::error);
    for (int id : {shellid::print, shellid::printButton})
        EXPECT_TRUE(guitest::commandEnabled(&frame, id)) << id;
}

TEST_F(Printing, TheDialogOffersTheThreeReports) {
    CMainFrame& frame = openMainWindow();
    print dialog(&frame);
    wxTheApp->CallAfter([&dialog] {
        guitest::waitForFirstPaint(&dialog);
        EXPECT_TRUE(guitest::saveScreenshot(&dialog, fs::path(TARNWELL_BINARY_DIR) / "screenshots" /
                                                         "print_dialog.png"));
        for (int id : {print::leastSquaresCheck, print::nezListingCheck, print::errorReportCheck})
            EXPECT_FALSE(static_cast<wxCheckBox*>(dialog.FindWindow(id))->GetValue()) << id;
        static_cast<wxCheckBox*>(dialog.FindWindow(print::errorReportCheck))->SetValue(true);
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        ok.SetEventObject(dialog.FindWindow(wxID_OK));
        dialog.FindWindow(wxID_OK)->ProcessWindowEvent(ok);
    });
    guitest::RealDialogsAllowed real;
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(dialog.errorReport, 1);
    EXPECT_EQ(dialog.leastSquaresReport, 0);
    EXPECT_EQ(dialog.nezListing, 0);
    EXPECT_EQ(dialog.FindWindow(wxID_CANCEL)->GetLabel(), "Exit");
}

} // namespace
