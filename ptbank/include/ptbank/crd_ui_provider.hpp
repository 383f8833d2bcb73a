#pragma once
// The few places where the coordinate file library talks to the user go
// through this interface, which the host program sets: the desktop shell
// with its own windows, a console program with its policy. The library links
// no GUI toolkit. Until a host sets one, messages go to the library console
// file dialogs answer "not confirmed", and the point-overwrite question
// answers "could not be shown" (VKCRD_ANSWER_NOT_SHOWN), which callers take
// as "keep the stored point".

#include <string>

struct crdOverwriteRec;

namespace ptbank {

enum class CrdMessageIcon { exclamation, stop };

// The standard open or save file dialog of a coordinate file.
struct CrdFileDialogRequest {
    bool open = true; // open (the file must exist) or save (its folder must)
    std::string title;
    bool overwritePrompt = false; // save only: ask before replacing a file
    // "Name (*.ext)|*.ext|..." ending in "||".
    std::string filter;
    int initialFilter = 1; // 1-based
    std::string defaultExtension;
    std::string initialPath;
    void* parentWindow = nullptr;
};

struct CrdFileDialogAnswer {
    std::string path;
    int chosenFilter = 1; // 1-based
};

class CrdUiProvider {
public:
    virtual ~CrdUiProvider() = default;
    // A message box owned by the program's main window.
    virtual void message(const std::string& text, const std::string& title,
                         CrdMessageIcon icon) = 0;
    // True when the user confirmed, with the answer filled.
    virtual bool chooseFile(const CrdFileDialogRequest& request, CrdFileDialogAnswer& answer) = 0;
    // The modal point-overwrite question over `parentWindow` (may be null):
    // one of the VKCRD_ANSWER_* codes, with the record's out fields and its
    // proposed point as the user left them. A provider without a window to
    // show gives VKCRD_ANSWER_NOT_SHOWN.
    virtual int overwritePoint(crdOverwriteRec& record, void* parentWindow);
};

// The provider in force (never null).
CrdUiProvider& crdUi();
// Installs a provider (nullptr restores the console one); returns the previous one.
CrdUiProvider* setCrdUi(CrdUiProvider* provider);

} // namespace ptbank
