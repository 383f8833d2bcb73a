#pragma once
// The project settings the settings sheet edits, as one table of rows: the
// `globalVars` member, the page that shows it, the control, and how the two
// exchange. Filling the sheet, applying it to the project and storing it into
// a settings object all walk this table, so none of them can miss a setting.
//
// The sheet's state is a `globalVars` of its own holding the values as the
// pages show them: the same as the project's, except that the angular
// standard errors are in grads when its `angleType` is 1 (the project keeps
// seconds of arc). Its `useVkTool` is the program's choice of utilities.

#include "model/settings/global_vars.hpp"

#include <optional>
#include <string>
#include <variant>
#include <vector>

using SettingMember =
    std::variant<int globalVars::*, double globalVars::*, std::string globalVars::*>;

enum class SettingExchange {
    check,    // check box, 0 or 1
    choice,   // drop list, the selection
    radios,   // two radio buttons, `control` for 0 and `secondControl` for 1
    number,   // edit of an int or a double
    text,     // edit of a text
    pageCode, // the page exchanges it by code of its own
};

struct NumberRange {
    double low;
    double high;
};

struct SettingEntry {
    SettingMember member;
    int page;
    int control;
    SettingExchange exchange;
    int secondControl = 0;
    bool angular = false;               // seconds of arc, shown in grads with `angleType` 1
    std::optional<NumberRange> range{}; // the values the control accepts
};

const std::vector<SettingEntry>& settingEntries();

// The sheet's values from the project's settings, with the program's choice
// of utilities.
void fillSheetValues(const globalVars& project, int useVkTool, globalVars& sheet);

// Copies every value that differs from the project's into it; true when one
// did (the project is then modified).
bool applySheetValues(const globalVars& sheet, globalVars& project);

// Copies every value into `target`, changed or not.
void storeSheetValues(const globalVars& sheet, globalVars& target);

// Changes the sheet's angle unit to `angleType`, converting the angular
// standard errors it shows; the sheet's state stays in step with the pages.
void changeShownAngleUnit(globalVars& sheet, int angleType);

// What is wrong with `text` typed into the number edit of `entry`: a text
// that is no number, or a value outside the entry's range, gives the message
// to show; nullopt when the text is a good value.
std::optional<std::string> numberEntryProblem(const SettingEntry& entry, const std::string& text);

// The value of a number edit's text as the entry's member stores it; a text
// numberEntryProblem refuses leaves the value as it was.
void setNumberFromText(const SettingEntry& entry, const std::string& text, globalVars& values);
// The text a number edit shows for the entry's value.
std::string numberText(const SettingEntry& entry, const globalVars& values);
