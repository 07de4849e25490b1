#include "host/ValueText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace quorvel {
namespace {

std::string number(double value) {
    char text[32];
    numberText(value, text);
    return text;
}

TEST(ValueTextTest, NumberTextHasEightCharactersAndCutsTheFraction) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {1.5, "1.500000"},      {0.25, "0.250000"},        {100, "100.0000"},
        {-3.5, "-3.50000"},     {12345.678f, "12345.67"},  {0, "0.000000"},
        {0.7f, "0.699999"},     {-6.0206f, "-6.02059"},    {1234567, "1234567."},
        {12345678, "2345678."}, {-1234567.9f, "-234567."}, {99999999, "9999999."},
        {-9999999, "-999999."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(number(c.value), c.text) << c.value;
}

TEST(ValueTextTest, NumberTextShowsHugeForWhatItCannotShow) {
    const double cases[] = {static_cast<float>(99999999),
                            100000000.0,
                            -10000000.0,
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN()};
    for (double value : cases)
        EXPECT_EQ(number(value), "Huge!") << value;
}

TEST(ValueTextTest, IntegerTextPadsToSevenAndCutsAfterEight) {
    const struct {
        std::int32_t value;
        const char* text;
    } cases[] = {
        {42, "     42"},      {-123456789, "-1234567"}, {99999999, "99999999"},
        {100000000, "Huge!"}, {INT32_MAX, "Huge!"},     {INT32_MIN, "-2147483"},
        {0, "      0"},
    };
    for (const auto& c : cases) {
        char text[32];
        integerText(c.value, text);
        EXPECT_STREQ(text, c.text) << c.value;
    }
}

TEST(ValueTextTest, DecibelFrequencyAndMillisecondTexts) {
    char text[32];
    decibelText(1.0, text);
    EXPECT_STREQ(text, "0.000000");
    decibelText(0.5, text);
    EXPECT_STREQ(text, "-6.02059");
    decibelText(0.0, text);
    EXPECT_STREQ(text, "-oo");
    decibelText(-1.0, text);
    EXPECT_STREQ(text, "-oo");

    frequencyText(441, 44100, text);
    EXPECT_STREQ(text, "100.0000");
    frequencyText(0, 44100, text);
    EXPECT_STREQ(text, "0.000000");
    millisecondText(441, 44100, text);
    EXPECT_STREQ(text, "10.00000");
    // A rate of 0 cannot be shown, and must not be a division fault.
    millisecondText(441, 0, text);
    EXPECT_STREQ(text, "Huge!");
}

} // namespace
} // namespace quorvel
