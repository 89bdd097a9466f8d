// A station of the tests' own for the access point's handshakes: the supplicant side of
// the WPA 4-way and group key handshakes and of the simulated EAP method, written apart
// from the simulator's code (straight on libgcrypt), so that the two check each other.
#pragma once

#include <gcrypt.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/LittleEndian.h"
#include "adapter/VuvavoApi.h"
#include "auth/SupplicantRecords.h"
#include "sim/EapolTransport.h"

namespace simtest {

using Bytes = std::vector<uint8_t>;

inline Bytes Mac(int algo, const Bytes& key, const Bytes& data) {
    gcry_md_hd_t h;
    gcry_md_open(&h, algo, GCRY_MD_FLAG_HMAC);
    gcry_md_setkey(h, key.data(), key.size());
    gcry_md_write(h, data.data(), data.size());
    const unsigned char* d = gcry_md_read(h, algo);
    Bytes out(d, d + gcry_md_get_algo_dlen(algo));
    gcry_md_close(h);
    return out;
}

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    size_t size = 0;
    for (const auto& p : parts) size += p.size();
    Bytes out(size);
    auto at = out.begin();
    for (const auto& p : parts) at = std::copy(p.begin(), p.end(), at);
    return out;
}

inline Bytes Pbkdf2(const std::string& pass, const std::string& ssid) {
    Bytes out(32);
    gcry_kdf_derive(pass.data(), pass.size(), GCRY_KDF_PBKDF2, GCRY_MD_SHA1, ssid.data(), ssid.size(), 4096, 32,
                    out.data());
    return out;
}

class TestStation {
public:
    explicit TestStation(hx::AdapterHandle& adapter) : adapter_(adapter) {}

    Bytes Receive(int timeoutMs = 50) {
        unsigned char frame[2048];
        const int n = HxSimReceiveEapol(&adapter_, frame, sizeof frame, timeoutMs);
        return n > 0 ? Bytes(frame, frame + n) : Bytes();
    }
    int Send(const Bytes& frame) { return HxSimSendEapol(&adapter_, frame.data(), static_cast<int>(frame.size())); }

    // Runs the 4-way and group handshakes from a received message 1 on; installs the keys
    // (or, with corruptKeys, keys with one bit flipped). Returns false when the access
    // point stops answering.
    // message1: answer this message 1 instead of the next one received.
    bool Handshake(const Bytes& pmk, const Bytes& wpaElement, bool corruptKeys = false,
                   const Bytes* message1 = nullptr) {
        Bytes m1 = message1 ? *message1 : NextKeyFrame();
        if (m1.empty()) return false;
        const int version = Info(m1) & 7;
        const Bytes anonce(m1.begin() + 17, m1.begin() + 49);
        Bytes snonce(32);
        gcry_create_nonce(snonce.data(), 32);
        unsigned char own[6], ap[6];
        GetNICAdapterMAC(&adapter_, own);
        QueryWL_BSSID(&adapter_, ap);
        const Bytes a(ap, ap + 6), s(own, own + 6);
        const Bytes ptk = Prf(pmk, Cat({std::min(a, s), std::max(a, s), std::min(anonce, snonce), std::max(anonce, snonce)}));
        kck_.assign(ptk.begin(), ptk.begin() + 16);
        kek_.assign(ptk.begin() + 16, ptk.begin() + 32);
        const int tkLength = (m1[7] << 8) | m1[8];
        Send(Sealed(version, 0x0108 | version, Counter(m1), snonce, wpaElement));

        Bytes m3 = NextKeyFrame();
        if (m3.empty() || !MicOk(version, m3)) return false;
        Send(Sealed(version, 0x0108 | version, Counter(m3), Bytes(32), {}));
        Bytes tk(ptk.begin() + 32, ptk.begin() + 32 + tkLength);
        if (corruptKeys) tk[0] ^= 1;
        InstallKey(tk, 0, true);

        Bytes g1 = NextKeyFrame();
        if (g1.empty() || !MicOk(version, g1)) return false;
        const int index = (Info(g1) >> 4) & 3;
        const int dataLength = (g1[97] << 8) | g1[98];
        const Bytes wrapped(g1.begin() + 99, g1.begin() + 99 + dataLength);
        Bytes gtk = version == 1 ? Rc4(Bytes(g1.begin() + 49, g1.begin() + 65), wrapped) : Unwrap(wrapped);
        Send(Sealed(version, 0x0300 | version | (index << 4), Counter(g1), Bytes(32), {}));
        if (corruptKeys) gtk[0] ^= 1;
        InstallKey(gtk, index, false);
        return true;
    }

