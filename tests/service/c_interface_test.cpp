// The C interface against the C++ interface's chain (c_host/cpp_chain.h), its buffer rules
// and its answers to bad input.
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "c_host/cpp_chain.h"
#include "geoxform_c.h"

namespace {

using System = std::unique_ptr<geoxform_system, decltype(&geoxform_system_free)>;

System Make(int code, const char* text = nullptr, const KQCRSystem* pRecord = nullptr) {
    geoxform_system* p = nullptr;
    EXPECT_EQ(text      ? geoxform_system_from_text(text, &p)
              : pRecord ? geoxform_system_from_record(pRecord, sizeof *pRecord, &p)
                        : geoxform_system_from_epsg(code, &p),
              GEOXFORM_OK);
    return System(p, geoxform_system_free);
}

struct CInterface : ::testing::Test {
    static void SetUpTestSuite() { ASSERT_EQ(geoxform_init(nullptr), GEOXFORM_OK); }
};

// Forward and inverse of 300 points (more than a block) of a box in each system, in four
// layouts (separate, interleaved, in place, stride -8) within max(4e-9 m, 1 ulp) and 1e-12 rad;
// the same from the text form and from the record. The area names' degree signs once came
// out as broken UTF-8, which the text form then refused.
TEST_F(CInterface, PointsEqualCppChainInEveryLayoutAlsoFromTextFormWithDegreeSigns) {
    struct Box {
        int code, units;
        double west, south, east, north;
    };
    const Box kBoxes[] = {{27700, 3, -7, 50, 1.7, 60},        {2154, 3, -4.5, 42, 8, 51},
                          {32632, 3, 6, 0, 12, 84},           {3031, 3, -180, -90, 180, -60},
                          {2229, 13, -121, 32.5, -114, 35.8}, {27572, 3, -4.5, 46, 7.5, 51}};
    struct Layout {
        long step, a[4], b[4];
    }; // array k, point i at mem[a[k] n + b[k] + step i]
    const Layout kLayouts[] = {{1, {0, 1, 2, 3}, {0, 0, 0, 0}},
                               {2, {0, 0, 2, 2}, {0, 1, 0, 1}},
                               {2, {0, 0, 0, 0}, {0, 1, 0, 1}},
                               {-1, {1, 2, 3, 4}, {-1, -1, -1, -1}}};
    const long n = 300;
    for (const Box& box : kBoxes) {
        const chain::Object c = chain::Make(box.code, box.units);
        KQCRSystem record;
        c->GetParameters(&record);
        char text[2048];
        const System s = Make(box.code);
        ASSERT_EQ(geoxform_system_text_form(s.get(), text, sizeof text, nullptr), GEOXFORM_OK);
        const System t = Make(0, text), r = Make(0, nullptr, &record);
        std::vector<double> e(6 * n); // lon lat, forward x y, inverse of those lon lat
        for (long i = 0; i < n; ++i) {
            e[6 * i] = box.west + (box.east - box.west) * (i % 20) / 19;
            e[6 * i + 1] = box.south + (box.north - box.south) * (i / 20) / 14;
            chain::Forward(*c, e[6 * i], e[6 * i + 1], e[6 * i + 2], e[6 * i + 3]);
            chain::Inverse(*c, e[6 * i + 2], e[6 * i + 3], e[6 * i + 4], e[6 * i + 5]);
        }
        for (const Layout& l : kLayouts)
            for (int in = 0; in <= 2; in += 2) // forward from column 0, inverse from 2
                for (const geoxform_system* p : {s.get(), t.get(), r.get()}) {
                    std::vector<double> mem(4 * n, 7.0);
                    double* a[4];
                    for (int k = 0; k < 4; ++k)
                        a[k] = &mem[l.a[k] * n + l.b[k]];
                    for (long i = 0; i < n * 2; ++i)
                        a[i % 2][l.step * (i / 2)] = e[6 * (i / 2) + in + i % 2];
                    int64_t failed = -1, st = 8 * l.step;
                    EXPECT_EQ((in == 0 ? geoxform_forward : geoxform_inverse)(
                                  p, n, a[0], st, a[1], st, a[2], st, a[3], st, &failed),
                              GEOXFORM_OK);
                    EXPECT_EQ(failed, 0);
                    for (long i = 0; i < n * 2; ++i) {
                        const double want = e[6 * (i / 2) + in + 2 + i % 2];
                        const double ulp = std::fabs(std::nextafter(want, INFINITY) - want);
                        ASSERT_NEAR(a[2 + i % 2][l.step * (i / 2)], want,
                                    in == 2 ? 5.8e-11 : std::max(4e-9, ulp))
                            << box.code << " layout " << (&l - kLayouts) << " value " << i;
                    }
                }
    }
}

#define TEXT(call) [&](char* t, size_t z, size_t* w) { return call; }

// Every text output at sizes 0, 1, one short and exactly enough: the needed size, an empty
// text when it does not fit, no byte written past the size. The last name, of a user-defined
// ellipsoid, has characters of two to four bytes.
TEST_F(CInterface, TextOutputsKeepTheBufferRulesAndEveryUtf8Length) {
    const char* kName = "\xC3\xA9 \xE0\xA0\x80 \xEF\xBF\xBD \xF0\x9D\x94\xB8 \xF4\x8F\xBF\xBF";
    const System s = Make(27572),
                 u = Make(0, (std::string("3,Meter,1,0,0;-1,,0,0,,0,9807,,-1,,-1,") + kName +
                              ",6.4e6,300,0,-1,,0,5,8801,0,8802,0,8805,1,8806,0,8807,0")
                                 .c_str());
    int32_t code = 0;
    const std::function<int(char*, size_t, size_t*)> kCalls[] = {
        TEXT(geoxform_system_text_form(s.get(), t, z, w)),
        TEXT(geoxform_system_name(s.get(), GEOXFORM_NAME_AREA, t, z, w)),
        TEXT(geoxform_value_to_text(s.get(), -0.8, GEOXFORM_CS_DMS, 3, t, z, w)),
        TEXT(geoxform_predefined(0, &code, t, z, w)),
        TEXT(geoxform_system_name(u.get(), GEOXFORM_NAME_ELLIPSOID, t, z, w))};
    std::string whole;
    for (const auto& call : kCalls) {
        size_t need = 0, needed = 0;
        ASSERT_EQ(call(nullptr, 0, &need), GEOXFORM_E_BUFFER);
        whole.assign(need + 8, '#');
        ASSERT_EQ(call(&whole[0], need, nullptr), GEOXFORM_OK);
        EXPECT_EQ(std::strlen(whole.c_str()), need - 1);
        for (size_t size : {size_t(0), size_t(1), need - 1, need}) {
            std::string buffer(need + 8, '#');
            EXPECT_EQ(call(&buffer[0], size, &needed),
                      size < need ? GEOXFORM_E_BUFFER : GEOXFORM_OK);
            EXPECT_EQ(needed, need);
            const std::string want = size == 0 ? "" : size < need ? std::string(1, '\0') : whole;
            EXPECT_EQ(buffer, want + std::string(need + 8, '#').substr(want.size())) << size;
        }
    }
    EXPECT_STREQ(whole.c_str(), kName);
}

#define CASE(status, call)                                                                         \
    {                                                                                              \
        status, [&] { return call; }                                                               \
    }

TEST_F(CInterface, BadInputGivesItsStatus) {
    const System s = Make(27700);
    geoxform_system *p = s.get(), *q = nullptr;
    double v[4] = {1, 2, 3, 4}, r = 0;
    int64_t f = 0, count = 0;
    int32_t code = 0;
    char t[64];
    KQCRSystem rec{};
    rec.iSize = sizeof rec;
    const std::pair<int, std::function<int()>> kCases[] = {
        CASE(GEOXFORM_E_NULL, geoxform_forward(nullptr, 1, v, 8, v, 8, v, 8, v, 8, &f)),
        CASE(GEOXFORM_E_NULL, geoxform_inverse(p, 1, v, 8, nullptr, 8, v, 8, v, 8, &f)),
        CASE(GEOXFORM_OK, geoxform_forward(p, 0, nullptr, 0, v, 4, v, 8, v, 8, &f)),
        CASE(GEOXFORM_E_ARGUMENT, geoxform_forward(p, -1, v, 8, v, 8, v, 8, v, 8, &f)),
        CASE(GEOXFORM_E_ARGUMENT,
             geoxform_forward(p, INT64_MAX / 8 + 1, v, 8, v, 8, v, 8, v, 8, &f)),
        CASE(GEOXFORM_E_ARGUMENT, geoxform_forward(p, 2, v, 8, v, 8, v, 0, v, 8, &f)),
        CASE(GEOXFORM_E_ARGUMENT, geoxform_inverse(p, 2, v, 4, v, 8, v, 8, v, 8, &f)),
        CASE(GEOXFORM_E_ARGUMENT, geoxform_sheet_to_user(p, 2, 1, v, 8, v, 8, v, 8, v, 8, &f)),
        CASE(GEOXFORM_E_NULL, geoxform_user_to_sheet(nullptr, 0, 1, v, 8, v, 8, v, 8, v, 8, &f)),
        CASE(GEOXFORM_E_UNKNOWN_CODE, geoxform_system_from_epsg(4326 + 99999, &q)),
        CASE(GEOXFORM_E_NO_PROJECTION, geoxform_system_from_text("3,Meter,1,0,0", &q)),
        CASE(GEOXFORM_E_NULL, geoxform_system_from_epsg(27700, nullptr)),
        CASE(GEOXFORM_E_TEXT, geoxform_system_from_text("3,Meter,x;27700,\xC3\x28", &q)),
        CASE(GEOXFORM_E_TEXT, geoxform_system_from_text("\xC0\xAF", &q)),         // overlong
        CASE(GEOXFORM_E_TEXT, geoxform_system_from_text("\xED\xA0\x80", &q)),     // surrogate
        CASE(GEOXFORM_E_TEXT, geoxform_system_from_text("\xF4\x90\x80\x80", &q)), // > U+10FFFF
        CASE(GEOXFORM_E_TEXT, geoxform_system_from_text("", &q)),
        CASE(GEOXFORM_E_INVALID, geoxform_system_from_text("3,Meter,1,0,0;-1,a,0,0,b,0,9807", &q)),
        CASE(GEOXFORM_E_NULL, geoxform_system_from_record(nullptr, sizeof rec, &q)),
        CASE(GEOXFORM_E_ARGUMENT, geoxform_system_from_record(&rec, sizeof rec - 8, &q)),
        CASE(GEOXFORM_E_INVALID, geoxform_system_from_record(&rec, sizeof rec, &q)),
        CASE(GEOXFORM_E_ARGUMENT, geoxform_system_name(p, 7, t, sizeof t, nullptr)),
        CASE(GEOXFORM_E_NULL, geoxform_system_name(p, 0, nullptr, 1, nullptr)),
        CASE(GEOXFORM_E_NULL, geoxform_system_get_info(p, nullptr)),
        CASE(GEOXFORM_E_ARGUMENT, geoxform_system_set_sheet(p, 1e-10, 0, 0)),
        CASE(GEOXFORM_E_ARGUMENT, geoxform_system_set_sheet(p, 1, NAN, 0)),
        CASE(GEOXFORM_E_ARGUMENT, geoxform_value_to_text(p, NAN, 0, 2, t, sizeof t, nullptr)),
        CASE(GEOXFORM_E_TEXT, geoxform_text_to_value(p, "abc", 0, &r)),
        CASE(GEOXFORM_E_ARGUMENT, geoxform_distance(p, INT64_C(1) << 31, v, &r)),
        CASE(GEOXFORM_OK, geoxform_distance(p, 0, nullptr, &r)),
        CASE(GEOXFORM_E_NULL, geoxform_area(p, 3, nullptr, &r)),
        CASE(GEOXFORM_E_ARGUMENT, geoxform_predefined(-1, &code, t, sizeof t, nullptr)),
        CASE(GEOXFORM_E_DATA, geoxform_init("/nonexistent-geoxform-directory")),
        CASE(GEOXFORM_E_NO_DATA, geoxform_predefined_count(&count)),
        CASE(GEOXFORM_E_NO_DATA, geoxform_system_from_epsg(27700, &q)),
        CASE(GEOXFORM_OK, geoxform_init(nullptr))};
    for (const auto& c : kCases)
        EXPECT_TRUE(c.second() == c.first && q == nullptr) << "row " << (&c - kCases);
}

// Non-finite inputs, and results that are not finite, give NaN in both outputs and count.
TEST_F(CInterface, NonFinitePointsGiveNaNAndCount) {
    double lon[] = {-2, NAN, -2, 1e308}, lat[] = {54, 54, INFINITY, 1e308}, x[4], y[4];
    int64_t failed = 0;
    EXPECT_EQ(geoxform_inverse(Make(27700).get(), 4, lon, 8, lat, 8, x, 8, y, 8, &failed), 10);
    EXPECT_EQ(failed, 3);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::isnan(x[i]) && std::isnan(y[i]), i > 0) << i;
}

