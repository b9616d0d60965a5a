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
constexpr char kNotFromOutside[] = "外のネットワークからはこの方法では参加できません。";

// The router's outside address, or empty when it does not tell.
std::string AskExternalAddress(const std::string& controlUrl, const std::string& serviceType) {
    char external[64] = {};
    if (UPNP_GetExternalIPAddress(controlUrl.c_str(), serviceType.c_str(), external) !=
        UPNPCOMMAND_SUCCESS) {
        return {};
    }
    return external;
}

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
    if (found != 0) {
        controlUrl_ = urls.controlURL;
        serviceType_ = data.first.servicetype;
        lanAddress_ = lanAddress;
        FreeUPNPUrls(&urls);
    }
    if (found != 1 && found != 2) {
        report_ = "UPnP のルーターは見つかりませんでした。";
        return;
    }
    if (found == 2) {
        // A router that says it is not connected, or (as libminiupnpc judges
        // it) whose outside is itself a private network: often a router
        // behind a carrier's, where a forwarding would end.
        external_ = AskExternalAddress(controlUrl_, serviceType_);
        report_ =
            (!external_.empty() && online::ReachOf(external_) != online::AddressReach::Anywhere
                 ? "ルーターの外側のアドレス " + external_ +
                       " もプライベートか共有のアドレスなので、"
                 : std::string("UPnP のルーターが外のネットワークにつながっていないので、")) +
            kNotFromOutside;
        return;
    }

    const std::string portText = std::to_string(port_);
    const int added = Add();
    if (added != UPNPCOMMAND_SUCCESS) {
        report_ =
            "ルーターがポート " + portText + " の転送を断りました(" + strupnperror(added) + ")。";
        return;
    }
    mapped_ = true;
    external_ = AskExternalAddress(controlUrl_, serviceType_);
    reachable_ = online::ReachOf(external_) == online::AddressReach::Anywhere;
    report_ = "ルーター(UPnP)がポート " + portText + " をこの機械へ転送しています" +
              (external_.empty() ? std::string() : "(外側のアドレス " + external_ + ")") + "。";
    if (!external_.empty() && !reachable_) {
        // The router is itself behind another (a carrier's, often): the
        // forwarding ends there.
        report_ += std::string("ただしルーターの外側もプライベートか共有のアドレスなので、") +
                   kNotFromOutside;
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
