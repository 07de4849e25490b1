// Small effects for the unit tests of the effect layer, and a binding to the test host's
// recording host.
#pragma once

#include "host/EffectBaseV2.h"
#include "tools/testhost/HostRecorder.h"

#include <string>
#include <vector>

namespace quorvel::testing {

// Binds an effect's record to a recorder of the test host for the life of the binding, so the
// recorder receives exactly that effect's requests.
class RecorderBinding {
public:
    RecorderBinding(EffectRecord& record, testhost::HostRecorder& recorder) : record(record) {
        testhost::bindRecorder(&record, &recorder);
    }
    ~RecorderBinding() { testhost::unbindRecorder(&record); }
    RecorderBinding(const RecorderBinding&) = delete;
    RecorderBinding& operator=(const RecorderBinding&) = delete;

private:
    EffectRecord& record;
};

class FakeEditor : public EditorLink {
public:
    std::vector<std::string> log;
    KeyRecord lastKey{};
    EditorSize size{0, 0, 100, 200};

    IntPtr getSize(EditorSize** place) override {
        log.push_back("getSize");
        *place = &size;
        return 1;
    }
    IntPtr open(void*) override {
        log.push_back("open");
        return 1;
    }
    void close() override { log.push_back("close"); }
    void idle() override { log.push_back("idle"); }
    IntPtr keyDown(KeyRecord& key) override {
        lastKey = key;
        log.push_back("keyDown");
        return 1;
    }
    IntPtr keyUp(KeyRecord& key) override {
        lastKey = key;
        log.push_back("keyUp");
        return 1;
    }
    IntPtr setDragMode(IntPtr mode) override {
        log.push_back("setDragMode " + std::to_string(mode));
        return 1;
    }
    void requestRefresh() override { log.push_back("refresh"); }
    void parameterChanged(std::int32_t index, float value) override {
        log.push_back("changed " + std::to_string(index) + " " + std::to_string(value));
    }
};

// Keeps every default of the layer; records the operations the dispatcher reaches.
class PlainEffect : public EffectBaseV2 {
public:
    explicit PlainEffect(HostCallback host, std::int32_t programs = 4, std::int32_t parameters = 2)
        : EffectBaseV2(host, programs, parameters) {}

    void processAccumulating(float**, float**, std::int32_t frames) override {
        log.push_back("accumulate " + std::to_string(frames));
    }
    void processOverwriting(float**, float**, std::int32_t frames) override {
        log.push_back("overwrite " + std::to_string(frames));
    }
    void applyParameter(std::int32_t index, float value) override {
        log.push_back("apply " + std::to_string(index) + " " + std::to_string(value));
    }
    void onSuspend() override { log.push_back("suspend"); }
    void onResume() override { log.push_back("resume"); }
    void onClose() override { log.push_back("close"); }
    float meterLevel() override { return meter; }
    std::int32_t receiveEvents(const EventList& list) override {
        log.push_back("events " + std::to_string(list.count));
        return 1;
    }
    bool effectName(char* text) override {
        text[0] = 'P';
        text[1] = '\0';
        return true;
    }
    FakeEditor* giveEditor() {
        auto* created = new FakeEditor;
        attachEditor(created);
        return created;
    }
    void failEditor() { attachEditor(nullptr); }
    // Exposes the layer's own wrappers to the tests.
    using EffectBase::callHost;

    std::vector<std::string> log;
    float meter = 0.0f;
};

} // namespace quorvel::testing
