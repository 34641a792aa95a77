"""geoxform for Python: map projections of the predefined EPSG systems over numpy arrays.

    >>> import geoxform
    >>> bng = geoxform.System.from_epsg(27700)
    >>> x, y = bng.forward([-1.5, 1.7179], [53.0, 52.6576])

The package calls the geoxform shared library through its C interface (ctypes); see
geoxform._library for where it looks for the library and how GEOXFORM_LIBRARY overrides that.
geoxform.dask runs the same conversions over Dask arrays and dataframes.
"""

from ._library import GeoxformError, LibraryNotFoundError
from ._system import PredefinedSystem, System, systems

__all__ = ["GeoxformError", "LibraryNotFoundError", "PredefinedSystem", "System", "systems",
           "library_version", "library_path"]


def library_version():
    """The loaded library's version, "MAJOR.MINOR.PATCH"."""
    from ._library import library
    return library().version().decode()


def library_path():
    """The file of the loaded library."""
    from ._library import library
    return str(library().path)
