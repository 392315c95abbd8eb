#include "records/CFtpTransmit.h"

CFtpTransmit::CFtpTransmit() : CFtpTransmit(nullptr) {}
