#include "wirekit/WebTransport.h"

#include <atomic>

#include "wirekit/SoapTransport.h"

namespace {

std::atomic<IWebTransport*>& Installed() {
    static std::atomic<IWebTransport*> installed{nullptr};
    return installed;
}

}  // namespace

IWebTransport* SetWebTransport(IWebTransport* transport) {
    IWebTransport* previous = Installed().exchange(transport);
    return previous != nullptr ? previous : &BuiltInSoapTransport();
}

IWebTransport& CurrentWebTransport() {
    IWebTransport* installed = Installed().load();
    return installed != nullptr ? *installed : BuiltInSoapTransport();
}
