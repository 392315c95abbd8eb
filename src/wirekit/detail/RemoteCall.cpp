#include "wirekit/detail/RemoteCall.h"

#include <memory>

#include "wirekit/TWebService.h"
#include "wirekit/WebArgument.h"

CString DecimalText(long value) {
    CString text;
    text.Format("%ld", value);
    return text;
}

std::pair<bool, CString> RemoteCall(const CString& nameSpace, const CString& service,
                                    const CString& url, const CString& method,
                                    const RemoteArguments& arguments) {
    std::vector<std::shared_ptr<WebArgument>> list;
    list.reserve(arguments.size());
    for (const auto& argument : arguments) {
        list.push_back(std::make_shared<WebArgumentString>(argument.first, argument.second));
    }
    return TWebService(nameSpace, service).ExcuteOnServer(url, method, list, nullptr);
}
