#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>

#include "records/CFileTransObj.h"
#include "records/CFormatInfo.h"
#include "records/CURL_Expand.h"
#include "records/CharSocket.h"
#include "records/FindData.h"
#include "records/FtpNotifyData.h"
#include "records/SDigitSignResult.h"
#include "support/CStringPrinter.h"

TEST(CFileTransObjTest, EqualNeedsAllSixteenBytes) {
    _GUID id{0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
    CFileTransObj file(id, 100, 200);
    _GUID same = id;
    EXPECT_EQ(1, file.bEqual(same));
    _GUID lastDiffers = id;
    lastDiffers.Data4[7] = 17;
    EXPECT_EQ(0, file.bEqual(lastDiffers));
    _GUID firstDiffers = id;
    firstDiffers.Data1 ^= 1u;
    EXPECT_EQ(0, file.bEqual(firstDiffers));
}

TEST(CFileTransObjTest, SizeChoiceAndAssignment) {
    _GUID id{7, 0, 0, {}};
    CFileTransObj file(id, 100, 200);
    EXPECT_EQ(100, file.GetFileSize(true));
    EXPECT_EQ(200, file.GetFileSize(false));
    CFileTransObj assigned;
    assigned = std::move(file);
    EXPECT_EQ(1, assigned.bEqual(id));
    EXPECT_EQ(200, assigned.GetFileSize(false));
}

TEST(CharSocketTest, NewSocketIsEmptyWithTheLastLineEnded) {
    CharSocket socket;
    EXPECT_TRUE(socket.IsEmpty());
    EXPECT_TRUE(socket.bLastRN());
    socket.SetLastRN(false);
    CharSocket assigned;
    assigned = socket;
    EXPECT_FALSE(assigned.bLastRN());
    EXPECT_TRUE(assigned.IsEmpty());
}

TEST(FtpNotifyDataTest, NewDataIsAllZeroWithEmptyTexts) {
    FtpNotifyData data;
    EXPECT_EQ(0, data.nEvent);
    EXPECT_EQ(0.0, data.dPercent);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(0u, data.key[i]);
        EXPECT_EQ(0u, data.extra[i]);
    }
    EXPECT_EQ("", data.strFile);
    EXPECT_EQ("", data.strMessage);
}

TEST(FtpNotifyDataTest, MovesCopyAndLeaveTheSource) {
    FtpNotifyData source;
    source.nEvent = 2;
    source.key[3] = 9;
    source.dPercent = 0.5;
    source.strFile = "a.txt";
    FtpNotifyData moved(std::move(source));
    EXPECT_EQ("a.txt", source.strFile);
    EXPECT_EQ(9u, moved.key[3]);
    EXPECT_EQ(0.5, moved.dPercent);
    FtpNotifyData assigned;
    assigned = std::move(moved);
    EXPECT_EQ("a.txt", moved.strFile);
    EXPECT_EQ(2, assigned.nEvent);
    EXPECT_EQ("a.txt", assigned.strFile);
}

TEST(FindDataTest, CopiesCarryEveryMember) {
    FindData source;
    EXPECT_EQ(ReplaceQD_FilterAll, source.GetReplaceQD_FilterKind());
    source.strFind = "old";
    source.strReplace = "new";
    source.dValue = 1.5;
    source.filterKind = ReplaceQD_FilterName;
    FindData moved(std::move(source));
    EXPECT_EQ("old", source.strFind);
    EXPECT_EQ("new", moved.strReplace);
    EXPECT_EQ(1.5, moved.dValue);
    EXPECT_EQ(ReplaceQD_FilterName, moved.GetReplaceQD_FilterKind());
}

TEST(WholeArrayRecordsTest, AssignmentsCopyEveryByte) {
    auto source = std::make_unique<SDigitSignResult>();
    source->signData[0] = 1;
    source->signData[SDigitSignResult::kSignDataSize - 1] = 2;
    source->message[SDigitSignResult::kMessageSize - 1] = 3;
    auto target = std::make_unique<SDigitSignResult>();
    *target = std::move(*source);
    EXPECT_EQ(0, std::memcmp(source.get(), target.get(), sizeof(SDigitSignResult)));

    CFormatInfo format;
    format.m_Settings[12] = 7;
    CFormatInfo formatCopy;
    formatCopy = format;
    EXPECT_EQ(0, std::memcmp(format.m_Settings, formatCopy.m_Settings, 13));
}

TEST(WholeArrayRecordsTest, UrlExpandCopiesItsItems) {
    CURL_Expand source;
    source.m_vecItems = {1, 2};
    CURL_Expand copy(source);
    source.m_vecItems.push_back(3);
    EXPECT_EQ((std::vector<int>{1, 2}), copy.m_vecItems);
}
