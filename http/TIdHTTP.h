#pragma once
// The HTTP client component the reader owns; all behaviour is in TIdCustomHTTP.
#include "http/TIdCustomHTTP.h"

class TIdHTTP : public TIdCustomHTTP {};
