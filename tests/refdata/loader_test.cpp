// The reference data loader on small files written by the tests: the container checks, the
// line grammar, the field reading, the completion of each section's rows and the reuse of rows.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "geoxform/refdata.h"
#include "platform/platform.h"
#include "platform/wide_string.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

const double kPi = 3.141592653589793;
const double kDegree = kPi / 180;

// The header fields and the zlib stream of one data file.
struct Container {
    uint32_t magic = 0x44534355;
    uint32_t version = 1;
    uint32_t compressedLength = 0;
    uint32_t textLength = 0;
    std::string stream;
};

Container Pack(const std::string& text) {
    Container c;
    uLongf n = compressBound(text.size());
    c.stream.resize(n);
    compress2(reinterpret_cast<Bytef*>(&c.stream[0]), &n,
              reinterpret_cast<const Bytef*>(text.data()), text.size(), 9);
    c.stream.resize(n);
    c.compressedLength = static_cast<uint32_t>(n);
    c.textLength = static_cast<uint32_t>(text.size());
    return c;
}

std::string Bytes(const Container& c) {
    std::string out;
    for (uint32_t v : {c.magic, c.version, c.compressedLength, c.textLength})
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out + c.stream;
}

// A line that loads one system, so that a file holding it counts as loaded.
const char kSystemLine[] =
    "27700,OSGB36 / British National Grid,19916,9807,4277,9001,4390,UK,6277,7001\n";

// Each test writes its data file into a directory of its own and reads it into freshly
// created, empty arrays.
class Loader : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        do {
            m_dir = fs::temp_directory_path() / ("geoxform-loader-" + std::to_string(random()));
        } while (!fs::create_directory(m_dir));
        InitEmptyDatabase();
    }
    void TearDown() override {
        FreeEPSGDataBase();
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    KqString Dir() const { return Kq(m_dir.string().c_str()); }

    void WriteFile(const std::string& bytes) const {
        std::ofstream(m_dir / "KQUCSData.kqb", std::ios::binary) << bytes;
    }
    int ReadText(const std::string& text) const {
        WriteFile(Bytes(Pack(text)));
        return ReadEPSGData(Dir().c_str());
    }
    // Reads the text again into new, empty arrays.
    int Reload(const std::string& text) const {
        FreeEPSGDataBase();
        InitEmptyDatabase();
        return ReadText(text);
    }

    static std::vector<int> DatumCodes() {
        std::vector<int> codes;
        for (int i = 0; i < pdaEPSGDatum->GetCount(); ++i)
            codes.push_back((*pdaEPSGDatum)[i].iCode);
        return codes;
    }
    static int TotalRows() {
        return pdaEPSGSystem->GetCount() + pdaEPSGDatum->GetCount() +
               pdaEPSGPrimeMeridian->GetCount() + pdaEPSGEllipsoid->GetCount() +
               pdaEPSGUnits->GetCount() + pdaEPSGParams->GetCount();
    }

    fs::path m_dir;
};

const std::string kGoodText = std::string("[Measure]\n9001,metre,length,9001,1,1\n") +
                              "[Datum]\n6277,OSGB 1936,7001,8901\n[Data]\n" + kSystemLine;

