#pragma once
// The process-wide socket stack: name resolution and the mapping of platform errors onto the
// numbers and texts the client reports ("Socket Error # 10061" CR LF "Connection refused.").
// Created on first use; POSIX sockets need no start-up, so creation cannot fail here.
#include "http/IdGlobal.h"

#include <string>

class TIdStack {
public:
    static TIdStack& Instance();

    // The reported number of an errno value (ECONNREFUSED -> 10061); unknown values pass through.
    static int TranslateError(int err);
    // The text of a reported number, empty for numbers without one.
    static std::string ErrorText(int number);
    // Raises EIdSocketError (EIdNotASocket for 10038) for a reported number.
    [[noreturn]] static void RaiseSocketError(int number);
    // Raises for the current errno.
    [[noreturn]] static void RaiseLastSocketError();

    // True for four dot-separated decimal numbers 0 to 255.
    static bool IsIPv4(const std::string& host);
    // The first address of the host as text; raises 11001 "Host not found." when it has none.
    std::string ResolveHost(const std::string& host, TIdIPVersion version) const;

private:
    TIdStack() = default;
};

inline TIdStack& GStack() {
    return TIdStack::Instance();
}
