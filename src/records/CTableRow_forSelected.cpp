#include "records/CTableRow_forSelected.h"

CTableRow_forSelected::CTableRow_forSelected() : m_bSelected(0) {}

CTableRow_forSelected::CTableRow_forSelected(const CTableRow_forSelected& other)
    : CTableRow(other), m_bSelected(other.m_bSelected) {}

CTableRow_forSelected::~CTableRow_forSelected() = default;
