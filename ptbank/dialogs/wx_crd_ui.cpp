#include "ptbank/dialogs/wx_crd_ui.hpp"

#include "dialog_text.hpp"
#include "ptbank/dialogs/point_overwrite_dialog.hpp"

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>

#include <filesystem>

namespace ptbank {
namespace {

// The library's filter list ends in "||"; the toolkit's has no empty tail.
wxString toolkitFilter(const std::string& filter) {
    std::string text = filter;
    while (!text.empty() && text.back() == '|')
        text.pop_back();
    return dialogtext::fromBytes(text);
}

long fileDialogStyle(const CrdFileDialogRequest& request) {
    if (request.open)
        return wxFD_OPEN | wxFD_FILE_MUST_EXIST;
    return wxFD_SAVE | (request.overwritePrompt ? wxFD_OVERWRITE_PROMPT : 0);
}

// A caller that names no window gets the program's main window as the
// dialog's owner, so the dialog never opens behind it.
wxWindow* ownerOf(void* parentWindow) {
    if (parentWindow != nullptr)
        return static_cast<wxWindow*>(parentWindow);
    return wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
}

} // namespace

WxCrdUi::WxCrdUi() : previous_(setCrdUi(this)) {}

WxCrdUi::~WxCrdUi() {
    setCrdUi(previous_);
}

void WxCrdUi::message(const std::string& text, const std::string& title, CrdMessageIcon icon) {
    const long style = wxOK | (icon == CrdMessageIcon::stop ? wxICON_ERROR : wxICON_EXCLAMATION);
    wxMessageBox(dialogtext::fromBytes(text), dialogtext::fromBytes(title), style,
                 ownerOf(nullptr));
}

bool WxCrdUi::chooseFile(const CrdFileDialogRequest& request, CrdFileDialogAnswer& answer) {
    const std::filesystem::path initial(request.initialPath);
    wxFileDialog dialog(ownerOf(request.parentWindow),
                        dialogtext::fromBytes(request.title),
                        dialogtext::fromBytes(initial.parent_path().string()),
                        dialogtext::fromBytes(initial.filename().string()),
                        toolkitFilter(request.filter), fileDialogStyle(request));
    dialog.SetFilterIndex(request.initialFilter - 1);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    answer.path = dialogtext::toBytes(dialog.GetPath());
    answer.chosenFilter = dialog.GetFilterIndex() + 1;
    return true;
}

int WxCrdUi::overwritePoint(crdOverwriteRec& record, void* parentWindow) {
    CPtOverwriteDlg dialog(record, ownerOf(parentWindow));
    return dialog.ShowModal();
}

} // namespace ptbank
