#pragma once

// The page's side of the window, in web/dom.js: every call names a control by its row
// in layout::ControlTable. Colours are 0xRRGGBB, or -1 for the page's own colours.
extern "C" {
void dom_createForm(int width, int height);
void dom_setTitle(const char *caption);
void dom_createControl(int row, int isButton, const char *name,
        const char *description, int left, int top, int width, int height);
// The controls created so far go on the page at once, with the properties set meanwhile.
void dom_showControls();
void dom_setFont(int row, int pixels, int alignLeft, int bordered);
void dom_setCaption(int row, const char *text);
// The caption as the page shows it now, in memory from malloc that the caller frees.
char *dom_getCaption(int row);
void dom_setColours(int row, int background, int caption);
void dom_setVisible(int row, int visible);
int dom_isVisible(int row);
void dom_focus(int row);
void dom_announce(const char *text);
void dom_ready();
void dom_end();
}
