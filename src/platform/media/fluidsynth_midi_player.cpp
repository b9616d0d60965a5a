#include "platform/media/fluidsynth_midi_player.h"

#include "platform/media/midi_file.h"

#include "base/quiet_alsa.h"
#include "base/system_error_text.h"

#include <fluidsynth.h>
#if PIMURU_HAVE_INSTPATCH
// From libinstpatch/misc.h, whose C declarations lack a C++ guard.
extern "C" void ipatch_init(void);
#endif

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

namespace media {
namespace {

// FluidSynth prints its complaints; here they become exceptions instead.
void QuietLog(int, const char*, void*) {}

void SilenceFluidSynthLog() {
    static bool done = false;
    if (done)
        return;
    done = true;
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, QuietLog, nullptr);
    base::QuietAlsaLog();
}

// FluidSynth starts libinstpatch with every synthesizer it makes and closes
// it with every one it deletes; each new start registers libinstpatch's
// type data again without the old ever going (about 3 kB a synthesizer, so
// a game run). One start of our own for the program's life turns the later
// starts and closes into counting.
void HoldInstPatch() {
#if PIMURU_HAVE_INSTPATCH
    static bool held = false;
    if (held)
        return;
    held = true;
    ipatch_init();
#endif
}

// FluidSynth's default gain (0.2) leaves a single instrument near -40 dBFS;
// this brings the tune up to the level of the effects without clipping chords.
constexpr double kSynthGain = 0.5;

// Music files are small; a bigger one is not a tune for this game.
constexpr std::uintmax_t kMaxMidiBytes = 16 * 1024 * 1024;

} // namespace

// One open file: settings, synthesizer with its sound font, the player and
// the audio output. Torn down in reverse order of creation.
struct FluidSynthMidiPlayer::Session {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    fluid_player_t* player = nullptr;
    std::string fileName;
    std::string bytes;

    // The audio thread calls into the player: the driver goes first.
    ~Session() {
        if (driver)
            delete_fluid_audio_driver(driver);
        if (player)
            delete_fluid_player(player);
        if (synth)
            delete_fluid_synth(synth);
        if (settings)
            delete_fluid_settings(settings);
    }
};

std::vector<std::string> FluidSynthMidiPlayer::DefaultSoundFonts() {
    return {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"};
}

FluidSynthMidiPlayer::FluidSynthMidiPlayer() : FluidSynthMidiPlayer(Options{}) {}

FluidSynthMidiPlayer::FluidSynthMidiPlayer(Options options) : options_(std::move(options)) {
    SilenceFluidSynthLog();
    HoldInstPatch();
}

FluidSynthMidiPlayer::~FluidSynthMidiPlayer() = default;

void FluidSynthMidiPlayer::Open(const std::string& fileName) {
    Close();
    // "Not found" only for a file that is not there.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(fileName, error);
    if (status.type() == std::filesystem::file_type::not_found)
        throw EMediaError(fileName + " not found");
    if (error)
        throw EMediaError(fileName +
                          " could not be opened: " + base::SystemErrorText(error.value()));
    if (!std::filesystem::is_regular_file(status))
        throw EMediaError(fileName + " is not a file");
    if (std::filesystem::file_size(fileName, error) > kMaxMidiBytes || error)
        throw EMediaError(fileName + " is too large for a MIDI file");
    std::ifstream in(fileName, std::ios::binary);
    if (!in.is_open())
        throw EMediaError(fileName + " could not be opened: " + base::SystemErrorText(errno));
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (!in.good() && !in.eof())
        throw EMediaError(fileName + " could not be read");
    if (!IsStandardMidiFile(bytes))
        throw EMediaError(fileName + " is not a MIDI file");
    std::string soundFont;
    for (const std::string& candidate : options_.soundFonts)
        if (std::filesystem::is_regular_file(candidate, error)) {
            soundFont = candidate;
            break;
        }
    if (soundFont.empty()) {
        std::string tried;
        for (const std::string& candidate : options_.soundFonts)
            tried += (tried.empty() ? "" : ", ") + candidate;
        throw EMediaError("No General MIDI sound font is installed (looked for " + tried + ")");
    }

    auto session = std::make_unique<Session>();
    session->fileName = fileName;
    session->bytes = std::move(bytes);
    session->settings = new_fluid_settings();
    if (!session->settings)
        throw EMediaError("MIDI synthesizer settings could not be created");
    if (!options_.audioDriver.empty() &&
        fluid_settings_setstr(session->settings, "audio.driver", options_.audioDriver.c_str()) !=
            FLUID_OK)
        throw EMediaError("No audio driver named " + options_.audioDriver);
    if (!options_.outputFile.empty())
        fluid_settings_setstr(session->settings, "audio.file.name", options_.outputFile.c_str());
    fluid_settings_setnum(session->settings, "synth.gain", kSynthGain);
    session->synth = new_fluid_synth(session->settings);
    if (!session->synth)
        throw EMediaError("MIDI synthesizer could not be created");
    if (fluid_synth_sfload(session->synth, soundFont.c_str(), 1) == FLUID_FAILED)
        throw EMediaError(soundFont + " could not be loaded");
    session->player = new_fluid_player(session->synth);
    if (!session->player)
        throw EMediaError("MIDI player could not be created");
    if (fluid_player_add_mem(session->player, session->bytes.data(), session->bytes.size()) !=
        FLUID_OK)
        throw EMediaError(fileName + " could not be loaded as a MIDI file");
    fluid_player_set_loop(session->player, 1);
    session->driver = new_fluid_audio_driver(session->settings, session->synth);
    if (!session->driver)
        throw EMediaError("No audio output for the MIDI synthesizer");
    session_ = std::move(session);
}

void FluidSynthMidiPlayer::RequireOpen(const char* operation) const {
    if (!session_)
        throw EMediaError(std::string(operation) + ": no MIDI file is open");
}

void FluidSynthMidiPlayer::Rewind() {
    RequireOpen("Rewind");
    // Takes effect with the player's next step, also once the tune has ended
    // (FluidSynth then reads the file again from its start).
    if (fluid_player_seek(session_->player, 0) != FLUID_OK)
        throw EMediaError("MIDI playback could not be rewound");
    fluid_synth_all_notes_off(session_->synth, -1);
}

void FluidSynthMidiPlayer::Play() {
    RequireOpen("Play");
    if (fluid_player_play(session_->player) != FLUID_OK)
        throw EMediaError("MIDI playback could not be started");
}

void FluidSynthMidiPlayer::Stop() {
    RequireOpen("Stop");
    fluid_player_stop(session_->player);
    // The player leaves sounding notes on; a stop must be silent.
    fluid_synth_all_sounds_off(session_->synth, -1);
}

void FluidSynthMidiPlayer::Close() {
    session_.reset();
}

bool FluidSynthMidiPlayer::IsPlaying() const {
    if (!session_ || fluid_player_get_status(session_->player) != FLUID_PLAYER_PLAYING)
        return false;
    // FluidSynth stays "playing" for a few seconds after the last event, to
    // let notes ring; the tune itself is over at its last tick. Before the
    // file is read (just after Play) its length is not known yet.
    int total = fluid_player_get_total_ticks(session_->player);
    return total <= 0 || fluid_player_get_current_tick(session_->player) < total;
}

std::unique_ptr<IMidiPlayer> CreateMidiPlayer() {
    return std::make_unique<FluidSynthMidiPlayer>();
}

} // namespace media
