#include "records/CharSocket.h"

CharSocket::CharSocket() : m_Buffer(), m_bLastRN(true), m_bHasData(0) {}

CharSocket::CharSocket(const CharSocket& other) = default;

CharSocket& CharSocket::operator=(const CharSocket& other) = default;

CharSocket& CharSocket::operator=(CharSocket&& other) {
    return *this = static_cast<const CharSocket&>(other);
}

CharSocket::~CharSocket() = default;

bool CharSocket::bLastRN() { return m_bLastRN; }

void CharSocket::SetLastRN(bool lastRN) { m_bLastRN = lastRN; }

bool CharSocket::IsEmpty() { return m_bHasData == 0; }
