# Sourced: installs what the build and the tests need on a fresh Debian 12 machine, as root
# or through sudo. Packages already present are not asked for again.
#   hx_install_packages     the native tools, MinGW-w64, 64-bit Wine, Xvfb, NSIS, ...
#   hx_can_run_32bit        0 when this machine executes 32-bit x86 code, 1 when it does not,
#                           2 when the probe that asks could not be built
#   hx_emulate_32bit        32-bit x86 programs run by qemu-i386 (binfmt_misc), where the
#                           kernel cannot run them; hx_emulate_32bit_end undoes what it did
#   hx_install_wine32       the i386 architecture and Debian's 32-bit Wine beside the 64-bit one;
#                           status 3 when it failed after the package mirror's indexes could
#                           not all be fetched (HX_APT_UPDATE_FAILED)
HX_PACKAGES=(
    cmake ninja-build g++ binutils clang libclang-rt-14-dev pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev libgcrypt20-dev libssl-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libgcrypt-mingw-w64-dev
    wine wine64 xvfb xauth xdotool fonts-wine imagemagick netpbm x11-apps nsis
    tshark
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

# Non-interactive: tshark's package asks whether non-root users may capture, and takes the
# default (no) here; the tests only read capture files.
# A mirror in the middle of a sync fails the index update now and then ("File has unexpected
# size"): the update is tried three times, and the install is tried even when the last update
# failed, since the indexes it did fetch may hold every package asked for; the install
# decides.
hx_apt_install() {  # hx_apt_install <package...>
    local try
    echo "Installing: $*"
    for try in 1 2 3; do
        hx_sudo apt-get update -qq && break
        echo "apt-get update failed (try $try of 3)"
        [ "$try" -lt 3 ] && sleep $((try * 10))
        [ "$try" -lt 3 ] || HX_APT_UPDATE_FAILED=1
    done
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
# Some kernels of the machines we run on have no 32-bit support; exec then fails. A probe
# that cannot be built (as or ld missing or failing) is no answer: status 2.
# HX_FORCE_NO_32BIT=1 answers "cannot" (once the probe is built), to try the emulated path
# on a machine whose kernel runs 32-bit code.
# An i386 entry of binfmt_misc (qemu-i386, perhaps left by a run that was killed) would run
# the probe under the emulator and answer "can": it is switched off while the probe runs.
HX_BINFMT=/proc/sys/fs/binfmt_misc
HX_BINFMT_I386=$HX_BINFMT/qemu-i386

hx_exit32_probe() {  # hx_exit32_probe <dir>: builds <dir>/exit32
    cat >"$1/exit32.s" <<'EOF2'
    .globl _start
_start:
    movl $1, %eax       # exit
    movl $32, %ebx      # with status 32
    int $0x80
EOF2
    as --32 "$1/exit32.s" -o "$1/exit32.o" && ld -m elf_i386 "$1/exit32.o" -o "$1/exit32"
}

hx_can_run_32bit() {
    local dir status paused=""
    dir=$(mktemp -d)
    if ! hx_exit32_probe "$dir" >"$dir/log" 2>&1; then
        echo "The 32-bit probe could not be built:" >&2
        cat "$dir/log" >&2
        rm -rf "$dir"
        return 2
    fi
    if [ -n "${HX_FORCE_NO_32BIT:-}" ]; then
        rm -rf "$dir"
        return 1
    fi
    if grep -qx enabled "$HX_BINFMT_I386" 2>/dev/null; then
        hx_sudo sh -c "echo 0 >$HX_BINFMT_I386" && paused=1
    fi
    "$dir/exit32" 2>/dev/null
    status=$?
    [ -z "$paused" ] || hx_sudo sh -c "echo 1 >$HX_BINFMT_I386"
    rm -rf "$dir"
    [ "$status" -eq 32 ]
}

# 32-bit x86 programs run by Debian's user-mode emulator: binfmt_misc mounted if it is not,
# and qemu-i386 registered for i386 ELF programs unless an entry of that name is there. The
# test command calls hx_emulate_32bit_end when it ends, which removes the registration and
# unmounts binfmt_misc if hx_emulate_32bit made them, leaving the machine as it was.
HX_BINFMT_MOUNTED=""
HX_BINFMT_REGISTERED=""
HX_BINFMT_ENABLED=""
hx_emulate_32bit() {
    local rule dir status did=()
    [ -z "$(hx_missing_packages qemu-user)" ] || hx_apt_install qemu-user || return 1
    [ -e "$HX_BINFMT/register" ] || did+=("mounting binfmt_misc on $HX_BINFMT")
    if [ ! -e "$HX_BINFMT_I386" ]; then
        did+=("registering /usr/bin/qemu-i386 there for 32-bit x86 programs")
    elif ! grep -qx enabled "$HX_BINFMT_I386"; then
        did+=("enabling its qemu-i386 entry")
    fi
    [ ${#did[@]} -eq 0 ] || echo "As root: $(IFS=,; echo "${did[*]}" | sed 's/,/, /g') (undone when the run ends)"
    if [ ! -e "$HX_BINFMT/register" ]; then
        hx_sudo mount -t binfmt_misc binfmt_misc "$HX_BINFMT" || return 1
        HX_BINFMT_MOUNTED=1
    fi
    if [ ! -e "$HX_BINFMT_I386" ]; then
        # i386 ELF executables and shared objects (e_machine 3), the bytes qemu's own table uses
        rule=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        rule+=':\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F'
        hx_sudo sh -c "printf '%s' '$rule' >$HX_BINFMT/register" || return 1
        HX_BINFMT_REGISTERED=1
    elif ! grep -qx enabled "$HX_BINFMT_I386"; then
        hx_sudo sh -c "echo 1 >$HX_BINFMT_I386" || return 1
        HX_BINFMT_ENABLED=1
    fi
    # 32-bit Wine reserves the address space above 2 GB for itself, halving each range it
    # cannot take at once down to 64 KB steps. qemu-i386 gives its guest 4 GB and answers each
    # step with a search for free space, so every 32-bit process spent about 47 s of
    # processor before its program began. A guest of 2 GB and 64 MB (room for qemu's own stack
    # and loader above the 2 GB that programs not large-address-aware use) leaves Wine's walk
    # short: about 5 s. qemu-i386 reads it from the environment of every process it runs.
    export QEMU_RESERVED_VA=0x84000000
    dir=$(mktemp -d)
    hx_exit32_probe "$dir" >/dev/null 2>&1 && "$dir/exit32" 2>/dev/null
    status=$?
    rm -rf "$dir"
    [ "$status" -eq 32 ]
}

hx_emulate_32bit_end() {
    if [ -n "$HX_BINFMT_REGISTERED" ]; then
        hx_sudo sh -c "echo -1 >$HX_BINFMT_I386" && HX_BINFMT_REGISTERED=""
    elif [ -n "$HX_BINFMT_ENABLED" ]; then
        hx_sudo sh -c "echo 0 >$HX_BINFMT_I386" && HX_BINFMT_ENABLED=""
    fi
    if [ -n "$HX_BINFMT_MOUNTED" ]; then
        hx_sudo umount "$HX_BINFMT" && HX_BINFMT_MOUNTED=""
    fi
}

# Debian's 32-bit Wine beside the 64-bit one: a 64-bit prefix then runs 32-bit programs with
# /usr/lib/wine/wine. Asked for where the machine executes 32-bit code, natively or emulated.
hx_install_wine32() {
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "Adding the i386 architecture"
        hx_sudo dpkg --add-architecture i386 || return 1
    fi
    if [ -n "$(hx_missing_packages wine32:i386)" ]; then
        HX_APT_UPDATE_FAILED=""
        hx_apt_install wine32:i386 || { [ -n "$HX_APT_UPDATE_FAILED" ] && return 3; return 1; }
    fi
    /usr/lib/wine/wine --version >/dev/null 2>&1
}
