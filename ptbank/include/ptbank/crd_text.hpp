#pragma once
// Text and path tools of the coordinate file library. Every text here is a
// string of single bytes; a blank is the space character and case mapping
// touches ASCII letters only. Functions that the record layouts use on
// fixed-width fields work in place on zero-terminated buffers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace ptbank {

// An owned text whose buffer grows by the library's own rule: a text of n
// bytes gets n + 6 bytes when n + 1 is below 10, else 4 (n + 1) / 3.
class CrdString {
public:
    CrdString() : CrdString(std::string_view{}) {}
    explicit CrdString(std::string_view text);
    CrdString(const CrdString& other) : CrdString(other.view()) {}
    CrdString& operator=(const CrdString& other);
    CrdString& operator=(std::string_view text);

    const char* c_str() const { return text_.get(); }
    std::string_view view() const { return text_.get(); }
    bool empty() const { return text_[0] == '\0'; }
    // Bytes of the buffer, terminator included.
    int capacity() const { return capacity_; }

    // 1 when the texts are byte-for-byte equal (equals) or not (differs).
    int equals(std::string_view text) const { return view() == text ? 1 : 0; }
    int differs(std::string_view text) const { return 1 - equals(text); }

    // The byte at `index`, or the first byte when the index lies outside the buffer.
    char at(int index) const;

    // Leading blanks removed; trailing blanks, CR and LF removed.
    void trim();
    void upperCase();

    CrdString operator+(std::string_view other) const;
    CrdString operator+(const CrdString& other) const { return *this + other.view(); }

    static int capacityFor(std::size_t length);

private:
    std::unique_ptr<char[]> text_;
    int capacity_ = 0;
};

// Mode 1 removes leading blanks and tabs and trailing blanks, LF, CR and tabs;
// any other mode removes leading blanks and trailing blanks, LF and CR. An
// empty text is left alone. The count of leading bytes removed and the final
// length are stored when asked.
void trimText(char* text, int mode, int* leadingRemoved = nullptr, int* length = nullptr);
std::string trimmedText(std::string_view text, int mode = 0);

// Lower-case ASCII letters become upper-case, in place.
void upperCaseText(char* text);
std::string upperCased(std::string_view text);

// The order of point names in every sorted file and range of the library:
// -1, 0 or 1. Where both names have a digit at the same place, the runs
// compare by value (as decimals when either rest holds a '.'); letters
// compare without regard to case; a prefix comes first. Not a strict weak
// ordering for names mixing decimals and leading zeros ("01" < "1" < "1.0" <
// "01"), so never hand it to std::sort.
int comparePointNames(std::string_view a, std::string_view b);

// A point name turned into bytes that compare (byte by byte, a prefix first)
// exactly as comparePointNames compares the names, for the plain names a
// sorted file is searched for many times: at most 16 characters (so no run
// of digits reaches the range of long), ASCII without control characters
// and without '.', every run of digits without a leading zero. Letters are folded to lower case;
// a run of digits becomes a mark ('0', between the characters below and
// above the digits), its length, then its digits. Any other name gives a key
// that is not `usable`, and its comparisons must go to comparePointNames.
struct PointNameKey {
    std::array<std::uint8_t, 32> bytes{};
    std::uint8_t length = 0;
    bool usable = false;
};
PointNameKey pointNameKey(std::string_view name);
// comparePointNames of the two names the usable keys came from: -1, 0 or 1.
int comparePointNameKeys(const PointNameKey& a, const PointNameKey& b);

// Case-insensitive byte comparison in the manner of the C library's stricmp
// (both sides folded to lower case): its sign.
int compareIgnoringCase(std::string_view a, std::string_view b);

// Copies n bytes and stores a terminator after them (destination holds n + 1).
void copyBytesTerminated(char* destination, const char* source, std::size_t n);
// Fills n bytes with the character when n is above 0; the terminated form
// also stores a terminator at position n.
void fillText(char* destination, int n, char character);
void fillTextTerminated(char* destination, int n, char character);

// Cuts trailing blanks, CR and LF; with a nonzero mode every blank, CR or LF
// between the first and the last other byte becomes '_'. Returns the length.
int trimRightText(char* text, int mode);
// Removes leading blanks; returns the length.
int trimLeftText(char* text);

// The text trimmed at both ends, cut to `width` when longer (result -1, else
// 0), placed right-aligned (blanks in front) or left-aligned (blanks behind)
// in `destination`, which receives width + 1 bytes.
int rightAlignText(int width, std::string_view text, char* destination);
int leftAlignText(int width, std::string_view text, char* destination);

// Trimmed at both ends: longer than maxLength -2; any byte other than a digit
// -1; a value below minimum -3; maximum negative or the value not above it 0;
// otherwise -3.
int checkNumericId(std::string_view text, int maxLength, long minimum, long maximum);

// 1 when no file status can be read at the path, else 0.
int fileIsMissing(const std::string& path);

// directory + "TMP" + five digits + extension, repeated until no file exists there.
std::string makeUniqueTempName(const std::string& directory, std::string_view extension);

// Folder (with its trailing separator), name without extension, and the
// extension with its dot; each stored only when asked. A '.' inside a folder
// name never starts an extension.
void splitPath(std::string_view path, std::string* folder, std::string* name,
               std::string* extension);

} // namespace ptbank
