#include "platform/c_locale_text.hpp"

#include "printf_text.hpp"

#include <cerrno>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string_view>

namespace platform {
namespace {

locale_t cLocale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t{});
    return loc;
}

// Switches the calling thread to the C locale for the lifetime of the guard.
class CLocaleScope {
public:
    CLocaleScope() : previous_(uselocale(cLocale())) {}
    ~CLocaleScope() { uselocale(previous_); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous_;
};

std::string_view trimBlanks(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The C library's formatting, for what appendPrintf leaves to it: into a
// buffer on the stack first, measured and formatted again only when longer.
std::string formatByCLibrary(const char* fmt, va_list args) {
    CLocaleScope scope;
    va_list copy;
    va_copy(copy, args);
    char buffer[256];
    const int needed = std::vsnprintf(buffer, sizeof buffer, fmt, copy);
    va_end(copy);
    std::string out;
    if (needed > 0 && static_cast<size_t>(needed) < sizeof buffer) {
        out.assign(buffer, static_cast<size_t>(needed));
    } else if (needed > 0) {
        out.resize(static_cast<size_t>(needed) + 1);
        std::vsnprintf(out.data(), out.size(), fmt, args);
        out.resize(static_cast<size_t>(needed));
    }
    return out;
}

} // namespace

std::string formatC(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string out;
    if (!appendPrintf(out, fmt, args))
        out = formatByCLibrary(fmt, args);
    va_end(args);
    return out;
}

namespace {

// printf itself, for what the fast path of formatFixed leaves to it.
std::string formatFixedByPrintf(double value, int width, int precision, char flag) {
    if (flag == ' ')
        return formatC("% *.*f", width, precision, value);
    if (flag == '0')
        return formatC("%0*.*f", width, precision, value);
    return formatC("%*.*f", width, precision, value);
}

} // namespace

std::string formatFixed(double value, int width, int precision, char flag) {
    if (width < 0 || precision < 0 || precision > fixedPrecisionLimit || !std::isfinite(value))
        return formatFixedByPrintf(value, width, precision, flag);
    char digits[fixedDigitsSize];
    const char* end = fixedDigits(digits, std::fabs(value), precision);
    const char sign = std::signbit(value) ? '-' : flag == ' ' ? ' ' : 0;
    std::string out;
    appendPadded(out, sign, digits, static_cast<std::size_t>(end - digits), width, false,
                 flag == '0');
    return out;
}

bool isDataNumber(double value) {
    return std::isfinite(value) && std::fabs(value) <= largestDataNumber;
}

namespace {

// A sign, digits and at most one point, with at least one digit: how every
// number field of a data file is written.
bool isPlainDecimal(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    bool digit = false;
    bool point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

// A plain decimal (isPlainDecimal) read by std::from_chars, which rounds
// it to the nearest double as strtod does, without copying the text or
// switching the locale: a raw file's millions of fields spent a tenth of
// the reading in that copy and switch. None for any other text.
std::optional<double> plainDecimal(std::string_view text) {
    if (!isPlainDecimal(text))
        return std::nullopt;
    if (text.front() == '+')
        text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

double atofC(std::string_view text) {
    if (const std::optional<double> value = plainDecimal(trimBlanks(text)))
        return *value;
    const std::string copy(text);
    const double value = strtod_l(copy.c_str(), nullptr, cLocale());
    return std::isfinite(value) ? value : 0.0;
}

long atolC(std::string_view text) {
    const std::string copy(text);
    return strtol_l(copy.c_str(), nullptr, 10, cLocale());
}

int atoiC(std::string_view text) {
    const long value = atolC(text);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

std::optional<double> parseDouble(std::string_view text) {
    const std::string_view trimmed = trimBlanks(text);
    if (const std::optional<double> value = plainDecimal(trimmed))
        return value;
    const std::string copy(trimmed);
    if (copy.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = strtod_l(copy.c_str(), &end, cLocale());
    if (end != copy.c_str() + copy.size() || errno == ERANGE || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<long> parseLong(std::string_view text) {
    const std::string copy(trimBlanks(text));
    if (copy.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long value = strtol_l(copy.c_str(), &end, 10, cLocale());
    if (end != copy.c_str() + copy.size() || errno == ERANGE)
        return std::nullopt;
    return value;
}

std::optional<double> parseDataNumber(std::string_view text) {
    const std::string_view trimmed = trimBlanks(text);
    if (trimmed.find_first_not_of("0123456789+-.eE") != std::string_view::npos)
        return std::nullopt;
    const std::optional<double> value = parseDouble(trimmed);
    if (!value || !isDataNumber(*value))
        return std::nullopt;
    return value;
}

bool startsWithNonDataNumber(std::string_view text) {
    const std::string copy(text);
    char* end = nullptr;
    const double value = strtod_l(copy.c_str(), &end, cLocale());
    return end != copy.c_str() && !isDataNumber(value);
}

} // namespace platform
