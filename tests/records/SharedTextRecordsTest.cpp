#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "records/CExpressionCall.h"
#include "records/CFtpFileTask.h"

TEST(CExpressionCallTest, CopySharesTheTextsButHasItsOwnVectors) {
    char varName[] = "x";
    CExpressionCall source("total", "a*b", 2);
    source.GetvecParaFlag().push_back(1);
    source.GetvecParaVarName().push_back(varName);

    CExpressionCall copy(source);
    EXPECT_EQ(source.GetName(), copy.GetName());
    EXPECT_EQ(source.GetExpression(), copy.GetExpression());
    EXPECT_EQ(2, copy.bExchangeType());

    source.GetvecParaFlag().push_back(0);
    source.GetvecParaVarName().clear();
    EXPECT_EQ((std::vector<unsigned char>{1}), copy.GetvecParaFlag());
    EXPECT_EQ((std::vector<char*>{varName}), copy.GetvecParaVarName());
}

TEST(CExpressionCallTest, CopiesKeepTheirTextsWhenTheSourceGoes) {
    auto source = std::make_unique<CExpressionCall>("total", "a*b", 0);
    CExpressionCall copy(*source);
    CExpressionCall assigned;
    assigned = *source;
    source.reset();
    EXPECT_STREQ("total", copy.GetName());
    EXPECT_STREQ("a*b", assigned.GetExpression());
    EXPECT_EQ(copy.GetName(), assigned.GetName());
}

TEST(CExpressionCallTest, SelfAssignmentLeavesEverythingInPlace) {
    CExpressionCall call("n", "e", 1);
    call.GetvecParaFlag() = {1, 2};
    char* name = call.GetName();
    CExpressionCall& alias = call;
    call = alias;
    EXPECT_EQ((std::vector<unsigned char>{1, 2}), call.GetvecParaFlag());
    EXPECT_EQ(name, call.GetName());
}

TEST(CFtpFileTaskTest, AssignedTaskSharesPathsThatOutliveTheSource) {
    _GUID key{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    auto source = std::make_unique<CFtpFileTask>("/tmp/a.txt", "up/a.txt", key);
    source->SetStatus(3);
    CFtpFileTask assigned;
    assigned = *source;
    EXPECT_EQ(source->GetLocalFile(), assigned.GetLocalFile());
    source.reset();
    EXPECT_STREQ("/tmp/a.txt", assigned.GetLocalFile());
    EXPECT_STREQ("up/a.txt", assigned.GetRemoteFile());
    EXPECT_EQ(3, assigned.bStatus());
    EXPECT_EQ(11, assigned.GetkeyGUID().Data4[7]);
}

TEST(CFtpFileTaskTest, ANewTaskHasNoPaths) {
    CFtpFileTask task;
    EXPECT_EQ(nullptr, task.GetLocalFile());
    EXPECT_EQ(nullptr, task.GetRemoteFile());
}
