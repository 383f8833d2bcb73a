#pragma once
// Starting the family's raw-data editors and transfer programs, opening the
// run's output files in the user's editor, and the marker block that the
// family's programs look for.

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The names of a file list that are each followed by a line feed; text after
// the last line feed is not a complete name and is left out.
std::vector<std::string> listedNames(const std::string& list);

// Which raw-data editor a list of raw files asks for: the .RW5 editor as soon
// as one name holds ".RW5" (compared in upper case).
bool listWantsRw5Editor(const std::string& list);

// The family's outside programs: the title their window has, and the
// message given when one cannot be started.
struct FamilyProgram {
    const char* file;
    const char* windowTitle; // a window whose title holds this (and the mark) is the program's
    const char* notFound;    // printf pattern with %s for the command line
    // The program marks its window as the family's (family_window_mark.hpp);
    // the .RW5 editor does not, and is found by its title alone.
    bool marksWindow;
};
extern const FamilyProgram familyEditor;
extern const FamilyProgram rw5Editor;
extern const FamilyProgram familyTransfer;
extern const FamilyProgram otherTransfer;

// Said once per session where the desktop lets no program find another's windows.
inline constexpr const char* windowsNotSearchable =
    "On this desktop (Wayland) Tarnwell cannot look for the windows of other programs:\n"
    "a family program that is already open is started again, unless Tarnwell started it.";

// Why the main window stays open: the programs that did not end when asked
// to, one a line.
std::string stillRunningMessage(const std::vector<std::string>& programs);

// The program path, a blank and the file in double quotes when one is given.
std::string familyCommandLine(const std::string& programPath, const std::string& file);

// The program and its arguments, each one word of its own whatever blanks
// or quotes it holds: the program path, then the file when one is given.
std::vector<std::string> familyArguments(const std::string& programPath, const std::string& file);

// Starts the program of `arguments[0]` (a path, or a name looked up in PATH)
// with the rest as its arguments and does not wait for it: false when there
// is no such program or it could not be started.
bool startDetached(const std::vector<std::string>& arguments);

// The family's programs this process started and that still run, by program
// file. A program started from here and still running is not started again.
class FamilyProcesses {
public:
    FamilyProcesses();
    // Starts `arguments` as startDetached does and watches the process under
    // `program` until it ends: false when it could not be started.
    bool start(const std::string& program, const std::vector<std::string>& arguments);
    bool running(const std::string& program) const;
    // Asks each of `programs` that runs to end (SIGTERM) and gives them
    // together up to `patience` to do so: the ones still running then.
    std::vector<std::string> askToEnd(const std::vector<std::string>& programs,
                                      std::chrono::milliseconds patience) const;

private:
    // Program file to process id; shared with the processes' watchers,
    // which may outlive this object.
    std::shared_ptr<std::map<std::string, long>> running_;
};

// The user's editor: $VISUAL, else $EDITOR, split at blanks into the program
// and its own arguments; xdg-open when neither is set.
std::vector<std::string> editorCommand();

// What to tell the user when the editor `program` (the first word of
// editorCommand) could not be started: which variable named it, or, when
// none did, that no editor was found and how to name one.
std::string editorMissingMessage(const std::string& program);

// The 4096-byte shared block "GL_Settings": zeroed, with the marker at its
// start. It stays mapped, and the name exists, until the object goes.
class MarkerBlock {
public:
    static constexpr std::size_t size = 4096;
    static constexpr const char* marker = "VO_ZA_VEZARAD";

    MarkerBlock() = default;
    ~MarkerBlock();
    MarkerBlock(const MarkerBlock&) = delete;
    MarkerBlock& operator=(const MarkerBlock&) = delete;

    // Creates (or opens) the block under `name`, zeroes it and writes the
    // marker: false when the block could not be made.
    bool write(const std::string& name);
    const std::string& name() const { return name_; }

private:
    void release();

    std::string name_;
    void* view_ = nullptr;
};
