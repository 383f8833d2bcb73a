// The main window's commands: which handler each id reaches, when each is
// enabled, and the commands that only open a dialog.

#include "model/settings/global_vars.hpp"
#include "platform/paths.hpp"
#include "platform/program_folder.hpp"
#include "reports/report_windows.hpp"
#include "run/processing_driver.hpp"
#include "shell/about_dialog.hpp"
#include "shell/command_ids.hpp"
#include "shell/global_settings_dialog.hpp"
#include "shell/main_frame.hpp"
#include "shell/main_menu.hpp"

#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>

namespace {

constexpr const char* defaultHelpFile = "velmora2009.chm";
constexpr const char* defaultHelpTopic = "TARNWELL";

} // namespace

void CMainFrame::bindCommands() {
    const auto on = [this](std::initializer_list<int> ids, std::function<void()> action) {
        for (int id : ids)
            Bind(
                wxEVT_MENU, [action](wxCommandEvent&) { action(); }, id);
    };
    Bind(
        wxEVT_MENU, [this](wxCommandEvent& event) { takePickedPoint(event.GetString()); },
        shellid::graphicsPointPicked);
    on({shellid::newProject}, [this] { this->newProject(); });
    on({shellid::openProject}, [this] { this->openProject(); });
    on({shellid::closeProject}, [this] { this->closeProject(); });
    on({shellid::saveProject}, [this] { saveProjectCommand(); });
    on({shellid::saveProjectAs}, [this] { this->saveProjectAs(); });
    on({shellid::recentProject, shellid::recentProjectFile}, [this] { openRecentProject(); });
    on({shellid::recentProject2}, [this] { openRecentProject(1); });
    on({shellid::recentProject3}, [this] { openRecentProject(2); });
    on({shellid::recentProject4}, [this] { openRecentProject(3); });
    on({shellid::saveAsDefault}, [this] { this->saveAsDefault(); });
    on({shellid::print, shellid::printButton, shellid::printFile}, [this] { printReports(); });
    on({shellid::exitProgram}, [this] { Close(); });
    on({shellid::globalSettings}, [this] { showGlobalSettings(); });
    on({shellid::projectSettings}, [this] { editProjectSettings(); });
    on({shellid::stdErrSettingsButton}, [this] { editStdErrSettings(); });
    on({shellid::newStdErrFile}, [this] { editStdErrFile(true); });
    on({shellid::editStdErrFile}, [this] { editStdErrFile(false); });
    on({shellid::createUdp}, [this] { createUserDefinedSystem(); });
    on({shellid::viewToolbar}, [this] {
        GetToolBar()->Show(!GetToolBar()->IsShown());
        SendSizeEvent();
    });
    on({shellid::viewStatusBar}, [this] {
        GetStatusBar()->Show(!GetStatusBar()->IsShown());
        SendSizeEvent();
    });
    on({shellid::closeAll}, [this] { closeAllChildren(); });
    on({shellid::lsReport}, [this] {
        if (showRptReport() != 0)
            shell_.message("Could not display least squares report.", MessageKind::ok);
    });
    on({shellid::errReport}, [this] {
        if (showErrReport() != 0)
            shell_.message("Could not display error report.", MessageKind::ok);
    });
    on({shellid::nezReport}, [this] {
        if (showOutReport() != 0)
            shell_.message("Could not display NEZ report.", MessageKind::ok);
    });
    on({shellid::networkAdjustment, shellid::networkAdjustmentButton}, [this] { runAdjustment(); });
    on({shellid::preprocess}, [this] { runPreprocess(); });
    on({shellid::editRawFiles, shellid::editRawFilesButton}, [this] { this->editRawFiles(); });
    on({shellid::collectorTransfer, shellid::collectorTransferButton},
       [this] { this->collectorTransfer(); });
    on({shellid::editReportFile}, [this] { editOutputFile(".RPT"); });
    on({shellid::editErrorFile}, [this] { editOutputFile(".ERR"); });
    on({shellid::editNezFile}, [this] { editOutputFile(".NEZ"); });
    on({shellid::editFormattedNezFile}, [this] { editOutputFile(".OUT"); });
    on({shellid::graphics, shellid::graphicsButton}, [this] { showGraphics(); });
    on({shellid::blunderDetection}, [this] { showBlunderDetection(); });
    on({shellid::relErrEllipse, shellid::relErrEllipseButton},
       [this] { showRelativeErrorEllipse(); });
    on({shellid::openAltaFile}, [this] { editAltaFile(false); });
    on({shellid::newAltaFile}, [this] { editAltaFile(true); });
    on({shellid::inverse, shellid::inverseButton}, [this] { showInverse(); });
    on({shellid::convertGpsFiles}, [this] { this->convertGpsFiles(); });
    on({shellid::convertLevelFiles}, [this] { this->convertLevelFiles(); });
    on({shellid::edmCalibration}, [this] { showEdmCalibration(); });
    on({shellid::openClosureFile}, [this] { editClosureFile(false); });
    on({shellid::newClosureFile}, [this] { editClosureFile(true); });
    on({shellid::help}, [this] { showHelp(); });
    on({shellid::about}, [this] { showAbout(); });
}

