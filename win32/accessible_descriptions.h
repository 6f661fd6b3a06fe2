#pragma once

#include "win32/windows_api.h"

#include <string_view>

struct IAccPropServices;

namespace win32 {

// What a screen reader says a control is, beyond its caption: the accessible
// description of a window, set through the system's annotation service.
class AccessibleDescriptions
{
public:
    AccessibleDescriptions();
    ~AccessibleDescriptions();
    AccessibleDescriptions(const AccessibleDescriptions &) = delete;
    AccessibleDescriptions &operator=(const AccessibleDescriptions &) = delete;

    // Where the system has no annotation service (Wine 8 answers E_NOTIMPL),
    // nothing happens: controls are still read out by their captions.
    void describe(HWND control, std::string_view description);

private:
    bool m_comStarted = false;
    IAccPropServices *m_services = nullptr;
};

} // namespace win32
