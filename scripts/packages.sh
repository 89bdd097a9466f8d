# Sourced: installs what the build and the tests need on a fresh Debian 12 machine, as root
# or through sudo. Packages already present are not asked for again.
#   hx_install_packages     the native tools, MinGW-w64, 64-bit Wine, Xvfb, NSIS, ...
#   hx_can_run_32bit        true when this machine executes 32-bit x86 code
#   hx_install_wine32       the i386 architecture and Debian's 32-bit Wine beside the 64-bit one
HX_PACKAGES=(
    cmake ninja-build g++ binutils clang libclang-rt-14-dev pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev libgcrypt20-dev libssl-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libgcrypt-mingw-w64-dev
    wine wine64 xvfb xauth xdotool fonts-wine imagemagick netpbm x11-apps nsis
)

hx_sudo() {
    if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

hx_missing_packages() {  # hx_missing_packages <package...>: those not installed
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

hx_apt_install() {  # hx_apt_install <package...>
    echo "Installing: $*"
    hx_sudo apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive hx_sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

hx_install_packages() {
    local missing
    missing=$(hx_missing_packages "${HX_PACKAGES[@]}")
    [ -z "$missing" ] && return 0
    # shellcheck disable=SC2086
    hx_apt_install $missing
}

# Whether the kernel runs 32-bit x86 programs, asked of a program rather than guessed from
# uname: a tiny static 32-bit program of our own that does nothing but exit with status 32.
# Some kernels of the machines we run on have no 32-bit support; exec then fails.
hx_can_run_32bit() {
    local dir status
    dir=$(mktemp -d)
    cat >"$dir/exit32.s" <<'EOF'
    .globl _start
_start:
    movl $1, %eax       # exit
    movl $32, %ebx      # with status 32
    int $0x80
EOF
    if as --32 "$dir/exit32.s" -o "$dir/exit32.o" 2>/dev/null &&
        ld -m elf_i386 "$dir/exit32.o" -o "$dir/exit32" 2>/dev/null; then
        "$dir/exit32" 2>/dev/null
        status=$?
    else
        status=-1
    fi
    rm -rf "$dir"
    [ "$status" -eq 32 ]
}

# Debian's 32-bit Wine beside the 64-bit one: a 64-bit prefix then runs 32-bit programs with
# /usr/lib/wine/wine. Only asked for where the machine executes 32-bit code.
hx_install_wine32() {
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "Adding the i386 architecture"
        hx_sudo dpkg --add-architecture i386 || return 1
    fi
    [ -z "$(hx_missing_packages wine32:i386)" ] || hx_apt_install wine32:i386 || return 1
    /usr/lib/wine/wine --version >/dev/null 2>&1
}
