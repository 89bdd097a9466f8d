# Sourced by scripts/test.sh: the simulated air read by a network analyser none of us wrote.
# For each kind of network, hxair (native: the simulated world and our supplicant in one
# process) joins once and records the air into a pcap file. tshark, given the pass phrase
# (or, for 802.1X, the pairwise master key as a "wpa-psk" key), must number the 4-way
# handshake's messages 1 to 4, mark no frame malformed, and decrypt the group key to the very
# key the simulator installed; given a wrong key it must decrypt nothing.
#
# Where tshark 4.0 falls short of a whole check, the check is as whole as it allows:
# - WPA (version 1) key data has no field of its own: the group key is read from the
#   "Decrypted ... keydata" block of its hex dump;
# - with AES, tshark reads that unwrapped WPA group key as elements and marks the group
#   message malformed (a bare key is what the WPA descriptor carries): those frames are
#   exempt from the malformed check;
# - RC4 key data (key information version 1, TKIP) is decrypted only for as many bytes as
#   the Key Length field gives (32): for WPA2 with TKIP the decrypted bytes, which end within
#   the group key, must begin the plain key data exactly (the network's RSN element, the
#   GTK KDE, the key).
HX_AIR=build/native/bin/hxair
HX_AIR_DIR="$RESULTS/air"

air_read() {  # air_read <capture> <key type> <key> <tshark arguments...>
    local capture=$1 type=$2 key=$3
    shift 3
    tshark -r "$capture" -o wlan.enable_decryption:TRUE -o "uat:80211_keys:\"$type\",\"$key\"" "$@" 2>/dev/null
}

# The decrypted key data of every EAPOL-Key frame, one hex line each, from the hex dumps.
air_decrypted() {  # air_decrypted <capture> <key type> <key>
    air_read "$@" -Y eapol -x | awk '
        /^Decrypted .* keydata/ { on = 1; hex = ""; next }
        on && /^[0-9a-f][0-9a-f][0-9a-f][0-9a-f]  / {
            line = substr($0, 7); sub(/   .*/, "", line); gsub(/ /, "", line); hex = hex line; next }
        on { print hex; on = 0 }
        END { if (on) print hex }'
}

