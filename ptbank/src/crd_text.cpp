#include "ptbank/crd_text.hpp"

#include "platform/c_locale_text.hpp"

#include <algorithm>
#include <cstring>
#include <limits>
#include <random>
#include <sys/stat.h>

namespace ptbank {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLineEndOrBlank(char c) {
    return c == ' ' || c == '\r' || c == '\n';
}
char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The value of the run of digits `text` starts with, as strtol reads it in
// the C locale (saturating at LONG_MAX), without its copy of the text: names
// are compared many times per look-up.
long leadingNumber(std::string_view text) {
    constexpr long limit = std::numeric_limits<long>::max();
    constexpr long tenthOfLimit = limit / 10;
    constexpr int lastDigitOfLimit = static_cast<int>(limit % 10);
    long value = 0;
    for (const char c : text) {
        if (!isDigit(c))
            break;
        const int digit = c - '0';
        if (value > tenthOfLimit || (value == tenthOfLimit && digit > lastDigitOfLimit))
            return limit;
        value = value * 10 + digit;
    }
    return value;
}

bool sameBytes(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

std::size_t digitRun(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && isDigit(text[n]))
        ++n;
    return n;
}

// Compares the values of two runs of digits as strtol reads them (saturating
// at LONG_MAX): by their significant digits while those stay below the 19
// of LONG_MAX, where no run can saturate; -1, 0 or 1. Written out in plain
// loops: names are compared many times per look-up.
int compareDigitRuns(std::string_view a, std::string_view b) {
    constexpr std::size_t exactDigits = 18;
    std::size_t zerosA = 0;
    while (zerosA < a.size() && a[zerosA] == '0')
        ++zerosA;
    std::size_t zerosB = 0;
    while (zerosB < b.size() && b[zerosB] == '0')
        ++zerosB;
    const std::size_t lengthA = a.size() - zerosA;
    const std::size_t lengthB = b.size() - zerosB;
    if (lengthA > exactDigits || lengthB > exactDigits) {
        const long x = leadingNumber(a);
        const long y = leadingNumber(b);
        return x == y ? 0 : (x < y ? -1 : 1);
    }
    if (lengthA != lengthB)
        return lengthA < lengthB ? -1 : 1;
    for (std::size_t i = 0; i < lengthA; ++i)
        if (a[zerosA + i] != b[zerosB + i])
            return a[zerosA + i] < b[zerosB + i] ? -1 : 1;
    return 0;
}

} // namespace

// ---- CrdString ---------------------------------------------------------------

int CrdString::capacityFor(std::size_t length) {
    const auto n = static_cast<int>(length);
    return n + 1 < 10 ? n + 6 : 4 * (n + 1) / 3;
}

CrdString::CrdString(std::string_view text)
    : text_(std::make_unique<char[]>(static_cast<std::size_t>(capacityFor(text.size())))),
      capacity_(capacityFor(text.size())) {
    std::copy(text.begin(), text.end(), text_.get());
    text_[text.size()] = '\0';
}

CrdString& CrdString::operator=(const CrdString& other) {
    if (this != &other)
        *this = other.view();
    return *this;
}

CrdString& CrdString::operator=(std::string_view text) {
    const std::size_t needed = text.size() + 1;
    const char* own = text_.get();
    const bool insideOwnBuffer =
        text.data() >= own && text.data() < own + static_cast<std::ptrdiff_t>(capacity_);
    if (insideOwnBuffer || static_cast<std::size_t>(capacity_) < needed) {
        const int capacity = capacityFor(text.size());
        auto buffer = std::make_unique<char[]>(static_cast<std::size_t>(capacity));
        std::copy(text.begin(), text.end(), buffer.get());
        buffer[text.size()] = '\0';
        text_ = std::move(buffer);
        capacity_ = capacity;
    } else {
        std::copy(text.begin(), text.end(), text_.get());
        text_[text.size()] = '\0';
    }
    return *this;
}

char CrdString::at(int index) const {
    return (index < 0 || index >= capacity_) ? text_[0] : text_[static_cast<std::size_t>(index)];
}

void CrdString::trim() {
    trimText(text_.get(), 0);
}

void CrdString::upperCase() {
    upperCaseText(text_.get());
}

CrdString CrdString::operator+(std::string_view other) const {
    std::string joined(view());
    joined += other;
    return CrdString(joined);
}

