#include "service/projection_methods.h"

const CS_PROJECTION csProjectionMethods[kNumProjectionMethodRows] = {
    {0, 0, KQ_T("None"), -1, 0, {0}},
    {16, 0x6F, KQ_T("Albers Equal Area"), 9822, 6, {8822, 8821, 8823, 8824, 8826, 8827}},
    {22, 0x63, KQ_T("American Polyconic"), 9818, 4, {8802, 8801, 8806, 8807}},
    {19, 0x63, KQ_T("Bonne"), 9827, 4, {8802, 8801, 8806, 8807}},
    {3, 0x63, KQ_T("Cassini-Soldner"), 9806, 4, {8802, 8801, 8806, 8807}},
    {17, 0x03, KQ_T("Equidistant Cylindrical"), 9823, 2, {8802, 8801}},
    {6,
     0x1F3,
     KQ_T("Hotine Oblique Mercator"),
     9812,
     7,
     {8812, 8811, 8813, 8815, 8806, 8807, 8814}},
    {11, 0x63, KQ_T("Lambert Azimuthal Equal Area"), 9820, 4, {8802, 8801, 8806, 8807}},
    {7, 0x73, KQ_T("Lambert Conic Conformal (1SP)"), 9801, 5, {8802, 8801, 8805, 8806, 8807}},
    {8, 0x6F, KQ_T("Lambert Conic Conformal (2SP)"), 9802, 6, {8822, 8821, 8823, 8824, 8826, 8827}},
    {9,
     0x6F,
     KQ_T("Lambert Conic Conformal Modified Belgium (2SP)"),
     9803,
     6,
     {8822, 8821, 8823, 8824, 8826, 8827}},
    {10, 0x73, KQ_T("Lambert Conic Near Conformal"), 9817, 5, {8802, 8801, 8805, 8806, 8807}},
    {1, 0x73, KQ_T("Mercator (1SP)"), 9804, 5, {8802, 8801, 8805, 8806, 8807}},
    {2, 0x65, KQ_T("Mercator (2SP)"), 9805, 4, {8802, 8823, 8806, 8807}},
    {20, 0x63, KQ_T("Modified Azimuthal Equidistant"), 9832, 4, {8802, 8801, 8806, 8807}},
    {21, 0x63, KQ_T("New Zealand Map Grid"), 9811, 4, {8802, 8801, 8806, 8807}},
    {5, 0x1F3, KQ_T("Oblique Mercator"), 9815, 7, {8812, 8811, 8813, 8814, 8815, 8816, 8817}},
    {12, 0x73, KQ_T("Oblique Stereographic"), 9809, 5, {8802, 8801, 8805, 8806, 8807}},
    {13, 0x73, KQ_T("Polar Stereographic (variant A)"), 9810, 5, {8802, 8801, 8805, 8806, 8807}},
    {14, 0x65, KQ_T("Polar Stereographic (variant B)"), 9829, 4, {8833, 8832, 8806, 8807}},
    {15, 0x65, KQ_T("Polar Stereographic (variant C)"), 9830, 4, {8833, 8832, 8806, 8807}},
    {18, 0, KQ_T("Pseudo Plate Carree"), 9825, 0, {0}},
    {4, 0x73, KQ_T("Transverse Mercator"), 9807, 5, {8802, 8801, 8805, 8806, 8807}},
};

namespace gx {

ParameterGroup ParameterGroupOf(int iParameterCode) {
    switch (iParameterCode) {
    case 8802: // Longitude of natural origin
    case 8812: // Longitude of projection centre
    case 8822: // Longitude of false origin
    case 8829: // Spherical longitude of origin
    case 8830: // Initial longitude
    case 8833: // Longitude of origin
        return kGroupOriginLongitude;
    case 8801: // Latitude of natural origin
    case 8811: // Latitude of projection centre
    case 8821: // Latitude of false origin
    case 8828: // Spherical latitude of origin
        return kGroupOriginLatitude;
    case 8818: // Latitude of pseudo standard parallel
    case 8823: // Latitude of 1st standard parallel
    case 8832: // Latitude of standard parallel
        return kGroupFirstParallel;
    case 8824: // Latitude of 2nd standard parallel
        return kGroupSecondParallel;
    case 8805: // Scale factor at natural origin
    case 8815: // Scale factor on initial line
    case 8819: // Scale factor on pseudo standard parallel
        return kGroupScaleFactor;
    case 8806: // False easting
    case 8816: // Easting at projection centre
    case 8826: // Easting at false origin
        return kGroupFalseEasting;
    case 8807: // False northing
    case 8817: // Northing at projection centre
    case 8827: // Northing at false origin
        return kGroupFalseNorthing;
    case 8813: // Azimuth of initial line
        return kGroupAzimuth;
    case 8814: // Angle from Rectified to Skew Grid
        return kGroupRectifiedGridAngle;
    case 8831: // Zone width
        return kGroupZoneWidth;
    default:
        return kGroupNone;
    }
}

const CS_PROJECTION* FindProjectionMethod(int iMethodCode) {
    for (int i = 1; i < kNumProjectionMethodRows; ++i)
        if (csProjectionMethods[i].iCode == iMethodCode) return &csProjectionMethods[i];
    return nullptr;
}

} // namespace gx
