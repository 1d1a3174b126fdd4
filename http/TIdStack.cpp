#include "http/TIdStack.h"

#include "http/EIdException.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdlib>

namespace {

struct ErrorName {
    int number;
    const char* text;
};

constexpr ErrorName kErrorTexts[] = {
    {kWSAEINTR, "Interrupted system call."},
    {kWSAEBADF, "Bad file number."},
    {kWSAEACCES, "Access denied."},
    {kWSAEFAULT, "Buffer fault."},
    {kWSAEINVAL, "Invalid argument."},
    {kWSAEMFILE, "Too many open files."},
    {kWSAEWOULDBLOCK, "Operation would block."},
    {kWSAEINPROGRESS, "Operation now in progress."},
    {kWSAEALREADY, "Operation already in progress."},
    {kWSAENOTSOCK, "Socket operation on non-socket."},
    {kWSAEDESTADDRREQ, "Destination address required."},
    {kWSAEMSGSIZE, "Message too long."},
    {kWSAEPROTOTYPE, "Protocol wrong type for socket."},
    {kWSAENOPROTOOPT, "Bad protocol option."},
    {kWSAEPROTONOSUPPORT, "Protocol not supported."},
    {kWSAESOCKTNOSUPPORT, "Socket type not supported."},
    {kWSAEOPNOTSUPP, "Operation not supported on socket."},
    {kWSAEPFNOSUPPORT, "Protocol family not supported."},
    {kWSAEAFNOSUPPORT, "Address family not supported by protocol family."},
    {kWSAEADDRINUSE, "Address already in use."},
    {kWSAEADDRNOTAVAIL, "Cannot assign requested address."},
    {kWSAENETDOWN, "Network is down."},
    {kWSAENETUNREACH, "Network is unreachable."},
    {kWSAENETRESET, "Net dropped connection or reset."},
    {kWSAECONNABORTED, "Software caused connection abort."},
    {kWSAECONNRESET, "Connection reset by peer."},
    {kWSAENOBUFS, "No buffer space available."},
    {kWSAEISCONN, "Socket is already connected."},
    {kWSAENOTCONN, "Socket is not connected."},
    {kWSAESHUTDOWN, "Cannot send or receive after socket is closed."},
    {kWSAETOOMANYREFS, "Too many references, cannot splice."},
    {kWSAETIMEDOUT, "Connection timed out."},
    {kWSAECONNREFUSED, "Connection refused."},
    {kWSAELOOP, "Too many levels of symbolic links."},
    {kWSAENAMETOOLONG, "File name too long."},
    {kWSAEHOSTDOWN, "Host is down."},
    {kWSAEHOSTUNREACH, "No route to host."},
    {kWSAENOTEMPTY, "Directory not empty"},
    {kWSAHOST_NOT_FOUND, "Host not found."},
};

struct ErrnoMap {
    int err;
    int number;
};

constexpr ErrnoMap kErrnoMap[] = {
    {EINTR, kWSAEINTR},
    {EBADF, kWSAEBADF},
    {EACCES, kWSAEACCES},
    {EPERM, kWSAEACCES},
    {EFAULT, kWSAEFAULT},
    {EINVAL, kWSAEINVAL},
    {EMFILE, kWSAEMFILE},
    {ENFILE, kWSAEMFILE},
    {EWOULDBLOCK, kWSAEWOULDBLOCK},
    {EINPROGRESS, kWSAEINPROGRESS},
    {EALREADY, kWSAEALREADY},
    {ENOTSOCK, kWSAENOTSOCK},
    {EDESTADDRREQ, kWSAEDESTADDRREQ},
    {EMSGSIZE, kWSAEMSGSIZE},
    {EPROTOTYPE, kWSAEPROTOTYPE},
    {ENOPROTOOPT, kWSAENOPROTOOPT},
    {EPROTONOSUPPORT, kWSAEPROTONOSUPPORT},
    {ESOCKTNOSUPPORT, kWSAESOCKTNOSUPPORT},
    {EOPNOTSUPP, kWSAEOPNOTSUPP},
    {EPFNOSUPPORT, kWSAEPFNOSUPPORT},
    {EAFNOSUPPORT, kWSAEAFNOSUPPORT},
    {EADDRINUSE, kWSAEADDRINUSE},
    {EADDRNOTAVAIL, kWSAEADDRNOTAVAIL},
    {ENETDOWN, kWSAENETDOWN},
    {ENETUNREACH, kWSAENETUNREACH},
    {ENETRESET, kWSAENETRESET},
    {ECONNABORTED, kWSAECONNABORTED},
    {ECONNRESET, kWSAECONNRESET},
    {ENOBUFS, kWSAENOBUFS},
    {ENOMEM, kWSAENOBUFS},
    {EISCONN, kWSAEISCONN},
    {ENOTCONN, kWSAENOTCONN},
    {ESHUTDOWN, kWSAESHUTDOWN},
    // Sending on a connection the peer has torn down.
    {EPIPE, kWSAECONNRESET},
    {ETOOMANYREFS, kWSAETOOMANYREFS},
    {ETIMEDOUT, kWSAETIMEDOUT},
    {ECONNREFUSED, kWSAECONNREFUSED},
    {ELOOP, kWSAELOOP},
    {ENAMETOOLONG, kWSAENAMETOOLONG},
    {EHOSTDOWN, kWSAEHOSTDOWN},
    {EHOSTUNREACH, kWSAEHOSTUNREACH},
    {ENOTEMPTY, kWSAENOTEMPTY},
};

} // namespace

