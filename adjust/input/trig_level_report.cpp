#include "input/level_reduction.hpp"
#include "input/level_reports.hpp"
#include "model/angle_text.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"

using platform::formatC;

namespace {

// The elevations of the foresights to `name` from `first` up to `end`, each
// from the average HI with its own rod height; the last of them gets the
// group's average. The average, or unset when no sighting had a value.
class foresightPass {
public:
    foresightPass(std::vector<trigLevelRec>& records, std::vector<bool>& done)
        : records_(records), done_(done) {}

    double assign(std::string_view name, std::size_t first, std::size_t end, double averageHi,
                  double rodHeight) {
        double sum = 0.0;
        int count = 0;
        std::size_t last = first;
        for (std::size_t m = first; m < end; ++m) {
            trigLevelRec& r = records_[m];
            if (r.kind == trigRodSetting && isSet(r.rodHeight))
                rodHeight = r.rodHeight;
            if (r.kind != trigForesight || done_[m] || !sameName(fixedText(r.name), name))
                continue;
            done_[m] = true;
            if (!isSet(averageHi) || !isSet(r.vertical))
                continue;
            const double sighted = faceCorrectedVertical(r) + rodHeight;
            r.reportValue = averageHi - sighted;
            sum += sighted;
            ++count;
            last = m;
        }
        if (count == 0)
            return notComputed;
        records_[last].average = averageHi - sum / count;
        records_[last].groupEnd = 1;
        return records_[last].average;
    }

private:
    std::vector<trigLevelRec>& records_;
    std::vector<bool>& done_;
};

// The index of the next benchmark or backsight after `i`, or the end.
std::size_t nextSetupStart(const std::vector<trigLevelRec>& records, std::size_t i) {
    for (std::size_t j = i + 1; j < records.size(); ++j)
        if (records[j].kind == trigBenchmark || records[j].kind == trigBacksight)
            return j;
    return records.size();
}

std::string part(const char* format, double value) {
    return isSet(value) ? formatC(format, value) : std::string();
}

std::string descriptionPart(const std::string& description) {
    return description.empty() ? std::string() : "Desc: " + description;
}

std::string zenithPart(double zenith) {
    return isSet(zenith) ? formatC("ZE:%10.10s", angleToText(zenith).c_str()) : std::string();
}

void writeSighting(int handle, const trigLevelRec& r, const char* caption, const char* valueFormat,
                   const char* averageFormat) {
    writeLine(handle, formatC("%s  Name: %-10.10s %s %s %s %s %s %s", caption,
                              fixedText(r.name).data(), part("SD:%9.3f", r.slopeDistance).c_str(),
                              zenithPart(r.zenith).c_str(), part("VD:%9.3f", r.vertical).c_str(),
                              part("HD:%9.3f", r.horizontalDistance).c_str(),
                              part(valueFormat, r.reportValue).c_str(),
                              descriptionPart(r.description).c_str()));
    if (r.groupEnd != 0 && isSet(r.average)) {
        writeLine(handle, formatC("%74c %s", ' ', formatC(averageFormat, r.average).c_str()));
        writeLine(handle, "");
    }
}

void writeTrigRecord(int handle, const trigLevelRec& r) {
    switch (r.kind) {
    case trigBenchmark:
        writeLine(handle, formatC(" Benchmark:  Name: %-10.10s  El: %10.3f  %s",
                                  std::string(fixedText(r.name)).c_str(), r.elevation,
                                  descriptionPart(r.description).c_str()));
        break;
    case trigBacksight:
        writeSighting(handle, r, " Backsight:", "HI:%10.3f", "Average HI:%10.3f");
        break;
    case trigForesight:
        writeSighting(handle, r, " Foresight:", "EL:%10.3f", "Average EL:%10.3f");
        break;
    case trigRodSetting:
        writeLine(handle, formatC(" Rod:        Rod Ht. %10.3f", r.rodHeight));
        break;
    case trigComment:
        writeLine(handle, formatC(" Comment:    %s", r.description.c_str()));
        break;
    case trigHeader1:
        writeLine(handle,
                  formatC(" Header1:    Operator:%s  loop Name: %s  Project Name:%s",
                          r.operatorName.c_str(), r.loopName.c_str(), r.projectName.c_str()));
        break;
    case trigHeader2:
        writeLine(handle, " Header2:    date:" + r.date + "  pressure: " + r.pressure +
                              "  temperature:" + r.temperature + " time:" + r.time);
        break;
    default:
        break;
    }
}

} // namespace

void computeTrigReportValues(std::vector<trigLevelRec>& records) {
    std::vector<bool> done(records.size(), false);
    foresightPass foresights(records, done);
    double reference = notComputed; // elevation the next setup's backsights start from
    double rodHeight = 0.0;
    double averageHi = notComputed;
    bool inBacksightRun = false;
    double runSum = 0.0;
    int runCount = 0;
    std::size_t lastBacksight = 0;
    double rodAtLastBacksight = 0.0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        trigLevelRec& r = records[i];
        switch (r.kind) {
        case trigBenchmark:
            reference = r.elevation;
            break;
        case trigRodSetting:
            if (isSet(r.rodHeight))
                rodHeight = r.rodHeight;
            break;
        case trigBacksight:
            if (!inBacksightRun) {
                inBacksightRun = true;
                runSum = 0.0;
                runCount = 0;
            }
            if (isSet(r.vertical) && isSet(reference)) {
                r.reportValue = reference + faceCorrectedVertical(r) + rodHeight;
                runSum += faceCorrectedVertical(r);
                ++runCount;
            }
            lastBacksight = i;
            rodAtLastBacksight = rodHeight;
            break;
        case trigForesight: {
            const std::size_t end = nextSetupStart(records, i);
            if (inBacksightRun) {
                inBacksightRun = false;
                averageHi = notComputed;
                if (runCount > 0) {
                    averageHi = reference + runSum / runCount + rodAtLastBacksight;
                    records[lastBacksight].average = averageHi;
                    records[lastBacksight].groupEnd = 1;
                }
                reference = notComputed;
                if (end < records.size())
                    reference = foresights.assign(fixedText(records[end].name), i, end, averageHi,
                                                  rodHeight);
            }
            if (!done[i])
                foresights.assign(fixedText(r.name), i, end, averageHi, rodHeight);
            break;
        }
        default:
            break;
        }
    }
}

int writeUnadjustedTrigLevelReport(int handle) {
    std::vector<trigLevelRec> records = recordsOf(trigLevelList);
    computeTrigReportValues(records);
    storeRecords(trigLevelList, records);
    writeLine(handle, "Unadjusted Trigonometric Level Report");
    writeLine(handle, "");
    for (const trigLevelRec& r : records)
        writeTrigRecord(handle, r);
    writeLine(handle, "");
    return 0;
}