TEST_F(Loader, RefusesBrokenContainersAndLeavesTheArraysEmpty) {
    const std::string big(5000, 'x');
    struct Case {
        const char* pszWhat;
        std::function<std::string()> bytes;
    };
    const Case cases[] = {
        {"no file", [] { return std::string(); }},
        {"header cut to 10 bytes", [] { return Bytes(Pack(kGoodText)).substr(0, 10); }},
        {"wrong magic",
         [] {
             Container c = Pack(kGoodText);
             c.magic = 0x45534355;
             return Bytes(c);
         }},
        {"version 2",
         [] {
             Container c = Pack(kGoodText);
             c.version = 2;
             return Bytes(c);
         }},
        {"compressed length one beyond the file",
         [] {
             Container c = Pack(kGoodText);
             ++c.compressedLength;
             return Bytes(c);
         }},
        {"compressed length 0xFFFFFFFF",
         [] {
             Container c = Pack(kGoodText);
             c.compressedLength = 0xFFFFFFFF;
             return Bytes(c);
         }},
        {"compressed length 0",
         [] {
             Container c = Pack(kGoodText);
             c.compressedLength = 0;
             return Bytes(c);
         }},
        {"text inflates one byte shorter than declared",
         [] {
             Container c = Pack(kGoodText);
             ++c.textLength;
             return Bytes(c);
         }},
        {"text inflates one byte longer than declared",
         [] {
             Container c = Pack(kGoodText);
             --c.textLength;
             return Bytes(c);
         }},
        {"text inflates to far more than declared",
         [&big] {
             Container c = Pack(kGoodText + ";" + big);
             c.textLength = static_cast<uint32_t>(kGoodText.size());
             return Bytes(c);
         }},
        {"declared text length 0",
         [] {
             Container c = Pack(kGoodText);
             c.textLength = 0;
             return Bytes(c);
         }},
        {"declared text length above 256 MiB",
         [] {
             Container c = Pack(kGoodText);
             c.textLength = (256u << 20) + 1;
             return Bytes(c);
         }},
        {"Adler-32 trailer damaged",
         [] {
             Container c = Pack(kGoodText);
             c.stream.back() = static_cast<char>(c.stream.back() ^ 0x55);
             return Bytes(c);
         }},
        {"stream cut short, lengths matching",
         [] {
             Container c = Pack(kGoodText);
             c.stream.resize(c.stream.size() / 2);
             c.compressedLength = static_cast<uint32_t>(c.stream.size());
             return Bytes(c);
         }},
        {"not a zlib stream",
         [] {
             Container c = Pack(kGoodText);
             for (char& ch : c.stream)
                 ch = static_cast<char>(ch * 7 + 3);
             return Bytes(c);
         }},
    };
    for (const Case& c : cases) {
        const std::string bytes = c.bytes();
        std::error_code ignored;
        fs::remove(m_dir / "KQUCSData.kqb", ignored);
        if (!bytes.empty()) WriteFile(bytes);
        EXPECT_EQ(ReadEPSGData(Dir().c_str()), 0) << c.pszWhat;
        EXPECT_EQ(TotalRows(), 0) << c.pszWhat;
    }
    // The same text in a sound container loads.
    EXPECT_EQ(ReadText(kGoodText), 1);
    EXPECT_EQ(pdaEPSGSystem->GetCount(), 1);
}

TEST_F(Loader, LoadsOnceAndNeedsTheArrays) {
    ASSERT_EQ(ReadText(kGoodText), 1);
    fs::remove(m_dir / "KQUCSData.kqb");
    // Loaded: later calls cost one test and never look for the file.
    EXPECT_EQ(ReadEPSGData(KQ_T("/nonexistent-geoxform-directory")), 1);
    EXPECT_EQ(ReadEPSGData(nullptr), 1);
    FreeEPSGDataBase();
    EXPECT_EQ(pdaEPSGSystem, nullptr);
    EXPECT_EQ(ReadEPSGData(Dir().c_str()), 0); // no arrays, no data
}

