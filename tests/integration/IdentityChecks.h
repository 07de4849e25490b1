// What a host reads of a plug-in to identify it and show it to the user: the record, the
// identification texts, the feature answers, the resume request, the output pins and the
// parameters' labels and value texts.
#pragma once

#include "host/FeatureTexts.h"
#include "tools/testhost/PluginInstance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace quorvel::integration {

// The numbers of the effect record; flags outside the ones compared are the caller's to say.
struct RecordAnswers {
    std::int32_t uniqueId;
    std::int32_t programCount;
    std::int32_t parameterCount;
    std::int32_t inputCount;
    std::int32_t outputCount;
    std::int32_t effectFlags;
};

inline void expectRecord(testhost::PluginInstance& plugin, const RecordAnswers& want,
                         std::int32_t ignoredFlags = 0) {
    const EffectRecord& record = *plugin.record();
    EXPECT_EQ(record.uniqueId, want.uniqueId);
    EXPECT_EQ(record.programCount, want.programCount);
    EXPECT_EQ(record.parameterCount, want.parameterCount);
    EXPECT_EQ(record.inputCount, want.inputCount);
    EXPECT_EQ(record.outputCount, want.outputCount);
    EXPECT_EQ(record.effectFlags & ~ignoredFlags, want.effectFlags);
}

// The identification texts and numbers of opcodes 45, 47, 48, 49, 35 and 52.
struct IdentityAnswers {
    const char* effectName;
    const char* vendorText;
    const char* productText;
    IntPtr vendorVersion;
    IntPtr category;
    IntPtr tailSize;
};

inline void expectIdentityAnswers(testhost::PluginInstance& plugin, const IdentityAnswers& want) {
    const std::pair<std::int32_t, const char*> texts[] = {
        {45, want.effectName}, {47, want.vendorText}, {48, want.productText}};
    for (const auto& [opcode, text] : texts) {
        const testhost::TextAnswer answer = plugin.readText(opcode);
        EXPECT_EQ(answer.result, 1) << "opcode " << opcode;
        EXPECT_EQ(answer.text, text) << "opcode " << opcode;
    }
    EXPECT_EQ(plugin.dispatch(49), want.vendorVersion);
    EXPECT_EQ(plugin.dispatch(35), want.category);
    EXPECT_EQ(plugin.dispatch(52), want.tailSize);
}

inline IntPtr featureAnswer(testhost::PluginInstance& plugin, const char* feature) {
    std::string text(feature);
    return plugin.dispatch(51, 0, 0, text.data());
}

// Every feature text a host is known to ask, plus near misses that must not match.
// The common texts and near misses of them, which must not count.
inline const std::vector<const char*> kKnownFeatures = [] {
    std::vector<const char*> texts(std::begin(kCommonFeatureTexts), std::end(kCommonFeatureTexts));
    texts.insert(texts.end(), {"ReceiveVstMidiEvent", "receiveVstMidi", "receiveVstMidiEvents",
                               "receiveVstMidiEvent ", "", "sendvstevents"});
    return texts;
}();

// The texts in yes answer 1; every other known text answers -1, never the undecided 0.
inline void expectFeatureAnswers(testhost::PluginInstance& plugin,
                                 const std::vector<const char*>& yes) {
    for (const char* feature : kKnownFeatures) {
        const bool answersYes = std::any_of(yes.begin(), yes.end(), [&](const char* wanted) {
            return std::string(wanted) == feature;
        });
        EXPECT_EQ(featureAnswer(plugin, feature), answersYes ? 1 : -1) << '"' << feature << '"';
    }
}

// Resuming asks the host once to send events, as a plug-in that receives MIDI must.
inline void expectResumingRequestsEvents(testhost::PluginInstance& plugin) {
    plugin.host().clear();
    plugin.dispatch(12, 0, 1);
    const std::vector<testhost::HostCall> requests = plugin.host().callsOf(6);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].value, 1);
}

// Output pins 0 and 1 are named after the effect when answered; no other index writes a byte.
inline void expectOutputPins(testhost::PluginInstance& plugin, const std::string& effectName,
                             bool answered) {
    const std::array<std::string, 2> labels{effectName + " Left Output 1",
                                            effectName + " Right Output 1"};
    for (std::int32_t index = -1; index < 3; ++index) {
        PinProperties pin;
        std::memset(&pin, 0x5A, sizeof pin);
        const PinProperties before = pin;
        const bool named = answered && (index == 0 || index == 1);
        EXPECT_EQ(plugin.dispatch(34, index, 0, &pin), named ? 1 : 0) << index;
        if (named) {
            EXPECT_EQ(std::string(pin.label), labels[static_cast<std::size_t>(index)]);
            EXPECT_EQ(pin.flags, 3);
        } else {
            EXPECT_EQ(std::memcmp(&pin, &before, sizeof pin), 0) << "index " << index;
        }
    }
}

struct ParameterLabel {
    const char* title;
    const char* unit;
};

// Titles and units by index; the index after the last one writes nothing and reads 0.
inline void expectLabels(testhost::PluginInstance& plugin,
                         const std::vector<ParameterLabel>& labels) {
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const auto index = static_cast<std::int32_t>(i);
        EXPECT_EQ(plugin.readText(8, index).text, labels[i].title) << "index " << i;
        EXPECT_EQ(plugin.readText(6, index).text, labels[i].unit) << "index " << i;
    }
    const auto outside = static_cast<std::int32_t>(labels.size());
    for (const std::int32_t opcode : {6, 7, 8})
        EXPECT_TRUE(plugin.readText(opcode, outside).untouched) << "opcode " << opcode;
    EXPECT_EQ(plugin.parameter(outside), 0.0f);
}

struct DisplayCase {
    std::int32_t index;
    float value;
    const char* shown;
};

// Sets each value in turn and reads the text shown for it.
inline void expectDisplays(testhost::PluginInstance& plugin,
                           const std::vector<DisplayCase>& cases) {
    for (const DisplayCase& c : cases) {
        plugin.setParameter(c.index, c.value);
        EXPECT_EQ(plugin.readText(7, c.index).text, c.shown)
            << "index " << c.index << " value " << c.value;
    }
}

} // namespace quorvel::integration
