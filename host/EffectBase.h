// The first generation of the effect interface: the state every effect carries, the record the
// host sees, the default of every operation and the dispatcher for opcodes 0 to 24.
#pragma once

#include "host/Abi.h"
#include "host/EditorLink.h"

#include <atomic>
#include <cstdint>

namespace quorvel {

class EffectBase {
public:
    EffectBase(HostCallback host, std::int32_t programCount, std::int32_t parameterCount);
    virtual ~EffectBase();
    EffectBase(const EffectBase&) = delete;
    EffectBase& operator=(const EffectBase&) = delete;

    EffectRecord& record() { return effectRecord; }
    const EffectRecord& record() const { return effectRecord; }
    // The effect behind a record, or nullptr when the record is none or not one of ours.
    static EffectBase* fromRecord(EffectRecord* record);

    // Raised by a constructor whose editor could not be allocated; main then discards this
    // instance only.
    bool editorCreationFailed() const { return editorFailed; }

    // Any thread (host, editor, program change): frees the effect and its editor.
    virtual void destroy();

    // Any thread: stores a parameter value; the value has already been brought into 0 to 1.
    virtual void applyParameter(std::int32_t index, float value);
    virtual float parameterValue(std::int32_t index);
    // User-interface thread: a user's change, reported to the host for automation.
    virtual void applyParameterAndNotify(std::int32_t index, float value);

    // Processing thread: buffers and their channels are checked before these are called.
    virtual void processAccumulating(float** inputs, float** outputs, std::int32_t frames) = 0;
    virtual void processOverwriting(float** inputs, float** outputs, std::int32_t frames);

    // Any host thread: the numbered requests; plug-ins override operations, never this.
    virtual IntPtr dispatch(std::int32_t opcode, std::int32_t index, IntPtr value, void* pointer,
                            float opt);

    // User-interface thread: the host opened the effect, or closes it before destroying it.
    virtual void onOpen() {}
    virtual void onClose() {}
    // Any thread (a MIDI program change selects on the processing thread).
    virtual std::int32_t currentProgram();
    virtual void selectProgram(std::int32_t index);
    // User-interface thread; the text operations receive a checked, writable host buffer.
    virtual void renameProgram(char* text);
    virtual void programName(char* text);
    virtual void parameterUnit(std::int32_t index, char* text);
    virtual void parameterText(std::int32_t index, char* text);
    virtual void parameterTitle(std::int32_t index, char* text);
    // User-interface thread: the meter read by opcode 9, and opaque state blocks.
    virtual float meterLevel() { return 0.0f; }
    virtual std::int32_t saveStateBlock(void** data, bool isProgram);
    virtual std::int32_t loadStateBlock(void* data, std::int32_t size, bool isProgram);
    // User-interface thread, while processing is off.
    virtual void changeSampleRate(float rate);
    virtual void changeBlockSize(std::int32_t size);
    // Processing switched off and on (opcode 12), on the host's user-interface thread.
    virtual void onSuspend() {}
    virtual void onResume() {}

    // Construction only: configuration of the record.
    virtual void assignUniqueId(std::int32_t id);
    virtual void assignInputCount(std::int32_t count);
    virtual void assignOutputCount(std::int32_t count);
    virtual void markHasMeter(bool on);
    virtual void markHasClip(bool on);
    virtual void markCanMono(bool on);
    virtual void markCanOverwrite(bool on);
    virtual void markStateIsBlock(bool on);
    virtual void assignRealtimeQualities(std::int32_t qualities);
    virtual void assignOfflineQualities(std::int32_t qualities);
    virtual void assignInitialDelay(std::int32_t delay);

    // Any thread.
    virtual float currentSampleRate();
    virtual std::int32_t currentBlockSize();

    // Host requests (opcodes 1 to 4); without a host each answers its default.
    virtual std::int32_t hostVersion();
    virtual std::int32_t hostCurrentId();
    virtual std::int32_t hostIdle();
    virtual bool isInputConnected(std::int32_t index);
    virtual bool isOutputConnected(std::int32_t index);

    // Any thread: value texts of at most 8 characters for parameter displays.
    virtual void decibelText(float value, char* text);
    virtual void frequencyText(float samples, char* text);
    virtual void millisecondText(float samples, char* text);
    virtual void numberText(float value, char* text);
    virtual void integerText(std::int32_t value, char* text);

protected:
    // Calls the host with this effect's record; answers fallback when there is no host.
    IntPtr callHost(std::int32_t opcode, std::int32_t index, IntPtr value, void* pointer, float opt,
                    IntPtr fallback) const;
    bool hasHost() const { return host != nullptr; }
    void setFlag(std::int32_t bit, bool on);
    // Takes ownership of the editor; nullptr records a failed allocation.
    void attachEditor(EditorLink* created);

    std::atomic<float> sampleRate{44100.0f};
    EditorLink* editor = nullptr;
    HostCallback host;
    std::int32_t programCount;
    std::int32_t parameterCount;
    std::atomic<std::int32_t> currentProgramIndex{0};
    std::atomic<std::int32_t> blockSize{1024};

private:
    EffectRecord effectRecord;
    bool editorFailed = false;
};

} // namespace quorvel