TEST_F(Loader, DirectoryWithOrWithoutSeparatorAndOverlongPaths) {
    WriteFile(Bytes(Pack(kGoodText)));
    const KqString withSeparator = Dir() + Kq("/");
    EXPECT_EQ(ReadEPSGData(withSeparator.c_str()), 1);
    EXPECT_EQ(Reload(kGoodText), 1);
    // Full names of up to 2047 characters: the directory padded with "./" to the longest
    // name that fits loads; one more character is refused rather than cut.
    const size_t nLongest = 2047 - std::strlen("KQUCSData.kqb");
    KqString padded = Dir() + gx::kPathSeparator;
    while (padded.size() + 2 <= nLongest)
        padded += KqString(1, KQ_T('.')) + gx::kPathSeparator;
    if (padded.size() < nLongest) padded += gx::kPathSeparator;
    ASSERT_EQ(padded.size(), nLongest);
    EXPECT_EQ(Reload(kGoodText), 1);
    FreeEPSGDataBase();
    InitEmptyDatabase();
    EXPECT_EQ(ReadEPSGData((padded + gx::kPathSeparator).c_str()), 0);
    EXPECT_EQ(ReadEPSGData(padded.c_str()), 1);
}

TEST_F(Loader, TextWithoutLinesFailsAndTextWithoutSystemsIsReadAgain) {
    EXPECT_EQ(ReadText("\r\n\n\r\r\n"), 0);
    EXPECT_EQ(ReadText("; only a comment"), 1);
    EXPECT_EQ(TotalRows(), 0);
    // Methods outside the method table, and a system without projection, load no system.
    EXPECT_EQ(ReadText("[Data]\n"
                       "1,Geodetic,2,9808,4,5,6,area,7,8\n"
                       "2,Not a method,2,9000,4,5,6,area,7,8\n"
                       "3,No projection,2,-1,4,5,6,area,7,8\n"),
              1);
    EXPECT_EQ(pdaEPSGSystem->GetCount(), 0);
    // Still no system, so the next call reads the (now different) file again.
    WriteFile(Bytes(Pack(kGoodText)));
    EXPECT_EQ(ReadEPSGData(Dir().c_str()), 1);
    EXPECT_EQ(pdaEPSGSystem->GetCount(), 1);
}

TEST_F(Loader, LineGrammar) {
    struct Case {
        std::string text;
        std::vector<int> datums;
    };
    const Case cases[] = {
        {"[datum]\n1,a,2,3", {1}},
        {"[DATUM]\n1,a,2,3", {1}},
        {"[Datum] \n1,a,2,3", {}},          // trailing blank: an unknown section
        {"[Datums]\n1,a,2,3", {}},          // the whole line must match
        {" \t [Datum]\n1,a,2,3", {1}},      // blanks before a header
        {"[Datum]\n \t;1,a,2,3\n2,b", {2}}, // blanks before a comment
        {"[Datum]\n1,a\n[EOF]\n2,b", {1}},
        {"[Datum]\n1,a\n[eof]\n2,b", {1}},
        {"1,a\n[Datum]\n2,b", {2}}, // lines before the first header
        {"[Datum]\r\n1,a\r\r\n\n2,b\n\r3,c\r", {1, 2, 3}},
        {"[Datum]\n1,a\n[Unknown]\n2,b\n[Measure]\n[Datum]\n3,c", {3}},
        {std::string("[Datum]\n1,a\n2,b\0\n3,c", 20), {1, 2}}, // a NUL ends the text
        {"[Datum]\n[EOF]", {}},
        {"[Datum]\n1,a\n \t\n2,b", {1, 0, 2}}, // a line of blanks is a record line
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Reload(c.text), 1) << c.text;
        EXPECT_EQ(DatumCodes(), c.datums) << c.text;
    }
}

