// The page's start, run as soon as the browser reads it: fetches and compiles the
// program while its script is still loading, loads that script, and when either cannot
// be had says that the game could not be loaded, why that may be, and offers a Reload
// that needs no program. The opening board is already on the page, waiting.
(function() {
  var names = document.currentScript.dataset;
  var failed = false;

  function whenBody(then) {
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', then);
    else then();
  }

  function fail(headline, why) {
    if (failed) return;
    failed = true;
    whenBody(function() {
      document.body.dataset.state = 'ended';
      document.getElementById('form').inert = true;
      document.getElementById('ended-text').textContent = headline;
      document.getElementById('ended-why').textContent = why;
      document.getElementById('ended').hidden = false;
      document.getElementById('reload').focus();
    });
  }

  function ended() {
    fail('Tornel has ended after an error.', '');
  }

  function unloadable(why) {
    fail('Tornel could not be loaded.', why);
  }

  document.addEventListener('click', function(event) {
    if (event.target.closest && event.target.closest('#reload')) window.location.reload();
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
  script.onerror = function() {
    unloadable('The game\'s script, ' + names.program + ', could not be loaded: the server '
        + 'refused it or the network failed.');
  };
  document.head.appendChild(script);
})();
