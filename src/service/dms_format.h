// The output format of angles lives beside the language file that may replace it:
// refdata/dms_format.h. This name stays for the code that still includes it here.
#ifndef GEOXFORM_SERVICE_DMS_FORMAT_H
#define GEOXFORM_SERVICE_DMS_FORMAT_H

#include "refdata/dms_format.h"

#endif
