// The processing commands of the main window: Network Adjustment and
// Preprocess run the engine on the open project with the progress dialog up.

#include "engine/adjustment_results.hpp"
#include "model/settings/global_vars.hpp"
#include "run/processing_driver.hpp"
#include "shell/command_ids.hpp"
#include "shell/main_frame.hpp"
#include "shell/progress_dialog.hpp"

namespace {

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
    // The lists of the run replace those of the last one; results of an
    // earlier adjustment kept beside them would name points they lack.
    releaseAdjustmentResults();
    const RunContext context(shell_, projectVars.tmpDir, projectVars.getGeoidFolder());
    state_.lastRun = run(context);
    state_.lastRunResult = state_.lastRun.reachedEnd ? 1 : 0;
    runWindows_.endRun();
    updateTitle();
    // The graphics library brings its refreshed window to the front; the
    // report the run brought forward is what the user is to read first.
    refreshOpenGraphics();
    runWindows_.bringRunReportForward();
    showReady();
}

void CMainFrame::runAdjustment() {
    runProcessing(
        [](const RunContext& context) { return adjustNetwork(context, adjustmentRun, 0); });
}

void CMainFrame::runPreprocess() {
    runProcessing([](const RunContext& context) { return preprocessNetwork(context); });
}

// A blunder pass adjusts with weights that are not the project's: what it
// leaves is no adjustment of the project, so the relative error ellipses ask
// for a Network Adjustment first.
void CMainFrame::runBlunderMethod(const BlunderChoice& choice) {
    runProcessing([&choice](const RunContext& context) {
        RunResult result;
        switch (choice.method) {
        case blnrDlg::floatMethod:
            result = adjustNetwork(context, floatBlunderRun,
                                   choice.floatShoType == 1 ? choice.floatShoTtl : 1);
            break;
        case blnrDlg::reweightMethod:
            result = adjustNetwork(context, reweightBlunderRun, choice.iterations);
            break;
        default:
            result = checkNetworkForBlunders(context, choice.proximity);
            break;
        }
        releaseAdjustmentResults();
        return result;
    });
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