// 300 sheet points at 1:25000 about (10, 20) mm: what an object of that scale gives, there
// and back; length and area of the first three in US survey feet.
TEST_F(CInterface, SheetAndMeasureFollowTheScaledObject) {
    const System s = Make(2229);
    ASSERT_EQ(geoxform_system_set_sheet(s.get(), 25000, 10, 20), GEOXFORM_OK);
    const chain::Object c = chain::Make(2229, 13);
    KQCRSystem r;
    c->GetParameters(&r);
    r.dScale = 25000, r.dOffsetX = 10, r.dOffsetY = 20;
    ASSERT_EQ(c->SetParameters(&r), 1);
    double m[1800] = {0, 0, 100, 0, 100, 50}, *u = m + 600, *b = m + 1200, ux, uy, length, area;
    for (int i = 6; i < 600; ++i)
        m[i] = i * 37 % 500 - 250.0;
    for (int geo = 0; geo < 2; ++geo) {
        EXPECT_EQ(
            geoxform_sheet_to_user(s.get(), geo, 300, m, 16, m + 1, 16, u, 16, u + 1, 16, nullptr),
            0);
        EXPECT_EQ(
            geoxform_user_to_sheet(s.get(), geo, 300, u, 16, u + 1, 16, b, 16, b + 1, 16, nullptr),
            0);
        for (int i = 0; i < 600; i += 2) {
            c->World2User(m[i], m[i + 1], ux, uy, geo);
            EXPECT_DOUBLE_EQ(u[i + 1], geo ? uy / chain::kDegree : uy) << i;
            EXPECT_NEAR(b[i], m[i], 1e-6);
        }
    }
    EXPECT_EQ(geoxform_distance(s.get(), 3, m, &length) + geoxform_area(s.get(), 3, m, &area), 0);
    EXPECT_NEAR(length, 3750 / 0.3048006096012192, 1e-6); // 150 mm at 1:25000
    EXPECT_NEAR(area, 2500 * 1250 / 2 / 0.09290341161327487, 1e-3);
}

} // namespace
