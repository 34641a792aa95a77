// The library's projections against PROJ on every predefined system of the shipped data file
// (and hand-made records for the methods the data lacks), driven by tests/data/proj_oracle.csv:
// PROJ computes the raw projection from the same parameters and serves as truth. Prints the
// largest differences per method, the figures of the README's accuracy table.
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <geodesic.h>
#include <gtest/gtest.h>
#include <proj.h>

#include "geoxform/refdata.h"
#include "reference_fixture.h"
#include "service/parameter_slots.h"

namespace {

using testconst::kDegree;
using testconst::kPi;

PJ_CONTEXT* Context() {
    static PJ_CONTEXT* s_context = proj_context_create();
    proj_log_level(s_context, PJ_LOG_NONE);
    return s_context;
}

// A raw PROJ operation from a "+proj=..." string: radians in, metres out; false for a point
// PROJ reports an error for.
struct ProjOperation {
    explicit ProjOperation(const std::string& definition)
        : m_pj(proj_create(Context(), definition.c_str()), proj_destroy) {}
    bool Valid() const { return m_pj != nullptr; }
    bool Run(PJ_DIRECTION direction, double u, double v, double& uOut, double& vOut) const {
        proj_errno_reset(m_pj.get());
        const PJ_COORD r = proj_trans(m_pj.get(), direction, proj_coord(u, v, 0, 0));
        uOut = r.v[0];
        vOut = r.v[1];
        return proj_errno(m_pj.get()) == 0 && std::isfinite(uOut) && std::isfinite(vOut);
    }
    std::unique_ptr<PJ, decltype(&proj_destroy)> m_pj;
};

// A system with its projection and its area of use in degrees east of its prime meridian.
struct System {
    KQCRSystem record{};
    std::shared_ptr<CProjection> projection;
    double west = 0, south = 0, east = 0, north = 0;
};

bool LoadSystem(int code, System& system) {
    if (pdaEPSGSystem == nullptr) InitEPSGDataBase(nullptr);
    KQCRSystem& r = system.record;
    gx::InitCRSystem(&r, 3, 1.0);
    r.iSystemCode = code;
    if (ValidateCRSystem(&r) != 0) return false;
    system.projection.reset(gx::CreateProjection(&r));
    PJ* crs = proj_create_from_database(Context(), "EPSG", std::to_string(code).c_str(),
                                        PJ_CATEGORY_CRS, 0, nullptr);
    const char* name = nullptr;
    const bool bArea =
        crs != nullptr && proj_get_area_of_use(Context(), crs, &system.west, &system.south,
                                               &system.east, &system.north, &name);
    proj_destroy(crs);
    system.west -= r.dPrimeMeridian / kDegree;
    system.east -= r.dPrimeMeridian / kDegree;
    return system.projection && bArea && system.west > -1000;
}

// A record of a method number with the parameters given, on a predefined system's ellipsoid.
System HandMade(int base, int number, const std::string& parameters) {
    System s;
    EXPECT_TRUE(LoadSystem(base, s)) << base;
    s.record.iProjection = number;
    s.record.iSystemCode = -number;
    fixture::SetParameters(s.record, fixture::Parameters(parameters));
    s.projection.reset(gx::CreateProjection(&s.record));
    return s;
}

std::vector<System> SystemsOf(int number, const std::vector<std::vector<std::string>>& table) {
    std::vector<System> systems;
    const gx::MethodRow* method = gx::MethodByNumber(number);
    const int code = method != nullptr && method->bByCode ? method->iCode : 0;
    if (pdaEPSGSystem == nullptr) InitEPSGDataBase(nullptr);
    for (int i = 0; code != 0 && i < pdaEPSGSystem->GetCount(); ++i) {
        System s;
        if ((*pdaEPSGSystem)[i].iMethodCode == code && LoadSystem((*pdaEPSGSystem)[i].iCode, s))
            systems.push_back(s);
    }
    for (const auto& f : table)
        if (f[1] == "hand" && std::stoi(f[2]) == number) {
            systems.push_back(HandMade(std::stoi(f[3]), number, f[4]));
            std::istringstream(f[5]) >> systems.back().west >> systems.back().south >>
                systems.back().east >> systems.back().north;
        }
    return systems;
}

double Group(const KQCRSystem& r, gx::ParameterGroup group, double fallback = 0) {
    double value = fallback;
    for (int i = 0; i < gx::UsedParameterSlots(r); ++i)
        if (gx::ParameterGroupOf(r.aiParameterCodes[i]) == group) value = r.adParameterValues[i];
    return value;
}

std::string Number(double value) {
    char text[40];
    std::snprintf(text, sizeof(text), "%.17g", value);
    return text;
}

// The PROJ definition of a template for a record: {name} replaced by the record's values.
std::string Definition(std::string text, const KQCRSystem& r) {
    const double lat0 = Group(r, gx::kGroupOriginLatitude),
                 lat1 = Group(r, gx::kGroupFirstParallel);
    const double fe = Group(r, gx::kGroupFalseEasting), fn = Group(r, gx::kGroupFalseNorthing);
    const double a = r.dSemiMajorAxis, f = r.dInverseFlattening > 1 ? 1 / r.dInverseFlattening : 0;
    const double e2 = f * (2 - f), s = std::sin(lat0);
    std::map<std::string, std::string> values = {
        {"lat0", Number(lat0 / kDegree)},
        {"lon0", Number(Group(r, gx::kGroupOriginLongitude) / kDegree)},
        {"lat1", Number(lat1 / kDegree)},
        {"lat2", Number(Group(r, gx::kGroupSecondParallel) / kDegree)},
        {"k0", Number(Group(r, gx::kGroupScaleFactor, 1))},
        {"fe", Number(fe)},
        {"fn", Number(fn)},
        {"alpha", Number(Group(r, gx::kGroupAzimuth) / kDegree)},
        {"gamma", Number(Group(r, gx::kGroupRectifiedGridAngle) / kDegree)},
        {"ellps",
         f > 0 ? "+a=" + Number(a) + " +rf=" + Number(r.dInverseFlattening)
               : "+a=" + Number(a) + " +b=" + Number(r.dSemiMinorAxis > 1 ? r.dSemiMinorAxis : a)},
        {"pole0", lat0 > 0 ? "90" : "-90"},
        {"pole1", lat1 > 0 ? "90" : "-90"},
        {"Rts", Number(a * std::sqrt(1 - e2) / (1 - e2 * s * s))}, // sqrt(rho nu)
        {"mirror", lat0 < 0 ? "-1" : "1"},
        {"-mirror", lat0 < 0 ? "1" : "-1"},
        {"abslat0", Number(std::fabs(lat0) / kDegree)},
        {"2fe", Number(2 * fe)},
        {"yoff19", Number(lat0 < 0 ? 2 * fn : 0)},
        {"yoff24", Number(lat0 < 0 ? 0 : 2 * fn)},
        {"fnC", "0"}};
    if (text.find("{fnC}") != std::string::npos) { // northing of the parallel, origin meridian
        double x, y;
        ProjOperation(Definition(text.substr(0, text.find("{fnC}")) + "0 {ellps}", r))
            .Run(PJ_FWD, Group(r, gx::kGroupOriginLongitude), lat1, x, y);
        values["fnC"] = Number(fn - y);
    }
    for (size_t open; (open = text.find('{')) != std::string::npos;) {
        const size_t close = text.find('}', open);
        text.replace(open, close - open + 1, values.at(text.substr(open + 1, close - open - 1)));
    }
    return text;
}

// Largest differences from PROJ, in metres, and where.
struct Agreement {
    double forward = 0, inverse = 0, roundTrip = 0;
    int forwardCode = 0, inverseCode = 0, roundTripCode = 0, points = 0, systems = 0;
};

void Keep(double value, double& worst, int& where, int code) {
    if (!(value <= worst)) std::tie(worst, where) = std::make_pair(value, code);
}

// Forward in metres and inverse as the ground distance between the two results, over an n x n
// grid of the area of use that passes the filters; round trips of the library over the same.
void Compare(const System& s, const ProjOperation* proj, int n, const std::string& filters,
             Agreement& agreement) {
    double maxLat = 90, maxDlon = 360;
    std::istringstream in(filters);
    for (std::string f; in >> f;) {
        if (f.rfind("lat<", 0) == 0) maxLat = std::stod(f.substr(4));
        if (f.rfind("dlon<=", 0) == 0) maxDlon = std::stod(f.substr(6));
        const bool b90 = std::fabs(Group(s.record, gx::kGroupAzimuth) - kPi / 2) < 1e-9;
        if ((f == "az90" && !b90) || (f == "!az90" && b90)) return;
    }
    ++agreement.systems;
    const int code = s.record.iSystemCode;
    const double east = s.east < s.west ? s.east + 360 : s.east; // across the antimeridian
    const double lon0 = Group(s.record, gx::kGroupOriginLongitude);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const double lon =
                std::remainder(s.west + (east - s.west) * (i + 0.5) / n, 360) * kDegree;
            const double lat = (s.south + (s.north - s.south) * (j + 0.5) / n) * kDegree;
            if (std::fabs(lat) >= maxLat * kDegree ||
                std::fabs(std::remainder(lon - lon0, 2 * kPi)) > maxDlon * kDegree)
                continue;
            double x, y, lonBack, latBack, xProj, yProj, lonProj, latProj;
            s.projection->Project(lon, lat, x, y);
            s.projection->UnProject(x, y, lonBack, latBack);
            Keep(std::hypot(std::remainder(lonBack - lon, 2 * kPi) * std::cos(lat), latBack - lat),
                 agreement.roundTrip, agreement.roundTripCode, code);
            if (proj == nullptr || !proj->Run(PJ_FWD, lon, lat, xProj, yProj)) continue;
            Keep(std::hypot(x - xProj, y - yProj), agreement.forward, agreement.forwardCode, code);
            if (!proj->Run(PJ_INV, xProj, yProj, lonProj, latProj)) continue;
            s.projection->UnProject(xProj, yProj, lonBack, latBack);
            Keep(s.record.dSemiMajorAxis *
                     std::hypot(std::remainder(lonBack - lonProj, 2 * kPi) * std::cos(latProj),
                                latBack - latProj),
                 agreement.inverse, agreement.inverseCode, code);
            ++agreement.points;
        }
}

