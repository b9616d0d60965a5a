#pragma once
// The music player the game drives: open a MIDI file, rewind, play once from
// the current position, stop and close. Every failure (no synthesizer, no
// sound font, no file, a bad file, no audio output) raises EMediaError, which
// the game may swallow; the player is then closed and harmless.

#include "base/errors.h"

#include <memory>
#include <string>

namespace media {

class EMediaError : public base::Exception {
public:
    using base::Exception::Exception;
};

class IMidiPlayer {
public:
    virtual ~IMidiPlayer() = default;

    // Opens `fileName` (closing what was open), stopped at its beginning.
    virtual void Open(const std::string& fileName) = 0;
    // Back to the beginning, stopped.
    virtual void Rewind() = 0;
    // Plays once from the current position and returns at once.
    virtual void Play() = 0;
    // Halts; the position stays where it stopped.
    virtual void Stop() = 0;
    // Ends playback and lets go of the file and the audio output.
    virtual void Close() = 0;

    virtual bool IsOpen() const = 0;
    // Whether the tune is sounding (false once it has played to its end).
    virtual bool IsPlaying() const = 0;
};

// The player on the system's synthesizer (FluidSynth with the General MIDI
// sound font).
std::unique_ptr<IMidiPlayer> CreateMidiPlayer();

} // namespace media
