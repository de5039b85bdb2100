# Sourced by scripts/windows: builds the Windows (mingw-w64) versions of the
# game's libraries -- freeglut, GLEW, OpenAL Soft, freealut, zlib and libpng --
# and GoogleTest from Debian's source packages, once per machine, into a folder under
# /var/cache/kelvo-mingw named after their Debian versions and this recipe, so
# a second run (or another checkout) finds them ready.

KELVO_MINGW_CACHE=${KELVO_MINGW_CACHE:-/var/cache/kelvo-mingw}
KELVO_MINGW_TOOLCHAIN="$PWD/cmake/mingw-w64-x86_64.cmake"

# Source package, upstream version (with Debian's epoch), and the upstream
# licence files the release carries. The newest Debian revision of that
# version the archive offers is built: the archive drops a revision when it
# publishes the next one. OpenAL Soft comes from the next Debian release
# because the archive here no longer serves the upstream tarball of Debian
# 12's version.
KELVO_MINGW_SOURCES=(
    "freeglut 3.4.0 COPYING"
    "glew 2.2.0 LICENSE.txt"
    "openal-soft 1:1.24.2 COPYING BSD-3Clause LICENSE-pffft fmt-11.1.1/LICENSE"
    "freealut 1.1.0 COPYING"
    "zlib 1:1.2.13.dfsg LICENSE"
    "libpng1.6 1.6.39 LICENSE"
)
KELVO_MINGW_EXTRA_SUITES=(trixie)
# Packages built with the patches of their Debian packaging applied: libpng's
# are the security fixes Debian's own libpng16-16 carries.
KELVO_MINGW_DEBIAN_PATCHED=(libpng1.6)

# Runs one build step at low priority (the machine is shared with everything
# else), its output appended to LOG, which is shown when the step fails.
kelvo_mingw_step() {
    local log="$1"
    shift
    if ! nice -n 15 "$@" >>"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "Failed: $*" >&2
        return 1
    fi
}

# The Debian mirror of the configured binary sources (not the security one).
kelvo_debian_mirror() {
    {
        grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{ print $2 }'
        grep -hsE '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list | awk '{ print $2 }'
    } | grep -v security | grep -E '/debian/?$' | head -n1
}

# A private apt configuration with deb-src entries for the configured suite
# (and the extra ones above): the system's own sources stay untouched.
kelvo_mingw_apt_setup() {
    local dir="$1"
    local mirror suite
    mirror=$(kelvo_debian_mirror)
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    if [ -z "$mirror" ] || [ -z "$suite" ]; then
        echo "No Debian mirror or suite configured in /etc/apt" >&2
        return 1
    fi
    mkdir -p "$dir/lists/partial"
    cat > "$dir/sources.list" <<EOF
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $suite main
EOF
    local extra
    for extra in "${KELVO_MINGW_EXTRA_SUITES[@]}"; do
        if [ "$extra" != "$suite" ]; then
            echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $extra main" >> "$dir/sources.list"
        fi
    done
    kelvo_mingw_apt "$dir" update -qq
}

# Prints the newest of the Debian versions read from standard input whose
# upstream part (with the epoch) is UPSTREAM; when there is none, one line
# names the pin and what the index offers.
# Usage: kelvo_mingw_newest_revision PACKAGE UPSTREAM <versions
kelvo_mingw_newest_revision() {
    local pkg="$1" upstream="$2" version best="" offered=()
    while read -r version; do
        offered+=("$version")
        [ "${version%-*}" = "$upstream" ] || continue
        if [ -z "$best" ] || dpkg --compare-versions "$version" gt "$best"; then
            best="$version"
        fi
    done
    if [ -z "$best" ]; then
        echo "$pkg $upstream is pinned; the source index offers ${offered[*]:-no version of it}" >&2
        return 1
    fi
    echo "$best"
}

