// What plughost info tells about a plug-in: identity, counts, flags, parameters, programs and
// the answers to the usual feature queries, as text or JSON.
#pragma once

#include "tools/testhost/PluginInstance.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel::plughost {

struct ParameterReport {
    int index;
    std::string title;
    std::string unit;
    std::string display;
    float value;
};

struct PluginReport {
    std::string path;
    std::string effectName;
    std::string productText;
    std::string vendorText;
    std::int64_t vendorVersion = 0;
    std::int32_t uniqueId = 0;
    std::int64_t category = 0;
    std::int32_t programCount = 0;
    std::int32_t parameterCount = 0;
    std::int32_t inputCount = 0;
    std::int32_t outputCount = 0;
    std::int32_t flagBits = 0;
    std::int32_t initialDelay = 0;
    std::vector<ParameterReport> parameters;
    std::vector<std::string> programs;
    std::vector<std::pair<std::string, std::int64_t>> features;
};

// Asks an opened effect everything the report holds; programs are read by selecting each one
// when the plug-in cannot name them by index, and the current program is selected again.
PluginReport inspect(testhost::PluginInstance& plugin, const std::string& path);

std::string reportText(const PluginReport& report);
std::string reportJson(const std::vector<PluginReport>& reports);
// The four characters of a unique id, with '.' for bytes that are not printable.
std::string uniqueIdText(std::int32_t id);
const char* categoryName(std::int64_t category);

} // namespace quorvel::plughost
