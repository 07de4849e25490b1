#include "host/EffectBase.h"

#include "host/Conversions.h"
#include "host/ValueText.h"

#include <cstring>

namespace quorvel {

namespace {

// Every entry first finds its effect; a record that is none or not ours is ignored.
IntPtr QUORVEL_CALL dispatchEntry(EffectRecord* record, std::int32_t opcode, std::int32_t index,
                                  IntPtr value, void* pointer, float opt) {
    EffectBase* effect = EffectBase::fromRecord(record);
    if (effect == nullptr) return 0;
    try {
        if (opcode == 1) {
            effect->dispatch(opcode, index, value, pointer, opt);
            effect->destroy();
            return 1;
        }
        return effect->dispatch(opcode, index, value, pointer, opt);
    } catch (...) {
        // Nothing may unwind into the host.
        return 0;
    }
}

// The processing entries run only with buffers for every channel the record declares.
bool buffersUsable(const EffectRecord& record, float** inputs, float** outputs,
                   std::int32_t frames) {
    if (frames < 0) return false;
    if (record.inputCount > 0) {
        if (inputs == nullptr) return false;
        for (std::int32_t c = 0; c < record.inputCount; ++c)
            if (inputs[c] == nullptr) return false;
    }
    if (record.outputCount > 0) {
        if (outputs == nullptr) return false;
        for (std::int32_t c = 0; c < record.outputCount; ++c)
            if (outputs[c] == nullptr) return false;
    }
    return true;
}

void QUORVEL_CALL processAccumulatingEntry(EffectRecord* record, float** inputs, float** outputs,
                                           std::int32_t frames) {
    EffectBase* effect = EffectBase::fromRecord(record);
    if (effect == nullptr || !buffersUsable(*record, inputs, outputs, frames)) return;
    effect->processAccumulating(inputs, outputs, frames);
}

void QUORVEL_CALL processOverwritingEntry(EffectRecord* record, float** inputs, float** outputs,
                                          std::int32_t frames) {
    EffectBase* effect = EffectBase::fromRecord(record);
    if (effect == nullptr || !buffersUsable(*record, inputs, outputs, frames)) return;
    effect->processOverwriting(inputs, outputs, frames);
}

void QUORVEL_CALL setParameterEntry(EffectRecord* record, std::int32_t index, float value) {
    EffectBase* effect = EffectBase::fromRecord(record);
    if (effect == nullptr || !bringIntoParameterRange(value)) return;
    effect->applyParameter(index, value);
}

float QUORVEL_CALL getParameterEntry(EffectRecord* record, std::int32_t index) {
    EffectBase* effect = EffectBase::fromRecord(record);
    return effect == nullptr ? 0.0f : effect->parameterValue(index);
}

// Opcodes whose pointer the operation reads or writes; a null pointer answers 0 untouched.
bool needsPointer(std::int32_t opcode) {
    switch (opcode) {
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 13:
    case 14:
    case 23:
    case 24:
        return true;
    default:
        return false;
    }
}

} // namespace

EffectBase::EffectBase(HostCallback host, std::int32_t programCount, std::int32_t parameterCount)
    : host(host), programCount(programCount), parameterCount(parameterCount) {
    std::memset(&effectRecord, 0, sizeof effectRecord);
    effectRecord.magic = kEffectMagic;
    effectRecord.dispatchEntry = dispatchEntry;
    effectRecord.processAccumulatingEntry = processAccumulatingEntry;
    effectRecord.setParameterEntry = setParameterEntry;
    effectRecord.getParameterEntry = getParameterEntry;
    effectRecord.programCount = programCount;
    effectRecord.parameterCount = parameterCount;
    effectRecord.inputCount = 1;
    effectRecord.outputCount = 2;
    effectRecord.ioRatio = 1.0f;
    effectRecord.effectObject = this;
    effectRecord.uniqueId = kDefaultUniqueId;
    effectRecord.effectVersion = 1;
    effectRecord.processOverwritingEntry = processOverwritingEntry;
}

EffectBase::~EffectBase() {
    delete editor;
}

EffectBase* EffectBase::fromRecord(EffectRecord* record) {
    if (record == nullptr || record->magic != kEffectMagic) return nullptr;
    return static_cast<EffectBase*>(record->effectObject);
}

void EffectBase::destroy() {
    delete this;
}

void EffectBase::attachEditor(EditorLink* created) {
    if (created == nullptr) {
        editorFailed = true;
        return;
    }
    editor = created;
    setFlag(flags::kHasEditor, true);
}

void EffectBase::setFlag(std::int32_t bit, bool on) {
    if (on) {
        effectRecord.effectFlags |= bit;
    } else {
        effectRecord.effectFlags &= ~bit;
    }
}

void EffectBase::applyParameter(std::int32_t, float) {}
float EffectBase::parameterValue(std::int32_t) {
    return 0.0f;
}

void EffectBase::applyParameterAndNotify(std::int32_t index, float value) {
    applyParameter(index, value);
    callHost(0, index, 0, nullptr, value, 0);
}

void EffectBase::processOverwriting(float**, float**, std::int32_t) {}

IntPtr EffectBase::dispatch(std::int32_t opcode, std::int32_t index, IntPtr value, void* pointer,
                            float opt) {
    if (needsPointer(opcode) && pointer == nullptr) return 0;
    auto* text = static_cast<char*>(pointer);
    switch (opcode) {
    case 0:
        onOpen();
        return 0;
    case 1:
        onClose();
        return 0;
    case 2:
        if (value >= 0 && value < programCount) selectProgram(static_cast<std::int32_t>(value));
        return 0;
    case 3:
        return currentProgram();
    case 4:
        renameProgram(text);
        return 0;
    case 5:
        programName(text);
        return 0;
    case 6:
        parameterUnit(index, text);
        return 0;
    case 7:
        parameterText(index, text);
        return 0;
    case 8:
        parameterTitle(index, text);
        return 0;
    case 9:
        return truncateToInt32(static_cast<double>(meterLevel()) * 32767.0);
    case 10:
        changeSampleRate(opt);
        return 0;
    case 11:
        changeBlockSize(static_cast<std::int32_t>(value));
        return 0;
    case 12:
        if (value == 0) {
            onSuspend();
        } else {
            onResume();
        }
        return 0;
    case 13:
        return editor ? editor->getSize(static_cast<EditorSize**>(pointer)) : 0;
    case 14:
        return editor ? editor->open(pointer) : 0;
    case 15:
        if (editor) editor->close();
        return 0;
    case 19:
        if (editor) editor->idle();
        return 0;
    case 22:
        return kIdentifyAnswer;
    case 23:
        return saveStateBlock(static_cast<void**>(pointer), index != 0);
    case 24:
        return loadStateBlock(pointer, static_cast<std::int32_t>(value), index != 0);
    default:
        return 0;
    }
}

std::int32_t EffectBase::currentProgram() {
    return currentProgramIndex.load(std::memory_order_relaxed);
}
void EffectBase::selectProgram(std::int32_t index) {
    currentProgramIndex.store(index, std::memory_order_relaxed);
}
void EffectBase::renameProgram(char* text) {
    text[0] = '\0';
}
void EffectBase::programName(char* text) {
    text[0] = '\0';
}
void EffectBase::parameterUnit(std::int32_t, char* text) {
    text[0] = '\0';
}
void EffectBase::parameterText(std::int32_t, char* text) {
    text[0] = '\0';
}
void EffectBase::parameterTitle(std::int32_t, char* text) {
    text[0] = '\0';
}
std::int32_t EffectBase::saveStateBlock(void**, bool) {
    return 0;
}
std::int32_t EffectBase::loadStateBlock(void*, std::int32_t, bool) {
    return 0;
}
void EffectBase::changeSampleRate(float rate) {
    sampleRate.store(rate, std::memory_order_relaxed);
}
void EffectBase::changeBlockSize(std::int32_t size) {
    blockSize.store(size, std::memory_order_relaxed);
}

void EffectBase::assignUniqueId(std::int32_t id) {
    effectRecord.uniqueId = id;
}
void EffectBase::assignInputCount(std::int32_t count) {
    effectRecord.inputCount = count;
}
void EffectBase::assignOutputCount(std::int32_t count) {
    effectRecord.outputCount = count;
}
void EffectBase::markHasMeter(bool on) {
    setFlag(flags::kHasMeter, on);
}
void EffectBase::markHasClip(bool on) {
    setFlag(flags::kHasClip, on);
}
void EffectBase::markCanMono(bool on) {
    setFlag(flags::kCanMono, on);
}
void EffectBase::markCanOverwrite(bool on) {
    setFlag(flags::kCanOverwrite, on);
}
void EffectBase::markStateIsBlock(bool on) {
    setFlag(flags::kStateIsBlock, on);
}
void EffectBase::assignRealtimeQualities(std::int32_t q) {
    effectRecord.realtimeQualities = q;
}
void EffectBase::assignOfflineQualities(std::int32_t q) {
    effectRecord.offlineQualities = q;
}
void EffectBase::assignInitialDelay(std::int32_t delay) {
    effectRecord.initialDelay = delay;
}

float EffectBase::currentSampleRate() {
    return sampleRate.load(std::memory_order_relaxed);
}
std::int32_t EffectBase::currentBlockSize() {
    return blockSize.load(std::memory_order_relaxed);
}

IntPtr EffectBase::callHost(std::int32_t opcode, std::int32_t index, IntPtr value, void* pointer,
                            float opt, IntPtr fallback) const {
    if (host == nullptr) return fallback;
    return host(const_cast<EffectRecord*>(&effectRecord), opcode, index, value, pointer, opt);
}

std::int32_t EffectBase::hostVersion() {
    const IntPtr answer = callHost(1, 0, 0, nullptr, 0.0f, 1);
    return answer == 0 ? 1 : static_cast<std::int32_t>(answer);
}
std::int32_t EffectBase::hostCurrentId() {
    return static_cast<std::int32_t>(callHost(2, 0, 0, nullptr, 0.0f, 0));
}
std::int32_t EffectBase::hostIdle() {
    return static_cast<std::int32_t>(callHost(3, 0, 0, nullptr, 0.0f, 0));
}
// The host answers 0 for a connected pin.
bool EffectBase::isInputConnected(std::int32_t index) {
    return callHost(4, index, 0, nullptr, 0.0f, 0) == 0;
}
bool EffectBase::isOutputConnected(std::int32_t index) {
    return callHost(4, index, 1, nullptr, 0.0f, 0) == 0;
}

void EffectBase::decibelText(float value, char* text) {
    quorvel::decibelText(value, text);
}
void EffectBase::frequencyText(float samples, char* text) {
    quorvel::frequencyText(samples, currentSampleRate(), text);
}
void EffectBase::millisecondText(float samples, char* text) {
    quorvel::millisecondText(samples, currentSampleRate(), text);
}
void EffectBase::numberText(float value, char* text) {
    quorvel::numberText(value, text);
}
void EffectBase::integerText(std::int32_t value, char* text) {
    quorvel::integerText(value, text);
}

} // namespace quorvel
