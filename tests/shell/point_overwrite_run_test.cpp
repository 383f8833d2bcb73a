// The desktop program asks before a run replaces points already stored in
// the project's coordinate file. The example project runs from the menu
// with `wrtToCrd` on and a coordinate file that holds two of its points
// (C and D) with other coordinates; the question comes up for each of them
// and its buttons decide what the file holds afterwards.

#include "gui_test_support.hpp"
#include "ptbank/dialogs/point_overwrite_dialog.hpp"
#include "reports/final_coords_support.hpp"
#include "shell/command_ids.hpp"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/eventfilter.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace {

using guitest::ShellTest;
namespace fs = std::filesystem;

const fs::path exampleFolder = fs::path(TARNWELL_FIXTURES) / ".." / ".." / "examples" / "site";
constexpr int alphanumericCrd = 1; // the library's "Velmora Alphanumeric" .crd

// The example's points as its README gives them; the adjustment gives C
// and D back to a few tenths of a millimetre.
struct KnownPoint {
    const char* name;
    double northing;
    double easting;
};
constexpr KnownPoint exampleC{"C", 1050.420, 1430.150};
constexpr KnownPoint exampleD{"D", 880.600, 1210.330};
constexpr KnownPoint exampleA{"A", 1000.000, 1000.000};
constexpr double adjustedTolerance = 1e-3;

// What the question showed when it was answered.
struct Shown {
    std::string pointName;
    std::string currentFirst;
    std::string newFirst;
};

// Answers the overwrite question as a user does: it is shown, the "Do Not
// Ask Again" box is set as asked, and one of its buttons is pressed.
class PressOverwriteButton : public wxExpectModalBase<CPtOverwriteDlg, PressOverwriteButton> {
public:
    PressOverwriteButton(int button, std::vector<Shown>& log, bool forAll = false,
                         fs::path screenshot = {})
        : button_(button), log_(&log), forAll_(forAll), screenshot_(std::move(screenshot)) {}

protected:
    int OnInvoked(CPtOverwriteDlg* dialog) const override {
        dialog->Show();
        guitest::waitForFirstPaint(dialog);
        auto text = [dialog](int id) {
            return wxDynamicCast(dialog->FindWindow(id), wxTextCtrl)->GetValue().utf8_string();
        };
        log_->push_back({text(overwriteid::pointName), text(overwriteid::currentFirst),
                         text(overwriteid::newFirst)});
        if (!screenshot_.empty()) {
            EXPECT_TRUE(guitest::saveScreenshot(dialog, screenshot_));
        }
        wxDynamicCast(dialog->FindWindow(overwriteid::doNotAsk), wxCheckBox)->SetValue(forAll_);
        wxWindow* button = dialog->FindWindow(button_);
        wxCommandEvent click(wxEVT_BUTTON, button_);
        click.SetEventObject(button);
        button->ProcessWindowEvent(click);
        dialog->Hide();
        return dialog->GetReturnCode();
    }

private:
    int button_;
    std::vector<Shown>* log_;
    bool forAll_;
    fs::path screenshot_;
};

// Presses a button of the overwrite question each time it is shown for
// real, from inside its own modal loop.
class PressInModalLoop : public wxEventFilter {
public:
    explicit PressInModalLoop(int button) : button_(button) { wxEvtHandler::AddFilter(this); }
    ~PressInModalLoop() override { wxEvtHandler::RemoveFilter(this); }
    PressInModalLoop(const PressInModalLoop&) = delete;
    PressInModalLoop& operator=(const PressInModalLoop&) = delete;

    int FilterEvent(wxEvent& event) override {
        if (event.GetEventType() != wxEVT_INIT_DIALOG)
            return Event_Skip;
        if (auto* dialog = dynamic_cast<CPtOverwriteDlg*>(event.GetEventObject())) {
            dialog->CallAfter([this, dialog] {
                modal.push_back(dialog->IsModal());
                wxWindow* button = dialog->FindWindow(button_);
                wxCommandEvent click(wxEVT_BUTTON, button_);
                click.SetEventObject(button);
                button->ProcessWindowEvent(click);
            });
        }
        return Event_Skip;
    }

    std::vector<bool> modal; // one entry per question pressed

private:
    int button_;
};

class PointOverwriteRun : public ShellTest {
protected:
    PointOverwriteRun() {
        for (const char* name : {"site.vkr", "site.cls"})
            fs::copy_file(exampleFolder / name, file(name));
        std::string project = testsupport::readBytes(exampleFolder / "site.prj");
        const std::string off = "wrtToCrd=0";
        project.replace(project.find(off), off.size(), "wrtToCrd=1");
        project += "crdFileName=site.crd\r\n";
        testsupport::writeBytes(file("site.prj"), project);
        finalcoords::storeCrdPoints(
            crdPath(), alphanumericCrd,
            {finalcoords::crdPoint("C", 1050.0, 1430.0, 51.0, "IP", "stored C"),
             finalcoords::crdPoint("D", 880.0, 1210.0, 49.0, "IP", "stored D")});
        for (const char* name : {"C", "D"})
            stored[name] = *finalcoords::storedPoint(crdPath(), name);
        bytesBefore = testsupport::readBytes(crdPath());
    }

    std::string crdPath() const { return file("site.crd").string(); }

    CMainFrame& openProject() {
        CMainFrame& frame = openMainWindow();
        wxTEST_DIALOG(frame.openProject(), guitest::ChooseFile(file("site.prj")));
        EXPECT_TRUE(frame.state().projectOpen);
        return frame;
    }

