/* Loads the library by path and finds the C interface by its plain names, as a foreign
 * function interface does, then converts the EPSG guidance note 7-2 example point of the
 * British National Grid (52d39'27.2531"N 1d43'4.5177"E: 651409.903 E, 313177.270 N).
 * Usage: geoxform_dlopen_host LIBRARY */
#include <dlfcn.h>
#include <math.h>

#include "geoxform_c.h"

int main(int argc, char** argv) {
    void* library = argc == 2 ? dlopen(argv[1], RTLD_NOW | RTLD_LOCAL) : NULL;
    int (*init)(const char*), (*from_epsg)(int32_t, geoxform_system**);
    int (*forward)(const geoxform_system*, int64_t, const double*, int64_t, const double*, int64_t,
                   double*, int64_t, double*, int64_t, int64_t*);
    void (*free_system)(geoxform_system*);
    geoxform_system* system = NULL;
    double lon = 1 + 43 / 60.0 + 4.5177 / 3600, lat = 52 + 39 / 60.0 + 27.2531 / 3600, x, y;
    int64_t failed = -1;
    if (library == NULL) return 2;
    *(void**)&init = dlsym(library, "geoxform_init");
    *(void**)&from_epsg = dlsym(library, "geoxform_system_from_epsg");
    *(void**)&forward = dlsym(library, "geoxform_forward");
    *(void**)&free_system = dlsym(library, "geoxform_system_free");
    if (!init || !from_epsg || !forward || !free_system || init(NULL) ||
        from_epsg(27700, &system) || forward(system, 1, &lon, 8, &lat, 8, &x, 8, &y, 8, &failed))
        return 1;
    free_system(system);
    return fabs(x - 651409.903) < 1e-3 && fabs(y - 313177.270) < 1e-3 && failed == 0 ? 0 : 1;
}
