#include "platform/c_locale_text.hpp"

#include <cerrno>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
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

} // namespace

// Formats into a buffer on the stack first and only measures and formats a
// second time when the text is longer: report lines are short, and the C
// library's formatting is most of the time of writing a large report.
std::string formatC(const char* fmt, ...) {
    CLocaleScope scope;
    va_list args;
    va_start(args, fmt);
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

// |value| × 10^precision rounded to a whole number as the exact decimal
// expansion of the binary value rounds, half to even: the product's
// rounding error (lo, exact through fma) decides only when the rounded
// product (hi) lies exactly halfway. Exact while hi < 2^52, where every
// multiple of half a unit is a double, and 10^precision is exact.
bool roundScaled(double magnitude, int precision, std::uint64_t& whole) {
    static constexpr double powersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (precision >= static_cast<int>(std::size(powersOfTen)))
        return false;
    const double scale = powersOfTen[precision];
    const double hi = magnitude * scale;
    if (!(hi < 4503599627370496.0)) // 2^52
        return false;
    const double lo = std::fma(magnitude, scale, -hi);
    double rounded = std::nearbyint(hi);
    const double above = hi - rounded;
    if (above == 0.5 && lo > 0)
        rounded += 1;
    else if (above == -0.5 && lo < 0)
        rounded -= 1;
    whole = static_cast<std::uint64_t>(rounded);
    return true;
}

// printf's "%.*f" text of a value whose scaled magnitude roundScaled takes;
// null when it does not take it.
char* writeFixedByScaling(char* out, double value, int precision) {
    std::uint64_t whole = 0;
    if (!roundScaled(std::fabs(value), precision, whole))
        return nullptr;
    char reversed[24];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    while (count <= precision)
        reversed[count++] = '0';
    if (std::signbit(value))
        *out++ = '-';
    for (int i = count - 1; i >= 0; --i) {
        *out++ = reversed[i];
        if (i == precision && precision > 0)
            *out++ = '.';
    }
    return out;
}

// The longest precision the fast path takes, and room for the longest text
// it makes: the 309 digits of the largest double, sign, point and decimals.
constexpr int fastPrecisionLimit = 40;
constexpr std::size_t fixedDigitsSize = 309 + 2 + fastPrecisionLimit;

} // namespace

std::string formatFixed(double value, int width, int precision, char flag) {
    if (width < 0 || precision < 0 || precision > fastPrecisionLimit || !std::isfinite(value))
        return formatFixedByPrintf(value, width, precision, flag);
    char digits[fixedDigitsSize];
    const char* end = writeFixedByScaling(digits, value, precision);
    if (end == nullptr) {
        // std::to_chars rounds the exact binary value half to even, as printf
        // does in the default rounding mode, and never reads the locale.
        const auto [charsEnd, error] = std::to_chars(digits, digits + sizeof digits, value,
                                                     std::chars_format::fixed, precision);
        if (error != std::errc())
            return formatFixedByPrintf(value, width, precision, flag);
        end = charsEnd;
    }
    std::string_view body(digits, static_cast<std::size_t>(end - digits));
    const bool negative = !body.empty() && body.front() == '-';
    if (negative)
        body.remove_prefix(1);
    const std::size_t signSize = negative || flag == ' ' ? 1 : 0;
    const std::size_t length = signSize + body.size();
    const std::size_t pad = width > 0 && static_cast<std::size_t>(width) > length
                                ? static_cast<std::size_t>(width) - length
                                : 0;
    std::string out;
    out.reserve(length + pad);
    if (flag != '0')
        out.append(pad, ' ');
    if (signSize > 0)
        out.push_back(negative ? '-' : ' ');
    if (flag == '0')
        out.append(pad, '0');
    out.append(body);
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

// std::from_chars rounds a decimal to the nearest double as strtod does,
// without copying the text or switching the locale: a raw file's millions
// of fields spent a tenth of the reading in that copy and switch.
std::optional<double> plainDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

double atofC(std::string_view text) {
    const std::string_view trimmed = trimBlanks(text);
    if (isPlainDecimal(trimmed))
        if (const std::optional<double> value = plainDecimal(trimmed))
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
    if (isPlainDecimal(trimmed))
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
