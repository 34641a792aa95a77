"""Finding, loading and describing the shared library's C interface (geoxform_c.h).

The search, in order: the file or directory named by GEOXFORM_LIBRARY (and nothing else when
it is set); the build tree of this checkout; the installed prefixes above this package, then
Python's own prefix, /usr/local and /usr; the system's loader paths. The reference data is
read from Support/ beside the library that was loaded.
"""

import ctypes
import ctypes.util
import os
import sys
import sysconfig
import threading
from pathlib import Path

# Status codes, as geoxform_c.h numbers them.
OK = 0
E_POINTS = 10
E_BUFFER = 9

# Flags of the value text calls.
CS_LONGITUDE = 0x200
CS_LATITUDE = 0x400
CS_DEGREES = 0x2000000
CS_DMS = 0x8000000

if sys.platform == "win32":
    _FILE_NAMES = ("geoxform.dll", "libgeoxform.dll")
    _SUBDIRS = ("bin",)
elif sys.platform == "darwin":
    _FILE_NAMES = ("libgeoxform.dylib",)
    _SUBDIRS = ("lib",)
else:
    _FILE_NAMES = ("libgeoxform.so",)
    _SUBDIRS = ("lib", "lib64")
    _multiarch = sysconfig.get_config_var("MULTIARCH")
    if _multiarch:
        _SUBDIRS += ("lib/" + _multiarch,)


class GeoxformError(Exception):
    """A failure reported by the library; `status` is its status code (0 is success)."""

    def __init__(self, message, status=None):
        super().__init__(message)
        self.status = status


class LibraryNotFoundError(GeoxformError, OSError):
    """No geoxform shared library was found; the message lists where the search looked."""


class Info(ctypes.Structure):
    _fields_ = [
        ("code", ctypes.c_int32),
        ("method_code", ctypes.c_int32),
        ("projection", ctypes.c_int32),
        ("datum_code", ctypes.c_int32),
        ("ellipsoid_code", ctypes.c_int32),
        ("area_code", ctypes.c_int32),
        ("metres_per_unit", ctypes.c_double),
        ("semi_major_axis", ctypes.c_double),
        ("inverse_flattening", ctypes.c_double),
        ("prime_meridian", ctypes.c_double),
    ]


_i32, _i64, _dbl, _sz = ctypes.c_int32, ctypes.c_int64, ctypes.c_double, ctypes.c_size_t
_p, _str, _int = ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int
_P = ctypes.POINTER
# A point array call: system, n, then four (pointer, byte stride) pairs, then the failures.
_ARRAYS = [_p, _i64, _p, _i64, _p, _i64, _p, _i64, _p, _i64, _P(_i64)]
_TEXT_OUT = [_p, _sz, _P(_sz)]

# Argument types of every function of geoxform_c.h that the package calls.
_PROTOTYPES = {
    "geoxform_version": (_str, []),
    "geoxform_status_message": (_str, [_int]),
    "geoxform_init": (_int, [_str]),
    "geoxform_predefined_count": (_int, [_P(_i64)]),
    "geoxform_predefined": (_int, [_i64, _P(_i32)] + _TEXT_OUT),
    "geoxform_system_from_epsg": (_int, [_i32, _P(_p)]),
    "geoxform_system_from_text": (_int, [_str, _P(_p)]),
    "geoxform_system_free": (None, [_p]),
    "geoxform_system_text_form": (_int, [_p] + _TEXT_OUT),
    "geoxform_system_name": (_int, [_p, _int] + _TEXT_OUT),
    "geoxform_system_get_info": (_int, [_p, _P(Info)]),
    "geoxform_forward": (_int, _ARRAYS),
    "geoxform_inverse": (_int, _ARRAYS),
    "geoxform_system_set_sheet": (_int, [_p, _dbl, _dbl, _dbl]),
    "geoxform_sheet_to_user": (_int, [_p, _int] + _ARRAYS[1:]),
    "geoxform_user_to_sheet": (_int, [_p, _int] + _ARRAYS[1:]),
    "geoxform_value_to_text": (_int, [_p, _dbl, _int, _int] + _TEXT_OUT),
    "geoxform_text_to_value": (_int, [_p, _str, _int, _P(_dbl)]),
    "geoxform_distance": (_int, [_p, _i64, _p, _P(_dbl)]),
    "geoxform_area": (_int, [_p, _i64, _p, _P(_dbl)]),
}


def _candidates():
    """The library files to try, in order, as (path, how it was found)."""
    override = os.environ.get("GEOXFORM_LIBRARY")
    if override:
        path = Path(override)
        names = [path / n for n in _FILE_NAMES] if path.is_dir() else [path]
        return [(p, "GEOXFORM_LIBRARY") for p in names]
    here = Path(__file__).resolve().parent
    found = [(here.parents[1] / "build" / "bin" / n, "build tree") for n in _FILE_NAMES]
    prefixes = list(here.parents[1:5]) + [Path(sys.prefix), Path("/usr/local"), Path("/usr")]
    for prefix in dict.fromkeys(prefixes):
        for sub in _SUBDIRS:
            found += [(prefix / sub / n, "prefix") for n in _FILE_NAMES]
    return found


def _open(path):
    try:
        return ctypes.CDLL(str(path))
    except OSError as error:  # not a shared library, or one for another machine
        raise LibraryNotFoundError(f"{path} could not be loaded: {error}") from None


def _load():
    looked = []
    for path, how in _candidates():
        looked.append(f"{path} ({how})")
        if path.is_file():
            return _open(path), path
    if not os.environ.get("GEOXFORM_LIBRARY"):
        name = ctypes.util.find_library("geoxform")
        looked.append("the system's library paths (ctypes.util.find_library)")
        if name:
            return _open(name), Path(name)
    raise LibraryNotFoundError(
        "the geoxform shared library was not found; set GEOXFORM_LIBRARY to the library file "
        "or its directory. Looked at:\n  " + "\n  ".join(looked))


class _Library:
    """The loaded library with its prototypes set, and the reference data loaded once."""

    def __init__(self):
        self.dll, self.path = _load()
        for name, (restype, argtypes) in _PROTOTYPES.items():
            try:
                function = getattr(self.dll, name)
            except AttributeError:
                raise LibraryNotFoundError(f"{self.path} has no function {name}: it is not a "
                                           "geoxform library of this version") from None
            function.restype, function.argtypes = restype, argtypes
            setattr(self, name[len("geoxform_"):], function)
        check(self.init(None), f"reading the reference data beside {self.path}", self)

    def message(self, status):
        return self.status_message(status).decode()


_lock = threading.Lock()
_library = None


def library():
    """The loaded library: found, loaded and given its reference data on first use."""
    global _library
    if _library is None:
        with _lock:
            if _library is None:
                _library = _Library()
    return _library


def check(status, context, lib=None):
    """Raises GeoxformError for a status other than OK (and the points' own E_POINTS)."""
    if status not in (OK, E_POINTS):
        message = (lib or library()).message(status)
        raise GeoxformError(f"{context}: {message}", status)
    return status


def text_out(call, *arguments, context):
    """The text a function writes into a caller's buffer, asked for again at the size it needs."""
    needed = ctypes.c_size_t(0)
    buffer = ctypes.create_string_buffer(256)
    status = call(*arguments, buffer, len(buffer), ctypes.byref(needed))
    if status == E_BUFFER:
        buffer = ctypes.create_string_buffer(needed.value)
        status = call(*arguments, buffer, len(buffer), ctypes.byref(needed))
    check(status, context)
    return buffer.value.decode()
