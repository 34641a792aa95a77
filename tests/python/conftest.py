# The package from this checkout's python/ folder, with the library that GEOXFORM_LIBRARY
# names (CTest names the one it built) or else the one of the build tree.
import os
import sys
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "python"))
os.environ["PYTHONPATH"] = os.pathsep.join(  # for the processes that tests start
    filter(None, [str(ROOT / "python"), os.environ.get("PYTHONPATH")]))


@pytest.fixture(scope="session")
def bng():
    import geoxform
    return geoxform.System.from_epsg(27700)


def pytest_configure(config):
    # Debian's distributed starts tornado's loop the way tornado 6.2 deprecates.
    config.addinivalue_line("filterwarnings", "ignore:make_current is deprecated:DeprecationWarning")
