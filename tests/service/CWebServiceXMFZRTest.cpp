#include <gtest/gtest.h>

#include <iterator>

#include "ServiceTestSupport.h"

namespace {

class CheckXMFZRTest : public ServiceTest {
  protected:
    static WebCall FirstCall() { return UniteCall("http://a/", "CheckXMFZR", {{"EmpId", "5"}}); }
    // The second call carries the first one's argument and the pieces 2 to 4 of its reply.
    static WebCall SecondCall(const CString& typeFlag, const CString& roleId,
                              const CString& level) {
        return UniteCall("http://b/", "CheckXMFZRForCPlus",
                         {{"EmpId", "5"},
                          {"TypeFlag", typeFlag},
                          {"RoleId", roleId},
                          {"CertificateLevel", level}});
    }
    bool Check(const CString& firstReply, const CString& secondReply, bool firstOk = true,
               bool secondOk = true) {
        transport_.Clear();
        transport_.QueueReply(firstOk, firstReply);
        transport_.QueueReply(secondOk, secondReply);
        return client().CheckXMFZR("http://a/", "http://b/", 5);
    }
};

TEST_F(CheckXMFZRTest, MissingUrlShowsItsBoxAndCallsNothing) {
    EXPECT_FALSE(client().CheckXMFZR("", "http://b/", 5));
    EXPECT_EQ(Texts{"url 未定义：CheckXMFZR"}, presenter_.Texts());
    EXPECT_EQ(0u, transport_.CallCount());
}

// Only code 9 before the first comma stops; the text after that comma (or the whole reply
// without one) must split at ":" into exactly four pieces, a ":" at the end adding none.
TEST_F(CheckXMFZRTest, FirstReplyDecidesWhetherTheSecondExchangeIsMadeAndWithWhat) {
    // The reply, then what the second call sends as type flag, role and level; none: no call.
    const struct {
        const char* reply;
        const char* typeFlag = nullptr;
        const char* roleId = nullptr;
        const char* level = nullptr;
    } cases[] = {{"1,a:b:c:d", "b", "c", "d"},
                 {"0,a:b:c:d", "b", "c", "d"},
                 {"x,a:b:c:d", "b", "c", "d"},
                 {"19,a:b:c:d", "b", "c", "d"},
                 {"9,a:b:c:d"},
                 {" 9x,a:b:c:d"},
                 {"9:b:c:d", "b", "c", "d"},
                 {"2,a:b,x:c:d", "b,x", "c", "d"},
                 {"0,a:b:c:d:e"},
                 {"0,a:b:c"},
                 {"0,"},
                 {""},
                 {"0,a:b:c:d:", "b", "c", "d"},
                 {"0,a:b:c:d::"},
                 {"0,a::c:d", "", "c", "d"},
                 {"0,:::d", "", "", "d"},
                 {"0,:::"}};
    for (const auto& c : cases) {
        std::vector<WebCall> expected = {FirstCall()};
        if (c.typeFlag) expected.push_back(SecondCall(c.typeFlag, c.roleId, c.level));
        EXPECT_EQ(c.typeFlag != nullptr, Check(c.reply, "3;")) << c.reply;
        EXPECT_EQ(expected, transport_.Calls()) << c.reply;
    }
    // A failed first exchange ends it.
    EXPECT_FALSE(Check("0,a:b:c:d", "3;", false));
    EXPECT_EQ(std::vector<WebCall>{FirstCall()}, transport_.Calls());
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(CheckXMFZRTest, SecondAnswerMustBeTwoOrThreeBeforeASemicolonAndArrive) {
    const std::pair<const char*, bool> cases[] = {
        {"3;", true},  {"2;anything", true}, {"3;x;y", true}, {"1;", false},
        {"4;", false}, {"3", false},         {"", false},     {"-3;", false}};
    for (const auto& c : cases) EXPECT_EQ(c.second, Check("0,a:b:c:d", c.first)) << c.first;
    EXPECT_FALSE(Check("0,a:b:c:d", "3;", true, false));  // the exchange failed
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(CheckXMFZRTest, SecondUrlIsNotChecked) {
    transport_.QueueReply(true, "0,a:b:c:d");
    transport_.QueueReply(true, "2;");
    EXPECT_TRUE(client().CheckXMFZR("http://a/", "", -7));
    EXPECT_EQ(CString("-7"), transport_.Call(0).arguments[0].second);
    EXPECT_EQ(CString(), transport_.Call(1).url);
}

using ProjectsTest = ServiceTest;

// Code 2 before the first semicolon succeeds; the ids after the last one, if there are two,
// are appended. Quotes in front are ignored.
TEST_F(ProjectsTest, RepliesGiveTheAnswerAndTheProjects) {
    const struct {
        const char* reply;
        bool result;
        std::vector<long> projects;
    } cases[] = {{"2;x;5,7", true, {1, 5, 7}},
                 {"2;a;b;9,10x", true, {1, 9, 10}},
                 {"\"\"2;x;5,7\"", true, {1, 5, 7}},
                 {"2;ok", true, {1}},
                 {"2;", true, {1}},
                 {"1;x;5", false, {1}},
                 {"3;x;5", false, {1}},
                 {"2", false, {1}},
                 {"", false, {1}}};
    for (const auto& c : cases) {
        std::vector<long> projects{1};
        transport_.QueueReply(true, c.reply);
        EXPECT_EQ(c.result, client().GetXMFZRYZProjects("http://p/", "E1", 12, 3, "3201", projects))
            << c.reply;
        EXPECT_EQ(c.projects, projects) << c.reply;
        transport_.QueueReply(true, c.reply);
        EXPECT_EQ(c.result, client().CheckXMFZRForCpp("http://p/", "E1", 12, 3, "3201"));
    }
    EXPECT_EQ(
        std::vector<WebCall>(
            2 * std::size(cases),
            UniteCall(
                "http://p/", "CheckXMFZRForCpp",
                {{"empId", "E1"}, {"corpDogId", "12"}, {"roleId", "3"}, {"areaCode", "3201"}})),
        transport_.Calls());
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(ProjectsTest, FailedExchangeShowsItsTextAndKeepsTheList) {
    std::vector<long> projects{8};
    transport_.QueueReply(false, "无法连接服务器：refused");
    transport_.QueueReply(false, "超时");
    EXPECT_FALSE(client().GetXMFZRYZProjects("", "E1", 1, 2, "3", projects));
    EXPECT_FALSE(client().CheckXMFZRForCpp("", "E1", 1, 2, "3"));
    EXPECT_EQ((Texts{"无法连接服务器：refused", "超时"}), presenter_.Texts());
    EXPECT_EQ(std::vector<long>{8}, projects);
    // The URL is not tested: the call went out without one.
    EXPECT_EQ(CString(), transport_.Call(0).url);
}

}  // namespace
