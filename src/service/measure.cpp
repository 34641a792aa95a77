// Length of a polyline and area of a polygon given in world millimetres, measured in the user
// plane after converting every point once. Neither uses the ellipsoid.
#include <cmath>
#include <cstddef>
#include <memory>
#include <new>

#include "geoxform/coordsystem.h"
#include "service/polygon_area.h"

double CCoordSystem::Distance(int nPoints, double* pdPoints, int iMode) {
    if (nPoints < 2) return 0;
    if (pdPoints == nullptr) return 0; // no points given: nothing to measure
    double previousX = 0, previousY = 0;
    World2User(pdPoints[0], pdPoints[1], previousX, previousY, iMode);
    double length = 0;
    for (int i = 1; i < nPoints; ++i) {
        double x = 0, y = 0;
        World2User(pdPoints[2 * i], pdPoints[2 * i + 1], x, y, iMode);
        length += std::hypot(x - previousX, y - previousY); // Euclidean, without overflow
        previousX = x;
        previousY = y;
    }
    return length;
}

double CCoordSystem::Area(int nPoints, double* pdPoints, int iMode) {
    if (nPoints < 3) return 0;
    const int mode = iMode == -1 ? m_CRSystem.iUnProject : iMode;
    if (mode == 1 && m_pProjection != nullptr) return 0; // no area of longitudes and latitudes
    if (pdPoints == nullptr) return 0;                   // no points given: nothing to measure
    const size_t nValues = 2 * static_cast<size_t>(nPoints);
    std::unique_ptr<double[]> vertices(new (std::nothrow) double[nValues]);
    if (vertices == nullptr) return 0; // no memory for the converted vertices: no area measured
    // The vertices follow the object's own unproject flag, whatever the mode argument was.
    for (size_t i = 0; i < nValues; i += 2)
        World2User(pdPoints[i], pdPoints[i + 1], vertices[i], vertices[i + 1], -1);
    return gx::EvenOddArea(vertices.get(), nPoints);
}
