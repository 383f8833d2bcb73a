#pragma once
// Range texts: items separated by ',', each one point name or two names
// joined by '-' (a from-to range, which may run downwards). "ALL" stands for
// every point. Names put into a range text by the library have each '-' and
// ',' replaced by '_'.

#include <string>
#include <string_view>

namespace ptbank {

// Takes the first item off `text`: 1 with `from` and `to` (to = from for a
// single name) and `rest` just after the item's ','; 0 for an empty text or
// an item starting with '-'. Each name keeps at most 255 bytes.
int parseRangeItem(std::string_view text, std::string& from, std::string& to,
                   std::string_view* rest);

// Puts the item from-to (or from alone when `to` is empty or equals it
// ignoring case) in front of `range`, or behind it with `append`.
void buildRangeText(std::string& range, std::string_view from, std::string_view to, bool append);

// 1 when the name lies inside one of the range's items (or the range is
// "ALL"), by the point-name order of comparePointNames; else 0.
int isInRange(std::string_view name, std::string_view range);

} // namespace ptbank