// Every row of the table: each system of the method against PROJ's definition of it, and its
// round trips. Methods PROJ lacks are only round-tripped.
TEST(ProjOracle, EverySystemOfEveryMethod) {
    const auto table = fixture::DataLines("proj_oracle.csv");
    for (const auto& f : table) {
        if (f[1] == "hand" || f[1] == "profile") continue;
        const int number = std::stoi(f[1]), n = std::stoi(f[4]);
        Agreement agreement;
        for (const System& s : SystemsOf(number, table)) {
            ASSERT_TRUE(s.projection) << f[2];
            const std::string definition = f[3] == "-" ? "" : Definition(f[3], s.record);
            const ProjOperation proj(definition);
            EXPECT_TRUE(f[3] == "-" || proj.Valid()) << definition;
            Compare(s, proj.Valid() ? &proj : nullptr, n, f[7], agreement);
        }
        std::printf("%s: %d systems, %d points, forward %.3g m (EPSG:%d), inverse %.3g m "
                    "(EPSG:%d), round trip %.3g rad\n",
                    f[2].c_str(), agreement.systems, agreement.points, agreement.forward,
                    agreement.forwardCode, agreement.inverse, agreement.inverseCode,
                    agreement.roundTrip);
        EXPECT_GE(agreement.systems, std::stoi(f[6])) << f[2];
        EXPECT_TRUE(f[8] == "-" || agreement.roundTrip < std::stod(f[8])) << f[2];
        if (f[5] == "-") continue;
        double forward, inverse;
        std::istringstream(f[5]) >> forward >> inverse;
        EXPECT_GE(agreement.points, 9 * agreement.systems) << f[2];
        EXPECT_LT(agreement.forward, forward) << f[2];
        EXPECT_LT(agreement.inverse, inverse) << f[2];
    }
}

