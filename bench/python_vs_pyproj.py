#!/usr/bin/python3
"""geoxform's Python package beside pyproj, and on Dask.

1. 1,000,000 points over the British National Grid's area (fixed seed): System.forward and
   .inverse of EPSG:27700 against pyproj.Transformer.from_crs(4277, 27700, always_xy=True)
   .transform (and its inverse direction) on the same numpy arrays, in turns: the least CPU
   time of five runs. Once into new arrays (both allocate their results), once into arrays
   that exist (out= here, inplace=True for pyproj).
2. geoxform.dask.forward of 50,000,000 points on a dask.distributed LocalCluster of 1 and 2
   worker processes (one thread each): the points are made and kept on the workers first, and
   the conversion is timed (wall clock) to its results kept on the workers. Best of three.

    /usr/bin/python3 bench/python_vs_pyproj.py [--points N] [--dask-points N] [--no-dask]
GEOXFORM_LIBRARY chooses the library (./run.sh bench-python uses the Release build's).
"""

import argparse
import sys
import time
from pathlib import Path

import numpy as np

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "python"))
import geoxform  # noqa: E402


def cpu_time(function):
    """The CPU time of this process that one call takes."""
    start = time.process_time()
    function()
    return time.process_time() - start


def against_pyproj(points, runs):
    import pyproj
    rng = np.random.default_rng(27700)
    lon, lat = rng.uniform(-8.82, 1.92, points), rng.uniform(49.79, 60.94, points)
    system = geoxform.System.from_epsg(27700)
    transformer = pyproj.Transformer.from_crs(4277, 27700, always_xy=True)
    x, y = system.forward(lon, lat)
    px, py = transformer.transform(lon, lat)
    print(f"pyproj {pyproj.__version__} (PROJ {pyproj.proj_version_str}), geoxform "
          f"{geoxform.library_version()} from {geoxform.library_path()}")
    print(f"{points:,} points, EPSG:4277 -> EPSG:27700, best of {runs}; largest difference "
          f"{max(abs(x - px).max(), abs(y - py).max()) * 1000:.3g} mm\n")
    print("| direction | results | geoxform ns/point | pyproj ns/point | ratio |")
    print("|---|---|---:|---:|---:|")
    u, v = np.empty(points), np.empty(points)  # our outputs, and pyproj's arrays to overwrite
    cases = [
        ("forward", "new arrays", lambda: system.forward(lon, lat), None,
         lambda: transformer.transform(lon, lat)),
        ("inverse", "new arrays", lambda: system.inverse(x, y), None,
         lambda: transformer.transform(x, y, direction="INVERSE")),
        ("forward", "into arrays", lambda: system.forward(lon, lat, out=(u, v)), (lon, lat),
         lambda: transformer.transform(u, v, inplace=True)),
        ("inverse", "into arrays", lambda: system.inverse(x, y, out=(u, v)), (x, y),
         lambda: transformer.transform(u, v, direction="INVERSE", inplace=True)),
    ]
    for name, results, mine, inputs, theirs in cases:
        ours, pyprojs = [], []
        for _ in range(runs):  # in turns, so that both see the same machine
            ours.append(cpu_time(mine))
            if inputs is not None:  # pyproj overwrites its inputs: fresh copies, not timed
                np.copyto(u, inputs[0])
                np.copyto(v, inputs[1])
            pyprojs.append(cpu_time(theirs))
        a, b = min(ours) / points * 1e9, min(pyprojs) / points * 1e9
        print(f"| {name} | {results} | {a:.1f} | {b:.1f} | {b / a:.2f} |")


def on_dask(points, chunk, workers, runs):
    import dask.array as da
    import distributed
    import geoxform.dask
    system = geoxform.System.from_epsg(27700)
    print(f"\n{points:,} points in chunks of {chunk:,}, geoxform.dask.forward on a LocalCluster, "
          f"best of {runs}\n")
    print("| worker processes | seconds | points per second |")
    print("|---:|---:|---:|")
    for n in workers:
        with distributed.LocalCluster(n_workers=n, threads_per_worker=1, processes=True,
                                      dashboard_address=None) as cluster, \
                distributed.Client(cluster) as client:
            times = []
            for run in range(runs):  # new points each run, so that no result is reused
                state = da.random.RandomState(run)
                lon = state.uniform(-8.82, 1.92, points, chunks=chunk)
                lat = state.uniform(49.79, 60.94, points, chunks=chunk)
                lon, lat = client.persist([lon, lat])
                distributed.wait([lon, lat])
                start = time.perf_counter()  # the workers' time, on the wall clock
                x, y = client.persist(list(geoxform.dask.forward(system, lon, lat)))
                distributed.wait([x, y])
                times.append(time.perf_counter() - start)
                del lon, lat, x, y
            seconds = min(times)
            print(f"| {n} | {seconds:.2f} | {points / seconds:,.0f} |")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--points", type=int, default=1_000_000)
    parser.add_argument("--dask-points", type=int, default=50_000_000)
    parser.add_argument("--chunk", type=int, default=1_000_000)
    parser.add_argument("--no-dask", action="store_true")
    arguments = parser.parse_args()
    against_pyproj(arguments.points, 5)
    if not arguments.no_dask:
        on_dask(arguments.dask_points, arguments.chunk, (1, 2), 3)


if __name__ == "__main__":
    main()
