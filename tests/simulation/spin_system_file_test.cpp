// The spin-system file of simulate and transitions: what its reader refuses, in which words,
// and what its writer writes.
#include "simulation/spin_system_file.h"

#include <gtest/gtest.h>

#include "simulation/synthesis.h"

namespace pelvaron::simulation {
namespace {

TEST(SpinSystemJson, NamesWhatIsWrongAndWhereAndWhatIsWrittenReadsBackAsTheSameSystem) {
    std::string six = R"({"subsystems": [{"shifts": [100]})";
    for (int k = 1; k < 6; ++k) six += R"(, {"shifts": [100]})";
    six += "]}";
    const std::string pts = "points: ";
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"{\"subsystems\": [{\"shifts\": [1]}],\n",
         "line 2, column 1: syntax error while parsing object key - "
         "unexpected end of input; expected string literal"},
        {R"({"subsystems": [{"shifts": [1]}, {"shifts": [1, "2"]}]})",
         "subsystems[1].shifts[1]: expected a number, not a string"},
        {R"({"sf": 300})", "subsystems: missing; expected a list of 1 to 5 subsystems"},
        {R"({"subsystems": [{"couplings": []}]})",
         "subsystems[0].shifts: missing; expected a list of one shift per nucleus"},
        {R"({"linewidth": 1, "subsystems": [{"shifts": [1]}]})", "unknown key \"linewidth\""},
        {R"({"subsystems": [{"shifts": [1, 2], "shifts": [3]}]})",
         "subsystems[0]: the key \"shifts\" appears twice"},
        {R"({"subsystems": [{"shifts": [1]}, {"shifts": [1, 2], "couplings": [[1, 2, 3], [1, 2]]}]})",
         "subsystems[1].couplings[1]: expected [i, j, J], three numbers, not a list of 2"},
        {R"({"subsystems": [{"shifts": [1, 2], "couplings": [[1, 3, 5]]}]})",
         "subsystems[0].couplings[0][1]: expected a nucleus from 1 to 2, not 3"},
        {R"({"subsystems": [{"shifts": [1, 2], "couplings": [[2, 2, 5]]}]})",
         "subsystems[0].couplings[0]: names nucleus 2 twice; a coupling needs two nuclei"},
        // The engine's limits, in its words.
        {R"({"points": 1048577, "subsystems": [{"shifts": [1]}]})", pts + simulation::kPointsText},
        {R"({"points": 1e300, "subsystems": [{"shifts": [1]}]})", pts + simulation::kPointsText},
        {R"({"subsystems": [{"shifts": [1,2,3,4,5,6,7,8,9,10,11]}]})",
         std::string("subsystems[0].shifts: ") + simulation::kNucleiCountText},
        {six, std::string("subsystems: ") + simulation::kTooManySubsystemsText},
    };
    for (const Case& c : cases) {
        SpinSystemFile system;
        std::string error;
        EXPECT_FALSE(parseSpinSystemJson(c.text, system, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }

    // What is written reads back as the same system, up to the engine's limits.
    SpinSystemFile system;
    system.sf = 400.13;
    system.ppm = true;
    system.from = -0.5;
    system.to = 10.1;
    system.points = 1048576;  // the largest the document holds
    system.lineWidth = 0.7;
    system.threshold = 1e-5;
    system.subsystems.resize(5);  // the most the engine takes, the last of ten nuclei
    system.subsystems[0].shifts = {2.0, 2.06, 4.5};
    system.subsystems[0].couplings = {{0, 16.1, 7.0}, {16.1, 0, 0}, {7.0, 0, 0}};
    for (std::size_t k = 1; k < 5; ++k) {
        const std::size_t n = k == 4 ? 10 : 1;
        system.subsystems[k].shifts.assign(n, 1.0 / 3.0);
        system.subsystems[k].couplings.assign(n, std::vector<double>(n, 0.0));
    }
    const std::string text = writeSpinSystemJson(system);
    SpinSystemFile back;
    std::string error;
    ASSERT_TRUE(parseSpinSystemJson(text, back, error)) << error << "\n" << text;
    EXPECT_TRUE(back == system) << text;
    EXPECT_NE(text.find("\"couplings\":[[1,2,16.1],[1,3,7.0]]"), std::string::npos) << text;
}

}  // namespace
}  // namespace pelvaron::simulation
