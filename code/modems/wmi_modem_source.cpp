// The six WMI steps behind the modem list, and the modems that the last one delivers.
#include "wmi_modem_source.h"

#include "../base/scoped.h"
#include "../base/text_cast.h"
#include "com_string.h"

namespace zelmora {

namespace {

// The string value of a property, or empty text when it is missing, null or not a string.
std::u16string StringProperty(IWbemClassObject *object, const wchar_t *property) {
    ScopedVariant value;
    object->Get(property, 0, &value, nullptr, nullptr);
    return value.vt == VT_BSTR && value.bstrVal ? U(value.bstrVal) : u"";
}

} // namespace

std::int32_t WmiModemSource::Run(ModemStep step) {
    HRESULT result = E_FAIL;
    switch (step) {
    case ModemStep::Com:
        apartment_.emplace(COINIT_MULTITHREADED);
        result = apartment_->result();
        break;
    case ModemStep::Security:
        result = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
        break;
    case ModemStep::Locator:
        result = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWbemLocator, reinterpret_cast<void **>(locator_.put()));
        break;
    case ModemStep::Connect: {
        ComString resource = ComString::FromWide(L"ROOT\\CIMV2");
        result = locator_->ConnectServer(resource.Get(), nullptr, nullptr, nullptr, 0, nullptr,
                                         nullptr, services_.put());
        resource.Release();
        break;
    }
    case ModemStep::Blanket:
        result = CoSetProxyBlanket(services_.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                   RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                                   EOAC_NONE);
        break;
    case ModemStep::Query: {
        ComString query = ComString::FromAnsi("SELECT * FROM Win32_POTSModem");
        ComString language = ComString::FromAnsi("WQL");
        result = services_->ExecQuery(language.Get(), query.Get(),
                                      WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                      nullptr, enumerator_.put());
        language.Release();
        query.Release();
        break;
    }
    }
    return result;
}

bool WmiModemSource::Next(std::u16string &name, std::u16string &port) {
    ComInterface<IWbemClassObject> object;
    ULONG returned = 0;
    enumerator_->Next(WBEM_INFINITE, 1, object.put(), &returned);
    if (returned == 0)
        return false;
    name = StringProperty(object.get(), L"Name");
    port = StringProperty(object.get(), L"AttachedTo");
    return true;
}

void WmiModemSource::ReleaseEnumerator() { enumerator_.reset(); }
void WmiModemSource::ReleaseServices() { services_.reset(); }
void WmiModemSource::ReleaseLocator() { locator_.reset(); }
void WmiModemSource::Uninitialize() { apartment_.reset(); }

} // namespace zelmora
