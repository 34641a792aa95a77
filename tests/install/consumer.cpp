// An installed host of the C++ interface: the data from Support/ beside the installed library,
// and the worked example of the Ordnance Survey's "A guide to coordinate systems in Great
// Britain" (Annex C) on the British National Grid: 52°39'27.2531"N 1°43'4.5177"E is
// E 651409.903 m, N 313177.270 m.
#include <cmath>
#include <cstdio>

#include "geoxform.h"

int main() {
    InitEPSGDataBase(nullptr);
    CCoordSystem* map = CreateCoordSystem(3, 1); // metres
    KQCRSystem record{};
    record.iVersion = 0x300;
    record.iSize = sizeof(record);
    record.iUnits = 3;
    record.dScale = 1;
    record.iSystemCode = 27700;
    const double rad = std::acos(-1.0) / 180;
    double lon = (1 + 43 / 60.0 + 4.5177 / 3600) * rad,
           lat = (52 + 39 / 60.0 + 27.2531 / 3600) * rad;
    double sx = 0, sy = 0, e = 0, n = 0;
    const bool ok = map != nullptr && map->SetParameters(&record) == 1 &&
                    map->User2World(lon, lat, sx, sy, 1) == 1 &&
                    map->World2User(sx, sy, e, n, 0) == 1;
    std::printf("C++: %.3f %.3f\n", e, n);
    DeleteCoordSystem(map);
    FreeEPSGDataBase();
    return ok && std::fabs(e - 651409.903) < 1e-3 && std::fabs(n - 313177.270) < 1e-3 ? 0 : 1;
}
