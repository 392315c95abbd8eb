#include <gtest/gtest.h>

#include "DataStoreTesting.h"

using Calls = std::vector<std::string>;

class ItemInsertTest : public DataStoreTest {};

TEST_F(ItemInsertTest, UniformPathSendsValuesPermissionAndExtrasToDoWork) {
    RecordingItem item(static_cast<XmkFunctionId>(7));
    item.insertValues = {{"Name", "x"}};
    item.extraValues = {{"Note", "e"}};
    transport.QueueReply(true, kReplyOk);

    EXPECT_TRUE(store.AddItem(item));

    EXPECT_EQ((CallView{kStoreUrl,
                        "DoWork",
                        {{"jsonInput",
                          "{Values:{Name:\"x\"},Permission:{UserID:12,AppID:3,FunctionID:7,"
                          "FunctionType:1,IsrtAreaCode:\"A1\"},Note:\"e\"}"}}}),
              OnlyCall());
    EXPECT_EQ((Calls{"MakeNumber", "BeforeInsert", "GetFunctionId", "WriteInsertValues",
                     "WriteExtraValues(1)", "SetNewId(57)", "AfterInsert"}),
              item.calls);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ItemInsertTest, EmptyItemWithEmptyAreaGivesTheBareUniformRequest) {
    const CDataStoreWebService bare("", 0, kStoreUrl);
    RecordingItem item(static_cast<XmkFunctionId>(7));
    transport.QueueReply(true, kReplyOk);

    bare.AddItem(item);

    EXPECT_EQ(
        "{Values:{},Permission:{UserID:12,AppID:3,FunctionID:7,FunctionType:1,"
        "IsrtAreaCode:\"\"}}",
        transport.Call(0).arguments.at(0).second);
}

TEST_F(ItemInsertTest, OwnMethodPathNamesTheObjectAfterTheKind) {
    RecordingItem item(XmkApproval);
    item.insertValues = {{"Title", "it's \"new\""}};
    item.extraValues = {{"Flag", "1"}};
    transport.QueueReply(true, kReplyOk);

    EXPECT_TRUE(store.AddItem(item));

    EXPECT_EQ((CallView{kStoreUrl,
                        "InsertApprovalForCpp",
                        {{"pAop",
                          "{Appvl:{Title:\"it\\'s \\\"new\\\"\"},Permission:{UserID:12,AppID:3,"
                          "FunctionID:0,FunctionType:1,IsrtAreaCode:\"A1\"},Flag:\"1\"}"}}}),
              OnlyCall());
    EXPECT_EQ((Calls{"MakeNumber", "BeforeInsert", "GetFunctionId", "WriteInsertValues",
                     "WriteExtraValues(2)", "SetNewId(57)", "AfterInsert"}),
              item.calls);
}

TEST_F(ItemInsertTest, EachKindWithItsOwnMethodsUsesItsInsertMethodAndArgument) {
    RecordingItem acceptance(XmkAcceptance);
    RecordingItem attachment(XmkProofAttach);
    transport.SetDefaultReply(true, kReplyOk);

    store.AddItem(acceptance);
    store.AddItem(attachment);

    ASSERT_EQ(2u, transport.CallCount());
    EXPECT_EQ("InsertAcceptanceForCpp", transport.Call(0).method);
    EXPECT_EQ("pAfcp", transport.Call(0).arguments.at(0).first);
    EXPECT_EQ(
        "{Afcp:{},Permission:{UserID:12,AppID:3,FunctionID:1,FunctionType:1,"
        "IsrtAreaCode:\"A1\"}}",
        transport.Call(0).arguments.at(0).second);
    EXPECT_EQ("InsertProofAttachForCpp", transport.Call(1).method);
    EXPECT_EQ("proofAttach", transport.Call(1).arguments.at(0).first);
    EXPECT_EQ(
        "{Ftp:{},Permission:{UserID:12,AppID:3,FunctionID:2,FunctionType:1,"
        "IsrtAreaCode:\"A1\"}}",
        transport.Call(1).arguments.at(0).second);
}

TEST_F(ItemInsertTest, GenericObjectIsWrappedInOutnodeWithTableNameAndApplicationId) {
    RecordingItem item(XmkGenericObject4);
    item.tableName = "T\"b";
    item.insertValues = {{"Name", "x"}};
    item.extraValues = {{"Note", "e"}};
    transport.QueueReply(true, kReplyOk);

    EXPECT_TRUE(store.AddItem(item));

    EXPECT_EQ((CallView{kStoreUrl,
                        "InsertObject",
                        {{"param",
                          "{outnode:{Value:{Name:\"x\"},Permission:{UserID:12,AppID:5,"
                          "FunctionID:4,FunctionType:1,TableName:\"T\\\"b\",IsrtAreaCode:\"A1\"},"
                          "Note:\"e\"}}"}}}),
              OnlyCall());
    EXPECT_EQ((Calls{"MakeNumber", "BeforeInsert", "GetFunctionId", "WriteInsertValues",
                     "GetTableName", "WriteExtraValues(1)", "SetNewId(57)", "AfterInsert"}),
              item.calls);
}

