#!/usr/bin/env python3
"""Writes the reference data file KQUCSData.kqb from the EPSG dataset in PROJ's proj.db.

The file is a 16-byte header (magic "UCSD", version 1, compressed length, text length, all
unsigned 32-bit little-endian) followed by one zlib stream of sectioned comma-separated text
in Windows-1252. Sections, in the order the loader needs them ("[Measure]" first, so that the
values of the later sections convert through its unit rows):

  [Measure]         code,name,type,target code,factor B,factor C
  [Data]            code,name,conversion,method,base CRS,axis unit,area code,area name,datum,ellipsoid
  [Parameters]      conversion,method,parameter code,value,unit
  [Datum]           code,name,ellipsoid,prime meridian
  [Ellipsoid]       code,name,a,1/f,b,unit
  [Prime Meridian]  code,name,longitude,unit

Only the Python standard library is used. The output depends only on the database: rows are
sorted, numbers are printed in the shortest form that reads back to the same double, and the
zlib level is fixed, so that a regeneration reproduces the committed file byte for byte.

Usage: make_refdata.py [--db /usr/share/proj/proj.db] [--output data/KQUCSData.kqb]
"""

import argparse
import math
import os
import sqlite3
import struct
import sys
import unicodedata
import zlib

DEFAULT_DB = "/usr/share/proj/proj.db"
DEFAULT_OUTPUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "data",
                              "KQUCSData.kqb")

MAGIC = 0x44534355  # "UCSD"
VERSION = 1
ZLIB_LEVEL = 9
MAX_NAME = 99

# EPSG methods the library projects (its method table without the "None" row).
METHODS = (9801, 9802, 9803, 9804, 9805, 9806, 9807, 9809, 9810, 9811, 9812, 9815, 9817, 9818,
           9820, 9822, 9823, 9825, 9827, 9829, 9830, 9832)

METRE, RADIAN, DEGREE, UNITY, SECOND = 9001, 9101, 9102, 9201, 1040
# Rates chain to the rate unit of their kind, not to the unit they are a rate of.
RATE_BASE = {"length": 1026, "angle": 1035, "scale": 1036, "time": SECOND}
BASE = {"length": METRE, "angle": RADIAN, "scale": UNITY, "time": SECOND}
# Written so that the loader replaces it by the double nearest to pi.
PI_TEXT = "3.141592654"

TERMS = (
    "; Derived from the EPSG Geodetic Parameter Dataset {version} ({date}) as shipped in",
    "; PROJ's proj.db. The EPSG Dataset is owned by the International Association of Oil & Gas",
    "; Producers (IOGP) and is used here under its terms of use: https://epsg.org/terms-of-use.html",
    "; The data are supplied as is, without warranty; changes made here (units, names cut to",
    "; 99 characters, commas and semicolons replaced) are not endorsed by IOGP.",
)


def number(value):
    """The shortest text that reads back to the same double; integral values without ".0"."""
    value = float(value)
    if value == 0:
        return "0"
    if value.is_integer() and abs(value) < 1e15:
        return str(int(value))
    return repr(value)


def name_text(text):
    """A name fit for a "%[^,]" field: no commas, semicolons or line breaks, at most 99
    characters, every character in Windows-1252."""
    out = []
    for ch in text or "":
        if ch in ",;" or unicodedata.category(ch) in ("Cc", "Zl", "Zp"):
            out.append(" ")
            continue
        try:
            ch.encode("cp1252")
            out.append(ch)
        except UnicodeEncodeError:
            # Letters with marks the code page lacks keep their base letter (Ł stays L, ő o).
            base = "".join(c for c in unicodedata.normalize("NFKD", ch)
                           if not unicodedata.combining(c))
            base = base.encode("cp1252", errors="replace").decode("cp1252")
            out.append(base if base else "?")
    result = "".join(out).strip()[:MAX_NAME].rstrip()
    return result if result else "?"


def is_rate(name):
    return name.endswith(" per second") or name.endswith(" per year")


