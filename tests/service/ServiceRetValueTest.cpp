#include <gtest/gtest.h>

#include "json/CJosn.h"
#include "service/ServiceRetValue.h"
#include "support/CStringPrinter.h"
#include "support/RecordingPresenter.h"

namespace {

using Texts = std::vector<CString>;

class ServiceRetValueTest : public ::testing::Test {
  protected:
    RecordingPresenter presenter_;
};

TEST_F(ServiceRetValueTest, DefaultEnvelopeHoldsCodeZeroAndEmptyTexts) {
    ServiceRetValue ret;
    EXPECT_EQ(0, ret.m_nRet);
    EXPECT_EQ(CString(), ret.m_strMessage);
    EXPECT_EQ(CString(), ret.m_strData);
}

TEST_F(ServiceRetValueTest, EmptyReplyAndEmptyObjectReadAsNothingReturned) {
    for (const char* reply : {"", "{}"}) {
        presenter_.Clear();
        ServiceRetValue ret(CString{reply});
        EXPECT_EQ(0, ret.m_nRet) << reply;
        EXPECT_EQ(CString("什么也没有返回"), ret.m_strMessage) << reply;
        EXPECT_FALSE(ret.MessageAndRet()) << reply;
        EXPECT_EQ(Texts{"什么也没有返回"}, presenter_.Texts()) << reply;
    }
}

TEST_F(ServiceRetValueTest, EmptyReplyKeepsTheDataAlreadyRead) {
    ServiceRetValue ret(CString("{ret:1,msg:'ok',data:57}"));
    ret.ReadJosn(CString(""));
    EXPECT_EQ(0, ret.m_nRet);
    EXPECT_EQ(CString("什么也没有返回"), ret.m_strMessage);
    EXPECT_EQ(CString("57"), ret.m_strData);
}

TEST_F(ServiceRetValueTest, FirstThreeValuesAreReadWhateverTheirNames) {
    ServiceRetValue ret(CString("{x:1,\"y\":\"fine\",z:57,w:99}"));
    EXPECT_EQ(1, ret.m_nRet);
    EXPECT_EQ(CString("fine"), ret.m_strMessage);
    EXPECT_EQ(CString("57"), ret.m_strData);
    EXPECT_TRUE(ret.MessageAndRet());
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(ServiceRetValueTest, JudgementShowsTheMessageUnlessTheCodeIsOne) {
    struct Case {
        const char* reply;
        bool success;
        Texts boxes;
    };
    const Case cases[] = {
        {"{ret:1,msg:'a',data:''}", true, {}},
        {"{ret:2,msg:'saved, check it',data:''}", true, {"saved, check it"}},
        {"{ret:7,msg:'seven',data:''}", true, {"seven"}},
        {"{ret:0,msg:'refused',data:''}", false, {"refused"}},
        {"{ret:-1,msg:'broken',data:''}", false, {"broken"}},
        {"{ret:'abc',msg:'not a number',data:''}", false, {"not a number"}},
    };
    for (const Case& c : cases) {
        presenter_.Clear();
        EXPECT_EQ(c.success, ServiceRetValue(CString(c.reply)).MessageAndRet()) << c.reply;
        EXPECT_EQ(c.boxes, presenter_.Texts()) << c.reply;
    }
}

TEST_F(ServiceRetValueTest, DocumentIsReadFromItsCursor) {
    CJosn reply(CString("{skip:5,ret:2,msg:'m',data:'d',more:1}"));
    int skipped = 0;
    reply.pop(skipped);
    ServiceRetValue ret(reply);
    EXPECT_EQ(5, skipped);
    EXPECT_EQ(2, ret.m_nRet);
    EXPECT_EQ(CString("m"), ret.m_strMessage);
    EXPECT_EQ(CString("d"), ret.m_strData);
    // The caller's cursor moved past the three values.
    CString next;
    reply.pop(next);
    EXPECT_EQ(CString("1"), next);
}

TEST_F(ServiceRetValueTest, ValuesMissingFromACutReplyReadAsNothing) {
    ServiceRetValue ret(CString("{ret:5,msg:'x',data:'old'}"));
    ret.ReadJosn(CString("{ret:2,msg:"));
    EXPECT_EQ(2, ret.m_nRet);
    EXPECT_EQ(CString(), ret.m_strMessage);
    EXPECT_EQ(CString(), ret.m_strData);
    ret.ReadJosn(CString("ret:"));
    EXPECT_EQ(0, ret.m_nRet);
}

TEST_F(ServiceRetValueTest, TextReplyIsReadFromItsStart) {
    ServiceRetValue ret;
    ret.ReadJosn(CString("{ret:3,msg:'hello',data:'42'}"));
    EXPECT_EQ(3, ret.m_nRet);
    EXPECT_EQ(CString("hello"), ret.m_strMessage);
    EXPECT_EQ(CString("42"), ret.m_strData);
}

}  // namespace
