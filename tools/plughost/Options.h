// The command line of plughost.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvel::plughost {

// A setting for one plug-in of the chain; stage counts from 0 (the command line from 1).
struct ParameterSetting {
    int stage;
    int index;
    float value;
};

struct ProgramSetting {
    int stage;
    int program;
};

struct Options {
    enum class Command { help, info, run } command = Command::help;
    std::vector<std::string> plugins;
    bool json = false;
    bool print = false;
    std::string midiIn;
    std::string midiOut;
    std::string audioIn;
    std::string audioOut;
    std::optional<int> rate;
    int block = 512;
    std::optional<double> toneHz;
    std::optional<double> tailSeconds;
    std::vector<ParameterSetting> parameters;
    std::vector<ProgramSetting> programs;
};

// False with a one-line reason for anything malformed: unknown options, missing values,
// numbers that do not parse, parameter values outside 0 to 1.
bool parseOptions(int argc, char** argv, Options& options, std::string& error);

extern const char* const kUsage;

} // namespace quorvel::plughost
