#include "adapter/RsnElement.h"

#include <algorithm>

#include "adapter/LittleEndian.h"

namespace hx {
namespace {

constexpr size_t kSuiteSize = 4;
constexpr size_t kPmkidSize = 16;

// Reads the element's body front to back; every read checks what is left.
class BodyReader {
public:
    explicit BodyReader(std::span<const uint8_t> body) : body_(body) {}

    bool AtEnd() const { return at_ == body_.size(); }
    size_t Left() const { return body_.size() - at_; }

    std::optional<uint16_t> U16() {
        if (Left() < 2) return std::nullopt;
        const uint16_t value = GetLe16(body_.data() + at_);
        at_ += 2;
        return value;
    }
    std::optional<RsnSuite> Suite() {
        if (Left() < kSuiteSize) return std::nullopt;
        RsnSuite suite;
        std::copy_n(body_.data() + at_, 3, suite.oui.begin());
        suite.type = body_[at_ + 3];
        at_ += kSuiteSize;
        return suite;
    }
    // A count and that many suites; none for a count of 0 or one past the end.
    std::optional<std::vector<RsnSuite>> SuiteList() {
        const std::optional<uint16_t> count = U16();
        if (!count || *count == 0 || *count > Left() / kSuiteSize) return std::nullopt;
        std::vector<RsnSuite> suites;
        for (uint16_t i = 0; i < *count; ++i) suites.push_back(*Suite());
        return suites;
    }
    std::optional<std::vector<std::array<uint8_t, 16>>> Pmkids() {
        const std::optional<uint16_t> count = U16();
        if (!count || *count > Left() / kPmkidSize) return std::nullopt;
        std::vector<std::array<uint8_t, 16>> ids(*count);
        for (auto& id : ids) {
            std::copy_n(body_.data() + at_, kPmkidSize, id.begin());
            at_ += kPmkidSize;
        }
        return ids;
    }

private:
    std::span<const uint8_t> body_;
    size_t at_ = 0;
};

}  // namespace

bool RsnInfo::OffersPairwise(uint8_t type) const {
    return std::any_of(pairwise.begin(), pairwise.end(), [&](const RsnSuite& s) { return s.Standard(type); });
}

bool RsnInfo::OffersAkm(uint8_t type) const {
    return std::any_of(akms.begin(), akms.end(), [&](const RsnSuite& s) { return s.Standard(type); });
}

std::optional<RsnInfo> ParseRsnElement(std::span<const uint8_t> element) {
    if (element.size() < 2 || element[0] != kRsnElementId || element.size() != 2u + element[1]) return std::nullopt;
    BodyReader body(element.subspan(2));
    RsnInfo info;
    const std::optional<uint16_t> version = body.U16();
    if (!version || *version != kRsnVersion) return std::nullopt;
    info.version = *version;

    // Each optional part: absent when the body ends before it, refused when cut short.
    if (body.AtEnd()) return info;
    const auto group = body.Suite();
    if (!group) return std::nullopt;
    info.groupCipher = *group;

    if (body.AtEnd()) return info;
    auto pairwise = body.SuiteList();
    if (!pairwise) return std::nullopt;
    info.pairwise = std::move(*pairwise);

    if (body.AtEnd()) return info;
    auto akms = body.SuiteList();
    if (!akms) return std::nullopt;
    info.akms = std::move(*akms);

    if (body.AtEnd()) return info;
    const auto capabilities = body.U16();
    if (!capabilities) return std::nullopt;
    info.capabilities = *capabilities;

    if (body.AtEnd()) return info;
    auto pmkids = body.Pmkids();
    if (!pmkids) return std::nullopt;
    info.pmkids = std::move(*pmkids);

    if (body.AtEnd()) return info;
    const auto management = body.Suite();
    if (!management) return std::nullopt;
    info.groupManagementCipher = *management;
    return info;
}

}  // namespace hx
