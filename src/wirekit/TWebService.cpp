#include "wirekit/TWebService.h"

#include "wirekit/detail/ExchangeNote.h"

TWebService::TWebService(const CString& nameSpace, const CString& service)
    : nameSpace_(nameSpace), service_(service) {}

TWebService::~TWebService() = default;

std::pair<bool, CString> TWebService::ExcuteOnServer(
    const CString& url, const CString& method,
    const std::vector<std::shared_ptr<WebArgument>>& arguments, CString* /*reserved*/) const {
    WebCall call;
    call.url = url;
    call.nameSpace = nameSpace_;
    call.service = service_;
    call.method = method;
    call.arguments.reserve(arguments.size());
    for (const std::shared_ptr<WebArgument>& argument : arguments) {
        if (argument) call.arguments.emplace_back(argument->GetName(), argument->GetValue());
    }
    return RunExchange(call);
}
