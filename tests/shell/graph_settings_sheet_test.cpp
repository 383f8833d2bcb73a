// The graphic settings sheet over a window that records what it is handed:
// Apply, Cancel and OK, the ellipse size slider that reaches the window at
// once, the request to process the project first, and which setting each
// control changes.

#include "gui_test_support.hpp"

#include "vistra/sheet/graph_settings_sheet.hpp"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstring>
#include <functional>

namespace {

namespace fs = std::filesystem;

class RecordingWindow : public graphSettingsTarget {
public:
    const graphSettings& drawingSettings() const override { return settings; }
    void takeSettings(const graphSettings& values) override {
        settings = values;
        ++taken;
    }
    bool hasErrorEllipses() const override { return ellipses; }

    graphSettings settings;
    int taken = 0;
    bool ellipses = true;
};

bool sameSettings(const graphSettings& a, const graphSettings& b) {
    graphSettings x = a;
    graphSettings y = b;
    for (const graphSettingKey& key : graphSettingKeys())
        if (settingValue(x, key) != settingValue(y, key))
            return false;
    return true;
}

int valueOf(graphSettings settings, std::string_view key) {
    for (const graphSettingKey& k : graphSettingKeys())
        if (k.key == key)
            return settingValue(settings, k);
    ADD_FAILURE() << "no key " << key;
    return -1;
}

void press(wxWindow& dialog, int id) {
    wxWindow* button = dialog.FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
}

template <class Control> Control* control(wxWindow& sheet, int id) {
    auto* found = dynamic_cast<Control*>(sheet.FindWindow(id));
    EXPECT_NE(found, nullptr) << id;
    return found;
}

// A control's change as the user makes it: the value, then its event.
void check(wxWindow& sheet, int id, bool on) {
    auto* box = control<wxCheckBox>(sheet, id);
    box->SetValue(on);
    wxCommandEvent event(wxEVT_CHECKBOX, id);
    event.SetEventObject(box);
    event.SetInt(on);
    box->ProcessWindowEvent(event);
}

void choose(wxWindow& sheet, int id, int index) {
    auto* list = control<wxChoice>(sheet, id);
    list->SetSelection(index);
    wxCommandEvent event(wxEVT_CHOICE, id);
    event.SetEventObject(list);
    event.SetInt(index);
    list->ProcessWindowEvent(event);
}

void type(wxWindow& sheet, int id, const char* text) {
    control<wxTextCtrl>(sheet, id)->SetValue(text);
}

class GraphSettingsSheet : public guitest::ShellTest {
protected:
    // Shows the sheet for real and lets `act` work it from its modal loop.
    int run(graphSett& sheet, std::function<void(graphSett&)> act) {
        wxTheApp->CallAfter([&sheet, act] { act(sheet); });
        guitest::RealDialogsAllowed real;
        return sheet.ShowModal();
    }

