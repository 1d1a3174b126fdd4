#pragma once
// A file could not be opened, created, read or written. The message names the file.
#include "framework/core/Exception.h"

class EInOutError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EInOutError"; }
};
