import re
from pathlib import Path

import numpy as np
import pytest

da = pytest.importorskip("dask.array")
dd = pytest.importorskip("dask.dataframe")
pd = pytest.importorskip("pandas")
import geoxform.dask  # noqa: E402

LON = np.linspace(-6.0, 1.5, 4000).reshape(40, 100)
LAT = np.linspace(50.0, 58.5, 4000).reshape(40, 100)


def frame():
    return dd.from_pandas(pd.DataFrame({"lon": LON.ravel(), "lat": LAT.ravel(), "id": 1}),
                          npartitions=5)


def check_array_and_frame_paths(bng, scheduler):
    x, y = bng.forward(LON, LAT)
    # Chunks pair points differently in the vectorised path: within 4e-9 m of each other.
    same = lambda a, b: np.testing.assert_allclose(a, b, rtol=0, atol=4e-9)  # noqa: E731
    # Chunks that do not line up, and a scalar latitude broadcast against the longitudes.
    lazy = geoxform.dask.forward(bng, da.from_array(LON, chunks=(7, 30)),
                                 da.from_array(LAT, chunks=(40, 45)))
    assert all(isinstance(a, da.Array) for a in lazy)
    same(np.stack(lazy).compute(scheduler=scheduler), np.stack((x, y)))
    row = geoxform.dask.forward(bng, da.from_array(LON[0], chunks=33), 54.0)[1]
    same(row.compute(scheduler=scheduler), bng.forward(LON[0], 54.0)[1])
    result = geoxform.dask.forward(bng, frame())
    back = geoxform.dask.inverse(bng, result, outputs=("lon2", "lat2")).compute(scheduler=scheduler)
    assert list(back.columns) == ["lon", "lat", "id", "x", "y", "lon2", "lat2"]
    same(back.x.to_numpy(), x.ravel())
    assert np.abs(back.lat2.to_numpy() - LAT.ravel()).max() < 1e-9


def test_threads_give_the_eager_result(bng):
    check_array_and_frame_paths(bng, "threads")


def test_a_distributed_cluster_gives_the_eager_result(bng):
    distributed = pytest.importorskip("distributed")
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster, \
            distributed.Client(cluster) as client:
        check_array_and_frame_paths(bng, client.get)


def test_graphs_are_lazy_and_reject_wrong_arguments(bng, monkeypatch):
    calls = []
    monkeypatch.setattr(geoxform.System, "forward", lambda *a: calls.append(a))
    x, _ = geoxform.dask.forward(bng, da.from_array(LON), da.from_array(LAT))
    y = geoxform.dask.forward(bng, frame()).y
    assert calls == [] and x.shape == LON.shape and y.dtype == np.float64
    with pytest.raises(TypeError):
        geoxform.dask.forward("27700", da.from_array(LON), da.from_array(LAT))
    with pytest.raises(TypeError):
        geoxform.dask.forward(bng, frame(), da.from_array(LAT))


def readme_examples(heading):
    readme = (Path(__file__).parents[2] / "README.md").read_text()
    section = readme.split(f"## {heading}\n", 1)[1].split("\n## ", 1)[0]
    return re.findall(r"```python\n(.*?)```", section, re.S)


@pytest.mark.parametrize("heading", ["Python", "More than one machine"])
def test_readme_examples_run(heading):
    examples = readme_examples(heading)
    assert examples
    for code in examples:
        exec(compile(code, f"README.md, {heading}", "exec"), {"__name__": "__main__"})
