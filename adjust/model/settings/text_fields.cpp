#include "model/settings/text_fields.hpp"

#include "platform/c_locale_text.hpp"

#include <algorithm>

namespace {

constexpr const char* whiteSpace = " \t\r\n\v\f";

int isWithin(const std::string& text, double limit) {
    const double value = platform::atofC(text);
    return value >= -limit && value <= limit ? 1 : 0;
}

// Title characters the search looks at.
constexpr std::size_t searchedTitleLength = 999;

const void* lastFoundWindow = nullptr;

} // namespace

std::string trimmedOf(std::string text, const char* characters) {
    const auto last = text.find_last_not_of(characters);
    text.erase(last == std::string::npos ? 0 : last + 1);
    text.erase(0, text.find_first_not_of(characters));
    return text;
}

void fillField(std::string& field, char c, std::size_t n) {
    field.assign(n, c);
}

int squeezeBlanks(std::string& text) {
    text = trimmedOf(text, whiteSpace);
    std::string out;
    out.reserve(text.size());
    int replaced = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == ' ' && i + 1 < text.size() && text[i + 1] == ' ') {
            ++i;
            ++replaced;
        }
    }
    text = out;
    return replaced;
}

void trimLineEnd(std::string& text) {
    const auto last = text.find_last_not_of("\r\n ");
    text.erase(last == std::string::npos ? 0 : last + 1);
    stripLeadingBlanks(text);
}

int countFields(const std::string& text) {
    return 1 + static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
               return c == ' ' || c == ',' || c == '\t';
           }));
}

void stripLeadingBlanks(std::string& text) {
    text.erase(0, text.find_first_not_of(' '));
}

void stripTrailingBlanks(std::string& text) {
    const auto last = text.find_last_not_of(' ');
    text.erase(last == std::string::npos ? 0 : last + 1);
}

void stripBlanks(std::string& text) {
    text = trimmedOf(text, " ");
}

void removeAllBlanks(std::string& text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
}

int getDelimitedField(const std::string& text, std::string& field, char delimiter, int n) {
    if (text.empty() || n < 0)
        return 1;
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const auto next = text.find(delimiter, start);
        if (next == std::string::npos)
            return 1;
        start = next + 1;
    }
    const auto end = text.find(delimiter, start);
    field = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return 0;
}

int isValidLatText(const std::string& text) {
    return isWithin(text, 90.0);
}

int isValidLonText(const std::string& text) {
    return isWithin(text, 180.0);
}

int findWindowByTitle(const std::vector<TopLevelWindow>& windows, const std::string& text,
                      const void*& found, bool resume) {
    if (text.empty())
        return 0;
    std::size_t next = 1;
    if (resume) {
        const auto previous =
            std::find_if(windows.begin() + std::min<std::size_t>(1, windows.size()), windows.end(),
                         [](const TopLevelWindow& w) { return w.handle == lastFoundWindow; });
        next = previous == windows.end() ? windows.size()
                                         : static_cast<std::size_t>(previous - windows.begin()) + 1;
    }
    lastFoundWindow = nullptr;
    for (std::size_t i = next; i < windows.size(); ++i) {
        if (windows[i].title.substr(0, searchedTitleLength).find(text) != std::string::npos) {
            lastFoundWindow = windows[i].handle;
            break;
        }
    }
    found = lastFoundWindow;
    return found != nullptr ? 1 : 0;
}
