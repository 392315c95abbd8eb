// A remote-call object for one interface of a web service. Cheap to build: it holds the
// namespace URI and the interface name, and hands each exchange to the installed transport.
// Thread-compatible: distinct objects may be used on distinct threads at once.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/CString.h"
#include "platform/Export.h"
#include "wirekit/WebArgument.h"

class XMK_EXPORT TWebService {
  public:
    TWebService(const CString& nameSpace, const CString& service);
    virtual ~TWebService();

    const CString& GetNameSpace() const { return nameSpace_; }
    const CString& GetService() const { return service_; }

    // Calls `method` at `url` with `arguments` in order. `reserved` is unused (pass null).
    // Returns (true, reply text) on success, else (false, text fit to show the user).
    std::pair<bool, CString> ExcuteOnServer(
        const CString& url, const CString& method,
        const std::vector<std::shared_ptr<WebArgument>>& arguments, CString* reserved) const;

  private:
    CString nameSpace_;
    CString service_;
};
