"""Coordinate systems: points, sheet coordinates, angle text and measurement."""

import ctypes
import functools
import math
import threading
from collections import namedtuple

import numpy as np

from . import _library as lib

_AXES = {None: 0, "lon": lib.CS_LONGITUDE, "lat": lib.CS_LATITUDE}

PredefinedSystem = namedtuple("PredefinedSystem", "code name")


def _input(values):
    """values as a float64 array that the library can read in place: no copy for float64
    input that is C-contiguous or one-dimensional with any stride, a copy otherwise."""
    if np.iscomplexobj(values):  # numpy would drop the imaginary parts with a warning
        raise TypeError("coordinates are real numbers, not complex")
    a = np.asarray(values, dtype=np.float64)
    if not a.flags.aligned or not (a.flags.c_contiguous or (a.ndim == 1 and a.strides[0])):
        a = np.ascontiguousarray(a)
    return a


def _stride(a):
    return 8 if a.flags.c_contiguous else a.strides[0]


def _output(array, shape):
    """A caller's output array, written in place: float64 of the inputs' shape, writable, and
    C-contiguous or one-dimensional."""
    if not isinstance(array, np.ndarray) or array.dtype != np.float64 or array.shape != shape \
            or not array.flags.writeable or not array.flags.aligned \
            or not (array.flags.c_contiguous or array.ndim == 1):
        raise ValueError(f"out: writable float64 arrays of shape {shape}, C-contiguous or "
                         "one-dimensional, are needed")
    return array


def _convert(function, system, first, second, *leading, out=None):
    """Runs a point array call of the C interface over two arrays of any matching (or
    broadcastable) shape: float64 results of that shape (in `out` when given), NaN where a
    point failed. Python scalars give numpy float64 scalars."""
    scalar = out is None and not isinstance(first, np.ndarray) \
        and not isinstance(second, np.ndarray) and np.ndim(first) == 0 and np.ndim(second) == 0
    a, b = _input(first), _input(second)
    if a.shape != b.shape:
        a, b = (np.ascontiguousarray(v) for v in np.broadcast_arrays(a, b))
    if out is None:
        # One block for both results: one allocation, which the allocator reuses whole when
        # results of the same size come and go. Two blocks made the inverse of 1,000,000
        # points up to a third slower in bench/python_vs_pyproj.py.
        both = np.empty((2,) + a.shape)
        u, v = both[0, ...], both[1, ...]
    elif len(out) != 2:
        raise ValueError("out: two arrays are needed")
    else:
        u, v = (_output(array, a.shape) for array in out)
    if a.size:
        failed = ctypes.c_int64(0)
        lib.check(function(system, *leading, a.size, a.ctypes.data, _stride(a), b.ctypes.data,
                           _stride(b), u.ctypes.data, _stride(u), v.ctypes.data, _stride(v),
                           ctypes.byref(failed)), function.__name__)
    return (u[()], v[()]) if scalar else (u, v)


