/* An installed host of the C interface (C99): the same point as consumer.cpp, the worked
 * example of the Ordnance Survey's guide to coordinate systems in Great Britain (Annex C). */
#include <math.h>
#include <stdio.h>

#include "geoxform_c.h"

int main(void) {
    const double lon = 1 + 43 / 60.0 + 4.5177 / 3600, lat = 52 + 39 / 60.0 + 27.2531 / 3600;
    double e = 0, n = 0;
    geoxform_system* bng = NULL;
    int status = geoxform_init(NULL);
    if (status == GEOXFORM_OK) status = geoxform_system_from_epsg(27700, &bng);
    if (status == GEOXFORM_OK)
        status = geoxform_forward(bng, 1, &lon, 8, &lat, 8, &e, 8, &n, 8, NULL);
    printf("C: %s %.3f %.3f\n", geoxform_status_message(status), e, n);
    geoxform_system_free(bng);
    geoxform_free();
    const int ok =
        status == GEOXFORM_OK && fabs(e - 651409.903) < 1e-3 && fabs(n - 313177.270) < 1e-3;
    return ok ? 0 : 1;
}
