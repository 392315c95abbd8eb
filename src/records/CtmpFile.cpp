#include "records/CtmpFile.h"

CtmpFile::CtmpFile() : CtmpFile(nullptr) {}