    static void runAdjustment(CMainFrame& frame) {
        wxCommandEvent event(wxEVT_MENU, shellid::networkAdjustment);
        frame.ProcessWindowEvent(event);
    }

    void expectAdjusted(const KnownPoint& known) const {
        SCOPED_TRACE(known.name);
        const std::optional<crdPointRec> p = finalcoords::storedPoint(crdPath(), known.name);
        ASSERT_TRUE(p.has_value());
        EXPECT_NEAR(p->northing, known.northing, adjustedTolerance);
        EXPECT_NEAR(p->easting, known.easting, adjustedTolerance);
    }

    std::map<std::string, crdPointRec> stored;
    std::string bytesBefore;
    std::vector<Shown> shown;
};

TEST_F(PointOverwriteRun, EachStoredPointIsAskedAboutAndKeptOrReplacedAsAnswered) {
    CMainFrame& frame = openProject();
    const fs::path screenshot =
        fs::path(TARNWELL_BINARY_DIR) / "screenshots" / "point_overwrite_dialog.png";
    wxTEST_DIALOG(runAdjustment(frame),
                  PressOverwriteButton(overwriteid::doNotOverwrite, shown, false, screenshot),
                  PressOverwriteButton(overwriteid::overwrite, shown));

    // The question comes in the order of the adjusted point list.
    ASSERT_EQ(shown.size(), 2u);
    const std::map<std::string, KnownPoint> known = {{"C", exampleC}, {"D", exampleD}};
    ASSERT_TRUE(known.contains(shown[0].pointName));
    ASSERT_TRUE(known.contains(shown[1].pointName));
    ASSERT_NE(shown[0].pointName, shown[1].pointName);
    const std::string kept = shown[0].pointName;
    const std::string replaced = shown[1].pointName;
    // The project shows coordinates with coordPrec = 3 decimals.
    EXPECT_EQ(shown[0].currentFirst, kept == "C" ? "1050.000" : "880.000");
    EXPECT_NEAR(std::stod(shown[0].newFirst), known.at(kept).northing, adjustedTolerance);

    const std::optional<crdPointRec> k = finalcoords::storedPoint(crdPath(), kept.c_str());
    ASSERT_TRUE(k.has_value());
    EXPECT_EQ(std::memcmp(&*k, &stored[kept], sizeof *k), 0) << "the kept point changed";
    expectAdjusted(known.at(replaced));
    expectAdjusted(exampleA); // a name the file did not hold is added without a question
}

TEST_F(PointOverwriteRun, OverwriteAllReplacesTheRestWithoutAskingAgain) {
    CMainFrame& frame = openProject();
    wxTEST_DIALOG(runAdjustment(frame), PressOverwriteButton(overwriteid::overwrite, shown, true));
    ASSERT_EQ(shown.size(), 1u);
    expectAdjusted(exampleC);
    expectAdjusted(exampleD);
}

TEST_F(PointOverwriteRun, TheQuestionRunsModallyOverTheRun) {
    CMainFrame& frame = openProject();
    guitest::RealDialogsAllowed shownForReal;
    PressInModalLoop press(overwriteid::overwrite);
    runAdjustment(frame);
    EXPECT_EQ(press.modal, (std::vector<bool>{true, true}));
    expectAdjusted(exampleC);
    expectAdjusted(exampleD);
    EXPECT_TRUE(frame.IsEnabled()); // the run gave the windows back
}

TEST_F(PointOverwriteRun, CancelLeavesTheCoordinateFileAsItWas) {
    CMainFrame& frame = openProject();
    wxTEST_DIALOG(runAdjustment(frame), PressOverwriteButton(overwriteid::cancel, shown));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(testsupport::readBytes(crdPath()), bytesBefore);
    EXPECT_TRUE(fs::exists(file("site.OUT"))); // the run's other files are still written
    // The error report, and its window, say that nothing was stored.
    const std::string said = "Nothing was stored in " + projectVars.crdFileName +
                             ": the overwrite question was cancelled.";
    const std::vector<std::string> lines = guitest::fileLines(file("site.ERR"));
    EXPECT_NE(std::find(lines.begin(), lines.end(), said), lines.end());
    CChildFrame* errors = frame.runWindows().report(ReportKind::error);
    ASSERT_NE(errors, nullptr);
    const std::vector<std::string> shown = guitest::windowLines(*errors);
    EXPECT_NE(std::find(shown.begin(), shown.end(), said), shown.end());
}

} // namespace

namespace {

// The project asks for a coordinate file it does not name: the run stops
// with a box before it reads anything, and says so in its error report.
TEST_F(PointOverwriteRun, ACoordinateFileWithoutANameStopsTheRunWithABox) {
    testsupport::writeBytes(file("site.prj"),
                            testsupport::readBytes(file("site.prj")) + "crdFileName=\r\n");
    CMainFrame& frame = openProject();
    const std::string message = "No output coordinate file name has been specified";
    std::vector<std::string> boxes;
    wxTEST_DIALOG(runAdjustment(frame),
                  guitest::OnDialog<wxMessageDialog>([&](wxMessageDialog& box) {
                      boxes.push_back(box.GetMessage().utf8_string());
                      return wxID_OK;
                  }));
    EXPECT_EQ(boxes, std::vector<std::string>{message});
    EXPECT_NE(testsupport::readBytes(file("site.ERR")).find(message), std::string::npos);
    EXPECT_EQ(testsupport::readBytes(crdPath()), bytesBefore);
    EXPECT_FALSE(fs::exists(file("site.NEZ")));
}

} // namespace
