// geoxform: coordinate reference systems for map drawing and measuring hosts.
#ifndef GEOXFORM_H
#define GEOXFORM_H

#include "geoxform/defs.h"
#include "geoxform/crsystem.h"
#include "geoxform/units.h"
#include "geoxform/refdata.h"
#include "geoxform/projection.h"
#include "geoxform/coordsystem.h"

#endif
