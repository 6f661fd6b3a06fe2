#include "rules/clock_random.h"
#include "rules/recording_random.h"
#include "web/dom.h"
#include "web/dom_message_box.h"
#include "web/velmarsh.h"

#include <emscripten/emscripten.h>

#include <cstddef>
#include <exception>
#include <memory>

namespace {

std::unique_ptr<web::Velmarsh> page;

} // namespace

// A click on a control of the page, by its row in the control table (web/dom.js).
extern "C" EMSCRIPTEN_KEEPALIVE void web_click(int row)
{
    if (page && row >= 0)
        page->click(static_cast<std::size_t>(row));
}

// The window object and its collaborators live as long as the page; after main returns
// the page's events drive the game. After a failure the page says the game has ended.
int main()
{
    static rules::ClockRandom clock;
    static rules::RecordingRandom random(clock);
    static web::DomMessageBox messages;
    try {
        page = std::make_unique<web::Velmarsh>(random, messages, [](int) { dom_end(); });
    } catch (const std::exception &) {
        dom_end();
        return 1;
    }
    dom_ready();
    return 0;
}
