// Loaded by app.js, under a path with a detour ('./lib/../lib/loaded.js'), when its argument is 'load'.
setTimeout(function fromLoaded() {
  throw new Error('loaded');
}, 1);
