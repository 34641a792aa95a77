// libFuzzer targets: a program runs the one FUZZ_TARGET names; a failed check prints and aborts.
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#include "convert.h"
#include "geoxform.h"
#include "geoxform_c.h"
#include "refdata/language.h"

using KqString = std::basic_string<KQWCHAR>;
using Text = std::unique_ptr<KQWCHAR[]>;
using System = std::unique_ptr<CCoordSystem, void (*)(CCoordSystem*)>;
char g_scratch[] = "/tmp/geoxform-fuzz-XXXXXX";
const std::string kScratch = mkdtemp(g_scratch);

void Check(bool ok, const char* what) {
    if (!ok) std::fprintf(stderr, "check failed: %s\n", what), abort();
}

System New(int units = 3) {
    return System(CreateCoordSystem(units, 1), DeleteCoordSystem);
}

KqString Kq(const std::string& ascii) {
    return KqString(ascii.begin(), ascii.end());
}

// Bytes as text in a block of exactly their units and a terminator: ASan sees reads beyond it.
Text Guarded(const uint8_t* p, size_t n) {
    Text text(new KQWCHAR[n + 1]());
    std::copy(p, p + n, text.get());
    return text;
}

std::string Write(const char* name, const void* p, size_t n) {
    const std::string path = kScratch + "/" + name;
    std::ofstream(path, std::ios::binary).write(static_cast<const char*>(p), std::streamsize(n));
    return path;
}

// The shipped data, loaded again once validations have added many user ellipsoids.
void Shipped() {
    if (pdaEPSGEllipsoid != nullptr && pdaEPSGEllipsoid->GetCount() < 4096) return;
    FreeEPSGDataBase();
    InitEPSGDataBase(Kq(GEOXFORM_SOURCE_DIR "/data").c_str());
}

// What a host does with a configured object; texts go into blocks of the documented sizes.
void Use(CCoordSystem& s) {
    Text x(new KQWCHAR[256]()), y(new KQWCHAR[256]()), form(new KQWCHAR[1024]());
    double p[] = {0, 0, 1e5, -3e4, -2e3, 7e4}, u, v, w, z;
    for (int i = 0; i < 12; i += 2) {
        s.World2User(p[i % 6], p[i % 6 + 1], u, v, i / 6), s.User2World(u, v, w, z, i / 6);
        s.XY2String(u, v, x.get(), y.get(), i / 6), s.String2XY(x.get(), y.get(), u, v, i / 6);
        s.Distance(3, p, i / 6), s.Area(3, p, i / 6);
    }
    s.GetParameters(form.get());
    *New() = s;
}

// An object set to the system of a text form, validated as a record; null when it is not valid.
System Set(const std::string& form) {
    System s = New();
    KQCRSystem r;
    s->SetParameters(Kq(form).c_str()), s->GetParameters(&r);
    return s->SetParameters(&r) == 1 ? std::move(s) : System(nullptr, DeleteCoordSystem);
}

// The data file (as text: deflated behind a header); a user's ellipsoid is found once registered.
template <bool bText>
void Data(const uint8_t* data, size_t size) {
    uLongf n = compressBound(size);
    std::vector<uint8_t> file(16 + n);
    if (bText && compress2(&file[16], &n, data, size, 1) == Z_OK) {
        const uint32_t header[4] = {0x44534355, 1, uint32_t(n), uint32_t(size)}; // "UCSD", 1
        data = static_cast<uint8_t*>(std::memcpy(file.data(), header, 16)), size = 16 + n;
    }
    Write("KQUCSData.kqb", data, size);
    InitEPSGDataBase(Kq(kScratch).c_str());
    for (int i = 0; i < std::min(pdaEPSGSystem->GetCount(), 16); ++i)
        if (System s = Set("3,,1,0,0;" + std::to_string((*pdaEPSGSystem)[i].iCode))) Use(*s);
    const char* user = "3,,,,;,,,,,,9807,,,,,,6378000,297.5,,,,,5,8801,,8802,,8805,1,8806,,8807,";
    if (Set(user)) Check(Set(user) != nullptr, "a user ellipsoid found again");
    FreeEPSGDataBase();
}

// The input as a text form, and the record it makes validated and used.
void ParameterText(const uint8_t* data, size_t size) {
    Shipped();
    System s = New(), t = New();
    if (s->SetParameters(Guarded(data, size).get()) == 1) Use(*s);
    KQCRSystem r;
    if (s->GetParameters(&r) == 1 && t->SetParameters(&r) == 1) Use(*t);
}

// The input as a record and as an old one: a record valid once stays valid.
void Record(const uint8_t* data, size_t size) {
    Shipped();
    KQCRSystem r{};
    KQCRSystemOld old{};
    std::memcpy(&r, data, std::min(size, sizeof(r)));
    std::memcpy(&old, data, std::min(size, sizeof(old)));
    std::unique_ptr<KQCRSystem> upgraded(GetCRSystemFromOld(&old));
    KQCRSystem copy = r;
    if (ValidateCRSystem(&copy) == 0) Check(ValidateCRSystem(&copy) == 0, "validated again");
    if (System s = New(); s->SetParameters(&r) == 1) Use(*s);
    CompareCRSystemData(&r, upgraded.get()), ValidateCRSystem(upgraded.get());
}

