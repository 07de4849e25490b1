// The skeleton shared by the MIDI plug-ins with an editor: no audio, an instrument that only
// handles MIDI, identification and feature answers, the program store and the parameter path
// to the editor. A plug-in gives its configuration and overrides receiveEvents.
#pragma once

#include "host/EffectBaseV2.h"
#include "host/EventLists.h"
#include "host/ParameterInfo.h"
#include "host/ProgramStore.h"

#include <array>

namespace quorvel {

struct MidiEffectConfig {
    std::int32_t programCount;
    std::int32_t parameterCount;
    const ParameterInfo* parameters; // parameterCount entries
    const char* effectName;
    const char* productText;
    const char* vendorText;
    std::int32_t uniqueId;
    std::int32_t vendorVersion;
    bool answersOutputProperties;
    // Also answers 1 to "receiveVstTimeInfo".
    bool receivesTimeInfo;
    // The order in which a program's values are applied when it is selected; null means
    // index order. A plug-in whose parameters depend on each other sets its own.
    const std::int32_t* applyOrder;
};

class MidiEffect : public EffectBaseV2 {
public:
    static constexpr std::int32_t kMaxParameters = 16;

    MidiEffect(HostCallback host, const MidiEffectConfig& config);

    // Any thread: stores into the current program and the working value, lets the plug-in
    // react, then moves the editor's controls.
    void applyParameter(std::int32_t index, float value) override;
    float parameterValue(std::int32_t index) override;
    void parameterTitle(std::int32_t index, char* text) override;
    void parameterUnit(std::int32_t index, char* text) override;
    void parameterText(std::int32_t index, char* text) override;

    void selectProgram(std::int32_t index) override;
    void renameProgram(char* text) override;
    void programName(char* text) override;
    bool copyProgramTo(std::int32_t destination) override;
    bool programNameAt(std::int32_t category, std::int32_t index, char* text) override;

    // Processing thread: hands each MIDI event of the list to handleMidiEvent, in order.
    std::int32_t receiveEvents(const EventList& list) final;

    void processAccumulating(float** inputs, float** outputs, std::int32_t frames) override;
    void processOverwriting(float** inputs, float** outputs, std::int32_t frames) override;
    void onSuspend() override {}
    // Processing thread: asks for MIDI every time processing is switched on.
    void onResume() override;
    float meterLevel() override;
    std::int32_t plugCategory() override { return 1; }
    std::int32_t tailSize() override { return 1; }
    bool effectName(char* text) override;
    bool productText(char* text) override;
    bool vendorText(char* text) override;
    std::int32_t vendorVersion() override { return config.vendorVersion; }
    // Exactly the four event texts answer 1; every other text -1.
    std::int32_t supportsFeature(const char* feature) override;
    bool outputProperties(std::int32_t index, PinProperties* properties) override;

protected:
    // Processing thread: the plug-in's event algorithm for one event; whatever passes is sent
    // at once with sendMidiEvent.
    virtual void handleMidiEvent(const MidiEventRecord& event) = 0;
    // The plug-in's display text of a value of one of its parameters (index in range).
    virtual void valueToText(std::int32_t index, float value, char* text) = 0;
    // Called by applyParameter after the value is stored: recompute what depends on it.
    virtual void parameterApplied(std::int32_t, float) {}

    // The last construction step of a plug-in, once its own state exists: program 0 is
    // selected, the defaults applied and the program named after the plug-in.
    void applyInitialProgram();
    bool parameterInRange(std::int32_t index) const {
        return index >= 0 && index < config.parameterCount;
    }
    float workingValue(std::int32_t index) const {
        return values[static_cast<std::size_t>(index)].load(std::memory_order_relaxed);
    }
    // Processing thread: sends one event as a one-event list from this stack frame.
    void sendMidiEvent(const MidiEventRecord& event);
    enum class BendRefresh { refreshes, quiet };
    // Processing thread, for messages that are not notes: control changes and pitch bends
    // pass, control changes (and pitch bends unless quiet) refresh the editor, program changes
    // go through passProgramChange, every other message is dropped.
    void passCommonMessage(const MidiEventRecord& event,
                           BendRefresh bends = BendRefresh::refreshes);
    // Selects the program the message names when the plug-in has it, then passes it on, so
    // the events after it already use the new program.
    void passProgramChange(const MidiEventRecord& event);
    void refreshEditor() {
        if (editor != nullptr) editor->requestRefresh();
    }
    const MidiEffectConfig& configuration() const { return config; }
    ProgramStore& programStore() { return programs; }

private:
    MidiEffectConfig config;
    ProgramStore programs;
    std::atomic<float> meterValue{0.0f};
    std::array<std::atomic<float>, kMaxParameters> values{};
    char nameText[kNameCapacity];
    char productName[kNameCapacity];
    char vendorName[kNameCapacity];
};

} // namespace quorvel
