#include "tools/plughost/Info.h"

#include "host/FeatureTexts.h"

#include <cstdio>

namespace quorvel::plughost {

namespace {

struct FlagName {
    std::int32_t bit;
    const char* name;
};
constexpr FlagName kFlagNames[] = {{flags::kHasEditor, "editor"},
                                   {flags::kHasClip, "clip"},
                                   {flags::kHasMeter, "meter"},
                                   {flags::kCanMono, "can-mono"},
                                   {flags::kCanOverwrite, "can-overwrite"},
                                   {flags::kStateIsBlock, "state-as-block"},
                                   {flags::kSynth, "synth"},
                                   {flags::kNoTail, "no-tail"}};

constexpr const char* kCategoryNames[] = {"unknown",     "effect",      "synth",       "analysis",
                                          "mastering",   "spatializer", "room effect", "surround",
                                          "restoration", "offline",     "shell",       "generator"};

std::vector<std::string> flagNames(std::int32_t bits) {
    std::vector<std::string> names;
    for (const FlagName& flag : kFlagNames)
        if ((bits & flag.bit) != 0) names.emplace_back(flag.name);
    return names;
}

std::string jsonString(const std::string& text) {
    std::string quoted = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            // Plug-in texts are meant to be ASCII; anything else is escaped byte by byte.
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            quoted += escaped;
        } else {
            quoted += static_cast<char>(c);
        }
    }
    return quoted + "\"";
}

std::string format(const char* pattern, auto... values) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

} // namespace

std::string uniqueIdText(std::int32_t id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>((static_cast<std::uint32_t>(id) >> shift) & 0xFF);
        text += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '.';
    }
    return text;
}

const char* categoryName(std::int64_t category) {
    constexpr auto count = static_cast<std::int64_t>(std::size(kCategoryNames));
    return category >= 0 && category < count ? kCategoryNames[category] : "unknown";
}

PluginReport inspect(testhost::PluginInstance& plugin, const std::string& path) {
    PluginReport report;
    const EffectRecord& record = *plugin.record();
    report.path = path;
    report.effectName = plugin.readText(45).text;
    report.productText = plugin.readText(48).text;
    report.vendorText = plugin.readText(47).text;
    report.vendorVersion = plugin.dispatch(49);
    report.uniqueId = record.uniqueId;
    report.category = plugin.dispatch(35);
    report.programCount = record.programCount;
    report.parameterCount = record.parameterCount;
    report.inputCount = record.inputCount;
    report.outputCount = record.outputCount;
    report.flagBits = record.effectFlags;
    report.initialDelay = record.initialDelay;
    for (int index = 0; index < record.parameterCount; ++index)
        report.parameters.push_back({index, plugin.readText(8, index).text,
                                     plugin.readText(6, index).text, plugin.readText(7, index).text,
                                     plugin.parameter(index)});
    const IntPtr current = plugin.dispatch(3);
    bool selected = false;
    for (int program = 0; program < record.programCount; ++program) {
        testhost::TextAnswer named = plugin.readText(29, program);
        if (named.result == 0) {
            plugin.dispatch(2, 0, program);
            named = plugin.readText(5);
            selected = true;
        }
        report.programs.push_back(named.text);
    }
    if (selected) plugin.dispatch(2, 0, current);
    for (const char* feature : kCommonFeatureTexts) {
        char text[64];
        std::snprintf(text, sizeof text, "%s", feature);
        report.features.emplace_back(feature, plugin.dispatch(51, 0, 0, text));
    }
    return report;
}

