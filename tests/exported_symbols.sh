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
for name in CreateCoordSystem DeleteCoordSystem SetActiveCoordSystem GetActiveCoordSystem \
            GetCRSystemFromOld InitEPSGDataBase ReadEPSGData FreeEPSGDataBase ConvertUnit \
            pdaEPSGSystem pdaEPSGParams csKQCSLengthUnits csKQCSAngleUnits iNumUnitsDefined \
            'CCoordSystem::World2User'; do
    grep -q "$name" <<<"$symbols" || { echo "missing export: $name"; status=1; }
done
if grep -E 'gx::|CThreadHandler|g_pThreadHandler|csProjectionMethods|InitCRSystem|std::' <<<"$symbols"; then
    echo "internal names exported"
    status=1
fi
# The exported Mercator, Lambert conic and Albers classes; Cassini-Soldner stays internal.
for name in 'CMercator::Project' 'CEquidistantCylindrical::UnProject' \
            'CPseudoPlateCarree::Project' 'CLambertConicalSP1::Project' \
            'CLambertConicalSP2::UnProject' 'CLambertConicalSP2Belgium::Project' \
            'CLambertConicNearConformal::UnProject' 'CAlbersEqualArea::Project'; do
    grep -qF "$name" <<<"$symbols" || { echo "missing export: $name"; status=1; }
done
if grep -F 'CCassiniSoldner' <<<"$symbols"; then
    echo "CCassiniSoldner exported"
    status=1
fi
# The exported classes of the oblique Mercator, stereographic and azimuthal families, and the
# internal projection classes (built by the factory only), which stay hidden.
for name in 'CHotineObliqueMercator::Project' 'CObliqueMercator::UnProject' \
            'CObliqueStereographic::Project' 'CPolarStereographicA::Project' \
            'CPolarStereographicB::UnProject' 'CPolarStereographicC::Project' \
            'CLambertAzimuthalEqualArea::UnProject'; do
    grep -qF "$name" <<<"$symbols" || { echo "missing export: $name"; status=1; }
done
# (MinGW's GCC exports the type information of every class derived from an exported one,
# which carries no code; only the classes' functions and tables are checked.)
if grep -v '^typeinfo' <<<"$symbols" |
        grep -E 'CBonne|CAmericanPolyconic|CNewZealandMapGrid|CModifiedAzimuthalEquidistant'; then
    echo "internal projection classes exported"
    status=1
fi
exit $status
