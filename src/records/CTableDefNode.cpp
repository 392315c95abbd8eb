#include "records/CTableDefNode.h"

CTableDefNode::CTableDefNode()
    : m_nReserved3(0),
      m_nReserved4(0),
      m_nWidth(0),
      m_bVisible(0),
      m_bAlign(0),
      m_nReserved8(0),
      m_DataType(DT_String),
      m_nReserved10(0),
      m_BackColor(0),
      m_nPrintWidth(0),
      m_nReserved13(0),
      m_nReserved14(0),
      m_nReserved15(0),
      m_nReserved16(0),
      m_nIndex(0),
      m_PrintFormat(0),
      m_nReserved19(0),
      m_bSum(0),
      m_bShowQZ(0),
      m_Bits(0),
      m_nReserved26(0) {}

CTableDefNode::CTableDefNode(const CTableDefNode& other)
    : CTableRow(other),
      m_vecRightCode(other.m_vecRightCode),
      m_vecRightExtra(other.m_vecRightExtra),
      m_nReserved3(other.m_nReserved3),
      m_nReserved4(other.m_nReserved4),
      m_nWidth(other.m_nWidth),
      m_bVisible(other.m_bVisible),
      m_bAlign(other.m_bAlign),
      m_nReserved8(other.m_nReserved8),
      m_DataType(other.m_DataType),
      m_nReserved10(other.m_nReserved10),
      m_BackColor(other.m_BackColor),
      m_nPrintWidth(other.m_nPrintWidth),
      m_nReserved13(other.m_nReserved13),
      m_nReserved14(other.m_nReserved14),
      m_nReserved15(other.m_nReserved15),
      m_nReserved16(other.m_nReserved16),
      m_nIndex(other.m_nIndex),
      m_PrintFormat(other.m_PrintFormat),
      m_nReserved19(other.m_nReserved19),
      m_ColumnName(other.m_ColumnName),
      m_FunctionName(other.m_FunctionName),
      m_expression(other.m_expression),
      m_bSum(other.m_bSum),
      m_bShowQZ(other.m_bShowQZ),
      m_Bits(other.m_Bits),
      m_nReserved26(other.m_nReserved26) {}

CTableDefNode::~CTableDefNode() = default;

bool CTableDefNode::isRightDefined() { return !m_vecRightCode.empty(); }

char* CTableDefNode::GetColumnName() { return m_ColumnName.Get(); }

char* CTableDefNode::GetFunctionName() { return m_FunctionName.Get(); }

int CTableDefNode::GetIndex() { return m_nIndex; }

int CTableDefNode::bSum() { return m_bSum; }

int CTableDefNode::bShowQZ() { return m_bShowQZ; }

unsigned char CTableDefNode::getBits() { return m_Bits; }

std::string& CTableDefNode::getexpression() { return m_expression; }

const char* CTableDefNode::getexoression_cstr() { return m_expression.c_str(); }

int CTableDefNode::GetWidth() { return m_nWidth; }

int CTableDefNode::GetPrintWidth() { return m_nPrintWidth; }

void CTableDefNode::SetPrintWidth(int width) { m_nPrintWidth = width; }

unsigned char CTableDefNode::bAlign() { return m_bAlign; }

int CTableDefNode::bVisible() { return m_bVisible; }

DataType CTableDefNode::bDataType() { return m_DataType; }

unsigned char CTableDefNode::GetPrintFormat() { return m_PrintFormat; }

unsigned long& CTableDefNode::GetBackColor() { return m_BackColor; }

void CTableDefNode::SetColumnName(const char* name) { m_ColumnName = SharedText(name); }

void CTableDefNode::SetFunctionName(const char* name) { m_FunctionName = SharedText(name); }
