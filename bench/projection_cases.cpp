#include "projection_cases.h"

#include <cstdint>

#include "service/crsystem_init.h"
#include "service/projection_factory.h"

namespace bench {

namespace {

const double kDegree = 0.017453292519943295;

} // namespace

// Every projection method measured; add a row for each new method.
const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"TransverseMercator/UTM32N",
         32632,
         6,
         0,
         12,
         84,
         {"+proj=utm +zone=32 +ellps=WGS84", "+proj=tmerc +approx +lon_0=9 +k_0=0.9996 "
                                             "+x_0=500000 +ellps=WGS84"}},
        {"Mercator1SP/World3395",
         3395,
         -180,
         -80,
         180,
         84,
         {"+proj=merc +lon_0=0 +k=1 +ellps=WGS84"}},
        {"Mercator2SP/Caspian3388",
         3388,
         47,
         37,
         54.5,
         47,
         {"+proj=merc +lat_ts=42 +lon_0=51 +ellps=krass"}},
        {"CassiniSoldner/Berlin3068",
         3068,
         13.09,
         52.33,
         13.76,
         52.65,
         {"+proj=cass +lat_0=52.4186482777778 +lon_0=13.6272036666667 +x_0=40000 +y_0=10000 "
          "+ellps=bessel"}},
        {"LambertConic1SP/Jamaica24200",
         24200,
         -78.43,
         17.64,
         -76.17,
         18.58,
         {"+proj=lcc +lat_1=18 +lat_0=18 +lon_0=-77 +k_0=1 +x_0=250000 +y_0=150000 "
          "+ellps=clrk66"}},
        {"LambertConic2SP/Lambert93",
         2154,
         -9.86,
         41.15,
         10.38,
         51.56,
         {"+proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=49 +lat_2=44 +x_0=700000 +y_0=6600000 "
          "+ellps=GRS80"}},
        // PROJ's lcc without the Belgian rotation: the same cone, one rotation less.
        {"LambertConic2SPBelgium/Lambert72",
         31300,
         2.5,
         49.5,
         6.4,
         51.51,
         {"+proj=lcc +lat_0=90 +lon_0=4.35693972222222 +lat_1=49.8333333333333 "
          "+lat_2=51.1666666666667 +x_0=150000.01256 +y_0=5400088.4378 +ellps=intl"}},
        // PROJ has no near-conformal conic: its conformal conic of the same parameters stands
        // in for scale.
        {"LambertNearConformal/Levant22700",
         22700,
         35.04,
         32.31,
         42.38,
         37.3,
         {"+proj=lcc +lat_1=34.65 +lat_0=34.65 +lon_0=37.35 +k_0=0.9996256 +x_0=300000 "
          "+y_0=300000 +a=6378249.2 +rf=293.4660212936269"}},
        {"AlbersEqualArea/Conus5070",
         5070,
         -124.79,
         24.41,
         -66.91,
         49.38,
         {"+proj=aea +lat_0=23 +lon_0=-96 +lat_1=29.5 +lat_2=45.5 +ellps=GRS80"}},
        {"HotineObliqueMercatorA/PeninsulaRSO3375",
         3375,
         98.02,
         1.13,
         105.82,
         7.81,
         {"+proj=omerc +no_uoff +lat_0=4 +lonc=102.25 +alpha=323.025796466667 "
          "+gamma=323.130102361111 +k=0.99984 +x_0=804671 +y_0=0 +ellps=GRS80"}},
        {"ObliqueMercatorB/BorneoRSO29873",
         29873,
         109.31,
         0.85,
         119.61,
         7.67,
         {"+proj=omerc +lat_0=4 +lonc=115 +alpha=53.3158204722222 +gamma=53.1301023611111 "
          "+k=0.99984 +x_0=590476.87 +y_0=442857.65 +ellps=evrstSS"}},
        {"ObliqueStereographic/RDNew28992",
         28992,
         3.2,
         50.75,
         7.22,
         53.7,
         {"+proj=sterea +lat_0=52.1561605555556 +lon_0=5.38763888888889 +k=0.9999079 "
          "+x_0=155000 +y_0=463000 +ellps=bessel"}},
        {"PolarStereographicA/UPSNorth32661",
         32661,
         -180,
         60,
         180,
         90,
         {"+proj=stere +lat_0=90 +lon_0=0 +k=0.994 +x_0=2000000 +y_0=2000000 +ellps=WGS84"}},
        {"PolarStereographicB/Antarctic3031",
         3031,
         -180,
         -90,
         180,
         -60,
         {"+proj=stere +lat_0=-90 +lat_ts=-71 +lon_0=0 +ellps=WGS84"}},
        // PROJ has no variant C: variant B with the northing of the false origin.
        {"PolarStereographicC/TerreAdelie2985",
         2985,
         139.44,
         -66.78,
         141.5,
         -66.1,
         {"+proj=stere +lat_0=-90 +lat_ts=-67 +lon_0=140 +x_0=300000 +y_0=-2299363.487831 "
          "+ellps=intl"}},
        {"LambertAzimuthalEqualArea/LAEAEurope3035",
         3035,
         -35.58,
         24.6,
         44.83,
         84.73,
         {"+proj=laea +lat_0=52 +lon_0=10 +x_0=4321000 +y_0=3210000 +ellps=GRS80"}},
        // PROJ's aeqd is the exact (geodesic) azimuthal equidistant projection.
        {"ModifiedAzimuthalEquidistant/Yap3295",
         3295,
         137.99,
         9.39,
         138.27,
         9.69,
         {"+proj=aeqd +lat_0=9.54670833333333 +lon_0=138.168744444444 +x_0=40000 +y_0=60000 "
          "+ellps=clrk66"}},
        // No Bonne system in the data: hand-made records (HandMadeRecords) on Bessel 1841.
        {"Bonne/Portugal",
         28992,
         -9.5,
         36.9,
         -6.2,
         42.2,
         {"+proj=bonne +lat_1=39.6666666666667 +lon_0=-8.13190611111111 +ellps=bessel"}},
        {"BonneSouthOriented/Portugal",
         28992,
         -9.5,
         36.9,
         -6.2,
         42.2,
         {"+proj=bonne +lat_1=39.6666666666667 +lon_0=-8.13190611111111 +axis=wsu "
          "+ellps=bessel"}},
        {"AmericanPolyconic/Brazil5880",
         5880,
         -74.01,
         -35.71,
         -25.28,
         7.04,
         {"+proj=poly +lat_0=0 +lon_0=-54 +x_0=5000000 +y_0=10000000 +ellps=GRS80"}},
        {"NewZealandMapGrid/NZMG27200",
         27200,
         166.37,
         -47.33,
         178.63,
         -34.1,
         {"+proj=nzmg +lat_0=-41 +lon_0=173 +x_0=2510000 +y_0=6023150 +ellps=intl"}},
    };
    return cases;
}

