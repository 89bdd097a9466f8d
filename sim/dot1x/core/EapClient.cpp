#include "sim/dot1x/core/EapClient.h"

#include <algorithm>
#include <cctype>

#include "sim/core/EapSimulation.h"
#include "sim/dot1x/core/Crypto.h"
#include "sim/dot1x/core/EapolFrame.h"

namespace hxsup {
namespace {

namespace sim = hxsim::eapsim;

std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::span<const uint8_t> Label(const char* label) { return Bytes(std::string_view(label)); }

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Reads the fields of the simulated method's type data in order, never past its end.
class FieldReader {
public:
    explicit FieldReader(std::span<const uint8_t> data) : data_(data) {}
    bool Fixed(std::span<uint8_t> out) {
        if (!ok_ || data_.size() - at_ < out.size()) return ok_ = false;
        std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(at_), out.size(), out.begin());
        at_ += out.size();
        return true;
    }
    bool Text(std::string& out) {
        if (!ok_ || at_ >= data_.size()) return ok_ = false;
        const size_t length = data_[at_++];
        if (data_.size() - at_ < length) return ok_ = false;
        out.assign(reinterpret_cast<const char*>(data_.data()) + at_, length);
        at_ += length;
        return true;
    }

private:
    std::span<const uint8_t> data_;
    size_t at_ = 0;
    bool ok_ = true;
};

void AppendText(std::vector<uint8_t>& out, std::string_view text) {
    out.push_back(static_cast<uint8_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

EapMethod MethodFromName(std::string_view method, std::string_view innerMethod) {
    if (EqualNoCase(method, "TLS")) return EapMethod::Tls;
    if (EqualNoCase(method, "PEAP") && (innerMethod.empty() || EqualNoCase(innerMethod, "MS-CHAPv2")))
        return EapMethod::Peap;
    return EapMethod::Unsupported;
}

EapClient::EapClient(EapSettings settings, EapCredentials credentials)
    : settings_(std::move(settings)), credentials_(std::move(credentials)) {}

std::vector<uint8_t> EapClient::StartFrame() { return BuildEapol(EapolType::Start, {}); }

EapStep EapClient::HandleFrame(std::span<const uint8_t> bytes) {
    const auto eapol = ParseEapol(bytes);
    if (!eapol) return {EapVerdict::Malformed, {}};
    if (eapol->type != sim::kEapolEapPacket) return {EapVerdict::Ignored, {}};
    const auto body = eapol->body;
    if (body.size() < sim::kEapHeaderSize) return {EapVerdict::Malformed, {}};
    const size_t length = size_t{body[2]} << 8 | body[3];
    if (length < sim::kEapHeaderSize || length > body.size()) return {EapVerdict::Malformed, {}};
    const auto packet = body.first(length);
    const uint8_t code = packet[0], identifier = packet[1];

    switch (code) {
    case sim::kEapRequest: {
        if (packet.size() < sim::kEapHeaderSize + 1) return {EapVerdict::Malformed, {}};
        if (lastIdentifier_ == identifier && std::equal(packet.begin(), packet.end(), lastRequest_.begin(),
                                                        lastRequest_.end()))
            return {EapVerdict::Answered, lastReply_};
        auto step = OnRequest(identifier, packet[4], packet.subspan(sim::kEapHeaderSize + 1));
        if (!step.reply.empty()) {
            lastIdentifier_ = identifier;
            lastRequest_.assign(packet.begin(), packet.end());
            lastReply_ = step.reply;
        }
        return step;
    }
    case sim::kEapSuccess:
        // Success counts only once our method has checked the server's proof.
        if (stage_ != Stage::AwaitingSuccess) return {EapVerdict::Ignored, {}};
        masterKey_ = pendingKey_;
        succeeded_ = true;
        stage_ = Stage::Done;
        return {EapVerdict::Succeeded, {}};
    case sim::kEapFailure:
        if (stage_ == Stage::Done) return {EapVerdict::Ignored, {}};
        stage_ = Stage::Failed;
        pendingKey_.reset();
        return {EapVerdict::Failed, {}};
    default:
        return {EapVerdict::Ignored, {}};
    }
}

EapStep EapClient::OnRequest(uint8_t identifier, uint8_t type, std::span<const uint8_t> data) {
    if (type == sim::kEapTypeIdentity) {
        // A request for the identity begins a new exchange.
        stage_ = Stage::Idle;
        pendingKey_.reset();
        masterKey_.reset();
        succeeded_ = false;
        const auto identity = Bytes(settings_.identity);
        return Respond(identifier, sim::kEapTypeIdentity, {identity.begin(), identity.end()}, EapVerdict::Answered);
    }
    if (type != sim::kEapTypeSimulated) return Respond(identifier, sim::kEapTypeNak, {0}, EapVerdict::Declined);
    if (data.size() < 2) return {EapVerdict::Malformed, {}};
    if (data[1] == sim::kOpServerHello) return OnServerHello(identifier, data);
    if (data[1] == sim::kOpServerFinished) return OnServerFinished(identifier, data);
    return {EapVerdict::Ignored, {}};
}

const std::string& EapClient::ProofIdentity() const {
    if (settings_.method == EapMethod::Peap && !settings_.innerIdentity.empty()) return settings_.innerIdentity;
    return settings_.identity;
}

bool EapClient::Secret(std::array<uint8_t, 32>& secret) const {
    if (settings_.method == EapMethod::Peap) return Sha256(Bytes(settings_.password), secret.data());
    if (settings_.method != EapMethod::Tls || !credentials_.privateKey || !credentials_.clientCertificate)
        return false;
    const auto& key = *credentials_.privateKey;
    if (key.size() == secret.size()) {
        std::copy(key.begin(), key.end(), secret.begin());
        return true;
    }
    // A key of another form (one exported from the system's store) is reduced to 32 bytes.
    return Sha256(key, secret.data());
}

EapStep EapClient::OnServerHello(uint8_t identifier, std::span<const uint8_t> data) {
    FieldReader fields(data.subspan(2));
    std::string serverSubject, serverIssuer;
    if (!fields.Fixed(serverNonce_) || !fields.Text(serverSubject) || !fields.Text(serverIssuer))
        return {EapVerdict::Malformed, {}};
    const auto decline = [&] { return Respond(identifier, sim::kEapTypeNak, {0}, EapVerdict::Declined); };
    // A server that does not chain to the root we were given is not one we talk to.
    if (credentials_.trustedRoot && serverIssuer != credentials_.trustedRoot->subject) return decline();
    const std::string& identity = ProofIdentity();
    std::array<uint8_t, 32> secret{};
    if (identity.size() > 255 || !Secret(secret) || !RandomNonce(clientNonce_)) return decline();

    uint8_t proof[32];
    if (!HmacSha256(secret, {Label(sim::kClientProofLabel), serverNonce_, clientNonce_, Bytes(identity)}, proof))
        return decline();
    std::vector<uint8_t> answer;
    if (settings_.method == EapMethod::Tls) {
        answer = {sim::kMethodTls, sim::kOpClientTls};
        answer.insert(answer.end(), clientNonce_.begin(), clientNonce_.end());
        AppendText(answer, credentials_.clientCertificate->subject);
        AppendText(answer, credentials_.clientCertificate->issuer);
    } else {
        answer = {sim::kMethodPeap, sim::kOpClientPeap};
        answer.insert(answer.end(), clientNonce_.begin(), clientNonce_.end());
        AppendText(answer, identity);
    }
    answer.insert(answer.end(), proof, proof + sizeof proof);
    stage_ = Stage::MethodStarted;
    pendingKey_.reset();
    return Respond(identifier, sim::kEapTypeSimulated, std::move(answer), EapVerdict::Answered);
}

EapStep EapClient::OnServerFinished(uint8_t identifier, std::span<const uint8_t> data) {
    const uint8_t ourMethod = settings_.method == EapMethod::Tls ? sim::kMethodTls : sim::kMethodPeap;
    if (stage_ != Stage::MethodStarted || data[0] != ourMethod) return {EapVerdict::Ignored, {}};
    FieldReader fields(data.subspan(2));
    std::array<uint8_t, 32> serverProof{};
    if (!fields.Fixed(serverProof)) return {EapVerdict::Malformed, {}};

    std::array<uint8_t, 32> secret{}, expected{}, key{};
    const auto identity = Bytes(ProofIdentity());
    if (!Secret(secret) ||
        !HmacSha256(secret, {Label(sim::kServerProofLabel), serverNonce_, clientNonce_, identity}, expected.data()) ||
        !EqualInConstantTime(expected, serverProof)) {
        stage_ = Stage::Failed;
        return {EapVerdict::BadServerProof, {}};
    }
    if (!HmacSha256(secret, {Label(sim::kMasterKeyLabel), serverNonce_, clientNonce_}, key.data()))
        return {EapVerdict::BadServerProof, {}};
    pendingKey_ = key;
    stage_ = Stage::AwaitingSuccess;
    return Respond(identifier, sim::kEapTypeSimulated, {ourMethod, sim::kOpClientAck}, EapVerdict::Answered);
}

EapStep EapClient::Respond(uint8_t identifier, uint8_t type, std::vector<uint8_t> data, EapVerdict verdict) {
    const size_t length = sim::kEapHeaderSize + 1 + data.size();
    std::vector<uint8_t> packet = {sim::kEapResponse, identifier, static_cast<uint8_t>(length >> 8),
                                   static_cast<uint8_t>(length), type};
    packet.insert(packet.end(), data.begin(), data.end());
    return {verdict, BuildEapol(EapolType::EapPacket, packet)};
}

}  // namespace hxsup
