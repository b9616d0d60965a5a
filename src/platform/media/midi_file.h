#pragma once
// A first look at a standard MIDI file before the synthesizer gets it: the
// header chunk and at least one whole track, so that a broken file is an
// error when it is opened rather than silence later.

#include <string>

namespace media {

bool IsStandardMidiFile(const std::string& bytes);

} // namespace media
