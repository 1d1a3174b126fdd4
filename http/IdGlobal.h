#pragma once
// Types and constants shared by the HTTP client's connection classes.
#include <cstdint>
#include <functional>
#include <string>

enum class TIdIPVersion { Id_IPv4, Id_IPv6 };
using enum TIdIPVersion;

enum class TIdMaxLineAction { maException, maSplit };
using enum TIdMaxLineAction;

enum class TIdStatus {
    hsResolving,
    hsConnecting,
    hsConnected,
    hsDisconnecting,
    hsDisconnected,
    hsStatusText
};
using enum TIdStatus;

enum class TWorkMode { wmRead, wmWrite };
using enum TWorkMode;

// Time-outs are milliseconds; 0 means no limit. A read given kIdTimeoutDefault uses the handler's
// ReadTimeout.
constexpr int kIdTimeoutDefault = -1;
constexpr int kIdTimeoutInfinite = -2;

constexpr int kIdDefaultBufferSize = 32768;
constexpr int kIdMaxLineLengthDefault = 16384;

class TIdComponent;
using TIdStatusEvent = std::function<void(TIdComponent* sender, TIdStatus status, const std::string& text)>;
using TWorkBeginEvent = std::function<void(TIdComponent* sender, TWorkMode mode, std::int64_t countMax)>;
using TWorkEvent = std::function<void(TIdComponent* sender, TWorkMode mode, std::int64_t count)>;
using TWorkEndEvent = std::function<void(TIdComponent* sender, TWorkMode mode)>;
using TIdNotifyEvent = std::function<void(TIdComponent* sender)>;
