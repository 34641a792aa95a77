#include "service/projection_factory.h"

namespace gx {

CProjection* CreateProjection(const KQCRSystem* /*pRecord*/) {
    return nullptr;
}

} // namespace gx
