#pragma once
// A table of injected failures, one row per operation of a platform
// stand-in: tests make chosen operations answer an error and count calls.
// Each stand-in keeps one table for its own enumeration of operations.

#include <array>
#include <cstddef>
#include <cstdint>

namespace base {

template <typename Operation, std::size_t Count>
class FailureTable {
public:
    // The next `times` calls of op after `skip` successful ones answer
    // `result`. A later call for the same op replaces it.
    void Inject(Operation op, std::int32_t result, int skip, int times) {
        Row& row = At(op);
        row.result = result;
        row.skip = skip;
        row.times = times;
    }
    void Reset() { rows_ = {}; }
    int Calls(Operation op) { return At(op).calls; }

    // Counts the call; answers the injected result, or 0 to go on.
    std::int32_t Enter(Operation op) {
        Row& row = At(op);
        ++row.calls;
        if (row.times <= 0)
            return 0;
        if (row.skip > 0) {
            --row.skip;
            return 0;
        }
        --row.times;
        return row.result;
    }

private:
    struct Row {
        std::int32_t result = 0;
        int skip = 0;
        int times = 0;
        int calls = 0;
    };
    Row& At(Operation op) { return rows_[static_cast<std::size_t>(op)]; }
    std::array<Row, Count> rows_{};
};

} // namespace base
