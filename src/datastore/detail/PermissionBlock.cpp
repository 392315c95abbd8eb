#include "datastore/detail/PermissionBlock.h"

#include "json/CJosn.h"
#include "service/CWebService.h"

namespace datastore_detail {

void WritePermission(CJosn& request, const PermissionBlock& block) {
    request.object_in("Permission");
    request.push("UserID", block.userId);
    request.push("AppID", block.appId);
    request.push("FunctionID", static_cast<int>(block.functionId));
    request.push("FunctionType", static_cast<int>(block.functionType));
    if (block.tableName != nullptr) request.push("TableName", *block.tableName);
    request.push("IsrtAreaCode", block.areaCode);
}

PermissionBlock PermissionWithAppType(XmkFunctionId functionId, XmkFunctionType functionType,
                                      const CString& areaCode) {
    const CWebService& service = CWebService::instance();
    return PermissionBlock{
        service.GetUserDogId(), service.GetAppType(), functionId, functionType, nullptr, areaCode};
}

}  // namespace datastore_detail
