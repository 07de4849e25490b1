#include "tools/testhost/PluginInstance.h"

#include <algorithm>

namespace quorvel::testhost {

PluginInstance::~PluginInstance() {
    close();
}

bool PluginInstance::create(MainEntry entry, std::string& error) {
    close();
    if (entry == nullptr) {
        error = "no entry to call";
        return false;
    }
    EffectRecord* created = nullptr;
    {
        CreationScope scope(&recorder);
        created = entry(recordingHostCallback);
    }
    if (created == nullptr) {
        error = "the entry answered no effect";
        return false;
    }
    if (created->magic != kEffectMagic) {
        // Not an effect record: nothing can be called on it, not even close.
        error = "the entry answered a record without the effect magic";
        return false;
    }
    effect = created;
    bindRecorder(effect, &recorder);
    return true;
}

IntPtr PluginInstance::dispatch(std::int32_t opcode, std::int32_t index, IntPtr value,
                                void* pointer, float opt) {
    if (effect == nullptr || effect->dispatchEntry == nullptr) return 0;
    return effect->dispatchEntry(effect, opcode, index, value, pointer, opt);
}

void PluginInstance::processAccumulating(float** inputs, float** outputs, std::int32_t frames) {
    if (effect != nullptr && effect->processAccumulatingEntry != nullptr)
        effect->processAccumulatingEntry(effect, inputs, outputs, frames);
}

void PluginInstance::processOverwriting(float** inputs, float** outputs, std::int32_t frames) {
    if (effect != nullptr && effect->processOverwritingEntry != nullptr)
        effect->processOverwritingEntry(effect, inputs, outputs, frames);
}

void PluginInstance::setParameter(std::int32_t index, float value) {
    if (effect != nullptr && effect->setParameterEntry != nullptr)
        effect->setParameterEntry(effect, index, value);
}

float PluginInstance::parameter(std::int32_t index) {
    if (effect == nullptr || effect->getParameterEntry == nullptr) return 0.0f;
    return effect->getParameterEntry(effect, index);
}

IntPtr PluginInstance::close() {
    if (effect == nullptr) return 0;
    const IntPtr answer = dispatch(1);
    // Requests made while closing still reach this recorder, so unbind only afterwards.
    unbindRecorder(effect);
    effect = nullptr;
    return answer;
}

IntPtr PluginInstance::sendMidi(const std::vector<MidiEventRecord>& events) {
    EventListBuilder builder(events);
    return sendList(builder);
}

IntPtr PluginInstance::sendList(EventListBuilder& builder) {
    return dispatch(25, 0, 0, builder.list());
}

TextAnswer PluginInstance::readText(std::int32_t opcode, std::int32_t index, IntPtr value,
                                    float opt) {
    std::vector<char> buffer(kTextCapacity, kSentinel);
    TextAnswer answer{};
    answer.result = dispatch(opcode, index, value, buffer.data(), opt);
    answer.untouched =
        std::all_of(buffer.begin(), buffer.end(), [](char c) { return c == kSentinel; });
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    answer.text.assign(buffer.begin(), end);
    return answer;
}

} // namespace quorvel::testhost
