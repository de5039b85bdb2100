#!/usr/bin/env bash
# The committed art and sound pass the generator's own checks (formats, key
# colours without fringes, seamless loops, size budget) and its unit tests.
set -euo pipefail
cd "${KELVO_SRC:?}"
/usr/bin/python3 tools/make_assets.py --check
/usr/bin/python3 tools/test_make_assets.py
