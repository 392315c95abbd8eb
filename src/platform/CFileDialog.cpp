#include "platform/CFileDialog.h"

CFileDialog::CFileDialog() = default;

CFileDialog::~CFileDialog() = default;
