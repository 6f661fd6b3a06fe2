#include "win32/accessible_descriptions.h"

#include "win32/text.h"

#include <initguid.h>
#include <objbase.h>
#include <oleacc.h>

namespace win32 {

void AccessibleDescriptions::start()
{
    if (m_comStarted)
        return;
    m_comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    void *services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                IID_IAccPropServices, &services)))
        return;
    m_services = static_cast<IAccPropServices *>(services);
}

AccessibleDescriptions::~AccessibleDescriptions()
{
    if (m_services)
        m_services->Release();
    if (m_comStarted)
        CoUninitialize();
}

void AccessibleDescriptions::describe(HWND control, std::string_view description)
{
    if (!m_services)
        return;
    const std::wstring text = toWide(description);
    m_services->SetHwndPropStr(
            control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_DESCRIPTION, text.c_str());
}

} // namespace win32
