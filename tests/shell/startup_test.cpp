// The program's start-up: the host's hand-over block, TARNWELL.INI, the
// start-up dialog and what its choices open; a screenshot of the dialog.

#include "gui_test_support.hpp"
#include "model/settings/project_defaults.hpp"
#include "shell/application.hpp"
#include "shell/command_ids.hpp"
#include "shell/settings/settings_sheet.hpp"
#include "shell/startup_dialog.hpp"
#include "support/host_block.hpp"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>

#include <unistd.h>

namespace {

using guitest::ChooseFile;
using guitest::ShellTest;
namespace fs = std::filesystem;

// The host's block gets a name of its own: the one hosts use is exercised by
// the model's tests, which may run at the same time.
std::string privateBlockName() {
    return "LS_Settings-shell-test-" + std::to_string(::getpid());
}

// Answers the start-up dialog: checks it, sets its check box and, for OK,
// which button was chosen.
// It stands in front of the main window, in its middle.
class AnswerStartUp : public wxExpectModalBase<CDlgStartUp, AnswerStartUp> {
public:
    AnswerStartUp(int result, int createNew, bool keepShowing)
        : result_(result), createNew_(createNew), keepShowing_(keepShowing) {}

protected:
    int OnInvoked(CDlgStartUp* dialog) const override {
        EXPECT_EQ(dialog->GetTitle(), "Tarnwell Start-up ");
        guitest::expectCentredOn(dialog, static_cast<CZezadarApp&>(*wxTheApp).mainFrame());
        auto* check = dynamic_cast<wxCheckBox*>(dialog->FindWindow(shellid::showAtStartUpCheck));
        EXPECT_NE(check, nullptr);
        if (check != nullptr) {
            EXPECT_TRUE(check->GetValue());
            check->SetValue(keepShowing_);
        }
        dialog->createNew = createNew_;
        return result_;
    }

private:
    int result_;
    int createNew_;
    bool keepShowing_;
};

class StartUp : public ShellTest {
protected:
    CZezadarApp& app() { return static_cast<CZezadarApp&>(*wxTheApp); }
    // Runs the start-up with `commandLine` and keeps the main window for the test.
    void start(const std::string& commandLine, const std::string& block = "LS_Settings-none") {
        ASSERT_TRUE(app().initInstance(commandLine, block));
        adoptFrame(app().mainFrame());
    }
    void withoutDialog() { storeProfile(defaultsSection, "ShowStartUPDialog", "0"); }
};

TEST_F(StartUp, TakesTheHostsFileNamesAndTheIniFolders) {
    withoutDialog();
    testsupport::HostBlock host(privateBlockName(), std::string("/jobs/day1.vkr\0NOCRD\0", 21));
    ASSERT_TRUE(host.created());
    testsupport::writeBytes(file("TARNWELL.INI"),
                            "EXEDIR=/opt/tarnwell/geoid\r\nHELPFILE=guide.chm\r\nHELPDIR=/opt/"
                            "help\r\n");
    projectVars.crdFileName = "kept.crd";
    start(folder().string(), host.name());

    EXPECT_EQ(projectVars.pInputFileName, "/jobs/day1.vkr");
    EXPECT_EQ(projectVars.crdFileName, "kept.crd");
    EXPECT_EQ(projectVars.startFolder, folder().string());
    EXPECT_EQ(projectVars.exeDir, "/opt/tarnwell/geoid/");
    EXPECT_EQ(projectVars.tmpDir, "");
    EXPECT_EQ(projectVars.helpFile, "guide.chm");
    EXPECT_EQ(projectVars.helpDir, "/opt/help/");
    EXPECT_EQ(projectVars.helpTopic, "");
    ASSERT_NE(frame(), nullptr);
    EXPECT_TRUE(frame()->IsShown());
    EXPECT_EQ(frame()->GetTitle(), "Tarnwell");
    EXPECT_FALSE(frame()->state().projectOpen);
    EXPECT_EQ(wxTheApp->GetAppName(), "Tarnwell");
}

TEST_F(StartUp, WithoutAHostBlockOrIniFileNothingIsTaken) {
    withoutDialog();
    start(file("no such folder").string());
    EXPECT_EQ(projectVars.pInputFileName, "");
    EXPECT_EQ(projectVars.exeDir, "");
    EXPECT_EQ(projectVars.helpFile, "");
}

TEST_F(StartUp, CancellingWithTheBoxClearedTurnsTheDialogOff) {
    wxTEST_DIALOG(start(folder().string()), AnswerStartUp(wxID_CANCEL, 0, false));
    EXPECT_FALSE(frame()->state().projectOpen);
    EXPECT_EQ(projectVars.showStartUpDialog, 0);
    destroyMainWindow();
    EXPECT_EQ(profile().getInt(defaultsSection, "ShowStartUPDialog", -1), 0);
}

TEST_F(StartUp, CreatingANewProjectThatIsCancelledOpensNothing) {
    wxTEST_DIALOG(start(folder().string()), AnswerStartUp(wxID_OK, 1, true),
                  ChooseFile("", "New Project"));
    EXPECT_FALSE(frame()->state().projectOpen);
    EXPECT_EQ(frame()->GetTitle(), "Tarnwell");
    EXPECT_EQ(projectVars.showStartUpDialog, 1);
}

TEST_F(StartUp, CreatingANewProjectWritesAndOpensItThenShowsItsSettings) {
    bool sheetShown = false;
    wxTEST_DIALOG(start(folder().string()), AnswerStartUp(wxID_OK, 1, true),
                  ChooseFile(file("fresh.prj"), "New Project"),
                  guitest::OnDialog<CSettingsPropSht>([&](CSettingsPropSht&) {
                      sheetShown = true;
                      return wxID_CANCEL;
                  }));
    EXPECT_TRUE(sheetShown);
    EXPECT_TRUE(fs::exists(file("fresh.prj")));
    EXPECT_EQ(frame()->GetTitle(), "Tarnwell - Project: fresh");
    EXPECT_TRUE(frame()->state().projectOpen);
}

TEST_F(StartUp, OpeningAnExistingProjectReadsIt) {
    guitest::writeProject(file("site.prj"), {"maxIterations=25"});
    wxTEST_DIALOG(start(folder().string()), AnswerStartUp(wxID_OK, 0, true),
                  ChooseFile(file("site.prj"), "Open"));
    EXPECT_EQ(frame()->GetTitle(), "Tarnwell - Project: site");
    EXPECT_EQ(projectVars.maxIterations, 25);
}

// The dialog's own buttons, pressed while it runs modally.
TEST_F(StartUp, TheDialogsButtonsEndItWithTheirChoice) {
    const struct {
        int button;
        int result;
        int createNew;
        int showAtStartUp;
    } cases[] = {
        {shellid::createNewButton, wxID_OK, 1, 1},
        {shellid::openExistingButton, wxID_OK, 0, 1},
        {wxID_CANCEL, wxID_CANCEL, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        CDlgStartUp dialog(nullptr, 1);
        dialog.createNew = -1;
        wxTheApp->CallAfter([&dialog, &c] {
            auto* check = dynamic_cast<wxCheckBox*>(dialog.FindWindow(shellid::showAtStartUpCheck));
            check->SetValue(c.showAtStartUp != 0);
            wxWindow* button = dialog.FindWindow(c.button);
            wxCommandEvent click(wxEVT_BUTTON, c.button);
            click.SetEventObject(button);
            button->ProcessWindowEvent(click);
        });
        guitest::RealDialogsAllowed real;
        EXPECT_EQ(dialog.ShowModal(), c.result);
        EXPECT_EQ(dialog.createNew, c.createNew);
        EXPECT_EQ(dialog.showAtStartUp(), c.showAtStartUp);
    }
}

TEST_F(StartUp, ScreenshotOfTheStartUpDialog) {
    CDlgStartUp dialog(nullptr, 1);
    dialog.Show();
    guitest::waitForFirstPaint(&dialog);
    const auto path =
        std::filesystem::path(TARNWELL_BINARY_DIR) / "screenshots" / "startup_dialog.png";
    EXPECT_TRUE(guitest::saveScreenshot(&dialog, path));
    EXPECT_TRUE(wxImage(path.string(), wxBITMAP_TYPE_PNG).IsOk());
    dialog.Hide();
}

} // namespace
