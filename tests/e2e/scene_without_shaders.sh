#!/usr/bin/env bash
# The shell's GL tests again on a driver below OpenGL 2.0: the maze must then
# hang directly under the camera, without a shader node, and the rules, the
# input and the level rebuilds must hold in that form as well.
set -euo pipefail
gltest="${KELVO_BUILD:?}/tests/gltest_app"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cd "$KELVO_BUILD"
MESA_GL_VERSION_OVERRIDE=1.5 ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}" timeout 300 "$gltest" >"$out/gl15.log" 2>&1 || {
    echo "the shell's tests failed without OpenGL 2.0"; cat "$out/gl15.log"; exit 1; }
grep -q "^scene tree checked without the lighting program$" "$out/gl15.log" || {
    echo "the tree without the lighting program was not checked"; cat "$out/gl15.log"; exit 1; }
grep -q "^\[  PASSED  \]" "$out/gl15.log" || { echo "no test passed"; cat "$out/gl15.log"; exit 1; }
echo "scene, rules and input hold without OpenGL 2.0"
