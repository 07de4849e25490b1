// Scalomir: keeps played notes inside a scale of switched-on pitch classes, moves notes
// outside it onto the scale by one of four strategies, transposes by scale steps, and
// releases each note on the note it actually sent.
#pragma once

#include "host/MidiEffect.h"

#include <array>
#include <atomic>

namespace quorvel {

enum class NoteChoiceStrategy { none, up, down, twoSided };

struct HeldNote {
    bool sounding = false;
    std::uint8_t sentNote = 0;
};

class ForceToKeyEffect : public MidiEffect {
public:
    static constexpr std::int32_t kProgramCount = 24;
    static constexpr std::int32_t kPitchClassCount = 12;
    static constexpr std::int32_t kStrategyIndex = 12;
    static constexpr std::int32_t kTransposeIndex = 13;
    // What the note table holds for a note-on that finds no note.
    static constexpr std::int16_t kNoNote = -1;

    explicit ForceToKeyEffect(HostCallback host);

    static NoteChoiceStrategy strategyOf(float value);
    // Scale steps of a transposition value: -39 at 0.0, 0 around 0.5, +39 at 1.0.
    static std::int32_t transposeStepsOf(float value);
    // The pitch class (0 = C to 11 = B) a parameter index switches; indices 0 to 11 only.
    static std::int32_t pitchClassOf(std::int32_t index);

    // Any thread: the step count in use, which the editor may set apart from parameter 13.
    void setTransposeSteps(std::int32_t steps);
    std::int32_t transposeSteps() const { return steps.load(std::memory_order_relaxed); }
    bool inScale(std::int32_t note) const {
        return scaleTable[static_cast<std::size_t>(note)].load(std::memory_order_relaxed);
    }

protected:
    void valueToText(std::int32_t index, float value, char* text) override;
    void parameterApplied(std::int32_t index, float value) override;

private:
    void loadPresets();
    void rebuildScaleTable();
    // Recomputes what every note-on becomes under the scale, strategy and transposition in
    // force, so that handling a note costs one lookup however far its scale note is.
    void rebuildNoteTargets();
    std::int32_t targetOf(std::int32_t note) const;
    void handleMidiEvent(const MidiEventRecord& event) override;
    void startNote(MidiEventRecord event);
    void endNote(MidiEventRecord event);

    std::atomic<std::int32_t> steps{0};
    // While the presets load in the constructor, the tables wait for the last values.
    bool tablesDeferred = false;
    std::array<std::atomic<bool>, kNoteCount> scaleTable{};
    std::array<std::atomic<std::int16_t>, kNoteCount> noteTargets{};
    // Indexed by incoming note and channel.
    std::array<std::array<HeldNote, kChannelCount>, kNoteCount> heldNotes{};
};

} // namespace quorvel
