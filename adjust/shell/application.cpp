#include "shell/application.hpp"

#include "geodetic/state_plane_27.hpp"
#include "geodetic/state_plane_83.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/ini_paths.hpp"
#include "shell/first_paint.hpp"
#include "shell/main_frame.hpp"
#include "shell/startup_dialog.hpp"
#include "shell/wx_shell.hpp"

#include <chrono>

#include <wx/statusbr.h>

bool CZezadarApp::OnInit() {
    return initInstance(argc > 1 ? argv[1].utf8_string() : std::string());
}

bool CZezadarApp::initInstance(const std::string& commandLine, const std::string& handOverBlock) {
    SetAppName(programCaption);
    SetVendorName("Velmora Software");
    frame_ = new CMainFrame;
    if (!frame_->GetHandle()) {
        frame_->Destroy();
        frame_ = nullptr;
        return false;
    }
    SetTopWindow(frame_);
    frame_->Show();
    if (frame_->initialShowState() == showMaximized)
        frame_->Maximize();
    frame_->Update();

    readHostHandOver(projectVars, handOverBlock);
    init83ZoneConstants();
    init27ZoneConstants();

    projectVars.startFolder = iniFolder(commandLine);
    iniPaths ini;
    if (ini.read(projectVars.startFolder) == iniPaths::ok)
        applyIniPaths(ini);

    if (projectVars.showStartUpDialog != 0)
        offerStartUpDialog();
    return true;
}

// A window manager puts a dialog in front of its main window only once it
// has taken the main window in, which the main window's first paint shows.
void CZezadarApp::offerStartUpDialog() {
    constexpr std::chrono::seconds patience(2);
    waitUntilDrawn(frame_->GetStatusBar(), patience);
    CDlgStartUp dialog(frame_, projectVars.showStartUpDialog);
    if (dialog.ShowModal() == wxID_OK) {
        if (dialog.createNew == 0)
            frame_->openProjectAtStartUp();
        else if (frame_->createProjectAtStartUp())
            frame_->newProjectSettings();
    }
    projectVars.showStartUpDialog = dialog.showAtStartUp();
}

void applyIniPaths(const iniPaths& ini) {
    if (!ini.tmpDir.empty())
        projectVars.tmpDir = ini.tmpDir;
    if (!ini.exeDir.empty())
        projectVars.exeDir = ini.exeDir;
    if (!ini.helpFile.empty()) {
        projectVars.helpFile = ini.helpFile;
        projectVars.helpDir = ini.helpDir;
        if (!ini.helpTopic.empty())
            projectVars.helpTopic = ini.helpTopic;
    }
}
