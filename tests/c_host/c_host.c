/* A C99 host of the C interface: converts the points of the file geoxform_cpp_reference wrote
 * and compares them with what the C++ interface gave, within max(4e-9 m, 1 ulp) for plane
 * coordinates and 1e-12 rad for angles. Usage: geoxform_c_host DATA_DIR REFERENCE */
#include <math.h>
#include <stdio.h>

#include "geoxform_c.h"

static int Near(double a, double b, int angle) {
    return fabs(a - b) <= (angle ? 5.8e-11 : fmax(4e-9, nextafter(fabs(b), INFINITY) - fabs(b)));
}

int main(int argc, char** argv) {
    FILE* in = argc == 3 && geoxform_init(argv[1]) == GEOXFORM_OK ? fopen(argv[2], "r") : NULL;
    geoxform_system* system = NULL;
    int code, lines = 0, bad = 0;
    double r[6], out[4];
    int64_t failed;
    while (in && fscanf(in, "%d %lf %lf %lf %lf %lf %lf", &code, &r[0], &r[1], &r[2], &r[3], &r[4],
                        &r[5]) == 7) {
        geoxform_system_free(system);
        if (geoxform_system_from_epsg(code, &system) != GEOXFORM_OK ||
            geoxform_forward(system, 1, &r[0], 8, &r[1], 8, &out[0], 8, &out[1], 8, &failed) ||
            geoxform_inverse(system, 1, &r[2], 8, &r[3], 8, &out[2], 8, &out[3], 8, &failed) ||
            !Near(out[0], r[2], 0) || !Near(out[1], r[3], 0) || !Near(out[2], r[4], 1) ||
            !Near(out[3], r[5], 1)) {
            printf("EPSG:%d %.17g %.17g differs\n", code, r[0], r[1]);
            ++bad;
        }
        ++lines;
    }
    geoxform_system_free(system);
    printf("%d points, %d differ\n", lines, bad);
    return bad == 0 && lines > 0 && geoxform_free() == GEOXFORM_OK ? 0 : 1;
}
