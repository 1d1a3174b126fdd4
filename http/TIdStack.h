#pragma once
// The process-wide socket stack: name resolution and the mapping of platform errors onto the
// numbers and texts the client reports ("Socket Error # 10061" CR LF "Connection refused.").
// Created on first use; POSIX sockets need no start-up, so creation cannot fail here.
#include "http/IdGlobal.h"

#include <string>

// The reported socket error numbers, by the names the numbers have on the platform the client
// was first written for; their texts are in TIdStack::ErrorText.
enum TIdSocketErrorNumber : int {
    kWSAEINTR = 10004,
    kWSAEBADF = 10009,
    kWSAEACCES = 10013,
    kWSAEFAULT = 10014,
    kWSAEINVAL = 10022,
    kWSAEMFILE = 10024,
    kWSAEWOULDBLOCK = 10035,
    kWSAEINPROGRESS = 10036,
    kWSAEALREADY = 10037,
    kWSAENOTSOCK = 10038,
    kWSAEDESTADDRREQ = 10039,
    kWSAEMSGSIZE = 10040,
    kWSAEPROTOTYPE = 10041,
    kWSAENOPROTOOPT = 10042,
    kWSAEPROTONOSUPPORT = 10043,
    kWSAESOCKTNOSUPPORT = 10044,
    kWSAEOPNOTSUPP = 10045,
    kWSAEPFNOSUPPORT = 10046,
    kWSAEAFNOSUPPORT = 10047,
    kWSAEADDRINUSE = 10048,
    kWSAEADDRNOTAVAIL = 10049,
    kWSAENETDOWN = 10050,
    kWSAENETUNREACH = 10051,
    kWSAENETRESET = 10052,
    kWSAECONNABORTED = 10053,
    kWSAECONNRESET = 10054,
    kWSAENOBUFS = 10055,
    kWSAEISCONN = 10056,
    kWSAENOTCONN = 10057,
    kWSAESHUTDOWN = 10058,
    kWSAETOOMANYREFS = 10059,
    kWSAETIMEDOUT = 10060,
    kWSAECONNREFUSED = 10061,
    kWSAELOOP = 10062,
    kWSAENAMETOOLONG = 10063,
    kWSAEHOSTDOWN = 10064,
    kWSAEHOSTUNREACH = 10065,
    kWSAENOTEMPTY = 10066,
    kWSAHOST_NOT_FOUND = 11001,
};

class TIdStack {
public:
    static TIdStack& Instance();

    // The reported number of an errno value (ECONNREFUSED -> kWSAECONNREFUSED); unknown values pass
    // through.
    static int TranslateError(int err);
    // The text of a reported number, empty for numbers without one.
    static std::string ErrorText(int number);
    // Raises EIdSocketError (EIdNotASocket for kWSAENOTSOCK) for a reported number.
    [[noreturn]] static void RaiseSocketError(int number);
    // Raises for the current errno.
    [[noreturn]] static void RaiseLastSocketError();

    // True for four dot-separated decimal numbers 0 to 255.
    static bool IsIPv4(const std::string& host);
    // The first address of the host as text; raises kWSAHOST_NOT_FOUND "Host not found." when it
    // has none.
    std::string ResolveHost(const std::string& host, TIdIPVersion version) const;

private:
    TIdStack() = default;
};

inline TIdStack& GStack() {
    return TIdStack::Instance();
}
