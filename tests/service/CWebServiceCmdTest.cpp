#include <gtest/gtest.h>

#include "ServiceTestSupport.h"

namespace {

using CommandTest = ServiceTest;

TEST_F(CommandTest, GivenUrlWinsOverTheConfiguredOne) {
    ConfigureAll();
    transport_.QueueReply(true, "{ret:1}");
    EXPECT_EQ(CString("{ret:1}"), client().ExcuteCmd("http://given/", "{a:1}"));
    EXPECT_EQ(std::vector<WebCall>{UniteCall("http://given/", "DoWork", {{"jsonInput", "{a:1}"}})},
              transport_.Calls());
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(CommandTest, EmptyUrlTakesTheConfiguredProjectLibraryUrl) {
    ConfigureAll();
    client().ExcuteCmd("", "{a:1}");
    EXPECT_EQ(std::vector<WebCall>{UniteCall("http://bzk/", "DoWork", {{"jsonInput", "{a:1}"}})},
              transport_.Calls());
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(CommandTest, DefaultUrlFollowsTheProjectLibrarySetter) {
    ConfigureAll();
    CIniManager::Instance().SetStrBzkWebService("http://moved/");
    client().ExcuteCmd("", "{}");
    EXPECT_EQ(CString("http://moved/"), transport_.Call(0).url);
}

TEST_F(CommandTest, NoUrlAtAllStillCallsAndThenShowsTheBox) {
    ConfigureNone();
    size_t boxesAtCall = 99;
    transport_.SetResponder([&](const WebCall&) {
        boxesAtCall = presenter_.Texts().size();
        return RecordingTransport::Reply(false, "无法连接服务器：no url");
    });
    EXPECT_EQ(CString("无法连接服务器：no url"), client().ExcuteCmd("", "{a:1}"));
    EXPECT_EQ(std::vector<WebCall>{UniteCall("", "DoWork", {{"jsonInput", "{a:1}"}})},
              transport_.Calls());
    EXPECT_EQ(0u, boxesAtCall);
    EXPECT_EQ(Texts{"缺少项目库url"}, presenter_.Texts());
}

TEST_F(CommandTest, ReplyTextIsReturnedWhenTheExchangeFails) {
    transport_.QueueReply(false, "服务器错误：500");
    EXPECT_EQ(CString("服务器错误：500"), client().ExcuteCmd("http://given/", "{}"));
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(CommandTest, FourArgumentFormSendsTheMethodAndArgumentGiven) {
    ConfigureAll();
    transport_.QueueReply(true, "done");
    EXPECT_EQ(CString("done"), client().ExcuteCmd("", "AddProject", "projectJson", "{n:'x'}"));
    EXPECT_EQ(
        std::vector<WebCall>{UniteCall("http://bzk/", "AddProject", {{"projectJson", "{n:'x'}"}})},
        transport_.Calls());
}

TEST_F(CommandTest, BoolJudgesTheReplyByItsCode) {
    struct Case {
        const char* reply;
        bool success;
        Texts boxes;
    };
    const Case cases[] = {
        {"{ret:1,msg:'ok',data:5}", true, {}},
        {"{ret:2,msg:'kept, but look',data:5}", true, {"kept, but look"}},
        {"{ret:0,msg:'refused',data:''}", false, {"refused"}},
        {"{ret:-1,msg:'error',data:''}", false, {"error"}},
        {"", false, {"什么也没有返回"}},
        {"{}", false, {"什么也没有返回"}},
    };
    for (const Case& c : cases) {
        presenter_.Clear();
        transport_.QueueReply(true, c.reply);
        EXPECT_EQ(c.success, client().ExcuteCmdBool("http://given/", "{a:1}")) << c.reply;
        EXPECT_EQ(c.boxes, presenter_.Texts()) << c.reply;
    }
}

TEST_F(CommandTest, BoolJudgesTheTextWhateverTheExchangeSaid) {
    transport_.QueueReply(false, "");
    EXPECT_FALSE(client().ExcuteCmdBool("http://given/", "{a:1}"));
    transport_.QueueReply(false, "{ret:1,msg:'',data:''}");
    EXPECT_TRUE(client().ExcuteCmdBool("http://given/", "{a:1}"));
    EXPECT_EQ(Texts{"什么也没有返回"}, presenter_.Texts());
}

TEST_F(CommandTest, BoolWithNoUrlShowsBothBoxes) {
    ConfigureNone();
    EXPECT_FALSE(client().ExcuteCmdBool("", "{a:1}"));
    EXPECT_EQ((Texts{"缺少项目库url", "什么也没有返回"}), presenter_.Texts());
}

TEST_F(CommandTest, FourArgumentBoolSendsAndJudges) {
    transport_.QueueReply(true, "{code:2,msg:'partly',data:''}");
    EXPECT_TRUE(client().ExcuteCmdBool("http://given/", "Audit", "auditJson", "{id:3}"));
    EXPECT_EQ(std::vector<WebCall>{UniteCall("http://given/", "Audit", {{"auditJson", "{id:3}"}})},
              transport_.Calls());
    EXPECT_EQ(Texts{"partly"}, presenter_.Texts());
}

TEST_F(CommandTest, ResultStrIsTheUniformCallWithoutTheBox) {
    ConfigureAll();
    transport_.QueueReply(true, "[{TotalCount:5}]");
    EXPECT_EQ(CString("[{TotalCount:5}]"), client().GetResultStr("", "{q:1}"));
    ConfigureNone();
    transport_.QueueReply(false, "无法连接服务器：no url");
    EXPECT_EQ(CString("无法连接服务器：no url"), client().GetResultStr("", "{q:2}"));
    EXPECT_EQ((std::vector<WebCall>{UniteCall("http://bzk/", "DoWork", {{"jsonInput", "{q:1}"}}),
                                    UniteCall("", "DoWork", {{"jsonInput", "{q:2}"}})}),
              transport_.Calls());
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(CommandTest, CorpQualitiesGoToTheEnterpriseUrl) {
    ConfigureAll();
    transport_.QueueReply(true, "[{q:1}]");
    EXPECT_EQ(CString("[{q:1}]"), client().GetCorpQualitiesResultStr("guid-1"));
    EXPECT_EQ(std::vector<WebCall>{UniteCall("http://corp/", "GetCorpQualities",
                                             {{"corpUserGuid", "guid-1"}})},
              transport_.Calls());
}

TEST_F(CommandTest, CorpQualitiesWithoutEnterpriseUrlCallsWithNoUrlAndNoBox) {
    ConfigureNone();
    transport_.QueueReply(false, "无法连接服务器：no url");
    EXPECT_EQ(CString("无法连接服务器：no url"), client().GetCorpQualitiesResultStr("g"));
    EXPECT_EQ(std::vector<WebCall>{UniteCall("", "GetCorpQualities", {{"corpUserGuid", "g"}})},
              transport_.Calls());
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

}  // namespace
