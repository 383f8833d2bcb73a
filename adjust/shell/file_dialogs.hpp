#pragma once
// The file dialogs of the desktop program. Filters are written the way the
// program has always written them ("Project Files (*.prj) | *.prj| All Files
// (*.*)|*.*||"); GTK's chooser needs them tidied, and it neither adds a
// default extension nor matches patterns without regard to case.

#include <optional>
#include <string>
#include <vector>

class wxWindow;

// The filter in the toolkit's form: descriptions and patterns trimmed, the
// closing "||" dropped, "*.*" made "*", and each "*.ext" pattern joined by its
// upper- and lower-case forms ("*.prj;*.PRJ").
std::string wildcardFromFilter(const std::string& filter);

// `path` with "." and `extension` appended when its file name has no
// extension; as it stands otherwise or when `extension` is empty.
std::string withDefaultExtension(const std::string& path, const std::string& extension);

struct FileDialogRequest {
    bool save = false;           // save dialog: asks before overwriting
    std::string title;           // empty: "Open" or "Save As"
    std::string filter;          // in the program's form
    std::string extension;       // default extension, without the dot
    std::string initialName;     // a path or a name; a wildcard is not a name
    std::string initialFolder;   // empty: the open project's folder, else the toolkit's choice
    bool newNameAllowed = false; // an open dialog that also takes a file still to be made
    int filterEntry = 1;         // the filter entry (from 1) shown first
};

// Shows the dialog; the chosen path (with the default extension added when
// it had none), or nullopt when the user cancelled. Open dialogs accept only
// an existing file.
std::optional<std::string> chooseFile(wxWindow* parent, const FileDialogRequest& request);

// As chooseFile, with the filter entry (from 1) that was showing when the
// user chose.
struct ChosenFile {
    std::string path;
    int filterEntry;
};
std::optional<ChosenFile> chooseFileAndFilter(wxWindow* parent, const FileDialogRequest& request);

// An open dialog in which several existing files may be chosen: their paths,
// none when the user cancelled.
std::vector<std::string> chooseFiles(wxWindow* parent, const FileDialogRequest& request);
