#include "host/ValueText.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace quorvel {

namespace {

void writeHuge(char* text) {
    std::memcpy(text, "Huge!", 6);
}

} // namespace

void numberText(double value, char* text) {
    const bool negative = value < 0.0;
    const double magnitude = negative ? -value : value;
    const double limit = negative ? 9999999.0 : 99999999.0;
    // NaN compares false with everything, so it is caught here rather than converted.
    if (!(magnitude <= limit)) {
        writeHuge(text);
        return;
    }

    // Digits are built from the right into a scratch buffer; at most 8 characters.
    char digits[kValueTextWidth + 1];
    int start = kValueTextWidth;
    digits[kValueTextWidth] = '\0';
    int count = negative ? 1 : 0;
    auto whole = static_cast<std::int64_t>(magnitude);
    digits[--start] = '.';
    ++count;
    digits[--start] = static_cast<char>('0' + whole % 10);
    ++count;
    whole /= 10;
    while (whole >= 1 && count < kValueTextWidth) {
        digits[--start] = static_cast<char>('0' + whole % 10);
        whole /= 10;
        ++count;
    }
    if (negative) digits[--start] = '-';
    std::memcpy(text, digits + start, static_cast<std::size_t>(kValueTextWidth + 1 - start));
    if (count >= kValueTextWidth) return;

    // The fraction is cut, never rounded, so the last digit shown is never carried into.
    const int fractionDigits = kValueTextWidth - count;
    const double fraction = magnitude - std::floor(magnitude);
    auto scaled = static_cast<std::int64_t>(fraction * std::pow(10.0, fractionDigits));
    char* end = text + std::strlen(text);
    for (int i = fractionDigits - 1; i >= 0; --i) {
        end[i] = static_cast<char>('0' + scaled % 10);
        scaled /= 10;
    }
    end[fractionDigits] = '\0';
}

void integerText(std::int32_t value, char* text) {
    if (value >= 100000000) {
        writeHuge(text);
        return;
    }
    char scratch[16];
    std::snprintf(scratch, sizeof scratch, "%7d", static_cast<int>(value));
    scratch[kValueTextWidth] = '\0';
    std::memcpy(text, scratch, std::strlen(scratch) + 1);
}

void decibelText(double gain, char* text) {
    if (gain > 0.0) {
        numberText(20.0 * std::log10(gain), text);
    } else {
        std::memcpy(text, "-oo", 4);
    }
}

void frequencyText(double samples, double sampleRate, char* text) {
    numberText(samples != 0.0 ? sampleRate / samples : 0.0, text);
}

void millisecondText(double samples, double sampleRate, char* text) {
    numberText(samples * 1000.0 / sampleRate, text);
}

} // namespace quorvel
