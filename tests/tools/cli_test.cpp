// The command-line host through its process interface: exit codes, output, streams.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "test_support.h"

namespace {

struct Outcome {
    int exitCode;
    std::string out, err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the host with the arguments (shell words) and the standard input given, after the shell
// commands of the prefix.
Outcome RunHost(const std::string& arguments, const std::string& input = "",
                const std::string& prefix = "") {
    // One name a process: test runs of other build trees may share the directory.
    const std::string base = testing::TempDir() + "geoxform_cli_" + std::to_string(getpid()) +
                             testing::UnitTest::GetInstance()->current_test_info()->name();
    std::ofstream(base + ".in", std::ios::binary) << input;
    const std::string command = prefix + "'" + GEOXFORM_CLI + "' " + arguments + " < '" + base +
                                ".in' > '" + base + ".out' 2> '" + base + ".err'";
    const int status = std::system(command.c_str());
    Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(base + ".out"),
                    ReadFile(base + ".err")};
    for (const char* suffix : {".in", ".out", ".err"})
        std::remove((base + suffix).c_str());
    return outcome;
}

TEST(CommandLine, StreamsManyLinesAndMarksBadOnes) {
    const int n = 50000; // over 1 MiB: lines cross the blocks the host reads
    std::string input = "# comment line passes through\n\n";
    for (int i = 0; i < n; ++i)
        input += std::to_string(-5.9 + 7.8 * i / n) + " " + std::to_string(50 + 8.0 * i / n) +
                 " id" + std::to_string(i) + "\n";
    const Outcome fwd = RunHost("fwd 27700 --precision 6", input + "not a point\n");
    EXPECT_EQ(fwd.exitCode, 1); // one bad line
    EXPECT_NE(fwd.err.find("line 50003"), std::string::npos) << fwd.err;
    // Back through inv, the comment and the blank line as they came: the points return to
    // 1e-9 degrees, with their extra columns.
    std::istringstream back(RunHost("inv 27700 --precision 10", fwd.out).out);
    std::string line, id;
    std::getline(back, line);
    EXPECT_EQ(line, "# comment line passes through");
    for (int i = 0; i < n; ++i) {
        double lon = 0, lat = 0;
        back >> lon >> lat >> id;
        EXPECT_NEAR(lon, -5.9 + 7.8 * i / n, 1e-9);
        EXPECT_NEAR(lat, 50 + 8.0 * i / n, 1e-9);
        ASSERT_EQ(id, "id" + std::to_string(i));
    }
}

// Streams end to end, one row of tests/data/refdata/cli_cases.txt at a time.
TEST(CommandLine, StreamsAndBadInput) {
    for (std::vector<std::string> f : Rows(
#include "data/refdata/cli_cases.txt"
             )) {
        for (std::string& field : f) { // the bytes of the field: its escapes undone
            const KqString units = Unescape(field);
            field.assign(units.begin(), units.end());
        }
        const Outcome outcome = RunHost(f[0], f[1]);
        const std::string name = f[0] + " < " + f[1].substr(0, 40);
        EXPECT_EQ(outcome.exitCode, std::stoi(f[3])) << name << "\n" << outcome.err;
        EXPECT_TRUE(f[2] == "?" || outcome.out == f[2]) << name << "\n" << outcome.out;
        EXPECT_NE((outcome.err + outcome.out).find(f[4]), std::string::npos) << name << "\n"
                                                                             << outcome.err;
    }
#if !defined(__SANITIZE_ADDRESS__) // which reserves more address space than this
    // Memory stays bounded: a 40 MiB line leaves the host in 50 MB of address space. (It once
    // took all the memory the line needed, and stopped reading when there was none.)
    const Outcome bounded =
        RunHost("fwd 27700", "0.5 50.5\n" + std::string(40u << 20, '1') + "\n0.5 50.5\n",
                "ulimit -v 50000; ");
    EXPECT_EQ(bounded.out, "577274.984\t69740.492\n*\t*\n577274.984\t69740.492\n");
#endif
}

// A data directory named with three- and four-byte characters (UTF-16 surrogates in between).
TEST(CommandLine, DataDirectoryOutsideTheBasicPlane) {
    const std::string dir =
        testing::TempDir() + "geoxform_\xE2\x82\xAC\xF0\x9F\x97\xBA" + std::to_string(getpid());
    const std::string cli = GEOXFORM_CLI, data = "/KQUCSData.kqb";
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    std::ofstream(dir + data, std::ios::binary)
        << ReadFile(cli.substr(0, cli.rfind('/')) + "/Support" + data);
    const Outcome info = RunHost("info 27700 --data '" + dir + "'");
    EXPECT_EQ(info.exitCode, 0) << info.err;
    std::remove((dir + data).c_str());
    rmdir(dir.c_str());
}

} // namespace
