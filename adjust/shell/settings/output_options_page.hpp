#pragma once
// The Output Options page: display precisions and formats, the angle unit
// every page shows angles in, and the coordinate file a run writes.

#include "shell/settings/settings_page.hpp"

class CDisplayPage : public SettingsPage {
public:
    CDisplayPage(wxWindow* parent, CSettingsPropSht& sheet);

    void selectCoordinateFile();

protected:
    void fillOwnControls() override;

private:
    void onAngleTypeChange();
};