def factors(kind, name, factor):
    """Target code and the factors B and C of one unit, value in target = value * B / C."""
    if is_rate(name):
        return RATE_BASE[kind], number(factor), "1"
    if factor is None:
        # Sexagesimal and other written forms of the degree: the loader decodes 9110 and 9111
        # into degrees before the chain.
        return DEGREE, "1", "1"
    if kind == "angle" and factor != 1.0:
        per_pi = math.pi / factor
        rounded = round(per_pi)
        if 1 < rounded < 1e10 and abs(per_pi - rounded) < 1e-9 * rounded:
            return RADIAN, PI_TEXT, str(rounded)
    if 0 < factor < 1:
        reciprocal = round(1 / factor)
        if reciprocal < 1e12 and 1 / reciprocal == factor:
            return BASE[kind], "1", str(reciprocal)
    return BASE[kind], number(factor), "1"


def measure_rows(db):
    rows = []
    query = ("SELECT CAST(code AS INTEGER), name, type, conv_factor FROM unit_of_measure"
             " WHERE auth_name = 'EPSG' AND deprecated = 0 ORDER BY 1")
    for code, name, kind, factor in db.execute(query):
        target, b, c = factors(kind, name, factor)
        if code == target:
            b, c = "1", "1"
        rows.append((code, "%d,%s,%s,%d,%s,%s" % (code, name_text(name), kind, target, b, c)))
    return rows


SYSTEMS_QUERY = """
SELECT CAST(p.code AS INTEGER), p.name, CAST(v.code AS INTEGER), CAST(v.method_code AS INTEGER),
       CAST(g.code AS INTEGER), CAST(a.uom_code AS INTEGER), CAST(d.code AS INTEGER),
       CAST(d.ellipsoid_code AS INTEGER),
       (SELECT CAST(e.code AS INTEGER) || ',' || e.name FROM usage u
          JOIN extent e ON e.auth_name = u.extent_auth_name AND e.code = u.extent_code
         WHERE u.object_table_name = 'projected_crs' AND u.object_auth_name = p.auth_name
           AND u.object_code = p.code ORDER BY u.rowid LIMIT 1)
  FROM projected_crs p
  JOIN conversion_table v ON v.auth_name = p.conversion_auth_name AND v.code = p.conversion_code
  JOIN geodetic_crs g ON g.auth_name = p.geodetic_crs_auth_name AND g.code = p.geodetic_crs_code
  JOIN geodetic_datum d ON d.auth_name = g.datum_auth_name AND d.code = g.datum_code
  JOIN axis a ON a.coordinate_system_auth_name = p.coordinate_system_auth_name
             AND a.coordinate_system_code = p.coordinate_system_code
             AND a.coordinate_system_order = 1
 WHERE p.auth_name = 'EPSG' AND p.deprecated = 0 AND v.auth_name = 'EPSG'
   AND v.method_auth_name = 'EPSG' AND g.auth_name = 'EPSG' AND d.auth_name = 'EPSG'
   AND a.uom_auth_name = 'EPSG'
 ORDER BY 1
"""


def data_rows(db):
    methods = set(METHODS)
    rows = []
    for (code, name, conversion, method, base, unit, datum, ellipsoid,
         area) in db.execute(SYSTEMS_QUERY):
        if method not in methods:
            continue
        area_code, _, area_name = (area or "0,?").partition(",")
        rows.append((code, conversion, datum, ellipsoid,
                     "%d,%s,%d,%d,%d,%d,%s,%s,%d,%d" %
                     (code, name_text(name), conversion, method, base, unit, area_code,
                      name_text(area_name), datum, ellipsoid)))
    return rows


def parameter_rows(db, conversions):
    columns = ", ".join("param%d_code, param%d_value, param%d_uom_code" % (i, i, i)
                        for i in range(1, 8))
    query = ("SELECT CAST(code AS INTEGER), CAST(method_code AS INTEGER), %s"
             " FROM conversion_table WHERE auth_name = 'EPSG' ORDER BY 1" % columns)
    lines = []
    for row in db.execute(query):
        conversion, method, params = row[0], row[1], row[2:]
        if conversion not in conversions:
            continue
        for i in range(0, len(params), 3):
            code, value, unit = params[i:i + 3]
            if code is None:
                continue
            lines.append("%d,%d,%d,%s,%d" % (conversion, method, int(code), number(value),
                                             int(unit) if unit is not None else 0))
    return lines


