// The benchmarks' baseline: sends every MIDI event it receives back to the host unchanged, one
// host call per event, which is the least any plug-in that answers while it receives must do.
#pragma once

#include "host/MidiEffect.h"

namespace quorvel {

class ForwarderEffect : public MidiEffect {
public:
    explicit ForwarderEffect(HostCallback host);

protected:
    void valueToText(std::int32_t index, float value, char* text) override;

private:
    void handleMidiEvent(const MidiEventRecord& event) override { sendMidiEvent(event); }
};

} // namespace quorvel
