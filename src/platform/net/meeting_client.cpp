#include "platform/net/meeting_client.h"

#include <mosquitto.h>
#include <mqtt_protocol.h>

#include <mutex>

namespace net {

namespace {

constexpr int kQos = 1;
constexpr int kKeepAliveSeconds = 30;

void InitLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

} // namespace

struct MeetingCallbacks {
    static void Connected(mosquitto* mosq, void* self, int rc, int, const mosquitto_property*) {
        auto& c = *static_cast<MeetingClient*>(self);
        if (rc != 0) {
            c.Refused(mosquitto_reason_string(rc));
            return;
        }
        // Subscribing here also hears the room again after a reconnection.
        // No local: the server does not send our own messages back.
        const int result = mosquitto_subscribe_v5(mosq, nullptr, c.topic_.c_str(), kQos,
                                                  MQTT_SUB_OPT_NO_LOCAL, nullptr);
        if (result != MOSQ_ERR_SUCCESS) {
            c.Refused(mosquitto_strerror(result));
        }
    }

    static void Subscribed(mosquitto*, void* self, int, int count, const int* granted,
                           const mosquitto_property*) {
        auto& c = *static_cast<MeetingClient*>(self);
        if (count < 1 || granted[0] > 2) { // 0x80 and above: refused, e.g. by access rules
            c.Refused("部屋のトピックを購読できません");
            return;
        }
        std::lock_guard lock(c.mutex_);
        c.subscribed_ = true;
        c.changed_.notify_all();
    }

    static void Message(mosquitto*, void* self, const mosquitto_message* message,
                        const mosquitto_property*) {
        auto& c = *static_cast<MeetingClient*>(self);
        const auto size = static_cast<std::size_t>(message->payloadlen);
        if (size == 0) {
            return; // a retained message being removed
        }
        const auto* bytes = static_cast<const std::uint8_t*>(message->payload);
        std::lock_guard lock(c.mutex_);
        if (size > c.maxMessage_ || c.queue_.size() >= c.maxQueued_ ||
            (c.keep_ && !c.keep_({bytes, size}))) {
            ++c.dropped_;
            return;
        }
        c.queue_.emplace_back(bytes, bytes + size);
        c.changed_.notify_all();
    }
};

MeetingClient::MeetingClient(std::size_t maxMessage, std::size_t maxQueued)
    : maxMessage_(maxMessage), maxQueued_(maxQueued) {
    InitLibrary();
    client_ = mosquitto_new(nullptr, true, this);
    if (client_) {
        mosquitto_int_option(client_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
        mosquitto_connect_v5_callback_set(client_, MeetingCallbacks::Connected);
        mosquitto_subscribe_v5_callback_set(client_, MeetingCallbacks::Subscribed);
        mosquitto_message_v5_callback_set(client_, MeetingCallbacks::Message);
        // Publishing happens on the caller's thread, the network on ours.
        mosquitto_threaded_set(client_, true);
    }
}

MeetingClient::~MeetingClient() {
    if (loop_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            changed_.notify_all();
        }
        loop_.join();
    }
    if (client_) {
        mosquitto_destroy(client_);
    }
}

// Our own network loop rather than libmosquitto's: its loop reconnects with
// a blocking connect() and waits out its keep-alive before it stops, so a
// server that drops everything would hold the game for half a minute. Here
// every step is short and reconnecting never blocks.
void MeetingClient::Loop() {
    constexpr int kStepMs = 100;
    constexpr auto kRetryDelay = std::chrono::milliseconds(500);
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        lock.unlock();
        const int rc = mosquitto_loop(client_, kStepMs, 1);
        lock.lock();
        if (rc != MOSQ_ERR_SUCCESS && !stopping_) {
            changed_.wait_for(lock, kRetryDelay, [this] { return stopping_; });
            if (!stopping_) {
                lock.unlock();
                mosquitto_reconnect_async(client_);
                lock.lock();
            }
        }
    }
}

void MeetingClient::Refused(std::string why) {
    std::lock_guard lock(mutex_);
    refusal_ = std::move(why);
    changed_.notify_all();
}

bool MeetingClient::Connect(const std::string& host, std::uint16_t port, const std::string& topic,
                            std::chrono::milliseconds timeout) {
    if (!client_ || loop_.joinable()) {
        error_ = "ミーティングサーバーにつなぐ準備ができません。";
        return false;
    }
    server_ = host + ":" + std::to_string(port);
    topic_ = topic;
    // The asynchronous connection never blocks in connect(), so an address
    // that drops everything still ends at the timeout.
    const int rc = mosquitto_connect_async(client_, host.c_str(), port, kKeepAliveSeconds);
    if (rc == MOSQ_ERR_EAI) {
        error_ = "ミーティングサーバー " + host + " が見つかりません(名前を確かめてください)。";
        return false;
    }
    if (rc != MOSQ_ERR_SUCCESS && rc != MOSQ_ERR_ERRNO) {
        error_ = "ミーティングサーバー " + server_ + " に接続できません: " + mosquitto_strerror(rc);
        return false;
    }
    // A refused connection (MOSQ_ERR_ERRNO) is tried again by the loop until
    // the timeout: the server may be starting.
    loop_ = std::thread([this] { Loop(); });
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, timeout, [this] { return subscribed_ || !refusal_.empty(); });
    if (subscribed_) {
        return true;
    }
    if (!refusal_.empty()) {
        error_ = "ミーティングサーバー " + server_ + " が断りました: " + refusal_;
    } else {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout).count();
        error_ = "ミーティングサーバー " + server_ + " に " + std::to_string(seconds) +
                 " 秒待っても接続できません。サーバーの名前とポート、サーバーが動いているかを確かめ"
                 "てください。";
    }
    return false;
}

bool MeetingClient::Publish(std::span<const std::uint8_t> message, std::uint32_t expirySeconds) {
    mosquitto_property* properties = nullptr;
    if (expirySeconds > 0) {
        mosquitto_property_add_int32(&properties, MQTT_PROP_MESSAGE_EXPIRY_INTERVAL, expirySeconds);
    }
    const int rc =
        mosquitto_publish_v5(client_, nullptr, topic_.c_str(), static_cast<int>(message.size()),
                             message.data(), kQos, false, properties);
    mosquitto_property_free_all(&properties);
    if (rc != MOSQ_ERR_SUCCESS) {
        error_ = "ミーティングサーバー " + server_ + " に送れません: " + mosquitto_strerror(rc);
        return false;
    }
    return true;
}

void MeetingClient::KeepOnly(std::function<bool(std::span<const std::uint8_t>)> test) {
    std::lock_guard lock(mutex_);
    keep_ = std::move(test);
    dropped_ += static_cast<std::int64_t>(
        std::erase_if(queue_, [this](const auto& message) { return !keep_(message); }));
}

std::optional<std::vector<std::uint8_t>> MeetingClient::Receive(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, wait, [this] { return !queue_.empty(); });
    if (queue_.empty()) {
        return std::nullopt;
    }
    auto message = std::move(queue_.front());
    queue_.pop_front();
    return message;
}

std::int64_t MeetingClient::DroppedMessages() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

} // namespace net
