#include "platform/net/peer_handshake.h"

#include <chrono>
#include <ctime>
#include <random>
#include <thread>

namespace net {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kHelloEvery = 250ms;
constexpr auto kPoll = 5ms;

int MsSince(Clock::time_point start) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

} // namespace

std::uint32_t HandshakeNonce() {
    std::random_device device;
    std::uint32_t nonce = 0;
    while (nonce == 0) {
        nonce = device();
    }
    return nonce;
}

std::optional<std::vector<std::uint8_t>> WelcomingTransport::Receive() {
    if (!putBack_.empty()) {
        auto datagram = std::move(putBack_.front());
        putBack_.pop_front();
        return datagram;
    }
    while (auto datagram = inner_.Receive()) {
        if (welcome_.empty()) {
            return datagram;
        }
        const auto packet = online::DecodePacket(*datagram);
        if (!packet || !std::holds_alternative<online::Hello>(*packet)) {
            return datagram;
        }
        helloRepeated_ = true;
        inner_.Send(welcome_);
    }
    return std::nullopt;
}

JoinResult JoinPeer(online::Transport& transport, const online::Versions& versions, int timeoutMs,
                    const std::function<bool()>& cancelled) {
    JoinResult result;
    online::Hello hello;
    hello.Nonce = HandshakeNonce();
    hello.ProgramVersion = versions.Program;
    hello.DataVersion = versions.Data;
    const auto helloBytes = online::EncodePacket(hello);

    const auto start = Clock::now();
    auto sentAt = start - kHelloEvery;
    while (MsSince(start) < timeoutMs) {
        if (cancelled && cancelled()) {
            result.Error = "参加を取り消しました。";
            return result;
        }
        if (Clock::now() - sentAt >= kHelloEvery) {
            transport.Send(helloBytes);
            sentAt = Clock::now();
        }
        const auto datagram = transport.Receive();
        if (!datagram) {
            std::this_thread::sleep_for(kPoll);
            continue;
        }
        const auto packet = online::DecodePacket(*datagram);
        if (const auto* welcome = packet ? std::get_if<online::Welcome>(&*packet) : nullptr;
            welcome && welcome->HelloNonce == hello.Nonce) {
            result.Welcome = *welcome;
            result.RoundTripMs = MsSince(sentAt);
            // The Hello once more at once: it tells the host the Welcome came.
            transport.Send(helloBytes);
            return result;
        }
        if (const auto* reject = packet ? std::get_if<online::Reject>(&*packet) : nullptr;
            reject && reject->HelloNonce == hello.Nonce) {
            result.Error = online::RefusalForGuest(*reject, versions);
            return result;
        }
    }
    result.Error = "相手から応答がありません。";
    return result;
}

HostResult WaitForPeer(WelcomingTransport& transport, const online::Versions& versions,
                       online::Welcome& offer, int timeoutMs,
                       const std::function<bool()>& cancelled) {
    HostResult result;
    offer.SessionNonce = HandshakeNonce();
    const auto start = Clock::now();
    while (MsSince(start) < timeoutMs) {
        if (cancelled && cancelled()) {
            result.Error = "相手を待つのを取り消しました。";
            return result;
        }
        const auto datagram = transport.Receive();
        const auto packet = datagram ? online::DecodePacket(*datagram) : std::nullopt;
        const auto* hello = packet ? std::get_if<online::Hello>(&*packet) : nullptr;
        if (!hello) {
            if (!datagram) {
                std::this_thread::sleep_for(kPoll);
            }
            continue; // nothing is answered but a Hello
        }
        offer.StartedAt = std::time(nullptr); // both replays are dated by it
        const online::Packet answer = online::AnswerHello(*hello, versions, offer, false);
        const auto answerBytes = online::EncodePacket(answer);
        transport.Send(answerBytes);
        const auto* welcome = std::get_if<online::Welcome>(&answer);
        if (!welcome) {
            result.Error = online::RefusalForHost(*hello, versions);
            return result; // the one partner this transport leads to is refused
        }
        offer = *welcome;
        transport.Welcomed(answerBytes);
        result.Accepted = true;
        // The guest repeats its Hello as soon as the Welcome arrives.
        const auto welcomedAt = Clock::now();
        while (MsSince(welcomedAt) < 1000 && !transport.HelloRepeated()) {
            if (auto early = transport.Receive()) {
                transport.PutBack(std::move(*early));
                break;
            }
            std::this_thread::sleep_for(kPoll);
        }
        if (transport.HelloRepeated()) {
            result.RoundTripMs = MsSince(welcomedAt);
        }
        return result;
    }
    result.Error = "相手から応答がありません。";
    return result;
}

} // namespace net
