#pragma once
// Base of the client's components: the status and work notifications, each called only when set.
#include "http/IdGlobal.h"

#include <string>

class TIdComponent {
public:
    virtual ~TIdComponent() = default;

    TIdStatusEvent OnStatus;
    TWorkBeginEvent OnWorkBegin;
    TWorkEvent OnWork;
    TWorkEndEvent OnWorkEnd;

protected:
    void DoStatus(TIdStatus status, const std::string& text) {
        if (OnStatus)
            OnStatus(this, status, text);
    }
    void BeginWork(TWorkMode mode, std::int64_t countMax) {
        if (OnWorkBegin)
            OnWorkBegin(this, mode, countMax);
    }
    void DoWork(TWorkMode mode, std::int64_t count) {
        if (OnWork)
            OnWork(this, mode, count);
    }
    void EndWork(TWorkMode mode) {
        if (OnWorkEnd)
            OnWorkEnd(this, mode);
    }
};
