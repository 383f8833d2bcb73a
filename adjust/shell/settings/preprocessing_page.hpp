#pragma once
// The Preprocessing page: curvature and refraction, traverse closures with
// their definition file, the point-number substitution string, and the
// tolerances of meaned measurements, typed in the sheet's angle unit.

#include "shell/settings/settings_page.hpp"

class CPreprocessingPage : public SettingsPage {
public:
    CPreprocessingPage(wxWindow* parent, CSettingsPropSht& sheet);

    void onShown() override;
    // The sheet's angle unit changed: the angle tolerances are shown in it.
    void angleUnitChanged();
    void selectClosureFile();
    // Edit/Create: the closure definition editor on the page's closure file.
    void editClosureFile();

protected:
    void fillOwnControls() override;
    void readOwnControls() override;
    bool validateOwnControls() override;

private:
    void applyClosureRule();
    void checkDistance(int id);
    void checkAngle(int id);
    std::string text(int id) const;
};
