#pragma once
// A DirectSound double: records every call as a line of text, keeps buffer
// bytes in memory, and fails the calls a test names.

#include "platform/dsound/dsound.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testsound {

struct FakeSound {
    FakeSound() = default;
    ~FakeSound();
    FakeSound(const FakeSound&) = delete;
    FakeSound& operator=(const FakeSound&) = delete;

    // Results to return instead of success, by call name ("SetCooperativeLevel",
    // "CreatePrimary", "CreateSecondary", "QueryListener", "Query3DBuffer",
    // "Duplicate", "Lock", "Unlock", "ListenerSet", "Buffer3DSet").
    std::map<std::string, dsound::HRESULT> failures;
    // Objects that someone else still holds: their Release leaves one reference
    // ("DirectSound", "Primary", "Listener", "Secondary", "Buffer3D").
    std::map<std::string, bool> heldElsewhere;
    // Calls, e.g. "CreateSoundBuffer flags=0x40e2 bytes=8", "#2 Play 0 0 0".
    std::vector<std::string> calls;
    // Sample bytes of each secondary buffer created, by its number.
    std::map<int, std::shared_ptr<std::vector<std::uint8_t>>> samples;
    dsound::WAVEFORMATEX lastFormat{};
    dsound::DS3DLISTENER lastListener{};
    dsound::DS3DBUFFER last3D{};
    int objectsAlive = 0;
    // The references "someone else" holds, given back when the double goes.
    std::vector<dsound::IUnknown*> held;
    int nextBuffer = 1;

    // Makes DirectSoundCreate open this double.
    void Install();
    dsound::HRESULT Failure(const std::string& call) const;
    bool Held(const std::string& object) const;
    bool Called(const std::string& call) const;
};

} // namespace testsound
