#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "service/ServiceRetValue.h"
#include "support/ServiceTesting.h"

namespace {

// "code|message|data".
std::string Read(const ServiceRetValue& ret) {
    return std::to_string(ret.m_nRet) + "|" + ret.m_strMessage.Str() + "|" + ret.m_strData.Str();
}

// Code, message and data are the first three values whatever their names; only code 1 is
// judged silently, and codes below 1 fail.
TEST(ServiceRetValueTest, RepliesAreReadAndJudgedByTheirCode) {
    const struct {
        const char* reply;
        std::string read;  // code|message|data
        bool success;
    } cases[] = {{"", "0|什么也没有返回|", false},
                 {"{}", "0|什么也没有返回|", false},
                 {"{x:1,\"y\":\"fine\",z:57,w:99}", "1|fine|57", true},
                 {"{ret:2,msg:'saved, check it',data:''}", "2|saved, check it|", true},
                 {"{ret:2147483647,msg:'most',data:'d'}", "2147483647|most|d", true},
                 {"{ret:0,msg:'refused',data:''}", "0|refused|", false},
                 {"{ret:-1,msg:'broken',data:''}", "-1|broken|", false},
                 {"{ret:-2147483648,msg:'least',data:''}", "-2147483648|least|", false},
                 {"{ret:'abc',msg:'not a number',data:''}", "0|not a number|", false},
                 // Cut short: what could not be read is 0 or empty.
                 {"{ret:2,msg:", "2||", true},
                 {"ret:", "0||", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        RecordingPresenter presenter;
        const ServiceRetValue ret(CString{c.reply});
        EXPECT_EQ(c.read, Read(ret));
        EXPECT_EQ(c.success, ret.MessageAndRet());
        const std::string message = ret.m_strMessage.Str();
        EXPECT_EQ(ret.m_nRet == 1 ? Texts{} : Texts{message.c_str()}, presenter.Texts());
    }
}

// A document is read from its cursor, which moves; an empty reply keeps the data already read.
TEST(ServiceRetValueTest, ReadingAnotherReplyStartsAtTheCursorAndKeepsDataOnAnEmptyOne) {
    CJosn reply(CString("{skip:5,ret:2,msg:'m',data:'d',more:1}"));
    int skipped = 0;
    reply.pop(skipped);
    ServiceRetValue ret(reply);
    EXPECT_EQ("2|m|d", Read(ret));
    CString next;
    reply.pop(next);
    EXPECT_EQ(CString("1"), next);
    ret.ReadJosn(CString(""));
    EXPECT_EQ(std::string("0|") + kNothingReturned + "|d", Read(ret));
    ret.ReadJosn(CString("{ret:3,msg:'hello'}"));
    EXPECT_EQ("3|hello|", Read(ret));
    EXPECT_EQ("0||", Read(ServiceRetValue()));
}

TEST(ServiceRetValueTest, MovingCopiesAndLeavesTheSourceAsItWas) {
    ServiceRetValue source(CString("{ret:2,msg:'m',data:'d'}"));
    const ServiceRetValue moved(std::move(source));
    ServiceRetValue assigned;
    assigned = std::move(source);
    const ServiceRetValue* values[] = {&source, &moved, &assigned};
    for (const ServiceRetValue* value : values) EXPECT_EQ("2|m|d", Read(*value));
}

}  // namespace
