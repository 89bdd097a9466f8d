# Sourced: installs what the build and the tests need on a fresh Debian 12 machine, as root
# or through sudo. Packages already present are not asked for again.
HX_PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev libgcrypt20-dev libssl-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libgcrypt-mingw-w64-dev
    wine wine64 xvfb xauth xdotool fonts-wine imagemagick netpbm x11-apps nsis
)

hx_install_packages() {
    local missing=()
    local p
    for p in "${HX_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
