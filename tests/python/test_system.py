import math
import os
import pickle
import subprocess
import sys
from pathlib import Path

import numpy as np
import pytest

import geoxform

# What the C++ interface gives for the C host's points, written by CTest's CHostReference:
# "code lon lat x y lon2 lat2".
CPP_REFERENCE = Path(os.environ.get("GEOXFORM_CPP_REFERENCE",
                                    Path(__file__).parents[2] / "build/tests/c_host_reference.txt"))


def cpp_rows():
    if not CPP_REFERENCE.is_file():
        pytest.skip(f"no C++ reference at {CPP_REFERENCE} (CTest's CHostReference writes it)")
    return [(int(r[0]), *map(float, r[1:])) for r in
            (line.split() for line in CPP_REFERENCE.read_text().splitlines())]


def test_points_are_the_cpp_interfaces():
    rows = cpp_rows()
    for code in {r[0] for r in rows}:
        mine = np.array([r[1:] for r in rows if r[0] == code])
        system = geoxform.System.from_epsg(code)
        for lon, lat, x, y, lon2, lat2 in mine:  # one at a time: the same numbers
            assert system.forward(lon, lat) == (x, y)
            if system.metres_per_unit == 1:  # other units are converted in another order
                assert system.inverse(x, y) == (lon2, lat2)
        # Two points at a time take the vectorised path: within 4e-9 of the unit, 1e-12 rad.
        np.testing.assert_allclose(np.stack(system.forward(mine[:, 0], mine[:, 1])),
                                   mine[:, 2:4].T, rtol=0, atol=4e-9)
        np.testing.assert_allclose(np.stack(system.inverse(mine[:, 2], mine[:, 3])),
                                   mine[:, 4:6].T, rtol=0, atol=5.8e-11)


# One system of each kind of method, with pyproj's conversion of the same points.
PYPROJ_SYSTEMS = [27700, 2154, 32632, 3031, 2229, 27572, 28992, 3395, 2056, 3035, 5880, 27200,
                  30200, 3078, 32661, 3083]


@pytest.mark.parametrize("code", PYPROJ_SYSTEMS)
def test_within_a_millimetre_of_pyproj(code):
    # Albers inverts the authalic latitude by the EPSG series, which stops at e⁶: up to
    # 1.3 mm from PROJ's iteration at the edges of Texas.
    inverse_tolerance = 0.002 if code == 3083 else 0.001
    pyproj = pytest.importorskip("pyproj")
    system = geoxform.System.from_epsg(code)
    area = pyproj.CRS.from_epsg(code).area_of_use
    lon, lat = np.meshgrid(np.linspace(area.west, area.east, 9)[1:-1],
                           np.linspace(area.south, area.north, 9)[1:-1])
    if code in (3031, 32661):  # the polar areas: stay off the pole
        lat = np.clip(lat, -88, 88)
    proj = pyproj.Proj(code)  # degrees from Greenwich to the system's unit
    x, y = system.forward(lon, lat)
    px, py = proj(lon, lat)
    millimetre = 0.001 / system.metres_per_unit
    np.testing.assert_allclose(x, px, rtol=0, atol=millimetre)
    np.testing.assert_allclose(y, py, rtol=0, atol=millimetre)
    back_lon, back_lat = system.inverse(px, py)
    plon, plat = proj(px, py, inverse=True)
    metres_per_degree = 6378137 * math.pi / 180
    tolerance = inverse_tolerance / metres_per_degree
    np.testing.assert_allclose(back_lat, plat, rtol=0, atol=tolerance)
    np.testing.assert_allclose((back_lon - plon) * np.cos(np.radians(plat)), 0, atol=tolerance)


LON = np.array([[-2.0, 1.7179215833, -5.5], [0.5, -1.0, -3.0]])
LAT = np.array([[54.0, 52.6575703056, 50.1], [51.5, 55.0, 56.0]])


