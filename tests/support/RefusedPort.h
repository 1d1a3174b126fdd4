#pragma once
// A loopback port where a connect is refused for as long as the object lives.
//
// The socket is bound to 127.0.0.1 without SO_REUSEADDR and never listens: a SYN to it is answered
// with a reset, and no other socket of any test running beside this one can bind the port, so the
// refusal cannot turn into a stranger's accept under `ctest -j`.
namespace zeltest {

class RefusedPort {
public:
    RefusedPort();
    ~RefusedPort();
    RefusedPort(const RefusedPort&) = delete;
    RefusedPort& operator=(const RefusedPort&) = delete;

    int Port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

} // namespace zeltest
