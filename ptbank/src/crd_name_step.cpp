#include "ptbank/crd_name_step.hpp"

#include "ptbank/crd_file.hpp"
#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_text.hpp"

#include "platform/c_locale_text.hpp"

#include <climits>

namespace ptbank {
namespace {

constexpr std::size_t stepWidth = 255;
constexpr long numericLowest = 1;
constexpr long numericHighest = 99999;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

long saturatingAdd(long a, long b) {
    long sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? LONG_MAX : LONG_MIN;
    return sum;
}

std::string decimal(long value) {
    return platform::formatC("%ld", value);
}

struct SplitName {
    std::string prefix;
    std::string number;
    std::string suffix;
    // Where a '.' stood inside the number, or -1.
    int dotPosition = -1;
};

SplitName splitAtFirstNumber(const std::string& name) {
    SplitName split;
    std::size_t i = 0;
    while (i < name.size() && !isDigit(name[i]) && name[i] != '-')
        split.prefix += name[i++];
    for (; i < name.size(); ++i) {
        const char c = name[i];
        if (isDigit(c) || c == '-') {
            split.number += c;
        } else if (c == '.') {
            split.dotPosition = static_cast<int>(split.number.size());
        } else {
            split.suffix = name.substr(i);
            break;
        }
    }
    return split;
}

std::string nameWithoutNumber(const std::string& prefix, int step) {
    if (step >= 2)
        return prefix + decimal(step);
    if (prefix.size() == 1 && prefix[0] != 'Z' && prefix[0] != 'z')
        return std::string(1, static_cast<char>(prefix[0] + 1));
    return prefix + "2";
}

// Raises the rightmost letter of the suffix that stays a letter; when none
// can be raised every Z and z wraps to A and a and the carry is returned.
long stepLetters(std::string& suffix) {
    for (std::size_t i = suffix.size(); i-- > 0;) {
        if (isLetter(suffix[i]) && isLetter(static_cast<char>(suffix[i] + 1))) {
            ++suffix[i];
            return 0;
        }
    }
    for (char& c : suffix) {
        if (c == 'Z')
            c = 'A';
        else if (c == 'z')
            c = 'a';
    }
    return 1;
}

// A numeric file stores the names 1 to 99999 only.
int holdToNumericFile(CrdFile& file, std::string& name) {
    const CrdIO* io = file.backEnd();
    if (!io || io->fileType() != crd_type::numeric)
        return 1;
    const long value = platform::atolC(name);
    if (value < numericLowest) {
        name = decimal(numericLowest);
        return 0;
    }
    if (value > numericHighest) {
        name = decimal(numericHighest);
        return 0;
    }
    name = decimal(value);
    return 1;
}

std::string rightJustifiedForStep(const std::string& text) {
    if (text.size() > stepWidth)
        return std::string(stepWidth, 'X');
    return std::string(stepWidth - text.size(), ' ') + text;
}

} // namespace

int incrementPointName(CrdFile& file, std::string& name, int step) {
    if (step == 0)
        return 1;
    if (name.empty()) {
        name = decimal(step);
        return 1;
    }
    SplitName split = splitAtFirstNumber(name);
    if (split.number.empty()) {
        name = nameWithoutNumber(split.prefix, step);
        return holdToNumericFile(file, name);
    }
    long n = platform::atolC(split.number);
    if (split.suffix.find_first_of("0123456789-") != std::string::npos) {
        const int result = incrementPointName(file, split.suffix, step);
        name = split.prefix + decimal(n) + split.suffix;
        return result;
    }
    if (split.suffix.empty() || !split.prefix.empty()) {
        n = saturatingAdd(n, step);
    } else {
        for (int i = 0; i < step; ++i)
            n = saturatingAdd(n, stepLetters(split.suffix));
    }
    if (n < 0)
        n = n == LONG_MIN ? LONG_MAX : -n;
    std::string number = decimal(n);
    if (split.dotPosition > 0 && split.dotPosition < static_cast<int>(number.size()))
        number.insert(static_cast<std::size_t>(split.dotPosition), 1, '.');
    name = split.prefix + number + split.suffix;
    return holdToNumericFile(file, name);
}

int incrementNameText(const std::string& in, std::string& out, int step) {
    const std::string text = in.substr(std::min(in.find_first_not_of(' '), in.size()));
    std::string prefix(text.size(), ' ');
    std::string number(text.size(), ' ');
    std::string suffix(text.size(), ' ');
    enum class Part { suffix, number, prefix } part = Part::suffix;
    for (std::size_t i = text.size(); i-- > 0;) {
        const char c = text[i];
        if (part == Part::suffix && isDigit(c))
            part = Part::number;
        else if (part == Part::number && !isDigit(c))
            part = Part::prefix;
        (part == Part::suffix ? suffix : part == Part::number ? number : prefix)[i] = c;
    }
    if (part != Part::suffix) {
        const long value = saturatingAdd(platform::atolC(number), step);
        const std::string stepped = trimmedText(prefix) + decimal(value) + trimmedText(suffix);
        out = rightJustifiedForStep(stepped);
        return 0;
    }
    out = rightJustifiedForStep(text.size() < stepWidth ? text + "1" : std::string(stepWidth, 'X'));
    return 0;
}

} // namespace ptbank