# Fills KELVO_MINGW_VERSIONS (source package -> Debian version) from the
# source index on hand.
kelvo_mingw_resolve() {
    local entry
    declare -gA KELVO_MINGW_VERSIONS=()
    for entry in "${KELVO_MINGW_SOURCES[@]}"; do
        set -- $entry
        KELVO_MINGW_VERSIONS[$1]=$(kelvo_mingw_apt_cache showsrc --only-source "$1" 2>/dev/null |
            sed -n 's/^Version: //p' | kelvo_mingw_newest_revision "$1" "$2") || return 1
    done
}

kelvo_mingw_apt_cache() {
    apt-cache -o Dir::Etc::SourceList="$KELVO_MINGW_CACHE/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null \
        -o Dir::State::Lists="$KELVO_MINGW_CACHE/apt/lists" "$@"
}

kelvo_mingw_apt() {
    local dir="$1"
    shift
    apt-get -o Dir::Etc::SourceList="$dir/sources.list" -o Dir::Etc::SourceParts=/dev/null \
        -o Dir::State::Lists="$dir/lists" -o APT::Sandbox::User=root "$@"
}

# Fetches (once) the upstream tarball of PACKAGE=VERSION into the cache's
# src/ folder and prints its path. apt checks each file against the signed
# index. The Debian packaging tarball is fetched too, but only a package in
# KELVO_MINGW_DEBIAN_PATCHED needs it, so for the others it may be missing.
kelvo_mingw_fetch() {
    local pkg="$1" version="$2"
    local upstream="${version#*:}"
    upstream="${upstream%-*}"
    local src="$KELVO_MINGW_CACHE/src"
    mkdir -p "$src"
    local tarball packaging=present
    tarball=$(ls "$src/${pkg}_${upstream}.orig.tar."* 2>/dev/null | head -n1 || true)
    if kelvo_mingw_debian_patched "$pkg" && ! ls "$src/${pkg}_${version#*:}.debian.tar."* >/dev/null 2>&1; then
        packaging=missing
    fi
    if [ -z "$tarball" ] || [ "$packaging" = missing ]; then
        (cd "$src" && kelvo_mingw_apt "$KELVO_MINGW_CACHE/apt" source --download-only -qq "$pkg=$version" \
            >"$src/$pkg.log" 2>&1 || true)
        tarball=$(ls "$src/${pkg}_${upstream}.orig.tar."* 2>/dev/null | head -n1 || true)
        if [ -z "$tarball" ]; then
            echo "Could not fetch the source of $pkg $version:" >&2
            cat "$src/$pkg.log" >&2
            return 1
        fi
    fi
    echo "$tarball"
}

kelvo_mingw_debian_patched() {
    local patched
    for patched in "${KELVO_MINGW_DEBIAN_PATCHED[@]}"; do
        [ "$patched" = "$1" ] && return 0
    done
    return 1
}

# Applies the patches of PACKAGE=VERSION's Debian packaging, in the order of
# its quilt series, to the sources unpacked in DIR.
kelvo_mingw_debian_patch() {
    local pkg="$1" version="$2" dir="$3"
    local packaging patch_name
    packaging=$(ls "$KELVO_MINGW_CACHE/src/${pkg}_${version#*:}.debian.tar."* | head -n1)
    mkdir -p "$dir/.debian"
    tar -xf "$packaging" -C "$dir/.debian"
    while read -r patch_name; do
        case "$patch_name" in ''|'#'*) continue ;; esac
        if ! patch -d "$dir" -p1 --batch --forward --quiet <"$dir/.debian/debian/patches/$patch_name"; then
            echo "Debian's patch $patch_name does not apply to $pkg $version" >&2
            return 1
        fi
    done <"$dir/.debian/debian/patches/series"
}

