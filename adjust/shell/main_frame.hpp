#pragma once
// The program's main window: an MDI frame with the menu, the tool bar and a
// status bar, holding the state of the open project and routing every
// command. It remembers its placement and the program options in the user
// profile, and is the shell (message boxes, questions) of everything that
// runs while it exists.

#include "run/processing_driver.hpp"
#include "shell/blunder_dialog.hpp"
#include "shell/desktop_windows.hpp"
#include "shell/family_programs.hpp"
#include "shell/graphics_library.hpp"
#include "shell/processing_windows.hpp"
#include "shell/program_options.hpp"
#include "shell/wx_shell.hpp"

#include <memory>
#include <optional>
#include <string>
#include <wx/dialog.h>
#include <wx/mdi.h>
#include <wx/weakref.h>

class globalVars;
class wxCloseEvent;
class wxCommandEvent;

// What the commands know of the open project. The enable flags are all set
// once a project is open or created and all cleared when it is closed.
struct ProjectState {
    std::string projectName; // the open project's file title; empty when none
    std::string projectFile; // its full path
    bool modified = false;   // the settings changed since they were opened or saved
    bool canSave = false;
    bool canClose = false;
    bool projectOpen = false;
    bool lsReportEnabled = false;
    bool graphicsEnabled = false;
    bool errReportEnabled = false;
    bool nezReportEnabled = false;
    bool hasRecent = false; // the profile named a recent project, or one was opened since
    int lastRunResult = 0;  // nonzero after a processing run that completed
    RunResult lastRun;      // what the last processing run came to
};

class CMainFrame : public wxMDIParentFrame {
public:
    // Builds the window at the saved placement with its bars, reads the
    // project defaults and the program options, and installs itself as the
    // active shell.
    CMainFrame();
    // Writes the placement and the program options to the profile.
    ~CMainFrame() override;

    // How the saved placement asks the window to be shown (showNormal or
    // showMaximized); the application shows it so.
    int initialShowState() const { return initialShow_; }

    // The first showing lays the window out at its own size.
    bool Show(bool show = true) override;

    WxShell& shell() { return shell_; }
    const ProjectState& state() const { return state_; }
    // The project the program had open when it last ended, from the profile.
    // The newest recent project ("" when there is none), and all of them,
    // newest first (at most four).
    const std::string& mruProject() const;
    const std::vector<std::string>& recentProjects() const { return recentProjects_; }

    // Caption "Tarnwell", or "Tarnwell - Project: " and the project's name.
    void updateTitle();
    // "Ready" in the status bar's message pane.
    void showReady();
    wxStatusBar* OnCreateStatusBar(int number, long style, wxWindowID id,
                                   const wxString& name) override;
    // Closes the MDI children one by one, the active one first: 1 when all
    // closed, 0 as soon as one refused (the rest stay open).
    int closeAllChildren();

    // Project commands.
    void newProject();
    void openProject();
    void closeProject();
    void saveProjectCommand();
    void saveProjectAs();
    // Opens the recent project `index` (0 the newest).
    void openRecentProject(std::size_t index = 0);
    void saveAsDefault();
    // The start-up dialog's choices: open, or create (true when the new
    // project's file was written).
    void openProjectAtStartUp();
    bool createProjectAtStartUp();

    // Reads a text project file, or an older project archive, into
    // `projectVars`: nonzero on success; a file that cannot be read or is not
    // a project gets "Unable to open %s".
    int loadProject(const std::string& path);
    // Writes `projectVars` to `path`: nonzero when written.
    int saveProject(const std::string& path);

    // Processing commands: one run at a time, with the progress dialog up
    // and every other window disabled; a second command only brings the
    // progress dialog forward.
    void runAdjustment();
    void runPreprocess();
    ProcessingWindows& runWindows() { return runWindows_; }

    // Quality commands: blunder detection (its modeless dialog and a run of
    // the method it applies), the relative error ellipse dialog, and the
    // ALTA points file (open or new) in its dialog.
    void showBlunderDetection();
    void runBlunderMethod(const BlunderChoice& choice);
    void showRelativeErrorEllipse();
    void editAltaFile(bool newFile);
    // The open modeless tool dialog of that dialog id, or null.
    wxWindow* openToolDialog(int dialogId) const;

