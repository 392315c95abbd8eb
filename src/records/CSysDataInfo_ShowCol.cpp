#include "records/CSysDataInfo_ShowCol.h"

CSysDataInfo_ShowCol::CSysDataInfo_ShowCol() : m_nShowCol(0) {}

CSysDataInfo_ShowCol::CSysDataInfo_ShowCol(const CSysDataInfo_ShowCol& other)
    : CSysDataInfo(other), m_nShowCol(other.m_nShowCol) {}

CSysDataInfo_ShowCol::~CSysDataInfo_ShowCol() = default;
