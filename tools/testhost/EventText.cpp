#include "tools/testhost/EventText.h"

#include "host/EventLists.h"

namespace quorvel::testhost {

const char* eventKindName(const MidiEventRecord& event) {
    if (isNoteOn(event)) return "note-on";
    if (isNoteOff(event)) return "note-off";
    switch (messageKind(event)) {
    case kPolyPressure:
        return "poly-pressure";
    case kControlChange:
        return "control";
    case kProgramChange:
        return "program";
    case kChannelPressure:
        return "pressure";
    case kPitchBend:
        return "pitch-bend";
    case kNoteOn:
        return "note-on?";
    default:
        return "system";
    }
}

} // namespace quorvel::testhost