def datum_rows(db, wanted):
    query = ("SELECT CAST(code AS INTEGER), name, CAST(ellipsoid_code AS INTEGER),"
             " CAST(prime_meridian_code AS INTEGER), deprecated FROM geodetic_datum"
             " WHERE auth_name = 'EPSG' AND ellipsoid_auth_name = 'EPSG'"
             " AND prime_meridian_auth_name = 'EPSG' ORDER BY 1")
    rows = []
    for code, name, ellipsoid, meridian, deprecated in db.execute(query):
        if deprecated and code not in wanted:
            continue
        rows.append((code, ellipsoid, meridian,
                     "%d,%s,%d,%d" % (code, name_text(name), ellipsoid, meridian)))
    return rows


def ellipsoid_rows(db, wanted):
    query = ("SELECT CAST(code AS INTEGER), name, semi_major_axis, inv_flattening,"
             " semi_minor_axis, CAST(uom_code AS INTEGER), deprecated FROM ellipsoid"
             " WHERE auth_name = 'EPSG' AND uom_auth_name = 'EPSG' ORDER BY 1")
    lines = []
    for code, name, a, inverse, b, unit, deprecated in db.execute(query):
        if deprecated and code not in wanted:
            continue
        lines.append("%d,%s,%s,%s,%s,%d" % (code, name_text(name), number(a),
                                            number(inverse or 0), number(b or 0), unit))
    return lines


def meridian_rows(db, wanted):
    query = ("SELECT CAST(code AS INTEGER), name, longitude, CAST(uom_code AS INTEGER),"
             " deprecated FROM prime_meridian WHERE auth_name = 'EPSG' AND uom_auth_name = 'EPSG'"
             " ORDER BY 1")
    lines = []
    for code, name, longitude, unit, deprecated in db.execute(query):
        if deprecated and code not in wanted:
            continue
        lines.append("%d,%s,%s,%d" % (code, name_text(name), number(longitude), unit))
    return lines


def build_text(db):
    meta = dict(db.execute("SELECT key, value FROM metadata"))
    systems = data_rows(db)
    conversions = {row[1] for row in systems}
    datums = datum_rows(db, {row[2] for row in systems})
    ellipsoids = {row[3] for row in systems} | {row[1] for row in datums}
    meridians = {row[2] for row in datums}

    lines = [line.format(version=meta.get("EPSG.VERSION", "?"), date=meta.get("EPSG.DATE", "?"))
             for line in TERMS]
    lines.append("[Measure]")
    lines += [row[1] for row in measure_rows(db)]
    lines.append("[Data]")
    lines += [row[4] for row in systems]
    lines.append("[Parameters]")
    lines += parameter_rows(db, conversions)
    lines.append("[Datum]")
    lines += [row[3] for row in datums]
    lines.append("[Ellipsoid]")
    lines += ellipsoid_rows(db, ellipsoids)
    lines.append("[Prime Meridian]")
    lines += meridian_rows(db, meridians)
    lines.append("[EOF]")
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def container(text):
    stream = zlib.compress(text, ZLIB_LEVEL)
    return struct.pack("<IIII", MAGIC, VERSION, len(stream), len(text)) + stream


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--db", default=DEFAULT_DB, help="PROJ database (default %(default)s)")
    parser.add_argument("--output", default=DEFAULT_OUTPUT, help="file to write")
    parser.add_argument("--text", help="also write the inflated text to this file")
    args = parser.parse_args()
    if not os.path.exists(args.db):
        sys.exit("make_refdata: no database at %s" % args.db)
    db = sqlite3.connect("file:%s?mode=ro" % args.db, uri=True)
    try:
        text = build_text(db)
    finally:
        db.close()
    if args.text:
        with open(args.text, "wb") as f:
            f.write(text)
    with open(args.output, "wb") as f:
        f.write(container(text))
    return 0


if __name__ == "__main__":
    sys.exit(main())
