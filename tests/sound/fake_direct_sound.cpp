#include "fake_direct_sound.h"

#include "platform/dsound/ref_counted.h"

#include <algorithm>
#include <cstdio>

namespace testsound {

using namespace dsound;

namespace {

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", value);
    return text;
}

// Every object of the double counts itself and may be held by "someone else".
template <class Interface> class FakeObject : public RefCounted<Interface> {
public:
    FakeObject(FakeSound& sound, const std::string& kind) : sound_(sound), kind_(kind) {
        ++sound_.objectsAlive;
        if (sound_.Held(kind_)) {
            this->AddRef();
            sound_.held.push_back(this);
        }
    }
    ~FakeObject() override { --sound_.objectsAlive; }

protected:
    FakeSound& sound_;
    std::string kind_;
};

class FakeListener : public FakeObject<IDirectSound3DListener> {
public:
    using FakeObject::FakeObject;
    HRESULT GetAllParameters(DS3DLISTENER* params) override {
        *params = sound_.lastListener;
        return DS_OK;
    }
    HRESULT SetAllParameters(const DS3DLISTENER* params, std::uint32_t apply) override {
        sound_.calls.push_back("Listener SetAllParameters " + std::to_string(apply));
        sound_.lastListener = *params;
        return sound_.Failure("ListenerSet");
    }
};

class Fake3DBuffer : public FakeObject<IDirectSound3DBuffer> {
public:
    Fake3DBuffer(FakeSound& sound, int number) : FakeObject(sound, "Buffer3D"), number_(number) {}
    HRESULT GetAllParameters(DS3DBUFFER* params) override {
        sound_.calls.push_back("#" + std::to_string(number_) + " 3D GetAllParameters");
        *params = sound_.last3D;
        return DS_OK;
    }
    HRESULT SetAllParameters(const DS3DBUFFER* params, std::uint32_t apply) override {
        sound_.calls.push_back("#" + std::to_string(number_) + " 3D SetAllParameters " +
                               std::to_string(apply));
        sound_.last3D = *params;
        return sound_.Failure("Buffer3DSet");
    }
    std::uint32_t Release() override {
        sound_.calls.push_back("#" + std::to_string(number_) + " 3D Release");
        return RefCounted::Release();
    }

private:
    int number_;
};

class FakeBuffer : public FakeObject<IDirectSoundBuffer> {
public:
    FakeBuffer(FakeSound& sound, const std::string& kind, std::uint32_t flags,
               std::shared_ptr<std::vector<std::uint8_t>> bytes)
        : FakeObject(sound, kind), flags_(flags), bytes_(std::move(bytes)),
          number_(sound.nextBuffer++) {}

    std::uint32_t Flags() const { return flags_; }
    const std::shared_ptr<std::vector<std::uint8_t>>& Bytes() const { return bytes_; }

    HRESULT QueryInterface(IDirectSound3DBuffer** out) override {
        Call("QueryInterface 3DBuffer");
        if (HRESULT failure = sound_.Failure("Query3DBuffer")) {
            *out = nullptr;
            return failure;
        }
        *out = new Fake3DBuffer(sound_, number_);
        return DS_OK;
    }
    HRESULT QueryInterface(IDirectSound3DListener** out) override {
        Call("QueryInterface Listener");
        if (HRESULT failure = sound_.Failure("QueryListener")) {
            *out = nullptr;
            return failure;
        }
        *out = new FakeListener(sound_, "Listener");
        return DS_OK;
    }
    HRESULT GetStatus(std::uint32_t* status) override {
        *status = 0;
        return DS_OK;
    }
    HRESULT GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) override {
        *play = *write = 0;
        return DS_OK;
    }
    HRESULT GetVolume(std::int32_t* volume) override {
        *volume = 0;
        return DS_OK;
    }
    HRESULT GetFrequency(std::uint32_t* frequency) override {
        *frequency = 0;
        return DS_OK;
    }
    HRESULT Lock(std::uint32_t offset, std::uint32_t bytes, void** region1, std::uint32_t* bytes1,
                 void** region2, std::uint32_t* bytes2, std::uint32_t flags) override {
        Call("Lock " + std::to_string(offset) + " " + std::to_string(bytes) + " " +
             std::to_string(flags));
        if (HRESULT failure = sound_.Failure("Lock"))
            return failure;
        *region1 = bytes_->data();
        *bytes1 = static_cast<std::uint32_t>(bytes_->size());
        *region2 = nullptr;
        *bytes2 = 0;
        return DS_OK;
    }
    HRESULT Unlock(void*, std::uint32_t bytes1, void*, std::uint32_t bytes2) override {
        Call("Unlock " + std::to_string(bytes1) + " " + std::to_string(bytes2));
        return sound_.Failure("Unlock");
    }
    HRESULT SetCurrentPosition(std::uint32_t position) override {
        Call("SetCurrentPosition " + std::to_string(position));
        return DS_OK;
    }
    HRESULT Play(std::uint32_t reserved, std::uint32_t priority, std::uint32_t flags) override {
        Call("Play " + std::to_string(reserved) + " " + std::to_string(priority) + " " +
             std::to_string(flags));
        return DS_OK;
    }
    HRESULT Stop() override {
        Call("Stop");
        return DS_OK;
    }
    HRESULT SetVolume(std::int32_t volume) override {
        Call("SetVolume " + std::to_string(volume));
        return DS_OK;
    }
    HRESULT SetFrequency(std::uint32_t frequency) override {
        Call("SetFrequency " + std::to_string(frequency));
        return DS_OK;
    }
    std::uint32_t Release() override {
        Call("Release");
        return RefCounted::Release();
    }

private:
    void Call(const std::string& what) {
        sound_.calls.push_back("#" + std::to_string(number_) + " " + what);
    }

