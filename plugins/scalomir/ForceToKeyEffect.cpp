#include "plugins/scalomir/ForceToKeyEffect.h"

#include "host/Conversions.h"

#include <cstdio>

namespace quorvel {

namespace {

constexpr ParameterInfo kParameters[] = {{"   C    ", " ", 1.0f},
                                         {"   D    ", " ", 1.0f},
                                         {"   E    ", " ", 1.0f},
                                         {"   F    ", " ", 1.0f},
                                         {"   G    ", " ", 1.0f},
                                         {"   A    ", " ", 1.0f},
                                         {"   B    ", " ", 1.0f},
                                         {"   Cs   ", " ", 0.0f},
                                         {"   Ds   ", " ", 0.0f},
                                         {"   Fs   ", " ", 0.0f},
                                         {"   Gs   ", " ", 0.0f},
                                         {"   As   ", " ", 0.0f},
                                         {"Note Choice Strategy", " ", 0.0f},
                                         {"Transpose", " ", 0.5f}};

// A program's values go in pitch order, C, C sharp, D and so on, then strategy and steps.
constexpr std::int32_t kChromaticOrder[] = {0, 7, 1, 8, 2, 3, 9, 4, 10, 5, 11, 6, 12, 13};

constexpr MidiEffectConfig kConfig{
    ForceToKeyEffect::kProgramCount, 14,  kParameters, "Scalomir", "Quorvel Scalomir", "Quorvel",
    fourCharacters("Qz01"),          110, false,       false,      kChromaticOrder};

struct ScalePreset {
    const char* name;
    // One character per pitch class from C to B: 'x' in the scale, '.' not.
    const char* pitchClasses;
};

constexpr ScalePreset kPresets[ForceToKeyEffect::kProgramCount] = {
    {"C Major", "x.x.xx.x.x.x"},  {"D Major", ".xx.x.xx.x.x"},
    {"E Major", ".x.xx.x.xx.x"},  {"F Major", "x.x.xx.x.xx."},
    {"G Major", "x.x.x.xx.x.x"},  {"A Major", ".xx.x.x.xx.x"},
    {"B Major", ".x.xx.x.x.xx"},  {"C# Major/Db Major", "xx.x.xx.x.x."},
    {"Eb Major", "x.xx.x.xx.x."}, {"F# Major/Gb Major", ".x.x.xx.x.xx"},
    {"Ab Major", "xx.x.x.xx.x."}, {"Bb Major", "x.xx.x.x.xx."},
    {"A Minor", "x.x.xx.x.x.x"},  {"B Minor", ".xx.x.xx.x.x"},
    {"C# Minor", ".x.xx.x.xx.x"}, {"D Minor", "x.x.xx.x.xx."},
    {"E Minor", "x.x.x.xx.x.x"},  {"F# Minor", ".xx.x.x.xx.x"},
    {"G# Minor", ".x.xx.x.x.xx"}, {"Bb Minor", "xx.x.xx.x.x."},
    {"C Minor", "x.xx.x.xx.x."},  {"D# Minor/Eb Minor", ".x.x.xx.x.xx"},
    {"F Minor", "xx.x.x.xx.x."},  {"G Minor", "x.xx.x.x.xx."}};

constexpr std::int32_t kPitchClassOfIndex[ForceToKeyEffect::kPitchClassCount] = {
    0, 2, 4, 5, 7, 9, 11, 1, 3, 6, 8, 10};

} // namespace

ForceToKeyEffect::ForceToKeyEffect(HostCallback host) : MidiEffect(host, kConfig) {
    rebuildScaleTable();
    setTransposeSteps(transposeStepsOf(kParameters[kTransposeIndex].defaultValue));
    loadPresets();
}

void ForceToKeyEffect::loadPresets() {
    if (!programStore().valid()) return;
    // The tables follow only the values in force at the end, so they are built once then.
    tablesDeferred = true;
    // From the last program down, so program 0 is current at the end.
    for (std::int32_t program = kProgramCount - 1; program >= 0; --program) {
        selectProgram(program);
        const ScalePreset& preset = kPresets[program];
        for (std::int32_t index = 0; index < kPitchClassCount; ++index)
            applyParameter(index, preset.pitchClasses[pitchClassOf(index)] == 'x' ? 1.0f : 0.0f);
        applyParameter(kStrategyIndex, 1.0f);
        applyParameter(kTransposeIndex, 0.5f);
        char name[kNameCapacity];
        copyText(name, preset.name, kNameCapacity);
        renameProgram(name);
    }
    tablesDeferred = false;
    rebuildScaleTable();
    rebuildNoteTargets();
}

NoteChoiceStrategy ForceToKeyEffect::strategyOf(float value) {
    if (value >= 0.75f) return NoteChoiceStrategy::twoSided;
    if (value >= 0.5f) return NoteChoiceStrategy::down;
    if (value >= 0.25f) return NoteChoiceStrategy::up;
    return NoteChoiceStrategy::none;
}

std::int32_t ForceToKeyEffect::transposeStepsOf(float value) {
    return truncateInRange(static_cast<double>(value) * 79.0 - 39.5, -39, 39, 0);
}

std::int32_t ForceToKeyEffect::pitchClassOf(std::int32_t index) {
    return kPitchClassOfIndex[index];
}

void ForceToKeyEffect::valueToText(std::int32_t index, float value, char* text) {
    if (index < kPitchClassCount) {
        copyText(text, value >= 0.5f ? "on" : "off", kNameCapacity);
        return;
    }
    if (index == kStrategyIndex) {
        constexpr const char* kStrategyTexts[] = {"None", "Up", "Down", "Nearest Note"};
        copyText(text, kStrategyTexts[static_cast<int>(strategyOf(value))], kNameCapacity);
        return;
    }
    char scratch[16];
    std::snprintf(scratch, sizeof scratch, "%d", static_cast<int>(transposeStepsOf(value)));
    copyText(text, scratch, kNameCapacity);
}

void ForceToKeyEffect::parameterApplied(std::int32_t index, float value) {
    if (tablesDeferred) {
        if (index == kTransposeIndex)
            steps.store(transposeStepsOf(value), std::memory_order_relaxed);
        return;
    }
    if (index < kPitchClassCount) {
        rebuildScaleTable();
        rebuildNoteTargets();
    } else if (index == kStrategyIndex) {
        rebuildNoteTargets();
    } else {
        setTransposeSteps(transposeStepsOf(value));
    }
}

void ForceToKeyEffect::setTransposeSteps(std::int32_t count) {
    steps.store(count, std::memory_order_relaxed);
    rebuildNoteTargets();
}

void ForceToKeyEffect::rebuildScaleTable() {
    bool inScale[kPitchClassCount];
    for (std::int32_t index = 0; index < kPitchClassCount; ++index)
        inScale[pitchClassOf(index)] = workingValue(index) > 0.5f;
    for (std::int32_t note = 0; note < kNoteCount; ++note)
        scaleTable[static_cast<std::size_t>(note)].store(inScale[note % kPitchClassCount],
                                                         std::memory_order_relaxed);
}

namespace {

// The scale as a sorted list of its notes, and for every note how many scale notes lie below
// it, so a note's neighbours and the note k scale steps away are found by index.
struct ScaleIndex {
    std::array<std::int16_t, kNoteCount> notes{};
    std::int32_t count = 0;
    std::array<std::int32_t, kNoteCount> below{};
    std::array<bool, kNoteCount> member{};

