#pragma once
// The Standard Errors page: the nineteen default standard errors, with the
// angular ones in seconds or grads as the sheet shows angles, loaded from or
// saved to a standard-error file (.sef, always seconds).

#include "shell/settings/settings_page.hpp"

class wxStaticBoxSizer;

class CStdErrPage : public SettingsPage {
public:
    CStdErrPage(wxWindow* parent, CSettingsPropSht& sheet);

    void onShown() override { showLabels(); }
    void loadSefFile();
    void saveSefFile();

protected:
    void fillOwnControls() override { showLabels(); }

private:
    void showLabels();
};

// The nineteen fields laid out on `parent` as the Standard Errors page and
// the standard-error file dialog show them.
wxSizer* layOutStdErrFields(wxWindow* parent, wxSizer* extra = nullptr);
// Checks a field's text when the user leaves it ("Invalid Numeric Entry: %s").
void checkStdErrFieldsOnLeaving(wxWindow* parent);
