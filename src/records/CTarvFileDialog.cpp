#include "records/CTarvFileDialog.h"

CTarvFileDialog::CTarvFileDialog() = default;

CTarvFileDialog::~CTarvFileDialog() = default;
