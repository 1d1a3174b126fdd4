#pragma once
// The HTTP client as the reader uses it: the request values the main window gives its client at
// creation, shared by the window and zelmora-cli so both send the same request head and wait
// as long.
class TIdCustomHTTP;

// Milliseconds the reader's client waits for a connection and, per wait, for the next bytes.
constexpr int kReaderConnectTimeoutMs = 10000;
constexpr int kReaderReadTimeoutMs = 30000;
// Milliseconds one feed fetch may take in all, however steadily its bytes trickle in.
constexpr int kReaderMaxTimeMs = 60000;

void ConfigureReaderHttp(TIdCustomHTTP& http);
