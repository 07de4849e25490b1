// A plug-in for the integration tests only: the MIDI skeleton with 8 programs and 2
// parameters and every default of the layer, plus opcode 50 actions that reach the value
// texts and the host request wrappers through the exported entry.
#pragma once

#include "host/MidiEffect.h"

namespace quorvel {

class ProbeEffect : public MidiEffect {
public:
    explicit ProbeEffect(HostCallback host);

    // Any host thread: runs the ProbeAction numbered index (tests/probe/ProbeActions.h).
    IntPtr vendorSpecific(std::int32_t index, IntPtr value, void* pointer, float opt) override;
    // Parameter 0's value, so the meter opcode can be driven from the host.
    float meterLevel() override { return parameterValue(0); }

protected:
    void handleMidiEvent(const MidiEventRecord&) override {}
    void valueToText(std::int32_t index, float value, char* text) override;

private:
    IntPtr writeValueText(std::int32_t index, IntPtr value, char* text, float opt);
};

} // namespace quorvel
