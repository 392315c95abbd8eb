#include <gtest/gtest.h>

#include <utility>

#include "service/ServiceRetValue.h"
#include "support/ServiceTesting.h"

namespace {

// Code, message and data are the first three values whatever their names; only code 1 is
// judged silently, and codes below 1 fail.
TEST(ServiceRetValueTest, RepliesAreReadAndJudgedByTheirCode) {
    const struct {
        const char* reply;
        int code;
        const char* message;
        const char* data;
        bool success;
    } cases[] = {{"", 0, "什么也没有返回", "", false},
                 {"{}", 0, "什么也没有返回", "", false},
                 {"{x:1,\"y\":\"fine\",z:57,w:99}", 1, "fine", "57", true},
                 {"{ret:2,msg:'saved, check it',data:''}", 2, "saved, check it", "", true},
                 {"{ret:2147483647,msg:'most',data:'d'}", 2147483647, "most", "d", true},
                 {"{ret:0,msg:'refused',data:''}", 0, "refused", "", false},
                 {"{ret:-1,msg:'broken',data:''}", -1, "broken", "", false},
                 {"{ret:-2147483648,msg:'least',data:''}", -2147483647 - 1, "least", "", false},
                 {"{ret:'abc',msg:'not a number',data:''}", 0, "not a number", "", false},
                 // Cut short: what could not be read is 0 or empty.
                 {"{ret:2,msg:", 2, "", "", true},
                 {"ret:", 0, "", "", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        RecordingPresenter presenter;
        const ServiceRetValue ret(CString{c.reply});
        EXPECT_EQ(c.code, ret.m_nRet);
        EXPECT_EQ(CString(c.message), ret.m_strMessage);
        EXPECT_EQ(CString(c.data), ret.m_strData);
        EXPECT_EQ(c.success, ret.MessageAndRet());
        EXPECT_EQ(c.code == 1 ? Texts{} : Texts{c.message}, presenter.Texts());
    }
}

// A document is read from its cursor, which moves; an empty reply keeps the data already read.
TEST(ServiceRetValueTest, ReadingAnotherReplyStartsAtTheCursorAndKeepsDataOnAnEmptyOne) {
    CJosn reply(CString("{skip:5,ret:2,msg:'m',data:'d',more:1}"));
    int skipped = 0;
    reply.pop(skipped);
    ServiceRetValue ret(reply);
    EXPECT_EQ(2, ret.m_nRet);
    EXPECT_EQ(CString("m"), ret.m_strMessage);
    EXPECT_EQ(CString("d"), ret.m_strData);
    CString next;
    reply.pop(next);
    EXPECT_EQ(CString("1"), next);
    ret.ReadJosn(CString(""));
    EXPECT_EQ(0, ret.m_nRet);
    EXPECT_EQ(CString(kNothingReturned), ret.m_strMessage);
    EXPECT_EQ(CString("d"), ret.m_strData);
    ret.ReadJosn(CString("{ret:3,msg:'hello'}"));
    EXPECT_EQ(CString(), ret.m_strData);
    EXPECT_EQ(0, ServiceRetValue().m_nRet);
}

TEST(ServiceRetValueTest, MovingCopiesAndLeavesTheSourceAsItWas) {
    ServiceRetValue source(CString("{ret:2,msg:'m',data:'d'}"));
    const ServiceRetValue moved(std::move(source));
    ServiceRetValue assigned;
    assigned = std::move(source);
    const ServiceRetValue* values[] = {&source, &moved, &assigned};
    for (const ServiceRetValue* value : values) {
        EXPECT_EQ(2, value->m_nRet);
        EXPECT_EQ(CString("m"), value->m_strMessage);
        EXPECT_EQ(CString("d"), value->m_strData);
    }
}

}  // namespace
