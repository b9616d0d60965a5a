#pragma once
// The reference count behind every interface object of the OpenAL back end:
// an object starts with one reference and deletes itself at zero.

#include <cstdint>

namespace dsound {

template <class Interface> class RefCounted : public Interface {
public:
    std::uint32_t AddRef() override { return ++references_; }
    std::uint32_t Release() override {
        std::uint32_t left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    RefCounted() = default;
    ~RefCounted() override = default;

private:
    std::uint32_t references_ = 1;
};

} // namespace dsound