TEST_F(Loader, FieldsReadLikeScanf) {
    struct Case {
        const char* pszLine;
        int code;
        const char* pszName;
        int ellipsoid;
        int meridian;
    };
    const Case cases[] = {
        {"6326,WGS 84,7030,8901", 6326, "WGS 84", 7030, 8901},
        {"0x1F,hex and octal,010,-12", 31, "hex and octal", 8, -12},
        {"+7,blanks before numbers, 7001,\t8901", 7, "blanks before numbers", 7001, 8901},
        {"7,blank before a comma,7001 ,8901", 7, "blank before a comma", 7001, 0},
        {"6326, lead and trail ,7030,8901", 6326, " lead and trail ", 7030, 8901},
        {"6326", 6326, "", 0, 0},
        {"6326,,7030,8901", 6326, "", 0, 0}, // an empty field ends the matching
        {"6326,WGS 84,,8901", 6326, "WGS 84", 0, 0},
        {"1 ,name,2,3", 1, "", 0, 0},
        {"12x,name,2,3", 12, "", 0, 0},
        {"abc,name,2,3", 0, "", 0, 0},
        {"99999999999,big,-99999999999,3", INT32_MAX, "big", INT32_MIN, 3},
        {"1,name,2,3,extra,fields", 1, "name", 2, 3},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Reload(std::string("[Datum]\n") + c.pszLine), 1);
        ASSERT_EQ(pdaEPSGDatum->GetCount(), 1) << c.pszLine;
        const EPSGDatum& row = (*pdaEPSGDatum)[0];
        EXPECT_EQ(row.iCode, c.code) << c.pszLine;
        EXPECT_EQ(Narrow(row.szName), c.pszName) << c.pszLine;
        EXPECT_EQ(row.iEllipsoidCode, c.ellipsoid) << c.pszLine;
        EXPECT_EQ(row.iPrimeMeridianCode, c.meridian) << c.pszLine;
    }
}

TEST_F(Loader, MeasureRowsNeedFourFieldsAndGetSafeFactors) {
    ASSERT_EQ(ReadText("[Measure]\n"
                       "9001,metre,length,9001,1,1\n"
                       "9002,foot\n" // three fields short: dropped
                       "9003,ends after target,length,9001\n"
                       "9004,empty factors,length,9001,,\n"
                       "9005,zero factor,length,9001,0,5\n"
                       "9102,degree,angle,9101,3.141592654,180\n"
                       "9105,pi below,angle,9101,200,3.141592654\n"
                       "9106,no target,angle\n" // dropped
                       "9107,near pi,angle,9101,3.1415926540001,1\n"),
              1);
    struct Expected {
        int code;
        const char* pszName;
        double b, c;
    };
    const Expected expected[] = {
        {9001, "metre", 1, 1},
        {9003, "ends after target", 1, 1},
        {9004, "empty factors", 1, 1},
        {9005, "zero factor", 1, 1},
        {9102, "degree", kPi, 180},
        {9105, "pi below", 200, kPi},
        {9107, "near pi", 3.1415926540001, 1},
    };
    ASSERT_EQ(pdaEPSGUnits->GetCount(), 7);
    for (int i = 0; i < 7; ++i) {
        const EPSGUnits& row = (*pdaEPSGUnits)[i];
        EXPECT_EQ(row.iCode, expected[i].code);
        EXPECT_EQ(Narrow(row.szName), expected[i].pszName);
        EXPECT_EQ(row.dFactorB, expected[i].b) << row.iCode;
        EXPECT_EQ(row.dFactorC, expected[i].c) << row.iCode;
    }
    EXPECT_EQ(Narrow((*pdaEPSGUnits)[0].szType), "length");
    EXPECT_EQ((*pdaEPSGUnits)[0].iTargetCode, 9001);
}

TEST_F(Loader, SystemRowsNeedAllTenFieldsAndAProjectedMethod) {
    ASSERT_EQ(ReadText(std::string("[Data]\n") + kSystemLine +
                       "1,nine fields,2,9807,4,5,6,area,7\n"
                       "2,unknown method,2,9808,4,5,6,area,7,8\n"
                       "3,empty area,2,9807,4,5,6,,7,8\n"
                       "4,Lambert,20,9801,40,9003,60,area name,70,80\n"),
              1);
    ASSERT_EQ(pdaEPSGSystem->GetCount(), 2);
    const EPSGSystem& row = (*pdaEPSGSystem)[0];
    EXPECT_EQ(row.iCode, 27700);
    EXPECT_EQ(Narrow(row.szName), "OSGB36 / British National Grid");
    EXPECT_EQ(row.iOperationCode, 19916);
    EXPECT_EQ(row.iMethodCode, 9807);
    EXPECT_EQ(row.iAuxCode1, 4277);
    EXPECT_EQ(row.iUnitCode, 9001);
    EXPECT_EQ(row.iAuxCode2, 4390);
    EXPECT_EQ(Narrow(row.szAuxName), "UK");
    EXPECT_EQ(row.iDatumCode, 6277);
    EXPECT_EQ(row.iEllipsoidCode, 7001);
    EXPECT_EQ((*pdaEPSGSystem)[1].iCode, 4);
    EXPECT_EQ((*pdaEPSGSystem)[1].iUnitCode, 9003);
}