class System:
    """A coordinate system: a predefined projected system (System.from_epsg) or one given by
    its one-line text form (System.from_text).

    Longitudes and latitudes are in degrees east of Greenwich and north, plane coordinates in
    the system's own unit (`unit`, `metres_per_unit`), sheet coordinates in millimetres.
    Point methods take scalars, lists or numpy arrays of any shape and give float64 arrays of
    that shape (float64 scalars for scalars), with NaN where a point cannot be converted; the
    two results are the rows of one array (their `base`).
    A system may be used by several threads at once; pickling carries its text form.
    """

    def __init__(self, handle):
        raise TypeError("use System.from_epsg or System.from_text")

    @classmethod
    def _adopt(cls, creator, argument, context):
        library = lib.library()
        handle = ctypes.c_void_p()
        lib.check(creator(argument, ctypes.byref(handle)), context)
        self = object.__new__(cls)
        self._lib, self._handle = library, handle
        self._sheet_lock, self._sheet = threading.Lock(), (1.0, 0.0, 0.0)
        info = lib.Info()
        lib.check(library.system_get_info(handle, ctypes.byref(info)), context)
        self._info = info
        return self

    @classmethod
    def from_epsg(cls, code):
        """The predefined system with this EPSG code (an int)."""
        if isinstance(code, bool) or not isinstance(code, (int, np.integer)):
            raise TypeError(f"an EPSG code is an int, not {type(code).__name__}")
        if not -2**31 <= code < 2**31:
            raise lib.GeoxformError(f"EPSG:{code}: no predefined system has this code", 5)
        return cls._adopt(lib.library().system_from_epsg, int(code), f"EPSG:{code}")

    @classmethod
    def from_text(cls, text):
        """A system from its one-line text form (`text_form`), validated and completed."""
        if not isinstance(text, str):
            raise TypeError(f"a text form is a str, not {type(text).__name__}")
        if "\0" in text:
            raise lib.GeoxformError("text form: the text holds a NUL character", 8)
        return cls._adopt(lib.library().system_from_text, text.encode(), "text form")

    def __del__(self):
        handle = getattr(self, "_handle", None)
        if handle:
            self._lib.system_free(handle)

    def __reduce__(self):
        return _rebuild, (self.text_form,)

    def __dask_tokenize__(self):
        return "geoxform.System", self.text_form

    def __repr__(self):
        code = f"EPSG:{self.code}" if self.code > 0 else "user-defined"
        return f"<geoxform.System {code} {self.name!r}>"

    def _name(self, which):
        return lib.text_out(self._lib.system_name, self._handle, which, context="name")

    # The names that `geoxform info` shows (empty where a user-defined system has none).
    name = property(lambda self: self._name(0), doc="the system's name")
    method = property(lambda self: self._name(1), doc="the projection method's name")
    datum = property(lambda self: self._name(2))
    ellipsoid = property(lambda self: self._name(3))
    prime_meridian_name = property(lambda self: self._name(4))
    unit = property(lambda self: self._name(5), doc="the unit of plane coordinates")
    area_of_use = property(lambda self: self._name(6), doc="the area of use's description")

    @property
    def text_form(self):
        """The one-line text form of the completed system, from which from_text rebuilds it."""
        return lib.text_out(self._lib.system_text_form, self._handle, context="text form")

    code = property(lambda self: self._info.code, doc="EPSG code; below 1 when user-defined")
    method_code = property(lambda self: self._info.method_code, doc="EPSG method code")
    metres_per_unit = property(lambda self: self._info.metres_per_unit)
    semi_major_axis = property(lambda self: self._info.semi_major_axis, doc="metres")
    inverse_flattening = property(lambda self: self._info.inverse_flattening)
    prime_meridian = property(lambda self: self._info.prime_meridian,
                              doc="degrees east of Greenwich")

    # ---- Points ---------------------------------------------------------------------------

    def forward(self, lon, lat, out=None):
        """Longitudes and latitudes in degrees to plane coordinates (x, y); into the two arrays
        `out` when given (they may be the inputs themselves)."""
        return _convert(self._lib.forward, self._handle, lon, lat, out=out)

    def inverse(self, x, y, out=None):
        """Plane coordinates to longitudes and latitudes in degrees (lon, lat); `out` as in
        forward."""
        return _convert(self._lib.inverse, self._handle, x, y, out=out)

    def _set_sheet(self, scale, fixed=(0.0, 0.0)):
        # The sheet is the handle's state: callers hold _sheet_lock, one scale at a time.
        sheet = (float(scale), float(fixed[0]), float(fixed[1]))
        if sheet != self._sheet:
            lib.check(self._lib.system_set_sheet(self._handle, *sheet), "sheet")
            self._sheet = sheet

    def _on_sheet(self, function, x, y, scale, fixed, geographic):
        with self._sheet_lock:
            self._set_sheet(scale, fixed)
            return _convert(function, self._handle, x, y, int(bool(geographic)))

    def to_sheet(self, x, y, scale, geographic=False, fixed=(0.0, 0.0)):
        """Plane coordinates (or, when geographic, longitudes and latitudes in degrees) to
        sheet millimetres at a drawing scale (25000 for 1:25000) about a fixed point."""
        return self._on_sheet(self._lib.user_to_sheet, x, y, scale, fixed, geographic)

    def from_sheet(self, sx, sy, scale, geographic=False, fixed=(0.0, 0.0)):
        """Sheet millimetres to plane coordinates (or longitudes and latitudes in degrees)."""
        return self._on_sheet(self._lib.sheet_to_user, sx, sy, scale, fixed, geographic)

    # ---- Angle text -----------------------------------------------------------------------

    def format_dms(self, degrees, axis=None, decimals=2):
        """An angle in degrees as degrees, minutes and seconds text; axis "lon" or "lat" adds
        the hemisphere letter (E/W, N/S) and wraps to ±180."""
        flags = lib.CS_DMS | _axis(axis)
        return lib.text_out(self._lib.value_to_text, self._handle, math.radians(degrees),
                            flags, int(decimals), context=f"angle {degrees!r}")

    def parse_dms(self, text, axis=None):
        """Degrees, minutes and seconds text (a hemisphere letter S or W negates) to degrees."""
        value = ctypes.c_double()
        status = self._lib.text_to_value(self._handle, str(text).encode(),
                                         lib.CS_DMS | lib.CS_DEGREES | _axis(axis),
                                         ctypes.byref(value))
        lib.check(status, f"angle text {text!r}")
        return value.value

    # ---- Measurement ----------------------------------------------------------------------

    def _measure(self, function, x, y, scale):
        xy = np.stack(np.broadcast_arrays(_input(x), _input(y)), -1)  # x0 y0 x1 y1 ...
        result = ctypes.c_double()
        with self._sheet_lock:
            # Plane coordinates are sheet millimetres at the scale of one unit per millimetre.
            self._set_sheet(scale if scale is not None else 1000 * self.metres_per_unit)
            lib.check(function(self._handle, xy.size // 2, xy.ctypes.data, ctypes.byref(result)),
                      function.__name__)
        return result.value

    def distance(self, x, y, scale=None):
        """Length of the polyline through the vertices (x, y), in the system's unit. The
        vertices are plane coordinates, or sheet millimetres when a scale is given."""
        return self._measure(self._lib.distance, x, y, scale)

    def area(self, x, y, scale=None):
        """Area of the polygon (even-odd fill) of the vertices (x, y), in the square of the
        system's unit; vertices as for distance."""
        return self._measure(self._lib.area, x, y, scale)


def _axis(axis):
    if axis not in _AXES:
        raise ValueError(f"axis is None, 'lon' or 'lat', not {axis!r}")
    return _AXES[axis]


@functools.lru_cache(maxsize=64)
def _rebuild(text_form):
    # Unpickling: the same text form in one process gives one shared system, which every call
    # may use at once (the sheet calls set their scale under the system's lock).
    return System.from_text(text_form)


@functools.lru_cache(maxsize=1)
def _predefined():
    library = lib.library()
    count = ctypes.c_int64()
    lib.check(library.predefined_count(ctypes.byref(count)), "predefined systems")
    code = ctypes.c_int32()
    return tuple(PredefinedSystem(code.value, name) for name in (
        lib.text_out(library.predefined, i, ctypes.byref(code), context="predefined system")
        for i in range(count.value)))


def systems(name_contains=None):
    """The predefined systems (code, name), those whose name contains a text (in any case)
    when one is given."""
    if name_contains is None:
        return list(_predefined())
    wanted = str(name_contains).casefold()
    return [s for s in _predefined() if wanted in s.name.casefold()]