@pytest.mark.parametrize("make_lon, make_lat, shape", [
    (lambda: -2.0, lambda: 54.0, ()),                                # Python scalars
    (lambda: np.float32(-2), lambda: 54, ()),                        # numpy scalars, an int
    (lambda: np.array(-2.0), lambda: np.array(54.0), ()),            # 0-d arrays
    (lambda: [-2.0, 0.5], lambda: [54.0, 51.5], (2,)),               # lists
    (lambda: LON, lambda: LAT, (2, 3)),                              # 2-d
    (lambda: LON.T, lambda: LAT.T, (3, 2)),                          # Fortran order
    (lambda: LON[:, ::-2], lambda: LAT[:, ::-2], (2, 2)),            # strided 2-d
    (lambda: LON.ravel()[::-2], lambda: LAT.ravel()[::-2], (3,)),    # negative stride
    (lambda: LON.astype(np.float32), lambda: LAT.astype(np.float32), (2, 3)),
    (lambda: LON.astype(">f8"), lambda: LAT, (2, 3)),                # big-endian
    (lambda: LON, lambda: 54.0, (2, 3)),                             # broadcast
    (lambda: np.broadcast_to(-2.0, 1), lambda: [54.0], (1,)),        # one point, stride 0
    (lambda: np.empty((0, 3)), lambda: np.empty((0, 3)), (0, 3)),    # empty
])
def test_shapes_and_types_give_the_elementwise_result(bng, make_lon, make_lat, shape):
    lon, lat = make_lon(), make_lat()
    x, y = bng.forward(lon, lat)
    assert np.shape(x) == shape and np.shape(y) == shape
    assert isinstance(x, np.ndarray) == isinstance(lon, (np.ndarray, list))
    flat_lon, flat_lat = np.broadcast_arrays(np.asarray(lon, np.float64), np.asarray(lat, np.float64))
    for i in np.ndindex(shape):
        assert (np.asarray(x)[i], np.asarray(y)[i]) == bng.forward(float(flat_lon[i]), float(flat_lat[i]))
    assert np.allclose(bng.inverse(x, y), (flat_lon, flat_lat), atol=1e-9)


def test_contiguous_input_is_read_in_place_and_left_alone(bng, monkeypatch):
    copies = []
    monkeypatch.setattr(np, "ascontiguousarray", lambda *a, **k: copies.append(a))
    lon, lat = LON.copy(), LAT.copy()
    bng.forward(lon, lat)
    bng.forward(lon[0, ::-1], lat[0, ::-1])
    assert copies == [] and np.array_equal(lon, LON) and np.array_equal(lat, LAT)


def test_results_into_given_arrays_and_in_place(bng):
    x, y = np.empty_like(LON), np.empty_like(LAT)
    assert bng.forward(LON, LAT, out=(x, y))[0] is x
    assert x.tolist() == bng.forward(LON, LAT)[0].tolist()
    bng.inverse(x, y, out=(x, y))
    np.testing.assert_allclose(np.stack((x, y)), np.stack((LON, LAT)), rtol=0, atol=1e-9)
    read_only = x.copy()
    read_only.flags.writeable = False
    for out in [(np.empty(6), y), (x.astype(np.float32), y), (np.empty((3, 4))[:2, :3], y),
                (x, np.asfortranarray(y)), (x, read_only), [x], (x, [0.0] * 6)]:
        with pytest.raises(ValueError, match="out"):
            bng.forward(LON, LAT, out=out)


def test_points_that_cannot_be_converted_are_nan(bng):
    lon = np.array([np.nan, np.inf, -np.inf, -2.0])
    x, y = bng.forward(lon, np.full(4, 54.0))
    assert np.isnan(x[:3]).all() and np.isnan(y[:3]).all() and x[3] == 400000
    assert np.isnan(bng.inverse(np.nan, 0.0)).all()


@pytest.mark.parametrize("make, error", [
    (lambda: geoxform.System.from_epsg(99999), "no predefined system"),
    (lambda: geoxform.System.from_epsg(2**32 + 27700), "no predefined system"),
    (lambda: geoxform.System.from_text(""), ""),
    (lambda: geoxform.System.from_text("3,Meter,1,0,0;1,x"), ""),
    (lambda: geoxform.System.from_text("3,Meter\0;27700"), "NUL"),
    (lambda: geoxform.System.from_text("\ud800"), ""),  # not encodable as UTF-8
])
def test_bad_systems_raise_with_the_librarys_message(make, error):
    with pytest.raises((geoxform.GeoxformError, UnicodeError), match=error) as raised:
        make()
    if isinstance(raised.value, geoxform.GeoxformError):
        assert raised.value.status > 0


@pytest.mark.parametrize("call", [
    lambda: geoxform.System.from_epsg("27700"), lambda: geoxform.System.from_epsg(True),
    lambda: geoxform.System.from_text(27700), lambda: geoxform.System(0),
    lambda: geoxform.System.from_epsg(27700).forward([1j], [50])])
def test_wrong_argument_types_raise_type_error(call):
    with pytest.raises(TypeError):
        call()


