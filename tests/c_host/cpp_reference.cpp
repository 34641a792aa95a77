// Writes what the C++ interface gives for the C host's points: "code lon lat x y lon2 lat2"
// a line, (x, y) forward of (lon, lat) and (lon2, lat2) inverse of (x, y).
// Usage: geoxform_cpp_reference DATA_DIR POINTS OUTPUT
#include <cstdio>
#include <fstream>
#include <string>

#include "cpp_chain.h"

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const std::string dir = argv[1];
    InitEPSGDataBase(std::basic_string<KQWCHAR>(dir.begin(), dir.end()).c_str());
    std::ifstream in(argv[2]);
    std::FILE* pOut = std::fopen(argv[3], "w");
    int code = 0, n = 0;
    double lon, lat, x, y, lon2, lat2;
    for (std::string line; pOut != nullptr && std::getline(in, line);) {
        if (line.empty() || line[0] == '#' ||
            std::sscanf(line.c_str(), "%d %lf %lf", &code, &lon, &lat) != 3)
            continue;
        CCoordSystem* p = chain::Make(code);
        if (p == nullptr) return 1;
        chain::Forward(*p, lon, lat, x, y);
        chain::Inverse(*p, x, y, lon2, lat2);
        DeleteCoordSystem(p);
        std::fprintf(pOut, "%d %.17g %.17g %.17g %.17g %.17g %.17g\n", code, lon, lat, x, y, lon2,
                     lat2);
        ++n;
    }
    return pOut != nullptr && std::fclose(pOut) == 0 && n > 0 ? 0 : 1;
}
