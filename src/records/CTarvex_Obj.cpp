#include "records/CTarvex_Obj.h"

CTarvex_Obj::CTarvex_Obj() = default;

CTarvex_Obj::CTarvex_Obj(const CTarvex_Obj& other) : CTableRow(other) {}

CTarvex_Obj::~CTarvex_Obj() = default;

bool CTarvex_Obj::isLeaf() { return true; }

double CTarvex_Obj::GetAreas() { return 0.0; }

DT_CateKind CTarvex_Obj::GetCateKind() { return DT_CateKind_Default; }

QDKind CTarvex_Obj::GetQDKind_() { return QDKind_Default; }

bool CTarvex_Obj::bOATaskUnit() { return false; }

bool CTarvex_Obj::bRootNode() { return false; }

const char* CTarvex_Obj::getCheckResult_cstr() { return ""; }

void CTarvex_Obj::SetColor_no_recursion(unsigned long& /*color*/) {}

long CTarvex_Obj::getqdparamScopeID() { return 0; }
