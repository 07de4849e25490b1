// Finding the built plug-in libraries and a fixture holding one loaded instance.
#pragma once

#include "tools/testhost/PluginInstance.h"
#include "tools/testhost/PluginLibrary.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quorvel::integration {

// The path a host would load: on Windows the DLL beside the test, elsewhere in the build's
// output folder.
inline std::string pluginPath(const std::string& name) {
#if defined(_WIN32)
    return name + ".dll";
#else
    return std::string(PLUGIN_DIR) + "/" + name + ".so";
#endif
}

// A library and one instance of its effect.
struct LoadedPlugin {
    testhost::PluginLibrary library;
    // Declared after the library, so the effect is closed before its code is unloaded.
    testhost::PluginInstance instance;

    ::testing::AssertionResult load(const std::string& name) {
        std::string error;
        if (!library.open(pluginPath(name), error)) return ::testing::AssertionFailure() << error;
        if (!instance.create(library.mainEntry(), error))
            return ::testing::AssertionFailure() << error;
        return ::testing::AssertionSuccess();
    }
};

// A fixture over one plug-in, loaded fresh for every test.
class PluginTest : public ::testing::Test {
protected:
    explicit PluginTest(std::string name) : name(std::move(name)) {}
    void SetUp() override { ASSERT_TRUE(loaded.load(name)); }

    testhost::PluginInstance& plugin() { return loaded.instance; }
    testhost::HostRecorder& host() { return loaded.instance.host(); }

    // Hands the events to the plug-in as one list and answers what it sent back.
    std::vector<MidiEventRecord> play(const std::vector<MidiEventRecord>& events) {
        host().clear();
        EXPECT_EQ(plugin().sendMidi(events), 1);
        return plugin().receivedEvents();
    }
    std::vector<MidiEventRecord> playList(testhost::EventListBuilder& builder) {
        host().clear();
        EXPECT_EQ(plugin().sendList(builder), 1);
        return plugin().receivedEvents();
    }

private:
    std::string name;
    LoadedPlugin loaded;
};

class TavruneTest : public PluginTest {
protected:
    TavruneTest() : PluginTest("tavrune") {}
};

class ProbeTest : public PluginTest {
protected:
    ProbeTest() : PluginTest("probe") {}
};

} // namespace quorvel::integration
