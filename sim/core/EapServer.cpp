#include "sim/core/EapServer.h"

#include <algorithm>

#include "sim/core/ApCrypto.h"
#include "sim/core/EapSimulation.h"

namespace hxsim {
namespace {

using Bytes = std::vector<uint8_t>;
using namespace eapsim;

Bytes Label(const char* text) { return Bytes(text, text + std::char_traits<char>::length(text)); }

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

void PutText(Bytes& out, const std::string& text) {
    const size_t n = std::min<size_t>(text.size(), 255);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), text.begin(), text.begin() + n);
}

// Reads the fields of a method message in order, never past its end.
class FieldReader {
public:
    FieldReader(const uint8_t* p, int n) : p_(p), n_(n) {}
    bool Fixed(Bytes& out, int size) {
        if (n_ - i_ < size) return false;
        out.assign(p_ + i_, p_ + i_ + size);
        i_ += size;
        return true;
    }
    bool Text(std::string& out) {
        if (n_ - i_ < 1) return false;
        const int size = p_[i_];
        if (n_ - i_ - 1 < size) return false;
        out.assign(reinterpret_cast<const char*>(p_ + i_ + 1), size);
        i_ += 1 + size;
        return true;
    }

private:
    const uint8_t* p_;
    int n_;
    int i_ = 0;
};

Bytes EapolWrap(const Bytes& eap) {
    Bytes frame(kEapolHeaderSize + eap.size());
    frame[0] = kEapolVersion;
    frame[1] = kEapolEapPacket;
    frame[2] = static_cast<uint8_t>(eap.size() >> 8);
    frame[3] = static_cast<uint8_t>(eap.size());
    std::copy(eap.begin(), eap.end(), frame.begin() + kEapolHeaderSize);
    return frame;
}

}  // namespace

EapServer::EapServer(const Scenario& world, int retransmitMs, std::deque<Bytes>& outbox)
    : world_(world), retransmitMs_(retransmitMs > 0 ? retransmitMs : 1000), outbox_(outbox) {}

void EapServer::Start(Millis now) {
    state_ = State::WaitIdentity;
    identity_.clear();
    masterKey_.clear();
    outcome_.clear();
    SendRequest({kEapTypeIdentity}, now);
}