TEST_F(Loader, NamesAreWidenedFromWindows1252AndCut) {
    const std::string name150(150, 'n');
    const std::string name300(300, 'm');
    ASSERT_EQ(ReadText("[Datum]\n"
                       "1,\xB0 caf\xE9 \x92\x80,7001,8901\n"
                       "2," +
                       name150 +
                       ",7002,8902\n" // kept to 99, later fields still read
                       "3," +
                       name300 +
                       ",7003,8903\n" // the field takes 255: matching ends
                       "[Data]\n"
                       "4," +
                       name150 +
                       ",2,9807,4,5,6,area,7,8\n"
                       "5," +
                       name300 + ",2,9807,4,5,6,area,7,8\n"),
              1);
    ASSERT_EQ(pdaEPSGDatum->GetCount(), 3);
    const KqString expected = KQ_T("\u00B0 caf\u00E9 \u2019\u20AC");
    EXPECT_TRUE(gx::KqEqual((*pdaEPSGDatum)[0].szName, expected.c_str()));
    EXPECT_EQ(Narrow((*pdaEPSGDatum)[1].szName), std::string(99, 'n'));
    EXPECT_EQ((*pdaEPSGDatum)[1].iEllipsoidCode, 7002);
    EXPECT_EQ((*pdaEPSGDatum)[1].iPrimeMeridianCode, 8902);
    EXPECT_EQ(Narrow((*pdaEPSGDatum)[2].szName), std::string(99, 'm'));
    EXPECT_EQ((*pdaEPSGDatum)[2].iEllipsoidCode, 0);
    // A system whose name runs past 255 characters lacks its later fields and is dropped.
    ASSERT_EQ(pdaEPSGSystem->GetCount(), 1);
    EXPECT_EQ((*pdaEPSGSystem)[0].iCode, 4);
    EXPECT_EQ(Narrow((*pdaEPSGSystem)[0].szName), std::string(99, 'n'));
}

TEST_F(Loader, EllipsoidsGetTheMissingConstantThenMetres) {
    ASSERT_EQ(ReadText("[Measure]\n9002,foot,length,9001,0.3048,1\n[Ellipsoid]\n"
                       "7001,Airy 1830,6377563.396,299.3249646,0,9001\n"
                       "7048,Sphere,6371007,0,6371007,9001\n"
                       "1,Nothing but a,6378137,0,0,9001\n"
                       "7011,Clarke 1880 (IGN),6378249.2,0,6356515,9001\n"
                       "7055,Clarke 1880 (international foot),20926202,0,20854895,9002\n"
                       "2,No unit field,6378137,298.257223563,0\n"
                       "3,Almost a sphere,6378137,0,6378136.9999995,9001\n"),
              1);
    struct Expected {
        double a, inverseFlattening, b;
    };
    const Expected expected[] = {
        {6377563.396, 299.3249646, 6377563.396 * (1 - 1 / 299.3249646)},
        {6371007, 0, 6371007},
        {6378137, 1, 0},
        {6378249.2, 6378249.2 / (6378249.2 - 6356515), 6356515},
        {20926202 * 0.3048, 20926202.0 / (20926202 - 20854895), 20854895 * 0.3048},
        {6378137, 298.257223563, 6378137 * (1 - 1 / 298.257223563)},
        {6378137, 0, 6378136.9999995},
    };
    ASSERT_EQ(pdaEPSGEllipsoid->GetCount(), 7);
    for (int i = 0; i < 7; ++i) {
        const EPSGEllipsoid& row = (*pdaEPSGEllipsoid)[i];
        EXPECT_DOUBLE_EQ(row.dSemiMajorAxis, expected[i].a) << Narrow(row.szName);
        EXPECT_DOUBLE_EQ(row.dInverseFlattening, expected[i].inverseFlattening)
            << Narrow(row.szName);
        EXPECT_DOUBLE_EQ(row.dSemiMinorAxis, expected[i].b) << Narrow(row.szName);
    }
}