    // Settings commands: the project settings sheet (from its first page or
    // from the Standard Errors page), the sheet that follows a new project,
    // the standard-error files and a user-defined coordinate system.
    void editProjectSettings();
    void editStdErrSettings();
    void newProjectSettings();
    void editStdErrFile(bool newFile);
    void createUserDefinedSystem();
    // The sheet's values into `projectVars`; the project is modified when one differed.
    void applySettingsSheet(const globalVars& sheetValues);

    // Tools: the modeless inverse (one at a time, after a run that produced
    // points), the converter dialogs, the EDM calibration and the closure
    // definition editor on an existing or a new closure file.
    void showInverse();
    wxDialog* inverseDialog() const { return inverseDlg_.get(); }
    void convertGpsFiles();
    void convertLevelFiles();
    void showEdmCalibration();
    void editClosureFile(bool newFile);

    // File/Print: the report windows chosen in "Print Reports", each as it
    // shows its lines, on the default printer.
    void printReports();

    void showGlobalSettings();
    void showAbout();
    // The help file (and topic) that the Help command opens.
    std::string helpPath() const;
    void showHelp();

    // The family's programs and the output files. `programPath`: the program
    // file in `exeDir`, else in the program's folder. `pickRawFile`: 1 when
    // the user cancelled the choice, else 0 with the chosen name (possibly
    // empty) in `chosen`.
    std::string programPath(const std::string& programFile) const;
    int pickRawFile(const std::string& names, std::string& chosen);
    void editRawFiles();
    void collectorTransfer();
    void editOutputFile(const std::string& extension);
    // The project's network in the graphics window (opened, or refreshed
    // when open); after a run the open window is refreshed.
    void showGraphics();
    void refreshOpenGraphics();
    // A point picked in the graphics window, into the open Inverse and
    // Relative Error Ellipses dialogs.
    void takePickedPoint(const wxString& name);
    std::uint16_t graphicsWindowId() const { return graphicsWindowId_; }
    // Whether the family's program `programFile` was started from here and still runs.
    bool familyProgramRunning(const std::string& programFile) const {
        return familyProcesses_.running(programFile);
    }
    // The name under which the family's programs find the marker block.
    void setMarkerBlockName(std::string name) { markerBlockName_ = std::move(name); }
    // Where the family's windows are looked for: the toolkit's desktop unless set.
    void setDesktopWindows(std::unique_ptr<DesktopWindows> windows) {
        desktopWindows_ = std::move(windows);
    }

protected:
    // While a run is under way no command reaches its handler.
    bool TryBefore(wxEvent& event) override;

private:
    void createBars();
    void bindCommands();
    void bindCommandStates();
    void updateKeyIndicators();
    void rememberNormalRect();
    void onClose(wxCloseEvent& event);

    // Steps the project commands share.
    std::string changedProjectQuestion() const;
    bool askToSave(const std::string& question);
    void resetProject();
    void clearFlags();
    void setFlags(bool open);
    void adoptProject(const std::string& path);
    void showProjectReports();
    void startFromDefaults();
    void rememberProjectFolder(const std::string& projectFile);
    void rememberRecentProject(const std::string& projectFile);
    void showRecentProjects();
    std::optional<std::string> chooseProjectToOpen();
    bool replaceProject(const std::string& path);
    std::optional<std::string> chooseNewProjectFile();
    void reportWriteFailure(const std::string& path);
    template <class Run> void runProcessing(Run run);
    int runSettingsSheet(int firstPage);
    void startFamilyProgram(const FamilyProgram& program, const std::string& file, bool withBlock);
    bool showFamilyWindow(const FamilyProgram& program);
    bool endFamilyPrograms();

    WxShell shell_;
    ProcessingWindows runWindows_;
    ShellServices* previousShell_;
    ProjectState state_;
    std::vector<std::string> recentProjects_;
    std::string lastProjectFolder_; // where the open dialog starts
    wxRect normalRect_;
    int initialShow_ = showNormal;
    std::string markerBlockName_ = "/GL_Settings";
    MarkerBlock markerBlock_;
    FamilyProcesses familyProcesses_;
    std::unique_ptr<DesktopWindows> desktopWindows_ = toolkitDesktopWindows();
    bool toldWindowsNotSearchable_ = false;
    GraphicsLibrary graphics_{"libvistra.so"};
    wxWeakRef<wxDialog> inverseDlg_; // null again once the window is destroyed
    std::uint16_t graphicsWindowId_ = GraphicsLibrary::noWindow;
};
