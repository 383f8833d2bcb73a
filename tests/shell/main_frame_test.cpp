// The main window under a private X server: placement, options, the command
// table's enabled states, Close All, the dialogs it opens, and a screenshot.

#include "gui_test_support.hpp"
#include "model/settings/project_defaults.hpp"
#include "platform/paths.hpp"
#include "platform/program_folder.hpp"
#include "shell/about_dialog.hpp"
#include "shell/command_ids.hpp"
#include "shell/global_settings_dialog.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <set>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/display.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>

#include <algorithm>

namespace {

using guitest::commandEnabled;
using guitest::ExpectMessage;
using guitest::ShellTest;

class MainFrame : public ShellTest {};

// "(Build a.b.c.d)" with four decimal numbers.
bool isBuildLine(const std::string& text) {
    const std::string head = "(Build ";
    if (text.size() <= head.size() + 1 || text.rfind(head, 0) != 0 || text.back() != ')')
        return false;
    const std::string version = text.substr(head.size(), text.size() - head.size() - 1);
    return std::count(version.begin(), version.end(), '.') == 3 &&
           version.find("..") == std::string::npos && version.front() != '.' &&
           version.back() != '.' && version.find_first_not_of("0123456789.") == std::string::npos;
}

TEST_F(MainFrame, OpensAtTheSavedPlacementAndStoresItAgain) {
    storeProfile(mainWindowSection, "X", "100");
    storeProfile(mainWindowSection, "Y", "50");
    storeProfile(mainWindowSection, "CX", "800");
    storeProfile(mainWindowSection, "CY", "600");
    storeProfile(mainWindowSection, "SHOW", "2");
    CMainFrame& frame = openMainWindow();
    EXPECT_EQ(frame.GetRect(), wxRect(100, 50, 800, 600));
    EXPECT_FALSE(frame.IsIconized());
    EXPECT_EQ(frame.initialShowState(), showNormal);

    frame.SetSize(120, 70, 640, 480);
    wxYield();
    destroyMainWindow();
    const platform::ProfileStore stored = profile();
    EXPECT_EQ(stored.getInt(mainWindowSection, "X", -1), 120);
    EXPECT_EQ(stored.getInt(mainWindowSection, "Y", -1), 70);
    EXPECT_EQ(stored.getInt(mainWindowSection, "CX", -1), 640);
    EXPECT_EQ(stored.getInt(mainWindowSection, "CY", -1), 480);
    EXPECT_EQ(stored.getInt(mainWindowSection, "SHOW", -1), showNormal);
}

// A placement stored on a larger screen comes back inside this one.
TEST_F(MainFrame, APlacementOffTheScreenComesBackInsideIt) {
    storeProfile(mainWindowSection, "X", "5000");
    storeProfile(mainWindowSection, "Y", "4000");
    storeProfile(mainWindowSection, "CX", "800");
    storeProfile(mainWindowSection, "CY", "600");
    CMainFrame& frame = openMainWindow();
    const wxRect area = wxDisplay(0u).GetClientArea();
    EXPECT_TRUE(area.Contains(frame.GetScreenRect()))
        << frame.GetScreenRect().x << "," << frame.GetScreenRect().y;
    EXPECT_EQ(frame.GetSize(), wxSize(800, 600)) << "a window that fits keeps its size";
}

TEST_F(MainFrame, HasTheFullMenuAndToolBar) {
    CMainFrame& frame = openMainWindow();
    wxMenuBar* menu = frame.GetMenuBar();
    ASSERT_NE(menu, nullptr);
    const char* titles[] = {"&File", "&Settings", "&Process", "&Tools",
                            "&View", "&Window",   "&Help"};
    ASSERT_EQ(menu->GetMenuCount(), std::size(titles));
    for (std::size_t i = 0; i < std::size(titles); ++i)
        EXPECT_EQ(menu->GetMenuLabel(i), titles[i]);
    const struct {
        int id;
        const char* label;
    } items[] = {
        {shellid::newProject, "&New Project\tCtrl+N"},
        {shellid::openProject, "&Open Project...\tCtrl+O"},
        {shellid::saveProject, "&Save Project\tCtrl+S"},
        {shellid::openAltaFile, "Open A&LTA, Rel. Err. Ellipse File"},
        {shellid::preprocess, "&Preprocess, compute unadjusted coordinates\tF6"},
        {shellid::editFormattedNezFile, "&Formatted NEZ File"},
        {shellid::closeAll, "C&lose All"},
        {shellid::about, "&About Tarnwell..."},
        {shellid::exitProgram, "E&xit"},
    };
    for (const auto& item : items) {
        SCOPED_TRACE(item.label);
        ASSERT_NE(menu->FindItem(item.id), nullptr);
        EXPECT_EQ(menu->GetLabel(item.id), item.label);
    }
    const int tools[] = {shellid::newProject,
                         shellid::openProject,
                         shellid::saveProject,
                         wxID_SEPARATOR,
                         shellid::printButton,
                         wxID_SEPARATOR,
                         shellid::stdErrSettingsButton,
                         shellid::collectorTransferButton,
                         shellid::editRawFilesButton,
                         wxID_SEPARATOR,
                         shellid::networkAdjustmentButton,
                         shellid::inverseButton,
                         shellid::relErrEllipseButton,
                         shellid::graphicsButton,
                         wxID_SEPARATOR,
                         shellid::about};
    wxToolBar* bar = frame.GetToolBar();
    ASSERT_EQ(bar->GetToolsCount(), std::size(tools));
    for (std::size_t i = 0; i < std::size(tools); ++i) {
        const wxToolBarToolBase* tool = bar->GetToolByPos(static_cast<int>(i));
        if (tools[i] == wxID_SEPARATOR)
            EXPECT_TRUE(tool->IsSeparator()) << i;
        else
            EXPECT_EQ(tool->GetId(), tools[i]) << i;
    }
}

// The commands used most have keys, shown in their menus; Alt+F and one
// letter reach every item of the File menu, each by a letter of its own.
TEST_F(MainFrame, CommandsHaveKeysAndFileItemsTheirOwnLetters) {
    CMainFrame& frame = openMainWindow();
    wxMenuBar* menu = frame.GetMenuBar();
    const struct {
        int id;
        int flags;
        int key;
    } keys[] = {
        {shellid::newProject, wxACCEL_CTRL, 'N'},
        {shellid::openProject, wxACCEL_CTRL, 'O'},
        {shellid::saveProject, wxACCEL_CTRL, 'S'},
        {shellid::print, wxACCEL_CTRL, 'P'},
        {shellid::projectSettings, wxACCEL_NORMAL, WXK_F4},
        {shellid::networkAdjustment, wxACCEL_NORMAL, WXK_F5},
        {shellid::preprocess, wxACCEL_NORMAL, WXK_F6},
        {shellid::graphics, wxACCEL_CTRL, 'G'},
    };
    std::set<std::pair<int, int>> seen;
    for (const auto& k : keys) {
        SCOPED_TRACE(menu->GetLabel(k.id).utf8_string());
        const std::unique_ptr<wxAcceleratorEntry> accel(menu->FindItem(k.id)->GetAccel());
        ASSERT_NE(accel, nullptr);
        EXPECT_EQ(accel->GetFlags(), k.flags);
        EXPECT_EQ(accel->GetKeyCode(), k.key);
        EXPECT_TRUE(seen.insert({k.flags, k.key}).second) << "one key, one command";
    }
    std::set<char> letters;
    for (const wxMenuItem* item : menu->GetMenu(0)->GetMenuItems()) {
        if (item->IsSeparator())
            continue;
        const std::string label = item->GetItemLabel().utf8_string();
        SCOPED_TRACE(label);
        const auto amp = label.find('&');
        ASSERT_NE(amp, std::string::npos) << "the item has a letter";
        const char letter = static_cast<char>(std::tolower(label[amp + 1]));
        EXPECT_TRUE(letters.insert(letter).second) << "the letter is its own";
    }
    EXPECT_EQ(letters.count('p'), 1u);
}

TEST_F(MainFrame, WithoutARecentProjectTheCommandStaysAsItIs) {
    CMainFrame& frame = openMainWindow();
    EXPECT_FALSE(commandEnabled(&frame, shellid::recentProject));
    EXPECT_EQ(frame.GetMenuBar()->GetLabel(shellid::recentProject), "&Recent Project");
}

TEST_F(MainFrame, TheRecentProjectNamesItself) {
    storeProfile(defaultsSection, "MRUProject", "/jobs/R&D/site.prj");
    CMainFrame& frame = openMainWindow();
    EXPECT_TRUE(commandEnabled(&frame, shellid::recentProject));
    EXPECT_EQ(frame.GetMenuBar()->GetLabel(shellid::recentProject), "/jobs/R&&D/site.prj");
    EXPECT_EQ(frame.mruProject(), "/jobs/R&D/site.prj");
}

// The File menu keeps the four projects opened last, newest first, across
// a restart, and each of them opens from it.
TEST_F(MainFrame, TheFourProjectsOpenedLastAreListed) {
    std::vector<std::string> paths;
    for (const char* name : {"p1.prj", "p2.prj", "p3.prj", "p4.prj", "p5.prj"}) {
        guitest::writeProject(file(name));
        paths.push_back(file(name).string());
    }
    CMainFrame& frame = openMainWindow();
    for (const std::string& path : paths)
        wxTEST_DIALOG(frame.openProject(), guitest::ChooseFile(path));
    const std::vector<std::string> newestFirst = {paths[4], paths[3], paths[2], paths[1]};
    EXPECT_EQ(frame.recentProjects(), newestFirst);
    const int ids[] = {shellid::recentProject, shellid::recentProject2, shellid::recentProject3,
                       shellid::recentProject4};
    for (std::size_t i = 0; i < std::size(ids); ++i)
        EXPECT_EQ(frame.GetMenuBar()->GetLabel(ids[i]).utf8_string(), newestFirst[i]);
    // Opening one again moves it to the top, without a second entry.
    wxTEST_DIALOG(frame.openProject(), guitest::ChooseFile(paths[2]));
    EXPECT_EQ(frame.recentProjects(),
              (std::vector<std::string>{paths[2], paths[4], paths[3], paths[1]}));

    destroyMainWindow();
    const platform::ProfileStore stored = profile();
    EXPECT_EQ(stored.getString(defaultsSection, "MRUProject", ""), paths[2]);
    EXPECT_EQ(stored.getString(defaultsSection, "MRUProject4", ""), paths[1]);
    CMainFrame& again = openMainWindow();
    EXPECT_EQ(again.recentProjects(),
              (std::vector<std::string>{paths[2], paths[4], paths[3], paths[1]}));
    command(again, shellid::recentProject3);
    EXPECT_EQ(again.state().projectFile, paths[3]);
}

TEST_F(MainFrame, CommandsAreEnabledByTheProjectState) {
    const int always[] = {shellid::newProject,
                          shellid::openProject,
                          shellid::saveProjectAs,
                          shellid::saveAsDefault,
                          shellid::globalSettings,
                          shellid::help,
                          shellid::about,
                          shellid::exitProgram,
                          shellid::viewToolbar,
                          shellid::viewStatusBar,
                          shellid::projectSettings,
                          shellid::stdErrSettingsButton,
                          shellid::newStdErrFile,
                          shellid::editStdErrFile,
                          shellid::createUdp,
                          shellid::editRawFiles,
                          shellid::collectorTransferButton,
                          shellid::openAltaFile,
                          shellid::newAltaFile,
                          shellid::convertGpsFiles,
                          shellid::convertLevelFiles,
                          shellid::edmCalibration,
                          shellid::openClosureFile,
                          shellid::newClosureFile};
    const int withProject[] = {shellid::closeProject,
                               shellid::saveProject,
                               shellid::networkAdjustment,
                               shellid::networkAdjustmentButton,
                               shellid::preprocess,
                               shellid::lsReport,
                               shellid::errReport,
                               shellid::nezReport,
                               shellid::graphics,
                               shellid::graphicsButton,
                               shellid::blunderDetection,
                               shellid::editReportFile,
                               shellid::editErrorFile,
                               shellid::editNezFile,
                               shellid::editFormattedNezFile};
    // Waiting for a completed run, or still to come.
    const int notYet[] = {shellid::inverse,    shellid::inverseButton, shellid::relErrEllipseButton,
                          shellid::print,      shellid::printButton,   shellid::windowCascade,
                          shellid::windowTile, shellid::closeAll};
    const auto expectStates = [](wxWindow* window, const auto& ids, bool enabled) {
        for (int id : ids)
            EXPECT_EQ(commandEnabled(window, id), enabled) << "command " << id;
    };

    CMainFrame& frame = openMainWindow();
    expectStates(&frame, always, true);
    expectStates(&frame, withProject, false);
    expectStates(&frame, notYet, false);

    guitest::writeProject(file("site.prj"));
    wxTEST_DIALOG(frame.openProject(), guitest::ChooseFile(file("site.prj")));
    expectStates(&frame, always, true);
    expectStates(&frame, withProject, true);
    expectStates(&frame, notYet, false);
}

TEST_F(MainFrame, ReportCommandsSayWhenTheReportIsMissing) {
    CMainFrame& frame = openMainWindow();
    guitest::RecordingRunWindows windows;
    frame.shell().setRunWindows(&windows);
    guitest::writeProject(file("site.prj"));
    testsupport::writeBytes(file("site.ERR"), "one error\r\n");
    wxTEST_DIALOG(frame.openProject(), guitest::ChooseFile(file("site.prj")));
    ASSERT_EQ(windows.shown.size(), 1u);
    EXPECT_EQ(windows.shown[0].first, file("site.ERR").string());
    EXPECT_EQ(windows.shown[0].second, ReportKind::error);

    const auto run = [&frame](int id) {
        wxCommandEvent command(wxEVT_MENU, id);
        frame.ProcessWindowEvent(command);
    };
    wxTEST_DIALOG(run(shellid::lsReport),
                  ExpectMessage("Could not display least squares report.", wxOK));
    wxTEST_DIALOG(run(shellid::nezReport), ExpectMessage("Could not display NEZ report.", wxOK));
    run(shellid::errReport);
    EXPECT_EQ(windows.shown.size(), 2u);
    frame.shell().setRunWindows(nullptr);
}

TEST_F(MainFrame, CloseAllStopsAtAWindowThatRefuses) {
    CMainFrame& frame = openMainWindow();
    auto* willing = new wxMDIChildFrame(&frame, wxID_ANY, "willing");
    auto* refusing = new wxMDIChildFrame(&frame, wxID_ANY, "refusing");
    bool refuse = true;
    refusing->Bind(wxEVT_CLOSE_WINDOW, [&refuse](wxCloseEvent& event) {
        if (refuse)
            event.Veto();
        else
            event.Skip();
    });
    auto* last = new wxMDIChildFrame(&frame, wxID_ANY, "last");
    for (wxMDIChildFrame* child : {willing, refusing, last})
        child->Show();
    wxYield();
    ASSERT_EQ(frame.GetActiveChild(), last);
    EXPECT_TRUE(commandEnabled(&frame, shellid::closeAll));

    EXPECT_EQ(frame.closeAllChildren(), 0);
    EXPECT_EQ(frame.GetActiveChild(), refusing);
    EXPECT_EQ(frame.GetClientWindow()->GetChildren().size(), 2u);

    refuse = false;
    EXPECT_EQ(frame.closeAllChildren(), 1);
    EXPECT_EQ(frame.GetActiveChild(), nullptr);
    EXPECT_FALSE(commandEnabled(&frame, shellid::closeAll));
}

TEST_F(MainFrame, GlobalSettingsStoreTheTwoOptions) {
    CMainFrame& frame = openMainWindow();
    ASSERT_EQ(projectVars.showStartUpDialog, 1);
    ASSERT_EQ(projectVars.useVkTool, 1);

    class Change : public wxExpectModalBase<CGlobalSetDlg, Change> {
    public:
        Change(int button, const wxWindow* owner) : button_(button), owner_(owner) {}

    protected:
        int OnInvoked(CGlobalSetDlg* dialog) const override {
            auto* check =
                dynamic_cast<wxCheckBox*>(dialog->FindWindow(shellid::showAtStartUpCheck));
            auto* vk = dynamic_cast<wxRadioButton*>(dialog->FindWindow(shellid::useVkToolsRadio));
            auto* velmora =
                dynamic_cast<wxRadioButton*>(dialog->FindWindow(shellid::useVelmoraToolsRadio));
            EXPECT_TRUE(check && vk && velmora);
            guitest::expectCentredOn(dialog, owner_);
            if (check && vk && velmora) {
                EXPECT_TRUE(check->GetValue());
                EXPECT_TRUE(vk->GetValue());
                EXPECT_EQ(dialog->GetTitle(), "Global Program Settings");
                check->SetValue(false);
                velmora->SetValue(true);
            }
            return button_;
        }

    private:
        int button_;
        const wxWindow* owner_;
    };

    wxCommandEvent command(wxEVT_MENU, shellid::globalSettings);
    wxTEST_DIALOG(frame.ProcessWindowEvent(command), Change(wxID_CANCEL, &frame));
    EXPECT_EQ(projectVars.showStartUpDialog, 1);
    EXPECT_EQ(projectVars.useVkTool, 1);

    wxTEST_DIALOG(frame.ProcessWindowEvent(command), Change(wxID_OK, &frame));
    EXPECT_EQ(projectVars.showStartUpDialog, 0);
    EXPECT_EQ(projectVars.useVkTool, 0);

    destroyMainWindow();
    EXPECT_EQ(profile().getInt(defaultsSection, "ShowStartUPDialog", -1), 0);
    EXPECT_EQ(profile().getInt(defaultsSection, "useVkTool", -1), 0);
}

TEST_F(MainFrame, TheAboutBoxNamesTheProductAndItsBuild) {
    CMainFrame& frame = openMainWindow();
    class Read : public wxExpectModalBase<CAboutDlg, Read> {
    public:
        explicit Read(const wxWindow* owner) : owner_(owner) {}

    protected:
        int OnInvoked(CAboutDlg* dialog) const override {
            EXPECT_EQ(dialog->GetTitle(), "About Tarnwell");
            guitest::expectCentredOn(dialog, owner_);
            auto* product = dynamic_cast<wxStaticText*>(dialog->FindWindow(shellid::productLine));
            auto* build = dynamic_cast<wxStaticText*>(dialog->FindWindow(shellid::buildLine));
            EXPECT_TRUE(product && build);
            if (product && build) {
                EXPECT_EQ(product->GetLabel(), "Tarnwell 6");
                EXPECT_TRUE(product->GetFont().GetWeight() == wxFONTWEIGHT_BOLD);
                EXPECT_EQ(product->GetFont().GetPointSize(), 18);
                EXPECT_TRUE(isBuildLine(build->GetLabel().utf8_string())) << build->GetLabel();
            }
            return wxID_OK;
        }

    private:
        const wxWindow* owner_;
    };
    wxCommandEvent command(wxEVT_MENU, shellid::about);
    wxTEST_DIALOG(frame.ProcessWindowEvent(command), Read(&frame));
}

// Without a help file named in the INI file and none beside the program,
// the message says that no help is installed instead of naming a file the
// user never chose; a named file that is missing is named.
TEST_F(MainFrame, HelpSaysWhichFileItCouldNotFind) {
    CMainFrame& frame = openMainWindow();
    wxCommandEvent command(wxEVT_MENU, shellid::help);
    EXPECT_EQ(frame.helpPath(), platform::withTrailingSeparator(platform::programFolder()) +
                                    "velmora2009.chm::TARNWELL");
    wxTEST_DIALOG(frame.ProcessWindowEvent(command),
                  ExpectMessage("No help file is installed.", wxOK));

    projectVars.helpDir = folder().string() + "/help/";
    projectVars.helpFile = "guide.chm";
    projectVars.helpTopic = "START";
    wxTEST_DIALOG(
        frame.ProcessWindowEvent(command),
        ExpectMessage("Could not find help file: " + folder().string() + "/help/guide.chm::START",
                      wxOK));
}

TEST_F(MainFrame, ScreenshotOfTheMainWindow) {
    storeProfile(mainWindowSection, "CX", "900");
    storeProfile(mainWindowSection, "CY", "560");
    CMainFrame& frame = openMainWindow();
    wxTheApp->ProcessIdle(); // the idle pass updates the tool bar and the lock-key panes
    EXPECT_FALSE(frame.GetToolBar()->GetToolEnabled(shellid::saveProject));
    EXPECT_TRUE(frame.GetToolBar()->GetToolEnabled(shellid::openProject));
    const auto path =
        std::filesystem::path(TARNWELL_BINARY_DIR) / "screenshots" / "main_window.png";
    EXPECT_TRUE(guitest::saveScreenshot(&frame, path));
    wxImage image(path.string(), wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(image.IsOk());
    EXPECT_EQ(image.GetWidth(), 900);
    EXPECT_EQ(image.GetHeight(), 560);
}

} // namespace
