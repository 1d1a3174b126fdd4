#pragma once
// The HTTP client as the reader uses it: the request values the main window gives its client at
// creation, shared by the window and zelmora-cli so both send the same request head.
class TIdCustomHTTP;

void ConfigureReaderHttp(TIdCustomHTTP& http);
