#include "platform/ddraw/interface_extension.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace ddraw {

namespace {

std::vector<std::pair<GUID, InterfaceMaker>>& Makers() {
    static std::vector<std::pair<GUID, InterfaceMaker>> makers;
    return makers;
}

} // namespace

void SetInterfaceMaker(const GUID& iid, InterfaceMaker make) {
    auto& makers = Makers();
    std::erase_if(makers, [&iid](const auto& entry) { return entry.first == iid; });
    if (make) {
        makers.emplace_back(iid, make);
    }
}

InterfaceMaker FindInterfaceMaker(const GUID& iid) {
    const auto& makers = Makers();
    const auto it = std::find_if(makers.begin(), makers.end(),
                                 [&iid](const auto& entry) { return entry.first == iid; });
    return it == makers.end() ? nullptr : it->second;
}

} // namespace ddraw