// ---- plain text functions ----------------------------------------------------

void trimText(char* text, int mode, int* leadingRemoved, int* length) {
    if (text[0] == '\0')
        return;
    const auto leadingBlank = [mode](char c) { return c == ' ' || (mode == 1 && c == '\t'); };
    const auto trailingBlank = [mode](char c) {
        return isLineEndOrBlank(c) || (mode == 1 && c == '\t');
    };
    std::size_t start = 0;
    while (text[start] != '\0' && leadingBlank(text[start]))
        ++start;
    std::size_t end = std::strlen(text);
    while (end > start && trailingBlank(text[end - 1]))
        --end;
    std::memmove(text, text + start, end - start);
    text[end - start] = '\0';
    if (leadingRemoved)
        *leadingRemoved = static_cast<int>(start);
    if (length)
        *length = static_cast<int>(end - start);
}

std::string trimmedText(std::string_view text, int mode) {
    std::string copy(text);
    copy.push_back('\0');
    trimText(copy.data(), mode);
    copy.resize(std::strlen(copy.c_str()));
    return copy;
}

void upperCaseText(char* text) {
    for (; *text != '\0'; ++text)
        *text = asciiUpper(*text);
}

std::string upperCased(std::string_view text) {
    std::string copy(text);
    std::transform(copy.begin(), copy.end(), copy.begin(), asciiUpper);
    return copy;
}

int compareIgnoringCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(asciiLower(a[i]));
        const auto y = static_cast<unsigned char>(asciiLower(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int comparePointNames(std::string_view a, std::string_view b) {
    if (a.empty() && b.empty())
        return 0;
    const std::size_t shorter = std::min(a.size(), b.size());
    // The rest of a name from place i holds a '.' when its last '.' is at i
    // or later; looked for only once two digits meet.
    bool dotsFound = false;
    std::size_t lastDotA = 0;
    std::size_t lastDotB = 0;
    for (std::size_t i = 0; i < shorter; ++i) {
        const std::string_view restA = a.substr(i);
        const std::string_view restB = b.substr(i);
        if (isDigit(a[i]) && isDigit(b[i])) {
            if (!dotsFound) {
                lastDotA = a.rfind('.');
                lastDotB = b.rfind('.');
                dotsFound = true;
            }
            const bool decimal = (lastDotA != std::string_view::npos && lastDotA >= i) ||
                                 (lastDotB != std::string_view::npos && lastDotB >= i);
            if (decimal) {
                const double x = platform::atofC(restA);
                const double y = platform::atofC(restB);
                if (x != y)
                    return x < y ? -1 : 1;
            } else {
                const std::string_view runA = restA.substr(0, digitRun(restA));
                const std::string_view runB = restB.substr(0, digitRun(restB));
                if (const int c = compareDigitRuns(runA, runB); c != 0)
                    return c;
                // Within two identical runs of digits every later place reads
                // equal values too: the comparison goes on after the runs.
                if (runA.size() == runB.size() && sameBytes(runA, runB))
                    i += runA.size() - 1;
            }
        } else if (asciiUpper(a[i]) != asciiUpper(b[i])) {
            return compareIgnoringCase(restA, restB);
        }
    }
    return compareIgnoringCase(a, b);
}

namespace {

// Short enough that no run of digits can reach LONG_MAX's 19 digits.
constexpr std::size_t keyedNameLength = 16;
constexpr std::uint8_t runMark = '0';

bool keyedCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 32 && byte < 127 && c != '.';
}

} // namespace

PointNameKey pointNameKey(std::string_view name) {
    PointNameKey key;
    if (name.size() > keyedNameLength)
        return key;
    std::size_t at = 0;
    for (std::size_t i = 0; i < name.size();) {
        if (!keyedCharacter(name[i]))
            return key;
        if (!isDigit(name[i])) {
            key.bytes[at++] = static_cast<std::uint8_t>(asciiLower(name[i++]));
            continue;
        }
        const std::size_t run = digitRun(name.substr(i));
        if (name[i] == '0')
            return key;
        key.bytes[at++] = runMark;
        key.bytes[at++] = static_cast<std::uint8_t>(run);
        for (std::size_t k = 0; k < run; ++k)
            key.bytes[at++] = static_cast<std::uint8_t>(name[i + k]);
        i += run;
    }
    key.length = static_cast<std::uint8_t>(at);
    key.usable = true;
    return key;
}

int comparePointNameKeys(const PointNameKey& a, const PointNameKey& b) {
    const std::size_t shorter = std::min(a.length, b.length);
    for (std::size_t i = 0; i < shorter; ++i)
        if (a.bytes[i] != b.bytes[i])
            return a.bytes[i] < b.bytes[i] ? -1 : 1;
    return a.length == b.length ? 0 : (a.length < b.length ? -1 : 1);
}

void copyBytesTerminated(char* destination, const char* source, std::size_t n) {
    std::memcpy(destination, source, n);
    destination[n] = '\0';
}

void fillText(char* destination, int n, char character) {
    if (n > 0)
        std::memset(destination, character, static_cast<std::size_t>(n));
}

void fillTextTerminated(char* destination, int n, char character) {
    fillText(destination, n, character);
    destination[std::max(n, 0)] = '\0';
}

int trimRightText(char* text, int mode) {
    std::size_t end = std::strlen(text);
    while (end > 0 && isLineEndOrBlank(text[end - 1]))
        --end;
    text[end] = '\0';
    if (mode != 0) {
        std::size_t first = 0;
        while (first < end && isLineEndOrBlank(text[first]))
            ++first;
        for (std::size_t i = first; i < end; ++i) {
            if (isLineEndOrBlank(text[i]))
                text[i] = '_';
        }
    }
    return static_cast<int>(end);
}

int trimLeftText(char* text) {
    std::size_t start = 0;
    while (text[start] == ' ')
        ++start;
    const std::size_t length = std::strlen(text + start);
    std::memmove(text, text + start, length + 1);
    return static_cast<int>(length);
}

namespace {

// The trimmed text cut to width; `cut` tells whether anything was lost.
std::string alignedCore(int width, std::string_view text, bool& cut) {
    std::string copy(text);
    copy.push_back('\0');
    trimRightText(copy.data(), 0);
    trimLeftText(copy.data());
    copy.resize(std::strlen(copy.c_str()));
    const auto limit = static_cast<std::size_t>(std::max(width, 0));
    cut = copy.size() > limit;
    if (cut)
        copy.resize(limit);
    return copy;
}

} // namespace

int rightAlignText(int width, std::string_view text, char* destination) {
    bool cut = false;
    const std::string core = alignedCore(width, text, cut);
    const int pad = std::max(width, 0) - static_cast<int>(core.size());
    fillText(destination, pad, ' ');
    std::memcpy(destination + pad, core.data(), core.size());
    destination[static_cast<std::size_t>(pad) + core.size()] = '\0';
    return cut ? -1 : 0;
}

int leftAlignText(int width, std::string_view text, char* destination) {
    bool cut = false;
    const std::string core = alignedCore(width, text, cut);
    std::memcpy(destination, core.data(), core.size());
    fillTextTerminated(destination + core.size(),
                       std::max(width, 0) - static_cast<int>(core.size()), ' ');
    return cut ? -1 : 0;
}

int checkNumericId(std::string_view text, int maxLength, long minimum, long maximum) {
    const std::string id = trimmedText(text, 0);
    if (static_cast<int>(id.size()) > maxLength)
        return -2;
    if (!std::all_of(id.begin(), id.end(), isDigit))
        return -1;
    const long value = platform::atolC(id);
    if (value < minimum)
        return -3;
    if (maximum < 0 || value <= maximum)
        return 0;
    return -3;
}

int fileIsMissing(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) != 0 ? 1 : 0;
}

std::string makeUniqueTempName(const std::string& directory, std::string_view extension) {
    static std::minstd_rand generator{std::random_device{}()};
    for (;;) {
        const std::string digits = std::to_string(generator()).substr(0, 5);
        std::string candidate = directory + "TMP" + digits + std::string(extension);
        if (fileIsMissing(candidate))
            return candidate;
    }
}

void splitPath(std::string_view path, std::string* folder, std::string* name,
               std::string* extension) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::string_view fileName = path.substr(nameStart);
    const std::size_t dot = fileName.rfind('.');
    if (folder)
        *folder = std::string(path.substr(0, nameStart));
    if (name)
        *name = std::string(fileName.substr(0, dot));
    if (extension)
        *extension =
            dot == std::string_view::npos ? std::string() : std::string(fileName.substr(dot));
}

} // namespace ptbank
