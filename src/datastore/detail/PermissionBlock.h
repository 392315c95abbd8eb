// Internal to the data store: the "Permission" object that every request carries, telling
// the back-end who asks (user, application), for which function, for which operation and
// for which area.
#pragma once

#include "datastore/XmkFunctionId.h"
#include "platform/CString.h"

class CJosn;

namespace datastore_detail {

struct PermissionBlock {
    long userId;
    long appId;  // the application type, or the application id on generic-object writes
    XmkFunctionId functionId;
    XmkFunctionType functionType;
    const CString* tableName;  // null: no "TableName" member
    const CString& areaCode;
};

// Opens "Permission" at the request's cursor and writes the block's members into it. The
// cursor is left inside the block; the caller closes it with child_out() when more follows.
void WritePermission(CJosn& request, const PermissionBlock& block);

// The block of a request that "AppID" fills with the application type.
PermissionBlock PermissionWithAppType(XmkFunctionId functionId, XmkFunctionType functionType,
                                      const CString& areaCode);

}  // namespace datastore_detail
