#include "projections/array_kernels.h"

namespace gx {

ArrayKernels FindArrayKernels(const CProjection& projection) {
    using Finder = ArrayKernels (*)(const CProjection&);
    static const Finder kFinders[] = {
        TransverseMercatorArrayKernels,
        LambertConicArrayKernels,
        MercatorArrayKernels,
        PolarStereographicArrayKernels,
        ObliqueStereographicArrayKernels,
        ObliqueMercatorArrayKernels,
        AlbersArrayKernels,
        AzimuthalEqualAreaArrayKernels,
        CassiniArrayKernels,
        NearConformalArrayKernels,
        PolyconicArrayKernels,
        BonneArrayKernels,
        AzimuthalEquidistantArrayKernels,
        NewZealandArrayKernels,
    };
    for (const Finder find : kFinders) {
        const ArrayKernels k = find(projection);
        if (k.forward != nullptr) return k;
    }
    return {};
}

} // namespace gx
