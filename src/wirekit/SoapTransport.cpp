#include "wirekit/SoapTransport.h"

namespace {

class UnavailableTransport : public IWebTransport {
  public:
    std::pair<bool, CString> Exchange(const WebCall&) override {
        return {false, CString("无法连接服务器：no HTTP transport in this build")};
    }
};

}  // namespace

IWebTransport& BuiltInSoapTransport() {
    static UnavailableTransport transport;
    return transport;
}
