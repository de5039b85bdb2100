#!/usr/bin/env bash
# The lighting program on the two driver generations the game meets: a bare
# OpenGL 2.0 / GLSL 1.10 driver must compile it and light like the current
# one, and a driver below 2.0 must leave the shader node inert (its entry
# points are null there) while the game still runs.
set -euo pipefail
gltest="${KELVO_BUILD:?}/tests/gltest_sg"
bin="${KELVO_BIN:?}"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

cd "$KELVO_BUILD"
MESA_GL_VERSION_OVERRIDE=2.0 MESA_GLSL_VERSION_OVERRIDE=110 timeout 120 \
    "$gltest" --gtest_filter='SgShaderGL.*' >"$out/gl20.log" 2>&1 || {
    echo "shader tests failed on OpenGL 2.0"; cat "$out/gl20.log"; exit 1; }
grep -q "SKIPPED" "$out/gl20.log" && { echo "OpenGL 2.0 not offered"; cat "$out/gl20.log"; exit 1; }
grep -q "^\[  PASSED  \] 7 tests" "$out/gl20.log" || { echo "unexpected test count"; cat "$out/gl20.log"; exit 1; }

MESA_GL_VERSION_OVERRIDE=1.5 timeout 120 \
    "$gltest" --gtest_filter='SgShaderWithoutGL2GL.*' >"$out/gl15.log" 2>&1 || {
    echo "the shader node failed without OpenGL 2.0"; cat "$out/gl15.log"; exit 1; }
grep -q "SKIPPED" "$out/gl15.log" && { echo "the override did not take: OpenGL 2.0 still offered"; cat "$out/gl15.log"; exit 1; }
grep -q "^\[  PASSED  \] 1 test" "$out/gl15.log" || { echo "no-shader test did not run"; cat "$out/gl15.log"; exit 1; }

# The game finds its data in the working directory, as a player's does.
cd "${KELVO_SRC:?}"
MESA_GL_VERSION_OVERRIDE=1.5 timeout 120 "$bin" --window --frames 60 --seed 1 >"$out/game.log" 2>&1 || {
    echo "the game failed without OpenGL 2.0"; cat "$out/game.log"; exit 1; }
grep -q "^1\.5" "$out/game.log" || { echo "the game did not run on OpenGL 1.5"; cat "$out/game.log"; exit 1; }
echo "shaders ok on OpenGL 2.0 and inert below it"
