#include "records/FindData.h"

FindData::FindData() : nFlags(0), dValue(0.0), nScope(0), filterKind(ReplaceQD_FilterAll) {}

FindData::FindData(const FindData& other) = default;

FindData::FindData(FindData&& other) : FindData(static_cast<const FindData&>(other)) {}

FindData& FindData::operator=(const FindData& other) = default;

FindData& FindData::operator=(FindData&& other) {
    return *this = static_cast<const FindData&>(other);
}

FindData::~FindData() = default;

ReplaceQD_FilterKind FindData::GetReplaceQD_FilterKind() { return filterKind; }
