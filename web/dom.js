// The page's side of the game window: the elements of the client area #form, keyed by
// their row in the control table, the result box, the log a screen reader follows,
// and the routing of clicks into the game. Linked into tornel.js with --js-library.
mergeInto(LibraryManager.library, {
  $TornelPage: {
    controls: [],
    // The controls and their descriptions are built off the page and go on it at once.
    newControls: null,
    newDescriptions: null,
    inTurn: false,
    ClientWidth: 0,
    ClientHeight: 0,
    // The latest sentences stay in the log; a screen reader reads each one as it arrives.
    LogLength: 20,

    setState: function(state) {
      document.body.dataset.state = state;
    },

    scaled: function(pixels) {
      return 'calc(var(--scale) * ' + pixels + 'px)';
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

    // The whole window is scaled as one to fit the viewport; lengths are calc() of
    // --scale, so text and borders are drawn sharp at every size.
    fit: function() {
      var form = document.getElementById('form');
      var margin = 8;
      var spare = document.getElementById('ended').hidden ? 0
          : document.getElementById('ended').offsetHeight;
      var scale = Math.min((window.innerWidth - 2 * margin) / TornelPage.ClientWidth,
          (window.innerHeight - 2 * margin - spare) / TornelPage.ClientHeight);
      scale = Math.max(0.5, Math.floor(scale * 64) / 64);
      form.style.setProperty('--scale', String(scale));
      form.dataset.scale = String(scale);
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

    // Resolves once the player has closed the box: with OK, Enter or Escape. Enter
    // closes it wherever the focus is, even after a click on the page behind it.
    showMessage: function(title, text) {
      var dialog = document.getElementById('message');
      var ok = document.getElementById('message-ok');
      document.getElementById('message-title').textContent = title;
      document.getElementById('message-text').textContent = text;
      TornelPage.setState('waiting');
      return new Promise(function(resolve) {
        var onKey = function(event) {
          if (event.key !== 'Enter') return;
          event.preventDefault();
          dialog.close();
        };
        dialog.addEventListener('close', function() {
          document.removeEventListener('keydown', onKey, true);
          resolve();
        }, { once: true });
        document.addEventListener('keydown', onKey, true);
        dialog.showModal();
        ok.focus();
      });
    },

    end: function() {
      TornelPage.setState('ended');
      document.getElementById('form').inert = true;
      var ended = document.getElementById('ended');
      ended.hidden = false;
      TornelPage.fit();
      document.getElementById('reload').focus();
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
      document.getElementById('reload').addEventListener('click', function() {
        window.location.reload();
      });
      window.addEventListener('resize', TornelPage.fit);
    },
  },

  dom_createForm__deps: ['$TornelPage'],
  dom_createForm: function(width, height) {
    TornelPage.ClientWidth = width;
    TornelPage.ClientHeight = height;
    var form = document.getElementById('form');
    form.style.width = TornelPage.scaled(width);
    form.style.height = TornelPage.scaled(height);
    TornelPage.start();
    TornelPage.fit();
  },

  // The window's caption is the page's title, which the browser shows as its window's.
  dom_setTitle: function(caption) {
    document.title = UTF8ToString(caption);
  },

  dom_createControl__deps: ['$TornelPage'],
  dom_createControl: function(row, isButton, name, description, left, top, width, height) {
    if (!TornelPage.newControls) {
      TornelPage.newControls = document.createDocumentFragment();
      TornelPage.newDescriptions = document.createDocumentFragment();
    }
    var control = document.createElement(isButton ? 'button' : 'div');
    if (isButton) {
      control.type = 'button';
      control.addEventListener('click', function() { TornelPage.click(row); });
    }
    control.className = 'control';
    control.dataset.control = UTF8ToString(name);
    var text = document.createElement('span');
    text.id = 'description-' + row;
    text.textContent = UTF8ToString(description);
    TornelPage.newDescriptions.appendChild(text);
    control.setAttribute('aria-describedby', text.id);
    control.style.left = TornelPage.scaled(left);
    control.style.top = TornelPage.scaled(top);
    control.style.width = TornelPage.scaled(width);
    control.style.height = TornelPage.scaled(height);
    TornelPage.controls[row] = control;
    TornelPage.newControls.appendChild(control);
  },

  dom_showControls__deps: ['$TornelPage'],
  dom_showControls: function() {
    if (!TornelPage.newControls) return;
    document.getElementById('descriptions').appendChild(TornelPage.newDescriptions);
    document.getElementById('form').appendChild(TornelPage.newControls);
    TornelPage.newControls = TornelPage.newDescriptions = null;
  },

  dom_setFont__deps: ['$TornelPage'],
  dom_setFont: function(row, pixels, alignLeft, bordered) {
    var control = TornelPage.controls[row];
    control.style.fontSize = TornelPage.scaled(pixels);
    control.classList.toggle('left', alignLeft !== 0);
    control.classList.toggle('bordered', bordered !== 0);
  },

  dom_setCaption__deps: ['$TornelPage'],
  dom_setCaption: function(row, text) {
    var control = TornelPage.controls[row];
    var caption = UTF8ToString(text);
    if (control.textContent !== caption) control.textContent = caption;
  },

  dom_getCaption__deps: ['$TornelPage', 'malloc'],
  dom_getCaption: function(row) {
    var text = TornelPage.controls[row].textContent;
    var size = lengthBytesUTF8(text) + 1;
    var memory = _malloc(size);
    if (memory) stringToUTF8(text, memory, size);
    return memory;
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

  // Each sentence is appended to the log; only the latest few stay.
  dom_announce__deps: ['$TornelPage'],
  dom_announce: function(text) {
    var log = document.getElementById('narration');
    var sentence = document.createElement('p');
    sentence.textContent = UTF8ToString(text);
    log.appendChild(sentence);
    while (log.childElementCount > TornelPage.LogLength) log.firstElementChild.remove();
  },

  dom_ready__deps: ['$TornelPage'],
  dom_ready: function() {
    TornelPage.setState('ready');
    TornelPage.keepOffline();
  },

  dom_end__deps: ['$TornelPage'],
  dom_end: function() {
    TornelPage.end();
  },
});