std::string reportText(const PluginReport& report) {
    std::string text = report.path + "\n";
    text += format("  effect name     %s\n", report.effectName.c_str());
    text += format("  product         %s\n", report.productText.c_str());
    text += format("  vendor          %s\n", report.vendorText.c_str());
    text += format("  vendor version  %lld\n", static_cast<long long>(report.vendorVersion));
    text += format("  unique id       '%s' (%d, 0x%08X)\n", uniqueIdText(report.uniqueId).c_str(),
                   static_cast<int>(report.uniqueId), static_cast<unsigned>(report.uniqueId));
    text += format("  category        %lld (%s)\n", static_cast<long long>(report.category),
                   categoryName(report.category));
    text += format("  programs %d, parameters %d, inputs %d, outputs %d, initial delay %d\n",
                   report.programCount, report.parameterCount, report.inputCount,
                   report.outputCount, report.initialDelay);
    std::string flagList;
    for (const std::string& name : flagNames(report.flagBits))
        flagList += (flagList.empty() ? "" : ", ") + name;
    text += format("  flags           0x%X (%s)\n", static_cast<unsigned>(report.flagBits),
                   flagList.empty() ? "none" : flagList.c_str());
    text += "  parameters\n";
    for (const ParameterReport& p : report.parameters)
        text += format("    %3d  %-24s %-12s %-12s (%g)\n", p.index, p.title.c_str(),
                       p.display.c_str(), p.unit.c_str(), static_cast<double>(p.value));
    text += "  programs\n";
    for (std::size_t i = 0; i < report.programs.size(); ++i)
        text += format("    %3zu  %s\n", i, report.programs[i].c_str());
    text += "  feature queries\n";
    for (const auto& [feature, answer] : report.features)
        text += format("    %-22s %s\n", feature.c_str(),
                       answer > 0 ? "yes" : (answer < 0 ? "no" : "don't know"));
    return text;
}

std::string reportJson(const std::vector<PluginReport>& reports) {
    std::string json = "[";
    for (std::size_t r = 0; r < reports.size(); ++r) {
        const PluginReport& report = reports[r];
        json += r == 0 ? "\n" : ",\n";
        json += "  {\n    \"path\": " + jsonString(report.path);
        json += ",\n    \"effectName\": " + jsonString(report.effectName);
        json += ",\n    \"productText\": " + jsonString(report.productText);
        json += ",\n    \"vendorText\": " + jsonString(report.vendorText);
        json +=
            format(",\n    \"vendorVersion\": %lld", static_cast<long long>(report.vendorVersion));
        json += ",\n    \"uniqueId\": " + jsonString(uniqueIdText(report.uniqueId));
        json += format(",\n    \"uniqueIdNumber\": %d", static_cast<int>(report.uniqueId));
        json += format(",\n    \"category\": %lld", static_cast<long long>(report.category));
        json += ",\n    \"categoryName\": " + jsonString(categoryName(report.category));
        json += format(",\n    \"programCount\": %d,\n    \"parameterCount\": %d",
                       report.programCount, report.parameterCount);
        json += format(",\n    \"inputCount\": %d,\n    \"outputCount\": %d", report.inputCount,
                       report.outputCount);
        json += format(",\n    \"initialDelay\": %d", report.initialDelay);
        json += format(",\n    \"flags\": %d,\n    \"flagNames\": [",
                       static_cast<int>(report.flagBits));
        const auto names = flagNames(report.flagBits);
        for (std::size_t i = 0; i < names.size(); ++i)
            json += (i == 0 ? "" : ", ") + jsonString(names[i]);
        json += "],\n    \"parameters\": [";
        for (std::size_t i = 0; i < report.parameters.size(); ++i) {
            const ParameterReport& p = report.parameters[i];
            json += format("%s\n      {\"index\": %d, \"title\": ", i == 0 ? "" : ",", p.index);
            json += jsonString(p.title) + ", \"unit\": " + jsonString(p.unit) +
                    ", \"display\": " + jsonString(p.display) +
                    format(", \"value\": %.9g}", static_cast<double>(p.value));
        }
        json += report.parameters.empty() ? "]" : "\n    ]";
        json += ",\n    \"programs\": [";
        for (std::size_t i = 0; i < report.programs.size(); ++i)
            json += (i == 0 ? "" : ", ") + jsonString(report.programs[i]);
        json += "],\n    \"features\": {";
        for (std::size_t i = 0; i < report.features.size(); ++i)
            json += (i == 0 ? "" : ", ") + jsonString(report.features[i].first) +
                    format(": %lld", static_cast<long long>(report.features[i].second));
        json += "}\n  }";
    }
    return json + "\n]\n";
}

} // namespace quorvel::plughost
