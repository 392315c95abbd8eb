#include "platform/CFont.h"

CFont::CFont() = default;

CFont::~CFont() = default;