// Each command is enabled by its own rule, and none while a run is under
// way. Every command gets an explicit state, so that a command disabled for a
// run is enabled again when the run ends; the bars and windows themselves are
// left to the run's window disabler.
void CMainFrame::bindCommandStates() {
    std::map<int, std::function<bool()>> rules;
    const auto when = [&rules](std::initializer_list<int> ids, std::function<bool()> enabled) {
        for (int id : ids)
            rules[id] = enabled;
    };
    when({shellid::closeProject}, [this] { return state_.canClose; });
    when({shellid::saveProject}, [this] { return state_.canSave; });
    when({shellid::recentProject, shellid::recentProjectFile}, [this] { return state_.hasRecent; });
    when({shellid::closeAll, shellid::print, shellid::printButton, shellid::printFile},
         [this] { return GetActiveChild() != nullptr; });
    when({shellid::networkAdjustment, shellid::networkAdjustmentButton, shellid::preprocess},
         [this] { return state_.projectOpen; });
    // The report windows come with the processing windows.
    when({shellid::lsReport}, [this] { return state_.lsReportEnabled && shell_.hasRunWindows(); });
    when({shellid::errReport},
         [this] { return state_.errReportEnabled && shell_.hasRunWindows(); });
    when({shellid::nezReport},
         [this] { return state_.nezReportEnabled && shell_.hasRunWindows(); });
    when({shellid::graphics, shellid::graphicsButton}, [this] { return state_.graphicsEnabled; });
    // Without a project there is no output file to name.
    when({shellid::editReportFile}, [this] { return state_.lsReportEnabled; });
    when({shellid::editErrorFile}, [this] { return state_.errReportEnabled; });
    when({shellid::editNezFile, shellid::editFormattedNezFile},
         [this] { return state_.nezReportEnabled; });
    when({shellid::blunderDetection}, [this] { return state_.projectOpen; });
    when({shellid::relErrEllipse, shellid::relErrEllipseButton},
         [this] { return state_.lastRunResult != 0; });
    when({shellid::inverse, shellid::inverseButton}, [this] { return state_.lastRunResult != 0; });
    // GTK shows MDI children as tabs, which cannot be cascaded or tiled.
    when({shellid::windowCascade, shellid::windowTile}, [] { return false; });

    for (int id : commandIdsOf(GetMenuBar(), GetToolBar()))
        rules.try_emplace(id, [] { return true; });
    for (const auto& [id, enabled] : rules)
        Bind(
            wxEVT_UPDATE_UI,
            [this, enabled = enabled](wxUpdateUIEvent& event) {
                event.Enable(!runWindows_.running() && enabled());
            },
            id);

    // Bound last, these run first; they pass the event on to the state handler.
    Bind(
        wxEVT_UPDATE_UI,
        [this](wxUpdateUIEvent& event) {
            event.Check(GetToolBar()->IsShown());
            event.Skip();
        },
        shellid::viewToolbar);
    Bind(
        wxEVT_UPDATE_UI,
        [this](wxUpdateUIEvent& event) {
            event.Check(GetStatusBar()->IsShown());
            event.Skip();
        },
        shellid::viewStatusBar);
}

void CMainFrame::showGlobalSettings() {
    CGlobalSetDlg dialog(this, projectVars.showStartUpDialog, projectVars.useVkTool);
    if (dialog.ShowModal() != wxID_OK)
        return;
    projectVars.useVkTool = dialog.useVkTool();
    projectVars.showStartUpDialog = dialog.showStartUp();
    Refresh();
}

void CMainFrame::showAbout() {
    CAboutDlg dialog(this);
    dialog.ShowModal();
}

std::string CMainFrame::helpPath() const {
    if (!projectVars.helpFile.empty() && !projectVars.helpDir.empty()) {
        std::string path = projectVars.helpDir + projectVars.helpFile;
        if (!projectVars.helpTopic.empty())
            path += "::" + projectVars.helpTopic;
        return path;
    }
    return platform::withTrailingSeparator(platform::programFolder()) + defaultHelpFile +
           "::" + defaultHelpTopic;
}

// The desktop's viewer opens the help file; it has no way to be told the topic.
// Without a help file named in the program's INI file and without the
// built-in one beside the program, no help is installed, and the message
// says so rather than naming a file the user never chose.
void CMainFrame::showHelp() {
    const std::string path = helpPath();
    const std::string file = path.substr(0, path.find("::"));
    const bool named = !projectVars.helpFile.empty() && !projectVars.helpDir.empty();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        shell_.message(named ? "Could not find help file: " + path
                             : std::string("No help file is installed."),
                       MessageKind::ok);
        return;
    }
    if (!wxLaunchDefaultApplication(wxString::FromUTF8(file)))
        shell_.message("No program to show the help file " + file + " was found.", MessageKind::ok);
}
