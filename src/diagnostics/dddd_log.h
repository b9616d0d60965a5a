#pragma once
// The display layer's reporter and result check: "dddd.debug", no exception
// class, going on after a failure.

#include "diagnostics/diagnostic_log.h"

namespace dddd {

diagnostics::DiagnosticLog& Log();
void ReportMessage(const std::string& msg);
std::int32_t CheckResult(std::int32_t code, const std::string& msg);

} // namespace dddd
