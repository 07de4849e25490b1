#include "host/MidiEffect.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quorvel {

namespace {

std::array<float, MidiEffect::kMaxParameters> defaultsOf(const MidiEffectConfig& config) {
    std::array<float, MidiEffect::kMaxParameters> defaults{};
    for (std::int32_t i = 0; i < config.parameterCount && i < MidiEffect::kMaxParameters; ++i)
        defaults[static_cast<std::size_t>(i)] = config.parameters[i].defaultValue;
    return defaults;
}

// The working values are a fixed array, so no configuration may count more parameters.
MidiEffectConfig withinLimits(MidiEffectConfig config) {
    config.parameterCount = std::clamp(config.parameterCount, 0, MidiEffect::kMaxParameters);
    return config;
}

constexpr const char* kEventFeatures[] = {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents",
                                          "receiveVstMidiEvent"};

} // namespace

MidiEffect::MidiEffect(HostCallback host, const MidiEffectConfig& wanted)
    : EffectBaseV2(host, wanted.programCount, withinLimits(wanted).parameterCount),
      config(withinLimits(wanted)),
      programs(config.programCount, config.parameterCount, defaultsOf(config).data()) {
    for (std::int32_t i = 0; i < config.parameterCount; ++i)
        values[static_cast<std::size_t>(i)].store(config.parameters[i].defaultValue,
                                                  std::memory_order_relaxed);
    copyText(nameText, config.effectName, kNameCapacity);
    copyText(productName, config.productText, kNameCapacity);
    copyText(vendorName, config.vendorText, kNameCapacity);
    markHasMeter(false);
    assignInputCount(0);
    assignOutputCount(0);
    markCanMono(true);
    markCanOverwrite(true);
    markSynth(true);
    assignUniqueId(config.uniqueId);
}

void MidiEffect::applyInitialProgram() {
    if (!programs.valid()) return;
    selectProgram(0);
    for (std::int32_t i = 0; i < config.parameterCount; ++i)
        applyParameter(i, config.parameters[i].defaultValue);
    renameProgram(nameText);
}

void MidiEffect::applyParameter(std::int32_t index, float value) {
    if (parameterInRange(index)) {
        programs.storeValue(currentProgram(), index, value);
        values[static_cast<std::size_t>(index)].store(value, std::memory_order_relaxed);
        parameterApplied(index, value);
    }
    if (editor != nullptr) {
        editor->requestRefresh();
        editor->parameterChanged(index, value);
    }
}

float MidiEffect::parameterValue(std::int32_t index) {
    return parameterInRange(index) ? workingValue(index) : 0.0f;
}

void MidiEffect::parameterTitle(std::int32_t index, char* text) {
    if (parameterInRange(index)) copyText(text, config.parameters[index].title, kNameCapacity);
}

void MidiEffect::parameterUnit(std::int32_t index, char* text) {
    if (parameterInRange(index)) copyText(text, config.parameters[index].unit, kNameCapacity);
}

void MidiEffect::parameterText(std::int32_t index, char* text) {
    if (parameterInRange(index)) valueToText(index, workingValue(index), text);
}

void MidiEffect::selectProgram(std::int32_t index) {
    if (!programs.holds(index)) return;
    EffectBaseV2::selectProgram(index);
    for (std::int32_t i = 0; i < config.parameterCount; ++i) {
        const std::int32_t parameter = config.applyOrder != nullptr ? config.applyOrder[i] : i;
        applyParameter(parameter, programs.value(index, parameter));
    }
}

void MidiEffect::renameProgram(char* text) {
    programs.rename(currentProgram(), text);
}

void MidiEffect::programName(char* text) {
    programs.displayName(currentProgram(), text);
}

bool MidiEffect::copyProgramTo(std::int32_t destination) {
    return programs.copy(currentProgram(), destination);
}

bool MidiEffect::programNameAt(std::int32_t, std::int32_t, char*) {
    return false;
}

void MidiEffect::processAccumulating(float**, float**, std::int32_t) {}
void MidiEffect::processOverwriting(float**, float**, std::int32_t) {}

void MidiEffect::onResume() {
    requestEvents(1);
}

float MidiEffect::meterLevel() {
    return meterValue.exchange(0.0f, std::memory_order_relaxed);
}

bool MidiEffect::effectName(char* text) {
    copyText(text, nameText, kNameCapacity);
    return true;
}

bool MidiEffect::productText(char* text) {
    copyText(text, productName, kNameCapacity);
    return true;
}

bool MidiEffect::vendorText(char* text) {
    copyText(text, vendorName, kNameCapacity);
    return true;
}

std::int32_t MidiEffect::supportsFeature(const char* feature) {
    for (const char* known : kEventFeatures)
        if (std::strcmp(feature, known) == 0) return 1;
    if (config.receivesTimeInfo && std::strcmp(feature, "receiveVstTimeInfo") == 0) return 1;
    return -1;
}

bool MidiEffect::outputProperties(std::int32_t index, PinProperties* properties) {
    if (!config.answersOutputProperties || (index != 0 && index != 1)) return false;
    std::snprintf(properties->label, sizeof properties->label,
                  index == 0 ? "%s Left Output %d" : "%s Right Output %d", nameText, 1);
    properties->flags = 3;
    return true;
}

void MidiEffect::sendMidiEvent(const MidiEventRecord& event) {
    // The list refers to the caller's record rather than a copy: copying a record the caller
    // has just written byte by byte stalls the processor on every event. The host only reads
    // what it is handed.
    EventListOf<1> list{};
    list.count = 1;
    list.events[0] = reinterpret_cast<Event*>(const_cast<MidiEventRecord*>(&event));
    sendEvents(list);
}

std::int32_t MidiEffect::receiveEvents(const EventList& list) {
    forEachMidiEvent(list, [this](const MidiEventRecord& event) { handleMidiEvent(event); });
    return 1;
}

void MidiEffect::passCommonMessage(const MidiEventRecord& event, BendRefresh bends) {
    switch (messageKind(event)) {
    case kControlChange:
        sendMidiEvent(event);
        refreshEditor();
        return;
    case kPitchBend:
        sendMidiEvent(event);
        if (bends == BendRefresh::refreshes) refreshEditor();
        return;
    case kProgramChange:
        passProgramChange(event);
        return;
    default:
        return;
    }
}

void MidiEffect::passProgramChange(const MidiEventRecord& event) {
    const std::int32_t program = event.data1 & 0x7F;
    if (program < config.programCount) selectProgram(program);
    sendMidiEvent(event);
}

} // namespace quorvel