def test_a_system_rebuilt_from_its_text_form_or_pickle_is_the_same(bng):
    for copy in (geoxform.System.from_text(bng.text_form), pickle.loads(pickle.dumps(bng))):
        assert (copy.name, copy.method, copy.area_of_use, copy.code) == \
            (bng.name, bng.method, bng.area_of_use, 27700)
        assert copy.forward(LON, LAT)[1].tolist() == bng.forward(LON, LAT)[1].tolist()
    # A user-defined system (no code) travels by its text form too.
    mine = geoxform.System.from_text(bng.text_form.replace(";27700,", ";0,")
                                     .replace("8806,400000.0", "8806,500000.0"))
    assert mine.code < 1 and pickle.loads(pickle.dumps(mine)).forward(-2, 54) == pytest.approx(
        (500000, 456017.699), abs=1e-3)


def test_sheet_millimetres_at_a_scale(bng):
    # The Ordnance Survey's worked example on a 1:25000 sheet, about a fixed point.
    x, y = 651409.903, 313177.270
    assert bng.to_sheet(x, y, 25000) == pytest.approx((x * 1000 / 25000, y * 1000 / 25000))
    sx, sy = bng.to_sheet(1.7179215833, 52.6575703056, 25000, geographic=True, fixed=(10, 20))
    assert bng.from_sheet(sx, sy, 25000, fixed=(10, 20)) == pytest.approx((x, y), abs=1e-3)
    with pytest.raises(geoxform.GeoxformError):
        bng.to_sheet(x, y, 0)
    assert bng.forward(-2.0, 54.0) == (400000, 456017.69885103917)  # points keep scale 1


@pytest.mark.parametrize("degrees, axis, decimals, text", [
    (28.64788975654116, "lon", 2, "28°38'52.40\"E"),
    (190.0, "lon", 1, "170°00'00.0\"W"),
    (-12.5, "lat", 3, "12°30'00.000\"S"),
    (-12.5, None, 1, "-12°30'00.0\""),
])
def test_degrees_minutes_seconds_both_ways(bng, degrees, axis, decimals, text):
    assert bng.format_dms(degrees, axis, decimals) == text
    assert bng.parse_dms(text, axis) == pytest.approx((degrees + 180) % 360 - 180 if axis else degrees)


def test_bad_angle_text_and_axis(bng):
    for text in ["abc", "1°2'3\"4", "9" * 300]:
        with pytest.raises(geoxform.GeoxformError, match="angle text"):
            bng.parse_dms(text)
    with pytest.raises(ValueError):
        bng.format_dms(1.0, axis="x")
    with pytest.raises(geoxform.GeoxformError):
        bng.format_dms(math.nan)


def test_distance_and_area_of_vertices(bng):
    assert bng.distance([0, 3, 3], [0, 0, 4]) == pytest.approx(7)
    assert bng.distance([0, 3, 3], [0, 0, 4], scale=1000) == pytest.approx(7)  # mm at 1:1000
    square = [0, 10, 10, 0], [0, 0, 10, 10]
    assert bng.area(*square) == pytest.approx(100) and bng.area(*square[::-1]) == pytest.approx(100)
    assert bng.area([0, 2, 2, 0, 0], [0, 2, 0, 2, 0]) == pytest.approx(2)  # a figure eight
    assert bng.distance([], []) == 0 and bng.area([1], [1]) == 0
    feet = geoxform.System.from_epsg(2229)
    assert feet.distance([0, 3], [0, 4]) == pytest.approx(5)  # in the system's own unit


def test_predefined_systems_by_name():
    everything = geoxform.systems()
    assert len(everything) > 5000 and (27700, "OSGB36 / British National Grid") in everything
    british = geoxform.systems("BRITISH national")
    assert [s.code for s in british] == [27700]
    assert geoxform.systems("no such system") == []


def run_python(code, **env):
    return subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                          env={**os.environ, **env})


def test_library_override_by_file_or_directory_and_where_it_looked():
    path = Path(geoxform.library_path()).resolve()
    for override in (path, path.parent):
        found = run_python("import geoxform; print(geoxform.library_path())",
                           GEOXFORM_LIBRARY=str(override))
        assert Path(found.stdout.strip()).resolve() == path, found.stderr
    for wrong in ("/nonexistent/place", __file__):  # nothing there; not a library
        failed = run_python("import geoxform; geoxform.System.from_epsg(27700)",
                            GEOXFORM_LIBRARY=wrong)
        assert "LibraryNotFoundError" in failed.stderr and wrong in failed.stderr
