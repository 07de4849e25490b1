#include "bench/forwarder/ForwarderEffect.h"

#include "host/Text.h"

namespace quorvel {

namespace {

// One parameter that nothing reads, so the program store is set up as in the real plug-ins.
constexpr ParameterInfo kParameters[] = {{"Unused  ", " ", 0.0f}};

constexpr MidiEffectConfig kConfig{
    1,   1,     kParameters, "Forwarder", "Quorvel Forwarder", "Quorvel", fourCharacters("QzFw"),
    100, false, false,       nullptr};

} // namespace

ForwarderEffect::ForwarderEffect(HostCallback host) : MidiEffect(host, kConfig) {
    applyInitialProgram();
}

void ForwarderEffect::valueToText(std::int32_t, float, char* text) {
    copyText(text, "-", kNameCapacity);
}

} // namespace quorvel
