// A minimal host: creates a coordinate system for a map at 1:25000 in metres and converts
// a few sheet positions to user coordinates and back.
#include <cstdio>

#include "geoxform.h"

int main() {
    InitEPSGDataBase(nullptr);
    CCoordSystem* pSystem = CreateCoordSystem(3, 25000.0);
    if (pSystem == nullptr) return 1;
    const double sheet[][2] = {{0, 0}, {10, 4}, {250.5, -120.25}};
    for (const auto& p : sheet) {
        double x = 0, y = 0, wx = 0, wy = 0;
        pSystem->World2User(p[0], p[1], x, y, -1);
        pSystem->User2World(x, y, wx, wy, -1);
        std::printf("sheet %8.2f %8.2f mm -> %12.2f %12.2f m -> %8.2f %8.2f mm\n", p[0], p[1], x, y,
                    wx, wy);
    }
    DeleteCoordSystem(pSystem);
    FreeEPSGDataBase();
    return 0;
}