TEST_F(ItemInsertTest, GenericObjectKindsDifferOnlyInTheirFunctionId) {
    const CDataStoreWebService bare("", 0, kStoreUrl);
    transport.SetDefaultReply(true, kReplyOk);
    for (int id = 3; id <= 5; ++id) {
        RecordingItem item(static_cast<XmkFunctionId>(id));
        bare.AddItem(item);
    }
    ASSERT_EQ(3u, transport.CallCount());
    for (int id = 3; id <= 5; ++id) {
        CString expected;
        expected.Format(
            "{outnode:{Value:{},Permission:{UserID:12,AppID:5,FunctionID:%d,FunctionType:1,"
            "TableName:\"\",IsrtAreaCode:\"\"}}}",
            id);
        EXPECT_EQ((CallView{kStoreUrl, "InsertObject", {{"param", expected.Str()}}}),
                  ViewOf(transport.Call(id - 3)));
    }
}

TEST_F(ItemInsertTest, FunctionIdSixTakesTheUniformPath) {
    RecordingItem item(static_cast<XmkFunctionId>(6));
    transport.QueueReply(true, kReplyOk);
    store.AddItem(item);
    EXPECT_EQ("DoWork", transport.Call(0).method);
    EXPECT_EQ((Calls{"MakeNumber", "BeforeInsert", "GetFunctionId", "WriteInsertValues",
                     "WriteExtraValues(1)", "SetNewId(57)", "AfterInsert"}),
              item.calls);
}

TEST_F(ItemInsertTest, FailedNumberingStopsBeforeAnythingIsSent) {
    RecordingItem item(XmkApproval);
    item.numbered = false;

    EXPECT_FALSE(store.AddItem(item));

    EXPECT_EQ(0u, transport.CallCount());
    EXPECT_EQ(std::vector<CString>{"编号失败"}, Shown());
    EXPECT_EQ(Calls{"MakeNumber"}, item.calls);
}

TEST_F(ItemInsertTest, CodeTwoShowsTheMessageAndStillSucceeds) {
    RecordingItem item(XmkApproval);
    transport.QueueReply(true, kReplyWarn);

    EXPECT_TRUE(store.AddItem(item));

    EXPECT_EQ(std::vector<CString>{"check it"}, Shown());
    EXPECT_EQ("58", item.newId);
    EXPECT_EQ("AfterInsert", item.calls.back());
}

TEST_F(ItemInsertTest, FailingCodesShowTheMessageAndHandNothingToTheItem) {
    for (const char* reply : {kReplyFail, kReplyNegative}) {
        RecordingItem item(XmkGenericObject3);
        transport.QueueReply(true, reply);
        EXPECT_FALSE(store.AddItem(item)) << reply;
        EXPECT_EQ((Calls{"MakeNumber", "BeforeInsert", "GetFunctionId", "WriteInsertValues",
                         "GetTableName", "WriteExtraValues(1)"}),
                  item.calls);
    }
    EXPECT_EQ((std::vector<CString>{"refused", "broken"}), Shown());
}

TEST_F(ItemInsertTest, EmptyRepliesReadAsNothingReturned) {
    for (const char* reply : {"", "{}"}) {
        RecordingItem item(static_cast<XmkFunctionId>(9));
        transport.QueueReply(true, reply);
        EXPECT_FALSE(store.AddItem(item));
        EXPECT_TRUE(item.newId.IsEmpty());
    }
    EXPECT_EQ((std::vector<CString>{kNothingReturned, kNothingReturned}), Shown());
}

TEST_F(ItemInsertTest, StoreWithoutUrlSendsToTheConfiguredUrl) {
    RecordingItem item(XmkApproval);
    transport.QueueReply(true, kReplyOk);
    EXPECT_TRUE(unconfiguredStore.AddItem(item));
    EXPECT_EQ(kConfiguredUrl, transport.Call(0).url);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ItemInsertTest, MissingUrlsAreReportedAndTheReplyStillJudged) {
    CIniManager::Instance().SetStrBzkWebService("");
    RecordingItem item(XmkApproval);
    transport.QueueReply(false, "");

    EXPECT_FALSE(unconfiguredStore.AddItem(item));

    EXPECT_EQ("", transport.Call(0).url);
    EXPECT_EQ((std::vector<CString>{"缺少项目库url", kNothingReturned}), Shown());
}

TEST_F(ItemInsertTest, CopiesAndAssignedStoresSendAlike) {
    const CDataStoreWebService copy(store);
    CDataStoreWebService assigned("other", 1);
    assigned = store;
    EXPECT_EQ("A1", copy.GetAreaCode());
    EXPECT_EQ("A1", assigned.GetAreaCode());
    transport.SetDefaultReply(true, kReplyOk);

    RecordingItem first(XmkApproval), second(XmkApproval), third(XmkApproval);
    store.AddItem(first);
    copy.AddItem(second);
    assigned.AddItem(third);

    ASSERT_EQ(3u, transport.CallCount());
    EXPECT_EQ(ViewOf(transport.Call(0)), ViewOf(transport.Call(1)));
    EXPECT_EQ(ViewOf(transport.Call(0)), ViewOf(transport.Call(2)));
}

TEST_F(ItemInsertTest, IdsWithoutARowTakeTheUniformPath) {
    transport.SetDefaultReply(true, kReplyOk);
    for (int id : {-1, 9000, 2147483647}) {
        RecordingItem item(static_cast<XmkFunctionId>(id));
        EXPECT_TRUE(store.AddItem(item));
        CString expected;
        expected.Format(
            "{Values:{},Permission:{UserID:12,AppID:3,FunctionID:%d,FunctionType:1,"
            "IsrtAreaCode:\"A1\"}}",
            id);
        EXPECT_EQ((CallView{kStoreUrl, "DoWork", {{"jsonInput", expected.Str()}}}),
                  ViewOf(transport.Calls().back()));
    }
}
