#include "input/ddid_log.h"

namespace ddid {

diagnostics::DiagnosticLog& Log() {
    static diagnostics::DiagnosticLog log(
        "ddid.debug", [](const std::string& msg) { throw EDDID(msg); }, false, true, true);
    return log;
}

void ReportMessage(const std::string& msg) { Log().ReportMessage(msg); }

std::int32_t CheckResult(std::int32_t code, const std::string& msg) { return Log().CheckResult(code, msg); }

} // namespace ddid
