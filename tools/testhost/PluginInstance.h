// One effect created through a library's entry, seen only through its record and the five
// entry functions, with the recording host it was created with.
#pragma once

#include "host/Abi.h"
#include "tools/testhost/EventListBuilder.h"
#include "tools/testhost/HostRecorder.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quorvel::testhost {

// What a text opcode wrote into a buffer filled with kSentinel beforehand.
struct TextAnswer {
    IntPtr result;
    std::string text; // up to the first zero, or the whole buffer when there is none
    bool untouched;   // every byte still kSentinel
};

class PluginInstance {
public:
    static constexpr char kSentinel = '\x5A';
    static constexpr std::size_t kTextCapacity = 256;

    PluginInstance() = default;
    // Closes the effect (opcode 1) unless the test already did.
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    // The host answers are configured here before create, so the version query sees them.
    HostRecorder& host() { return recorder; }

    // Calls the entry with the recording host and checks the record's magic; false with a
    // reason when the entry answers none or a record that is not an effect.
    bool create(MainEntry entry, std::string& error);
    bool isOpen() const { return effect != nullptr; }
    EffectRecord* record() const { return effect; }

    IntPtr dispatch(std::int32_t opcode, std::int32_t index = 0, IntPtr value = 0,
                    void* pointer = nullptr, float opt = 0.0f);
    void processAccumulating(float** inputs, float** outputs, std::int32_t frames);
    void processOverwriting(float** inputs, float** outputs, std::int32_t frames);
    void setParameter(std::int32_t index, float value);
    float parameter(std::int32_t index);
    // Opcode 1; the record is gone afterwards. Answers the dispatcher's result.
    IntPtr close();

    // Hands the events to opcode 25 in one list and answers the plug-in's result.
    IntPtr sendMidi(const std::vector<MidiEventRecord>& events);
    IntPtr sendList(EventListBuilder& builder);
    // Runs a text opcode on a buffer of kTextCapacity sentinel bytes.
    TextAnswer readText(std::int32_t opcode, std::int32_t index = 0, IntPtr value = 0,
                        float opt = 0.0f);
    // Events the plug-in handed to the host since the last clear.
    std::vector<MidiEventRecord> receivedEvents() const { return recorder.events(); }

private:
    HostRecorder recorder;
    EffectRecord* effect = nullptr;
};

} // namespace quorvel::testhost