# Prints the prefix the libraries live in, building them first when that
# prefix is missing or incomplete. Its name changes with the versions, the
# compiler and this recipe, so a stale build is never picked up. A complete
# build named by the index on hand is used as it is; a build to make fetches
# a fresh index first.
kelvo_mingw_deps() {
    mkdir -p "$KELVO_MINGW_CACHE"
    # One builder at a time per machine; a waiting one then finds it done.
    (
        flock 9
        local prefix
        if [ -f "$KELVO_MINGW_CACHE/apt/sources.list" ] && kelvo_mingw_resolve 2>/dev/null &&
            prefix=$(kelvo_mingw_prefix) && [ -f "$prefix/.complete" ]; then
            echo "$prefix"
            exit 0
        fi
        kelvo_mingw_apt_setup "$KELVO_MINGW_CACHE/apt" >&2 || exit 1
        kelvo_mingw_resolve || exit 1
        prefix=$(kelvo_mingw_prefix)
        if [ ! -f "$prefix/.complete" ]; then
            kelvo_mingw_build_all "$prefix" >&2 || exit 1
        fi
        echo "$prefix"
    ) 9>"$KELVO_MINGW_CACHE/.lock"
}

kelvo_mingw_prefix() {
    local recipe name="" entry
    # Comments do not change what is built.
    recipe=$(cat scripts/mingw-deps.sh "$KELVO_MINGW_TOOLCHAIN" <(x86_64-w64-mingw32-g++-posix --version) \
        | grep -v '^[[:space:]]*#' | sha256sum | cut -c1-10)
    for entry in "${KELVO_MINGW_SOURCES[@]}"; do
        set -- $entry
        name+="$1-${KELVO_MINGW_VERSIONS[$1]#*:}_"
    done
    echo "$KELVO_MINGW_CACHE/${name}${recipe}"
}

