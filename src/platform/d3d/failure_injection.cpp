#include "platform/d3d/failure_injection.h"

#include <array>

namespace d3d {

namespace {

struct Injection {
    HRESULT result = D3D_OK;
    int skip = 0;
    int times = 0;
    int calls = 0;
};

std::array<Injection, static_cast<std::size_t>(Operation::Count_)> gInjections;

Injection& At(Operation op) {
    return gInjections[static_cast<std::size_t>(op)];
}

} // namespace

void InjectFailure(Operation op, HRESULT result, int skip, int times) {
    Injection& injection = At(op);
    injection.result = result;
    injection.skip = skip;
    injection.times = times;
}

void ResetFailureInjection() {
    gInjections = {};
}

int CallCount(Operation op) {
    return At(op).calls;
}

HRESULT EnterOperation(Operation op) {
    Injection& injection = At(op);
    ++injection.calls;
    if (injection.times <= 0) {
        return D3D_OK;
    }
    if (injection.skip > 0) {
        --injection.skip;
        return D3D_OK;
    }
    --injection.times;
    return injection.result;
}

} // namespace d3d
