// Writes what the C++ interface gives for the C host's points ("code unit lon lat" a line):
// "code lon lat x y lon2 lat2", (x, y) forward of (lon, lat), (lon2, lat2) inverse of (x, y).
// Usage: geoxform_cpp_reference DATA_DIR POINTS OUTPUT
#include <cstdio>
#include <string>

#include "cpp_chain.h"

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const std::string dir = argv[1];
    InitEPSGDataBase(std::basic_string<KQWCHAR>(dir.begin(), dir.end()).c_str());
    std::FILE* pIn = std::fopen(argv[2], "r");
    std::FILE* pOut = std::fopen(argv[3], "w");
    int code, units, n = 0;
    double lon, lat, x, y, lon2, lat2;
    while (pIn && pOut && std::fscanf(pIn, "%d %d %lf %lf", &code, &units, &lon, &lat) == 4) {
        const chain::Object p = chain::Make(code, units);
        if (!p) return 1;
        chain::Forward(*p, lon, lat, x, y);
        chain::Inverse(*p, x, y, lon2, lat2);
        n += std::fprintf(pOut, "%d %.17g %.17g %.17g %.17g %.17g %.17g\n", code, lon, lat, x, y,
                          lon2, lat2) > 0;
    }
    return pOut != nullptr && std::fclose(pOut) == 0 && n > 0 ? 0 : 1;
}
