// Programs and their names through the dispatcher, on Tavrune's one program and the probe's
// eight.
#include "tests/integration/LoadedPlugin.h"

namespace quorvel::integration {
namespace {

void rename(testhost::PluginInstance& plugin, std::string name) {
    plugin.dispatch(4, 0, 0, name.data());
}

std::string programName(testhost::PluginInstance& plugin) {
    return plugin.readText(5).text;
}

struct NameCase {
    const char* library;
    std::int32_t program;
    const char* rename; // nullptr keeps the name the program starts with
    const char* shown;
};

class ProgramNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ProgramNameTest, ShowsTheNameWithInitNumbered) {
    const NameCase& c = GetParam();
    LoadedPlugin loaded;
    ASSERT_TRUE(loaded.load(c.library));
    testhost::PluginInstance& plugin = loaded.instance;
    plugin.dispatch(2, 0, c.program);
    if (c.rename != nullptr) rename(plugin, c.rename);
    const testhost::TextAnswer answer = plugin.readText(5);
    EXPECT_EQ(answer.result, 0);
    EXPECT_EQ(answer.text, c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ProgramNameTest,
    ::testing::Values(
        NameCase{"tavrune", 0, nullptr, "Tavrune"}, NameCase{"tavrune", 0, "Init", "Init 1"},
        NameCase{"tavrune", 0, "Lead", "Lead"},
        NameCase{"tavrune", 0, "abcdefghijklmnopqrstuvwxyz0123", "abcdefghijklmnopqrstuvw"},
        NameCase{"tavrune", 0, "", ""}, NameCase{"probe", 0, nullptr, "Probe"},
        NameCase{"probe", 4, nullptr, "Init 5"}, NameCase{"probe", 7, nullptr, "Init 8"},
        NameCase{"probe", 4, "Init", "Init 5"}, NameCase{"probe", 3, "Init 4", "Init 4"},
        NameCase{"probe", 2, "0123456789012345678901234567890", "01234567890123456789012"}));

class TavruneProgramTest : public TavruneTest {};
class ProbeProgramTest : public ProbeTest {};

TEST_F(TavruneProgramTest, CopyingOutsideTheStoreOrOntoItselfChangesNothing) {
    plugin().setParameter(0, 0.75f);
    rename(plugin(), "Bass");
    EXPECT_EQ(plugin().dispatch(30, 1), 0);
    EXPECT_EQ(plugin().dispatch(30, -1), 0);
    EXPECT_EQ(plugin().dispatch(30, 0), 1);
    EXPECT_EQ(programName(plugin()), "Bass");
    EXPECT_EQ(plugin().parameter(0), 0.75f);
    EXPECT_EQ(plugin().dispatch(3), 0);
}

TEST_F(ProbeProgramTest, CopyCarriesValuesAndNameToAnotherProgram) {
    plugin().dispatch(2, 0, 1);
    plugin().setParameter(0, 0.125f);
    plugin().setParameter(1, 0.875f);
    rename(plugin(), "Source");
    EXPECT_EQ(plugin().dispatch(30, 8), 0);
    EXPECT_EQ(plugin().dispatch(30, 6), 1);
    EXPECT_EQ(plugin().dispatch(3), 1);

    plugin().dispatch(2, 0, 6);
    EXPECT_EQ(programName(plugin()), "Source");
    EXPECT_EQ(plugin().parameter(0), 0.125f);
    EXPECT_EQ(plugin().parameter(1), 0.875f);
}

TEST_F(ProbeProgramTest, SelectingAProgramAppliesItsOwnValues) {
    plugin().dispatch(2, 0, 2);
    plugin().setParameter(1, 0.9f);
    plugin().dispatch(2, 0, 5);
    EXPECT_EQ(plugin().parameter(1), 0.25f);
    plugin().dispatch(2, 0, 2);
    EXPECT_EQ(plugin().parameter(1), 0.9f);
    EXPECT_EQ(plugin().parameter(0), 0.0f);
}

TEST_F(ProbeProgramTest, ProgramNamesByCategoryAreNotAnswered) {
    const testhost::TextAnswer answer = plugin().readText(29, 3, 0);
    EXPECT_EQ(answer.result, 0);
    EXPECT_TRUE(answer.untouched);
}

} // namespace
} // namespace quorvel::integration
