#pragma once
// A page of the project settings sheet. The rows of the settings table that
// belong to the page are exchanged with its controls here; each page adds
// the controls and rules of its own. The values live in the sheet.

#include "model/settings/global_vars.hpp"

#include <string>
#include <vector>
#include <wx/panel.h>

class CSettingsPropSht;
class wxButton;
class wxCheckBox;
class wxChoice;
class wxRadioButton;
class wxSizer;
class wxStaticText;
class wxTextCtrl;

class SettingsPage : public wxPanel {
public:
    SettingsPage(wxWindow* parent, CSettingsPropSht& sheet, int pageIndex);

    // The sheet's values into the controls.
    void fillControls();
    // The controls into the sheet's values. A number edit the user has not
    // typed in keeps its value exactly as it was filled.
    void readControls();
    // Checks what the page holds before it is taken; false after telling the
    // user what is wrong, with the focus on that control.
    bool validateControls();
    // The page is about to be shown.
    virtual void onShown() {}

protected:
    virtual void fillOwnControls() {}
    virtual void readOwnControls() {}
    virtual bool validateOwnControls() { return true; }

    globalVars& values();
    CSettingsPropSht& sheet() { return sheet_; }
    // Tells the sheet that the page holds changes it has not applied.
    void markModified();
    // Marks the page modified whenever one of these controls changes.
    void markModifiedOnChange(std::initializer_list<int> ids);
    // Shows `text` in a box and gives `control` the focus again.
    void refuse(const std::string& text, wxWindow* control);

    // The control `id` of this page, of the type it was made as.
    template <class Control> Control* control(int id) const {
        return dynamic_cast<Control*>(FindWindow(id));
    }
    void enable(std::initializer_list<int> ids, bool enabled);
    void show(std::initializer_list<int> ids, bool shown);
    // Lays the page out again after controls were shown, hidden or relabelled.
    void relayout();

private:
    CSettingsPropSht& sheet_;
    int pageIndex_;
};

// Control makers for the pages' layouts: each makes one control of the
// program's id and text on `parent`.
namespace pagecontrols {

wxStaticText* label(wxWindow* parent, int id, const std::string& text);
wxChoice* choice(wxWindow* parent, int id, const std::vector<std::string>& items, int width = -1);
wxTextCtrl* edit(wxWindow* parent, int id, int width = 90);
wxCheckBox* check(wxWindow* parent, int id, const std::string& text);
wxRadioButton* radio(wxWindow* parent, int id, const std::string& text, bool firstOfGroup);
wxButton* button(wxWindow* parent, int id, const std::string& text);
// The windows side by side, centred on one line.
wxSizer* row(std::initializer_list<wxWindow*> windows);

// "Meters", "US Feet", "Intl. Feet" as the unit lists name them.
const std::vector<std::string>& unitNames();
// "0" ... "n".
std::vector<std::string> digitNames(int highest);

} // namespace pagecontrols

// A message box with the caption "Tarnwell" and an OK button over `parent`.
void settingsMessage(wxWindow* parent, const std::string& text);
