#pragma once
// The input layer's reporter and result check: "ddid.debug", exception class
// EDDID, ending the program after a failure.

#include "base/errors.h"
#include "diagnostics/diagnostic_log.h"

namespace ddid {

class EDDID : public base::Exception {
public:
    using base::Exception::Exception;
};

diagnostics::DiagnosticLog& Log();
void ReportMessage(const std::string& msg);
std::int32_t CheckResult(std::int32_t code, const std::string& msg);

} // namespace ddid