// The zoned grid with initial longitude -180 and 6 degree zones against PROJ's UTM zones: the
// zone number in the millions of the easting, and the easting within it.
TEST(ProjOracle, ZonedGridAgainstUtm) {
    const System zoned = HandMade(32632, 25, "8830=-180 8805=0.9996 8806=500000 8831=6");
    ASSERT_TRUE(zoned.projection);
    double worst = 0;
    for (int zone = 1; zone <= 60; ++zone) {
        const ProjOperation proj("+proj=utm +zone=" + std::to_string(zone) + " +ellps=WGS84");
        for (double dlon = -2.9; dlon <= 2.9; dlon += 0.58)
            for (double lat = -79.5; lat <= 84; lat += 7.5) {
                const double lon = (-183 + 6 * zone + dlon) * kDegree;
                double xProj, yProj, x, y;
                ASSERT_TRUE(proj.Run(PJ_FWD, lon, lat * kDegree, xProj, yProj));
                zoned.projection->Project(lon, lat * kDegree, x, y);
                EXPECT_EQ(std::trunc(x / 1000000), zone);
                worst = std::fmax(worst, std::hypot(x - zone * 1e6 - xProj, y - yProj));
            }
    }
    EXPECT_LT(worst, 0.001);
}

// The exact Cassini-Soldner projection (origin on the equator) from geodesics: the geodesic
// between a point and its mirror image across the central meridian crosses the meridian at
// right angles half-way, so x is half its length and y the meridian arc to the crossing.
bool ExactCassini(double lon, double lat, double& x, double& y) {
    geod_geodesic g;
    geod_init(&g, testconst::kWgs84A, 1 / testconst::kWgs84InvF);
    const double latDeg = lat / kDegree, d = std::fabs(lon / kDegree);
    double s12 = 0, azi1, azi2, latFoot = latDeg, lonFoot, arc;
    if (d > 0) {
        geod_inverse(&g, latDeg, -d, latDeg, d, &s12, &azi1, &azi2);
        geod_direct(&g, latDeg, -d, azi1, s12 / 2, &latFoot, &lonFoot, &azi2);
    }
    geod_inverse(&g, 0, 0, latFoot, 0, &arc, &azi1, &azi2);
    x = lon < 0 ? -s12 / 2 : s12 / 2;
    y = latFoot < 0 ? -arc : arc;
    return true;
}

