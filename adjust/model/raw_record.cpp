#include "model/raw_record.hpp"

namespace {

rawRec& blankOfKind(rawRec& record, rawKind kind) {
    record = rawRec{};
    record.kind = kind;
    return record;
}

} // namespace

rawRec& initRawSetup(rawRec& record) {
    return blankOfKind(record, rawSetup);
}

rawRec& initRawForesight(rawRec& record) {
    return blankOfKind(record, rawForesight);
}

rawRec& initRawCoord(rawRec& record) {
    return blankOfKind(record, rawCoord);
}

rawRec& initRawStdErrs(rawRec& record) {
    return blankOfKind(record, rawStdErrs);
}

rawRec& initRawAzimuth(rawRec& record) {
    rawRec blank;
    blank.kind = rawAzimuth;
    blank.azimuth = 1.0;
    setPointName(blank.fromName, fixedText(record.fromName));
    setPointName(blank.toName, fixedText(record.toName));
    record = blank;
    return record;
}

int ignoreRawRecord(std::string_view, rawRec&) {
    return 1;
}