// Flags, decimals, a value, a text: values written read back within their decimals (mod 2 pi).
void ValueText(const uint8_t* data, size_t size) {
    if (size < 13) return;
    int32_t flags;
    double value, back;
    std::memcpy(&flags, data, 4), std::memcpy(&value, data + 5, 8);
    const int decimals = int8_t(data[4]);
    System s = New();
    Text text = Guarded(data + 13, size - 13), out(new KQWCHAR[256]());
    s->String2XY(text.get(), text.get(), back, back, flags & 1);
    const bool bWritten = s->Value2String(value, out.get(), flags, decimals) == 1;
    if (!bWritten || !(std::fabs(value) < 1e6) || unsigned(decimals) > 9) return;
    Check(s->String2Value(out.get(), back, flags & ~CS_DEGREES) == 1, "a written value reads");
    const double unit = flags & CS_DMS ? M_PI / 648000 : 1, turn = flags & CS_DMS ? 2 * M_PI : 0;
    const double error = turn > 0 ? std::remainder(back - value, turn) : back - value;
    const double tolerance = 0.51 * unit * std::pow(10, -decimals) + 1e-14 * (1 + std::fabs(value));
    Check(std::fabs(error) <= tolerance, "a written value reads back within its decimals");
}

// A language file over what the inputs before left, as a host switching languages; angles in it.
void Language(const uint8_t* data, size_t size) {
    gx::ApplyLanguageFile(Kq(Write("units.ini", data, size)).c_str(), KQ_T("de"));
    Text text(new KQWCHAR[256]());
    for (double a : {0.0, -0.5, 1e-9, 3.14159, -1e5})
        for (int flags : {0, int(CS_LATITUDE), int(CS_LONGITUDE)})
            if (double b = a; New()->Value2String(b, text.get(), CS_DMS | flags, 3) == 1)
                New()->String2Value(text.get(), b, CS_DMS | flags);
}

// Radii of a star-shaped outline (area: the shoelace formula's); vertices, traced twice: area 0.
void Area(const uint8_t* data, size_t size) {
    if (size < 3 || size > 8192) return;
    System s = New(1); // millimetres at 1:1: user values are world values
    std::vector<double> star, raw(data, data + size / 2 * 2), twice;
    double shoelace = 0;
    for (size_t k = 0; k <= size; ++k) {
        star.push_back((1 + data[k % size]) * std::cos(2 * M_PI * k / size));
        star.push_back((1 + data[k % size]) * std::sin(2 * M_PI * k / size));
        if (k > 0) shoelace += star[2 * k - 2] * star[2 * k + 1] - star[2 * k] * star[2 * k - 1];
    }
    const double area = s->Area(int(size), star.data(), 0);
    Check(std::fabs(area - shoelace / 2) <= 1e-9 * area, "star area is the shoelace area");
    for (double& v : raw)
        v = int8_t(uint8_t(v)); // coordinates -128 to 127, so that vertices and edges coincide
    const int n = int(size / 2);
    const double a = s->Area(n, raw.data(), 0), box = 256.0 * 256.0;
    Check(a >= 0 && a <= box, "the area of an outline lies within its bounding square");
    twice = raw, twice.insert(twice.end(), raw.begin(), raw.end());
    Check(s->Area(2 * n, twice.data(), 0) <= 1e-9 * box, "an outline traced twice has area 0");
}

// The host's fwd, inv and sheet streams: the first byte picks system, direction and options.
void Cli(const uint8_t* data, size_t size) {
    if (size < 1) return;
    Shipped();
    const int fd = open(Write("stdin", data + 1, size - 1).c_str(), O_RDONLY);
    Check(dup2(fd, 0) == 0 && close(fd) == 0, "standard input");
    cli::Options o;
    o.arguments = {data[0] & 1 ? "2154" : "27700"};
    o.csv = data[0] & 2, o.dms = data[0] & 4, o.latFirst = data[0] & 8,
    o.precision = data[0] / 64 - 1;
    const auto direction = cli::Direction((data[0] >> 4) % 3);
    System s = Set("3,,25000,0,0;" + o.arguments[0]);
    cli::PointText points(*s, o, direction);
    cli::ConvertStream(points, o, direction);
}

// The C interface: byte 0 picks strides and direction, byte 1 a buffer size, the rest is a text
// form (or, when it is none, the points of EPSG:27700 as raw doubles). A point converts to two
// finite values or two NaNs, counted; text goes into a block of exactly the size given.
void CInterface(const uint8_t* data, size_t size) {
    if (size < 2) return;
    Shipped();
    geoxform_system* s = nullptr;
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    if (geoxform_system_from_text(text.c_str(), &s) != GEOXFORM_OK &&
        geoxform_system_from_epsg(27700, &s) != GEOXFORM_OK)
        return;
    std::vector<double> v((size - 2) / 8 + 1);
    std::memcpy(v.data(), data + 2, size - 2);
    const int64_t stride = 8 * (data[0] % 3 + 1), n = int64_t((v.size() - 1) * 8 / stride);
    int64_t failed = -1;
    (data[0] & 8 ? geoxform_inverse : geoxform_forward)(s, n, v.data(), stride, v.data() + 1,
                                                        stride, v.data(), stride, v.data() + 1,
                                                        stride, &failed);
    Check(failed >= 0 && failed <= n, "failed points counted");
    for (int64_t i = 0; stride > 8 && i < n; ++i)
        Check(std::isnan(v[i * stride / 8]) == std::isnan(v[i * stride / 8 + 1]), "NaN pairs");
    std::unique_ptr<char[]> out(new char[data[1]]);
    size_t needed = 0;
    const int status = geoxform_system_text_form(s, out.get(), data[1], &needed);
    Check(status == (needed > data[1] ? GEOXFORM_E_BUFFER : GEOXFORM_OK), "text form fits");
    double value = 0;
    geoxform_text_to_value(s, text.c_str(), GEOXFORM_CS_DMS, &value);
    geoxform_value_to_text(s, value, GEOXFORM_CS_DMS | GEOXFORM_CS_LATITUDE, data[0] % 12,
                           out.get(), data[1], &needed);
    geoxform_system_free(s);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FUZZ_TARGET(data, size);
    return 0;
}
