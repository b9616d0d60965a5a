#include "platform/ddraw/failure_injection.h"

#include "base/failure_table.h"

namespace ddraw {

namespace {

base::FailureTable<Operation, static_cast<std::size_t>(Operation::Count_)>& Table() {
    static base::FailureTable<Operation, static_cast<std::size_t>(Operation::Count_)> table;
    return table;
}

} // namespace

void InjectFailure(Operation op, HRESULT result, int skip, int times) { Table().Inject(op, result, skip, times); }

void ResetFailureInjection() { Table().Reset(); }

int CallCount(Operation op) { return Table().Calls(op); }

HRESULT EnterOperation(Operation op) { return Table().Enter(op); }

} // namespace ddraw
