#include "records/DbTableRowFunctor.h"

DbTableRowFunctor::DbTableRowFunctor() : m_bReturn(false) {}

DbTableRowFunctor::DbTableRowFunctor(const DbTableRowFunctor& other) : m_bReturn(other.m_bReturn) {}

DbTableRowFunctor::DbTableRowFunctor(DbTableRowFunctor&& other) : m_bReturn(other.m_bReturn) {}

DbTableRowFunctor& DbTableRowFunctor::operator=(const DbTableRowFunctor& other) {
    m_bReturn = other.m_bReturn;
    return *this;
}

DbTableRowFunctor& DbTableRowFunctor::operator=(DbTableRowFunctor&& other) {
    m_bReturn = other.m_bReturn;
    return *this;
}

DbTableRowFunctor::~DbTableRowFunctor() = default;

void DbTableRowFunctor::SetReturn(bool value) { m_bReturn = value; }

void DbTableRowFunctor::operator()(CTableRow* /*parent*/, CTableRow& /*row*/) {}

void DbTableRowFunctor::StepIn() {}

void DbTableRowFunctor::StepOut() {}

void DbTableRowFunctor::StepOutByObj(CTableRow* /*row*/) { StepOut(); }

bool DbTableRowFunctor::IsReturn() { return m_bReturn; }

long DbTableRowFunctor::GetTableKind() { return 0; }
