// The page's side of the game window: the elements of the opening board in #form, keyed
// by their row in the control table, the result box, the log a screen reader follows, the
// game kept for a reload, and the routing of clicks and keys into the game. Linked into
// tornel.js with --js-library; web/boot.js has started the page before it.
mergeInto(LibraryManager.library, {
  $TornelPage: {
    controls: [],
    inTurn: false,
    // The latest sentences stay in the log; a screen reader reads each one as it arrives.
    LogLength: 20,
    KeptGame: 'tornel-game',

    setState: function(state) {
      document.body.dataset.state = state;
    },

    // As the page reads an inline colour back, so that an unchanged one is not written again.
    colour: function(value) {
      if (value < 0) return '';
      return 'rgb(' + (value >> 16) + ', ' + ((value >> 8) & 255) + ', ' + (value & 255) + ')';
    },

    // Once the window is on screen, the service worker keeps the site's files for playing
    // offline: its first fetches of the site do not compete with the page's own load.
    keepOffline: function() {
      if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
      requestAnimationFrame(function() {
        setTimeout(function() {
          navigator.serviceWorker.register('sw.js').catch(function() {});
        }, 0);
      });
    },

    // The board scales itself with the viewport (--u in the style sheet); the result box
    // follows it, and the browser's font size, with the board's scale as a plain number.
    fitBox: function() {
      var scale = parseFloat(getComputedStyle(document.body).getPropertyValue('--u'));
      document.getElementById('message').style.setProperty('--scale', String(scale || 1));
    },

    // One click at a time reaches the game; a turn that waits for the result box keeps
    // the next click out until it has finished.
    click: function(row) {
      if (TornelPage.inTurn || document.body.dataset.state !== 'ready') return;
      TornelPage.inTurn = true;
      var finished = function() {
        TornelPage.inTurn = false;
        if (document.body.dataset.state !== 'ended') TornelPage.setState('ready');
      };
      try {
        Promise.resolve(ccall('web_click', null, ['number'], [row], { async: true }))
          .then(finished, function() { finished(); TornelPage.end(); });
      } catch (failure) {
        finished();
        TornelPage.end();
      }
    },

    // A key held down plays one turn: its repeats press nothing, neither a Roll button
    // nor the next one, nor the result box's OK.
    ignoreRepeats: function(event) {
      if (event.repeat && (event.key === 'Enter' || event.key === ' ')) event.preventDefault();
    },

    // Resolves once the player has closed the box: with OK, Enter or Escape. Enter
    // closes it wherever the focus is, even after a click on the page behind it.
    showMessage: function(title, text) {
      var dialog = document.getElementById('message');
      document.getElementById('message-title').textContent = title;
      document.getElementById('message-text').textContent = text;
      TornelPage.setState('waiting');
      TornelPage.fitBox();
      return new Promise(function(resolve) {
        var onKey = function(event) {
          if (event.key !== 'Enter' || event.repeat) return;
          event.preventDefault();
          dialog.close();
        };
        dialog.addEventListener('close', function() {
          document.removeEventListener('keydown', onKey, true);
          resolve();
        }, { once: true });
        document.addEventListener('keydown', onKey, true);
        dialog.showModal();
        document.getElementById('message-ok').focus();
      });
    },

    end: function() {
      Module['ended']();
    },

    start: function() {
      var dialog = document.getElementById('message');
      document.getElementById('message-ok').addEventListener('click', function() {
        dialog.close();
      });
      // A click on the backdrop gives the focus back to OK.
      dialog.addEventListener('click', function(event) {
        if (event.target === dialog) document.getElementById('message-ok').focus();
      });
      document.addEventListener('keydown', TornelPage.ignoreRepeats, true);
      window.addEventListener('resize', function() {
        if (dialog.open) TornelPage.fitBox();
      });
    },
  },

  dom_adoptControl__deps: ['$TornelPage'],
  dom_adoptControl: function(row, name, isButton) {
    var control = document.getElementById('form').children[row];
    if (!control || control.dataset.control !== UTF8ToString(name)
        || (control.tagName === 'BUTTON') !== (isButton !== 0)) return 0;
    if (isButton) control.addEventListener('click', function() { TornelPage.click(row); });
    TornelPage.controls[row] = control;
    return 1;
  },

  dom_setCaption__deps: ['$TornelPage'],
  dom_setCaption: function(row, text) {
    var control = TornelPage.controls[row];
    var caption = UTF8ToString(text);
    if (control.textContent !== caption) control.textContent = caption;
  },

  dom_getCaption__deps: ['$TornelPage', 'malloc'],
  dom_getCaption: function(row) {
    return allocateUTF8(TornelPage.controls[row].textContent);
  },

  // An unchanged colour is not written again: the page would restyle the control for nothing.
  dom_setColours__deps: ['$TornelPage'],
  dom_setColours: function(row, background, caption) {
    var style = TornelPage.controls[row].style;
    var fill = TornelPage.colour(background);
    var ink = TornelPage.colour(caption);
    if (style.backgroundColor !== fill) style.backgroundColor = fill;
    if (style.color !== ink) style.color = ink;
  },

  dom_setVisible__deps: ['$TornelPage'],
  dom_setVisible: function(row, visible) {
    var control = TornelPage.controls[row];
    if (control.hidden !== (visible === 0)) control.hidden = visible === 0;
  },

  dom_isVisible__deps: ['$TornelPage'],
  dom_isVisible: function(row) {
    return TornelPage.controls[row].hidden ? 0 : 1;
  },

  dom_focus__deps: ['$TornelPage'],
  dom_focus: function(row) {
    var control = TornelPage.controls[row];
    if (document.activeElement !== control) control.focus();
  },

  // Each sentence is added as the log's last child; only the latest few stay.
  dom_announce__deps: ['$TornelPage'],
  dom_announce: function(text) {
    var log = document.getElementById('narration');
    var sentence = document.createElement('p');
    sentence.textContent = UTF8ToString(text);
    log.appendChild(sentence);
    while (log.childElementCount > TornelPage.LogLength) log.firstElementChild.remove();
  },

  // The game lives in this tab's session storage, which a reload and a discarded tab
  // keep and a new tab does not have. A browser that refuses storage keeps nothing.
  // The page's start (web/boot.js) read it while the program was on its way.
  dom_keptGame__deps: ['malloc'],
  dom_keptGame: function() {
    var kept = Module['keptGame'];
    return kept ? allocateUTF8(kept) : 0;
  },

  dom_keepGame__deps: ['$TornelPage'],
  dom_keepGame: function(text) {
    try {
      var kept = UTF8ToString(text);
      if (kept) sessionStorage.setItem(TornelPage.KeptGame, kept);
      else sessionStorage.removeItem(TornelPage.KeptGame);
    } catch (refused) {
    }
  },

  dom_ready__deps: ['$TornelPage'],
  dom_ready: function() {
    TornelPage.start();
    TornelPage.controls.forEach(function(control) { control.removeAttribute('aria-disabled'); });
    TornelPage.setState('ready');
    performance.mark('tornel-ready');
    TornelPage.keepOffline();
  },

  dom_end__deps: ['$TornelPage'],
  dom_end: function() {
    TornelPage.end();
  },
});