    std::uint32_t flags_;
    std::shared_ptr<std::vector<std::uint8_t>> bytes_;
    int number_;
};

class FakeDirectSoundObject : public FakeObject<IDirectSound> {
public:
    explicit FakeDirectSoundObject(FakeSound& sound) : FakeObject(sound, "DirectSound") {}

    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out,
                              IUnknown*) override {
        *out = nullptr;
        sound_.calls.push_back("CreateSoundBuffer size=" + std::to_string(desc->dwSize) +
                               " flags=" + Hex(desc->dwFlags) +
                               " bytes=" + std::to_string(desc->dwBufferBytes));
        if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
            if (HRESULT failure = sound_.Failure("CreatePrimary"))
                return failure;
            *out = new FakeBuffer(sound_, "Primary", desc->dwFlags, nullptr);
            return DS_OK;
        }
        sound_.lastFormat = *desc->lpwfxFormat;
        if (HRESULT failure = sound_.Failure("CreateSecondary"))
            return failure;
        if (HRESULT refused = CheckSecondaryBufferDesc(desc))
            return refused;
        auto bytes = std::make_shared<std::vector<std::uint8_t>>(desc->dwBufferBytes, 0xEE);
        auto* buffer = new FakeBuffer(sound_, "Secondary", desc->dwFlags, bytes);
        sound_.samples[sound_.nextBuffer - 1] = bytes;
        *out = buffer;
        return DS_OK;
    }
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** out) override {
        *out = nullptr;
        sound_.calls.push_back(std::string("DuplicateSoundBuffer ") + (original ? "wave" : "none"));
        if (HRESULT failure = sound_.Failure("Duplicate"))
            return failure;
        auto* source = dynamic_cast<FakeBuffer*>(original);
        if (!source)
            return DSERR_INVALIDPARAM;
        *out = new FakeBuffer(sound_, "Secondary", source->Flags(), source->Bytes());
        return DS_OK;
    }
    HRESULT SetCooperativeLevel(void* window, std::uint32_t level) override {
        char text[64];
        std::snprintf(text, sizeof text, "SetCooperativeLevel %p %u", window, level);
        sound_.calls.push_back(text);
        return sound_.Failure("SetCooperativeLevel");
    }
    std::uint32_t Release() override {
        sound_.calls.push_back("DirectSound Release");
        return RefCounted::Release();
    }
};

} // namespace

FakeSound::~FakeSound() {
    SetDirectSoundFactory(nullptr);
    for (IUnknown* object : held)
        object->Release();
}

void FakeSound::Install() {
    SetDirectSoundFactory([this](IDirectSound** out) {
        calls.push_back("DirectSoundCreate");
        if (HRESULT failure = Failure("DirectSoundCreate"))
            return failure;
        *out = new FakeDirectSoundObject(*this);
        return DS_OK;
    });
}

HRESULT FakeSound::Failure(const std::string& call) const {
    auto found = failures.find(call);
    return found == failures.end() ? DS_OK : found->second;
}

bool FakeSound::Held(const std::string& object) const {
    auto found = heldElsewhere.find(object);
    return found != heldElsewhere.end() && found->second;
}

bool FakeSound::Called(const std::string& call) const {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

} // namespace testsound
