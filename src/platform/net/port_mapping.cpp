#include "platform/net/port_mapping.h"

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <miniupnpc/upnperrors.h>

namespace net {

namespace {

constexpr char kDescription[] = "pimuru online";
// The router forgets the mapping after this long if the game cannot take it back (crash, power
// cut).
constexpr char kLeaseSeconds[] = "7200";

} // namespace

PortMapping::PortMapping(std::uint16_t port, int searchMs) : port_(port) {
    int error = 0;
    UPNPDev* devices = upnpDiscover(searchMs, nullptr, nullptr, UPNP_LOCAL_PORT_ANY, 0, 2, &error);
    if (!devices) {
        report_ = "UPnP のルーターは見つかりませんでした。";
        return;
    }
    UPNPUrls urls{};
    IGDdatas data{};
    char lanAddress[64] = {};
    const int found = UPNP_GetValidIGD(devices, &urls, &data, lanAddress, sizeof lanAddress);
    freeUPNPDevlist(devices);
    if (found != 1) {
        if (found != 0) {
            FreeUPNPUrls(&urls);
        }
        report_ = "UPnP のルーターは見つかりませんでした。";
        return;
    }
    controlUrl_ = urls.controlURL;
    serviceType_ = data.first.servicetype;
    FreeUPNPUrls(&urls);

    const std::string portText = std::to_string(port_);
    const int added = UPNP_AddPortMapping(controlUrl_.c_str(), serviceType_.c_str(),
                                          portText.c_str(), portText.c_str(), lanAddress,
                                          kDescription, "UDP", nullptr, kLeaseSeconds);
    if (added != UPNPCOMMAND_SUCCESS) {
        report_ =
            "ルーターがポート " + portText + " の転送を断りました(" + strupnperror(added) + ")。";
        return;
    }
    mapped_ = true;
    char external[64] = {};
    if (UPNP_GetExternalIPAddress(controlUrl_.c_str(), serviceType_.c_str(), external) ==
        UPNPCOMMAND_SUCCESS) {
        external_ = external;
    }
    report_ = "ルーター(UPnP)がポート " + portText + " をこの機械へ転送しています" +
              (external_.empty() ? std::string() : "(外側のアドレス " + external_ + ")") + "。";
}

PortMapping::~PortMapping() {
    if (mapped_) {
        const std::string portText = std::to_string(port_);
        UPNP_DeletePortMapping(controlUrl_.c_str(), serviceType_.c_str(), portText.c_str(), "UDP",
                               nullptr);
    }
}

} // namespace net
