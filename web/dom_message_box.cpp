#include "web/dom_message_box.h"

#include <emscripten/emscripten.h>

#include <string>

// Shows the dialog and suspends the running click until it has closed (OK, Enter or
// Escape); web/dom.js keeps the rest of the page from taking input meanwhile.
EM_ASYNC_JS(void, web_showMessage, (const char *title, const char *text), {
    await TornelPage.showMessage(UTF8ToString(title), UTF8ToString(text));
});

namespace web {

void DomMessageBox::show(std::string_view title, std::string_view text)
{
    web_showMessage(std::string(title).c_str(), std::string(text).c_str());
}

} // namespace web
