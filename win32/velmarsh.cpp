#include "win32/velmarsh.h"

#include "layout/caption_colour.h"
#include "layout/twips.h"
#include "packaging/windows/resource_ids.h"
#include "rules/narration.h"
#include "rules/random_source.h"
#include "win32/control_ids.h"
#include "win32/owned_message_box.h"
#include "win32/text.h"

#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <utility>

namespace win32 {

using namespace layout;

namespace {

constexpr wchar_t ClassName[] = L"Velmarsh";
constexpr DWORD WindowStyle = WS_OVERLAPPEDWINDOW;

// The icon's image drawn for the size the desktop wants at this screen density.
HICON loadIcon(HINSTANCE instance, int widthMetric, int heightMetric, UINT dpi)
{
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TORNEL_ICON), IMAGE_ICON,
            GetSystemMetricsForDpi(widthMetric, dpi), GetSystemMetricsForDpi(heightMetric, dpi),
            LR_DEFAULTCOLOR));
}

void registerWindowClass(WNDPROC procedure)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, ClassName, &windowClass))
        return;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = loadIcon(instance, SM_CXICON, SM_CYICON, GetDpiForSystem());
    windowClass.hIconSm = loadIcon(instance, SM_CXSMICON, SM_CYSMICON, GetDpiForSystem());
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = ClassName;
    if (!RegisterClassExW(&windowClass))
        throw std::runtime_error("the window class could not be registered");
}

// Labels wrap their captions at spaces and show "&" as it is.
DWORD controlStyle(const ControlSpec &spec)
{
    if (spec.kind == ControlKind::Button)
        return WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON;
    DWORD style = WS_CHILD | SS_NOPREFIX | (spec.align == Align::Centre ? SS_CENTER : SS_LEFT);
    if (spec.border == Border::Single)
        style |= WS_BORDER;
    return style;
}

bool isRoll(std::size_t row)
{
    return ControlTable[row].kind == ControlKind::Button;
}

} // namespace

Velmarsh::Velmarsh(rules::RandomSource &random, OwnedMessageBox &messages,
        rules::ErrorBoundary::EndProgram endProgram)
    : m_random(random),
      m_messages(messages),
      m_game(*this, random, messages, m_arrays),
      m_boundary(messages, std::move(endProgram))
{
    try {
        createWindow();
        replaceIcons(GetDpiForWindow(m_form));
        m_fonts = std::make_unique<Fonts>(GetDpiForWindow(m_form));
        createControls();
        m_messages.setOwner(m_form);
        load();
    } catch (...) {
        destroyWindow();
        destroyIcons();
        throw;
    }
}

Velmarsh::~Velmarsh()
{
    destroyWindow();
    destroyIcons();
}

// The window goes with this object, and its end is not a close by the player:
// the procedure no longer reaches the object while it is destroyed. A window
// the player has closed is gone already, and its handle may name another now.
void Velmarsh::destroyWindow() noexcept
{
    if (!m_form)
        return;
    const HWND form = m_form;
    SetWindowLongPtrW(form, GWLP_USERDATA, 0);
    forgetWindow();
    DestroyWindow(form);
}

// The last message a window gets: from here on no handle of it is touched.
void Velmarsh::forgetWindow() noexcept
{
    m_messages.setOwner(nullptr);
    m_form = nullptr;
    m_controls.fill(nullptr);
}

// The procedure reaches the object from the first message of the window on;
// the object holds the window only once it has been created whole.
void Velmarsh::createWindow()
{
    registerWindowClass(&Velmarsh::windowProcedure);
    const std::wstring title = toWide(WindowCaption);
    const HWND form = CreateWindowExW(0, ClassName, title.c_str(), WindowStyle, CW_USEDEFAULT,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
            GetModuleHandleW(nullptr), this);
    if (!form)
        throw std::runtime_error("the window could not be created");
    m_form = form;
}

void Velmarsh::createControls()
{
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    for (std::size_t row = 0; row < ControlTable.size(); ++row) {
        const ControlSpec &spec = ControlTable[row];
        const auto id = static_cast<INT_PTR>(controlId(spec.control));
        m_controls[row] = CreateWindowExW(0, isRoll(row) ? L"Button" : L"Static", L"",
                controlStyle(spec), 0, 0, 0, 0, m_form, reinterpret_cast<HMENU>(id),
                GetModuleHandleW(nullptr), nullptr);
        if (!m_controls[row])
            throw std::runtime_error(
                    "the control " + rules::describe(spec.control) + " could not be created");
    }
}

// The first load sizes the window and places the controls; every load gives
// the controls their opening state and runs the load step.
void Velmarsh::load()
{
    setClientSize();
    placeControls(GetDpiForWindow(m_form));
    restoreOpeningState();
}