// Vincenty's distances (the ellipsoid base) against PROJ's geodesics on WGS 84 within his 0.1 mm,
// long lines included, where the terms of his series in the flattening show.
TEST(ProjOracle, GeodesicDistanceAgainstProjGeodesics) {
    System utm;
    ASSERT_TRUE(LoadSystem(32632, utm));
    geod_geodesic g;
    geod_init(&g, testconst::kWgs84A, 1 / testconst::kWgs84InvF);
    const double lines[][4] = {
        {0, 0, 150, 10}, {-70, -40, 100, 60}, {10, 50, 11, 50.5}, {0, 80, 170, -60}};
    for (const auto& [lon1, lat1, lon2, lat2] : lines) {
        double s12 = 0;
        geod_inverse(&g, lat1, lon1, lat2, lon2, &s12, nullptr, nullptr);
        EXPECT_NEAR(utm.projection->GeodesicDistance(lon1 * kDegree, lat1 * kDegree, lon2 * kDegree,
                                                     lat2 * kDegree),
                    s12, 1e-4)
            << lon2;
    }
}

// The error profiles of the truncated series against exact projections on WGS 84: the largest
// forward difference over latitudes 0 to 84 (80) degrees against the distance from the central
// meridian. Prints where it reaches 1 mm, 1 cm and 1 m, and keeps the shape.
TEST(ProjOracle, SeriesErrorProfilesAgainstExactProjections) {
    for (const auto& f : fixture::DataLines("proj_oracle.csv")) {
        if (f[1] != "profile") continue;
        double lon0, step, maxDlon, maxLat, latStep, oneMillimetreBeyond;
        std::istringstream(f[5]) >> lon0 >> step >> maxDlon >> maxLat >> latStep >>
            oneMillimetreBeyond;
        const ProjOperation proj(f[6]);
        const std::shared_ptr<CProjection> series =
            HandMade(32632, std::stoi(f[3]), f[4]).projection;
        ASSERT_TRUE(series && (proj.Valid() || f[6] == "geodesics")) << f[2];
        const double thresholds[] = {0.001, 0.01, 1.0};
        double reached[3] = {0, 0, 0};
        for (double dlon = step; dlon <= maxDlon; dlon += step) {
            double worst = 0;
            for (double lat = 0; lat <= maxLat; lat += latStep) {
                const double lon = (lon0 + dlon) * kDegree;
                double x, y, xExact, yExact;
                if (!(f[6] == "geodesics" ? ExactCassini(lon, lat * kDegree, xExact, yExact)
                                          : proj.Run(PJ_FWD, lon, lat * kDegree, xExact, yExact)))
                    continue;
                series->Project(lon, lat * kDegree, x, y);
                worst = std::fmax(worst, std::hypot(x - xExact, y - yExact));
            }
            for (int k = 0; k < 3; ++k)
                if (reached[k] == 0 && worst >= thresholds[k]) reached[k] = dlon;
        }
        std::printf("%s series vs exact: 1 mm at %.2f deg, 1 cm at %.2f deg, 1 m at %.2f deg from "
                    "the central meridian\n",
                    f[2].c_str(), reached[0], reached[1], reached[2]);
        EXPECT_GT(reached[0], oneMillimetreBeyond) << f[2];
        EXPECT_GT(reached[1], reached[0]) << f[2];
        EXPECT_GT(reached[2], reached[1]) << f[2];
    }
}

} // namespace
