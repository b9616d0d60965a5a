#include "diagnostics/dddd_log.h"

namespace dddd {

diagnostics::DiagnosticLog& Log() {
    static diagnostics::DiagnosticLog log("dddd.debug", nullptr, false, true, false);
    return log;
}

void ReportMessage(const std::string& msg) { Log().ReportMessage(msg); }

std::int32_t CheckResult(std::int32_t code, const std::string& msg) { return Log().CheckResult(code, msg); }

} // namespace dddd
