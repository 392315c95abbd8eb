#include <gtest/gtest.h>

#include "ServiceTestSupport.h"

namespace {

using Arguments = std::vector<std::pair<CString, CString>>;

class CheckXMFZRTest : public ServiceTest {
  protected:
    WebCall FirstCall(long empId = 5) {
        CString id;
        id.Format("%ld", empId);
        return UniteCall("http://a/", "CheckXMFZR", {{"EmpId", id}});
    }
    WebCall SecondCall(const CString& typeFlag, const CString& roleId, const CString& level) {
        return UniteCall("http://b/", "CheckXMFZRForCPlus",
                         {{"EmpId", "5"},
                          {"TypeFlag", typeFlag},
                          {"RoleId", roleId},
                          {"CertificateLevel", level}});
    }
    // The first reply and the calls it leads to, with a second reply of "3;".
    void ExpectFirstReplyLeadsTo(const CString& firstReply, std::vector<WebCall> calls,
                                 bool result) {
        transport_.Clear();
        transport_.QueueReply(true, firstReply);
        transport_.QueueReply(true, "3;");
        EXPECT_EQ(result, client().CheckXMFZR("http://a/", "http://b/", 5)) << firstReply;
        EXPECT_EQ(calls, transport_.Calls()) << firstReply;
    }
};

TEST_F(CheckXMFZRTest, MissingUrlShowsItsBoxAndCallsNothing) {
    EXPECT_FALSE(client().CheckXMFZR("", "http://b/", 5));
    EXPECT_EQ(Texts{"url 未定义：CheckXMFZR"}, presenter_.Texts());
    EXPECT_EQ(0u, transport_.CallCount());
}

TEST_F(CheckXMFZRTest, SecondExchangeSendsTheGrownArgumentList) {
    ExpectFirstReplyLeadsTo("1,a:b:c:d", {FirstCall(), SecondCall("b", "c", "d")}, true);
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(CheckXMFZRTest, OnlyCodeNineStopsBeforeTheSecondExchange) {
    ExpectFirstReplyLeadsTo("9,a:b:c:d", {FirstCall()}, false);
    ExpectFirstReplyLeadsTo(" 9x,a:b:c:d", {FirstCall()}, false);
    ExpectFirstReplyLeadsTo("0,a:b:c:d", {FirstCall(), SecondCall("b", "c", "d")}, true);
    ExpectFirstReplyLeadsTo("x,a:b:c:d", {FirstCall(), SecondCall("b", "c", "d")}, true);
    ExpectFirstReplyLeadsTo("19,a:b:c:d", {FirstCall(), SecondCall("b", "c", "d")}, true);
}

TEST_F(CheckXMFZRTest, WithoutCommaTheWholeReplyIsSplit) {
    ExpectFirstReplyLeadsTo("9:b:c:d", {FirstCall(), SecondCall("b", "c", "d")}, true);
}

TEST_F(CheckXMFZRTest, OnlyTheTextAfterTheFirstCommaIsSplit) {
    ExpectFirstReplyLeadsTo("2,a:b,x:c:d", {FirstCall(), SecondCall("b,x", "c", "d")}, true);
}

TEST_F(CheckXMFZRTest, ExactlyFourPiecesAreNeeded) {
    ExpectFirstReplyLeadsTo("0,a:b:c:d:e", {FirstCall()}, false);
    ExpectFirstReplyLeadsTo("0,a:b:c", {FirstCall()}, false);
    ExpectFirstReplyLeadsTo("0,", {FirstCall()}, false);
    ExpectFirstReplyLeadsTo("", {FirstCall()}, false);
}

TEST_F(CheckXMFZRTest, TrailingColonAddsNoPieceButEmptyPiecesCount) {
    ExpectFirstReplyLeadsTo("0,a:b:c:d:", {FirstCall(), SecondCall("b", "c", "d")}, true);
    ExpectFirstReplyLeadsTo("0,a:b:c:d::", {FirstCall()}, false);
    ExpectFirstReplyLeadsTo("0,a::c:d", {FirstCall(), SecondCall("", "c", "d")}, true);
    ExpectFirstReplyLeadsTo("0,:::d", {FirstCall(), SecondCall("", "", "d")}, true);
    ExpectFirstReplyLeadsTo("0,:::", {FirstCall()}, false);
}

TEST_F(CheckXMFZRTest, SecondAnswerMustBeTwoOrThreeBeforeASemicolon) {
    struct Case {
        const char* reply;
        bool result;
    };
    const Case cases[] = {{"3;", true},  {"2;anything", true}, {"3;x;y", true}, {"1;", false},
                          {"4;", false}, {"3", false},         {"", false},     {"-3;", false}};
    for (const Case& c : cases) {
        transport_.Clear();
        transport_.QueueReply(true, "0,a:b:c:d");
        transport_.QueueReply(true, c.reply);
        EXPECT_EQ(c.result, client().CheckXMFZR("http://a/", "http://b/", 5)) << c.reply;
    }
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(CheckXMFZRTest, FailedExchangesEndSilently) {
    transport_.QueueReply(false, "无法连接服务器：x");
    EXPECT_FALSE(client().CheckXMFZR("http://a/", "http://b/", 5));
    EXPECT_EQ(1u, transport_.CallCount());

    transport_.Clear();
    transport_.QueueReply(true, "0,a:b:c:d");
    transport_.QueueReply(false, "3;");
    EXPECT_FALSE(client().CheckXMFZR("http://a/", "http://b/", 5));
    EXPECT_EQ(2u, transport_.CallCount());
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(CheckXMFZRTest, SecondUrlIsNotChecked) {
    transport_.QueueReply(true, "0,a:b:c:d");
    transport_.QueueReply(true, "2;");
    EXPECT_TRUE(client().CheckXMFZR("http://a/", "", -7));
    EXPECT_EQ(CString("-7"), transport_.Call(0).arguments[0].second);
    EXPECT_EQ(CString(), transport_.Call(1).url);
}

class ProjectsTest : public ServiceTest {
  protected:
    bool Ask(const CString& reply, std::vector<long>& projects) {
        transport_.QueueReply(true, reply);
        return client().GetXMFZRYZProjects("http://p/", "E1", 12, 3, "3201", projects);
    }
};

TEST_F(ProjectsTest, SendsItsFourArgumentsInOrder) {
    std::vector<long> projects;
    Ask("2;ok", projects);
    EXPECT_EQ(std::vector<WebCall>{UniteCall(
                  "http://p/", "CheckXMFZRForCpp",
                  {{"empId", "E1"}, {"corpDogId", "12"}, {"roleId", "3"}, {"areaCode", "3201"}})},
              transport_.Calls());
}

TEST_F(ProjectsTest, IdsAfterTheLastSemicolonAreAppended) {
    std::vector<long> projects{1};
    EXPECT_TRUE(Ask("2;x;5,7", projects));
    EXPECT_EQ((std::vector<long>{1, 5, 7}), projects);
    EXPECT_TRUE(Ask("2;a;b;9,10x", projects));
    EXPECT_EQ((std::vector<long>{1, 5, 7, 9, 10}), projects);
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(ProjectsTest, OneSemicolonMeansNoProjects) {
    std::vector<long> projects{4};
    EXPECT_TRUE(Ask("2;ok", projects));
    EXPECT_TRUE(Ask("2;", projects));
    EXPECT_EQ(std::vector<long>{4}, projects);
}

TEST_F(ProjectsTest, CodeOtherThanTwoOrNoSemicolonFails) {
    std::vector<long> projects;
    EXPECT_FALSE(Ask("1;x;5", projects));
    EXPECT_FALSE(Ask("3;x;5", projects));
    EXPECT_FALSE(Ask("2", projects));
    EXPECT_FALSE(Ask("", projects));
    EXPECT_EQ(std::vector<long>{}, projects);
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(ProjectsTest, LeadingDoubleQuotesAreIgnored) {
    std::vector<long> projects;
    EXPECT_TRUE(Ask("\"\"2;x;5,7\"", projects));
    EXPECT_EQ((std::vector<long>{5, 7}), projects);
}

TEST_F(ProjectsTest, FailedExchangeShowsItsTextAndKeepsTheList) {
    std::vector<long> projects{8};
    transport_.QueueReply(false, "无法连接服务器：refused");
    EXPECT_FALSE(client().GetXMFZRYZProjects("", "E1", 1, 2, "3", projects));
    EXPECT_EQ(Texts{"无法连接服务器：refused"}, presenter_.Texts());
    EXPECT_EQ(std::vector<long>{8}, projects);
    // The URL is not tested: the call went out without one.
    EXPECT_EQ(CString(), transport_.Call(0).url);
}

TEST_F(ProjectsTest, CheckForCppGivesTheSameAnswer) {
    transport_.QueueReply(true, "2;x;5");
    transport_.QueueReply(true, "1;x;5");
    EXPECT_TRUE(client().CheckXMFZRForCpp("http://p/", "E1", 12, 3, "3201"));
    EXPECT_FALSE(client().CheckXMFZRForCpp("http://p/", "E1", 12, 3, "3201"));
    transport_.QueueReply(false, "超时");
    EXPECT_FALSE(client().CheckXMFZRForCpp("http://p/", "E1", 12, 3, "3201"));
    EXPECT_EQ(Texts{"超时"}, presenter_.Texts());
    EXPECT_EQ(
        UniteCall("http://p/", "CheckXMFZRForCpp",
                  {{"empId", "E1"}, {"corpDogId", "12"}, {"roleId", "3"}, {"areaCode", "3201"}}),
        transport_.Call(0));
}

}  // namespace