const char kUnits[] = "[Measure]\n"
                      "9001,metre,length,9001,1,1\n"
                      "9101,radian,angle,9101,1,1\n"
                      "9102,degree,angle,9101,3.141592654,180\n"
                      "9105,grad,angle,9101,3.141592654,200\n"
                      "9110,sexagesimal DMS,angle,9102,1,1\n"
                      "9201,unity,scale,9201,1,1\n"
                      "9003,US survey foot,length,9001,0.30480060960121924,1\n";

TEST_F(Loader, MeridiansAndParametersConvertToRadiansAndMetres) {
    ASSERT_EQ(ReadText(std::string(kUnits) +
                       "[Prime Meridian]\n"
                       "8903,Paris,2.5969213,9105\n"
                       "8902,Lisbon,-9.0754862,9110\n"
                       "8999,No unit field,0.5\n"
                       "[Parameters]\n"
                       "19916,9807,8801,49,9102\n"
                       "19916,9807,8805,0.9996012717,9201\n"
                       "19916,9807,8807,-100000,9001\n"
                       "15309,9802,8821,36.3,9110\n"
                       "15309,9802,8826,6561666.667,9003\n"
                       "1,9807,8802,10,9999\n" // no such unit: the value stays as written
                       "2\n"),                 // lacking fields stay 0
              1);
    ASSERT_EQ(pdaEPSGPrimeMeridian->GetCount(), 3);
    EXPECT_DOUBLE_EQ((*pdaEPSGPrimeMeridian)[0].dLongitude, 2.5969213 * kPi / 200);
    EXPECT_NEAR((*pdaEPSGPrimeMeridian)[1].dLongitude, -(9 + 7 / 60.0 + 54.862 / 3600) * kDegree,
                1e-15);
    EXPECT_EQ((*pdaEPSGPrimeMeridian)[2].dLongitude, 0.5);

    struct Expected {
        int operation, aux, parameter;
        double value;
        int unit;
    };
    const Expected expected[] = {
        {19916, 9807, 8801, 49 * kDegree, 9102},
        {19916, 9807, 8805, 0.9996012717, 9201},
        {19916, 9807, 8807, -100000, 9001},
        {15309, 9802, 8821, 36.5 * kDegree, 9110},
        {15309, 9802, 8826, 6561666.667 * 1200 / 3937, 9003},
        {1, 9807, 8802, 10, 9999},
        {2, 0, 0, 0, 0},
    };
    ASSERT_EQ(pdaEPSGParams->GetCount(), 7);
    for (int i = 0; i < 7; ++i) {
        const EPSGParams& row = (*pdaEPSGParams)[i];
        EXPECT_EQ(row.iOperationCode, expected[i].operation);
        EXPECT_EQ(row.iAuxCode, expected[i].aux);
        EXPECT_EQ(row.iParameterCode, expected[i].parameter);
        EXPECT_NEAR(row.dParameterValue, expected[i].value, 1e-9 * std::fabs(expected[i].value))
            << i;
        EXPECT_EQ(row.iUnitCode, expected[i].unit);
    }
}

