#pragma once
// Stepping a point name to the next one, as new points are numbered. Two
// rules exist side by side: the file rule (disk files) steps the first run
// of digits and handles letter suffixes; the text rule (memory files and
// handles the library does not know) steps the last run of digits. They
// differ on purpose: "P-7" steps to "P6" by the first and to "P-8" by the
// second.

#include <string>

namespace ptbank {

class CrdFile;

// The file rule. step 0 leaves the name alone; an empty name becomes the
// step. The prefix runs to the first digit or '-'; from there digits and
// '-' form the number (a '.' in it is remembered and put back), and any
// other byte starts the suffix. Without a number, a single letter steps to
// the next letter ("A" to "B"), other names get "2" ("Z" to "Z2"), and a
// step of 2 or more is appended ("A" by 3 to "A3"). A suffix holding digits
// is stepped by the same rule instead of the number ("1A2" to "1A3"). A
// letter suffix without a prefix steps its letters ("5A" to "5B", "5Z" to
// "6A"). A negative number loses its sign. On a numeric file (type 0) the
// result is held to 1 .. 99999, and holding it answers 0.
// Result: 1 stepped, 0 held at a numeric file's limit.
int incrementPointName(CrdFile& file, std::string& name, int step);

// The text rule: leading blanks dropped; the last run of digits is the
// number, what stands before it the prefix and after it the suffix, each
// trimmed; the number is stepped ("A9B" to "A10B", "P-7" to "P-8"); a name
// without digits gets "1". The result is right-justified in 255 characters;
// one that cannot fit becomes 255 'X'. A number too large for 64 bits is
// held at the largest value. Always 0.
int incrementNameText(const std::string& in, std::string& out, int step);

} // namespace ptbank
