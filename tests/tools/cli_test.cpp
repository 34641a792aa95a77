// The command-line host through its process interface: exit codes, output, streams.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode;
    std::string out, err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the host with the arguments (shell words) and the standard input given.
Outcome RunHost(const std::string& arguments, const std::string& input = "") {
    const std::string base = testing::TempDir() + "geoxform_cli_" +
                             testing::UnitTest::GetInstance()->current_test_info()->name();
    std::ofstream(base + ".in", std::ios::binary) << input;
    const std::string command = std::string("'") + GEOXFORM_CLI + "' " + arguments + " < '" + base +
                                ".in' > '" + base + ".out' 2> '" + base + ".err'";
    const int status = std::system(command.c_str());
    Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(base + ".out"),
                    ReadFile(base + ".err")};
    for (const char* suffix : {".in", ".out", ".err"})
        std::remove((base + suffix).c_str());
    return outcome;
}

TEST(CommandLine, HelpAndUsageErrors) {
    const Outcome help = RunHost("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("geoxform fwd CODE"), std::string::npos);
    EXPECT_EQ(RunHost("inv --help").exitCode, 0);

    struct Case {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"", "Commands:"},
        {"project 27700", "unknown command 'project'"},
        {"fwd 27700 --bogus", "unknown option --bogus"},
        {"fwd 99999 0 0", "EPSG:99999 is not a predefined system"},
        {"fwd abc 0 0", "'abc' is not an EPSG code"},
        {"fwd 27700 1", "coordinates come in pairs"},
        {"fwd 27700 one 50", "is not a point"},
        {"inv 27700 5e5 x", "is not a point"},
        {"sheet 27700 --units parsec 1 1", "unknown unit 'parsec'"},
        {"sheet 27700 --scale -5 1 1", "--scale needs a positive number"},
        {"fwd 27700 --precision 99 0 50", "--precision needs a whole number"},
        {"list --data /nonexistent-geoxform", "no reference data in /nonexistent-geoxform"},
        {"info", "info takes one EPSG code"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = RunHost(c.arguments);
        EXPECT_EQ(outcome.exitCode, 2) << c.arguments;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos)
            << c.arguments << ": " << outcome.err;
    }
}

// EPSG guidance note 7-2's British National Grid point, both ways.
TEST(CommandLine, ForwardAndInverseArguments) {
    const Outcome fwd = RunHost("fwd 27700 0.5 50.5 \"0:30:00E\" \"50:30:00N\"");
    ASSERT_EQ(fwd.exitCode, 0) << fwd.err;
    EXPECT_EQ(fwd.out, "577274.984\t69740.492\n577274.984\t69740.492\n");

    const Outcome inv = RunHost("inv 27700 577274.984 69740.492 --precision 7");
    ASSERT_EQ(inv.exitCode, 0) << inv.err;
    EXPECT_EQ(inv.out, "0.5000000\t50.5000000\n");
    const Outcome dms = RunHost("inv 27700 577274.984 69740.492 --dms --precision 2");
    EXPECT_EQ(dms.out, "0\xC2\xB0"
                       "30'00.00\"E\t50\xC2\xB0"
                       "30'00.00\"N\n");
}

TEST(CommandLine, StreamsManyLinesAndMarksBadOnes) {
    std::string input = "# comment line passes through\n\n";
    const int n = 20000;
    for (int i = 0; i < n; ++i)
        input += std::to_string(-5.9 + 7.8 * i / n) + " " + std::to_string(50 + 8.0 * i / n) +
                 " id" + std::to_string(i) + "\n";
    input += "not a point\n";
    const Outcome fwd = RunHost("fwd 27700 --precision 6", input);
    EXPECT_EQ(fwd.exitCode, 1); // one bad line
    EXPECT_NE(fwd.err.find("line 20003"), std::string::npos) << fwd.err;
    std::istringstream lines(fwd.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "# comment line passes through");
    std::getline(lines, line);
    EXPECT_EQ(line, "");

    // Back through inv: the points return to 1e-9 degrees, with their extra columns.
    std::string projected;
    int count = 0;
    while (std::getline(lines, line) && line[0] != '*') {
        projected += line + "\n";
        ++count;
    }
    EXPECT_EQ(count, n);
    const Outcome inv = RunHost("inv 27700 --precision 10", projected);
    ASSERT_EQ(inv.exitCode, 0) << inv.err;
    std::istringstream back(inv.out);
    for (int i = 0; i < n; ++i) {
        double lon = 0, lat = 0;
        std::string id;
        back >> lon >> lat >> id;
        EXPECT_NEAR(lon, -5.9 + 7.8 * i / n, 1e-9);
        EXPECT_NEAR(lat, 50 + 8.0 * i / n, 1e-9);
        ASSERT_EQ(id, "id" + std::to_string(i));
    }
}

TEST(CommandLine, ListAndInfo) {
    const Outcome list = RunHost("list \"british NATIONAL grid\"");
    ASSERT_EQ(list.exitCode, 0);
    EXPECT_NE(list.out.find("27700   Transverse Mercator"), std::string::npos) << list.out;
    EXPECT_EQ(RunHost("list \"no such name at all\"").exitCode, 1);

    const Outcome info = RunHost("info 2227");
    ASSERT_EQ(info.exitCode, 0) << info.err;
    for (const char* expected :
         {"Lambert Conic Conformal (2SP) (EPSG:9802, projection 8)", "US survey foot",
          "8823  Latitude of 1st standard parallel", "text form\n  13,US survey foot,"})
        EXPECT_NE(info.out.find(expected), std::string::npos) << expected << "\n" << info.out;
}

TEST(CommandLine, SheetAndMeasurement) {
    // 16 000 and -4 000 mm at 1:25000 is the false origin of the British grid.
    const Outcome sheet = RunHost("sheet 27700 --scale 25000 --units Meter 16000 -4000");
    ASSERT_EQ(sheet.exitCode, 0) << sheet.err;
    EXPECT_NE(sheet.out.find("400000.000 -100000.000 Meter"), std::string::npos) << sheet.out;
    EXPECT_NE(sheet.out.find("-2.000000000 49.000000000"), std::string::npos) << sheet.out;
    EXPECT_NE(sheet.out.find("sheet 16000.000000 -4000.000000 mm"), std::string::npos);

    const std::string square = "0 0\n10 0\n10 10\n0 10\n";
    EXPECT_EQ(RunHost("area --units Millimeter", square).out, "100.000 square Millimeter\n");
    EXPECT_EQ(RunHost("area --units Meter --scale 1000", square).out, "100.000 square Meter\n");
    EXPECT_EQ(RunHost("distance --units Meter --scale 1000", "0 0\n3 0\n3 4\n").out,
              "7.000 Meter\n");
    EXPECT_EQ(RunHost("area", "0 0\n1 x\n").exitCode, 2);
}

TEST(CommandLine, LanguageChangesUnitNames) {
    const Outcome german = RunHost("distance --lang de --units 2", "0 0\n30 40\n");
    ASSERT_EQ(german.exitCode, 0) << german.err;
    EXPECT_EQ(german.out, "5.000 Zentimeter\n");
    const Outcome feet = RunHost("distance --lang de --units 6", "0 0\n304.8 0\n");
    EXPECT_EQ(feet.out, "1.000 Fu\xC3\x9F\n");
}

} // namespace