kelvo_mingw_build_all() {
    local prefix="$1"
    local work="$KELVO_MINGW_CACHE/work"
    local jobs="${KELVO_MINGW_JOBS:-2}"
    local started=$SECONDS
    rm -rf "$prefix" "$work"
    mkdir -p "$prefix/licenses" "$work"
    echo "Building the Windows libraries into $prefix (once per machine)"

    local entry pkg version tarball dir licence
    for entry in "${KELVO_MINGW_SOURCES[@]}"; do
        set -- $entry
        pkg="$1" version="${KELVO_MINGW_VERSIONS[$1]}"
        shift 2
        tarball=$(kelvo_mingw_fetch "$pkg" "$version")
        mkdir -p "$work/$pkg"
        tar -xf "$tarball" -C "$work/$pkg" --strip-components=1
        if kelvo_mingw_debian_patched "$pkg"; then
            kelvo_mingw_debian_patch "$pkg" "$version" "$work/$pkg"
        fi
        mkdir -p "$prefix/licenses/$pkg"
        for licence in "$@"; do
            cp "$work/$pkg/$licence" "$prefix/licenses/$pkg/$(echo "$licence" | tr / -)"
        done
        echo "Built from Debian's source package $pkg $version." >"$prefix/licenses/$pkg/DEBIAN-SOURCE"
    done

    local cmake_common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$KELVO_MINGW_TOOLCHAIN"
        -DKELVO_MINGW_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX="$prefix" -Wno-dev)

    echo "  OpenAL Soft"
    kelvo_mingw_step "$work/openal-soft.log" cmake -S "$work/openal-soft" -B "$work/openal-soft/build" "${cmake_common[@]}" \
        -DALSOFT_UTILS=OFF -DALSOFT_NO_CONFIG_UTIL=ON -DALSOFT_EXAMPLES=OFF -DALSOFT_TESTS=OFF \
        -DALSOFT_INSTALL_CONFIG=OFF -DALSOFT_INSTALL_HRTF_DATA=OFF -DALSOFT_INSTALL_AMBDEC_PRESETS=OFF \
        -DALSOFT_INSTALL_EXAMPLES=OFF -DALSOFT_INSTALL_UTILS=OFF -DALSOFT_UPDATE_BUILD_VERSION=OFF \
        -DALSOFT_EAX=OFF -DALSOFT_STATIC_LIBGCC=ON -DALSOFT_STATIC_STDCXX=ON -DALSOFT_STATIC_WINPTHREAD=ON
    kelvo_mingw_step "$work/openal-soft.log" cmake --build "$work/openal-soft/build" -j"$jobs"
    kelvo_mingw_step "$work/openal-soft.log" cmake --install "$work/openal-soft/build"

    echo "  freeglut"
    kelvo_mingw_step "$work/freeglut.log" cmake -S "$work/freeglut" -B "$work/freeglut/build" "${cmake_common[@]}" \
        -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=OFF
    kelvo_mingw_step "$work/freeglut.log" cmake --build "$work/freeglut/build" -j"$jobs"
    kelvo_mingw_step "$work/freeglut.log" cmake --install "$work/freeglut/build"

    echo "  GLEW"
    kelvo_mingw_step "$work/glew.log" cmake -S "$work/glew/build/cmake" -B "$work/glew/build-mingw" "${cmake_common[@]}" \
        -DBUILD_UTILS=OFF
    kelvo_mingw_step "$work/glew.log" cmake --build "$work/glew/build-mingw" -j"$jobs"
    kelvo_mingw_step "$work/glew.log" cmake --install "$work/glew/build-mingw"

    # freealut's own CMake project predates what CMake accepts today; it is
    # eleven C files, compiled here directly with what its configure finds on
    # Windows.
    echo "  freealut"
    mkdir -p "$prefix/bin" "$prefix/lib" "$prefix/include/AL"
    kelvo_mingw_step "$work/freealut.log" x86_64-w64-mingw32-gcc-posix -O2 -shared -static-libgcc \
        -DALUT_BUILD_LIBRARY -DHAVE_STDINT_H=1 -DHAVE_STAT=1 -DHAVE_SLEEP=1 -DHAVE_WINDOWS_H=1 \
        -DHAVE___ATTRIBUTE__=1 -I"$work/freealut/include" -I"$prefix/include" \
        "$work"/freealut/src/*.c -L"$prefix/lib" -lOpenAL32 \
        -o "$prefix/bin/alut.dll" -Wl,--out-implib,"$prefix/lib/libalut.dll.a"
    cp "$work/freealut/include/AL/alut.h" "$prefix/include/AL/"

    # zlib and libpng write the screenshots. Both are static libraries linked
    # into kelvo.exe, so the release carries no DLL of theirs. zlib is
    # fifteen C files: its CMake project would also make a DLL, which the
    # game's search for zlib could pick up instead.
    echo "  zlib"
    mkdir -p "$work/zlib/build"
    local zlib_source
    for zlib_source in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
        inftrees trees uncompr zutil; do
        kelvo_mingw_step "$work/zlib.log" x86_64-w64-mingw32-gcc-posix -O2 \
            -c "$work/zlib/$zlib_source.c" -o "$work/zlib/build/$zlib_source.o"
    done
    kelvo_mingw_step "$work/zlib.log" x86_64-w64-mingw32-ar rcs "$prefix/lib/libz.a" "$work"/zlib/build/*.o
    cp "$work/zlib/zlib.h" "$work/zlib/zconf.h" "$prefix/include/"

    echo "  libpng"
    kelvo_mingw_step "$work/libpng.log" cmake -S "$work/libpng1.6" -B "$work/libpng1.6/build" "${cmake_common[@]}" \
        -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF \
        -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include"
    kelvo_mingw_step "$work/libpng.log" cmake --build "$work/libpng1.6/build" -j"$jobs"
    kelvo_mingw_step "$work/libpng.log" cmake --install "$work/libpng1.6/build"

    # GoogleTest for the Windows test programs, from Debian's googletest
    # package (the same sources the Linux build links).
    echo "  GoogleTest"
    kelvo_mingw_step "$work/googletest.log" cmake -S /usr/src/googletest -B "$work/googletest" "${cmake_common[@]}" \
        -DBUILD_GMOCK=OFF
    kelvo_mingw_step "$work/googletest.log" cmake --build "$work/googletest" -j"$jobs"
    kelvo_mingw_step "$work/googletest.log" cmake --install "$work/googletest"

    rm -rf "$work"
    touch "$prefix/.complete"
    echo "Windows libraries built in $((SECONDS - started)) s"
}
