#pragma once
// The Adjustment page: iterations, convergence and confidence of the least
// squares, sideshots in the relative error ellipses, and the relative error
// points file with its ALTA tolerance report.

#include "shell/settings/settings_page.hpp"

class CAdjustmentPage : public SettingsPage {
public:
    CAdjustmentPage(wxWindow* parent, CSettingsPropSht& sheet);

    void selectRelativeErrFile();
    // "Edit/Create": the ALTA points dialog on the named file.
    void editRelativeErrFile();

protected:
    void fillOwnControls() override { applyEnableRule(); }

private:
    void applyEnableRule();
};
