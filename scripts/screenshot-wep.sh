#!/usr/bin/env bash
# The picture of the Encryption page with stored WEP keys (shown as stars) that the README
# shows beside the tour's pictures, into docs/screenshots/encryption-wep.png: the utility
# starts on a registry holding a WEP setting for the WEP-Lab network. Needs a built
# build/win64.
set -eu
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
KEY='HKCU\Software\Tessaro\HX88UUtil'

# val <sub-key or ""> <name> <REG_SZ|REG_DWORD> <data>
val() {
    local key=$KEY
    [ -n "$1" ] && key="$KEY\\$1"
    hx_wine reg add "$key" /v "$2" /t "$3" /d "$4" /f </dev/null >/dev/null 2>&1
}

hx_wine_setup build/win64
hx_wine reg delete "$KEY" /f </dev/null >/dev/null 2>&1 || true
val "" WepKeyFormat REG_DWORD 1
val LastSetting SSID REG_SZ WEP-Lab
val LastSetting NetworkType REG_DWORD 1
val LastSetting WEPStatus REG_DWORD 0
val LastSetting AuthenticationMode REG_DWORD 0
val LastSetting WEPKeyLength REG_DWORD 64
val LastSetting WEPKey64_0 REG_SZ "12 34 56 78 90"
hx_wine_teardown

scripts/screenshot.sh encryption docs/screenshots/encryption-wep.png
