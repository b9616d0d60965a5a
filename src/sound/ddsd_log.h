#pragma once
// The sound layer's reporter and result check: "ddsd.debug", exception class
// EDDSD, ending the program after a failure.

#include "base/errors.h"
#include "diagnostics/diagnostic_log.h"

namespace ddsd {

class EDDSD : public base::Exception {
public:
    using base::Exception::Exception;
};

diagnostics::DiagnosticLog& Log();
void ReportMessage(const std::string& msg);
std::int32_t CheckResult(std::int32_t code, const std::string& msg);

} // namespace ddsd
