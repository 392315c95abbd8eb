#include <gtest/gtest.h>

#include "ServiceTestSupport.h"

namespace {

using CommandTest = ServiceTest;

WebCall DoWork(const CString& url, const CString& json) {
    return UniteCall(url, "DoWork", {{"jsonInput", json}});
}

TEST_F(CommandTest, GivenUrlWinsElseTheConfiguredProjectLibraryUrlIsCalled) {
    ConfigureAll();
    transport_.QueueReply(false, "服务器错误：500");
    EXPECT_EQ(CString("服务器错误：500"), client().ExcuteCmd("http://given/", "{a:1}"));
    client().ExcuteCmd("", "{b:2}");
    CIniManager::Instance().SetStrBzkWebService("http://moved/");
    client().ExcuteCmd("", "{}");
    EXPECT_EQ((std::vector<WebCall>{DoWork("http://given/", "{a:1}"),
                                    DoWork("http://bzk/", "{b:2}"), DoWork("http://moved/", "{}")}),
              transport_.Calls());
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(CommandTest, NoUrlAtAllStillCallsThenShowsTheBoxBeforeTheJudgement) {
    ConfigureNone();
    size_t boxesAtCall = 99;
    transport_.SetResponder([&](const WebCall&) {
        boxesAtCall = presenter_.Texts().size();
        return RecordingTransport::Reply(false, "");
    });
    client().ExcuteCmd("", "{a:1}");
    EXPECT_EQ(std::vector<WebCall>{DoWork("", "{a:1}")}, transport_.Calls());
    EXPECT_EQ(0u, boxesAtCall);
    EXPECT_EQ(Texts{"缺少项目库url"}, presenter_.Texts());
    EXPECT_FALSE(client().ExcuteCmdBool("", "{a:1}"));
    EXPECT_EQ((Texts{"缺少项目库url", "缺少项目库url", "什么也没有返回"}), presenter_.Texts());
}

// The judgement reads the reply text, whatever the exchange said.
TEST_F(CommandTest, BoolJudgesTheReplyByItsCode) {
    const struct {
        bool exchanged;
        const char* reply;
        bool success;
        Texts boxes;
    } cases[] = {{true, "{ret:1,msg:'ok',data:5}", true, {}},
                 {true, "{ret:2,msg:'kept, but look',data:5}", true, {"kept, but look"}},
                 {true, "{ret:0,msg:'refused',data:''}", false, {"refused"}},
                 {true, "{ret:-1,msg:'error',data:''}", false, {"error"}},
                 {true, "", false, {"什么也没有返回"}},
                 {true, "{}", false, {"什么也没有返回"}},
                 {false, "", false, {"什么也没有返回"}},
                 {false, "{ret:1,msg:'',data:''}", true, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        presenter_.Clear();
        transport_.QueueReply(c.exchanged, c.reply);
        EXPECT_EQ(c.success, client().ExcuteCmdBool("http://given/", "{a:1}"));
        EXPECT_EQ(c.boxes, presenter_.Texts());
    }
}

TEST_F(CommandTest, FourArgumentFormsSendTheMethodAndArgumentGiven) {
    ConfigureAll();
    transport_.QueueReply(true, "done");
    transport_.QueueReply(true, "{code:2,msg:'partly',data:''}");
    EXPECT_EQ(CString("done"), client().ExcuteCmd("", "AddProject", "projectJson", "{n:'x'}"));
    EXPECT_TRUE(client().ExcuteCmdBool("http://given/", "Audit", "auditJson", "{id:3}"));
    EXPECT_EQ(
        (std::vector<WebCall>{UniteCall("http://bzk/", "AddProject", {{"projectJson", "{n:'x'}"}}),
                              UniteCall("http://given/", "Audit", {{"auditJson", "{id:3}"}})}),
        transport_.Calls());
    EXPECT_EQ(Texts{"partly"}, presenter_.Texts());
}

// The queries return the reply text whether or not the exchange succeeded, and show nothing.
TEST_F(CommandTest, ResultStrAndCorpQualitiesReturnTheReplyOfTheirUrlWithoutABox) {
    ConfigureAll();
    transport_.SetDefaultReply(false, "无法连接服务器");
    EXPECT_EQ(CString("无法连接服务器"), client().GetResultStr("", "{q:1}"));
    EXPECT_EQ(CString("无法连接服务器"), client().GetCorpQualitiesResultStr("guid-1"));
    ConfigureNone();
    client().GetResultStr("", "{q:2}");
    client().GetCorpQualitiesResultStr("g");
    EXPECT_EQ((std::vector<WebCall>{
                  DoWork("http://bzk/", "{q:1}"),
                  UniteCall("http://corp/", "GetCorpQualities", {{"corpUserGuid", "guid-1"}}),
                  DoWork("", "{q:2}"), UniteCall("", "GetCorpQualities", {{"corpUserGuid", "g"}})}),
              transport_.Calls());
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

}  // namespace
