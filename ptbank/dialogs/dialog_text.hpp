#pragma once
// Point texts are bytes: they reach the windows one character per byte and
// come back as the same bytes.

#include "ptbank/crd_text.hpp"

#include <wx/string.h>

#include <string>
#include <string_view>

namespace dialogtext {

inline wxString fromBytes(std::string_view bytes) {
    return wxString::From8BitData(bytes.data(), bytes.size());
}

inline std::string toBytes(const wxString& text) {
    const wxCharBuffer bytes = text.To8BitData();
    return std::string(bytes.data(), bytes.length());
}

// Without blanks at either end (nor line ends at the end).
inline std::string trimmedBytes(const wxString& text) {
    return ptbank::trimmedText(toBytes(text));
}

} // namespace dialogtext
