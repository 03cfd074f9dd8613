#include "platform/com/hresult.h"

#include <array>
#include <cstdio>
#include <utility>

namespace com {

namespace {

struct NamedResult {
    HRESULT hr;
    const char* name;
};

constexpr std::array kNames{
    NamedResult{S_OK, "S_OK"},
    NamedResult{S_FALSE, "S_FALSE"},
    NamedResult{E_NOTIMPL, "E_NOTIMPL"},
    NamedResult{E_NOINTERFACE, "E_NOINTERFACE"},
    NamedResult{E_POINTER, "E_POINTER"},
    NamedResult{E_ABORT, "E_ABORT"},
    NamedResult{E_FAIL, "E_FAIL"},
    NamedResult{E_BOUNDS, "E_BOUNDS"},
    NamedResult{E_UNEXPECTED, "E_UNEXPECTED"},
    NamedResult{E_ACCESSDENIED, "E_ACCESSDENIED"},
    NamedResult{E_HANDLE, "E_HANDLE"},
    NamedResult{E_OUTOFMEMORY, "E_OUTOFMEMORY"},
    NamedResult{E_INVALIDARG, "E_INVALIDARG"},
    NamedResult{RPC_E_DISCONNECTED, "RPC_E_DISCONNECTED"},
    NamedResult{RPC_E_WRONG_THREAD, "RPC_E_WRONG_THREAD"},
    NamedResult{DISP_E_UNKNOWNINTERFACE, "DISP_E_UNKNOWNINTERFACE"},
    NamedResult{DISP_E_MEMBERNOTFOUND, "DISP_E_MEMBERNOTFOUND"},
    NamedResult{DISP_E_PARAMNOTFOUND, "DISP_E_PARAMNOTFOUND"},
    NamedResult{DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH"},
    NamedResult{DISP_E_UNKNOWNNAME, "DISP_E_UNKNOWNNAME"},
    NamedResult{DISP_E_NONAMEDARGS, "DISP_E_NONAMEDARGS"},
    NamedResult{DISP_E_BADVARTYPE, "DISP_E_BADVARTYPE"},
    NamedResult{DISP_E_EXCEPTION, "DISP_E_EXCEPTION"},
    NamedResult{DISP_E_OVERFLOW, "DISP_E_OVERFLOW"},
    NamedResult{DISP_E_BADINDEX, "DISP_E_BADINDEX"},
    NamedResult{DISP_E_BADPARAMCOUNT, "DISP_E_BADPARAMCOUNT"},
    NamedResult{DISP_E_PARAMNOTOPTIONAL, "DISP_E_PARAMNOTOPTIONAL"},
    NamedResult{CLASS_E_NOAGGREGATION, "CLASS_E_NOAGGREGATION"},
    NamedResult{CLASS_E_CLASSNOTAVAILABLE, "CLASS_E_CLASSNOTAVAILABLE"},
    NamedResult{REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG"},
    NamedResult{CONNECT_E_NOCONNECTION, "CONNECT_E_NOCONNECTION"},
    NamedResult{CONNECT_E_ADVISELIMIT, "CONNECT_E_ADVISELIMIT"},
    NamedResult{CONNECT_E_CANNOTCONNECT, "CONNECT_E_CANNOTCONNECT"},
    NamedResult{CO_E_CLASSSTRING, "CO_E_CLASSSTRING"},
    NamedResult{CO_E_DLLNOTFOUND, "CO_E_DLLNOTFOUND"},
    NamedResult{CO_E_ERRORINDLL, "CO_E_ERRORINDLL"},
};

}  // namespace

std::string HresultName(HRESULT hr) {
    for (const auto& entry : kNames) {
        if (entry.hr == hr) return entry.name;
    }
    char text[32];
    if (IsCtlError(hr))
        std::snprintf(text, sizeof text, "CtlError(%u)", static_cast<unsigned>(HresultCode(hr)));
    else
        std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

}  // namespace com
