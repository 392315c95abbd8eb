// The host identity every suite installs: user 12, application id 5, application type 3.
#pragma once

#include "service/CServiceSupport.h"

constexpr long kUserId = 12;
constexpr long kAppId = 5;
constexpr long kAppType = 3;

class FixedServiceSupport : public CServiceSupport {
  public:
    long GetAppId() override { return kAppId; }
    long GetUserDogId() override { return kUserId; }
    long GetAppType() const override { return kAppType; }
};
