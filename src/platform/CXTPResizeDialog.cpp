#include "platform/CXTPResizeDialog.h"

CXTPResizeDialog::CXTPResizeDialog() = default;

CXTPResizeDialog::~CXTPResizeDialog() = default;