# The plain key data a group key travels in: WPA the bare key, RSN a GTK KDE.
air_kde() {  # air_kde <index> <gtk hex>
    printf 'dd%02x000fac01%02x00%s' $((6 + ${#2} / 2)) "$1" "$2"
}

# One kind: hxair's join, then tshark with the right and with a wrong key.
# protocol: wpa, rsn, or rsn-rc4 (RSN with TKIP: RC4 key data, which tshark shows no field of).
air_kind() {  # air_kind <name> <wpa|rsn|rsn-rc4> <ssid> <pass phrase | "pmk"> <hxair arguments...>
    local name=$1 protocol=$2 ssid=$3 secret=$4 capture="$HX_AIR_DIR/$1.pcap" out type key wrong
    shift 4
    out=$("$HX_AIR" --capture "$capture" --ssid "$ssid" "$@") || { echo "hxair failed: $out"; return 1; }
    echo "$out"
    if [ "$secret" = pmk ]; then
        type=wpa-psk key=$(sed -n 's/^pmk: //p' <<<"$out")
        wrong=$(printf '%064d' 7)
    else
        type=wpa-pwd key="$secret:$ssid" wrong="not-$secret:$ssid"
    fi
    local rows numbers malformed gtks element blocks expected found block
    # Every frame: descriptor type, key type (1 pairwise), key information version, message
    # number, GTK of a KDE, malformed marks, expert severities.
    rows=$(air_read "$capture" "$type" "$key" -T fields -E occurrence=a -e eapol.keydes.type \
        -e wlan_rsna_eapol.keydes.key_info.key_type -e wlan_rsna_eapol.keydes.key_info.keydes_version \
        -e wlan_rsna_eapol.keydes.msgnr -e wlan.rsn.ie.gtk_kde.gtk -e _ws.malformed -e _ws.expert.severity)
    numbers=$(awk -F'\t' '$2 == 1 && $4 != "" { printf "%s ", $4 }' <<<"$rows")
    echo "4-way message numbers: $numbers"
    [[ "$numbers" == *"1 2 3 4 " ]] || { echo "the 4-way handshake does not end 1 2 3 4"; return 1; }
    malformed=$(awk -F'\t' '($6 != "" || $7 ~ /8388608/) && !($1 == 254 && $2 == 0 && $3 == 2) { print NR }' <<<"$rows")
    [ -z "$malformed" ] || { echo "malformed or in error: frames" $malformed; return 1; }

    gtks=$(sed -n 's/^gtk: [0-9]* //p' <<<"$out")
    [ -n "$gtks" ] || { echo "the simulator installed no group key"; return 1; }
    element=$(sed -n 's/^element: //p' <<<"$out")
    blocks=$(air_decrypted "$capture" "$type" "$key")
    echo "decrypted key data:"
    echo "$blocks"
    while read -r index gtk; do
        # What this key travels in: WPA the bare key; RSN a KDE, after the element in message 3.
        if [ "$protocol" = wpa ]; then
            expected=("$gtk")
        else
            expected=("$element$(air_kde "$index" "$gtk")" "$(air_kde "$index" "$gtk")")
        fi
        found=""
        for block in $blocks; do
            for e in "${expected[@]}"; do
                # tshark's block holds the plain data (RSN: with padding), or its start (RC4).
                if [ ${#block} -ge 32 ] && { [[ "$block" == "$e"* ]] || [[ "$e" == "$block"* ]]; }; then found=1; fi
            done
        done
        [ -n "$found" ] || { echo "tshark did not decrypt group key $index ($gtk)"; return 1; }
    done < <(sed -n 's/^gtk: //p' <<<"$out")
    if [ "$protocol" = rsn ]; then
        [ "$(awk -F'\t' '$5 != "" { print $5 }' <<<"$rows" | sort -u)" = "$(sort -u <<<"$gtks")" ] ||
            { echo "wlan.rsn.ie.gtk_kde.gtk is not the installed key"; return 1; }
    fi
    blocks=$(air_decrypted "$capture" "$type" "$wrong")
    [ -z "$blocks" ] || { echo "a wrong key decrypted: $blocks"; return 1; }
}

tshark_stage() {
    local scenario="$HX_AIR_DIR/wpa2-tkip.scenario"
    mkdir -p "$HX_AIR_DIR"
    # The default world has no WPA2 network with TKIP: one of its own.
    cat >"$scenario" <<'EOF2'
[adapter]
mac = 00:48:56:88:00:01
rates = 82 84 8B 96 0C 12 18 24 30 48 60 6C
[nic]
name = \DEVICE\{8F3A6B20-88C4-4856-B088-0D4E5A6C9F02}
instance = 0007
device-id = usb\vid_4856&pid_0088
adapter = yes
[network]
ssid = WPA2-TKIP
bssid = 06:A0:88:00:00:21
channel = 4
rssi = -58
security = rsn-psk
cipher = tkip
passphrase = wpa2-tkip-phrase
EOF2
    check air/wpa-psk-tkip air_kind wpa-psk-tkip wpa WPA-TKIP-Home tkip-passphrase --auth 4 --encryption 4 \
        --passphrase tkip-passphrase
    check air/wpa-psk-aes air_kind wpa-psk-aes wpa WPA-AES-Office aes-passphrase --auth 4 --encryption 6 \
        --passphrase aes-passphrase
    check air/wpa2-psk-ccmp air_kind wpa2-psk-ccmp rsn RSN-Only rsn-passphrase --auth 7 --encryption 6 \
        --passphrase rsn-passphrase
    # With a renewal of the group key, so that the group message shows 24 of its 32 bytes.
    check air/wpa2-psk-tkip air_kind wpa2-psk-tkip rsn-rc4 WPA2-TKIP wpa2-tkip-phrase --auth 7 --encryption 4 \
        --passphrase wpa2-tkip-phrase --scenario "$scenario" --rekey
    check air/wpa2-8021x air_kind wpa2-8021x rsn WPA2-Enterprise pmk --auth 6 --encryption 6 --peap hxuser hx-password
    check air/group-key-renewal air_kind group-key-renewal rsn RSN-Only rsn-passphrase --auth 7 --encryption 6 \
        --passphrase rsn-passphrase --rekey
}

stage_start "the simulated air, read by tshark"
if ! command -v tshark >/dev/null; then
    check tshark-installed false
elif [ ! -x "$HX_AIR" ]; then
    check hxair-built false
else
    tshark_stage
fi
stage_end "tshark stage"
