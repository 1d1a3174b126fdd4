#include "http/TIdTCPClient.h"

#include "http/EIdException.h"
#include "http/TIdIOHandlerStack.h"

void TIdTCPClient::SetReadTimeout(int ms) {
    readTimeout_ = ms;
    if (IOHandler())
        IOHandler()->SetReadTimeout(ms);
}

void TIdTCPClient::SetDeadline(std::chrono::steady_clock::time_point at, int budgetMs) {
    hasDeadline_ = true;
    deadline_ = at;
    deadlineBudgetMs_ = budgetMs;
    if (IOHandler())
        IOHandler()->SetDeadline(at, budgetMs);
}

void TIdTCPClient::ClearDeadline() {
    hasDeadline_ = false;
    if (IOHandler())
        IOHandler()->ClearDeadline();
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
    if (hasDeadline_)
        h->SetDeadline(deadline_, deadlineBudgetMs_);
    else
        h->ClearDeadline();
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
