#include "platform/CDialog.h"

CDialog::CDialog() = default;

CDialog::~CDialog() = default;
