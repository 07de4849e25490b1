// How the tools name MIDI events when they print them.
#pragma once

#include "host/Abi.h"

namespace quorvel::testhost {

// "note-on", "note-off", "control", "program", "pitch-bend", "pressure", "poly-pressure" or
// "system"; a note-on of velocity 0 is a note-off.
const char* eventKindName(const MidiEventRecord& event);

} // namespace quorvel::testhost
