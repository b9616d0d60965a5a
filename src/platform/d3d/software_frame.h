#pragma once
// A frame of the retained-mode stand-in: a node of a scene tree and
// nothing more (no position, orientation or visuals).

#include "platform/d3d/d3d_interfaces.h"
#include "platform/d3d/ref_counted.h"

#include <vector>

namespace d3d {

class SoftwareFrame final : public RefCounted<IDirect3DRMFrame> {
public:
    // parent (may be null) takes a reference on the new frame.
    explicit SoftwareFrame(SoftwareFrame* parent);

    static SoftwareFrame* From(IDirect3DRMFrame* frame);

    HRESULT QueryInterface(const GUID& iid, void** object) override;
    HRESULT GetParent(IDirect3DRMFrame** parent) override;

private:
    ~SoftwareFrame() override;

    SoftwareFrame* parent_;
    std::vector<SoftwareFrame*> children_;
};

} // namespace d3d
