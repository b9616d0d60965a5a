#include "platform/component/desktop.h"

#include <stdexcept>

namespace ui {

namespace {
Desktop* installed = nullptr;
}

Desktop& CurrentDesktop() {
    if (!installed)
        throw std::logic_error("no desktop services installed");
    return *installed;
}

Desktop* SetDesktop(Desktop* desktop) {
    Desktop* previous = installed;
    installed = desktop;
    return previous;
}

} // namespace ui
