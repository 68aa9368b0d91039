#include "tools/demo_site/version_file_writer.h"

#include "platform/text.h"

namespace demo {

std::string GlobalSection(const std::string& serviceUrl) {
    return "[global]\r\nversion=1\r\nurl=" + serviceUrl + "\r\n\r\n";
}

std::string BuildSection(const OfferedBuild& offer) {
    return platform::FormatAnsi(
        "[%s:%u:%u]\r\nname=%s\r\nversion=%s\r\nbuild=%s\r\ndate=%04u%02u%02u\r\nmethod=GET\r\n"
        "url=%s\r\nres_id=%u\r\nlang_id=%s\r\n%s%s%s\r\n",
        offer.family.c_str(), offer.installCode, offer.keyProductId, offer.name.c_str(),
        offer.version.c_str(), offer.build.c_str(), offer.date.year, offer.date.month,
        offer.date.day, offer.packageUrl.c_str(), offer.installCode, offer.language.c_str(),
        offer.sha256.empty() ? "" : "sha256=", offer.sha256.c_str(),
        offer.sha256.empty() ? "" : "\r\n");
}

} // namespace demo
