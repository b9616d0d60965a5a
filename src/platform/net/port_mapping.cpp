#include "platform/net/port_mapping.h"

#include "online/address_reach.h"

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <miniupnpc/upnperrors.h>

#include <algorithm>
#include <chrono>

namespace net {

namespace {

constexpr char kDescription[] = "pimuru online";

} // namespace

PortMapping::PortMapping(std::uint16_t port, int searchMs, int leaseSeconds)
    : port_(port), leaseSeconds_(leaseSeconds) {
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
    lanAddress_ = lanAddress;
    FreeUPNPUrls(&urls);

    const std::string portText = std::to_string(port_);
    const int added = Add();
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
    reachable_ = online::ReachOf(external_) == online::AddressReach::Anywhere;
    report_ = "ルーター(UPnP)がポート " + portText + " をこの機械へ転送しています" +
              (external_.empty() ? std::string() : "(外側のアドレス " + external_ + ")") + "。";
    if (!external_.empty() && !reachable_) {
        // The router is itself behind another (a carrier's, often): the
        // forwarding ends there.
        report_ +=
            "ただしルーターの外側もプライベートか共有のアドレスなので、外のネットワークからは"
            "この方法では参加できません。";
    }
    renewer_ = std::thread([this] { RenewUntilStopped(); });
}

PortMapping::~PortMapping() {
    if (!mapped_) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    renewer_.join();
    const std::string portText = std::to_string(port_);
    UPNP_DeletePortMapping(controlUrl_.c_str(), serviceType_.c_str(), portText.c_str(), "UDP",
                           nullptr);
}

int PortMapping::Add() const {
    const std::string portText = std::to_string(port_);
    const std::string lease = std::to_string(leaseSeconds_);
    return UPNP_AddPortMapping(controlUrl_.c_str(), serviceType_.c_str(), portText.c_str(),
                               portText.c_str(), lanAddress_.c_str(), kDescription, "UDP", nullptr,
                               lease.c_str());
}

// A host may wait for its partner longer than a lease, and a run may go on
// past one: the same mapping asked for again starts its lease anew. A refusal
// (the router restarted, say) is asked again at the next turn.
void PortMapping::RenewUntilStopped() {
    const auto every = std::chrono::seconds(std::max(1, leaseSeconds_ / 2));
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, every, [this] { return stopping_; })) {
        lock.unlock();
        Add();
        lock.lock();
    }
}

} // namespace net
