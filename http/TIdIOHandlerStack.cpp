#include "http/TIdIOHandlerStack.h"

#include "http/EIdException.h"
#include "http/TIdStack.h"

void TIdIOHandlerStack::Open() {
    TIdIOHandlerSocket::Open();
    // Without a target the handler opens without a socket; the first write then fails as a
    // closed connection.
    if (Host().empty() || Port() <= 0)
        return;
    // A larger number would be cut to 16 bits and reach some other port.
    if (Port() > 65535)
        throw EIdInvalidPort("Invalid port " + std::to_string(Port()) +
                             ": a port is a number from 1 to 65535.");
    TIdSocketHandle& b = Binding();
    b.AllocateSocket(IPVersion());
    b.SetIP(BoundIP());
    b.SetPort(BoundPort());
    b.Bind();
    b.SetNagle(UseNagle());
    std::string address = Host();
    if (!(IPVersion() == Id_IPv4 && TIdStack::IsIPv4(Host()))) {
        DoStatus(hsResolving, "Resolving hostname " + Host() + ".");
        address = GStack().ResolveHost(Host(), IPVersion());
    }
    b.SetPeerIP(address);
    b.SetPeerPort(Port());
    DoStatus(hsConnecting, "Connecting to " + address + ".");
    // An overall deadline bounds the connect too.
    int connectMs = ConnectTimeout();
    const bool cutByDeadline = HasDeadline() && (connectMs <= 0 || DeadlineLeft() <= connectMs);
    if (cutByDeadline)
        connectMs = DeadlineLeft();
    try {
        b.Connect(connectMs);
    } catch (const EIdConnectTimeout&) {
        if (cutByDeadline)
            raiseDeadline();
        throw;
    }
}