TEST_F(Loader, ValuesConvertOnlyThroughUnitsReadBeforeThem) {
    ASSERT_EQ(ReadText("[Parameters]\n1,9807,8801,49,9102\n" + std::string(kUnits) +
                       "[Parameters]\n1,9807,8801,49,9102\n2,9807,8802,-2,9102\n"),
              1);
    ASSERT_EQ(pdaEPSGParams->GetCount(), 2);
    EXPECT_DOUBLE_EQ((*pdaEPSGParams)[0].dParameterValue, 49 * kDegree); // second section
    EXPECT_EQ(Reload("[Parameters]\n1,9807,8801,49,9102\n" + std::string(kUnits)), 1);
    EXPECT_EQ((*pdaEPSGParams)[0].dParameterValue, 49); // no unit rows yet
}

TEST_F(Loader, ASecondSectionOrLoadOverwritesFromRowZero) {
    ASSERT_EQ(ReadText("[Ellipsoid]\n"
                       "1,a,6378137,298,0,9001\n2,b,6378137,298,0,9001\n3,c,6378137,298,0,9001\n"
                       "[Ellipsoid]\n"
                       "7,x,6378137,298,0,9001\n"
                       "[Datum]\n10,d\n11,e\n12,f\n"),
              1);
    ASSERT_EQ(pdaEPSGEllipsoid->GetCount(), 3);
    EXPECT_EQ((*pdaEPSGEllipsoid)[0].iCode, 7);
    EXPECT_EQ((*pdaEPSGEllipsoid)[1].iCode, 2);
    EXPECT_EQ((*pdaEPSGEllipsoid)[2].iCode, 3);
    // No system was loaded, so the next call reads a file again, over the same arrays.
    EXPECT_EQ(ReadText(std::string("[Datum]\n20,g\n[Data]\n") + kSystemLine), 1);
    EXPECT_EQ(DatumCodes(), (std::vector<int>{20, 11, 12}));
    EXPECT_EQ(pdaEPSGEllipsoid->GetCount(), 3);
}

// Random bytes, section headers and separators in any order: every load ends with 0 or 1 and
// leaves NUL-terminated names; the sanitizer builds check that nothing reads or writes astray.
TEST_F(Loader, GarbageTextNeverOverruns) {
    std::mt19937 random(20240611);
    const char* pieces[] = {"[Measure]\n",
                            "[Data]\n",
                            "[Datum]\n",
                            "[Ellipsoid]\n",
                            "[Parameters]\n",
                            "[Prime Meridian]\n",
                            ",",
                            ",,",
                            "\r\n",
                            "0x",
                            "-",
                            "9807,",
                            "1e308,",
                            "nan,",
                            " ",
                            "\t;",
                            "[EOF]"};
    for (int round = 0; round < 100; ++round) {
        std::string text;
        const int nParts = 1 + static_cast<int>(random() % 200);
        for (int i = 0; i < nParts; ++i) {
            if (random() % 3 == 0)
                text += pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
            else
                text += std::string(1 + random() % 300, static_cast<char>(random() % 256));
        }
        const int result = Reload(text);
        EXPECT_TRUE(result == 0 || result == 1);
        for (int i = 0; i < pdaEPSGDatum->GetCount(); ++i)
            ASSERT_LT(gx::KqLen((*pdaEPSGDatum)[i].szName), 100u);
        for (int i = 0; i < pdaEPSGUnits->GetCount(); ++i)
            ASSERT_LT(gx::KqLen((*pdaEPSGUnits)[i].szType), 100u);
    }
    // A number of thousands of digits and a line of a megabyte without a comma.
    EXPECT_EQ(Reload("[Datum]\n" + std::string(5000, '7') + "," + std::string(1 << 20, 'z')), 1);
    EXPECT_EQ((*pdaEPSGDatum)[0].iCode, INT32_MAX);
}

} // namespace
