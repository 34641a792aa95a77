// The registry of projection methods against the data generator and the exported-symbols
// check, and the factory that builds its methods from records.
#include <algorithm>
#include <climits>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "geoxform/transverse_mercator.h"
#include "reference_fixture.h"
#include "service/projection_methods.h"

namespace {

const double kDegree = testconst::kDegree;

std::string SourceFile(const char* pszPath) {
    std::ifstream in(std::string(GEOXFORM_SOURCE_DIR) + "/" + pszPath);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every match of the pattern in the text.
std::vector<std::string> Tokens(const std::string& text, const char* pszPattern) {
    const std::regex pattern(pszPattern);
    std::vector<std::string> tokens;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it)
        tokens.push_back(it->str());
    return tokens;
}

// The text between the end of the first "start" and the next "end".
std::string Between(const std::string& text, const std::string& start, const char* end) {
    const size_t from = text.find(start);
    const size_t to = text.find(end, from);
    return to == std::string::npos ? ""
                                   : text.substr(from + start.size(), to - from - start.size());
}

KQCRSystem Record(int number, int ellipsoid, const std::vector<fixture::Parameter>& parameters) {
    KQCRSystem r;
    gx::InitCRSystem(&r, 3, 1.0);
    r.iProjection = number;
    r.iEllipsoidIndex = ellipsoid;
    for (const fixture::Parameter& p : parameters) {
        r.aiParameterCodes[r.iNumParameters] = p.code;
        r.adParameterValues[r.iNumParameters++] = p.value;
    }
    return r;
}

std::unique_ptr<CProjection> Build(const KQCRSystem& r) {
    return std::unique_ptr<CProjection>(gx::CreateProjection(&r));
}

// A record of the method with its listed parameters, near 10 E 50 N, on the given ellipsoid.
KQCRSystem MethodRecord(const gx::MethodRow& m, int ellipsoid) {
    const double byGroup[gx::kNumParameterGroups] = {
        10 * kDegree, 50 * kDegree, 48 * kDegree, 52 * kDegree, 0.9996,
        500000,       100000,       30 * kDegree, 30 * kDegree, 6 * kDegree};
    std::vector<fixture::Parameter> parameters;
    for (int k = 0; k < m.NumParams(); ++k)
        parameters.push_back({m.aiParams[k], byGroup[gx::ParameterGroupOf(m.aiParams[k])]});
    return Record(m.iNumber, ellipsoid, parameters);
}

TEST(ProjectionMethods, DataGeneratorKeepsTheMethodsSelectedByCode) {
    const std::string methods = Between(SourceFile("tools/make_refdata.py"), "METHODS = (", ")");
    std::multiset<int> generated, byCode;
    for (const std::string& code : Tokens(methods, "[0-9]+"))
        generated.insert(std::stoi(code));
    for (const gx::MethodRow& m : gx::Methods())
        if (m.bByCode) byCode.insert(m.iCode);
    EXPECT_EQ(generated, byCode);
}

TEST(ProjectionMethods, LookupsByNumberAndCode) {
    int number = 0;
    for (const gx::MethodRow& m : gx::Methods()) {
        EXPECT_EQ(m.iNumber, ++number);
        EXPECT_EQ(gx::MethodByNumber(m.iNumber), &m);
        EXPECT_EQ(gx::MethodByCode(m.iCode), m.bByCode ? &m : nullptr) << m.iCode;
    }
    EXPECT_EQ(number, 25);
    for (int bad : {0, -1, 26, 1000, INT_MIN, INT_MAX}) {
        EXPECT_EQ(gx::MethodByNumber(bad), nullptr) << bad;
        EXPECT_EQ(gx::MethodByCode(bad), nullptr) << bad;
    }
    const gx::MethodRow* pTm = gx::MethodByCode(9807);
    ASSERT_NE(pTm, nullptr);
    EXPECT_EQ(pTm->iNumber, 4);
    EXPECT_EQ(KqString(pTm->pszName), Kq("Transverse Mercator"));
    // South orientated and zoned Transverse Mercator: selected by number only.
    for (int code : {9808, 9828, 9824, 9800})
        EXPECT_EQ(gx::MethodByCode(code), nullptr) << code;
}

// EPSG parameters no method lists (the listed ones are checked when the rows compile).
TEST(ProjectionMethods, GroupsOfParametersNoMethodLists) {
    const struct {
        int code;
        gx::ParameterGroup group;
    } cases[] = {{8829, gx::kGroupOriginLongitude},
                 {8828, gx::kGroupOriginLatitude},
                 {8818, gx::kGroupFirstParallel},
                 {8819, gx::kGroupScaleFactor},
                 {8803, gx::kGroupNone},
                 {8804, gx::kGroupNone},
                 {8808, gx::kGroupNone},
                 {8809, gx::kGroupNone},
                 {8810, gx::kGroupNone},
                 {8820, gx::kGroupNone},
                 {8825, gx::kGroupNone},
                 {8800, gx::kGroupNone},
                 {8834, gx::kGroupNone},
                 {0, gx::kGroupNone},
                 {-1, gx::kGroupNone}};
    for (const auto& c : cases)
        EXPECT_EQ(gx::ParameterGroupOf(c.code), c.group) << c.code;
}

class ProjectionFactory : public fixture::ReferenceData {};

// Every method builds from its listed parameters and returns a point; its class is one the
// exported-symbols check names, among the exported classes or among the hidden ones.
TEST_F(ProjectionFactory, EveryMethodBuildsRoundTripsAndIsInTheExportCheck) {
    const std::string script = SourceFile("tests/exported_symbols.sh");
    const std::vector<std::string> exported =
        Tokens(Between(script, "for class in", "; do"), "C[A-Za-z0-9]+");
    const std::vector<std::string> hidden =
        Tokens(Between(script, "grep -E 'gx::", "'"), "C[A-Za-z0-9]+");
    ASSERT_FALSE(exported.empty() || hidden.empty());
    std::set<std::string> built;
    for (const gx::MethodRow& m : gx::Methods()) {
        const std::unique_ptr<CProjection> p = Build(MethodRecord(m, 2));
        ASSERT_NE(p, nullptr) << m.iNumber;
        double x, y, lon, lat;
        p->Project(10.5 * kDegree, 50.5 * kDegree, x, y);
        p->UnProject(x, y, lon, lat);
        EXPECT_NEAR(lon, 10.5 * kDegree, 1e-10) << m.iNumber;
        EXPECT_NEAR(lat, 50.5 * kDegree, 1e-10) << m.iNumber;
        const CProjection& object = *p;
        const std::string mangled = typeid(object).name(); // a global class: length and name
        const std::string name = mangled.substr(mangled.find_first_not_of("0123456789"));
        built.insert(name);
        bool bHidden = false;
        for (const std::string& h : hidden)
            bHidden = bHidden || name.find(h) != std::string::npos;
        EXPECT_NE(bHidden, std::count(exported.begin(), exported.end(), name) == 1) << name;
        // Without an ellipsoid row only a method that needs none builds.
        for (int ellipsoid : {-1, 5, 1000, INT_MIN})
            EXPECT_EQ(Build(MethodRecord(m, ellipsoid)) != nullptr, !m.bNeedsEllipsoid);
    }
    for (const std::string& name : exported)
        EXPECT_EQ(built.count(name), 1u) << name << " is checked but built by no method";
}

TEST_F(ProjectionFactory, BadMethodNumbersBuildNothing) {
    for (int number : {0, -1, 26, 1000, INT_MIN, INT_MAX})
        EXPECT_EQ(Build(Record(number, 2, {})), nullptr) << number;
    EXPECT_EQ(gx::CreateProjection(nullptr), nullptr);
}

// The record's slots feed the constructor by group, in any order; a later slot of a group
// wins; codes outside every group are ignored; a count beyond 14 reads the 14 slots.
TEST_F(ProjectionFactory, SlotsFeedTheConstructorByGroup) {
    KQCRSystem tooMany = Record(4, 2, {{8802, 10 * kDegree}});
    tooMany.iNumParameters = 1000;
    for (int k = 1; k < 14; ++k)
        tooMany.aiParameterCodes[k] = 8803;
    const struct {
        KQCRSystem record;
        CTransverseMercator expected;
    } cases[] = {
        {Record(4, 2,
                {{8807, 100},
                 {8806, 200},
                 {8805, 0.9996},
                 {8801, 45 * kDegree},
                 {8802, 10 * kDegree},
                 {8803, 99}}),
         CTransverseMercator(2, 10 * kDegree, 45 * kDegree, 0.9996, 200, 100)},
        {Record(4, 2, {{8822, 3 * kDegree}, {8802, 10 * kDegree}}),
         CTransverseMercator(2, 10 * kDegree, 0, 1, 0, 0)}, // absent: 0, and 1 for the scale
        {tooMany, CTransverseMercator(2, 10 * kDegree, 0, 1, 0, 0)},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<CProjection> built = Build(c.record);
        ASSERT_NE(dynamic_cast<CTransverseMercator*>(built.get()), nullptr);
        for (double lon : {9.0, 10.5, 13.0})
            for (double lat : {49.0, 50.9}) {
                double xa, ya, xb, yb;
                built->Project(lon * kDegree, lat * kDegree, xa, ya);
                c.expected.Project(lon * kDegree, lat * kDegree, xb, yb);
                EXPECT_EQ(xa, xb);
                EXPECT_EQ(ya, yb);
            }
    }
    // The zone width defaults to 6 degrees: 9 E lies in zone 32.
    const std::unique_ptr<CProjection> utm =
        Build(Record(25, 2, {{8830, -180 * kDegree}, {8805, 0.9996}}));
    ASSERT_NE(utm, nullptr);
    double x, y;
    utm->Project(9 * kDegree, 0, x, y);
    EXPECT_NEAR(x, 32000000, 1e-6);
}

TEST(ProjectionFactoryWithoutDatabase, BuildsOnlyWhatNeedsNoEllipsoid) {
    EXPECT_EQ(Build(Record(4, 0, {})), nullptr);
    EXPECT_NE(Build(Record(18, 0, {})), nullptr);
}

} // namespace
