#include "tools/plughost/Options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace quorvel::plughost {

const char* const kUsage =
    "usage: plughost info [--json] PLUGIN...\n"
    "       plughost run PLUGIN [PLUGIN...] --midi IN.mid [--out OUT.mid]\n"
    "                [--audio IN.wav | --tone HZ] [--audio-out OUT.wav] [--tail SECONDS]\n"
    "                [--param [P:]N=V]... [--program [P:]N]... [--rate HZ] [--block FRAMES]\n"
    "                [--print]\n"
    "  --param and --program apply to plug-in P of the chain (from 1; the first by default).\n"
    "  Events a plug-in sends from its processing call reach the next plug-in one block later.\n";

namespace {

bool parseInteger(const char* text, long lowest, long highest, int& value) {
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || parsed < lowest || parsed > highest)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool parseNumber(const char* text, double& value) {
    char* end = nullptr;
    const double parsed = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

// "[P:]REST": the stage before a colon, counted from 1, and what follows it.
bool splitStage(const std::string& text, int& stage, std::string& rest) {
    const auto colon = text.find(':');
    stage = 0;
    rest = text;
    if (colon == std::string::npos) return true;
    int counted = 0;
    if (!parseInteger(text.substr(0, colon).c_str(), 1, 1000, counted)) return false;
    stage = counted - 1;
    rest = text.substr(colon + 1);
    return true;
}

bool parseParameter(const std::string& text, ParameterSetting& setting, std::string& error) {
    std::string rest;
    const auto equals = text.find('=');
    double value = 0.0;
    if (equals == std::string::npos || !splitStage(text.substr(0, equals), setting.stage, rest) ||
        !parseInteger(rest.c_str(), 0, 1 << 30, setting.index) ||
        !parseNumber(text.substr(equals + 1).c_str(), value)) {
        error =
            "--param takes [P:]N=V with whole numbers P and N and a number V, not '" + text + "'";
        return false;
    }
    if (value < 0.0 || value > 1.0) {
        error = "parameter values lie between 0 and 1, not " + text.substr(equals + 1);
        return false;
    }
    setting.value = static_cast<float>(value);
    return true;
}

} // namespace

bool parseOptions(int argc, char** argv, Options& options, std::string& error) {
    options = Options{};
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0)
        return true;
    const std::string command = argv[1];
    if (command == "info") {
        options.command = Options::Command::info;
    } else if (command == "run") {
        options.command = Options::Command::run;
    } else {
        error = "unknown command '" + command + "' (info or run)";
        return false;
    }
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--", 0) != 0) {
            options.plugins.push_back(argument);
            continue;
        }
        if (argument == "--json") {
            options.json = true;
            continue;
        }
        if (argument == "--print") {
            options.print = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = argument + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        double number = 0.0;
        if (argument == "--midi") {
            options.midiIn = value;
        } else if (argument == "--out") {
            options.midiOut = value;
        } else if (argument == "--audio") {
            options.audioIn = value;
        } else if (argument == "--audio-out") {
            options.audioOut = value;
        } else if (argument == "--rate") {
            int rate = 0;
            if (!parseInteger(value, 1000, 1000000, rate)) {
                error =
                    std::string("--rate takes a sample rate from 1000 to 1000000 Hz, not ") + value;
                return false;
            }
            options.rate = rate;
        } else if (argument == "--block") {
            if (!parseInteger(value, 1, 65536, options.block)) {
                error = std::string("--block takes 1 to 65536 frames, not ") + value;
                return false;
            }
        } else if (argument == "--tone") {
            if (!parseNumber(value, number) || number <= 0.0) {
                error = std::string("--tone takes a frequency in Hz, not ") + value;
                return false;
            }
            options.toneHz = number;
        } else if (argument == "--tail") {
            if (!parseNumber(value, number) || number < 0.0 || number > 3600.0) {
                error = std::string("--tail takes 0 to 3600 seconds, not ") + value;
                return false;
            }
            options.tailSeconds = number;
        } else if (argument == "--param") {
            ParameterSetting setting{};
            if (!parseParameter(value, setting, error)) return false;
            options.parameters.push_back(setting);
        } else if (argument == "--program") {
            ProgramSetting setting{};
            std::string rest;
            if (!splitStage(value, setting.stage, rest) ||
                !parseInteger(rest.c_str(), 0, 1 << 30, setting.program)) {
                error = std::string("--program takes [P:]N with whole numbers, not ") + value;
                return false;
            }
            options.programs.push_back(setting);
        } else {
            error = "unknown option " + argument;
            return false;
        }
    }
    if (options.plugins.empty()) {
        error = "no plug-in given";
        return false;
    }
    if (options.command == Options::Command::run && options.midiIn.empty()) {
        error = "run needs --midi IN.mid";
        return false;
    }
    if (!options.audioIn.empty() && options.toneHz) {
        error = "--audio and --tone both give the input audio; choose one";
        return false;
    }
    return true;
}

} // namespace quorvel::plughost
