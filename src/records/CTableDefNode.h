// One column of a table definition: its name, width, alignment, data type, print layout,
// expression and rights. The row library's definition readers fill the protected fields
// (derived column kinds may set them directly); applications read them through the
// accessors. A column is a value; one object is used by one thread at a time.
//
// Sharing: the column and function names are texts shared between a node and its copies
// (a copy's GetColumnName() is the very pointer of its source) and they stay valid as long as
// any of those nodes lives. The rights and the expression are copied.
#pragma once

#include <string>
#include <vector>

#include "gridcore/CTableRow.h"
#include "gridcore/RowTypes.h"
#include "platform/Export.h"
#include "records/SharedText.h"

class XMK_EXPORT CTableDefNode : public CTableRow {
  public:
    CTableDefNode();
    CTableDefNode(const CTableDefNode& other);
    ~CTableDefNode() override;

    bool isRightDefined();
    char* GetColumnName();
    char* GetFunctionName();
    int GetIndex();
    int bSum();
    int bShowQZ();
    unsigned char getBits();
    std::string& getexpression();
    const char* getexoression_cstr();
    int GetWidth();
    int GetPrintWidth();
    void SetPrintWidth(int width);
    unsigned char bAlign();
    int bVisible();
    DataType bDataType();
    unsigned char GetPrintFormat();
    unsigned long& GetBackColor();

    // Each takes a private copy of `name` (null clears it), shared by later copies of this
    // node.
    void SetColumnName(const char* name);
    void SetFunctionName(const char* name);

  protected:
    std::vector<int> m_vecRightCode;
    std::vector<int> m_vecRightExtra;
    int m_nReserved3;
    int m_nReserved4;
    int m_nWidth;
    int m_bVisible;
    unsigned char m_bAlign;
    int m_nReserved8;
    DataType m_DataType;
    int m_nReserved10;
    unsigned long m_BackColor;
    int m_nPrintWidth;
    int m_nReserved13;
    int m_nReserved14;
    int m_nReserved15;
    int m_nReserved16;
    int m_nIndex;
    unsigned char m_PrintFormat;
    int m_nReserved19;
    SharedText m_ColumnName;
    SharedText m_FunctionName;
    std::string m_expression;
    int m_bSum;
    int m_bShowQZ;
    unsigned char m_Bits;
    int m_nReserved26;
};
