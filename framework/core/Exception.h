#pragma once
// The one base of every exception the program raises. Messages are UTF-8 (they may carry file
// paths); the HTTP client's messages are plain ASCII.
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const noexcept { return message_; }
    // The class name as the error box and zelmora-cli report it ("EIdSocketError").
    virtual const char* ClassName() const noexcept { return "Exception"; }

private:
    std::string message_;
};
