// The processing commands of the main window: Network Adjustment and
// Preprocess run the engine on the open project with the progress dialog up.

#include "engine/processing_driver.hpp"
#include "geodetic/geoid_grid.hpp"
#include "model/settings/global_vars.hpp"
#include "shell/command_ids.hpp"
#include "shell/main_frame.hpp"
#include "shell/progress_dialog.hpp"

namespace {

std::string missingGridText(const std::string& folder) {
    return "The appropriate grid files were not found. Do one of the following:\n"
           "  1. Download the grid files from the Velmora/V&K website and install them in the\n"
           "       " +
           folder +
           " directory,\n"
           "  2. Or use the \"Use the Project Geoid Separation\" option in the Project Settings "
           "dialog box.";
}

bool usesGeoidGrid() {
    return projectVars.geoidModel != 0 && projectVars.gridSystem != 0;
}

bool isProcessingCommand(int id) {
    return id == shellid::networkAdjustment || id == shellid::networkAdjustmentButton ||
           id == shellid::preprocess;
}

} // namespace

template <class Run> void CMainFrame::runProcessing(Run run) {
    if (runWindows_.running()) {
        runWindows_.progress()->SetFocus();
        return;
    }
    runWindows_.startRun();
    const bool gridOpened = usesGeoidGrid();
    if (gridOpened) {
        const std::string folder = projectVars.getGeoidFolder();
        if (openGeoidGrid(folder.c_str(), projectVars.geoidModelType + 1) != geoidModelFound) {
            runWindows_.endRun();
            shell_.message(missingGridText(folder), MessageKind::ok);
            return;
        }
    }
    state_.lastRunResult = run();
    if (gridOpened)
        closeGeoidGrid();
    runWindows_.endRun();
    updateTitle();
}

void CMainFrame::runAdjustment() {
    runProcessing([] { return adjustNetwork(adjustmentRun, 0); });
}

void CMainFrame::runPreprocess() {
    runProcessing([] { return preprocessNetwork(); });
}

// The run lets every waiting event through; commands that arrive then would
// change the project and the lists the engine is working on. They are
// dropped, and a second processing command brings the progress dialog
// forward. (The commands' own states say they are disabled meanwhile.)
bool CMainFrame::TryBefore(wxEvent& event) {
    if (runWindows_.running() && event.GetEventType() == wxEVT_MENU) {
        if (isProcessingCommand(event.GetId()))
            runWindows_.progress()->SetFocus();
        return true;
    }
    return wxMDIParentFrame::TryBefore(event);
}
