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
    AccessibleDescriptions() = default;
    ~AccessibleDescriptions();
    AccessibleDescriptions(const AccessibleDescriptions &) = delete;
    AccessibleDescriptions &operator=(const AccessibleDescriptions &) = delete;

    // Starts the system's annotation service. Starting it costs the game's start-up
    // a noticeable moment, so it is started once the window is on the screen.
    void start();

    // Before start(), and where the system has no annotation service (Wine 8
    // answers E_NOTIMPL), nothing happens: controls are still read out by their captions.
    void describe(HWND control, std::string_view description);

private:
    bool m_comStarted = false;
    IAccPropServices *m_services = nullptr;
};

} // namespace win32
