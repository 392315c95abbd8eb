#include "records/SDigitSignResult.h"

SDigitSignResult::SDigitSignResult() : signData(), message() {}

SDigitSignResult::SDigitSignResult(const SDigitSignResult& other) = default;

SDigitSignResult& SDigitSignResult::operator=(const SDigitSignResult& other) = default;

SDigitSignResult& SDigitSignResult::operator=(SDigitSignResult&& other) {
    return *this = static_cast<const SDigitSignResult&>(other);
}

SDigitSignResult::~SDigitSignResult() = default;
