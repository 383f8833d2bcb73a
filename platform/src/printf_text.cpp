#include "printf_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <sys/types.h>

namespace platform {
namespace {

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
    double rounded = std::nearbyint(hi);
    const double above = hi - rounded;
    if (above == 0.5 || above == -0.5) {
        const double lo = std::fma(magnitude, scale, -hi);
        if (above == 0.5 && lo > 0)
            rounded += 1;
        else if (above == -0.5 && lo < 0)
            rounded -= 1;
    }
    whole = static_cast<std::uint64_t>(rounded);
    return true;
}

// The decimal digits of a whole number, at least minimumDigits of them.
char* wholeDigits(char* out, std::uint64_t whole, int minimumDigits) {
    char reversed[24];
    int count = 0;
    while (whole != 0) {
        reversed[count++] = static_cast<char>('0' + whole % 10);
        whole /= 10;
    }
    for (int i = count; i < minimumDigits; ++i)
        *out++ = '0';
    while (count > 0)
        *out++ = reversed[--count];
    return out;
}

char* fixedDigitsByScaling(char* out, std::uint64_t whole, int precision) {
    char digits[24];
    const int count = static_cast<int>(wholeDigits(digits, whole, precision + 1) - digits);
    const int integerDigits = count - precision;
    std::memcpy(out, digits, static_cast<std::size_t>(integerDigits));
    out += integerDigits;
    if (precision > 0) {
        *out++ = '.';
        std::memcpy(out, digits + integerDigits, static_cast<std::size_t>(precision));
        out += precision;
    }
    return out;
}

// One conversion of a format: %[flags][width][.precision][length]conversion.
struct Spec {
    bool left = false;
    bool plus = false;
    bool blank = false;
    bool zero = false;
    bool other = false; // a flag this writer leaves to the C library ('#', '\'', 'I')
    int width = 0;
    int precision = -1;
    enum class Length { none, hh, h, l, ll, z, j, t, other } length = Length::none;
    char conversion = 0;
};

// The arguments, shared by reference by the helpers that take them one by
// one: a va_list passed by value may be a copy that the caller's does not
// follow (it is on some processors).
struct Arguments {
    va_list list;
};

constexpr int widthLimit = 1 << 16;

// Reads digits into a count; false when they overflow the limit or a '$'
// (a positional argument) follows them.
bool readCount(const char*& p, int& count) {
    count = 0;
    while (*p >= '0' && *p <= '9') {
        count = count * 10 + (*p++ - '0');
        if (count > widthLimit)
            return false;
    }
    return *p != '$';
}

void readFlags(const char*& p, Spec& spec) {
    for (;; ++p) {
        switch (*p) {
        case '-':
            spec.left = true;
            break;
        case '+':
            spec.plus = true;
            break;
        case ' ':
            spec.blank = true;
            break;
        case '0':
            spec.zero = true;
            break;
        case '#':
        case '\'':
        case 'I':
            spec.other = true;
            break;
        default:
            return;
        }
    }
}

bool readWidth(const char*& p, Spec& spec, Arguments& args) {
    if (*p != '*')
        return readCount(p, spec.width);
    ++p;
    const int width = va_arg(args.list, int);
    if (width < -widthLimit || width > widthLimit)
        return false;
    if (width < 0)
        spec.left = true;
    spec.width = width < 0 ? -width : width;
    return true;
}

bool readPrecision(const char*& p, Spec& spec, Arguments& args) {
    if (*p != '.')
        return true;
    ++p;
    if (*p != '*')
        return readCount(p, spec.precision);
    ++p;
    const int precision = va_arg(args.list, int);
    if (precision > widthLimit)
        return false;
    spec.precision = precision < 0 ? -1 : precision;
    return true;
}

void readLength(const char*& p, Spec& spec) {
    using Length = Spec::Length;
    switch (*p) {
    case 'h':
        ++p;
        spec.length = *p == 'h' ? (++p, Length::hh) : Length::h;
        return;
    case 'l':
        ++p;
        spec.length = *p == 'l' ? (++p, Length::ll) : Length::l;
        return;
    case 'z':
        ++p, spec.length = Length::z;
        return;
    case 'j':
        ++p, spec.length = Length::j;
        return;
    case 't':
        ++p, spec.length = Length::t;
        return;
    case 'L':
    case 'q':
        ++p, spec.length = Length::other;
        return;
    default:
        return;
    }
}

bool readSpec(const char*& p, Spec& spec, Arguments& args) {
    readFlags(p, spec);
    if (!readWidth(p, spec, args) || *p == '*' || !readPrecision(p, spec, args))
        return false;
    readLength(p, spec);
    spec.conversion = *p;
    if (spec.conversion == 0)
        return false;
    ++p;
    return !spec.other && spec.length != Spec::Length::other;
}

char signOf(bool negative, const Spec& spec) {
    if (negative)
        return '-';
    if (spec.plus)
        return '+';
    return spec.blank ? ' ' : 0;
}

long long signedArgument(Spec::Length length, Arguments& args) {
    using Length = Spec::Length;
    switch (length) {
    case Length::hh:
        return static_cast<signed char>(va_arg(args.list, int));
    case Length::h:
        return static_cast<short>(va_arg(args.list, int));
    case Length::l:
        return va_arg(args.list, long);
    case Length::ll:
        return va_arg(args.list, long long);
    case Length::z:
        return va_arg(args.list, ssize_t);
    case Length::j:
        return va_arg(args.list, intmax_t);
    case Length::t:
        return va_arg(args.list, ptrdiff_t);
    default:
        return va_arg(args.list, int);
    }
}

unsigned long long unsignedArgument(Spec::Length length, Arguments& args) {
    using Length = Spec::Length;
    switch (length) {
    case Length::hh:
        return static_cast<unsigned char>(va_arg(args.list, unsigned));
    case Length::h:
        return static_cast<unsigned short>(va_arg(args.list, unsigned));
    case Length::l:
        return va_arg(args.list, unsigned long);
    case Length::ll:
        return va_arg(args.list, unsigned long long);
    case Length::z:
        return va_arg(args.list, size_t);
    case Length::j:
        return va_arg(args.list, uintmax_t);
    case Length::t:
        return static_cast<unsigned long long>(va_arg(args.list, ptrdiff_t));
    default:
        return va_arg(args.list, unsigned);
    }
}

constexpr int integerPrecisionLimit = 24;

// A precision sets the least number of digits (none for a zero at
// precision 0) and turns the zero flag off.
void appendInteger(std::string& out, const Spec& spec, bool negative,
                   unsigned long long magnitude) {
    char digits[integerPrecisionLimit + 1];
    const char* end = wholeDigits(digits, magnitude, spec.precision < 0 ? 1 : spec.precision);
    appendPadded(out, signOf(negative, spec), digits, static_cast<std::size_t>(end - digits),
                 spec.width, spec.left, spec.zero && spec.precision < 0);
}

bool appendConversion(std::string& out, const Spec& spec, Arguments& args) {
    switch (spec.conversion) {
    case 'd':
    case 'i': {
        if (spec.precision > integerPrecisionLimit)
            return false;
        const long long value = signedArgument(spec.length, args);
        const unsigned long long magnitude = value < 0
                                                 ? 0ULL - static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value);
        appendInteger(out, spec, value < 0, magnitude);
        return true;
    }
    case 'u': {
        if (spec.precision > integerPrecisionLimit)
            return false;
        Spec unsignedSpec = spec;
        unsignedSpec.plus = unsignedSpec.blank = false;
        appendInteger(out, unsignedSpec, false, unsignedArgument(spec.length, args));
        return true;
    }
    case 'f':
    case 'F': {
        const double value = va_arg(args.list, double);
        if (!std::isfinite(value) || spec.length == Spec::Length::hh ||
            spec.length == Spec::Length::h || spec.length == Spec::Length::ll ||
            spec.precision > fixedPrecisionLimit)
            return false;
        char digits[fixedDigitsSize];
        const char* end =
            fixedDigits(digits, std::fabs(value), spec.precision < 0 ? 6 : spec.precision);
        appendPadded(out, signOf(std::signbit(value), spec), digits,
                     static_cast<std::size_t>(end - digits), spec.width, spec.left, spec.zero);
        return true;
    }
    case 's': {
        const char* text = va_arg(args.list, const char*);
        if (text == nullptr || spec.zero || spec.length != Spec::Length::none)
            return false;
        const std::size_t size = spec.precision < 0
                                     ? std::strlen(text)
                                     : strnlen(text, static_cast<std::size_t>(spec.precision));
        appendPadded(out, 0, text, size, spec.width, spec.left, false);
        return true;
    }
    case 'c': {
        const char c = static_cast<char>(va_arg(args.list, int));
        if (spec.zero || spec.length != Spec::Length::none)
            return false;
        appendPadded(out, 0, &c, 1, spec.width, spec.left, false);
        return true;
    }
    default:
        return false;
    }
}

