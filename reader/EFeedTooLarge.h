#pragma once
// The headlines cut from one feed grew past their bound (see FeedCutter.h): the feed is refused
// like a failed fetch instead of filling memory.
#include "framework/core/Exception.h"

class EFeedTooLarge : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EFeedTooLarge"; }
};
