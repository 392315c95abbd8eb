#include "records/CSysDataInfoRightCode.h"

namespace {

char kClassName[] = "CSysDataInfoRightCode";

}  // namespace

CSysDataInfoRightCode::CSysDataInfoRightCode() : m_lKindID(0), m_lRightID(0), m_lTreeID(0) {}

CSysDataInfoRightCode::CSysDataInfoRightCode(long kindID, long rightID, long treeID)
    : m_lKindID(kindID), m_lRightID(rightID), m_lTreeID(treeID) {}

CSysDataInfoRightCode::CSysDataInfoRightCode(const CSysDataInfoRightCode& other)
    : CSysDataInfo(other),
      m_lKindID(other.m_lKindID),
      m_lRightID(other.m_lRightID),
      m_lTreeID(other.m_lTreeID) {}

CSysDataInfoRightCode::CSysDataInfoRightCode(CSysDataInfoRightCode&& other)
    : CSysDataInfoRightCode(static_cast<const CSysDataInfoRightCode&>(other)) {}

CSysDataInfoRightCode::~CSysDataInfoRightCode() = default;

long CSysDataInfoRightCode::GetKindID() { return m_lKindID; }

long CSysDataInfoRightCode::GetRightID() { return m_lRightID; }

long CSysDataInfoRightCode::GetTreeID() { return m_lTreeID; }

char* CSysDataInfoRightCode::GetClassNameA() { return kClassName; }
