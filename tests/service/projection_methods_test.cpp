// The registry of projection methods against the data generator and the exported-symbols
// check, and the factory that builds its methods from records.
#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "geoxform/transverse_mercator.h"
#include "reference_fixture.h"
#include "service/projection_methods.h"

namespace {

const double kDegree = testconst::kDegree;

// The matches of the pattern in a source file, from the first "start" to the next "end".
std::vector<std::string> Tokens(const char* pszPath, const std::string& start, const char* end,
                                const char* pszPattern) {
    std::ifstream in(std::string(GEOXFORM_SOURCE_DIR) + "/" + pszPath);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t from = std::min(text.find(start), text.size());
    const std::string part = text.substr(from, text.find(end, from + start.size()) - from);
    const std::regex pattern(pszPattern);
    std::vector<std::string> tokens;
    for (std::sregex_iterator it(part.begin(), part.end(), pattern), last; it != last; ++it)
        tokens.push_back(it->str());
    return tokens;
}

// The method built with its listed parameters, near 10 E 50 N, on the given ellipsoid.
std::unique_ptr<CProjection> BuiltMethod(const gx::MethodRow& m, int ellipsoid) {
    const double byGroup[gx::kNumParameterGroups] = {
        10 * kDegree, 50 * kDegree, 48 * kDegree, 52 * kDegree, 0.9996,
        500000,       100000,       30 * kDegree, 30 * kDegree, 6 * kDegree};
    std::vector<fixture::Parameter> parameters;
    for (int k = 0; k < m.NumParams(); ++k)
        parameters.push_back({m.aiParams[k], byGroup[gx::ParameterGroupOf(m.aiParams[k])]});
    return fixture::Built(m.iNumber, ellipsoid, parameters);
}

TEST(ProjectionMethods, DataGeneratorKeepsTheMethodsSelectedByCode) {
    std::multiset<int> generated, byCode;
    for (const std::string& code : Tokens("tools/make_refdata.py", "METHODS = (", ")", "[0-9]+"))
        generated.insert(std::stoi(code));
    for (const gx::MethodRow& m : gx::Methods())
        if (m.bByCode) byCode.insert(m.iCode);
    EXPECT_EQ(generated, byCode);
}

TEST(ProjectionMethods, LookupsByNumberAndCode) {
    for (const gx::MethodRow& m : gx::Methods()) { // numbered 1 to 25: checked as they compile
        EXPECT_EQ(gx::MethodByNumber(m.iNumber), &m);
        EXPECT_EQ(gx::MethodByCode(m.iCode), m.bByCode ? &m : nullptr) << m.iCode;
    }
    for (int bad : {0, -1, 26, 1000, 9800, INT_MIN, INT_MAX}) {
        EXPECT_EQ(gx::MethodByNumber(bad), nullptr) << bad;
        EXPECT_EQ(gx::MethodByCode(bad), nullptr) << bad;
        EXPECT_EQ(fixture::Built(bad, 2, {}), nullptr) << bad;
    }
}

class ProjectionFactory : public fixture::ReferenceData {};

// Every method builds from its listed parameters (its points and round trips are rows of
// projection_points.csv); its class is one the exported-symbols check names, among the
// exported classes or among the hidden ones.
TEST_F(ProjectionFactory, EveryMethodBuildsAndIsInTheExportCheck) {
    const char* pszScript = "tests/exported_symbols.sh";
    const auto exported = Tokens(pszScript, "for class in", "; do", "C[A-Za-z0-9]+");
    const auto hidden = Tokens(pszScript, "grep -E 'gx::", "'", "C[A-Za-z0-9]+");
    ASSERT_FALSE(exported.empty() || hidden.empty());
    std::set<std::string> built;
    for (const gx::MethodRow& m : gx::Methods()) {
        const std::unique_ptr<CProjection> p = BuiltMethod(m, 2);
        ASSERT_NE(p, nullptr) << m.iNumber;
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
            EXPECT_EQ(BuiltMethod(m, ellipsoid) != nullptr, !m.bNeedsEllipsoid);
    }
    for (const std::string& name : exported)
        EXPECT_EQ(built.count(name), 1u) << name << " is checked but built by no method";
}

// The record's slots feed the constructor by group, in any order; a later slot of a group
// wins; codes outside every group are ignored; a count beyond 14 reads the 14 slots.
TEST_F(ProjectionFactory, SlotsFeedTheConstructorByGroup) {
    const struct {
        const char* edits; // of a Transverse Mercator record on the Airy row
        double args[5];    // lon0, lat0, k0, fe, fn; absent: 0, and 1 for the scale
    } cases[] = {
        {"p=8807:100,8806:200,8805:0.9996,8801:0.8,8802:0.2,8803:9", {0.2, 0.8, 0.9996, 200, 100}},
        {"p=8822:0.05,8802:0.2", {0.2, 0, 1, 0, 0}},
        {"p=8802:0.2 n=1000", {0.2, 0, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        KQCRSystem r;
        gx::InitCRSystem(&r, 3, 1.0);
        r.iProjection = 4;
        r.iEllipsoidIndex = 2;
        Edit(r, c.edits);
        const std::unique_ptr<CProjection> built(gx::CreateProjection(&r));
        ASSERT_NE(dynamic_cast<CTransverseMercator*>(built.get()), nullptr);
        double xa, ya, xb, yb;
        built->Project(0.21, 0.81, xa, ya);
        const double* a = c.args;
        CTransverseMercator(2, a[0], a[1], a[2], a[3], a[4]).Project(0.21, 0.81, xb, yb);
        EXPECT_EQ(xa, xb);
        EXPECT_EQ(ya, yb);
    }
    // The zone width defaults to 6 degrees: 9 E lies in zone 32.
    const std::unique_ptr<CProjection> utm =
        fixture::Built(25, 2, {{8830, -180 * kDegree}, {8805, 0.9996}});
    ASSERT_NE(utm, nullptr);
    double x, y;
    utm->Project(9 * kDegree, 0, x, y);
    EXPECT_NEAR(x, 32000000, 1e-6);
}

TEST(ProjectionFactoryWithoutDatabase, BuildsOnlyWhatNeedsNoEllipsoid) {
    EXPECT_EQ(fixture::Built(4, 0, {}), nullptr);
    EXPECT_NE(fixture::Built(18, 0, {}), nullptr);
    EXPECT_EQ(gx::CreateProjection(nullptr), nullptr);
}

} // namespace
