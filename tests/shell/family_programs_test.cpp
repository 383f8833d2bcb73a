// The family's programs and the output files: the raw-file list, the choice
// of editor, the marker block, the messages of programs this machine does
// not have, the raw-file choice dialog and the user's editor.

#include "gui_test_support.hpp"
#include "shell/command_ids.hpp"
#include "shell/desktop_windows.hpp"
#include "shell/family_programs.hpp"
#include "shell/raw_file_dialog.hpp"
#include "support/environment_value.hpp"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/listbox.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <optional>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

using guitest::ExpectMessage;
namespace fs = std::filesystem;

TEST(FamilyPrograms, OnlyNamesEndedByALineFeedAreListed) {
    const struct {
        const char* list;
        std::vector<std::string> names;
    } cases[] = {
        {"", {}},
        {"A.RAW", {}}, // a single name without its line feed counts as none
        {"A.RAW\n", {"A.RAW"}},
        {"A.RW5\nB.RAW\nC.RAW", {"A.RW5", "B.RAW"}},
        {"\n", {""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        EXPECT_EQ(listedNames(c.list), c.names);
    }
}

TEST(FamilyPrograms, OneRw5NameInTheListChoosesTheRw5Editor) {
    EXPECT_TRUE(listWantsRw5Editor("A.RW5\nB.RAW\n"));
    EXPECT_TRUE(listWantsRw5Editor("b.raw\na.rw5\n"));
    EXPECT_FALSE(listWantsRw5Editor("A.RAW\nB.RW\n"));
}

TEST(FamilyPrograms, TheFileIsOneQuotedWordOfTheCommandLine) {
    EXPECT_EQ(familyCommandLine("/opt/t/DUDezudi.exe", "my site.raw"),
              "/opt/t/DUDezudi.exe \"my site.raw\"");
    EXPECT_EQ(familyCommandLine("/opt/t/vuvuz.exe", ""), "/opt/t/vuvuz.exe");
    EXPECT_EQ(familyArguments("/opt/t/DUDezudi.exe", "my site.raw"),
              (std::vector<std::string>{"/opt/t/DUDezudi.exe", "my site.raw"}));
}

TEST(FamilyPrograms, TheMarkerBlockHoldsTheMarkerThenZeroes) {
    const std::string name = "/tarnwell-marker-" + std::to_string(::getpid());
    {
        MarkerBlock block;
        ASSERT_TRUE(block.write(name));
        const int fd = ::shm_open(name.c_str(), O_RDONLY, 0);
        ASSERT_GE(fd, 0);
        struct stat status {};
        ASSERT_EQ(::fstat(fd, &status), 0);
        EXPECT_EQ(status.st_size, 4096);
        void* view = ::mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0);
        ::close(fd);
        ASSERT_NE(view, MAP_FAILED);
        const std::string bytes(static_cast<const char*>(view), 4096);
        ::munmap(view, 4096);
        EXPECT_EQ(bytes.substr(0, 13), "VO_ZA_VEZARAD");
        EXPECT_EQ(bytes.substr(13), std::string(4096 - 13, '\0'));
    }
    // Gone with its owner.
    EXPECT_LT(::shm_open(name.c_str(), O_RDONLY, 0), 0);
    EXPECT_EQ(errno, ENOENT);
}

using testsupport::EnvironmentValue;

void press(wxWindow& dialog, int id) {
    wxWindow* button = dialog.FindWindow(id);
    ASSERT_NE(button, nullptr);
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
}

class FamilyCommands : public guitest::ShellTest {
protected:
    FamilyCommands() {
        projectVars.exeDir = folder().string() + "/";
        markerBlock = "/tarnwell-gl-" + std::to_string(::getpid());
    }
    CMainFrame& openWindow() {
        CMainFrame& frame = openMainWindow();
        frame.setMarkerBlockName(markerBlock);
        return frame;
    }
    std::string notFound(const char* pattern, const std::string& commandLine) const {
        std::string text = pattern;
        text.replace(text.find("%s"), 2, commandLine);
        return text;
    }
    std::string program(const char* file) const { return projectVars.exeDir + file; }

    std::string markerBlock;
};

TEST_F(FamilyCommands, ProgramsThisMachineLacksGiveTheirMessages) {
    CMainFrame& frame = openWindow();

    projectVars.pInputFileName = "site.raw\n";
    wxTEST_DIALOG(
        frame.editRawFiles(),
        ExpectMessage(notFound(familyEditor.notFound, program("DUDezudi") + " \"site.raw\""),
                      wxOK));
    EXPECT_EQ(projectVars.editorStarted, 1);

    projectVars.pInputFileName = "site.rw5\n";
    wxTEST_DIALOG(
        frame.editRawFiles(),
        ExpectMessage(notFound(rw5Editor.notFound, program("Fieldpad") + " \"site.rw5\""), wxOK));

    projectVars.useVkTool = 1;
    wxTEST_DIALOG(frame.collectorTransfer(),
                  ExpectMessage(notFound(familyTransfer.notFound, program("vuvuz")), wxOK));
    EXPECT_EQ(projectVars.transferStarted, 1);
    projectVars.useVkTool = 0;
    wxTEST_DIALOG(frame.collectorTransfer(),
                  ExpectMessage(notFound(otherTransfer.notFound, program("Linkwell")), wxOK));
}

// Without a complete name in the list the program option decides, and the
// editor starts without a file.
TEST_F(FamilyCommands, WithoutANameTheOptionChoosesTheEditor) {
    CMainFrame& frame = openWindow();
    projectVars.pInputFileName = "site.rw5";
    projectVars.useVkTool = 1;
    wxTEST_DIALOG(frame.editRawFiles(),
                  ExpectMessage(notFound(familyEditor.notFound, program("DUDezudi")), wxOK));
    projectVars.useVkTool = 0;
    wxTEST_DIALOG(frame.editRawFiles(),
                  ExpectMessage(notFound(rw5Editor.notFound, program("Fieldpad")), wxOK));
}

TEST_F(FamilyCommands, TheChosenFileGoesToTheEditorTheListAsksFor) {
    CMainFrame& frame = openWindow();
    projectVars.pInputFileName = "A.RW5\nb.raw\n";
    guitest::OnDialog<CRawFlLst> chooseSecond([](CRawFlLst& dialog) {
        EXPECT_EQ(dialog.list()->GetCount(), 2u);
        EXPECT_EQ(dialog.list()->GetSelection(), 0);
        dialog.list()->SetSelection(1);
        return dialog.takeSelection() ? wxID_OK : wxID_CANCEL;
    });
    // The name keeps its case: file names here are case sensitive.
    wxTEST_DIALOG(
        frame.editRawFiles(), chooseSecond,
        ExpectMessage(notFound(rw5Editor.notFound, program("Fieldpad") + " \"b.raw\""), wxOK));
    EXPECT_EQ(projectVars.editorStarted, 1);
}

TEST_F(FamilyCommands, CancellingTheChoiceStartsNothing) {
    CMainFrame& frame = openWindow();
    projectVars.pInputFileName = "a.raw\nb.raw\n";
    wxTEST_DIALOG(frame.editRawFiles(),
                  guitest::OnDialog<CRawFlLst>([](CRawFlLst&) { return wxID_CANCEL; }));
    EXPECT_EQ(projectVars.editorStarted, 0);
}

// The dialog on its own, run modally, its messages recorded.
class RawFileDialog : public guitest::ShellTest {
protected:
    RawFileDialog() : previous_(setActiveShell(&shell)) {}
    ~RawFileDialog() override { setActiveShell(previous_); }

    // Shows the dialog for real and lets `act` work it from its modal loop.
    int run(CRawFlLst& dialog, std::function<void(CRawFlLst&)> act) {
        wxTheApp->CallAfter([&dialog, act] { act(dialog); });
        guitest::RealDialogsAllowed real;
        return dialog.ShowModal();
    }

    RecordingShell shell;

private:
    ShellServices* previous_;
};

TEST_F(RawFileDialog, OkTakesTheSelectedName) {
    CRawFlLst dialog(nullptr, "a.raw\nsecond site.raw\nlast.raw");
    EXPECT_EQ(run(dialog,
                  [](CRawFlLst& shown) {
                      // Text after the last line feed is offered too.
                      EXPECT_EQ(shown.list()->GetCount(), 3u);
                      EXPECT_EQ(shown.list()->GetString(2), "last.raw");
                      guitest::waitForFirstPaint(&shown);
                      EXPECT_TRUE(guitest::saveScreenshot(&shown, fs::path(TARNWELL_BINARY_DIR) /
                                                                      "screenshots" /
                                                                      "raw_file_dialog.png"));
                      shown.list()->SetSelection(1);
                      press(shown, wxID_OK);
                  }),
              wxID_OK);
    EXPECT_EQ(dialog.chosenName(), "second site.raw");
}

TEST_F(RawFileDialog, ADoubleClickTakesTheName) {
    CRawFlLst dialog(nullptr, "a.raw\nb.raw\n");
    EXPECT_EQ(run(dialog,
                  [](CRawFlLst& shown) {
                      shown.list()->SetSelection(1);
                      wxCommandEvent click(wxEVT_LISTBOX_DCLICK, shown.list()->GetId());
                      click.SetEventObject(shown.list());
                      click.SetInt(1);
                      shown.list()->ProcessWindowEvent(click);
                  }),
              wxID_OK);
    EXPECT_EQ(dialog.chosenName(), "b.raw");
}

TEST_F(RawFileDialog, OkWithoutASelectionSaysSoAndStaysOpen) {
    CRawFlLst dialog(nullptr, "a.raw\nb.raw\n");
    bool stillOpen = false;
    EXPECT_EQ(run(dialog,
                  [&stillOpen](CRawFlLst& shown) {
                      shown.list()->SetSelection(wxNOT_FOUND);
                      press(shown, wxID_OK);
                      stillOpen = shown.IsModal();
                      press(shown, wxID_CANCEL);
                  }),
              wxID_CANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(shell.boxTexts(), (std::vector<std::string>{"No file chosen"}));
    EXPECT_EQ(dialog.chosenName(), "");
}

// A stand-in editor notes each start and runs until the test lets it end
// through a pipe; a second Edit Raw Files while it runs starts nothing (no
// message either), and once it has ended the command starts it again.
TEST_F(FamilyCommands, AnEditorStillRunningIsNotStartedAgain) {
    const fs::path release = file("release");
    ASSERT_EQ(::mkfifo(release.c_str(), 0600), 0);
    testsupport::writeBytes(file("DUDezudi"), "#!/bin/sh\necho \"$1\" >> '" +
                                                  file("starts").string() + "'\nread go < '" +
                                                  release.string() + "'\n");
    fs::permissions(file("DUDezudi"), fs::perms::owner_all);
    const auto letItEnd = [&release] { std::ofstream(release) << "go\n"; };
    CMainFrame& frame = openWindow();
    projectVars.pInputFileName = "site.raw\n";

    frame.editRawFiles();
    EXPECT_TRUE(frame.familyProgramRunning("DUDezudi"));
    frame.editRawFiles();
    letItEnd();
    guitest::yieldUntil([&] { return !frame.familyProgramRunning("DUDezudi"); });
    EXPECT_FALSE(frame.familyProgramRunning("DUDezudi"));
    EXPECT_EQ(testsupport::readBytes(file("starts")), "site.raw\n");

    frame.editRawFiles();
    EXPECT_TRUE(frame.familyProgramRunning("DUDezudi"));
    letItEnd();
    guitest::yieldUntil([&] { return !frame.familyProgramRunning("DUDezudi"); });
    EXPECT_EQ(testsupport::readBytes(file("starts")), "site.raw\nsite.raw\n");
}

// The output files belong to a project: without one their commands would
// name ".RPT" in the current folder.
TEST_F(FamilyCommands, TheOutputFilesWaitForAProject) {
    CMainFrame& frame = openWindow();
    const int programs[] = {shellid::editRawFiles, shellid::editRawFilesButton,
                            shellid::collectorTransfer, shellid::collectorTransferButton};
    const int outputFiles[] = {shellid::editReportFile, shellid::editErrorFile,
                               shellid::editNezFile, shellid::editFormattedNezFile};
    const auto expectEnabled = [&frame](const auto& ids, bool enabled) {
        for (int id : ids)
            EXPECT_EQ(guitest::commandEnabled(&frame, id), enabled) << "command " << id;
    };
    expectEnabled(programs, true);
    expectEnabled(outputFiles, false);

    guitest::writeProject(file("site.prj"));
    wxTEST_DIALOG(frame.openProject(), guitest::ChooseFile(file("site.prj")));
    expectEnabled(programs, true);
    expectEnabled(outputFiles, true);
}

TEST_F(FamilyCommands, AnOutputFileThatIsNotThereIsNamed) {
    CMainFrame& frame = openWindow();
    projectVars.projectFileName = file("site.prj").string();
    wxTEST_DIALOG(
        frame.editOutputFile(".RPT"),
        ExpectMessage("The error file " + file("site.RPT").string() + " was not found.", wxOK));
}

// The editor writes what it was given into a pipe that this test reads: the
// command returned while the editor still waited for its reader, so it did
// not wait for the editor, and the path with its blanks is one argument.
TEST_F(FamilyCommands, TheUsersEditorGetsThePathAsOneArgumentWithoutWaiting) {
    const fs::path pipe = file("said");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const fs::path editor = file("editor");
    const fs::path pidFile = file("editor.pid");
    testsupport::writeBytes(editor, "#!/bin/sh\necho $$ > '" + pidFile.string() +
                                        "'\nprintf '%s\\n' \"$#\" \"$@\" > '" + pipe.string() +
                                        "'\n");
    fs::permissions(editor, fs::perms::owner_all);
    EnvironmentValue visual("VISUAL", editor.string());

    CMainFrame& frame = openWindow();
    projectVars.projectFileName = file("my site.prj").string();
    testsupport::writeBytes(file("my site.OUT"), "listing\r\n");
    frame.editOutputFile(".OUT");

    std::ifstream said(pipe);
    const std::string text((std::istreambuf_iterator<char>(said)),
                           std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "1\n" + file("my site.OUT").string() + "\n");
    // Once ended, the editor is reaped, not left behind as a zombie.
    long pid = 0;
    std::ifstream(pidFile) >> pid;
    ASSERT_GT(pid, 0);
    const fs::path process = "/proc/" + std::to_string(pid);
    guitest::yieldUntil([&] { return !fs::exists(process); });
    EXPECT_FALSE(fs::exists(process));
}

// A stand-in for a family program that this process did not start (or,
// unmarked, for any other program): its window is up once the object
// exists, and goes with it.
class StandInWindow {
public:
    enum Mark { marked, unmarked };
    explicit StandInWindow(const std::string& title, Mark mark = marked) {
        int input[2];
        int output[2];
        EXPECT_EQ(::pipe2(input, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(output, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        const char* argv[] = {FAMILY_WINDOW_STAND_IN, title.c_str(),
                              mark == marked ? "marked" : "plain", nullptr};
        EXPECT_EQ(
            ::posix_spawn(&pid_, argv[0], &actions, nullptr, const_cast<char**>(argv), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        ::close(output[1]);
        input_ = input[1];
        FILE* said = ::fdopen(output[0], "r");
        unsigned long id = 0;
        EXPECT_EQ(std::fscanf(said, "%lu", &id), 1) << "the stand-in window did not come up";
        std::fclose(said);
        window_ = id;
    }
    ~StandInWindow() {
        ::close(input_);
        ::waitpid(pid_, nullptr, 0);
    }
    StandInWindow(const StandInWindow&) = delete;
    StandInWindow& operator=(const StandInWindow&) = delete;

    Window window() const { return window_; }

private:
    pid_t pid_ = 0;
    int input_ = -1;
    Window window_ = None;
};

// The test's own connection to the X server, looking at the root window as
// a window manager would.
class RootWatch {
public:
    RootWatch() : display_(XOpenDisplay(nullptr)) {}
    ~RootWatch() {
        XDeleteProperty(display_, root(), clientList());
        XCloseDisplay(display_);
    }
    RootWatch(const RootWatch&) = delete;
    RootWatch& operator=(const RootWatch&) = delete;

    Window root() const { return DefaultRootWindow(display_); }
    Atom clientList() const { return XInternAtom(display_, "_NET_CLIENT_LIST", False); }

    // Plays the window manager that lists `window` as the one it manages,
    // and hears the requests sent to such a manager.
    void listClient(Window window) {
        const long windows[] = {static_cast<long>(window)};
        XChangeProperty(display_, root(), clientList(), XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(windows), 1);
        XSelectInput(display_, root(), SubstructureNotifyMask);
        XSync(display_, False);
    }

    // The windows that a request to activate them named, since the last call.
    std::vector<Window> activationRequests() {
        XSync(display_, False);
        const Atom active = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
        std::vector<Window> windows;
        while (XPending(display_) > 0) {
            XEvent event{};
            XNextEvent(display_, &event);
            if (event.type == ClientMessage && event.xclient.message_type == active)
                windows.push_back(event.xclient.window);
        }
        return windows;
    }

    // A window manager runs on the display (it names its check window).
    bool managed() const {
        return windowProperty(XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False)) != None;
    }
    // The window the window manager says is active.
    Window activeWindow() const {
        return windowProperty(XInternAtom(display_, "_NET_ACTIVE_WINDOW", False));
    }

    // The window on screen above all others.
    Window topmost() {
        XSync(display_, False);
        Window rootReturn = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        Window top = None;
        XQueryTree(display_, root(), &rootReturn, &parent, &children, &count);
        for (unsigned int i = 0; i < count; ++i) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(display_, children[i], &attributes) != 0 &&
                attributes.map_state == IsViewable)
                top = children[i];
        }
        if (children != nullptr)
            XFree(children);
        return top;
    }

private:
    Window windowProperty(Atom name) const {
        XSync(display_, False);
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        Window value = None;
        if (XGetWindowProperty(display_, root(), name, 0, 1, False, XA_WINDOW, &type, &format,
                               &count, &after, &data) == Success &&
            data != nullptr && count == 1 && format == 32)
            value = *reinterpret_cast<Window*>(data);
        if (data != nullptr)
            XFree(data);
        return value;
    }

    Display* display_;
};

// An editor window already open, started some other way, is brought to the
// front and no second editor is started (there is none to start here: that
// would have given its message): through the window manager's list of
// windows, and among the root window's children where no manager keeps one.
TEST_F(FamilyCommands, AnOpenEditorWindowIsBroughtToTheFront) {
    if (RootWatch().managed()) {
        // A real window manager frames the windows and keeps its own list:
        // it is asked to activate the editor, and does.
        StandInWindow editor("Tarnwell Editor - site.raw");
        RootWatch watch;
        CMainFrame& frame = openWindow();
        projectVars.pInputFileName = "site.raw\n";
        frame.editRawFiles();
        EXPECT_FALSE(frame.familyProgramRunning(familyEditor.file));
        guitest::yieldUntil([&] { return watch.activeWindow() == editor.window(); });
        EXPECT_EQ(watch.activeWindow(), editor.window());
        destroyMainWindow();
        return;
    }
    for (const bool windowManager : {true, false}) {
        SCOPED_TRACE(windowManager ? "with a window manager's list" : "without one");
        StandInWindow editor("Tarnwell Editor - site.raw");
        RootWatch watch;
        if (windowManager)
            watch.listClient(editor.window());
        CMainFrame& frame = openWindow();
        ASSERT_NE(watch.topmost(), editor.window());
        projectVars.pInputFileName = "site.raw\n";

        frame.editRawFiles();
        EXPECT_FALSE(frame.familyProgramRunning(familyEditor.file));
        EXPECT_EQ(watch.topmost(), editor.window());
        if (windowManager) {
            EXPECT_EQ(watch.activationRequests(), std::vector<Window>{editor.window()});
        }
        destroyMainWindow();
    }
}

// Only a window with the family's mark is taken for a family program: with
// an unrelated window whose title holds "Linkwell" open, Linkwell is started
// (here: its message, as this machine lacks it) and that window is left
// alone. A marked Linkwell window is raised instead; the .RW5 editor, which
// sets no mark, is still found by its title.
TEST_F(FamilyCommands, OnlyAMarkedWindowIsTakenForAFamilyProgram) {
    struct Case {
        const char* title;
        StandInWindow::Mark mark;
        bool rw5Editor; // Edit Raw Files on a .RW5 list, else Data Collector Transfer
        bool raised;
    };
    const Case cases[] = {
        {"Shopping list - Linkwell cable order.txt", StandInWindow::unmarked, false, false},
        {"Linkwell", StandInWindow::marked, false, true},
        {"Velmora Raw Editor - job.rw5", StandInWindow::unmarked, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        StandInWindow other(c.title, c.mark);
        RootWatch watch;
        const bool managed = watch.managed();
        if (!managed)
            watch.listClient(other.window());
        CMainFrame& frame = openWindow();
        projectVars.useVkTool = 0;
        projectVars.pInputFileName = "job.rw5\n";
        const auto run = [&] {
            if (c.rw5Editor)
                frame.editRawFiles();
            else
                frame.collectorTransfer();
        };
        if (c.raised) {
            run();
            if (managed) {
                guitest::yieldUntil([&] { return watch.activeWindow() == other.window(); });
                EXPECT_EQ(watch.activeWindow(), other.window());
            } else {
                EXPECT_EQ(watch.activationRequests(), std::vector<Window>{other.window()});
            }
        } else {
            wxTEST_DIALOG(
                run(), ExpectMessage(notFound(otherTransfer.notFound, program("Linkwell")), wxOK));
            if (!managed) {
                EXPECT_TRUE(watch.activationRequests().empty());
            }
        }
        destroyMainWindow();
    }
}

// The main window carries the family's mark, so that the family's programs
// know it for one of theirs.
TEST_F(FamilyCommands, TheMainWindowCarriesTheFamilyMark) {
    openWindow();
    wxYield();
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const Atom mark = XInternAtom(display, "_TARNWELL_FAMILY_WINDOW", False);
    const Atom pid = XInternAtom(display, "_NET_WM_PID", False);
    // The window of this process that carries the mark, anywhere in the tree
    // (a window manager puts its frame round the program's window).
    const auto value = [display](Window window, Atom name) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        long found = 0;
        if (XGetWindowProperty(display, window, name, 0, 1, False, XA_CARDINAL, &type, &format,
                               &count, &after, &data) == Success &&
            data != nullptr && count == 1 && format == 32)
            found = *reinterpret_cast<long*>(data);
        if (data != nullptr)
            XFree(data);
        return found;
    };
    std::function<int(Window)> markedOfOurs = [&](Window window) {
        int marked = value(window, mark) == 1 && value(window, pid) == ::getpid();
        Window root = None, parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
            for (unsigned int i = 0; i < count; ++i)
                marked += markedOfOurs(children[i]);
            if (children != nullptr)
                XFree(children);
        }
        return marked;
    };
    EXPECT_EQ(markedOfOurs(DefaultRootWindow(display)), 1);
    XCloseDisplay(display);
}

TEST_F(FamilyCommands, OnWaylandTheProgramIsStartedAndTheUserToldOnce) {
    CMainFrame& frame = openWindow();
    frame.setDesktopWindows(waylandDesktopWindows());
    projectVars.pInputFileName = "site.raw\n";
    const std::string missing =
        notFound(familyEditor.notFound, program("DUDezudi") + " \"site.raw\"");
    wxTEST_DIALOG(frame.editRawFiles(), ExpectMessage(windowsNotSearchable, wxOK),
                  ExpectMessage(missing, wxOK));
    wxTEST_DIALOG(frame.editRawFiles(), ExpectMessage(missing, wxOK));
}

// A family program that refuses to end keeps the main window open, and the
// user is told which; once it has ended the window closes. One that ends
// when asked lets the window close at once.
TEST_F(FamilyCommands, ClosingAsksTheStartedProgramsToEnd) {
    const fs::path release = file("release");
    ASSERT_EQ(::mkfifo(release.c_str(), 0600), 0);
    const char* programs[] = {"DUDezudi", "vuvuz"};
    // Each says through a pipe of its own when it ignores the request to end.
    for (const char* program : programs) {
        const fs::path ready = file(std::string(program) + ".ready");
        ASSERT_EQ(::mkfifo(ready.c_str(), 0600), 0);
        testsupport::writeBytes(file(program), "#!/bin/sh\ntrap '' TERM\necho ready > '" +
                                                   ready.string() + "'\nread go < '" +
                                                   release.string() + "'\n");
        fs::permissions(file(program), fs::perms::owner_all);
    }
    CMainFrame& frame = openWindow();
    projectVars.pInputFileName = "site.raw\n";
    projectVars.useVkTool = 1;
    frame.editRawFiles();
    frame.collectorTransfer();
    for (const char* program : programs) {
        ASSERT_TRUE(frame.familyProgramRunning(program)) << program;
        std::string said;
        std::ifstream(file(std::string(program) + ".ready")) >> said;
        ASSERT_EQ(said, "ready") << program;
    }

    wxTEST_DIALOG(frame.Close(),
                  ExpectMessage("Tarnwell cannot close while these programs that it started run:\n"
                                "DUDezudi\nvuvuz\n"
                                "They did not end when asked to. Close them, then close Tarnwell "
                                "again.",
                                wxOK));
    EXPECT_FALSE(wxTheApp->IsScheduledForDestruction(&frame));
    EXPECT_TRUE(frame.IsShown());

    std::ofstream(release) << "go\ngo\n";
    guitest::yieldUntil([&] {
        return !frame.familyProgramRunning("DUDezudi") && !frame.familyProgramRunning("vuvuz");
    });
    // Started again, now willing to end: the window closes without a word.
    testsupport::writeBytes(file("DUDezudi"), "#!/bin/sh\nread go < '" + release.string() + "'\n");
    frame.editRawFiles();
    ASSERT_TRUE(frame.familyProgramRunning("DUDezudi"));
    EXPECT_TRUE(frame.Close());
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(&frame));
    mainWindowClosed();
}

// The message names what is missing: the editor a variable named, or no
// editor at all, and what to set; never a file that seems to be missing.
TEST_F(FamilyCommands, AMissingEditorIsNamedWithTheVariableToSet) {
    CMainFrame& frame = openWindow();
    projectVars.projectFileName = file("site.prj").string();
    testsupport::writeBytes(file("site.RPT"), "report\r\n");
    const struct {
        std::optional<std::string> visual;
        std::optional<std::string> editor;
        std::string message;
    } cases[] = {
        {"no-such-editor-here --wait", std::nullopt,
         "The editor no-such-editor-here named by VISUAL was not found. Set VISUAL to an editor "
         "program that is installed."},
        {std::nullopt, "no-such-editor-here",
         "The editor no-such-editor-here named by EDITOR was "
         "not found. Set EDITOR to an editor program that is "
         "installed."},
        {std::nullopt, std::nullopt,
         "No editor program was found to open the file. Set VISUAL or EDITOR to your text "
         "editor."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EnvironmentValue visual("VISUAL", c.visual);
        EnvironmentValue editor("EDITOR", c.editor);
        // Neither variable set: the desktop's opener is what is missing.
        const char* searched = std::getenv("PATH");
        EnvironmentValue path("PATH", c.visual || c.editor ? std::string(searched ? searched : "")
                                                           : std::string("/nonexistent"));
        wxTEST_DIALOG(frame.editOutputFile(".RPT"), ExpectMessage(c.message, wxOK));
    }
}

// The family's programs are named as this system names programs, and the
// message says which is not installed, with no one to call.
TEST(FamilyPrograms, MessagesNameTheProgramThatIsNotInstalled) {
    for (const FamilyProgram* program :
         {&familyEditor, &rw5Editor, &familyTransfer, &otherTransfer}) {
        const std::string file = program->file;
        const std::string text = program->notFound;
        SCOPED_TRACE(file);
        EXPECT_EQ(file.find(".exe"), std::string::npos);
        EXPECT_NE(text.find(file + " is not installed."), std::string::npos);
        EXPECT_EQ(text.find("support"), std::string::npos);
    }
}

TEST(FamilyPrograms, TheUsersEditorComesFromTheEnvironment) {
    const struct {
        std::optional<std::string> visual;
        std::optional<std::string> editor;
        std::vector<std::string> command;
    } cases[] = {
        {"gedit  --new-window", "vi", {"gedit", "--new-window"}},
        {std::nullopt, "vi", {"vi"}},
        {"", "vi", {"vi"}},
        {std::nullopt, std::nullopt, {"xdg-open"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command.front());
        EnvironmentValue visual("VISUAL", c.visual);
        EnvironmentValue editor("EDITOR", c.editor);
        EXPECT_EQ(editorCommand(), c.command);
    }
}

} // namespace
