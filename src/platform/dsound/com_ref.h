#pragma once
// Holds one reference to an interface and gives it back when it goes out of
// scope, so an early exit cannot leak a device object. Reset hands back the
// count that the release returned, for callers that check it.

#include <cstdint>
#include <utility>

namespace dsound {

template <class T> class ComRef {
public:
    ComRef() = default;
    explicit ComRef(T* adopted) : object_(adopted) {}
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    // Releases what is held (if anything) and gives the slot for an out-parameter.
    T** Put() {
        Reset();
        return &object_;
    }
    // Releases the reference; returns the references left (0 when empty).
    std::uint32_t Reset() {
        T* object = std::exchange(object_, nullptr);
        return object ? object->Release() : 0;
    }

private:
    T* object_ = nullptr;
};

} // namespace dsound
