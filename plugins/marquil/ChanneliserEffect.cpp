#include "plugins/marquil/ChanneliserEffect.h"

#include "host/Conversions.h"
#include "host/ValueText.h"

#include <cstdio>
#include <limits>

namespace quorvel {

namespace {

constexpr ParameterInfo kParameters[] = {{"Channel", " ", 0.0f}};

constexpr MidiEffectConfig kConfig{
    1,   1,     kParameters, "Marquil", "Quorvel Marquil", "Quorvel", fourCharacters("Qz06"),
    110, false, false,       nullptr};

} // namespace

ChanneliserEffect::ChanneliserEffect(HostCallback host) : MidiEffect(host, kConfig) {
    applyInitialProgram();
}

std::int32_t ChanneliserEffect::channelOf(float value) {
    return truncateInRange(static_cast<double>(value) * 16.0, 0, kChannelCount - 1, 0);
}

void ChanneliserEffect::valueToText(std::int32_t, float value, char* text) {
    char scratch[16];
    std::snprintf(scratch, sizeof scratch, "%d", static_cast<int>(channelOf(value) + 1));
    copyText(text, scratch, kValueTextWidth + 1);
}

void ChanneliserEffect::parameterApplied(std::int32_t, float value) {
    outputChannel.store(channelOf(value), std::memory_order_relaxed);
}

void ChanneliserEffect::handleMidiEvent(const MidiEventRecord& event) {
    if (isNoteOn(event)) {
        startNote(event);
    } else if (isNoteOff(event)) {
        endNote(event);
    } else if (event.status >= 0x80 && event.status < 0xF0) {
        // The synth hears the panic on the channels the notes actually went to first.
        if (isPanicController(event)) releaseChannel(event);
        sendOnChannel(event, outputChannel.load(std::memory_order_relaxed));
    }
}

void ChanneliserEffect::startNote(const MidiEventRecord& event) {
    NoteRoute& route = routes[static_cast<std::size_t>(messageChannel(event))][event.data1 & 0x7F];
    // A repeated note-on joins the route of its note, so its note-off finds the same channel.
    if (route.count == 0)
        route.outputChannel =
            static_cast<std::uint8_t>(outputChannel.load(std::memory_order_relaxed));
    if (route.count < std::numeric_limits<std::uint32_t>::max()) ++route.count;
    sendOnChannel(event, route.outputChannel);
}

void ChanneliserEffect::endNote(const MidiEventRecord& event) {
    NoteRoute& route = routes[static_cast<std::size_t>(messageChannel(event))][event.data1 & 0x7F];
    if (route.count == 0) return;
    --route.count;
    sendOnChannel(event, route.outputChannel);
}

void ChanneliserEffect::releaseChannel(const MidiEventRecord& panic) {
    auto& channelRoutes = routes[static_cast<std::size_t>(messageChannel(panic))];
    for (std::size_t note = 0; note < channelRoutes.size(); ++note) {
        NoteRoute& route = channelRoutes[note];
        const MidiEventRecord noteOff = freshMidiEvent(
            panic.deltaFrames, static_cast<std::uint8_t>(kNoteOff | route.outputChannel),
            static_cast<std::uint8_t>(note), 0);
        for (; route.count > 0; --route.count)
            sendMidiEvent(noteOff);
    }
}

void ChanneliserEffect::sendOnChannel(MidiEventRecord event, std::int32_t channel) {
    event.status = static_cast<std::uint8_t>((event.status & 0xF0) | (channel & 0x0F));
    sendMidiEvent(event);
}

} // namespace quorvel
