#pragma once
// The reference count shared by the software Direct3D objects: one count
// per object, which deletes itself when the last reference goes.

#include "platform/d3d/d3d_types.h"

namespace d3d {

template <typename Interface> class RefCounted : public Interface {
public:
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        if (refs_ == 0) {
            return 0;
        }
        const ULONG left = --refs_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    ~RefCounted() override = default;

    // QueryInterface for an object that offers only its own interface.
    HRESULT AnswerQuery(const GUID& iid, const GUID& own, void** object) {
        if (!object) {
            return ddraw::DDERR_INVALIDPARAMS;
        }
        if (iid != own) {
            *object = nullptr;
            return ddraw::E_NOINTERFACE;
        }
        AddRef();
        *object = static_cast<Interface*>(this);
        return D3D_OK;
    }

private:
    ULONG refs_ = 1;
};

} // namespace d3d