    // Scale notes above n start at this index of notes.
    std::int32_t firstAbove(std::int32_t n) const { return below[n] + (member[n] ? 1 : 0); }
    std::int16_t at(std::int64_t position) const {
        return position >= 0 && position < count ? notes[static_cast<std::size_t>(position)]
                                                 : ForceToKeyEffect::kNoNote;
    }
};

std::int16_t chooseNote(const ScaleIndex& scale, std::int32_t n, NoteChoiceStrategy strategy) {
    if (scale.member[n] || strategy == NoteChoiceStrategy::none)
        return static_cast<std::int16_t>(n);
    const std::int16_t above = scale.at(scale.firstAbove(n));
    const std::int16_t below = scale.at(static_cast<std::int64_t>(scale.below[n]) - 1);
    switch (strategy) {
    case NoteChoiceStrategy::up:
        return above;
    case NoteChoiceStrategy::down:
        return below;
    default:
        if (above == ForceToKeyEffect::kNoNote) return below;
        if (below == ForceToKeyEffect::kNoNote) return above;
        // The nearer neighbour; at equal distance the lower one.
        return above - n < n - below ? above : below;
    }
}

} // namespace

void ForceToKeyEffect::rebuildNoteTargets() {
    ScaleIndex scale;
    for (std::int32_t note = 0; note < kNoteCount; ++note) {
        scale.below[note] = scale.count;
        scale.member[note] = inScale(note);
        if (scale.member[note]) scale.notes[scale.count++] = static_cast<std::int16_t>(note);
    }
    const NoteChoiceStrategy strategy = strategyOf(workingValue(kStrategyIndex));
    const std::int64_t k = steps.load(std::memory_order_relaxed);
    for (std::int32_t note = 0; note < kNoteCount; ++note) {
        std::int16_t target = chooseNote(scale, note, strategy);
        if (target != kNoNote && k > 0) target = scale.at(scale.firstAbove(target) + k - 1);
        if (target != kNoNote && k < 0) target = scale.at(scale.below[target] + k);
        noteTargets[static_cast<std::size_t>(note)].store(target, std::memory_order_relaxed);
    }
}

void ForceToKeyEffect::handleMidiEvent(const MidiEventRecord& event) {
    if (isNoteOn(event)) {
        startNote(event);
        return;
    }
    if (isNoteOff(event)) {
        endNote(event);
        return;
    }
    // After a stop the host sends All Notes Off instead of note-offs: forget what sounded on
    // that channel so the next note-on of those notes is not taken for a repeat.
    if (isPanicController(event)) {
        for (auto& channels : heldNotes)
            channels[static_cast<std::size_t>(messageChannel(event))].sounding = false;
    }
    passCommonMessage(event);
}

void ForceToKeyEffect::startNote(MidiEventRecord event) {
    HeldNote& held = heldNotes[event.data1 & 0x7F][static_cast<std::size_t>(messageChannel(event))];
    if (held.sounding) return;
    const std::int16_t target =
        noteTargets[static_cast<std::size_t>(event.data1 & 0x7F)].load(std::memory_order_relaxed);
    if (target == kNoNote) return;
    held.sounding = true;
    held.sentNote = static_cast<std::uint8_t>(target);
    event.data1 = held.sentNote;
    sendMidiEvent(event);
}

void ForceToKeyEffect::endNote(MidiEventRecord event) {
    // Note-offs use the note recorded at note-on: the scale may have changed since.
    HeldNote& held = heldNotes[event.data1 & 0x7F][static_cast<std::size_t>(messageChannel(event))];
    if (!held.sounding) return;
    held.sounding = false;
    event.data1 = held.sentNote;
    sendMidiEvent(event);
}

} // namespace quorvel
