// The reference data loader on small files written by the tests: one table of data files (a
// sound one and its mutations: damaged containers, line grammar, fields, row completion) with
// the rows each one leaves in the arrays.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <zlib.h>

#include "geoxform/refdata.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

// The header fields and the zlib stream of one data file.
struct Container {
    uint32_t magic = 0x44534355, version = 1, compressedLength = 0, textLength = 0;
    std::string stream;
    size_t size = std::string::npos; // bytes of the file kept
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

std::string FileBytes(const Container& c) {
    std::string out;
    for (uint32_t v : {c.magic, c.version, c.compressedLength, c.textLength})
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return (out + c.stream).substr(0, c.size);
}

// The loaded rows as text, one ';'-terminated row each: U units, E ellipsoids, M prime
// meridians, D datums, P parameters, S systems; numbers as %.12g.
std::string Field(const KQWCHAR* psz) {
    return Narrow(psz);
}
std::string Field(double v) {
    char text[32];
    snprintf(text, sizeof(text), "%.12g", v);
    return text;
}
template <class T, class... M>
void Add(std::string& s, char kind, DynamicClassArray<T>* pArray, M T::*... fields) {
    for (int k = 0; k < pArray->GetCount(); ++k) {
        s += kind;
        ((s += Field((*pArray)[k].*fields) + ","), ...);
        s.back() = ';';
    }
}
std::string Dump() {
    using U = EPSGUnits;
    using E = EPSGEllipsoid;
    using P = EPSGParams;
    using S = EPSGSystem;
    std::string s;
    Add(s, 'U', pdaEPSGUnits, &U::iCode, &U::szName, &U::szType, &U::iTargetCode, &U::dFactorB,
        &U::dFactorC);
    Add(s, 'E', pdaEPSGEllipsoid, &E::iCode, &E::szName, &E::dSemiMajorAxis, &E::dInverseFlattening,
        &E::dSemiMinorAxis);
    Add(s, 'M', pdaEPSGPrimeMeridian, &EPSGPrimeMeridian::iCode, &EPSGPrimeMeridian::szName,
        &EPSGPrimeMeridian::dLongitude);
    Add(s, 'D', pdaEPSGDatum, &EPSGDatum::iCode, &EPSGDatum::szName, &EPSGDatum::iEllipsoidCode,
        &EPSGDatum::iPrimeMeridianCode);
    Add(s, 'P', pdaEPSGParams, &P::iOperationCode, &P::iAuxCode, &P::iParameterCode,
        &P::dParameterValue, &P::iUnitCode);
    Add(s, 'S', pdaEPSGSystem, &S::iCode, &S::szName, &S::iOperationCode, &S::iMethodCode,
        &S::iAuxCode1, &S::iUnitCode, &S::iAuxCode2, &S::szAuxName, &S::iDatumCode,
        &S::iEllipsoidCode);
    return s;
}

const std::string kSystem =
    "27700,OSGB36 / British National Grid,19916,9807,4277,9001,4390,UK,6277,7001";
const std::string kGood = "[Data]\n" + kSystem + "\n";
const std::string kGoodRows = "S" + kSystem + ";";
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
    void Write(const std::string& bytes) const {
        std::ofstream(m_dir / "KQUCSData.kqb", std::ios::binary) << bytes;
    }
    void Reset() {
        FreeEPSGDataBase();
        InitEmptyDatabase();
    }
    // Reads the text, in a container patched as given, into new, empty arrays.
    int Reload(const std::string& text, const std::function<void(Container&)>& patch = {}) {
        Reset();
        Container c = Pack(text);
        if (patch) patch(c);
        std::error_code ignored;
        fs::remove(m_dir / "KQUCSData.kqb", ignored);
        if (c.magic != 0) Write(FileBytes(c));
        return ReadEPSGData(Dir().c_str());
    }
    fs::path m_dir;
};

// Patches of the container: words "field=value" or "field+=value" for magic, version, clen
// (compressed length), tlen (text length) and size (bytes of the file kept); "nofile", and
// "adler", "half" and "scramble" for a damaged trailer, a stream cut in half and garbage.
void Patch(Container& c, const std::string& patch) {
    std::istringstream words(patch);
    for (std::string word; words >> word;) {
        const size_t at = word.find('=');
        const uint32_t v =
            at == std::string::npos ? 0 : std::stoul(word.substr(at + 1), nullptr, 0);
        const bool add = at != std::string::npos && word[at - 1] == '+';
        const std::string key = word.substr(0, at - add);
        for (auto field :
             {std::make_pair("magic", &c.magic), std::make_pair("version", &c.version),
              std::make_pair("clen", &c.compressedLength), std::make_pair("tlen", &c.textLength)})
            if (key == field.first) *field.second = add ? *field.second + v : v;
        if (key == "size") c.size = v;
        if (key == "nofile") c.magic = 0;
        if (key == "adler") c.stream.back() = static_cast<char>(c.stream.back() ^ 0x55);
        if (key == "half") c.stream.resize(c.stream.size() / 2);
        if (key == "half") c.compressedLength = static_cast<uint32_t>(c.stream.size());
        for (char& ch : c.stream)
            ch = key == "scramble" ? static_cast<char>(ch * 7 + 3) : ch;
    }
}

