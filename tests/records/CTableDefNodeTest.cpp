#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "records/CTableDefNode.h"

namespace {

// Fills every field the accessors read, as the row library's definition readers do.
class FilledDefNode : public CTableDefNode {
  public:
    FilledDefNode() {
        m_vecRightCode = {11};
        m_vecRightExtra = {1, 2};
        m_nWidth = 120;
        m_bVisible = 1;
        m_bAlign = 2;
        m_DataType = DT_Double;
        m_BackColor = 0xFFEEDDul;
        m_nPrintWidth = 30;
        m_nIndex = 4;
        m_PrintFormat = 3;
        m_expression = "a+b";
        m_bSum = 1;
        m_bShowQZ = 1;
        m_Bits = 0x81;
        SetColumnName("Amount");
        SetFunctionName("SUM");
    }
};

}  // namespace

TEST(CTableDefNodeTest, RightsAreDefinedWhenTheListIsNotEmpty) {
    CTableDefNode plain;
    EXPECT_FALSE(plain.isRightDefined());
    FilledDefNode filled;
    EXPECT_TRUE(filled.isRightDefined());
}

TEST(CTableDefNodeTest, ExpressionCharactersForShortAndLongTexts) {
    CTableDefNode node;
    node.getexpression() = "x";
    EXPECT_STREQ("x", node.getexoression_cstr());
    const std::string longText(1000, 'q');
    node.getexpression() = longText;
    EXPECT_EQ(longText, node.getexoression_cstr());
}

TEST(CTableDefNodeTest, CopyTakesEveryFieldAndSharesTheNames) {
    FilledDefNode source;
    CTableDefNode copy(source);
    EXPECT_TRUE(copy.isRightDefined());
    EXPECT_EQ(120, copy.GetWidth());
    EXPECT_EQ(1, copy.bVisible());
    EXPECT_EQ(2, copy.bAlign());
    EXPECT_EQ(DT_Double, copy.bDataType());
    EXPECT_EQ(0xFFEEDDul, copy.GetBackColor());
    EXPECT_EQ(30, copy.GetPrintWidth());
    EXPECT_EQ(4, copy.GetIndex());
    EXPECT_EQ(3, copy.GetPrintFormat());
    EXPECT_EQ("a+b", copy.getexpression());
    EXPECT_EQ(1, copy.bSum());
    EXPECT_EQ(1, copy.bShowQZ());
    EXPECT_EQ(0x81, copy.getBits());
    EXPECT_EQ(source.GetColumnName(), copy.GetColumnName());
    EXPECT_EQ(source.GetFunctionName(), copy.GetFunctionName());
}

TEST(CTableDefNodeTest, CopyKeepsItsOwnExpressionAndColour) {
    FilledDefNode source;
    CTableDefNode copy(source);
    source.getexpression() = "changed";
    source.GetBackColor() = 1;
    source.SetPrintWidth(99);
    EXPECT_EQ("a+b", copy.getexpression());
    EXPECT_EQ(0xFFEEDDul, copy.GetBackColor());
    EXPECT_EQ(30, copy.GetPrintWidth());
}

TEST(CTableDefNodeTest, CopiedNamesOutliveTheSource) {
    auto source = std::make_unique<FilledDefNode>();
    CTableDefNode copy(*source);
    source.reset();
    EXPECT_STREQ("Amount", copy.GetColumnName());
    EXPECT_STREQ("SUM", copy.GetFunctionName());
}

TEST(CTableDefNodeTest, RenamingOneNodeLeavesItsCopiesAlone) {
    FilledDefNode source;
    CTableDefNode copy(source);
    source.SetColumnName("Other");
    EXPECT_STREQ("Amount", copy.GetColumnName());
    source.SetFunctionName(nullptr);
    EXPECT_EQ(nullptr, source.GetFunctionName());
}
