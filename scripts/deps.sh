# Shared by scripts/play and scripts/test: installs the Debian packages a
# command needs, only when some are missing, so a second run is quick.
# Usage: kelvo_install_packages pkg...
kelvo_install_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        return 0
    fi
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    echo "Installing: ${missing[*]}"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

KELVO_BUILD_PACKAGES=(build-essential cmake pkg-config
    libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri freeglut3-dev libglew-dev libx11-dev
    libopenal-dev libalut-dev libopenal-data libpng-dev libsdl2-dev)
KELVO_TEST_PACKAGES=(googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
    xvfb xauth xdotool imagemagick x11-utils python3 python3-pil fonts-dejavu-core
    dpkg-dev file desktop-file-utils groff-base lintian appstream
    # OpenAL Soft's PulseAudio client draws from the C library's rand(): the
    # end-to-end replay check plays back beside it.
    libpulse0)

# The Windows release (scripts/windows): cross compilers, wine to run its
# tests, and what the libraries' source builds use.
KELVO_WINDOWS_PACKAGES=(mingw-w64 wine wine64 cmake ninja-build dpkg-dev xz-utils bzip2 patch
    googletest nsis)

# Configure (first time only) and build one build directory.
# Usage: kelvo_build DIR [cmake options...]
kelvo_build() {
    local dir="$1"
    shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S . -B "$dir" "$@" >/dev/null
    fi
    cmake --build "$dir" -j"$(nproc)"
}

# Releases carry the time of the last commit, not of the build, so two
# builds of one commit give the same bytes. A tree without git history must
# name the time itself.
kelvo_export_source_date() {
    if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
        SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) || {
            echo "Not a git checkout: set SOURCE_DATE_EPOCH to the release's time" >&2
            return 1
        }
    fi
    export SOURCE_DATE_EPOCH
}

# Gives every file and folder under DIR the release's time and plain
# permissions (rwxr-xr-x for programs and folders, rw-r--r-- for the rest),
# whatever the checkout's umask and times were.
# Usage: kelvo_stamp_tree DIR
kelvo_stamp_tree() {
    chmod -R u=rwX,go=rX "$1"
    find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}