    RecordingWindow window;
};

TEST_F(GraphSettingsSheet, ApplyThenCancelKeepsTheAppliedValues) {
    graphSett sheet(nullptr, window);
    graphSettings applied;
    EXPECT_EQ(run(sheet,
                  [&](graphSett& shown) {
                      guitest::waitForFirstPaint(&shown);
                      EXPECT_TRUE(guitest::saveScreenshot(&shown, fs::path(TARNWELL_BINARY_DIR) /
                                                                      "screenshots" /
                                                                      "graphic_settings.png"));
                      EXPECT_FALSE(shown.applyEnabled());
                      check(shown, 1066, false); // azimuth lines off
                      type(shown, 1093, "14");   // traverse labels 14 pixels
                      EXPECT_TRUE(shown.applyEnabled());
                      press(shown, wxID_APPLY);
                      EXPECT_FALSE(shown.applyEnabled());
                      applied = window.settings;
                      choose(shown, 1058, colourBlue); // then changed, and cancelled
                      press(shown, wxID_CANCEL);
                  }),
              wxID_CANCEL);
    EXPECT_EQ(window.taken, 1);
    EXPECT_EQ(applied.azimuths.lineOn, 0);
    EXPECT_EQ(applied.traverse.textSize, 14);
    EXPECT_EQ(window.settings.traverse.lineColour, colourRed);
    EXPECT_TRUE(sameSettings(window.settings, applied));
}

TEST_F(GraphSettingsSheet, OkTakesEveryPage) {
    graphSett sheet(nullptr, window);
    EXPECT_EQ(run(sheet,
                  [&](graphSett& shown) {
                      choose(shown, 1081, symbolCircle); // fixed points as circles
                      type(shown, 2000, "12");           // pick radius
                      check(shown, 1171, true);          // GPS symbols on
                      press(shown, wxID_OK);
                  }),
              wxID_OK);
    EXPECT_EQ(window.taken, 0) << "the window takes the values after OK";
    EXPECT_EQ(sheet.values().fixed.symbolType, symbolCircle);
    EXPECT_EQ(sheet.values().pickRadius, 12);
    EXPECT_EQ(sheet.values().gps.symbolOn, 1);
}

// Each control of the Azimuths group reaches its own setting and no other.
TEST_F(GraphSettingsSheet, EachAzimuthControlChangesOnlyItsOwnSetting) {
    const struct {
        int id;
        const char* key;
        int value;
    } cases[] = {
        {1066, "azLnOnOff", 0},
        {1067, "azLnColor", colourCyan},
        {1074, "azSymbOnOff", 1},
        {1069, "azSymbType", symbolTriangle},
        {1085, "azSymbColor", colourMagenta},
        {1028, "azSymbSize", 9},
        {1088, "azTxtOnOff", 0},
        {1014, "azTxtSize", 31},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        RecordingWindow each;
        graphSett sheet(nullptr, each);
        wxWindow* field = sheet.FindWindow(c.id);
        ASSERT_NE(field, nullptr);
        if (dynamic_cast<wxCheckBox*>(field))
            check(sheet, c.id, c.value != 0);
        else if (dynamic_cast<wxChoice*>(field))
            choose(sheet, c.id, c.value);
        else
            type(sheet, c.id, std::to_string(c.value).c_str());
        ASSERT_TRUE(sheet.takeControls());
        graphSettings expected;
        for (const graphSettingKey& k : graphSettingKeys())
            if (k.key == c.key)
                settingValue(expected, k) = c.value;
        EXPECT_EQ(valueOf(sheet.values(), c.key), c.value);
        EXPECT_TRUE(sameSettings(sheet.values(), expected));
    }
}

TEST_F(GraphSettingsSheet, TheSliderReachesTheWindowAtOnce) {
    graphSett sheet(nullptr, window);
    auto* slider = control<wxSlider>(sheet, graphsettid::ellipseSlider);
    EXPECT_EQ(slider->GetValue(), 1);
    for (int size : {37, 0, 100}) {
        slider->SetValue(size);
        wxCommandEvent drag(wxEVT_SLIDER, graphsettid::ellipseSlider);
        drag.SetEventObject(slider);
        drag.SetInt(size);
        slider->ProcessWindowEvent(drag);
        EXPECT_EQ(window.settings.ellipseSize, size);
        EXPECT_EQ(control<wxTextCtrl>(sheet, graphsettid::ellipseSizeEdit)->GetValue(),
                  std::to_string(size));
    }
    EXPECT_EQ(window.taken, 3);
    EXPECT_TRUE(sheet.applyEnabled());
}

// A size typed into the field reaches the slider and the window when the
// field is left.
TEST_F(GraphSettingsSheet, LeavingTheSizeFieldAppliesIt) {
    graphSett sheet(nullptr, window);
    auto* field = control<wxTextCtrl>(sheet, graphsettid::ellipseSizeEdit);
    field->SetValue("45");
    EXPECT_EQ(window.taken, 0);
    wxFocusEvent left(wxEVT_KILL_FOCUS, graphsettid::ellipseSizeEdit);
    left.SetEventObject(field);
    field->ProcessWindowEvent(left);
    EXPECT_EQ(window.taken, 1);
    EXPECT_EQ(window.settings.ellipseSize, 45);
    EXPECT_EQ(control<wxSlider>(sheet, graphsettid::ellipseSlider)->GetValue(), 45);
}

TEST_F(GraphSettingsSheet, WithoutEllipsesTheProjectNeedsProcessing) {
    const struct {
        bool ellipses;
        const char* first;
        const char* second;
    } cases[] = {
        {false, "Project needs to be processed", "before error ellipses can be displayed."},
        {true, "", ""},
    };
    for (const auto& c : cases) {
        window.ellipses = c.ellipses;
        graphSett sheet(nullptr, window);
        EXPECT_EQ(control<wxStaticText>(sheet, graphsettid::processFirstLine)->GetLabel(), c.first);
        EXPECT_EQ(control<wxStaticText>(sheet, graphsettid::processSecondLine)->GetLabel(),
                  c.second);
    }
}

TEST_F(GraphSettingsSheet, FourPagesInTheirOrder) {
    graphSett sheet(nullptr, window);
    wxBookCtrlBase* book = sheet.GetBookCtrl();
    ASSERT_EQ(book->GetPageCount(), 4u);
    const char* captions[] = {"Points", "Trav/SSs", "Error Ellipses", "GPS"};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(book->GetPageText(i), captions[i]);
    EXPECT_EQ(sheet.GetTitle(), "Graphic Settings");
}

} // namespace
