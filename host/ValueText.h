// Fixed-width value texts for parameter displays. Each writes at most 8 characters and a zero.
#pragma once

#include <cstdint>

namespace quorvel {

inline constexpr int kValueTextWidth = 8;

// Sign, integer digits, point and fraction digits, 8 characters in all; "Huge!" beyond
// 99999999 (9999999 for negative values).
void numberText(double value, char* text);
// "%7d" cut after 8 characters; "Huge!" from 100000000 up.
void integerText(std::int32_t value, char* text);
// 20 log10 of a linear gain; "-oo" for a gain of 0 or below.
void decibelText(double gain, char* text);
// The frequency of a period of samples at the given rate; a period of 0 shows 0.
void frequencyText(double samples, double sampleRate, char* text);
// A duration of samples at the given rate in milliseconds.
void millisecondText(double samples, double sampleRate, char* text);

} // namespace quorvel
