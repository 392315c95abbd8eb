#include <gtest/gtest.h>

#include "DataStoreTesting.h"

using Calls = std::vector<std::string>;

class AuditTest : public DataStoreTest {};

TEST_F(AuditTest, BareAuditSendsValuesAndAnOpenPermission) {
    const CDataStoreWebService bare("", 0, kStoreUrl);
    RecordingItem item(static_cast<XmkFunctionId>(7));
    transport.QueueReply(true, kReplyOk);

    EXPECT_TRUE(bare.UpdateAudit(item));

    EXPECT_EQ((CallView{kStoreUrl,
                        "DoWork",
                        {{"jsonInput",
                          "{Values:{},Permission:{UserID:12,AppID:3,FunctionID:7,FunctionType:4,"
                          "IsrtAreaCode:\"\"}}"}}}),
              OnlyCall());
    EXPECT_EQ((Calls{"WriteAuditValues", "GetFunctionId"}), item.calls);
}

TEST_F(AuditTest, EveryKindIsAuditedThroughTheUniformOperation) {
    transport.SetDefaultReply(true, kReplyOk);
    const XmkFunctionId ids[] = {XmkApproval, XmkGenericObject4, static_cast<XmkFunctionId>(40)};
    for (XmkFunctionId id : ids) {
        RecordingItem item(id);
        item.auditValues = {{"State", "ok"}};
        item.extraValues = {{"Never", "sent"}};
        EXPECT_TRUE(unconfiguredStore.UpdateAudit(item));
    }
    std::vector<CallView> expected;
    for (int id : {0, 4, 40}) {
        CString text;
        text.Format(
            "{Values:{State:\"ok\"},Permission:{UserID:12,AppID:3,FunctionID:%d,FunctionType:4,"
            "IsrtAreaCode:\"A1\"}}",
            id);
        expected.push_back({kConfiguredUrl, "DoWork", {{"jsonInput", text.Str()}}});
    }
    EXPECT_EQ(expected, Sent());
}

TEST_F(AuditTest, RepliesAreJudged) {
    RecordingItem item(XmkApproval);
    transport.QueueReply(true, kReplyWarn);
    transport.QueueReply(true, kReplyNegative);
    transport.QueueReply(true, "{}");
    EXPECT_TRUE(store.UpdateAudit(item));
    EXPECT_FALSE(store.UpdateAudit(item));
    EXPECT_FALSE(store.UpdateAudit(item));
    EXPECT_EQ((std::vector<CString>{"check it", "broken", kNothingReturned}), Shown());
}

class JosnUpdateTest : public DataStoreTest {};

TEST_F(JosnUpdateTest, FreshDocumentBecomesThePermissionBlock) {
    const CDataStoreWebService bare("", 0, kStoreUrl);
    CJosn request;
    transport.QueueReply(true, kReplyOk);

    EXPECT_TRUE(bare.UpdateItemByJosn(request, static_cast<XmkFunctionId>(7)));

    const char* expected =
        "{Permission:{UserID:12,AppID:3,FunctionID:7,FunctionType:2,IsrtAreaCode:\"\"}}";
    EXPECT_EQ((CallView{kStoreUrl, "DoWork", {{"jsonInput", expected}}}), OnlyCall());
    EXPECT_EQ(expected, request.GetValue());
}

TEST_F(JosnUpdateTest, PermissionFollowsTheCallersMembersAndKeepsTheCursor) {
    CJosn request;
    request.push("Name", CString("n"));
    request.object_in("Values");
    request.push("Size", 3);
    request.child_out();
    transport.QueueReply(true, kReplyOk);

    EXPECT_TRUE(store.UpdateItemByJosn(request, XmkGenericObject3));
    request.push("After", 1);

    EXPECT_EQ(
        "{Name:\"n\",Values:{Size:3},Permission:{UserID:12,AppID:3,FunctionID:3,"
        "FunctionType:2,IsrtAreaCode:\"A1\"}}",
        transport.Call(0).arguments.at(0).second);
    EXPECT_EQ(
        "{Name:\"n\",Values:{Size:3},Permission:{UserID:12,AppID:3,FunctionID:3,"
        "FunctionType:2,IsrtAreaCode:\"A1\",After:1}}",
        request.GetValue());
}

TEST_F(JosnUpdateTest, FailingReplyShowsItsMessage) {
    CJosn request;
    transport.QueueReply(true, kReplyFail);
    EXPECT_FALSE(store.UpdateItemByJosn(request, static_cast<XmkFunctionId>(9010)));
    EXPECT_EQ(std::vector<CString>{"refused"}, Shown());
    EXPECT_EQ("{Permission:{UserID:12,AppID:3,FunctionID:9010,FunctionType:2,IsrtAreaCode:\"A1\"}}",
              transport.Call(0).arguments.at(0).second);
}
