#include "datastore/detail/WritePaths.h"

#include "datastore/COperatorItem.h"
#include "datastore/detail/PermissionBlock.h"
#include "json/CJosn.h"
#include "service/CWebService.h"
#include "service/ServiceRetValue.h"

namespace datastore_detail {

namespace {

constexpr WritePathKind kUniform = WritePathKind::kUniform;
constexpr WritePathKind kOwn = WritePathKind::kOwnMethods;
constexpr WritePathKind kObject = WritePathKind::kGenericObject;
constexpr WriteOperation kInsert = WriteOperation::kInsert;
constexpr WriteOperation kUpdate = WriteOperation::kUpdate;
constexpr WriteOperation kDelete = WriteOperation::kDelete;

// Every write of every path. A row of the uniform path names its own texts; kFromKind takes
// the member name, method or argument from the record's row of the item-kind table.
constexpr WritePath kWritePaths[] = {
    // kind, operation, "FunctionType", wrapper, members, method, argument, form, "AppID",
    // "TableName", Permission end, extra-values code, members flag, empty members, judge
    {kUniform, kInsert, XmkInsert, nullptr, "Values", "DoWork", "jsonInput", kSendDocument,
     kAppType, kNoTableName, kClosePermission, 1, 0, kSendEmptyMembers, kJudgeHere},
    {kOwn, kInsert, XmkInsert, nullptr, kFromKind, kFromKind, kFromKind, kSendDocument, kAppType,
     kNoTableName, kClosePermission, 2, 0, kSendEmptyMembers, kJudgeHere},
    {kObject, kInsert, XmkInsert, "outnode", kFromKind, kFromKind, kFromKind, kSendDocument, kAppId,
     kWithTableName, kClosePermission, 1, 0, kSendEmptyMembers, kJudgeHere},

    {kUniform, kUpdate, XmkUpdate, nullptr, "Values", "DoWork", "jsonInput", kSendDocument,
     kAppType, kNoTableName, kClosePermission, 2, 0, kStopWhenNothingToWrite, kJudgeByService},
    {kOwn, kUpdate, XmkUpdate, nullptr, kFromKind, kFromKind, kFromKind, kSendDocument, kAppType,
     kNoTableName, kClosePermission, 2, 1, kStopWhenNothingToWrite, kJudgeHere},
    {kObject, kUpdate, XmkUpdate, "outnode", kFromKind, kFromKind, kFromKind, kSendDocument, kAppId,
     kWithTableName, kLeavePermissionOpen, kNoExtraValues, 0, kSendEmptyMembers, kJudgeHere},

    {kUniform, kDelete, XmkDelete, nullptr, "Conditions", "DoWork", "jsonInput", kSendDocument,
     kAppType, kNoTableName, kClosePermission, 3, 0, kSendEmptyMembers, kJudgeByService},
    {kOwn, kDelete, XmkDelete, nullptr, nullptr, kFromKind, kFromKind, kSendItemId, kAppType,
     kNoTableName, kClosePermission, kNoExtraValues, 0, kSendEmptyMembers, kJudgeHere},
    {kObject, kDelete, XmkDelete, "outnode", kFromKind, kFromKind, kFromKind, kSendDocument, kAppId,
     kWithTableName, kClosePermission, 3, 0, kSendEmptyMembers, kJudgeHere},
};

// Which columns of an item-kind row hold each operation's method and argument name.
struct KindColumns {
    WriteOperation operation;
    const char* ItemKindInfo::*method;
    const char* ItemKindInfo::*argument;
};

constexpr KindColumns kKindColumns[] = {
    {kInsert, &ItemKindInfo::InsertMethod, &ItemKindInfo::InsertArgument},
    {kUpdate, &ItemKindInfo::UpdateMethod, &ItemKindInfo::UpdateArgument},
    {kDelete, &ItemKindInfo::DeleteMethod, &ItemKindInfo::DeleteArgument},
};

const KindColumns& ColumnsOf(WriteOperation operation) {
    for (const KindColumns& columns : kKindColumns) {
        if (columns.operation == operation) return columns;
    }
    return kKindColumns[0];
}

WritePathKind PathKindOf(const ItemKindInfo* kind) {
    if (kind == nullptr) return WritePathKind::kUniform;
    return kind->IsGeneric ? WritePathKind::kGenericObject : WritePathKind::kOwnMethods;
}

// A text of the path, or the kind's own when the path leaves it to the kind.
const char* PathOrKind(const char* pathText, const ItemKindInfo* kind,
                       const char* ItemKindInfo::*column) {
    if (pathText != kFromKind || kind == nullptr) return pathText;
    return kind->*column;
}

}  // namespace

const WritePath& FindWritePath(XmkFunctionId functionId, WriteOperation operation) {
    const WritePathKind kind = PathKindOf(FindItemKind(functionId));
    for (const WritePath& path : kWritePaths) {
        if (path.kind == kind && path.operation == operation) return path;
    }
    return kWritePaths[0];
}

WriteOutcome SendWrite(const StoreTarget& target, const WritePath& path, XmkFunctionId functionId,
                       const COperatorItem& item, const MembersWriter& writeMembers,
                       ServiceRetValue& reply) {
    const ItemKindInfo* kind = FindItemKind(functionId);
    const KindColumns& columns = ColumnsOf(path.operation);
    const CString method = PathOrKind(path.method, kind, columns.method);
    const CString argument = PathOrKind(path.argument, kind, columns.argument);
    const CWebService& service = CWebService::instance();

    CString replyText;
    if (path.form == kSendItemId) {
        replyText = service.ExcuteCmd(target.url, method, argument, item.GetItemId());
    } else {
        CJosn request;
        if (path.wrapper != nullptr) request.object_in(path.wrapper);
        request.object_in(PathOrKind(path.membersObject, kind, &ItemKindInfo::Name));
        if (!writeMembers(request) && path.emptyMembers == kStopWhenNothingToWrite) {
            return WriteOutcome::kNothingSent;
        }
        request.child_out();

        const long userId = service.GetUserDogId();
        const long appId = path.appId == kAppId ? service.GetAppId() : service.GetAppType();
        CString tableName;
        if (path.tableName == kWithTableName) tableName = item.GetTableName();
        WritePermission(request,
                        PermissionBlock{userId, appId, functionId, path.functionType,
                                        path.tableName == kWithTableName ? &tableName : nullptr,
                                        target.areaCode});
        if (path.permissionEnd == kClosePermission) request.child_out();
        if (path.extraValuesCode != kNoExtraValues) {
            item.WriteExtraValues(request, path.extraValuesCode);
        }

        if (path.judge == kJudgeByService) {
            return service.ExcuteCmdBool(target.url, request.GetValue()) ? WriteOutcome::kSucceeded
                                                                         : WriteOutcome::kFailed;
        }
        replyText = service.ExcuteCmd(target.url, method, argument, request.GetValue());
    }
    reply.ReadJosn(replyText);
    return reply.MessageAndRet() ? WriteOutcome::kSucceeded : WriteOutcome::kFailed;
}

}  // namespace datastore_detail