namespace {

// Methods without a predefined system in the data: the case's system lends the ellipsoid, and
// its record gets this method number and these parameters.
struct HandMade {
    const char* name;
    int number, methodCode;
    std::vector<std::pair<int, double>> parameters;
};

const std::vector<HandMade>& HandMadeRecords() {
    static const std::vector<HandMade> records = {
        {"Bonne/Portugal",
         19,
         9827,
         {{8801, 39.6666666666667 * kDegree},
          {8802, -8.13190611111111 * kDegree},
          {8806, 0},
          {8807, 0}}},
        {"BonneSouthOriented/Portugal",
         24,
         9828,
         {{8801, 39.6666666666667 * kDegree},
          {8802, -8.13190611111111 * kDegree},
          {8806, 0},
          {8807, 0}}},
    };
    return records;
}

} // namespace

Points MakePoints(const Case& c, const CProjection& projection, int n) {
    Points p;
    p.lon.resize(n);
    p.lat.resize(n);
    p.x.resize(n);
    p.y.resize(n);
    uint64_t state = 12345;
    auto next = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    };
    for (int i = 0; i < n; ++i) {
        p.lon[i] = (c.west + (c.east - c.west) * next()) * kDegree;
        p.lat[i] = (c.south + (c.north - c.south) * next()) * kDegree;
        projection.Project(p.lon[i], p.lat[i], p.x[i], p.y[i]);
    }
    return p;
}

bool IsHandMade(const Case& c) {
    for (const HandMade& h : HandMadeRecords())
        if (std::string(h.name) == c.name) return true;
    return false;
}

bool BuildRecord(const Case& c, KQCRSystem& r) {
    gx::InitCRSystem(&r, 3, 1.0);
    r.iSystemCode = c.code;
    if (ValidateCRSystem(&r) != 0) return false;
    for (const HandMade& h : HandMadeRecords()) {
        if (std::string(h.name) != c.name) continue;
        // A user-defined system of that method, so that a validation keeps it.
        r.iSystemCode = 0;
        r.iOperationCode = 0;
        r.iMethodCode = h.methodCode;
        r.iProjection = h.number;
        r.iNumParameters = static_cast<int>(h.parameters.size());
        for (int i = 0; i < r.iNumParameters; ++i) {
            r.aiParameterCodes[i] = h.parameters[i].first;
            r.adParameterValues[i] = h.parameters[i].second;
        }
    }
    return true;
}

std::shared_ptr<CProjection> BuildProjection(const Case& c) {
    KQCRSystem r;
    if (!BuildRecord(c, r)) return nullptr;
    return std::shared_ptr<CProjection>(gx::CreateProjection(&r));
}

} // namespace bench
