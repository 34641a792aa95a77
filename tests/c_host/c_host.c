/* A C99 host of the C interface: converts the points of the reference file that
 * geoxform_cpp_reference wrote and compares them with what the C++ interface gave.
 * Usage: geoxform_c_host DATA_DIR REFERENCE */
#include <math.h>
#include <stdio.h>

#include "geoxform_c.h"

/* max(1e-9, 1 ulp of the coordinate) for plane coordinates; 1e-12 rad for angles. */
static int Near(double a, double b, int angle) {
    const double tolerance = angle ? 5.8e-11 : fmax(1e-9, fabs(nextafter(b, INFINITY) - b));
    return fabs(a - b) <= tolerance;
}

int main(int argc, char** argv) {
    FILE* in;
    geoxform_system* system = NULL;
    int code, current = 0, lines = 0, bad = 0;
    double ref[6], out[4];
    int64_t failed;
    if (argc != 3 || geoxform_init(argv[1]) != GEOXFORM_OK) return 2;
    if ((in = fopen(argv[2], "r")) == NULL) return 2;
    while (fscanf(in, "%d %lf %lf %lf %lf %lf %lf", &code, &ref[0], &ref[1], &ref[2], &ref[3],
                  &ref[4], &ref[5]) == 7) {
        if (code != current) {
            geoxform_system_free(system);
            current = code;
            if (geoxform_system_from_epsg(code, &system) != GEOXFORM_OK) return 1;
        }
        ++lines;
        if (geoxform_forward(system, 1, &ref[0], 8, &ref[1], 8, &out[0], 8, &out[1], 8, &failed) ||
            geoxform_inverse(system, 1, &ref[2], 8, &ref[3], 8, &out[2], 8, &out[3], 8, &failed) ||
            !Near(out[0], ref[2], 0) || !Near(out[1], ref[3], 0) || !Near(out[2], ref[4], 1) ||
            !Near(out[3], ref[5], 1)) {
            printf("EPSG:%d %.17g %.17g: %.17g %.17g %.17g %.17g\n", code, ref[0], ref[1], out[0],
                   out[1], out[2], out[3]);
            ++bad;
        }
    }
    fclose(in);
    geoxform_system_free(system);
    geoxform_free();
    printf("%d points, %d differ\n", lines, bad);
    return bad == 0 && lines > 0 ? 0 : 1;
}