// The text of the format with each conversion written; false at the
// first conversion this writer leaves to the C library.
bool appendConversions(std::string& out, const char* fmt, Arguments& args) {
    const char* p = fmt;
    while (*p != 0) {
        const char* percent = std::strchr(p, '%');
        if (percent == nullptr) {
            out.append(p);
            return true;
        }
        out.append(p, static_cast<std::size_t>(percent - p));
        p = percent + 1;
        if (*p == '%') {
            out.push_back('%');
            ++p;
            continue;
        }
        Spec spec;
        if (!readSpec(p, spec, args) || !appendConversion(out, spec, args))
            return false;
    }
    return true;
}

} // namespace

char* fixedDigits(char* out, double magnitude, int precision) {
    std::uint64_t whole = 0;
    if (roundScaled(magnitude, precision, whole))
        return fixedDigitsByScaling(out, whole, precision);
    // std::to_chars rounds the exact binary value half to even, as printf
    // does in the default rounding mode, and never reads the locale.
    return std::to_chars(out, out + fixedDigitsSize, magnitude, std::chars_format::fixed, precision)
        .ptr;
}

void appendPadded(std::string& out, char sign, const char* body, std::size_t bodySize, int width,
                  bool leftAligned, bool zeroPadded) {
    const std::size_t length = (sign != 0 ? 1 : 0) + bodySize;
    const std::size_t pad = width > 0 && static_cast<std::size_t>(width) > length
                                ? static_cast<std::size_t>(width) - length
                                : 0;
    if (!leftAligned && !zeroPadded)
        out.append(pad, ' ');
    if (sign != 0)
        out.push_back(sign);
    if (!leftAligned && zeroPadded)
        out.append(pad, '0');
    out.append(body, bodySize);
    if (leftAligned)
        out.append(pad, ' ');
}

bool appendPrintf(std::string& out, const char* fmt, va_list list) {
    Arguments args;
    va_copy(args.list, list);
    const bool written = appendConversions(out, fmt, args);
    va_end(args.list);
    return written;
}
} // namespace platform
