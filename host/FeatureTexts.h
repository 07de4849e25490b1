// The feature texts hosts commonly ask a plug-in about (opcode 51), for the tools that ask
// them and the tests that check every answer.
#pragma once

namespace quorvel {

inline constexpr const char* kCommonFeatureTexts[] = {"sendVstEvents",
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
                                                      "bypass"};

} // namespace quorvel
