// The page's start, run once the browser has read the board: fetches and compiles the
// program while its script is still loading, loads that script, and when either cannot
// be had says that the game could not be loaded, why that may be, and offers a Reload
// that needs no program. The opening board is already on the page, waiting.
(function() {
  var names = document.currentScript.dataset;
  var failed = false;

  function fail(headline, why) {
    if (failed) return;
    failed = true;
    document.body.dataset.state = 'ended';
    document.getElementById('form').inert = true;
    document.getElementById('ended-text').textContent = headline;
    document.getElementById('ended-why').textContent = why;
    document.getElementById('ended').hidden = false;
    document.getElementById('reload').focus();
  }

  function ended() {
    fail('Tornel has ended after an error.', '');
  }

  function unloadable(why) {
    fail('Tornel could not be loaded.', why);
  }

  document.getElementById('reload').addEventListener('click', function() {
    window.location.reload();
  });

  if (window.location.protocol === 'file:') {
    unloadable('A page opened from a file cannot load its program: '
        + 'serve the folder over HTTP and open it from there.');
    return;
  }
  if (typeof WebAssembly !== 'object' || !WebAssembly.compileStreaming) {
    unloadable('This browser cannot run WebAssembly, which the game is written in.');
    return;
  }

  // The program is fetched only once the whole board has been read (this script comes last),
  // in a task of its own that lets the page finish first: on a machine with few cores its
  // two requests, started any earlier, held back the board's first frame more than they
  // brought the game forward.
  setTimeout(load, 0);

  function load() {
    var program = fetch(names.wasm, { credentials: 'same-origin' }).then(function(response) {
      if (!response.ok)
        throw new Error('The server answered ' + response.status + ' for the game\'s program, '
            + names.wasm + '. It may have been updated meanwhile: reload the page.');
      var type = (response.headers.get('Content-Type') || 'no type').split(';')[0];
      if (type !== 'application/wasm')
        throw new Error('The server sent the game\'s program as ' + type
            + '; it must send .wasm files as application/wasm.');
      return WebAssembly.compileStreaming(response);
    }, function() {
      throw new Error('The network could not be reached. The first visit needs it; '
          + 'after that the game plays offline.');
    });
    program.catch(function(failure) { unloadable(failure.message); });

    window.Module = {
      instantiateWasm: function(imports, receive) {
        program.then(function(module) {
          return WebAssembly.instantiate(module, imports).then(function(instance) {
            receive(instance, module);
          });
        }).catch(function() {
          unloadable('The browser could not start the game\'s program.');
        });
        return {};
      },
      onAbort: ended,
      // What the program calls when a failure has ended the game.
      ended: ended,
    };

    var script = document.createElement('script');
    script.src = names.program;
    script.async = true;
    // A script added by a script is fetched at a low priority, behind the program's own
    // request, although the first turn needs both.
    script.fetchPriority = 'high';
    script.onerror = function() {
      unloadable('The game\'s script, ' + names.program + ', could not be loaded: the server '
          + 'refused it or the network failed.');
    };
    document.head.appendChild(script);

    // The game this tab kept before a reload (web/dom.js keeps it under this name), read
    // while the program is on its way rather than when it starts: the first read of the
    // tab's storage waits on the browser. The program takes it from here.
    try {
      window.Module.keptGame = sessionStorage.getItem('tornel-game');
    } catch (refused) {
      window.Module.keptGame = null;
    }
  }
})();
