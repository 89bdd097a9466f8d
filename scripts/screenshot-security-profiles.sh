#!/usr/bin/env bash
# Pictures of the Encryption page (WEP and WPA-PSK), the Profile page with two profiles, the
# profile editor and the About page, into docs/screenshots/. Each picture starts the utility
# on a registry prepared for it. Needs a built build/win64.
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

wep_setting() {
    val "" WepKeyFormat REG_DWORD 1
    val LastSetting SSID REG_SZ WEP-Lab
    val LastSetting NetworkType REG_DWORD 1
    val LastSetting WEPStatus REG_DWORD 0
    val LastSetting AuthenticationMode REG_DWORD 0
    val LastSetting WEPKeyLength REG_DWORD 64
    val LastSetting WEPKey64_0 REG_SZ "12 34 56 78 90"
}

wpa_setting() {
    val LastSetting SSID REG_SZ WPA-TKIP-Home
    val LastSetting NetworkType REG_DWORD 1
    val LastSetting WEPStatus REG_DWORD 4
    val LastSetting AuthenticationMode REG_DWORD 4
    val LastSetting Dot1xPassphrase REG_SZ tkip-passphrase
}

# profile <name> <next or ""> <ssid> <channel> <authentication> <encryption> <pass phrase>
profile() {
    local section="Profile\\$1"
    [ -n "$2" ] && val "$section" ProfileLink REG_SZ "$2"
    val "$section" SSID REG_SZ "$3"
    val "$section" NetworkType REG_DWORD 1
    val "$section" Channel REG_DWORD "$4"
    val "$section" AuthenticationMode REG_DWORD "$5"
    val "$section" WEPStatus REG_DWORD "$6"
    val "$section" Dot1xPassphrase REG_SZ "$7"
    val "$section" WEPKeyLength REG_DWORD 64
    val "$section" WEPDefaultKeyId REG_DWORD 0
    val "$section" Domain REG_DWORD 16
    val "$section" PreambleMode REG_DWORD 2
    val "$section" PowerSaveMode REG_DWORD 0
    val "$section" DesiredRate REG_SZ "02 04 0B 16 0C 12 18 24 30 48 60 6C 00 00 00 00"
}

two_profiles() {
    val "" ProfileLink REG_SZ "TKIP home"
    profile "TKIP home" Lobby WPA-TKIP-Home 11 4 4 tkip-passphrase
    profile Lobby "" Open-Lobby 1 0 1 ""
}

# prepare <function>: a fresh application key with what the function writes.
prepare() {
    hx_wine_setup build/win64
    hx_wine reg delete "$KEY" /f </dev/null >/dev/null 2>&1 || true
    "$1"
    hx_wine_teardown
}
nothing() { :; }

shots=docs/screenshots
prepare wep_setting;  scripts/screenshot.sh encryption "$shots/encryption-wep.png"
prepare wpa_setting;  scripts/screenshot.sh encryption "$shots/encryption-wpa-psk.png"
prepare two_profiles; scripts/screenshot.sh profile "$shots/profile-two-profiles.png"
prepare two_profiles; scripts/screenshot.sh profile "$shots/profile-editor.png" 2 1040
prepare nothing;      scripts/screenshot.sh about "$shots/about.png"
