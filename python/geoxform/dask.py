"""geoxform over Dask: the conversions of a System on Dask arrays (block by block, lazily)
and Dask dataframes (partition by partition, adding output columns), so that one call runs
on a machine's threads or processes or on a dask.distributed cluster. The system travels to
the workers by its text form.

    >>> import dask.array as da
    >>> lon = da.random.uniform(-5, 1, 10_000_000, chunks=1_000_000)
    >>> lat = da.random.uniform(50, 58, 10_000_000, chunks=1_000_000)
    >>> x, y = geoxform.dask.forward(bng, lon, lat)   # lazy; x.compute() runs it
"""

import numpy as np
import dask.array as da

from ._system import System


def _block(system, direction, first, second):
    both = np.empty((2,) + first.shape)  # the chunks of both arrays are broadcast and aligned
    getattr(system, direction)(first, second, out=both)
    return both


def _partition(frame, system, direction, columns, outputs):
    u, v = getattr(system, direction)(frame[columns[0]].to_numpy(np.float64),
                                      frame[columns[1]].to_numpy(np.float64))
    return frame.assign(**{outputs[0]: u, outputs[1]: v})


def _run(system, direction, first, second, columns, outputs):
    if not isinstance(system, System):
        raise TypeError(f"a geoxform.System is needed, not {type(system).__name__}")
    if hasattr(first, "map_partitions"):  # a Dask dataframe
        if second is not None:
            raise TypeError("a dataframe names its input columns with columns=, not a second array")
        meta = first._meta.assign(**{name: np.float64() for name in outputs})
        return first.map_partitions(_partition, system, direction, tuple(columns),
                                    tuple(outputs), meta=meta)
    first, second = da.asarray(first, dtype=np.float64), da.asarray(second, dtype=np.float64)
    first, second = da.broadcast_arrays(first, second)
    both = da.map_blocks(_block, system, direction, first, second, new_axis=0,
                         chunks=((2,),) + first.chunks, dtype=np.float64,
                         meta=np.empty((0,) * (first.ndim + 1)), name=f"geoxform-{direction}")
    return both[0], both[1]


def forward(system, lon, lat=None, *, columns=("lon", "lat"), outputs=("x", "y")):
    """Longitudes and latitudes in degrees to plane coordinates.

    On Dask arrays (any shape and chunks; numpy arrays are wrapped): two lazy Dask arrays
    x and y of the broadcast shape. On a Dask dataframe (given as `lon`, without `lat`): the
    dataframe with the columns `outputs` added, computed from the columns `columns`.
    """
    return _run(system, "forward", lon, lat, columns, outputs)


def inverse(system, x, y=None, *, columns=("x", "y"), outputs=("lon", "lat")):
    """Plane coordinates to longitudes and latitudes in degrees; as forward otherwise."""
    return _run(system, "inverse", x, y, columns, outputs)
