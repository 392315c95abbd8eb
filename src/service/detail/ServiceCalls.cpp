#include "service/detail/ServiceCalls.h"

#include "config/CIniManager.h"
#include "service/ServiceNames.h"

CString ConfiguredServiceUrl(CServiceSupport::ServiceKind kind, bool old) {
    const CIniManager& ini = CIniManager::Instance();
    switch (kind) {
        case CServiceSupport::BzkService:
            // The old set-up kept the project library elsewhere; it wins only when configured.
            if (old && !ini.GetBzkWebService_old().IsEmpty()) return ini.GetBzkWebService_old();
            return ini.GetBzkWebService();
        case CServiceSupport::KQKHService:
            return ini.GetKQKHWebService();
    }
    return CString();
}

CString ProjectLibraryUrl(const CString& url) {
    return url.IsEmpty() ? ConfiguredServiceUrl(CServiceSupport::BzkService, false) : url;
}

std::pair<bool, CString> CallUniteInterface(const CString& url, const CString& method,
                                            const RemoteArguments& arguments) {
    return RemoteCall(kUniteInterfaceNamespace, kUniteInterfaceName, url, method, arguments);
}
