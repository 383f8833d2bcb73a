#pragma once
// The project settings sheet, "Settings": six pages over one set of values
// (the settings table's rows), with the buttons "Save Project" and "Save As
// Default" beside OK, Cancel and Apply. It is filled from the project's
// settings and shown modally; the caller applies its values after OK. Apply,
// Save Project and Save As Default transfer the values while it stays open.

#include "model/settings/global_vars.hpp"

#include <array>
#include <functional>
#include <wx/propdlg.h>

class SettingsPage;

// What the sheet asks of the program that opened it.
struct SettingsSheetActions {
    // Apply: takes the sheet's values into the project.
    std::function<void(const globalVars& sheetValues)> apply;
    // Save Project: writes the project's settings (which the sheet has just
    // stored) to the project's file, or asks for one.
    std::function<void()> saveProject;
};

class CSettingsPropSht : public wxPropertySheetDialog {
public:
    CSettingsPropSht(wxWindow* parent, SettingsSheetActions actions);

    // The sheet's values from `project` with the program's choice of
    // utilities, shown on every page.
    void fill(const globalVars& project, int useVkTool);
    // The values as the pages show them (angular errors in the sheet's unit).
    globalVars& values() { return values_; }
    const globalVars& values() const { return values_; }

    // Makes page `index` (0-5) the one shown.
    void showPage(int index);
    int currentPage() const;
    SettingsPage& page(int index) { return *pages_.at(static_cast<std::size_t>(index)); }

    // Every page's controls into the values, after checking them: false,
    // with the user told, when one refuses.
    bool takeControls();
    // Copies every value into `target` (from the controls first).
    bool storeSettings(globalVars& target);
    // A page holds changes not yet applied: enables Apply.
    void setModified(bool modified);

    // The Output Options page's angle unit changed: the pages that show
    // angles follow.
    void angleUnitChanged(int angleType);

private:
    void addPages();
    void addButtons();
    void onOk();
    void onApply();
    void onSaveProject();
    void onSaveAsDefault();

    SettingsSheetActions actions_;
    globalVars values_;
    std::array<SettingsPage*, 6> pages_{};
};
