#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_io.hpp"

#include "platform/sentinels.hpp"

#include <algorithm>
#include <cstring>

namespace ptbank {
namespace {

// The text, then zeros to the field's end: each byte is written once.
template <std::size_t N> void setField(char (&field)[N], std::string_view text) {
    const std::size_t length = std::min(text.size(), N - 1);
    if (length > 0)
        std::memmove(field, text.data(), length);
    std::memset(field + length, 0, N - length);
}

void plainCopy(const crdIoPointRec& in, crdIoPointRec& out) {
    out.copyFrom(in);
}

} // namespace

void crdIoPointRec::fill(double e, double n, double z, std::string_view pointName,
                         std::string_view desc, std::string_view pointCode) {
    easting = e;
    northing = n;
    elevation = z;
    reserved = 0;
    setName(pointName);
    setDescription(desc);
    setCode(pointCode);
}

void crdIoPointRec::setName(std::string_view text) {
    setField(name, text);
}
void crdIoPointRec::setDescription(std::string_view text) {
    setField(description, text);
}
void crdIoPointRec::setCode(std::string_view text) {
    setField(code, text);
}

void crdIoPointRec::clear() {
    fill(0.0, 0.0, 0.0, {}, {}, {});
}

void crdIoPointRec::copyFrom(const crdIoPointRec& other) {
    if (this == &other)
        return;
    // The other record's texts are its own zero-terminated fields.
    fill(other.easting, other.northing, other.elevation, other.name, other.description, other.code);
}

void packCodeIntoDescription(const crdIoPointRec& source, crdIoPointRec& target) {
    const std::string_view code = source.code;
    if (code.find_first_not_of(' ') != std::string_view::npos) {
        std::string packed(code);
        packed += '/';
        packed += source.description;
        target.setDescription(packed);
    }
    target.setCode({});
}

void unpackCodeFromDescription(const crdIoPointRec& source, crdIoPointRec& target) {
    const std::string_view description = source.description;
    const std::size_t slash = description.find('/');
    if (slash == std::string_view::npos || slash > 4)
        return;
    // The fields are set with memmove, so the description may be the
    // target's own.
    target.setCode(description.substr(0, slash));
    target.setDescription(description.substr(slash + 1));
}

void toNeutralRecord(int type, const crdIoPointRec& in, crdIoPointRec& out) {
    plainCopy(in, out);
    switch (type) {
    case crd_type::numeric:
    case crd_type::alphanumeric:
        if (in.elevation == 0.0)
            out.elevation = missingElevation;
        else if (in.elevation == draftlineTrueZeroElevation)
            out.elevation = 0.0;
        unpackCodeFromDescription(in, out);
        break;
    case crd_type::plainview:
        if (in.elevation <= plainviewNoElevation)
            out.elevation = missingElevation;
        break;
    case crd_type::landDesktop:
        if (in.elevation < -999.9)
            out.elevation = missingElevation;
        break;
    default:
        break;
    }
}

void fromNeutralRecord(int type, const crdIoPointRec& in, crdIoPointRec& out) {
    plainCopy(in, out);
    switch (type) {
    case crd_type::numeric:
    case crd_type::alphanumeric:
        if (in.elevation == missingElevation)
            out.elevation = 0.0;
        else if (in.elevation == 0.0)
            out.elevation = draftlineTrueZeroElevation;
        packCodeIntoDescription(in, out);
        break;
    case crd_type::plainview:
        if (in.elevation == missingElevation)
            out.elevation = plainviewNoElevation;
        break;
    case crd_type::landDesktop:
        if (in.elevation == missingElevation)
            out.elevation = landDesktopNoElevation;
        break;
    default:
        break;
    }
}

void convertCrdRecord(int fromType, int toType, const crdIoPointRec& in, crdIoPointRec& out) {
    if (fromType == toType) {
        out.copyFrom(in);
        return;
    }
    // Records read from a file are converted where they stand, many times a
    // second, without a neutral copy.
    if (&in == &out) {
        toNeutralRecord(fromType, out, out);
        fromNeutralRecord(toType, out, out);
        out.reserved = 0;
        return;
    }
    crdIoPointRec neutral;
    toNeutralRecord(fromType, in, neutral);
    fromNeutralRecord(toType, neutral, out);
}

} // namespace ptbank
