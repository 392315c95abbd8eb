#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "records/CExpressionCall.h"
#include "records/CFileTransObj.h"
#include "records/CFtpFileTask.h"
#include "records/CRes_Recordset.h"
#include "records/CharSocket.h"
#include "records/FtpNotifyData.h"
#include "records/SDigitSignResult.h"
#include "records/quotacode_ext_info.h"
#include "support/CStringPrinter.h"

namespace {

// The six numbers of a quota code, compared whole.
std::vector<long> Numbers(const quotacode_ext_info& info) {
    return {info.lID, info.nData1, info.nData2, info.nData3, info.nData4, info.nData5};
}

struct Socket : CharSocket {
    void Receive(const char* text) {
        std::strcpy(m_Buffer, text);
        m_bHasData = 1;
    }
    const char* Buffer() const { return m_Buffer; }
};

}  // namespace

TEST(QuotaCodeTest, CodesKeepAtMostTheirFirstNineBytesAndCopiesKeepEverything) {
    const struct {
        const char* text;
        CString code;
    } cases[] = {{"123456789", "123456789"},
                 {"1234567890", "123456789"},
                 {"A1", "A1"},
                 {"", ""},
                 // "AB" then three 3-byte characters: the 9th byte is inside the third one.
                 {"AB定额编码", CString("AB定额编码").Left(9)}};
    for (const auto& c : cases) {
        CString text(c.text);
        quotacode_ext_info info(text);
        EXPECT_EQ(c.code, info.strCode) << c.text;
        EXPECT_EQ((std::vector<long>{-1, -1, -1, -1, -1, 0}), Numbers(info)) << c.text;
        EXPECT_EQ(c.text, text);
    }
    EXPECT_EQ(9, CString("AB定额编码").Left(9).GetLength());
    quotacode_ext_info numbers(10, 1, 2, 3, 4, 5);
    EXPECT_EQ((std::vector<long>{10, 1, 2, 3, 4, 5}), Numbers(numbers));
    EXPECT_EQ("", numbers.strCode);

    // Copies and moves copy every member and leave the source as it was.
    CString text("Q-7");
    quotacode_ext_info source(text);
    quotacode_ext_info moved(std::move(source));
    quotacode_ext_info assigned(0, 0, 0, 0, 0, 0);
    assigned = std::move(moved);
    for (const quotacode_ext_info* info : {&source, &moved, &assigned}) {
        EXPECT_EQ("Q-7", info->strCode);
        EXPECT_EQ((std::vector<long>{-1, -1, -1, -1, -1, 0}), Numbers(*info));
    }
}

