#include "http/TIdTCPClient.h"

#include "http/EIdException.h"
#include "http/TIdIOHandlerStack.h"

void TIdTCPClient::SetReadTimeout(int ms) {
    readTimeout_ = ms;
    if (IOHandler())
        IOHandler()->SetReadTimeout(ms);
}

void TIdTCPClient::Connect() {
    if (Connected())
        throw EIdAlreadyConnected();
    if (!IOHandler())
        SetManagedIOHandler(std::make_unique<TIdIOHandlerStack>());
    TIdIOHandler* h = IOHandler();
    h->SetPort(port_);
    h->SetHost(host_);
    h->SetConnectTimeout(connectTimeout_);
    h->SetReadTimeout(readTimeout_);
    h->SetIPVersion(ipVersion_);
    if (auto* s = dynamic_cast<TIdIOHandlerSocket*>(h)) {
        s->SetBoundIP(boundIP_);
        s->SetBoundPort(boundPort_);
    }
    try {
        h->Open();
    } catch (...) {
        h->Close();
        if (ManagedIOHandler())
            SetIOHandler(nullptr);
        throw;
    }
    DoStatus(hsConnected, "Connected.");
    DoOnConnected();
}
