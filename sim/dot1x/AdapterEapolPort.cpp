#include "sim/dot1x/AdapterEapolPort.h"

#include <climits>

#include "sim/EapolTransport.h"
#include "sim/dot1x/core/KeyHandshake.h"

namespace hxsup {
namespace {

class AdapterEapolPort final : public EapolPort {
public:
    explicit AdapterEapolPort(hx::AdapterHandle* adapter) : adapter_(adapter) {}

    bool Send(std::span<const uint8_t> pdu) override {
        if (pdu.size() > INT_MAX) return false;
        return HxSimSendEapol(adapter_, pdu.data(), static_cast<int>(pdu.size())) == 0;
    }

    int Receive(std::span<uint8_t> buffer, int timeoutMs) override {
        const int capacity = buffer.size() > INT_MAX ? INT_MAX : static_cast<int>(buffer.size());
        return HxSimReceiveEapol(adapter_, buffer.data(), capacity, timeoutMs);
    }

private:
    hx::AdapterHandle* adapter_;
};

}  // namespace

std::unique_ptr<EapolPort> MakeAdapterEapolPort(hx::AdapterHandle* adapter) {
    if (!adapter) return nullptr;
    return std::make_unique<AdapterEapolPort>(adapter);
}

std::vector<uint8_t> AdapterAssociationElement(hx::AdapterHandle* adapter) {
    std::vector<uint8_t> element(kMaxElementSize);
    const int length = adapter ? HxSimAssociationElement(adapter, element.data(), static_cast<int>(element.size())) : -1;
    element.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return element;
}

}  // namespace hxsup
