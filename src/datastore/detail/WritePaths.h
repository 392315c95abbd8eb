// Internal to the data store: the three ways a record is written (the uniform operation, a
// kind's own methods, the generic-object methods) and the one routine that builds and sends
// the insert, update or delete request of any of them.
#pragma once

#include <functional>

#include "datastore/ItemKinds.h"
#include "datastore/XmkFunctionId.h"
#include "datastore/detail/StoreTarget.h"
#include "platform/CString.h"

class CJosn;
class COperatorItem;
class ServiceRetValue;

namespace datastore_detail {

enum class WritePathKind {
    kUniform,        // ids without a row in the item-kind table
    kOwnMethods,     // rows whose kind has its own methods
    kGenericObject,  // rows of generic objects
};

enum class WriteOperation { kInsert, kUpdate, kDelete };

// Marks a text that comes from the record's row of the item-kind table.
inline constexpr const char* kFromKind = nullptr;
// Marks a write that does not call WriteExtraValues.
inline constexpr int kNoExtraValues = -1;

// The choices that tell the paths apart.
enum RequestForm { kSendDocument, kSendItemId };  // kSendItemId: the item's id is the argument
enum AppIdSource { kAppType, kAppId };            // what "AppID" of the Permission block holds
enum TableNameRule { kNoTableName, kWithTableName };
enum PermissionEnd { kClosePermission, kLeavePermissionOpen };
enum EmptyMembersRule { kSendEmptyMembers, kStopWhenNothingToWrite };
enum JudgeRule { kJudgeHere, kJudgeByService };  // kJudgeByService: sent with ExcuteCmdBool

// How one operation is written on one path.
struct WritePath {
    WritePathKind kind;
    WriteOperation operation;
    XmkFunctionType functionType;  // sent as "FunctionType"
    const char* wrapper;           // object around the whole request; null: none
    const char* membersObject;     // object the item writes its members into
    const char* method;
    const char* argument;
    RequestForm form;
    AppIdSource appId;
    TableNameRule tableName;
    PermissionEnd permissionEnd;
    int extraValuesCode;  // given to WriteExtraValues, or kNoExtraValues
    int membersFlag;      // given to WriteUpdateValues
    EmptyMembersRule emptyMembers;
    JudgeRule judge;
};

// The path of a record with `functionId` for `operation`.
const WritePath& FindWritePath(XmkFunctionId functionId, WriteOperation operation);

enum class WriteOutcome { kNothingSent, kFailed, kSucceeded };

// Writes the item's members into the object opened for them; false: nothing to write.
using MembersWriter = std::function<bool(CJosn& request)>;

// Builds the request of `path` for `item` (function id `functionId`), sends it and judges the
// reply, showing its message when its code is not 1. The reply's values are left in `reply`
// unless the service judged it.
WriteOutcome SendWrite(const StoreTarget& target, const WritePath& path, XmkFunctionId functionId,
                       const COperatorItem& item, const MembersWriter& writeMembers,
                       ServiceRetValue& reply);

}  // namespace datastore_detail