// Every control as at load, whatever the last game left, with Roll(1) the
// default button; then the load step. The labels paint themselves as their
// captions are set, and what is left (where a Roll button went) is painted
// before the load step: the new game is on the screen whole when the reload
// returns. Nothing is painted twice, since a desktop may show each paint as it
// comes, and a window erased whole would flash blank there.
void Velmarsh::restoreOpeningState()
{
    for (std::size_t row = 0; row < ControlTable.size(); ++row)
        applyOpeningProperties(row);
    makeDefault(showingRoll());
    RedrawWindow(m_form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Form_Load();
    describeControls();
}

// Every control says what it is; the showing Roll button, who is to roll. Both are in
// place before the message loop lets a screen reader ask for them.
void Velmarsh::describeControls()
{
    for (std::size_t row = 0; row < ControlTable.size(); ++row)
        m_descriptions.describe(m_controls[row], ControlTable[row].description);
    narrate(showingRoll(), 1);
}

// A label on screen paints itself as soon as its caption is set: its colour and
// visibility are in place first, so that paint shows the new game, never the new
// caption on the last game's colour.
void Velmarsh::applyOpeningProperties(std::size_t row)
{
    const ControlSpec &spec = ControlTable[row];
    const HWND control = m_controls[row];
    m_backgrounds[row] = spec.background;
    ShowWindow(control, spec.visible ? SW_SHOWNA : SW_HIDE);
    SetWindowTextW(control, toWide(spec.caption).c_str());
}

void Velmarsh::setClientSize()
{
    const UINT dpi = GetDpiForWindow(m_form);
    RECT frame{0, 0, twipsToPixels(ClientWidthTwips, dpi), twipsToPixels(ClientHeightTwips, dpi)};
    AdjustWindowRectExForDpi(&frame, WindowStyle, FALSE, 0, dpi);
    SetWindowPos(m_form, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Velmarsh::placeControls(UINT dpi)
{
    for (std::size_t row = 0; row < ControlTable.size(); ++row) {
        const ControlSpec &spec = ControlTable[row];
        const PixelRect place = twipsRect(spec.left, spec.top, spec.width, spec.height, dpi);
        SetWindowPos(m_controls[row], nullptr, place.x, place.y, place.width, place.height,
                SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(m_controls[row], WM_SETFONT,
                reinterpret_cast<WPARAM>(m_fonts->font(spec.font)), TRUE);
    }
}

void Velmarsh::Form_Load()
{
    m_random.reseedFromClock();
}

void Velmarsh::Roll_Click(std::int16_t PlayerIndex)
{
    m_boundary.run("Roll_Click(" + std::to_string(PlayerIndex) + ")",
            [this, PlayerIndex] { m_game.Roll_Click(PlayerIndex); });
    handOverFocus(PlayerIndex);
}

// The Roll button now showing tells what the turn did before it takes the
// focus, so a screen reader announces the roll together with the next player.
void Velmarsh::handOverFocus(int player) noexcept
{
    const HWND next = showingRoll();
    if (!next)
        return;
    narrate(next, player);
    SetFocus(next);
}

// A spoilt caption, or no memory for the text, leaves the button its last description.
void Velmarsh::narrate(HWND button, int player) noexcept
{
    try {
        if (const auto news = rules::turnNarration(*this, player))
            m_descriptions.describe(button, *news);
    } catch (const std::exception &) {
    }
}

// The window appears first; the screen reader's descriptions follow before any
// message is handled.
void Velmarsh::show(int showCommand)
{
    ShowWindow(m_form, showCommand);
    UpdateWindow(m_form);
    m_descriptions.start();
    describeControls();
}

LRESULT CALLBACK Velmarsh::windowProcedure(
        HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(
                        reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams));
    auto *self = reinterpret_cast<Velmarsh *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->forgetWindow();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->handleMessage(window, message, wParam, lParam);
    } catch (...) {
        self->reportFailure(std::current_exception());
        return 0;
    }
}

// Nothing thrown ever crosses into the system: a failure outside a turn is told
// and ends the program as a failed turn does.
void Velmarsh::reportFailure(const std::exception_ptr &failure) noexcept
{
    m_boundary.run("the window", [failure] { std::rethrow_exception(failure); });
}

// The window's own handle comes with each message: during its creation the
// object does not hold it yet.
LRESULT Velmarsh::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(wParam);
        return 0;
    case WM_CTLCOLORSTATIC:
        return colourLabel(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case DM_GETDEFID:
        return defaultButtonId();
    case WM_SETFOCUS:
        focusShowingRoll();
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_CLOSE:
        // The game behind an open message box is not over: the close waits for it.
        if (!m_messages.isOpen())
            DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// A click, or Space or Enter on the showing Roll button; Escape's IDCANCEL
// names no control and does nothing.
void Velmarsh::onCommand(WPARAM wParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return;
    for (const ControlSpec &spec : ControlTable) {
        if (spec.kind == ControlKind::Button && controlId(spec.control) == LOWORD(wParam))
            Roll_Click(static_cast<std::int16_t>(spec.control.index));
    }
}

// Labels with a background of their own paint it with its caption colour;
// the others keep the desktop's colours.
LRESULT Velmarsh::colourLabel(HDC canvas, HWND label)
{
    const auto row = rowOf(label);
    if (!row || !m_backgrounds[*row])
        return DefWindowProcW(m_form, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas),
                reinterpret_cast<LPARAM>(label));
    const rules::Rgb colour = *m_backgrounds[*row];
    SetBkColor(canvas, toColorRef(colour));
    SetTextColor(canvas, toColorRef(captionColourOn(colour)));
    return reinterpret_cast<LRESULT>(m_brushes.brush(colour));
}

void Velmarsh::onDpiChanged(UINT dpi, const RECT &suggested)
{
    auto fonts = std::make_unique<Fonts>(dpi);
    std::swap(m_fonts, fonts);
    SetWindowPos(m_form, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
            suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    placeControls(dpi);
    replaceIcons(dpi);
}

// The title bar and the task switcher show the icon drawn for the window's
// density; the images they showed before are freed once replaced.
void Velmarsh::replaceIcons(UINT dpi)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const HICON bigIcon = loadIcon(instance, SM_CXICON, SM_CYICON, dpi);
    const HICON smallIcon = loadIcon(instance, SM_CXSMICON, SM_CYSMICON, dpi);
    SendMessageW(m_form, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageW(m_form, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    destroyIcons();
    m_bigIcon = bigIcon;
    m_smallIcon = smallIcon;
}

void Velmarsh::destroyIcons() noexcept
{
    if (m_bigIcon)
        DestroyIcon(m_bigIcon);
    if (m_smallIcon)
        DestroyIcon(m_smallIcon);
    m_bigIcon = m_smallIcon = nullptr;
}

// Enter rolls for whoever is up: the showing Roll button is the default button.
LRESULT Velmarsh::defaultButtonId() const
{
    const HWND showing = showingRoll();
    if (!showing)
        return 0;
    return MAKELRESULT(GetDlgCtrlID(showing), DC_HASDEFID);
}

HWND Velmarsh::showingRoll() const
{
    for (std::size_t row = 0; row < ControlTable.size(); ++row) {
        if (isRoll(row) && (GetWindowLongW(m_controls[row], GWL_STYLE) & WS_VISIBLE))
            return m_controls[row];
    }
    return nullptr;
}

void Velmarsh::makeDefault(HWND button)
{
    for (std::size_t row = 0; row < ControlTable.size(); ++row) {
        if (isRoll(row))
            SendMessageW(m_controls[row], BM_SETSTYLE,
                    m_controls[row] == button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

// The window hands the keyboard focus on to the showing Roll button whenever
// it gets it: at start, after a message box and when the player comes back.
void Velmarsh::focusShowingRoll()
{
    if (const HWND showing = showingRoll())
        SetFocus(showing);
}

std::optional<std::size_t> Velmarsh::rowOf(HWND control) const
{
    for (std::size_t row = 0; row < m_controls.size(); ++row) {
        if (m_controls[row] == control)
            return row;
    }
    return std::nullopt;
}

HWND Velmarsh::control(rules::Control control) const
{
    const HWND found = m_controls[controlRow(control)];
    if (!found)
        throw std::runtime_error("the window is closed: no control " + rules::describe(control));
    return found;
}

std::string Velmarsh::caption(rules::Control label) const
{
    const HWND shown = control(label);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(shown)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
            GetWindowTextW(shown, text.data(), static_cast<int>(text.size()))));
    return toUtf8(text);
}

void Velmarsh::setCaption(rules::Control label, std::string_view text)
{
    SetWindowTextW(control(label), toWide(text).c_str());
}

void Velmarsh::setBackground(rules::Control label, rules::Rgb colour)
{
    const std::size_t row = controlRow(label);
    m_backgrounds[row] = colour;
    InvalidateRect(m_controls[row], nullptr, TRUE);
}

// A Roll button that appears becomes the default button; it takes the focus
// once the turn is over (handOverFocus).
void Velmarsh::setVisible(rules::Control button, bool visible)
{
    const std::size_t row = controlRow(button);
    ShowWindow(m_controls[row], visible ? SW_SHOWNA : SW_HIDE);
    if (visible && isRoll(row))
        makeDefault(m_controls[row]);
}

// A new game in the same window: it stays on screen, in place and at the size
// the player gave it, while every control returns to its opening state and
// the load step runs again; the window-level arrays stay as they are.
void Velmarsh::reload()
{
    restoreOpeningState();
    focusShowingRoll();
}

} // namespace win32
