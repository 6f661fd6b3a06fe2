#pragma once

// The page's side of the window, in web/dom.js: every call names a control by its row
// in layout::ControlTable. Colours are 0xRRGGBB, or -1 for the page's own colours.
extern "C" {
// Takes over the opening board's element in `row`; 0 when the page has no such control there.
int dom_adoptControl(int row, const char *name, int isButton);
void dom_setCaption(int row, const char *text);
// The caption as the page shows it now, in memory from malloc that the caller frees.
char *dom_getCaption(int row);
void dom_setColours(int row, int background, int caption);
void dom_setVisible(int row, int visible);
int dom_isVisible(int row);
void dom_focus(int row);
void dom_announce(const char *text);
// The game this tab kept before the page was loaded again, in memory from malloc that the
// caller frees; null when there is none. An empty text forgets it.
char *dom_keptGame();
void dom_keepGame(const char *text);
void dom_ready();
void dom_end();
}
