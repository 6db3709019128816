// The six WMI steps behind the modem list, and the modems that the last one delivers.
#include "wmi_modem_source.h"

#include "../base/scoped.h"
#include "../base/text_cast.h"
#include "com_string.h"

namespace zelmora {

namespace {

template <typename Interface> void ReleaseInterface(Interface *&object) {
    if (object)
        object->Release();
    object = nullptr;
}

// The string value of a property, or empty text when it is missing, null or not a string.
std::u16string StringProperty(IWbemClassObject *object, const wchar_t *property) {
    VARIANT value;
    VariantInit(&value);
    object->Get(property, 0, &value, nullptr, nullptr);
    std::u16string text;
    if (value.vt == VT_BSTR && value.bstrVal)
        text = U(value.bstrVal);
    VariantClear(&value);
    return text;
}

} // namespace

WmiModemSource::~WmiModemSource() {
    ReleaseEnumerator();
    ReleaseServices();
    ReleaseLocator();
    Uninitialize();
}

std::int32_t WmiModemSource::Run(ModemStep step) {
    HRESULT result = E_FAIL;
    switch (step) {
    case ModemStep::Com:
        result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        // Only a call that succeeded is balanced by CoUninitialize; RPC_E_CHANGED_MODE is not.
        comInitialized_ = SUCCEEDED(result);
        break;
    case ModemStep::Security:
        result = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
        break;
    case ModemStep::Locator:
        result = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWbemLocator, reinterpret_cast<void **>(&locator_));
        break;
    case ModemStep::Connect: {
        ComString resource = ComString::FromWide(L"ROOT\\CIMV2");
        result = locator_->ConnectServer(resource.Get(), nullptr, nullptr, nullptr, 0, nullptr,
                                         nullptr, &services_);
        resource.Release();
        break;
    }
    case ModemStep::Blanket:
        result = CoSetProxyBlanket(services_, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                   RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                                   EOAC_NONE);
        break;
    case ModemStep::Query: {
        ComString query = ComString::FromAnsi("SELECT * FROM Win32_POTSModem");
        ComString language = ComString::FromAnsi("WQL");
        result = services_->ExecQuery(language.Get(), query.Get(),
                                      WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                      nullptr, &enumerator_);
        language.Release();
        query.Release();
        break;
    }
    }
    return result;
}

bool WmiModemSource::Next(std::u16string &name, std::u16string &port) {
    IWbemClassObject *object = nullptr;
    ULONG returned = 0;
    enumerator_->Next(WBEM_INFINITE, 1, &object, &returned);
    if (returned == 0)
        return false;
    const ComInterface<IWbemClassObject> delivered(object);
    name = StringProperty(object, L"Name");
    port = StringProperty(object, L"AttachedTo");
    return true;
}

void WmiModemSource::ReleaseEnumerator() { ReleaseInterface(enumerator_); }
void WmiModemSource::ReleaseServices() { ReleaseInterface(services_); }
void WmiModemSource::ReleaseLocator() { ReleaseInterface(locator_); }

void WmiModemSource::Uninitialize() {
    if (comInitialized_)
        CoUninitialize();
    comInitialized_ = false;
}

} // namespace zelmora
