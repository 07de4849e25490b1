// The second generation of the effect interface: event exchange, feature queries,
// identification, the dispatcher for opcodes 25 to 76 and the wrappers of the host's requests.
// Every operation has a neutral default, so a plug-in overrides only what it uses.
//
// Threads: the operations the dispatcher calls run on the host's user-interface thread unless
// marked otherwise; the host requests (the wrappers of host opcodes) may be made from any
// thread, and those marked "processing thread" are made from it.
#pragma once

#include "host/EffectBase.h"

namespace quorvel {

class EffectBaseV2 : public EffectBase {
public:
    EffectBaseV2(HostCallback host, std::int32_t programCount, std::int32_t parameterCount);

    IntPtr dispatch(std::int32_t opcode, std::int32_t index, IntPtr value, void* pointer,
                    float opt) override;

    // Any thread.
    virtual EditorLink* editorObject() { return editor; }
    // Asks the host to deliver events; made when processing is switched on.
    virtual std::int32_t requestEvents(std::int32_t filter = 1);
    // Processing thread: the transport; the answer may be none.
    virtual void* hostTimeInfo(std::int32_t filter);
    virtual std::int32_t hostTempoAt(std::int32_t samplePosition);
    // Processing thread: the list and its count are checked; events may still be null.
    virtual std::int32_t receiveEvents(const EventList& list);
    virtual std::int32_t hostAutomatableCount();
    virtual std::int32_t hostParameterQuantization();
    virtual bool isParameterAutomatable(std::int32_t index);
    virtual bool parameterFromText(std::int32_t index, char* text);
    virtual float channelParameter(std::int32_t channel, std::int32_t index);
    virtual std::int32_t categoryCount();
    virtual bool programNameAt(std::int32_t category, std::int32_t index, char* text);
    virtual bool copyProgramTo(std::int32_t destination);
    virtual bool notifyIoChanged();
    virtual bool requestIdle();
    virtual bool requestWindowSize(std::int32_t width, std::int32_t height);
    virtual float refreshSampleRate();
    virtual std::int32_t refreshBlockSize();
    virtual std::int32_t hostInputLatency();
    virtual std::int32_t hostOutputLatency();
    virtual EffectRecord* previousPlug();
    virtual EffectRecord* nextPlug();
    virtual void onInputConnected(std::int32_t index, bool connected);
    virtual void onOutputConnected(std::int32_t index, bool connected);
    virtual bool inputProperties(std::int32_t index, PinProperties* properties);
    virtual bool outputProperties(std::int32_t index, PinProperties* properties);
    virtual std::int32_t plugCategory();
    virtual std::int32_t hostWillOverwrite();
    virtual std::int32_t hostProcessLevel();
    virtual std::int32_t hostAutomationState();
    virtual void markAsyncExtension(bool on);
    virtual void markBufferExtension(bool on);
    virtual std::int32_t currentPositionReport();
    virtual void* destinationBufferReport();
    virtual bool offlineRead(void* offline, std::int32_t option, bool readSource);
    virtual bool offlineWrite(void* offline, std::int32_t option);
    virtual bool offlineStart(void* audioFiles, std::int32_t fileCount, std::int32_t newFileCount);
    virtual bool offlineCurrentPass();
    virtual bool offlineCurrentMetaPass();
    virtual bool onOfflineNotify(void* audioFiles, std::int32_t count, bool start);
    virtual bool offlinePrepare(void* offline, std::int32_t count);
    virtual bool offlineRun(void* offline, std::int32_t count);
    virtual std::int32_t setOutputSampleRate(float rate);
    virtual SpeakerArrangement* hostInputArrangement();
    virtual SpeakerArrangement* hostOutputArrangement();
    virtual bool hostVendorText(char* text);
    virtual bool hostProductText(char* text);
    virtual std::int32_t hostVendorVersion();
    virtual IntPtr hostVendorSpecific(std::int32_t index, IntPtr value, void* pointer, float opt);
    virtual bool hostSupports(const char* feature);
    virtual void markSynth(bool on);
    virtual void markNoTail(bool on);
    virtual std::int32_t hostLanguage();
    virtual void* openHostWindow(void* window);
    virtual bool closeHostWindow(void* window);
    virtual void* hostDirectory();
    virtual bool refreshHostDisplay();
    virtual bool processVariableIo(void* io);
    virtual bool setSpeakerArrangement(SpeakerArrangement* input, SpeakerArrangement* output);
    virtual bool speakerArrangement(SpeakerArrangement** input, SpeakerArrangement** output);
    virtual void setBlockSizeAndRate(std::int32_t size, float rate);
    virtual bool setBypass(bool on);
    // Identification: write at most 23 characters into a checked buffer.
    virtual bool effectName(char* text);
    virtual bool errorText(char* text);
    virtual bool vendorText(char* text);
    virtual bool productText(char* text);
    virtual std::int32_t vendorVersion();
    virtual IntPtr vendorSpecific(std::int32_t index, IntPtr value, void* pointer, float opt);
    // 1 supported, -1 not, 0 undecided; the text is checked and zero-terminated by the host.
    virtual std::int32_t supportsFeature(const char* feature);
    virtual void* iconObject();
    virtual bool setViewPosition(std::int32_t x, std::int32_t y);
    virtual std::int32_t tailSize();
    virtual std::int32_t idleTick();
    virtual bool parameterProperties(std::int32_t index, void* properties);
    virtual bool keysRequired();
    virtual std::int32_t interfaceVersion();
    virtual std::int32_t midiProgramName(std::int32_t channel, void* record);
    virtual std::int32_t currentMidiProgram(std::int32_t channel, void* record);
    virtual std::int32_t midiProgramCategory(std::int32_t channel, void* record);
    virtual bool midiProgramsChanged(std::int32_t channel);
    virtual bool midiKeyName(std::int32_t channel, void* record);
    virtual bool beginProgramChange();
    virtual bool endProgramChange();
    virtual bool beginParameterEdit(std::int32_t index);
    virtual bool endParameterEdit(std::int32_t index);
    virtual bool openFileSelector(void* selector);
    virtual IntPtr setTotalSamples(IntPtr count);
    virtual std::int32_t nextShellPlugin(char* name);
    virtual std::int32_t startProcessing();
    virtual std::int32_t stopProcessing();
    virtual bool setPanLaw(std::int32_t type, float value);
    virtual std::int32_t beginLoadBank(void* bank);
    virtual std::int32_t beginLoadProgram(void* program);
    virtual bool allocateArrangement(SpeakerArrangement** place, std::int32_t channelCount);
    virtual bool freeArrangement(SpeakerArrangement** place);
    virtual bool copySpeaker(SpeakerRecord* to, const SpeakerRecord* from);
    virtual bool matchArrangement(SpeakerArrangement** place, const SpeakerArrangement* from);

    bool closeFileSelector(void* selector);
    bool hostChunkFile(char* path);

    // Processing thread: hands a list to the host (opcode 8); true when the host answers 1.
    template <std::size_t N> bool sendEvents(EventListOf<N>& list) { return sendEventList(&list); }

private:
    bool sendEventList(void* list);
};

} // namespace quorvel
