#include "oracle/proj_oracle.h"

#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>
#include <proj.h>

#include "geoxform/refdata.h"
#include "service/parameter_slots.h"
#include "service/projection_factory.h"

namespace oracle {

namespace {

PJ_CONTEXT* Context() {
    static PJ_CONTEXT* s_context = [] {
        PJ_CONTEXT* c = proj_context_create();
        proj_log_level(c, PJ_LOG_NONE);
        return c;
    }();
    return s_context;
}

bool AreaOfUse(int code, double& west, double& south, double& east, double& north) {
    const std::string text = std::to_string(code);
    PJ* crs =
        proj_create_from_database(Context(), "EPSG", text.c_str(), PJ_CATEGORY_CRS, 0, nullptr);
    if (crs == nullptr) return false;
    const char* name = nullptr;
    const bool ok = proj_get_area_of_use(Context(), crs, &west, &south, &east, &north, &name);
    proj_destroy(crs);
    return ok && west > -1000;
}

} // namespace

ProjOperation::ProjOperation(const std::string& definition)
    : m_pj(proj_create(Context(), definition.c_str())) {}

ProjOperation::~ProjOperation() {
    proj_destroy(m_pj);
}

bool ProjOperation::Forward(double lon, double lat, double& x, double& y) const {
    proj_errno_reset(m_pj);
    const PJ_COORD r = proj_trans(m_pj, PJ_FWD, proj_coord(lon, lat, 0, 0));
    x = r.xy.x;
    y = r.xy.y;
    return proj_errno(m_pj) == 0 && std::isfinite(x) && std::isfinite(y);
}

bool ProjOperation::Inverse(double x, double y, double& lon, double& lat) const {
    proj_errno_reset(m_pj);
    const PJ_COORD r = proj_trans(m_pj, PJ_INV, proj_coord(x, y, 0, 0));
    lon = r.lp.lam;
    lat = r.lp.phi;
    return proj_errno(m_pj) == 0 && std::isfinite(lon) && std::isfinite(lat);
}

std::vector<System> SystemsOfMethod(int iMethodCode) {
    if (pdaEPSGSystem == nullptr) InitEPSGDataBase(nullptr);
    std::vector<System> systems;
    if (pdaEPSGSystem == nullptr) return systems;
    const int n = pdaEPSGSystem->GetCount();
    for (int i = 0; i < n; ++i) {
        const EPSGSystem& row = (*pdaEPSGSystem)[i];
        if (row.iMethodCode != iMethodCode) continue;
        System system;
        KQCRSystem& r = system.record;
        r = KQCRSystem{};
        r.iVersion = 0x300;
        r.iSize = sizeof(KQCRSystem);
        r.iUnits = 3;
        r.dScale = 1;
        r.iSystemCode = row.iCode;
        if (ValidateCRSystem(&r) != 0) continue;
        system.projection.reset(gx::CreateProjection(&r));
        if (!system.projection) continue;
        if (!AreaOfUse(row.iCode, system.west, system.south, system.east, system.north)) continue;
        const double pm = r.dPrimeMeridian / kDegree;
        system.west -= pm;
        system.east -= pm;
        systems.push_back(std::move(system));
    }
    return systems;
}

double Group(const KQCRSystem& record, gx::ParameterGroup group, double fallback) {
    double value = fallback;
    const int n = gx::UsedParameterSlots(record);
    for (int i = 0; i < n; ++i)
        if (gx::ParameterGroupOf(record.aiParameterCodes[i]) == group)
            value = record.adParameterValues[i];
    return value;
}

std::string Number(double value) {
    char text[40];
    std::snprintf(text, sizeof(text), "%.17g", value);
    return text;
}

std::string Degrees(const KQCRSystem& record, gx::ParameterGroup group, double fallback) {
    return Number(Group(record, group, fallback) / kDegree);
}

std::string EllipsoidArgs(const KQCRSystem& record) {
    const double a = record.dSemiMajorAxis;
    if (record.dInverseFlattening > 1)
        return "+a=" + Number(a) + " +rf=" + Number(record.dInverseFlattening);
    return "+a=" + Number(a) +
           " +b=" + Number(record.dSemiMinorAxis > 1 ? record.dSemiMinorAxis : a);
}

std::vector<std::pair<double, double>>
GridOverArea(const System& system, int n, const std::function<bool(double, double)>& filter) {
    std::vector<std::pair<double, double>> points;
    double east = system.east;
    if (east < system.west) east += 360; // areas across the antimeridian
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            double lonDeg = system.west + (east - system.west) * (i + 0.5) / n;
            if (lonDeg > 180) lonDeg -= 360;
            const double latDeg = system.south + (system.north - system.south) * (j + 0.5) / n;
            const double lon = lonDeg * kDegree, lat = latDeg * kDegree;
            if (!filter || filter(lon, lat)) points.emplace_back(lon, lat);
        }
    return points;
}

void CompareWithProj(const System& system, const ProjOperation& proj,
                     const std::vector<std::pair<double, double>>& points, Agreement& agreement) {
    const double a = system.record.dSemiMajorAxis;
    ++agreement.systems;
    for (const auto& p : points) {
        double xProj, yProj, x, y;
        if (!proj.Forward(p.first, p.second, xProj, yProj)) continue;
        system.projection->Project(p.first, p.second, x, y);
        const double forward = std::hypot(x - xProj, y - yProj);
        if (!(forward <= agreement.maxForward)) {
            agreement.maxForward = forward;
            agreement.worstForwardCode = system.record.iSystemCode;
        }
        double lon, lat, lonProj, latProj;
        if (!proj.Inverse(xProj, yProj, lonProj, latProj)) continue;
        system.projection->UnProject(xProj, yProj, lon, lat);
        double dLon = std::remainder(lon - lonProj, 2 * kPi);
        const double inverse = a * std::hypot(dLon * std::cos(latProj), lat - latProj);
        if (!(inverse <= agreement.maxInverse)) {
            agreement.maxInverse = inverse;
            agreement.worstInverseCode = system.record.iSystemCode;
        }
        ++agreement.points;
    }
}

void Print(const char* name, const Agreement& a) {
    std::printf("%s: %d systems, %d points, forward %.3g m (EPSG:%d), inverse %.3g m (EPSG:%d)\n",
                name, a.systems, a.points, a.maxForward, a.worstForwardCode, a.maxInverse,
                a.worstInverseCode);
}

Agreement CompareEverySystem(int iMethodCode,
                             const std::function<std::string(const KQCRSystem&)>& definition,
                             int n) {
    Agreement agreement;
    for (const System& system : SystemsOfMethod(iMethodCode)) {
        const ProjOperation proj(definition(system.record));
        if (!proj.Valid()) {
            ADD_FAILURE() << "PROJ refuses " << definition(system.record);
            continue;
        }
        CompareWithProj(system, proj, GridOverArea(system, n), agreement);
    }
    return agreement;
}

} // namespace oracle
