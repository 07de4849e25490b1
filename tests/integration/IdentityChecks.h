// Identification and feature answers as a host reads them, shared by the library tests that
// check one plug-in's configuration.
#pragma once

#include "tools/testhost/PluginInstance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

namespace quorvel::integration {

inline IntPtr featureAnswer(testhost::PluginInstance& plugin, const char* feature) {
    std::string text(feature);
    return plugin.dispatch(51, 0, 0, text.data());
}

// Every feature text a host is known to ask, plus near misses that must not match.
inline constexpr const char* kKnownFeatures[] = {"sendVstEvents",
                                                 "sendVstMidiEvent",
                                                 "receiveVstEvents",
                                                 "receiveVstMidiEvent",
                                                 "sendVstTimeInfo",
                                                 "receiveVstTimeInfo",
                                                 "offline",
                                                 "plugAsChannelInsert",
                                                 "plugAsSend",
                                                 "mixDryWet",
                                                 "noRealTime",
                                                 "multipass",
                                                 "metapass",
                                                 "1in1out",
                                                 "1in2out",
                                                 "2in1out",
                                                 "2in2out",
                                                 "2in4out",
                                                 "4in2out",
                                                 "4in4out",
                                                 "4in8out",
                                                 "8in4out",
                                                 "8in8out",
                                                 "midiProgramNames",
                                                 "conformsToWindowRules",
                                                 "bypass",
                                                 "ReceiveVstMidiEvent",
                                                 "receiveVstMidiEvents",
                                                 "receiveVstMidiEvent ",
                                                 "",
                                                 "sendvstevents"};

// The texts in yes answer 1; every other known text answers -1, never the undecided 0.
inline void expectFeatureAnswers(testhost::PluginInstance& plugin,
                                 std::initializer_list<const char*> yes) {
    for (const char* feature : kKnownFeatures) {
        const bool answersYes = std::any_of(yes.begin(), yes.end(), [&](const char* wanted) {
            return std::string(wanted) == feature;
        });
        EXPECT_EQ(featureAnswer(plugin, feature), answersYes ? 1 : -1) << '"' << feature << '"';
    }
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

} // namespace quorvel::integration
