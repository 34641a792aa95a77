#!/usr/bin/env bash
# The shared library exports the public interface and nothing of its internals.
set -euo pipefail
lib=$1
if [[ "$lib" == *.dll ]]; then # the export table of a Windows DLL
    symbols=$(x86_64-w64-mingw32-objdump -p "$lib" |
        sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk 'NR > 1 {print $NF}' | c++filt)
else
    symbols=$(nm -DC --defined-only "$lib" | cut -d' ' -f3-)
fi
status=0
exported=(CreateCoordSystem DeleteCoordSystem SetActiveCoordSystem GetActiveCoordSystem
          GetCRSystemFromOld ValidateCRSystem CompareCRSystemData InitEPSGDataBase ReadEPSGData
          FreeEPSGDataBase ConvertUnit InitCoordSystemLanguage GetDmsStrings
          pdaEPSGSystem pdaEPSGDatum pdaEPSGPrimeMeridian pdaEPSGEllipsoid pdaEPSGUnits
          pdaEPSGParams csKQCSLengthUnits csKQCSAngleUnits iNumUnitsDefined iNumAnglesDefined
          'CCoordSystem::World2User' 'CCoordSystem::Area' 'CMapProjection::GeodesicDistance'
          'CMapProjection::MDistInv' 'typeinfo for CProjection' 'typeinfo for CMapProjection'
          'vtable for CTransverseMercator')
# Every exported projection class, with its constructor and both operations.
for class in CTransverseMercator CUniversalTransverseMercator CTransverseMercatorSouthOriented \
             CMercator CEquidistantCylindrical CPseudoPlateCarree CLambertConicalSP1 \
             CLambertConicalSP2 CLambertConicalSP2Belgium CLambertConicNearConformal \
             CAlbersEqualArea CHotineObliqueMercator CObliqueMercator CObliqueStereographic \
             CPolarStereographicA CPolarStereographicB CPolarStereographicC \
             CLambertAzimuthalEqualArea; do
    exported+=("$class::$class(" "$class::Project(" "$class::UnProject(")
done
for name in "${exported[@]}"; do
    grep -qF "$name" <<<"$symbols" || { echo "missing export: $name"; status=1; }
done
# Internal names, and the six projection classes only the factory builds. (MinGW's GCC
# exports the type information of every class derived from an exported one, which carries no
# code; those lines do not count.)
# The C interface: exactly the functions its header declares, by their plain names.
declared=$(grep -oE '\bgeoxform_[a-z_]+\(' "$(dirname "$0")/../include/geoxform_c.h" | tr -d '(')
if [[ "$(sort -u <<<"$declared")" != "$(grep -oE '^geoxform_[a-z_]+$' <<<"$symbols" | sort -u)" ]]; then
    echo "C names differ from the header"; status=1
fi
if grep -v '^typeinfo' <<<"$symbols" |
        grep -E 'gx::|std::|CThreadHandler|g_pThreadHandler|csProjectionMethods|InitCRSystem|CCoordSystemLifetime|CCassiniSoldner|CBonne|CAmericanPolyconic|CNewZealandMapGrid|CModifiedAzimuthalEquidistant'; then
    echo "internal names exported"
    status=1
fi
exit $status
