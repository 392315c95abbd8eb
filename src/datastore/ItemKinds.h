// The item-kind table: for the record kinds with their own back-end methods, the member name
// of the record's object and the method and argument name of each write. A record's function
// id is its row number; ids without a row go to the uniform operation.
#pragma once

#include <cstddef>

#include "datastore/XmkFunctionId.h"
#include "platform/Export.h"

struct ItemKindInfo {
    const char* Name;  // member that holds the record's values
    const char* InsertMethod;
    const char* UpdateMethod;
    const char* DeleteMethod;
    const char* InsertArgument;  // argument names of the three methods
    const char* UpdateArgument;
    const char* DeleteArgument;
    bool IsGeneric;  // a generic object: wrapped in "outnode", table name sent
};

inline constexpr ItemKindInfo s_ItemKinds[] = {
    {"Appvl", "InsertApprovalForCpp", "UpdateApprovalForCpp", "DeleteApprovalForCpp", "pAop",
     "pAop", "aopID", false},
    {"Afcp", "InsertAcceptanceForCpp", "UpdateAcceptanceForCpp", "DeleteAcceptanceForCpp", "pAfcp",
     "pAfcp", "afcpID", false},
    {"Ftp", "InsertProofAttachForCpp", "UpdateProofAttachForCpp", "DeleteProofAttachByIdForCpp",
     "proofAttach", "proofAttach", "attachID", false},
    {"Value", "InsertObject", "UpdateObject", "DeleteObject", "param", "param", "param", true},
    {"Value", "InsertObject", "UpdateObject", "DeleteObject", "param", "param", "param", true},
    {"Value", "InsertObject", "UpdateObject", "DeleteObject", "param", "param", "param", true},
};

inline constexpr size_t kItemKindCount = sizeof(s_ItemKinds) / sizeof(s_ItemKinds[0]);

// The row of `functionId`, or null when the id has none (negative, or past the table).
XMK_EXPORT const ItemKindInfo* FindItemKind(XmkFunctionId functionId);