void EapServer::SendRequest(Bytes typeAndData, Millis now) {
    ++identifier_;
    const size_t length = kEapHeaderSize + typeAndData.size();
    Bytes eap{kEapRequest, identifier_, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
    eap.insert(eap.end(), typeAndData.begin(), typeAndData.end());
    lastRequest_ = EapolWrap(eap);
    outbox_.push_back(lastRequest_);
    lastSent_ = now;
}

void EapServer::SendFinal(uint8_t code, const std::string& outcome) {
    outbox_.push_back(EapolWrap({code, identifier_, 0, kEapHeaderSize}));
    state_ = code == kEapSuccess ? State::Succeeded : State::Failed;
    outcome_ = outcome;
}

const EapUser* EapServer::FindUser(const std::string& identity) const {
    for (const EapUser& user : world_.users)
        if (user.identity == identity) return &user;
    return nullptr;
}

void EapServer::OnEapPacket(const uint8_t* frame, int length, Millis now) {
    if (frame == nullptr || length < kEapolHeaderSize + kEapHeaderSize + 1) return;
    const int bodyLength = (frame[2] << 8) | frame[3];
    if (bodyLength + kEapolHeaderSize > length) return;
    const uint8_t* eap = frame + kEapolHeaderSize;
    const int eapLength = (eap[2] << 8) | eap[3];
    if (eapLength > bodyLength || eapLength < kEapHeaderSize + 1) return;
    if (eap[0] != kEapResponse || eap[1] != identifier_) return;
    const uint8_t type = eap[4];
    const uint8_t* data = eap + 5;
    const int dataLength = eapLength - 5;

    if (state_ == State::WaitIdentity && type == kEapTypeIdentity) {
        identity_.assign(reinterpret_cast<const char*>(data), dataLength);
        serverNonce_ = crypto::NonceBytes(kNonceSize);
        Bytes hello{kEapTypeSimulated, kMethodUnspecified, kOpServerHello};
        hello.insert(hello.end(), serverNonce_.begin(), serverNonce_.end());
        PutText(hello, world_.server.certificateSubject);
        PutText(hello, world_.server.certificateIssuer);
        state_ = State::WaitMethod;
        SendRequest(hello, now);
    } else if (state_ == State::WaitMethod && type == kEapTypeNak) {
        SendFinal(kEapFailure, "station refused the method");
    } else if (state_ == State::WaitMethod && type == kEapTypeSimulated) {
        OnMethodResponse(data, dataLength, now);
    } else if (state_ == State::WaitAck && type == kEapTypeSimulated && dataLength >= 2 && data[1] == kOpClientAck) {
        SendFinal(kEapSuccess, "authenticated " + provingIdentity_);
    }
}

void EapServer::OnMethodResponse(const uint8_t* data, int length, Millis now) {
    if (length < 2) return SendFinal(kEapFailure, "short method message");
    const uint8_t method = data[0];
    const uint8_t op = data[1];
    FieldReader in(data + 2, length - 2);
    Bytes clientNonce, proof;
    if (method == kMethodTls && op == kOpClientTls) {
        std::string subject, issuer;
        if (!in.Fixed(clientNonce, kNonceSize) || !in.Text(subject) || !in.Text(issuer) || !in.Fixed(proof, kProofSize))
            return SendFinal(kEapFailure, "malformed TLS message");
        const EapUser* user = FindUser(identity_);
        if (user == nullptr || !user->allowTls) return SendFinal(kEapFailure, "no TLS user " + identity_);
        if (subject != user->certificateSubject) return SendFinal(kEapFailure, "certificate is not the user's");
        const CertificateSpec* cert = nullptr;
        for (const CertificateSpec& c : world_.certificates)
            if (c.store == "MY" && c.subject == subject && c.issuer == issuer && c.hasPrivateKey) cert = &c;
        if (cert == nullptr) return SendFinal(kEapFailure, "unknown certificate");
        secret_.assign(cert->key.begin(), cert->key.end());
        provingIdentity_ = identity_;
    } else if (method == kMethodPeap && op == kOpClientPeap) {
        std::string inner;
        if (!in.Fixed(clientNonce, kNonceSize) || !in.Text(inner) || !in.Fixed(proof, kProofSize))
            return SendFinal(kEapFailure, "malformed PEAP message");
        const EapUser* user = FindUser(inner);
        if (user == nullptr || !user->allowPeap) return SendFinal(kEapFailure, "no PEAP user " + inner);
        secret_ = crypto::Sha256(Bytes(user->password.begin(), user->password.end()));
        provingIdentity_ = inner;
    } else {
        return SendFinal(kEapFailure, "unexpected method message");
    }
    const Bytes who(provingIdentity_.begin(), provingIdentity_.end());
    const Bytes expected = crypto::HmacSha256(secret_, Concat({Label(kClientProofLabel), serverNonce_, clientNonce, who}));
    if (expected != proof) return SendFinal(kEapFailure, "proof does not verify for " + provingIdentity_);
    clientNonce_ = clientNonce;
    masterKey_ = crypto::HmacSha256(secret_, Concat({Label(kMasterKeyLabel), serverNonce_, clientNonce_}));
    const Bytes serverProof =
        crypto::HmacSha256(secret_, Concat({Label(kServerProofLabel), serverNonce_, clientNonce_, who}));
    Bytes finished{kEapTypeSimulated, method, kOpServerFinished};
    finished.insert(finished.end(), serverProof.begin(), serverProof.end());
    state_ = State::WaitAck;
    SendRequest(finished, now);
}

std::optional<Millis> EapServer::NextRetransmit() const {
    if (state_ == State::Succeeded || state_ == State::Failed) return std::nullopt;
    return lastSent_ + retransmitMs_;
}

void EapServer::Advance(Millis now) {
    if (!NextRetransmit() || now < *NextRetransmit()) return;
    outbox_.push_back(lastRequest_);
    lastSent_ = now;
}

}  // namespace hxsim
