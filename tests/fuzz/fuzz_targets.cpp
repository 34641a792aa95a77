// libFuzzer targets, one per build (the definition FUZZ_<NAME> selects it): reference data files,
// the one-line text form, records, value text, language files, outlines and the lines of the
// command-line host. Checks that fail print what failed and abort.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "geoxform.h"
#include "refdata/language.h"
#include "refdata/unit_tables.h"
#ifdef FUZZ_CLI
#include "convert.h"
#endif

// Helpers in a named namespace: each target uses some of them.
namespace fuzz {

using KqString = std::basic_string<KQWCHAR>;
struct Deleter {
    void operator()(CCoordSystem* p) const { DeleteCoordSystem(p); }
};
using System = std::unique_ptr<CCoordSystem, Deleter>;
using Text = std::unique_ptr<KQWCHAR[]>;

void Check(bool ok, const char* what) {
    if (!ok) std::fprintf(stderr, "check failed: %s\n", what), abort();
}

KqString Kq(const std::string& s) {
    return KqString(s.begin(), s.end()); // ASCII paths only
}

// Input bytes as UTF-16: each byte one unit, and 0xFF followed by two bytes the unit they make.
KqString Wide(const uint8_t* p, size_t n) {
    KqString s;
    for (size_t i = 0; i < n; ++i)
        s.push_back(p[i] == 0xFF && i + 2 < n ? KQWCHAR(p[i + 1] | p[i + 2] << 8) : p[i]),
            i += p[i] == 0xFF && i + 2 < n ? 2 : 0;
    return s;
}

// A heap block of exactly the text and its terminator, so that ASan sees any access beyond it.
Text Guarded(const KqString& s) {
    Text p(new KQWCHAR[s.size() + 1]());
    std::copy(s.begin(), s.end(), p.get());
    return p;
}

const std::string& Scratch() {
    static std::string dir = [] {
        char name[] = "/tmp/geoxform-fuzz-XXXXXX";
        Check(mkdtemp(name) != nullptr, "scratch directory");
        return std::string(name);
    }();
    return dir;
}

std::string WriteScratch(const char* name, const void* p, size_t n) {
    const std::string path = Scratch() + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    Check(f != nullptr && std::fwrite(p, 1, n, f) == n && std::fclose(f) == 0, path.c_str());
    return path;
}

// The shipped data, loaded again once validations have added many user ellipsoids.
void Shipped() {
    if (pdaEPSGEllipsoid != nullptr && pdaEPSGEllipsoid->GetCount() < 4096) return;
    FreeEPSGDataBase();
    InitEPSGDataBase(Kq(GEOXFORM_SOURCE_DIR "/data").c_str());
}

KQCRSystem Record(int code) {
    KQCRSystem r{};
    r.iVersion = KQCRSYSTEM_VERSION, r.iSize = sizeof(r), r.iUnits = 3, r.dScale = 1;
    r.iSystemCode = code, r.iPrecision = 2;
    return r;
}

// What a host does with a configured object; text goes into blocks of the documented sizes.
void Use(CCoordSystem& s) {
    Text x(new KQWCHAR[256]()), y(new KQWCHAR[256]()), form(new KQWCHAR[1024]());
    double p[] = {0, 0, 1e5, -3e4, -2e3, 7e4}, u, v, w, z;
    for (int mode = 0; mode < 2; ++mode) {
        for (int i = 0; i < 6; i += 2) {
            s.World2User(p[i], p[i + 1], u, v, mode), s.User2World(u, v, w, z, mode);
            s.XY2String(u, v, x.get(), y.get(), mode), s.String2XY(x.get(), y.get(), u, v, mode);
        }
        s.Distance(3, p, mode), s.Area(3, p, mode);
    }
    s.GetParameters(form.get());
    System copy(CreateCoordSystem());
    *copy = s;
}

#if defined(FUZZ_DATA_RAW) || defined(FUZZ_DATA_TEXT)
// The input as the data file (or, as text, deflated behind a valid header), loaded from a
// directory; its systems are used and a system on an ellipsoid of its own is validated twice:
// the second validation must find the ellipsoid that the first registered.
void Run(const uint8_t* data, size_t size) {
#ifdef FUZZ_DATA_TEXT
    uLongf n = compressBound(size);
    std::vector<uint8_t> file(16 + n);
    Check(compress2(&file[16], &n, data, size, 1) == Z_OK, "deflate");
    const uint32_t header[4] = {0x44534355, 1, uint32_t(n), uint32_t(size)}; // "UCSD", version
    std::memcpy(file.data(), header, 16);
    data = file.data(), size = 16 + n;
#endif
    WriteScratch("KQUCSData.kqb", data, size);
    InitEPSGDataBase(Kq(Scratch()).c_str());
    for (int i = 0; i < std::min(pdaEPSGSystem->GetCount(), 16); ++i) {
        KQCRSystem r = Record((*pdaEPSGSystem)[i].iCode);
        System s(CreateCoordSystem(3, 1));
        if (s->SetParameters(&r) == 1) Use(*s);
    }
    KQCRSystem user = Record(0);
    user.iMethodCode = 9807, user.dSemiMajorAxis = 6378000, user.dInverseFlattening = 297.5;
    user.iNumParameters = 5;
    const int codes[] = {8801, 8802, 8805, 8806, 8807};
    std::copy(codes, codes + 5, user.aiParameterCodes), user.adParameterValues[2] = 1;
    KQCRSystem again = user;
    if (ValidateCRSystem(&user) == 0) Check(ValidateCRSystem(&again) == 0, "user ellipsoid");
    FreeEPSGDataBase();
}
#endif

#ifdef FUZZ_PARAMETER_TEXT
// The input as a text form, and the record it makes validated and used.
void Run(const uint8_t* data, size_t size) {
    Shipped();
    System s(CreateCoordSystem(3, 1)), t(CreateCoordSystem(3, 1));
    if (s->SetParameters(Guarded(Wide(data, size)).get()) == 1) Use(*s);
    KQCRSystem r;
    s->GetParameters(&r);
    if (t->SetParameters(&r) == 1) Use(*t);
}
#endif

#ifdef FUZZ_RECORD
// The input as a record and as an old record: a record valid once stays valid when
// validated again.
void Run(const uint8_t* data, size_t size) {
    Shipped();
    KQCRSystem r{};
    KQCRSystemOld old{};
    std::memcpy(&r, data, std::min(size, sizeof(r)));
    std::memcpy(&old, data, std::min(size, sizeof(old)));
    std::unique_ptr<KQCRSystem> upgraded(GetCRSystemFromOld(&old));
    ValidateCRSystem(upgraded.get());
    KQCRSystem copy = r;
    if (ValidateCRSystem(&copy) == 0) Check(ValidateCRSystem(&copy) == 0, "validated again");
    System s(CreateCoordSystem(3, 1));
    if (s->SetParameters(&r) == 1) Use(*s);
    CompareCRSystemData(&r, upgraded.get());
}
#endif

#ifdef FUZZ_VALUE_TEXT
// The input as flags, decimals, a value and a text. A value written as text reads back within
// the rounding of its decimals (angles modulo a full turn).
void Run(const uint8_t* data, size_t size) {
    if (size < 13) return;
    int32_t flags;
    double value, back;
    std::memcpy(&flags, data, 4), std::memcpy(&value, data + 5, 8);
    const int decimals = int8_t(data[4]);
    System s(CreateCoordSystem(3, 1));
    Text text = Guarded(Wide(data + 13, size - 13)), out(new KQWCHAR[256]()), y(new KQWCHAR[256]());
    s->String2Value(text.get(), back, flags);
    s->String2XY(text.get(), text.get(), back, back, flags & 1);
    s->XY2String(value, value, out.get(), y.get(), flags & 1);
    if (s->Value2String(value, out.get(), flags, decimals) != 1 || !(std::fabs(value) < 1e6) ||
        decimals < 0 || decimals > 9)
        return;
    Check(s->String2Value(out.get(), back, flags & ~CS_DEGREES) == 1, "written value reads");
    const double unit = flags & CS_DMS ? M_PI / 648000 : 1, turn = flags & CS_DMS ? 2 * M_PI : 0;
    const double error = turn > 0 ? std::remainder(back - value, turn) : back - value;
    Check(std::fabs(error) <=
              0.51 * unit * std::pow(10, -decimals) + 1e-14 * (1 + std::fabs(value)),
          "written value reads back within its decimals");
}
#endif

#ifdef FUZZ_LANGUAGE
// The input as the language file, applied over the built-in strings; then angles written and
// read with what it set.
void Run(const uint8_t* data, size_t size) {
    static const std::vector<CS_UNITS> units(csKQCSLengthUnits,
                                             csKQCSLengthUnits + iNumUnitsDefined);
    KQWCHAR* buffers[4];
    GetDmsStrings(buffers[0], buffers[1], buffers[2], buffers[3]);
    static const KqString dms[4] = {buffers[0], buffers[1], buffers[2], buffers[3]};
    std::copy(units.begin(), units.end(), csKQCSLengthUnits);
    for (int i = 0; i < 4; ++i)
        std::copy(dms[i].c_str(), dms[i].c_str() + dms[i].size() + 1, buffers[i]);
    gx::ApplyLanguageFile(Kq(WriteScratch("units.ini", data, size)).c_str(), KQ_T("de"));
    System s(CreateCoordSystem(6, 1));
    Text text(new KQWCHAR[256]());
    double back;
    for (double a : {0.0, -0.5, 1e-9, 3.14159, -1e5})
        for (int flags : {0, int(CS_LATITUDE), int(CS_LONGITUDE)})
            if (s->Value2String(a, text.get(), CS_DMS | flags, 3) == 1)
                s->String2Value(Guarded(text.get()).get(), back, CS_DMS | flags);
}
#endif

#ifdef FUZZ_AREA
// The input as radii of a star-shaped outline, whose area is the shoelace formula's, and as
// vertices: an outline traced twice covers nothing under the even-odd rule.
void Run(const uint8_t* data, size_t size) {
    if (size < 3 || size > 8192) return;
    System s(CreateCoordSystem(1, 1)); // millimetres at 1:1: user values are world values
    const size_t n = size;
    std::vector<double> star(2 * n), raw(2 * (n / 2)), twice;
    double shoelace = 0, box, lo[2] = {0, 0}, hi[2] = {0, 0};
    for (size_t k = 0; k < n; ++k)
        star[2 * k] = (1 + data[k]) * std::cos(2 * M_PI * k / n),
                 star[2 * k + 1] = (1 + data[k]) * std::sin(2 * M_PI * k / n);
    for (size_t k = 0; k < n; ++k)
        shoelace += star[2 * k] * star[(2 * k + 3) % (2 * n)] -
                    star[(2 * k + 2) % (2 * n)] * star[2 * k + 1];
    const double area = s->Area(int(n), star.data(), 0);
    Check(std::fabs(area - shoelace / 2) <= 1e-9 * area, "star area is the shoelace area");
    for (size_t i = 0; i < raw.size(); ++i)
        raw[i] = int8_t(data[i]), lo[i % 2] = std::min(lo[i % 2], raw[i]),
        hi[i % 2] = std::max(hi[i % 2], raw[i]);
    box = (hi[0] - lo[0]) * (hi[1] - lo[1]);
    const double a = s->Area(int(n / 2), raw.data(), 0);
    Check(a >= 0 && a <= box, "area within the bounding box");
    twice = raw, twice.insert(twice.end(), raw.begin(), raw.end());
    Check(s->Area(int(n / 2) * 2, twice.data(), 0) <= 1e-9 * box, "outline traced twice: area 0");
    const double d = s->Distance(int(n / 2), raw.data(), 0);
    Check(d >= std::hypot(raw[0] - raw[raw.size() - 2], raw[1] - raw.back()) * (1 - 1e-12),
          "a path is at least as long as the distance of its ends");
}
#endif

#ifdef FUZZ_CLI
// The input as standard input of the host's fwd, inv and sheet streams: the first byte picks
// the system, the direction and the options.
void Run(const uint8_t* data, size_t size) {
    static const int fd = [] {
        Shipped();
        const std::string path = WriteScratch("stdin", "", 0);
        return dup2(open(path.c_str(), O_RDWR), 0);
    }();
    if (size < 1) return;
    cli::Options o;
    o.arguments = {data[0] & 1 ? "2154" : "27700"};
    o.csv = data[0] & 2, o.dms = data[0] & 4, o.latFirst = data[0] & 8;
    o.precision = (data[0] >> 6) * 4 - 1;
    const auto direction = cli::Direction((data[0] >> 4) % 3);
    KQCRSystem r = Record(data[0] & 1 ? 2154 : 27700);
    r.dScale = 25000;
    System s(CreateCoordSystem(3, 25000));
    Check(s->SetParameters(&r) == 1, "shipped system");
    Check(ftruncate(fd, 0) == 0 && pwrite(fd, data + 1, size - 1, 0) == ssize_t(size - 1) &&
              lseek(fd, 0, SEEK_SET) == 0,
          "standard input");
    cli::PointText points(*s, o, direction);
    cli::ConvertStream(points, o, direction);
}
#endif

} // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Run(data, size);
    return 0;
}
