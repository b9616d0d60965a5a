#pragma once
// MIDI playback on FluidSynth with its own audio driver and the General MIDI
// sound font of timgm6mb-soundfont. Options let tests render to a file.

#include "platform/media/midi_player.h"

#include <memory>
#include <string>
#include <vector>

namespace media {

class FluidSynthMidiPlayer : public IMidiPlayer {
public:
    struct Options {
        // FluidSynth's audio driver ("alsa", "pulseaudio", "file" …); empty
        // for FluidSynth's default.
        std::string audioDriver;
        // Output of the "file" driver.
        std::string outputFile;
        // Sound fonts tried in order; the first that exists is used.
        std::vector<std::string> soundFonts = DefaultSoundFonts();
    };
    static std::vector<std::string> DefaultSoundFonts();

    FluidSynthMidiPlayer();
    explicit FluidSynthMidiPlayer(Options options);
    ~FluidSynthMidiPlayer() override;
    FluidSynthMidiPlayer(const FluidSynthMidiPlayer&) = delete;
    FluidSynthMidiPlayer& operator=(const FluidSynthMidiPlayer&) = delete;

    void Open(const std::string& fileName) override;
    void Rewind() override;
    void Play() override;
    void Stop() override;
    void Close() override;
    bool IsOpen() const override { return session_ != nullptr; }
    bool IsPlaying() const override;

private:
    struct Session;
    void RequireOpen(const char* operation) const;

    Options options_;
    std::unique_ptr<Session> session_;
};

} // namespace media
