#pragma once
// The socket handler that connects through the process's socket stack: on Open it creates the
// socket, binds it, resolves the host and connects.
#include "http/TIdIOHandlerSocket.h"

class TIdIOHandlerStack : public TIdIOHandlerSocket {
public:
    void Open() override;
};