TEST_F(Loader, DataFilesAndTheRowsTheyLoad) {
    for (const auto& row : Rows(
#include "data/refdata/loader_cases.txt"
             )) {
        std::string text = Bytes(Unescape(row[2])), rows = Bytes(Unescape(row[3]));
        if (text.find("GOOD") == 0) text.replace(0, 4, kGood);
        if (rows == "GOOD") rows = kGoodRows;
        const std::string patch = row.size() > 4 ? row[4] : "";
        EXPECT_EQ(Reload(text, [&patch](Container& c) { Patch(c, patch); }), std::stoi(row[1]))
            << row[0];
        EXPECT_EQ(Dump(), rows) << row[0];
    }
}

TEST_F(Loader, LoadsOnceNeedsTheArraysAndTakesDirectoriesWithOrWithoutSeparator) {
    // Without a system the next call reads a file again, over the same arrays.
    ASSERT_EQ(Reload("[Datum]\n10,d\n11,e\n12,f\n"), 1);
    Write(FileBytes(Pack("[Datum]\n20,g\n" + kGood)));
    EXPECT_EQ(ReadEPSGData(Dir().c_str()), 1);
    EXPECT_EQ(Dump(), "D20,g,0,0;D11,e,0,0;D12,f,0,0;" + kGoodRows);
    // Loaded: later calls never look for the file.
    fs::remove(m_dir / "KQUCSData.kqb");
    EXPECT_EQ(ReadEPSGData(KQ_T("/nonexistent-geoxform-directory")), 1);
    EXPECT_EQ(ReadEPSGData(nullptr), 1);
    FreeEPSGDataBase();
    EXPECT_EQ(pdaEPSGSystem, nullptr);
    Write(FileBytes(Pack(kGood)));
    EXPECT_EQ(ReadEPSGData(Dir().c_str()), 0); // no arrays, no data
    Reset();
    EXPECT_EQ(ReadEPSGData((Dir() + Kq("/")).c_str()), 1);
    // Full names of up to 2047 characters: the directory padded with "./" to the longest
    // name that fits loads; one more character is refused rather than cut.
    const size_t nLongest = 2047 - 13; // "KQUCSData.kqb"
    KqString padded = Dir() + gx::kPathSeparator;
    while (padded.size() + 2 <= nLongest)
        padded += KqString(1, KQ_T('.')) + gx::kPathSeparator;
    if (padded.size() < nLongest) padded += gx::kPathSeparator;
    ASSERT_EQ(padded.size(), nLongest);
    Reset();
    EXPECT_EQ(ReadEPSGData((padded + gx::kPathSeparator).c_str()), 0);
    EXPECT_EQ(ReadEPSGData(padded.c_str()), 1);
}

// A number of thousands of digits and a line of a megabyte without a comma. (Random bytes and
// headers in any order are the data file fuzz targets' work, under the same sanitizers.)
TEST_F(Loader, LongNumbersAndLinesNeverOverrun) {
    EXPECT_EQ(Reload("[Datum]\n" + std::string(5000, '7') + "," + std::string(1 << 20, 'z')), 1);
    EXPECT_EQ((*pdaEPSGDatum)[0].iCode, INT32_MAX);
}

// Each section's shortest acceptable line 2^20 times (a 79 KB file that once made the loader
// hold 3 GB): more text than 16 MiB, refused; 2^16 + 1 times: 2^16 rows a section.
TEST_F(Loader, RowBombStaysWithinTheCaps) {
    const auto bomb = [](int n) {
        std::string text;
        for (std::string s :
             {"[Measure]\n1,a,b,1\n", "[Data]\n1,a,1,9807,1,1,1,a,1,1\n", "[Datum]\n1\n",
              "[Prime Meridian]\n1\n", "[Ellipsoid]\n1\n", "[Parameters]\n1\n"})
            for (int i = 0; i < n; ++i) // the header, then the line n times
                text += i == 0 ? s : s.substr(s.find('\n') + 1);
        return text;
    };
    EXPECT_EQ(Reload(bomb(1 << 20)), 0);
    ASSERT_EQ(Reload(bomb((1 << 16) + 1)), 1);
    for (int n : {pdaEPSGUnits->GetCount(), pdaEPSGSystem->GetCount(), pdaEPSGDatum->GetCount(),
                  pdaEPSGPrimeMeridian->GetCount(), pdaEPSGEllipsoid->GetCount(),
                  pdaEPSGParams->GetCount()})
        EXPECT_EQ(n, 1 << 16);
}

} // namespace