TEST(CFileTransObjTest, EqualNeedsAllSixteenBytes) {
    _GUID id{0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
    CFileTransObj file(id, 100, 200);
    _GUID lastDiffers = id, firstDiffers = id;
    lastDiffers.Data4[7] = 17;
    firstDiffers.Data1 ^= 1u;
    EXPECT_EQ(
        (std::vector<int>{1, 0, 0}),
        (std::vector<int>{file.bEqual(id), file.bEqual(lastDiffers), file.bEqual(firstDiffers)}));
    CFileTransObj assigned;
    assigned = std::move(file);
    EXPECT_EQ(1, assigned.bEqual(id));
    EXPECT_EQ(std::make_pair(100L, 200L),
              std::make_pair(assigned.GetFileSize(true), assigned.GetFileSize(false)));
}

TEST(CharSocketTest, NewSocketIsEmptyAndAssignmentsCopyTheBufferAndBothFlags) {
    Socket fresh;
    EXPECT_TRUE(fresh.IsEmpty() && fresh.bLastRN());
    Socket source;
    source.Receive("line");
    source.SetLastRN(false);
    Socket copied;
    copied = source;
    Socket moved;
    moved = std::move(source);
    for (Socket* socket : {&source, &copied, &moved}) {
        EXPECT_STREQ("line", socket->Buffer());
        EXPECT_FALSE(socket->IsEmpty());
        EXPECT_FALSE(socket->bLastRN());
    }
}

TEST(SharedTextRecordsTest, CopiesShareTheTextsThatOutliveTheSourceButOwnTheirVectors) {
    char varName[] = "x";
    auto source = std::make_unique<CExpressionCall>("total", "a*b", 2);
    source->GetvecParaFlag().push_back(1);
    source->GetvecParaVarName().push_back(varName);
    CExpressionCall copy(*source);
    CExpressionCall assigned;
    assigned = *source;
    EXPECT_EQ(source->GetName(), copy.GetName());
    EXPECT_EQ(source->GetExpression(), assigned.GetExpression());
    source->GetvecParaFlag().push_back(0);
    source->GetvecParaVarName().clear();
    source.reset();
    EXPECT_STREQ("total", copy.GetName());
    EXPECT_STREQ("a*b", assigned.GetExpression());
    EXPECT_EQ(2, copy.bExchangeType());
    EXPECT_EQ((std::vector<unsigned char>{1}), copy.GetvecParaFlag());
    EXPECT_EQ((std::vector<char*>{varName}), assigned.GetvecParaVarName());

    // Assignment to itself leaves the vectors and texts in place.
    char* name = copy.GetName();
    CExpressionCall& alias = copy;
    copy = alias;
    EXPECT_EQ((std::vector<unsigned char>{1}), copy.GetvecParaFlag());
    EXPECT_EQ(name, copy.GetName());

    _GUID key{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    auto task = std::make_unique<CFtpFileTask>("/tmp/a.txt", "up/a.txt", key);
    task->SetStatus(3);
    CFtpFileTask assignedTask;
    EXPECT_EQ(nullptr, assignedTask.GetLocalFile());
    assignedTask = *task;
    EXPECT_EQ(task->GetLocalFile(), assignedTask.GetLocalFile());
    task.reset();
    EXPECT_STREQ("/tmp/a.txt", assignedTask.GetLocalFile());
    EXPECT_STREQ("up/a.txt", assignedTask.GetRemoteFile());
    EXPECT_EQ(3, assignedTask.bStatus());
    EXPECT_EQ(0, std::memcmp(&key, &assignedTask.GetkeyGUID(), sizeof key));
}

TEST(ValueCopiesTest, RecordsCopyEveryMemberAndMovesLeaveTheSource) {
    FtpNotifyData data;
    EXPECT_EQ(std::make_pair(0, 0.0), std::make_pair(data.nEvent, data.dPercent));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(std::make_pair(0u, 0u), std::make_pair(data.key[i], data.extra[i])) << i;
    }
    EXPECT_EQ(std::make_pair(CString(), CString()), std::make_pair(data.strFile, data.strMessage));
    data.key[3] = 9;
    data.dPercent = 0.5;
    data.strFile = "a.txt";
    FtpNotifyData assigned;
    assigned = std::move(data);
    for (const FtpNotifyData* d : {&data, &assigned}) {
        EXPECT_EQ(std::make_pair(9u, 0.5), std::make_pair(d->key[3], d->dPercent));
        EXPECT_EQ("a.txt", d->strFile);
    }

    auto source = std::make_unique<SDigitSignResult>();
    source->signData[0] = 1;
    source->signData[SDigitSignResult::kSignDataSize - 1] = 2;
    source->message[SDigitSignResult::kMessageSize - 1] = 3;
    auto target = std::make_unique<SDigitSignResult>();
    *target = std::move(*source);
    EXPECT_EQ(0, std::memcmp(source.get(), target.get(), sizeof(SDigitSignResult)));
}

TEST(CRes_RecordsetTest, CodeAndTitleReturnTheVeryStringGiven) {
    CRes_Recordset records;
    CString text("code");
    EXPECT_EQ(&text, &records.GetCode(text));
    EXPECT_EQ(&text, &records.GetTitle(text));
    EXPECT_EQ("code", text);
}
