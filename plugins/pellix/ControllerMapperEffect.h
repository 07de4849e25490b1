// Pellix: renumbers one MIDI controller. Events are queued as they arrive and the whole block
// leaves from the next processing call, mapped, in arrival order.
#pragma once

#include "host/EffectBaseV2.h"
#include "host/EventLists.h"

#include <atomic>
#include <memory>
#include <vector>

namespace quorvel {

class ControllerMapperEffect : public EffectBaseV2 {
public:
    static constexpr std::size_t kReservedEvents = 1024;
    // The most events one list handed to the host carries; more leave in several lists.
    static constexpr std::size_t kListCapacity = 255;

    explicit ControllerMapperEffect(HostCallback host);

    // Any thread: the controller numbers are worked out here, not per event.
    void applyParameter(std::int32_t index, float value) override;
    float parameterValue(std::int32_t index) override;
    void parameterTitle(std::int32_t index, char* text) override;
    void parameterUnit(std::int32_t index, char* text) override;
    void parameterText(std::int32_t index, char* text) override;

    // Processing thread: queues the list's MIDI events; nothing is sent here.
    std::int32_t receiveEvents(const EventList& list) override;
    // Processing thread: both run the block cycle and leave the audio buffers alone.
    void processAccumulating(float** inputs, float** outputs, std::int32_t frames) override;
    void processOverwriting(float** inputs, float** outputs, std::int32_t frames) override;

    void onResume() override;
    bool effectName(char* text) override;
    bool productText(char* text) override;
    bool vendorText(char* text) override;
    std::int32_t vendorVersion() override { return 1; }
    std::int32_t supportsFeature(const char* feature) override;

    // The controller number of a parameter value: the integer part of value x 127.
    static std::int32_t controllerOf(float value);
    // What the host shows for a controller number (0 to 127).
    static const char* controllerName(std::int32_t number);
    // Whether the queues and the output list could be allocated.
    bool buffersReady() const { return outputEvents != nullptr; }

protected:
    virtual void mapEvents(const std::vector<MidiEventRecord>& input,
                           std::vector<MidiEventRecord>& output);
    virtual void beginBlock();
    virtual void flushEvents();

private:
    void runBlock();
    void sendChunk(std::size_t first, std::size_t count);

    std::vector<MidiEventRecord> inputQueue;
    std::vector<MidiEventRecord> outputQueue;
    std::unique_ptr<EventListOf<kListCapacity + 1>> outputList;
    std::unique_ptr<MidiEventRecord[]> outputEvents;
    std::atomic<float> ccInValue{0.0f};
    std::atomic<float> ccOutValue{0.007874016f};
    std::atomic<std::int32_t> ccIn{0};
    std::atomic<std::int32_t> ccOut{0};
};

} // namespace quorvel
