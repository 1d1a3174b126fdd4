#pragma once
// An INI file could not be written: "Unable to write to <full path>".
#include "framework/core/Exception.h"

class EIniFileException : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EIniFileException"; }
};
