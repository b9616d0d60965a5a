#include "platform/d3d/software_frame.h"

namespace d3d {

SoftwareFrame::SoftwareFrame(SoftwareFrame* parent) : parent_(parent) {
    if (parent_) {
        AddRef();
        parent_->children_.push_back(this);
    }
}

SoftwareFrame::~SoftwareFrame() {
    std::vector<SoftwareFrame*> children;
    children.swap(children_);
    for (SoftwareFrame* child : children) {
        child->parent_ = nullptr;
        child->Release();
    }
}

SoftwareFrame* SoftwareFrame::From(IDirect3DRMFrame* frame) {
    return dynamic_cast<SoftwareFrame*>(frame);
}

HRESULT SoftwareFrame::QueryInterface(const GUID& iid, void** object) {
    return AnswerQuery(iid, IID_IDirect3DRMFrame, object);
}

HRESULT SoftwareFrame::GetParent(IDirect3DRMFrame** parent) {
    if (!parent) {
        return ddraw::DDERR_INVALIDPARAMS;
    }
    if (parent_) {
        parent_->AddRef();
    }
    *parent = parent_;
    return D3DRM_OK;
}

} // namespace d3d
