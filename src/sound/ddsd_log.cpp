#include "sound/ddsd_log.h"

namespace ddsd {

diagnostics::DiagnosticLog& Log() {
    static diagnostics::DiagnosticLog log(
        "ddsd.debug", [](const std::string& msg) { throw EDDSD(msg); }, false, true, true);
    return log;
}

void ReportMessage(const std::string& msg) { Log().ReportMessage(msg); }

std::int32_t CheckResult(std::int32_t code, const std::string& msg) { return Log().CheckResult(code, msg); }

} // namespace ddsd
