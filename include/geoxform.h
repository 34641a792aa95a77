// geoxform: coordinate reference systems for map drawing and measuring hosts.
#ifndef GEOXFORM_H
#define GEOXFORM_H

#include "geoxform/coordsystem.h"
#include "geoxform/crsystem.h"
#include "geoxform/defs.h"
#include "geoxform/projection.h"
#include "geoxform/map_projection.h"
#include "geoxform/transverse_mercator.h"
#include "geoxform/mercator.h"
#include "geoxform/lambert_conic.h"
#include "geoxform/albers_equal_area.h"
#include "geoxform/oblique_mercator.h"
#include "geoxform/stereographic.h"
#include "geoxform/lambert_azimuthal_equal_area.h"
#include "geoxform/refdata.h"
#include "geoxform/units.h"

#endif