    Bytes NextKeyFrame() {
        for (int i = 0; i < 20; ++i) {
            Bytes f = Receive();
            if (f.size() >= 99 && f[1] == 3) return f;
        }
        return {};
    }

private:
    static int Info(const Bytes& f) { return (f[5] << 8) | f[6]; }
    static Bytes Counter(const Bytes& f) { return Bytes(f.begin() + 9, f.begin() + 17); }

    static Bytes Prf(const Bytes& key, const Bytes& data) {
        Bytes out;
        for (uint8_t i = 0; out.size() < 64; ++i) {
            const Bytes block = Mac(GCRY_MD_SHA1, key, Cat({Text("Pairwise key expansion"), Bytes{0}, data, Bytes{i}}));
            out.insert(out.end(), block.begin(), block.end());
        }
        out.resize(64);
        return out;
    }

    Bytes MicOf(int version, Bytes frame) const {
        std::fill(frame.begin() + 81, frame.begin() + 97, 0);
        Bytes mic = Mac(version == 1 ? GCRY_MD_MD5 : GCRY_MD_SHA1, kck_, frame);
        mic.resize(16);
        return mic;
    }

    bool MicOk(int version, const Bytes& frame) const {
        return MicOf(version, frame) == Bytes(frame.begin() + 81, frame.begin() + 97);
    }

    Bytes Sealed(int version, int info, const Bytes& counter, const Bytes& nonce, const Bytes& data) const {
        Bytes f(99 + data.size(), 0);
        f[0] = 1;
        f[1] = 3;
        f[2] = static_cast<uint8_t>((f.size() - 4) >> 8);
        f[3] = static_cast<uint8_t>(f.size() - 4);
        f[4] = 254;
        f[5] = static_cast<uint8_t>(info >> 8);
        f[6] = static_cast<uint8_t>(info);
        std::copy(counter.begin(), counter.end(), f.begin() + 9);
        std::copy(nonce.begin(), nonce.end(), f.begin() + 17);
        f[97] = static_cast<uint8_t>(data.size() >> 8);
        f[98] = static_cast<uint8_t>(data.size());
        std::copy(data.begin(), data.end(), f.begin() + 99);
        const Bytes mic = MicOf(version, f);
        std::copy(mic.begin(), mic.end(), f.begin() + 81);
        return f;
    }

    Bytes Rc4(const Bytes& iv, const Bytes& data) const {
        gcry_cipher_hd_t h;
        gcry_cipher_open(&h, GCRY_CIPHER_ARCFOUR, GCRY_CIPHER_MODE_STREAM, 0);
        const Bytes key = Cat({iv, kek_});
        gcry_cipher_setkey(h, key.data(), key.size());
        Bytes skip(256), out(data.size());
        gcry_cipher_decrypt(h, skip.data(), 256, nullptr, 0);
        gcry_cipher_decrypt(h, out.data(), out.size(), data.data(), data.size());
        gcry_cipher_close(h);
        return out;
    }

    Bytes Unwrap(const Bytes& data) const {
        gcry_cipher_hd_t h;
        gcry_cipher_open(&h, GCRY_CIPHER_AES128, GCRY_CIPHER_MODE_AESWRAP, 0);
        gcry_cipher_setkey(h, kek_.data(), 16);
        Bytes out(data.size() - 8);
        gcry_cipher_decrypt(h, out.data(), out.size(), data.data(), data.size());
        gcry_cipher_close(h);
        return out;
    }

    void InstallKey(const Bytes& key, int index, bool pairwise) {
        using namespace hx;
        Bytes record(key.size() + kNdisKeyRecordExtra, 0);
        PutLe32(&record[NdisKeyOffset::Length], static_cast<uint32_t>(record.size()));
        PutLe32(&record[NdisKeyOffset::KeyIndex],
                pairwise ? kNdisKeyTransmitPairwiseRsc : (kNdisKeyRscValid | static_cast<uint32_t>(index)));
        PutLe32(&record[NdisKeyOffset::KeyLength], static_cast<uint32_t>(key.size()));
        QueryWL_BSSID(&adapter_, record.data() + NdisKeyOffset::Bssid);
        std::copy(key.begin(), key.end(), record.begin() + NdisKeyOffset::KeyMaterial);
        WriteOid(&adapter_, hx::kOidAddKey, record.data(), static_cast<int>(record.size()));
    }

    hx::AdapterHandle& adapter_;
    Bytes kck_, kek_;
};

}  // namespace simtest
