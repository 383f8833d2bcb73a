#include "text_exchange.hpp"

#include "ptbank/crd_text.hpp"
#include "ptbank/vk_crd_api.h"
#include "ptbank/vk_crd_handles.hpp"

#include "platform/c_locale_text.hpp"
#include "platform/file_replace.hpp"

namespace ptbank {
namespace {

constexpr const char* exportTitle = "Converting from Coordinates";

// One point as a QMX line.
std::string qmxLine(const crdPointRec& point) {
    const crdShortPointRec p = trimmedShortPoint(point);
    return platform::formatC("%s,%.10f,%.10f,%.10f,%s,%s\r\n", p.name, p.northing, p.easting,
                             p.elevation, p.code, p.description);
}

} // namespace
} // namespace ptbank

extern "C" int QMXfromCRD(const char* crdPath, const char* textPath) {
    using namespace ptbank;
    const std::string source = crdPath ? crdPath : "";
    const std::string target = textPath ? textPath : "";
    if (!openExchangeFile(source, false))
        return finishTextExchange(exportTitle, exchange_message::inputOpenFailed, source);
    CfInfoStruct& info = defaultCfInfo();
    crdPointRec point{};
    if (cfFirstPoint(info, point) != cf_result::ok)
        return finishTextExchange(exportTitle, exchange_message::inputEmpty, source);
    std::string contents;
    do
        contents += qmxLine(point);
    while (cfNextPoint(point.name, point, info) == 1);
    std::string error;
    if (target.empty() || !platform::replaceFile(target, contents, error))
        return finishTextExchange(exportTitle, exchange_message::openFailed, target);
    return finishTextExchange(exportTitle, exchange_message::none, "");
}
