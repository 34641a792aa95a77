// The host example of the README, compiled so that it stays true: a map of the British
// National Grid at 1:25000 in metres, a sheet point to plane and geographic coordinates and
// back, an angle as text, and the text form a host stores.
#include <cstdio>

#include "geoxform.h"

namespace {

// Prints UTF-16 text as UTF-8.
void Print(const char* label, const KQWCHAR* text) {
    std::printf("%s", label);
    for (; *text != 0; ++text) {
        const unsigned c = static_cast<unsigned>(*text);
        if (c < 0x80) {
            std::putchar(static_cast<int>(c));
        } else if (c < 0x800) {
            std::putchar(static_cast<int>(0xC0 | c >> 6));
            std::putchar(static_cast<int>(0x80 | (c & 0x3F)));
        } else {
            std::putchar(static_cast<int>(0xE0 | c >> 12));
            std::putchar(static_cast<int>(0x80 | (c >> 6 & 0x3F)));
            std::putchar(static_cast<int>(0x80 | (c & 0x3F)));
        }
    }
    std::putchar('\n');
}

} // namespace

int main() {
    InitEPSGDataBase(nullptr);                       // data from Support/ beside the library
    CCoordSystem* map = CreateCoordSystem(3, 25000); // user units: metres; sheet at 1:25000
    if (map == nullptr) return 1;

    KQCRSystem record{}; // a predefined system by its EPSG code
    record.iVersion = 0x300;
    record.iSize = sizeof(record);
    record.iUnits = 3;
    record.dScale = 25000;
    record.iSystemCode = 27700;                     // OSGB 1936 / British National Grid
    if (map->SetParameters(&record) != 1) return 1; // validates, completes, builds the projection

    double e, n, lon, lat, x, y;
    map->World2User(16000, -4000, e, n, 0);     // sheet mm -> 400000 E, -100000 N (metres)
    map->World2User(16000, -4000, lon, lat, 1); // -> longitude, latitude in radians
    map->User2World(lon, lat, x, y, 1);         // and back to the sheet
    std::printf("plane %.3f %.3f m, geographic %.9f %.9f rad, sheet %.6f %.6f mm\n", e, n, lon, lat,
                x, y);
    KQWCHAR text[256];
    map->Value2String(lat, text, CS_DMS | CS_LATITUDE, 2); // 49°00'00.00"N
    Print("latitude ", text);
    KQWCHAR form[1024];
    map->GetParameters(form); // the one-line text form a host stores
    Print("text form ", form);
    DeleteCoordSystem(map);
    FreeEPSGDataBase();
    return 0;
}
