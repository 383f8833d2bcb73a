// The family's programs and the output files: the raw-file list, the choice
// of editor, the marker block, the messages of programs this machine does
// not have, the raw-file choice dialog and the user's editor.

#include "gui_test_support.hpp"
#include "shell/command_ids.hpp"
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
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(FamilyCommands, TheCommandsAreEnabled) {
    CMainFrame& frame = openWindow();
    for (int id : {shellid::editRawFiles, shellid::editRawFilesButton, shellid::collectorTransfer,
                   shellid::collectorTransferButton, shellid::editReportFile,
                   shellid::editErrorFile, shellid::editNezFile, shellid::editFormattedNezFile}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(guitest::commandEnabled(&frame, id));
    }
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
    testsupport::writeBytes(editor,
                            "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" + pipe.string() + "'\n");
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
