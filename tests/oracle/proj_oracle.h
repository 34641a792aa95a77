// Comparison of the library's projections with PROJ on the predefined systems of the shipped
// data file: PROJ computes the raw projection from the same parameters and serves as truth.
#ifndef GEOXFORM_PROJ_ORACLE_H
#define GEOXFORM_PROJ_ORACLE_H

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "geoxform/crsystem.h"
#include "geoxform/projection.h"
#include "service/projection_methods.h"

struct PJconsts;

namespace oracle {

const double kPi = 3.14159265358979323846;
const double kDegree = kPi / 180;

// A raw PROJ operation from a "+proj=..." string: radians in, metres out.
class ProjOperation {
public:
    explicit ProjOperation(const std::string& definition);
    ~ProjOperation();
    ProjOperation(const ProjOperation&) = delete;
    ProjOperation& operator=(const ProjOperation&) = delete;
    bool Valid() const { return m_pj != nullptr; }
    // False when PROJ reports an error for the point.
    bool Forward(double lon, double lat, double& x, double& y) const;
    bool Inverse(double x, double y, double& lon, double& lat) const;

private:
    PJconsts* m_pj;
};

// A predefined system of the loaded data, validated, with its projection.
struct System {
    KQCRSystem record;
    std::shared_ptr<CProjection> projection;
    double west, south, east, north; // area of use in degrees east of the prime meridian
};

// Every loaded system of the method that validates and gets a projection and whose area of
// use PROJ knows. Loads the shipped data file when needed.
std::vector<System> SystemsOfMethod(int iMethodCode);

// The record's value of a parameter group, or the fallback when the record lacks it.
double Group(const KQCRSystem& record, gx::ParameterGroup group, double fallback = 0);
// A parameter group's value in degrees, printed for a PROJ string.
std::string Degrees(const KQCRSystem& record, gx::ParameterGroup group, double fallback = 0);
// "+a=... +rf=..." (or "+b=..." for spheres and records without 1/f) of the record.
std::string EllipsoidArgs(const KQCRSystem& record);
// A number printed so that PROJ reads back the same double.
std::string Number(double value);

// Points of an n x n grid over the area of use, kept when the filter accepts them (longitude
// and latitude in radians, relative to the prime meridian).
std::vector<std::pair<double, double>>
GridOverArea(const System& system, int n,
             const std::function<bool(double lon, double lat)>& filter = nullptr);

// Largest differences found by CompareWithProj, in metres.
struct Agreement {
    double maxForward = 0;
    double maxInverse = 0;
    int worstForwardCode = 0;
    int worstInverseCode = 0;
    int points = 0;
    int systems = 0;
};

// Projects the points with both libraries and compares: forward in metres, inverse as the
// ground distance between the two longitude/latitude results.
void CompareWithProj(const System& system, const ProjOperation& proj,
                     const std::vector<std::pair<double, double>>& points, Agreement& agreement);

// Prints a method's agreement on one line: systems, points, the largest differences and where.
void Print(const char* name, const Agreement& agreement);

// Every predefined system of the method against the PROJ operation the definition builds from
// its record, on an n x n grid over each area of use.
Agreement CompareEverySystem(int iMethodCode,
                             const std::function<std::string(const KQCRSystem&)>& definition,
                             int n = 12);

} // namespace oracle

#endif