TIdStack& TIdStack::Instance() {
    static TIdStack stack;
    return stack;
}

int TIdStack::TranslateError(int err) {
    for (const ErrnoMap& m : kErrnoMap) {
        if (m.err == err)
            return m.number;
    }
    return err;
}

std::string TIdStack::ErrorText(int number) {
    for (const ErrorName& e : kErrorTexts) {
        if (e.number == number)
            return e.text;
    }
    return std::string();
}

void TIdStack::RaiseSocketError(int number) {
    std::string message = "Socket Error # " + std::to_string(number) + "\r\n" + ErrorText(number);
    if (number == kWSAENOTSOCK)
        throw EIdNotASocket(number, message);
    throw EIdSocketError(number, message);
}

void TIdStack::RaiseLastSocketError() {
    RaiseSocketError(TranslateError(errno));
}

bool TIdStack::IsIPv4(const std::string& host) {
    int parts = 0;
    std::size_t i = 0;
    while (true) {
        std::size_t start = i;
        int value = 0;
        while (i < host.size() && host[i] >= '0' && host[i] <= '9' && i - start < 3) {
            value = value * 10 + (host[i] - '0');
            ++i;
        }
        if (i == start || value > 255)
            return false;
        ++parts;
        if (i == host.size())
            return parts == 4;
        if (host[i] != '.' || parts == 4)
            return false;
        ++i;
    }
}

std::string TIdStack::ResolveHost(const std::string& host, TIdIPVersion version) const {
    if (version == Id_IPv4 && IsIPv4(host))
        return host;
    addrinfo hints{};
    hints.ai_family = version == Id_IPv6 ? AF_INET6 : AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    int rc = ::getaddrinfo(host.c_str(), nullptr, &hints, &list);
    // "localhost." is localhost written in full, but the hosts file knows names without the
    // root's dot; a resolver that does not know the full form is asked for the short one.
    if ((rc == EAI_NONAME || rc == EAI_AGAIN || rc == EAI_FAIL) && host.size() > 1 && host.back() == '.' &&
        host[host.size() - 2] != '.')
        rc = ::getaddrinfo(host.substr(0, host.size() - 1).c_str(), nullptr, &hints, &list);
    if (rc != 0 || !list) {
        if (rc == EAI_SYSTEM)
            RaiseLastSocketError();
        if (version == Id_IPv6 && rc == EAI_FAMILY)
            throw EIdIPv6Unavailable();
        // Every "no such name" answer of the resolver, including an unreachable name server,
        // reads as the one message a user understands.
        RaiseSocketError(kWSAHOST_NOT_FOUND);
    }
    char text[INET6_ADDRSTRLEN] = {};
    if (list->ai_family == AF_INET6)
        ::inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6*>(list->ai_addr)->sin6_addr, text, sizeof text);
    else
        ::inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(list->ai_addr)->sin_addr, text, sizeof text);
    ::freeaddrinfo(list);
    return text;
}
