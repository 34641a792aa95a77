// The command-line host through its process interface: exit codes, output, streams.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Streams end to end: (arguments, standard input, standard output, exit code, a piece of the
// message on standard error). A null output is not compared.
TEST(CommandLine, StreamsAndBadInput) {
    using namespace std::string_literals;
    const std::string bng = "577274.984\t69740.492\n",
                      sheet = "sheet 16000.000 -4000.000 mm  ->  "
                              "400000 -100000 Meter  ->  -2 49  ->  sheet "
                              "16000.000000 -4000.000000 mm\n";
    const std::string square = "0 0\n10 0\n10 10\n0 10\n";
    const std::string huge(5u << 20, '7'); // beyond the longest line the host reads
    struct Row {
        const char* arguments;
        std::string input;
        std::string output; // "?": not compared
        int exitCode;
        const char* message;
    } rows[] = {
        {"", "", "?", 2, "Commands:"},
        {"--help", "", "?", 0, "geoxform fwd CODE"},
        {"inv --help", "", "?", 0, "--dms"},
        {"list \"british NATIONAL grid\"", "", "?", 0, "27700   Transverse Mercator"},
        {"list \"no such name at all\"", "", "", 1, ""},
        {"info 2227", "", "?", 0, "Lambert Conic Conformal (2SP) (EPSG:9802, projection 8)"},
        {"info 2227", "", "?", 0, "8823  Latitude of 1st standard parallel"},
        {"info 2227", "", "?", 0, "text form\n  13,US survey foot,"},
        {"project 27700", "", "?", 2, "unknown command 'project'"},
        {"fwd 27700 --bogus", "", "?", 2, "unknown option --bogus"},
        {"fwd 99999 0 0", "", "?", 2, "EPSG:99999 is not a predefined system"},
        {"fwd abc 0 0", "", "?", 2, "'abc' is not an EPSG code"},
        {"fwd 27700 1", "", "?", 2, "coordinates come in pairs"},
        {"fwd 27700 one 50", "", "?", 2, "is not a point"},
        {"inv 27700 5e5 x", "", "?", 2, "is not a point"},
        {"sheet 27700 --units parsec 1 1", "", "?", 2, "unknown unit 'parsec'"},
        {"sheet 27700 --scale -5 1 1", "", "?", 2, "--scale needs a positive number"},
        {"fwd 27700 --precision 99 0 50", "", "?", 2, "--precision needs a whole number"},
        {"list --data /nonexistent-geoxform", "", "?", 2, "no reference data in /nonexistent"},
        {"info", "", "?", 2, "info takes one EPSG code"},
        {"fwd 27700 --precision", "", "?", 2, "--precision needs a value"},
        {"sheet 27700 --scale 0 1 1", "", "?", 2, "--scale needs a positive number"},
        {"fwd 27700 --csv --x", "", "?", 2, "--x needs a value"},
        {"fwd 27700 --comment \"\"", "", "?", 2, "--comment needs a value that is not empty"},
        // EPSG guidance note 7-2's British National Grid point, both ways.
        {"fwd 27700 0.5 50.5 \"0:30:00E\" \"50:30:00N\"", "", bng + bng, 0, ""},
        {"inv 27700 577274.984 69740.492 --precision 7", "", "0.5000000\t50.5000000\n", 0, ""},
        {"inv 27700 577274.984 69740.492 --dms --precision 2", "",
         "0\u00B030'00.00\"E\t50\u00B030'00.00\"N\n", 0, ""},
        // 16 000 and -4 000 mm at 1:25000 is the false origin of the British grid.
        {"sheet 27700 --scale 25000 --units Meter 16000 -4000", "",
         "sheet 16000.000 -4000.000 mm  ->  400000.000 -100000.000 Meter  ->  -2.000000000 "
         "49.000000000  ->  sheet 16000.000000 -4000.000000 mm\n",
         0, ""},
        {"area --units Millimeter", square, "100.000 square Millimeter\n", 0, ""},
        {"area --units Meter --scale 1000", square, "100.000 square Meter\n", 0, ""},
        {"distance --units Meter --scale 1000", "0 0\n3 0\n3 4\n", "7.000 Meter\n", 0, ""},
        {"distance --units 0", "0 0\n3 0\n3 4\n", "82.677 Pixel\n", 0, ""}, // unit row 0
        {"area", "0 0\n1 x\n", "?", 2, "line 2"},
        {"distance --lang de --units 2", "0 0\n30 40\n", "5.000 Zentimeter\n", 0, ""},
        {"distance --lang de --units 6", "0 0\n304.8 0\n", "1.000 Fu\xC3\x9F\n", 0, ""},
        {"fwd 27700", "", "", 0, ""},
        {"inv 27700 --csv", "", "", 0, ""},
        {"fwd 27700", "0.5 50.5", bng, 0, ""}, // no final newline
        {"fwd 27700", "0.5 50.5\r\n# c\r\n \r\n", bng + "# c\r\n \r\n", 0, ""},
        {"fwd 27700", "0.5\0 50.5\n0.5 50.5 a\0b\n"s, "*\t*\n" + bng.substr(0, 20) + "\ta\0b\n"s, 1,
         "line 1:"},
        {"fwd 27700", "0.5W 50.5N\n-0.5 50.5\n", "506369.097\t67829.840\n506369.097\t67829.840\n",
         0, ""}, // hemisphere letters through the library's reader, plain numbers beside it
        {"fwd 27700 -1 50", "", "471659.590\t11644.492\n", 0, ""}, // "-1" is no option
        {"fwd 32631", "3 -0.0000000001\n", "500000.000\t-0.000\n", 0, ""},
        {"inv 32631 --precision 3", "500000 -0.001\n", "3.000\t-0.000\n", 0, ""},
        {"inv 27700", "1e300 0\n5e5 1e999\n", "*\t*\n*\t*\n", 1, "line 2: '5e5 1e999'"},
        {"fwd 27700 --lat-first", "50.5 0.5 a\n", bng.substr(0, 20) + "\ta\n", 0, ""},
        {"inv 27700 --lat-first --precision 7", bng, "50.5000000\t0.5000000\n", 0, ""},
        {"fwd 27700 --comment %", "% x\n# y\n", "% x\n*\t*\n", 1, "line 2: '# y'"},
        {"fwd 27700 --csv", "# c\nid,Lat,Lon\r\n\"a, \"\"b\"\"\",50.5,0.5\r\nc,x,1\n",
         "# c\nid,Lat,Lon,easting,northing\r\n\"a, \"\"b\"\"\",50.5,0.5,577274.984,69740.492\r\n"
         "c,x,1,,\n",
         1, "line 4: 'c,x,1'"},
        {"fwd 27700 --csv --x 2 --y 3 --replace --out-x E --out-y N",
         "a,lon,lat\nq,0.5,\" 50.5\"\n", "a,E,N\nq,577274.984,69740.492\n", 0, ""},
        {"inv 27700 --csv --lat-first --dms --precision 2", "E,N\n577274.984,69740.492\n",
         "E,N,lat,lon\n577274.984,69740.492,\"50\u00B030'00.00\"\"N\",\"0\u00B030'00.00\"\"E\"\n",
         0, ""},
        {"fwd 27700 --csv --x height", "lon,lat\n0.5,50.5\n", "", 2, "no column 'height'"},
        {"fwd 27700 --csv", "only\n1\n", "", 2, "no two columns"},
        {"sheet 27700 --scale 25000 --units Meter --precision 0", "# p\n16000\n-4000\n",
         "# p\n" + sheet, 0, ""},
        {"sheet 27700 --scale 25000 --units Meter --precision 0", "16000 -4000 1\n", sheet, 2,
         "come in pairs"},
        {"sheet 27700 --csv --scale 25000 --units Meter", "x,y\n16000,-4000\n",
         "x,y,easting,northing\n16000,-4000,400000.000,-100000.000\n", 0, ""},
        // printf's rounding: ties to even on the exact binary value, "-0", beyond 2^53
        {"sheet 27700 --csv --scale 1000 --units Meter", "x,y\n0.0625,-0.1875\n-0.0004,1e16\n",
         "x,y,easting,northing\n0.0625,-0.1875,0.062,-0.188\n-0.0004,1e16,-0.000,"
         "10000000000000000.000\n",
         0, ""},
        {"sheet 27700 --csv --scale 1 --units 0", "x,y\n0.0625,-0.1875\n",
         "x,y,easting,northing\n0.0625,-0.1875,0.738,-2.215\n", 0, ""},
        {"sheet 27700 --csv --scale 1000 --units Meter --precision 0", "x,y\n2.5,-0.5\n",
         "x,y,easting,northing\n2.5,-0.5,2,-0\n", 0, ""},
        // Overlong lines: refused, the lines around them converted.
        {"fwd 27700", "0.5 50.5\n" + huge + "\n0.5 50.5\n", bng + "*\t*\n" + bng, 1,
         "line 2: longer than"},
        {"fwd 27700 --csv", "lon,lat,id\n0.5,50.5,1\n" + huge + "\n" + huge,
         "lon,lat,id,easting,northing\n0.5,50.5,1,577274.984,69740.492\n,,,,\n,,,,\n", 1,
         "line 4: longer than"},
        {"fwd 27700 --csv", huge, "", 2, "line 1: longer than"},
        {"sheet 27700", huge, "", 2, "line 1: longer than"},
    };
    for (const Row& row : rows) {
        const Outcome outcome = RunHost(row.arguments, row.input);
        const std::string name = std::string(row.arguments) + " < " + row.input.substr(0, 40);
        EXPECT_EQ(outcome.exitCode, row.exitCode) << name << "\n" << outcome.err;
        if (row.output != "?") {
            EXPECT_EQ(outcome.out, row.output) << name;
        }
        EXPECT_NE((outcome.err + outcome.out).find(row.message), std::string::npos) << name << "\n"
                                                                                    << outcome.err;
    }
#if !defined(__SANITIZE_ADDRESS__) // which reserves more address space than this
    // Memory stays bounded: a 40 MiB line leaves the host in 50 MB of address space. (It once
    // took all the memory the line needed, and stopped reading when there was none.)
    const Outcome bounded =
        RunHost("fwd 27700", "0.5 50.5\n" + std::string(40u << 20, '1') + "\n0.5 50.5\n",
                "ulimit -v 50000; ");
    EXPECT_EQ(bounded.out, bng + "*\t*\n" + bng);
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
